// The Statistics problem-set rule.
#include "statistics/stats_problems.h"

namespace quorvel {

std::unique_ptr<IProblemRule> MakeStatsProblemRule() {
    return std::make_unique<CAnswerValueRule>(kStatsProblemsHeading);
}

} // namespace quorvel

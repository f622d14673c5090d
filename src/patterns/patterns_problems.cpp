// The Numbers problem-set rule.
#include "patterns/patterns_problems.h"

namespace quorvel {

std::unique_ptr<IProblemRule> MakeNumbersProblemRule() {
    return std::make_unique<CAnswerValueRule>(kMysteryMachinesHeading);
}

} // namespace quorvel

// The Statistics unit's problem sets ("Did You Mean That?"): the rule that judges an answer
// and heads the score.
#pragma once

#include "problemsets/problem_set_controller.h"

#include <memory>

namespace quorvel {

inline constexpr const char* kStatsProblemsHeading = "DID YOU MEAN THAT? ";

// A question is answered right when each answer matches its first answer value.
std::unique_ptr<IProblemRule> MakeStatsProblemRule();

} // namespace quorvel

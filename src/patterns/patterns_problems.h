// The Patterns unit's problem sets ("Mystery Machines", Numbers): the rule that judges an
// answer and heads the score.
#pragma once

#include "problemsets/problem_set_controller.h"

#include <memory>

namespace quorvel {

inline constexpr const char* kMysteryMachinesHeading = "MYSTERY MACHINES ";

// A question is answered right when each answer matches its first answer value.
std::unique_ptr<IProblemRule> MakeNumbersProblemRule();

} // namespace quorvel

// Which problem-set rule each unit runs: every unit's core makes its own, and the shell asks
// here by unit kind.
#pragma once

#include "app/document_factory.h"
#include "problemsets/problem_set_controller.h"

#include <memory>
#include <string>

namespace quorvel {

// The unit's rule for a right answer, its messages and its score heading; null for the units
// without problem sets (Codes, Designs).
std::unique_ptr<IProblemRule> CreateProblemRule(UnitKind unit);
bool HasProblemSets(UnitKind unit);
// The heading of the unit's score ("WHAT'S MY CORE? " ...); empty without problem sets.
std::string ProblemSetHeading(UnitKind unit);

} // namespace quorvel

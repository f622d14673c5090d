// Each unit's problem-set rule, made by the unit's core.
#include "app/problem_rules.h"

#include "geometry/core_problems.h"
#include "patterns/patterns_problems.h"
#include "statistics/stats_problems.h"

namespace quorvel {

std::unique_ptr<IProblemRule> CreateProblemRule(UnitKind unit) {
    switch (unit) {
    case UnitKind::Geometry:
        return MakeCoreProblemRule();
    case UnitKind::Numbers:
        return MakeNumbersProblemRule();
    case UnitKind::Statistics:
        return MakeStatsProblemRule();
    case UnitKind::Designs:
    case UnitKind::Codes:
        break;
    }
    return nullptr;
}

bool HasProblemSets(UnitKind unit) {
    return CreateProblemRule(unit) != nullptr;
}

std::string ProblemSetHeading(UnitKind unit) {
    const auto rule = CreateProblemRule(unit);
    return rule ? rule->ScoreHeading() : std::string();
}

} // namespace quorvel

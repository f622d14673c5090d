// quorvel_stats_activities: which builder grows a Statistics source.
#include "tools/stats_activities/stats_activities.h"

namespace quorvel {

CStatsActivity BuildStatsActivity(const std::string& name, const std::string& text) {
    const std::vector<CStatement> statements = ParseClassSource(text);
    if (statements.empty())
        throw CSourceError(1, "an empty source");
    const CStatement& first = statements.front();
    CStatsActivity out;
    out.name = name;
    if (first.head() == "problem")
        out.doc = BuildStatsProblem(name, statements);
    else
        throw CSourceError(first.line, "a source starts with what it becomes: problem A|B|C");
    return out;
}

} // namespace quorvel

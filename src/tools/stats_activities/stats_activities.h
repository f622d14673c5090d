// The Statistics class documents grown from their sources (resources/class-src/statistics):
// each source's first statement says what it becomes, and a builder for that kind grows the
// document with the Statistics page's own controllers.
#pragma once

#include "statistics/stats_document.h"
#include "tools/class_builder/class_source.h"

#include <memory>
#include <string>
#include <vector>

namespace quorvel {

struct CStatsActivity {
    std::string name; // the file name without ".qvs"
    std::unique_ptr<CStatsUnitDocument> doc;
};

// Builds the document of the source `text` named `name`. Throws CSourceError for a fault in
// the source and for anything the page refuses.
CStatsActivity BuildStatsActivity(const std::string& name, const std::string& text);

// A "Did You Mean That?" problem file (stapsA01.qvs ...): its source starts "problem A|B|C".
std::unique_ptr<CStatsUnitDocument> BuildStatsProblem(const std::string& name,
                                                      const std::vector<CStatement>& statements);

// The rows of the Ignored tiles of the current column each of which, alone made Used, makes the
// problem record's statement true. The data set is left as it was.
std::vector<int> SolvingTiles(CStatsUnitDocument& doc);

} // namespace quorvel

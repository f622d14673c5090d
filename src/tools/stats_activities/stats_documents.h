// Builds the documents the Statistics investigations open from small text sources: a few lines
// saying how the activity is set up (the view, the column it is about, the summary window, the
// authored modes), then "data" and the data set as CSV, read by the program's own CSV import.
// The same source always gives the same bytes.
#pragma once

#include "statistics/stats_document.h"

#include <memory>
#include <string>
#include <string_view>

namespace quorvel {

// Builds one activity document. Throws CSourceError for a fault in the source, and for a
// set-up the program would refuse: a column that is not there, or a graph view whose graph
// cannot be drawn from the column.
std::unique_ptr<CStatsUnitDocument> BuildStatsActivity(const std::string& name,
                                                       std::string_view source);

} // namespace quorvel

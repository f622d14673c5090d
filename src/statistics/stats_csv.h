// Data brought in and taken out as CSV text: a header row of column names, then one row per
// data case. Columns come in as categories, or as the narrowest number format that reads
// every cell.
#pragma once

#include "statistics/stats_data_set.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

inline constexpr const char* kCsvHoldsNoData = "The file does not hold a table of data.";
inline constexpr const char* kCsvTooLarge = "The table in the file is too large.";
// At most this many columns and cases come in.
inline constexpr int kCsvMaxColumns = 1000;
inline constexpr int kCsvMaxCases = 1000000;

// Columns 1 .. columnCount - 1 by name, then each data case's cells as the data table shows
// them; fields quoted where CSV needs it; lines end with CR LF.
std::string ExportCsv(const CStatsDataSet& data);

// The fields of each record: quoted fields may hold commas, quotes and line breaks; a UTF-8
// byte-order mark is skipped; lines end with CR LF, LF or CR. Empty lines are dropped.
std::vector<std::vector<std::string>> ParseCsv(std::string_view text);

// Categories unless every non-empty cell reads as a number; then whole numbers, one decimal,
// two decimals or fractions, the first that reads them all as typed.
StatsColumnFormat NarrowestFormat(const std::vector<std::string_view>& cells);

// Replaces the data set's cases and columns with the table of `text`; the message when the
// text holds no table (the data set is then unchanged). Observers hear only of the blank cases
// added; the caller tells them of the rest.
std::optional<std::string> ImportCsv(CStatsDataSet& data, std::string_view text);

} // namespace quorvel

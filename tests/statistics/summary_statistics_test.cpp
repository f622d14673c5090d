// Summary statistics: the recompute of number and category columns as the window prints it.
#include "statistics/stats_document.h"

#include "fakes.h"

#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::testing::FakeTextMetrics;
using quorvel::testing::RecordingSurface;

namespace {

// A document whose current column 1 holds `cells`, of `format`; a leading "!" ignores the case
// and a leading "x" excludes it.
std::vector<std::string> Printed(const std::vector<std::string>& cells, StatsColumnFormat format,
                                 int decimals = 1) {
    CStatsUnitDocument doc;
    CStatsDataSet& d = doc.dataSet();
    d.Cell(0, 1).format = static_cast<int>(format);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        std::string text = cells[i];
        CaseState state = CaseState::Used;
        if (!text.empty() && (text[0] == '!' || text[0] == 'x')) {
            state = text[0] == '!' ? CaseState::Ignored : CaseState::Excluded;
            text.erase(0, 1);
        }
        d.EnterCell(row, 1, text, true);
        if (format == StatsColumnFormat::Categories && !text.empty())
            d.Cell(row, 1).SetText(text); // as typed, blanks kept
        d.Case(row).state = state;
    }
    doc.SetDecimalPlaces(decimals);
    d.NotifyDataChanged();
    FakeTextMetrics metrics;
    return doc.summary().PrintedLines(metrics);
}

using Lines = std::vector<std::string>;

} // namespace

TEST(SummaryStatistics, NumberColumns) {
    const auto whole = StatsColumnFormat::WholeNumbers;
    struct Case {
        std::vector<std::string> cells;
        Lines expected;
    };
    const auto values = [](const char* mean, const char* median, const char* mode, const char* min,
                           const char* max) {
        return Lines{std::string("Mean:\t") + mean, std::string("Median:\t") + median,
                     std::string("Mode:\t") + mode, std::string("Minimum:\t") + min,
                     std::string("Maximum:\t") + max};
    };
    const auto counts = [](int total, int used, Lines rest) {
        Lines l{"Total Number of Cases: " + std::to_string(total),
                "Number of Cases Used: " + std::to_string(used)};
        l.insert(l.end(), rest.begin(), rest.end());
        return l;
    };
    const Case cases[] = {
        {{"3", "1", "2", "2"}, counts(4, 4, values("2.0", "2.0", "2.0", "1.0", "3.0"))},
        {{"1", "2", "3", "4"}, counts(4, 4, values("2.5", "2.5", "none", "1.0", "4.0"))},
        {{"5", "5", "7", "7"}, counts(4, 4, values("6.0", "6.0", "none", "5.0", "7.0"))},
        {{"4"}, counts(1, 1, values("4.0", "4.0", "4.0", "4.0", "4.0"))},
        {{"-1", "-1", "3"}, counts(3, 3, values("0.3", "-1.0", "none", "-1.0", "3.0"))},
        // An ignored case counts in the total only; an excluded one nowhere; an empty cell
        // counts in the total.
        {{"2", "!9", "x9", "", "4"}, counts(4, 2, values("3.0", "3.0", "none", "2.0", "4.0"))},
        {{"!1"}, counts(1, 0, {})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cells.size());
        EXPECT_EQ(Printed(c.cells, whole), c.expected);
    }
    EXPECT_EQ(Printed({"1", "2"}, whole, 2)[2], "Mean:\t1.50");
    EXPECT_EQ(Printed({"1", "2"}, whole, 0)[2], "Mean:\t2");
}

TEST(SummaryStatistics, CategoryColumns) {
    const auto cat = StatsColumnFormat::Categories;
    const auto counts = [](int total, int used, const char* mode, Lines rest) {
        Lines l{"Total Number of Cases: " + std::to_string(total),
                "Number of Cases Used: " + std::to_string(used), std::string("Mode: ") + mode};
        l.insert(l.end(), rest.begin(), rest.end());
        return l;
    };
    // Repeats each text `n` times.
    const auto times = [](std::vector<std::pair<std::string, int>> groups) {
        std::vector<std::string> out;
        for (const auto& [text, n] : groups)
            out.insert(out.end(), static_cast<std::size_t>(n), text);
        return out;
    };
    struct Case {
        const char* what;
        std::vector<std::string> cells;
        Lines expected;
    };
    const Case cases[] = {
        {"letter case and trailing blanks",
         {"Cat", "cat ", "dog"},
         counts(3, 3, "cat", {"cat\t 2 (66.7%)", "dog\t 1 (33.3%)"})},
        {"eight categories once",
         {"a", "b", "c", "d", "e", "f", "g", "h"},
         counts(8, 8, "none", {"8 categories have a frequency of 1"})},
        {"eight categories twice",
         times({{"a", 2}, {"b", 2}, {"c", 2}, {"d", 2}, {"e", 2}, {"f", 2}, {"g", 2}, {"h", 2}}),
         counts(16, 16, "none", {"8 categories have a frequency of 2"})},
        // Equal frequencies follow the map's walk: bucket 12 ("a") before bucket 13 ("b"),
        // and within bucket 12 the newer key ("r") first.
        {"walk order",
         {"b", "a", "r"},
         counts(3, 3, "none", {"r\t 1 (33.3%)", "a\t 1 (33.3%)", "b\t 1 (33.3%)"})},
        {"frequencies 5, 3, 3, 2, 2, 2, 1",
         times({{"e", 5}, {"c", 3}, {"d", 3}, {"a", 2}, {"b", 2}, {"f", 2}, {"g", 1}}),
         counts(18, 18, "e",
                {"e\t 5 (27.8%)", "c\t 3 (16.7%)", "d\t 3 (16.7%)", "f\t 2 (11.1%)",
                 "a\t 2 (11.1%)", "b\t 2 (11.1%)", "g\t 1 (5.6%)"})},
        // A later group that does not fit goes into Other with the rest: 5 + 9 + 6 = 20.
        {"a later group too large",
         times({{"e", 5},
                {"a", 3},
                {"b", 3},
                {"c", 3},
                {"d", 2},
                {"f", 2},
                {"g", 2},
                {"h", 2},
                {"i", 1}}),
         counts(23, 23, "e",
                {"e\t 5 (21.7%)", "a\t 3 (13.0%)", "b\t 3 (13.0%)", "c\t 3 (13.0%)",
                 "Other\t 9 (39.1%)"})},
        {"ignored and blank cells", {"!cat", "", "dog"}, counts(3, 1, "dog", {"dog\t 1 (100.0%)"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Printed(c.cells, cat), c.expected);
    }
}

TEST(SummaryStatistics, WindowFitsAndPaintsItsLines) {
    CStatsUnitDocument doc;
    CStatsDataSet& d = doc.dataSet();
    d.Cell(0, 1).format = static_cast<int>(StatsColumnFormat::WholeNumbers);
    d.Cell(0, 1).colour = 0x7FFFFF;
    for (const char* v : {"3", "1", "2", "2"})
        d.EnterCell(d.dataCaseEnd(), 1, v, true);
    d.NotifyDataChanged();
    FakeTextMetrics metrics;
    // "Total Number of Cases: 4" is the widest text; two boxes of 16-pixel lines, two counts
    // and five values.
    EXPECT_EQ(doc.summary().FitSize(metrics), (CSize{24 * 7 + 20, 9 * 16 + 10 + 20}));
    RecordingSurface dc;
    doc.summary().Paint(dc, {0, 0}, 188);
    const auto texts = dc.Only("text ");
    ASSERT_EQ(texts.size(), 12u);
    EXPECT_EQ(texts[0], "text 10,47 Total Number of Cases: 4");
    // Values stand on their decimal point at D = 56 + 56 + 10.
    EXPECT_EQ(texts[3], "text 115,89 2.0");
    EXPECT_EQ(dc.Only("fill").front(), "fill 10,10 178,42 #ffff7f");
    EXPECT_EQ(dc.Only("line").front(), "line 10,84 178,84");
}

TEST(SummaryStatistics, AverageLinesStandAtTheirValuesOnTheBoard) {
    CStatsUnitDocument doc;
    CStatsDataSet& d = doc.dataSet();
    d.Cell(0, 1).format = static_cast<int>(StatsColumnFormat::WholeNumbers);
    for (const char* v : {"2", "4", "4", "10"})
        d.EnterCell(d.dataCaseEnd(), 1, v, true);
    d.NotifyDataChanged();
    RecordingSurface dc;
    // A board 380 high on a scale of 10: 30 pixels a unit above the baseline at 560 - 115.
    DrawAverageLines(dc, doc.summary(), {0, 0, 800, 560}, {160, 55, 705, 435}, 10.0,
                     {true, false, true});
    EXPECT_EQ(dc.Only("line"),
              (std::vector<std::string>{"line 200,295 665,295", "line 200,325 665,325"}));
    EXPECT_EQ(dc.Only("drawtext"),
              (std::vector<std::string>{"drawtext 200,277 665,293 96 Mean = 5.0",
                                        "drawtext 200,307 665,323 98 Mode = 4.0"}));
}

// The graphs: their items, scales and refusals from a column, the bar widths, and one drawing
// of each kind on the recording surface.
#include "statistics/stats_table_controller.h"

#include "fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

// Column 2 of `format` holds `cells`, one case each named "Pn"; a leading "!" ignores the case
// and an empty text leaves the named case without a value.
class Graphs : public ::testing::Test {
protected:
    void Fill(StatsColumnFormat format, const std::vector<std::string>& cells) {
        CStatsDataSet& d = doc.dataSet();
        d.Reset(static_cast<int>(cells.size()) + kStatsBlankCases, 2);
        d.Cell(0, 2).format = static_cast<int>(format);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const int row = static_cast<int>(i) + 1;
            std::string text = cells[i];
            d.EnterCell(row, 1, "P" + std::to_string(row), true);
            if (!text.empty() && text[0] == '!') {
                d.Case(row).state = CaseState::Ignored;
                text.erase(0, 1);
            }
            d.EnterCell(row, 2, text, true);
        }
        d.SetCurrentColumn(2);
        d.NotifyDataChanged();
    }
    const CStatsGraph& Graph(StatsViewMode mode) { return *table.graphs().graph(mode); }

    FakePrompter prompter;
    CStatsUnitDocument doc;
    CStatsTableController table{doc, &prompter};
};

std::vector<std::string> Numbered(int n, const std::string& prefix = "") {
    std::vector<std::string> v;
    for (int i = 1; i <= n; ++i)
        v.push_back(prefix + std::to_string(i));
    return v;
}

using F = StatsColumnFormat;
using M = StatsViewMode;

} // namespace

TEST_F(Graphs, ScaleFollowsTheLargestValue) {
    struct Case {
        F format;
        std::vector<std::string> cells;
        double scale;
        int intervals, labelStep;
    };
    const Case cases[] = {
        {F::WholeNumbers, {"3", "7", "12"}, 12, 12, 2},    {F::OneDecimal, {"0.5", "0.9"}, 1, 5, 1},
        {F::WholeNumbers, {"36", "2"}, 40, 4, 1},          {F::WholeNumbers, {"0", "0"}, 1, 1, 1},
        {F::WholeNumbers, {"5", "-20"}, 5, 5, 1},          // a negative value is no maximum
        {F::WholeNumbers, {"3", "!90"}, 3, 3, 1},          // nor is an ignored one
        {F::Categories, {"red", "Red ", "blue"}, 2, 2, 1}, // frequencies
        {F::WholeNumbers, {"2147483647"}, 2.5e9, 25, 5},   // beyond 32 bits: a Decimal
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cells.front());
        Fill(c.format, c.cells);
        for (M mode : {M::BarGraph, M::LineGraph}) {
            const auto& g = static_cast<const CAxisGraph&>(Graph(mode));
            EXPECT_DOUBLE_EQ(g.scale().scale.ToDouble(), c.scale);
            EXPECT_EQ(g.scale().intervals, c.intervals);
            EXPECT_EQ(g.scale().labelStep, c.labelStep);
            RecordingSurface dc; // and it draws when it can, whatever the values
            table.graphs().Draw(dc, {0, 0, 600, 428}, mode);
            EXPECT_EQ(dc.Only("line").empty(), g.Problem() != 0);
        }
    }
}

TEST_F(Graphs, RefusalsAndTheirMessages) {
    std::vector<std::string> gapped = Numbered(2);
    gapped.resize(61); // two values in 61 slots
    std::vector<std::string> names = Numbered(61, "kind ");
    struct Case {
        const char* name;
        F format;
        std::vector<std::string> cells;
        M mode;
        const char* message; // "" when the graph is drawn
    };
    const Case cases[] = {
        {"61 bars", F::WholeNumbers, Numbered(61), M::BarGraph,
         "The number of bars in the bar graph must be less than or equal to 60"},
        {"60 bars", F::WholeNumbers, Numbered(60), M::BarGraph, ""},
        {"61 categories", F::Categories, names, M::BarGraph,
         "The number of bars in the bar graph must be less than or equal to 60"},
        {"61 wedges", F::Categories, names, M::PieGraph,
         "The number of wedges in the pie graph must be less than or equal to 60"},
        {"no bar", F::WholeNumbers, {"", "!4"}, M::BarGraph, "The bar graph is empty"},
        {"one point", F::WholeNumbers, {"4", ""}, M::LineGraph, "The line graph is empty"},
        {"61 slots", F::WholeNumbers, gapped, M::LineGraph, "Too many points in the line graph"},
        {"zero pie", F::WholeNumbers, {"0", "0"}, M::PieGraph, "The pie graph is empty"},
        {"negative pie", F::WholeNumbers, {"5", "-1"}, M::PieGraph, "The pie graph is empty"},
        {"pie", F::Fractions, {"1/2", "3"}, M::PieGraph, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill(c.format, c.cells);
        doc.viewState().viewMode = 0;
        prompter.messages.clear();
        EXPECT_EQ(table.EnterMode(c.mode), *c.message == '\0');
        EXPECT_EQ(table.mode(), *c.message == '\0' ? c.mode : M::Table);
        ASSERT_EQ(prompter.messages.size(), *c.message == '\0' ? 0u : 1u);
        if (*c.message) {
            EXPECT_EQ(prompter.messages[0].text, c.message);
        }
    }
}

TEST_F(Graphs, ItemsLeaveOutIgnoredCasesAndMarkGaps) {
    Fill(F::WholeNumbers, {"4", "!9", "", "-2", "6"});
    std::vector<std::string> bars, slots;
    for (const CGraphItem& i : Graph(M::BarGraph).items())
        bars.push_back(i.label + "=" + std::to_string(i.value));
    for (const CGraphItem& i : Graph(M::LineGraph).items())
        slots.push_back(i.empty ? "gap" : i.label);
    EXPECT_EQ(bars, (std::vector<std::string>{"P1=4.000000", "P4=-2.000000", "P5=6.000000"}));
    EXPECT_EQ(slots, (std::vector<std::string>{"P1", "gap", "P4", "P5"}));
    EXPECT_EQ(table.graphs().line().pointCount(), 3);
}

TEST(BarGraph, WidthsShrinkWithTheNumberOfBars) {
    const std::pair<int, int> widths[] = {{1, 100}, {2, 93}, {11, 30}, {12, 30}, {13, 29}, {60, 5}};
    for (auto [bars, width] : widths)
        EXPECT_EQ(CBarGraph::BarWidth(bars), width) << bars;
}

TEST_F(Graphs, BarGraphDrawing) {
    Fill(F::WholeNumbers, {"3", "7", "12"});
    doc.dataSet().SetCellColour(2, 2, 0x0000FF, false);
    doc.dataSet().NotifyDataChanged();
    doc.viewState().showMean = 1;
    table.graphs().SetLabel(M::BarGraph, "Pets");
    RecordingSurface dc;
    table.graphs().Draw(dc, {0, 0, 600, 428}, M::BarGraph);
    // Plot 45..560 x 40..360: 12 units of 26.67 pixels; bars 86 wide, gaps (600-258-85)/3 = 85.
    EXPECT_EQ(dc.Only("rect"),
              (std::vector<std::string>{"rect 87,280 173,361", "rect 258,173 344,361",
                                        "rect 429,40 515,361"}));
    EXPECT_EQ(dc.Only("brush")[1], "brush #ff0000");
    const auto texts = dc.Only("drawtext");
    // Labelled ticks at 0, 2, ..., 12; then the mean, the names and the axis label.
    EXPECT_EQ(texts.front(), "drawtext -163,346 37,378 38 0");
    EXPECT_EQ(texts[6], "drawtext -163,24 37,56 38 12");
    EXPECT_EQ(texts[7], "drawtext 49,146 556,162 96 Mean = 7.3");
    EXPECT_EQ(texts[8], "drawtext 122,366 138,382 97 P1");
    EXPECT_EQ(texts.back(), "drawtext 0,400 600,428 37 Pets");
}

TEST_F(Graphs, LineGraphBreaksOnlyAtEmptyCells) {
    Fill(F::WholeNumbers, {"4", "", "-2", "6", "5"});
    RecordingSurface dc;
    // Slots of (585 - 85) / 5 = 100 pixels; plot 40..360 for 6 units.
    table.graphs().Draw(dc, {0, 0, 585, 428}, M::LineGraph);
    // The first point stands alone; the negative value is a point, drawn below the plot.
    EXPECT_EQ(dc.Only("polyline"), (std::vector<std::string>{"polyline 295,467 395,40 495,93"}));
    EXPECT_EQ(dc.Only("fill").size(), 4u);
    EXPECT_EQ(dc.Only("fill").front(), "fill 93,145 97,149 #000000");
    EXPECT_EQ(dc.Only("clip").front(), "clip 45,37 545,363");
}

TEST_F(Graphs, PieGraphWedgesAndLabelsThatMakeRoom) {
    std::vector<std::string> cells(20, "a");
    for (const char* c : {"b", "c", "d", "e", "f"})
        cells.push_back(c);
    Fill(F::Categories, cells);
    table.OnCommand(kCmdPiePercentages);
    RecordingSurface dc;
    table.graphs().Draw(dc, {0, 0, 600, 428}, M::PieGraph);
    // The first wedge starts at the top and runs counter-clockwise over 80% of the circle, to 18
    // degrees.
    const auto wedges = dc.Only("pie");
    ASSERT_EQ(wedges.size(), 6u);
    EXPECT_EQ(wedges[0], "pie 200,100 400,300 300,-99800 95406,-30702");
    std::vector<CRect> labels;
    for (const std::string& call : dc.Only("drawtext")) {
        CRect r;
        ASSERT_EQ(
            std::sscanf(call.c_str(), "drawtext %d,%d %d,%d", &r.left, &r.top, &r.right, &r.bottom),
            4);
        for (const CRect& other : labels)
            EXPECT_FALSE(r.Intersects(other)) << call;
        labels.push_back(r);
    }
    EXPECT_EQ(dc.Only("drawtext")[1], "drawtext 401,144 443,160 100 b 4.0%");
    // Labels that had to move are tied to their wedge's edge, 100 pixels from the centre.
    const auto leaders = dc.Only("line");
    ASSERT_FALSE(leaders.empty());
    for (const std::string& call : leaders) {
        int x = 0, y = 0;
        std::sscanf(call.c_str(), "line %d,%d", &x, &y);
        EXPECT_NEAR(std::hypot(x - 300, y - 200), 100, 1) << call;
    }
}

TEST(ValueAxis, LabelsEachKindOfScale) {
    struct Case {
        F format;
        double maximum;
        int decimals;
        const char* labels; // every label's pieces, bottom up; a stacked fraction top first
    };
    const Case cases[] = {
        {F::WholeNumbers, 12, 1, "0 2 4 6 8 10 12"},
        {F::OneDecimal, 0.9, 2, "0.0 0.2 0.4 0.6 0.8 1.0"},
        {F::TwoDecimals, 12, 0, "0 2 4 6 8 10 12"},
        {F::Fractions, 1.1, 1, "0 1 5 2 5 3 5 4 5 1 1 5 1"}, // 6/5 is 1 and 1/5
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.labels);
        RecordingSurface dc;
        DrawValueAxis(dc, {45, 40, 560, 360}, ChooseScale(c.format, c.maximum), c.decimals);
        std::string labels;
        for (const std::string& call : dc.Only("drawtext"))
            labels += (labels.empty() ? "" : " ") + call.substr(call.rfind(' ') + 1);
        EXPECT_EQ(labels, c.labels);
    }
}

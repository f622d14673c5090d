// The page's three graphs and what the pupil does to them: validation before a graph mode is
// entered (with the graph's message), the horizontal-axis label of each graph and column, the
// Mean, Median and Mode lines, the pie's label mode from the "&Circle" menu, and the drawing
// of a graph mode with its axis label.
#pragma once

#include "statistics/stats_commands.h"
#include "statistics/stats_document.h"
#include "statistics/stats_graphs.h"

#include <string>

namespace quorvel {

class IPrompter;

enum StatsGraphCommand : int {
    kCmdPieValues = 33130,
    kCmdPiePercentages = 33131,
    kCmdPieNeither = 33132,
    kCmdExportGraph = 33133, // "Export Graph as PNG/SVG...", answered by the page
};
// "&Circle": how the pie's wedges are labelled.
inline constexpr CStatsMenuItem kCircleMenuItems[] = {
    {kCmdPieValues, "Show Number &Values"},
    {kCmdPiePercentages, "Show &Percentages"},
    {kCmdPieNeither, "&Neither"},
};

// The strip under a graph that holds its horizontal-axis label.
inline constexpr int kGraphLabelStrip = 28;

bool IsGraphMode(StatsViewMode mode);

class CStatsGraphController {
public:
    // The graphs are attached to the document's data set (line, bar, pie) for their lifetime.
    CStatsGraphController(CStatsUnitDocument& doc, IPrompter* prompter);
    ~CStatsGraphController();
    CStatsGraphController(const CStatsGraphController&) = delete;
    CStatsGraphController& operator=(const CStatsGraphController&) = delete;

    // The graph a mode shows; none for the table and the board.
    const CStatsGraph* graph(StatsViewMode mode) const;
    const CBarGraph& bar() const { return m_bar; }
    const CLineGraph& line() const { return m_line; }
    const CPieGraph& pie() const { return m_pie; }

    // Whether the mode's graph can be drawn; when not, its message is shown.
    bool Validate(StatsViewMode mode);

    // The horizontal-axis label of a graph mode for the current column.
    std::string Label(StatsViewMode mode) const;
    void SetLabel(StatsViewMode mode, const std::string& text);

    // Mean 0, Median 1, Mode 2.
    bool average(int which) const;
    void SetAverage(int which, bool on);

    PieLabels pieLabels() const { return m_pieLabels; }
    // The "&Circle" commands; false for any other id.
    bool OnCommand(int id);
    bool IsChecked(int id) const;

    // What the mode's graph is drawn with.
    CGraphStyle Style(StatsViewMode mode) const;
    // The mode's graph in `client`, its axis label in a strip along the bottom.
    void Draw(IDrawingSurface& dc, const CRect& client, StatsViewMode mode) const;

private:
    CStatsUnitDocument& m_doc;
    IPrompter* m_prompter;
    CLineGraph m_line;
    CBarGraph m_bar;
    CPieGraph m_pie;
    PieLabels m_pieLabels = PieLabels::Values;
};

} // namespace quorvel

// The bar, pie and line graphs of the current column: each observes the data set, rebuilds its
// items (bars, wedges or point slots) and its scale on every change, says whether it can be
// drawn, and draws itself whole through the drawing surface, so that the page, printing,
// export and qvtool agree. The value axis is shared with the data board.
#pragma once

#include "statistics/stats_scale.h"
#include "statistics/summary_statistics.h"
#include "workspace/drawing_surface.h"

#include <string>
#include <vector>

namespace quorvel {

// The string-table ids of the graphs' refusals.
inline constexpr int kIdPieGraphEmpty = 1418;
inline constexpr int kIdTooManyWedges = 1419;
inline constexpr int kIdBarGraphEmpty = 1420;
inline constexpr int kIdTooManyBars = 1421;
inline constexpr int kIdLineGraphEmpty = 1422;
inline constexpr int kIdTooManyPoints = 1423;
inline constexpr int kGraphMaxItems = 60;

// How the pie graph labels its wedges, as the "&Circle" menu stores it.
enum class PieLabels : int { Neither = 0, Values = 1, Percentages = 2 };

// The graphs' text: Arial 10 points.
CFontSpec StatsGraphFont();

struct CGraphItem {
    CNumber number; // a category's frequency as an Integer
    double value = 0.0;
    bool empty = false; // a line graph's slot for a case without a value
    std::string label;
    std::uint32_t colour = kStatsWhite;
};

// What a graph's drawing takes from its view.
struct CGraphStyle {
    int decimals = 1; // the Summary Statistics window's decimal places
    PieLabels pieLabels = PieLabels::Values;
    CAverageLines averages;                      // bar and line graph of a number column
    const CSummaryStatistics* summary = nullptr; // the averages' values
};

// The plot's value axis from 0 to the scale: a 2-pixel line up the left edge, a tick line
// across the plot at every interval, every labelStep-th labelled at the left (a fraction
// stacked, a decimal with `decimals` places, a whole number as it is) with the 2-pixel pen.
// Returns the pixels per unit.
double DrawValueAxis(IDrawingSurface& dc, const CRect& plot, const CAxisScale& scale, int decimals);

class CStatsGraph : public CStatsDataObserver {
public:
    // Every change to the data ends with "data changed" (a column imported cell by cell too),
    // so the items are rebuilt once per change, as the summary is.
    void DataChanged() override { Rebuild(); }
    void Attached() override { Rebuild(); }

    // The items from the data set's current column.
    void Rebuild();

    // 0 when the graph can be drawn, else the id of the message that refuses it.
    virtual int Problem() const = 0;
    // The graph in `area`; nothing when it cannot be drawn.
    virtual void Draw(IDrawingSurface& dc, const CRect& area, const CGraphStyle& style) const = 0;

    const std::vector<CGraphItem>& items() const { return m_items; }
    int itemCount() const { return static_cast<int>(m_items.size()); }
    StatsColumnFormat format() const { return m_format; }

protected:
    // A bar graph takes only cases with a value; a line graph keeps a slot for every case.
    virtual bool KeepsEmptyCells() const { return false; }
    virtual void Rebuilt() {}

    std::vector<CGraphItem> m_items;
    StatsColumnFormat m_format = StatsColumnFormat::WholeNumbers;
};

// The bar and the line graph: a value axis with the automatic scale.
class CAxisGraph : public CStatsGraph {
public:
    const CAxisScale& scale() const { return m_scale; }

protected:
    void Rebuilt() override;
    // The plot inside `area`: 45 pixels off the left, 40 off the other sides.
    static CRect PlotRect(const CRect& area);
    // The ticked averages across the plot.
    void DrawAverages(IDrawingSurface& dc, const CRect& plot, double perUnit,
                      const CGraphStyle& style) const;
    // The item labels centred under the slots 6 pixels below the baseline, in two rows when
    // one is wider than `width` - 4, each with its short line down from the baseline.
    void DrawLabels(IDrawingSurface& dc, const std::vector<int>& centres, int baseline,
                    int width) const;

    CAxisScale m_scale;
};

class CBarGraph : public CAxisGraph {
public:
    int Problem() const override;
    void Draw(IDrawingSurface& dc, const CRect& area, const CGraphStyle& style) const override;
    // Whole pixels: 100 for one bar down to 30 for eleven, then 30 for twelve down to 5 for 60.
    static int BarWidth(int bars);
};

class CLineGraph : public CAxisGraph {
public:
    int Problem() const override;
    void Draw(IDrawingSurface& dc, const CRect& area, const CGraphStyle& style) const override;
    // The slots that hold a value.
    int pointCount() const { return m_points; }

protected:
    bool KeepsEmptyCells() const override { return true; }
    void Rebuilt() override;

private:
    int m_points = 0;
};

class CPieGraph : public CStatsGraph {
public:
    int Problem() const override;
    void Draw(IDrawingSurface& dc, const CRect& area, const CGraphStyle& style) const override;
    double total() const { return m_total; }
    // A wedge's text in a label mode.
    std::string LabelText(const CGraphItem& item, const CGraphStyle& style) const;

protected:
    void Rebuilt() override;

private:
    double m_total = 0.0;
    bool m_negative = false;
};

} // namespace quorvel

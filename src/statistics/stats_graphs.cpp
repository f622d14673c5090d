// The graphs' items, scales, refusals and drawing.
#include "statistics/stats_graphs.h"

#include "numbers/number_exceptions.h"
#include "numbers/number_text.h"
#include "statistics/grid_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <unordered_map>

namespace quorvel {

namespace {

constexpr Color kBlack = PaletteRGB(0, 0, 0);
constexpr Color kRed = PaletteRGB(255, 0, 0);
// The room the axis and the labels leave beside the plot: the area is this much wider.
constexpr int kPlotMargins = 85;
// Placing a pie label gives up after this many steps outward.
constexpr int kMaxLabelSteps = 1000;

// A pixel offset from a value, kept well inside int so that a wild value cannot overflow.
int Pixels(double v) {
    return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6)));
}

std::string DecimalText(double value, int decimals) {
    std::string out;
    FormatDecimal(out, value, decimals);
    return out;
}

std::string IntegerText(long long value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld", value);
    return buf;
}

// k x step, exactly while the numbers allow it.
CNumber Multiple(const CNumber& step, int k) {
    try {
        return step * CNumber(k);
    } catch (const CNumberException&) {
        return CNumber(step.ToDouble() * k);
    }
}

} // namespace

CFontSpec StatsGraphFont() {
    return CFontSpec{"Arial", 100};
}

double DrawValueAxis(IDrawingSurface& dc, const CRect& plot, const CAxisScale& scale,
                     int decimals) {
    const double top = scale.scale.ToDouble();
    const double perUnit = top > 0.0 ? plot.Height() / top : 0.0;
    const int intervals = std::max(1, scale.intervals);
    const int labelStep = std::max(1, scale.labelStep);
    dc.SetPen(2, kBlack);
    dc.Line({plot.left, plot.top}, {plot.left, plot.bottom});
    CNumber step;
    try {
        step = scale.scale / CNumber(intervals);
    } catch (const CNumberException&) {
        step = CNumber(top / intervals);
    }
    const CFontSpec font = StatsGraphFont();
    const int line = dc.Metrics().LineHeight(font);
    dc.SetTextColor(kBlack);
    dc.SetTextBackground(kNoColor, true);
    for (int k = 0; k <= intervals; ++k) {
        const CNumber value = Multiple(step, k);
        const int y = plot.bottom - Pixels(value.ToDouble() * perUnit) + (k == 0 ? 2 : 0);
        const bool labelled = k % labelStep == 0;
        dc.SetPen(labelled ? 2 : 1, kBlack);
        dc.Line({plot.left - 6, y}, {plot.right, y});
        if (!labelled)
            continue;
        const CRect box{plot.left - 8 - 200, y - line, plot.left - 8, y + line};
        if (value.kind() == NumberKind::Fraction) {
            DrawStackedFraction(dc, value, font, box);
            continue;
        }
        dc.SetFont(font);
        dc.DrawText(box,
                    value.kind() == NumberKind::Decimal ? DecimalText(value.ToDouble(), decimals)
                                                        : IntegerText(value.numerator()),
                    kAlignRight | kAlignVCenter | kSingleLine);
    }
    return perUnit;
}

// --- items -----------------------------------------------------------------------------------

void CStatsGraph::Rebuild() {
    m_items.clear();
    const CStatsDataSet* data = dataSet();
    const int c = data ? data->currentColumn() : -1;
    if (data && c >= 1 && c < data->columnCount()) {
        m_format = data->GetColumnFormat(c);
        const int end = std::min(data->dataCaseEnd(), data->rowCount());
        // Ignored cases take no part; a case without any cell is no case at all.
        const auto counts = [&](int row) {
            const CStatsCase& k = data->Case(row);
            return k.state != CaseState::Ignored && !k.IsBlank();
        };
        if (data->IsNumberColumn(c)) {
            for (int row = 1; row < end; ++row) {
                if (!counts(row))
                    continue;
                const bool empty = data->IsCellEmpty(row, c);
                if (empty && !KeepsEmptyCells())
                    continue;
                CGraphItem item;
                item.empty = empty;
                if (!empty) {
                    item.number = data->GetCellNumber(row, c);
                    item.value = item.number.ToDouble();
                }
                item.label = CellValueText(*data, row, 1);
                item.colour = data->GetCellColour(row, c);
                m_items.push_back(std::move(item));
            }
        } else {
            // Categories in order of first appearance, each with its frequency.
            std::unordered_map<std::string, int> frequency;
            for (int row = 1; row < end; ++row)
                if (counts(row) && !data->IsCellEmpty(row, c))
                    ++frequency[CategoryKey(data->GetCellText(row, c))];
            for (int row = 1; row < end; ++row) {
                if (!counts(row) || data->IsCellEmpty(row, c))
                    continue;
                const auto it = frequency.find(CategoryKey(data->GetCellText(row, c)));
                if (it == frequency.end() || it->second == 0)
                    continue;
                CGraphItem item;
                item.number = CNumber(it->second);
                item.value = it->second;
                item.label = std::string(TrimSpace(data->GetCellText(row, c)));
                item.colour = data->GetCellColour(row, c);
                m_items.push_back(std::move(item));
                it->second = 0; // taken
            }
        }
    }
    Rebuilt();
}

// --- bar and line graphs ---------------------------------------------------------------------

void CAxisGraph::Rebuilt() {
    double maximum = 0.0;
    for (const CGraphItem& item : m_items)
        if (!item.empty)
            maximum = std::max(maximum, item.value);
    m_scale = ChooseScale(m_format, maximum);
}

CRect CAxisGraph::PlotRect(const CRect& area) {
    return {area.left + 45, area.top + 40, area.right - 40, area.bottom - 40};
}

void CAxisGraph::DrawAverages(IDrawingSurface& dc, const CRect& plot, double perUnit,
                              const CGraphStyle& style) const {
    const CSummaryStatistics* summary = style.summary;
    if (!summary || summary->isCategory() || summary->usedCases() <= 0)
        return;
    struct Average {
        bool shown;
        const char* label;
        double value;
        Color colour;
        unsigned align;
    };
    const Average averages[] = {
        {style.averages.mean, "Mean = ", summary->mean(), PaletteRGB(255, 247, 0), kAlignLeft},
        {style.averages.median, "Median = ", summary->median(), PaletteRGB(0, 255, 0),
         kAlignCenter},
        {style.averages.mode, "Mode = ", summary->mode(), PaletteRGB(97, 191, 255), kAlignRight},
    };
    const CFontSpec font = StatsGraphFont();
    const int line = dc.Metrics().LineHeight(font);
    dc.SetFont(font);
    dc.SetTextBackground(kNoColor, true);
    for (const Average& a : averages) {
        if (!a.shown || a.value < 0)
            continue;
        const int y = plot.bottom - Pixels(a.value * perUnit);
        dc.SetPen(2, a.colour);
        dc.Line({plot.left, y}, {plot.right, y});
        dc.SetTextColor(a.colour);
        dc.DrawText({plot.left + 4, y - 2 - line, plot.right - 4, y - 2},
                    a.label + summary->FormatValue(a.value), a.align | kSingleLine | kNoClip);
    }
}

void CAxisGraph::DrawLabels(IDrawingSurface& dc, const std::vector<int>& centres, int baseline,
                            int width) const {
    const CFontSpec font = StatsGraphFont();
    ITextMetrics& metrics = dc.Metrics();
    const int line = metrics.LineHeight(font);
    bool twoRows = false;
    for (const CGraphItem& item : m_items)
        twoRows = twoRows || metrics.TextExtent(font, item.label).cx > width - 4;
    dc.SetFont(font);
    dc.SetTextColor(kBlack);
    dc.SetTextBackground(kNoColor, true);
    dc.SetPen(1, kBlack);
    for (std::size_t i = 0; i < centres.size() && i < m_items.size(); ++i) {
        const int x = centres[i];
        const int top = baseline + 6 + (twoRows && i % 2 == 1 ? line : 0);
        const int w = metrics.TextExtent(font, m_items[i].label).cx;
        dc.Line({x, baseline + 2}, {x, top});
        dc.DrawText({x - w / 2 - 1, top, x - w / 2 + w + 1, top + line}, m_items[i].label,
                    kAlignCenter | kSingleLine | kNoClip);
    }
}

int CBarGraph::BarWidth(int bars) {
    if (bars <= 11)
        return 100 - (std::max(bars, 1) - 1) * 70 / 10;
    return static_cast<int>(36.25 - bars * 25.0 / 48.0);
}

int CBarGraph::Problem() const {
    if (m_items.empty())
        return kIdBarGraphEmpty;
    if (itemCount() > kGraphMaxItems)
        return kIdTooManyBars;
    return 0;
}

void CBarGraph::Draw(IDrawingSurface& dc, const CRect& area, const CGraphStyle& style) const {
    if (Problem() != 0)
        return;
    const int n = itemCount();
    const int w = BarWidth(n);
    const int gap = std::max(0, (area.Width() - n * w - kPlotMargins) / n);
    const CRect plot = PlotRect(area);
    const int baseline = plot.bottom;
    const double perUnit = DrawValueAxis(dc, plot, m_scale, style.decimals);
    // A negative value reaches below the baseline, where the plot ends.
    dc.SetClip({plot.left, plot.top, plot.right, baseline + 1});
    dc.SetPen(1, kBlack);
    std::vector<int> centres;
    int x = plot.left + gap / 2;
    for (const CGraphItem& item : m_items) {
        const int top = baseline - Pixels(item.value * perUnit);
        dc.SetBrush(StatsColour(item.colour));
        dc.Rectangle({x, std::min(top, baseline), x + w, std::max(top, baseline + 1)});
        centres.push_back(x + w / 2);
        x += w + gap;
    }
    dc.ClearClip();
    DrawAverages(dc, plot, perUnit, style);
    DrawLabels(dc, centres, baseline, w);
}

void CLineGraph::Rebuilt() {
    CAxisGraph::Rebuilt();
    m_points = static_cast<int>(std::count_if(m_items.begin(), m_items.end(),
                                              [](const CGraphItem& i) { return !i.empty; }));
}

int CLineGraph::Problem() const {
    if (m_points <= 1)
        return kIdLineGraphEmpty;
    // Every slot takes room, so a gap counts as a point would.
    if (itemCount() > kGraphMaxItems)
        return kIdTooManyPoints;
    return 0;
}

void CLineGraph::Draw(IDrawingSurface& dc, const CRect& area, const CGraphStyle& style) const {
    if (Problem() != 0)
        return;
    const int n = itemCount();
    const int slot = std::max(0, (area.Width() - kPlotMargins) / n);
    const CRect plot = PlotRect(area);
    const int baseline = plot.bottom;
    const double perUnit = DrawValueAxis(dc, plot, m_scale, style.decimals);
    std::vector<int> centres;
    std::vector<CPoint> points;
    for (int j = 0; j < n; ++j) {
        centres.push_back(plot.left + slot / 2 + j * slot);
        points.push_back({centres.back(),
                          baseline - Pixels(m_items[static_cast<std::size_t>(j)].value * perUnit)});
    }
    // Markers stand a little over the plot's edges; a negative value falls out of it.
    dc.SetClip({plot.left, plot.top - 3, plot.right, baseline + 3});
    dc.SetPen(2, kRed);
    std::vector<CPoint> segment;
    const auto flush = [&] {
        if (segment.size() >= 2)
            dc.Polyline(segment);
        segment.clear();
    };
    for (int j = 0; j < n; ++j) {
        if (m_items[static_cast<std::size_t>(j)].empty)
            flush();
        else
            segment.push_back(points[static_cast<std::size_t>(j)]);
    }
    flush();
    for (int j = 0; j < n; ++j) {
        const CGraphItem& item = m_items[static_cast<std::size_t>(j)];
        if (item.empty)
            continue;
        // An untagged marker is black: white would vanish on the page.
        const CPoint p = points[static_cast<std::size_t>(j)];
        dc.FillRect({p.x - 2, p.y - 2, p.x + 2, p.y + 2},
                    item.colour == kStatsWhite ? kBlack : StatsColour(item.colour));
    }
    dc.ClearClip();
    DrawAverages(dc, plot, perUnit, style);
    DrawLabels(dc, centres, baseline, slot);
}

// --- pie graph -------------------------------------------------------------------------------

void CPieGraph::Rebuilt() {
    m_total = 0.0;
    m_negative = false;
    for (const CGraphItem& item : m_items) {
        m_total += item.value;
        m_negative = m_negative || item.value < 0.0;
    }
}

int CPieGraph::Problem() const {
    // A negative wedge has no size: such a column makes no pie.
    if (m_items.empty() || m_total == 0.0 || m_negative || !std::isfinite(m_total))
        return kIdPieGraphEmpty;
    if (itemCount() > kGraphMaxItems)
        return kIdTooManyWedges;
    return 0;
}

std::string CPieGraph::LabelText(const CGraphItem& item, const CGraphStyle& style) const {
    switch (style.pieLabels) {
    case PieLabels::Percentages:
        return item.label + " " +
               DecimalText(m_total != 0.0 ? item.value / m_total * 100.0 : 0.0, style.decimals) +
               "%";
    case PieLabels::Values: {
        std::string value;
        if (m_format == StatsColumnFormat::Fractions)
            value = item.number.Format();
        else if (m_format == StatsColumnFormat::Categories ||
                 m_format == StatsColumnFormat::WholeNumbers)
            value = item.number.kind() == NumberKind::Integer
                        ? IntegerText(item.number.numerator())
                        : IntegerText(static_cast<long long>(std::clamp(item.value, -1e18, 1e18)));
        else
            value = DecimalText(item.value, style.decimals);
        return value + " " + item.label;
    }
    case PieLabels::Neither:
        break;
    }
    return item.label;
}

void CPieGraph::Draw(IDrawingSurface& dc, const CRect& area, const CGraphStyle& style) const {
    if (Problem() != 0)
        return;
    const double cx = (area.left + area.right) / 2;
    const double cy = (area.top + area.bottom) / 2;
    const int radius = std::max(area.Width() / 6, area.Height() / 6);
    const CRect circle{static_cast<int>(cx) - radius, static_cast<int>(cy) - radius,
                       static_cast<int>(cx) + radius, static_cast<int>(cy) + radius};
    constexpr double kTurn = 2.0 * std::numbers::pi;
    // A ray's point far out, so that a thin wedge's two rays stay apart in whole pixels.
    const auto far = [&](double angle) {
        return CPoint{Pixels(cx + 1e5 * std::cos(angle)), Pixels(cy - 1e5 * std::sin(angle))};
    };
    std::vector<double> bisectors;
    double angle = std::numbers::pi / 2;
    dc.SetPen(1, kBlack);
    for (const CGraphItem& item : m_items) {
        const double span = item.value / m_total * kTurn;
        dc.SetBrush(StatsColour(item.colour));
        if (span >= kTurn - 1e-9)
            dc.Ellipse(circle);
        else if (span > 1e-4)
            dc.Pie(circle, far(angle), far(angle + span));
        bisectors.push_back(angle + span / 2);
        angle += span;
    }

    const CFontSpec font = StatsGraphFont();
    ITextMetrics& metrics = dc.Metrics();
    dc.SetFont(font);
    dc.SetTextColor(kBlack);
    dc.SetTextBackground(kNoColor, true);
    std::vector<CRect> placed;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const std::string text = LabelText(m_items[i], style);
        const CSize size = metrics.TextExtent(font, text);
        const double b = bisectors[i];
        CRect r;
        bool moved = false;
        bool leftSide = false;
        for (int step = 0; step < kMaxLabelSteps; ++step) {
            const double d = radius + 12 + 4.0 * step;
            const int ax = Pixels(cx + d * std::cos(b));
            const int ay = Pixels(cy - d * std::sin(b));
            // Left of the centre a label ends at its anchor, elsewhere it starts there.
            leftSide = ax < cx;
            const int left = leftSide ? ax - size.cx : ax;
            r = {left, ay - size.cy / 2, left + size.cx, ay - size.cy / 2 + size.cy};
            if (std::none_of(placed.begin(), placed.end(),
                             [&](const CRect& o) { return o.Intersects(r); }))
                break;
            moved = true;
        }
        placed.push_back(r);
        dc.DrawText(r, text, kAlignLeft | kAlignVCenter | kSingleLine | kNoClip);
        if (moved) {
            dc.SetPen(1, kBlack);
            dc.Line({Pixels(cx + radius * std::cos(b)), Pixels(cy - radius * std::sin(b))},
                    {leftSide ? r.right : r.left, (r.top + r.bottom) / 2});
        }
    }
}

} // namespace quorvel

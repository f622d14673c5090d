// The data table's and the mini-table's layout and drawing.
#include "statistics/grid_view.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace quorvel {

namespace {

constexpr int kCaseColumnWidth = 35;
constexpr int kNumberColumnWidth = 114;
constexpr int kCategoryColumnWidth = 170;
constexpr int kCellPadding = 6;
constexpr int kOutlineWidth = 3;
constexpr Color kGreyText = PaletteRGB(0xF0, 0xF0, 0xF0);
constexpr Color kYellow = PaletteRGB(255, 255, 0);
constexpr Color kBlack = PaletteRGB(0, 0, 0);
constexpr Color kWhite = PaletteRGB(255, 255, 255);

std::string Decimal(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", value);
    return buf;
}

} // namespace

void DrawStackedFraction(IDrawingSurface& dc, const CNumber& n, const CFontSpec& font,
                         const CRect& box) {
    ITextMetrics& m = dc.Metrics();
    const int num = n.numerator();
    const int den = n.denominator();
    const int whole = num / den;
    const int rest = whole != 0 ? std::abs(num % den) : num % den;
    CFontSpec small = font;
    small.pointSizeTenths = font.pointSizeTenths * 3 / 4;
    small.pixelHeight = font.pixelHeight * 3 / 4;
    const std::string top = Decimal(rest);
    const std::string bottom = Decimal(den);
    const int w = std::max(m.TextExtent(small, top).cx, m.TextExtent(small, bottom).cx);
    const int h = m.LineHeight(small);
    const int right = box.right;
    const int left = right - w;
    const int mid = (box.top + box.bottom) / 2;
    dc.SetFont(small);
    dc.DrawText({left, mid - h, right, mid}, top, kAlignCenter | kAlignBottom | kSingleLine);
    dc.DrawText({left, mid + 1, right, mid + 1 + h}, bottom,
                kAlignCenter | kAlignTop | kSingleLine);
    dc.Line({left, mid}, {right, mid});
    if (whole != 0) {
        dc.SetFont(font);
        dc.DrawText({box.left, box.top, left - 2, box.bottom}, Decimal(whole),
                    kAlignRight | kAlignVCenter | kSingleLine);
    }
}

CFontSpec StatsTableFont() {
    return CFontSpec{"Arial", 120};
}

int StatsRowHeight(ITextMetrics& metrics) {
    return metrics.LineHeight(StatsTableFont()) * 3 / 2 + 8;
}

void DrawStatsCell(IDrawingSurface& dc, const CStatsDataSet& data, int row, int column,
                   const CRect& r, bool greyed) {
    const CStatsCell& cell = data.Cell(row, column);
    const Color text = greyed ? kGreyText : kBlack;
    dc.FillRect(r, greyed ? kStatsGridGrey : StatsColour(cell.colour));
    dc.SetTextColor(text);
    dc.SetTextBackground(kWhite, true);
    dc.SetFont(StatsTableFont());
    const CRect inner{r.left + kCellPadding, r.top, r.right - kCellPadding, r.bottom};
    if (column == 0) {
        dc.DrawText(inner, Decimal(data.Case(row).caseNumber),
                    kAlignCenter | kAlignVCenter | kSingleLine);
        return;
    }
    if (cell.empty)
        return;
    if (!data.IsNumberColumn(column)) {
        dc.DrawText(inner, cell.text, kAlignLeft | kAlignVCenter | kSingleLine);
        return;
    }
    if (cell.number.kind() == NumberKind::Fraction) {
        dc.SetPen(1, text);
        DrawStackedFraction(dc, cell.number, StatsTableFont(),
                            {r.left + kCellPadding, r.top, r.right - kCellPadding, r.bottom});
        return;
    }
    dc.DrawText(inner, CellValueText(data, row, column), kAlignRight | kAlignVCenter | kSingleLine);
}

namespace stats {

// --- the data table --------------------------------------------------------------------------

void CGridView::Layout(ITextMetrics& metrics, CSize client) {
    m_rowHeight = StatsRowHeight(metrics);
    m_client = client;
    ScrollTo(m_firstRow, m_firstColumn);
}

int CGridView::ColumnWidth(int column) const {
    if (column == 0)
        return kCaseColumnWidth;
    return m_data.IsNumberColumn(column) ? kNumberColumnWidth : kCategoryColumnWidth;
}

int CGridView::FrozenWidth() const {
    int w = 0;
    for (int c = 0; c < std::min(2, m_data.columnCount()); ++c)
        w += ColumnWidth(c);
    return w;
}

int CGridView::VisibleRows() const {
    const int h = m_client.cy - headerHeight();
    return h <= 0 ? 0 : (h + m_rowHeight - 1) / m_rowHeight;
}

int CGridView::MaxFirstRow() const {
    // The last row may stand at the bottom whole.
    const int whole = std::max(1, (m_client.cy - headerHeight()) / m_rowHeight);
    return std::max(1, m_data.rowCount() - whole);
}

int CGridView::MaxFirstColumn() const {
    // The last column may stand at the right edge whole.
    int room = m_client.cx - FrozenWidth();
    int c = m_data.columnCount() - 1;
    while (c > 2 && room - ColumnWidth(c) >= ColumnWidth(c - 1)) {
        room -= ColumnWidth(c);
        --c;
    }
    return std::max(2, c);
}

void CGridView::ScrollTo(int firstRow, int firstColumn) {
    m_firstRow = std::clamp(firstRow, 1, MaxFirstRow());
    m_firstColumn = std::clamp(firstColumn, 2, MaxFirstColumn());
}

void CGridView::EnsureVisible(int row, int column) {
    int first = m_firstRow;
    const int whole = std::max(1, (m_client.cy - headerHeight()) / m_rowHeight);
    if (row >= 1 && row < first)
        first = row;
    else if (row >= first + whole)
        first = row - whole + 1;
    int firstColumn = m_firstColumn;
    if (column >= 2) {
        if (column < firstColumn) {
            firstColumn = column;
        } else {
            // Move right until the column's right edge fits.
            auto rightEdge = [&](int fc) {
                int x = FrozenWidth();
                for (int c = fc; c <= column; ++c)
                    x += ColumnWidth(c);
                return x;
            };
            while (firstColumn < column && rightEdge(firstColumn) > m_client.cx)
                ++firstColumn;
        }
    }
    ScrollTo(first, firstColumn);
}

std::optional<int> CGridView::ColumnLeft(int column) const {
    if (column < 0 || column >= m_data.columnCount())
        return std::nullopt;
    if (column < 2)
        return column == 0 ? 0 : ColumnWidth(0);
    if (column < m_firstColumn)
        return std::nullopt;
    int x = FrozenWidth();
    for (int c = m_firstColumn; c < column; ++c)
        x += ColumnWidth(c);
    if (x >= m_client.cx)
        return std::nullopt;
    return x;
}

int CGridView::LastVisibleRow() const {
    return std::min(m_data.rowCount() - 1, m_firstRow + VisibleRows() - 1);
}

std::optional<CRect> CGridView::CellRect(int row, int column) const {
    const std::optional<int> left = ColumnLeft(column);
    if (!left || row < 0 || row >= m_data.rowCount())
        return std::nullopt;
    const int right = *left + ColumnWidth(column);
    if (row == 0)
        return CRect{*left, 0, right, headerHeight()};
    if (row < m_firstRow || row > LastVisibleRow())
        return std::nullopt;
    const int top = headerHeight() + (row - m_firstRow) * m_rowHeight;
    return CRect{*left, top, right, top + m_rowHeight};
}

std::optional<CGridCell> CGridView::CellAt(CPoint p) const {
    if (p.x < 0 || p.y < 0 || p.x >= m_client.cx || p.y >= m_client.cy)
        return std::nullopt;
    int row = 0;
    if (p.y >= headerHeight()) {
        row = m_firstRow + (p.y - headerHeight()) / m_rowHeight;
        if (row >= m_data.rowCount())
            return std::nullopt;
    }
    for (int c = 0; c < m_data.columnCount(); ++c) {
        const std::optional<int> left = ColumnLeft(c);
        if (left && p.x >= *left && p.x < *left + ColumnWidth(c))
            return CGridCell{row, c};
    }
    return std::nullopt;
}

void CGridView::Draw(IDrawingSurface& dc) const {
    const int columns = m_data.columnCount();
    const int last = LastVisibleRow();
    const int bottom = headerHeight() + (last - m_firstRow + 1) * m_rowHeight;
    auto eachColumn = [&](auto&& f) {
        for (int c = 0; c < columns; ++c)
            if (CellRect(0, c))
                f(c);
    };
    // The scrolling columns first, clipped right of the frozen ones.
    for (const bool frozen : {false, true}) {
        if (!frozen)
            dc.SetClip({FrozenWidth(), 0, m_client.cx, m_client.cy});
        eachColumn([&](int c) {
            if ((c < 2) != frozen)
                return;
            const CRect head = *CellRect(0, c);
            dc.FillRect(head, c == 0 ? kStatsGridGrey : StatsColour(m_data.GetCellColour(0, c)));
            dc.SetTextColor(kBlack);
            dc.SetTextBackground(kWhite, true);
            dc.SetFont(StatsTableFont());
            dc.DrawText(
                {head.left + kCellPadding, head.top, head.right - kCellPadding, head.bottom},
                c == 0 ? "ID" : m_data.GetColumnName(c), kAlignCenter | kAlignVCenter | kWordBreak);
            for (int row = m_firstRow; row <= last; ++row) {
                const CStatsCase& k = m_data.Case(row);
                const bool greyed =
                    row != m_data.selectedRow() && (k.state == CaseState::Ignored || k.IsBlank());
                DrawStatsCell(dc, m_data, row, c, *CellRect(row, c), greyed);
            }
            // The grid: the cells' frames in grey.
            dc.SetPen(1, kStatsGridGrey);
            dc.SetNullBrush();
            dc.Rectangle({head.left, head.top, head.right + 1, head.bottom + 1});
            for (int row = m_firstRow; row <= last; ++row) {
                const CRect r = *CellRect(row, c);
                dc.Rectangle({r.left, r.top, r.right + 1, r.bottom + 1});
            }
        });
        if (!frozen)
            dc.ClearClip();
    }
    // The current column, and in the merge dialog every marked one, outlined in yellow.
    dc.SetPen(kOutlineWidth, kYellow);
    dc.SetNullBrush();
    eachColumn([&](int c) {
        const bool outlined =
            m_columnChoice ? m_data.Cell(0, c).mark != 0 : c == m_data.currentColumn();
        if (!outlined)
            return;
        const CRect head = *CellRect(0, c);
        dc.Rectangle({head.left + 1, head.top + 1, head.right, bottom});
    });
}

} // namespace stats

// --- the mini-table --------------------------------------------------------------------------

int CMiniTable::ClampedColumn() const {
    return std::clamp(m_shownColumn, std::min(2, m_data.columnCount() - 1),
                      std::max(1, m_data.columnCount() - 1));
}

bool CMiniTable::PreviousColumn() {
    if (m_shownColumn < 3)
        return false;
    --m_shownColumn;
    return true;
}

bool CMiniTable::NextColumn() {
    if (m_shownColumn >= m_data.columnCount() - 1)
        return false;
    ++m_shownColumn;
    return true;
}

CRect CMiniTable::ValueRect(CSize client, int index) const {
    const int half = client.cx / 2;
    const int top = client.cy / 2;
    return index == 0 ? CRect{0, top, half, client.cy} : CRect{half, top, client.cx, client.cy};
}

std::optional<int> CMiniTable::ColumnAt(CSize client, CPoint p) const {
    // With no second column the second cell stays empty.
    const int cells = ClampedColumn() > 1 ? 2 : 1;
    for (int i = 0; i < cells; ++i)
        if (ValueRect(client, i).Contains(p))
            return i == 0 ? 1 : ClampedColumn();
    return std::nullopt;
}

void CMiniTable::Draw(IDrawingSurface& dc, CSize client) const {
    const int row = m_data.selectedRow();
    const int columns[2] = {1, ClampedColumn()};
    for (int i = 0; i < (columns[1] > 1 ? 2 : 1); ++i) {
        const int c = columns[i];
        if (c < 1 || c >= m_data.columnCount())
            continue;
        const CRect value = ValueRect(client, i);
        const CRect name{value.left, 0, value.right, value.top};
        dc.FillRect(name, StatsColour(m_data.GetCellColour(0, c)));
        dc.SetTextColor(kBlack);
        dc.SetTextBackground(kWhite, true);
        dc.SetFont(StatsTableFont());
        dc.DrawText({name.left + kCellPadding, name.top, name.right - kCellPadding, name.bottom},
                    m_data.GetColumnName(c), kAlignCenter | kAlignVCenter | kSingleLine);
        if (row >= 1 && row < m_data.rowCount())
            DrawStatsCell(dc, m_data, row, c, value, false);
        else
            dc.FillRect(value, kWhite);
        dc.SetPen(1, kStatsGridGrey);
        dc.SetNullBrush();
        dc.Rectangle({name.left, name.top, name.right + 1, name.bottom + 1});
        dc.Rectangle({value.left, value.top, value.right + 1, value.bottom + 1});
        if (c == m_data.currentColumn()) {
            dc.SetPen(kOutlineWidth, kYellow);
            dc.Rectangle({name.left + 1, name.top + 1, name.right, value.bottom});
        }
    }
}

} // namespace quorvel

// Machine tables: the grid's cells, geometry, scrolling, selection, look and archive form, and
// the table's column groups, recording, sorting, cards, text forms and printing.
#include "patterns/machine_table.h"

#include "numbers/number_text.h"
#include "patterns/number_machine.h"
#include "workspace/archive.h"
#include "workspace/manipulative_registry.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

constexpr Color kInk = PaletteRGB(45, 45, 70);
constexpr Color kSelectInk = PaletteRGB(0, 90, 200);
constexpr Color kWhite = PaletteRGB(255, 255, 255);
constexpr Color kLines = PaletteRGB(160, 165, 180);
constexpr Color kBandFill = PaletteRGB(70, 90, 140);
constexpr Color kRowHeaderFill = PaletteRGB(225, 228, 238);
constexpr Color kSelectedFill = PaletteRGB(200, 222, 255);
constexpr Color kColumnFill = PaletteRGB(236, 244, 255);
constexpr Color kBarFill = PaletteRGB(215, 218, 228);
constexpr Color kThumbFill = PaletteRGB(160, 168, 190);
// The header colours of the three kinds of column (Output, Input 1, Input 2).
constexpr Color kHeaderFill[] = {PaletteRGB(255, 205, 150), PaletteRGB(190, 230, 180),
                                 PaletteRGB(250, 235, 160)};
constexpr Color kWireInk[] = {PaletteRGB(200, 110, 30), PaletteRGB(60, 140, 60),
                              PaletteRGB(170, 140, 20)};

constexpr int kCoordinateLimit = 10'000'000;
// Cells a table holds at most: far beyond any series of runs, and what a file may ask for.
constexpr std::int64_t kMaxCells = 4'000'000;
// The least a stored cell takes: four values, an empty string, a number's kind and value.
constexpr std::size_t kMinCellBytes = 16 + 1 + 8;
constexpr std::size_t kGroupBytes = 20;

CPoint CentreOf(const CRect& r) {
    return {static_cast<int>((std::int64_t{r.left} + r.right) / 2),
            static_cast<int>((std::int64_t{r.top} + r.bottom) / 2)};
}

// `text` as it fits in `width`: whole, or cut and ended with "...".
std::string Fitted(ITextMetrics& metrics, const CFontSpec& font, const std::string& text,
                   int width) {
    if (metrics.TextExtent(font, text).cx <= width)
        return text;
    std::string cut = text;
    while (!cut.empty()) {
        do
            cut.pop_back();
        while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80);
        if (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0xC0)
            cut.pop_back();
        if (metrics.TextExtent(font, cut + "...").cx <= width)
            break;
    }
    return cut + "...";
}

CFontSpec Bold(CFontSpec f) {
    f.weight = 700;
    return f;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char ch : text) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    return out + "\"";
}

} // namespace

const char* ColumnHeader(int kind) {
    switch (kind) {
    case kColumnInput1:
        return "Input 1";
    case kColumnInput2:
        return "Input 2";
    default:
        return "Output";
    }
}

std::string CellText(const CNumber& value) {
    switch (value.kind()) {
    case NumberKind::Integer:
        return std::to_string(value.numerator());
    case NumberKind::Decimal: {
        std::string out;
        FormatDecimal(out, value.ToDouble(), 15);
        return out;
    }
    default:
        return value.Format();
    }
}

// ---- CGridCtrl ----

CGridCtrl::CGridCtrl() {
    Reset();
}

CFontSpec CGridCtrl::Font() {
    return CFontSpec{"Arial", 100};
}

void CGridCtrl::Measure(ITextMetrics& metrics) const {
    const CFontSpec font = Font();
    m_columnWidth = std::max(20, metrics.TextExtent(font, "999999.999999...").cx);
    m_rowHeight = std::max(12, 3 * metrics.LineHeight(font) / 2 + 10);
    m_rowHeaderWidth = std::max(12, metrics.TextExtent(font, "9999").cx + 10);
}

void CGridCtrl::SetValue(int r, int c, const CNumber& v) {
    CGridCell& cell = Cell(r, c);
    cell.value = v;
    cell.hasValue = true;
    cell.text = CellText(v);
}

void CGridCtrl::SetEmpty(int r, int c) {
    CGridCell& cell = Cell(r, c);
    cell.value = CNumber(kEmptyCellValue);
    cell.hasValue = false;
    cell.text.clear();
}

void CGridCtrl::SetText(int r, int c, const std::string& text) {
    const std::string_view trimmed = TrimSpace(text);
    if (trimmed.empty()) {
        SetEmpty(r, c);
        return;
    }
    CGridCell& cell = Cell(r, c);
    try {
        cell.value = CNumber(trimmed);
        cell.hasValue = true;
    } catch (const CNumberException&) {
        // Text that makes no number keeps the value the cell had.
    }
    cell.text = text;
}

void CGridCtrl::InsertColumn(int at) {
    at = std::clamp(at, 1, columns());
    for (auto& row : m_cells)
        row.insert(row.begin() + at, CGridCell{});
    for (int r = 0; r < rows(); ++r)
        if (r > 0)
            SetEmpty(r, at);
    if (m_selectedColumn >= at)
        ++m_selectedColumn;
    m_selection.reset();
    ClampScroll();
}

void CGridCtrl::DeleteColumn(int at) {
    if (at < 1 || at >= columns())
        return;
    for (auto& row : m_cells)
        row.erase(row.begin() + at);
    if (m_selectedColumn == at)
        m_selectedColumn = 0;
    else if (m_selectedColumn > at)
        --m_selectedColumn;
    m_selection.reset();
    ClampScroll();
}

void CGridCtrl::AppendRow() {
    m_cells.emplace_back(Index(columns()));
    for (int c = 1; c < columns(); ++c)
        SetEmpty(rows() - 1, c);
    NumberRows(rows() - 1);
}

bool CGridCtrl::ClearRows() {
    if (rows() <= 1)
        return false;
    m_cells.resize(1);
    m_selection.reset();
    ClampScroll();
    return true;
}

void CGridCtrl::Reset() {
    m_cells.assign(1, std::vector<CGridCell>(1));
    CGridCell& corner = m_cells[0][0];
    corner.background = kRowHeaderFill;
    m_selection.reset();
    m_selectedColumn = 0;
    m_firstRow = m_firstColumn = 1;
}

void CGridCtrl::ReorderRows(const std::vector<int>& order) {
    std::vector<std::vector<CGridCell>> sorted;
    sorted.reserve(m_cells.size());
    sorted.push_back(std::move(m_cells[0]));
    for (int r : order)
        sorted.push_back(std::move(m_cells[Index(r)]));
    m_cells = std::move(sorted);
    NumberRows();
}

void CGridCtrl::NumberRows(int from) {
    for (int r = std::max(from, 1); r < rows(); ++r) {
        CGridCell& cell = Cell(r, 0);
        cell.text = std::to_string(r);
        cell.background = kRowHeaderFill;
        cell.align = kAlignCenter | kAlignVCenter | kSingleLine;
    }
}

void CGridCtrl::ClampScroll() {
    m_firstRow = std::clamp(m_firstRow, 1, std::max(1, dataRows() - kShownRows + 1));
    m_firstColumn = std::clamp(m_firstColumn, 1, std::max(1, dataColumns() - kShownColumns + 1));
    if (m_selectedColumn >= columns())
        m_selectedColumn = 0;
}

void CGridCtrl::ScrollRows(int delta) {
    m_firstRow += delta;
    ClampScroll();
}

void CGridCtrl::ScrollColumns(int delta) {
    m_firstColumn += delta;
    ClampScroll();
}

void CGridCtrl::ScrollToLastRow() {
    m_firstRow = dataRows();
    ClampScroll();
}

CGridView CGridCtrl::ScreenView() const {
    CGridView v;
    v.firstRow = m_firstRow;
    v.rowCount = std::clamp(dataRows() - m_firstRow + 1, 0, kShownRows);
    v.firstColumn = m_firstColumn;
    v.columnCount = std::clamp(dataColumns() - m_firstColumn + 1, 0, kShownColumns);
    v.bars = true;
    return v;
}

CGridView CGridCtrl::PrintView(int first, int count) const {
    CGridView v;
    v.firstRow = std::max(1, first);
    v.rowCount = std::clamp(count, 0, std::max(0, dataRows() - v.firstRow + 1));
    v.firstColumn = 1;
    v.columnCount = dataColumns();
    return v;
}

CSize CGridCtrl::ViewSize(const CGridView& view) const {
    const int dataWidth = view.columnCount > 0 ? view.columnCount * m_columnWidth : kEmptyWidth;
    int width = m_rowHeaderWidth + dataWidth;
    int height = m_rowHeight * (2 + (view.bars ? kShownRows : view.rowCount));
    if (view.bars && VerticalBar())
        width += kScrollBar;
    if (view.bars && HorizontalBar())
        height += kScrollBar;
    return {width, height};
}

CSize CGridCtrl::WindowSize() const {
    return ViewSize(ScreenView());
}

CRect CGridCtrl::CellRect(int r, int c, const CGridView& view) const {
    int top = 0;
    if (r == 0) {
        top = m_rowHeight;
    } else {
        if (r < view.firstRow || r >= view.firstRow + view.rowCount)
            return {};
        top = m_rowHeight * (2 + r - view.firstRow);
    }
    int left = 0, width = m_rowHeaderWidth;
    if (c > 0) {
        if (c < view.firstColumn || c >= view.firstColumn + view.columnCount)
            return {};
        left = m_rowHeaderWidth + (c - view.firstColumn) * m_columnWidth;
        width = m_columnWidth;
    }
    return {left, top, left + width, top + m_rowHeight};
}

CGridHit CGridCtrl::HitAt(CPoint p) const {
    const CGridView view = ScreenView();
    const CSize size = ViewSize(view);
    if (p.x < 0 || p.y < 0 || p.x >= size.cx || p.y >= size.cy)
        return {};
    const int rh = m_rowHeight;
    if (p.y < rh)
        return {GridPart::Title};
    const int dataWidth = view.columnCount > 0 ? view.columnCount * m_columnWidth : kEmptyWidth;
    const int barX = m_rowHeaderWidth + dataWidth;
    const int rowsBottom = rh * (2 + kShownRows);
    if (VerticalBar() && p.x >= barX) {
        if (p.y >= rowsBottom)
            return {};
        if (p.y < rh + kScrollBar)
            return {GridPart::ScrollUp};
        if (p.y >= rowsBottom - kScrollBar)
            return {GridPart::ScrollDown};
        const int track = rowsBottom - rh - 2 * kScrollBar;
        const int thumbTop = rh + kScrollBar + track * (m_firstRow - 1) / std::max(1, dataRows());
        return {p.y < thumbTop ? GridPart::PageUp : GridPart::PageDown};
    }
    if (HorizontalBar() && p.y >= rowsBottom) {
        if (p.x < m_rowHeaderWidth + kScrollBar)
            return {GridPart::ScrollLeft};
        if (p.x >= barX - kScrollBar)
            return {GridPart::ScrollRight};
        const int track = dataWidth - 2 * kScrollBar;
        const int thumbLeft = m_rowHeaderWidth + kScrollBar +
                              track * (m_firstColumn - 1) / std::max(1, dataColumns());
        return {p.x < thumbLeft ? GridPart::PageLeft : GridPart::PageRight};
    }
    int column = 0;
    if (p.x >= m_rowHeaderWidth) {
        const int shown = (p.x - m_rowHeaderWidth) / m_columnWidth;
        if (shown >= view.columnCount)
            return {};
        column = view.firstColumn + shown;
    }
    if (p.y < 2 * rh)
        return {GridPart::Header, 0, column};
    const int shownRow = (p.y - 2 * rh) / rh;
    if (shownRow >= view.rowCount)
        return {};
    const int row = view.firstRow + shownRow;
    return {column == 0 ? GridPart::RowHeader : GridPart::Cell, row, column};
}

void CGridCtrl::Select(const CCellRange& range) {
    CCellRange r{std::min(range.top, range.bottom), std::min(range.left, range.right),
                 std::max(range.top, range.bottom), std::max(range.left, range.right)};
    r.top = std::clamp(r.top, 0, std::max(0, rows() - 1));
    r.bottom = std::clamp(r.bottom, 0, std::max(0, rows() - 1));
    r.left = std::clamp(r.left, 0, std::max(0, columns() - 1));
    r.right = std::clamp(r.right, 0, std::max(0, columns() - 1));
    m_selection = r;
}

void CGridCtrl::ClearSelection() {
    m_selection.reset();
}

void CGridCtrl::SetSelectedColumn(int c) {
    m_selectedColumn = c >= 1 && c < columns() ? c : 0;
}

std::string CGridCtrl::CopyText() const {
    if (!m_selection)
        return {};
    const int top = std::max(m_selection->top, 1),
              bottom = std::min(m_selection->bottom, rows() - 1);
    const int left = std::max(m_selection->left, 1);
    const int right = std::min(m_selection->right, columns() - 1);
    std::string out;
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c) {
            out += Cell(r, c).text;
            out += c == right ? "\r\n" : "\t";
        }
    return out;
}

void CGridCtrl::Draw(IDrawingSurface& dc, CPoint at, const CGridView& view) const {
    ITextMetrics& metrics = dc.Metrics();
    const CFontSpec font = Font();
    const auto shifted = [at](CRect r) {
        r.Offset(at.x, at.y);
        return r;
    };
    const auto cellFill = [&](int r, int c) {
        if (r > 0 && c > 0 && m_selection && m_selection->Contains(r, c))
            return kSelectedFill;
        if (r > 0 && c > 0 && c == m_selectedColumn)
            return kColumnFill;
        return Cell(r, c).background;
    };
    const auto drawCell = [&](int r, int c) {
        const CRect rect = shifted(CellRect(r, c, view));
        if (rect.IsEmpty())
            return;
        dc.SetPen(1, kLines);
        dc.SetBrush(cellFill(r, c));
        dc.Rectangle({rect.left, rect.top, rect.right + 1, rect.bottom + 1});
        const CGridCell& cell = Cell(r, c);
        if (cell.text.empty())
            return;
        const CRect inner{rect.left + 4, rect.top, rect.right - 4, rect.bottom};
        const CFontSpec f = r == 0 ? Bold(font) : font;
        dc.SetFont(f);
        dc.SetTextColor(cell.ink);
        dc.SetTextBackground(kWhite, true);
        dc.DrawText(inner, Fitted(metrics, f, cell.text, inner.Width()),
                    static_cast<unsigned>(cell.align) | kSingleLine);
    };
    for (int c = 0; c < view.firstColumn + view.columnCount; ++c) {
        if (c > 0 && c < view.firstColumn)
            continue;
        drawCell(0, c);
        for (int r = view.firstRow; r < view.firstRow + view.rowCount; ++r)
            drawCell(r, c);
    }
    if (view.columnCount == 0) {
        // The empty table's header: a blank strip.
        const CRect strip = shifted(
            {m_rowHeaderWidth, m_rowHeight, m_rowHeaderWidth + kEmptyWidth, 2 * m_rowHeight});
        dc.SetPen(1, kLines);
        dc.SetBrush(kRowHeaderFill);
        dc.Rectangle({strip.left, strip.top, strip.right + 1, strip.bottom + 1});
    }
    // The selected column's header is framed.
    if (m_selectedColumn > 0) {
        const CRect h = shifted(CellRect(0, m_selectedColumn, view));
        if (!h.IsEmpty()) {
            dc.SetPen(2, kSelectInk);
            dc.SetNullBrush();
            dc.Rectangle({h.left + 1, h.top + 1, h.right, h.bottom});
        }
    }
    if (view.bars) {
        const CSize size = ViewSize(view);
        DrawBars(dc, {at.x, at.y, at.x + size.cx, at.y + size.cy});
    }
}

void CGridCtrl::DrawBars(IDrawingSurface& dc, const CRect& window) const {
    const int rh = m_rowHeight;
    const auto arrow = [&dc](const CRect& r, int dx, int dy) {
        const CPoint c = CentreOf(r);
        const int s = 3;
        dc.SetPen(1, kInk);
        dc.SetBrush(kInk);
        if (dy != 0)
            dc.Polygon(
                {{c.x - s, c.y - dy * s / 2}, {c.x + s, c.y - dy * s / 2}, {c.x, c.y + dy * s}});
        else
            dc.Polygon(
                {{c.x - dx * s / 2, c.y - s}, {c.x - dx * s / 2, c.y + s}, {c.x + dx * s, c.y}});
    };
    const auto button = [&](const CRect& r, int dx, int dy) {
        dc.SetPen(1, kLines);
        dc.SetBrush(kRowHeaderFill);
        dc.Rectangle(r);
        arrow(r, dx, dy);
    };
    const int rowsBottom = window.top + rh * (2 + kShownRows);
    const int dataRight = window.right - (VerticalBar() ? kScrollBar : 0);
    if (VerticalBar()) {
        const CRect bar{dataRight, window.top + rh, window.right, rowsBottom};
        dc.SetPen(1, kLines);
        dc.SetBrush(kBarFill);
        dc.Rectangle(bar);
        button({bar.left, bar.top, bar.right, bar.top + kScrollBar}, 0, -1);
        button({bar.left, bar.bottom - kScrollBar, bar.right, bar.bottom}, 0, 1);
        const int track = bar.Height() - 2 * kScrollBar;
        const int rowsAll = std::max(1, dataRows());
        const int top = bar.top + kScrollBar + track * (m_firstRow - 1) / rowsAll;
        const int height = std::max(6, track * kShownRows / rowsAll);
        dc.SetBrush(kThumbFill);
        dc.Rectangle(
            {bar.left + 2, top, bar.right - 2, std::min(top + height, bar.bottom - kScrollBar)});
    }
    if (HorizontalBar()) {
        const CRect bar{window.left + m_rowHeaderWidth, rowsBottom, dataRight, window.bottom};
        dc.SetPen(1, kLines);
        dc.SetBrush(kBarFill);
        dc.Rectangle(bar);
        button({bar.left, bar.top, bar.left + kScrollBar, bar.bottom}, -1, 0);
        button({bar.right - kScrollBar, bar.top, bar.right, bar.bottom}, 1, 0);
        const int track = bar.Width() - 2 * kScrollBar;
        const int colsAll = std::max(1, dataColumns());
        const int left = bar.left + kScrollBar + track * (m_firstColumn - 1) / colsAll;
        const int width = std::max(6, track * kShownColumns / colsAll);
        dc.SetBrush(kThumbFill);
        dc.Rectangle(
            {left, bar.top + 2, std::min(left + width, bar.right - kScrollBar), bar.bottom - 2});
    }
}

void CGridCtrl::Serialize(CArchive& ar) {
    std::int32_t rowCount = rows(), columnCount = columns();
    ar.Exchange(rowCount, "rows");
    ar.Exchange(columnCount, "columns");
    if (ar.IsLoading()) {
        if (columnCount < 1 || columnCount > kMaxTableColumns + 1)
            ar.Fail("a grid of " + std::to_string(columnCount) + " columns", "columns");
        if (rowCount < 1 || std::int64_t{rowCount} * columnCount > kMaxCells)
            ar.Fail("a grid of " + std::to_string(rowCount) + " rows", "rows");
        ar.CheckCount(std::int64_t{rowCount} * columnCount, kMinCellBytes, "cells");
    }
    std::vector<std::vector<CGridCell>> loaded;
    if (ar.IsLoading())
        loaded.assign(Index(rowCount), std::vector<CGridCell>(Index(columnCount)));
    auto& cells = ar.IsLoading() ? loaded : m_cells;
    CArchive::ArrayScope items(ar, "cells");
    for (int r = 0; r < rowCount; ++r) {
        for (int c = 0; c < columnCount; ++c) {
            CArchive::Item item(ar, Index(r) * Index(columnCount) + Index(c));
            CGridCell& cell = cells[Index(r)][Index(c)];
            ar.Exchange(cell.background, "background");
            ar.Exchange(cell.ink, "ink");
            ar.Exchange(cell.align, "alignment");
            ar.Exchange(cell.hasValue, "has value");
            ar.Exchange(cell.text, "text");
            CArchive::Scope value(ar, "value");
            cell.value.Serialize(ar);
            if (ar.IsLoading() && cell.value.kind() == NumberKind::Decimal &&
                !std::isfinite(cell.value.ToDouble()))
                ar.Fail("a cell's decimal is not finite", "decimal");
        }
    }
    if (ar.IsStoring())
        return;
    m_cells = std::move(loaded);
    m_selection.reset();
    m_selectedColumn = 0;
    m_firstRow = m_firstColumn = 1;
    ClampScroll();
}

// ---- CTableManipulative ----

CTableManipulative::CTableManipulative(CPoint topLeft) : m_topLeft(topLeft) {
    SyncCentre();
}

CTableManipulative::CTableManipulative(const CTableManipulative& other)
    : CPatternManipulative(other), m_topLeft(other.m_topLeft), m_grid(other.m_grid) {
    SyncCentre();
}

CTableManipulative::~CTableManipulative() {
    m_tearingDown = true;
}

std::unique_ptr<CManipulative> CTableManipulative::Clone() const {
    return std::make_unique<CTableManipulative>(*this);
}

void CTableManipulative::Measure(ITextMetrics& metrics) {
    m_grid.Measure(metrics);
    SyncCentre();
}

void CTableManipulative::SyncCentre() {
    const CSize size = m_grid.WindowSize();
    m_centre = C3DPointDouble(m_topLeft.x + size.cx / 2.0, m_topLeft.y + size.cy / 2.0, 0.0);
    m_rotationPoint = m_centre;
}

CRect CTableManipulative::WindowRect() const {
    const CSize size = m_grid.WindowSize();
    return {m_topLeft.x, m_topLeft.y, m_topLeft.x + size.cx, m_topLeft.y + size.cy};
}

CRect CTableManipulative::CellRect(int r, int c) const {
    CRect rect = m_grid.CellRect(r, c);
    if (!rect.IsEmpty())
        rect.Offset(m_topLeft.x, m_topLeft.y);
    return rect;
}

CGridHit CTableManipulative::HitAt(CPoint p) const {
    return m_grid.HitAt({p.x - m_topLeft.x, p.y - m_topLeft.y});
}

void CTableManipulative::SerializeLinked(CArchive& ar, const CPatternIndex& index) {
    // The centre follows the window, which grows with rows and columns: stored as it stands,
    // so that what is read back (and Undo brings back) is the same.
    if (ar.IsStoring())
        SyncCentre();
    CPatternManipulative::SerializeLinked(ar, index);
    {
        CArchive::Scope grid(ar, "grid");
        m_grid.Serialize(ar);
    }
    const std::size_t count =
        ar.ExchangeCount(m_groups.size(), "group count", "groups", kGroupBytes);
    std::vector<CColumnGroup> loaded(ar.IsLoading() ? count : 0);
    {
        CArchive::ArrayScope groups(ar, "groups");
        for (std::size_t g = 0; g < count; ++g) {
            CArchive::Item item(ar, g);
            CColumnGroup& group = ar.IsLoading() ? loaded[g] : m_groups[g];
            std::int32_t machine = index.IndexOf(group.machine);
            ar.Exchange(machine, "machine");
            // The form's order, whatever the order of the fields in memory.
            ar.Exchange(group.firstColumn, "first column");
            ar.Exchange(group.output, "output");
            ar.Exchange(group.input1, "input 1");
            ar.Exchange(group.input2, "input 2");
            if (ar.IsLoading()) {
                CPatternManipulative* m = machine == -1 ? nullptr : index.At(machine);
                if (!m || !m->IsMachine())
                    ar.Fail("a table group names no machine", "machine");
                group.machine = static_cast<CFunctionMachine*>(m);
            }
        }
    }
    CRect rect = WindowRect();
    ar.Exchange(rect, "window rectangle");
    if (ar.IsStoring())
        return;

    // The groups must stand side by side from column 1, each machine once, each group's
    // columns in the order Input 1, Input 2, Output, and together fill the grid.
    std::int32_t next = 1;
    for (std::size_t g = 0; g < loaded.size(); ++g) {
        const CColumnGroup& group = loaded[g];
        for (std::size_t h = 0; h < g; ++h)
            if (loaded[h].machine == group.machine)
                ar.Fail("a table group names a machine twice", "groups");
        std::int32_t expected = 0;
        for (int kind : {kColumnInput1, kColumnInput2, kColumnOutput}) {
            const std::int32_t offset = group.Offset(kind);
            if (offset == -1)
                continue;
            if (offset != expected)
                ar.Fail("a table group's columns lie outside the grid", "groups");
            ++expected;
        }
        if (expected == 0 || group.firstColumn != next)
            ar.Fail("a table group lies outside the grid", "groups");
        next += expected;
    }
    if (!loaded.empty() && next != m_grid.columns())
        ar.Fail("the table's groups do not cover its columns", "groups");
    m_groups = std::move(loaded);
    for (const CColumnGroup& group : m_groups)
        Meet(group.machine);
    m_topLeft = {std::clamp(rect.left, -kCoordinateLimit, kCoordinateLimit),
                 std::clamp(rect.top, -kCoordinateLimit, kCoordinateLimit)};
    SyncCentre();
}

void CTableManipulative::Forget(const CPatternManipulative* gone) {
    CPatternManipulative::Forget(gone);
    if (m_tearingDown)
        return;
    for (std::size_t g = m_groups.size(); g-- > 0;)
        if (m_groups[g].machine == gone)
            RemoveGroup(g);
}

// --- columns ---

int CTableManipulative::PositionIn(CFunctionMachine& anyMember, const CFunctionMachine* machine) {
    std::vector<CFunctionMachine*> members;
    anyMember.Head()->Members(members);
    int position = 0;
    for (CFunctionMachine* m : members) {
        if (m->IsLink())
            continue;
        if (m == machine)
            return position;
        ++position;
    }
    return -1;
}

void CTableManipulative::SetHeader(int column, int kind) {
    CGridCell& cell = m_grid.Cell(0, column);
    cell.text = ColumnHeader(kind);
    cell.background = kHeaderFill[kind];
    cell.ink = kInk;
    cell.align = kAlignCenter | kAlignVCenter | kSingleLine;
    cell.hasValue = false;
}

int CTableManipulative::AttachColumn(CFunctionMachine* machine, int kind) {
    if (!machine || !machine->IsMachine() || kind < kColumnOutput || kind > kColumnInput2)
        return 0;
    if (machine->table() && machine->table() != this)
        return 0;
    if (!m_groups.empty() && !m_groups[0].machine->Head()->Contains(machine))
        return 0;
    // A copied table's cells make room for the machines it is wired to now.
    if (m_groups.empty() && m_grid.dataColumns() > 0)
        m_grid.Reset();
    if (m_grid.dataColumns() >= kMaxTableColumns)
        return kMsgNoMoreColumns;
    const auto found =
        std::find_if(m_groups.begin(), m_groups.end(),
                     [machine](const CColumnGroup& g) { return g.machine == machine; });
    std::size_t g = 0;
    std::int32_t offset = 0;
    if (found != m_groups.end()) {
        if (found->Offset(kind) >= 0)
            return 0;
        g = static_cast<std::size_t>(found - m_groups.begin());
        // Input 1, Input 2, Output: the new column goes after the kinds before it.
        const int order[] = {kColumnInput1, kColumnInput2, kColumnOutput};
        bool after = false;
        for (int k : order) {
            if (k == kind) {
                after = true;
                continue;
            }
            if (found->Offset(k) < 0)
                continue;
            if (after)
                ++found->Offset(k);
            else
                ++offset;
        }
        found->Offset(kind) = offset;
    } else {
        const int position =
            PositionIn(m_groups.empty() ? *machine : *m_groups[0].machine, machine);
        if (position < 0)
            return 0;
        g = 0;
        while (g < m_groups.size() && PositionIn(*machine, m_groups[g].machine) < position)
            ++g;
        CColumnGroup group;
        group.machine = machine;
        group.firstColumn = g < m_groups.size() ? m_groups[g].firstColumn : m_grid.columns();
        group.Offset(kind) = 0;
        m_groups.insert(m_groups.begin() + static_cast<std::ptrdiff_t>(g), group);
        machine->SetTable(this);
    }
    const int column = m_groups[g].firstColumn + offset;
    m_grid.InsertColumn(column);
    SetHeader(column, kind);
    for (std::size_t later = g + 1; later < m_groups.size(); ++later)
        ++m_groups[later].firstColumn;
    SyncCentre();
    return kAccepted;
}

void CTableManipulative::RemoveGroup(std::size_t g) {
    const CColumnGroup group = m_groups[g];
    for (int c = group.firstColumn + group.Width() - 1; c >= group.firstColumn; --c)
        m_grid.DeleteColumn(c);
    m_groups.erase(m_groups.begin() + static_cast<std::ptrdiff_t>(g));
    for (std::size_t later = g; later < m_groups.size(); ++later)
        m_groups[later].firstColumn -= group.Width();
    if (m_groups.empty())
        m_grid.Reset();
    if (!m_tearingDown)
        SyncCentre();
}

void CTableManipulative::RemoveMachine(CFunctionMachine* machine) {
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        if (m_groups[g].machine != machine)
            continue;
        if (machine->table() == this)
            machine->SetTable(nullptr);
        RemoveGroup(g);
        return;
    }
}

void CTableManipulative::Prune() {
    if (m_groups.empty())
        return;
    CFunctionMachine* anchor = m_groups[0].machine;
    for (std::size_t g = m_groups.size(); g-- > 1;)
        if (!anchor->Head()->Contains(m_groups[g].machine))
            RemoveMachine(m_groups[g].machine);
}

// --- recording ---

int CTableManipulative::AddEntry(const CFunctionMachine* machine, int kind, const CNumber& value) {
    if (!HasRows())
        return -1;
    for (const CColumnGroup& group : m_groups) {
        if (group.machine != machine)
            continue;
        const std::int32_t offset = group.Offset(kind);
        if (offset < 0)
            return -1;
        m_grid.SetValue(m_grid.rows() - 1, group.firstColumn + offset, value);
        return 1;
    }
    return -1;
}

void CTableManipulative::PrepareRun() {
    // Beyond the limit of what a file keeps, the last row takes the new values.
    if (std::int64_t{m_grid.rows() + 1} * m_grid.columns() > kMaxCells)
        return;
    m_grid.AppendRow();
    m_grid.ScrollToLastRow();
    SyncCentre();
}

bool CTableManipulative::ClearTable() {
    if (!m_grid.ClearRows())
        return false;
    SyncCentre();
    return true;
}

bool CTableManipulative::Sort(bool largestFirst) {
    const int column = m_grid.selectedColumn();
    if (column < 1 || column > m_grid.dataColumns())
        return false;
    const int n = m_grid.dataRows();
    std::vector<double> keys(static_cast<std::size_t>(n) + 1);
    for (int r = 1; r <= n; ++r) {
        const CGridCell& cell = m_grid.Cell(r, column);
        double key = -kEmptyCellValue;
        if (cell.hasValue) {
            const double v = cell.value.ToDouble();
            key = largestFirst ? v : -v;
        }
        keys[static_cast<std::size_t>(r)] = std::isnan(key) ? -kEmptyCellValue : key;
    }
    // Each row of the insertion sort moves up past every row with a smaller or equal key: the
    // keys end largest first, and equal keys in the reverse of their order. A stable sort of
    // the reversed rows gives the same order in n log n steps.
    std::vector<int> order(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        order[static_cast<std::size_t>(i)] = n - i;
    std::stable_sort(order.begin(), order.end(), [&keys](int a, int b) {
        return keys[static_cast<std::size_t>(a)] > keys[static_cast<std::size_t>(b)];
    });
    m_grid.ReorderRows(order);
    m_grid.ClearSelection();
    return true;
}

std::vector<CTableCard> CTableManipulative::CardsToMake(CSize cardSize) const {
    std::vector<CTableCard> cards;
    const int column = m_grid.selectedColumn();
    if (column < 1 || column > m_grid.dataColumns() || !HasRows())
        return cards;
    const CRect window = WindowRect();
    const CRect header = CellRect(0, column);
    int left = 0;
    if (!header.IsEmpty())
        left = CentreOf(header).x - cardSize.cx / 2;
    else if (column < m_grid.firstColumn())
        left = window.left;
    else
        left = window.right - cardSize.cx;
    int top = window.bottom + 4;
    for (int r = 1; r <= m_grid.dataRows(); ++r) {
        const CGridCell& cell = m_grid.Cell(r, column);
        // An empty cell holds the largest double: no card of 309 digits.
        if (!cell.hasValue)
            continue;
        cards.push_back({cell.value, {left, top}});
        top += cardSize.cy;
    }
    return cards;
}

std::string CTableManipulative::GroupTitle(const CColumnGroup& group) const {
    const auto* machine = dynamic_cast<const CNumberMachine*>(group.machine);
    if (!machine)
        return {};
    return machine->labelHidden() ? "?" : machine->label();
}

std::string CTableManipulative::CsvText() const {
    std::string out;
    const int columns = m_grid.columns();
    for (int c = 1; c < columns; ++c) {
        std::string name = m_grid.Cell(0, c).text;
        for (const CColumnGroup& group : m_groups)
            if (c >= group.firstColumn && c < group.firstColumn + group.Width())
                name = GroupTitle(group) + " " + name;
        out += CsvField(name);
        out += c + 1 == columns ? "\r\n" : ",";
    }
    for (int r = 1; r < m_grid.rows(); ++r)
        for (int c = 1; c < columns; ++c) {
            out += CsvField(m_grid.Cell(r, c).text);
            out += c + 1 == columns ? "\r\n" : ",";
        }
    return out;
}

// --- look ---

CPoint CTableManipulative::PlugPoint(const CFunctionMachine& machine, int kind) {
    if (kind == kColumnOutput)
        return machine.GetOutputPoint();
    return machine.GetInputPoint(kind == kColumnInput2 ? 2 : 1);
}

void CTableManipulative::DrawWires(IDrawingSurface& dc) const {
    if (!m_visible)
        return;
    const CRect window = WindowRect();
    const int rh = m_grid.rowHeight();
    int wire = 0;
    for (const CColumnGroup& group : m_groups) {
        for (int kind : {kColumnInput1, kColumnInput2, kColumnOutput}) {
            const std::int32_t offset = group.Offset(kind);
            if (offset < 0 || !group.machine)
                continue;
            // Out of the hopper (down from the spout, up from an input), along, and into the
            // column from above or below, or into the table's side beside the header row.
            const CPoint plug = PlugPoint(*group.machine, kind);
            const int column = group.firstColumn + offset;
            const CRect header = CellRect(0, column);
            const int x = header.IsEmpty() ? (column < m_grid.firstColumn()
                                                  ? window.left + m_grid.rowHeaderWidth()
                                                  : window.right - 1)
                                           : CentreOf(header).x;
            const int lane = plug.y + (kind == kColumnOutput ? 12 : -12) + 3 * (wire % 3);
            std::vector<CPoint> route{plug, {plug.x, lane}};
            if (lane < window.top) {
                route.insert(route.end(), {{x, lane}, {x, window.top}});
            } else if (lane >= window.bottom) {
                route.insert(route.end(), {{x, lane}, {x, window.bottom - 1}});
            } else {
                const bool left = plug.x < window.left;
                const int edge = left ? window.left : window.right - 1;
                const int bend = (plug.x + edge) / 2;
                const int y = window.top + rh + rh / 2 + 4 * (wire % 3 - 1);
                route.insert(route.end(), {{bend, lane}, {bend, y}, {edge, y}});
            }
            dc.SetPen(2, kWireInk[kind]);
            dc.Polyline(route);
            dc.SetPen(1, kWireInk[kind]);
            dc.SetBrush(kWireInk[kind]);
            dc.Ellipse({plug.x - 3, plug.y - 3, plug.x + 4, plug.y + 4});
            ++wire;
        }
    }
}

void CTableManipulative::DrawWindow(IDrawingSurface& dc, CPoint at, const CGridView& view) const {
    const CSize size = m_grid.ViewSize(view);
    const CRect window{at.x, at.y, at.x + size.cx, at.y + size.cy};
    const int rh = m_grid.rowHeight();
    const CRect band{window.left, window.top, window.right, window.top + rh};
    dc.SetNullPen();
    dc.SetBrush(kBandFill);
    dc.Rectangle({band.left, band.top, band.right + 1, band.bottom + 1});
    dc.SetBrush(kWhite);
    dc.Rectangle({window.left, band.bottom, window.right + 1, window.bottom + 1});
    const CFontSpec font = Bold(CGridCtrl::Font());
    dc.SetFont(font);
    dc.SetTextColor(kWhite);
    dc.SetTextBackground(kBandFill, true);
    ITextMetrics& metrics = dc.Metrics();
    if (m_groups.empty()) {
        dc.DrawText({band.left + 2, band.top, band.right - 2, band.bottom},
                    Fitted(metrics, font, "Table", band.Width() - 4),
                    kAlignCenter | kAlignVCenter | kSingleLine);
    }
    for (const CColumnGroup& group : m_groups) {
        // The title spans the group's columns that are shown.
        int left = INT32_MAX, right = INT32_MIN;
        for (int c = group.firstColumn; c < group.firstColumn + group.Width(); ++c) {
            CRect r = m_grid.CellRect(0, c, view);
            if (r.IsEmpty())
                continue;
            left = std::min(left, at.x + r.left);
            right = std::max(right, at.x + r.right);
        }
        if (left >= right)
            continue;
        dc.SetPen(1, PaletteRGB(200, 210, 235));
        dc.Line({right, band.top + 3}, {right, band.bottom - 3});
        dc.DrawText({left + 3, band.top, right - 3, band.bottom},
                    Fitted(metrics, font, GroupTitle(group), right - left - 6),
                    kAlignCenter | kAlignVCenter | kSingleLine);
    }
    m_grid.Draw(dc, at, view);
    dc.SetPen(m_selected ? 2 : 1, m_selected ? kSelectInk : kInk);
    dc.SetNullBrush();
    dc.Rectangle(window);
}

void CTableManipulative::Draw(IDrawingSurface& dc) const {
    if (!m_visible)
        return;
    m_grid.Measure(dc.Metrics());
    DrawWindow(dc, m_topLeft, m_grid.ScreenView());
}

bool CTableManipulative::HitTest(double x, double y) const {
    if (!m_visible || !(x == x) || !(y == y))
        return false;
    const CRect r = WindowRect();
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void CTableManipulative::MoveBy(double dx, double dy) {
    if (m_fixed || !(dx == dx) || !(dy == dy))
        return;
    // The corner follows the centre's whole pixels, whatever the size the grid took since.
    const double oldX = m_centre.x, oldY = m_centre.y;
    m_centre.x = std::clamp<double>(m_centre.x + dx, -kCoordinateLimit, kCoordinateLimit);
    m_centre.y = std::clamp<double>(m_centre.y + dy, -kCoordinateLimit, kCoordinateLimit);
    m_rotationPoint = m_centre;
    const auto step = [](double from, double to) {
        return static_cast<int>(std::lround(to) - std::lround(from));
    };
    m_topLeft = {
        std::clamp(m_topLeft.x + step(oldX, m_centre.x), -kCoordinateLimit, kCoordinateLimit),
        std::clamp(m_topLeft.y + step(oldY, m_centre.y), -kCoordinateLimit, kCoordinateLimit)};
}

void CTableManipulative::MoveTo(const C3DPointDouble& p) {
    MoveBy(p.x - m_centre.x, p.y - m_centre.y);
}

void CTableManipulative::GetFrame(CRect& r) const {
    r = WindowRect();
}

void CTableManipulative::GetBounds(CRect& r) const {
    r = WindowRect();
}

// --- printing ---

int CTableManipulative::PrintRowsPerPage(int pageHeight) const {
    const int rh = m_grid.rowHeight();
    return std::max(1, pageHeight / rh - 4);
}

CSize CTableManipulative::PrintSize(int first, int count) const {
    const CSize grid = m_grid.ViewSize(m_grid.PrintView(first, count));
    return {grid.cx, grid.cy + 2 * m_grid.rowHeight()};
}

void CTableManipulative::DrawPrintPage(IDrawingSurface& dc, int first, int count) const {
    m_grid.Measure(dc.Metrics());
    const CGridView view = m_grid.PrintView(first, count);
    const CSize size = m_grid.ViewSize(view);
    CFontSpec title{"Arial", 140, 0, 700};
    dc.SetFont(title);
    dc.SetTextColor(kInk);
    dc.SetTextBackground(kWhite, true);
    const int rh = m_grid.rowHeight();
    dc.DrawText({0, 0, std::max(size.cx, 400), 2 * rh - 6}, kTablePrintTitle,
                kAlignLeft | kAlignVCenter | kSingleLine);
    DrawWindow(dc, {0, 2 * rh}, view);
}

CTablePrintPlan PlanTablePrint(const CTableManipulative& table, CSize page) {
    constexpr int kNarrowest = 640;
    CTablePrintPlan plan;
    const int width = std::max(table.PrintSize(1, 0).cx, kNarrowest);
    if (page.cx <= 0 || page.cy <= 0)
        return plan;
    plan.scale = static_cast<double>(page.cx) / width;
    const int perPage = table.PrintRowsPerPage(static_cast<int>(page.cy / plan.scale));
    const int rows = table.grid().dataRows();
    int first = 1;
    do {
        plan.pages.push_back({first, std::min(perPage, rows - first + 1)});
        first += perPage;
    } while (first <= rows);
    return plan;
}

void RegisterTableManipulative() {
    CManipulativeRegistry::Instance().Register(
        kTypeTable, [] { return std::make_unique<CTableManipulative>(); });
}

} // namespace quorvel

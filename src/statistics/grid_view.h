// The data table and the mini-table as the core lays them out and draws them: fonts, row
// heights, column widths, the frozen case and name columns, scrolling, greyed rows, stacked
// fractions and the yellow outline of the current column. The page, printing and qvtool draw
// them through the same surface calls.
#pragma once

#include "statistics/stats_data_set.h"
#include "workspace/drawing_surface.h"

#include <optional>

namespace quorvel {

// Arial 12 points, as the table and the mini-table write.
CFontSpec StatsTableFont();
// A text line's height x 3 / 2 + 8.
int StatsRowHeight(ITextMetrics& metrics);

// A fraction stacked in a font three quarters of `font`'s, right-aligned in `box` and centred
// on its middle: the numerator over a bar over the denominator, with its whole part (and the
// remainder without sign) to the left of it in `font`.
void DrawStackedFraction(IDrawingSurface& dc, const CNumber& n, const CFontSpec& font,
                         const CRect& box);

inline constexpr Color kStatsGridGrey = PaletteRGB(0xC0, 0xC0, 0xC0);

// The data table's own names; the Numbers tables have a grid of their own.
namespace stats {

struct CGridCell {
    int row = 0; // 0 the header row
    int column = 0;
    friend bool operator==(const CGridCell&, const CGridCell&) = default;
};

class CGridView {
public:
    explicit CGridView(const CStatsDataSet& data) : m_data(data) {}

    // Measures the rows and takes the client area the table fills.
    void Layout(ITextMetrics& metrics, CSize client);
    int rowHeight() const { return m_rowHeight; }
    int headerHeight() const { return 2 * m_rowHeight; }
    // 35 for the case column, 114 for a number column, 170 for a category column.
    int ColumnWidth(int column) const;
    // Columns 0 and 1 never scroll.
    int FrozenWidth() const;

    // --- scrolling: the first data row shown and the first scrolling column (2 or more) ---
    int firstRow() const { return m_firstRow; }
    int firstColumn() const { return m_firstColumn; }
    void ScrollTo(int firstRow, int firstColumn);
    // The largest first row and first column (scroll-bar ranges).
    int MaxFirstRow() const;
    int MaxFirstColumn() const;
    // Rows that fit below the header, the last one perhaps in part.
    int VisibleRows() const;
    // Scrolls as little as possible to show the cell whole.
    void EnsureVisible(int row, int column);

    // The cell under a client point; nothing outside the cells.
    std::optional<CGridCell> CellAt(CPoint p) const;
    // The cell's rectangle on the client area; nothing while it is scrolled away.
    std::optional<CRect> CellRect(int row, int column) const;

    // The merge dialog's table: headers toggle the columns' marks, each outlined.
    bool columnChoice() const { return m_columnChoice; }
    void SetColumnChoice(bool on) { m_columnChoice = on; }

    void Draw(IDrawingSurface& dc) const;

private:
    // Left edge of a shown column, nothing when it is scrolled away.
    std::optional<int> ColumnLeft(int column) const;
    int LastVisibleRow() const;

    const CStatsDataSet& m_data;
    CSize m_client{200, 200};
    int m_rowHeight = 32;
    int m_firstRow = 1;
    int m_firstColumn = 2;
    bool m_columnChoice = false;
};

} // namespace stats

// One cell's background and value, as the table draws it: a category's text on the left, a
// number on the right (a fraction stacked), greyed rows in grey with light text.
void DrawStatsCell(IDrawingSurface& dc, const CStatsDataSet& data, int row, int column,
                   const CRect& r, bool greyed);

// The mini-table beside the board: the selected case's name (column 1) and one more column
// of its own choosing, each name above its value.
class CMiniTable {
public:
    explicit CMiniTable(const CStatsDataSet& data) : m_data(data) {}
    static constexpr CSize kSize{300, 44};

    int shownColumn() const { return m_shownColumn; }
    // Kept within the data set's columns (2 or more; 1 when there is no second column).
    int ClampedColumn() const;
    // Only from column 3 on.
    bool PreviousColumn();
    // Only while a column follows.
    bool NextColumn();
    void SetShownColumn(int column) { m_shownColumn = column; }

    // The value cell of column 1 (index 0) or of the shown column (index 1) in a client area.
    CRect ValueRect(CSize client, int index) const;
    // The column of the value cell under a point, or nothing.
    std::optional<int> ColumnAt(CSize client, CPoint p) const;
    void Draw(IDrawingSurface& dc, CSize client) const;

private:
    const CStatsDataSet& m_data;
    int m_shownColumn = 2;
};

} // namespace quorvel

// Machine tables: the grid a table shows (`CGridCtrl`: its cells, geometry, scrolling, cell
// selection and whole look, drawn through the drawing surface) and the table manipulative
// (`CTableManipulative`) that records, run after run, the values passing the plugs of a
// supermachine's machines, one group of columns per machine.
#pragma once

#include "patterns/pattern_manipulative.h"
#include "workspace/drawing_surface.h"

#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

inline constexpr int kMsgNoMoreColumns = 1350;
inline constexpr const char* kClipboardRefused = "Unable to data copy to clipboard";
inline constexpr const char* kTablePrintTitle = "Quorvel Table";
// Data columns a table holds at most (column 0, the row numbers, besides).
inline constexpr int kMaxTableColumns = 12;
// What an empty cell holds where a number is needed.
inline constexpr double kEmptyCellValue = std::numeric_limits<double>::max();

// The plugs of a machine that a column records.
enum TableColumnKind : int { kColumnOutput = 0, kColumnInput1 = 1, kColumnInput2 = 2 };
// "Output", "Input 1", "Input 2".
const char* ColumnHeader(int kind);
// A value as a cell shows it: whole numbers and fractions as typed, decimals with up to 15
// decimals, trailing zeros trimmed.
std::string CellText(const CNumber& value);

// Display attributes of a cell (the first three of the four values it is stored with).
struct CGridCell {
    Color background = PaletteRGB(255, 255, 255);
    Color ink = PaletteRGB(0, 0, 0);
    std::int32_t align = kAlignRight | kAlignVCenter | kSingleLine;
    bool hasValue = false;
    std::string text;
    CNumber value{kEmptyCellValue};
};

// A rectangle of cells, rows and columns both inclusive.
struct CCellRange {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    bool Contains(int r, int c) const { return r >= top && r <= bottom && c >= left && c <= right; }
    friend bool operator==(const CCellRange&, const CCellRange&) = default;
};

enum class GridPart {
    None,
    Title, // the band of group titles above the header row: the table is dragged by it
    Header,
    RowHeader,
    Cell,
    ScrollUp,
    ScrollDown,
    PageUp,
    PageDown,
    ScrollLeft,
    ScrollRight,
    PageLeft,
    PageRight,
};

struct CGridHit {
    GridPart part = GridPart::None;
    int row = -1;
    int column = -1;
};

// Which rows and columns a drawing shows: the screen shows the scrolled part with its scroll
// bars, a printed page every column and a run of rows.
struct CGridView {
    int firstRow = 1;
    int rowCount = 0;
    int firstColumn = 1;
    int columnCount = 0;
    bool bars = false;
};

class CGridCtrl {
public:
    static constexpr int kShownRows = 6;
    static constexpr int kShownColumns = 6;
    static constexpr int kScrollBar = 14;
    // The data area of a table without columns.
    static constexpr int kEmptyWidth = 10;

    // The header row and column 0.
    CGridCtrl();

    // 10-point Arial.
    static CFontSpec Font();
    // Geometry from the font: every data column as wide as "999999.999999...", column 0 as
    // wide as "9999" and a margin, a row 3/2 of the font's height plus 10 pixels.
    void Measure(ITextMetrics& metrics) const;
    int columnWidth() const { return m_columnWidth; }
    int rowHeight() const { return m_rowHeight; }
    int rowHeaderWidth() const { return m_rowHeaderWidth; }

    int rows() const { return static_cast<int>(m_cells.size()); }
    int columns() const { return m_cells.empty() ? 0 : static_cast<int>(m_cells[0].size()); }
    int dataRows() const { return rows() - 1; }
    int dataColumns() const { return columns() - 1; }
    CGridCell& Cell(int r, int c) { return m_cells[Index(r)][Index(c)]; }
    const CGridCell& Cell(int r, int c) const { return m_cells[Index(r)][Index(c)]; }
    // Sets a data cell to a value, or empties it.
    void SetValue(int r, int c, const CNumber& v);
    void SetEmpty(int r, int c);
    // Typed text: a number sets the value; other text stays as typed and keeps the value.
    void SetText(int r, int c, const std::string& text);

    // A new empty column at `at` (1 .. columns()); later columns move right.
    void InsertColumn(int at);
    void DeleteColumn(int at);
    // A new empty data row at the bottom.
    void AppendRow();
    // Only the header row stays. False when there was nothing to remove.
    bool ClearRows();
    // The header row and column 0 only.
    void Reset();
    // The data rows in a new order: `order[i]` is the row that becomes row i + 1.
    void ReorderRows(const std::vector<int>& order);

    // Scrolling: the first data row and column shown, kept within what there is to show.
    int firstRow() const { return m_firstRow; }
    int firstColumn() const { return m_firstColumn; }
    void ScrollRows(int delta);
    void ScrollColumns(int delta);
    void ScrollToLastRow();
    bool VerticalBar() const { return dataRows() > kShownRows; }
    bool HorizontalBar() const { return dataColumns() > kShownColumns; }
    // The scrolled part as the screen shows it.
    CGridView ScreenView() const;
    // Every column and the data rows from `first`, `count` of them, without scroll bars.
    CGridView PrintView(int first, int count) const;

    // The window's size on screen: the title band, the header row, kShownRows rows and the
    // scroll bars that are needed.
    CSize WindowSize() const;
    CSize ViewSize(const CGridView& view) const;
    // Relative to the window's top-left corner: where a shown cell lies (row 0 the header;
    // column 0 the row numbers); empty when it is scrolled out of view.
    CRect CellRect(int r, int c, const CGridView& view) const;
    CRect CellRect(int r, int c) const { return CellRect(r, c, ScreenView()); }
    // What lies at a point relative to the window's top-left corner.
    CGridHit HitAt(CPoint p) const;

    // The cells selected with the mouse, and the column the Table menu acts on (0: none).
    const std::optional<CCellRange>& selection() const { return m_selection; }
    void Select(const CCellRange& range);
    void ClearSelection();
    int selectedColumn() const { return m_selectedColumn; }
    void SetSelectedColumn(int c);

    // The selected cells as text: data rows only, column 0 left out, each cell followed by a
    // tab and the last of a row by "\r\n".
    std::string CopyText() const;

    // The header row, the cells and (on screen) the scroll bars, under the title band.
    void Draw(IDrawingSurface& dc, CPoint windowTopLeft, const CGridView& view) const;

    // The row and column counts, then every cell row by row: its background, ink, alignment,
    // has-value flag, text and value.
    void Serialize(CArchive& ar);

private:
    static std::size_t Index(int i) { return static_cast<std::size_t>(i); }
    // Column 0 reads 1, 2, ... from row `from` down.
    void NumberRows(int from = 1);
    void ClampScroll();
    void DrawBars(IDrawingSurface& dc, const CRect& window) const;

    std::vector<std::vector<CGridCell>> m_cells;
    int m_firstRow = 1;
    int m_firstColumn = 1;
    std::optional<CCellRange> m_selection;
    int m_selectedColumn = 0;
    mutable int m_columnWidth = 112;
    mutable int m_rowHeight = 34;
    mutable int m_rowHeaderWidth = 38;
};

// One machine's columns: its first column and the offsets of its Input 1, Input 2 and Output
// columns from it (−1 where there is none), which stand in that order.
struct CColumnGroup {
    CFunctionMachine* machine = nullptr;
    std::int32_t firstColumn = 1;
    std::int32_t output = -1;
    std::int32_t input1 = -1;
    std::int32_t input2 = -1;

    std::int32_t& Offset(int kind) {
        return kind == kColumnInput1 ? input1 : kind == kColumnInput2 ? input2 : output;
    }
    std::int32_t Offset(int kind) const {
        return kind == kColumnInput1 ? input1 : kind == kColumnInput2 ? input2 : output;
    }
    int Width() const { return (output >= 0) + (input1 >= 0) + (input2 >= 0); }
};

// A card Create Cards makes: its value and its top-left corner.
struct CTableCard {
    CNumber value;
    CPoint topLeft;
};

class CTableManipulative : public CPatternManipulative {
public:
    CTableManipulative() { SyncCentre(); }
    // An empty table whose window's top-left corner is `topLeft`.
    explicit CTableManipulative(CPoint topLeft);
    // The copy keeps the cells as they are, without machines: a record of what was seen.
    CTableManipulative(const CTableManipulative& other);
    ~CTableManipulative() override;

    std::int32_t GetType() const override { return kTypeTable; }
    std::unique_ptr<CManipulative> Clone() const override;
    // After the pattern fields: the grid, the groups (machine index, first column, Output,
    // Input 1 and Input 2 offsets) and the window's rectangle. Reading refuses a group that
    // names no number machine, names one twice or lies outside the grid.
    void SerializeLinked(CArchive& ar, const CPatternIndex& index) override;
    void Draw(IDrawingSurface& dc) const override;
    bool HitTest(double x, double y) const override;
    void MoveBy(double dx, double dy) override;
    void MoveTo(const C3DPointDouble& p) override;
    void GetFrame(CRect& r) const override;
    void GetBounds(CRect& r) const override;
    bool IsEqualTo(const CManipulative&) const override { return false; }

    // A plug of `machine` wired to the table: kAccepted when a column was made, 0 when nothing
    // happened (a machine of another supermachine, one wired to another table, a column that
    // is there already), or kMsgNoMoreColumns.
    int AttachColumn(CFunctionMachine* machine, int kind);
    // Writes `value` into the last row, in the machine's column of that kind; −1 when there is
    // no such column or no data row.
    int AddEntry(const CFunctionMachine* machine, int kind, const CNumber& value);
    // A new empty row for the run that starts.
    void PrepareRun();
    // The machine's columns go, later groups move left; without groups the table is empty.
    void RemoveMachine(CFunctionMachine* machine);
    // Groups whose machine left the first group's supermachine go.
    void Prune();
    // Every row but the header row goes. False when there was none.
    bool ClearTable();
    bool HasRows() const { return m_grid.dataRows() > 0; }
    // Orders the data rows by the selected column, as an insertion sort that moves each row up
    // past every row whose key is smaller or equal would: equal values end in the reverse of
    // their order, empty cells last. False without a selected column.
    bool Sort(bool largestFirst);
    // The cards Create Cards makes: one for every filled cell of the selected column, top to
    // bottom, under the table at the column's place (or at an edge when it is scrolled out of
    // view), each right under the previous one.
    std::vector<CTableCard> CardsToMake(CSize cardSize) const;
    // The grid's selection as the clipboard takes it.
    std::string CopyText() const { return m_grid.CopyText(); }
    // Every data row as comma-separated values under a line of column names.
    std::string CsvText() const;

    const std::vector<CColumnGroup>& groups() const { return m_groups; }
    CGridCtrl& grid() { return m_grid; }
    // The grid's sizes from the page's font, and the centre that follows from them.
    void Measure(ITextMetrics& metrics);
    const CGridCtrl& grid() const { return m_grid; }
    CPoint topLeft() const { return m_topLeft; }
    CRect WindowRect() const;
    // A shown cell in workspace coordinates.
    CRect CellRect(int r, int c) const;
    CGridHit HitAt(CPoint p) const;
    // The group title a column stands under: the machine's label.
    std::string GroupTitle(const CColumnGroup& group) const;

    // The wires from the machines' plugs to their columns.
    void DrawWires(IDrawingSurface& dc) const;
    // Where a machine's plug of `kind` lies: at the input hoppers' tops and the output's spout.
    static CPoint PlugPoint(const CFunctionMachine& machine, int kind);

    // Printing: the title "Quorvel Table", then the title band, the header row and `count`
    // data rows from `first`, every column, with the page's top-left at the origin.
    int PrintRowsPerPage(int pageHeight) const;
    CSize PrintSize(int first, int count) const;
    void DrawPrintPage(IDrawingSurface& dc, int first, int count) const;

protected:
    void Forget(const CPatternManipulative* gone) override;

private:
    void DrawWindow(IDrawingSurface& dc, CPoint at, const CGridView& view) const;
    void RemoveGroup(std::size_t g);
    void SetHeader(int column, int kind);
    // Where the machine stands in the supermachine's list from its head; −1 when absent.
    static int PositionIn(CFunctionMachine& anyMember, const CFunctionMachine* machine);
    void SyncCentre();

    CPoint m_topLeft;
    CGridCtrl m_grid;
    std::vector<CColumnGroup> m_groups;
};

// How a table goes onto paper: one factor for both directions, so that every column fits the
// page's width (a narrow table no larger than a 640-pixel-wide one), and the runs of rows each
// page takes.
struct CTablePrintPage {
    int firstRow = 1;
    int rowCount = 0;
};
struct CTablePrintPlan {
    double scale = 1.0;
    std::vector<CTablePrintPage> pages;
};
CTablePrintPlan PlanTablePrint(const CTableManipulative& table, CSize page);

// Registers the table with the manipulative registry.
void RegisterTableManipulative();

} // namespace quorvel

// The Statistics unit's one model: a table of cases (rows) and named columns of categories or
// numbers, with the current column every view shows, the selected row, each case's usage state
// and board positions, tag colours, and the observers told of every change.
#pragma once

#include "numbers/number.h"
#include "workspace/types.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class CArchive;
class CStatsDataSet;

// Stored in the header cell of each column.
enum class StatsColumnFormat : std::int32_t {
    Categories = 0,
    WholeNumbers = 1,
    OneDecimal = 2,
    TwoDecimals = 3,
    Fractions = 4,
};
inline constexpr int kStatsFormatCount = 5;

// Used cases count everywhere; Ignored ones only in "Total Number of Cases"; Excluded ones
// (only from a stored document) in no summary statistic.
enum class CaseState : std::int32_t { Used = 0, Ignored = 1, Excluded = 2 };

// A cell's tag colour is a Windows RGB value (0x00BBGGRR); white is untagged.
inline constexpr std::uint32_t kStatsWhite = 0xFFFFFF;
// The colour a surface draws for a cell's RGB value.
Color StatsColour(std::uint32_t rgb);

// The trailing blank cases every data set keeps.
inline constexpr int kStatsBlankCases = 5;

struct CStatsCell {
    std::int32_t empty = 1;
    std::int32_t mark = 0;   // header row: chosen for merge
    std::int32_t format = 0; // header row: the column's StatsColumnFormat
    std::uint32_t colour = kStatsWhite;
    CNumber number;
    std::string text;

    // The cell is empty exactly when the text is.
    void SetText(std::string_view t) {
        text = t;
        empty = text.empty() ? 1 : 0;
    }
    void SetNumber(const CNumber& n) {
        number = n;
        empty = 0;
    }
    void Serialize(CArchive& ar);
};

struct CStatsPosition {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const CStatsPosition&, const CStatsPosition&) = default;
};

class CStatsCase {
public:
    CStatsCase(int caseNumber, int columns);

    std::int32_t selected = 0;
    std::int32_t inNumberCluster = 0;
    std::int32_t inCategoryCluster = 0;
    std::int32_t inDataStore = 0;
    std::int32_t changed = 0;
    std::int32_t caseNumber = 0;
    CaseState state = CaseState::Used;
    CStatsPosition numberTilePosition;
    CStatsPosition categoryTilePosition;
    std::vector<CStatsCell> cells;

    // Every cell empty.
    bool IsBlank() const;
    // The case's fields and its cells (their count is the data set's column count).
    void Serialize(CArchive& ar);
};

// Windows that show the data set. Every handler does nothing by default.
class CStatsDataObserver {
public:
    virtual ~CStatsDataObserver() = default;
    virtual void DataChanged() {}
    virtual void CaseInserted(int /*index*/, CStatsCase& /*c*/) {}
    virtual void CaseAboutToBeRemoved(int /*index*/, CStatsCase& /*c*/) {}
    // The case is out of the data set but not yet deleted.
    virtual void CaseRemoved(int /*index*/, CStatsCase& /*c*/) {}
    virtual void ColumnInserted(int /*index*/) {}
    virtual void ColumnRemoved(int /*index*/) {}
    virtual void CellChanged(int /*row*/, int /*column*/) {}
    virtual void Attached() {}

    CStatsDataSet* dataSet() const { return m_dataSet; }

private:
    friend class CStatsDataSet;
    CStatsDataSet* m_dataSet = nullptr;
};

class CStatsDataSet {
public:
    CStatsDataSet();
    ~CStatsDataSet();
    CStatsDataSet(const CStatsDataSet&) = delete;
    CStatsDataSet& operator=(const CStatsDataSet&) = delete;

    // Where new cases' tiles are placed at random (inclusive edges are left free).
    void SetTileArea(const CRect& area) { m_tileArea = area; }

    // dataRows cases after the header row, dataColumns columns after the case column; every
    // cell empty, no row selected, column 1 current, every scale 0.
    void Reset(int dataRows, int dataColumns);

    void InsertCase(int index);
    void RemoveCase(int index);
    void InsertColumn(int index, StatsColumnFormat format);
    void RemoveColumn(int index);

    // --- cells ---
    const std::string& GetCellText(int row, int column) const { return Cell(row, column).text; }
    const CNumber& GetCellNumber(int row, int column) const { return Cell(row, column).number; }
    bool IsCellEmpty(int row, int column) const { return Cell(row, column).empty != 0; }
    std::uint32_t GetCellColour(int row, int column) const { return Cell(row, column).colour; }
    StatsColumnFormat GetColumnFormat(int column) const;
    bool IsNumberColumn(int column) const {
        return GetColumnFormat(column) != StatsColumnFormat::Categories;
    }
    const std::string& GetColumnName(int column) const { return Cell(0, column).text; }
    const CStatsCell& Cell(int row, int column) const;
    CStatsCell& Cell(int row, int column);

    // Stores the text; in a data row the cell takes the tag of every other case holding the
    // same text (trimmed, any letter case), the last one winning. Then "cell changed".
    void SetCellText(int row, int column, std::string_view text);
    void SetCellNumber(int row, int column, const CNumber& number);
    // Empties the cell without telling anyone; the caller refreshes the views.
    void ClearCell(int row, int column);
    // With `spread` in a category column, every data case whose cell holds the same trimmed
    // text (any letter case) takes the colour; otherwise the cell alone.
    void SetCellColour(int row, int column, std::uint32_t colour, bool spread);

    // The data table's editor commits here: the text trimmed; empty clears the cell; a number
    // column's data cell reads a CNumber (decimal columns store it as a Decimal); anything else
    // stores the text. `typed` drops the cell's own tag first. The number's message when it
    // cannot be read, the cell then unchanged.
    std::optional<std::string> EnterCell(int row, int column, std::string_view text, bool typed);

    void SetAllCaseStates(CaseState state);
    // Appends cases until the last five rows are blank.
    void EnsureBlankCases();

    // Stable: the order of an insertion sort of rows 1 .. rowCount - 1 by the current column,
    // computed in O(n log n). The selected row follows its case. Returns, for each new row
    // position, the row the case stood at before.
    std::vector<int> SortByCurrentColumn(bool descending);

    // Merges the marked columns of `other` after the current column, once every case of this
    // data set is found in `other` by its case number with the same name (column 1, trimmed,
    // any letter case). `other`'s rows are reordered to match; this data set is unchanged
    // unless a column was merged.
    bool MergeColumns(CStatsDataSet* other);

    void Attach(CStatsDataObserver* observer);
    // Takes an observer off the list (windows that go before the data set).
    void Detach(CStatsDataObserver* observer);
    // Every observer's DataChanged except `sender`'s.
    void NotifyDataChanged(CStatsDataObserver* sender = nullptr);

    // --- fields ---
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    int columnCount() const { return m_columnCount; }
    // Rows 1 .. rowCount - 6 are data cases.
    int dataCaseEnd() const { return rowCount() - kStatsBlankCases; }
    bool editable() const { return m_editable != 0 && !m_locked; }
    std::int32_t storedEditable() const { return m_editable; }
    void SetEditable(bool on) { m_editable = on ? 1 : 0; }
    // A computer-checked problem is never editable, whatever the file says.
    void SetLocked(bool locked) { m_locked = locked; }
    int selectedRow() const { return m_selectedRow; }
    void SetSelectedRow(int row) { m_selectedRow = row; }
    int currentColumn() const { return m_currentColumn; }
    void SetCurrentColumn(int column) { m_currentColumn = column; }
    CStatsCase& Case(int row) { return *m_rows.at(static_cast<std::size_t>(row)); }
    const CStatsCase& Case(int row) const { return *m_rows.at(static_cast<std::size_t>(row)); }
    const CNumber& Scale(int column) const { return m_scales.at(static_cast<std::size_t>(column)); }
    void SetScale(int column, const CNumber& s) {
        m_scales.at(static_cast<std::size_t>(column)) = s;
    }
    const std::vector<CStatsDataObserver*>& observers() const { return m_observers; }

    // The data set as the document file holds it: counts, flags, scales, then every case.
    void Serialize(CArchive& ar);

private:
    std::unique_ptr<CStatsCase> MakeCase(int caseNumber, bool placeTiles) const;
    void CellChanged(int row, int column);
    bool ValidCell(int row, int column) const {
        return row >= 0 && row < rowCount() && column >= 0 && column < m_columnCount;
    }

    std::int32_t m_editable = 1;
    bool m_locked = false;
    int m_columnCount = 0;
    std::int32_t m_selectedRow = -1;
    std::int32_t m_currentColumn = 1;
    std::vector<std::unique_ptr<CStatsCase>> m_rows;
    std::vector<CNumber> m_scales;
    std::vector<CStatsDataObserver*> m_observers;
    CRect m_tileArea{200, 277, 607, 415};
};

// A cell's value as text: a category's text; a number as "%d", a decimal with one decimal in a
// OneDecimal column and two otherwise, a fraction as its CNumber text; empty for an empty cell.
std::string CellValueText(const CStatsDataSet& data, int row, int column);

// Lower case (ASCII), as categories are counted and compared.
std::string LowerText(std::string_view text);
// Trimmed at both ends and in lower case: the form in which two category texts are the same.
std::string CategoryKey(std::string_view text);

} // namespace quorvel

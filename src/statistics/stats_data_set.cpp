// The statistics data set: its operations, the notifications they send, the sort and the merge.
#include "statistics/stats_data_set.h"

#include "numbers/number_text.h"
#include "workspace/archive.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quorvel {

Color StatsColour(std::uint32_t rgb) {
    return PaletteRGB(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                      static_cast<int>((rgb >> 16) & 0xFF));
}

std::string LowerText(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string CategoryKey(std::string_view text) {
    return LowerText(TrimSpace(text));
}

std::string CellValueText(const CStatsDataSet& data, int row, int column) {
    const CStatsCell& cell = data.Cell(row, column);
    if (cell.empty)
        return {};
    if (!data.IsNumberColumn(column) || row == 0)
        return cell.text;
    char buf[400];
    switch (cell.number.kind()) {
    case NumberKind::Integer:
        std::snprintf(buf, sizeof buf, "%d", cell.number.ToInt());
        return buf;
    case NumberKind::Decimal:
        std::snprintf(buf, sizeof buf,
                      data.GetColumnFormat(column) == StatsColumnFormat::OneDecimal ? "%.1f"
                                                                                    : "%.2f",
                      cell.number.ToDouble());
        return buf;
    case NumberKind::Fraction:
        break;
    }
    return cell.number.Format();
}

// --- cells and cases -------------------------------------------------------------------------

void CStatsCell::Serialize(CArchive& ar) {
    ar.Exchange(empty, "empty");
    ar.Exchange(mark, "mark");
    ar.Exchange(format, "format");
    ar.Exchange(colour, "colour");
    {
        CArchive::Scope s(ar, "number");
        number.Serialize(ar);
    }
    ar.Exchange(text, "text");
}

CStatsCase::CStatsCase(int number, int columns)
    : caseNumber(number), cells(static_cast<std::size_t>(std::max(columns, 0))) {}

bool CStatsCase::IsBlank() const {
    return std::all_of(cells.begin(), cells.end(), [](const CStatsCell& c) { return c.empty; });
}

void CStatsCase::Serialize(CArchive& ar) {
    ar.Exchange(selected, "selected");
    ar.Exchange(inNumberCluster, "in number cluster");
    ar.Exchange(inCategoryCluster, "in category cluster");
    ar.Exchange(inDataStore, "in data store");
    ar.Exchange(changed, "changed");
    ar.Exchange(caseNumber, "case number");
    auto s = static_cast<std::int32_t>(state);
    ar.Exchange(s, "state");
    if (ar.IsLoading()) {
        if (s < 0 || s > 2)
            ar.Fail("case state " + std::to_string(s) + " is none of Used, Ignored, Excluded",
                    "state");
        state = static_cast<CaseState>(s);
    }
    {
        CArchive::Scope t(ar, "number tile");
        ar.Exchange(numberTilePosition.x, "x");
        ar.Exchange(numberTilePosition.y, "y");
    }
    {
        CArchive::Scope t(ar, "category tile");
        ar.Exchange(categoryTilePosition.x, "x");
        ar.Exchange(categoryTilePosition.y, "y");
    }
    CArchive::ArrayScope items(ar, "cells");
    for (std::size_t i = 0; i < cells.size(); ++i) {
        CArchive::Item item(ar, i);
        cells[i].Serialize(ar);
    }
}

// --- the data set ----------------------------------------------------------------------------

CStatsDataSet::CStatsDataSet() = default;
CStatsDataSet::~CStatsDataSet() = default;

std::unique_ptr<CStatsCase> CStatsDataSet::MakeCase(int caseNumber, bool placeTiles) const {
    auto c = std::make_unique<CStatsCase>(caseNumber, m_columnCount);
    if (placeTiles) {
        const auto place = [this](CStatsPosition& p) {
            p.x = RandomInRange(m_tileArea.left + 1, m_tileArea.right - 1);
            p.y = RandomInRange(m_tileArea.top + 1, m_tileArea.bottom - 1);
        };
        place(c->numberTilePosition);
        place(c->categoryTilePosition);
    }
    return c;
}

void CStatsDataSet::Reset(int dataRows, int dataColumns) {
    m_rows.clear();
    const int rows = std::max(dataRows, 0) + 1;
    m_columnCount = std::max(dataColumns, 0) + 1;
    m_selectedRow = -1;
    m_currentColumn = 1;
    m_rows.reserve(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i)
        m_rows.push_back(MakeCase(i, true));
    m_scales.assign(static_cast<std::size_t>(m_columnCount), CNumber());
}

void CStatsDataSet::InsertCase(int index) {
    index = std::clamp(index, 1, std::max(rowCount(), 1));
    auto made = MakeCase(rowCount(), true);
    CStatsCase& c = *made;
    m_rows.insert(m_rows.begin() + index, std::move(made));
    for (CStatsDataObserver* o : m_observers)
        o->CaseInserted(index, c);
}

void CStatsDataSet::RemoveCase(int index) {
    if (index < 1 || index >= rowCount())
        return;
    CStatsCase& doomed = *m_rows[static_cast<std::size_t>(index)];
    for (CStatsDataObserver* o : m_observers)
        o->CaseAboutToBeRemoved(index, doomed);
    // Kept alive until every observer has heard that it went.
    std::unique_ptr<CStatsCase> removed = std::move(m_rows[static_cast<std::size_t>(index)]);
    m_rows.erase(m_rows.begin() + index);
    if (index < m_selectedRow)
        --m_selectedRow;
    else if (index == m_selectedRow)
        m_selectedRow = -1;
    for (auto& c : m_rows)
        if (c->caseNumber > removed->caseNumber)
            --c->caseNumber;
    EnsureBlankCases();
    for (CStatsDataObserver* o : m_observers)
        o->CaseRemoved(index, *removed);
}

void CStatsDataSet::InsertColumn(int index, StatsColumnFormat format) {
    index = std::clamp(index, 0, m_columnCount);
    for (auto& c : m_rows)
        c->cells.insert(c->cells.begin() + index, CStatsCell{});
    m_scales.insert(m_scales.begin() + index, CNumber());
    ++m_columnCount;
    if (!m_rows.empty())
        m_rows[0]->cells[static_cast<std::size_t>(index)].format =
            static_cast<std::int32_t>(format);
    for (CStatsDataObserver* o : m_observers)
        o->ColumnInserted(index);
}

void CStatsDataSet::RemoveColumn(int index) {
    if (index < 0 || index >= m_columnCount)
        return;
    for (auto& c : m_rows)
        c->cells.erase(c->cells.begin() + index);
    m_scales.erase(m_scales.begin() + index);
    --m_columnCount;
    if (m_currentColumn >= m_columnCount)
        m_currentColumn = m_columnCount - 1;
    for (CStatsDataObserver* o : m_observers)
        o->ColumnRemoved(index);
}

StatsColumnFormat CStatsDataSet::GetColumnFormat(int column) const {
    const std::int32_t f = Cell(0, column).format;
    return f >= 0 && f < kStatsFormatCount ? static_cast<StatsColumnFormat>(f)
                                           : StatsColumnFormat::Categories;
}

const CStatsCell& CStatsDataSet::Cell(int row, int column) const {
    return m_rows.at(static_cast<std::size_t>(row))->cells.at(static_cast<std::size_t>(column));
}

CStatsCell& CStatsDataSet::Cell(int row, int column) {
    return m_rows.at(static_cast<std::size_t>(row))->cells.at(static_cast<std::size_t>(column));
}

void CStatsDataSet::CellChanged(int row, int column) {
    m_rows[static_cast<std::size_t>(row)]->changed = 1;
    EnsureBlankCases();
    for (CStatsDataObserver* o : m_observers)
        o->CellChanged(row, column);
}

void CStatsDataSet::SetCellText(int row, int column, std::string_view text) {
    if (!ValidCell(row, column))
        return;
    CStatsCell& cell = Cell(row, column);
    cell.SetText(text);
    if (row >= 1) {
        const std::string key = CategoryKey(text);
        if (!key.empty())
            for (int r = 1; r < rowCount(); ++r)
                if (r != row && CategoryKey(GetCellText(r, column)) == key)
                    cell.colour = GetCellColour(r, column);
    }
    CellChanged(row, column);
}

void CStatsDataSet::SetCellNumber(int row, int column, const CNumber& number) {
    if (!ValidCell(row, column))
        return;
    Cell(row, column).SetNumber(number);
    CellChanged(row, column);
}

void CStatsDataSet::ClearCell(int row, int column) {
    if (!ValidCell(row, column))
        return;
    CStatsCell& cell = Cell(row, column);
    if (IsNumberColumn(column)) {
        cell.number = CNumber();
        cell.empty = 1;
    } else {
        cell.SetText("");
    }
}

void CStatsDataSet::SetCellColour(int row, int column, std::uint32_t colour, bool spread) {
    if (!ValidCell(row, column))
        return;
    const std::string key = CategoryKey(GetCellText(row, column));
    if (spread && !IsNumberColumn(column) && !key.empty()) {
        for (int r = 1; r < dataCaseEnd(); ++r)
            if (CategoryKey(GetCellText(r, column)) == key)
                Cell(r, column).colour = colour;
    }
    Cell(row, column).colour = colour;
}

std::optional<std::string> CStatsDataSet::EnterCell(int row, int column, std::string_view text,
                                                    bool typed) {
    if (!ValidCell(row, column))
        return std::nullopt;
    const std::string_view trimmed = TrimSpace(text);
    const StatsColumnFormat format = GetColumnFormat(column);
    std::optional<CNumber> number;
    if (!trimmed.empty() && row >= 1 && format != StatsColumnFormat::Categories) {
        try {
            number = CNumber(trimmed);
            if (format == StatsColumnFormat::OneDecimal || format == StatsColumnFormat::TwoDecimals)
                number = CNumber(number->ToDouble());
        } catch (const CNumberException& e) {
            return e.message();
        }
    }
    // The typed cell's own tag goes first, so that the text can take the tag its equals carry.
    if (typed)
        Cell(row, column).colour = kStatsWhite;
    if (trimmed.empty())
        ClearCell(row, column);
    else if (number)
        SetCellNumber(row, column, *number);
    else
        SetCellText(row, column, trimmed);
    return std::nullopt;
}

void CStatsDataSet::SetAllCaseStates(CaseState state) {
    for (auto& c : m_rows)
        c->state = state;
    NotifyDataChanged();
}

void CStatsDataSet::EnsureBlankCases() {
    int blank = 0;
    for (int r = rowCount() - 1; r >= 1 && blank < kStatsBlankCases; --r) {
        if (!m_rows[static_cast<std::size_t>(r)]->IsBlank())
            break;
        ++blank;
    }
    for (; blank < kStatsBlankCases; ++blank)
        InsertCase(rowCount());
}

// --- sorting ---------------------------------------------------------------------------------

namespace {

// What one row is sorted by, worked out once per row.
struct SortKey {
    int row = 0;
    int caseNumber = 0;
    bool empty = false; // a blank row (case column) or an empty cell (data column)
    double value = 0.0;
    bool notANumber = false;
    std::string text;
};

// Case-insensitive text order, byte by byte on lower-case letters.
int CompareLower(const std::string& a, const std::string& b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CompareValue(const SortKey& a, const SortKey& b, bool number) {
    if (!number)
        return CompareLower(a.text, b.text);
    // A value that is no number goes after every number, so that the order stays one order.
    if (a.notANumber || b.notANumber)
        return static_cast<int>(a.notANumber) - static_cast<int>(b.notANumber);
    return a.value < b.value ? -1 : (a.value > b.value ? 1 : 0);
}

} // namespace

std::vector<int> CStatsDataSet::SortByCurrentColumn(bool descending) {
    const int n = rowCount();
    std::vector<int> order(static_cast<std::size_t>(std::max(n, 0)));
    for (int i = 0; i < n; ++i)
        order[static_cast<std::size_t>(i)] = i;
    if (n <= 2) {
        NotifyDataChanged();
        return order;
    }
    const int c = m_currentColumn;
    const int d = descending ? -1 : 1;
    const bool caseColumn = c <= 0 || c >= m_columnCount;
    const bool number = !caseColumn && IsNumberColumn(c);
    std::vector<SortKey> keys;
    keys.reserve(static_cast<std::size_t>(n - 1));
    for (int r = 1; r < n; ++r) {
        const CStatsCase& cs = *m_rows[static_cast<std::size_t>(r)];
        SortKey k;
        k.row = r;
        k.caseNumber = cs.caseNumber;
        if (caseColumn) {
            k.empty = cs.caseNumber >= n - kStatsBlankCases;
        } else {
            const CStatsCell& cell = cs.cells[static_cast<std::size_t>(c)];
            k.empty = cell.empty != 0;
            if (number) {
                k.value = cell.number.ToDouble();
                k.notANumber = std::isnan(k.value);
            } else {
                k.text = LowerText(cell.text);
            }
        }
        keys.push_back(std::move(k));
    }
    // Whether a goes before b; with it an insertion sort moves a row up past b.
    const auto before = [&](const SortKey& a, const SortKey& b) {
        if (a.empty != b.empty)
            return b.empty;
        if (a.empty) // blank rows, empty cells: ascending case numbers in either direction
            return a.caseNumber < b.caseNumber;
        if (!caseColumn)
            if (const int v = CompareValue(a, b, number) * d; v != 0)
                return v < 0;
        return descending ? a.caseNumber > b.caseNumber : a.caseNumber < b.caseNumber;
    };
    std::stable_sort(keys.begin(), keys.end(), before);

    const int selected = m_selectedRow;
    std::vector<std::unique_ptr<CStatsCase>> sorted;
    sorted.reserve(static_cast<std::size_t>(n));
    sorted.push_back(std::move(m_rows[0]));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const int from = keys[i].row;
        order[i + 1] = from;
        sorted.push_back(std::move(m_rows[static_cast<std::size_t>(from)]));
        if (from == selected)
            m_selectedRow = static_cast<int>(i + 1);
    }
    m_rows = std::move(sorted);
    NotifyDataChanged();
    return order;
}

// --- merging ---------------------------------------------------------------------------------

bool CStatsDataSet::MergeColumns(CStatsDataSet* other) {
    if (!other || other == this || other->rowCount() == 0 || other->columnCount() == 0 ||
        other->rowCount() != rowCount())
        return false;
    // The cases must match first; only `other` is reordered while they are looked for.
    const int n = rowCount();
    for (int c = 0; c < n; ++c) {
        const CStatsCase& mine = *m_rows[static_cast<std::size_t>(c)];
        int found = -1;
        for (int k = c; k < n && found < 0; ++k)
            if (other->m_rows[static_cast<std::size_t>(k)]->caseNumber == mine.caseNumber)
                found = k;
        if (found < 0)
            return false;
        const CStatsCase& theirs = *other->m_rows[static_cast<std::size_t>(found)];
        // The names are the column-1 texts; the header row holds column names instead.
        if (c >= 1) {
            const auto name = [](const CStatsCase& cs) {
                return cs.cells.size() > 1 ? CategoryKey(cs.cells[1].text) : std::string();
            };
            if (name(mine) != name(theirs))
                return false;
        }
        std::swap(other->m_rows[static_cast<std::size_t>(c)],
                  other->m_rows[static_cast<std::size_t>(found)]);
    }
    // After the current column; with none, or the case column, where New column would go.
    int at = m_currentColumn < 0 ? m_columnCount : std::max(m_currentColumn, 1) + 1;
    bool merged = false;
    for (int i = 0; i < other->columnCount(); ++i) {
        if (!other->Cell(0, i).mark)
            continue;
        at = std::min(at, m_columnCount);
        InsertColumn(at, other->GetColumnFormat(i));
        for (int r = 0; r < n; ++r)
            Cell(r, at) = other->Cell(r, i);
        Cell(0, at).mark = 0;
        ++at;
        merged = true;
    }
    return merged;
}

// --- observers -------------------------------------------------------------------------------

void CStatsDataSet::Attach(CStatsDataObserver* observer) {
    if (!observer)
        return;
    m_observers.push_back(observer);
    observer->m_dataSet = this;
    observer->Attached();
}

void CStatsDataSet::Detach(CStatsDataObserver* observer) {
    std::erase(m_observers, observer);
    if (observer && observer->m_dataSet == this)
        observer->m_dataSet = nullptr;
}

void CStatsDataSet::NotifyDataChanged(CStatsDataObserver* sender) {
    // A handler may attach or detach; the list is walked as it stood.
    const std::vector<CStatsDataObserver*> observers = m_observers;
    for (CStatsDataObserver* o : observers)
        if (o != sender)
            o->DataChanged();
}

// --- file ------------------------------------------------------------------------------------

namespace {
// The least a case record takes: seven int32 fields and four doubles; a cell: four int32
// fields, a number (kind and one int32) and a string length.
constexpr std::size_t kMinCaseBytes = 7 * 4 + 4 * 8;
constexpr std::size_t kMinCellBytes = 4 * 4 + 8 + 1;
constexpr std::size_t kMinScaleBytes = 8;
} // namespace

void CStatsDataSet::Serialize(CArchive& ar) {
    std::int32_t rows = rowCount();
    std::int32_t columns = m_columnCount;
    if (ar.IsTree()) {
        rows = static_cast<std::int32_t>(ar.ExchangeCount(m_rows.size(), "row count", "rows", 0));
        columns = static_cast<std::int32_t>(
            ar.ExchangeCount(m_scales.size(), "column count", "scales", 0));
    } else {
        ar.Exchange(rows, "row count");
        ar.Exchange(columns, "column count");
    }
    if (ar.IsLoading()) {
        if (rows < 1 || columns < 1)
            ar.Fail("a data set needs its header row and its case column", "row count");
        if (!ar.IsTree()) {
            ar.CheckCount(columns, kMinScaleBytes, "column count");
            const std::size_t perRow =
                kMinCaseBytes + kMinCellBytes * static_cast<std::size_t>(columns);
            ar.CheckCount(rows, perRow, "row count");
        }
        m_rows.clear();
        m_columnCount = columns;
        m_rows.reserve(static_cast<std::size_t>(rows));
        for (int i = 0; i < rows; ++i)
            m_rows.push_back(MakeCase(i, false));
        m_scales.assign(static_cast<std::size_t>(columns), CNumber());
    }
    ar.Exchange(m_editable, "editable");
    ar.Exchange(m_selectedRow, "selected row");
    ar.Exchange(m_currentColumn, "current column");
    {
        CArchive::ArrayScope items(ar, "scales");
        for (std::size_t i = 0; i < m_scales.size(); ++i) {
            CArchive::Item item(ar, i);
            m_scales[i].Serialize(ar);
        }
    }
    CArchive::ArrayScope items(ar, "rows");
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        CArchive::Item item(ar, i);
        if (ar.IsTree() && ar.IsLoading() &&
            ar.ExchangeCount(0, "cells", "cells", 0) != static_cast<std::size_t>(columns))
            ar.Fail("every row holds one cell per column", "cells");
        m_rows[i]->Serialize(ar);
    }
    if (ar.IsLoading()) {
        for (int c = 0; c < columns; ++c) {
            const std::int32_t f = m_rows[0]->cells[static_cast<std::size_t>(c)].format;
            if (f < 0 || f >= kStatsFormatCount)
                ar.Fail("column format " + std::to_string(f) + " is unknown", "format");
        }
    }
}

} // namespace quorvel

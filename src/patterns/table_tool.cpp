// Machine tables on the Numbers page: commands, the Arrow on cells, typing in cells, wiring
// plugs and recording runs.
#include "patterns/table_tool.h"

#include "patterns/number_machine.h"
#include "workspace/document_host.h"
#include "workspace/file_store.h"

#include <algorithm>

namespace quorvel {

namespace {

constexpr int kNewTableMargin = 20;
constexpr int kNewTableStep = 24;

CTableManipulative* AsTable(CManipulative* m) {
    return m && m->GetType() == kTypeTable ? static_cast<CTableManipulative*>(m) : nullptr;
}

} // namespace

const std::vector<CTableMenuItem>& TableMenuItems() {
    static const std::vector<CTableMenuItem> items = {
        {kCmdSortLargest, "Sort &Largest to Smallest "},
        {kCmdSortSmallest, "Sort &Smallest to Largest "},
        {kCmdCreateCards, "&Create Cards"},
        {kCmdClearTable, "Clear &Table"},
        {kCmdPrintTable, "&Print Table"},
        {kCmdCopyCells, "C&opy Cells", true},
        {kCmdExportTablePdf, "Export Table as P&DF..."},
        {kCmdExportTableCsv, "Export Table as CSV..."},
    };
    return items;
}

CTableTool::CTableTool(CNumberPatternsDocument& doc, ITextMetrics& metrics)
    : m_doc(doc), m_metrics(metrics) {}

bool CTableTool::Alive(const CManipulative* m) const {
    return m && std::any_of(m_doc.manipulatives().begin(), m_doc.manipulatives().end(),
                            [m](const auto& own) { return own.get() == m; });
}

void CTableTool::Changed() {
    m_doc.SetModifiedFlag();
    m_doc.RedrawWorkspace();
}

void CTableTool::MeasureTables() const {
    for (const auto& m : m_doc.manipulatives())
        if (CTableManipulative* t = AsTable(m.get()))
            t->Measure(m_metrics);
}

std::vector<CTableManipulative*> CTableTool::SelectedTables() const {
    std::vector<CTableManipulative*> tables;
    for (CManipulative* m : m_doc.selection())
        if (CTableManipulative* t = AsTable(m))
            tables.push_back(t);
    return tables;
}

CTableManipulative* CTableTool::TableAt(CPoint p) const {
    const auto& list = m_doc.manipulatives();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (CTableManipulative* t = AsTable(it->get()); t && t->HitTest(p.x, p.y))
            return t;
    return nullptr;
}

// --- commands ---

CTableManipulative* CTableTool::NewTable() {
    m_doc.MarkUndoStep();
    auto table = std::make_unique<CTableManipulative>();
    table->Measure(m_metrics);
    const CRect view = m_doc.viewRect();
    const CPoint offset = m_doc.paneOffset();
    const CSize size = table->grid().WindowSize();
    // Room for a machine's three columns, right to left and top to bottom in what the pane
    // shows, at the first place nothing covers; else at the top right.
    const CSize room{size.cx + 3 * table->grid().columnWidth(), size.cy};
    const auto covered = [this](const CRect& r) {
        return std::any_of(m_doc.manipulatives().begin(), m_doc.manipulatives().end(),
                           [&r](const auto& m) { return m->GetFrameOf().Intersects(r); });
    };
    CPoint at{offset.x + std::max(kNewTableMargin, view.Width() - kNewTableMargin - room.cx),
              offset.y + kNewTableMargin};
    bool found = false;
    for (int x = at.x; !found && x >= offset.x + kNewTableMargin; x -= kNewTableStep)
        for (int y = at.y; !found && y + room.cy <= offset.y + view.Height(); y += kNewTableStep)
            if (!covered({x, y, x + room.cx, y + room.cy})) {
                at = {x, y};
                found = true;
            }
    table->MoveBy(at.x - table->topLeft().x, at.y - table->topLeft().y);
    auto* made = static_cast<CTableManipulative*>(m_doc.AddManipulative(std::move(table)));
    m_doc.DeselectAll();
    m_doc.Select(made);
    made->SetSelected(true, false);
    Changed();
    return made;
}

std::optional<bool> CTableTool::CommandEnabled(int id) const {
    const std::vector<CTableManipulative*> tables = SelectedTables();
    const auto any = [&tables](auto test) {
        return std::any_of(tables.begin(), tables.end(), test);
    };
    switch (id) {
    case kCmdSortLargest:
    case kCmdSortSmallest:
        return any([](const CTableManipulative* t) {
            return t->grid().selectedColumn() > 0 && t->grid().dataRows() > 1;
        });
    case kCmdCreateCards:
        return any([](const CTableManipulative* t) {
            return t->grid().selectedColumn() > 0 && t->HasRows();
        });
    case kCmdClearTable:
        return any([](const CTableManipulative* t) { return t->HasRows(); });
    case kCmdPrintTable:
    case kCmdExportTablePdf:
        return !tables.empty();
    case kCmdCopyCells:
        return any([](const CTableManipulative* t) { return !t->CopyText().empty(); });
    case kCmdExportTableCsv:
        return !tables.empty() && m_doc.host() && m_doc.host()->AuthoringMode();
    default:
        return std::nullopt;
    }
}

bool CTableTool::OnCommand(int id, IPrompter* prompter) {
    const std::optional<bool> enabled = CommandEnabled(id);
    if (!enabled)
        return false;
    if (!*enabled)
        return true;
    const std::vector<CTableManipulative*> tables = SelectedTables();
    std::vector<const CTableManipulative*> shown(tables.begin(), tables.end());
    switch (id) {
    case kCmdSortLargest:
    case kCmdSortSmallest:
        m_doc.MarkUndoStep();
        for (CTableManipulative* t : tables)
            t->Sort(id == kCmdSortLargest);
        Changed();
        break;
    case kCmdCreateCards:
        m_doc.MarkUndoStep();
        for (CTableManipulative* t : tables)
            CreateCards(*t);
        Changed();
        break;
    case kCmdClearTable:
        m_doc.MarkUndoStep();
        for (CTableManipulative* t : tables)
            t->ClearTable();
        Changed();
        break;
    case kCmdPrintTable:
        if (m_window)
            m_window->PrintTables(shown);
        break;
    case kCmdExportTablePdf:
        if (m_window)
            m_window->ExportTablesPdf(shown);
        break;
    case kCmdCopyCells: {
        std::string text;
        for (const CTableManipulative* t : tables)
            text += t->CopyText();
        if (m_window && !m_window->PutOnClipboard(text) && prompter)
            prompter->MessageBox(kClipboardRefused, MessageIcon::None);
        break;
    }
    case kCmdExportTableCsv:
        for (CTableManipulative* t : tables)
            ExportCsv(*t, prompter);
        break;
    default:
        break;
    }
    return true;
}

void CTableTool::CreateCards(CTableManipulative& table) {
    const CSize size = NumberCardSize(m_metrics);
    for (const CTableCard& made : table.CardsToMake(size)) {
        auto card = std::make_unique<CNumberCardManipulative>(made.topLeft, m_metrics);
        card->SetReadOnly(true);
        card->SetShownValue(made.value);
        card->FitToFace(m_metrics);
        m_doc.AddManipulative(std::move(card));
    }
}

void CTableTool::ExportCsv(CTableManipulative& table, IPrompter* prompter) {
    const std::optional<std::string> path = m_doc.files().ChooseExportPath(
        "Export Table as CSV", "CSV Files (*.csv)|*.csv||", "csv",
        m_doc.activityName().empty() ? "table" : m_doc.activityName());
    if (!path)
        return;
    const std::string text = table.CsvText();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (!SaveFileAtomically(*path, {bytes, text.size()}) && prompter)
        prompter->MessageBox(kFailedToExportCsv, MessageIcon::Exclamation);
}

// --- the Arrow on a table ---

bool CTableTool::MouseDown(CTableManipulative& table, CPoint p, bool shift) {
    const CGridHit hit = table.HitAt(p);
    if (hit.part == GridPart::Title)
        return false;
    if (!table.selected()) {
        if (!shift)
            m_doc.DeselectAll();
        m_doc.Select(&table);
        table.SetSelected(true, false);
    }
    CGridCtrl& grid = table.grid();
    const int shownRows = CGridCtrl::kShownRows, shownColumns = CGridCtrl::kShownColumns;
    switch (hit.part) {
    case GridPart::ScrollUp:
        grid.ScrollRows(-1);
        break;
    case GridPart::ScrollDown:
        grid.ScrollRows(1);
        break;
    case GridPart::PageUp:
        grid.ScrollRows(-shownRows);
        break;
    case GridPart::PageDown:
        grid.ScrollRows(shownRows);
        break;
    case GridPart::ScrollLeft:
        grid.ScrollColumns(-1);
        break;
    case GridPart::ScrollRight:
        grid.ScrollColumns(1);
        break;
    case GridPart::PageLeft:
        grid.ScrollColumns(-shownColumns);
        break;
    case GridPart::PageRight:
        grid.ScrollColumns(shownColumns);
        break;
    case GridPart::Header:
        // A column header chooses the column the menu acts on, with all its cells.
        grid.SetSelectedColumn(hit.column);
        if (hit.column > 0 && grid.dataRows() > 0)
            grid.Select({1, hit.column, grid.dataRows(), hit.column});
        else
            grid.ClearSelection();
        break;
    case GridPart::RowHeader:
        grid.Select({hit.row, 1, hit.row, std::max(1, grid.dataColumns())});
        m_selecting = Selecting{&table, hit.row, 0};
        break;
    case GridPart::Cell:
        grid.SetSelectedColumn(hit.column);
        if (shift && grid.selection()) {
            const CCellRange& r = *grid.selection();
            grid.Select({r.top, r.left, hit.row, hit.column});
        } else {
            grid.Select({hit.row, hit.column, hit.row, hit.column});
        }
        m_selecting = Selecting{&table, grid.selection()->top, grid.selection()->left};
        break;
    default:
        grid.ClearSelection();
        break;
    }
    m_doc.RedrawWorkspace();
    return true;
}

bool CTableTool::MouseMove(CPoint p) {
    if (!m_selecting)
        return false;
    if (!Alive(m_selecting->table)) {
        m_selecting.reset();
        return false;
    }
    CTableManipulative& table = *m_selecting->table;
    const CGridHit hit = table.HitAt(p);
    if (hit.part != GridPart::Cell && hit.part != GridPart::RowHeader)
        return true;
    CGridCtrl& grid = table.grid();
    if (m_selecting->column == 0)
        grid.Select({m_selecting->row, 1, hit.row, std::max(1, grid.dataColumns())});
    else
        grid.Select({m_selecting->row, m_selecting->column, hit.row, std::max(1, hit.column)});
    m_doc.RedrawWorkspace();
    return true;
}

bool CTableTool::MouseUp() {
    const bool was = m_selecting.has_value();
    m_selecting.reset();
    return was;
}

bool CTableTool::Wheel(CPoint p, int steps, bool sideways) {
    CTableManipulative* table = TableAt(p);
    if (!table || steps == 0)
        return false;
    if (sideways)
        table->grid().ScrollColumns(steps);
    else
        table->grid().ScrollRows(steps);
    m_doc.RedrawWorkspace();
    return true;
}

// --- typing in a cell ---

std::optional<CCellEdit> CTableTool::BeginCellEdit(CTableManipulative& table, CPoint p) {
    const CGridHit hit = table.HitAt(p);
    if (hit.part != GridPart::Cell)
        return std::nullopt;
    m_edit = Editing{&table, hit.row, hit.column};
    table.grid().SetSelectedColumn(hit.column);
    table.grid().Select({hit.row, hit.column, hit.row, hit.column});
    return CCellEdit{table.CellRect(hit.row, hit.column),
                     table.grid().Cell(hit.row, hit.column).text};
}

void CTableTool::CellTextChanged(const std::string& text) {
    if (!m_edit || !Alive(m_edit->table))
        return;
    CGridCtrl& grid = m_edit->table->grid();
    if (m_edit->row >= grid.rows() || m_edit->column >= grid.columns())
        return;
    grid.SetText(m_edit->row, m_edit->column, text);
    Changed();
}

// --- wiring and runs ---

int CTableTool::Attach(CTableManipulative& table, CFunctionMachine& machine, int kind) {
    m_doc.MarkUndoStep();
    const int result = table.AttachColumn(&machine, kind);
    if (result == kAccepted)
        Changed();
    return result;
}

void CTableTool::PrepareRun(CFunctionMachine& anyMember) {
    std::vector<CPatternManipulative*> tables;
    anyMember.Head()->CollectTables(tables);
    for (CPatternManipulative* t : tables)
        if (CTableManipulative* table = AsTable(t))
            table->PrepareRun();
}

void CTableTool::RecordInputs(CNumberMachine& machine) {
    CTableManipulative* table = AsTable(machine.table());
    if (!table)
        return;
    for (int which : {1, 2})
        if (const CPatternManipulative* in = machine.InputAt(which))
            table->AddEntry(&machine, which == 1 ? kColumnInput1 : kColumnInput2, in->GetValue());
}

void CTableTool::RecordOutput(CFunctionMachine& machine) {
    if (CTableManipulative* table = AsTable(machine.table()))
        table->AddEntry(&machine, kColumnOutput, machine.GetValue());
}

std::vector<CTableManipulative*>
CTableTool::TablesWithRows(std::initializer_list<CFunctionMachine*> machines) {
    std::vector<CPatternManipulative*> tables;
    for (CFunctionMachine* m : machines)
        if (m)
            m->Head()->CollectTables(tables);
    std::vector<CTableManipulative*> out;
    for (CPatternManipulative* t : tables)
        if (CTableManipulative* table = AsTable(t); table && table->HasRows())
            out.push_back(table);
    return out;
}

void CTableTool::AfterErase() {
    for (const auto& m : m_doc.manipulatives())
        if (CTableManipulative* t = AsTable(m.get()))
            t->Prune();
}

void CTableTool::DrawWires(IDrawingSurface& dc) const {
    for (const auto& m : m_doc.manipulatives())
        if (m->GetType() == kTypeTable && m->visible())
            static_cast<const CTableManipulative&>(*m).DrawWires(dc);
}

} // namespace quorvel

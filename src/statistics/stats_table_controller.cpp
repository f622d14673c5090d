// The Statistics page's rules: tools on the table, the editor, modes and column commands.
#include "statistics/stats_table_controller.h"

#include "workspace/prompter.h"
#include "workspace/string_table.h"
#include "workspace/tool_palette.h"

#include <algorithm>
#include <cstdio>

namespace quorvel {

StatsTool StatsToolOf(int toolCode, bool tagging) {
    switch (toolCode) {
    case kToolEraser:
        return StatsTool::Eraser;
    case kToolIgnore:
        return StatsTool::Ignore;
    case kToolHelp:
        return StatsTool::Help;
    default:
        return tagging ? StatsTool::Tag : StatsTool::Pointer;
    }
}

CStatsControls StatsModeControls(const CStatsUnitDocument& doc, StatsViewMode mode) {
    CStatsControls c;
    const bool checked = doc.computerChecked();
    const int column = doc.dataSet().currentColumn();
    const bool numbers =
        column >= 1 && column < doc.dataSet().columnCount() && doc.dataSet().IsNumberColumn(column);
    switch (mode) {
    case StatsViewMode::Table:
        c.grid = true;
        c.sortButtons = true;
        c.columnButtons = true;
        c.menu = StatsModeMenu::Table;
        break;
    case StatsViewMode::Board:
        c.miniTable = doc.miniTable();
        c.averages = numbers && !checked;
        c.boardButtons = !checked;
        c.scaleDisplay = !checked;
        c.columnButtons = true;
        c.menu = StatsModeMenu::Board;
        break;
    case StatsViewMode::LineGraph:
    case StatsViewMode::BarGraph:
    case StatsViewMode::PieGraph:
        c.labelEdit = true;
        c.columnButtons = true;
        c.averages = numbers && !checked && mode != StatsViewMode::PieGraph;
        if (mode == StatsViewMode::PieGraph)
            c.menu = StatsModeMenu::Circle;
        break;
    }
    return c;
}

CStatsTableController::CStatsTableController(CStatsUnitDocument& doc, IPrompter* prompter)
    : m_doc(doc), m_data(doc.dataSet()), m_prompter(prompter), m_grid(m_data), m_mini(m_data),
      m_board(doc, prompter), m_graphs(doc, prompter) {
    m_board.SetChangedListener([this] {
        m_doc.UpdateAllViews();
        if (m_window)
            m_window->TableChanged();
    });
}

StatsTool CStatsTableController::tool() const {
    return StatsToolOf(m_doc.currentTool(), m_tagging);
}

void CStatsTableController::ChooseTagColour(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kTagColours)))
        return;
    m_doc.viewState().tagColour = kTagColours[index];
    m_tagging = true;
}

bool CStatsTableController::Refuse() {
    if (m_data.editable())
        return false;
    if (m_prompter)
        m_prompter->MessageBox(std::string(LoadString(kIdNotPermitted).value_or("")),
                               MessageIcon::Exclamation);
    return true;
}

bool CStatsTableController::Ask(int id) {
    return !m_prompter ||
           m_prompter->MessageBox(std::string(LoadString(id).value_or("")), MessageIcon::Question,
                                  MessageButtons::OkCancel) == MessageResult::Ok;
}

void CStatsTableController::Changed() {
    m_doc.UpdateAllViews();
    m_doc.SetModifiedFlag(true);
    if (m_window)
        m_window->TableChanged();
}

void CStatsTableController::TableClick(CPoint p) {
    const std::optional<stats::CGridCell> hit = m_grid.CellAt(p);
    if (!hit)
        return;
    const auto [row, column] = *hit;
    const bool dataRow = row >= 1;
    switch (tool()) {
    case StatsTool::Pointer:
        m_data.SetSelectedRow(dataRow ? row : -1);
        if (m_grid.columnChoice() && !dataRow) {
            m_data.Cell(0, column).mark ^= 1;
        } else {
            m_data.SetCurrentColumn(column);
            if (dataRow && column >= 1) {
                if (Refuse())
                    break;
                m_doc.MarkUndoStep();
                m_data.Case(row).state = CaseState::Used;
                Changed();
                OpenEditor(row, column);
                return;
            }
        }
        Changed();
        return;
    case StatsTool::Eraser:
        if (Refuse())
            return;
        if (dataRow && column == 0) {
            if (Ask(kIdRemoveRowQuestion)) {
                m_doc.MarkUndoStep();
                m_data.RemoveCase(row);
                Changed();
            }
        } else if (!dataRow) {
            if (column > 1 && Ask(kIdRemoveColumnQuestion)) {
                m_doc.MarkUndoStep();
                m_data.RemoveColumn(column);
                Changed();
            }
        } else {
            m_doc.MarkUndoStep();
            m_data.SetSelectedRow(-1);
            m_data.ClearCell(row, column);
            m_data.SetCellColour(row, column, kStatsWhite, true);
            Changed();
        }
        return;
    case StatsTool::Ignore:
        if (!dataRow)
            return;
        m_doc.MarkUndoStep();
        m_data.Case(row).state =
            m_data.Case(row).state == CaseState::Ignored ? CaseState::Used : CaseState::Ignored;
        m_data.SetSelectedRow(-1);
        Changed();
        return;
    case StatsTool::Tag:
        if (!dataRow || column < 1)
            return;
        m_doc.MarkUndoStep();
        m_data.SetCellColour(row, column, m_doc.viewState().tagColour, true);
        Changed();
        return;
    case StatsTool::Help:
        return;
    }
    Changed();
}

void CStatsTableController::MiniTableClick(CSize client, CPoint p) {
    const std::optional<int> column = m_mini.ColumnAt(client, p);
    const int row = m_data.selectedRow();
    if (!column || row < 1 || tool() != StatsTool::Pointer)
        return;
    if (Refuse())
        return;
    OpenMiniEditor(*column, false);
}

// --- the editor ------------------------------------------------------------------------------

namespace {

std::string EditorText(const CStatsDataSet& data, int row, int column) {
    const CStatsCell& cell = data.Cell(row, column);
    if (cell.empty)
        return {};
    if (row >= 1 && data.IsNumberColumn(column))
        return cell.number.Format();
    return cell.text;
}

} // namespace

void CStatsTableController::OpenEditor(int row, int column) {
    if (row < 1 || row >= m_data.rowCount() || column < 1 || column >= m_data.columnCount())
        return;
    m_grid.EnsureVisible(row, column);
    const std::optional<CRect> r = m_grid.CellRect(row, column);
    if (!r)
        return;
    m_edit = Edit{false, {row, column}, false};
    if (m_window) {
        m_window->TableChanged();
        m_window->BeginCellEdit(false, *r, EditorText(m_data, row, column));
    }
}

void CStatsTableController::OpenMiniEditor(int column, bool newCase) {
    const int row = m_data.selectedRow();
    m_edit = Edit{true, {row, column}, newCase};
    if (m_window)
        m_window->BeginCellEdit(true, m_mini.ValueRect(CMiniTable::kSize, column == 1 ? 0 : 1),
                                EditorText(m_data, row, column));
}

bool CStatsTableController::CommitEdit(const std::string& text, bool typed) {
    if (!m_edit)
        return true;
    const Edit edit = *m_edit;
    m_edit.reset();
    if (m_window)
        m_window->EndCellEdit();
    const auto [row, column] = edit.cell;
    if (row < 1 || row >= m_data.rowCount() || column >= m_data.columnCount())
        return true;
    m_doc.MarkUndoStep();
    const std::optional<std::string> error = m_data.EnterCell(row, column, text, typed);
    if (error && m_prompter)
        m_prompter->MessageBox(*error, MessageIcon::Exclamation);
    // A case made with "New" that stayed blank goes again.
    if (edit.newCase && m_data.Case(row).IsBlank() && m_data.rowCount() > 1)
        m_data.RemoveCase(m_data.rowCount() - 1);
    Changed();
    return !error;
}

void CStatsTableController::CancelEdit() {
    if (!m_edit)
        return;
    m_edit.reset();
    if (m_window)
        m_window->EndCellEdit();
}

void CStatsTableController::MoveEditor(Move move, const std::string& text, bool typed) {
    if (!m_edit || m_edit->mini) {
        CommitEdit(text, typed);
        return;
    }
    auto [row, column] = m_edit->cell;
    if (!CommitEdit(text, typed)) {
        OpenEditor(row, column);
        return;
    }
    const int lastColumn = m_data.columnCount() - 1;
    switch (move) {
    case Move::Next:
        if (++column > lastColumn) {
            column = 1;
            ++row;
        }
        break;
    case Move::Previous:
        if (--column < 1) {
            column = lastColumn;
            row = std::max(1, row - 1);
        }
        break;
    case Move::Down:
        ++row;
        break;
    case Move::Up:
        row = std::max(1, row - 1);
        break;
    case Move::Left:
        column = std::max(1, column - 1);
        break;
    case Move::Right:
        column = std::min(lastColumn, column + 1);
        break;
    }
    row = std::min(row, m_data.rowCount() - 1);
    m_data.SetSelectedRow(row);
    m_data.SetCurrentColumn(column);
    m_doc.UpdateAllViews();
    OpenEditor(row, column);
}

// --- buttons and menus -----------------------------------------------------------------------

void CStatsTableController::PreviousColumn() {
    int c = std::max(1, m_data.currentColumn());
    c = c >= 2 ? c - 1 : m_data.columnCount() - 1;
    m_data.SetCurrentColumn(c);
    if (mode() == StatsViewMode::Board)
        m_board.SetUpScale();
    Changed();
    // A graph mode stays, but says why the new column's graph cannot be drawn.
    if (IsGraphMode(mode()))
        m_graphs.Validate(mode());
}

void CStatsTableController::NextColumn() {
    const int current = m_data.currentColumn();
    int c = current <= 0 ? 2 : current + 1;
    if (c >= m_data.columnCount())
        c = 1;
    m_data.SetCurrentColumn(c);
    if (mode() == StatsViewMode::Board)
        m_board.SetUpScale();
    Changed();
    // A graph mode stays, but says why the new column's graph cannot be drawn.
    if (IsGraphMode(mode()))
        m_graphs.Validate(mode());
}

bool CStatsTableController::EnterMode(StatsViewMode mode) {
    if (m_edit)
        CancelEdit();
    const bool graph = mode != StatsViewMode::Table && mode != StatsViewMode::Board;
    if (graph && !m_doc.graphViewers())
        return false;
    if (m_data.currentColumn() < 1 && m_data.columnCount() > 1) {
        m_data.SetCurrentColumn(1);
        m_doc.UpdateAllViews();
    }
    if (graph && !m_graphs.Validate(mode))
        return false;
    m_doc.viewState().viewMode = static_cast<std::int32_t>(mode);
    if (mode == StatsViewMode::Board) {
        // The selected row's tile is selected; the column's scale is set up.
        if (m_board.IsTile(m_data.selectedRow()))
            m_data.Case(m_data.selectedRow()).selected = 1;
        m_board.SetUpScale();
    }
    if (m_window)
        m_window->TableChanged();
    const int row = m_data.selectedRow();
    if (mode == StatsViewMode::Table && row >= 1 && m_data.editable())
        OpenEditor(row, m_data.currentColumn());
    return true;
}

void CStatsTableController::NewColumn() {
    if (Refuse())
        return;
    const CStatsUnitDocument::ColumnPlace place = m_doc.NewColumnPlace();
    char question[512];
    std::snprintf(question, sizeof question, kInsertColumnQuestion, place.name.c_str());
    if (m_prompter && m_prompter->MessageBox(question, MessageIcon::None,
                                             MessageButtons::OkCancel) != MessageResult::Ok)
        return;
    if (!m_window)
        return;
    const std::optional<CNewColumnChoice> choice =
        m_window->AskNewColumn("Column " + std::to_string(place.index));
    if (!choice)
        return;
    m_doc.MarkUndoStep();
    m_doc.InsertNamedColumn(place.index, choice->name, choice->format);
    m_grid.EnsureVisible(m_grid.firstRow(), place.index);
    Changed();
}

void CStatsTableController::RemoveColumn() {
    if (Refuse())
        return;
    if (!m_doc.CanRemoveCurrentColumn()) {
        if (m_prompter)
            m_prompter->MessageBox(std::string(LoadString(kIdColumnCannotBeRemoved).value_or("")),
                                   MessageIcon::Exclamation);
        return;
    }
    if (!Ask(kIdRemoveColumnQuestion))
        return;
    m_doc.MarkUndoStep();
    m_doc.RemoveCurrentColumn();
    Changed();
}

void CStatsTableController::MergeColumn() {
    if (Refuse())
        return;
    const CStatsUnitDocument::ColumnPlace place = m_doc.NewColumnPlace();
    char question[512];
    std::snprintf(question, sizeof question, kInsertColumnQuestion, place.name.c_str());
    if (m_prompter && m_prompter->MessageBox(question, MessageIcon::None,
                                             MessageButtons::OkCancel) != MessageResult::Ok)
        return;
    if (!m_window)
        return;
    std::unique_ptr<CStatsUnitDocument> source = m_window->ChooseMergeSource();
    if (!source)
        return;
    m_doc.MarkUndoStep();
    if (!m_doc.MergeColumnsFrom(source->dataSet())) {
        if (m_prompter)
            m_prompter->MessageBox(std::string(LoadString(kIdMergeFailed).value_or("")),
                                   MessageIcon::Exclamation);
        return;
    }
    Changed();
}

void CStatsTableController::MiniNew() {
    if (Refuse())
        return;
    m_doc.MarkUndoStep();
    const int row = m_data.dataCaseEnd();
    m_data.InsertCase(m_data.rowCount());
    m_data.SetSelectedRow(row);
    Changed();
    OpenMiniEditor(1, true);
}

bool CStatsTableController::IsCommandEnabled(int id) const {
    const StatsViewMode m = mode();
    switch (id) {
    case kCmdIgnoreAll:
    case kCmdUseAll:
        return m == StatsViewMode::Table || m == StatsViewMode::Board;
    case kCmdBarGraph:
    case kCmdPieGraph:
    case kCmdLineGraph:
        return m_doc.graphViewers();
    default:
        return true;
    }
}

bool CStatsTableController::OnCommand(int id) {
    if (!IsCommandEnabled(id))
        return false;
    switch (id) {
    case kCmdDataTable:
        return EnterMode(StatsViewMode::Table);
    case kCmdDataBoard:
        return EnterMode(StatsViewMode::Board);
    case kCmdBarGraph:
        return EnterMode(StatsViewMode::BarGraph);
    case kCmdPieGraph:
        return EnterMode(StatsViewMode::PieGraph);
    case kCmdLineGraph:
        return EnterMode(StatsViewMode::LineGraph);
    case kCmdSortAscending:
    case kCmdSortDescending:
        m_doc.MarkUndoStep();
        m_doc.SortByCurrentColumn(id == kCmdSortDescending);
        Changed();
        return true;
    case kCmdPreviousColumn:
        PreviousColumn();
        return true;
    case kCmdNextColumn:
        NextColumn();
        return true;
    case kCmdMiniPrevious:
        if (m_mini.PreviousColumn() && m_window)
            m_window->TableChanged();
        return true;
    case kCmdMiniNext:
        if (m_mini.NextColumn() && m_window)
            m_window->TableChanged();
        return true;
    case kCmdMiniNew:
        MiniNew();
        return true;
    case kCmdNewColumn:
        NewColumn();
        return true;
    case kCmdRemoveColumn:
        RemoveColumn();
        return true;
    case kCmdMergeColumn:
        MergeColumn();
        return true;
    case kCmdCluster:
    case kCmdAutoArrange:
    case kCmdDataStore:
    case kCmdScaleUp:
    case kCmdScaleDown:
    case kCmdNarrowTiles:
    case kCmdWideTiles:
    case kCmdShowLabels:
    case kCmdHideLabels:
        return mode() == StatsViewMode::Board && m_board.OnCommand(id);
    case kCmdPieValues:
    case kCmdPiePercentages:
    case kCmdPieNeither:
        m_graphs.OnCommand(id);
        if (m_window)
            m_window->TableChanged();
        return true;
    case kCmdIgnoreAll:
    case kCmdUseAll:
        m_doc.MarkUndoStep();
        m_doc.SetAllCaseStates(id == kCmdIgnoreAll ? CaseState::Ignored : CaseState::Used);
        Changed();
        return true;
    }
    return false;
}

} // namespace quorvel

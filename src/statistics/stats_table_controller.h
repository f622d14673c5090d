// The Statistics page's logic without a screen: the tools on the data table and the
// mini-table, the cell editor and its keys, the previous/next column and sort buttons, the view
// modes and which controls each shows, and the Table and Data menus' commands with their
// questions. Every change to the data is one undo step.
#pragma once

#include "statistics/grid_view.h"
#include "statistics/stats_board.h"
#include "statistics/stats_document.h"
#include "statistics/stats_graph_controller.h"

#include <memory>
#include <optional>
#include <string>

namespace quorvel {

class IPrompter;

// The unit tool as the table and the board see it.
enum class StatsTool { Pointer = 0, Eraser = 1, Ignore = 2, Help = 3, Tag = 4 };
// The palette's tool (a ToolCode), or the tag tool while a tag colour was chosen last.
StatsTool StatsToolOf(int toolCode, bool tagging);

// The Table, Board and Data menu commands and the page's buttons.
enum StatsViewCommand : int {
    kCmdBarGraph = 1355,
    kCmdPieGraph = 1356,
    kCmdDataTable = 1357,
    kCmdDataBoard = 1358,
    kCmdSortAscending = 1360,
    kCmdSortDescending = 1361,
    kCmdPreviousColumn = 1362,
    kCmdNextColumn = 1363,
    kCmdLineGraph = 1364,
    kCmdMiniPrevious = 1404,
    kCmdMiniNext = 1405,
    kCmdMiniNew = 1406,
    kCmdNewColumn = 33120,
    kCmdRemoveColumn = 33121,
    kCmdMergeColumn = 33122,
    kCmdIgnoreAll = 33123,
    kCmdUseAll = 33124,
};
inline constexpr int kIdRemoveRowQuestion = 1380;
// The tag palette's colours in command order (1071..1078); the last, white, removes a tag.
inline constexpr std::uint32_t kTagColours[] = {0x7FFFFF, 0x83B3FF, 0xFBFF7F, 0xFF837F,
                                                0x7FFF83, 0xFF9FFF, 0x9BC7C7, 0xFFFFFF};

// The mode's second menu: none, "Ta&ble", "&Board" or "&Circle".
enum class StatsModeMenu { None, Table, Board, Circle };

// What a mode shows.
struct CStatsControls {
    bool grid = false;
    bool miniTable = false;
    bool labelEdit = false;
    bool sortButtons = false;
    bool columnButtons = false; // previous / next column
    bool boardButtons = false;  // Data Store, Cluster, auto-arrange
    bool scaleDisplay = false;
    bool averages = false; // Mean, Median, Mode check boxes
    StatsModeMenu menu = StatsModeMenu::None;
    friend bool operator==(const CStatsControls&, const CStatsControls&) = default;
};
CStatsControls StatsModeControls(const CStatsUnitDocument& doc, StatsViewMode mode);

// The New column dialog's answer.
struct CNewColumnChoice {
    std::string name;
    StatsColumnFormat format = StatsColumnFormat::Categories;
};

// What the controller asks of the page.
class IStatsTableWindow {
public:
    virtual ~IStatsTableWindow() = default;
    // The editor over a cell of the table (`mini` false) or of the mini-table, holding `text`,
    // all of it selected, with the focus.
    virtual void BeginCellEdit(bool mini, const CRect& cell, const std::string& text) = 0;
    virtual void EndCellEdit() = 0;
    // The data, the scrolling or the mode changed: repaint, and show the mode's controls.
    virtual void TableChanged() = 0;
    // The New column dialog, opened with `name`; nothing on Cancel.
    virtual std::optional<CNewColumnChoice> AskNewColumn(const std::string& name) = 0;
    // The merge dialog: a data set whose marked columns are to be merged; nothing on Cancel.
    virtual std::unique_ptr<CStatsUnitDocument> ChooseMergeSource() = 0;
};

class CStatsTableController {
public:
    CStatsTableController(CStatsUnitDocument& doc, IPrompter* prompter);

    void SetWindow(IStatsTableWindow* window) { m_window = window; }
    stats::CGridView& grid() { return m_grid; }
    CMiniTable& miniTable() { return m_mini; }
    CStatsBoardController& board() { return m_board; }
    CStatsGraphController& graphs() { return m_graphs; }
    CStatsUnitDocument& document() const { return m_doc; }
    StatsViewMode mode() const { return static_cast<StatsViewMode>(m_doc.viewState().viewMode); }

    // --- tools ---
    bool tagging() const { return m_tagging; }
    // A tag palette colour: it becomes the current tag colour and the tag tool is on.
    void ChooseTagColour(int index);
    void SetTagging(bool on) { m_tagging = on; }
    StatsTool tool() const;

    // A left click on the table at a client point.
    void TableClick(CPoint p);
    // A left click on a value cell of the mini-table.
    void MiniTableClick(CSize client, CPoint p);

    // --- the cell editor ---
    bool editing() const { return m_edit.has_value(); }
    bool editingMini() const { return m_edit && m_edit->mini; }
    stats::CGridCell editedCell() const { return m_edit ? m_edit->cell : stats::CGridCell{}; }
    // Opens the editor over a table cell (scrolling it into view).
    void OpenEditor(int row, int column);
    // The editor's text is stored by the cell-entry rule; false when the number could not be
    // read (its message shown, the cell unchanged). The editor closes either way.
    bool CommitEdit(const std::string& text, bool typed);
    void CancelEdit();
    // Tab (next, Shift: previous), Enter and the arrows: commit, then edit the next cell.
    enum class Move { Next, Previous, Down, Up, Left, Right };
    void MoveEditor(Move move, const std::string& text, bool typed);

    // --- buttons and menus ---
    bool OnCommand(int id);
    bool IsCommandEnabled(int id) const;
    // False when the mode could not be entered.
    bool EnterMode(StatsViewMode mode);
    void PreviousColumn();
    void NextColumn();
    void NewColumn();
    void RemoveColumn();
    void MergeColumn();
    // "New" under the mini-table: the first blank case becomes a new case, edited.
    void MiniNew();

private:
    struct Edit {
        bool mini = false;
        stats::CGridCell cell;
        bool newCase = false;
    };

    bool Refuse(); // 1415 when the data set may not be edited
    bool Ask(int id);
    void Changed();
    void OpenMiniEditor(int column, bool newCase);

    CStatsUnitDocument& m_doc;
    CStatsDataSet& m_data;
    IPrompter* m_prompter;
    IStatsTableWindow* m_window = nullptr;
    stats::CGridView m_grid;
    CMiniTable m_mini;
    CStatsBoardController m_board;
    CStatsGraphController m_graphs;
    std::optional<Edit> m_edit;
    bool m_tagging = false;
};

} // namespace quorvel

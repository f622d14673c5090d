// The data table's rules: each tool's click with its questions and refusals, the previous and
// next column buttons, the editor's cell-entry commit and keys, undo, and the table's layout
// as it is drawn.
#include "statistics/stats_table_controller.h"
#include "workspace/tool_palette.h"

#include "fakes.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

using stats::CGridCell;
using stats::CGridView;

class StatsTable : public ::testing::Test {
protected:
    void SetUp() override {
        CStatsDataSet& d = doc.dataSet();
        doc.InsertNamedColumn(2, "Age", StatsColumnFormat::WholeNumbers);
        doc.InsertNamedColumn(3, "Height", StatsColumnFormat::Fractions);
        d.SetCurrentColumn(1);
        for (int i = 1; i <= 3; ++i) {
            d.EnterCell(i, 1, "Pupil " + std::to_string(i), true);
            d.EnterCell(i, 2, std::to_string(9 + i), true);
        }
        table.grid().Layout(metrics, {800, 600});
    }
    CPoint Centre(int row, int column) {
        const CRect r = *table.grid().CellRect(row, column);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Tool(int code) { doc.SetCurrentTool(code); }

    FakeTextMetrics metrics;
    FakePrompter prompter;
    CStatsUnitDocument doc;
    CStatsTableController table{doc, &prompter};
};

constexpr const char* kNotPermitted = "This operation is not permitted.";

struct ClickCase {
    const char* name;
    int tool;
    CGridCell cell;
    CaseState before; // of case 2
    bool editable;
    int answers;         // 0 none queued, 1 OK, 2 Cancel
    const char* message; // the one message shown, or ""
    int columns;         // afterwards
    int rows;
    CaseState after;
    bool editing;
};

TEST_F(StatsTable, ClicksWithEachTool) {
    const ClickCase cases[] = {
        {"EraserHeader0",
         kToolEraser,
         {0, 0},
         CaseState::Used,
         true,
         0,
         "",
         4,
         9,
         CaseState::Used,
         false},
        {"EraserHeader1",
         kToolEraser,
         {0, 1},
         CaseState::Used,
         true,
         0,
         "",
         4,
         9,
         CaseState::Used,
         false},
        {"EraserHeader2",
         kToolEraser,
         {0, 2},
         CaseState::Used,
         true,
         1,
         "Do you wish to remove the selected column?",
         3,
         9,
         CaseState::Used,
         false},
        {"EraserHeader2Cancel",
         kToolEraser,
         {0, 2},
         CaseState::Used,
         true,
         2,
         "Do you wish to remove the selected column?",
         4,
         9,
         CaseState::Used,
         false},
        {"EraserIdCell",
         kToolEraser,
         {1, 0},
         CaseState::Used,
         true,
         1,
         "Do you wish to remove the selected row?",
         4,
         8,
         CaseState::Used,
         false},
        {"EraserLocked",
         kToolEraser,
         {2, 2},
         CaseState::Used,
         false,
         0,
         kNotPermitted,
         4,
         9,
         CaseState::Used,
         false},
        {"IgnoreExcluded",
         kToolIgnore,
         {2, 1},
         CaseState::Excluded,
         true,
         0,
         "",
         4,
         9,
         CaseState::Ignored,
         false},
        {"IgnoreIgnored",
         kToolIgnore,
         {2, 3},
         CaseState::Ignored,
         true,
         0,
         "",
         4,
         9,
         CaseState::Used,
         false},
        {"PointerIgnoredData",
         kToolArrow,
         {2, 2},
         CaseState::Ignored,
         true,
         0,
         "",
         4,
         9,
         CaseState::Used,
         true},
        {"PointerIgnoredId",
         kToolArrow,
         {2, 0},
         CaseState::Ignored,
         true,
         0,
         "",
         4,
         9,
         CaseState::Ignored,
         false},
        {"PointerLocked",
         kToolArrow,
         {2, 2},
         CaseState::Ignored,
         false,
         0,
         kNotPermitted,
         4,
         9,
         CaseState::Ignored,
         false},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        doc.dataSet().Reset(5, 1);
        SetUp();
        doc.SetEditable(c.editable);
        doc.dataSet().Case(2).state = c.before;
        prompter.messages.clear();
        prompter.answers.clear();
        if (c.answers)
            prompter.answers.push_back(c.answers == 1 ? MessageResult::Ok : MessageResult::Cancel);
        Tool(c.tool);
        table.TableClick(Centre(c.cell.row, c.cell.column));
        if (*c.message) {
            ASSERT_EQ(prompter.messages.size(), 1u);
            EXPECT_EQ(prompter.messages[0].text, c.message);
        } else {
            EXPECT_TRUE(prompter.messages.empty());
        }
        EXPECT_EQ(doc.dataSet().columnCount(), c.columns);
        EXPECT_EQ(doc.dataSet().rowCount(), c.rows);
        const int row = c.rows < 9 ? 1 : 2; // case 2 moved up when case 1 went
        EXPECT_EQ(doc.dataSet().Case(row).state, c.after);
        EXPECT_EQ(table.editing(), c.editing);
        table.CancelEdit();
    }
}

TEST_F(StatsTable, EraserEmptiesACellAndUndoBringsItBack) {
    Tool(kToolEraser);
    table.TableClick(Centre(2, 2));
    EXPECT_TRUE(doc.dataSet().IsCellEmpty(2, 2));
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(CellValueText(doc.dataSet(), 2, 2), "11");
}

TEST_F(StatsTable, NextAndPreviousColumnWrap) {
    struct {
        int from;
        bool next;
        int to;
    } const steps[] = {{3, true, 1}, {1, false, 3}, {0, true, 2}, {0, false, 3}, {2, true, 3}};
    for (const auto& s : steps) {
        doc.dataSet().SetCurrentColumn(s.from);
        table.OnCommand(s.next ? kCmdNextColumn : kCmdPreviousColumn);
        EXPECT_EQ(doc.dataSet().currentColumn(), s.to) << s.from << (s.next ? " next" : " prev");
    }
}

TEST_F(StatsTable, EditorCommitsByTheCellEntryRuleAndMovesLikeASpreadsheet) {
    table.OpenEditor(4, 2);
    EXPECT_FALSE(table.CommitEdit("twelve", true));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(doc.dataSet().IsCellEmpty(4, 2));

    // Tab on the last column goes to column 1 of the next row; Enter goes down.
    table.OpenEditor(4, 3);
    table.MoveEditor(CStatsTableController::Move::Next, "1 1/2", true);
    EXPECT_EQ(table.editedCell(), (CGridCell{5, 1}));
    table.MoveEditor(CStatsTableController::Move::Down, "Pupil 5", true);
    EXPECT_EQ(table.editedCell(), (CGridCell{6, 1}));
    EXPECT_EQ(doc.dataSet().GetCellNumber(4, 3).denominator(), 2);
    EXPECT_EQ(doc.dataSet().GetCellText(5, 1), "Pupil 5");
    // Five blank cases still follow the data.
    EXPECT_EQ(doc.dataSet().rowCount(), 5 + 1 + 5);
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.dataSet().IsCellEmpty(5, 1));
}

TEST_F(StatsTable, MiniTableNewCaseGoesAgainWhenLeftBlank) {
    table.OnCommand(kCmdMiniNew);
    EXPECT_EQ(doc.dataSet().selectedRow(), 4);
    EXPECT_TRUE(table.editingMini());
    table.CommitEdit("  ", true);
    EXPECT_EQ(doc.dataSet().rowCount(), 9);
    table.OnCommand(kCmdMiniNew);
    table.CommitEdit("Pupil 4", true);
    EXPECT_EQ(doc.dataSet().GetCellText(4, 1), "Pupil 4");
    EXPECT_EQ(doc.dataSet().rowCount(), 10);
}

TEST(StatsMiniTable, WithOneColumnShowsItOnce) {
    CStatsUnitDocument doc;
    CStatsTableController table(doc, nullptr);
    const CMiniTable& mini = table.miniTable();
    RecordingSurface dc;
    mini.Draw(dc, CMiniTable::kSize);
    const auto names = std::count_if(dc.calls.begin(), dc.calls.end(), [&](const std::string& c) {
        return c.starts_with("drawtext") && c.ends_with(doc.dataSet().GetColumnName(1));
    });
    EXPECT_EQ(names, 1);
    const CRect second = mini.ValueRect(CMiniTable::kSize, 1);
    EXPECT_FALSE(mini.ColumnAt(CMiniTable::kSize, {second.left + 2, second.top + 2}));
}

TEST_F(StatsTable, TableLayoutAndScrolling) {
    CGridView& g = table.grid();
    EXPECT_EQ(g.rowHeight(), 16 * 3 / 2 + 8);
    EXPECT_EQ(g.FrozenWidth(), 35 + 170);
    g.Layout(metrics, {35 + 170 + 114 + 50, 64 + 3 * 32});
    // Column 3 does not fit beside column 2: the table scrolls to show it, the frozen columns
    // stay where they are.
    g.EnsureVisible(8, 3);
    EXPECT_EQ(g.firstColumn(), 3);
    EXPECT_EQ(g.firstRow(), 6);
    EXPECT_EQ(g.CellAt({10, 64 + 5}), (CGridCell{6, 0}));
    EXPECT_EQ(g.CellAt({35 + 170 + 3, 2}), (CGridCell{0, 3}));
    EXPECT_FALSE(g.CellRect(2, 2));
}

TEST_F(StatsTable, DrawsGreyedRowsStackedFractionsAndTheCurrentColumn) {
    doc.dataSet().EnterCell(1, 3, "-1 1/2", true);
    doc.dataSet().Case(2).state = CaseState::Ignored;
    RecordingSurface dc;
    table.grid().Draw(dc);
    const auto has = [&](const std::string& s) {
        return std::find(dc.calls.begin(), dc.calls.end(), s) != dc.calls.end();
    };
    const CRect ignored = *table.grid().CellRect(2, 1);
    EXPECT_TRUE(has("fill " + RecordingSurface::Rc(ignored) + " #c0c0c0"));
    // The whole part, then the remainder without its sign over the denominator.
    bool whole = false, top = false, bottom = false;
    for (const std::string& s : dc.calls) {
        whole |= s.starts_with("drawtext") && s.ends_with(" -1");
        top |= s.starts_with("drawtext") && s.ends_with(" 1") && !s.ends_with("-1");
        bottom |= s.starts_with("drawtext") && s.ends_with(" 2");
    }
    EXPECT_TRUE(whole && top && bottom);
    EXPECT_TRUE(has("pen 3 #ffff00"));
}

TEST_F(StatsTable, ModesShowTheirControls) {
    EXPECT_EQ(StatsModeControls(doc, StatsViewMode::Table).menu, StatsModeMenu::Table);
    doc.dataSet().SetCurrentColumn(2);
    EXPECT_TRUE(StatsModeControls(doc, StatsViewMode::BarGraph).averages);
    EXPECT_FALSE(StatsModeControls(doc, StatsViewMode::PieGraph).averages);
    doc.SetComputerChecked(true);
    EXPECT_FALSE(StatsModeControls(doc, StatsViewMode::Board).scaleDisplay);
    doc.SetGraphViewers(false);
    EXPECT_FALSE(table.EnterMode(StatsViewMode::LineGraph));
    EXPECT_EQ(table.mode(), StatsViewMode::Table);
}

} // namespace

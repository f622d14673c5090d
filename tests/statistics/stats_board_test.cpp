// The data board: tiles and their rectangles, the board's commands with their messages, the
// scale typed and spun, the mouse and the keys, one undo step each, and the board as drawn.
#include "statistics/stats_table_controller.h"
#include "workspace/tool_palette.h"

#include "fakes.h"

#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

// A client 935 wide gives a tile area 600 wide (x 200..800) and 350 high (y 95..445).
constexpr CRect kClient{0, 0, 935, 560};

class StatsBoard : public ::testing::Test {
protected:
    void SetUp() override {
        doc.InsertNamedColumn(2, "Height", StatsColumnFormat::WholeNumbers);
        data.SetCurrentColumn(1); // the board comes up at the category scale 10: 35 px a unit
        board.SetClient(kClient);
        Cases(3);
    }
    // Cases named P1.. with values 1, 2, 3 ... in column 2, each tile at x 100 r.
    void Cases(int n) {
        for (int i = 1; i <= n; ++i) {
            data.EnterCell(i, 1, "P" + std::to_string(i), true);
            data.EnterCell(i, 2, std::to_string(i), true);
            data.Case(i).numberTilePosition = {100.0 * i, 300};
            data.Case(i).categoryTilePosition = {100.0 * i, 300};
        }
        table.OnCommand(kCmdDataBoard);
    }
    void Select(std::initializer_list<int> rows) {
        for (int r : rows)
            data.Case(r).selected = 1;
    }
    CPoint Centre(int row) {
        const CRect r = board.TileRect(row);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    std::string Messages() {
        std::string s;
        for (const auto& m : prompter.messages)
            s += m.text.substr(0, 20) + "|";
        return s;
    }

    FakePrompter prompter;
    CStatsUnitDocument doc;
    CStatsDataSet& data = doc.dataSet();
    CStatsTableController table{doc, &prompter};
    CStatsBoardController& board = table.board();
};

TEST_F(StatsBoard, TilesStandOnTheirPositionsAtTheirValues) {
    data.SetCurrentColumn(2);
    board.SetUpScale(); // the values 1..3 give the whole-number scale 3
    EXPECT_EQ(board.scale().ToDouble(), 3.0);
    EXPECT_EQ(data.Scale(2).ToDouble(), 3.0);
    EXPECT_EQ(board.TileRect(2), (CRect{200, 67, 225, 300})); // 2 x 350/3 high
    data.EnterCell(2, 2, "", true);
    EXPECT_EQ(board.TileRect(2), (CRect{200, 275, 225, 300})); // empty: a square
    data.SetCurrentColumn(1);
    board.SetUpScale(); // a category column: at least 10
    EXPECT_EQ(board.TileRect(1), (CRect{100, 265, 158, 300}));
}

TEST_F(StatsBoard, NarrowTilesCheckedByTheCurrentColumnsKind) {
    struct Case {
        int column, number, category;
        bool narrow, wide;
    } const cases[] = {{1, 25, 33, true, false},
                       {1, 13, 58, false, true},
                       {1, 13, 40, false, false},
                       {2, 13, 58, true, false}};
    for (const Case& c : cases) {
        data.SetCurrentColumn(c.column);
        doc.viewState().numberTileWidth = c.number;
        doc.viewState().categoryTileWidth = c.category;
        EXPECT_EQ(board.IsChecked(kCmdNarrowTiles), c.narrow) << c.column << " " << c.category;
        EXPECT_EQ(board.IsChecked(kCmdWideTiles), c.wide) << c.column << " " << c.category;
    }
}

TEST_F(StatsBoard, AutoArrangeNarrowsCrowdedTilesAndDoesNothingWithoutTiles) {
    Cases(30);
    data.SetCurrentColumn(2);
    table.OnCommand(kCmdAutoArrange);
    EXPECT_EQ(doc.viewState().numberTileWidth, 19); // 600 / 31
    for (int i : {1, 2, 30}) // gap (600 - 570) / 30 = 1, the first at 200 + 1 / 2
        EXPECT_EQ(data.Case(i).numberTilePosition, (CStatsPosition{200.0 + (i - 1) * 20, 445}));
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.viewState().numberTileWidth, 25);

    table.OnCommand(kCmdDataStore);
    doc.ClearUndoHistory();
    table.OnCommand(kCmdAutoArrange); // every tile is in the Data Store
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(StatsBoard, AutoArrangeStacksCategoriesInOrderOfFirstAppearance) {
    for (auto [row, text] : {std::pair{1, "cat"}, {2, "Dog"}, {3, " CAT "}})
        data.EnterCell(row, 1, text, true);
    data.SetCurrentColumn(1);
    board.SetUpScale(); // 10: a unit is 35 pixels
    table.OnCommand(kCmdAutoArrange);
    // Two stacks 58 wide, gap (600 - 116) / 2 = 242, from x 321.
    EXPECT_EQ(data.Case(1).categoryTilePosition, (CStatsPosition{321, 445}));
    EXPECT_EQ(data.Case(3).categoryTilePosition, (CStatsPosition{321, 410}));
    EXPECT_EQ(data.Case(2).categoryTilePosition, (CStatsPosition{621, 445}));
}

TEST_F(StatsBoard, ClusterNeedsTwoSelectedTiles) {
    data.SetCurrentColumn(2);
    table.OnCommand(kCmdCluster);
    EXPECT_EQ(Messages(), "Please select tiles |");
    Select({1});
    table.OnCommand(kCmdCluster);
    EXPECT_TRUE(doc.viewState().clusters.empty());
    EXPECT_FALSE(doc.CanUndo());

    Select({3});
    const CRect one = board.TileRect(1), three = board.TileRect(3);
    table.OnCommand(kCmdCluster);
    ASSERT_EQ(doc.viewState().clusters.size(), 1u);
    EXPECT_EQ(doc.viewState().clusters[0].rows, (std::vector<std::int32_t>{1, 3}));
    // Stacked at the centre of the extent, from its bottom up.
    const double left = (one.left + three.right) / 2.0 - 12.5;
    EXPECT_EQ(data.Case(1).numberTilePosition, (CStatsPosition{left, 300}));
    EXPECT_EQ(data.Case(3).numberTilePosition.y, 300 - one.Height());
    EXPECT_TRUE(data.Case(3).inNumberCluster);
    table.OnCommand(kCmdCluster); // the same tiles again: no second cluster
    EXPECT_EQ(doc.viewState().clusters.size(), 1u);
    table.OnCommand(kCmdNarrowTiles); // the stack narrows about its centre
    EXPECT_EQ(data.Case(3).numberTilePosition.x, left + 12.5 - 6.5);
    ASSERT_TRUE(doc.Undo());
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.viewState().clusters.empty());
    EXPECT_EQ(data.Case(3).numberTilePosition, (CStatsPosition{300, 300}));
}

TEST_F(StatsBoard, ErasingAHandleIsRefused) {
    // Category tiles a unit (175 pixels at scale 2) high, stacked past the client's top: the
    // middle one touches one wholly above the client.
    data.SetCurrentColumn(1);
    ASSERT_TRUE(board.TypeScale("2"));
    Select({1, 2, 3});
    table.OnCommand(kCmdCluster);
    ASSERT_LT(board.TileRect(3).bottom, 0);
    EXPECT_TRUE(board.IsHandle(2));
    EXPECT_FALSE(board.IsHandle(1));
    doc.SetCurrentTool(kToolEraser);
    doc.SetEditable(false);
    board.Press(Centre(1), table.tool());
    EXPECT_EQ(Messages(), "This operation is no|");
    prompter.messages.clear();
    doc.SetEditable(true);
    board.Press({board.TileRect(2).left + 2, 2}, table.tool());
    EXPECT_EQ(Messages(), "The tile you are try|");
    EXPECT_EQ(data.dataCaseEnd(), 4);
    board.Press(Centre(1), table.tool()); // asks, then removes
    EXPECT_EQ(Messages(), "The tile you are try|Do you wish to remov|");
    EXPECT_EQ(data.dataCaseEnd(), 3);
}

TEST_F(StatsBoard, TypedAndSpunScales) {
    struct Case {
        StatsColumnFormat format;
        const char* typed;
        int spin; // 1 up, -1 down, 0 none
        double scale;
    } const cases[] = {
        {StatsColumnFormat::WholeNumbers, "13", 0, 14},
        {StatsColumnFormat::WholeNumbers, "36", 0, 40},
        {StatsColumnFormat::WholeNumbers, "35", 1, 40},
        {StatsColumnFormat::WholeNumbers, "40", -1, 35},
        {StatsColumnFormat::WholeNumbers, "1", -1, 1},
        {StatsColumnFormat::OneDecimal, "7", 1, 8},
        {StatsColumnFormat::OneDecimal, "8", -1, 7},
        {StatsColumnFormat::OneDecimal, "70", 0, 70}, // divided by 10, not times 0.1
        {StatsColumnFormat::Categories, "80", 1, 80}, // 100 is above 350 / 4
    };
    for (const Case& c : cases) {
        data.Cell(0, 2).format = static_cast<std::int32_t>(c.format);
        data.SetCurrentColumn(2);
        ASSERT_TRUE(board.TypeScale(c.typed));
        if (c.spin)
            table.OnCommand(c.spin > 0 ? kCmdScaleUp : kCmdScaleDown);
        EXPECT_EQ(board.scale().ToDouble(), c.scale) << c.typed << " " << c.spin;
        EXPECT_EQ(data.Scale(2).ToDouble(), c.scale);
    }
    EXPECT_FALSE(board.TypeScale("1/0"));
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(board.scale().ToDouble(), 80);
}

TEST_F(StatsBoard, DragsRubberBandsKeysAndTheDataStore) {
    data.SetCurrentColumn(2);
    // A drag is one step.
    board.Press(Centre(1), StatsTool::Pointer);
    const CPoint c = Centre(1);
    board.Drag({c.x + 5, c.y});
    board.Release({c.x + 10, c.y - 20});
    EXPECT_EQ(data.Case(1).numberTilePosition, (CStatsPosition{110, 280}));
    EXPECT_EQ(data.selectedRow(), 1);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(data.Case(1).numberTilePosition, (CStatsPosition{100, 300}));
    board.Press(c, StatsTool::Pointer); // Escape puts the tile back
    board.Drag({c.x + 30, c.y});
    board.CancelDrag();
    EXPECT_EQ(data.Case(1).numberTilePosition, (CStatsPosition{100, 300}));
    // The rubber band takes the tiles wholly inside it.
    board.Press({150, 0}, StatsTool::Pointer);
    board.Release({400, 310});
    EXPECT_EQ(std::make_tuple(data.Case(1).selected, data.Case(2).selected, data.Case(3).selected),
              std::make_tuple(0, 1, 1));
    EXPECT_EQ(data.selectedRow(), 3);
    // The arrow keys: 1 pixel, 10 with Shift.
    board.MoveSelection(1, 0);
    board.MoveSelection(0, 10);
    EXPECT_EQ(data.Case(2).numberTilePosition, (CStatsPosition{201, 310}));
    EXPECT_EQ(data.Case(1).numberTilePosition, (CStatsPosition{100, 300}));
    // Dropped on the Data Store; taken out again by a drag from it.
    const CRect store = board.geometry().store;
    const CPoint in{store.left + 5, store.top + 5};
    board.Press(Centre(2), StatsTool::Pointer);
    board.Release(in);
    EXPECT_EQ(board.StoredTiles(), 2);
    EXPECT_EQ(doc.viewState().dataStoreCount, 2);
    EXPECT_EQ(board.TileAt(Centre(1)), 1);
    board.Press(in, StatsTool::Pointer);
    board.Release({500, 200});
    EXPECT_EQ(board.StoredTiles(), 1);
    EXPECT_EQ(board.TileAt({500, 200}), 2);
}

TEST_F(StatsBoard, IgnoreAndTagTools) {
    data.SetCurrentColumn(2);
    data.Case(2).state = CaseState::Excluded;
    for (int row : {1, 2})
        board.Press(Centre(row), StatsTool::Ignore);
    EXPECT_EQ(data.Case(1).state, CaseState::Ignored);
    EXPECT_EQ(data.Case(2).state, CaseState::Used);
    EXPECT_TRUE(board.tileChanged());
    EXPECT_EQ(doc.summary().usedCases(), 2);
    table.ChooseTagColour(1);
    board.Press(Centre(3), table.tool());
    EXPECT_EQ(data.GetCellColour(3, 2), 0x83B3FFu);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(data.GetCellColour(3, 2), kStatsWhite);
}

TEST_F(StatsBoard, DrawsTilesWithTheirOutlinesAndLabels) {
    data.SetCurrentColumn(2);
    data.Case(1).state = CaseState::Ignored;
    data.EnterCell(3, 2, "", true);
    data.Case(2).selected = 1;
    data.SetSelectedRow(2);
    data.SetCellColour(1, 2, 0x7FFFFF, false);
    doc.UpdateAllViews();
    RecordingSurface dc;
    board.Draw(dc);
    const auto& c = dc.calls;
    const auto at = [&](const std::string& call) {
        return std::find(c.begin(), c.end(), call) - c.begin();
    };
    // Ignored: a grey outline without fill; the empty cell a circle; the selected row's tile
    // last, yellow, 3 pixels wide; each label in a framed box above its tile.
    const auto ignored = at("rect 100,265 125,300");
    EXPECT_EQ(c[ignored - 2], "pen 1 #c7c7c7");
    EXPECT_EQ(c[ignored - 1], "brush none");
    const auto circle = at("ellipse 300,275 325,300");
    EXPECT_EQ(c[circle - 1], "brush #ffffff");
    const auto selected = at("rect 200,230 225,300");
    EXPECT_GT(selected, circle);
    EXPECT_EQ(c[selected - 2], "pen 3 #fff700");
    EXPECT_EQ(c[selected + 3], "rect 202,213 222,229"); // "P2": 14 wide, 16 high
    EXPECT_EQ(c[selected + 4], "drawtext 202,213 222,229 101 P2");

    doc.viewState().showLabels = 0;
    doc.viewState().showMean = 1;
    RecordingSurface quiet;
    board.Draw(quiet);
    EXPECT_TRUE(quiet.Only("drawtext 202,213").empty());
    EXPECT_EQ(quiet.Only("line 200,375").size(), 1u); // the mean 2 of P1..P2 at 35 per unit
}

TEST_F(StatsBoard, TilesHiddenWholeByLaterOnesAreLeftOut) {
    Cases(4);
    data.SetCurrentColumn(2);
    // Tile 1 (35 high) stands behind tiles 2, 3 and 4 side by side, reaching lower.
    data.Case(1).numberTilePosition = {100, 296};
    for (int row : {2, 3, 4})
        data.Case(row).numberTilePosition = {40.0 + 20 * row, 310};
    for (CaseState third : {CaseState::Used, CaseState::Ignored}) {
        data.Case(3).state = third; // an Ignored tile is not filled: it hides nothing
        RecordingSurface dc;
        board.Draw(dc);
        EXPECT_EQ(dc.Only("rect 100,261 125,296").size(), third == CaseState::Used ? 0u : 1u);
        EXPECT_EQ(dc.Only("rect 120,170 145,310").size(), 1u);
    }
}

TEST_F(StatsBoard, APageWithoutItsSizeLeavesTheTilesWhereTheyAre) {
    doc.SetPresentGeometry({800, 600}, {0, 0, 100, 30}); // laid out before it was shown
    doc.SetPresentGeometry({800, 600}, kStatsDefaultClient);
    EXPECT_EQ(data.Case(2).numberTilePosition, (CStatsPosition{200, 300}));
}

} // namespace

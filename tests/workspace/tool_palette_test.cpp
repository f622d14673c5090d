// The tool palette: its places, rows, latching and the tool codes.
#include "workspace/string_table.h"
#include "workspace/tool_palette.h"

#include <gtest/gtest.h>

#include <set>

using namespace quorvel;

TEST(ToolCodes, AreTheCommandMinus1271) {
    EXPECT_EQ(ToolCommand(kToolArrow), 1271);
    EXPECT_EQ(ToolCommand(kToolIgnore), 1282);
    EXPECT_EQ(ToolCodeOf(1277), kToolLinemaker);
    EXPECT_TRUE(IsToolCommand(1270));
    EXPECT_TRUE(IsToolCommand(1299));
    EXPECT_FALSE(IsToolCommand(1269));
    EXPECT_FALSE(IsToolCommand(1300));
    for (int code = 0; code < kToolCount; ++code)
        EXPECT_EQ(IsModalTool(code), code == kToolHelp || code == kToolMystery) << code;
}

TEST(ToolCodes, TableIsIndexedByCodeWithTheArtOfEachState) {
    const auto& table = ToolTable();
    std::set<int> art;
    for (int code = 0; code < kToolCount; ++code) {
        const CToolInfo& t = table[static_cast<std::size_t>(code)];
        EXPECT_EQ(t.code, code);
        art.insert({t.up, t.down, t.disabled});
    }
    EXPECT_EQ(art.size(), 3u * kToolCount) << "every state has a drawing of its own";
    EXPECT_EQ(table[kToolIgnore].up, 380);
    EXPECT_EQ(table[kToolIgnore].disabled, 378);
    EXPECT_EQ(table[kToolMystery].down, 307);
}

TEST(ToolPalette, FiveRowsOfTwoColumnsWithTheArrowLatched) {
    const CToolPaletteModel palette;
    EXPECT_EQ(palette.size().cy, 213);
    EXPECT_EQ(palette.size().cx, CToolPaletteModel::kWidth);
    EXPECT_EQ(palette.pressed(), 1271);

    // Row tops at 1, 43, 85, 127, 169; columns at 1 and 43.
    const auto at = [&](int code) { return palette.Find(ToolCommand(code))->rect; };
    EXPECT_EQ(at(kToolArrow), (CRect{1, 1, 43, 43}));
    EXPECT_EQ(at(kToolSelector), (CRect{43, 1, 85, 43}));
    EXPECT_EQ(at(kToolEraser), (CRect{1, 43, 43, 85}));
    EXPECT_EQ(at(kToolWriting), (CRect{43, 43, 85, 85}));
    EXPECT_EQ(at(kToolHelp), (CRect{1, 85, 43, 127}));
    for (int shared : {kToolMystery, kToolAnglemeter, kToolIgnore})
        EXPECT_EQ(at(shared), (CRect{43, 85, 85, 127}));
    for (int shared : {kToolLinemaker, kToolLinking})
        EXPECT_EQ(at(shared), (CRect{1, 127, 43, 169}));
    EXPECT_EQ(at(kToolCutShape), (CRect{43, 127, 85, 169}));
    EXPECT_EQ(at(kToolHideShowLines), (CRect{1, 169, 43, 211}));
    EXPECT_LE(at(kToolHideShowLines).bottom, palette.size().cy);
    EXPECT_LE(at(kToolSelector).right, palette.size().cx);
}

TEST(ToolPalette, CutToRowsKeepsOnlyTheirButtons) {
    CToolPaletteModel three(3);
    EXPECT_EQ(three.size().cy, 3 * 42 + 3);
    EXPECT_NE(three.Find(ToolCommand(kToolHelp)), nullptr);
    EXPECT_NE(three.Find(ToolCommand(kToolMystery)), nullptr);
    EXPECT_EQ(three.Find(ToolCommand(kToolLinemaker)), nullptr);
    EXPECT_EQ(three.Find(ToolCommand(kToolHideShowLines)), nullptr);
    EXPECT_FALSE(three.Press(ToolCommand(kToolCutShape)));

    EXPECT_EQ(CToolPaletteModel(1).size().cy, 45);
    EXPECT_EQ(CToolPaletteModel(0).rows(), 1);
    EXPECT_EQ(CToolPaletteModel(9).rows(), 5);
}

TEST(ToolPalette, PressingLatchesOneButtonAndReleasesThePrevious) {
    CToolPaletteModel palette;
    EXPECT_TRUE(palette.Press(ToolCommand(kToolEraser)));
    EXPECT_EQ(palette.pressed(), ToolCommand(kToolEraser));
    EXPECT_TRUE(palette.Press(ToolCommand(kToolHelp)));
    EXPECT_EQ(palette.pressed(), ToolCommand(kToolHelp));
    // Pressing the latched button again keeps it latched.
    EXPECT_TRUE(palette.Press(ToolCommand(kToolHelp)));
    EXPECT_EQ(palette.pressed(), ToolCommand(kToolHelp));
    // Latching from code sends nothing but moves the latch.
    palette.SetPressed(ToolCommand(kToolArrow));
    EXPECT_EQ(palette.pressed(), 1271);
}

TEST(ToolPalette, HiddenOrGreyedButtonsDoNotLatch) {
    CToolPaletteModel palette;
    EXPECT_FALSE(palette.IsShown(kToolMystery));
    EXPECT_FALSE(palette.Press(ToolCommand(kToolMystery)));
    palette.EnableTool(kToolEraser, false);
    EXPECT_FALSE(palette.Press(ToolCommand(kToolEraser)));
    EXPECT_EQ(palette.pressed(), 1271);
    EXPECT_FALSE(palette.Press(1234));
}

TEST(ToolPalette, ShowingAToolHidesTheOthersInItsPlace) {
    CToolPaletteModel palette;
    EXPECT_TRUE(palette.IsShown(kToolAnglemeter));
    EXPECT_TRUE(palette.IsShown(kToolLinemaker));

    palette.ShowTool(kToolMystery);
    palette.ShowTool(kToolLinking);
    EXPECT_TRUE(palette.IsShown(kToolMystery));
    EXPECT_FALSE(palette.IsShown(kToolAnglemeter));
    EXPECT_FALSE(palette.IsShown(kToolIgnore));
    EXPECT_TRUE(palette.IsShown(kToolLinking));
    EXPECT_FALSE(palette.IsShown(kToolLinemaker));
    EXPECT_TRUE(palette.IsShown(kToolCutShape)) << "a neighbour keeps its place";
    EXPECT_EQ(palette.ButtonAt({60, 100}), ToolCommand(kToolMystery));

    palette.ShowTool(kToolIgnore);
    EXPECT_FALSE(palette.IsShown(kToolMystery));
    EXPECT_EQ(palette.ButtonAt({60, 100}), ToolCommand(kToolIgnore));

    palette.ShowTool(kToolIgnore, false);
    EXPECT_EQ(palette.ButtonAt({60, 100}), 0) << "an empty place";
}

TEST(ToolPalette, ButtonAtFindsTheShownButtonOrNothing) {
    const CToolPaletteModel palette;
    EXPECT_EQ(palette.ButtonAt({1, 1}), 1271);
    EXPECT_EQ(palette.ButtonAt({42, 42}), 1271);
    EXPECT_EQ(palette.ButtonAt({43, 42}), 1272);
    EXPECT_EQ(palette.ButtonAt({0, 0}), 0) << "the border";
    EXPECT_EQ(palette.ButtonAt({60, 190}), 0) << "row 5 has no right button";
}

TEST(ToolPalette, EveryToolHasItsHelpText) {
    for (int code = 0; code < kToolCount; ++code)
        EXPECT_TRUE(LoadString(ToolCommand(code)))
            << ToolTable()[static_cast<std::size_t>(code)].name;
    EXPECT_EQ(HelpText(ToolCommand(kToolEraser)), "Use the Eraser to click objects to erase.");
}

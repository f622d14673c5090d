// The geometry page's routing without a screen: drawers cycling among the available ones,
// shapes taken out and dropped back, scripts refusing tools and drawers while they record,
// the segment tools before the Arrow, and the navigator's fractions as pane offsets.
#include "geometry/anglemeter_manipulative.h"
#include "geometry/geometry_document.h"
#include "geometry/geometry_view_controller.h"
#include "geometry/photo_controller.h"
#include "geometry/shape_catalogue.h"
#include "workspace/tool_palette.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

class FakeWindow : public IUnitViewWindow, public IGeometryViewWindow {
public:
    int pressedTool = 0;
    int drawerChanges = 0;
    CPoint scroll;
    void EnableView(bool) override {}
    void ShowButton(int, bool) override {}
    CRect ButtonRect(int) const override { return {}; }
    int ControlIdAt(CPoint) const override { return 0; }
    void PressToolButton(int command) override { pressedTool = command; }
    void CloseUnit() override {}
    void ScrollPaneTo(int x, int y) override { scroll = {x, y}; }
    void DrawerChanged() override { ++drawerChanges; }
};

class GeometryViewControllerTest : public ::testing::Test {
protected:
    GeometryViewControllerTest() {
        doc.SetHost(&host);
        auto fakeTimers = std::make_unique<FakeTimerHost>();
        timers = fakeTimers.get();
        controller = std::make_unique<CGeometryViewController>(doc, window, std::move(fakeTimers),
                                                               std::make_unique<FakeTextMetrics>());
        controller->SetGeometryWindow(&window);
    }

    void Tool(int code) { controller->OnCommand(ToolCommand(code)); }
    void Drag(CPoint from, CPoint to) {
        controller->MouseDown(from);
        controller->MouseMove(to);
        controller->MouseUp(to);
    }

    FakeDocumentHost host;
    CGeometryUnitDocument doc;
    FakeWindow window;
    FakeTimerHost* timers = nullptr;
    std::unique_ptr<CGeometryViewController> controller;
};

TEST_F(GeometryViewControllerTest, DrawersCycleAmongTheFixedOnesBothWays) {
    EXPECT_EQ(controller->currentDrawer(), 0);
    std::vector<int> forward;
    controller->SetDrawerAvailable(3, false); // the student drawers 4 and 5
    window.drawerChanges = 0;
    for (int i = 0; i < 5; ++i) {
        controller->NextDrawer();
        forward.push_back(controller->currentDrawer());
    }
    // 1, 2, 3, 6, then 1 again.
    EXPECT_EQ(forward, (std::vector<int>{1, 2, 5, 0, 1}));
    controller->PreviousDrawer();
    controller->PreviousDrawer();
    EXPECT_EQ(controller->currentDrawer(), 5);
    EXPECT_EQ(window.drawerChanges, 7);
}

TEST_F(GeometryViewControllerTest, NoDrawerOpenWhenNoneIsAvailable) {
    for (int d : {1, 2, 3, 5})
        controller->SetDrawerAvailable(d, false);
    controller->NextDrawer();
    EXPECT_EQ(controller->currentDrawer(), 0) << "the only drawer left comes round again";
    controller->SetDrawerAvailable(0, false);
    EXPECT_EQ(controller->currentDrawer(), -1);
    EXPECT_EQ(controller->TakeFromDrawer(0, {100, 100}), nullptr);
    EXPECT_EQ(controller->SlotName(0), "");
    controller->SetDrawerAvailable(2, true);
    EXPECT_EQ(controller->currentDrawer(), 2);
    EXPECT_EQ(controller->SlotName(1), "rhombus 1");
}

TEST_F(GeometryViewControllerTest, ShapeTakenFromTheOpenDrawerAtTheDropPoint) {
    controller->NextDrawer(); // drawer 2: triangles 1 to 5
    CManipulative* shape = controller->TakeFromDrawer(2, {200, 150});
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->kind(), 8);
    EXPECT_EQ(shape->centre().Rounded(), (CPoint{200, 150}));
    EXPECT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_EQ(controller->TakeFromDrawer(5, {10, 10}), nullptr) << "drawer 2's last slot is empty";
}

TEST_F(GeometryViewControllerTest, UndoingAPhotoShowsTheRestoredStrip) {
    struct StripWindow : IPhotoWindow {
        int changes = 0;
        void StripChanged() override { ++changes; }
    } strip;
    controller->photos().SetWindow(&strip);
    controller->photos().TakePhoto({100, 50, 248, 150}, false);
    const int told = strip.changes;
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.photoStrip().size(), 0u);
    EXPECT_GT(strip.changes, told);
    controller->photos().SetWindow(nullptr);
}

TEST_F(GeometryViewControllerTest, SelectionDroppedOnAFixedDrawerGoesBackIntoIt) {
    controller->TakeFromDrawer(1, {200, 150});
    controller->TakeFromDrawer(0, {400, 150});
    EXPECT_FALSE(controller->DropSelectionOnDrawer()) << "no drag under way";
    controller->MouseDown({200, 150});
    controller->MouseMove({200, 400});
    ASSERT_TRUE(controller->DraggingSelection());
    EXPECT_TRUE(controller->DropSelectionOnDrawer());
    ASSERT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_EQ(doc.manipulatives().front()->kind(), 0);
    EXPECT_TRUE(doc.selection().empty());
    // The drag and its drop are one step.
    doc.Undo();
    EXPECT_EQ(doc.manipulatives().size(), 2u);
}

TEST_F(GeometryViewControllerTest, RecordingKeepsToolsDrawersAndTheBroomAway) {
    controller->TakeFromDrawer(0, {200, 150});
    controller->MouseDown({200, 150});
    controller->MouseUp({200, 150});
    ASSERT_EQ(doc.selection().size(), 1u);
    Tool(kToolAnglemeter);
    ASSERT_EQ(doc.currentTool(), kToolAnglemeter);

    host.prompter.texts.push_back(std::string("spin"));
    controller->OnCommand(kCmdRecord);
    ASSERT_TRUE(controller->scripts().recording());
    EXPECT_EQ(doc.currentTool(), kToolArrow) << "recording chooses the Arrow";

    Tool(kToolEraser);
    EXPECT_EQ(doc.currentTool(), kToolArrow);
    EXPECT_FALSE(controller->IsCommandEnabled(ToolCommand(kToolEraser)));
    EXPECT_FALSE(controller->IsCommandEnabled(kBroomCommand));
    EXPECT_EQ(controller->TakeFromDrawer(1, {400, 400}), nullptr);

    // A command goes through the script, which records it.
    controller->OnCommand(kCmdCopy);
    EXPECT_EQ(doc.manipulatives().size(), 2u);
    ASSERT_EQ(doc.scripts().at(0).steps.size(), 1u);
    EXPECT_EQ(doc.scripts().at(0).steps[0].text, "COPY");

    controller->OnCommand(kCmdEndRecord);
    EXPECT_TRUE(controller->IsCommandEnabled(ToolCommand(kToolEraser)));
}

TEST_F(GeometryViewControllerTest, AnglemeterToolPlacesAndTheArrowTurnsItsArm) {
    Tool(kToolAnglemeter);
    controller->MouseDown({300, 300});
    controller->MouseUp({300, 300});
    ASSERT_EQ(doc.manipulatives().size(), 1u);
    auto* meter = dynamic_cast<CAnglemeterManipulative*>(doc.manipulatives().front().get());
    ASSERT_NE(meter, nullptr);
    EXPECT_EQ(meter->label(), "90");

    // Arm 1 ends 1.5 lengths right of the vertex; with the Arrow it is turned straight down.
    Tool(kToolArrow);
    const CPoint armEnd{300 + static_cast<int>(1.5 * kUnitLength), 300};
    Drag(armEnd, {300, 380});
    EXPECT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_TRUE(doc.selection().empty()) << "the arm's drag selects nothing";
    CRect frame = meter->GetFrameOf();
    EXPECT_GT(frame.bottom, 340);
}

TEST_F(GeometryViewControllerTest, NavigatorFractionsBecomePaneOffsets) {
    controller->SetPaneSize({700, 400});
    EXPECT_EQ(controller->workspaceRect(), (CRect{0, 0, 1400, 800}));
    controller->ScrollWorkspaceTo(0.5, 1.0);
    EXPECT_EQ(window.scroll, (CPoint{350, 400}));
}

TEST_F(GeometryViewControllerTest, WhatGoesIntoAStudentDrawerLeavesThePanel) {
    struct Panel : IShapeCommandPanel {
        int width = -1;
        Color colour = 0;
        std::string AngleText() const override { return "90"; }
        void SetAngleText(const std::string&) override {}
        void ShowLineWidth(int w) override { width = w; }
        void ShowColor(Color c) override { colour = c; }
    } panel;
    controller->commands().SetPanel(&panel);
    controller->TakeFromDrawer(1, {200, 150});
    controller->MouseDown({200, 150});
    controller->MouseMove({200, 400});
    EXPECT_EQ(panel.width, 1);
    while (doc.currentDrawer() != 3)
        controller->NextDrawer();
    ASSERT_TRUE(controller->DropSelectionOnDrawer(0, CPoint{200, 400}));
    ASSERT_NE(doc.StudentDrawerEntry(3, 0), nullptr);
    EXPECT_TRUE(doc.selection().empty());
    EXPECT_EQ(panel.width, 0);
    EXPECT_EQ(panel.colour, kNoColor);
    controller->commands().SetPanel(nullptr);
}

TEST_F(GeometryViewControllerTest, TheKeyboardAloneTakesSelectsAndMovesShapes) {
    const CRect shown{0, 0, 700, 400};
    CManipulative* first = controller->TakeFromDrawerByKey(1, shown);
    CManipulative* second = controller->TakeFromDrawerByKey(1, shown);
    ASSERT_TRUE(first && second);
    // Beside the last one, not on top of it.
    EXPECT_GT(second->GetFrameOf().left, first->GetFrameOf().right - 4);
    EXPECT_EQ(second->centre().y, first->centre().y);

    // Tab: topmost first; past the last nothing is selected and the focus may go on.
    using Selection = std::vector<CManipulative*>;
    EXPECT_TRUE(controller->TabSelect(false));
    EXPECT_EQ(doc.selection(), Selection{second});
    EXPECT_TRUE(controller->TabSelect(false));
    EXPECT_EQ(doc.selection(), Selection{first});
    EXPECT_FALSE(controller->TabSelect(false));
    EXPECT_TRUE(doc.selection().empty());
    EXPECT_TRUE(controller->TabSelect(true));
    EXPECT_EQ(doc.selection(), Selection{first});

    // A burst of arrow presses is one undo step.
    const CRect before = first->GetFrameOf();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(controller->KeyMove(1, 0));
    EXPECT_TRUE(controller->KeyMove(0, 10));
    controller->EndKeyMoves();
    EXPECT_EQ(first->GetFrameOf().left, before.left + 3);
    EXPECT_EQ(first->GetFrameOf().top, before.top + 10);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.manipulatives()[0]->GetFrameOf(), before);
    EXPECT_EQ(doc.manipulatives().size(), 2u);
}

TEST_F(GeometryViewControllerTest, AngleSpinWrapsThroughTheCommandsPanel) {
    class Panel : public IShapeCommandPanel {
    public:
        std::string text = "360";
        std::string AngleText() const override { return text; }
        void SetAngleText(const std::string& t) override { text = t; }
    } panel;
    controller->commands().SetPanel(&panel);
    controller->SpinAngle(1);
    EXPECT_EQ(panel.text, "0");
    controller->SpinAngle(-1);
    EXPECT_EQ(panel.text, "360");
}

} // namespace

// The geometry page's controller with its document: the options command and what applying
// options tells the page and the shape commands, the student drawers through drags, and the
// view state handed to the page around saving and loading.
#include "geometry/geometry_document.h"
#include "geometry/geometry_view_controller.h"
#include "geometry/shape_catalogue.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

class FakePage : public IUnitViewWindow, public IGeometryViewWindow {
public:
    int pressedTool = 0;
    CPoint scroll{-1, -1};
    std::vector<CGeometryViewControls> applied;
    std::vector<int> clicks; // user page controls the sheet gets clicked
    bool ok = true;
    int stored = 0;
    int loaded = 0;

    void EnableView(bool) override {}
    void ShowButton(int, bool) override {}
    CRect ButtonRect(int) const override { return {}; }
    int ControlIdAt(CPoint) const override { return 0; }
    void PressToolButton(int command) override { pressedTool = command; }
    void CloseUnit() override {}
    void ScrollPaneTo(int x, int y) override { scroll = {x, y}; }
    void OptionsApplied(const CGeometryViewControls& c, const CGeometryOptions&) override {
        applied.push_back(c);
    }
    bool RunOptionsSheet(COptionsSheet& sheet) override {
        for (int id : clicks)
            sheet.Click(OptionsPage::User, id);
        return ok;
    }
    void StoreViewState(CGeometryUnitDocument& doc) override {
        ++stored;
        doc.SetAngleValue(30);
    }
    void ViewStateLoaded(CGeometryUnitDocument&) override { ++loaded; }
    std::vector<CRect> invalidated;
    void InvalidateRect(const CRect& r) override { invalidated.push_back(r); }
};

class GeometryPageDocumentTest : public ::testing::Test {
protected:
    GeometryPageDocumentTest() {
        doc.SetHost(&host);
        controller = std::make_unique<CGeometryViewController>(
            doc, page, std::make_unique<FakeTimerHost>(), std::make_unique<FakeTextMetrics>());
        controller->SetGeometryWindow(&page);
        controller->SetPaneSize({500, 400});
    }
    ~GeometryPageDocumentTest() override { controller.reset(); }

    void OpenStudentDrawer4() {
        while (doc.currentDrawer() != 3)
            controller->NextDrawer();
    }

    FakeDocumentHost host;
    CGeometryUnitDocument doc;
    FakePage page;
    std::unique_ptr<CGeometryViewController> controller;
};

TEST_F(GeometryPageDocumentTest, TheOptionsCommandAppliesWhatThePupilChose) {
    // Rotation points "Set", snapping "Off", the entire view.
    page.clicks = {1096, 1113, 1111};
    page.ok = false;
    EXPECT_TRUE(controller->OnCommand(kTessellationOptionsCommand));
    EXPECT_TRUE(page.applied.empty()) << "Cancel applies nothing";
    EXPECT_EQ(controller->commands().rotationPointMode(), RotationPointMode::Show);

    page.ok = true;
    EXPECT_TRUE(controller->OnCommand(kTessellationOptionsCommand));
    ASSERT_EQ(page.applied.size(), 1u);
    EXPECT_TRUE(page.applied[0].entireView);
    EXPECT_FALSE(page.applied[0].navigator);
    EXPECT_EQ(page.scroll, (CPoint{0, 0})) << "the entire view shows the workspace from its corner";
    EXPECT_EQ(controller->commands().rotationPointMode(), RotationPointMode::Set);
    EXPECT_FALSE(controller->commands().snapping());

    // Shapes from a fixed drawer come out at half size in the entire view.
    CManipulative* half = controller->TakeFromDrawer(1, {100, 100});
    ASSERT_NE(half, nullptr);
    const auto whole = MakeDrawerShape(1, C3DPointDouble(100, 100, 0.0));
    EXPECT_LT(half->GetFrameOf().Width(), whole->GetFrameOf().Width() * 3 / 4);
}

TEST_F(GeometryPageDocumentTest, ADragOntoAStudentSlotStoresTheShapeAsOneStep) {
    ASSERT_NE(controller->TakeFromDrawer(1, {200, 150}), nullptr);
    OpenStudentDrawer4();
    controller->MouseDown({200, 150});
    controller->MouseMove({200, 700});
    ASSERT_TRUE(controller->DraggingSelection());
    EXPECT_TRUE(controller->DropSelectionOnDrawer(2, CPoint{200, 700}));
    EXPECT_TRUE(doc.manipulatives().empty());
    ASSERT_NE(doc.StudentDrawerEntry(3, 2), nullptr);

    // Undo brings the shape back where the drag began and empties the slot.
    ASSERT_TRUE(doc.Undo());
    ASSERT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_EQ(doc.manipulatives()[0]->centre().Rounded(), (CPoint{200, 150}));
    EXPECT_EQ(doc.StudentDrawerEntry(3, 2), nullptr);
}

TEST_F(GeometryPageDocumentTest, ADropBesideTheSlotsPutsTheSelectionBack) {
    ASSERT_NE(controller->TakeFromDrawer(0, {200, 150}), nullptr);
    const CPoint start = doc.manipulatives()[0]->centre().Rounded();
    OpenStudentDrawer4();
    controller->MouseDown({200, 150});
    controller->MouseMove({260, 690});
    EXPECT_TRUE(controller->DropSelectionOnDrawer(-1, CPoint{260, 690}));
    EXPECT_EQ(host.prompter.LastText(), kOpenDrawerFirst);
    ASSERT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_EQ(doc.manipulatives()[0]->centre().Rounded(), start);
    EXPECT_FALSE(controller->DraggingSelection());

    // A stored shape comes out of the student drawer through the page as well.
    doc.Select(doc.manipulatives()[0].get());
    ASSERT_TRUE(doc.PutSelectionIntoStudentDrawer(0));
    CManipulative* out = controller->TakeFromDrawer(0, {300, 300});
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->kind(), 18);
    EXPECT_EQ(controller->SlotName(0), "");
    doc.SetStudentDrawerLabel(3, 0, "my triangle");
    EXPECT_EQ(controller->SlotName(0), "my triangle");
}

TEST_F(GeometryPageDocumentTest, InTheEntireViewTheDrawerPreviewIsTheShapeThatLands) {
    // A hexagon kept whole in student drawer 4's first slot, then the entire view.
    ASSERT_NE(controller->TakeFromDrawer(3, {200, 150}), nullptr);
    OpenStudentDrawer4();
    doc.Select(doc.manipulatives()[0].get());
    ASSERT_TRUE(doc.PutSelectionIntoStudentDrawer(0));
    CGeometryOptions entire = doc.options();
    entire.user[kOptView] = 1;
    doc.SetOptions(entire);

    const CPoint at{310, 170};
    struct Case {
        int drawer, slot, catalogueIndex, emptySlot;
    };
    for (const Case c : {Case{1, 3, 9, 5}, Case{3, 0, 3, 1}}) {
        while (doc.currentDrawer() != c.drawer)
            controller->NextDrawer();
        controller->PreviewFromDrawer(c.slot, at);
        ASSERT_NE(controller->drawerPreview(), nullptr) << c.drawer;
        const auto preview = controller->drawerPreview()->Clone();
        const auto whole = MakeDrawerShape(c.catalogueIndex, C3DPointDouble(at));
        EXPECT_NEAR(preview->GetFrameOf().Width(), whole->GetFrameOf().Width() / 2.0, 2)
            << c.drawer;

        CManipulative* landed = controller->TakeFromDrawer(c.slot, at);
        ASSERT_NE(landed, nullptr) << c.drawer;
        EXPECT_TRUE(landed->IsEqualTo(*preview)) << c.drawer;
        EXPECT_EQ(landed->GetFrameOf(), preview->GetFrameOf()) << c.drawer;

        // Over an empty slot the preview goes, and where it was is drawn again.
        page.invalidated.clear();
        controller->PreviewFromDrawer(c.emptySlot, at);
        EXPECT_EQ(controller->drawerPreview(), nullptr) << c.drawer;
        ASSERT_FALSE(page.invalidated.empty()) << c.drawer;
        const CRect redrawn = page.invalidated.back();
        EXPECT_EQ(redrawn.United(preview->GetFrameOf()), redrawn) << c.drawer;
    }
}

TEST_F(GeometryPageDocumentTest, ThePageGivesItsViewStateBeforeSavingAndShowsItAfterLoading) {
    doc.SetCurrentTool(kToolEraser);
    const std::vector<std::uint8_t> saved = doc.SaveToBytes();
    EXPECT_EQ(page.stored, 1);
    EXPECT_EQ(doc.angleValue(), 30);

    doc.SetCurrentTool(kToolArrow);
    ASSERT_EQ(doc.LoadFromBytes(saved), OpenResult::Opened);
    EXPECT_EQ(page.loaded, 1);
    EXPECT_EQ(controller->currentTool(), kToolEraser);
    EXPECT_EQ(page.pressedTool, ToolCommand(kToolEraser));

    // A document saved under the Help tool opens with the Arrow.
    doc.SetCurrentTool(kToolHelp);
    ASSERT_EQ(doc.LoadFromBytes(doc.SaveToBytes()), OpenResult::Opened);
    EXPECT_EQ(controller->currentTool(), kToolArrow);
}

} // namespace

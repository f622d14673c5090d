// The shape commands: guards and messages, the animations tick by tick, scale limits, copy,
// stamp, group, z-order, colours, undo steps, drawers and the mouse tools.
#include "geometry/geometry_document.h"
#include "geometry/poly_shape_manipulative.h"
#include "geometry/shape_catalogue.h"
#include "geometry/shape_commands.h"
#include "geometry/shape_manipulative.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

constexpr Color kRed = PaletteRGB(255, 0, 0);
constexpr Color kGreen = PaletteRGB(0, 255, 0);

std::unique_ptr<CShapeManipulative> Square(int x, int y, int side) {
    std::vector<CLine> lines = {CLine(CPoint{x, y}, CPoint{x + side, y}),
                                CLine(CPoint{x + side, y}, CPoint{x + side, y + side}),
                                CLine(CPoint{x + side, y + side}, CPoint{x, y + side}),
                                CLine(CPoint{x, y + side}, CPoint{x, y})};
    return std::make_unique<CShapeManipulative>(lines, kRed);
}

// Stand-ins for the anglemeter and the writing tool's annotation, which only need their codes.
template <std::int32_t Type> class Typed : public CLineManipulative {
public:
    Typed() : CLineManipulative({CLine(CPoint{0, 0}, CPoint{10, 0})}) { SetVisible(true); }
    std::int32_t GetType() const override { return Type; }
    std::unique_ptr<CManipulative> Clone() const override { return std::make_unique<Typed>(); }
};
using FakeAnglemeter = Typed<kTypeAnglemeter>;
using FakeAnnotation = Typed<kTypeAnnotator>;

class FakeView : public IWorkspaceView {
public:
    std::vector<CRect> rects;
    int full = 0;
    void InvalidateRect(const CRect& r) override { rects.push_back(r); }
    void InvalidateAll() override { ++full; }
};

class FakePanel : public IShapeCommandPanel {
public:
    std::string angle = "30";
    int width = -1;
    Color color = 0;
    int finished = 0;
    std::string AngleText() const override { return angle; }
    void SetAngleText(const std::string& text) override { angle = text; }
    void ShowLineWidth(int w) override { width = w; }
    void ShowColor(Color c) override { color = c; }
    void AnimationFinished() override { ++finished; }
};

// A geometry workspace with recording fakes around its controller.
class ShapeCommands : public ::testing::Test {
protected:
    CGeometryUnitDocument doc;
    FakePrompter prompter;
    FakeTimerHost timers;
    FakeView view;
    FakePanel panel;
    CShapeCommandController c{doc, prompter, timers};

    ShapeCommands() {
        doc.SetView(&view);
        c.SetPanel(&panel);
    }

    CManipulative* Add(std::unique_ptr<CManipulative> m, bool select = false) {
        CManipulative* raw = doc.AddManipulative(std::move(m));
        if (select)
            doc.Select(raw);
        return raw;
    }

    // Fires `id` until it stops; the number of ticks.
    int RunToEnd(std::uint32_t id) {
        int ticks = 0;
        while (timers.Fire(id) && ticks < 1000)
            ++ticks;
        return ticks;
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& m : prompter.messages)
            texts.push_back(m.text);
        return texts;
    }
};

bool SameFigure(const CManipulative& a, const CManipulative& b) {
    return a.IsEqualTo(b);
}

CRect BoundsOf(const CManipulative& m) {
    CRect r;
    m.GetBounds(r);
    return r;
}

} // namespace

// --- guards ----------------------------------------------------------------------------------

TEST_F(ShapeCommands, EmptySelectionAsksForAnObject) {
    Add(Square(0, 0, 40));
    for (int id : {kCmdGroup, kCmdUngroup, kCmdCopy, kCmdStamp, kCmdEnlarge, kCmdReduce,
                   kCmdFlipHorizontal, kCmdFlipVertical, kCmdRotateRight, kCmdRotateLeft,
                   kCmdThinLine, kCmdThickLine, kCmdFirstColor, kCmdBringToFront, kCmdSendToBack}) {
        prompter.messages.clear();
        EXPECT_TRUE(c.OnCommand(id));
        EXPECT_EQ(Messages(), std::vector<std::string>{kPleaseSelect}) << id;
    }
    EXPECT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_FALSE(c.IsAnimating());
    EXPECT_FALSE(c.OnCommand(1003));
}

TEST_F(ShapeCommands, TransformationsRefuseASelectionOfAnnotationsOnly) {
    Add(std::make_unique<FakeAnnotation>(), true);
    for (int id : {kCmdEnlarge, kCmdReduce, kCmdFlipHorizontal, kCmdFlipVertical, kCmdRotateRight,
                   kCmdRotateLeft}) {
        prompter.messages.clear();
        c.OnCommand(id);
        EXPECT_EQ(Messages(), std::vector<std::string>{kPleaseSelect}) << id;
    }
    prompter.messages.clear();
    c.OnCopy();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(doc.manipulatives().size(), 2u);
}

TEST_F(ShapeCommands, CommandsDuringAnAnimationAreIgnored) {
    CManipulative* s = Add(Square(0, 0, 40), true);
    ASSERT_TRUE(c.OnRotateRight());
    ASSERT_TRUE(timers.IsRunning(kRotateTimer));
    for (int id : std::initializer_list<int>{
             kCmdGroup, kCmdUngroup, kCmdCopy, kCmdStamp, kCmdEnlarge, kCmdReduce,
             kCmdFlipHorizontal, kCmdFlipVertical, kCmdRotateRight, kCmdRotateLeft, kCmdThinLine,
             kCmdFirstColor + 4, kCmdSendToBack, kCmdSelectAllShapes, kCmdClearAnglemeters,
             kCmdResetRotationPoint})
        c.OnCommand(id);
    c.MouseDown({500, 500});
    EXPECT_EQ(c.mouseAction(), MouseAction::None);
    EXPECT_EQ(c.TakeFromDrawer(0, 0, C3DPointDouble(300, 300)), nullptr);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_EQ(timers.running.size(), 1u);
    EXPECT_EQ(s->GetLineWidth(), 1);
    EXPECT_EQ(c.runningTimer(), kRotateTimer);
    EXPECT_EQ(RunToEnd(kRotateTimer), 3);
}

// --- rotation --------------------------------------------------------------------------------

TEST_F(ShapeCommands, ThirtyDegreesTakeThreeTicks) {
    CManipulative* s = Add(Square(100, 100, 40), true);
    const C3DPointDouble about = doc.selectionRotationPoint();
    auto expected = s->Clone();
    ASSERT_TRUE(c.OnRotateRight());
    for (double degrees : {12.0, 12.0}) {
        ASSERT_TRUE(timers.Fire(kRotateTimer));
        expected->Rotate(degrees * 2 * kPi / 360, about);
        EXPECT_TRUE(SameFigure(*s, *expected));
        EXPECT_TRUE(timers.IsRunning(kRotateTimer));
    }
    ASSERT_TRUE(timers.Fire(kRotateTimer));
    expected->Rotate(6 * 2 * kPi / 360, about);
    EXPECT_TRUE(SameFigure(*s, *expected));
    EXPECT_FALSE(timers.IsRunning(kRotateTimer));
    EXPECT_FALSE(c.IsAnimating());
    EXPECT_EQ(panel.finished, 1);
    EXPECT_GE(view.full, 1);
}

TEST_F(ShapeCommands, ThreeHundredSixtyDegreesTakeThirtyTicksAndComeBack) {
    CManipulative* s = Add(Square(100, 100, 40), true);
    auto start = s->Clone();
    panel.angle = "360";
    ASSERT_TRUE(c.OnRotateLeft());
    EXPECT_EQ(RunToEnd(kRotateTimer), 30);
    EXPECT_TRUE(SameFigure(*s, *start));
}

TEST_F(ShapeCommands, SmoothingWaitsForTheEndOfALargeAnimation) {
    for (int i = 0; i < 101; ++i)
        Add(Square(10 + i, 10, 20), i > 0);
    ASSERT_TRUE(c.OnRotateLeft());
    EXPECT_TRUE(c.SmoothingAffordable()); // a hundred selected
    c.StopAnimation();
    doc.Select(doc.manipulatives().front().get());
    ASSERT_TRUE(c.OnRotateLeft());
    EXPECT_FALSE(c.SmoothingAffordable());
    RunToEnd(kRotateTimer);
    EXPECT_TRUE(c.SmoothingAffordable());
    for (int i = 0; i < 900; ++i)
        Add(Square(10, 10, 20));
    EXPECT_FALSE(c.SmoothingAffordable()); // 1,001 manipulatives
}

TEST_F(ShapeCommands, RightTurnsClockwiseAndLeftAnticlockwise) {
    CManipulative* s = Add(Square(100, 100, 40), true);
    // The top-right corner, right of and above the centre (120, 120).
    panel.angle = "90";
    c.OnRotateRight();
    RunToEnd(kRotateTimer);
    EXPECT_NEAR(s->lines()[1].start().x, 140, 1e-9);
    EXPECT_NEAR(s->lines()[1].start().y, 140, 1e-9);
    c.OnRotateLeft();
    RunToEnd(kRotateTimer);
    c.OnRotateLeft();
    RunToEnd(kRotateTimer);
    EXPECT_NEAR(s->lines()[1].start().x, 100, 1e-9);
    EXPECT_NEAR(s->lines()[1].start().y, 100, 1e-9);
}

TEST_F(ShapeCommands, AnglesOutsideOneTo360AreRefused) {
    CManipulative* s = Add(Square(100, 100, 40), true);
    s->SetHighlighted(true);
    auto start = s->Clone();
    for (const char* text : {"0", "361", "-30", "abc", "", "30x", "nan", "1e3"}) {
        prompter.messages.clear();
        panel.angle = text;
        EXPECT_FALSE(c.OnRotateRight()) << text;
        EXPECT_EQ(Messages(), std::vector<std::string>{kAngleRange}) << text;
        EXPECT_FALSE(c.IsAnimating());
    }
    EXPECT_TRUE(SameFigure(*s, *start));
    EXPECT_TRUE(s->highlighted());
    for (const char* text : {"0.5", " 360 ", "+15"}) {
        panel.angle = text;
        EXPECT_TRUE(c.OnRotateLeft()) << text;
        RunToEnd(kRotateTimer);
    }
    EXPECT_EQ(ParseRotationAngle("0.5"), 0.5);
    EXPECT_EQ(ParseRotationAngle("360"), 360.0);
    EXPECT_FALSE(ParseRotationAngle("360.01"));
}

TEST_F(ShapeCommands, EveryTickRedrawsTheOldAndNewBoxes) {
    Add(Square(100, 100, 40), true);
    c.OnRotateRight();
    CRect before = c.SelectionFrame();
    while (c.IsAnimating()) {
        view.rects.clear();
        timers.Fire(kRotateTimer);
        const CRect after = c.SelectionFrame();
        const CRect both = before.United(after);
        const bool covered = std::any_of(view.rects.begin(), view.rects.end(),
                                         [&](const CRect& r) { return r.United(both) == r; });
        EXPECT_TRUE(covered);
        before = after;
    }
}

TEST_F(ShapeCommands, WithoutATimerTheTransformationStillCompletes) {
    CManipulative* s = Add(Square(100, 100, 40), true);
    auto expected = s->Clone();
    expected->Rotate(kPi / 6, doc.selectionRotationPoint());
    timers.refuse = true;
    EXPECT_TRUE(c.OnRotateRight());
    EXPECT_FALSE(c.IsAnimating());
    EXPECT_TRUE(SameFigure(*s, *expected));
}

// --- spin buttons ----------------------------------------------------------------------------

TEST(AngleSpin, StepsAndWraps) {
    EXPECT_EQ(SpinAngleText("30", 1), "31");
    EXPECT_EQ(SpinAngleText("30", -1), "29");
    EXPECT_EQ(SpinAngleText("360", 1), "0");
    EXPECT_EQ(SpinAngleText("0", -1), "360");
    EXPECT_EQ(SpinAngleText("359.5", 1), "0");
    EXPECT_EQ(SpinAngleText("0.5", -1), "360");
    EXPECT_EQ(SpinAngleText("12.5", 1), "13.5");
    EXPECT_EQ(SpinAngleText("abc", 1), "1");
}

TEST_F(ShapeCommands, SpinButtonsWriteTheAngleBox) {
    panel.angle = "360";
    c.OnAngleUp();
    EXPECT_EQ(panel.angle, "0");
    c.OnAngleDown();
    EXPECT_EQ(panel.angle, "360");
}

// --- scaling and flips -----------------------------------------------------------------------

TEST_F(ShapeCommands, SevenEnlargementsThenNoMoreAndTwelveReductionsReachMinusFive) {
    CManipulative* s = Add(Square(100, 100, 40), true);
    for (int i = 1; i <= 7; ++i) {
        ASSERT_TRUE(c.OnEnlarge()) << i;
        EXPECT_EQ(RunToEnd(kScaleTimer), 6);
        EXPECT_EQ(s->scaleLevel(), i);
    }
    EXPECT_NEAR(s->lines()[0].start().x - s->lines()[0].end().x, -40 * std::pow(2.0, 3.5), 1e-6);
    EXPECT_FALSE(c.OnEnlarge());
    EXPECT_FALSE(c.IsAnimating());
    EXPECT_EQ(s->scaleLevel(), 7);
    for (int i = 1; i <= 12; ++i) {
        ASSERT_TRUE(c.OnReduce()) << i;
        RunToEnd(kScaleTimer);
    }
    EXPECT_EQ(s->scaleLevel(), -5);
    EXPECT_FALSE(c.OnReduce());
    EXPECT_FALSE(c.IsAnimating());
    EXPECT_NEAR(s->lines()[0].end().x - s->lines()[0].start().x, 40 * std::pow(2.0, -2.5), 1e-6);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ShapeCommands, ScaleLimitsLookAtTheWholeSelectionAndTheGroupMembers) {
    CManipulative* a = Add(Square(0, 0, 40), true);
    Add(Square(100, 0, 40), true);
    for (int i = 0; i < 7; ++i)
        a->RaiseScaleLevel();
    EXPECT_FALSE(c.OnEnlarge());
    EXPECT_TRUE(c.OnReduce());
    RunToEnd(kScaleTimer);
    c.OnGroup();
    ASSERT_EQ(doc.selection().size(), 1u);
    EXPECT_EQ(doc.selection()[0]->GetHighestScaleLevel(), 6);
    EXPECT_EQ(doc.selection()[0]->GetLowestScaleLevel(), -1);
}

TEST_F(ShapeCommands, EightFlipStepsMirror) {
    // A right triangle with its right angle at the bottom left.
    std::vector<CLine> lines = {CLine(CPoint{100, 100}, CPoint{140, 100}),
                                CLine(CPoint{140, 100}, CPoint{100, 60}),
                                CLine(CPoint{100, 60}, CPoint{100, 100})};
    CManipulative* s = Add(std::make_unique<CShapeManipulative>(lines, kRed), true);
    const C3DPointDouble r = doc.selectionRotationPoint();
    ASSERT_TRUE(c.OnFlipHorizontal());
    EXPECT_TRUE(timers.IsRunning(kFlipHorizontalTimer));
    EXPECT_EQ(RunToEnd(kFlipHorizontalTimer), 8);
    EXPECT_NEAR(s->lines()[0].start().x, 2 * r.x - 100, 1e-9);
    EXPECT_NEAR(s->lines()[0].end().x, 2 * r.x - 140, 1e-9);
    EXPECT_NEAR(s->lines()[1].end().y, 60, 1e-9);
    ASSERT_TRUE(c.OnFlipVertical());
    EXPECT_TRUE(timers.IsRunning(kFlipVerticalTimer));
    EXPECT_EQ(RunToEnd(kFlipVerticalTimer), 8);
    EXPECT_NEAR(s->lines()[1].end().y, 2 * r.y - 60, 1e-9);
    EXPECT_NEAR(s->lines()[0].start().y, 2 * r.y - 100, 1e-9);
    for (const CLine& line : s->lines())
        EXPECT_NEAR(line.start().z, 0, 1e-9);
}

TEST_F(ShapeCommands, TransformationsClearHighlights) {
    CManipulative* stamped = Add(Square(0, 0, 40));
    stamped->SetHighlighted(true);
    Add(Square(100, 0, 40), true);
    c.OnFlipVertical();
    EXPECT_FALSE(stamped->highlighted());
}

// --- copy, stamp, group ----------------------------------------------------------------------

TEST_F(ShapeCommands, CopyOfThreeLeavesCopiesInPlaceAndMovesTheSelection) {
    std::vector<CManipulative*> sources;
    std::vector<std::unique_ptr<CManipulative>> before;
    for (int i = 0; i < 3; ++i) {
        sources.push_back(Add(Square(100 * i, 50, 40), true));
        sources.back()->RaiseScaleLevel();
        before.push_back(sources.back()->Clone());
    }
    const C3DPointDouble r = doc.selectionRotationPoint();
    c.OnCopy();
    ASSERT_EQ(doc.manipulatives().size(), 6u);
    EXPECT_EQ(doc.selection(), sources);
    for (int i = 0; i < 3; ++i) {
        const CManipulative& copy = *doc.manipulatives()[static_cast<std::size_t>(3 + i)];
        EXPECT_FALSE(copy.selected());
        EXPECT_TRUE(SameFigure(copy, *before[static_cast<std::size_t>(i)]));
        EXPECT_EQ(copy.scaleLevel(), 1);
        EXPECT_EQ(copy.GetColor(), kRed);
        before[static_cast<std::size_t>(i)]->MoveBy(4, 4);
        EXPECT_TRUE(SameFigure(*sources[static_cast<std::size_t>(i)],
                               *before[static_cast<std::size_t>(i)]));
    }
    EXPECT_EQ(doc.selectionRotationPoint(), C3DPointDouble(r.x + 4, r.y + 4, r.z));
}

TEST_F(ShapeCommands, CopiesCarryTheScriptMarkOnlyWhileAScriptRuns) {
    Add(Square(0, 0, 40), true);
    c.OnCopy();
    EXPECT_FALSE(doc.manipulatives().back()->scriptMark());
    c.SetScriptState(true, false);
    c.OnStamp();
    EXPECT_TRUE(doc.manipulatives().back()->scriptMark());
}

TEST_F(ShapeCommands, StampLeavesHighlightedCopiesAndMovesNothing) {
    CManipulative* a = Add(Square(0, 0, 40), true);
    auto before = a->Clone();
    c.OnStamp();
    ASSERT_EQ(doc.manipulatives().size(), 2u);
    const CManipulative& stamp = *doc.manipulatives()[1];
    EXPECT_TRUE(stamp.highlighted());
    EXPECT_FALSE(stamp.selected());
    EXPECT_TRUE(SameFigure(stamp, *before));
    EXPECT_TRUE(SameFigure(*a, *before));
    EXPECT_EQ(doc.selection(), std::vector<CManipulative*>{a});
}

TEST_F(ShapeCommands, GroupTakesTheSelectionInOrderAndLeavesAnnotationsOut) {
    Add(Square(300, 300, 10));
    CManipulative* b = Add(Square(100, 0, 40));
    CManipulative* a = Add(Square(0, 0, 40));
    CManipulative* note = Add(std::make_unique<FakeAnnotation>());
    doc.Select(b);
    doc.Select(note);
    doc.Select(a);
    c.OnGroup();
    ASSERT_EQ(doc.manipulatives().size(), 3u);
    EXPECT_EQ(doc.IndexOf(note), 1);
    EXPECT_FALSE(note->selected());
    CManipulative* group = doc.manipulatives().back().get();
    ASSERT_EQ(group->GetType(), kTypePolyShape);
    EXPECT_EQ(doc.selection(), std::vector<CManipulative*>{group});
    const auto& members = *group->GetMembers();
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(BoundsOf(*members[0]), (CRect{100, 0, 141, 41}));
    EXPECT_EQ(BoundsOf(*members[1]), (CRect{0, 0, 41, 41}));
    EXPECT_TRUE(members[0]->selected());
    EXPECT_EQ(doc.selectionRotationPoint(), C3DPointDouble(70, 20));

    // Ungroup puts copies of the members on top and selects them.
    c.OnUngroup();
    ASSERT_EQ(doc.manipulatives().size(), 4u);
    EXPECT_EQ(doc.selection().size(), 2u);
    EXPECT_EQ(BoundsOf(*doc.manipulatives()[2]), (CRect{100, 0, 141, 41}));
    EXPECT_EQ(BoundsOf(*doc.manipulatives()[3]), (CRect{0, 0, 41, 41}));
    for (CManipulative* m : doc.selection())
        EXPECT_EQ(m->GetType(), kTypeShape);
}

TEST_F(ShapeCommands, GroupNeedsTwoAndUngroupLeavesOtherShapes) {
    CManipulative* a = Add(Square(0, 0, 40), true);
    c.OnGroup();
    EXPECT_EQ(doc.manipulatives()[0].get(), a);
    CManipulative* b = Add(Square(100, 0, 40), true);
    c.OnGroup();
    CManipulative* group = doc.manipulatives()[0].get();
    CManipulative* d = Add(Square(200, 0, 40), true);
    c.OnUngroup();
    ASSERT_EQ(doc.manipulatives().size(), 3u);
    EXPECT_EQ(doc.IndexOf(group), -1);
    EXPECT_EQ(doc.IndexOf(d), 0);
    EXPECT_EQ(doc.selection().size(), 3u);
    (void)b;
}

TEST_F(ShapeCommands, UndoingAGroupGivesBackEveryShapeSelected) {
    Add(Square(0, 0, 40), true);
    Add(Square(100, 0, 40), true);
    Add(Square(200, 0, 40), true);
    c.OnGroup();
    ASSERT_EQ(doc.manipulatives().size(), 1u);
    ASSERT_TRUE(doc.Undo());
    ASSERT_EQ(doc.manipulatives().size(), 3u);
    EXPECT_EQ(doc.selection().size(), 3u);
    ASSERT_TRUE(doc.Redo());
    ASSERT_EQ(doc.selection().size(), 1u);
    EXPECT_EQ(doc.selection()[0]->GetType(), kTypePolyShape);
}

TEST_F(ShapeCommands, GroupingPastTheDeepestNestingSaysWhy) {
    Add(Square(0, 0, 40), true);
    for (int depth = 1; depth <= 16; ++depth) {
        Add(Square(100 * depth, 0, 40), true);
        c.OnGroup();
        ASSERT_TRUE(prompter.messages.empty()) << depth;
    }
    Add(Square(0, 200, 40), true);
    c.OnGroup();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, kGroupTooDeep);
    EXPECT_EQ(doc.manipulatives().size(), 2u);
}

// --- width, colour, order --------------------------------------------------------------------

TEST_F(ShapeCommands, LineWidthAndTheCommonWidthShown) {
    CManipulative* a = Add(Square(0, 0, 40), true);
    CManipulative* b = Add(Square(100, 0, 40), true);
    c.OnCommand(kCmdThickLine);
    EXPECT_EQ(a->GetLineWidth(), 2);
    EXPECT_EQ(b->GetLineWidth(), 2);
    EXPECT_EQ(panel.width, 2);
    EXPECT_TRUE(doc.IsModified());
    a->SetLineWidth(1);
    EXPECT_EQ(c.SelectionLineWidth(), 0);
    c.OnCommand(kCmdThinLine);
    EXPECT_EQ(panel.width, 1);
}

TEST_F(ShapeCommands, ColourAsksOnlyForGroups) {
    CManipulative* a = Add(Square(0, 0, 40), true);
    CManipulative* b = Add(Square(100, 0, 40), true);
    c.OnCommand(1076);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(a->GetColor(), kGreen);
    EXPECT_EQ(b->GetColor(), kGreen);
    EXPECT_EQ(panel.color, kGreen);

    c.OnGroup();
    prompter.answers = {MessageResult::No};
    c.OnColor(kRed);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, kGroupColorQuestion);
    EXPECT_EQ(prompter.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(doc.selection()[0]->GetColor(), kGreen);

    prompter.answers = {MessageResult::Yes};
    c.OnColor(kRed);
    EXPECT_EQ(doc.selection()[0]->GetColor(), kRed);
    for (const auto& m : *doc.selection()[0]->GetMembers())
        EXPECT_EQ(m->GetColor(), kRed);

    c.SetScriptState(false, true);
    prompter.messages.clear();
    c.OnColor(kGreen);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(doc.selection()[0]->GetColor(), kGreen);
}

TEST_F(ShapeCommands, SendToBackAndBringToFrontFollowSelectionOrder) {
    CManipulative* x = Add(Square(0, 0, 10));
    CManipulative* a = Add(Square(20, 0, 10));
    CManipulative* b = Add(Square(40, 0, 10));
    doc.Select(a);
    doc.Select(b);
    c.OnSendToBack();
    EXPECT_EQ(doc.IndexOf(b), 0);
    EXPECT_EQ(doc.IndexOf(a), 1);
    EXPECT_EQ(doc.IndexOf(x), 2);
    doc.DeselectAll();
    doc.Select(b);
    doc.Select(a);
    c.OnBringToFront();
    EXPECT_EQ(doc.IndexOf(x), 0);
    EXPECT_EQ(doc.IndexOf(b), 1);
    EXPECT_EQ(doc.IndexOf(a), 2);
}

TEST_F(ShapeCommands, SelectAllShapesSkipsLinesAnglemetersAndAnnotations) {
    c.OnSelectAllShapes();
    EXPECT_TRUE(doc.selection().empty());
    CManipulative* a = Add(Square(0, 0, 10));
    Add(std::make_unique<CLineManipulative>(std::vector<CLine>{CLine(CPoint{0, 0}, CPoint{5, 5})}));
    Add(std::make_unique<FakeAnglemeter>());
    Add(std::make_unique<FakeAnnotation>());
    CManipulative* fixed = Add(Square(50, 0, 10));
    fixed->SetFixed(true);
    const CShapeManipulative inGroup = *Square(100, 0, 10);
    CPolyShapeManipulative::MemberList members;
    members.push_back(inGroup.Clone());
    CManipulative* group = Add(std::make_unique<CPolyShapeManipulative>(std::move(members)));
    c.OnSelectAllShapes();
    EXPECT_EQ(doc.selection(), (std::vector<CManipulative*>{a, group}));
}

TEST_F(ShapeCommands, ClearAnglemetersAsksAndKeepsThoseInGroups) {
    Add(Square(0, 0, 10));
    Add(std::make_unique<FakeAnglemeter>());
    CPolyShapeManipulative::MemberList members;
    members.push_back(std::make_unique<FakeAnglemeter>());
    Add(std::make_unique<CPolyShapeManipulative>(std::move(members)));
    prompter.answers = {MessageResult::Cancel};
    c.OnClearAnglemeters();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, kClearAnglemetersQuestion);
    EXPECT_EQ(prompter.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(doc.manipulatives().size(), 3u);
    c.OnClearAnglemeters();
    ASSERT_EQ(doc.manipulatives().size(), 2u);
    EXPECT_EQ(doc.manipulatives()[1]->GetType(), kTypePolyShape);
}

TEST_F(ShapeCommands, ResetRotationPoint) {
    CManipulative* a = Add(Square(0, 0, 40), true);
    EXPECT_FALSE(c.CanResetRotationPoint());
    c.SetRotationPointMode(RotationPointMode::Set);
    EXPECT_TRUE(c.CanResetRotationPoint());
    a->MoveRotationPoint(30, 0);
    c.OnResetRotationPoint();
    EXPECT_EQ(a->rotationPoint(), a->centre());
    EXPECT_EQ(doc.selectionRotationPoint(), a->centre());
    c.SetScriptState(false, true);
    EXPECT_FALSE(c.CanResetRotationPoint());
}

// --- undo ------------------------------------------------------------------------------------

TEST_F(ShapeCommands, AWholeAnimationIsOneUndoStep) {
    CManipulative* s = Add(Square(100, 100, 40), true);
    auto start = s->Clone();
    c.OnRotateRight();
    RunToEnd(kRotateTimer);
    c.OnEnlarge();
    RunToEnd(kScaleTimer);
    ASSERT_TRUE(doc.Undo());
    ASSERT_TRUE(doc.Undo());
    ASSERT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_TRUE(SameFigure(*doc.manipulatives()[0], *start));
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(ShapeCommands, CopyGroupAndColourUndoOneStepEach) {
    Add(Square(0, 0, 40), true);
    Add(Square(100, 0, 40), true);
    const auto original = doc.SaveToBytes();
    c.OnCopy();
    c.OnGroup();
    c.OnColor(kGreen);
    EXPECT_EQ(prompter.messages.size(), 1u);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(doc.Undo()) << i;
    EXPECT_FALSE(doc.CanUndo());
    doc.DeselectAll();
    CGeometryUnitDocument fresh;
    ASSERT_EQ(fresh.LoadFromBytes(original), OpenResult::Opened);
    fresh.DeselectAll();
    EXPECT_EQ(doc.SaveToBytes(), fresh.SaveToBytes());
}

// --- drawers ---------------------------------------------------------------------------------

TEST_F(ShapeCommands, TakingShapesOutOfTheFixedDrawers) {
    CManipulative* stamped = Add(Square(0, 0, 10));
    stamped->SetHighlighted(true);
    CManipulative* t = c.TakeFromDrawer(0, 0, C3DPointDouble(300, 200));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->kind(), 0);
    EXPECT_EQ(doc.manipulatives().back().get(), t);
    EXPECT_FALSE(stamped->highlighted());
    EXPECT_TRUE(SameFigure(*t, *MakeDrawerShape(6, C3DPointDouble(300, 200))));

    CManipulative* hexagon = c.TakeFromDrawer(5, 1, C3DPointDouble(100, 100));
    ASSERT_NE(hexagon, nullptr);
    EXPECT_EQ(hexagon->kind(), 31);
    EXPECT_EQ(c.TakeFromDrawer(1, 5, C3DPointDouble(100, 100)), nullptr);
    EXPECT_EQ(c.TakeFromDrawer(3, 0, C3DPointDouble(100, 100)), nullptr);
    EXPECT_EQ(c.TakeFromDrawer(0, 6, C3DPointDouble(100, 100)), nullptr);

    CGeometryOptions entire = doc.options();
    entire.user[kOptView] = 1;
    doc.SetOptions(entire);
    CManipulative* half = c.TakeFromDrawer(2, 0, C3DPointDouble(100, 100));
    const CRect b = BoundsOf(*half);
    EXPECT_NEAR(b.Width(), 37 / 2.0 + 1, 1);
    EXPECT_EQ(doc.manipulatives().size(), 4u);
}

// --- mouse -----------------------------------------------------------------------------------

TEST_F(ShapeCommands, ArrowSelectsOneAndDragsTheSelection) {
    CManipulative* a = Add(Square(0, 0, 40));
    CManipulative* b = Add(Square(100, 0, 40), true);
    c.SetSnapping(false);
    c.MouseDown({20, 20});
    EXPECT_EQ(doc.selection(), std::vector<CManipulative*>{a});
    EXPECT_EQ(c.mouseAction(), MouseAction::DragSelection);
    c.MouseMove({25, 30});
    c.MouseUp({30, 33});
    EXPECT_EQ(c.mouseAction(), MouseAction::None);
    EXPECT_EQ(BoundsOf(*a), (CRect{10, 13, 51, 54}));
    EXPECT_FALSE(b->selected());
    EXPECT_EQ(doc.selectionRotationPoint(), C3DPointDouble(30, 33));

    // The whole drag is one step.
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(BoundsOf(*doc.manipulatives()[0]), (CRect{0, 0, 41, 41}));
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(ShapeCommands, ShiftAndTheSelectorToggle) {
    CManipulative* a = Add(Square(0, 0, 40), true);
    CManipulative* b = Add(Square(100, 0, 40));
    c.MouseDown({120, 20}, {true, false});
    c.MouseUp({120, 20});
    EXPECT_EQ(doc.selection(), (std::vector<CManipulative*>{a, b}));
    doc.SetCurrentTool(kToolSelector);
    c.MouseDown({20, 20});
    c.MouseUp({20, 20});
    EXPECT_EQ(doc.selection(), std::vector<CManipulative*>{b});
    EXPECT_FALSE(a->selected());
    // The Arrow on empty space clears the selection.
    doc.SetCurrentTool(kToolArrow);
    c.MouseDown({500, 500});
    c.MouseUp({500, 500});
    EXPECT_TRUE(doc.selection().empty());
}

TEST_F(ShapeCommands, TheSelectorOnEmptyWorkspaceStartsAfreshUnlessShiftAdds) {
    CManipulative* a = Add(Square(0, 0, 40), true);
    CManipulative* b = Add(Square(100, 0, 40));
    doc.SetCurrentTool(kToolSelector);
    // A band around b alone selects b alone.
    c.MouseDown({90, -10});
    c.MouseUp({150, 50});
    EXPECT_EQ(doc.selection(), std::vector<CManipulative*>{b});
    // With Shift, a band around a adds it.
    c.MouseDown({-10, -10}, {true, false});
    c.MouseUp({50, 50});
    EXPECT_EQ(doc.selection(), (std::vector<CManipulative*>{b, a}));
    // A click on empty workspace clears the selection.
    c.MouseDown({500, 500});
    c.MouseUp({500, 500});
    EXPECT_TRUE(doc.selection().empty());
}

TEST_F(ShapeCommands, ReleasingADragSnapsToTheNearestShape) {
    CManipulative* fixedOne = Add(Square(0, 0, 40));
    CManipulative* moving = Add(Square(100, 0, 40));
    c.MouseDown({120, 20});
    c.MouseUp({65, 23});
    EXPECT_EQ(moving->lines()[0].start(), C3DPointDouble(40, 0));
    EXPECT_EQ(BoundsOf(*fixedOne), (CRect{0, 0, 41, 41}));

    c.SetSnapping(false);
    c.MouseDown({60, 20});
    c.MouseUp({63, 23});
    EXPECT_EQ(moving->lines()[0].start(), C3DPointDouble(43, 3));
}

TEST_F(ShapeCommands, RubberBandSelectsWhatLiesWhollyInside) {
    CManipulative* a = Add(Square(10, 10, 20));
    CManipulative* b = Add(Square(50, 10, 20));
    Add(Square(90, 10, 20));
    c.MouseDown({5, 5});
    EXPECT_EQ(c.mouseAction(), MouseAction::RubberBand);
    c.MouseMove({80, 40});
    ASSERT_TRUE(c.rubberBand());
    EXPECT_EQ(*c.rubberBand(), (CRect{5, 5, 81, 41}));
    RecordingSurface dc;
    c.Draw(dc, CRect{0, 0, 800, 600});
    EXPECT_EQ(dc.Only("rect"), std::vector<std::string>{"rect 5,5 81,41"});
    c.MouseUp({80, 40});
    EXPECT_EQ(doc.selection(), (std::vector<CManipulative*>{a, b}));
    EXPECT_FALSE(c.rubberBand());
}

TEST_F(ShapeCommands, EscapeCancelsADragOrARubberBand) {
    CManipulative* a = Add(Square(0, 0, 40));
    CManipulative* b = Add(Square(100, 0, 40));
    c.SetSnapping(false);
    EXPECT_FALSE(c.CancelMouse());

    c.MouseDown({20, 20});
    c.MouseMove({70, 90});
    ASSERT_TRUE(c.CancelMouse());
    EXPECT_EQ(c.mouseAction(), MouseAction::None);
    EXPECT_EQ(BoundsOf(*a), (CRect{0, 0, 41, 41}));
    // The rest of the gesture does nothing.
    c.MouseMove({90, 90});
    c.MouseUp({90, 95});
    EXPECT_EQ(BoundsOf(*a), (CRect{0, 0, 41, 41}));
    EXPECT_FALSE(doc.CanUndo());

    doc.DeselectAll();
    c.MouseDown({-5, -5});
    c.MouseMove({200, 50});
    ASSERT_TRUE(c.CancelMouse());
    c.MouseUp({200, 50});
    EXPECT_TRUE(doc.selection().empty());
    EXPECT_FALSE(c.rubberBand());
    (void)b;
}

TEST_F(ShapeCommands, EraserDeletesWhatItClicks) {
    Add(Square(0, 0, 40));
    doc.SetCurrentTool(kToolEraser);
    c.MouseDown({500, 500});
    EXPECT_EQ(doc.manipulatives().size(), 1u);
    c.MouseDown({10, 10});
    EXPECT_TRUE(doc.manipulatives().empty());
    EXPECT_TRUE(doc.Undo());
    EXPECT_EQ(doc.manipulatives().size(), 1u);
}

TEST_F(ShapeCommands, RotationPointIsDraggedOnlyInSetMode) {
    CManipulative* a = Add(Square(0, 0, 40), true);
    c.MouseDown({20, 20});
    EXPECT_EQ(c.mouseAction(), MouseAction::DragSelection);
    c.MouseUp({20, 20});
    c.SetRotationPointMode(RotationPointMode::Set);
    c.MouseDown({21, 19});
    EXPECT_EQ(c.mouseAction(), MouseAction::DragRotationPoint);
    c.MouseMove({60, 59});
    c.MouseUp({61, 59});
    EXPECT_EQ(a->rotationPoint(), C3DPointDouble(60, 60));
    EXPECT_EQ(a->centre(), C3DPointDouble(20, 20));
    EXPECT_EQ(doc.selectionRotationPoint(), C3DPointDouble(60, 60));
}

TEST_F(ShapeCommands, DroppingTheSelectionIntoADrawerPutsItBack) {
    Add(Square(0, 0, 40));
    c.MouseDown({20, 20});
    c.MouseMove({400, 20});
    c.DropSelectionIntoDrawer();
    EXPECT_TRUE(doc.manipulatives().empty());
    EXPECT_EQ(c.mouseAction(), MouseAction::None);
    EXPECT_TRUE(doc.Undo());
    EXPECT_EQ(BoundsOf(*doc.manipulatives()[0]), (CRect{0, 0, 41, 41}));
}

// --- drawing ---------------------------------------------------------------------------------

TEST_F(ShapeCommands, SelectionRotationPointMarker) {
    CManipulative* a = Add(Square(0, 0, 40), true);
    a->MoveRotationPoint(10, 0);
    doc.RecomputeSelectionRotationPoint();
    RecordingSurface set;
    c.SetRotationPointMode(RotationPointMode::Set);
    c.DrawSelectionRotationPoint(set);
    EXPECT_EQ(set.calls, (std::vector<std::string>{"pen 1 #000000", "line 20,20 30,20",
                                                   "brush #ffffff", "ellipse 25,15 35,25",
                                                   "brush #000000", "ellipse 28,18 32,22"}));
    RecordingSurface show;
    c.SetRotationPointMode(RotationPointMode::Show);
    c.DrawSelectionRotationPoint(show);
    EXPECT_EQ(show.calls, (std::vector<std::string>{"pen 1 #000000", "line 20,20 30,20",
                                                    "brush #000000", "ellipse 28,18 32,22"}));
    RecordingSurface hidden;
    c.SetRotationPointMode(RotationPointMode::Hide);
    c.DrawSelectionRotationPoint(hidden);
    EXPECT_TRUE(hidden.calls.empty());

    doc.DeselectAll();
    doc.Select(Add(std::make_unique<FakeAnglemeter>()));
    RecordingSurface anglemeter;
    c.SetRotationPointMode(RotationPointMode::Show);
    c.DrawSelectionRotationPoint(anglemeter);
    EXPECT_TRUE(anglemeter.calls.empty());
}

TEST_F(ShapeCommands, WorkspaceDrawingSkipsShapesOutsideTheClip) {
    Add(Square(0, 0, 40));
    Add(Square(500, 500, 40))->SetHighlighted(true);
    RecordingSurface dc;
    c.Draw(dc, CRect{400, 400, 800, 600});
    EXPECT_EQ(dc.Only("polygon"),
              std::vector<std::string>{"polygon 500,500 540,500 540,540 500,540"});
    EXPECT_EQ(dc.Only("pen 9 #ff00ff").size(), 4u);
}

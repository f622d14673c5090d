// Anglemeters: the reading and its label, arm dragging, transformations that keep the reading,
// the label box and redraw box, drawing, hit testing, groups and the archive form.
#include "geometry/anglemeter_manipulative.h"
#include "geometry/geometry_document.h"
#include "geometry/poly_shape_manipulative.h"
#include "geometry/shape_commands.h"
#include "geometry/shape_manipulative.h"
#include "workspace/archive.h"
#include "workspace/manipulative_registry.h"

#include "fakes/fakes.h"
#include "workspace/layout_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

using namespace quorvel;
using quorvel::testing::FakeTextMetrics;
using quorvel::testing::FirstPrefixThatLoads;
using quorvel::testing::LayoutBuilder;
using quorvel::testing::RecordingSurface;
using quorvel::testing::Stored;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr Color kBlack = PaletteRGB(0, 0, 0);
constexpr Color kRed = PaletteRGB(255, 0, 0);

// Text as wide as a tenth of the point size per character and as high as that plus 4, so that
// each label font gives its own box.
class SizedMetrics : public FakeTextMetrics {
public:
    CSize TextExtent(const CFontSpec& font, std::string_view s) override {
        const int unit = font.pointSizeTenths / 10;
        return {static_cast<int>(CountChars(s)) * unit, unit + 4};
    }
};

FakeTextMetrics metrics; // "00/360" is 42 by 16

CAnglemeterManipulative At(int x, int y) {
    return CAnglemeterManipulative(C3DPointDouble(x, y), metrics);
}

double ArmLength(const CAnglemeterManipulative& a, int arm) {
    const CLine& line = a.lines()[static_cast<std::size_t>(arm)];
    return std::hypot(line.end().x - line.start().x, line.end().y - line.start().y);
}

// Grabs the end of `arm` and drags it to `to`.
void DragArm(CAnglemeterManipulative& a, int arm, CPoint to) {
    ASSERT_TRUE(a.BeginHandleDrag(
        C3DPointDouble(a.lines()[static_cast<std::size_t>(arm)].end().Rounded())));
    ASSERT_EQ(a.grabbedArm(), arm);
    a.DragHandle(C3DPointDouble(to));
    a.ReleaseHandle();
}

void FlipHorizontally(CManipulative& m, const C3DPointDouble& about) {
    for (int i = 0; i < kAnglemeterFlipSteps; ++i)
        m.FlipStepCrossAxis(about);
}

std::vector<std::string> Drawn(const CManipulative& m) {
    RecordingSurface dc;
    m.Draw(dc);
    return dc.calls;
}

bool Has(const std::vector<std::string>& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

std::unique_ptr<CManipulative> Load(const Bytes& bytes) {
    RegisterGeometryManipulatives();
    auto m = CManipulativeRegistry::Instance().Create(kTypeAnglemeter);
    CArchive ar(bytes);
    m->Serialize(ar);
    EXPECT_TRUE(ar.AtEnd());
    return m;
}

} // namespace

// --- the reading -----------------------------------------------------------------------------

TEST(AnglemeterReading, FreshOneReadsNinetyWithArmsUpAndRight) {
    const CAnglemeterManipulative a = At(100, 200);
    EXPECT_EQ(a.label(), "90");
    EXPECT_FALSE(a.orientation());
    ASSERT_EQ(a.lines().size(), 2u);
    EXPECT_EQ(a.lines()[0].end(), C3DPointDouble(100.0, 126.0, 0.0));
    EXPECT_EQ(a.lines()[1].end(), C3DPointDouble(155.5, 200.0, 0.0));
    EXPECT_EQ(a.vertex(), a.rotationPoint());
}

TEST(AnglemeterReading, ArmOneDraggedStraightDownReadsOneEighty) {
    CAnglemeterManipulative a = At(100, 200);
    DragArm(a, 1, {100, 400});
    EXPECT_EQ(a.label(), "180");
    EXPECT_NEAR(a.lines()[1].end().x, 100.0, 1e-9);
    EXPECT_NEAR(a.lines()[1].end().y, 255.5, 1e-9);
}

TEST(AnglemeterReading, LabelRoundsHalfUpAndShowsZeroAndFullTurnAlike) {
    EXPECT_EQ(AnglemeterLabelFor(0.0), "0/360");
    EXPECT_EQ(AnglemeterLabelFor(0.49), "0/360");
    EXPECT_EQ(AnglemeterLabelFor(0.5), "1");
    EXPECT_EQ(AnglemeterLabelFor(359.49), "359");
    EXPECT_EQ(AnglemeterLabelFor(359.5), "0/360");
    EXPECT_EQ(AnglemeterLabelFor(std::nan("")), "0/360");
}

TEST(AnglemeterReading, ArmsAlmostTogetherReadZeroOverThreeSixty) {
    CAnglemeterManipulative a = At(100, 200);
    // Arm 1 a hair left of arm 0: the angle from arm 0 round to arm 1 is almost a full turn.
    DragArm(a, 1, {99, -200});
    EXPECT_GT(a.MeasuredAngle(), 359.5);
    EXPECT_EQ(a.label(), "0/360");
    DragArm(a, 1, {101, -200});
    EXPECT_LT(a.MeasuredAngle(), 0.5);
    EXPECT_EQ(a.label(), "0/360");
}

TEST(AnglemeterReading, DraggedArmTurnsAboutTheVertexAtConstantLength) {
    CAnglemeterManipulative a = At(100, 200);
    DragArm(a, 0, {40, 260});
    EXPECT_NEAR(ArmLength(a, 0), 74.0, 1e-9);
    EXPECT_EQ(a.label(), "225"); // arm 0 down-left, arm 1 right: 225 counterclockwise
    DragArm(a, 1, {101, 199});
    EXPECT_NEAR(ArmLength(a, 1), 55.5, 1e-9);
    EXPECT_EQ(a.lines()[1].start(), a.vertex());
}

TEST(AnglemeterReading, HandlesAreFiveByFiveAndArmZeroComesFirst) {
    CAnglemeterManipulative a = At(100, 200);
    // Arm 1 ends at (155.5, 200), drawn at (156, 200): its handle spans 154..158.
    EXPECT_EQ(a.ArmEndAt(C3DPointDouble(154, 198)), 1);
    EXPECT_EQ(a.ArmEndAt(C3DPointDouble(158, 202)), 1);
    EXPECT_EQ(a.ArmEndAt(C3DPointDouble(159, 200)), -1);
    EXPECT_EQ(a.ArmEndAt(C3DPointDouble(156, 203)), -1);
    EXPECT_FALSE(a.BeginHandleDrag(C3DPointDouble(130, 200)));
    EXPECT_FALSE(a.DragHandle(C3DPointDouble(100, 400)));
    EXPECT_EQ(a.label(), "90");
    // Both ends under the point: arm 0 is taken.
    DragArm(a, 1, {100, 0});
    EXPECT_EQ(a.ArmEndAt(C3DPointDouble(100, 126)), 0);
}

TEST(AnglemeterReading, FixedAnglemeterKeepsItsArms) {
    CAnglemeterManipulative a = At(100, 200);
    a.SetFixed(true);
    ASSERT_TRUE(a.BeginHandleDrag(C3DPointDouble(156, 200)));
    EXPECT_FALSE(a.DragHandle(C3DPointDouble(100, 400)));
    EXPECT_EQ(a.label(), "90");
    a.MoveBy(10, 10);
    EXPECT_EQ(a.vertex(), C3DPointDouble(100, 200));
}

// --- transformations -------------------------------------------------------------------------

TEST(AnglemeterTransforms, HorizontalFlipKeepsTheReadingAndTogglesTheOrientation) {
    CAnglemeterManipulative a = At(100, 200);
    DragArm(a, 1, {200, 142}); // 60 degrees from arm 0
    const std::string before = a.label();
    ASSERT_EQ(before, "60");
    const C3DPointDouble about(130, 180);
    for (int i = 1; i < kAnglemeterFlipSteps; ++i) {
        a.FlipStepCrossAxis(about);
        EXPECT_EQ(a.flipCounter(), i);
        EXPECT_EQ(a.label(), before) << "the label holds while the flip is under way";
    }
    a.FlipStepCrossAxis(about);
    EXPECT_EQ(a.flipCounter(), 0);
    EXPECT_TRUE(a.orientation());
    EXPECT_EQ(a.label(), before);
    EXPECT_EQ(AnglemeterLabelFor(a.MeasuredAngle()), before);
    // The arms are mirrored: arm 1 now points left of the vertex.
    EXPECT_LT(a.lines()[1].end().x, a.vertex().x);
}

TEST(AnglemeterTransforms, VerticalFlipKeepsTheReadingToo) {
    CAnglemeterManipulative a = At(100, 200);
    DragArm(a, 1, {200, 258});
    const std::string before = a.label();
    for (int i = 0; i < kAnglemeterFlipSteps; ++i)
        a.FlipStep(C3DPointDouble(100, 200));
    EXPECT_TRUE(a.orientation());
    EXPECT_EQ(a.label(), before);
    // Two flips bring the first orientation back.
    for (int i = 0; i < kAnglemeterFlipSteps; ++i)
        a.FlipStep(C3DPointDouble(100, 200));
    EXPECT_FALSE(a.orientation());
    EXPECT_EQ(a.label(), before);
}

TEST(AnglemeterTransforms, NoArcWhileFlipping) {
    CAnglemeterManipulative a = At(100, 200);
    a.FlipStep(C3DPointDouble(100, 200));
    RecordingSurface dc;
    a.Draw(dc);
    EXPECT_TRUE(dc.Only("arc").empty());
    EXPECT_EQ(dc.Only("drawtext").size(), 1u);
}

TEST(AnglemeterTransforms, MoveCarriesTheLabelBoxAndPutsTheRotationPointOnTheVertex) {
    CAnglemeterManipulative a = At(100, 200);
    a.MoveRotationPoint(30, 30);
    a.MoveBy(10.6, -5.2);
    EXPECT_DOUBLE_EQ(a.vertex().x, 110.6);
    EXPECT_DOUBLE_EQ(a.vertex().y, 194.8);
    EXPECT_EQ(a.rotationPoint(), a.vertex());
    EXPECT_EQ(a.labelRect(), (CRect{122, 166, 164, 182}));
    EXPECT_EQ(a.label(), "90");
}

TEST(AnglemeterTransforms, RotationKeepsTheReadingAndTheLabelAboveRight) {
    CAnglemeterManipulative a(C3DPointDouble(100.5, 200.5, 0.0), metrics);
    a.Rotate(kPi / 2, C3DPointDouble(0, 0));
    EXPECT_NEAR(a.vertex().x, -200.5, 1e-6);
    EXPECT_NEAR(a.vertex().y, 100.5, 1e-6);
    EXPECT_NEAR(a.lines()[0].end().x, -126.5, 1e-6); // arm 0 now points right
    EXPECT_EQ(a.label(), "90");
    // left = trunc(-188.5), bottom = trunc(88.5).
    EXPECT_EQ(a.labelRect(), (CRect{-188, 72, -146, 88}));
}

TEST(AnglemeterTransforms, LabelBoxPlacementTruncatesTowardsZero) {
    const CAnglemeterManipulative a(C3DPointDouble(-20.5, 5.5, 0.0), metrics);
    // left = trunc(-8.5) = -8, bottom = trunc(-6.5) = -6.
    EXPECT_EQ(a.labelRect(), (CRect{-8, -22, 34, -6}));
}

TEST(AnglemeterTransforms, ScaleLevelsChooseTheLabelFontAndItsBox) {
    SizedMetrics sized;
    CAnglemeterManipulative a(C3DPointDouble(100, 200), sized);
    EXPECT_EQ(a.labelRect(), (CRect{112, 172, 184, 188})); // 12 points: 6 * 12 by 16
    const C3DPointDouble about = a.vertex();
    a.RaiseScaleLevel();
    a.RaiseScaleLevel();
    a.Scale(2.0, about);
    EXPECT_EQ(a.labelRect(), (CRect{112, 174, 172, 188})); // 10 points
    EXPECT_NEAR(ArmLength(a, 0), 148.0, 1e-9);
    EXPECT_EQ(a.label(), "90");
    EXPECT_EQ(AnglemeterLabelFont(1).pointSizeTenths, 120);
    EXPECT_EQ(AnglemeterLabelFont(3).pointSizeTenths, 100);
    EXPECT_EQ(AnglemeterLabelFont(5).pointSizeTenths, 80);
    EXPECT_EQ(AnglemeterLabelFont(6).pointSizeTenths, 60);
    EXPECT_EQ(AnglemeterLabelFont(-5).pointSizeTenths, 120);
}

TEST(AnglemeterTransforms, ColourChangesAreIgnored) {
    CAnglemeterManipulative a = At(100, 200);
    a.SetColor(kRed);
    a.SetLineColor(kRed);
    for (const CLine& line : a.lines())
        EXPECT_EQ(line.color(), kBlack);
}

TEST(AnglemeterTransforms, CopyKeepsReadingOrientationAndLabelBox) {
    CAnglemeterManipulative a = At(100, 200);
    DragArm(a, 1, {200, 142});
    FlipHorizontally(a, C3DPointDouble(100, 200));
    const auto copy = a.Clone();
    ASSERT_EQ(copy->GetType(), kTypeAnglemeter);
    const auto& c = static_cast<const CAnglemeterManipulative&>(*copy);
    EXPECT_EQ(c.label(), a.label());
    EXPECT_EQ(c.orientation(), a.orientation());
    EXPECT_EQ(c.labelRect(), a.labelRect());
    EXPECT_TRUE(c.IsEqualTo(a));
}

// --- frame, drawing, hit test ----------------------------------------------------------------

TEST(AnglemeterFrame, ReachesLeftForTheArcWhenTheArmsDoNot) {
    const CAnglemeterManipulative a = At(100, 200);
    // Ends at (100, 126) and (156, 200); label box 112..154 by 172..188.
    CRect r;
    a.GetFrame(r);
    EXPECT_EQ(r, (CRect{88, 123, 159, 208}));
}

TEST(AnglemeterFrame, FollowsAnArmThatReachesLeft) {
    CAnglemeterManipulative a = At(100, 200);
    DragArm(a, 1, {0, 200}); // ends at 44.5, drawn at 45
    CRect r;
    a.GetFrame(r);
    EXPECT_EQ(r, (CRect{42, 123, 157, 208}));
}

TEST(AnglemeterFrame, EmptyWithoutBothArms) {
    CAnglemeterManipulative a = At(100, 200);
    a.lines().pop_back();
    CRect r{1, 2, 3, 4};
    a.GetFrame(r);
    EXPECT_TRUE(r.IsEmpty());
    RecordingSurface dc;
    a.Draw(dc);
    EXPECT_TRUE(dc.Only("arc").empty());
    EXPECT_FALSE(a.BeginHandleDrag(a.lines()[0].end()));
}

TEST(AnglemeterDrawing, ArmsHandlesArcAndLabel) {
    const CAnglemeterManipulative a = At(100, 200);
    const auto calls = Drawn(a);
    const std::vector<std::string> expected = {
        "pen 1 #000000",
        "line 100,200 100,126",
        "pen 1 #000000",
        "line 100,200 156,200",
        "fill 98,124 103,129 #000000",
        "fill 154,198 159,203 #000000",
        "pen 1 #000000",
        "arc 92,192 109,209 156,200 100,126",
        "pen 1 #000000",
        "brush none",
        "rect 112,172 154,188",
        "font Arial 120",
        "textcolor #000000",
        "textbg transparent",
        "drawtext 112,172 152,188 38 90",
    };
    EXPECT_EQ(calls, expected);
}

TEST(AnglemeterDrawing, ArcRunsTheOtherWayAfterAFlip) {
    CAnglemeterManipulative a = At(100, 200);
    FlipHorizontally(a, C3DPointDouble(100, 200));
    RecordingSurface dc;
    a.Draw(dc);
    // Arm 1 now ends at (44.5, 200), drawn at 44 or 45; the arc goes from arm 0 to arm 1.
    const auto arcs = dc.Only("arc");
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_EQ(arcs[0].rfind("arc 92,192 109,209 100,126 ", 0), 0u) << arcs[0];
    EXPECT_TRUE(Has(dc.calls, "drawtext 112,172 152,188 38 90"));
}

TEST(AnglemeterDrawing, StylesAndTheLabelBelowLevelMinusOne) {
    CAnglemeterManipulative a = At(100, 200);
    a.SetSelected(true);
    EXPECT_EQ(Drawn(a)[0], "pen 3 #000000");
    a.SetSelected(false);
    a.SetHighlighted(true);
    EXPECT_EQ(Drawn(a)[0], "pen 9 #ff00ff");
    a.SetHighlighted(false);
    a.LowerScaleLevel();
    RecordingSurface dc;
    a.Draw(dc);
    EXPECT_EQ(dc.Only("drawtext").size(), 1u);
    a.LowerScaleLevel();
    RecordingSurface small;
    a.Draw(small);
    EXPECT_TRUE(small.Only("drawtext").empty());
    EXPECT_TRUE(small.Only("rect").empty());
    a.SetVisible(false);
    EXPECT_TRUE(Drawn(a).empty());
}

TEST(AnglemeterDrawing, AStaleStoredLabelIsRecomputedWhenDrawn) {
    CAnglemeterManipulative a = At(100, 200);
    CArchive out;
    a.Serialize(out);
    Bytes bytes = out.TakeBytes();
    // The label "90" follows the label box; make it "45".
    const Bytes label = {2, '9', '0'};
    const auto at = std::search(bytes.begin(), bytes.end(), label.begin(), label.end());
    ASSERT_NE(at, bytes.end());
    at[1] = '4';
    at[2] = '5';
    const auto loaded = Load(bytes);
    EXPECT_EQ(static_cast<const CAnglemeterManipulative&>(*loaded).label(), "45");
    RecordingSurface dc;
    loaded->Draw(dc);
    EXPECT_TRUE(Has(dc.calls, "drawtext 112,172 152,188 38 90"));
}

TEST(AnglemeterHitTest, ArmsAndLabelBoxOnly) {
    const CAnglemeterManipulative a = At(100, 200);
    EXPECT_TRUE(a.HitTest(100, 160));  // arm 0
    EXPECT_TRUE(a.HitTest(130, 201));  // arm 1
    EXPECT_TRUE(a.HitTest(120, 180));  // label box
    EXPECT_FALSE(a.HitTest(154, 180)); // right of the label box
    EXPECT_FALSE(a.HitTest(130, 150)); // between the arms
}

// --- groups ----------------------------------------------------------------------------------

TEST(AnglemeterGroups, MemberKeepsItsReadingThroughGroupFlipsAndIgnoresColours) {
    std::vector<CLine> square = {
        CLine(CPoint{0, 0}, CPoint{40, 0}), CLine(CPoint{40, 0}, CPoint{40, 40}),
        CLine(CPoint{40, 40}, CPoint{0, 40}), CLine(CPoint{0, 40}, CPoint{0, 0})};
    CAnglemeterManipulative a = At(100, 200);
    DragArm(a, 1, {200, 142});
    CPolyShapeManipulative::MemberList members;
    members.push_back(std::make_unique<CShapeManipulative>(square, kRed));
    members.push_back(a.Clone());
    CPolyShapeManipulative group(std::move(members));
    EXPECT_TRUE(group.HitTest(100, 160));
    FlipHorizontally(group, group.rotationPoint());
    group.SetColor(PaletteRGB(0, 255, 0));
    const auto& member = static_cast<const CAnglemeterManipulative&>(*(*group.GetMembers())[1]);
    EXPECT_EQ(member.label(), "60");
    EXPECT_EQ(member.lines()[0].color(), kBlack);
    EXPECT_EQ((*group.GetMembers())[0]->GetColor(), PaletteRGB(0, 255, 0));
}

TEST(AnglemeterGroups, ClearAnglemetersTakesTheTopLevelOnesOnly) {
    CGeometryUnitDocument doc;
    quorvel::testing::FakePrompter prompter;
    quorvel::testing::FakeTimerHost timers;
    CShapeCommandController commands(doc, prompter, timers);
    std::vector<CLine> square = {
        CLine(CPoint{0, 0}, CPoint{40, 0}), CLine(CPoint{40, 0}, CPoint{40, 40}),
        CLine(CPoint{40, 40}, CPoint{0, 40}), CLine(CPoint{0, 40}, CPoint{0, 0})};
    doc.AddManipulative(std::make_unique<CAnglemeterManipulative>(At(100, 200)));
    CManipulative* shape = doc.AddManipulative(std::make_unique<CShapeManipulative>(square, kRed));
    CPolyShapeManipulative::MemberList members;
    members.push_back(std::make_unique<CAnglemeterManipulative>(At(300, 300)));
    CManipulative* group =
        doc.AddManipulative(std::make_unique<CPolyShapeManipulative>(std::move(members)));
    doc.AddManipulative(std::make_unique<CAnglemeterManipulative>(At(500, 200)));
    commands.OnCommand(kCmdClearAnglemeters);
    ASSERT_EQ(doc.manipulatives().size(), 2u);
    EXPECT_EQ(doc.manipulatives()[0].get(), shape);
    EXPECT_EQ(doc.manipulatives()[1].get(), group);
    EXPECT_EQ((*group->GetMembers())[0]->GetType(), kTypeAnglemeter);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.manipulatives().size(), 4u);
}

// --- archive ---------------------------------------------------------------------------------

TEST(AnglemeterArchive, FormIsTheBaseThenLabelBoxLabelOrientationAndFlipCounter) {
    const CAnglemeterManipulative a = At(100, 200);
    LayoutBuilder expected;
    expected.Int32(2)
        .Point(100, 200)
        .Point(100, 200)
        .Int32(0)  // selected
        .Int32(1)  // visible
        .Int32(0)  // script mark
        .Int32(0)  // highlighted
        .Int32(-1) // kind
        .Int32(0)  // fixed
        .Segment(100, 200, 100, 126, 1, kBlack, 1)
        .Segment(100, 200, 155.5, 200, 1, kBlack, 1)
        .Int32(112)
        .Int32(172)
        .Int32(154)
        .Int32(188)
        .Tab();
    expected.bytes.insert(expected.bytes.end(), {2, '9', '0'});
    expected.Tab().Int32(0).Tab().Int32(0).Tab();
    EXPECT_EQ(Stored([&](CArchive& ar) { const_cast<CAnglemeterManipulative&>(a).Serialize(ar); }),
              expected.bytes);
}

TEST(AnglemeterArchive, ReadsBackWhatItWroteAndEveryTruncationFails) {
    CAnglemeterManipulative a = At(100, 200);
    DragArm(a, 1, {200, 142});
    FlipHorizontally(a, C3DPointDouble(120, 190));
    a.FlipStep(C3DPointDouble(120, 190)); // a flip under way is stored too
    const Bytes bytes = Stored([&](CArchive& ar) { a.Serialize(ar); });
    const auto loaded = Load(bytes);
    const auto& b = static_cast<const CAnglemeterManipulative&>(*loaded);
    EXPECT_EQ(b.label(), "60");
    EXPECT_TRUE(b.orientation());
    EXPECT_EQ(b.flipCounter(), 1);
    EXPECT_EQ(b.labelRect(), a.labelRect());
    EXPECT_EQ(b.scaleLevel(), 0);
    EXPECT_EQ(Stored([&](CArchive& ar) { loaded->Serialize(ar); }), bytes);
    EXPECT_EQ(
        FirstPrefixThatLoads(bytes, [](CArchive& ar) { CAnglemeterManipulative().Serialize(ar); }),
        std::nullopt);
}

TEST(AnglemeterArchive, HostileFlipCounterNeitherOverflowsNorStopsTheFlip) {
    CAnglemeterManipulative a = At(100, 200);
    Bytes bytes = Stored([&](CArchive& ar) { a.Serialize(ar); });
    // The flip counter is the last int32 before the final TAB.
    const std::int32_t hostile = 0x7FFFFFFF;
    std::memcpy(bytes.data() + bytes.size() - 5, &hostile, 4);
    auto loaded = Load(bytes);
    auto& b = static_cast<CAnglemeterManipulative&>(*loaded);
    EXPECT_EQ(b.flipCounter(), hostile);
    for (int i = 0; i < kAnglemeterFlipSteps; ++i)
        b.FlipStepCrossAxis(C3DPointDouble(100, 200));
    EXPECT_EQ(b.flipCounter(), 0);
    EXPECT_TRUE(b.orientation());
    EXPECT_EQ(b.label(), "90");
}

TEST(AnglemeterArchive, TypeThreeInDocumentsAndGroupsAndTheirFieldTrees) {
    CGeometryUnitDocument doc;
    doc.AddManipulative(std::make_unique<CAnglemeterManipulative>(At(100, 200)));
    CPolyShapeManipulative::MemberList members;
    members.push_back(std::make_unique<CAnglemeterManipulative>(At(300, 300)));
    doc.AddManipulative(std::make_unique<CPolyShapeManipulative>(std::move(members)));
    const Bytes saved = doc.SaveToBytes();

    CGeometryUnitDocument reread;
    ASSERT_EQ(reread.LoadFromBytes(saved), OpenResult::Opened);
    ASSERT_EQ(reread.manipulatives().size(), 2u);
    EXPECT_EQ(reread.manipulatives()[0]->GetType(), kTypeAnglemeter);
    EXPECT_EQ((*reread.manipulatives()[1]->GetMembers())[0]->GetType(), kTypeAnglemeter);
    EXPECT_EQ(reread.SaveToBytes(), saved);

    const CValue tree = doc.DumpToTree();
    CGeometryUnitDocument built;
    std::string error;
    ASSERT_TRUE(built.LoadFromTree(tree, &error)) << error;
    EXPECT_EQ(built.SaveToBytes(), saved);
}

TEST(AnglemeterArchive, DamagedBytesReadOrFailWithoutHarm) {
    // Every byte set to a few hostile values: each read fails cleanly or gives an anglemeter
    // that can be drawn, hit, dragged, flipped, scaled and moved.
    CAnglemeterManipulative a = At(100, 200);
    const Bytes good = Stored([&](CArchive& ar) { a.Serialize(ar); });
    int failures = 0;
    for (std::size_t i = 0; i < good.size(); ++i) {
        for (std::uint8_t v : {0x00, 0x02, 0x7F, 0xFF}) {
            Bytes bad = good;
            bad[i] = v;
            CArchive ar(bad);
            CAnglemeterManipulative b;
            try {
                b.Serialize(ar);
            } catch (const CArchiveException&) {
                ++failures;
                continue;
            }
            RecordingSurface dc;
            b.Draw(dc);
            CRect frame;
            b.GetFrame(frame);
            b.HitTest(100, 160);
            if (b.BeginHandleDrag(C3DPointDouble(156, 200)))
                b.DragHandle(C3DPointDouble(100, 400));
            b.FlipStepCrossAxis(C3DPointDouble(0, 0));
            b.Scale(0.5, C3DPointDouble(0, 0));
            b.MoveBy(3, 4);
            AnglemeterLabelFor(b.MeasuredAngle());
        }
    }
    EXPECT_GT(failures, 0);
}

TEST(AnglemeterArchive, ArmlessFormWithAnExtremeLabelBoxIsHarmless) {
    LayoutBuilder form;
    form.Int32(0).Point(5, 5).Point(5, 5);
    for (std::int32_t v : {0, 1, 0, 0, -1, 0})
        form.Int32(v);
    form.Int32(std::numeric_limits<std::int32_t>::min())
        .Int32(std::numeric_limits<std::int32_t>::min())
        .Int32(std::numeric_limits<std::int32_t>::max())
        .Int32(std::numeric_limits<std::int32_t>::max())
        .Tab();
    form.bytes.insert(form.bytes.end(), {0});
    form.Tab().Int32(1).Tab().Int32(-7).Tab();
    auto loaded = Load(form.bytes);
    auto& b = static_cast<CAnglemeterManipulative&>(*loaded);
    EXPECT_TRUE(b.lines().empty());
    EXPECT_EQ(b.MeasuredAngle(), 0.0);
    EXPECT_TRUE(b.HitTest(5, 5)) << "inside the label box";
    CRect frame;
    b.GetFrame(frame);
    EXPECT_TRUE(frame.IsEmpty());
    b.MoveBy(10, 10); // re-placed with its stored size, held to the int range
    EXPECT_EQ(b.labelRect().left, 27);
    EXPECT_EQ(b.labelRect().bottom, 3);
    EXPECT_EQ(b.labelRect().right, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(b.labelRect().top, 3 - std::numeric_limits<std::int32_t>::max());
    b.FlipStep(C3DPointDouble(0, 0));
    EXPECT_EQ(b.flipCounter(), 1);
    RecordingSurface dc;
    b.Draw(dc);
    EXPECT_TRUE(dc.Only("arc").empty());
}

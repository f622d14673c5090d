// The manipulative base and the line manipulative: flags, moves, frames, drawing, snapping,
// comparison and the base archive form.
#include "workspace/manipulative.h"

#include "fakes/fakes.h"
#include "layout_builder.h"
#include "workspace/archive.h"
#include "workspace/manipulative_registry.h"

#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::testing::FirstPrefixThatLoads;
using quorvel::testing::LayoutBuilder;
using quorvel::testing::RecordingSurface;
using quorvel::testing::Stored;

namespace {

constexpr Color kRed = PaletteRGB(255, 0, 0);

// A closed path through `points`, one segment per step, width 1, black.
CLineManipulative Path(const std::vector<CPoint>& points) {
    std::vector<CLine> lines;
    for (std::size_t i = 0; i < points.size(); ++i)
        lines.emplace_back(points[i], points[(i + 1) % points.size()]);
    return CLineManipulative(lines);
}

CLineManipulative Square(int x, int y, int side) {
    return Path({{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}});
}

CLineManipulative Segment(CPoint a, CPoint b) {
    return CLineManipulative(std::vector<CLine>{CLine(a, b)});
}

// A group in the way the units build one: it owns members and answers them.
class TestGroup : public CManipulative {
public:
    std::vector<std::unique_ptr<CManipulative>> members;

    std::vector<std::unique_ptr<CManipulative>>* GetMembers() override { return &members; }
    const std::vector<std::unique_ptr<CManipulative>>* GetMembers() const override {
        return &members;
    }
    TestGroup& Add(const CManipulative& m) {
        members.push_back(m.Clone());
        return *this;
    }
};

class Exposed : public CLineManipulative {
public:
    using CLineManipulative::CLineManipulative;
    void SetCentre(const C3DPointDouble& c) { m_centre = c; }
};

std::vector<std::string> Drawn(const CManipulative& m, bool outline = false) {
    RecordingSurface dc;
    if (outline)
        m.DrawOutline(dc);
    else
        m.Draw(dc);
    return dc.calls;
}

} // namespace

// --- construction and copies -----------------------------------------------------------------

TEST(CManipulative, DefaultsAndBaseBehaviour) {
    CManipulative m;
    EXPECT_EQ(m.GetType(), kTypeBase);
    EXPECT_TRUE(m.visible());
    EXPECT_FALSE(m.fixed() || m.selected() || m.highlighted() || m.scriptMark());
    EXPECT_EQ(m.kind(), -1);
    EXPECT_EQ(m.rotationPoint(), m.centre());
    EXPECT_TRUE(Drawn(m).empty());
    EXPECT_FALSE(m.HitTest(0, 0));
    EXPECT_TRUE(m.GetFrameOf().IsEmpty());
    EXPECT_EQ(m.GetColor(), kNoColor);
    EXPECT_EQ(m.GetLineWidth(), 0);
    std::vector<CPoint> v;
    EXPECT_EQ(m.GetVertices(v), 0);

    // The base clone is a fresh default, not a copy.
    m.SetKind(5);
    m.RaiseScaleLevel();
    auto clone = m.Clone();
    EXPECT_EQ(clone->kind(), -1);
    EXPECT_EQ(clone->scaleLevel(), 0);
}

TEST(CLineManipulative, DefaultStartsInvisible) {
    CLineManipulative m;
    EXPECT_EQ(m.GetType(), kTypeLine);
    EXPECT_FALSE(m.visible());
}

TEST(CLineManipulative, CentreIsTheMeanOfAllEndPoints) {
    // The shared corner (10, 0) counts twice: the mean is over every end of every line.
    std::vector<CLine> lines{CLine(C3DPointDouble(0, 0, 0), C3DPointDouble(10, 0, 4)),
                             CLine(C3DPointDouble(10, 0, 0), C3DPointDouble(10, 30, 0))};
    CLineManipulative m(lines);
    EXPECT_EQ(m.centre(), C3DPointDouble(7.5, 7.5, 1.0));
    EXPECT_EQ(m.rotationPoint(), m.centre());
    EXPECT_TRUE(m.visible());
    ASSERT_EQ(m.lines().size(), 2u);
}

TEST(CLineManipulative, CopyKeepsGeometryAndClearsTheMarks) {
    CLineManipulative m = Square(0, 0, 10);
    m.SetKind(4);
    m.RaiseScaleLevel();
    m.MoveRotationPoint(3, 4);
    m.SetSelected(true);
    m.SetHighlighted(true);
    m.SetScriptMark(true);
    m.SetVisible(false);
    m.SetFixed(true);

    for (const auto& copy : {std::unique_ptr<CManipulative>(new CLineManipulative(m)), m.Clone()}) {
        EXPECT_EQ(copy->GetType(), kTypeLine);
        EXPECT_EQ(copy->centre(), m.centre());
        EXPECT_EQ(copy->rotationPoint(), C3DPointDouble(8, 9, 0));
        EXPECT_FALSE(copy->visible());
        EXPECT_EQ(copy->kind(), 4);
        EXPECT_EQ(copy->scaleLevel(), 1);
        EXPECT_FALSE(copy->selected() || copy->highlighted() || copy->scriptMark() ||
                     copy->fixed());
        EXPECT_TRUE(copy->IsEqualTo(m));
    }
}

// --- flags and moves -------------------------------------------------------------------------

TEST(CManipulative, ToggleSelectedReturnsTheNewValue) {
    CLineManipulative m = Square(0, 0, 10);
    EXPECT_TRUE(m.ToggleSelected());
    EXPECT_TRUE(m.selected());
    EXPECT_FALSE(m.ToggleSelected());
    EXPECT_FALSE(m.selected());
}

TEST(CManipulative, ScaleLevelCountsSteps) {
    CLineManipulative m;
    m.RaiseScaleLevel();
    m.RaiseScaleLevel();
    m.LowerScaleLevel();
    EXPECT_EQ(m.GetLowestScaleLevel(), 1);
    EXPECT_EQ(m.GetHighestScaleLevel(), 1);
}

TEST(CLineManipulative, MovesCarryLinesCentreAndRotationPoint) {
    CLineManipulative m = Square(0, 0, 10);
    m.MoveRotationPoint(20, 0);
    m.MoveBy(1.5, -2);
    EXPECT_EQ(m.lines()[0].start(), C3DPointDouble(1.5, -2.0, 0.0));
    EXPECT_EQ(m.lines()[0].midpoint(), C3DPointDouble(6.5, -2.0, 0.0));
    EXPECT_EQ(m.centre(), C3DPointDouble(6.5, 3.0, 0.0));
    EXPECT_EQ(m.rotationPoint(), C3DPointDouble(26.5, 3.0, 0.0));

    m.MoveTo(C3DPointDouble(100, 100));
    EXPECT_EQ(m.centre(), C3DPointDouble(100, 100));
    EXPECT_EQ(m.lines()[0].start(), C3DPointDouble(95, 95));
}

TEST(CLineManipulative, FixedIgnoresEveryMove) {
    CLineManipulative m = Square(0, 0, 10);
    m.SetFixed(true);
    const CLineManipulative before(m);

    m.MoveBy(5, 5);
    m.MoveTo(C3DPointDouble(50, 50));
    EXPECT_EQ(m.MoveRotationPoint(7, 7), before.rotationPoint());

    EXPECT_EQ(m.centre(), before.centre());
    EXPECT_EQ(m.rotationPoint(), before.rotationPoint());
    EXPECT_EQ(m.lines()[0].start(), before.lines()[0].start());
}

TEST(CManipulative, RotationPointMarkerIsHitWithinThreeWholePixels) {
    CLineManipulative m = Square(0, 0, 20); // rotation point (10, 10)
    EXPECT_TRUE(m.IsOnRotationPoint(C3DPointDouble(13.9, 6.1, 0)));
    EXPECT_TRUE(m.IsOnRotationPoint(C3DPointDouble(7, 13, 0)));
    EXPECT_FALSE(m.IsOnRotationPoint(C3DPointDouble(14, 10, 0)));
    EXPECT_FALSE(m.IsOnRotationPoint(C3DPointDouble(10, 5.9, 0)));
}

TEST(CLineManipulative, RotationLeavesThePivotWhereItIs) {
    CLineManipulative m = Square(0, 0, 10);
    const C3DPointDouble centre = m.centre();
    m.Rotate(0.3, centre);
    EXPECT_EQ(m.centre(), centre); // exactly, not merely within rounding
    EXPECT_EQ(m.rotationPoint(), centre);

    // About another point: the centre turns clockwise, a rotation point on the pivot stays.
    CLineManipulative n = Square(0, 0, 10);
    n.SetRotationPoint(C3DPointDouble(0, 0));
    n.Rotate(kPi / 2, C3DPointDouble(0, 0));
    EXPECT_NEAR(n.centre().x, -5, 1e-9);
    EXPECT_NEAR(n.centre().y, 5, 1e-9);
    EXPECT_EQ(n.rotationPoint(), C3DPointDouble(0, 0));
    EXPECT_EQ(n.lines()[0].end().Rounded(), (CPoint{0, 10}));
}

TEST(CLineManipulative, EightFlipStepsMirrorLinesCentreAndRotationPoint) {
    // An arrow pointing right, above the pivot.
    CLineManipulative up = Path({{2, -5}, {12, -5}, {9, -8}});
    CLineManipulative side(up);
    const C3DPointDouble pivot(0, 0);
    for (int i = 0; i < 8; ++i) {
        up.FlipStep(pivot);
        side.FlipStepCrossAxis(pivot);
    }
    // Vertical flip: mirrored about the horizontal axis.
    EXPECT_EQ(up.lines()[1].end().Rounded(), (CPoint{9, 8}));
    EXPECT_NEAR(up.centre().y, -CLineManipulative(Path({{2, -5}, {12, -5}, {9, -8}})).centre().y,
                1e-6);
    EXPECT_NEAR(up.rotationPoint().z, 0, 1e-6);
    // Horizontal flip: now pointing left at the same height.
    EXPECT_EQ(side.lines()[0].start().Rounded(), (CPoint{-2, -5}));
    EXPECT_EQ(side.lines()[0].end().Rounded(), (CPoint{-12, -5}));
    EXPECT_EQ(side.lines()[1].end().Rounded(), (CPoint{-9, -8}));
    EXPECT_NEAR(side.rotationPoint().x, -up.rotationPoint().x, 1e-6);
    EXPECT_NEAR(side.centre().z, 0, 1e-6);
}

// --- scale -----------------------------------------------------------------------------------

TEST(CLineManipulative, ShrinkingIsRefusedAtAFrameOfFivePixels) {
    CLineManipulative m = Square(10, 10, 2);
    ASSERT_EQ(m.GetFrameOf(), (CRect{9, 9, 14, 14})); // 5 by 5
    m.Scale(0.5, m.centre());
    EXPECT_EQ(m.lines()[1].start(), C3DPointDouble(12, 10));

    m.Scale(2, C3DPointDouble(0, 0));
    EXPECT_EQ(m.lines()[1].start(), C3DPointDouble(24, 20));
    EXPECT_EQ(m.lines()[1].end(), C3DPointDouble(24, 24));
    EXPECT_EQ(m.centre(), C3DPointDouble(22, 22));
    EXPECT_EQ(m.rotationPoint(), C3DPointDouble(22, 22));
}

TEST(CLineManipulative, ShrinkingIsAllowedWhenEitherSideExceedsFive) {
    CLineManipulative square = Square(0, 0, 3); // 6 by 6
    square.Scale(0.5, C3DPointDouble(0, 0));
    EXPECT_EQ(square.lines()[1].start(), C3DPointDouble(1.5, 0.0, 0.0));

    CLineManipulative flat = Segment({0, 0}, {10, 0}); // 13 wide, 3 high
    flat.Scale(0.5, C3DPointDouble(0, 0));
    EXPECT_EQ(flat.lines()[0].end(), C3DPointDouble(5, 0));
}

// --- frames and vertices ---------------------------------------------------------------------

TEST(CLineManipulative, FrameIsGrownByTheFirstWidthAndTakesInTheRotationPointWhenSelected) {
    CLineManipulative m = Square(10, 20, 10);
    m.SetLineWidth(2);
    m.lines()[1].SetWidth(7); // only the first line's width counts
    EXPECT_EQ(m.GetFrameOf(), (CRect{8, 18, 23, 33}));
    CRect bounds;
    m.GetBounds(bounds);
    EXPECT_EQ(bounds, (CRect{10, 20, 21, 31}));

    m.SetRotationPoint(C3DPointDouble(40.4, 5.6, 0));
    EXPECT_EQ(m.GetFrameOf(), (CRect{8, 18, 23, 33}));
    m.SetSelected(true);
    EXPECT_EQ(m.GetFrameOf(), (CRect{8, 6, 41, 33}));
}

TEST(CLineManipulative, FrameOfAHugeWidthFromAFileDoesNotOverflow) {
    CLineManipulative m = Square(0, 0, 10);
    m.SetLineWidth(std::numeric_limits<std::int32_t>::max());
    const CRect f = m.GetFrameOf();
    EXPECT_LT(f.left, 0);
    EXPECT_GT(f.right, 10);
}

TEST(CLineManipulative, VerticesAreTheLineEndsThenTheCentre) {
    CLineManipulative m(
        std::vector<CLine>{CLine(C3DPointDouble(0.5, 0, 0), C3DPointDouble(3, 4.5, 0))});
    std::vector<CPoint> v;
    EXPECT_EQ(m.GetVertices(v), 3);
    EXPECT_EQ(v, (std::vector<CPoint>{{1, 0}, {3, 5}, {2, 2}}));

    // Without lines, the centre alone.
    CLineManipulative empty;
    empty.MoveBy(3, 4);
    EXPECT_EQ(empty.GetVertices(v), 1);
    EXPECT_EQ(v, std::vector<CPoint>{empty.centre().Rounded()});
}

TEST(CLineManipulative, NinetyNineLinesExportAndAHundredAreRefused) {
    std::vector<CLine> lines(99, CLine(CPoint{0, 0}, CPoint{1, 1}));
    std::vector<CPoint> v;
    EXPECT_EQ(CLineManipulative(lines).GetVertices(v), 199);
    EXPECT_EQ(v.size(), 199u);

    lines.emplace_back(CPoint{0, 0}, CPoint{1, 1});
    EXPECT_EQ(CLineManipulative(lines).GetVertices(v), 0);
    EXPECT_TRUE(v.empty());
}

// --- colour and width ------------------------------------------------------------------------

TEST(CLineManipulative, ColourAndWidthGoToEveryLineAndAreReadFromTheFirst) {
    CLineManipulative empty;
    EXPECT_EQ(empty.GetColor(), kNoColor);
    EXPECT_EQ(empty.GetLineWidth(), 0);

    CLineManipulative m = Square(0, 0, 10);
    m.SetColor(kRed);
    m.SetLineWidth(2);
    for (const CLine& l : m.lines()) {
        EXPECT_EQ(l.color(), kRed);
        EXPECT_EQ(l.width(), 2);
    }
    m.lines()[1].SetColor(PaletteRGB(0, 0, 255));
    m.lines()[1].SetWidth(1);
    EXPECT_EQ(m.GetColor(), kRed);
    EXPECT_EQ(m.GetLineWidth(), 2);
}

// --- drawing and hit testing -----------------------------------------------------------------

TEST(CLineManipulative, DrawsEachLineInTheStyleOfItsState) {
    CLineManipulative m(std::vector<CLine>{CLine(CPoint{0, 0}, CPoint{10, 0}),
                                           CLine(CPoint{10, 0}, CPoint{10, 10})});
    m.lines()[1].SetVisible(false);
    using V = std::vector<std::string>;

    EXPECT_EQ(Drawn(m), (V{"pen 1 #000000", "line 0,0 10,0"}));
    EXPECT_EQ(Drawn(m, true), (V{"pen 1 #c7c7c7", "line 10,0 10,10"}));

    m.SetHighlighted(true);
    EXPECT_EQ(Drawn(m), (V{"pen 9 #ff00ff", "line 0,0 10,0", "pen 9 #ff00ff", "line 10,0 10,10"}));
    m.SetSelected(true); // selection wins over highlight
    EXPECT_EQ(Drawn(m), (V{"pen 3 #000000", "line 0,0 10,0", "pen 3 #000000", "line 10,0 10,10"}));

    m.SetVisible(false);
    EXPECT_TRUE(Drawn(m).empty());
}

TEST(CLineManipulative, HitTestsAnyLineButHitTestLineOnlyTheLast) {
    CLineManipulative m(std::vector<CLine>{CLine(CPoint{0, 0}, CPoint{10, 0}),
                                           CLine(CPoint{10, 0}, CPoint{10, 10})});
    EXPECT_TRUE(m.HitTest(5, 1));
    EXPECT_FALSE(m.HitTestLine(5, 1));
    EXPECT_TRUE(m.HitTest(11, 5));
    EXPECT_TRUE(m.HitTestLine(11, 5));
    EXPECT_FALSE(m.HitTest(5, 5));
}

TEST(CLineManipulative, ToggleLineAtSwitchesEveryLineUnderThePoint) {
    CLineManipulative m = Square(0, 0, 10);
    EXPECT_TRUE(m.ToggleLineAt(C3DPointDouble(10, 0, 0))); // the corner of lines 0 and 1
    EXPECT_FALSE(m.lines()[0].visible());
    EXPECT_FALSE(m.lines()[1].visible());
    EXPECT_TRUE(m.lines()[2].visible());
    EXPECT_FALSE(m.ToggleLineAt(C3DPointDouble(5, 5, 0)));
    EXPECT_TRUE(m.ToggleLineAt(C3DPointDouble(5, 0, 0)));
    EXPECT_TRUE(m.lines()[0].visible());
}

// --- snapping --------------------------------------------------------------------------------

TEST(CManipulativeSnap, NearestVerticesEightPixelsApartSnapAndNineDoNot) {
    const CLineManipulative mine = Segment({0, 0}, {0, 20});
    C3DPointDouble a, b;

    ASSERT_TRUE(mine.FindSnapPair(Segment({8, 23}, {8, 43}), a, b));
    EXPECT_EQ(a, C3DPointDouble(0, 20));
    EXPECT_EQ(b, C3DPointDouble(8, 23));

    EXPECT_FALSE(mine.FindSnapPair(Segment({9, 23}, {9, 43}), a, b));
    EXPECT_EQ(a, C3DPointDouble(-1.0, -1.0, 0.0));
    EXPECT_EQ(b, C3DPointDouble(-1.0, -1.0, 0.0));
    EXPECT_FALSE(mine.FindSnapPair(Segment({8, 29}, {8, 43}), a, b)); // 9 apart in y
}

TEST(CManipulativeSnap, MiddlesAndCentresAreCandidates) {
    const CLineManipulative mine = Segment({0, 0}, {40, 0});
    C3DPointDouble a, b;
    ASSERT_TRUE(mine.FindSnapPair(Segment({24, 5}, {24, 100}), a, b));
    EXPECT_EQ(a, C3DPointDouble(20, 0)); // the middle of the line
    EXPECT_EQ(b, C3DPointDouble(24, 5));
}

TEST(CManipulativeSnap, GroupsAreSearchedMemberByMember) {
    // A group whose second member is near, nested inside another group.
    auto inner = std::make_unique<TestGroup>();
    inner->Add(Segment({200, 200}, {220, 200})).Add(Segment({0, 0}, {0, 20}));
    TestGroup outer;
    outer.Add(Segment({500, 500}, {520, 500}));
    outer.members.push_back(std::move(inner));

    const CLineManipulative other = Segment({8, 23}, {8, 43});
    C3DPointDouble a, b;
    ASSERT_TRUE(outer.FindSnapPair(other, a, b));
    EXPECT_EQ(a, C3DPointDouble(0, 20));
    EXPECT_EQ(b, C3DPointDouble(8, 23));

    ASSERT_TRUE(other.FindSnapPair(outer, a, b));
    EXPECT_EQ(a, C3DPointDouble(8, 23));
    EXPECT_EQ(b, C3DPointDouble(0, 20));

    ASSERT_TRUE(outer.FindSnapPoint(C3DPointDouble(4, 25, 0), a));
    EXPECT_EQ(a, C3DPointDouble(0, 20));
}

TEST(CManipulativeSnap, FindSnapPointUsesTheSameDistance) {
    const CLineManipulative m = Segment({0, 0}, {0, 20});
    C3DPointDouble a;
    ASSERT_TRUE(m.FindSnapPoint(C3DPointDouble(8, 23, 0), a));
    EXPECT_EQ(a, C3DPointDouble(0, 20));
    EXPECT_FALSE(m.FindSnapPoint(C3DPointDouble(9, 23, 0), a));
    EXPECT_EQ(a, C3DPointDouble(-1.0, -1.0, 0.0));
}

TEST(CManipulativeSnap, ALaterPairWinsOnASmallerDxOrDyAlone) {
    // Candidates in order: (0,0) three times, (7,6) three times, then (100,100) and a far centre.
    CLineManipulative m(std::vector<CLine>{CLine(CPoint{0, 0}, CPoint{0, 0}),
                                           CLine(CPoint{7, 6}, CPoint{7, 6}),
                                           CLine(CPoint{100, 100}, CPoint{100, 100})});
    C3DPointDouble a;
    // (0,0) is 6 away and (7,6) 7 away, but (7,6) has the smaller dy.
    ASSERT_TRUE(m.FindSnapPoint(C3DPointDouble(0, 6, 0), a));
    EXPECT_EQ(a, C3DPointDouble(7, 6));
}

// --- comparison ------------------------------------------------------------------------------

TEST(CManipulativeEquality, EndsAgreeWithinFiveHundredths) {
    const CLineManipulative m = Square(0, 0, 10);
    Exposed near(m.lines());
    near.lines()[0].SetPoints(C3DPointDouble(0.05, 0.04, 0), near.lines()[0].end());
    near.SetCentre(m.centre());
    EXPECT_TRUE(m.IsEqualTo(near));
    EXPECT_TRUE(near.IsEqualTo(m));

    Exposed far(m.lines());
    far.lines()[0].SetPoints(C3DPointDouble(0.06, 0, 0), far.lines()[0].end());
    far.SetCentre(m.centre());
    EXPECT_FALSE(m.IsEqualTo(far));

    Exposed moved(m.lines());
    moved.SetCentre(C3DPointDouble(5.06, 5, 0));
    EXPECT_FALSE(m.IsEqualTo(moved));
    moved.SetCentre(C3DPointDouble(5, 4.95, 0));
    EXPECT_TRUE(m.IsEqualTo(moved));
}

TEST(CManipulativeEquality, NeedsTheSameLinesInTheSameOrder) {
    const CLineManipulative m = Square(0, 0, 10);
    EXPECT_FALSE(m.IsEqualTo(Path({{0, 0}, {10, 0}, {10, 10}})));
    // The same square walked from another corner has the same centre but other lines.
    EXPECT_FALSE(m.IsEqualTo(Path({{10, 0}, {10, 10}, {0, 10}, {0, 0}})));
}

TEST(CManipulativeEquality, GroupsCompareMemberByMember) {
    TestGroup a, b;
    a.Add(Square(0, 0, 10)).Add(Square(20, 0, 10));
    b.Add(Square(0, 0, 10)).Add(Square(20, 0, 10));
    EXPECT_TRUE(a.IsEqualTo(b));

    TestGroup swapped;
    swapped.Add(Square(20, 0, 10)).Add(Square(0, 0, 10));
    EXPECT_FALSE(a.IsEqualTo(swapped));

    TestGroup shorter;
    shorter.Add(Square(0, 0, 10));
    EXPECT_FALSE(a.IsEqualTo(shorter));
    EXPECT_FALSE(shorter.IsEqualTo(Square(0, 0, 10)));
    EXPECT_FALSE(Square(0, 0, 10).IsEqualTo(shorter));
}

// --- archive form ----------------------------------------------------------------------------

namespace {

// One red line, and every flag different from its neighbours so that the field order shows.
CLineManipulative Sample() {
    CLine line(CPoint{1, 2}, CPoint{4, 8});
    line.SetWidth(2);
    line.SetColor(kRed);
    CLineManipulative m(std::vector<CLine>{line});
    m.SetRotationPoint(C3DPointDouble(3.5, 6.0, 0.0));
    m.SetSelected(true);
    m.SetVisible(false);
    m.SetHighlighted(true);
    m.SetKind(7);
    m.SetFixed(true);
    return m;
}

LayoutBuilder SampleLayout(std::int32_t flagTrue = 1) {
    LayoutBuilder b;
    b.Int32(1);                 // number of lines
    b.Point(2.5, 5.0);          // centre
    b.Point(3.5, 6.0);          // rotation point
    b.Int32(flagTrue).Int32(0); // selected, visible
    b.Int32(0).Int32(flagTrue); // script mark, highlighted
    b.Int32(7).Int32(flagTrue); // kind, fixed
    b.Segment(1, 2, 4, 8, 2, 0x020000FFu, 1);
    return b;
}

CLineManipulative Loaded(const std::vector<std::uint8_t>& bytes) {
    CArchive in(bytes);
    CLineManipulative m;
    m.Serialize(in);
    EXPECT_TRUE(in.AtEnd());
    return m;
}

} // namespace

TEST(CManipulativeArchive, BaseFormFieldByField) {
    CLineManipulative m = Sample();
    EXPECT_EQ(Stored([&](CArchive& ar) { m.Serialize(ar); }), SampleLayout().bytes);

    const auto empty = Stored([](CArchive& ar) { CManipulative().Serialize(ar); });
    EXPECT_EQ(empty, LayoutBuilder()
                         .Int32(0)
                         .Point(0, 0)
                         .Point(0, 0)
                         .Int32(0)
                         .Int32(1)
                         .Int32(0)
                         .Int32(0)
                         .Int32(-1)
                         .Int32(0)
                         .bytes);
    EXPECT_EQ(empty.size(), kMinManipulativeBytes);
}

TEST(CManipulativeArchive, ReadsEveryFieldAndTakesNonZeroFlagsAsTrue) {
    const CLineManipulative m = Loaded(SampleLayout(5).bytes);
    EXPECT_EQ(m.centre(), C3DPointDouble(2.5, 5.0, 0.0));
    EXPECT_EQ(m.rotationPoint(), C3DPointDouble(3.5, 6.0, 0.0));
    EXPECT_TRUE(m.selected());
    EXPECT_FALSE(m.visible());
    EXPECT_FALSE(m.scriptMark());
    EXPECT_TRUE(m.highlighted());
    EXPECT_EQ(m.kind(), 7);
    EXPECT_TRUE(m.fixed());
    ASSERT_EQ(m.lines().size(), 1u);
    EXPECT_EQ(m.lines()[0].end(), C3DPointDouble(4, 8));
    EXPECT_EQ(m.lines()[0].width(), 2);
    EXPECT_EQ(m.lines()[0].color(), kRed);

    // Written back, it is the canonical form.
    CLineManipulative back = Loaded(SampleLayout(5).bytes);
    EXPECT_EQ(Stored([&](CArchive& ar) { back.Serialize(ar); }), SampleLayout().bytes);
}

TEST(CManipulativeArchive, ReadingReplacesTheLinesAndResetsTheScaleLevel) {
    CLineManipulative m = Square(0, 0, 10);
    m.RaiseScaleLevel();
    m.RaiseScaleLevel();
    const auto bytes = SampleLayout().bytes;
    CArchive in(bytes);
    m.Serialize(in);
    ASSERT_EQ(m.lines().size(), 1u);
    EXPECT_EQ(m.lines()[0].start(), C3DPointDouble(1, 2));
    EXPECT_EQ(m.scaleLevel(), 0);
}

TEST(CManipulativeArchive, RoundTripThroughTheTypeCode) {
    CLineManipulative m = Path({{0, 0}, {30, 0}, {15, -26}});
    m.SetColor(PaletteRGB(10, 20, 30));
    m.MoveBy(0.25, 0.5);
    CArchive out;
    WriteManipulative(out, m);
    const auto bytes = out.TakeBytes();

    CArchive in(bytes);
    const auto back = ReadManipulative(in);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetType(), kTypeLine);
    EXPECT_TRUE(back->IsEqualTo(m));
    EXPECT_EQ(back->GetColor(), PaletteRGB(10, 20, 30));
    EXPECT_TRUE(back->visible());
    EXPECT_TRUE(in.AtEnd());
}

TEST(CManipulativeArchive, AFormNamesItsCodesItsTabAndWhatAnUnknownCodeDoes) {
    static constexpr std::int32_t kLines[] = {kTypeLine};
    static constexpr std::int32_t kAnnotators[] = {kTypeAnnotator};
    const CLineManipulative line = Square(0, 0, 10);
    CArchive out;
    WriteManipulative(out, line, {kLines, true});
    const auto bytes = out.TakeBytes();
    ASSERT_EQ(bytes[4], CArchive::kTab);
    CArchive in(bytes);
    const auto back = ReadManipulative(in, {kLines, true});
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->IsEqualTo(line));
    EXPECT_TRUE(in.AtEnd());

    // A code the list does not hold fails at the code, unless the layout ends the list there.
    CArchive refused(bytes);
    try {
        ReadManipulative(refused, {kAnnotators, true});
        ADD_FAILURE() << "a line read as an annotator";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.field(), "type");
        EXPECT_EQ(e.offset(), 4u);
    }
    CArchive ended(bytes);
    EXPECT_EQ(ReadManipulative(ended, {kAnnotators, true, UnknownType::EndsTheList}), nullptr);
    // A field tree has no layout to end.
    CValue tree;
    CArchive dump = CArchive::ForDump(tree);
    WriteManipulative(dump, line);
    CArchive build = CArchive::ForBuild(tree);
    EXPECT_THROW(ReadManipulative(build, {kAnnotators, false, UnknownType::EndsTheList}),
                 CArchiveException);
}

TEST(CManipulativeArchive, EveryTruncationFailsCleanly) {
    CLineManipulative m = Square(3, 4, 10);
    const auto bytes = Stored([&](CArchive& ar) { m.Serialize(ar); });
    EXPECT_EQ(FirstPrefixThatLoads(bytes, [](CArchive& ar) { CLineManipulative().Serialize(ar); }),
              std::nullopt);
}

TEST(CManipulativeArchive, ALineCountBeyondTheFileFailsBeforeAllocating) {
    for (std::int32_t count : {std::numeric_limits<std::int32_t>::max(), 2, -1}) {
        auto bytes = SampleLayout().bytes;
        bytes[0] = static_cast<std::uint8_t>(count);
        bytes[1] = static_cast<std::uint8_t>(count >> 8);
        bytes[2] = static_cast<std::uint8_t>(count >> 16);
        bytes[3] = static_cast<std::uint8_t>(count >> 24);
        CArchive in(bytes);
        CLineManipulative m;
        try {
            m.Serialize(in);
            ADD_FAILURE() << "count " << count << " was accepted";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.field(), "line count") << "count " << count;
        }
    }
}

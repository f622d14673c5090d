// Segments: construction, drawing styles, bounding box, hit test, transformations, archive form.
#include "workspace/line.h"

#include "fakes/fakes.h"
#include "layout_builder.h"
#include "workspace/archive.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quorvel;
using quorvel::testing::FirstPrefixThatLoads;
using quorvel::testing::LayoutBuilder;
using quorvel::testing::RecordingSurface;
using quorvel::testing::Stored;

namespace {

constexpr Color kRed = PaletteRGB(255, 0, 0);

void ExpectPoint(const C3DPointDouble& p, double x, double y, double z, double eps = 1e-6) {
    EXPECT_NEAR(p.x, x, eps);
    EXPECT_NEAR(p.y, y, eps);
    EXPECT_NEAR(p.z, z, eps);
}

void ExpectMidpointIsMean(const CLine& l) {
    EXPECT_DOUBLE_EQ(l.midpoint().x, (l.start().x + l.end().x) / 2);
    EXPECT_DOUBLE_EQ(l.midpoint().y, (l.start().y + l.end().y) / 2);
    EXPECT_DOUBLE_EQ(l.midpoint().z, (l.start().z + l.end().z) / 2);
}

std::vector<std::string> Drawn(const CLine& l, LineStyle style) {
    RecordingSurface dc;
    l.Draw(dc, style);
    return dc.calls;
}

CLine RedLine(int width) {
    CLine l(C3DPointDouble(0.5, -0.5, 0), C3DPointDouble(10.4, 20.5, 0));
    l.SetWidth(width);
    l.SetColor(kRed);
    return l;
}

} // namespace

TEST(CLine, DefaultIsInvisibleAndDrawsNothingPlainly) {
    CLine l;
    EXPECT_FALSE(l.visible());
    EXPECT_EQ(l.start(), C3DPointDouble());
    EXPECT_EQ(l.end(), C3DPointDouble());
    EXPECT_TRUE(Drawn(l, LineStyle::Plain).empty());
}

TEST(CLine, ConstructedFromPointsIsVisibleWithItsMidpoint) {
    CLine l(CPoint{2, 4}, CPoint{6, -8});
    EXPECT_TRUE(l.visible());
    EXPECT_EQ(l.midpoint(), C3DPointDouble(4.0, -2.0, 0.0));

    CLine s(C3DPointDouble(0, 0, 2), C3DPointDouble(1, 1, 4));
    EXPECT_TRUE(s.visible());
    EXPECT_EQ(s.midpoint(), C3DPointDouble(0.5, 0.5, 3.0));
}

TEST(CLine, SettersReturnThePreviousValueAndCopiesKeepThem) {
    CLine l(CPoint{0, 0}, CPoint{1, 1});
    const std::int32_t oldWidth = l.width();
    EXPECT_EQ(l.SetWidth(2), oldWidth);
    EXPECT_EQ(l.SetWidth(1), 2);
    l.SetWidth(2);
    const Color oldColor = l.color();
    EXPECT_EQ(l.SetColor(kRed), oldColor);
    EXPECT_EQ(l.SetColor(kRed), kRed);
    l.SetVisible(false);

    const CLine copy(l);
    EXPECT_EQ(copy.width(), 2);
    EXPECT_EQ(copy.color(), kRed);
    EXPECT_FALSE(copy.visible());
}

TEST(CLine, DrawingStylesChooseThePenAndRoundTheEnds) {
    CLine l = RedLine(2);
    using V = std::vector<std::string>;
    const std::string line = "line 1,-1 10,21";
    EXPECT_EQ(Drawn(l, LineStyle::Plain), (V{"pen 2 #ff0000", line}));
    EXPECT_EQ(Drawn(l, LineStyle::Selected), (V{"pen 4 #ff0000", line}));
    EXPECT_EQ(Drawn(l, LineStyle::Highlighted), (V{"pen 10 #ff00ff", line}));
    EXPECT_TRUE(Drawn(l, LineStyle::HiddenView).empty());
}

TEST(CLine, AHiddenSegmentShowsOnlyInTheHiddenView) {
    CLine l = RedLine(2);
    l.SetVisible(false);
    using V = std::vector<std::string>;
    EXPECT_TRUE(Drawn(l, LineStyle::Plain).empty());
    EXPECT_EQ(Drawn(l, LineStyle::HiddenView), (V{"pen 2 #c7c7c7", "line 1,-1 10,21"}));
    // Selection and highlight still outline it.
    EXPECT_EQ(Drawn(l, LineStyle::Selected).front(), "pen 4 #ff0000");
    EXPECT_EQ(Drawn(l, LineStyle::Highlighted).front(), "pen 10 #ff00ff");
}

TEST(CLine, BoundingBoxSpansTheRoundedEnds) {
    CLine l(C3DPointDouble(10.6, 3.0, 0), C3DPointDouble(2.4, -1.5, 0));
    EXPECT_EQ(l.BoundingBox(), (CRect{2, -2, 11, 3}));
}

TEST(CLineHitTest, DistanceFromTheLineIsAtMostTwoPixels) {
    const CLine vertical(CPoint{0, 0}, CPoint{0, 20});
    EXPECT_TRUE(vertical.HitTest(CPoint{2, 10}));
    EXPECT_TRUE(vertical.HitTest(CPoint{-2, 10}));
    EXPECT_FALSE(vertical.HitTest(CPoint{-3, 10})); // inside the widened box, 3 pixels away

    const CLine diagonal(CPoint{0, 0}, CPoint{20, 20});
    EXPECT_TRUE(diagonal.HitTest(CPoint{10, 12}));  // 1.41 pixels away
    EXPECT_FALSE(diagonal.HitTest(CPoint{10, 13})); // 2.12 pixels away, inside the box
    EXPECT_TRUE(diagonal.HitTest(CPoint{20, 20}));
}

TEST(CLineHitTest, BoxIsWidenedThreeLeftTwoUpThreeRightAndDown) {
    const CLine horizontal(CPoint{0, 10}, CPoint{20, 10});
    EXPECT_TRUE(horizontal.HitTest(CPoint{-2, 10}));
    EXPECT_FALSE(horizontal.HitTest(CPoint{-4, 10}));
    EXPECT_TRUE(horizontal.HitTest(CPoint{22, 10}));
    EXPECT_FALSE(horizontal.HitTest(CPoint{23, 10})); // right edge excluded
    EXPECT_TRUE(horizontal.HitTest(CPoint{10, 8}));
    EXPECT_TRUE(horizontal.HitTest(CPoint{10, 12}));
}

TEST(CLineHitTest, ZeroLengthSegmentIsHitWithinTwoPixelsOfItsStart) {
    const CLine dot(CPoint{5, 5}, CPoint{5, 5});
    EXPECT_TRUE(dot.HitTest(CPoint{5, 5}));
    EXPECT_TRUE(dot.HitTest(CPoint{7, 5}));
    EXPECT_TRUE(dot.HitTest(CPoint{5, 3}));
    EXPECT_TRUE(dot.HitTest(CPoint{6, 6}));
    EXPECT_FALSE(dot.HitTest(CPoint{7, 7}));
    EXPECT_FALSE(dot.HitTest(CPoint{8, 5}));
}

TEST(CLineHitTest, MeasuresOnWholePixelDifferences) {
    const CLine diagonal(CPoint{0, 0}, CPoint{20, 20});
    // 2.05 pixels away exactly, but the difference 12.9 counts as 12.
    EXPECT_TRUE(diagonal.HitTest(10.0, 12.9));
    // A point exactly on the segment, where the cosine rounds to a hair above 1.
    const CLine steep(CPoint{0, 0}, CPoint{4, 6});
    EXPECT_TRUE(steep.HitTest(CPoint{2, 3}));
}

TEST(CLine, TransformationsKeepTheMidpointTheMeanOfTheEnds) {
    CLine l(C3DPointDouble(1.0, 2.0, 0.0), C3DPointDouble(7.0, -3.0, 0.0));
    l.Translate(2.5, -1.0);
    ExpectPoint(l.start(), 3.5, 1.0, 0);
    ExpectMidpointIsMean(l);

    l.Rotate(kPi / 2, C3DPointDouble(3.5, 1.0, 0.0));
    ExpectPoint(l.start(), 3.5, 1.0, 0);
    ExpectPoint(l.end(), 3.5 + 5.0, 1.0 + 6.0, 0); // the offset (6, -5) turned clockwise
    ExpectMidpointIsMean(l);

    l.Scale(2, C3DPointDouble(3.5, 1.0, 0.0));
    ExpectPoint(l.end(), 3.5 + 10.0, 1.0 + 12.0, 0);
    ExpectMidpointIsMean(l);

    l.FlipStepVertical(C3DPointDouble(0, 0));
    ExpectMidpointIsMean(l);
    l.FlipStepHorizontal(C3DPointDouble(0, 0));
    ExpectMidpointIsMean(l);
}

TEST(CLine, ScaleLeavesZ) {
    CLine l(C3DPointDouble(2, 2, 5), C3DPointDouble(4, 4, -5));
    l.Scale(0.5, C3DPointDouble(0, 0, 100));
    ExpectPoint(l.start(), 1, 1, 5);
    ExpectPoint(l.end(), 2, 2, -5);
}

TEST(CLineFlip, OneVerticalStepTiltsTowardsTheViewer) {
    CLine l(CPoint{0, -10}, CPoint{10, -10});
    l.FlipStepVertical(C3DPointDouble(0, 0));
    const double c = std::cos(kPi / 8), s = std::sin(kPi / 8);
    ExpectPoint(l.start(), 0, -10 * c, 10 * s);
    ExpectPoint(l.end(), 10, -10 * c, 10 * s);
}

TEST(CLineFlip, EightVerticalStepsMirrorAboutTheHorizontalAxis) {
    CLine l(CPoint{0, -10}, CPoint{10, -10});
    for (int i = 0; i < 8; ++i)
        l.FlipStepVertical(C3DPointDouble(0, 0));
    ExpectPoint(l.start(), 0, 10, 0);
    ExpectPoint(l.end(), 10, 10, 0);
    EXPECT_EQ(l.start().Rounded(), (CPoint{0, 10}));
    EXPECT_EQ(l.end().Rounded(), (CPoint{10, 10}));
}

TEST(CLineFlip, OneHorizontalStepTurnsAboutTheVerticalAxis) {
    CLine l(CPoint{10, 0}, CPoint{10, 5});
    l.FlipStepHorizontal(C3DPointDouble(0, 0));
    const double c = std::cos(kPi / 8), s = std::sin(kPi / 8);
    ExpectPoint(l.start(), 10 * c, 0, -10 * s);
    ExpectPoint(l.end(), 10 * c, 5, -10 * s);
}

TEST(CLineFlip, EightHorizontalStepsMirrorAboutTheVerticalAxis) {
    // An arrow shaft pointing right becomes one pointing left at the same height.
    CLine l(CPoint{2, -5}, CPoint{12, -5});
    const C3DPointDouble centre(0, -20);
    for (int i = 0; i < 8; ++i)
        l.FlipStepHorizontal(centre);
    ExpectPoint(l.start(), -2, -5, 0);
    ExpectPoint(l.end(), -12, -5, 0);
}

TEST(CLineArchive, FormIsThreePointsThenWidthColourAndVisibility) {
    CLine l(CPoint{1, 2}, CPoint{4, 8});
    l.SetWidth(2);
    l.SetColor(kRed);
    const auto bytes = Stored([&](CArchive& ar) { l.Serialize(ar); });
    ASSERT_EQ(bytes.size(), 96u);
    EXPECT_EQ(bytes, LayoutBuilder().Segment(1, 2, 4, 8, 2, 0x020000FFu, 1).bytes);

    CLine hidden;
    EXPECT_EQ(Stored([&](CArchive& ar) { hidden.Serialize(ar); }),
              LayoutBuilder().Segment(0, 0, 0, 0, hidden.width(), hidden.color(), 0).bytes);
}

TEST(CLineArchive, ReadsBackWhatItWrote) {
    CLine l(C3DPointDouble(1.25, -2.0, 0.5), C3DPointDouble(-4.0, 8.75, 0.0));
    l.SetWidth(2);
    l.SetColor(PaletteRGB(1, 2, 3));
    l.SetVisible(false);
    const auto bytes = Stored([&](CArchive& ar) { l.Serialize(ar); });

    CArchive in(bytes);
    CLine back(CPoint{9, 9}, CPoint{9, 9});
    back.Serialize(in);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(back.start(), l.start());
    EXPECT_EQ(back.end(), l.end());
    EXPECT_EQ(back.midpoint(), l.midpoint());
    EXPECT_EQ(back.width(), 2);
    EXPECT_EQ(back.color(), PaletteRGB(1, 2, 3));
    EXPECT_FALSE(back.visible());
}

TEST(CLineArchive, AnyNonZeroVisibleFlagMeansVisible) {
    const auto bytes = LayoutBuilder().Segment(0, 0, 5, 5, 1, 0x02000000u, 7).bytes;
    CArchive in(bytes);
    CLine back;
    back.Serialize(in);
    EXPECT_TRUE(back.visible());
}

TEST(CLineArchive, EveryTruncationFails) {
    const auto bytes = LayoutBuilder().Segment(1, 2, 3, 4, 1, 0x02000000u, 1).bytes;
    EXPECT_EQ(FirstPrefixThatLoads(bytes, [](CArchive& ar) { CLine().Serialize(ar); }),
              std::nullopt);
}

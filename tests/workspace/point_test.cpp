// The workspace point: rounding to pixels, rotations, tolerance and archive form.
#include "workspace/point.h"

#include "layout_builder.h"
#include "workspace/archive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace quorvel;
using quorvel::testing::FirstPrefixThatLoads;
using quorvel::testing::LayoutBuilder;
using quorvel::testing::Stored;

namespace {

constexpr double kEps = 1e-9;

void ExpectPoint(const C3DPointDouble& p, double x, double y, double z, double eps = kEps) {
    EXPECT_NEAR(p.x, x, eps);
    EXPECT_NEAR(p.y, y, eps);
    EXPECT_NEAR(p.z, z, eps);
}

} // namespace

TEST(RoundToPixel, RoundsHalfAwayFromZero) {
    EXPECT_EQ(RoundToPixel(2.5), 3);
    EXPECT_EQ(RoundToPixel(-2.5), -3);
    EXPECT_EQ(RoundToPixel(-2.4), -2);
    EXPECT_EQ(RoundToPixel(2.4), 2);
    EXPECT_EQ(RoundToPixel(-0.4), 0);
    EXPECT_EQ(RoundToPixel(-0.5), -1);
    EXPECT_EQ(C3DPointDouble(0.5, -1.5, 0).Rounded(), (CPoint{1, -2}));
}

TEST(RoundToPixel, KeepsValuesFromCorruptFilesInRange) {
    EXPECT_EQ(RoundToPixel(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(RoundToPixel(1e300), kPixelLimit);
    EXPECT_EQ(RoundToPixel(-std::numeric_limits<double>::infinity()), -kPixelLimit);
}

TEST(C3DPointDouble, PositiveAngleTurnsClockwiseOnScreen) {
    C3DPointDouble p(10, 0);
    p.Rotate(kPi / 2, C3DPointDouble(0, 0));
    ExpectPoint(p, 0, 10, 0); // below the centre, since y grows downwards

    C3DPointDouble q(15.0, 5.0, 4.0);
    q.Rotate(kPi / 2, C3DPointDouble(5, 5));
    ExpectPoint(q, 5, 15, 4); // about another centre; z untouched
}

TEST(C3DPointDouble, SpaceRotationTurnsInThePlaneThenOutOfIt) {
    const C3DPointDouble centre(1.0, 2.0, 3.0);

    // b alone turns about the horizontal axis: y goes towards z.
    C3DPointDouble p(1.0, -8.0, 3.0); // 10 above the centre
    p.RotateInSpace(0, kPi / 8, centre);
    ExpectPoint(p, 1, 2 - 10 * std::cos(kPi / 8), 3 + 10 * std::sin(kPi / 8));

    // a alone is the plane rotation and leaves z.
    C3DPointDouble q(11.0, 2.0, 7.0);
    q.RotateInSpace(kPi / 2, 0, centre);
    ExpectPoint(q, 1, 12, 7);

    // Both: the plane turn's y offset feeds the out-of-plane turn.
    C3DPointDouble r(11.0, 2.0, 3.0);
    r.RotateInSpace(kPi / 2, kPi / 2, centre);
    ExpectPoint(r, 1, 2, -7);
}

TEST(C3DPointDouble, EightVerticalStepsMirrorAndReturnToThePlane) {
    C3DPointDouble p(0, -10);
    for (int i = 0; i < 8; ++i)
        p.RotateInSpace(0, kPi / 8, C3DPointDouble(0, 0));
    ExpectPoint(p, 0, 10, 0, 1e-6);
}

TEST(C3DPointDouble, ToleranceComparesXAndYOnly) {
    const C3DPointDouble origin(0, 0);
    EXPECT_TRUE(origin.IsNear(C3DPointDouble(0.05, 0.04, 0.0)));
    EXPECT_TRUE(origin.IsNear(C3DPointDouble(-0.05, -0.05, 9.0)));
    EXPECT_FALSE(origin.IsNear(C3DPointDouble(0.06, 0.0, 0.0)));
    EXPECT_FALSE(origin.IsNear(C3DPointDouble(0.0, -0.06, 0.0)));
    EXPECT_NE(origin, C3DPointDouble(0.0, 0.0, 1.0)); // equality does compare z
}

TEST(C3DPointDouble, ArchiveFormIsThreeDoublesEachFollowedByATab) {
    C3DPointDouble p(1.5, -2.25, 0.125);
    const auto bytes = Stored([&](CArchive& ar) { p.Serialize(ar); });
    EXPECT_EQ(bytes,
              LayoutBuilder().Double(1.5).Tab().Double(-2.25).Tab().Double(0.125).Tab().bytes);
    ASSERT_EQ(bytes.size(), 27u);

    // Whatever the separator byte holds, it is skipped.
    auto edited = bytes;
    edited[8] = 'x';
    CArchive in(edited);
    C3DPointDouble back;
    back.Serialize(in);
    EXPECT_EQ(back, p);
    EXPECT_TRUE(in.AtEnd());

    EXPECT_EQ(FirstPrefixThatLoads(bytes, [](CArchive& ar) { C3DPointDouble().Serialize(ar); }),
              std::nullopt);
}

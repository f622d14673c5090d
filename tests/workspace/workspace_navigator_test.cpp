// The workspace navigator: its miniature, button moves, dragging, clamping, enabling, the
// fractions it reports and its archive form.
#include "workspace/archive.h"
#include "workspace/workspace_navigator.h"

#include "workspace/layout_builder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

struct Listener : INavigatorListener {
    std::vector<std::pair<double, double>> calls;
    void ScrollWorkspaceTo(double x, double y) override { calls.emplace_back(x, y); }
};

std::vector<NavDirection> AllDirections() {
    std::vector<NavDirection> all;
    for (int i = 0; i < kNavDirections; ++i)
        all.push_back(static_cast<NavDirection>(i));
    return all;
}

std::vector<NavDirection> Enabled(const CWorkspaceNavigatorModel& nav) {
    std::vector<NavDirection> on;
    for (NavDirection d : AllDirections())
        if (nav.IsEnabled(d))
            on.push_back(d);
    return on;
}

using D = NavDirection;

} // namespace

TEST(NavigatorLayout, ButtonsSitAtTheEdgesAndCornersThreePixelsIn) {
    EXPECT_EQ(CWorkspaceNavigatorModel::ButtonRect(D::Up), (CRect{35, 3, 50, 18}));
    EXPECT_EQ(CWorkspaceNavigatorModel::ButtonRect(D::Down), (CRect{35, 68, 50, 83}));
    EXPECT_EQ(CWorkspaceNavigatorModel::ButtonRect(D::Left), (CRect{3, 35, 18, 50}));
    EXPECT_EQ(CWorkspaceNavigatorModel::ButtonRect(D::Right), (CRect{68, 35, 83, 50}));
    EXPECT_EQ(CWorkspaceNavigatorModel::ButtonRect(D::UpLeft), (CRect{3, 3, 18, 18}));
    EXPECT_EQ(CWorkspaceNavigatorModel::ButtonRect(D::DownRight), (CRect{68, 68, 83, 83}));
    EXPECT_EQ(NavCommand(D::Up), 1035);
    EXPECT_EQ(NavCommand(D::DownLeft), 1042);
    EXPECT_EQ(NavButtonArt(D::UpRight).up, 248);
    EXPECT_EQ(NavButtonArt(D::DownLeft).disabled, 273);
}

TEST(NavigatorLayout, MiniatureIsAWholeNumberOfScreensInsideTheButtons) {
    for (auto [n, m] : {std::pair{3, 2}, {1, 1}, {5, 1}, {1, 4}, {8, 8}}) {
        const CWorkspaceNavigatorModel nav(n, m, 0.5, {640, 480});
        const CRect& f = nav.frame();
        const CRect& s = nav.shown();
        EXPECT_EQ(f.Width(), n * s.Width()) << n << "x" << m;
        EXPECT_EQ(f.Height(), m * s.Height()) << n << "x" << m;
        EXPECT_EQ(s.left, f.left);
        EXPECT_EQ(s.top, f.top);
        // The frame line, one pixel outside the frame, stays clear of every button.
        CRect line = f;
        line.Inflate(1, 1);
        for (NavDirection d : AllDirections())
            EXPECT_FALSE(line.Intersects(CWorkspaceNavigatorModel::ButtonRect(d)));
    }
}

// A square workspace of 3 by 3 square screens: each screen is 14 pixels in the miniature,
// the frame 42 pixels from (22, 22).
class Navigator3x3 : public ::testing::Test {
protected:
    Navigator3x3() : nav(3, 3, 0.5, {100, 100}) { nav.SetListener(&listener); }
    CWorkspaceNavigatorModel nav;
    Listener listener;
};

TEST_F(Navigator3x3, StartsAtTheTopLeftScreen) {
    EXPECT_EQ(nav.frame(), (CRect{22, 22, 64, 64}));
    EXPECT_EQ(nav.shown(), (CRect{22, 22, 36, 36}));
    EXPECT_EQ(Enabled(nav), (std::vector<D>{D::Right, D::Down, D::DownRight}));
    EXPECT_TRUE(listener.calls.empty()) << "nothing moved yet";
}

TEST_F(Navigator3x3, ButtonsMoveByTheStepTimesTheShownSize) {
    ASSERT_TRUE(nav.Press(D::Right));
    EXPECT_EQ(nav.shown(), (CRect{29, 22, 43, 36}));
    ASSERT_TRUE(nav.Press(D::DownRight));
    EXPECT_EQ(nav.shown(), (CRect{36, 29, 50, 43}));
    ASSERT_TRUE(nav.Press(D::Down));
    EXPECT_EQ(nav.shown(), (CRect{36, 36, 50, 50}));
    ASSERT_TRUE(nav.Press(D::UpLeft));
    ASSERT_TRUE(nav.Press(D::DownLeft));
    ASSERT_TRUE(nav.Press(D::UpRight));
    ASSERT_TRUE(nav.Press(D::Up));
    ASSERT_TRUE(nav.Press(D::Left));
    EXPECT_EQ(nav.shown(), (CRect{22, 22, 36, 36}));
    EXPECT_EQ(listener.calls.size(), 8u);
}

TEST_F(Navigator3x3, HalfPixelStepsRoundAwayFromZero) {
    CWorkspaceNavigatorModel quarter(3, 3, 0.25, {100, 100}); // 3.5 pixels a step
    ASSERT_TRUE(quarter.Press(D::Right));
    EXPECT_EQ(quarter.shown().left, 22 + 4);
    ASSERT_TRUE(quarter.Press(D::Right));
    EXPECT_EQ(quarter.shown().left, 22 + 8);
    ASSERT_TRUE(quarter.Press(D::Left));
    EXPECT_EQ(quarter.shown().left, 22 + 4);
}

TEST_F(Navigator3x3, ReportsFractionsOfTheScrollableRange) {
    nav.Press(D::Right);
    ASSERT_EQ(listener.calls.size(), 1u);
    EXPECT_DOUBLE_EQ(listener.calls[0].first, 7.0 / 28.0);
    EXPECT_DOUBLE_EQ(listener.calls[0].second, 0.0);
    nav.MoveTo({50, 36});
    EXPECT_DOUBLE_EQ(listener.calls.back().first, 1.0);
    EXPECT_DOUBLE_EQ(listener.calls.back().second, 0.5);
}

TEST_F(Navigator3x3, ClampsAtTheFrameAndGreysWhatPointsBeyondATouchedEdge) {
    for (int i = 0; i < 10; ++i)
        nav.Press(D::DownRight);
    EXPECT_EQ(nav.shown(), (CRect{50, 50, 64, 64}));
    EXPECT_EQ(Enabled(nav), (std::vector<D>{D::Up, D::Left, D::UpLeft}));
    EXPECT_FALSE(nav.Press(D::Right)) << "a greyed button does nothing";
    EXPECT_DOUBLE_EQ(listener.calls.back().first, 1.0);
    EXPECT_DOUBLE_EQ(listener.calls.back().second, 1.0);

    // Touching only the bottom: the diagonals downwards are greyed as well.
    nav.MoveTo({36, 100});
    EXPECT_EQ(nav.shown(), (CRect{36, 50, 50, 64}));
    EXPECT_EQ(Enabled(nav), (std::vector<D>{D::Up, D::Right, D::Left, D::UpRight, D::UpLeft}));

    // A step that would overshoot stops at the edge.
    nav.MoveTo({46, 22});
    ASSERT_TRUE(nav.Press(D::Right));
    EXPECT_EQ(nav.shown().right, 64);
}

TEST_F(Navigator3x3, DraggingMovesTheShownPartWithThePointerInsideTheFrame) {
    EXPECT_FALSE(nav.BeginDrag({50, 50})) << "a press outside the shown part";
    EXPECT_FALSE(nav.dragging());
    nav.DragTo({60, 60});
    EXPECT_EQ(nav.shown().left, 22);

    ASSERT_TRUE(nav.BeginDrag({25, 30}));
    nav.DragTo({35, 33});
    EXPECT_EQ(nav.shown(), (CRect{32, 25, 46, 39}));
    // The pointer is held inside the frame, then the part is clamped.
    nav.DragTo({500, -500});
    EXPECT_EQ(nav.shown(), (CRect{50, 22, 64, 36}));
    nav.DragTo({0, 0});
    EXPECT_EQ(nav.shown(), (CRect{22, 22, 36, 36}));
    nav.EndDrag();
    nav.DragTo({40, 40});
    EXPECT_EQ(nav.shown().left, 22);
    EXPECT_EQ(listener.calls.size(), 3u);
}

TEST(Navigator, AWorkspaceOneScreenWideScrollsOnlyDownAndReportsXAsZero) {
    CWorkspaceNavigatorModel nav(1, 3, 0.5, {100, 100});
    Listener listener;
    nav.SetListener(&listener);
    EXPECT_EQ(nav.frame().Width(), nav.shown().Width());
    EXPECT_EQ(Enabled(nav), (std::vector<D>{D::Down}));
    EXPECT_FALSE(nav.Press(D::Right));
    EXPECT_FALSE(nav.Press(D::DownRight));
    ASSERT_TRUE(nav.Press(D::Down));
    ASSERT_EQ(listener.calls.size(), 1u);
    EXPECT_EQ(listener.calls[0].first, 0.0);
    EXPECT_DOUBLE_EQ(listener.calls[0].second, 0.25);
    EXPECT_EQ(Enabled(nav), (std::vector<D>{D::Up, D::Down}));
}

TEST(Navigator, AWorkspaceOfOneScreenHasEveryButtonGreyed) {
    const CWorkspaceNavigatorModel nav(1, 1, 0.5);
    EXPECT_TRUE(Enabled(nav).empty());
    EXPECT_EQ(nav.FractionX(), 0.0);
    EXPECT_EQ(nav.FractionY(), 0.0);
}

TEST(Navigator, WithoutScreensInADirectionTheViewIsNotTold) {
    CWorkspaceNavigatorModel nav(0, 3, 0.5);
    Listener listener;
    nav.SetListener(&listener);
    ASSERT_TRUE(nav.Press(D::Down));
    EXPECT_TRUE(listener.calls.empty());
}

TEST(Navigator, FollowsTheProportionsOfAScreen) {
    const CWorkspaceNavigatorModel wide(2, 2, 0.5, {800, 400});
    EXPECT_NEAR(wide.shown().Width(), 2 * wide.shown().Height(), 2);
    EXPECT_GT(wide.shown().Width(), 15);
}

TEST_F(Navigator3x3, ArchiveFormIsTheShownRectangleThenEightEnabledFlags) {
    nav.Press(D::Right);
    CArchive ar;
    nav.Serialize(ar);
    LayoutBuilder expected;
    expected.Int32(29).Int32(22).Int32(43).Int32(36);
    // up, right, down, left, up-right, up-left, down-right, down-left
    for (int flag : {0, 1, 1, 1, 0, 0, 1, 1})
        expected.Int32(flag);
    EXPECT_EQ(ar.bytes(), expected.bytes);
}

TEST_F(Navigator3x3, LoadingRestoresRectangleAndFlagsAsSaved) {
    LayoutBuilder saved;
    saved.Int32(30).Int32(40).Int32(44).Int32(54);
    for (int flag : {1, 0, 1, 0, 1, 0, 1, 0})
        saved.Int32(flag);
    CArchive ar(saved.bytes);
    nav.Serialize(ar);
    EXPECT_TRUE(ar.AtEnd());
    EXPECT_EQ(nav.shown(), (CRect{30, 40, 44, 54}));
    EXPECT_TRUE(nav.IsEnabled(D::Up));
    EXPECT_FALSE(nav.IsEnabled(D::Right));
    EXPECT_FALSE(nav.IsEnabled(D::DownLeft));
    EXPECT_TRUE(listener.calls.empty()) << "loading only repaints";
    // And it saves back byte for byte.
    CArchive again;
    nav.Serialize(again);
    EXPECT_EQ(again.bytes(), saved.bytes);
}

TEST_F(Navigator3x3, ARectangleOutsideTheNavigatorOrTruncatedFormIsRefused) {
    const CRect before = nav.shown();
    for (CRect bad : {CRect{-5, 0, 10, 10}, CRect{0, 0, 87, 10}, CRect{10, 10, 10, 20},
                      CRect{INT32_MIN, 0, INT32_MAX, 10}}) {
        LayoutBuilder b;
        b.Int32(bad.left).Int32(bad.top).Int32(bad.right).Int32(bad.bottom);
        for (int i = 0; i < 8; ++i)
            b.Int32(1);
        CArchive ar(b.bytes);
        EXPECT_THROW(nav.Serialize(ar), CArchiveException);
        EXPECT_EQ(nav.shown(), before);
    }
    CArchive good;
    nav.Serialize(good);
    const auto prefix = FirstPrefixThatLoads(good.bytes(), [&](CArchive& ar) {
        CWorkspaceNavigatorModel other(3, 3, 0.5);
        other.Serialize(ar);
    });
    EXPECT_FALSE(prefix) << "a prefix of " << *prefix << " bytes loaded";
}

TEST(Navigator, ANewScreenSizeReshapesTheMiniatureAndKeepsThePlace) {
    // Made for a view that had not been laid out yet, then given the real workspace area.
    CWorkspaceNavigatorModel nav(2, 2, 0.5, CSize{100, 30});
    ASSERT_TRUE(nav.Press(NavDirection::Right));
    const double before = nav.FractionX();
    ASSERT_GT(before, 0.0);

    nav.SetScreen(CSize{698, 409});
    const double aspect = static_cast<double>(nav.shown().Width()) / nav.shown().Height();
    // Whole pixels in a miniature some twenty pixels wide; the thin view was 3.3 to 1.
    EXPECT_NEAR(aspect, 698.0 / 409.0, 0.2);
    EXPECT_EQ(nav.frame().Width(), 2 * nav.shown().Width());
    EXPECT_EQ(nav.frame().Height(), 2 * nav.shown().Height());
    EXPECT_NEAR(nav.FractionX(), before, 0.1);
    EXPECT_EQ(nav.FractionY(), 0.0);
    EXPECT_TRUE(nav.IsEnabled(NavDirection::Down));
    EXPECT_FALSE(nav.IsEnabled(NavDirection::Up));
}

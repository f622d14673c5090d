// The workspace pane's scroll offsets: coordinates and the archive form that rescales them.
#include "workspace/archive.h"
#include "workspace/workspace_pane.h"

#include "workspace/layout_builder.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

CWorkspacePaneState Loaded(std::int32_t x, std::int32_t y, CRect saved, CRect present) {
    LayoutBuilder b;
    b.Int32(x).Int32(y).Int32(saved.left).Int32(saved.top).Int32(saved.right).Int32(saved.bottom);
    CArchive ar(b.bytes);
    CWorkspacePaneState pane;
    pane.Serialize(ar, present);
    EXPECT_TRUE(ar.AtEnd());
    return pane;
}

} // namespace

TEST(WorkspacePane, OffsetsShiftBetweenPaneAndWorkspace) {
    CWorkspacePaneState pane;
    pane.SetScroll(100, 40);
    EXPECT_EQ(pane.ToWorkspace(CPoint{5, 6}), (CPoint{105, 46}));
    EXPECT_EQ(pane.ToWorkspace(CRect{0, 0, 10, 10}), (CRect{100, 40, 110, 50}));
    EXPECT_EQ(pane.ToPane(CRect{100, 40, 110, 50}), (CRect{0, 0, 10, 10}));
}

TEST(WorkspacePane, ArchiveFormIsBothOffsetsThenThePaneRectangle) {
    CWorkspacePaneState pane;
    pane.SetScroll(120, -8);
    CArchive ar;
    pane.Serialize(ar, CRect{0, 0, 640, 480});
    LayoutBuilder expected;
    expected.Int32(120).Int32(-8).Int32(0).Int32(0).Int32(640).Int32(480);
    EXPECT_EQ(ar.bytes(), expected.bytes);
}

TEST(WorkspacePane, LoadingIntoAPaneOfTheSameRectangleKeepsTheOffsets) {
    const auto pane = Loaded(333, 77, {0, 0, 640, 480}, {0, 0, 640, 480});
    EXPECT_EQ(pane.scrollX(), 333);
    EXPECT_EQ(pane.scrollY(), 77);
}

TEST(WorkspacePane, LoadingIntoAnotherSizeScalesEachOffsetTruncated) {
    // 100 x 700 / 640 = 109.375; 50 x 300 / 480 = 31.25.
    auto pane = Loaded(100, 50, {0, 0, 640, 480}, {0, 0, 700, 300});
    EXPECT_EQ(pane.scrollX(), 109);
    EXPECT_EQ(pane.scrollY(), 31);
    // Truncation goes towards zero for negative offsets too: -100 x 700 / 640 = -109.375.
    pane = Loaded(-100, -50, {0, 0, 640, 480}, {0, 0, 700, 300});
    EXPECT_EQ(pane.scrollX(), -109);
    EXPECT_EQ(pane.scrollY(), -31);
    // A moved pane of the same size keeps its offsets.
    pane = Loaded(100, 50, {10, 10, 650, 490}, {0, 0, 640, 480});
    EXPECT_EQ(pane.scrollX(), 100);
    EXPECT_EQ(pane.scrollY(), 50);
}

TEST(WorkspacePane, ADegenerateSavedRectangleLeavesTheOffsetsUnscaled) {
    auto pane = Loaded(100, 50, {0, 0, 0, 0}, {0, 0, 640, 480});
    EXPECT_EQ(pane.scrollX(), 100);
    EXPECT_EQ(pane.scrollY(), 50);
    pane = Loaded(INT32_MAX, 50, {0, 0, 1, 480}, {0, 0, 640, 480});
    EXPECT_EQ(pane.scrollX(), INT32_MAX) << "scaled values are held in range";
    pane = Loaded(7, 7, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {0, 0, 640, 480});
    EXPECT_EQ(pane.scrollX(), 0);
}

TEST(WorkspacePane, ATruncatedFormIsRefused) {
    CWorkspacePaneState pane;
    CArchive ar;
    pane.Serialize(ar, CRect{0, 0, 640, 480});
    const auto prefix = FirstPrefixThatLoads(ar.bytes(), [](CArchive& in) {
        CWorkspacePaneState other;
        other.Serialize(in, CRect{0, 0, 640, 480});
    });
    EXPECT_FALSE(prefix);
}

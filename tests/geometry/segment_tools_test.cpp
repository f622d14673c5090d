// The segment tools: placing and dragging anglemeters, the line maker's gestures, cutting
// shapes, hiding and showing segments, and one undo step per action.
#include "geometry/anglemeter_manipulative.h"
#include "geometry/geometry_document.h"
#include "geometry/poly_shape_manipulative.h"
#include "geometry/segment_tools.h"
#include "geometry/shape_catalogue.h"
#include "geometry/shape_manipulative.h"
#include "workspace/tool_palette.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <new>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

constexpr Color kRed = PaletteRGB(255, 0, 0);
constexpr Color kYellow = PaletteRGB(255, 247, 0);

std::vector<CLine> ClosedPath(const std::vector<CPoint>& points) {
    std::vector<CLine> lines;
    for (std::size_t i = 0; i < points.size(); ++i)
        lines.emplace_back(points[i], points[(i + 1) % points.size()]);
    return lines;
}

std::unique_ptr<CShapeManipulative> Square(int x, int y, int side, Color fill = kRed) {
    return std::make_unique<CShapeManipulative>(
        ClosedPath({{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}}), fill);
}

// Twice the signed area of the outline through the segments' start points.
double DoubleArea(const CManipulative& m) {
    double sum = 0;
    for (const CLine& line : m.lines())
        sum += line.start().x * line.end().y - line.end().x * line.start().y;
    return std::fabs(sum);
}

// Each segment ends where the next starts: the piece is a closed outline.
bool IsClosed(const CManipulative& m) {
    const auto& lines = m.lines();
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!lines[i].end().IsNear(lines[(i + 1) % lines.size()].start()))
            return false;
    return !lines.empty();
}

class FakeView : public IWorkspaceView {
public:
    std::vector<CRect> rects;
    int full = 0;
    void InvalidateRect(const CRect& r) override { rects.push_back(r); }
    void InvalidateAll() override { ++full; }
};

class SegmentTools : public ::testing::Test {
protected:
    CGeometryUnitDocument doc;
    FakePrompter prompter;
    FakeTextMetrics metrics;
    FakeView view;
    CSegmentToolController tools{doc, prompter, metrics};
    int arrowChosen = 0;

    SegmentTools() {
        doc.SetView(&view);
        tools.SetArrowChooser([this] {
            ++arrowChosen;
            doc.SetCurrentTool(kToolArrow);
            tools.ToolChanged(kToolArrow);
        });
    }

    CManipulative* Add(std::unique_ptr<CManipulative> m) {
        return doc.AddManipulative(std::move(m));
    }

    void UseTool(int tool) {
        doc.SetCurrentTool(tool);
        tools.ToolChanged(tool);
    }

    void Drag(CPoint from, CPoint to) {
        ASSERT_TRUE(tools.MouseDown(from));
        tools.MouseMove({(from.x + to.x) / 2, (from.y + to.y) / 2});
        tools.MouseMove(to);
        tools.MouseUp(to);
    }

    const CAnglemeterManipulative& Anglemeter(std::size_t i) {
        return static_cast<const CAnglemeterManipulative&>(*doc.manipulatives().at(i));
    }
};

} // namespace

// --- anglemeters -----------------------------------------------------------------------------

TEST_F(SegmentTools, AnglemeterToolPlacesOneReadingNinetyAsOneStep) {
    UseTool(kToolAnglemeter);
    ASSERT_TRUE(tools.MouseDown({100, 200}));
    tools.MouseUp({100, 200});
    ASSERT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_EQ(Anglemeter(0).vertex(), C3DPointDouble(100, 200));
    EXPECT_EQ(Anglemeter(0).label(), "90");
    EXPECT_EQ(doc.currentTool(), kToolAnglemeter);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.manipulatives().empty());
}

TEST_F(SegmentTools, ArrowTurnsAnArmByItsHandleAsOneStep) {
    UseTool(kToolAnglemeter);
    tools.PlaceAnglemeter({100, 200});
    UseTool(kToolArrow);
    ASSERT_TRUE(tools.MouseDown({156, 200}));
    EXPECT_EQ(tools.action(), SegmentToolAction::DragArm);
    tools.MouseMove({150, 260});
    tools.MouseMove({100, 400});
    EXPECT_TRUE(tools.MouseUp({100, 400}));
    EXPECT_EQ(Anglemeter(0).label(), "180");
    EXPECT_EQ(Anglemeter(0).grabbedArm(), -1);
    EXPECT_FALSE(view.rects.empty());
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(Anglemeter(0).label(), "90");
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.manipulatives().empty());
}

TEST_F(SegmentTools, ArrowMovesAnAnglemeterByItsLabel) {
    tools.PlaceAnglemeter({100, 200});
    UseTool(kToolArrow);
    ASSERT_TRUE(tools.MouseDown({120, 180}));
    EXPECT_EQ(tools.action(), SegmentToolAction::MoveAnglemeter);
    tools.MouseMove({130, 185});
    tools.MouseUp({140, 190});
    EXPECT_EQ(Anglemeter(0).vertex(), C3DPointDouble(120, 210));
    EXPECT_EQ(Anglemeter(0).labelRect(), (CRect{132, 182, 174, 198}));
    EXPECT_EQ(Anglemeter(0).label(), "90");
}

TEST_F(SegmentTools, ArrowLeavesPressesAwayFromAnglemetersToTheShapes) {
    tools.PlaceAnglemeter({100, 200});
    Add(Square(300, 300, 40));
    UseTool(kToolArrow);
    EXPECT_FALSE(tools.MouseDown({320, 320}));
    EXPECT_FALSE(tools.MouseMove({330, 330}));
    EXPECT_FALSE(tools.MouseUp({330, 330}));
    UseTool(kToolSelector);
    EXPECT_FALSE(tools.MouseDown({120, 180}));
}

TEST_F(SegmentTools, AnglemeterToolGrabsExistingOnesBeforePlacingAnother) {
    UseTool(kToolAnglemeter);
    tools.PlaceAnglemeter({100, 200});
    Drag({156, 200}, {100, 400});
    EXPECT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_EQ(Anglemeter(0).label(), "180");
    EXPECT_STREQ(tools.ObjectHelpAt({100, 160}), kAnglemeterHelp);
    EXPECT_EQ(tools.ObjectHelpAt({400, 400}), nullptr);
}

TEST_F(SegmentTools, BusyPagesIgnorePressesOnAnglemeters) {
    tools.PlaceAnglemeter({100, 200});
    tools.SetBusyQuery([] { return true; });
    UseTool(kToolArrow);
    EXPECT_TRUE(tools.MouseDown({156, 200}));
    EXPECT_EQ(tools.action(), SegmentToolAction::None);
    UseTool(kToolAnglemeter);
    EXPECT_TRUE(tools.MouseDown({400, 400}));
    EXPECT_EQ(doc.manipulatives().size(), 1u);
}

// --- line maker ------------------------------------------------------------------------------

TEST_F(SegmentTools, LineMakerDrawsJoinedSegmentsAndADoubleClickMakesOneLine) {
    Add(Square(300, 300, 40));
    UseTool(kToolLinemaker);
    ASSERT_TRUE(tools.MouseDown({10, 10}));
    tools.MouseMove({50, 12});
    // The rubber band runs from the press to the pointer.
    ASSERT_TRUE(tools.draggedLine().has_value());
    EXPECT_EQ(tools.draggedLine()->end().Rounded(), (CPoint{50, 12}));
    tools.MouseUp({50, 10});
    ASSERT_EQ(tools.pendingSegments().size(), 1u);
    EXPECT_FALSE(tools.draggedLine().has_value());
    // A press near the last end joins the line there.
    Drag({53, 12}, {50, 60});
    ASSERT_EQ(tools.pendingSegments().size(), 2u);
    EXPECT_EQ(tools.pendingSegments()[1].start().Rounded(), (CPoint{50, 10}));
    RecordingSurface dc;
    tools.DrawFeedback(dc);
    EXPECT_EQ(dc.Only("line").size(), 2u);
    EXPECT_EQ(doc.manipulatives().size(), 1u) << "nothing is added before the line ends";

    // A double click: its first click draws nothing, the second ends the line.
    tools.MouseDown({50, 60});
    tools.MouseUp({50, 60});
    EXPECT_TRUE(tools.DoubleClick({50, 60}));
    ASSERT_EQ(doc.manipulatives().size(), 2u);
    const CManipulative& line = *doc.manipulatives().back();
    EXPECT_EQ(line.GetType(), kTypeLine);
    ASSERT_EQ(line.lines().size(), 2u);
    EXPECT_EQ(line.lines()[0].start().Rounded(), (CPoint{10, 10}));
    EXPECT_EQ(line.lines()[1].end().Rounded(), (CPoint{50, 60}));
    EXPECT_TRUE(line.visible());
    EXPECT_TRUE(tools.pendingSegments().empty());
    EXPECT_EQ(arrowChosen, 1);
    EXPECT_EQ(doc.currentTool(), kToolArrow);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.manipulatives().size(), 1u);
}

TEST_F(SegmentTools, EscapeEndsTheLineAndWithoutSegmentsOnlyBringsTheArrowBack) {
    UseTool(kToolLinemaker);
    Drag({10, 10}, {80, 10});
    EXPECT_TRUE(tools.Escape());
    ASSERT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_EQ(doc.manipulatives()[0]->lines().size(), 1u);
    EXPECT_EQ(arrowChosen, 1);

    UseTool(kToolLinemaker);
    EXPECT_TRUE(tools.Escape());
    EXPECT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_EQ(arrowChosen, 2);
    EXPECT_FALSE(tools.Escape()) << "Escape under the Arrow is not the line maker's";
}

TEST_F(SegmentTools, ChoosingAnotherToolKeepsTheSegmentsAsALine) {
    UseTool(kToolLinemaker);
    Drag({10, 10}, {80, 10});
    UseTool(kToolEraser);
    ASSERT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_EQ(doc.manipulatives()[0]->GetType(), kTypeLine);
    EXPECT_EQ(arrowChosen, 0);
    EXPECT_EQ(doc.currentTool(), kToolEraser);
}

TEST_F(SegmentTools, OutOfMemoryWhileMakingTheLineAddsNothing) {
    tools.SetLineFactory([](const std::vector<CLine>&) -> std::unique_ptr<CManipulative> {
        throw std::bad_alloc();
    });
    UseTool(kToolLinemaker);
    Drag({10, 10}, {80, 10});
    tools.DoubleClick({80, 10});
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Out of Memory");
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(doc.manipulatives().empty());
    EXPECT_TRUE(tools.pendingSegments().empty());
    EXPECT_FALSE(doc.CanUndo());
}

// --- cut-shape -------------------------------------------------------------------------------

TEST_F(SegmentTools, VertexToVertexCutOfASquareGivesTwoTrianglesOfItsColourInItsPlace) {
    CManipulative* below = Add(Square(0, 0, 10));
    Add(Square(100, 100, 40, kYellow));
    CManipulative* above = Add(Square(500, 500, 10));
    UseTool(kToolCutShape);
    Drag({101, 99}, {140, 140});
    ASSERT_EQ(doc.manipulatives().size(), 4u);
    EXPECT_EQ(doc.manipulatives()[0].get(), below);
    EXPECT_EQ(doc.manipulatives()[3].get(), above);
    for (std::size_t i : {1u, 2u}) {
        const CManipulative& piece = *doc.manipulatives()[i];
        EXPECT_EQ(piece.GetType(), kTypeShape);
        EXPECT_EQ(piece.GetColor(), kYellow);
        EXPECT_EQ(piece.kind(), -1);
        ASSERT_EQ(piece.lines().size(), 3u);
        EXPECT_TRUE(IsClosed(piece));
        EXPECT_DOUBLE_EQ(DoubleArea(piece), 1600.0);
        const CLine& cut = piece.lines().back();
        EXPECT_EQ(cut.width(), 1);
        EXPECT_EQ(cut.color(), 0u);
    }
    // Piece 1 runs from the first point forwards, piece 2 from the second.
    EXPECT_EQ(doc.manipulatives()[1]->lines()[0].start().Rounded(), (CPoint{100, 100}));
    EXPECT_EQ(doc.manipulatives()[2]->lines()[0].start().Rounded(), (CPoint{140, 140}));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(SegmentTools, CutsThatWouldLeaveAnEmptyPieceDoNothing) {
    Add(Square(100, 100, 40));
    const auto before = doc.SaveToBytes();
    EXPECT_FALSE(tools.CutAlong({100, 100}, {140, 100})); // adjacent vertices
    EXPECT_FALSE(tools.CutAlong({100, 100}, {100, 140})); // adjacent the other way round
    EXPECT_FALSE(tools.CutAlong({100, 100}, {120, 100})); // a vertex and the midpoint beside it
    EXPECT_FALSE(tools.CutAlong({120, 100}, {140, 100}));
    EXPECT_FALSE(tools.CutAlong({120, 100}, {120, 100})); // one point
    EXPECT_FALSE(tools.CutAlong({100, 100}, {100, 100}));
    EXPECT_FALSE(tools.CutAlong({100, 100}, {120, 120})); // the centre is not on the outline
    EXPECT_EQ(doc.SaveToBytes(), before);
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(SegmentTools, BoundaryPointsAreFoundWithinThreePixels) {
    Add(Square(100, 100, 40));
    EXPECT_FALSE(tools.CutAlong({96, 100}, {140, 140}));
    EXPECT_FALSE(tools.CutAlong({100, 100}, {140, 144}));
    EXPECT_TRUE(tools.CutAlong({97, 103}, {143, 137}));
    EXPECT_EQ(doc.manipulatives().size(), 2u);
}

TEST_F(SegmentTools, MidpointToMidpointCutOfAHexagonHalvesIt) {
    CManipulative* hexagon = Add(MakeDrawerShape(3, C3DPointDouble(200, 200)));
    ASSERT_EQ(hexagon->lines().size(), 6u);
    const double whole = DoubleArea(*hexagon);
    const Color colour = hexagon->GetColor();
    const CPoint a = hexagon->lines()[0].midpoint().Rounded();
    const CPoint b = hexagon->lines()[3].midpoint().Rounded();
    ASSERT_TRUE(tools.CutAlong(a, b));
    ASSERT_EQ(doc.manipulatives().size(), 2u);
    for (const auto& piece : doc.manipulatives()) {
        ASSERT_EQ(piece->lines().size(), 5u);
        EXPECT_TRUE(IsClosed(*piece));
        EXPECT_NEAR(DoubleArea(*piece), whole / 2, 1e-6);
        EXPECT_EQ(piece->GetColor(), colour);
        EXPECT_EQ(piece->kind(), -1);
    }
    // Each piece starts at the midpoint the cut started from, and ends with the cut.
    const CLine& first = doc.manipulatives()[0]->lines()[0];
    EXPECT_EQ(first.start().Rounded(), a);
    EXPECT_EQ(doc.manipulatives()[0]->lines().back().start().Rounded(), b);
    EXPECT_EQ(doc.manipulatives()[1]->lines()[0].start().Rounded(), b);
}

TEST_F(SegmentTools, MidpointsOfNeighbouringSidesCutOffACorner) {
    Add(Square(100, 100, 40));
    ASSERT_TRUE(tools.CutAlong({120, 100}, {140, 120}));
    ASSERT_EQ(doc.manipulatives().size(), 2u);
    EXPECT_EQ(doc.manipulatives()[0]->lines().size(), 3u);
    EXPECT_DOUBLE_EQ(DoubleArea(*doc.manipulatives()[0]), 400.0);
    EXPECT_EQ(doc.manipulatives()[1]->lines().size(), 5u);
    EXPECT_DOUBLE_EQ(DoubleArea(*doc.manipulatives()[1]), 2800.0);
}

TEST_F(SegmentTools, CutThenUndoRestoresTheSingleShape) {
    Add(Square(0, 0, 10));
    CManipulative* square = Add(Square(100, 100, 40));
    doc.Select(square);
    const auto before = doc.SaveToBytes();
    ASSERT_TRUE(tools.CutAlong({100, 100}, {140, 140}));
    EXPECT_TRUE(doc.selection().empty());
    EXPECT_EQ(doc.manipulatives().size(), 3u);
    ASSERT_TRUE(doc.Undo());
    ASSERT_EQ(doc.manipulatives().size(), 2u);
    EXPECT_EQ(doc.manipulatives()[1]->lines().size(), 4u);
    // Undo keeps the selection by position, not what was selected before the cut.
    doc.Select(doc.manipulatives()[1].get());
    EXPECT_EQ(doc.SaveToBytes(), before);
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(doc.manipulatives().size(), 3u);
}

TEST_F(SegmentTools, OnlyUnfixedShapesAreCutTheTopmostFirst) {
    CManipulative* lower = Add(Square(100, 100, 40, kYellow));
    CManipulative* upper = Add(Square(100, 100, 40, kRed));
    upper->SetFixed(true);
    CPolyShapeManipulative::MemberList members;
    members.push_back(Square(100, 100, 40));
    Add(std::make_unique<CPolyShapeManipulative>(std::move(members)));
    Add(std::make_unique<CLineManipulative>(ClosedPath({{100, 100}, {140, 100}, {140, 140}})));
    ASSERT_TRUE(tools.CutAlong({100, 100}, {140, 140}));
    ASSERT_EQ(doc.manipulatives().size(), 5u);
    EXPECT_EQ(doc.IndexOf(lower), -1);
    EXPECT_EQ(doc.manipulatives()[0]->GetColor(), kYellow);
    EXPECT_EQ(doc.manipulatives()[1]->GetColor(), kYellow);
    EXPECT_EQ(doc.manipulatives()[2].get(), upper);
}

TEST_F(SegmentTools, PiecesKeepTheShapesScaleLevel) {
    auto square = Square(100, 100, 40);
    square->RaiseScaleLevel();
    square->RaiseScaleLevel();
    Add(std::move(square));
    ASSERT_TRUE(tools.CutAlong({100, 100}, {140, 140}));
    for (const auto& piece : doc.manipulatives())
        EXPECT_EQ(piece->scaleLevel(), 2);
}

// --- hide/show lines -------------------------------------------------------------------------

TEST_F(SegmentTools, HideShowClickWhereTwoShapesOverlapTogglesBoth) {
    CManipulative* left = Add(Square(100, 100, 40));
    CManipulative* right = Add(Square(140, 100, 40)); // shares the edge x = 140
    Add(Square(400, 400, 40));
    UseTool(kToolHideShowLines);
    const auto before = doc.SaveToBytes();
    ASSERT_TRUE(tools.MouseDown({140, 120}));
    tools.MouseUp({140, 120});
    EXPECT_FALSE(left->lines()[1].visible());
    EXPECT_FALSE(right->lines()[3].visible());
    EXPECT_TRUE(left->lines()[0].visible());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(view.full, 0);

    // The hidden segments show in grey while the tool is current.
    RecordingSurface dc;
    left->DrawOutline(dc);
    EXPECT_EQ(dc.calls, (std::vector<std::string>{"pen 1 #c7c7c7", "line 140,100 140,140"}));

    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.SaveToBytes(), before);
    ASSERT_TRUE(doc.Redo());
    tools.MouseDown({140, 120});
    EXPECT_TRUE(doc.manipulatives()[0]->lines()[1].visible());
    EXPECT_TRUE(doc.manipulatives()[1]->lines()[3].visible());
}

TEST_F(SegmentTools, HideShowClickOnNothingChangesNothing) {
    Add(Square(100, 100, 40));
    UseTool(kToolHideShowLines);
    EXPECT_TRUE(tools.MouseDown({120, 120}));
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(tools.ToggleLinesAt({300, 300}));
}

TEST_F(SegmentTools, HideShowReachesGroupMembersAndAnglemeterArms) {
    CPolyShapeManipulative::MemberList members;
    members.push_back(Square(100, 100, 40));
    CManipulative* group = Add(std::make_unique<CPolyShapeManipulative>(std::move(members)));
    tools.PlaceAnglemeter({140, 180}); // arm 0 runs up the square's right edge
    ASSERT_TRUE(tools.ToggleLinesAt({140, 120}));
    EXPECT_FALSE((*group->GetMembers())[0]->lines()[1].visible());
    EXPECT_FALSE(Anglemeter(1).lines()[0].visible());
}

TEST_F(SegmentTools, EnteringAndLeavingHideShowRedrawsEverything) {
    UseTool(kToolHideShowLines);
    const int entered = view.full;
    EXPECT_GT(entered, 0);
    UseTool(kToolArrow);
    EXPECT_GT(view.full, entered);
    const int left = view.full;
    UseTool(kToolEraser);
    EXPECT_EQ(view.full, left);
}

TEST_F(SegmentTools, ArrowPicksAnAnglemeterByArmOrLabelAtAnyAngle) {
    tools.PlaceAnglemeter({100, 200});
    UseTool(kToolArrow);
    // Straight: arm 1 turned to point down, 180 degrees.
    tools.MouseDown({156, 200});
    tools.MouseUp({100, 400});
    ASSERT_EQ(Anglemeter(0).label(), "180");
    for (int place = 0; place < 3; ++place) {
        doc.DeselectAll();
        const C3DPointDouble before = Anglemeter(0).vertex();
        const CPoint v = before.Rounded();
        const CRect label = Anglemeter(0).labelRect();
        // On the arm up, on the arm down (a pixel aside), on the label.
        const CPoint at = place == 0   ? CPoint{v.x, v.y - 40}
                          : place == 1 ? CPoint{v.x + 1, v.y + 40}
                                       : CPoint{label.left + 2, label.top + 2};
        ASSERT_TRUE(tools.MouseDown(at)) << at.x << "," << at.y;
        EXPECT_EQ(tools.action(), SegmentToolAction::MoveAnglemeter);
        tools.MouseMove({at.x + 10, at.y + 5});
        tools.MouseUp({at.x + 10, at.y + 5});
        EXPECT_EQ(Anglemeter(0).vertex(), C3DPointDouble(before.x + 10, before.y + 5, 0.0));
        EXPECT_EQ(doc.selection(), std::vector<CManipulative*>{doc.manipulatives()[0].get()})
            << "picked for Flip and Rotate";
    }
}

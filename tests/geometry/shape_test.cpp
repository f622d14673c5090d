// Shapes and groups: the drawer catalogue, drawing, hit testing, colours, transformations and
// the archive forms.
#include "geometry/geometry_document.h"
#include "geometry/outlines_only_surface.h"
#include "geometry/poly_shape_manipulative.h"
#include "geometry/shape_catalogue.h"
#include "geometry/shape_manipulative.h"
#include "workspace/archive.h"
#include "workspace/manipulative_registry.h"

#include "fakes/fakes.h"
#include "workspace/layout_builder.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quorvel;
using quorvel::testing::FirstPrefixThatLoads;
using quorvel::testing::LayoutBuilder;
using quorvel::testing::RecordingSurface;
using quorvel::testing::Stored;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr Color kRed = PaletteRGB(255, 0, 0);
constexpr Color kBlack = PaletteRGB(0, 0, 0);

// A closed path through integer points, one black segment of width 1 per step.
std::vector<CLine> ClosedPath(const std::vector<CPoint>& points) {
    std::vector<CLine> lines;
    for (std::size_t i = 0; i < points.size(); ++i)
        lines.emplace_back(points[i], points[(i + 1) % points.size()]);
    return lines;
}

CShapeManipulative Square(int x, int y, int side, Color fill = kRed) {
    return CShapeManipulative(
        ClosedPath({{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}}), fill);
}

// A regular polygon with `n` corners on a circle of radius 100 about (500, 500).
CShapeManipulative Round(int n) {
    std::vector<CPoint> points;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * kPi * i / n;
        points.push_back(
            {RoundToPixel(500 + 100 * std::cos(a)), RoundToPixel(500 + 100 * std::sin(a))});
    }
    return CShapeManipulative(ClosedPath(points), kRed);
}

double Length(const CLine& line) {
    return std::hypot(line.end().x - line.start().x, line.end().y - line.start().y);
}

std::vector<std::string> Drawn(const CManipulative& m) {
    RecordingSurface dc;
    m.Draw(dc);
    return dc.calls;
}

CPolyShapeManipulative GroupOf(std::initializer_list<const CManipulative*> members) {
    CPolyShapeManipulative::MemberList list;
    for (const CManipulative* m : members)
        list.push_back(m->Clone());
    return CPolyShapeManipulative(std::move(list));
}

std::unique_ptr<CManipulative> Load(const Bytes& bytes, std::int32_t type) {
    RegisterGeometryManipulatives();
    auto m = CManipulativeRegistry::Instance().Create(type);
    CArchive ar(bytes);
    m->Serialize(ar);
    EXPECT_TRUE(ar.AtEnd());
    return m;
}

} // namespace

// --- the drawer catalogue --------------------------------------------------------------------

TEST(DrawerCatalogue, SlotNamesAndEmptySlots) {
    EXPECT_STREQ(CatalogueSlot(0).name, "triangle");
    EXPECT_STREQ(CatalogueSlot(5).name, "dodecagon");
    EXPECT_STREQ(CatalogueSlot(6).name, "triangle 1");
    EXPECT_STREQ(CatalogueSlot(11).name, " ");
    EXPECT_STREQ(CatalogueSlot(17).name, "rectangle");
    EXPECT_STREQ(CatalogueSlot(31).name, "hexagon");
    EXPECT_STREQ(CatalogueSlot(35).name, " ");
    const C3DPointDouble drop(100, 100);
    for (int index : {11, 18, 23, 24, 29, 34, 35, -1, 36})
        EXPECT_EQ(MakeDrawerShape(index, drop), nullptr) << index;
    int filled = 0;
    for (int index = 0; index < kCatalogueSize; ++index)
        filled += MakeDrawerShape(index, drop) != nullptr;
    EXPECT_EQ(filled, 6 + 5 + 6 + 4);
}

TEST(DrawerCatalogue, DrawerOneTriangleIsTriangleOne) {
    const C3DPointDouble drop(200, 150);
    auto a = MakeDrawerShape(0, drop);
    auto b = MakeDrawerShape(6, drop);
    auto c = MakeDrawerShape(30, drop);
    ASSERT_TRUE(a && b && c);
    EXPECT_TRUE(a->IsEqualTo(*b));
    EXPECT_TRUE(a->IsEqualTo(*c));
    EXPECT_EQ(a->fillColor(), PaletteRGB(0xD4, 0xFF, 0x61));
    EXPECT_EQ(b->fillColor(), a->fillColor());
    EXPECT_EQ(a->kind(), 0);
    EXPECT_EQ(b->kind(), 6);
    EXPECT_EQ(c->kind(), 30);
    EXPECT_EQ(a->scaleLevel(), 0);
}

TEST(DrawerCatalogue, FixedShapesMoveByWholePixelsOntoTheDropPoint) {
    // Triangle 1's centre before the move is (L/2, -sqrt(3)·L/6).
    const C3DPointDouble drop(100.7, 200.2, 0.0);
    auto t = MakeDrawerShape(6, drop);
    ASSERT_TRUE(t);
    const double cy = -std::sqrt(3.0) * kUnitLength / 6;
    const double dx = std::trunc(100.7 - 18.5);
    const double dy = std::trunc(200.2 - cy);
    EXPECT_EQ(t->lines()[0].start(), C3DPointDouble(dx, dy, 0.0));
    EXPECT_DOUBLE_EQ(t->centre().x, 18.5 + dx);
    EXPECT_DOUBLE_EQ(t->centre().y, cy + dy);
    EXPECT_EQ(t->rotationPoint(), t->centre());
    for (const CLine& line : t->lines()) {
        EXPECT_NEAR(Length(line), kUnitLength, 1e-9);
        EXPECT_EQ(line.width(), 1);
        EXPECT_EQ(line.color(), kBlack);
        EXPECT_TRUE(line.visible());
    }
}

TEST(DrawerCatalogue, FixedShapeSidesAndColours) {
    const C3DPointDouble drop(300, 300);
    const double L = kUnitLength;
    struct Expect {
        int index;
        std::vector<double> sides;
        Color fill;
    };
    const double r = 1 / std::sqrt(2.0);
    const std::vector<Expect> expected = {
        {7, {std::sqrt(3.0) * L, L, L}, PaletteRGB(0xFF, 0x00, 0xFF)},
        {8, {std::sqrt(3.0) * L, L, 2 * L}, PaletteRGB(0x00, 0x08, 0xFF)},
        {10, {L, L, std::sqrt(2.0) * L}, PaletteRGB(0xFF, 0xF7, 0x00)},
        {12, {L, L, L, L}, PaletteRGB(0xFF, 0xAB, 0x61)},
        {13, {L, L, L, L}, PaletteRGB(0x00, 0x08, 0xFF)},
        {14,
         {L, std::hypot(r * L, r * L), L, std::hypot(r * L, r * L)},
         PaletteRGB(0xFF, 0x00, 0x00)},
        {15, {L, L, L, L}, PaletteRGB(0xDA, 0xB3, 0x98)},
        {16, {2 * L, L, L, L}, PaletteRGB(0xFF, 0x00, 0x00)},
        {17, {2 * L, L, 2 * L, L}, PaletteRGB(0x08, 0x9C, 0x00)},
        {1, {L, L, L, L}, PaletteRGB(0xFF, 0xAB, 0x61)},
    };
    for (const Expect& e : expected) {
        auto s = MakeDrawerShape(e.index, drop);
        ASSERT_TRUE(s) << e.index;
        EXPECT_EQ(s->fillColor(), e.fill) << e.index;
        ASSERT_EQ(s->lines().size(), e.sides.size()) << e.index;
        for (std::size_t i = 0; i < e.sides.size(); ++i)
            EXPECT_NEAR(Length(s->lines()[i]), e.sides[i], 1e-9) << e.index << " side " << i;
        EXPECT_EQ(s->lines().back().end(), s->lines().front().start()) << e.index;
    }
    // Triangle 4's apex angle is 30 degrees: its two long sides meet at the top.
    auto t4 = MakeDrawerShape(9, drop);
    const double apex = std::asin(Length(t4->lines()[0]) / 2 / Length(t4->lines()[1]));
    EXPECT_NEAR(apex * 2, kPi / 6, 1e-9);
    EXPECT_EQ(t4->fillColor(), kRed);
}

TEST(DrawerCatalogue, RegularPolygonsStartFromWholePixelsBelowTheDropPoint) {
    // A fractional drop point: the first vertex is cut to whole pixels before the half-angle
    // turn, so the vertices are not symmetric about it, while centre and rotation point are it.
    const C3DPointDouble drop(200.6, 300.3, 0.0);
    struct Expect {
        int index;
        int sides;
        Color fill;
    };
    for (const Expect& e :
         {Expect{2, 5, kRed}, Expect{3, 6, PaletteRGB(0xFF, 0xF7, 0x00)},
          Expect{4, 8, PaletteRGB(0xFF, 0x00, 0xFF)}, Expect{5, 12, PaletteRGB(0x00, 0xFF, 0x00)},
          Expect{31, 6, PaletteRGB(0xFF, 0xF7, 0x00)}}) {
        auto s = MakeDrawerShape(e.index, drop);
        ASSERT_TRUE(s) << e.index;
        EXPECT_EQ(s->fillColor(), e.fill);
        ASSERT_EQ(s->lines().size(), static_cast<std::size_t>(e.sides));
        EXPECT_EQ(s->centre(), drop);
        EXPECT_EQ(s->rotationPoint(), drop);
        const double theta = 2 * kPi / e.sides;
        const double radius = kUnitLength / std::sqrt(2 - 2 * std::cos(theta));
        C3DPointDouble first = s->lines().back().end();
        first.Rotate(-theta / 2, drop);
        EXPECT_NEAR(first.x, 200.0, 1e-9) << e.index;
        EXPECT_NEAR(first.y, std::trunc(radius + 300.3 + 1e-6), 1e-9) << e.index;
        // Consecutive segments share their ends; the last closes within rounding.
        for (std::size_t i = 0; i + 1 < s->lines().size(); ++i)
            EXPECT_EQ(s->lines()[i].end(), s->lines()[i + 1].start());
        EXPECT_TRUE(s->lines().back().end().IsNear(s->lines().front().start()));

        // Dropped on a whole pixel, the bottom edge is horizontal.
        auto whole = MakeDrawerShape(e.index, C3DPointDouble(200, 300));
        const CLine* bottom = &whole->lines().front();
        for (const CLine& line : whole->lines())
            if (line.midpoint().y > bottom->midpoint().y)
                bottom = &line;
        EXPECT_NEAR(bottom->start().y, bottom->end().y, 1e-9) << e.index;
    }
}

TEST(DrawerCatalogue, HexagonSidesMatchTheUnitLength) {
    // With the stored pi the hexagon's radius is a hair below 37; truncating it unguarded
    // would give sides of 36 and a hexagon that no longer tessellates with the triangles.
    for (const C3DPointDouble drop : {C3DPointDouble(100, 100), C3DPointDouble(250, 400)}) {
        auto hexagon = MakeDrawerShape(3, drop);
        auto triangle = MakeDrawerShape(0, drop);
        for (const CLine& line : hexagon->lines())
            EXPECT_NEAR(Length(line), kUnitLength, 1e-6);
        EXPECT_NEAR(Length(triangle->lines()[0]), Length(hexagon->lines()[0]), 1e-6);
    }
}

// --- drawing ---------------------------------------------------------------------------------

TEST(ShapeDrawing, PlainSelectedAndHighlightedStyles) {
    CShapeManipulative s = Square(10, 20, 30);
    s.lines()[1].SetWidth(2);
    s.lines()[2].SetVisible(false);
    const std::vector<std::string> fill = {"pen 1 #ff0000", "brush #ff0000",
                                           "polygon 10,20 40,20 40,50 10,50"};
    std::vector<std::string> plain = fill;
    plain.insert(plain.end(), {"pen 1 #000000", "line 10,20 40,20", "pen 2 #000000",
                               "line 40,20 40,50", "pen 1 #000000", "line 10,50 10,20"});
    EXPECT_EQ(Drawn(s), plain);

    // Selected: every segment, hidden ones too, two pixels wider in its own colour.
    s.SetSelected(true);
    std::vector<std::string> selected = fill;
    selected.insert(selected.end(),
                    {"pen 3 #000000", "line 10,20 40,20", "pen 4 #000000", "line 40,20 40,50",
                     "pen 3 #000000", "line 40,50 10,50", "pen 3 #000000", "line 10,50 10,20"});
    EXPECT_EQ(Drawn(s), selected);

    // Highlighted: eight pixels wider in magenta; selection wins over highlight.
    s.SetHighlighted(true);
    EXPECT_EQ(Drawn(s), selected);
    s.SetSelected(false);
    std::vector<std::string> highlighted = fill;
    highlighted.insert(highlighted.end(),
                       {"pen 9 #ff00ff", "line 10,20 40,20", "pen 10 #ff00ff", "line 40,20 40,50",
                        "pen 9 #ff00ff", "line 40,50 10,50", "pen 9 #ff00ff", "line 10,50 10,20"});
    EXPECT_EQ(Drawn(s), highlighted);

    s.SetVisible(false);
    EXPECT_TRUE(Drawn(s).empty());
}

TEST(ShapeDrawing, NoFillUsesTheNullBrushAndHiddenViewDrawsHiddenSegments) {
    CShapeManipulative s = Square(0, 0, 10, kNoColor);
    const auto calls = Drawn(s);
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "pen 1 none");
    EXPECT_EQ(calls[1], "brush none");
    EXPECT_EQ(calls[2], "polygon 0,0 10,0 10,10 0,10");

    s.lines()[3].SetVisible(false);
    RecordingSurface dc;
    s.DrawOutline(dc);
    EXPECT_EQ(dc.calls, (std::vector<std::string>{"pen 1 #c7c7c7", "line 0,10 0,0"}));
}

TEST(ShapeDrawing, OutlinesOfLargeShapesAreDrawnWithoutTheirFill) {
    CShapeManipulative big = Round(101);
    RecordingSurface dc;
    big.Draw(dc);
    EXPECT_TRUE(dc.Only("polygon").empty());
    EXPECT_EQ(dc.Only("line").size(), 101u);
    CShapeManipulative hundred = Round(100);
    RecordingSurface dc100;
    hundred.Draw(dc100);
    EXPECT_EQ(dc100.Only("polygon").size(), 1u);
}

TEST(ShapeDrawing, PrintingOutlinesOnlyKeepsTheSegments) {
    const CShapeManipulative s = Square(0, 0, 10);
    RecordingSurface dc;
    COutlinesOnlySurface outlines(dc);
    s.Draw(outlines);
    EXPECT_TRUE(dc.Only("polygon").empty());
    EXPECT_EQ(dc.Only("line").size(), 4u);
    EXPECT_EQ(dc.Only("pen 1 #000000").size(), 4u);
}

// --- hit testing -----------------------------------------------------------------------------

TEST(ShapeHitTest, PolygonRegionWithItsLeftAndTopEdges) {
    const CShapeManipulative s = Square(0, 0, 37);
    EXPECT_TRUE(s.HitTest(0, 0));
    EXPECT_TRUE(s.HitTest(36, 36));
    EXPECT_TRUE(s.HitTest(18, 18));
    EXPECT_FALSE(s.HitTest(37, 10));
    EXPECT_FALSE(s.HitTest(10, 37));
    EXPECT_FALSE(s.HitTest(-1, 10));
}

TEST(ShapeHitTest, NoFillShapeIsHitOnlyInsideItsOutline) {
    auto triangle = MakeDrawerShape(0, C3DPointDouble(100, 100));
    triangle->SetColor(kNoColor);
    const CPoint c = triangle->centre().Rounded();
    EXPECT_TRUE(triangle->HitTest(c.x, c.y));
    // The corner of the bounding box beside the apex lies outside the triangle.
    CRect b;
    triangle->GetBounds(b);
    EXPECT_FALSE(triangle->HitTest(b.left + 1, b.top + 1));
    EXPECT_FALSE(triangle->HitTest(b.right + 5, c.y));
}

TEST(ShapeHitTest, AlternateRuleLeavesTheInnerPartOfASelfCrossingOutlineOut) {
    // A pentagram drawn in one stroke: its inner pentagon is covered twice.
    std::vector<CPoint> star;
    for (int i = 0; i < 5; ++i) {
        const double a = -kPi / 2 + i * 4 * kPi / 5;
        star.push_back(
            {RoundToPixel(100 + 80 * std::cos(a)), RoundToPixel(100 + 80 * std::sin(a))});
    }
    const CShapeManipulative s(ClosedPath(star), kRed);
    EXPECT_FALSE(s.HitTest(100, 100));
    EXPECT_TRUE(s.HitTest(100, 40));
}

TEST(ShapeHitTest, MoreThanFortyNineSegmentsNeverHit) {
    EXPECT_TRUE(Round(49).HitTest(500, 500));
    EXPECT_FALSE(Round(50).HitTest(500, 500));
    EXPECT_FALSE(CShapeManipulative().HitTest(0, 0));
}

TEST(ShapeGeometry, OutlineExportRefusesAShapeWithoutSides) {
    std::vector<CPoint> v{{1, 1}};
    EXPECT_EQ(CShapeManipulative().GetVertices(v), 0);
    EXPECT_TRUE(v.empty());
    EXPECT_EQ(Round(3).GetVertices(v), 7);
}

TEST(ShapeHitTest, RotationPointMarker) {
    CShapeManipulative s = Square(0, 0, 40);
    s.SetRotationPoint(C3DPointDouble(20, 20));
    EXPECT_TRUE(s.IsOnRotationPoint(C3DPointDouble(23, 17)));
    EXPECT_TRUE(s.IsOnRotationPoint(C3DPointDouble(23.9, 16.1, 0.0)));
    EXPECT_FALSE(s.IsOnRotationPoint(C3DPointDouble(24, 20)));
}

// --- geometry --------------------------------------------------------------------------------

TEST(ShapeGeometry, EightHorizontalFlipStepsTurnARightArrowLeft) {
    // An arrow head pointing right, flipped about a point on its axis.
    CShapeManipulative arrow(ClosedPath({{100, 95}, {110, 100}, {100, 105}}), kRed);
    const C3DPointDouble about(90, 100);
    for (int i = 0; i < 8; ++i)
        arrow.FlipStepCrossAxis(about);
    EXPECT_NEAR(arrow.lines()[1].start().x, 70, 1e-9);
    EXPECT_NEAR(arrow.lines()[1].start().y, 100, 1e-9);
    EXPECT_NEAR(arrow.lines()[0].start().x, 80, 1e-9);
    EXPECT_NEAR(arrow.lines()[0].start().y, 95, 1e-9);
    for (const CLine& line : arrow.lines())
        EXPECT_NEAR(line.start().z, 0, 1e-9);
}

TEST(ShapeGeometry, RotatingAboutItsOwnCentreKeepsTheCentre) {
    auto s = MakeDrawerShape(16, C3DPointDouble(200, 200));
    const C3DPointDouble centre = s->centre();
    s->Rotate(0.7, centre);
    EXPECT_EQ(s->centre(), centre);
    EXPECT_EQ(s->rotationPoint(), centre);
}

TEST(ShapeColours, FillAndLineColoursAreSeparate) {
    CShapeManipulative s = Square(0, 0, 10);
    s.SetColor(PaletteRGB(0, 255, 0));
    EXPECT_EQ(s.GetColor(), PaletteRGB(0, 255, 0));
    EXPECT_EQ(s.lines()[0].color(), kBlack);
    s.SetLineColor(kRed);
    for (const CLine& line : s.lines())
        EXPECT_EQ(line.color(), kRed);
    EXPECT_EQ(s.GetColor(), PaletteRGB(0, 255, 0));
    auto copy = s.Clone();
    EXPECT_EQ(copy->GetType(), kTypeShape);
    EXPECT_EQ(copy->GetColor(), PaletteRGB(0, 255, 0));
    EXPECT_TRUE(copy->IsEqualTo(s));
}

// --- groups ----------------------------------------------------------------------------------

TEST(Group, CentreFrameAndQueries) {
    const CShapeManipulative a = Square(0, 0, 10);
    const CShapeManipulative b = Square(30, 20, 10, PaletteRGB(0, 0, 255));
    CPolyShapeManipulative g = GroupOf({&a, &b});
    EXPECT_EQ(g.centre(), C3DPointDouble(20, 15));
    EXPECT_EQ(g.rotationPoint(), g.centre());
    // Bounds (0,0)-(40,30) inclusive, widened by one pixel.
    const auto& f = g.frameCorners();
    EXPECT_EQ(f[0], C3DPointDouble(-1, -1));
    EXPECT_EQ(f[1], C3DPointDouble(41, -1));
    EXPECT_EQ(f[2], C3DPointDouble(41, 31));
    EXPECT_EQ(f[3], C3DPointDouble(-1, 31));
    CRect bounds;
    g.GetBounds(bounds);
    EXPECT_EQ(bounds, (CRect{0, 0, 41, 31}));

    EXPECT_EQ(g.GetColor(), kNoColor);
    g.SetColor(kRed);
    EXPECT_EQ(g.GetColor(), kRed);
    EXPECT_EQ(g.GetLineWidth(), 1);
    (*g.GetMembers())[1]->SetLineWidth(2);
    EXPECT_EQ(g.GetLineWidth(), -1);
    g.SetLineWidth(2);
    EXPECT_EQ(g.GetLineWidth(), 2);

    CPolyShapeManipulative empty;
    EXPECT_EQ(empty.GetColor(), kNoColor);
    EXPECT_EQ(empty.GetLineWidth(), -1);
}

TEST(Group, ScaleLevelsHighlightAndSelectionReachTheMembers) {
    CShapeManipulative a = Square(0, 0, 10);
    a.RaiseScaleLevel();
    CShapeManipulative b = Square(30, 20, 10);
    b.LowerScaleLevel();
    CPolyShapeManipulative g = GroupOf({&a, &b});
    EXPECT_EQ(g.GetHighestScaleLevel(), 1);
    EXPECT_EQ(g.GetLowestScaleLevel(), -1);
    g.RaiseScaleLevel();
    EXPECT_EQ(g.GetHighestScaleLevel(), 2);
    EXPECT_EQ(g.GetLowestScaleLevel(), 0);
    EXPECT_EQ(CPolyShapeManipulative().GetHighestScaleLevel(), -100);
    EXPECT_EQ(CPolyShapeManipulative().GetLowestScaleLevel(), 100);

    g.SetHighlighted(true);
    g.SetSelected(true);
    for (const auto& m : *g.GetMembers())
        EXPECT_TRUE(m->highlighted() && m->selected());
    RecordingSurface dc;
    g.Draw(dc);
    EXPECT_EQ(dc.Only("pen 3").size(), 8u);
}

TEST(Group, TransformationsCarryTheFrameAndStayConsistent) {
    const CShapeManipulative a = Square(0, 0, 10);
    const CShapeManipulative b = Square(30, 20, 10);
    CPolyShapeManipulative g = GroupOf({&a, &b});
    g.MoveBy(5, 7);
    EXPECT_EQ(g.frameCorners()[0], C3DPointDouble(4, 6));
    EXPECT_EQ(g.centre(), C3DPointDouble(25, 22));
    EXPECT_EQ((*g.GetMembers())[0]->lines()[0].start(), C3DPointDouble(5, 7));

    // A quarter turn about the group's centre, four times, is the identity.
    const CPolyShapeManipulative before(g);
    for (int i = 0; i < 4; ++i)
        g.Rotate(kPi / 2, g.centre());
    EXPECT_TRUE(g.IsEqualTo(before));
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(g.frameCorners()[i].IsNear(before.frameCorners()[i]));

    // Scaling by 2 and back by 0.5 about a corner restores the group.
    const C3DPointDouble corner = g.frameCorners()[0];
    g.Scale(2, corner);
    EXPECT_NEAR(g.frameCorners()[2].x - corner.x, 2 * (before.frameCorners()[2].x - corner.x),
                1e-6);
    g.Scale(0.5, corner);
    EXPECT_TRUE(g.IsEqualTo(before));

    g.SetFixed(true);
    g.MoveBy(100, 100);
    EXPECT_TRUE(g.IsEqualTo(before));
}

TEST(Group, CloneIsDeep) {
    const CShapeManipulative a = Square(0, 0, 10);
    CPolyShapeManipulative g = GroupOf({&a});
    auto copy = g.Clone();
    g.MoveBy(50, 0);
    EXPECT_EQ((*copy->GetMembers())[0]->lines()[0].start(), C3DPointDouble(0, 0));
    EXPECT_EQ(copy->GetType(), kTypePolyShape);
}

// --- archive forms ---------------------------------------------------------------------------

namespace {

// The base form of a manipulative without its segments.
LayoutBuilder& Base(LayoutBuilder& b, std::int32_t lines, C3DPointDouble centre,
                    C3DPointDouble rotation, std::int32_t selected, std::int32_t kind) {
    b.Int32(lines).Point(centre.x, centre.y, centre.z).Point(rotation.x, rotation.y, rotation.z);
    return b.Int32(selected).Int32(1).Int32(0).Int32(0).Int32(kind).Int32(0);
}

LayoutBuilder& SquareForm(LayoutBuilder& b, int x, int y, int side, Color fill,
                          std::int32_t kind = -1) {
    const double c = side / 2.0;
    Base(b, 4, {x + c, y + c, 0}, {x + c, y + c, 0}, 0, kind);
    b.Segment(x, y, x + side, y, 1, kBlack, 1);
    b.Segment(x + side, y, x + side, y + side, 1, kBlack, 1);
    b.Segment(x + side, y + side, x, y + side, 1, kBlack, 1);
    b.Segment(x, y + side, x, y, 1, kBlack, 1);
    return b.UInt32(fill).Tab();
}

} // namespace

TEST(ShapeArchive, ShapeForm) {
    CShapeManipulative s = Square(10, 20, 30);
    s.SetKind(13);
    LayoutBuilder expected;
    SquareForm(expected, 10, 20, 30, kRed, 13);
    const Bytes bytes = Stored([&](CArchive& ar) { s.Serialize(ar); });
    EXPECT_EQ(bytes, expected.bytes);

    auto loaded = Load(bytes, kTypeShape);
    EXPECT_TRUE(loaded->IsEqualTo(s));
    EXPECT_EQ(loaded->GetColor(), kRed);
    EXPECT_EQ(loaded->kind(), 13);
    EXPECT_EQ(Stored([&](CArchive& ar) { loaded->Serialize(ar); }), bytes);
    EXPECT_EQ(FirstPrefixThatLoads(bytes, [](CArchive& ar) { CShapeManipulative().Serialize(ar); }),
              std::nullopt);
}

TEST(ShapeArchive, GroupHoldingAShapeAndAGroup) {
    const CShapeManipulative a = Square(0, 0, 10);
    const CShapeManipulative b = Square(20, 0, 10, PaletteRGB(0, 0, 255));
    const CPolyShapeManipulative inner = GroupOf({&b});
    CPolyShapeManipulative outer = GroupOf({&a, &inner});

    LayoutBuilder expected;
    Base(expected, 0, {15, 5, 0}, {15, 5, 0}, 0, -1);
    expected.Int32(2).Tab();
    expected.Int32(kTypeShape).Tab();
    SquareForm(expected, 0, 0, 10, kRed);
    expected.Int32(kTypePolyShape).Tab();
    Base(expected, 0, {25, 5, 0}, {25, 5, 0}, 0, -1);
    expected.Int32(1).Tab();
    expected.Int32(kTypeShape).Tab();
    SquareForm(expected, 20, 0, 10, PaletteRGB(0, 0, 255));
    expected.Point(19, -1).Point(31, -1).Point(31, 11).Point(19, 11).Tab();
    expected.Point(-1, -1).Point(31, -1).Point(31, 11).Point(-1, 11).Tab();

    const Bytes bytes = Stored([&](CArchive& ar) { outer.Serialize(ar); });
    EXPECT_EQ(bytes, expected.bytes);

    auto loaded = Load(bytes, kTypePolyShape);
    EXPECT_TRUE(loaded->IsEqualTo(outer));
    EXPECT_EQ(Stored([&](CArchive& ar) { loaded->Serialize(ar); }), bytes);
    EXPECT_EQ(
        FirstPrefixThatLoads(bytes, [](CArchive& ar) { CPolyShapeManipulative().Serialize(ar); }),
        std::nullopt);
}

TEST(ShapeArchive, HostileGroupsFailCleanly) {
    RegisterGeometryManipulatives();
    const auto loads = [](const Bytes& bytes) {
        CArchive ar(bytes);
        CPolyShapeManipulative g;
        try {
            g.Serialize(ar);
            return true;
        } catch (const CArchiveException&) {
            return false;
        }
    };
    // A member type outside 0 to 4.
    for (std::int32_t type : {5, 6, 16, -1, 1000}) {
        LayoutBuilder b;
        Base(b, 0, {}, {}, 0, -1);
        b.Int32(1).Tab().Int32(type).Tab();
        Base(b, 0, {}, {}, 0, -1);
        b.Point(0, 0).Point(0, 0).Point(0, 0).Point(0, 0).Tab();
        EXPECT_FALSE(loads(b.bytes)) << type;
    }
    // A member count far beyond the bytes.
    for (std::int32_t count : {0x7FFFFFFF, -1, 1000}) {
        LayoutBuilder b;
        Base(b, 0, {}, {}, 0, -1);
        b.Int32(count).Tab();
        EXPECT_FALSE(loads(b.bytes)) << count;
    }
    // Groups of groups nested far deeper than any pupil builds them.
    LayoutBuilder deep;
    for (int i = 0; i < 200; ++i) {
        Base(deep, 0, {}, {}, 0, -1);
        deep.Int32(1).Tab().Int32(kTypePolyShape).Tab();
    }
    EXPECT_FALSE(loads(deep.bytes));
}

TEST(ShapeArchive, DamagedGroupBytesFailWithoutHarm) {
    // Every byte of a group's form set to a few hostile values: each read ends or fails cleanly.
    const CShapeManipulative a = Square(0, 0, 10);
    const CPolyShapeManipulative inner = GroupOf({&a});
    CPolyShapeManipulative outer = GroupOf({&a, &inner});
    const Bytes good = Stored([&](CArchive& ar) { outer.Serialize(ar); });
    RegisterGeometryManipulatives();
    int failures = 0;
    for (std::size_t i = 0; i < good.size(); ++i) {
        for (std::uint8_t v : {0x00, 0x02, 0x7F, 0xFF}) {
            Bytes bad = good;
            bad[i] = v;
            CArchive ar(bad);
            CPolyShapeManipulative g;
            try {
                g.Serialize(ar);
                CRect frame;
                g.GetFrame(frame);
                RecordingSurface dc;
                g.Draw(dc);
                g.HitTest(5, 5);
            } catch (const CArchiveException&) {
                ++failures;
            }
        }
    }
    EXPECT_GT(failures, 0);
}

TEST(ShapeArchive, GeometryDocumentKeepsShapesAndGroups) {
    CGeometryUnitDocument doc;
    doc.AddManipulative(MakeDrawerShape(3, C3DPointDouble(100, 100)));
    const CShapeManipulative a = Square(200, 200, 20);
    const CShapeManipulative b = Square(240, 200, 20);
    doc.AddManipulative(GroupOf({&a, &b}).Clone());
    const Bytes saved = doc.SaveToBytes();

    CGeometryUnitDocument reread;
    ASSERT_EQ(reread.LoadFromBytes(saved), OpenResult::Opened);
    ASSERT_EQ(reread.manipulatives().size(), 2u);
    EXPECT_EQ(reread.manipulatives()[0]->GetType(), kTypeShape);
    EXPECT_EQ(reread.manipulatives()[1]->GetType(), kTypePolyShape);
    EXPECT_TRUE(reread.manipulatives()[1]->IsEqualTo(*doc.manipulatives()[1]));
    EXPECT_EQ(reread.SaveToBytes(), saved);

    // The field tree names every field and builds the same bytes back.
    const CShapeManipulative c = Square(300, 300, 20);
    const CPolyShapeManipulative inner = GroupOf({&c});
    doc.AddManipulative(GroupOf({&a, &inner}).Clone());
    const Bytes nested = doc.SaveToBytes();
    const CValue tree = doc.DumpToTree();
    CGeometryUnitDocument built;
    std::string error;
    ASSERT_TRUE(built.LoadFromTree(tree, &error)) << error;
    EXPECT_EQ(built.SaveToBytes(), nested);
}

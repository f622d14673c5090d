// The drawer shapes: fixed paths from the origin and regular polygons about the drop point.
#include "geometry/shape_catalogue.h"

#include <cmath>
#include <vector>

namespace quorvel {

namespace {

constexpr double L = kUnitLength;
const double kRoot3 = std::sqrt(3.0);
const double kInvRoot2 = 1.0 / std::sqrt(2.0);

// A closed path from the origin through `vertices` and back, one black segment per step.
std::vector<CLine> PathFromOrigin(std::initializer_list<C3DPointDouble> vertices) {
    std::vector<CLine> lines;
    lines.reserve(vertices.size() + 1);
    C3DPointDouble current;
    for (const C3DPointDouble& v : vertices) {
        lines.emplace_back(current, v);
        current = v;
    }
    lines.emplace_back(current, C3DPointDouble());
    return lines;
}

std::vector<CLine> FixedPath(CatalogueShape shape) {
    using P = C3DPointDouble;
    switch (shape) {
    case CatalogueShape::Triangle1:
        return PathFromOrigin({P(L, 0, 0), P(L / 2, -kRoot3 * L / 2, 0)});
    case CatalogueShape::Triangle2:
        return PathFromOrigin({P(kRoot3 * L, 0, 0), P(kRoot3 * L / 2, -L / 2, 0)});
    case CatalogueShape::Triangle3:
        return PathFromOrigin({P(kRoot3 * L, 0, 0), P(kRoot3 * L, -L, 0)});
    case CatalogueShape::Triangle4:
        return PathFromOrigin({P(L, 0, 0), P(L / 2, -(kRoot3 + 1) / (kRoot3 - 1) * L / 2, 0)});
    case CatalogueShape::Triangle5:
        return PathFromOrigin({P(L, 0, 0), P(L, -L, 0)});
    case CatalogueShape::Square:
        return PathFromOrigin({P(L, 0, 0), P(L, -L, 0), P(0, -L, 0)});
    case CatalogueShape::Rhombus1:
        return PathFromOrigin(
            {P(L, 0, 0), P(1.5 * L, -kRoot3 * L / 2, 0), P(L / 2, -kRoot3 * L / 2, 0)});
    case CatalogueShape::Rhombus2:
        return PathFromOrigin({P(L, 0, 0), P(L + kInvRoot2 * L, -kInvRoot2 * L, 0),
                               P(kInvRoot2 * L, -kInvRoot2 * L, 0)});
    case CatalogueShape::Rhombus3:
        return PathFromOrigin(
            {P(L, 0, 0), P(L + kRoot3 * L / 2, -L / 2, 0), P(kRoot3 * L / 2, -L / 2, 0)});
    case CatalogueShape::Trapezoid:
        return PathFromOrigin(
            {P(2 * L, 0, 0), P(1.5 * L, -kRoot3 * L / 2, 0), P(L / 2, -kRoot3 * L / 2, 0)});
    case CatalogueShape::Rectangle:
        return PathFromOrigin({P(2 * L, 0, 0), P(2 * L, -L, 0), P(0, -L, 0)});
    default:
        return {};
    }
}

int SidesOf(CatalogueShape shape) {
    switch (shape) {
    case CatalogueShape::Pentagon:
        return 5;
    case CatalogueShape::Hexagon:
        return 6;
    case CatalogueShape::Octagon:
        return 8;
    case CatalogueShape::Dodecagon:
        return 12;
    default:
        return 0;
    }
}

// Side L about c, first vertex straight below c on whole pixels, bottom edge horizontal.
std::unique_ptr<CShapeManipulative> RegularPolygon(int n, Color fill, const C3DPointDouble& c) {
    const double theta = 2 * kPi / n;
    const double radius = L / std::sqrt(2 - 2 * std::cos(theta));
    // With the stored pi the hexagon's radius comes out a hair below 37; without the nudge
    // truncation would make it a pixel short of the shapes it tessellates with.
    constexpr double kNudge = 1e-6;
    C3DPointDouble p(std::trunc(c.x + kNudge), std::trunc(radius + c.y + kNudge), 0.0);
    p.Rotate(theta / 2, c);
    C3DPointDouble q = p;
    std::vector<CLine> lines;
    lines.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        p.Rotate(theta, c);
        lines.emplace_back(q, p);
        q = p;
    }
    auto shape = std::make_unique<CShapeManipulative>(lines, fill);
    shape->SetCentre(c);
    shape->SetRotationPoint(c);
    return shape;
}

const std::array<CDrawerSlot, kCatalogueSize> kCatalogue = [] {
    using S = CatalogueShape;
    std::array<CDrawerSlot, kCatalogueSize> c{};
    const CDrawerSlot drawers[kDrawerCount][kSlotsPerDrawer] = {
        {{S::Triangle1, "triangle"},
         {S::Square, "square"},
         {S::Pentagon, "pentagon"},
         {S::Hexagon, "hexagon"},
         {S::Octagon, "octagon"},
         {S::Dodecagon, "dodecagon"}},
        {{S::Triangle1, "triangle 1"},
         {S::Triangle2, "triangle 2"},
         {S::Triangle3, "triangle 3"},
         {S::Triangle4, "triangle 4"},
         {S::Triangle5, "triangle 5"},
         {}},
        {{S::Square, "square"},
         {S::Rhombus1, "rhombus 1"},
         {S::Rhombus2, "rhombus 2"},
         {S::Rhombus3, "rhombus 3"},
         {S::Trapezoid, "trapezoid"},
         {S::Rectangle, "rectangle"}},
        {},
        {},
        {{S::Triangle1, "triangle"},
         {S::Hexagon, "hexagon"},
         {S::Rhombus1, "rhombus 1"},
         {S::Trapezoid, "trapezoid"},
         {},
         {}},
    };
    for (int d = 0; d < kDrawerCount; ++d)
        for (int slot = 0; slot < kSlotsPerDrawer; ++slot)
            c[static_cast<std::size_t>(d * kSlotsPerDrawer + slot)] = drawers[d][slot];
    return c;
}();

} // namespace

const std::array<CDrawerSlot, kCatalogueSize>& DrawerCatalogue() {
    return kCatalogue;
}

CDrawerSlot CatalogueSlot(int index) {
    if (index < 0 || index >= kCatalogueSize)
        return {};
    return kCatalogue[static_cast<std::size_t>(index)];
}

bool IsFixedDrawer(int drawer) {
    return drawer == 0 || drawer == 1 || drawer == 2 || drawer == 5;
}

Color FillColorOf(CatalogueShape shape) {
    switch (shape) {
    case CatalogueShape::Triangle1:
        return PaletteRGB(0xD4, 0xFF, 0x61);
    case CatalogueShape::Triangle2:
        return PaletteRGB(0xFF, 0x00, 0xFF);
    case CatalogueShape::Triangle3:
        return PaletteRGB(0x00, 0x08, 0xFF);
    case CatalogueShape::Triangle4:
        return PaletteRGB(0xFF, 0x00, 0x00);
    case CatalogueShape::Triangle5:
        return PaletteRGB(0xFF, 0xF7, 0x00);
    case CatalogueShape::Square:
        return PaletteRGB(0xFF, 0xAB, 0x61);
    case CatalogueShape::Rhombus1:
        return PaletteRGB(0x00, 0x08, 0xFF);
    case CatalogueShape::Rhombus2:
        return PaletteRGB(0xFF, 0x00, 0x00);
    case CatalogueShape::Rhombus3:
        return PaletteRGB(0xDA, 0xB3, 0x98);
    case CatalogueShape::Trapezoid:
        return PaletteRGB(0xFF, 0x00, 0x00);
    case CatalogueShape::Rectangle:
        return PaletteRGB(0x08, 0x9C, 0x00);
    case CatalogueShape::Pentagon:
        return PaletteRGB(0xFF, 0x00, 0x00);
    case CatalogueShape::Hexagon:
        return PaletteRGB(0xFF, 0xF7, 0x00);
    case CatalogueShape::Octagon:
        return PaletteRGB(0xFF, 0x00, 0xFF);
    case CatalogueShape::Dodecagon:
        return PaletteRGB(0x00, 0xFF, 0x00);
    case CatalogueShape::None:
        break;
    }
    return kNoColor;
}

std::unique_ptr<CShapeManipulative> BuildCatalogueShape(CatalogueShape shape,
                                                        const C3DPointDouble& drop) {
    if (shape == CatalogueShape::None)
        return nullptr;
    if (const int n = SidesOf(shape))
        return RegularPolygon(n, FillColorOf(shape), drop);
    auto made = std::make_unique<CShapeManipulative>(FixedPath(shape), FillColorOf(shape));
    const C3DPointDouble& centre = made->centre();
    made->MoveBy(std::trunc(drop.x - centre.x), std::trunc(drop.y - centre.y));
    return made;
}

std::unique_ptr<CShapeManipulative> MakeDrawerShape(int index, const C3DPointDouble& drop) {
    auto shape = BuildCatalogueShape(CatalogueSlot(index).shape, drop);
    if (shape)
        shape->SetKind(index);
    return shape;
}

} // namespace quorvel

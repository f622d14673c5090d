// The drawer catalogue: six drawers of six slots, the fixed shapes of drawers 1, 2, 3 and 6
// and how each is built at a drop point.
#pragma once

#include "geometry/shape_manipulative.h"

#include <array>
#include <memory>
#include <string>

namespace quorvel {

// Every drawer shape is built from sides of this length or simple multiples of it.
inline constexpr double kUnitLength = 37.0;
inline constexpr int kDrawerCount = 6;
inline constexpr int kSlotsPerDrawer = 6;
inline constexpr int kCatalogueSize = kDrawerCount * kSlotsPerDrawer;

enum class CatalogueShape {
    None,
    Triangle1,
    Triangle2,
    Triangle3,
    Triangle4,
    Triangle5,
    Square,
    Rhombus1,
    Rhombus2,
    Rhombus3,
    Trapezoid,
    Rectangle,
    Pentagon,
    Hexagon,
    Octagon,
    Dodecagon,
};

struct CDrawerSlot {
    CatalogueShape shape = CatalogueShape::None;
    const char* name = " ";
};

// Drawer d (0 to 5) slot s is catalogue index d * 6 + s. Drawers 4 and 5 (indices 3 and 4)
// are the student drawers and hold nothing here.
const std::array<CDrawerSlot, kCatalogueSize>& DrawerCatalogue();
// The slot at a catalogue index; an empty slot for indices outside 0 to 35.
CDrawerSlot CatalogueSlot(int index);
bool IsFixedDrawer(int drawer);

Color FillColorOf(CatalogueShape shape);
// Builds `shape` with its centre on the drop point: a fixed shape is moved there to the
// whole pixel, a regular polygon is built around it. Null for None.
std::unique_ptr<CShapeManipulative> BuildCatalogueShape(CatalogueShape shape,
                                                        const C3DPointDouble& drop);
// The shape of a catalogue slot at the drop point, its catalogue index set; null for an
// empty slot or a student drawer.
std::unique_ptr<CShapeManipulative> MakeDrawerShape(int index, const C3DPointDouble& drop);

} // namespace quorvel

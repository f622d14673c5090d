// Plane geometry over the workspace's shapes for building class documents: a shape's corners,
// its area and turning sense, and the outline of a patch of shapes laid side by side.
#pragma once

#include "workspace/manipulative.h"
#include "workspace/point.h"

#include <vector>

namespace quorvel {

using CPolygonPoints = std::vector<C3DPointDouble>;

// Corners closer than this count as one; the shape commands keep far finer than this.
inline constexpr double kCornerTolerance = 1e-4;

// The corners of a shape or line manipulative: the start of each of its lines.
CPolygonPoints CornersOf(const CManipulative& m);
// Positive when the corners run clockwise on the screen (y grows downwards).
double SignedArea(const CPolygonPoints& polygon);
double Distance(const C3DPointDouble& a, const C3DPointDouble& b);

// The boundary of the region that the polygons cover when they meet along whole edges or parts
// of edges: closed loops with straight runs merged, the outer one first, holes after it. An
// edge shared by two polygons is inside and belongs to no loop.
std::vector<CPolygonPoints> OutlineLoops(const std::vector<CPolygonPoints>& polygons);

// Every shape of a manipulative list, groups opened, in drawing order.
std::vector<const CManipulative*> ShapesOf(const std::vector<const CManipulative*>& list);

} // namespace quorvel

// The companion documents' drawings: tessellations, cores, corners and turns built from the
// drawer shapes of the geometry core, moved, turned, flipped and copied as the workspace
// commands do, and drawn through the program's Qt drawing surface.
#pragma once

#include <QRectF>

#include <string>

class QPainter;

namespace quorvel::companion {

// Draws the named figure centred in `box` (page points); false for a name it does not know.
bool DrawFigure(QPainter& painter, const std::string& name, const QRectF& box);

// The band across the top of every page: a strip of triangles along its lower edge.
void DrawBandStrip(QPainter& painter, const QRectF& strip);

} // namespace quorvel::companion

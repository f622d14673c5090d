// Pictures of the program's pages that a document generator took, drawn as figures
// "screen-<name>".
#pragma once

#include <QImage>
#include <QRectF>

#include <string>

class QPainter;

namespace quorvel::companion {

// Keeps `picture` as the figure "screen-<name>".
void SetScreen(const std::string& name, const QImage& picture);

// Draws a kept picture as large as fits centred in `box`, framed; false for another name.
bool DrawScreenFigure(QPainter& painter, const std::string& name, const QRectF& box);

} // namespace quorvel::companion

// The program's own bitmaps and cursors, drawn as SVG and keyed by resource id.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QString>

#include <vector>

namespace quorvel {

// Bitmap `id` rendered at `size` logical pixels (its own size when `size` is empty), sharp at
// the primary screen's device pixel ratio. Cached. A null pixmap when there is no such bitmap.
QPixmap ArtPixmap(int id, const QSize& size = QSize());

// Same for art that has a name instead of an id (the unit menus' Explore, Make Challenges and
// Solve Challenges buttons: "explore", "explore_down", "explore_focus" and so on).
QPixmap NamedArtPixmap(const QString& name, const QSize& size = QSize());

// The size the bitmap was drawn for; empty when there is no such bitmap.
QSize ArtSize(int id);

bool HasArt(int id);

// An icon for a button drawn in states: `up` normally, `down` when checked (a latched tool) and
// `disabled` when greyed; 0 leaves a state to Qt.
QIcon ArtIcon(int up, int down = 0, int disabled = 0);

// Every bitmap id, ascending.
const std::vector<int>& ArtIds();

// Cursor resource `id` with its hot spot; the arrow cursor when there is no such cursor.
QCursor ArtCursor(int id);
bool HasCursorArt(int id);

// Every cursor id, ascending.
const std::vector<int>& CursorIds();

// Hot spot of cursor `id` in its 32 by 32 drawing; (0, 0) when there is no such cursor.
QPoint CursorHotSpot(int id);

// The cursor shown over the workspace for tool code 0..11 (the Arrow keeps the standard arrow).
QCursor ToolCursor(int toolCode);

} // namespace quorvel

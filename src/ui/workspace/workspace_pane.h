// The workspace pane: the part of a scrolling workspace that the view shows, drawn off screen
// on light blue, with the unit's drawing hook.
#pragma once

#include "workspace/workspace_pane.h"

#include <QPixmap>
#include <QWidget>

#include <functional>

namespace quorvel {

class CArchive;
class IDrawingSurface;

class CWorkspacePane : public QWidget {
    Q_OBJECT
public:
    // Draws the manipulatives into `dc`, whose coordinates are workspace coordinates;
    // `area` is the part being repainted, in workspace coordinates.
    using DrawHook = std::function<void(IDrawingSurface& dc, const CRect& area)>;

    explicit CWorkspacePane(QWidget* parent);

    void SetDrawHook(DrawHook hook) { m_draw = std::move(hook); }
    const CWorkspacePaneState& state() const { return m_state; }
    int scrollX() const { return m_state.scrollX(); }
    int scrollY() const { return m_state.scrollY(); }
    void SetScroll(int x, int y);
    // Smoothed edges for the units whose drawing stays fast enough with them.
    void SetAntialiasing(bool on) { m_antialiasing = on; }
    bool antialiasing() const { return m_antialiasing; }
    // Asked before each repaint: smoothing is kept only while it answers true (a unit with
    // a crowded workspace draws aliased to keep its repaints within an animation tick).
    void SetAntialiasingWhile(std::function<bool()> cheapEnough) {
        m_cheapEnough = std::move(cheapEnough);
    }

    // Repaints a rectangle given in workspace coordinates.
    void InvalidateWorkspace(const CRect& r);

    // The archive form: offsets and the pane's rectangle; loading rescales and repaints.
    void Serialize(CArchive& ar);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    CWorkspacePaneState m_state;
    DrawHook m_draw;
    bool m_antialiasing = false;
    std::function<bool()> m_cheapEnough;
    QPixmap m_buffer;
};

} // namespace quorvel

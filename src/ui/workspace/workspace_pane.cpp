// The pane paints into a bitmap of its own size and copies the repainted part to the screen.
#include "ui/workspace/workspace_pane.h"

#include "ui/platform/qt_drawing_surface.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>

namespace quorvel {

CWorkspacePane::CWorkspacePane(QWidget* parent) : QWidget(parent) {
    // The painting covers every pixel: no background to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void CWorkspacePane::SetScroll(int x, int y) {
    m_state.SetScroll(x, y);
    update();
}

void CWorkspacePane::InvalidateWorkspace(const CRect& r) {
    const CRect onPane = m_state.ToPane(r);
    update(QRect(onPane.left, onPane.top, onPane.Width(), onPane.Height()));
}

void CWorkspacePane::Serialize(CArchive& ar) {
    m_state.Serialize(ar, CRect{0, 0, width(), height()});
    update();
}

void CWorkspacePane::paintEvent(QPaintEvent* e) {
    const QRect dirty = e->rect();
    // Kept between repaints: only the repainted part is drawn and copied.
    const QSize pixels = size() * devicePixelRatioF();
    if (m_buffer.size() != pixels || m_buffer.devicePixelRatio() != devicePixelRatioF()) {
        m_buffer = QPixmap(pixels);
        m_buffer.setDevicePixelRatio(devicePixelRatioF());
    }
    QPixmap& buffer = m_buffer;
    {
        QPainter p(&buffer);
        p.fillRect(dirty, QtColor(kPaneColor));
        p.setClipRect(dirty);
        // Workspace coordinates: the pane's pixel (0, 0) is the workspace's (x, y).
        p.translate(-m_state.scrollX(), -m_state.scrollY());
        if (m_draw) {
            CQtDrawingSurface dc(p);
            // After the surface, which starts every painter aliased.
            p.setRenderHint(QPainter::Antialiasing,
                            m_antialiasing && (!m_cheapEnough || m_cheapEnough()));
            const CRect area =
                m_state.ToWorkspace(CRect{dirty.left(), dirty.top(), dirty.left() + dirty.width(),
                                          dirty.top() + dirty.height()});
            m_draw(dc, area);
        }
    }
    QPainter screen(this);
    screen.drawPixmap(dirty, buffer,
                      QRectF(QPointF(dirty.topLeft()) * devicePixelRatioF(),
                             QSizeF(dirty.size()) * devicePixelRatioF()));
}

} // namespace quorvel

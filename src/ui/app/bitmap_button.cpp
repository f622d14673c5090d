// Bitmap buttons over the program's SVG art.
#include "ui/app/bitmap_button.h"

#include "ui/art/art.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>

namespace quorvel {

CBitmapButton::CBitmapButton(int id, Bitmaps bitmaps, const QString& accessibleName,
                             QWidget* parent)
    : QAbstractButton(parent), m_id(id), m_bitmaps(bitmaps) {
    setAccessibleName(accessibleName);
    setToolTip(accessibleName);
    setFocusPolicy(Qt::StrongFocus);
    const QSize size = ArtSize(bitmaps.up);
    if (!size.isEmpty())
        resize(size);
}

CBitmapButton::CBitmapButton(int id, const QString& artName, const QString& accessibleName,
                             QWidget* parent)
    : QAbstractButton(parent), m_id(id), m_artName(artName) {
    setAccessibleName(accessibleName);
    setToolTip(accessibleName);
    setFocusPolicy(Qt::StrongFocus);
}

CBitmapButton::CBitmapButton(int id, QColor face, const QString& label,
                             const QString& accessibleName, QWidget* parent)
    : QAbstractButton(parent), m_id(id), m_face(face), m_label(label) {
    setAccessibleName(accessibleName);
    setFocusPolicy(Qt::StrongFocus);
}

void CBitmapButton::setFace(QColor face, const QString& label) {
    m_face = face;
    m_label = label;
    update();
}

void CBitmapButton::setBitmaps(Bitmaps bitmaps) {
    m_bitmaps = bitmaps;
    update();
}

QSize CBitmapButton::sizeHint() const {
    return size();
}

QPixmap CBitmapButton::StatePixmap() const {
    if (!m_artName.isEmpty()) {
        QString name = m_artName;
        if (!isEnabled())
            name += QStringLiteral("_disabled");
        else if (isDown())
            name += QStringLiteral("_down");
        else if (hasFocus() || m_hover)
            name += QStringLiteral("_focus");
        QPixmap pm = NamedArtPixmap(name, size());
        return pm.isNull() ? NamedArtPixmap(m_artName, size()) : pm;
    }
    int id = m_bitmaps.up;
    if (!isEnabled() && m_bitmaps.disabled)
        id = m_bitmaps.disabled;
    else if (isDown() && m_bitmaps.down)
        id = m_bitmaps.down;
    else if ((hasFocus() || m_hover) && m_bitmaps.focus)
        id = m_bitmaps.focus;
    return id ? ArtPixmap(id, size()) : QPixmap();
}

void CBitmapButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPixmap pm = m_face.isValid() ? QPixmap() : StatePixmap();
    if (!pm.isNull()) {
        p.drawPixmap(rect(), pm);
        // Keyboard focus must be visible even where the focused bitmap equals the up one.
        if (hasFocus()) {
            p.setPen(QPen(QColor(255, 200, 0), 3));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 8, 8);
        }
        return;
    }
    PaintDrawnFace(p);
}

void CBitmapButton::PaintDrawnFace(QPainter& p) {
    const QColor face = m_face.isValid() ? m_face : QColor(97, 191, 255);
    const QRectF r = QRectF(rect()).adjusted(2, 2, -2, -2);
    const bool down = isDown();
    const QRectF body = down ? r.translated(0, 2).adjusted(0, 0, 0, -2) : r.adjusted(0, 0, 0, -3);
    if (!down) {
        p.setPen(Qt::NoPen);
        p.setBrush(face.darker(160));
        p.drawRoundedRect(r.translated(0, 0).adjusted(0, 3, 0, 0), 10, 10);
    }
    QLinearGradient g(body.topLeft(), body.bottomLeft());
    const QColor top =
        isEnabled() ? (m_hover ? face.lighter(125) : face.lighter(110)) : QColor(200, 200, 200);
    const QColor bottom = isEnabled() ? face : QColor(170, 170, 170);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setBrush(g);
    p.setPen(QPen(hasFocus() ? QColor(255, 200, 0) : face.darker(170), hasFocus() ? 3 : 1.5));
    p.drawRoundedRect(body, 10, 10);
    QFont f = font();
    f.setPixelSize(static_cast<int>(body.height() * 0.55));
    f.setBold(true);
    p.setFont(f);
    p.setPen(isEnabled() ? QColor(Qt::white) : QColor(120, 120, 120));
    const QRectF textRect = body.translated(0, 1);
    if (isEnabled()) {
        p.setPen(face.darker(200));
        p.drawText(textRect.translated(1, 1), Qt::AlignCenter, m_label.trimmed());
        p.setPen(Qt::white);
    }
    p.drawText(textRect, Qt::AlignCenter, m_label.trimmed());
}

void CBitmapButton::enterEvent(QEnterEvent* e) {
    m_hover = true;
    update();
    emit highlighted(m_id);
    QAbstractButton::enterEvent(e);
}

void CBitmapButton::leaveEvent(QEvent* e) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(e);
}

void CBitmapButton::focusInEvent(QFocusEvent* e) {
    // Only the pupil's own moves count, not focus handed on when a page changes.
    if (e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason)
        emit highlighted(m_id);
    QAbstractButton::focusInEvent(e);
}

} // namespace quorvel

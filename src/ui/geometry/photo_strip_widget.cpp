// The strip's pictures drawn sharp at any screen resolution, its gestures and keys handed to
// the photo controller in strip coordinates (the widget's own), and a picture that follows the
// pointer while a photo is dragged.
#include "ui/geometry/photo_strip_widget.h"

#include "geometry/photo_controller.h"
#include "geometry/photo_strip.h"
#include "ui/platform/qt_drawing_surface.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <map>

namespace quorvel {

namespace {

const QColor kStripFace(208, 219, 232);
const QColor kEmptyPlace(188, 201, 217);
const QColor kDropPlace(255, 200, 0);

QRect ToQRect(const CRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

QPixmap PhotoPixmap(const CPhotoObject& photo, qreal dpr) {
    const CRect r = photo.pictureRect();
    const QSize size(r.Width() + 4, r.Height() + 4);
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    PaintPhotoPicture(p, photo, QRect(2, 2, r.Width(), r.Height()), true);
    return pm;
}

} // namespace

void PaintPhotoPicture(QPainter& p, const CPhotoObject& photo, const QRect& at, bool picked) {
    p.save();
    {
        CQtDrawingSurface dc(p);
        // The surface starts aliased; the small pictures want smoothing.
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(at.left() - photo.pictureRect().left, at.top() - photo.pictureRect().top);
        photo.DrawPicture(dc, photo.pictureRect());
    }
    p.restore();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    if (picked) {
        p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawRect(QRectF(at).adjusted(-1, -1, 1, 1));
    } else {
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(at.adjusted(-1, -1, 0, 0));
    }
    p.restore();
}

CPhotoStripWidget::CPhotoStripWidget(CPhotoStrip& strip, CPhotoController& photos, QWidget* parent)
    : QWidget(parent), m_strip(strip), m_photos(photos) {
    setAccessibleName(QStringLiteral("Photo Strip"));
    setProperty("controlId", kPhotoStripId);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::OpenHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(sizeHint());
    setAccessibleDescription(QString::fromStdString(m_photos.StripDescription()));
}

QSize CPhotoStripWidget::sizeHint() const {
    return {CPhotoStrip::ContentWidth(), m_strip.stripRect().Height() > 0
                                             ? m_strip.stripRect().Height()
                                             : CPhotoStrip::PlaceRect(0).bottom + kPhotoPlaceGap};
}

void CPhotoStripWidget::Refresh() {
    m_strip.SetVisibleWidth(width());
    setAccessibleDescription(QString::fromStdString(m_photos.StripDescription()));
    update();
}

void CPhotoStripWidget::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    m_strip.SetVisibleWidth(width());
}

std::vector<std::size_t> CPhotoStripWidget::PickedPhotos() const {
    return m_photos.PickedPhotos();
}

QRect CPhotoStripWidget::PhotoRect(std::size_t index) const {
    if (index >= m_strip.size())
        return {};
    return ToQRect(m_strip.at(index).pictureRect()).translated(-m_strip.scroll(), 0);
}

// --- drawing ---------------------------------------------------------------------------------

void CPhotoStripWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kStripFace);
    const int scroll = m_strip.scroll();
    p.setPen(QPen(kEmptyPlace, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < kPhotoStripPlaces; ++i) {
        const QRect place = ToQRect(CPhotoStrip::PlaceRect(i)).translated(-scroll, 0);
        if (place.intersects(rect()))
            p.drawRect(place.adjusted(0, 0, -1, -1));
    }
    for (std::size_t i = 0; i < m_strip.size(); ++i) {
        const CPhotoObject& photo = m_strip.at(i);
        const QRect at = PhotoRect(i);
        if (!at.intersects(rect()))
            continue;
        PaintPhotoPicture(p, photo, at, photo.selected());
        // The photo being dragged leaves a hollow where it was.
        if (m_photos.photoMoving() && static_cast<int>(i) == m_photos.draggedPhoto())
            p.fillRect(at, QColor(255, 255, 255, 150));
    }
    if (const int target = m_photos.dropPlace(); target >= 0) {
        p.setPen(QPen(kDropPlace, 2));
        p.drawRect(QRectF(ToQRect(CPhotoStrip::PlaceRect(target)).translated(-scroll, 0))
                       .adjusted(-1, -1, 1, 1));
    }
    p.setPen(QPen(hasFocus() ? QColor(255, 200, 0) : QColor(120, 130, 150), hasFocus() ? 2 : 1));
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

bool CPhotoStripWidget::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(e);
        const QPoint at = help->pos();
        const bool overPhoto = m_strip.PhotoAt({at.x() + m_strip.scroll(), at.y()}) >= 0;
        QToolTip::showText(help->globalPos(),
                           QString::fromLatin1(overPhoto ? kPhotoStripPhotosTip : kPhotoStripTip),
                           this);
        return true;
    }
    return QWidget::event(e);
}

// --- mouse -----------------------------------------------------------------------------------

void CPhotoStripWidget::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    m_strip.SetVisibleWidth(width());
    m_pressAt = e->position().toPoint();
    m_pressed = true;
    m_moved = false;
    m_photos.StripPress({m_pressAt.x(), m_pressAt.y()});
    setCursor(m_photos.draggedPhoto() >= 0 ? Qt::ClosedHandCursor : Qt::SizeHorCursor);
}

void CPhotoStripWidget::mouseMoveEvent(QMouseEvent* e) {
    if (!m_pressed)
        return;
    const QPoint at = e->position().toPoint();
    if (!m_moved && (at - m_pressAt).manhattanLength() < QApplication::startDragDistance())
        return;
    m_moved = true;
    const int target = m_photos.dropPlace();
    m_photos.StripDrag({at.x(), at.y()});
    if (m_photos.draggedPhoto() < 0) {
        update();
        return;
    }
    ShowGhost(e->globalPosition().toPoint());
    if (m_photos.dropPlace() != target)
        update();
    emit photoDragged(e->globalPosition().toPoint());
}

void CPhotoStripWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !m_pressed)
        return;
    const QPoint at = e->position().toPoint();
    const bool photoMoved = m_photos.photoMoving();
    m_pressed = false;
    m_moved = false;
    HideGhost();
    setCursor(Qt::OpenHandCursor);
    if (photoMoved)
        emit photoDragEnded();
    if (photoMoved && !rect().contains(at) && dropOutside &&
        dropOutside(e->globalPosition().toPoint())) {
        Refresh();
        return;
    }
    m_photos.StripRelease({at.x(), at.y()}, e->modifiers().testFlag(Qt::ControlModifier));
    Refresh();
}

void CPhotoStripWidget::wheelEvent(QWheelEvent* e) {
    const QPoint delta = e->angleDelta();
    m_photos.StripWheel(delta.x() != 0 ? delta.x() : delta.y());
    update();
    e->accept();
}

void CPhotoStripWidget::ShowGhost(QPoint global) {
    if (!m_ghost) {
        auto* label = new QLabel(parentWidget());
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setPixmap(PhotoPixmap(m_strip.at(static_cast<std::size_t>(m_photos.draggedPhoto())),
                                     devicePixelRatioF()));
        label->adjustSize();
        m_ghost = label;
        update();
    }
    const QPoint centre = parentWidget()->mapFromGlobal(global);
    m_ghost->move(centre - QPoint(m_ghost->width() / 2, m_ghost->height() / 2));
    m_ghost->raise();
    m_ghost->show();
}

void CPhotoStripWidget::HideGhost() {
    if (!m_ghost)
        return;
    m_ghost->hide();
    m_ghost->deleteLater();
    m_ghost = nullptr;
}

// --- keys ------------------------------------------------------------------------------------

void CPhotoStripWidget::keyPressEvent(QKeyEvent* e) {
    static const std::map<int, PhotoStripKey> kKeys{{Qt::Key_Left, PhotoStripKey::Left},
                                                    {Qt::Key_Right, PhotoStripKey::Right},
                                                    {Qt::Key_Home, PhotoStripKey::Home},
                                                    {Qt::Key_End, PhotoStripKey::End}};
    if (const auto it = kKeys.find(e->key()); it != kKeys.end()) {
        m_photos.StripKey(it->second, e->modifiers().testFlag(Qt::ControlModifier));
        return;
    }
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && m_photos.PickedPhoto() >= 0) {
        emit editRequested();
        return;
    }
    QWidget::keyPressEvent(e);
}

void CPhotoStripWidget::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    update();
}

void CPhotoStripWidget::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    update();
}

} // namespace quorvel

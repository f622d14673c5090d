// The strip's pictures drawn sharp at any screen resolution, its gestures handed to the
// photo controller in strip coordinates (the widget's own), a picture that follows the
// pointer while a photo is dragged, and the keys that do the same from the keyboard.
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

#include <algorithm>

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
    UpdateDescription();
}

QSize CPhotoStripWidget::sizeHint() const {
    return {CPhotoStrip::ContentWidth(), m_strip.stripRect().Height() > 0
                                             ? m_strip.stripRect().Height()
                                             : CPhotoStrip::PlaceRect(0).bottom + kPhotoPlaceGap};
}

void CPhotoStripWidget::Refresh() {
    m_strip.SetVisibleWidth(width());
    UpdateDescription();
    update();
}

void CPhotoStripWidget::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    m_strip.SetVisibleWidth(width());
}

std::vector<std::size_t> CPhotoStripWidget::PlaceOrder() const {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < m_strip.size(); ++i)
        order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return static_cast<unsigned>(m_strip.at(a).stripPlace()) <
               static_cast<unsigned>(m_strip.at(b).stripPlace());
    });
    return order;
}

std::vector<std::size_t> CPhotoStripWidget::PickedPhotos() const {
    std::vector<std::size_t> picked;
    for (std::size_t i = 0; i < m_strip.size(); ++i)
        if (m_strip.at(i).selected())
            picked.push_back(i);
    return picked;
}

int CPhotoStripWidget::PickedIndex() const {
    const std::vector<std::size_t> picked = PickedPhotos();
    return picked.empty() ? -1 : static_cast<int>(picked.front());
}

void CPhotoStripWidget::Pick(int index) {
    for (std::size_t i = 0; i < m_strip.size(); ++i)
        m_strip.at(i).SetSelected(static_cast<int>(i) == index);
    if (index >= 0 && static_cast<std::size_t>(index) < m_strip.size())
        m_strip.ScrollToPlace(m_strip.at(static_cast<std::size_t>(index)).stripPlace());
    UpdateDescription();
    update();
    emit pickChanged();
}

QRect CPhotoStripWidget::PhotoRect(std::size_t index) const {
    if (index >= m_strip.size())
        return {};
    return ToQRect(m_strip.at(index).pictureRect()).translated(-m_strip.scroll(), 0);
}

void CPhotoStripWidget::UpdateDescription() {
    const int picked = PickedIndex();
    QString text = m_strip.size() == 1
                       ? QStringLiteral("1 photo")
                       : QStringLiteral("%1 photos").arg(static_cast<int>(m_strip.size()));
    if (picked >= 0)
        text += QStringLiteral(", photo in place %1 picked")
                    .arg(m_strip.at(static_cast<std::size_t>(picked)).stripPlace() + 1);
    setAccessibleDescription(text);
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
        if (m_moved && static_cast<int>(i) == m_photos.draggedPhoto())
            p.fillRect(at, QColor(255, 255, 255, 150));
    }
    if (m_targetPlace >= 0) {
        p.setPen(QPen(kDropPlace, 2));
        p.drawRect(QRectF(ToQRect(CPhotoStrip::PlaceRect(m_targetPlace)).translated(-scroll, 0))
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
    m_pressPhoto = m_photos.draggedPhoto();
    setCursor(m_pressPhoto >= 0 ? Qt::ClosedHandCursor : Qt::SizeHorCursor);
}

void CPhotoStripWidget::mouseMoveEvent(QMouseEvent* e) {
    if (!m_pressed)
        return;
    const QPoint at = e->position().toPoint();
    if (!m_moved && (at - m_pressAt).manhattanLength() < QApplication::startDragDistance())
        return;
    m_moved = true;
    if (m_pressPhoto < 0) {
        m_photos.StripDrag({at.x(), at.y()});
        update();
        return;
    }
    ShowGhost(e->globalPosition().toPoint());
    const int place =
        rect().contains(at) ? m_strip.PlaceAt({at.x() + m_strip.scroll(), at.y()}) : -1;
    if (place != m_targetPlace) {
        m_targetPlace = place;
        update();
    }
    emit photoDragged(e->globalPosition().toPoint());
}

void CPhotoStripWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !m_pressed)
        return;
    const QPoint at = e->position().toPoint();
    const QPoint global = e->globalPosition().toPoint();
    const bool moved = m_moved;
    const int pressed = m_pressPhoto;
    m_pressed = false;
    m_moved = false;
    m_targetPlace = -1;
    m_pressPhoto = -1;
    HideGhost();
    setCursor(Qt::OpenHandCursor);
    if (pressed >= 0 && moved)
        emit photoDragEnded();
    if (pressed >= 0 && moved && !rect().contains(at) && dropOutside && dropOutside(global)) {
        Refresh();
        return;
    }
    m_photos.StripRelease({at.x(), at.y()});
    if (!moved) {
        // A click picks out the photo under the pointer; Ctrl adds it to those picked out.
        if (e->modifiers().testFlag(Qt::ControlModifier) && pressed >= 0) {
            CPhotoObject& photo = m_strip.at(static_cast<std::size_t>(pressed));
            photo.SetSelected(!photo.selected());
            UpdateDescription();
            emit pickChanged();
        } else {
            Pick(pressed);
        }
    }
    Refresh();
}

void CPhotoStripWidget::wheelEvent(QWheelEvent* e) {
    const QPoint delta = e->angleDelta();
    const int steps = (delta.x() != 0 ? delta.x() : delta.y()) / 120 * 20;
    m_strip.ScrollTo(m_strip.scroll() - steps);
    update();
    e->accept();
}

void CPhotoStripWidget::ShowGhost(QPoint global) {
    if (!m_ghost) {
        auto* label = new QLabel(parentWidget());
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setPixmap(
            PhotoPixmap(m_strip.at(static_cast<std::size_t>(m_pressPhoto)), devicePixelRatioF()));
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

void CPhotoStripWidget::StepPick(int step) {
    const std::vector<std::size_t> order = PlaceOrder();
    if (order.empty())
        return;
    const int picked = PickedIndex();
    const auto it = std::find(order.begin(), order.end(), static_cast<std::size_t>(picked));
    int at = it == order.end() ? (step > 0 ? -1 : static_cast<int>(order.size()))
                               : static_cast<int>(it - order.begin());
    at = std::clamp(at + step, 0, static_cast<int>(order.size()) - 1);
    Pick(static_cast<int>(order[static_cast<std::size_t>(at)]));
}

void CPhotoStripWidget::MovePicked(int step) {
    const int picked = PickedIndex();
    if (picked < 0)
        return;
    const int from = m_strip.at(static_cast<std::size_t>(picked)).stripPlace();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= kPhotoStripPlaces)
        return;
    // The same road as a drag: pressed on its place, let go on the next one.
    m_strip.SetVisibleWidth(width());
    const CRect a = CPhotoStrip::PlaceRect(from);
    const CRect b = CPhotoStrip::PlaceRect(to);
    m_photos.StripPress({a.left + 2 - m_strip.scroll(), a.top + 2});
    m_photos.StripRelease({b.left + 2 - m_strip.scroll(), b.top + 2});
    m_strip.ScrollToPlace(to);
    Refresh();
}

void CPhotoStripWidget::keyPressEvent(QKeyEvent* e) {
    const bool ctrl = e->modifiers().testFlag(Qt::ControlModifier);
    switch (e->key()) {
    case Qt::Key_Left:
        ctrl ? MovePicked(-1) : StepPick(-1);
        return;
    case Qt::Key_Right:
        ctrl ? MovePicked(+1) : StepPick(+1);
        return;
    case Qt::Key_Home:
        StepPick(-kPhotoStripPlaces - 1);
        return;
    case Qt::Key_End:
        StepPick(kPhotoStripPlaces + 1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (PickedIndex() >= 0) {
            emit editRequested();
            return;
        }
        break;
    default:
        break;
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

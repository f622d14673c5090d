// Drawer items are the core's own card and machine drawn small; a press and a drag beyond the
// system's drag distance takes one out, a release hands it to the page at the pointer.
#include "ui/patterns/numbers_drawer.h"

#include "patterns/number_machine.h"
#include "ui/patterns/machines_page.h"
#include "ui/platform/qt_drawing_surface.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace quorvel {

namespace {

constexpr int kNameHeight = 28;
constexpr int kInset = 4;
constexpr QSize kCardPicture(79, 40);
constexpr QSize kMachinePicture(79, 80);

std::unique_ptr<CPatternManipulative> DrawerSample(NumbersDrawerItem item) {
    if (item == NumbersDrawerItem::Machine)
        return std::make_unique<CNumberMachine>(CPoint{0, 0});
    CQtTextMetrics metrics;
    auto card = std::make_unique<CNumberCardManipulative>(CPoint{0, 0}, metrics);
    card->SetText("7");
    return card;
}

} // namespace

QString NumbersDrawerName(NumbersDrawerItem item) {
    return item == NumbersDrawerItem::Machine ? QStringLiteral("Number Machine")
                                              : QStringLiteral("Number Card");
}

QPixmap NumbersDrawerPicture(NumbersDrawerItem item, QSize size, qreal devicePixelRatio) {
    return SamplePicture(*DrawerSample(item), size, devicePixelRatio);
}

// --- an item ---------------------------------------------------------------------------------

CNumbersDrawerItem::CNumbersDrawerItem(NumbersDrawerItem item, QSize picture, QWidget* parent)
    : QWidget(parent), m_item(item), m_pictureSize(picture) {
    setFixedSize(picture.width(), picture.height() + kNameHeight);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::OpenHandCursor);
    setAccessibleName(NumbersDrawerName(item));
    setAccessibleDescription(QStringLiteral("Drag it into the workspace, or press Enter."));
    setToolTip(QStringLiteral("Drag a %1 into the workspace.").arg(NumbersDrawerName(item)));
}

void CNumbersDrawerItem::paintEvent(QPaintEvent*) {
    if (m_picture.isNull() || !qFuzzyCompare(m_picture.devicePixelRatio(), devicePixelRatioF()))
        m_picture = NumbersDrawerPicture(m_item, m_pictureSize, devicePixelRatioF());
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect box(QPoint(0, 0), m_pictureSize);
    p.drawPixmap(box, m_picture);
    if (!isEnabled())
        p.fillRect(rect(), QColor(232, 242, 252, 150));
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 6, 6);
    }
    QFont name = font();
    name.setPixelSize(12);
    name.setBold(true);
    p.setFont(name);
    p.setPen(isEnabled() ? QColor(0x2d, 0x30, 0x47) : Qt::darkGray);
    p.drawText(QRect(0, m_pictureSize.height(), width(), kNameHeight),
               Qt::AlignCenter | Qt::TextWordWrap, NumbersDrawerName(m_item));
}

void CNumbersDrawerItem::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    m_pressed = true;
    m_dragging = false;
    m_pressAt = e->position().toPoint();
}

void CNumbersDrawerItem::mouseMoveEvent(QMouseEvent* e) {
    if (!m_pressed)
        return;
    const QPoint at = e->position().toPoint();
    if (!m_dragging && (at - m_pressAt).manhattanLength() < QApplication::startDragDistance())
        return;
    if (!m_dragging) {
        m_dragging = true;
        setCursor(Qt::ClosedHandCursor);
    }
    emit dragMoved(m_item, mapToGlobal(at));
}

void CNumbersDrawerItem::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    const bool wasDragging = m_dragging;
    m_dragging = false;
    setCursor(Qt::OpenHandCursor);
    if (wasDragging)
        emit dropped(m_item, mapToGlobal(e->position().toPoint()));
}

void CNumbersDrawerItem::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit activated(m_item);
        return;
    }
    QWidget::keyPressEvent(e);
}

void CNumbersDrawerItem::changeEvent(QEvent* e) {
    if (e->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(e);
}

// --- the drawer ------------------------------------------------------------------------------

CNumbersDrawer::CNumbersDrawer(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("Drawer"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kInset, kInset, kInset, kInset);
    column->setSpacing(kInset);
    const auto add = [this, column](NumbersDrawerItem item, QSize picture) {
        auto* w = new CNumbersDrawerItem(item, picture, this);
        connect(w, &CNumbersDrawerItem::dragMoved, this, &CNumbersDrawer::dragMoved);
        connect(w, &CNumbersDrawerItem::dropped, this, &CNumbersDrawer::dropped);
        connect(w, &CNumbersDrawerItem::activated, this, &CNumbersDrawer::activated);
        m_items[static_cast<std::size_t>(item)] = w;
        column->addWidget(w, 0, Qt::AlignHCenter);
    };
    add(NumbersDrawerItem::Card, kCardPicture);
    add(NumbersDrawerItem::Machine, kMachinePicture);
    setFixedSize(sizeHint());
}

void CNumbersDrawer::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x9c, 0xb8, 0xd6));
    p.setBrush(QColor(0xe8, 0xf2, 0xfc));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

} // namespace quorvel

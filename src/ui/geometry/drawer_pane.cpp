// Drawer slots are pictures of the catalogue's shapes; a press and a drag beyond the system's
// drag distance takes one out, a release hands it to the page at the pointer.
#include "ui/geometry/drawer_pane.h"

#include "geometry/geometry_document.h"
#include "geometry/geometry_view_controller.h"
#include "geometry/shape_catalogue.h"
#include "ui/art/art.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_text.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace quorvel {

namespace {

constexpr int kSlotBackground = 227;
constexpr int kNameHeight = 15;

} // namespace

QPixmap DrawerSlotPicture(int catalogueIndex, QSize size, qreal devicePixelRatio) {
    QPixmap picture(size * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.drawPixmap(QRect(QPoint(0, 0), size), ArtPixmap(kSlotBackground, size));
    const auto shape = MakeDrawerSlotPicture(catalogueIndex, {size.width(), size.height()});
    if (!shape)
        return picture;
    CQtDrawingSurface dc(p);
    // After the surface, which starts every painter aliased.
    p.setRenderHint(QPainter::Antialiasing);
    shape->Draw(dc);
    return picture;
}

QPixmap StudentSlotPicture(const CStudentDrawerObject* entry, QSize size, qreal devicePixelRatio) {
    QPixmap picture(size * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.drawPixmap(QRect(QPoint(0, 0), size), ArtPixmap(kSlotBackground, size));
    if (!entry)
        return picture;
    // The entry's copy is laid out in the slot less its inset; the slot is drawn to scale.
    const double k = static_cast<double>(size.width()) / kDrawerSlotSize;
    p.scale(k, k);
    p.translate(kStudentSlotInset, kStudentSlotInset);
    CQtDrawingSurface dc(p);
    p.setRenderHint(QPainter::Antialiasing);
    entry->DrawPicture(dc);
    return picture;
}

// --- a slot ----------------------------------------------------------------------------------

CDrawerSlotWidget::CDrawerSlotWidget(int slot, QWidget* parent) : QWidget(parent), m_slot(slot) {
    setFixedSize(CDrawerPane::kSlotSize, CDrawerPane::kSlotSize + kNameHeight);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::OpenHandCursor);
    m_label = new QLineEdit(this);
    m_label->setGeometry(0, CDrawerPane::kSlotSize, CDrawerPane::kSlotSize, kNameHeight);
    m_label->setToolTip(QString::fromLatin1(kStudentDrawerLabelsTip));
    m_label->setAccessibleName(QString::fromLatin1(kStudentDrawerLabelsTip));
    QFont small = m_label->font();
    small.setPixelSize(11);
    m_label->setFont(small);
    m_label->setAlignment(Qt::AlignHCenter);
    m_label->setFrame(false);
    m_label->hide();
}

void CDrawerSlotWidget::SetStudentPicture(const QPixmap& picture, bool empty) {
    m_picture = picture;
    m_name.clear();
    m_empty = empty;
    setAccessibleName(empty ? QStringLiteral("Empty slot") : m_label->text());
    setCursor(empty ? Qt::ArrowCursor : Qt::OpenHandCursor);
    update();
}

void CDrawerSlotWidget::SetPicture(const QPixmap& picture, const QString& name) {
    m_picture = picture;
    m_name = name.trimmed();
    m_empty = m_name.isEmpty();
    setAccessibleName(m_empty ? QStringLiteral("Empty slot") : m_name);
    setCursor(m_empty ? Qt::ArrowCursor : Qt::OpenHandCursor);
    update();
}

void CDrawerSlotWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect box(0, 0, CDrawerPane::kSlotSize, CDrawerPane::kSlotSize);
    if (!m_picture.isNull())
        p.drawPixmap(box, m_picture);
    if (!isEnabled())
        p.fillRect(box, QColor(255, 255, 255, 140));
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.drawRoundedRect(QRectF(box).adjusted(1, 1, -1, -1), 7, 7);
    }
    QFont small = font();
    small.setPixelSize(11);
    p.setFont(small);
    p.setPen(isEnabled() ? Qt::black : Qt::darkGray);
    p.drawText(QRect(0, CDrawerPane::kSlotSize, width(), kNameHeight),
               Qt::AlignHCenter | Qt::AlignVCenter, m_name);
}

void CDrawerSlotWidget::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || m_empty)
        return;
    m_pressed = true;
    m_dragging = false;
    m_pressAt = e->position().toPoint();
}

void CDrawerSlotWidget::mouseMoveEvent(QMouseEvent* e) {
    if (!m_pressed)
        return;
    const QPoint at = e->position().toPoint();
    if (!m_dragging && (at - m_pressAt).manhattanLength() < QApplication::startDragDistance())
        return;
    if (!m_dragging) {
        m_dragging = true;
        setCursor(Qt::ClosedHandCursor);
    }
    emit dragMoved(m_slot, mapToGlobal(at));
}

void CDrawerSlotWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    const bool wasDragging = m_dragging;
    m_dragging = false;
    setCursor(m_empty ? Qt::ArrowCursor : Qt::OpenHandCursor);
    if (wasDragging)
        emit dropped(m_slot, mapToGlobal(e->position().toPoint()));
}

void CDrawerSlotWidget::keyPressEvent(QKeyEvent* e) {
    // Keys the label box leaves alone reach the slot too: Enter there ends the label's
    // editing and takes nothing out of the drawer.
    if (m_label->hasFocus()) {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape)
            setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!m_empty &&
        (e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
        emit activated(m_slot);
        return;
    }
    QWidget::keyPressEvent(e);
}

// --- the pane --------------------------------------------------------------------------------

CDrawerPane::CDrawerPane(CGeometryViewController& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller) {
    setAccessibleName(QStringLiteral("Drawers"));
    setProperty("controlId", kDrawerPaneId);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 6, 8, 6);
    row->setSpacing(4);

    auto* side = new QVBoxLayout;
    side->setSpacing(4);
    m_title = new QLabel(this);
    QFont bold = m_title->font();
    bold.setBold(true);
    bold.setPixelSize(13);
    m_title->setFont(bold);
    m_title->setAlignment(Qt::AlignCenter);
    side->addWidget(m_title);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    const auto arrow = [this, buttons](Qt::ArrowType type, const char* name) {
        auto* b = new QToolButton(this);
        b->setArrowType(type);
        b->setFixedSize(28, 28);
        b->setAccessibleName(QString::fromLatin1(name));
        b->setToolTip(QString::fromLatin1(name));
        b->setCursor(Qt::ArrowCursor);
        buttons->addWidget(b);
        return b;
    };
    m_previous = arrow(Qt::LeftArrow, "Previous drawer");
    m_next = arrow(Qt::RightArrow, "Next drawer");
    side->addLayout(buttons);
    side->addStretch();
    row->addLayout(side);

    for (int i = 0; i < kSlotsPerDrawer; ++i) {
        auto* slot = new CDrawerSlotWidget(i, this);
        connect(slot, &CDrawerSlotWidget::dragMoved, this, &CDrawerPane::dragMoved);
        connect(slot, &CDrawerSlotWidget::dropped, this, &CDrawerPane::dropped);
        connect(slot, &CDrawerSlotWidget::activated, this, &CDrawerPane::activated);
        m_slots[static_cast<std::size_t>(i)] = slot;
        row->addWidget(slot);
        connect(slot->labelBox(), &QLineEdit::textEdited, this, [this, i](const QString& text) {
            const int drawer = m_controller.currentDrawer();
            m_controller.geometryDocument().SetStudentDrawerLabel(drawer, i, ToStdString(text));
        });
    }
    connect(m_previous, &QToolButton::clicked, this, [this] { m_controller.PreviousDrawer(); });
    connect(m_next, &QToolButton::clicked, this, [this] { m_controller.NextDrawer(); });
    setFixedSize(sizeHint());
    Refresh();
}

void CDrawerPane::Refresh() {
    const int drawer = m_controller.currentDrawer();
    m_title->setText(drawer < 0 ? QString() : QStringLiteral("Drawer %1").arg(drawer + 1));
    const qreal dpr = devicePixelRatioF();
    const CGeometryUnitDocument& doc = m_controller.geometryDocument();
    const bool student = IsStudentDrawer(drawer);
    for (CDrawerSlotWidget* slot : m_slots) {
        QLineEdit* label = slot->labelBox();
        label->setVisible(student);
        if (student) {
            const QString text = ToQString(doc.StudentDrawerLabel(drawer, slot->slot()));
            if (label->text() != text)
                label->setText(text);
            const CStudentDrawerObject* entry = doc.StudentDrawerEntry(drawer, slot->slot());
            slot->SetStudentPicture(StudentSlotPicture(entry, QSize(kSlotSize, kSlotSize), dpr),
                                    entry == nullptr);
            continue;
        }
        const int index = drawer < 0 ? -1 : drawer * kSlotsPerDrawer + slot->slot();
        const QSize size(kSlotSize, kSlotSize);
        slot->SetPicture(drawer < 0 ? ArtPixmap(kSlotBackground, size)
                                    : DrawerSlotPicture(index, size, dpr),
                         ToQString(m_controller.SlotName(slot->slot())));
    }
}

int CDrawerPane::SlotAt(QPoint onPane) const {
    for (const CDrawerSlotWidget* slot : m_slots)
        if (slot->isVisible() && slot->geometry().contains(onPane))
            return slot->slot();
    return -1;
}

void CDrawerPane::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x9c, 0xb8, 0xd6));
    p.setBrush(QColor(0xe8, 0xf2, 0xfc));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

void CDrawerPane::changeEvent(QEvent* e) {
    if (e->type() == QEvent::EnabledChange)
        for (CDrawerSlotWidget* slot : m_slots)
            slot->update();
    QWidget::changeEvent(e);
}

} // namespace quorvel

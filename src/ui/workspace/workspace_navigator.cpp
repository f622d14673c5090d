// The navigator paints its miniature and keeps its buttons in step with the model.
#include "ui/workspace/workspace_navigator.h"

#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_text.h"
#include "ui/workspace/art_button.h"
#include "workspace/string_table.h"
#include "workspace/workspace_pane.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace quorvel {

namespace {

QRect ToQRect(const CRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

constexpr QColor kNavigatorBackground(255, 255, 204);

} // namespace

CWorkspaceNavigator::CWorkspaceNavigator(int across, int down, double step, QSize screen,
                                         QWidget* parent)
    : QWidget(parent), m_owned(std::make_unique<CWorkspaceNavigatorModel>(
                           across, down, step, CSize{screen.width(), screen.height()})),
      m_model(*m_owned) {
    Build();
}

CWorkspaceNavigator::CWorkspaceNavigator(CWorkspaceNavigatorModel& model, QSize screen,
                                         QWidget* parent)
    : QWidget(parent), m_model(model) {
    m_model.SetScreen({screen.width(), screen.height()});
    Build();
}

void CWorkspaceNavigator::Build() {
    setFixedSize(kNavigatorSize, kNavigatorSize);
    setProperty("controlId", kNavigatorId);
    setAccessibleName(QStringLiteral("Workspace navigator"));
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (int i = 0; i < kNavDirections; ++i) {
        const auto d = static_cast<NavDirection>(i);
        const CNavButtonArt art = NavButtonArt(d);
        auto* b = new CArtButton(NavCommand(d), art.up, art.down, art.disabled, this);
        b->setGeometry(ToQRect(CWorkspaceNavigatorModel::ButtonRect(d)));
        if (const auto tip = LoadString(NavCommand(d)))
            b->setToolTip(ToQString(*tip));
        b->setAutoRepeat(true);
        connect(b, &QAbstractButton::clicked, this, [this, d] { Press(d); });
        m_buttons[static_cast<std::size_t>(i)] = b;
    }
    Sync();
}

CWorkspaceNavigator::~CWorkspaceNavigator() = default;

bool CWorkspaceNavigator::PressKey(NavDirection d) {
    if (!m_model.IsEnabled(d))
        return false;
    Press(d);
    return true;
}

void CWorkspaceNavigator::Press(NavDirection d) {
    m_model.Press(d);
    Sync();
}

void CWorkspaceNavigator::Sync() {
    for (int i = 0; i < kNavDirections; ++i)
        m_buttons[static_cast<std::size_t>(i)]->setEnabled(
            m_model.IsEnabled(static_cast<NavDirection>(i)));
    update();
}

void CWorkspaceNavigator::paintEvent(QPaintEvent*) {
    // Drawn off screen first, so that a drag does not flicker.
    QPixmap buffer(size() * devicePixelRatioF());
    buffer.setDevicePixelRatio(devicePixelRatioF());
    {
        QPainter p(&buffer);
        p.fillRect(rect(), kNavigatorBackground);
        // A sunken border: dark above and left, light below and right.
        p.setPen(Qt::black);
        p.drawLine(0, 0, width() - 1, 0);
        p.drawLine(0, 0, 0, height() - 1);
        p.setPen(Qt::white);
        p.drawLine(1, height() - 1, width() - 1, height() - 1);
        p.drawLine(width() - 1, 1, width() - 1, height() - 1);
        // The workspace frame, one pixel outside it, and the shown part inside.
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(ToQRect(m_model.frame()).adjusted(-1, -1, 0, 0));
        p.fillRect(ToQRect(m_model.shown()), QtColor(kPaneColor));
    }
    QPainter(this).drawPixmap(0, 0, buffer);
}

void CWorkspaceNavigator::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && m_model.BeginDrag({e->pos().x(), e->pos().y()})) {
        return;
    }
    QWidget::mousePressEvent(e);
}

void CWorkspaceNavigator::mouseMoveEvent(QMouseEvent* e) {
    if (!m_model.dragging())
        return;
    m_model.DragTo({e->pos().x(), e->pos().y()});
    Sync();
}

void CWorkspaceNavigator::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && m_model.dragging()) {
        m_model.EndDrag();
    }
}

} // namespace quorvel

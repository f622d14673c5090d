// The Summary Statistics window paints the core's lines through the drawing surface.
#include "ui/statistics/summary_statistics_wnd.h"

#include "statistics/stats_document.h"
#include "ui/platform/qt_drawing_surface.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace quorvel {

CSummaryStatisticsWnd::CSummaryStatisticsWnd(CStatsUnitDocument& doc, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_doc(doc) {
    setWindowTitle(QString::fromLatin1(kSummaryTitle));
    setAccessibleName(windowTitle());
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_doc.summary().SetChangedListener([this] {
        Fit();
        update();
    });
    Fit();
}

CSummaryStatisticsWnd::~CSummaryStatisticsWnd() {
    m_doc.summary().SetChangedListener({});
}

void CSummaryStatisticsWnd::Fit() {
    CQtTextMetrics metrics;
    const CSize size = m_doc.summary().FitSize(metrics);
    setFixedSize(size.cx, size.cy);
}

void CSummaryStatisticsWnd::SyncWithDocument() {
    const CSummaryWindowState& w = m_doc.summary().window();
    Fit();
    if (!w.visible || m_doc.computerChecked()) {
        hide();
        return;
    }
    if (!w.rect.IsEmpty())
        move(w.rect.left, w.rect.top);
    else if (parentWidget())
        move(parentWidget()->mapToGlobal(QPoint(parentWidget()->width() - width() - 20, 60)));
    show();
}

void CSummaryStatisticsWnd::StorePlace() {
    if (!isVisible())
        return;
    const QRect r = frameGeometry();
    m_doc.summary().window().rect = {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

void CSummaryStatisticsWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    CQtDrawingSurface dc(painter);
    m_doc.summary().Paint(dc, {0, 0}, width());
}

void CSummaryStatisticsWnd::moveEvent(QMoveEvent*) {
    StorePlace();
}

void CSummaryStatisticsWnd::closeEvent(QCloseEvent* e) {
    // The close box hides it, as "&Hide Summary Statistics window" does.
    m_doc.SetSummaryVisible(false);
    e->accept();
}

} // namespace quorvel

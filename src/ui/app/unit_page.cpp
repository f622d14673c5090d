// The unit page draws the document's manipulatives on the workspace colour.
#include "ui/app/unit_page.h"

#include "app/frame_resources.h"
#include "ui/app/bitmap_button.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_text.h"
#include "workspace/unit_document.h"

#include <QKeySequence>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace quorvel {

CUnitPage::CUnitPage(CUnitDocument& doc, UnitKind unit, const QString& title, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_unit(unit), m_title(title) {
    setAccessibleName(title);
    setFocusPolicy(Qt::StrongFocus);
    m_exit = new CBitmapButton(1003, {168, 169, 204, 0}, QStringLiteral("Exit the unit"), this);
    m_exit->setGeometry(0, 0, 48, 41);
    m_exit->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(m_exit, &QAbstractButton::clicked, this, &CUnitPage::exitRequested);
    m_doc.SetView(this);
}

CUnitPage::~CUnitPage() { m_doc.SetView(nullptr); }

void CUnitPage::InvalidateRect(const CRect& r) {
    update(QRect(r.left, r.top, r.Width(), r.Height()));
}

void CUnitPage::SetProblemCounterText(const std::string& text) {
    m_counter = ToQString(text);
    update();
}

void CUnitPage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QtColor(kWorkspaceColor));
    {
        CQtDrawingSurface surface(p);
        for (const auto& m : m_doc.manipulatives())
            m->Draw(surface);
        m_doc.DrawSelection(surface);
    }
    p.setPen(QColor(0, 45, 110));
    p.setFont(QtFont(AppFonts()[kFontHeading]));
    QString heading = m_title;
    if (!m_doc.activityName().empty())
        heading += QStringLiteral(" \u2014 ") + ToQString(m_doc.activityName());
    if (!m_counter.isEmpty() && m_doc.problemSetMode())
        heading += QStringLiteral("   (") + m_counter + QLatin1Char(')');
    p.drawText(QRect(58, 10, width() - 68, 30), Qt::AlignLeft | Qt::AlignVCenter, heading);
}

void CUnitPage::Print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter p(&printer);
    const QRect page = p.viewport();
    const double scale = std::min(double(page.width()) / width(), double(page.height()) / height());
    p.scale(scale, scale);
    CQtDrawingSurface surface(p);
    for (const auto& m : m_doc.manipulatives())
        m->Draw(surface);
}

} // namespace quorvel

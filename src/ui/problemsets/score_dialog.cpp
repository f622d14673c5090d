// The score window.
#include "ui/problemsets/score_dialog.h"

#include "app/frame_resources.h"
#include "problemsets/problem_set_controller.h"
#include "ui/app/bitmap_button.h"
#include "ui/platform/qt_drawing_surface.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>

namespace quorvel {

namespace {
constexpr int kMargin = 4;
constexpr int kButtonGap = 8;
constexpr QSize kCloseSize(48, 41);
// The Continue art is drawn 120 wide; squeezed to 48 its word could not be read.
constexpr QSize kMoreSize(120, 41);
constexpr QSize kDialogSize(360, 190);
} // namespace

CScoreDialog::CScoreDialog(const QString& text, bool more, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QGuiApplication::applicationDisplayName());
    setAccessibleName(QStringLiteral("Score"));
    setFixedSize(kDialogSize);

    m_label = new QLabel(text, this);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    m_label->setFont(QtFont(AppFonts()[kFontPromptBold]));
    m_label->setTextInteractionFlags(Qt::NoTextInteraction);

    m_close = new CBitmapButton(kScoreClose, {168, 169, 204, 0}, QStringLiteral("Close"), this);
    m_close->resize(kCloseSize);
    m_close->setAccessibleDescription(QStringLiteral("Leave the problems"));
    m_close->setToolTip(QStringLiteral("Close: leave the problems"));
    connect(m_close, &QAbstractButton::clicked, this, [this] { done(kScoreClose); });
    if (more) {
        m_more =
            new CBitmapButton(kScoreMoreProblems, {427, 426, 0, 0}, QStringLiteral("Close"), this);
        m_more->resize(kMoreSize);
        m_more->setAccessibleDescription(QStringLiteral("More problems of this level"));
        m_more->setToolTip(QStringLiteral("Close: more problems of this level"));
        connect(m_more, &QAbstractButton::clicked, this, [this] { done(kScoreMoreProblems); });
    }
    m_close->setFocus();
}

void CScoreDialog::resizeEvent(QResizeEvent*) {
    const int buttonsTop = height() - kMargin - kCloseSize.height();
    m_close->move(kMargin, buttonsTop);
    if (m_more)
        m_more->move(kMargin + kCloseSize.width() + kButtonGap, buttonsTop);
    m_label->setGeometry(kMargin, kMargin, width() - 2 * kMargin, buttonsTop - 2 * kMargin);
}

void CScoreDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
}

} // namespace quorvel

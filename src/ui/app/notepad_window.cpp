// The notepad window: a 12-point Arial text with the program's margins, kept in step with the
// application's notepad text both ways.
#include "ui/app/notepad_window.h"

#include "app/tools_menu.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_text.h"
#include "workspace/notepad_text.h"

#include <QPointer>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QVBoxLayout>

namespace quorvel {

namespace {

// 300 by 220 dialog units of the program's 8-point dialog font.
constexpr QSize kNotepadSize(450, 358);

} // namespace

CNotepadWindow::CNotepadWindow(CNotepadText& text, QWidget* parent)
    : QDialog(parent), m_text(text) {
    setWindowTitle(QString::fromLatin1(kNotepadTitle));
    setModal(false);
    resize(kNotepadSize);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_edit = new QTextEdit(this);
    m_edit->setProperty("controlId", kNotepadEditId);
    m_edit->setAccessibleName(QStringLiteral("Notepad text"));
    m_edit->setAcceptRichText(false);
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_edit->setLineWrapMode(QTextEdit::WidgetWidth);
    m_edit->setFont(QtFont(CFontSpec{}));
    layout->addWidget(m_edit);
    m_edit->setPlainText(ToQString(m_text.text()));
    ApplyMargins();

    connect(m_edit, &QTextEdit::textChanged, this, [this] {
        if (!m_updating)
            m_text.SetText(ToStdString(m_edit->toPlainText()));
    });
    // A document that brings its own notepad text shows it here; the window may go first.
    QPointer<CNotepadWindow> self(this);
    m_text.SetListener([self](const std::string& t) {
        if (self)
            self->TakeText(t);
    });
}

CNotepadWindow::~CNotepadWindow() {
    // The text store may already be gone when the main window closes: nothing reaches it now.
    disconnect(m_edit, nullptr, this, nullptr);
}

void CNotepadWindow::TakeText(const std::string& text) {
    const QString wanted = ToQString(text);
    if (m_edit->toPlainText() == wanted)
        return;
    m_updating = true;
    m_edit->setPlainText(wanted);
    ApplyMargins();
    m_updating = false;
}

void CNotepadWindow::ApplyMargins() {
    // The text sits in from the edges: 15 pixels left, 25 above, 10 right.
    QTextDocument* doc = m_edit->document();
    doc->setDocumentMargin(0);
    QTextFrameFormat margins = doc->rootFrame()->frameFormat();
    margins.setLeftMargin(kNotepadMarginLeft);
    margins.setTopMargin(kNotepadMarginTop);
    margins.setRightMargin(kNotepadMarginRight);
    margins.setBottomMargin(0);
    doc->rootFrame()->setFrameFormat(margins);
}

void CNotepadWindow::ShowNotepad() {
    show();
    raise();
    activateWindow();
    m_edit->setFocus();
}

} // namespace quorvel

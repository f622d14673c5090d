// The Writing tool's edit box: placed over the annotator in its font, grown with what is typed,
// and ending the writing when the pupil clicks elsewhere, tabs away or presses Escape.
#include "ui/workspace/annotator_edit.h"

#include "ui/platform/qt_text.h"
#include "workspace/workspace_pane.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QTextBlock>

#include <algorithm>

namespace quorvel {

namespace {

constexpr int kFrame = 1;

} // namespace

CAnnotatorEdit::CAnnotatorEdit(CUnitDocument& doc, QWidget* host, WorkspaceToHost toHost)
    : QPlainTextEdit(host), m_tool(doc, *this, m_metrics), m_toHost(std::move(toHost)) {
    setProperty("controlId", kWritingEditId);
    setObjectName(QStringLiteral("writingEdit"));
    setAccessibleName(QStringLiteral("Writing"));
    setAccessibleDescription(QStringLiteral("Use the Writing tool to write something."));
    setFont(QtFont(AnnotatorFont()));
    setFrameShape(QFrame::Box);
    setLineWidth(kFrame);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(0);
    hide();
    // Buttons and the palette take no focus, so a click on them would leave the box bound.
    qApp->installEventFilter(this);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loading)
            m_tool.TextChanged(ToStdString(toPlainText()));
    });
}

CAnnotatorEdit::~CAnnotatorEdit() {
    qApp->removeEventFilter(this);
    disconnect(this, &QPlainTextEdit::textChanged, this, nullptr);
}

void CAnnotatorEdit::ClickAt(CPoint p) {
    m_tool.ClickAt(p);
}

void CAnnotatorEdit::EndWriting() {
    if (m_tool.IsEditing() || isVisible())
        m_tool.EndEditing();
}

void CAnnotatorEdit::ShowEditBox(const CRect& area, const std::string& text) {
    m_area = area;
    m_loading = true;
    setPlainText(ToQString(text));
    m_loading = false;
    moveCursor(QTextCursor::End);
    Place();
    show();
    raise();
    setFocus(Qt::MouseFocusReason);
}

void CAnnotatorEdit::PlaceEditBox(const CRect& area) {
    m_area = area;
    Place();
}

void CAnnotatorEdit::HideEditBox() {
    m_loading = true;
    clear();
    m_loading = false;
    hide();
}

void CAnnotatorEdit::Place() {
    // Over the annotator, the text where the annotator draws it; grown to what is typed,
    // which may end in spaces or a new line that the annotator leaves out.
    const QFontMetrics fm(font());
    int widest = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        widest = std::max(widest, fm.horizontalAdvance(b.text()));
    const int lines = std::max(document()->blockCount(), 1);
    const int width = std::max(m_area.Width(), widest + 2 * fm.averageCharWidth());
    const int height = std::max(m_area.Height(), lines * fm.lineSpacing() + fm.height() / 2);
    const QPoint topLeft = m_toHost(CPoint{m_area.left, m_area.top});
    setGeometry(topLeft.x() - kFrame, topLeft.y() - kFrame, width + 2 * kFrame,
                height + 2 * kFrame);
    ensureCursorVisible();
}

bool CAnnotatorEdit::event(QEvent* e) {
    // While the box has the focus it owns the keys of writing: Escape and Tab end it, and
    // plain or shifted keys type, whatever shortcuts the page or the menus hold.
    if (e->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(e);
        const auto modifiers = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        const int k = key->key();
        const bool editing = k < Qt::Key_Escape || (k >= Qt::Key_Escape && k <= Qt::Key_PageDown);
        if (k == Qt::Key_Escape || (modifiers == Qt::NoModifier && editing)) {
            e->accept();
            return true;
        }
    }
    return QPlainTextEdit::event(e);
}

bool CAnnotatorEdit::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress && isVisible() && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (w != this && !isAncestorOf(w) && w->window() == window())
            EndWriting();
    }
    return QPlainTextEdit::eventFilter(watched, e);
}

void CAnnotatorEdit::focusOutEvent(QFocusEvent* e) {
    QPlainTextEdit::focusOutEvent(e);
    // The box's own context menu keeps the writing going; any other popup (a menu of the
    // menu bar) ends it, so that commands find the workspace settled.
    if (e->reason() == Qt::PopupFocusReason) {
        for (QWidget* w = QApplication::activePopupWidget(); w; w = w->parentWidget())
            if (w == this)
                return;
    }
    EndWriting();
}

void CAnnotatorEdit::keyPressEvent(QKeyEvent* e) {
    // Escape and Tab finish the writing; the workspace takes the keyboard again.
    if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) {
        EndWriting();
        if (parentWidget())
            parentWidget()->setFocus(Qt::OtherFocusReason);
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

} // namespace quorvel

// The Numbers and Codes pages' shared pieces.
#include "ui/patterns/machines_page.h"

#include "ui/platform/qt_drawing_surface.h"
#include "ui/workspace/workspace_navigator.h"
#include "ui/workspace/workspace_pane.h"
#include "workspace/unit_document.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace quorvel {

namespace {

// Items dropped from the keyboard are tried this far apart until one lies clear.
constexpr int kKeyDropStep = 24;
// The first place tried, from the shown area's corner.
constexpr int kKeyDropFirst = 20;

} // namespace

CMachinesEditBox::CMachinesEditBox(QWidget* parent, const QString& name,
                                   const QString& accessibleName, bool editingKeys)
    : QLineEdit(parent), m_editingKeys(editingKeys) {
    setObjectName(name);
    setAccessibleName(accessibleName);
    setFrame(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    hide();
}

void CMachinesEditBox::Begin(const QRect& rect, const QString& text, std::size_t maxChars,
                             const QFont& font, bool& loading) {
    loading = true;
    setMaxLength(static_cast<int>(maxChars));
    setFont(font);
    setText(text);
    loading = false;
    setGeometry(rect);
    selectAll();
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
}

void CMachinesEditBox::End(QWidget& page) {
    if (!isVisible())
        return;
    const bool focused = hasFocus();
    // Hiding moves the focus away: that is no second end of the typing.
    const auto done = std::exchange(finished, nullptr);
    hide();
    finished = done;
    if (focused)
        page.setFocus(Qt::OtherFocusReason);
}

bool CMachinesEditBox::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(e);
        const auto modifiers = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        const int k = key->key();
        const bool typing = k < Qt::Key_Escape || (k >= Qt::Key_Escape && k <= Qt::Key_PageDown);
        const bool editing =
            m_editingKeys &&
            (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut) ||
             key->matches(QKeySequence::Paste) || key->matches(QKeySequence::SelectAll));
        if (k == Qt::Key_Escape || editing || (modifiers == Qt::NoModifier && typing)) {
            e->accept();
            return true;
        }
    }
    // Tab ends the typing like Return; the page then has the keyboard.
    if (e->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            if (finished)
                finished();
            return true;
        }
    }
    return QLineEdit::event(e);
}

void CMachinesEditBox::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (finished)
            finished();
        return;
    case Qt::Key_Escape:
        if (cancelled)
            cancelled();
        return;
    default:
        QLineEdit::keyPressEvent(e);
    }
}

void CMachinesEditBox::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (isVisible() && finished)
        finished();
}

void ShowNavigatorAt(CWorkspaceNavigator& navigator, const CWorkspacePane& pane, CPoint offset,
                     int across, int down) {
    CWorkspaceNavigatorModel& nav = navigator.model();
    const int rangeX = pane.width() * (across - 1);
    const int rangeY = pane.height() * (down - 1);
    const double fx = rangeX > 0 ? std::clamp(offset.x / double(rangeX), 0.0, 1.0) : 0.0;
    const double fy = rangeY > 0 ? std::clamp(offset.y / double(rangeY), 0.0, 1.0) : 0.0;
    const CRect& frame = nav.frame();
    const CRect& shown = nav.shown();
    nav.MoveTo({frame.left + static_cast<int>(std::lround(fx * (frame.Width() - shown.Width()))),
                frame.top + static_cast<int>(std::lround(fy * (frame.Height() - shown.Height())))});
    navigator.update();
}

std::optional<CPoint> ScrollPaneTo(CWorkspacePane& pane, double x, double y, int across, int down) {
    const int sx = static_cast<int>(std::lround(x * pane.width() * (across - 1)));
    const int sy = static_cast<int>(std::lround(y * pane.height() * (down - 1)));
    if (sx == pane.scrollX() && sy == pane.scrollY())
        return std::nullopt;
    pane.SetScroll(sx, sy);
    return CPoint{sx, sy};
}

CPoint FreePlaceFor(const CWorkspacePane& pane, const CUnitDocument& doc, CSize size,
                    bool visibleOnly, int& keyDrops) {
    const CRect shown = pane.state().ToWorkspace(CRect{0, 0, pane.width(), pane.height()});
    const auto covered = [&](const CRect& r) {
        for (const auto& m : doc.manipulatives()) {
            CRect bounds;
            m->GetBounds(bounds);
            if ((!visibleOnly || m->visible()) && bounds.Intersects(r))
                return true;
        }
        return false;
    };
    const int first = kKeyDropFirst;
    CPoint at{shown.left + first + size.cx / 2, shown.top + first + size.cy / 2};
    for (int x = shown.left + first; x + size.cx <= shown.right; x += kKeyDropStep)
        for (int y = shown.top + first; y + size.cy <= shown.bottom; y += kKeyDropStep)
            if (!covered({x, y, x + size.cx, y + size.cy}))
                return {x + size.cx / 2, y + size.cy / 2};
    // Everything is covered: one after another, a step apart.
    at.x += (keyDrops % 8) * kKeyDropStep;
    at.y += (keyDrops % 8) * kKeyDropStep;
    ++keyDrops;
    return at;
}

QPixmap SamplePicture(const CManipulative& sample, QSize size, qreal devicePixelRatio) {
    QPixmap picture(size * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    CRect bounds;
    sample.GetBounds(bounds);
    if (bounds.IsEmpty())
        return picture;
    const double k = std::min(
        {1.0, (size.width() - 2.0) / bounds.Width(), (size.height() - 2.0) / bounds.Height()});
    QPainter p(&picture);
    p.translate((size.width() - bounds.Width() * k) / 2, (size.height() - bounds.Height() * k) / 2);
    p.scale(k, k);
    p.translate(-bounds.left, -bounds.top);
    CQtDrawingSurface dc(p);
    // After the surface, which starts every painter aliased.
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    sample.Draw(dc);
    return picture;
}

} // namespace quorvel

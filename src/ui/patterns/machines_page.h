// What the Numbers and Codes pages share: the box the pupil types in, the navigator that
// scrolls the two-by-two workspace, the free place an item taken from the drawer by key goes
// to, and the pane's mouse handed to the controller.
#pragma once

#include "workspace/manipulative.h"
#include "workspace/workspace_navigator.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>

#include <functional>
#include <optional>

namespace quorvel {

class CUnitDocument;
class CWorkspaceNavigator;
class CWorkspacePane;

// The box the pupil types in. While it has the focus it owns the keys of typing (and, with
// `editingKeys`, copy, cut, paste and select all), whatever shortcuts the page or the menus
// hold; Tab ends the typing like Return, and Escape calls it off.
class CMachinesEditBox : public QLineEdit {
public:
    CMachinesEditBox(QWidget* parent, const QString& name, const QString& accessibleName,
                     bool editingKeys);

    std::function<void()> finished;
    std::function<void()> cancelled;

    // Shows `text` over `rect` (pane coordinates), all selected, with the focus. The text
    // set reaches no textChanged listener that checks `loading`.
    void Begin(const QRect& rect, const QString& text, std::size_t maxChars, const QFont& font,
               bool& loading);
    // Hides the box; the page takes the focus back if the box had it.
    void End(QWidget& page);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    bool m_editingKeys;
};

// Hears the navigator: its fractions go to `scrollTo`.
class CNavigatorScroller : public INavigatorListener {
public:
    explicit CNavigatorScroller(std::function<void(double, double)> scrollTo)
        : m_scrollTo(std::move(scrollTo)) {}
    void ScrollWorkspaceTo(double x, double y) override { m_scrollTo(x, y); }

private:
    std::function<void(double, double)> m_scrollTo;
};

// The navigator takes the place of the pane offset read from a file, and tells the pane.
void ShowNavigatorAt(CWorkspaceNavigator& navigator, const CWorkspacePane& pane, CPoint offset,
                     int across, int down);
// The navigator's fractions as the pane's offsets over `across` by `down` panes; the new
// offsets, or nothing when the pane stays where it is.
std::optional<CPoint> ScrollPaneTo(CWorkspacePane& pane, double x, double y, int across, int down);

// Where an item of `size` taken from the drawer by key goes (its centre): down the left of
// what the pane shows, then along, to the first place no manipulative (only visible ones
// with `visibleOnly`) covers; when all is covered, one after another a step apart, counted
// by `keyDrops`.
CPoint FreePlaceFor(const CWorkspacePane& pane, const CUnitDocument& doc, CSize size,
                    bool visibleOnly, int& keyDrops);

// A drawer's picture of `sample`: reduced (never enlarged) to fit `size`, centred, a pixel
// clear of the edges, transparent around it.
QPixmap SamplePicture(const CManipulative& sample, QSize size, qreal devicePixelRatio);

// The pane's mouse event for a controller at workspace point `p`: a left press (after the
// page takes the focus), a double click, a drag or a release. False for a press of another
// button, which does nothing.
template <class Controller>
bool PaneMouseTo(Controller& c, QWidget& page, const QMouseEvent& mouse, CPoint p, bool ctrl) {
    switch (mouse.type()) {
    case QEvent::MouseButtonPress:
        if (mouse.button() != Qt::LeftButton)
            return false;
        // Typing elsewhere ends before the press does anything.
        page.setFocus(Qt::MouseFocusReason);
        c.MouseDown(p, mouse.modifiers().testFlag(Qt::ShiftModifier), ctrl);
        break;
    case QEvent::MouseButtonDblClick:
        if (mouse.button() == Qt::LeftButton)
            c.DoubleClick(p);
        break;
    case QEvent::MouseMove:
        if (mouse.buttons().testFlag(Qt::LeftButton))
            c.MouseMove(p);
        break;
    default:
        if (mouse.button() == Qt::LeftButton)
            c.MouseUp(p);
        break;
    }
    return true;
}

} // namespace quorvel

// The Patterns – Codes workspace page: the pane with its note cards, code machines and links,
// the drawer of machines and note cards and the message board along the bottom, the box the
// pupil types in and the "&Codes" menu, over a CCodesViewController that holds the logic.
#pragma once

#include "patterns/codes_controller.h"
#include "ui/workspace/unit_view.h"

#include <QWidget>

class QLineEdit;
class QMenu;

namespace quorvel {

class CCodesDrawer;
class CMachinesEditBox;
class CNavigatorScroller;
class CMessageBoard;

inline constexpr int kCodesScreensAcross = 2;
inline constexpr int kCodesScreensDown = 2;

class CCodePatternsView : public CUnitView, public ICodesViewWindow {
    Q_OBJECT
public:
    CCodePatternsView(CCodePatternsDocument& doc, QWidget* parent);
    ~CCodePatternsView() override;

    CCodesViewController& codes() const;
    CCodesDrawer* drawer() const { return m_drawer; }
    CMessageBoard* board() const { return m_board; }
    QLineEdit* editBox() const;
    QMenu* unitMenu() const { return m_menu; }

    CPoint ToWorkspace(QPoint onPane) const;
    QRect ToPane(const CRect& workspace) const;

    // IUnitViewWindow.
    void InvalidateRect(const CRect& r) override;
    void CommandStateChanged() override;

    // ICodesViewWindow.
    void BeginEdit(const CCodesEdit& edit) override;
    void EndEdit() override;
    CPoint ScreenToWorkspace(CPoint screen) const override;
    std::optional<CPoint> PageToWorkspace(CPoint page) const override;
    BoardPart BoardPartAt(CPoint page) const override;
    void ShowPaneOffset(CPoint offset) override;
    void OptionsApplied() override;
    void BoardChanged() override;

protected:
    void DrawWorkspace(IDrawingSurface& dc, const CRect& area, bool printing) override;
    void LayoutControls() override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void BuildMenu();
    bool PaneMouse(QEvent* e);
    void DropFromDrawer(CodesDrawerItem item, QPoint global);
    void DropFromDrawerByKey(CodesDrawerItem item);
    void ScrollTo(double x, double y);
    void EditFinished();
    void EditCancelled();
    // The board's slot pressed, the card dragged and dropped (global pointer positions).
    void BoardPressed(QPoint global);
    void BoardDragged(QPoint global);
    void BoardReleased(QPoint global);

    std::unique_ptr<CNavigatorScroller> m_scroller;
    CCodesDrawer* m_drawer = nullptr;
    CMessageBoard* m_board = nullptr;
    CMachinesEditBox* m_edit = nullptr;
    QMenu* m_menu = nullptr;
    bool m_loadingEdit = false;
    int m_keyDrops = 0;
};

// The drawer: the items the controller offers, each a picture the core draws.
class CCodesDrawer : public QWidget {
    Q_OBJECT
public:
    explicit CCodesDrawer(QWidget* parent);
    // Shows the items offered, in their order.
    void SetItems(const std::vector<CodesDrawerItem>& items);
    QWidget* itemWidget(CodesDrawerItem item) const;

signals:
    void dropped(CodesDrawerItem item, QPoint global);
    void activated(CodesDrawerItem item);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    std::vector<QWidget*> m_items;
};

// The message board: the last message in its slot, the number of messages, and how often each
// letter occurs in the message shown.
class CMessageBoard : public QWidget {
    Q_OBJECT
public:
    explicit CMessageBoard(QWidget* parent);
    void Show(const std::string& text, std::size_t count, const std::array<int, 26>& letters);
    QRect slotRect() const;
    QRect counterRect() const;

signals:
    void slotPressed(QPoint global);
    void slotDragged(QPoint global);
    void slotReleased(QPoint global);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QString m_text;
    std::size_t m_count = 0;
    std::array<int, 26> m_letters{};
    bool m_taking = false;
};

} // namespace quorvel

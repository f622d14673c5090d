// The Patterns – Numbers workspace page: the pane with its cards, machines and links, the
// drawer of cards and machines, the Copy and New table buttons, the box the pupil types in and
// the "&Numbers" menu, over a CNumbersViewController that holds the logic.
#pragma once

#include "patterns/numbers_controller.h"
#include "patterns/table_tool.h"
#include "ui/workspace/unit_view.h"

class QLineEdit;
class QMenu;

namespace quorvel {

class CBitmapButton;
class CNumbersDrawer;
class CMachinesEditBox;
class CNavigatorScroller;

// The workspace spans two panes across and two down.
inline constexpr int kNumbersScreensAcross = 2;
inline constexpr int kNumbersScreensDown = 2;

class CNumberPatternsView : public CUnitView, public INumbersViewWindow, public ITableWindow {
    Q_OBJECT
public:
    CNumberPatternsView(CNumberPatternsDocument& doc, QWidget* parent);
    ~CNumberPatternsView() override;

    CNumbersViewController& numbers() const;
    CNumbersDrawer* drawer() const { return m_drawer; }
    // Copy (1015) and New table (1337).
    CBitmapButton* viewButton(int id) const;
    // The box over a card, an operator or a label while the pupil types in it.
    QLineEdit* editBox() const;
    // "&Numbers", for the main window's menu bar while the page shows.
    QMenu* unitMenu() const { return m_menu; }
    // "&Table", beside it.
    QMenu* tableMenu() const { return m_tableMenu; }
    // Runs a Table menu command as the menu does.
    void TableCommand(int id) { Command(id); }

    // Workspace and pane coordinates.
    CPoint ToWorkspace(QPoint onPane) const;
    QPoint ToPane(CPoint workspace) const;
    QRect ToPane(const CRect& workspace) const;

    // IUnitViewWindow.
    void InvalidateRect(const CRect& r) override;
    void ToolChanged(int code) override;
    void CommandStateChanged() override;

    // INumbersViewWindow.
    void BeginEdit(const CNumbersEdit& edit) override;
    void EndEdit() override;
    CPoint ScreenToWorkspace(CPoint screen) const override;
    std::optional<CPoint> PageToWorkspace(CPoint page) const override;
    void OptionsApplied() override;
    void ShowPaneOffset(CPoint offset) override;
    bool RunPromptEditor(CPatternsPromptEditor& editor) override;

    // ITableWindow.
    bool PutOnClipboard(const std::string& text) override;
    void PrintTables(const std::vector<const CTableManipulative*>& tables) override;
    void ExportTablesPdf(const std::vector<const CTableManipulative*>& tables) override;
    // Draws the tables into a printer or PDF, each from a new page, under "Quorvel Table".
    bool PrintTablesTo(QPrinter& printer, const std::vector<const CTableManipulative*>& tables);

protected:
    void DrawWorkspace(IDrawingSurface& dc, const CRect& area, bool printing) override;
    void LayoutControls() override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void BuildMenu();
    void Command(int id);
    void UpdateControls();
    bool PaneMouse(QEvent* e);
    // Key presses the controller takes (Tab, arrows, Enter, Delete).
    bool ControllerKey(const QKeyEvent* key);
    void DropFromDrawer(NumbersDrawerItem item, QPoint global);
    // An item taken out from the keyboard: somewhere on show that nothing covers.
    void DropFromDrawerByKey(NumbersDrawerItem item);
    // The navigator's fractions as pane offsets over the two-by-two workspace.
    void ScrollTo(double x, double y);
    // The edit box finished (Return, Enter, the focus gone) or was called off (Escape).
    void EditFinished();
    void EditCancelled();

    std::unique_ptr<CNavigatorScroller> m_scroller;
    CNumbersDrawer* m_drawer = nullptr;
    CMachinesEditBox* m_edit = nullptr;
    CBitmapButton* m_copy = nullptr;
    CBitmapButton* m_newTable = nullptr;
    QMenu* m_menu = nullptr;
    QMenu* m_tableMenu = nullptr;
    bool m_loadingEdit = false;
    int m_keyDrops = 0;
};

} // namespace quorvel

// The Tiles and Tessellations workspace page: the workspace pane with its shapes, the drawers,
// the command panel, the "Te&ssellations" menu, the script panel and script windows, over a
// CGeometryViewController that holds the logic.
#pragma once

#include "geometry/geometry_view_controller.h"
#include "ui/workspace/unit_view.h"

#include <map>
#include <memory>

class QMenu;

namespace quorvel {

class CCommandPanel;
class CDrawerPane;
class CGeometryUnitDocument;
class CPhotoControls;
class CScriptPanel;
class CScriptWindow;

class CGeometryUnitView : public CUnitView, public IScriptView, public IGeometryViewWindow {
    Q_OBJECT
public:
    CGeometryUnitView(CGeometryUnitDocument& doc, QWidget* parent);
    ~CGeometryUnitView() override;

    CGeometryViewController& geometry() const;
    CCommandPanel* commandPanel() const { return m_commandPanel; }
    CDrawerPane* drawerPane() const { return m_drawerPane; }
    CScriptPanel* scriptPanel() const { return m_scriptPanel; }
    CPhotoControls* photos() const { return m_photos; }
    // The open script window of a script, or null.
    CScriptWindow* scriptWindow(std::size_t script) const;
    // "Te&ssellations", for the main window's menu bar while the page shows.
    QMenu* unitMenu() const { return m_menu; }

    // The script panel shows while the teacher's "Script Controls" option is on.
    void SetScriptControlsShown(bool shown);
    bool scriptControlsShown() const { return m_scriptControls; }
    void SetAntialiasing(bool on);

    // Workspace and pane coordinates.
    CPoint ToWorkspace(QPoint onPane) const;
    QPoint ToPane(CPoint workspace) const;

    // IUnitViewWindow.
    void InvalidateRect(const CRect& r) override;
    void ToolChanged(int code) override;

    // IScriptView.
    void ScriptsChanged() override;
    void ScriptWindowChanged(std::size_t script) override;
    void ControlsChanged() override;
    void SelectArrowTool() override;
    void FocusRepeatNumber() override;
    CPoint ClientOriginOnScreen() const override;

    // IGeometryViewWindow.
    void ScrollPaneTo(int x, int y) override;
    void DrawerChanged() override;
    void OptionsApplied(const CGeometryViewControls& controls,
                        const CGeometryOptions& previous) override;
    bool RunCoreQuestionDialog(CCoreQuestionEditor& editor) override;
    CRect PaneRect() const override;
    CPoint PageToWorkspace(CPoint p) const override;
    void StoreViewState(CGeometryUnitDocument& doc) override;
    void ViewStateLoaded(CGeometryUnitDocument& doc) override;

    // File Print asks the "Print Options" first: what to print and how.
    void Print() override;
    CRect PrintRect() const override;

protected:
    void DrawWorkspace(IDrawingSurface& dc, const CRect& area, bool printing) override;
    void LayoutControls() override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    void BuildMenu();
    void Command(int id);
    void UpdateControls();
    void SyncScriptWindows();
    // The drag of a drawer slot: the shape follows the pointer over the pane.
    void SlotDragMoved(int slot, QPoint global);
    void SlotDropped(int slot, QPoint global);
    bool PaneMouse(QEvent* e);

    CCommandPanel* m_commandPanel = nullptr;
    CDrawerPane* m_drawerPane = nullptr;
    CScriptPanel* m_scriptPanel = nullptr;
    CPhotoControls* m_photos = nullptr;
    QMenu* m_menu = nullptr;
    std::map<std::size_t, CScriptWindow*> m_scriptWindows;
    bool m_scriptControls = false;
    bool m_antialiasing = true;
};

} // namespace quorvel

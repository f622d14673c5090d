// The page of a unit's workspace: the workspace background, the exit and broom buttons, the
// problem-set buttons, the tool palette, and for units that use them the navigator and the
// pane. Its logic lives in a CUnitViewController that this page drives and answers.
#pragma once

#include "workspace/unit_view_controller.h"

#include <QWidget>

#include <functional>
#include <map>
#include <memory>

class QPrinter;

namespace quorvel {

class CAnnotatorEdit;
class CBitmapButton;
class CToolPalette;
class CUnitDocument;
class CWorkspaceNavigator;
class CWorkspacePane;
class IDrawingSurface;

class CUnitView : public QWidget, public IUnitViewWindow {
    Q_OBJECT
public:
    using ControllerFactory =
        std::function<std::unique_ptr<CUnitViewController>(CUnitDocument&, IUnitViewWindow&)>;

    // The controller is the unit's own when `factory` makes one, else the base's. It becomes
    // the document's view.
    CUnitView(CUnitDocument& doc, QWidget* parent, const ControllerFactory& factory = {});
    ~CUnitView() override;

    CUnitDocument& document() const { return m_controller->GetDocument(); }
    CUnitViewController& controller() const { return *m_controller; }
    CToolPalette* palette() const { return m_palette; }
    // Exit, broom, Check, Continue or View Solution by command id.
    CBitmapButton* button(int id) const;
    CWorkspaceNavigator* navigator() const { return m_navigator; }
    CWorkspacePane* pane() const { return m_pane; }
    // The Writing tool's edit box, in the pane when there is one.
    CAnnotatorEdit* writingEdit() const { return m_writing; }
    // The Help or Mystery click catcher while the view is disabled, else null.
    QWidget* clickCatcher() const;

    // For units: a navigator over a workspace `across` screens wide and `down` high that
    // scrolls by `step` of a screen; a pane over the workspace area; the arrow keys pressing
    // the navigator's buttons. A unit whose document keeps the navigator's model passes it
    // instead, with its listener set.
    CWorkspaceNavigator* CreateNavigator(int across, int down, double step);
    CWorkspaceNavigator* CreateNavigator(CWorkspaceNavigatorModel& model);
    CWorkspacePane* CreatePane();
    void SetArrowKeysScroll(bool on) { m_arrowKeysScroll = on; }

    // Where the workspace is drawn, in view coordinates: right of the palette.
    QRect workspaceArea() const;
    // What printing shows, in workspace coordinates: the unit's workspace rectangle, or the
    // part on screen while the unit has not set one.
    virtual CRect PrintRect() const;

    // File commands.
    void Print() override;
    void PrintPreview();
    // Asks where and exports; false on Cancel or when the file could not be written.
    bool ExportPdf();
    bool ExportPdfTo(const QString& path);
    // False when the printer cannot be opened.
    virtual bool PrintTo(QPrinter& printer);
    // "E&xit" and its greying while Continue shows.
    void Exit() { m_controller->OnCommand(kMenuExitCommand); }
    bool CanExit() const { return m_controller->IsCommandEnabled(kMenuExitCommand); }

    // IUnitViewWindow.
    void EnableView(bool enabled) override;
    void ShowButton(int id, bool shown) override;
    CRect ButtonRect(int id) const override;
    int ControlIdAt(CPoint p) const override;
    void PressToolButton(int command) override;
    void ToolChanged(int code) override;
    void CloseUnit() override { emit leaveRequested(); }
    void CommandStateChanged() override { emit commandStateChanged(); }
    void InvalidateRect(const CRect& r) override;
    void InvalidateAll() override;
    bool RunOptionsSheet(COptionsSheet& sheet) override;

signals:
    // The pupil has left the unit: the application closes the document and shows the menus.
    void leaveRequested();
    // "E&xit", Save or Undo may have changed their enabling.
    void commandStateChanged();

protected:
    // Draws the workspace into `dc` in workspace coordinates; `area` is the part wanted.
    // The base draws the document's manipulatives, and on screen the selection marks.
    virtual void DrawWorkspace(IDrawingSurface& dc, const CRect& area, bool printing);
    // Places the buttons, palette, navigator and pane; units place their own controls.
    virtual void LayoutControls();

    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    class CClickCatcher;

    // Lays the new navigator out and shows it above the page.
    CWorkspaceNavigator* ShowNavigator();

    std::unique_ptr<CUnitViewController> m_controller;
    CToolPalette* m_palette = nullptr;
    std::map<int, CBitmapButton*> m_buttons;
    CWorkspaceNavigator* m_navigator = nullptr;
    CWorkspacePane* m_pane = nullptr;
    CClickCatcher* m_catcher = nullptr;
    CAnnotatorEdit* m_writing = nullptr;
    bool m_arrowKeysScroll = false;
};

} // namespace quorvel

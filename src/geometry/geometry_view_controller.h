// The Tiles and Tessellations workspace page without a screen: it owns the shape commands, the
// script controller, the segment tools and the photos, routes the page's commands and the
// pane's mouse to them in the right order, keeps the open drawer and scrolls the pane for the
// document's navigator.
#pragma once

#include "geometry/core_problems.h"
#include "geometry/geometry_document.h"
#include "geometry/photo_controller.h"
#include "geometry/script_controller.h"
#include "geometry/segment_tools.h"
#include "geometry/shape_commands.h"
#include "problemsets/problem_set_controller.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace quorvel {

class CGeometryUnitDocument;
class ITextMetrics;

// The workspace spans this many panes across and down; the navigator scrolls by half a pane.
inline constexpr int kGeometryScreensAcross = 2;
inline constexpr int kGeometryScreensDown = 2;
inline constexpr double kGeometryScrollStep = 0.5;
// The prompt window's column at the right of the pane.
inline constexpr int kGeometryPromptWidth = 240;
inline constexpr int kGeometryPromptHeight = 200;

// The drawer pane's id on the page, and what the Help tool says of it.
inline constexpr int kDrawerPaneId = 1595;
inline constexpr const char* kDrawerPaneHelp =
    "The drawers hold the shapes. Drag a shape onto the workspace to use it. The arrow buttons "
    "open the other drawers.";

// What the geometry controller asks of its page beyond the workspace page's operations.
class IGeometryViewWindow {
public:
    virtual ~IGeometryViewWindow() = default;
    // The pane shows the workspace from (x, y).
    virtual void ScrollPaneTo(int x, int y) = 0;
    // Another drawer opened, or none is open, or a student drawer's slots or labels changed.
    virtual void DrawerChanged() {}
    // The options were applied: the page shows and hides its controls as `controls` says.
    virtual void OptionsApplied(const CGeometryViewControls& /*controls*/,
                                const CGeometryOptions& /*previous*/) {}
    // Before the document is stored: the pane's offsets and rectangle and the angle box into
    // the document's view state.
    virtual void StoreViewState(CGeometryUnitDocument&) {}
    // After the document was read: the page shows its view state and scripts.
    virtual void ViewStateLoaded(CGeometryUnitDocument&) {}
    // Where the workspace pane lies on the page; empty when the page has not laid it out.
    virtual CRect PaneRect() const { return {}; }
    // The workspace point under `p`, a point of the page inside PaneRect().
    virtual CPoint PageToWorkspace(CPoint p) const { return p; }
    // The teacher's core question dialog, OK calling `editor.OnOK()` until it closes; false
    // on Cancel.
    virtual bool RunCoreQuestionDialog(CCoreQuestionEditor&) { return false; }
};

namespace detail {
// Made before the problem-set controller, which keeps references to both: the page's
// problem-set window (a quiet one when the page has none) and the "What's My Core?" rule.
struct CGeometryProblemParts {
    explicit CGeometryProblemParts(std::unique_ptr<IProblemSetWindow> window);
    std::unique_ptr<IProblemSetWindow> m_problemWindow;
    CCoreProblemRule m_coreRule;
};
} // namespace detail

class CGeometryViewController : private detail::CGeometryProblemParts,
                                public CProblemSetViewController,
                                public IGeometryDocumentView {
public:
    // The controller keeps the timers, the text metrics (anglemeter labels) and the page's
    // problem-set window it is given.
    CGeometryViewController(CGeometryUnitDocument& doc, IUnitViewWindow& window,
                            std::unique_ptr<ITimerHost> timers,
                            std::unique_ptr<ITextMetrics> metrics,
                            std::unique_ptr<IProblemSetWindow> problems = nullptr);
    ~CGeometryViewController() override;

    void SetGeometryWindow(IGeometryViewWindow* window) { m_geometryWindow = window; }

    CGeometryUnitDocument& geometryDocument() const { return m_doc; }
    CShapeCommandController& commands() { return m_commands; }
    CScriptController& scripts() { return m_scripts; }
    CSegmentToolController& tools() { return m_tools; }
    CPhotoController& photos() { return m_photos; }
    ITimerHost& timers() { return *m_timers; }

    // Scripts see every command first: they record it, or refuse what recording or playing
    // disables. Tool commands and the broom are refused likewise.
    bool OnCommand(int id) override;
    bool IsCommandEnabled(int id) const override;
    void SelectTool(int command) override;
    // The photo controls' help is their tip and the drawers' is their own; every other
    // control's comes from the strings.
    void ShowHelp(int id) override;
    // Over an anglemeter in the workspace the Help tool names it.
    void HelpAt(CPoint p) override;
    void ResetView() override;
    void ScrollWorkspaceTo(double x, double y) override;
    // A problem's prompt stands in a column at the pane's right, so that the tessellation and
    // its cores on the left stay in view and the drawers stay free.
    CRect GetPromptRect() const override;

    // Authoring mode's question dialog: a core question added to the document makes it a
    // computer-checked problem. False when the dialog was cancelled or cannot run.
    bool EditCoreQuestion();

    // The angle box's spin buttons.
    void SpinAngle(int delta);

    // The pane's size on the screen: the workspace is kGeometryScreensAcross by
    // kGeometryScreensDown of it, and scripts keep their copies inside it.
    void SetPaneSize(CSize size);
    CSize paneSize() const { return m_paneSize; }

    // Mouse in workspace coordinates: the segment tools first, then the shape commands; a
    // press a running or recording script refuses goes nowhere.
    void MouseDown(CPoint p, MouseModifiers modifiers = {});
    void MouseMove(CPoint p);
    void MouseUp(CPoint p);
    void DoubleClick(CPoint p, MouseModifiers modifiers = {});
    // Escape over the workspace; false when nothing took it.
    bool Escape();
    // The keyboard on the workspace: Tab and Shift+Tab step the selection (not while a script
    // records or plays: the selection is the script's), the arrow keys move it.
    bool TabSelect(bool backwards);
    bool KeyMove(int dx, int dy);
    void EndKeyMoves() { m_commands.EndKeyMoves(); }
    // A slot chosen from the keyboard: its shape lands in the middle of `shown` (workspace
    // coordinates), and each next one beside the last, row by row, while the last one still
    // stands where it landed.
    CManipulative* TakeFromDrawerByKey(int slot, const CRect& shown);
    // Whether a drag of the selection is under way (it may end over a drawer).
    bool DraggingSelection() const {
        return m_commands.mouseAction() == MouseAction::DragSelection;
    }

    // Drawers: 0 to 5, drawers 1, 2, 3 and 6 being the fixed ones and 4 and 5 the student
    // drawers; -1 when none is open. The document keeps the open drawer.
    int currentDrawer() const { return m_doc.currentDrawer(); }
    bool IsDrawerAvailable(int drawer) const { return m_doc.IsDrawerAvailable(drawer); }
    // The teacher's option for a drawer (drawers 4 and 5 share one); the current one moves to
    // an available one.
    void SetDrawerAvailable(int drawer, bool available);
    void NextDrawer();
    void PreviousDrawer();
    // Whether drawers take and give shapes now (not while a script records or plays).
    bool DrawersEnabled() const { return m_scripts.DrawersEnabled(); }
    // The name under a slot of the open drawer.
    std::string SlotName(int slot) const;
    // A slot of the open drawer dragged to `drop`: the new shape, or null.
    CManipulative* TakeFromDrawer(int slot, CPoint drop);
    // A slot of the open drawer dragged over the workspace at `at`: the preview becomes what
    // TakeFromDrawer would add there (none for an empty slot); the page draws it on top.
    void PreviewFromDrawer(int slot, CPoint at);
    void ClearDrawerPreview();
    const CManipulative* drawerPreview() const { return m_drawerPreview.get(); }
    // The selection being dragged was released over the drawer pane at `p` (workspace
    // coordinates), on slot `slot` of the open drawer or on none (-1): a fixed drawer takes
    // the shapes back, a student drawer's slot stores one. False when the drop was refused
    // and the drag ends normally instead.
    bool DropSelectionOnDrawer(int slot = -1, std::optional<CPoint> p = std::nullopt);

    // IGeometryDocumentView.
    void DrawerChanged() override;
    void StudentDrawersChanged() override;
    void OptionsApplied(const CGeometryOptions& previous) override;
    bool RunOptionsSheet(CTessellationOptionsSheet& sheet) override;
    void StoreViewState(CGeometryUnitDocument& doc) override;
    void ViewStateLoaded(CGeometryUnitDocument& doc) override;

    // The workspace with the tools' feedback.
    void Draw(IDrawingSurface& dc, const CRect& clip) const;

private:
    // The rotation points and snapping the pupil chose.
    void ApplyUserOptions();

    CGeometryUnitDocument& m_doc;
    std::unique_ptr<ITimerHost> m_timers;
    std::unique_ptr<ITextMetrics> m_metrics;
    CShapeCommandController m_commands;
    CScriptController m_scripts;
    CSegmentToolController m_tools;
    CPhotoController m_photos;
    IGeometryViewWindow* m_geometryWindow = nullptr;
    std::unique_ptr<CManipulative> m_drawerPreview;
    CPoint m_dragFrameStart; // the selection frame's top-left when its drag began
    CPoint m_lastMouse;
    const CManipulative* m_lastKeyed = nullptr; // the last shape taken out from the keyboard
    CRect m_lastKeyedFrame;
    CSize m_paneSize;
};

} // namespace quorvel

// The geometry page's routing: scripts before commands, segment tools before the Arrow's
// shapes, drawers that cycle among the available ones, and the pane's scroll.
#include "geometry/geometry_view_controller.h"

#include "geometry/geometry_document.h"
#include "geometry/photo_controller.h"
#include "geometry/shape_catalogue.h"
#include "workspace/drawing_surface.h"
#include "workspace/prompter.h"
#include "workspace/tool_palette.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

// Answers every question with its cautious button: a document without a host shows nothing.
class CSilentPrompter : public IPrompter {
public:
    MessageResult MessageBox(const std::string&, MessageIcon, MessageButtons buttons,
                             const std::string&) override {
        return buttons == MessageButtons::Ok         ? MessageResult::Ok
               : buttons == MessageButtons::OkCancel ? MessageResult::Cancel
                                                     : MessageResult::No;
    }
    int Choose(const std::string&, const std::vector<std::string>&, const std::string&) override {
        return -1;
    }
    std::optional<std::string> AskText(const std::string&, const std::string&, const std::string&,
                                       std::size_t) override {
        return std::nullopt;
    }
};

IPrompter& PrompterOf(CGeometryUnitDocument& doc) {
    static CSilentPrompter silent;
    return doc.host() ? doc.host()->Prompter() : silent;
}

} // namespace

namespace detail {

CGeometryProblemParts::CGeometryProblemParts(std::unique_ptr<IProblemSetWindow> window)
    : m_problemWindow(window ? std::move(window) : std::make_unique<CQuietProblemSetWindow>()) {}
} // namespace detail

CGeometryViewController::CGeometryViewController(CGeometryUnitDocument& doc,
                                                 IUnitViewWindow& window,
                                                 std::unique_ptr<ITimerHost> timers,
                                                 std::unique_ptr<ITextMetrics> metrics,
                                                 std::unique_ptr<IProblemSetWindow> problems)
    : CGeometryProblemParts(std::move(problems)),
      CProblemSetViewController(doc, window, *m_problemWindow, m_coreRule), m_doc(doc),
      m_timers(std::move(timers)), m_metrics(std::move(metrics)),
      m_commands(doc, PrompterOf(doc), *m_timers),
      m_scripts(doc, m_commands, PrompterOf(doc), *m_timers),
      m_tools(doc, PrompterOf(doc), *m_metrics), m_photos(doc) {
    m_tools.SetArrowChooser([this] { SelectArrow(); });
    // Anglemeters stay put while shapes turn or a script runs.
    m_tools.SetBusyQuery([this] { return m_commands.IsAnimating() || m_scripts.IsBusy(); });
    m_photos.SetBusyQuery([this] { return m_scripts.IsBusy(); });
    m_photos.SetControls(doc.viewControls());
    // The document keeps the navigator's one model: its moves scroll this page's pane.
    m_doc.navigator().SetListener(this);
    m_doc.SetGeometryView(this);
    ApplyUserOptions();
}

CGeometryViewController::~CGeometryViewController() {
    m_doc.navigator().SetListener(nullptr);
    m_doc.SetGeometryView(nullptr);
}

bool CGeometryViewController::OnCommand(int id) {
    if (!m_scripts.IsCommandEnabled(id))
        return true;
    if (IsToolCommand(id) || id == kExitCommand || id == kMenuExitCommand || id == kBroomCommand ||
        id == kCheckCommand || id == kContinueCommand || id == kViewSolutionCommand)
        return CUnitViewController::OnCommand(id);
    if (id == kCmdAngleSpin)
        return true; // the spin buttons come through SpinAngle
    if (id == kTessellationOptionsCommand) {
        m_doc.EditOptions();
        return true;
    }
    if (id == kCmdCoreQuestion) {
        EditPrompts();
        return true;
    }
    if (m_scripts.OnCommand(id))
        return true;
    return CUnitViewController::OnCommand(id);
}

CRect CGeometryViewController::GetPromptRect() const {
    const CRect pane = m_geometryWindow ? m_geometryWindow->PaneRect() : CRect{};
    if (pane.IsEmpty())
        return CProblemSetViewController::GetPromptRect();
    const int left = std::max(pane.left + 5, pane.right - 5 - kGeometryPromptWidth);
    const int bottom = std::min(pane.bottom - 5, pane.top + 5 + kGeometryPromptHeight);
    return {left, pane.top + 5, pane.right - 5, bottom};
}

bool CGeometryViewController::EditCoreQuestion() {
    if (!m_geometryWindow)
        return false;
    CCoreQuestionEditor editor(m_doc, PrompterOf(m_doc));
    if (!m_geometryWindow->RunCoreQuestionDialog(editor))
        return false;
    if (editor.added() && !m_doc.options().Teacher(kOptComputerChecked)) {
        // Saved under a problem file's name, the document now opens as a problem with its
        // question in the prompt window.
        CGeometryOptions options = m_doc.options();
        options.teacher[kOptComputerChecked] = 1;
        m_doc.SetOptions(options);
    }
    return true;
}

bool CGeometryViewController::IsCommandEnabled(int id) const {
    if (!m_scripts.IsCommandEnabled(id))
        return false;
    if (id == kCmdResetRotationPoint)
        return m_commands.CanResetRotationPoint();
    if (id == kCmdCoreQuestion)
        return authoring();
    return CUnitViewController::IsCommandEnabled(id);
}

void CGeometryViewController::ShowHelp(int id) {
    const char* text = id == kDrawerPaneId ? kDrawerPaneHelp : PhotoControlHelp(id);
    if (!text)
        return CProblemSetViewController::ShowHelp(id);
    if (IPrompter* ask = prompter())
        ask->MessageBox(text, MessageIcon::Question);
}

void CGeometryViewController::HelpAt(CPoint p) {
    if (m_geometryWindow && m_geometryWindow->PaneRect().Contains(p)) {
        if (const char* text = m_tools.ObjectHelpAt(m_geometryWindow->PageToWorkspace(p))) {
            if (IPrompter* ask = prompter())
                ask->MessageBox(text, MessageIcon::Question);
            SelectArrow();
            return;
        }
    }
    CProblemSetViewController::HelpAt(p);
}

void CGeometryViewController::SelectTool(int command) {
    // Recording chooses the Arrow itself and keeps the other tools out of reach.
    if (command != ToolCommand(kToolArrow) && !m_scripts.ToolsEnabled())
        return;
    CUnitViewController::SelectTool(command);
    m_tools.ToolChanged(m_doc.currentTool());
}

void CGeometryViewController::ResetView() {
    // Undo, Redo, New and Open replace the manipulatives that animations, drags and scripts
    // refer to.
    m_commands.StopAnimation();
    m_scripts.Reset();
    m_tools.ToolChanged(m_doc.currentTool());
    m_doc.RecomputeSelectionRotationPoint();
    // The photos may have been restored with the shapes.
    m_photos.Shown();
    InvalidateAll();
}

void CGeometryViewController::ScrollWorkspaceTo(double x, double y) {
    if (!m_geometryWindow)
        return;
    const int across = m_paneSize.cx * (kGeometryScreensAcross - 1);
    const int down = m_paneSize.cy * (kGeometryScreensDown - 1);
    m_geometryWindow->ScrollPaneTo(static_cast<int>(std::lround(x * across)),
                                   static_cast<int>(std::lround(y * down)));
}

void CGeometryViewController::SpinAngle(int delta) {
    if (!m_scripts.IsCommandEnabled(kCmdAngleSpin))
        return;
    if (delta > 0)
        m_commands.OnAngleUp();
    else
        m_commands.OnAngleDown();
}

void CGeometryViewController::SetPaneSize(CSize size) {
    m_paneSize = size;
    const CRect extent{0, 0, size.cx * kGeometryScreensAcross, size.cy * kGeometryScreensDown};
    SetWorkspaceRect(extent);
    m_scripts.SetWorkspaceExtent(extent);
}

// --- mouse -----------------------------------------------------------------------------------

void CGeometryViewController::MouseDown(CPoint p, MouseModifiers modifiers) {
    if (!m_scripts.MouseDownAllowed(p, modifiers))
        return;
    if (!m_tools.MouseDown(p))
        m_commands.MouseDown(p, modifiers);
    if (DraggingSelection()) {
        const CRect frame = m_commands.SelectionFrame();
        m_dragFrameStart = {frame.left, frame.top};
    }
    m_lastMouse = p;
}

void CGeometryViewController::MouseMove(CPoint p) {
    m_lastMouse = p;
    if (!m_tools.MouseMove(p))
        m_commands.MouseMove(p);
}

void CGeometryViewController::MouseUp(CPoint p) {
    if (!m_tools.MouseUp(p))
        m_commands.MouseUp(p);
}

void CGeometryViewController::DoubleClick(CPoint p, MouseModifiers modifiers) {
    // The second press of a double click: it ends a line, or is a press like any other.
    if (m_doc.currentTool() != kToolLinemaker && !m_scripts.MouseDownAllowed(p, modifiers))
        return;
    if (!m_tools.DoubleClick(p))
        m_commands.MouseDown(p, modifiers);
}

bool CGeometryViewController::TabSelect(bool backwards) {
    if (m_scripts.recording() || m_scripts.playing())
        return false;
    return m_commands.SelectNextByKey(backwards);
}

bool CGeometryViewController::KeyMove(int dx, int dy) {
    if (m_scripts.playing())
        return false;
    return m_commands.MoveSelectionByKey(dx, dy);
}

CManipulative* CGeometryViewController::TakeFromDrawerByKey(int slot, const CRect& shown) {
    constexpr int kGap = 8;
    CManipulative* added =
        TakeFromDrawer(slot, {(shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2});
    if (!added)
        return nullptr;
    const bool besideLast = m_lastKeyed && m_lastKeyed != added &&
                            m_doc.IndexOf(m_lastKeyed) >= 0 &&
                            m_lastKeyed->GetFrameOf() == m_lastKeyedFrame;
    if (besideLast) {
        const CRect last = m_lastKeyedFrame;
        const CRect frame = added->GetFrameOf();
        int dx = last.right + kGap - frame.left;
        int dy = (last.top + last.bottom) / 2 - (frame.top + frame.bottom) / 2;
        if (frame.right + dx > shown.right) { // the next row
            dx = shown.left + kGap - frame.left;
            dy = last.bottom + kGap - frame.top;
        }
        if (frame.bottom + dy <= shown.bottom) {
            added->MoveBy(dx, dy);
            m_doc.SetModifiedFlag();
            m_doc.RecomputeSelectionRotationPoint();
        }
    }
    m_lastKeyed = added;
    m_lastKeyedFrame = added->GetFrameOf();
    InvalidateAll();
    return added;
}

bool CGeometryViewController::Escape() {
    return m_tools.Escape() || m_commands.CancelMouse();
}

// --- drawers ---------------------------------------------------------------------------------

void CGeometryViewController::SetDrawerAvailable(int drawer, bool available) {
    static constexpr TeacherOption kOptionOf[kDrawerCount] = {
        kOptDrawer1, kOptDrawer2, kOptDrawer3, kOptStudentDrawers, kOptStudentDrawers, kOptDrawer6};
    if (drawer < 0 || drawer >= kDrawerCount)
        return;
    CGeometryOptions options = m_doc.options();
    options.teacher[static_cast<std::size_t>(kOptionOf[drawer])] = available ? 1 : 0;
    m_doc.SetOptions(options);
}

void CGeometryViewController::NextDrawer() {
    m_doc.NextDrawer();
}

void CGeometryViewController::PreviousDrawer() {
    m_doc.PreviousDrawer();
}

std::string CGeometryViewController::SlotName(int slot) const {
    return m_doc.DrawerName(m_doc.currentDrawer(), slot);
}

CManipulative* CGeometryViewController::TakeFromDrawer(int slot, CPoint drop) {
    if (!DrawersEnabled())
        return nullptr;
    CManipulative* added =
        m_commands.TakeFromDrawer(m_doc.currentDrawer(), slot, C3DPointDouble(drop));
    if (added)
        m_doc.RecomputeSelectionRotationPoint();
    return added;
}

void CGeometryViewController::PreviewFromDrawer(int slot, CPoint at) {
    // Made as TakeFromDrawer makes it, so that the preview is what lands.
    std::unique_ptr<CManipulative> next =
        DrawersEnabled() ? m_doc.MakeFromDrawer(m_doc.currentDrawer(), slot, C3DPointDouble(at))
                         : nullptr;
    CRect changed = m_drawerPreview ? m_drawerPreview->GetFrameOf() : CRect{};
    if (next)
        changed = changed.United(next->GetFrameOf());
    m_drawerPreview = std::move(next);
    if (!changed.IsEmpty())
        InvalidateRect(changed);
}

void CGeometryViewController::ClearDrawerPreview() {
    if (!m_drawerPreview)
        return;
    const CRect frame = m_drawerPreview->GetFrameOf();
    m_drawerPreview.reset();
    InvalidateRect(frame);
}

bool CGeometryViewController::DropSelectionOnDrawer(int slot, std::optional<CPoint> p) {
    const int drawer = m_doc.currentDrawer();
    if (!DrawersEnabled() || !DraggingSelection() || drawer < 0)
        return false;
    if (IsFixedDrawer(drawer)) {
        m_commands.DropSelectionIntoDrawer();
        return true;
    }
    // The drag ends where it was let go; its undo step covers what the drawer does with it.
    m_commands.MouseUp(p.value_or(m_lastMouse));
    const CRect frame = m_commands.SelectionFrame();
    m_doc.DropSelectionOnDrawerPane(
        slot, {frame.left - m_dragFrameStart.x, frame.top - m_dragFrameStart.y});
    m_doc.RecomputeSelectionRotationPoint();
    // What went into the drawer no longer shows its colour and width on the panel.
    m_commands.UpdatePanel();
    InvalidateAll();
    return true;
}

// --- the document's page ---------------------------------------------------------------------

void CGeometryViewController::ApplyUserOptions() {
    const std::int32_t points = m_doc.options().User(kOptRotationPoints);
    m_commands.SetRotationPointMode(points >= 0 && points <= 2
                                        ? static_cast<RotationPointMode>(points)
                                        : RotationPointMode::Show);
    m_commands.SetSnapping(m_doc.options().snapping());
}

void CGeometryViewController::DrawerChanged() {
    if (m_geometryWindow)
        m_geometryWindow->DrawerChanged();
}

void CGeometryViewController::StudentDrawersChanged() {
    DrawerChanged();
}

void CGeometryViewController::OptionsApplied(const CGeometryOptions& previous) {
    ApplyUserOptions();
    const CGeometryViewControls controls = m_doc.viewControls();
    m_photos.SetControls(controls);
    // The entire view shows the whole workspace from its corner.
    if (controls.entireView && m_geometryWindow)
        m_geometryWindow->ScrollPaneTo(0, 0);
    if (m_geometryWindow)
        m_geometryWindow->OptionsApplied(controls, previous);
    InvalidateAll();
}

bool CGeometryViewController::RunOptionsSheet(CTessellationOptionsSheet& sheet) {
    return window().RunOptionsSheet(sheet);
}

void CGeometryViewController::StoreViewState(CGeometryUnitDocument& doc) {
    if (m_geometryWindow)
        m_geometryWindow->StoreViewState(doc);
}

void CGeometryViewController::ViewStateLoaded(CGeometryUnitDocument& doc) {
    // The scripts, animations and stamped copies referred to what the file replaced.
    m_scripts.Reset();
    // Help and Mystery wait for one click; a document opens with the Arrow instead.
    int tool = doc.currentTool();
    if (tool == kToolHelp || tool == kToolMystery)
        tool = kToolArrow;
    CUnitViewController::SelectTool(ToolCommand(tool));
    m_tools.ToolChanged(doc.currentTool());
    if (m_geometryWindow)
        m_geometryWindow->ViewStateLoaded(doc);
}

void CGeometryViewController::Draw(IDrawingSurface& dc, const CRect& clip) const {
    m_commands.Draw(dc, clip);
    m_tools.DrawFeedback(dc);
}

} // namespace quorvel

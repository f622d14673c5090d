// The geometry page's routing: scripts before commands, segment tools before the Arrow's
// shapes, drawers that cycle among the available ones, and the pane's scroll.
#include "geometry/geometry_view_controller.h"

#include "geometry/geometry_document.h"
#include "geometry/shape_catalogue.h"
#include "workspace/drawing_surface.h"
#include "workspace/prompter.h"
#include "workspace/tool_palette.h"

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
    std::optional<std::string> AskText(const std::string&, const std::string&,
                                       const std::string&) override {
        return std::nullopt;
    }
};

IPrompter& PrompterOf(CGeometryUnitDocument& doc) {
    static CSilentPrompter silent;
    return doc.host() ? doc.host()->Prompter() : silent;
}

} // namespace

CGeometryViewController::CGeometryViewController(CGeometryUnitDocument& doc,
                                                 IUnitViewWindow& window,
                                                 std::unique_ptr<ITimerHost> timers,
                                                 std::unique_ptr<ITextMetrics> metrics)
    : CUnitViewController(doc, window), m_doc(doc), m_timers(std::move(timers)),
      m_metrics(std::move(metrics)), m_commands(doc, PrompterOf(doc), *m_timers),
      m_scripts(doc, m_commands, PrompterOf(doc), *m_timers),
      m_tools(doc, PrompterOf(doc), *m_metrics) {
    m_tools.SetArrowChooser([this] { SelectArrow(); });
    // Anglemeters stay put while shapes turn or a script runs.
    m_tools.SetBusyQuery([this] { return m_commands.IsAnimating() || m_scripts.IsBusy(); });
}

CGeometryViewController::~CGeometryViewController() = default;

bool CGeometryViewController::OnCommand(int id) {
    if (!m_scripts.IsCommandEnabled(id))
        return true;
    if (IsToolCommand(id) || id == kExitCommand || id == kMenuExitCommand || id == kBroomCommand ||
        id == kCheckCommand || id == kContinueCommand || id == kViewSolutionCommand)
        return CUnitViewController::OnCommand(id);
    if (id == kCmdAngleSpin)
        return true; // the spin buttons come through SpinAngle
    if (m_scripts.OnCommand(id))
        return true;
    return CUnitViewController::OnCommand(id);
}

bool CGeometryViewController::IsCommandEnabled(int id) const {
    if (!m_scripts.IsCommandEnabled(id))
        return false;
    if (id == kCmdResetRotationPoint)
        return m_commands.CanResetRotationPoint();
    return CUnitViewController::IsCommandEnabled(id);
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
}

void CGeometryViewController::MouseMove(CPoint p) {
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

bool CGeometryViewController::Escape() {
    return m_tools.Escape();
}

// --- drawers ---------------------------------------------------------------------------------

bool CGeometryViewController::IsDrawerAvailable(int drawer) const {
    return drawer >= 0 && drawer < kDrawerCount &&
           m_drawerAvailable[static_cast<std::size_t>(drawer)];
}

void CGeometryViewController::SetDrawerAvailable(int drawer, bool available) {
    if (drawer < 0 || drawer >= kDrawerCount)
        return;
    m_drawerAvailable[static_cast<std::size_t>(drawer)] = available;
    if (!IsDrawerAvailable(m_drawer))
        StepDrawer(1);
}

void CGeometryViewController::NextDrawer() {
    StepDrawer(1);
}

void CGeometryViewController::PreviousDrawer() {
    StepDrawer(-1);
}

void CGeometryViewController::StepDrawer(int direction) {
    // From the drawer after (or before) the current one, wrapping, the first available one;
    // the current drawer itself comes last.
    const int from = m_drawer < 0 ? (direction > 0 ? kDrawerCount - 1 : 0) : m_drawer;
    int found = -1;
    for (int i = 1; i <= kDrawerCount; ++i) {
        const int d = ((from + direction * i) % kDrawerCount + kDrawerCount) % kDrawerCount;
        if (IsDrawerAvailable(d)) {
            found = d;
            break;
        }
    }
    m_drawer = found;
    if (m_geometryWindow)
        m_geometryWindow->DrawerChanged();
}

std::string CGeometryViewController::SlotName(int slot) const {
    if (m_drawer < 0 || slot < 0 || slot >= kSlotsPerDrawer)
        return {};
    return CatalogueSlot(m_drawer * kSlotsPerDrawer + slot).name;
}

CManipulative* CGeometryViewController::TakeFromDrawer(int slot, CPoint drop) {
    if (!DrawersEnabled() || m_drawer < 0)
        return nullptr;
    CManipulative* added = m_commands.TakeFromDrawer(m_drawer, slot, C3DPointDouble(drop));
    if (added)
        m_doc.RecomputeSelectionRotationPoint();
    return added;
}

bool CGeometryViewController::DropSelectionOnDrawer() {
    if (!DrawersEnabled() || !DraggingSelection() || !IsFixedDrawer(m_drawer))
        return false;
    m_commands.DropSelectionIntoDrawer();
    return true;
}

void CGeometryViewController::Draw(IDrawingSurface& dc, const CRect& clip) const {
    m_commands.Draw(dc, clip);
    m_tools.DrawFeedback(dc);
}

} // namespace quorvel

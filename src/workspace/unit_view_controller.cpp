// The workspace page's logic: tools, Help, the broom, leaving and the problem-set buttons.
#include "workspace/unit_view_controller.h"

#include "workspace/prompter.h"
#include "workspace/string_table.h"
#include "workspace/unit_document.h"

#include <algorithm>

namespace quorvel {

std::optional<CPrintMapping> PrintMapping(const CRect& workspace, CSize page) {
    if (workspace.IsEmpty() || page.cx <= 0 || page.cy <= 0)
        return std::nullopt;
    CPrintMapping m;
    m.scale = std::min(static_cast<double>(page.cx) / workspace.Width(),
                       static_cast<double>(page.cy) / workspace.Height());
    m.workspace = workspace;
    return m;
}

CUnitViewController::CUnitViewController(CUnitDocument& doc, IUnitViewWindow& window)
    : m_doc(doc), m_window(window) {
    m_doc.SetView(this);
}

CUnitViewController::~CUnitViewController() {
    if (m_doc.GetWorkspaceView() == this)
        m_doc.SetView(nullptr);
}

IPrompter* CUnitViewController::prompter() const {
    return m_doc.host() ? &m_doc.host()->Prompter() : nullptr;
}

int CUnitViewController::currentTool() const {
    return m_doc.currentTool();
}

bool CUnitViewController::OnCommand(int id) {
    switch (id) {
    case kMenuExitCommand:
        if (m_continueShown)
            return true;
        [[fallthrough]];
    case kExitCommand:
        LeaveUnit();
        return true;
    case kBroomCommand:
        StartOver();
        return true;
    case kCheckCommand:
        OnCheck();
        return true;
    case kContinueCommand:
        OnContinue();
        return true;
    case kViewSolutionCommand:
        OnViewSolution();
        return true;
    default:
        break;
    }
    if (IsToolCommand(id)) {
        SelectTool(id);
        return true;
    }
    return id >= kFirstInertCommand && id <= kLastInertCommand;
}

bool CUnitViewController::IsCommandEnabled(int id) const {
    if (id == kMenuExitCommand)
        return !m_continueShown;
    return true;
}

CRect CUnitViewController::GetPromptRect() const {
    // Above the Check button, from the side area (or the workspace's left edge) to 5 pixels
    // short of the button's right edge.
    const CRect check = m_window.ButtonRect(kCheckCommand);
    const std::optional<CRect> side = GetSideArea();
    const int left = side ? side->right + 5 : m_workspaceRect.left;
    return {left, check.top - 185, check.right - 5, check.top - 10};
}

void CUnitViewController::StartOver() {
    // An untouched workspace that is empty, or that the activity does not let the pupil
    // clear, has nothing to start over.
    if (!m_doc.IsModified() && (m_doc.manipulatives().empty() || !m_doc.clearable()))
        return;
    IPrompter* ask = prompter();
    if (!ask || ask->MessageBox(kAskClearWorkspace, MessageIcon::Question, MessageButtons::YesNo) !=
                    MessageResult::Yes)
        return;
    if (!m_doc.activityPath().empty()) {
        m_doc.RestartActivity();
    } else {
        m_doc.MarkUndoStep();
        m_doc.ClearWorkspace();
    }
    ResetView();
    m_doc.SetModifiedFlag(false);
}

bool CUnitViewController::LeaveUnit() {
    const bool prompt = m_window.HasPrompt();
    if (prompt && m_window.PromptStarted())
        m_doc.SetModifiedFlag();
    if (!m_doc.AskToSave())
        return false;
    // Saved, or the pupil chose to drop the changes: closing must not ask a second time.
    m_doc.SetModifiedFlag(false);
    // The score on the way out offers no further problems: the unit closes whatever is chosen.
    if (prompt)
        AskEndProblemSet(false);
    m_window.CloseUnit();
    return true;
}

void CUnitViewController::SelectTool(int command) {
    if (!IsToolCommand(command))
        return;
    const int previous = m_doc.currentTool();
    const int tool = ToolCodeOf(command);
    m_doc.SetCurrentTool(tool);
    m_window.PressToolButton(command);
    if (IsModalTool(tool))
        m_window.EnableView(false);
    else if (IsModalTool(previous))
        m_window.EnableView(true);
    m_window.ToolChanged(tool);
}

void CUnitViewController::ShowHelp(int id) {
    if (IPrompter* ask = prompter())
        ask->MessageBox(HelpText(id), MessageIcon::Question);
}

void CUnitViewController::HelpAt(CPoint p) {
    ShowHelp(m_window.ControlIdAt(p));
    SelectArrow();
}

void CUnitViewController::MysteryAt(CPoint) {
    SelectArrow();
}

void CUnitViewController::ClickOverDisabledView(CPoint p, CPoint screen) {
    if (currentTool() == kToolMystery)
        MysteryAt(screen);
    else
        HelpAt(p);
}

void CUnitViewController::ShowContinue() {
    m_window.ShowButton(kContinueCommand, true);
    m_window.ShowButton(kExitCommand, false);
    m_window.ShowButton(kBroomCommand, false);
    m_window.ShowButton(kCheckCommand, false);
    m_continueShown = true;
    m_window.CommandStateChanged();
}

void CUnitViewController::HideContinue() {
    m_window.ShowButton(kContinueCommand, false);
    m_window.ShowButton(kViewSolutionCommand, false);
    m_window.ShowButton(kExitCommand, true);
    m_window.ShowButton(kBroomCommand, true);
    m_window.ShowButton(kCheckCommand, true);
    m_continueShown = false;
    m_window.CommandStateChanged();
}

void CUnitViewController::EndProblemSet() {
    m_window.ShowButton(kCheckCommand, false);
    m_window.ShowButton(kContinueCommand, false);
    m_window.ShowButton(kViewSolutionCommand, false);
    m_window.ShowButton(kExitCommand, true);
    m_window.ShowButton(kBroomCommand, true);
    m_continueShown = false;
    ShowProblemControls(true);
    m_window.DestroyPrompt();
    m_window.CommandStateChanged();
}

void CUnitViewController::SetProblemCounter(const std::string& text) {
    m_window.SetPromptCounter(text);
}

} // namespace quorvel

// The Designs page's logic: clicks on the design machine, the editor over its boxes, the
// Mystery tool, the run on its timers and the Design menu.
#include "patterns/designs_controller.h"

#include "patterns/patterns_options.h"

#include "workspace/prompter.h"
#include "workspace/tool_palette.h"

namespace quorvel {

namespace {

// The toolkit's key codes, passed through by the page.
constexpr int kKeyReturn = 0x01000004;
constexpr int kKeyEnter = 0x01000005;

std::string PartHelp(DesignPart part) {
    switch (part) {
    case DesignPart::Design:
        return "The design window shows the design the machine stamps.";
    case DesignPart::Previous:
    case DesignPart::Next:
    case DesignPart::Chooser:
        return "Click the arrows to choose the shape the machine turns and stamps.";
    case DesignPart::TimesBox:
    case DesignPart::TimesUp:
    case DesignPart::TimesDown:
        return "Type how many times the shape is turned and stamped, from 1 to 360.";
    case DesignPart::AngleBox:
    case DesignPart::AngleUp:
    case DesignPart::AngleDown:
        return "Type the angle the shape turns by each time, from 1 to 360 degrees.";
    case DesignPart::ShowAxes:
        return "Check Show Axes to draw the axes through the centre of the design.";
    case DesignPart::RecordRule:
        return "Check Record Rule to write the rule under the design.";
    case DesignPart::Go:
        return "Click Go to turn and stamp the shape.";
    case DesignPart::Clear:
        return "Click Clear to start a new design.";
    default:
        return {};
    }
}

} // namespace

CDesignsViewController::CDesignsViewController(CDesignPatternsDocument& doc,
                                               IUnitViewWindow& window,
                                               std::unique_ptr<ITimerHost> timers)
    : CUnitViewController(doc, window), m_doc(doc), m_timers(std::move(timers)) {}

CDesignsViewController::~CDesignsViewController() {
    if (m_timers) {
        m_timers->KillTimer(kDesignTimer);
        m_timers->KillTimer(kDesignWipeTimer);
    }
}

void CDesignsViewController::Message(const std::string& text) {
    if (IPrompter* ask = prompter())
        ask->MessageBox(text, MessageIcon::Exclamation);
}

void CDesignsViewController::Changed() {
    m_doc.MachineChanged();
    DocumentStateChanged();
}

bool CDesignsViewController::OnCommand(int id) {
    switch (id) {
    case kCmdHideMachine:
    case kCmdShowMachine:
        StopAll();
        m_doc.MarkUndoStep();
        m_doc.ShowMachine(id == kCmdShowMachine);
        DocumentStateChanged();
        return true;
    case kCmdDesignOptions:
        if (running())
            return true;
        if (m_edit)
            EndEdit();
        if (const auto options =
                CDesignPatternsOptions(m_doc.options(), AuthoringMode(m_doc)).Run(window()))
            SetOptions(*options);
        return true;
    case kCmdExportDesign:
        ExportDesign();
        return true;
    default:
        break;
    }
    if (id == kBroomCommand || IsToolCommand(id))
        StopAll();
    return CUnitViewController::OnCommand(id);
}

bool CDesignsViewController::IsCommandEnabled(int id) const {
    switch (id) {
    case kCmdHideMachine:
        return m_doc.machineShown();
    case kCmdShowMachine:
        return !m_doc.machineShown();
    case kCmdDesignOptions:
        return !running();
    case kCmdExportDesign:
        return !running();
    default:
        return CUnitViewController::IsCommandEnabled(id);
    }
}

void CDesignsViewController::SelectTool(int command) {
    const int code = ToolCodeOf(command);
    if (!IsDesignsTool(code) || (code == kToolMystery && !m_doc.options().mysteryTool))
        command = ToolCommand(kToolArrow);
    if (m_edit)
        EndEdit();
    CUnitViewController::SelectTool(command);
}

void CDesignsViewController::MysteryAt(CPoint screen) {
    const CPoint p = m_designsWindow ? m_designsWindow->ScreenToWorkspace(screen) : screen;
    CDesignFunctionMachine& m = machine();
    if (m_doc.machineShown() && !running()) {
        const DesignPart part = m.PartAt(p);
        if (part == DesignPart::TimesBox || part == DesignPart::AngleBox) {
            m_doc.MarkUndoStep();
            m.SetHidden(part, !(part == DesignPart::TimesBox ? m.timesHidden() : m.angleHidden()));
            Changed();
        }
    }
    CUnitViewController::MysteryAt(screen);
}

void CDesignsViewController::HelpAt(CPoint p) {
    std::string text;
    if (m_designsWindow && m_doc.machineShown())
        if (const std::optional<CPoint> at = m_designsWindow->PageToWorkspace(p))
            text = PartHelp(machine().PartAt(*at));
    if (text.empty()) {
        CUnitViewController::HelpAt(p);
        return;
    }
    if (IPrompter* ask = prompter())
        ask->MessageBox(text, MessageIcon::Question);
    SelectArrow();
}

void CDesignsViewController::ResetView() {
    StopAll();
    m_edit.reset();
    if (m_designsWindow)
        m_designsWindow->EndEdit();
    OptionsChanged();
    InvalidateAll();
}

void CDesignsViewController::SetOptions(const CDesignOptions& options) {
    if (options == m_doc.options())
        return;
    m_doc.MarkUndoStep();
    m_doc.SetOptions(options);
    OptionsChanged();
}

void CDesignsViewController::OptionsChanged() {
    if (currentTool() == kToolMystery && !m_doc.options().mysteryTool)
        SelectArrow();
    // The page shows the Mystery tool's button as the options say when it hears this.
    DocumentStateChanged();
}

void CDesignsViewController::StartOver() {
    StopAll();
    CUnitViewController::StartOver();
}

void CDesignsViewController::MouseDown(CPoint p) {
    if (m_edit)
        EndEdit();
    if (currentTool() != kToolArrow || !m_doc.machineShown())
        return;
    PressPart(machine().PartAt(p));
}

void CDesignsViewController::PressPart(DesignPart part) {
    CDesignFunctionMachine& m = machine();
    if (running() && part != DesignPart::Clear)
        return;
    switch (part) {
    case DesignPart::Previous:
    case DesignPart::Next:
        m_doc.MarkUndoStep();
        part == DesignPart::Next ? m.NextShape() : m.PreviousShape();
        Changed();
        break;
    case DesignPart::TimesUp:
    case DesignPart::TimesDown:
    case DesignPart::AngleUp:
    case DesignPart::AngleDown:
        m_doc.MarkUndoStep();
        m.Spin(part);
        Changed();
        break;
    case DesignPart::TimesBox:
    case DesignPart::AngleBox: {
        const bool hidden = part == DesignPart::TimesBox ? m.timesHidden() : m.angleHidden();
        if (hidden)
            break;
        m_doc.MarkUndoStep();
        m_edit = CDesignEdit{part, m.PartRect(part),
                             part == DesignPart::TimesBox ? m.timesText() : m.angleText()};
        if (m_designsWindow)
            m_designsWindow->BeginEdit(*m_edit);
        break;
    }
    case DesignPart::ShowAxes:
        m_doc.MarkUndoStep();
        m.SetShowAxes(!m.showAxes());
        Changed();
        break;
    case DesignPart::RecordRule:
        m_doc.MarkUndoStep();
        m.SetRecordRule(!m.recordRule());
        Changed();
        break;
    case DesignPart::Go:
        PressGo();
        break;
    case DesignPart::Clear:
        PressClear();
        break;
    default:
        break;
    }
}

void CDesignsViewController::EditChanged(const std::string& text) {
    if (!m_edit)
        return;
    m_edit->text = text.substr(0, 3);
    if (m_edit->box == DesignPart::TimesBox)
        machine().SetTimesText(m_edit->text);
    else
        machine().SetAngleText(m_edit->text);
    Changed();
}

void CDesignsViewController::EndEdit() {
    if (!m_edit)
        return;
    m_edit.reset();
    if (m_designsWindow)
        m_designsWindow->EndEdit();
    m_doc.MachineChanged(false);
}

bool CDesignsViewController::KeyPress(int key) {
    if (m_edit || running() || !m_doc.machineShown())
        return false;
    if (key == kKeyReturn || key == kKeyEnter) {
        if (machine().GoEnabled())
            PressGo();
        return true;
    }
    return false;
}

void CDesignsViewController::PressGo() {
    CDesignFunctionMachine& m = machine();
    if (m_edit)
        EndEdit();
    if (!m.GoEnabled())
        return;
    m_doc.MarkUndoStep();
    if (const auto wrong = m.Validate()) {
        Message(*wrong);
        m_doc.MachineChanged(false);
        return;
    }
    const auto interval = m.Go(m_doc.options().stampColor != 0);
    if (!interval)
        return;
    if (m_designsWindow)
        m_designsWindow->SetBusy(true);
    m_timers->StartTimer(kDesignTimer, *interval, this);
    Changed();
}

void CDesignsViewController::PressClear() {
    StopAll();
    if (m_edit)
        EndEdit();
    m_doc.MarkUndoStep();
    machine().Clear();
    Changed();
}

void CDesignsViewController::ExportDesign() {
    if (running() || !m_designsWindow)
        return;
    const std::optional<std::string> path = m_doc.files().ChooseExportPath(
        "Export Design as PNG/SVG", "PNG Images (*.png)|*.png||SVG Images (*.svg)|*.svg||", "png",
        m_doc.activityName().empty() ? "design" : m_doc.activityName());
    if (path && !m_designsWindow->WriteDesignPicture(*path))
        Message(kFailedToExportDesign);
}

void CDesignsViewController::OnTimer(std::uint32_t id) {
    CDesignFunctionMachine& m = machine();
    if (id == kDesignTimer) {
        switch (m.Tick()) {
        case DesignTick::Stopped:
            // The run is gone (Undo, Open or New took its machine away).
            m_timers->KillTimer(kDesignTimer);
            if (m_designsWindow)
                m_designsWindow->SetBusy(false);
            break;
        case DesignTick::Finished:
            m_timers->KillTimer(kDesignTimer);
            m_timers->StartTimer(kDesignWipeTimer, kDesignWipeInterval, this);
            break;
        default:
            break;
        }
        m_doc.MachineChanged(false);
        return;
    }
    if (id == kDesignWipeTimer) {
        if (!m.WipeTick()) {
            m_timers->KillTimer(kDesignWipeTimer);
            if (m_designsWindow)
                m_designsWindow->SetBusy(false);
            DocumentStateChanged();
        }
        m_doc.MachineChanged(false);
    }
}

void CDesignsViewController::StopAll() {
    m_timers->KillTimer(kDesignTimer);
    m_timers->KillTimer(kDesignWipeTimer);
    if (!running())
        return;
    machine().Stop();
    if (m_designsWindow)
        m_designsWindow->SetBusy(false);
    m_doc.MachineChanged(false);
}

} // namespace quorvel

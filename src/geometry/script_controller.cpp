// Scripts: the recording mode and its refusals, steps appended by successful commands, slides
// merged, Select & Group, repeats performed while recording, playback step by step on the
// commands' animations, and the script windows' model.
#include "geometry/script_controller.h"

#include "geometry/geometry_document.h"
#include "workspace/prompter.h"

#include <algorithm>
#include <limits>

namespace quorvel {

namespace {

const std::array<CScriptControl, 8> kPanelControls = {{
    {kCmdRecord, "Record", "Click here to record a script."},
    {kCmdViewScript, "View", "Click here to view the script in the script name combo box."},
    {kCmdPlay, "Play", "Click here to play the script in the script name combo box."},
    {kCmdStopPlay, "Stop Play", nullptr},
    {kCmdSelectAndGroup, "Select&&Group", nullptr},
    {kCmdRepeat, "Repeat", nullptr},
    {kCmdStopRepeat, "  Stop Repeat", nullptr},
    {kCtlScriptCombo, "",
     "The script name combo box. The names of the current scripts are listed in this drop-down "
     "combo box."},
}};

const std::array<CScriptControl, 4> kWindowButtons = {{
    {kCmdEndRecord, "End Record", nullptr},
    {kCmdDeleteStep, "Delete", nullptr},
    {kCmdClearScript, "Clear", nullptr},
    {kCmdCloseScript, "Close", nullptr},
}};

const CScriptWindowState kClosedWindow;

// The page's broom, the palette's tool commands and "&Tessellation Options...", which a
// recording or playing script keeps disabled.
constexpr int kBroom = 1004;
constexpr int kFirstToolCommand = 1270;
constexpr int kLastToolCommand = 1299;
constexpr int kTessellationOptions = 32780;

bool IsColorCommand(int id) {
    return id >= kCmdFirstColor && id <= kCmdLastColor;
}

// The commands that record a step of their own.
bool IsStepCommand(int id) {
    return (id >= kCmdCopy && id <= kCmdRotateLeft) || IsColorCommand(id) || id == kCmdAngleSpin;
}

// The controls whose enabling scripts decide; any other id is the view's own business.
bool IsGoverned(int id) {
    return (id >= kCmdGroup && id <= kCmdSelectAndGroup) || id == kCtlRepeatNumber ||
           id == kCtlScriptCombo || id == kCmdAngleSpin || id == kCmdThinLine ||
           id == kCmdThickLine || IsColorCommand(id) || id == kCmdEndRecord ||
           id == kCmdStopRepeat || id == kCmdStopPlay || id == kBroom ||
           (id >= kCmdSendToBack && id <= kTessellationOptions) || id == kCmdResetRotationPoint ||
           (id >= kFirstToolCommand && id <= kLastToolCommand);
}

std::int32_t SaturatedSum(std::int32_t a, int b) {
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// A whole number from 1 to kMaxRepeatTimes, digits only around optional blanks.
std::optional<int> ParseRepeatTimes(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    const auto last = text.find_last_not_of(" \t");
    int value = 0;
    for (std::size_t i = first; i <= last; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > kMaxRepeatTimes)
            return std::nullopt;
    }
    if (value < 1)
        return std::nullopt;
    return value;
}

void ClearMarksOf(CManipulative& m) {
    m.SetScriptMark(false);
    if (auto* members = m.GetMembers())
        for (auto& member : *members)
            ClearMarksOf(*member);
}

// Where the block before the repeat at `repeat` starts: just after the nearest repeat or
// select-and-group step before it, or at the first step.
int BlockStart(const std::vector<ScriptStruct>& steps, int repeat) {
    for (int i = repeat - 1; i >= 0; --i) {
        const std::int32_t code = steps[static_cast<std::size_t>(i)].code;
        if (code == kStepRepeat || code == kStepSelectAndGroup)
            return i + 1;
    }
    return 0;
}

} // namespace

const std::array<CScriptControl, 8>& ScriptPanelControls() {
    return kPanelControls;
}

const std::array<CScriptControl, 4>& ScriptWindowButtons() {
    return kWindowButtons;
}

CScriptController::CScriptController(CGeometryUnitDocument& doc, CShapeCommandController& commands,
                                     IPrompter& prompter, ITimerHost& timers)
    : m_doc(doc), m_commands(commands), m_prompter(prompter), m_timers(timers) {
    m_commands.SetObserver(this);
}

CScriptController::~CScriptController() {
    CancelPostedStep();
    m_commands.SetObserver(nullptr);
    m_commands.SetScriptState(false, false);
}

CScriptList& CScriptController::List() {
    return m_doc.scripts();
}

const CScriptList& CScriptController::scripts() const {
    return m_doc.scripts();
}

ScriptStructList* CScriptController::Current() {
    if (!m_current || *m_current >= List().size())
        return nullptr;
    return &List().at(*m_current);
}

// --- commands and enabling -------------------------------------------------------------------

bool CScriptController::OnCommand(int id) {
    switch (id) {
    case kCmdRecord:
        OnRecord();
        return true;
    case kCmdViewScript:
        OnViewScript();
        return true;
    case kCmdPlay:
        OnPlay();
        return true;
    case kCmdStopPlay:
        OnStopPlay();
        return true;
    case kCmdSelectAndGroup:
        OnSelectAndGroup();
        return true;
    case kCmdRepeat:
        OnRepeat();
        return true;
    case kCmdStopRepeat:
        OnStopRepeat();
        return true;
    case kCmdEndRecord:
        OnEndRecord();
        return true;
    default:
        break;
    }
    if (IsGoverned(id) && !IsCommandEnabled(id))
        return true;
    return m_commands.OnCommand(id);
}

bool CScriptController::IsCommandEnabled(int id) const {
    if (!IsGoverned(id))
        return true;
    if (m_playing)
        return id == kCmdStopPlay;
    if (m_recording) {
        if (m_repeating)
            return id == kCmdStopRepeat || id == kCmdEndRecord;
        if (id == kCmdRepeat || id == kCtlRepeatNumber)
            return RepeatAllowed();
        return IsStepCommand(id) || id == kCmdSelectAndGroup || id == kCmdEndRecord;
    }
    switch (id) {
    case kCmdStopPlay:
    case kCmdSelectAndGroup:
    case kCmdRepeat:
    case kCtlRepeatNumber:
    case kCmdStopRepeat:
    case kCmdEndRecord:
        return false;
    case kCmdViewScript:
    case kCmdPlay:
        return scripts().selected().has_value();
    default:
        return true;
    }
}

bool CScriptController::IsControlShown(int id) const {
    switch (id) {
    case kCmdRepeat:
    case kCtlRepeatNumber:
    case kCmdStopRepeat:
        return m_recording;
    default:
        return true;
    }
}

bool CScriptController::RepeatAllowed() const {
    if (!m_recording || m_repeating || !m_current || *m_current >= scripts().size())
        return false;
    // A repeat needs a block of steps since the last repeat or select-and-group step.
    const auto& steps = scripts().at(*m_current).steps;
    return !steps.empty() && steps.back().code != kStepRepeat &&
           steps.back().code != kStepSelectAndGroup;
}

void CScriptController::SetRepeatNumberText(const std::string& text) {
    m_repeatNumber = text.substr(0, kRepeatNumberLength);
}

void CScriptController::SelectScript(std::optional<std::size_t> index) {
    if (IsBusy())
        return;
    List().Select(index);
    if (m_view)
        m_view->ScriptsChanged();
}

// --- recording -------------------------------------------------------------------------------

void CScriptController::OnRecord() {
    if (IsBusy() || m_commands.IsAnimating())
        return;
    const auto& selection = m_doc.selection();
    if (selection.empty() || std::all_of(selection.begin(), selection.end(),
                                         [](auto* m) { return m->IsAnnotation(); })) {
        m_prompter.MessageBox(kPleaseSelect, MessageIcon::Exclamation);
        return;
    }
    for (;;) {
        const auto selected = List().selected();
        const std::string initial = selected ? List().at(*selected).name : kDefaultScriptName;
        const auto typed = m_prompter.AskText(kNameOfScriptCaption, initial, kNameOfScriptCaption,
                                              kMaxScriptNameLength);
        if (!typed)
            return;
        const std::string name = ClipScriptName(*typed);
        if (name.empty()) {
            m_prompter.MessageBox(kScriptNameLength, MessageIcon::Exclamation);
            continue;
        }
        if (const auto existing = List().Find(name)) {
            const int choice = m_prompter.Choose(
                kScriptExistsText, {kScriptExistsAdd, kScriptExistsReplace, kScriptExistsCancel},
                kScriptExistsCaption);
            if (choice != 0 && choice != 1)
                continue;
            if (choice == 1) {
                List().at(*existing).steps.clear();
                m_doc.SetModifiedFlag();
            }
            List().Select(existing);
            if (m_view)
                m_view->ScriptsChanged();
            StartRecording(*existing);
            return;
        }
        ScriptStructList script;
        script.name = name;
        const CPoint origin = m_view ? m_view->ClientOriginOnScreen() : CPoint{};
        script.windowX = origin.x;
        script.windowY = origin.y;
        const std::size_t index = List().Add(std::move(script));
        List().Select(index);
        m_windows.resize(List().size());
        m_doc.SetModifiedFlag();
        if (m_view)
            m_view->ScriptsChanged();
        StartRecording(index);
        return;
    }
}

bool CScriptController::StartRecording(std::size_t script) {
    m_windows.resize(List().size());
    if (script >= List().size())
        return false;
    m_current = script;
    CScriptWindowState& window = m_windows[script];
    window.open = true;
    window.selectedRow = static_cast<int>(List().at(script).steps.size()) - 1;
    m_recording = true;
    m_repeating = false;
    m_openRepeat = -1;
    m_doc.SetCurrentTool(kToolArrow);
    if (m_view)
        m_view->SelectArrowTool();
    MarkSelection();
    m_commands.SetScriptState(true, false);
    WindowChanged(script);
    ControlsChanged();
    return true;
}

void CScriptController::StopRecording() {
    CancelPostedStep();
    const auto script = m_current;
    m_recording = false;
    m_repeating = false;
    m_paused = false;
    m_openRepeat = -1;
    m_current.reset();
    ClearScriptMarks();
    m_commands.ClearStampList();
    m_commands.SetScriptState(false, false);
    if (script)
        WindowChanged(*script);
    ControlsChanged();
}

void CScriptController::OnEndRecord() {
    if (!m_recording)
        return;
    if (m_repeating)
        CloseRepeat();
    StopRecording();
}

std::optional<ScriptStruct> CScriptController::StepFor(const CShapeCommandEvent& event) const {
    ScriptStruct step;
    step.code = event.id;
    switch (event.id) {
    case kCmdCopy:
        step.text = "COPY";
        break;
    case kCmdStamp:
        step.text = "STAMP";
        break;
    case kCmdEnlarge:
        step.text = "ENLARGE";
        break;
    case kCmdReduce:
        step.text = "REDUCE";
        break;
    case kCmdFlipHorizontal:
        step.text = "FLIP HORIZONTAL";
        break;
    case kCmdFlipVertical:
        step.text = "FLIP VERTICAL";
        break;
    case kCmdRotateRight:
        step.text = "ROTATE RIGHT " + event.angleText;
        step.angle = event.angle;
        break;
    case kCmdRotateLeft:
        step.text = "ROTATE LEFT " + event.angleText;
        step.angle = event.angle;
        break;
    default:
        if (!IsColorCommand(event.id))
            return std::nullopt;
        step.text = std::string("COLOR ") +
                    ColorButtons()[static_cast<std::size_t>(event.id - kCmdFirstColor)].name;
        break;
    }
    return step;
}

void CScriptController::Append(ScriptStruct step) {
    ScriptStructList* script = Current();
    if (!script)
        return;
    script->steps.push_back(std::move(step));
    m_doc.SetModifiedFlag();
    ShowRow(static_cast<int>(script->steps.size()) - 1);
    ControlsChanged();
}

void CScriptController::CommandSucceeded(const CShapeCommandEvent& event) {
    if (m_running) {
        m_succeeded = true;
        return;
    }
    if (!m_recording || m_repeating)
        return;
    if (auto step = StepFor(event))
        Append(std::move(*step));
}

void CScriptController::SelectionDragged(int dx, int dy) {
    if (!m_recording || m_repeating || m_openRepeat >= 0)
        return;
    ScriptStructList* script = Current();
    if (!script)
        return;
    if (!script->steps.empty() && script->steps.back().code == kCmdSlide) {
        // Consecutive drags are one slide: their offsets add up.
        ScriptStruct& slide = script->steps.back();
        slide.dx = SaturatedSum(slide.dx, dx);
        slide.dy = SaturatedSum(slide.dy, dy);
        m_doc.SetModifiedFlag();
        ShowRow(static_cast<int>(script->steps.size()) - 1);
        return;
    }
    ScriptStruct slide;
    slide.code = kCmdSlide;
    slide.text = kSlideStepText;
    slide.dx = dx;
    slide.dy = dy;
    Append(std::move(slide));
}

bool CScriptController::MouseDownAllowed(CPoint p, MouseModifiers modifiers) {
    if (m_playing || m_repeating || m_commands.IsAnimating())
        return false;
    if (!m_recording)
        return true;
    const CManipulative* hit = m_doc.HitTest(p);
    if (hit && hit->selected() && !modifiers.shift && !modifiers.control)
        return true;
    m_prompter.MessageBox(kCannotChangeSelection, MessageIcon::Exclamation);
    return false;
}

void CScriptController::MarkSelection() {
    for (CManipulative* m : m_doc.selection())
        m->SetScriptMark(true);
}

void CScriptController::ClearScriptMarks() {
    for (const auto& m : m_doc.manipulatives())
        ClearMarksOf(*m);
}

bool CScriptController::SelectAndGroup() {
    m_doc.DeselectAll();
    for (const auto& m : m_doc.manipulatives())
        if (m->scriptMark())
            m_doc.Select(m.get());
    if (IWorkspaceView* view = m_doc.GetWorkspaceView())
        view->InvalidateAll();
    const bool wasRunning = m_running;
    const bool hadSucceeded = m_succeeded;
    m_running = true;
    m_succeeded = false;
    m_commands.OnGroup();
    const bool grouped = m_succeeded;
    m_running = wasRunning;
    m_succeeded = hadSucceeded;
    if (grouped && !m_doc.selection().empty())
        m_doc.selection().front()->SetScriptMark(true);
    return grouped;
}

void CScriptController::OnSelectAndGroup() {
    if (!m_recording || m_repeating || m_commands.IsAnimating())
        return;
    if (!SelectAndGroup())
        return;
    ScriptStruct step;
    step.code = kStepSelectAndGroup;
    step.text = kSelectAndGroupStepText;
    Append(std::move(step));
}

// --- repeats ---------------------------------------------------------------------------------

void CScriptController::OnRepeat() {
    if (m_commands.IsAnimating() || !RepeatAllowed())
        return;
    std::int32_t count = kRepeatToEnd;
    if (m_repeatKind == RepeatKind::Times) {
        const auto times = ParseRepeatTimes(m_repeatNumber);
        if (!times) {
            m_prompter.MessageBox(kInvalidRepeatNumber, MessageIcon::Exclamation);
            if (m_view)
                m_view->FocusRepeatNumber();
            return;
        }
        count = *times;
    }
    ScriptStruct step;
    step.code = kStepRepeat;
    step.text = RepeatStepText(count);
    step.count = count;
    Append(std::move(step));
    EnterRepeat(static_cast<int>(Current()->steps.size()) - 1);
}

void CScriptController::EnterRepeat(int repeatIndex) {
    m_repeating = true;
    m_openRepeat = repeatIndex;
    m_blockStart = BlockStart(Current()->steps, repeatIndex);
    m_counter = 0;
    m_index = m_blockStart - 1;
    // Copies carry the script mark, and colour changes ask nothing on each round.
    m_commands.SetScriptState(m_recording, true);
    ControlsChanged();
    PostNextStep();
}

void CScriptController::CloseRepeat() {
    m_commands.StopAnimation();
    CancelPostedStep();
    m_commands.ClearStampList();
    ScriptStructList* script = Current();
    if (script && m_openRepeat >= 0 && m_openRepeat < static_cast<int>(script->steps.size())) {
        ScriptStruct& repeat = script->steps[static_cast<std::size_t>(m_openRepeat)];
        repeat.text = ClosedRepeatStepText(m_counter);
        repeat.count = m_counter;
        m_doc.SetModifiedFlag();
        ShowRow(m_openRepeat);
    }
    m_repeating = false;
    m_paused = false;
    m_openRepeat = -1;
    m_commands.SetScriptState(m_recording, m_playing);
    ControlsChanged();
}

void CScriptController::EndPlayedRepeat() {
    m_commands.ClearStampList();
    m_repeating = false;
    m_index = m_openRepeat;
    m_openRepeat = -1;
}

void CScriptController::OnStopRepeat() {
    if (!m_recording || !m_repeating || m_paused)
        return;
    m_paused = true;
    const MessageResult answer = m_prompter.MessageBox(
        kContinueRecordingQuestion, MessageIcon::Question, MessageButtons::YesNoCancel);
    m_paused = false;
    if (!m_repeating)
        return;
    switch (answer) {
    case MessageResult::Yes:
        CloseRepeat();
        break;
    case MessageResult::No:
        CloseRepeat();
        StopRecording();
        break;
    default:
        if (m_stepDue && !m_commands.IsAnimating()) {
            m_stepDue = false;
            PostNextStep();
        }
        break;
    }
}

bool CScriptController::FitsWorkspace() const {
    if (m_extent.IsEmpty())
        return true;
    const CRect frame = m_commands.SelectionFrame();
    return frame.left >= m_extent.left && frame.top >= m_extent.top &&
           frame.right <= m_extent.right && frame.bottom <= m_extent.bottom;
}

// --- playing ---------------------------------------------------------------------------------

void CScriptController::OnPlay() {
    if (IsBusy() || m_commands.IsAnimating())
        return;
    if (m_doc.selection().empty()) {
        m_prompter.MessageBox(kPleaseSelect, MessageIcon::Exclamation);
        return;
    }
    const auto selected = List().selected();
    if (!selected)
        return;
    const auto& steps = List().at(*selected).steps;
    if (steps.size() == 1 && steps.front().code == kStepRepeat)
        return;
    MarkSelection();
    m_current = selected;
    m_playing = true;
    m_repeating = false;
    m_openRepeat = -1;
    m_index = -1;
    m_commands.SetScriptState(false, true);
    ControlsChanged();
    NextStep();
}

void CScriptController::OnStopPlay() {
    if (m_playing)
        StopRunning();
}

void CScriptController::StopRunning() {
    m_commands.StopAnimation();
    CancelPostedStep();
    ClearScriptMarks();
    m_commands.ClearStampList();
    m_playing = false;
    m_repeating = false;
    m_paused = false;
    m_openRepeat = -1;
    m_index = 0;
    m_current.reset();
    m_commands.SetScriptState(false, false);
    ControlsChanged();
}

void CScriptController::PostNextStep() {
    if (m_paused) {
        m_stepDue = true;
        return;
    }
    if (m_timers.StartTimer(kScriptStepTimer, 0, this)) {
        m_stepPosted = true;
        return;
    }
    // Without a timer the steps run in a loop here, never by recursion.
    m_stepDue = true;
    if (m_driving)
        return;
    m_driving = true;
    while (m_stepDue && !m_paused) {
        m_stepDue = false;
        NextStep();
    }
    m_driving = false;
}

void CScriptController::CancelPostedStep() {
    if (m_stepPosted)
        m_timers.KillTimer(kScriptStepTimer);
    m_stepPosted = false;
    m_stepDue = false;
}

void CScriptController::OnTimer(std::uint32_t id) {
    if (id != kScriptStepTimer)
        return;
    m_timers.KillTimer(kScriptStepTimer);
    m_stepPosted = false;
    if (m_paused) {
        m_stepDue = true;
        return;
    }
    NextStep();
}

void CScriptController::AnimationEnded() {
    if (m_running || !(m_playing || m_repeating))
        return;
    PostNextStep();
}

void CScriptController::NextStep() {
    ScriptStructList* script = Current();
    if (!script || !(m_playing || m_repeating)) {
        if (m_playing)
            StopRunning();
        return;
    }
    ++m_index;
    const int size = static_cast<int>(script->steps.size());
    if (m_recording && m_index >= m_openRepeat) {
        // Back at the repeat being recorded.
        ++m_counter;
        const std::int32_t count = script->steps[static_cast<std::size_t>(m_openRepeat)].count;
        if ((count == kRepeatToEnd || m_counter < count) && m_counter < kMaxRepeatTimes) {
            m_index = m_blockStart - 1;
            PostNextStep();
        } else {
            CloseRepeat();
        }
        return;
    }
    if (m_index >= size) {
        StopRunning();
        return;
    }
    ShowRow(m_index);
    const ScriptStruct step = script->steps[static_cast<std::size_t>(m_index)];
    if (step.code == kStepRepeat) {
        if (!m_repeating || m_openRepeat != m_index) {
            const int start = BlockStart(script->steps, m_index);
            // Nothing to repeat, or no times: on with the next step.
            if (start >= m_index || (step.count != kRepeatToEnd && step.count < 1)) {
                PostNextStep();
                return;
            }
            m_repeating = true;
            m_openRepeat = m_index;
            m_blockStart = start;
            m_counter = 0;
            m_index = start - 1;
        } else {
            ++m_counter;
            if ((step.count == kRepeatToEnd || m_counter < step.count) &&
                m_counter < kMaxRepeatTimes)
                m_index = m_blockStart - 1;
            else
                EndPlayedRepeat();
        }
        PostNextStep();
        return;
    }
    if (m_repeating && (step.code == kCmdCopy || step.code == kCmdStamp) && !FitsWorkspace()) {
        const std::int32_t count = script->steps[static_cast<std::size_t>(m_openRepeat)].count;
        if (count != kRepeatToEnd)
            m_prompter.MessageBox(kRepeatTooLarge, MessageIcon::Exclamation);
        if (m_recording) {
            CloseRepeat();
        } else {
            EndPlayedRepeat();
            PostNextStep();
        }
        return;
    }
    if (!RunStep(step)) {
        if (m_recording)
            CloseRepeat();
        else
            StopRunning();
        return;
    }
    if (!m_commands.IsAnimating())
        PostNextStep();
}

bool CScriptController::RunStep(const ScriptStruct& step) {
    m_running = true;
    m_succeeded = false;
    switch (step.code) {
    case kCmdRotateRight:
    case kCmdRotateLeft:
        m_commands.Rotate(step.angle, step.code == kCmdRotateRight);
        break;
    case kCmdSlide:
        m_commands.Slide(step.dx, step.dy);
        break;
    case kStepSelectAndGroup:
        // Fewer than two marked manipulatives make no group; the script goes on regardless.
        SelectAndGroup();
        m_succeeded = true;
        break;
    default:
        if ((step.code >= kCmdCopy && step.code <= kCmdFlipVertical) || IsColorCommand(step.code))
            m_commands.OnCommand(step.code);
        break;
    }
    m_running = false;
    return m_succeeded;
}

// --- script windows --------------------------------------------------------------------------

void CScriptController::ShowRow(int row) {
    if (!m_current || *m_current >= m_windows.size())
        return;
    m_windows[*m_current].selectedRow = row;
    WindowChanged(*m_current);
}

void CScriptController::WindowChanged(std::size_t script) {
    if (m_view)
        m_view->ScriptWindowChanged(script);
}

void CScriptController::ControlsChanged() {
    if (m_view)
        m_view->ControlsChanged();
}

const CScriptWindowState& CScriptController::windowState(std::size_t script) const {
    return script < m_windows.size() ? m_windows[script] : kClosedWindow;
}

std::vector<CScriptRow> CScriptController::Rows(std::size_t script) const {
    std::vector<CScriptRow> rows;
    if (script >= scripts().size())
        return rows;
    for (const ScriptStruct& step : scripts().at(script).steps)
        rows.push_back({step.text, step.code == kCmdSlide ? SlideIconIndex(step.dx, step.dy) : 0});
    return rows;
}

bool CScriptController::IsWindowRecording(std::size_t script) const {
    return m_recording && m_current == script;
}

void CScriptController::OnViewScript() {
    if (IsBusy())
        return;
    const auto selected = List().selected();
    if (!selected)
        return;
    m_windows.resize(List().size());
    m_windows[*selected].open = true;
    m_windows[*selected].selectedRow = List().at(*selected).steps.empty() ? -1 : 0;
    WindowChanged(*selected);
}

void CScriptController::SelectRow(std::size_t script, int row) {
    if (script >= List().size())
        return;
    m_windows.resize(List().size());
    const int rows = static_cast<int>(List().at(script).steps.size());
    m_windows[script].selectedRow = row >= 0 && row < rows ? row : -1;
}

CPoint ScriptWindowPlace(CPoint saved, const CRect& pane) {
    constexpr int kInset = 4;
    const CRect window{saved.x, saved.y, saved.x + kScriptWindowWidth,
                       saved.y + kScriptWindowHeight};
    if (window.left >= pane.left && window.top >= pane.top && window.right <= pane.right &&
        window.bottom <= pane.bottom)
        return saved;
    return {std::max(pane.left, pane.right - kScriptWindowWidth - kInset), pane.top + kInset};
}

void CScriptController::WindowMoved(std::size_t script, CPoint topLeft) {
    if (script >= List().size())
        return;
    List().at(script).windowX = topLeft.x;
    List().at(script).windowY = topLeft.y;
}

void CScriptController::OnCloseWindow(std::size_t script, CPoint topLeft) {
    if (script >= List().size() || IsWindowRecording(script))
        return;
    WindowMoved(script, topLeft);
    m_windows.resize(List().size());
    m_windows[script].open = false;
    WindowChanged(script);
}

void CScriptController::OnDeleteStep(std::size_t script) {
    if (script >= List().size() || IsWindowRecording(script))
        return;
    if (m_playing)
        StopRunning();
    m_windows.resize(List().size());
    auto& steps = List().at(script).steps;
    const int row = m_windows[script].selectedRow;
    if (row < 0 || row >= static_cast<int>(steps.size()))
        return;
    steps.erase(steps.begin() + row);
    m_windows[script].selectedRow = std::min(row, static_cast<int>(steps.size()) - 1);
    m_doc.SetModifiedFlag();
    WindowChanged(script);
}

void CScriptController::OnClearScript(std::size_t script) {
    if (script >= List().size() || IsWindowRecording(script))
        return;
    if (m_prompter.MessageBox(kEraseScriptQuestion, MessageIcon::Question,
                              MessageButtons::OkCancel) != MessageResult::Ok)
        return;
    if (m_playing && m_current == script)
        StopRunning();
    List().Remove(script);
    if (script < m_windows.size())
        m_windows.erase(m_windows.begin() + static_cast<std::ptrdiff_t>(script));
    if (m_current && *m_current > script)
        --*m_current;
    m_doc.SetModifiedFlag();
    if (m_view)
        m_view->ScriptsChanged();
}

CScriptController::RenameResult CScriptController::RenameScript(std::size_t script,
                                                                const std::string& typed) {
    if (script >= List().size())
        return RenameResult::Refused;
    const std::string name = ClipScriptName(typed);
    ScriptStructList& renamed = List().at(script);
    if (name == renamed.name)
        return RenameResult::Unchanged;
    if (name.empty()) {
        m_prompter.MessageBox(kScriptNameLength, MessageIcon::Exclamation);
        return RenameResult::Refused;
    }
    if (const auto other = List().Find(name); other && *other != script) {
        m_prompter.MessageBox(kScriptNameTaken, MessageIcon::Exclamation);
        return RenameResult::Refused;
    }
    renamed.name = name;
    m_doc.SetModifiedFlag();
    if (m_view)
        m_view->ScriptsChanged();
    return RenameResult::Renamed;
}

void CScriptController::Reset() {
    CancelPostedStep();
    m_commands.StopAnimation();
    m_commands.ClearStampList();
    m_commands.SetScriptState(false, false);
    m_recording = false;
    m_playing = false;
    m_repeating = false;
    m_paused = false;
    m_openRepeat = -1;
    m_index = 0;
    m_current.reset();
    m_windows.assign(List().size(), CScriptWindowState{});
    if (m_view) {
        m_view->ScriptsChanged();
        m_view->ControlsChanged();
    }
}

} // namespace quorvel

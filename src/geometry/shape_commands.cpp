// Shape commands: guards, messages, scale limits, the timer-driven animations, undo steps and
// the Arrow, Selector and Eraser.
#include "geometry/shape_commands.h"

#include "geometry/geometry_document.h"
#include "geometry/poly_shape_manipulative.h"
#include "geometry/shape_catalogue.h"
#include "workspace/drawing_surface.h"
#include "workspace/prompter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace quorvel {

namespace {

// Deeper groups could not be read back: the archive bounds record nesting.
constexpr int kMaxGroupDepth = 16;
// Per-tick rotation: 12 degrees.
constexpr double kRotateStep = 2 * kPi / 30;
// Accumulated steps that reach the target within this are done, so that 360 degrees take
// thirty ticks however the sum of the steps rounds.
constexpr double kAngleSlack = 1e-9;

constexpr Color kBlack = PaletteRGB(0, 0, 0);
constexpr Color kWhite = PaletteRGB(255, 255, 255);

const std::array<CCommandButton, 10> kCommandButtons = {{
    {kCmdGroup, "Group", "Click here to group the selected shapes."},
    {kCmdUngroup, "Ungroup", "Click here to separate the selected groups."},
    {kCmdCopy, "Copy", "Click here to copy the selected shapes."},
    {kCmdStamp, "Stamp", "Click here to stamp the selected shapes."},
    {kCmdEnlarge, "Enlarge", "Click here to make the selected shapes bigger."},
    {kCmdReduce, "Reduce", "Click here to make the selected shapes smaller."},
    {kCmdFlipHorizontal, "Flip H", "Click here to flip the selected shapes sideways."},
    {kCmdFlipVertical, "Flip V", "Click here to flip the selected shapes upside-down."},
    {kCmdRotateRight, "Rot. R", "Click here to rotate the selected shapes to the right."},
    {kCmdRotateLeft, "Rot. L", "Click here to rotate the selected shapes to the left."},
}};

const std::array<CColorButton, 8> kColorButtons = {{
    {1071, PaletteRGB(0xFF, 0xFF, 0xFF), "White"},
    {1072, PaletteRGB(0x00, 0x00, 0x00), "Black"},
    {1073, PaletteRGB(0xFF, 0xF7, 0x00), "Yellow"},
    {1074, PaletteRGB(0x00, 0x08, 0xFF), "Indigo"},
    {1075, PaletteRGB(0xFF, 0x00, 0x00), "Red"},
    {1076, PaletteRGB(0x00, 0xFF, 0x00), "Green"},
    {1077, PaletteRGB(0xFF, 0x00, 0xFF), "Magenta"},
    {1078, PaletteRGB(0x08, 0x9C, 0x00), "Forest green"},
}};

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// A whole text as a number, in the C locale whatever the program's locale.
std::optional<double> ParseNumber(const std::string& text) {
    const std::string t = Trimmed(text);
    const char* begin = t.data();
    const char* end = t.data() + t.size();
    if (begin != end && *begin == '+')
        ++begin;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || begin == end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

CRect Normalised(CPoint a, CPoint b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
}

CRect Box(CPoint c, int half) {
    return {c.x - half, c.y - half, c.x + half, c.y + half};
}

} // namespace

const std::array<CCommandButton, 10>& ShapeCommandButtons() {
    return kCommandButtons;
}

const std::array<CColorButton, 8>& ColorButtons() {
    return kColorButtons;
}

std::optional<double> ParseRotationAngle(const std::string& text) {
    const auto value = ParseNumber(text);
    if (!value || !(*value > 0) || *value > 360)
        return std::nullopt;
    return value;
}

std::string SpinAngleText(const std::string& text, int delta) {
    double value = ParseNumber(text).value_or(0) + delta;
    if (value > 360)
        value = 0;
    else if (value < 0)
        value = 360;
    char buf[64];
    // "%.1f" with a fractional part, "%g" without; to_chars keeps the point a point in
    // every locale.
    const auto result =
        value != std::trunc(value)
            ? std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 1)
            : std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    return std::string(buf, result.ptr);
}

CShapeCommandController::CShapeCommandController(CGeometryUnitDocument& doc, IPrompter& prompter,
                                                 ITimerHost& timers)
    : m_doc(doc), m_prompter(prompter), m_timers(timers) {}

CShapeCommandController::~CShapeCommandController() {
    if (m_timer != 0)
        m_timers.KillTimer(m_timer);
}

void CShapeCommandController::SetScriptState(bool recording, bool playing) {
    m_scriptRecording = recording;
    m_scriptPlaying = playing;
}

void CShapeCommandController::Notify(int id, double angle, const std::string& angleText) {
    if (m_observer)
        m_observer->CommandSucceeded({id, angle, angleText});
}

bool CShapeCommandController::OnCommand(int id) {
    EndKeyMoves();
    switch (id) {
    case kCmdGroup:
        OnGroup();
        return true;
    case kCmdUngroup:
        OnUngroup();
        return true;
    case kCmdCopy:
        OnCopy();
        return true;
    case kCmdStamp:
        OnStamp();
        return true;
    case kCmdEnlarge:
        OnEnlarge();
        return true;
    case kCmdReduce:
        OnReduce();
        return true;
    case kCmdFlipHorizontal:
        OnFlipHorizontal();
        return true;
    case kCmdFlipVertical:
        OnFlipVertical();
        return true;
    case kCmdRotateRight:
        OnRotateRight();
        return true;
    case kCmdRotateLeft:
        OnRotateLeft();
        return true;
    case kCmdThinLine:
        OnLineWidth(1);
        return true;
    case kCmdThickLine:
        OnLineWidth(2);
        return true;
    case kCmdSendToBack:
        OnSendToBack();
        return true;
    case kCmdBringToFront:
        OnBringToFront();
        return true;
    case kCmdSelectAllShapes:
        OnSelectAllShapes();
        return true;
    case kCmdClearAnglemeters:
        OnClearAnglemeters();
        return true;
    case kCmdResetRotationPoint:
        OnResetRotationPoint();
        return true;
    default:
        break;
    }
    if (id >= kCmdFirstColor && id <= kCmdLastColor) {
        OnColor(kColorButtons[static_cast<std::size_t>(id - kCmdFirstColor)].color);
        return true;
    }
    return false;
}

// --- guards and helpers ----------------------------------------------------------------------

bool CShapeCommandController::Allowed(Guard guard) {
    if (IsAnimating())
        return false;
    const auto& selection = m_doc.selection();
    const bool onlyAnnotations =
        std::all_of(selection.begin(), selection.end(), [](auto* m) { return m->IsAnnotation(); });
    if (selection.empty() || (guard == Guard::Transformation && onlyAnnotations)) {
        m_prompter.MessageBox(kPleaseSelect, MessageIcon::Exclamation);
        return false;
    }
    return true;
}

void CShapeCommandController::ClearHighlights() {
    for (const auto& m : m_doc.manipulatives())
        if (m->highlighted())
            Invalidate(m->GetFrameOf());
    m_doc.ClearMarks();
}

void CShapeCommandController::Invalidate(const CRect& r) const {
    if (IWorkspaceView* view = m_doc.GetWorkspaceView(); view && !r.IsEmpty())
        view->InvalidateRect(r);
}

void CShapeCommandController::InvalidateAll() const {
    if (IWorkspaceView* view = m_doc.GetWorkspaceView())
        view->InvalidateAll();
}

CRect CShapeCommandController::SelectionFrame() const {
    if (m_doc.selection().empty())
        return {};
    CRect r;
    m_doc.GetSelectionFrame(r);
    return r;
}

void CShapeCommandController::MoveSelectionBy(double dx, double dy) {
    const CRect before = SelectionFrame();
    const C3DPointDouble point = m_doc.selectionRotationPoint();
    if (!m_doc.MoveSelection(dx, dy))
        return;
    if (m_doc.selection().size() > 1)
        m_doc.SetSelectionRotationPoint({point.x + dx, point.y + dy, point.z});
    else
        m_doc.RecomputeSelectionRotationPoint();
    Invalidate(before.United(SelectionFrame()));
}

void CShapeCommandController::Deselect(CManipulative* m) {
    Invalidate(SelectionFrame());
    m->SetSelected(false, true);
    m_doc.Unselect(m);
    Invalidate(m->GetFrameOf());
}

void CShapeCommandController::UpdatePanel() {
    if (m_panel) {
        m_panel->ShowLineWidth(SelectionLineWidth());
        m_panel->ShowColor(SelectionColor());
    }
}

void CShapeCommandController::AfterCommand() {
    m_doc.RecomputeSelectionRotationPoint();
    UpdatePanel();
}

// --- commands --------------------------------------------------------------------------------

void CShapeCommandController::OnGroup() {
    if (!Allowed(Guard::Selection))
        return;
    const std::vector<CManipulative*> selection = m_doc.selection();
    std::vector<CManipulative*> taken;
    for (CManipulative* m : selection)
        if (!m->IsAnnotation())
            taken.push_back(m);
    if (selection.size() < 2 || taken.empty())
        return;
    const bool tooDeep = std::any_of(taken.begin(), taken.end(),
                                     [](auto* m) { return GroupDepth(*m) >= kMaxGroupDepth; });
    if (tooDeep) {
        m_prompter.MessageBox(kGroupTooDeep, MessageIcon::Exclamation);
        return;
    }
    m_doc.MarkUndoStep();
    CPolyShapeManipulative::MemberList members;
    for (CManipulative* m : taken)
        members.push_back(m->Clone());
    // Annotations stay in the workspace: only what went into the group leaves it.
    for (CManipulative* m : taken)
        m_doc.DeleteManipulative(m);
    m_doc.DeselectAll();
    CManipulative* group =
        m_doc.AddManipulative(std::make_unique<CPolyShapeManipulative>(std::move(members)));
    m_doc.Select(group);
    Invalidate(group->GetFrameOf());
    AfterCommand();
    Notify(kCmdGroup);
}

void CShapeCommandController::OnUngroup() {
    if (!Allowed(Guard::Selection))
        return;
    std::vector<CManipulative*> groups;
    for (CManipulative* m : m_doc.selection())
        if (m->GetType() == kTypePolyShape)
            groups.push_back(m);
    if (groups.empty())
        return;
    m_doc.MarkUndoStep();
    std::vector<CManipulative*> added;
    for (CManipulative* group : groups) {
        std::unique_ptr<CManipulative> owned = m_doc.RemoveManipulative(group);
        if (!owned)
            continue;
        for (const auto& member : *owned->GetMembers())
            added.push_back(m_doc.AddManipulative(member->Clone()));
    }
    for (CManipulative* m : added)
        m_doc.Select(m);
    Invalidate(SelectionFrame());
    AfterCommand();
}

void CShapeCommandController::OnCopy() {
    if (!Allowed(Guard::Selection))
        return;
    m_doc.MarkUndoStep();
    const std::vector<CManipulative*> selection = m_doc.selection();
    for (CManipulative* m : selection) {
        auto copy = m->Clone();
        copy->SetScriptMark(m_scriptRecording || m_scriptPlaying);
        m_doc.AddManipulative(std::move(copy));
    }
    MoveSelectionBy(kCopyOffset, kCopyOffset);
    UpdatePanel();
    Notify(kCmdCopy);
}

void CShapeCommandController::OnStamp() {
    if (!Allowed(Guard::Selection))
        return;
    m_doc.MarkUndoStep();
    const std::vector<CManipulative*> selection = m_doc.selection();
    for (CManipulative* m : selection) {
        auto copy = m->Clone();
        copy->SetScriptMark(m_scriptRecording || m_scriptPlaying);
        copy->SetHighlighted(true);
        CManipulative* added = m_doc.AddManipulative(std::move(copy));
        if (m_scriptRecording || m_scriptPlaying)
            m_stampList.push_back(added);
    }
    AfterCommand();
    Notify(kCmdStamp);
}

bool CShapeCommandController::OnEnlarge() {
    return StartScale(true);
}

bool CShapeCommandController::OnReduce() {
    return StartScale(false);
}

bool CShapeCommandController::StartScale(bool enlarge) {
    if (!Allowed(Guard::Transformation))
        return false;
    const auto& selection = m_doc.selection();
    int highest = -100;
    int lowest = 100;
    for (const CManipulative* m : selection) {
        highest = std::max(highest, m->GetHighestScaleLevel());
        lowest = std::min(lowest, m->GetLowestScaleLevel());
    }
    if (enlarge ? highest >= kHighestScaleLevel : lowest <= kLowestScaleLevel)
        return false;
    m_doc.MarkUndoStep();
    ClearHighlights();
    for (CManipulative* m : selection) {
        if (enlarge)
            m->RaiseScaleLevel();
        else
            m->LowerScaleLevel();
    }
    m_step = std::pow(enlarge ? 2.0 : 0.5, 1.0 / 12);
    m_accumulated = 0;
    m_centre = m_doc.selectionRotationPoint();
    Notify(enlarge ? kCmdEnlarge : kCmdReduce);
    StartAnimation(kScaleTimer);
    return true;
}

bool CShapeCommandController::OnFlipHorizontal() {
    return StartFlip(kFlipHorizontalTimer);
}

bool CShapeCommandController::OnFlipVertical() {
    return StartFlip(kFlipVerticalTimer);
}

bool CShapeCommandController::StartFlip(std::uint32_t timer) {
    if (!Allowed(Guard::Transformation))
        return false;
    m_doc.MarkUndoStep();
    ClearHighlights();
    m_accumulated = 0;
    m_centre = m_doc.selectionRotationPoint();
    Notify(timer == kFlipHorizontalTimer ? kCmdFlipHorizontal : kCmdFlipVertical);
    StartAnimation(timer);
    return true;
}

bool CShapeCommandController::OnRotateRight() {
    const std::string text = m_panel ? m_panel->AngleText() : std::string();
    return StartRotation(ParseRotationAngle(text).value_or(0), true, Trimmed(text));
}

bool CShapeCommandController::OnRotateLeft() {
    const std::string text = m_panel ? m_panel->AngleText() : std::string();
    return StartRotation(ParseRotationAngle(text).value_or(0), false, Trimmed(text));
}

bool CShapeCommandController::Rotate(double degrees, bool right) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, degrees);
    return StartRotation(degrees, right, std::string(text, result.ptr));
}

bool CShapeCommandController::StartRotation(double degrees, bool right,
                                            const std::string& angleText) {
    if (!Allowed(Guard::Transformation))
        return false;
    // The angle is checked before anything changes, highlights included.
    if (!(degrees > 0) || degrees > 360) {
        m_prompter.MessageBox(kAngleRange, MessageIcon::Exclamation);
        return false;
    }
    m_doc.MarkUndoStep();
    ClearHighlights();
    m_target = degrees * 2 * kPi / 360;
    m_step = right ? kRotateStep : -kRotateStep;
    m_accumulated = 0;
    m_centre = m_doc.selectionRotationPoint();
    Notify(right ? kCmdRotateRight : kCmdRotateLeft, degrees, angleText);
    StartAnimation(kRotateTimer);
    return true;
}

bool CShapeCommandController::Slide(double dx, double dy) {
    if (!Allowed(Guard::Selection))
        return false;
    m_doc.MarkUndoStep();
    ClearHighlights();
    m_slideDx = dx / kSlideParts;
    m_slideDy = dy / kSlideParts;
    m_accumulated = 0;
    Notify(kCmdSlide);
    StartAnimation(kSlideTimer, kSlideIntervalMs);
    return true;
}

void CShapeCommandController::OnAngleUp() {
    if (m_panel)
        m_panel->SetAngleText(SpinAngleText(m_panel->AngleText(), 1));
}

void CShapeCommandController::OnAngleDown() {
    if (m_panel)
        m_panel->SetAngleText(SpinAngleText(m_panel->AngleText(), -1));
}

void CShapeCommandController::OnLineWidth(int width) {
    if (!Allowed(Guard::Selection))
        return;
    m_doc.MarkUndoStep();
    const CRect before = SelectionFrame();
    for (CManipulative* m : m_doc.selection())
        m->SetLineWidth(width);
    m_doc.SetModifiedFlag();
    Invalidate(before.United(SelectionFrame()));
    AfterCommand();
}

void CShapeCommandController::OnColor(Color color) {
    if (!Allowed(Guard::Selection))
        return;
    const auto& selection = m_doc.selection();
    const bool hasGroup = std::any_of(selection.begin(), selection.end(),
                                      [](auto* m) { return m->GetType() == kTypePolyShape; });
    if (hasGroup && !m_scriptPlaying &&
        m_prompter.MessageBox(kGroupColorQuestion, MessageIcon::Question, MessageButtons::YesNo) !=
            MessageResult::Yes)
        return;
    m_doc.MarkUndoStep();
    for (CManipulative* m : selection)
        m->SetColor(color);
    m_doc.SetModifiedFlag();
    Invalidate(SelectionFrame());
    AfterCommand();
    for (const CColorButton& button : kColorButtons)
        if (button.color == color)
            Notify(button.id);
}

void CShapeCommandController::OnBringToFront() {
    if (!Allowed(Guard::Selection))
        return;
    m_doc.MarkUndoStep();
    m_doc.BringToFront();
    AfterCommand();
}

void CShapeCommandController::OnSendToBack() {
    if (!Allowed(Guard::Selection))
        return;
    m_doc.MarkUndoStep();
    m_doc.SendToBack();
    AfterCommand();
}

void CShapeCommandController::OnSelectAllShapes() {
    if (IsAnimating() || m_doc.manipulatives().empty())
        return;
    m_doc.DeselectAll();
    for (const auto& m : m_doc.manipulatives()) {
        const std::int32_t type = m->GetType();
        if (type != kTypeAnglemeter && type != kTypeLine && !m->IsAnnotation())
            m_doc.Select(m.get());
    }
    InvalidateAll();
    AfterCommand();
}

void CShapeCommandController::OnClearAnglemeters() {
    if (IsAnimating())
        return;
    if (m_prompter.MessageBox(kClearAnglemetersQuestion, MessageIcon::Question,
                              MessageButtons::OkCancel) != MessageResult::Ok)
        return;
    std::vector<CManipulative*> doomed;
    for (const auto& m : m_doc.manipulatives())
        if (m->GetType() == kTypeAnglemeter)
            doomed.push_back(m.get());
    if (!doomed.empty()) {
        m_doc.MarkUndoStep();
        for (CManipulative* m : doomed)
            m_doc.DeleteManipulative(m);
    }
    InvalidateAll();
    AfterCommand();
}

bool CShapeCommandController::CanResetRotationPoint() const {
    return m_rotationPointMode == RotationPointMode::Set && !m_doc.selection().empty() &&
           !m_scriptPlaying && !IsAnimating();
}

void CShapeCommandController::OnResetRotationPoint() {
    if (IsAnimating() || m_doc.selection().size() != 1)
        return;
    CManipulative* m = m_doc.selection().front();
    const CRect before = SelectionFrame();
    m_doc.MarkUndoStep();
    m->SetRotationPoint(m->centre());
    m_doc.RecomputeSelectionRotationPoint();
    m_doc.SetModifiedFlag();
    Invalidate(before.United(SelectionFrame()));
}

// --- animations ------------------------------------------------------------------------------

void CShapeCommandController::StartAnimation(std::uint32_t timer, int intervalMs) {
    m_timer = timer;
    m_lastFrame = SelectionFrame();
    if (m_timers.StartTimer(timer, intervalMs, this))
        return;
    // Without a timer the transformation still completes, only without its animation.
    while (Tick()) {
    }
}

void CShapeCommandController::OnTimer(std::uint32_t id) {
    if (id == m_timer)
        Tick();
}

bool CShapeCommandController::Tick() {
    if (m_timer == 0)
        return false;
    const auto& selection = m_doc.selection();
    bool done = false;
    switch (m_timer) {
    case kScaleTimer:
        for (CManipulative* m : selection)
            m->Scale(m_step, m_centre);
        m_accumulated += 1;
        done = m_accumulated >= kScaleTicks;
        break;
    case kFlipHorizontalTimer:
    case kFlipVerticalTimer:
        for (CManipulative* m : selection) {
            if (m_timer == kFlipHorizontalTimer)
                m->FlipStepCrossAxis(m_centre);
            else
                m->FlipStep(m_centre);
        }
        m_accumulated += 1;
        done = m_accumulated >= kFlipSteps;
        break;
    case kSlideTimer:
        MoveSelectionBy(m_slideDx, m_slideDy);
        m_accumulated += 1;
        done = m_accumulated >= kSlideParts;
        break;
    case kRotateTimer: {
        double step = m_step;
        const bool right = m_step > 0;
        const double next = m_accumulated + step;
        if (right ? next >= m_target - kAngleSlack : next <= -m_target + kAngleSlack) {
            step = right ? m_target - m_accumulated : -m_target - m_accumulated;
            done = true;
        }
        m_accumulated += step;
        for (CManipulative* m : selection)
            m->Rotate(step, m_centre);
        break;
    }
    default:
        done = true;
        break;
    }
    const CRect frame = SelectionFrame();
    Invalidate(m_lastFrame.United(frame));
    m_lastFrame = frame;
    if (done)
        FinishAnimation();
    return !done;
}

bool CShapeCommandController::SmoothingAffordable() const {
    constexpr std::size_t kSmoothedLimit = 1000;
    constexpr std::size_t kSmoothedAnimationLimit = 100;
    return m_doc.manipulatives().size() <= kSmoothedLimit &&
           !(IsAnimating() && m_doc.selection().size() > kSmoothedAnimationLimit);
}

void CShapeCommandController::FinishAnimation() {
    m_timers.KillTimer(m_timer);
    m_timer = 0;
    m_doc.SetModifiedFlag();
    AfterCommand();
    InvalidateAll();
    if (m_panel)
        m_panel->AnimationFinished();
    if (m_observer)
        m_observer->AnimationEnded();
}

void CShapeCommandController::StopAnimation() {
    if (m_timer == 0)
        return;
    m_timers.KillTimer(m_timer);
    m_timer = 0;
    m_doc.SetModifiedFlag();
    AfterCommand();
    InvalidateAll();
}

// --- drawers ---------------------------------------------------------------------------------

CManipulative* CShapeCommandController::TakeFromDrawer(int drawer, int slot,
                                                       const C3DPointDouble& drop) {
    if (IsAnimating())
        return nullptr;
    auto made = m_doc.MakeFromDrawer(drawer, slot, drop);
    if (!made)
        return nullptr;
    m_doc.MarkUndoStep();
    return m_doc.AddFromDrawer(std::move(made));
}

// --- mouse -----------------------------------------------------------------------------------

void CShapeCommandController::MouseDown(CPoint p, MouseModifiers modifiers) {
    EndKeyMoves();
    if (IsAnimating() || m_action != MouseAction::None)
        return;
    const int tool = m_doc.currentTool();
    if (tool == kToolEraser) {
        if (CManipulative* hit = m_doc.HitTest(p)) {
            m_doc.MarkUndoStep();
            m_doc.DeleteManipulative(hit);
            AfterCommand();
        }
        return;
    }
    if (tool != kToolArrow && tool != kToolSelector)
        return;
    m_last = m_dragStart = p;
    m_moved = false;
    if (m_rotationPointMode == RotationPointMode::Set && m_doc.IsOnSelectionRotationPoint(p)) {
        m_doc.MarkUndoStep();
        m_action = MouseAction::DragRotationPoint;
        return;
    }
    CManipulative* hit = m_doc.HitTest(p);
    if (hit && hit->fixed())
        hit = nullptr;
    const bool adding = modifiers.shift || modifiers.control;
    const bool toggle = tool == kToolSelector || adding;
    if (!hit) {
        // Empty workspace starts afresh with either tool: a click clears the selection and a
        // band selects only what it holds, unless Shift or Ctrl adds to what was selected.
        if (!adding)
            m_doc.DeselectAll();
        m_action = MouseAction::RubberBand;
        UpdatePanel();
        return;
    }
    if (toggle && hit->selected()) {
        Deselect(hit);
        UpdatePanel();
        return;
    }
    if (!hit->selected()) {
        if (!toggle)
            m_doc.DeselectAll();
        m_doc.Select(hit);
        Invalidate(SelectionFrame());
    }
    UpdatePanel();
    m_doc.MarkUndoStep();
    m_action = MouseAction::DragSelection;
    const CRect frame = SelectionFrame();
    m_dragFrameStart = {frame.left, frame.top};
}

void CShapeCommandController::MouseMove(CPoint p) {
    const int dx = p.x - m_last.x;
    const int dy = p.y - m_last.y;
    if (dx == 0 && dy == 0)
        return;
    switch (m_action) {
    case MouseAction::None:
        return;
    case MouseAction::DragSelection:
        MoveSelectionBy(dx, dy);
        break;
    case MouseAction::DragRotationPoint: {
        const CRect before = SelectionFrame();
        const C3DPointDouble r = m_doc.selectionRotationPoint();
        m_doc.SetSelectionRotationPoint({r.x + dx, r.y + dy, r.z});
        Invalidate(before.United(SelectionFrame()));
        break;
    }
    case MouseAction::RubberBand: {
        CRect band = Normalised(m_dragStart, m_last).United(Normalised(m_dragStart, p));
        band.Inflate(1, 1);
        Invalidate(band);
        break;
    }
    }
    m_last = p;
    m_moved = true;
}

void CShapeCommandController::MouseUp(CPoint p) {
    MouseMove(p);
    const MouseAction action = m_action;
    m_action = MouseAction::None;
    switch (action) {
    case MouseAction::None:
        return;
    case MouseAction::DragSelection:
        if (m_moved && m_snapping)
            SnapSelection();
        if (m_moved && m_observer) {
            const CRect frame = SelectionFrame();
            const int dx = frame.left - m_dragFrameStart.x;
            const int dy = frame.top - m_dragFrameStart.y;
            if (dx != 0 || dy != 0)
                m_observer->SelectionDragged(dx, dy);
        }
        break;
    case MouseAction::DragRotationPoint:
        break;
    case MouseAction::RubberBand: {
        const CRect band = Normalised(m_dragStart, p);
        if (m_moved)
            SelectInside(band);
        CRect grown = band;
        grown.Inflate(1, 1);
        Invalidate(grown);
        break;
    }
    }
    UpdatePanel();
}

bool CShapeCommandController::SelectNextByKey(bool backwards) {
    if (IsAnimating() || m_action != MouseAction::None)
        return false;
    EndKeyMoves();
    // Topmost first: the order in which a click would find them.
    std::vector<CManipulative*> order;
    const auto& all = m_doc.manipulatives();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (!(*it)->fixed() && (*it)->visible())
            order.push_back(it->get());
    if (backwards)
        std::reverse(order.begin(), order.end());
    const auto& selection = m_doc.selection();
    auto next = order.begin();
    if (!selection.empty()) {
        const auto at = std::find(order.begin(), order.end(), selection.back());
        next = at == order.end() ? order.begin() : at + 1;
    }
    Invalidate(SelectionFrame());
    m_doc.DeselectAll();
    const bool found = next != order.end();
    if (found) {
        m_doc.Select(*next);
        Invalidate(SelectionFrame());
    }
    UpdatePanel();
    return found;
}

bool CShapeCommandController::MoveSelectionByKey(int dx, int dy) {
    if (IsAnimating() || m_action != MouseAction::None || m_doc.selection().empty())
        return false;
    if (!m_keyMoving) {
        m_doc.MarkUndoStep();
        m_keyMoving = true;
        m_keyMoved = {0, 0};
    }
    MoveSelectionBy(dx, dy);
    m_keyMoved.x += dx;
    m_keyMoved.y += dy;
    return true;
}

void CShapeCommandController::EndKeyMoves() {
    if (!m_keyMoving)
        return;
    m_keyMoving = false;
    if (m_observer && (m_keyMoved.x != 0 || m_keyMoved.y != 0))
        m_observer->SelectionDragged(m_keyMoved.x, m_keyMoved.y);
}

bool CShapeCommandController::CancelMouse() {
    if (m_action == MouseAction::None)
        return false;
    // Back to where the press was: the selection, its rotation point or the band follow.
    MouseMove(m_dragStart);
    m_action = MouseAction::None;
    UpdatePanel();
    return true;
}

void CShapeCommandController::DropSelectionIntoDrawer() {
    if (m_action != MouseAction::DragSelection)
        return;
    m_action = MouseAction::None;
    m_doc.DeleteSelection();
    AfterCommand();
    InvalidateAll();
}

std::optional<CRect> CShapeCommandController::rubberBand() const {
    if (m_action != MouseAction::RubberBand)
        return std::nullopt;
    return Normalised(m_dragStart, m_last);
}

void CShapeCommandController::SnapSelection() {
    // The best pair over every selected and unselected manipulative, by the same rule that
    // picks the best pair between two of them.
    const auto& selection = m_doc.selection();
    bool found = false;
    C3DPointDouble bestMine, bestTheirs;
    double bestDx = std::numeric_limits<double>::max();
    double bestDy = std::numeric_limits<double>::max();
    for (const CManipulative* mine : selection) {
        for (const auto& other : m_doc.manipulatives()) {
            if (other->selected() || !other->visible() || other->IsAnnotation())
                continue;
            C3DPointDouble a, b;
            if (!mine->FindSnapPair(*other, a, b))
                continue;
            const double ax = std::fabs(a.x - b.x);
            const double ay = std::fabs(a.y - b.y);
            if (ax < bestDx || ay < bestDy) {
                bestMine = a;
                bestTheirs = b;
                bestDx = ax;
                bestDy = ay;
                found = true;
            }
        }
    }
    if (found)
        MoveSelectionBy(bestTheirs.x - bestMine.x, bestTheirs.y - bestMine.y);
}

void CShapeCommandController::SelectInside(const CRect& band) {
    for (const auto& m : m_doc.manipulatives()) {
        CRect b;
        m->GetBounds(b);
        if (b.IsEmpty() || !m->visible())
            continue;
        if (b.left >= band.left && b.top >= band.top && b.right <= band.right &&
            b.bottom <= band.bottom)
            m_doc.Select(m.get());
    }
    Invalidate(SelectionFrame());
}

// --- drawing and queries ---------------------------------------------------------------------

void CShapeCommandController::Draw(IDrawingSurface& dc, const CRect& clip) const {
    for (const auto& m : m_doc.manipulatives())
        if (m->GetFrameOf().Intersects(clip))
            m->Draw(dc);
    if (m_doc.currentTool() == kToolHideShowLines) {
        for (const auto& m : m_doc.manipulatives())
            if (m->GetType() != kTypeAnglemeter && !m->IsAnnotation())
                m->DrawOutline(dc);
    }
    DrawSelectionRotationPoint(dc);
    if (const auto band = rubberBand()) {
        dc.SetPen(1, kBlack);
        dc.SetNullBrush();
        dc.Rectangle(*band);
    }
}

void CShapeCommandController::DrawSelectionRotationPoint(IDrawingSurface& dc) const {
    if (m_rotationPointMode == RotationPointMode::Hide)
        return;
    const auto& selection = m_doc.selection();
    if (selection.empty())
        return;
    const bool allAnnotations =
        std::all_of(selection.begin(), selection.end(), [](auto* m) { return m->IsAnnotation(); });
    const bool allAnglemeters = std::all_of(selection.begin(), selection.end(), [](auto* m) {
        return m->GetType() == kTypeAnglemeter;
    });
    if (allAnnotations || allAnglemeters)
        return;
    C3DPointDouble reference;
    if (selection.size() == 1) {
        reference = selection.front()->centre();
    } else {
        for (const CManipulative* m : selection) {
            reference.x += m->rotationPoint().x;
            reference.y += m->rotationPoint().y;
        }
        reference.x /= static_cast<double>(selection.size());
        reference.y /= static_cast<double>(selection.size());
    }
    const CPoint r = m_doc.selectionRotationPoint().Rounded();
    dc.SetPen(1, kBlack);
    dc.Line(reference.Rounded(), r);
    if (m_rotationPointMode == RotationPointMode::Set) {
        dc.SetBrush(kWhite);
        dc.Ellipse(Box(r, 5));
    }
    dc.SetBrush(kBlack);
    dc.Ellipse(Box(r, 2));
}

int CShapeCommandController::SelectionLineWidth() const {
    const auto& selection = m_doc.selection();
    if (selection.empty())
        return 0;
    const int first = selection.front()->GetLineWidth();
    for (const CManipulative* m : selection)
        if (m->GetLineWidth() != first)
            return 0;
    return std::max(first, 0);
}

Color CShapeCommandController::SelectionColor() const {
    const auto& selection = m_doc.selection();
    if (selection.empty())
        return kNoColor;
    const Color first = selection.front()->GetColor();
    for (const CManipulative* m : selection)
        if (m->GetColor() != first)
            return kNoColor;
    return first;
}

} // namespace quorvel

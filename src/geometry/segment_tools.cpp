// The segment tools: anglemeter placing and dragging, the line maker's gestures, cutting and
// hiding segments, each action one undo step.
#include "geometry/segment_tools.h"

#include "geometry/anglemeter_manipulative.h"
#include "geometry/geometry_document.h"
#include "workspace/drawing_surface.h"
#include "workspace/prompter.h"
#include "workspace/tool_palette.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace quorvel {

namespace {

constexpr Color kBlack = PaletteRGB(0, 0, 0);
// A press or release this close to an end of the line being made joins it there.
constexpr int kJoinDistance = 8;

CAnglemeterManipulative* AsAnglemeter(CManipulative* m) {
    return m->GetType() == kTypeAnglemeter ? static_cast<CAnglemeterManipulative*>(m) : nullptr;
}

} // namespace

CSegmentToolController::CSegmentToolController(CGeometryUnitDocument& doc, IPrompter& prompter,
                                               ITextMetrics& metrics)
    : m_doc(doc), m_prompter(prompter), m_metrics(metrics) {}

// --- mouse -----------------------------------------------------------------------------------

bool CSegmentToolController::MouseDown(CPoint p) {
    const int tool = m_doc.currentTool();
    const bool ours = tool == kToolAnglemeter || tool == kToolLinemaker || tool == kToolCutShape ||
                      tool == kToolHideShowLines;
    if (m_action != SegmentToolAction::None)
        return true;
    if (Busy())
        return ours || (tool == kToolArrow && AnglemeterAt(p));
    switch (tool) {
    case kToolArrow:
        return AnglemeterPress(p);
    case kToolAnglemeter:
        if (!AnglemeterPress(p))
            PlaceAnglemeter(p);
        return true;
    case kToolLinemaker:
        m_start = SnapToSegments(p);
        m_last = p;
        m_action = SegmentToolAction::DrawSegment;
        return true;
    case kToolCutShape:
        m_start = m_last = p;
        m_action = SegmentToolAction::DrawCut;
        return true;
    case kToolHideShowLines:
        ToggleLinesAt(p);
        return true;
    default:
        return false;
    }
}

bool CSegmentToolController::AnglemeterPress(CPoint p) {
    CAnglemeterManipulative* hit = AnglemeterAt(p);
    if (!hit)
        return false;
    // One drag is one step, whatever it turns or moves.
    m_doc.MarkUndoStep();
    m_anglemeter = hit;
    m_start = m_last = p;
    m_action = hit->BeginHandleDrag(C3DPointDouble(p)) ? SegmentToolAction::DragArm
                                                       : SegmentToolAction::MoveAnglemeter;
    // Picked with the Arrow by an arm or the label (a handle only turns its arm), it is the
    // selection that Flip and Rotate work on.
    if (m_action == SegmentToolAction::MoveAnglemeter && m_doc.currentTool() == kToolArrow &&
        !hit->selected()) {
        m_doc.DeselectAll();
        m_doc.Select(hit);
    }
    return true;
}

bool CSegmentToolController::MouseMove(CPoint p) {
    switch (m_action) {
    case SegmentToolAction::None:
        return false;
    case SegmentToolAction::DragArm:
    case SegmentToolAction::MoveAnglemeter: {
        // Undo or a menu command may have taken the anglemeter away meanwhile.
        if (m_doc.IndexOf(m_anglemeter) < 0) {
            m_action = SegmentToolAction::None;
            m_anglemeter = nullptr;
            return true;
        }
        const CRect before = m_anglemeter->GetFrameOf();
        bool changed = false;
        if (m_action == SegmentToolAction::DragArm) {
            changed = m_anglemeter->DragHandle(C3DPointDouble(p));
        } else if (!m_anglemeter->fixed() && (p.x != m_last.x || p.y != m_last.y)) {
            m_anglemeter->MoveBy(p.x - m_last.x, p.y - m_last.y);
            changed = true;
        }
        if (changed) {
            if (m_anglemeter->selected())
                m_doc.RecomputeSelectionRotationPoint();
            m_doc.SetModifiedFlag();
            Invalidate(before.United(m_anglemeter->GetFrameOf()));
        }
        break;
    }
    case SegmentToolAction::DrawSegment:
    case SegmentToolAction::DrawCut:
        InvalidateLine(m_start, m_last);
        InvalidateLine(m_start, p);
        break;
    }
    m_last = p;
    return true;
}

bool CSegmentToolController::MouseUp(CPoint p) {
    if (m_action == SegmentToolAction::None)
        return false;
    MouseMove(p);
    const SegmentToolAction action = m_action;
    m_action = SegmentToolAction::None;
    switch (action) {
    case SegmentToolAction::DragArm:
        if (m_doc.IndexOf(m_anglemeter) >= 0)
            m_anglemeter->ReleaseHandle();
        break;
    case SegmentToolAction::DrawSegment: {
        InvalidateLine(m_start, p);
        const CPoint end = SnapToSegments(p);
        // A click without a drag draws nothing (the first click of a double click).
        if (end != m_start) {
            m_segments.emplace_back(m_start, end);
            InvalidateLine(m_start, end);
        }
        break;
    }
    case SegmentToolAction::DrawCut:
        InvalidateLine(m_start, p);
        if (p != m_start)
            CutAlong(m_start, p);
        break;
    default:
        break;
    }
    m_anglemeter = nullptr;
    return true;
}

bool CSegmentToolController::DoubleClick(CPoint p) {
    if (m_doc.currentTool() != kToolLinemaker)
        return MouseDown(p);
    m_action = SegmentToolAction::None;
    FinishLine(true);
    return true;
}

bool CSegmentToolController::Escape() {
    if (m_doc.currentTool() != kToolLinemaker && m_segments.empty())
        return false;
    if (m_action == SegmentToolAction::DrawSegment)
        InvalidateLine(m_start, m_last);
    m_action = SegmentToolAction::None;
    FinishLine(true);
    return true;
}

void CSegmentToolController::ToolChanged(int tool) {
    if (m_action == SegmentToolAction::DragArm && m_doc.IndexOf(m_anglemeter) >= 0)
        m_anglemeter->ReleaseHandle();
    if (m_action == SegmentToolAction::DrawSegment || m_action == SegmentToolAction::DrawCut)
        InvalidateLine(m_start, m_last);
    m_action = SegmentToolAction::None;
    m_anglemeter = nullptr;
    // The pupil's segments are kept as a line rather than lost with the tool.
    if (tool != kToolLinemaker && !m_segments.empty())
        FinishLine(false);
    // Hidden segments show in grey only under Hide/Show Lines.
    if (tool != m_tool && (tool == kToolHideShowLines || m_tool == kToolHideShowLines))
        InvalidateAll();
    m_tool = tool;
}

// --- actions ---------------------------------------------------------------------------------

CAnglemeterManipulative* CSegmentToolController::PlaceAnglemeter(CPoint vertex) {
    auto anglemeter = std::make_unique<CAnglemeterManipulative>(C3DPointDouble(vertex), m_metrics);
    m_doc.MarkUndoStep();
    auto* added =
        static_cast<CAnglemeterManipulative*>(m_doc.AddManipulative(std::move(anglemeter)));
    Invalidate(added->GetFrameOf());
    return added;
}

bool CSegmentToolController::CutAlong(CPoint a, CPoint b) {
    const auto& list = m_doc.manipulatives();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        CManipulative* m = it->get();
        std::vector<std::unique_ptr<CManipulative>> pieces;
        m->CutAlong(C3DPointDouble(a), C3DPointDouble(b), pieces);
        if (pieces.empty())
            continue;
        m_doc.MarkUndoStep();
        const auto index = static_cast<std::size_t>(m_doc.IndexOf(m));
        // Removing it takes it out of the selection and redraws where it was.
        m_doc.RemoveManipulative(m);
        for (std::size_t i = 0; i < pieces.size(); ++i)
            m_doc.InsertManipulative(index + i, std::move(pieces[i]));
        m_doc.SetModifiedFlag();
        return true;
    }
    return false;
}

bool CSegmentToolController::ToggleLinesAt(CPoint p) {
    const C3DPointDouble at(p);
    const auto toggleAll = [&] {
        bool toggled = false;
        const auto& list = m_doc.manipulatives();
        for (auto it = list.rbegin(); it != list.rend(); ++it)
            toggled = (*it)->ToggleLineAt(at) || toggled;
        return toggled;
    };
    if (!toggleAll())
        return false;
    // A second toggle at the same point restores every flag, so the state before the click
    // can be marked only once it is known that the click changes something.
    toggleAll();
    m_doc.MarkUndoStep();
    toggleAll();
    m_doc.SetModifiedFlag();
    InvalidateAll();
    return true;
}

CManipulative* CSegmentToolController::FinishLine(bool chooseArrow) {
    // Taken first: choosing the Arrow comes back here through ToolChanged.
    std::vector<CLine> segments = std::move(m_segments);
    m_segments.clear();
    CManipulative* added = nullptr;
    if (!segments.empty()) {
        try {
            auto line = m_lineFactory ? m_lineFactory(segments)
                                      : std::make_unique<CLineManipulative>(segments);
            if (line) {
                m_doc.MarkUndoStep();
                added = m_doc.AddManipulative(std::move(line));
                Invalidate(added->GetFrameOf());
            }
        } catch (const std::bad_alloc&) {
            added = nullptr;
            m_prompter.MessageBox(kOutOfMemory, MessageIcon::Exclamation);
        }
        for (const CLine& s : segments)
            InvalidateLine(s.start().Rounded(), s.end().Rounded());
    }
    if (chooseArrow)
        ChooseArrow();
    return added;
}

void CSegmentToolController::ChooseArrow() {
    if (m_chooseArrow)
        m_chooseArrow();
    else
        m_doc.SetCurrentTool(kToolArrow);
}

// --- queries ---------------------------------------------------------------------------------

CAnglemeterManipulative* CSegmentToolController::AnglemeterAt(CPoint p) const {
    const auto& list = m_doc.manipulatives();
    // Handles first: an arm end of one anglemeter may lie on the label of another.
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        CAnglemeterManipulative* a = AsAnglemeter(it->get());
        if (!a || !a->visible())
            continue;
        if (a->ArmEndAt(C3DPointDouble(p)) >= 0)
            return a;
    }
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        CAnglemeterManipulative* a = AsAnglemeter(it->get());
        if (a && a->visible() && a->HitTest(p.x, p.y))
            return a;
    }
    return nullptr;
}

const char* CSegmentToolController::ObjectHelpAt(CPoint p) const {
    return AnglemeterAt(p) ? kAnglemeterHelp : nullptr;
}

std::optional<CLine> CSegmentToolController::draggedLine() const {
    if (m_action != SegmentToolAction::DrawSegment && m_action != SegmentToolAction::DrawCut)
        return std::nullopt;
    return CLine(m_start, m_last);
}

CPoint CSegmentToolController::SnapToSegments(CPoint p) const {
    CPoint best = p;
    int bestDistance = kJoinDistance + 1;
    for (const CLine& s : m_segments) {
        for (const CPoint end : {s.start().Rounded(), s.end().Rounded()}) {
            const int d = std::max(std::abs(end.x - p.x), std::abs(end.y - p.y));
            if (d < bestDistance) {
                best = end;
                bestDistance = d;
            }
        }
    }
    return best;
}

// --- drawing ---------------------------------------------------------------------------------

void CSegmentToolController::DrawFeedback(IDrawingSurface& dc) const {
    for (const CLine& s : m_segments)
        s.Draw(dc, LineStyle::Plain);
    if (const auto line = draggedLine()) {
        dc.SetPen(1, kBlack);
        dc.Line(line->start().Rounded(), line->end().Rounded());
    }
}

void CSegmentToolController::InvalidateLine(CPoint a, CPoint b) const {
    CRect r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
    r.Inflate(2, 2);
    Invalidate(r);
}

void CSegmentToolController::Invalidate(const CRect& r) const {
    if (IWorkspaceView* view = m_doc.GetWorkspaceView(); view && !r.IsEmpty())
        view->InvalidateRect(r);
}

void CSegmentToolController::InvalidateAll() const {
    if (IWorkspaceView* view = m_doc.GetWorkspaceView())
        view->InvalidateAll();
}

} // namespace quorvel

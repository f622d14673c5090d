// The Tiles and Tessellations tools that work on segments: the Anglemeter, the Linemaker, the
// Cut-shape tool and the Hide/Show Lines tool, with the anglemeters' arms and bodies under the
// Arrow. The workspace widget offers every mouse event here first, in workspace coordinates,
// and hands those not taken on to the shape commands controller.
#pragma once

#include "workspace/line.h"
#include "workspace/types.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quorvel {

class CAnglemeterManipulative;
class CGeometryUnitDocument;
class CManipulative;
class IDrawingSurface;
class IPrompter;
class ITextMetrics;

inline constexpr const char* kOutOfMemory = "Out of Memory";
// The Help tool's text for an anglemeter.
inline constexpr const char* kAnglemeterHelp = "An Anglemeter.";

enum class SegmentToolAction { None, DragArm, MoveAnglemeter, DrawSegment, DrawCut };

class CSegmentToolController {
public:
    using LineFactory = std::function<std::unique_ptr<CManipulative>(const std::vector<CLine>&)>;

    // `metrics` sizes the label boxes of new anglemeters.
    CSegmentToolController(CGeometryUnitDocument& doc, IPrompter& prompter, ITextMetrics& metrics);
    CSegmentToolController(const CSegmentToolController&) = delete;
    CSegmentToolController& operator=(const CSegmentToolController&) = delete;

    // How the Arrow is chosen again after a line is made: the page latches its palette button
    // and selects the tool. Without one the document's tool is set directly.
    void SetArrowChooser(std::function<void()> choose) { m_chooseArrow = std::move(choose); }
    // While this answers true (an animation runs) every press is taken and ignored.
    void SetBusyQuery(std::function<bool()> busy) { m_busy = std::move(busy); }
    // How a finished line becomes a manipulative; a line manipulative unless replaced.
    void SetLineFactory(LineFactory factory) { m_lineFactory = std::move(factory); }

    // Each returns whether the event was taken; one not taken goes to the shape commands.
    // With the Arrow, presses on an anglemeter's grab handle turn that arm and presses on the
    // rest of it move it; the Anglemeter tool does the same and places a new anglemeter
    // elsewhere. The Linemaker draws one segment per press, drag and release; the Cut-shape
    // tool cuts along the line dragged; Hide/Show Lines toggles the segments under a click.
    bool MouseDown(CPoint p);
    bool MouseMove(CPoint p);
    bool MouseUp(CPoint p);
    // A double click ends the line being made.
    bool DoubleClick(CPoint p);
    // Escape ends the line being made; false when there is none and the tool is another.
    bool Escape();
    // The page chose another tool: a drag in progress ends, a line being made is finished.
    void ToolChanged(int tool);

    // The segments of the line being made, the segment or cut being dragged.
    void DrawFeedback(IDrawingSurface& dc) const;

    // Tool actions by themselves, each one undo step.
    CAnglemeterManipulative* PlaceAnglemeter(CPoint vertex);
    // The first manipulative from the top that can be cut along a-b is replaced, at its
    // place, by its pieces; false when none could be.
    bool CutAlong(CPoint a, CPoint b);
    // Every segment under p, in every manipulative, is hidden or shown; false when none was.
    bool ToggleLinesAt(CPoint p);
    // Makes the line from the segments drawn so far (when there are any) and, when asked,
    // chooses the Arrow. The new line, or null.
    CManipulative* FinishLine(bool chooseArrow = true);

    // The topmost anglemeter of the workspace whose handles or body hold p, or null.
    CAnglemeterManipulative* AnglemeterAt(CPoint p) const;
    // The Help tool's text for the object under p, or null.
    const char* ObjectHelpAt(CPoint p) const;

    SegmentToolAction action() const { return m_action; }
    const std::vector<CLine>& pendingSegments() const { return m_segments; }
    // The segment or cut being dragged, from its start to the pointer.
    std::optional<CLine> draggedLine() const;

private:
    bool Busy() const { return m_busy && m_busy(); }
    bool AnglemeterPress(CPoint p);
    // A point of the line being made close to p, or p itself.
    CPoint SnapToSegments(CPoint p) const;
    void InvalidateLine(CPoint a, CPoint b) const;
    void Invalidate(const CRect& r) const;
    void InvalidateAll() const;
    void ChooseArrow();

    CGeometryUnitDocument& m_doc;
    IPrompter& m_prompter;
    ITextMetrics& m_metrics;
    std::function<void()> m_chooseArrow;
    std::function<bool()> m_busy;
    LineFactory m_lineFactory;

    SegmentToolAction m_action = SegmentToolAction::None;
    CAnglemeterManipulative* m_anglemeter = nullptr; // the one whose arm or body is dragged
    CPoint m_start;
    CPoint m_last;
    std::vector<CLine> m_segments;
    int m_tool = -1; // as last told by ToolChanged
};

} // namespace quorvel

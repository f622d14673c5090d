// The Writing tool: binding the edit box to an annotator, feeding it the text, and the rule
// that keeps or deletes the annotator when the writing ends.
#include "workspace/writing_tool.h"

#include "workspace/unit_document.h"

#include <algorithm>
#include <limits>

namespace quorvel {

CWritingTool::CWritingTool(CUnitDocument& doc, IAnnotatorEditBox& box, ITextMetrics& metrics)
    : m_doc(doc), m_box(box), m_metrics(metrics) {}

CAnnotatorManipulative* CWritingTool::annotator() const {
    // Undo, Open or the broom may have replaced the manipulatives; the serial tells a new
    // annotator at the old address from the one that was bound.
    if (!m_annotator || m_doc.IndexOf(m_annotator) < 0 || m_annotator->serial() != m_serial)
        return nullptr;
    return m_annotator;
}

CAnnotatorManipulative* CWritingTool::AnnotatorAt(CPoint p) const {
    const auto& list = m_doc.manipulatives();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        auto* a = dynamic_cast<CAnnotatorManipulative*>(it->get());
        if (a && a->HitTest(p.x, p.y))
            return a;
    }
    return nullptr;
}

CRect CWritingTool::EditArea(const CAnnotatorManipulative& annotator) const {
    CRect r = annotator.textRect();
    const std::int64_t right = std::int64_t{r.right} + m_metrics.AverageCharWidth(AnnotatorFont());
    r.right = static_cast<std::int32_t>(
        std::min<std::int64_t>(right, std::numeric_limits<std::int32_t>::max()));
    return r;
}

CAnnotatorManipulative* CWritingTool::ClickAt(CPoint p) {
    if (m_annotator)
        EndEditing();
    m_doc.MarkUndoStep();
    CAnnotatorManipulative* target = AnnotatorAt(p);
    if (!target)
        target = AddAnnotatorAt(m_doc, p, m_metrics);
    BeginEditing(*target);
    return target;
}

void CWritingTool::BeginEditing(CAnnotatorManipulative& annotator) {
    m_annotator = &annotator;
    m_serial = annotator.serial();
    m_boxText = annotator.text();
    m_box.ShowEditBox(EditArea(annotator), m_boxText);
}

void CWritingTool::TextChanged(std::string_view text) {
    CAnnotatorManipulative* a = annotator();
    if (!a)
        return;
    m_boxText = std::string(text);
    const CRect before = a->GetFrameOf();
    a->SetText(text);
    a->FitToText(m_metrics);
    // Shown as soon as it holds text, so that a save while writing keeps what is written.
    if (!a->text().empty())
        a->SetVisible(true);
    m_doc.SetModifiedFlag();
    if (IWorkspaceView* view = m_doc.GetWorkspaceView()) {
        view->InvalidateRect(before);
        view->InvalidateRect(a->GetFrameOf());
    }
    m_box.PlaceEditBox(EditArea(*a));
}

void CWritingTool::EndEditing() {
    if (CAnnotatorManipulative* a = annotator()) {
        if (!TrimTrailingSpace(m_boxText).empty() || a->fixed()) {
            a->SetText(m_boxText);
            a->FitToText(m_metrics);
            a->SetVisible(true);
        } else {
            m_doc.DeleteManipulative(a);
        }
    }
    Unbind();
    Repaint();
}

void CWritingTool::Unbind() {
    const bool bound = m_annotator != nullptr;
    m_annotator = nullptr;
    m_serial = 0;
    m_boxText.clear();
    if (bound)
        m_box.HideEditBox();
}

void CWritingTool::Repaint() {
    if (IWorkspaceView* view = m_doc.GetWorkspaceView())
        view->InvalidateAll();
}

} // namespace quorvel

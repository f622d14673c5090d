// The Writing tool of a workspace: one edit box that is bound to the annotator being written,
// lies over it and feeds it every change; when the box loses the focus the annotator keeps its
// text, or goes when the text is empty and it is not fixed.
#pragma once

#include "workspace/annotator.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel {

class CUnitDocument;
class ITextMetrics;

// The workspace's edit box for annotators (control 1149).
class IAnnotatorEditBox {
public:
    virtual ~IAnnotatorEditBox() = default;
    // Shows the box over `area` (workspace coordinates) holding `text`, with the focus in it.
    virtual void ShowEditBox(const CRect& area, const std::string& text) = 0;
    // The annotator was fitted to a changed text: the box follows its size.
    virtual void PlaceEditBox(const CRect& area) = 0;
    virtual void HideEditBox() = 0;
};

class CWritingTool {
public:
    CWritingTool(CUnitDocument& doc, IAnnotatorEditBox& box, ITextMetrics& metrics);
    CWritingTool(const CWritingTool&) = delete;
    CWritingTool& operator=(const CWritingTool&) = delete;

    // A click with the Writing tool at `p` (workspace coordinates): ends any writing in
    // progress, then binds the box to the annotator under the point, or to a new one made
    // there. One undo step covers the whole writing. Returns the annotator written.
    CAnnotatorManipulative* ClickAt(CPoint p);
    // Binds the box to `annotator`, which must be in the document.
    void BeginEditing(CAnnotatorManipulative& annotator);
    // The box's text changed: the annotator takes it (trailing white space removed), is
    // fitted, and the document is marked modified.
    void TextChanged(std::string_view text);
    // The box lost the focus: the annotator keeps a non-empty text (a fixed one keeps even an
    // empty one) and shows; otherwise it is deleted. The box is hidden and unbound.
    void EndEditing();

    // The annotator being written; null when the box is not bound or the annotator has gone
    // from the document meanwhile.
    CAnnotatorManipulative* annotator() const;
    bool IsEditing() const { return annotator() != nullptr; }
    // The text in the box, as typed.
    const std::string& boxText() const { return m_boxText; }
    // The topmost visible annotator under `p`, or null.
    CAnnotatorManipulative* AnnotatorAt(CPoint p) const;
    // Where the box lies: over the annotator, one average character wider for the caret.
    CRect EditArea(const CAnnotatorManipulative& annotator) const;

private:
    void Unbind();
    void Repaint();

    CUnitDocument& m_doc;
    IAnnotatorEditBox& m_box;
    ITextMetrics& m_metrics;
    CAnnotatorManipulative* m_annotator = nullptr;
    std::uint64_t m_serial = 0;
    std::string m_boxText;
};

} // namespace quorvel

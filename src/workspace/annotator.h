// Annotators: free text written with the Writing tool, and the framed labels that units and
// teachers place. Each is a wrapped text in a rectangle whose top-left corner is the centre.
#pragma once

#include "workspace/drawing_surface.h"
#include "workspace/manipulative.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel {

class CUnitDocument;

// The font every annotator is written and measured in.
CFontSpec AnnotatorFont();

// A new annotator's rectangle before it is fitted: 600 pixels wide, 1 high.
inline constexpr int kNewAnnotatorWidth = 600;
// FitToText measures the text in a rectangle this wide, so that only line breaks wrap it.
inline constexpr int kFitMeasureWidth = 20000;

class CAnnotatorManipulative : public CManipulative {
public:
    // Invisible until it has text; an empty rectangle at the origin.
    CAnnotatorManipulative();
    // At `at`, 600 pixels wide and 1 high, still to be fitted.
    explicit CAnnotatorManipulative(CPoint at);
    CAnnotatorManipulative(const CAnnotatorManipulative& other);

    void Serialize(CArchive& ar) override;

    std::int32_t GetType() const override { return kTypeAnnotator; }
    std::unique_ptr<CManipulative> Clone() const override;
    void Draw(IDrawingSurface& dc) const override;
    bool HitTest(double x, double y) const override;
    void MoveBy(double dx, double dy) override;
    void MoveTo(const C3DPointDouble& p) override;
    void GetFrame(CRect& r) const override;
    void GetBounds(CRect& r) const override;
    bool FindSnapPair(const CManipulative&, C3DPointDouble&, C3DPointDouble&) const override {
        return false;
    }
    bool FindSnapPoint(const C3DPointDouble&, C3DPointDouble&) const override { return false; }
    bool IsEqualTo(const CManipulative&) const override { return false; }

    // Slot 41: sizes the rectangle to the text in the annotator font.
    virtual void FitToText(ITextMetrics& metrics);

    // Stores the text with trailing white space removed.
    void SetText(std::string_view text);
    const std::string& text() const { return m_text; }
    const CRect& textRect() const { return m_rect; }
    // Tells one annotator from another that later takes its place in memory.
    std::uint64_t serial() const { return m_serial; }

protected:
    // The text, wrapped in the rectangle, and the selection frame.
    void DrawWrappedText(IDrawingSurface& dc) const;
    // Centre and rotation point on the rectangle's top-left corner.
    void PinCentre();

    CRect m_rect;
    std::string m_text;

private:
    std::uint64_t m_serial;
};

class CStaticAnnotatorManipulative : public CAnnotatorManipulative {
public:
    CStaticAnnotatorManipulative() = default;
    explicit CStaticAnnotatorManipulative(CPoint at) : CAnnotatorManipulative(at) {}
    CStaticAnnotatorManipulative(const CStaticAnnotatorManipulative& other);

    void Serialize(CArchive& ar) override;

    std::int32_t GetType() const override { return kTypeStaticAnnotator; }
    std::unique_ptr<CManipulative> Clone() const override;
    void Draw(IDrawingSurface& dc) const override;
    // What it paints: the background grown by 2 pixels left and up, and the selection frame
    // outside it, so that redrawing the frame leaves nothing behind.
    void GetFrame(CRect& r) const override;

    Color backgroundColor() const { return m_background; }
    void SetBackgroundColor(Color c) { m_background = c; }
    // The framed background: the text rectangle grown by 2 pixels left and up.
    CRect BackgroundRect() const;

private:
    Color m_background = 0;
};

// Trailing spaces, tabs and line breaks removed.
std::string TrimTrailingSpace(std::string_view text);

// Creates an annotator at `at`, fits it, adds it on top of the workspace and returns it.
CAnnotatorManipulative* AddAnnotatorAt(CUnitDocument& doc, CPoint at, ITextMetrics& metrics);

} // namespace quorvel

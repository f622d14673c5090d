// The anglemeter: two arms from a vertex and a label that shows the angle between them.
#pragma once

#include "workspace/drawing_surface.h"
#include "workspace/manipulative.h"

#include <array>
#include <string>

namespace quorvel {

// The arms of a fresh anglemeter: arm 0 points up 2 L, arm 1 right 1.5 L.
inline constexpr double kAnglemeterUnit = 37.0;
// The label box is sized for the widest label there is.
inline constexpr const char* kAnglemeterLabelSample = "00/360";
// A flip takes this many steps; after the last one the orientation changes sides.
inline constexpr int kAnglemeterFlipSteps = 8;
inline constexpr int kAnglemeterLabelFonts = 4;

// The label font for a scale level: the larger the anglemeter, the smaller the font, as the
// workspace's four Arial fonts go from 12 to 6 points.
int AnglemeterLabelFontIndex(int scaleLevel);
CFontSpec AnglemeterLabelFont(int scaleLevel);

// The label for an angle in degrees: rounded half up, 0 and 360 both "0/360".
std::string AnglemeterLabelFor(double degrees);

class CAnglemeterManipulative : public CLineManipulative {
public:
    // Empty, as a loaded anglemeter starts before its form is read.
    CAnglemeterManipulative() = default;
    // A fresh anglemeter with its vertex at `vertex`; `metrics` sizes its label box.
    CAnglemeterManipulative(const C3DPointDouble& vertex, ITextMetrics& metrics);
    CAnglemeterManipulative(const CAnglemeterManipulative& other);

    // The base form, then label rectangle, label, orientation and flip counter, each with a TAB.
    void Serialize(CArchive& ar) override;

    std::int32_t GetType() const override { return kTypeAnglemeter; }
    std::unique_ptr<CManipulative> Clone() const override;
    // Arms, grab handles, the arc between the arms and the label box.
    void Draw(IDrawingSurface& dc) const override;
    // On an arm or inside the label box.
    bool HitTest(double x, double y) const override;
    // Grabs the arm end whose handle holds `p` (arm 0 first); false when none does.
    bool BeginHandleDrag(const C3DPointDouble& p) override;
    // Turns the grabbed arm about the vertex towards `p`, keeping its length.
    bool DragHandle(const C3DPointDouble& p) override;
    void MoveBy(double dx, double dy) override;
    void Rotate(double angle, const C3DPointDouble& about) override;
    void FlipStepCrossAxis(const C3DPointDouble& about) override;
    void FlipStep(const C3DPointDouble& about) override;
    void Scale(double factor, const C3DPointDouble& about) override;
    // Arms, vertex, arc and label box with a margin; empty without both arms.
    void GetFrame(CRect& r) const override;
    // An anglemeter has no fill and keeps its black arms.
    void SetColor(Color) override {}
    void SetLineColor(Color) override {}

    // The arm whose end's grab handle holds `p` (arm 0 first), or -1.
    int ArmEndAt(const C3DPointDouble& p) const;
    // Lets go of a grabbed arm end.
    void ReleaseHandle() { m_grabbed = -1; }
    // The arm being dragged, or -1.
    int grabbedArm() const { return m_grabbed; }

    // The angle between the arms in degrees, in [0, 360); 0 without both arms.
    double MeasuredAngle() const;
    const std::string& label() const { return m_label; }
    bool orientation() const { return m_orientation; }
    int flipCounter() const { return m_flipCounter; }
    const CRect& labelRect() const { return m_labelRect; }
    const C3DPointDouble& vertex() const { return m_centre; }

    // Measures the label box in each label font; until then a re-placed box keeps its size.
    void MeasureLabel(ITextMetrics& metrics) const;
    // The label box above and to the right of the vertex, sized for the scale level's font.
    void PlaceLabel();

private:
    bool HasArms() const { return m_lines.size() >= 2; }
    bool Flipping() const { return m_flipCounter != 0; }
    // The label follows the arms, except halfway through a flip.
    void UpdateLabel();
    void AfterFlipStep();

    std::string m_label;
    std::int32_t m_flipCounter = 0;
    bool m_orientation = false;
    CRect m_labelRect;
    int m_grabbed = -1;
    double m_grabbedLength = 0;
    // The size of the sample label in each font; zero until measured. Drawing measures
    // anglemeters read from files, so it is a cache rather than state.
    mutable std::array<CSize, kAnglemeterLabelFonts> m_labelExtents{};
};

} // namespace quorvel

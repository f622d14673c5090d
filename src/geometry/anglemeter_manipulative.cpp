// Anglemeters: the measured angle and its label, drawing, the label box, the redraw box, arm
// dragging, transformations that keep the label in place and the archive form.
#include "geometry/anglemeter_manipulative.h"

#include "workspace/archive.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace quorvel {

namespace {

constexpr Color kBlack = PaletteRGB(0, 0, 0);
constexpr double kFullTurn = 2 * kPi;
// The label box sits this far right of and above the vertex.
constexpr int kLabelOffset = 12;
// The text keeps this far from the box's right edge.
constexpr int kLabelMargin = 2;
// The arc's box reaches this far left and up of the vertex, and one pixel further right and down.
constexpr int kArcRadius = 8;

// Towards zero, held to the workspace's pixel range (NaN becomes 0), as positions from files
// may be anything.
int TruncToPixel(double v) {
    if (!(v == v))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(v), -double(kPixelLimit), double(kPixelLimit)));
}

int ClampToInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

double IntoTurn(double a) {
    a = std::fmod(a, kFullTurn);
    return a < 0 ? a + kFullTurn : a;
}

// The direction from `p` towards the vertex `v`, with y turned upwards.
double Direction(const C3DPointDouble& p, const C3DPointDouble& v) {
    return IntoTurn(std::atan2(p.y - v.y, v.x - p.x));
}

// The 5 by 5 grab handle around an arm end.
CRect HandleAt(CPoint e) {
    return {e.x - 2, e.y - 2, e.x + 3, e.y + 3};
}

} // namespace

int AnglemeterLabelFontIndex(int scaleLevel) {
    if (scaleLevel <= 1)
        return 0;
    if (scaleLevel <= 3)
        return 1;
    if (scaleLevel <= 5)
        return 2;
    return 3;
}

CFontSpec AnglemeterLabelFont(int scaleLevel) {
    static const int kTenths[kAnglemeterLabelFonts] = {120, 100, 80, 60};
    CFontSpec font;
    font.face = "Arial";
    font.pointSizeTenths = kTenths[AnglemeterLabelFontIndex(scaleLevel)];
    return font;
}

std::string AnglemeterLabelFor(double degrees) {
    if (!std::isfinite(degrees))
        degrees = 0;
    const double rounded = std::trunc(std::clamp(degrees, 0.0, 360.0) + 0.5);
    if (rounded == 0 || rounded >= 360)
        return "0/360";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", static_cast<int>(rounded));
    return buf;
}

CAnglemeterManipulative::CAnglemeterManipulative(const C3DPointDouble& vertex,
                                                 ITextMetrics& metrics) {
    m_visible = true;
    m_centre = vertex;
    m_rotationPoint = vertex;
    const C3DPointDouble up{vertex.x, vertex.y - 2 * kAnglemeterUnit, vertex.z};
    const C3DPointDouble right{vertex.x + 1.5 * kAnglemeterUnit, vertex.y, vertex.z};
    m_lines = {CLine(vertex, up), CLine(vertex, right)};
    MeasureLabel(metrics);
    PlaceLabel();
    UpdateLabel();
}

CAnglemeterManipulative::CAnglemeterManipulative(const CAnglemeterManipulative& other)
    : CLineManipulative(other), m_label(other.m_label), m_flipCounter(other.m_flipCounter),
      m_orientation(other.m_orientation), m_labelRect(other.m_labelRect),
      m_labelExtents(other.m_labelExtents) {}

std::unique_ptr<CManipulative> CAnglemeterManipulative::Clone() const {
    return std::make_unique<CAnglemeterManipulative>(*this);
}

void CAnglemeterManipulative::Serialize(CArchive& ar) {
    CManipulative::Serialize(ar);
    ar.Exchange(m_labelRect, "label rectangle");
    ar.ExchangeTab();
    ar.Exchange(m_label, "label");
    ar.ExchangeTab();
    ar.Exchange(m_orientation, "orientation");
    ar.ExchangeTab();
    ar.Exchange(m_flipCounter, "flip counter");
    ar.ExchangeTab();
    if (ar.IsLoading())
        m_grabbed = -1;
}

double CAnglemeterManipulative::MeasuredAngle() const {
    if (!HasArms())
        return 0;
    const C3DPointDouble& first = m_lines[m_orientation ? 1 : 0].end();
    const C3DPointDouble& second = m_lines[m_orientation ? 0 : 1].end();
    const double angle =
        IntoTurn(Direction(first, m_centre) - Direction(second, m_centre)) * 360 / kFullTurn;
    return std::isfinite(angle) ? angle : 0;
}

void CAnglemeterManipulative::UpdateLabel() {
    if (!Flipping() && HasArms())
        m_label = AnglemeterLabelFor(MeasuredAngle());
}

void CAnglemeterManipulative::MeasureLabel(ITextMetrics& metrics) const {
    for (int i = 0; i < kAnglemeterLabelFonts; ++i)
        m_labelExtents[static_cast<std::size_t>(i)] =
            metrics.TextExtent(AnglemeterLabelFont(2 * i), kAnglemeterLabelSample);
}

void CAnglemeterManipulative::PlaceLabel() {
    if (m_fixed)
        return;
    CSize size = m_labelExtents[static_cast<std::size_t>(AnglemeterLabelFontIndex(m_scaleLevel))];
    // Unmeasured: keep the box's size, which a file may give at the ends of the int range.
    if (size.cx <= 0 && size.cy <= 0)
        size = {ClampToInt(std::int64_t{m_labelRect.right} - m_labelRect.left),
                ClampToInt(std::int64_t{m_labelRect.bottom} - m_labelRect.top)};
    m_labelRect.left = TruncToPixel(m_centre.x + kLabelOffset);
    m_labelRect.bottom = TruncToPixel(m_centre.y - kLabelOffset);
    m_labelRect.right = ClampToInt(std::int64_t{m_labelRect.left} + size.cx);
    m_labelRect.top = ClampToInt(std::int64_t{m_labelRect.bottom} - size.cy);
}

void CAnglemeterManipulative::Draw(IDrawingSurface& dc) const {
    if (!m_visible)
        return;
    CLineManipulative::Draw(dc);
    if (HasArms()) {
        const CPoint a = m_lines[0].end().Rounded();
        const CPoint b = m_lines[1].end().Rounded();
        dc.FillRect(HandleAt(a), kBlack);
        dc.FillRect(HandleAt(b), kBlack);
        if (!Flipping()) {
            const CPoint v = m_centre.Rounded();
            const CRect box{v.x - kArcRadius, v.y - kArcRadius, v.x + kArcRadius + 1,
                            v.y + kArcRadius + 1};
            dc.SetPen(1, kBlack);
            if (m_orientation)
                dc.Arc(box, a, b);
            else
                dc.Arc(box, b, a);
        }
    }
    if (m_scaleLevel < -1)
        return;
    if (m_labelExtents[0].cx <= 0)
        MeasureLabel(dc.Metrics());
    dc.SetPen(1, kBlack);
    dc.SetNullBrush();
    dc.Rectangle(m_labelRect);
    const std::string text =
        Flipping() || !HasArms() ? m_label : AnglemeterLabelFor(MeasuredAngle());
    dc.SetFont(AnglemeterLabelFont(m_scaleLevel));
    dc.SetTextColor(kBlack);
    dc.SetTextBackground(PaletteRGB(255, 255, 255), true);
    CRect textBox = m_labelRect;
    textBox.right = ClampToInt(std::int64_t{textBox.right} - kLabelMargin);
    dc.DrawText(textBox, text, kAlignRight | kAlignVCenter | kSingleLine);
}

bool CAnglemeterManipulative::HitTest(double x, double y) const {
    if (CLineManipulative::HitTest(x, y))
        return true;
    return x >= m_labelRect.left && x < m_labelRect.right && y >= m_labelRect.top &&
           y < m_labelRect.bottom;
}

int CAnglemeterManipulative::ArmEndAt(const C3DPointDouble& p) const {
    if (!HasArms())
        return -1;
    for (int arm = 0; arm < 2; ++arm) {
        const CRect handle = HandleAt(m_lines[static_cast<std::size_t>(arm)].end().Rounded());
        if (p.x >= handle.left && p.x < handle.right && p.y >= handle.top && p.y < handle.bottom)
            return arm;
    }
    return -1;
}

bool CAnglemeterManipulative::BeginHandleDrag(const C3DPointDouble& p) {
    m_grabbed = ArmEndAt(p);
    if (m_grabbed < 0)
        return false;
    const C3DPointDouble& end = m_lines[static_cast<std::size_t>(m_grabbed)].end();
    m_grabbedLength = std::hypot(end.x - m_centre.x, end.y - m_centre.y);
    return true;
}

bool CAnglemeterManipulative::DragHandle(const C3DPointDouble& p) {
    if (m_grabbed < 0 || m_fixed || !HasArms())
        return false;
    const double t = IntoTurn(std::atan2(m_centre.y - p.y, p.x - m_centre.x));
    CLine& arm = m_lines[static_cast<std::size_t>(m_grabbed)];
    const C3DPointDouble end{m_centre.x + m_grabbedLength * std::cos(t),
                             m_centre.y - m_grabbedLength * std::sin(t), arm.end().z};
    arm.SetPoints(arm.start(), end);
    UpdateLabel();
    return true;
}

void CAnglemeterManipulative::MoveBy(double dx, double dy) {
    if (m_fixed)
        return;
    CLineManipulative::MoveBy(dx, dy);
    m_rotationPoint = m_centre;
    PlaceLabel();
}

void CAnglemeterManipulative::Rotate(double angle, const C3DPointDouble& about) {
    CLineManipulative::Rotate(angle, about);
    PlaceLabel();
    UpdateLabel();
}

void CAnglemeterManipulative::AfterFlipStep() {
    // A counter read from a file may be anything; one out of range starts a fresh flip.
    if (m_flipCounter < 0 || m_flipCounter >= kAnglemeterFlipSteps)
        m_flipCounter = 0;
    if (++m_flipCounter == kAnglemeterFlipSteps) {
        m_flipCounter = 0;
        // The mirror image measures the other angle; the other orientation measures it back.
        m_orientation = !m_orientation;
    }
    PlaceLabel();
    UpdateLabel();
}

void CAnglemeterManipulative::FlipStepCrossAxis(const C3DPointDouble& about) {
    CLineManipulative::FlipStepCrossAxis(about);
    AfterFlipStep();
}

void CAnglemeterManipulative::FlipStep(const C3DPointDouble& about) {
    CLineManipulative::FlipStep(about);
    AfterFlipStep();
}

void CAnglemeterManipulative::Scale(double factor, const C3DPointDouble& about) {
    CLineManipulative::Scale(factor, about);
    PlaceLabel();
    UpdateLabel();
}

void CAnglemeterManipulative::GetFrame(CRect& r) const {
    if (!HasArms()) {
        r = CRect{};
        return;
    }
    const CPoint v = m_centre.Rounded();
    const CPoint a = m_lines[0].end().Rounded();
    const CPoint b = m_lines[1].end().Rounded();
    std::int64_t left = std::min({a.x, b.x, v.x}) - 3;
    // The arc reaches left of the vertex even when both arms point right.
    if (left > std::int64_t{v.x} - 10)
        left = std::int64_t{v.x} - 12;
    const std::int64_t right = std::max<std::int64_t>({a.x, b.x, m_labelRect.right}) + 3;
    const std::int64_t top = std::min<std::int64_t>({m_labelRect.top, a.y, b.y}) - 3;
    const std::int64_t bottom = std::max({a.y, b.y, v.y}) + std::int64_t{8};
    r = {ClampToInt(left), ClampToInt(top), ClampToInt(right), ClampToInt(bottom)};
}

} // namespace quorvel

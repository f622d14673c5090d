// The design machine of Patterns - Designs: a panel with a design window, a shape chooser, the
// times and angle boxes with their spin buttons, "Show Axes", "Record Rule", "Go" and "Clear".
// Go turns a copy of the chosen shape about the design window's centre in 12-degree ticks and
// stamps it after every turn by the angle. The design is kept as the rules that made it
// (CDesignObjectRule), so the screen, printing and qvtool draw it from the same record.
#pragma once

#include "geometry/shape_manipulative.h"
#include "workspace/drawing_surface.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

class CArchive;

inline constexpr int kDesignMachineWidth = 195;
inline constexpr int kDesignMachineHeight = 305;
inline constexpr int kDesignMachineId = 1254;
// The rotation ticks and the finishing wipe.
inline constexpr std::uint32_t kDesignTimer = 1254;
inline constexpr std::uint32_t kDesignWipeTimer = 1255;
inline constexpr int kDesignWipeInterval = 100;
inline constexpr int kDesignWipeStrip = 16;
inline constexpr double kDesignPi = 3.14159265359;
// A file may hold a design of at most this many runs of Go.
inline constexpr std::size_t kMaxDesignRuns = 256;
inline constexpr int kMaxDesignTimes = 360;

inline constexpr Color kDesignBackground = PaletteRGB(255, 255, 255);
inline constexpr Color kDesignBlack = PaletteRGB(0, 0, 0);
const std::array<Color, 6>& RainbowColors();

// The rule text: "Rotate          %s%c %d times" with the degree sign.
std::string DesignRuleText(const std::string& angleText, int times);
// The timer interval of a run of `times` stamps: 100 ms up to 20, 30 ms beyond.
int DesignTickInterval(int times);

// One run of Go: the shape as it stood when the run began (design-window coordinates), the
// centre it turns about, the angle and the number of stamps, and what the last stamp adds.
class CDesignObjectRule {
public:
    CDesignObjectRule();
    CDesignObjectRule(const CDesignObjectRule& other);
    CDesignObjectRule& operator=(const CDesignObjectRule& other);
    CDesignObjectRule(CDesignObjectRule&&) noexcept = default;
    CDesignObjectRule& operator=(CDesignObjectRule&&) noexcept = default;

    // Position (two LONGs), TAB, angle text, TAB, times, record rule, show axes and the first
    // stamp's rainbow colour (-1: the shape's own colours), each followed by a TAB, then the
    // shape's own form.
    void Serialize(CArchive& ar);

    double AngleStep() const;
    // The shape after `k` turns, in the colour its stamp takes.
    std::unique_ptr<CShapeManipulative> StampShape(int k) const;
    // The first `stamps` stamps, moved by `origin`; with `finished` the axes and the rule text
    // the flags ask for. `window` is the design window (design coordinates).
    void Draw(IDrawingSurface& dc, CPoint origin, CSize window, int stamps, bool finished) const;

    std::unique_ptr<CShapeManipulative> shape;
    CPoint position;
    std::string angleText;
    std::int32_t times = 1;
    std::int32_t recordRule = 0;
    std::int32_t showAxes = 0;
    std::int32_t firstColor = -1;
};

// The axes: a horizontal and a vertical black line through the centre, 5 pixels short of the
// window's edges. The rule text along the bottom of the window.
void DrawDesignAxes(IDrawingSurface& dc, const CRect& window);
void DrawDesignRule(IDrawingSurface& dc, const CRect& window, const std::string& text);

// The picture manipulative (type 5): a rectangle that shows a design, redrawn from its rules.
class CDesignPicture : public CManipulative {
public:
    CDesignPicture() = default;
    explicit CDesignPicture(const CRect& rect);
    CDesignPicture(const CDesignPicture& other) = default;

    // The base manipulative's form, then the rectangle, a TAB, the run count, a TAB and each
    // run's rule.
    void Serialize(CArchive& ar) override;
    std::int32_t GetType() const override { return kTypePicture; }
    std::unique_ptr<CManipulative> Clone() const override;
    void Draw(IDrawingSurface& dc) const override;
    bool HitTest(double x, double y) const override;
    void GetBounds(CRect& r) const override { r = m_rect; }
    void GetFrame(CRect& r) const override { r = m_rect; }
    void MoveBy(double dx, double dy) override;

    const CRect& rect() const { return m_rect; }
    std::vector<CDesignObjectRule>& rules() { return m_rules; }
    const std::vector<CDesignObjectRule>& rules() const { return m_rules; }
    // The design in `window`: the background, every run, the last run showing only
    // `lastStamps` stamps and its finish only when `lastFinished`; only within `part` when
    // given.
    void DrawDesign(IDrawingSurface& dc, const CRect& window, int lastStamps, bool lastFinished,
                    std::optional<CRect> part = std::nullopt) const;

private:
    CRect m_rect{0, 0, 185, 173};
    std::vector<CDesignObjectRule> m_rules;
};

enum class DesignPart {
    None,
    Panel,
    Design,
    Previous,
    Chooser,
    Next,
    TimesBox,
    TimesUp,
    TimesDown,
    AngleBox,
    AngleUp,
    AngleDown,
    ShowAxes,
    RecordRule,
    Go,
    Clear,
};

enum class DesignTick { Stopped, Turned, Stamped, Finished };

class CDesignFunctionMachine {
public:
    CDesignFunctionMachine();

    // The panel and its parts in workspace coordinates.
    CRect Bounds() const;
    CRect PartRect(DesignPart part) const;
    DesignPart PartAt(CPoint p) const;
    CRect DesignRect() const { return PartRect(DesignPart::Design); }
    CPoint position() const { return m_position; }
    void SetPosition(CPoint p) { m_position = p; }

    // The whole panel as the page, printing and qvtool show it.
    void Draw(IDrawingSurface& dc) const;
    // Only the design window's picture, at `window`.
    void DrawDesign(IDrawingSurface& dc, const CRect& window) const;

    // The chooser: the six pattern shapes, more with the Extra Shapes option.
    void SetExtraShapes(bool extra);
    std::size_t shapeCount() const { return m_shapes.size(); }
    int current() const { return m_current; }
    void NextShape();
    void PreviousShape();
    const CShapeManipulative* ChosenShape() const;

    // The boxes.
    const std::string& timesText() const { return m_timesText; }
    const std::string& angleText() const { return m_angleText; }
    void SetTimesText(const std::string& text);
    void SetAngleText(const std::string& text);
    // What a box shows: "?" when hidden.
    std::string BoxText(DesignPart box) const;
    bool timesHidden() const { return m_timesHidden; }
    bool angleHidden() const { return m_angleHidden; }
    void SetHidden(DesignPart box, bool hidden);
    // The spin buttons: one up or down within 1..360 (an empty or unreadable box starts at 1).
    void Spin(DesignPart button);
    std::int32_t times() const { return m_times; }
    std::int32_t angle() const { return m_angle; }

    bool showAxes() const { return m_showAxes != 0; }
    bool recordRule() const { return m_recordRule != 0; }
    void SetShowAxes(bool on) { m_showAxes = on ? 1 : 0; }
    // "Record Rule" is checked only while the teacher offers it.
    void SetRecordRule(bool on) { m_recordRule = on && m_recordRuleOffered ? 1 : 0; }
    // The teacher's Record Rule option: without it the check box is neither drawn nor hit, and
    // no rule is recorded.
    void OfferRecordRule(bool offered);
    bool recordRuleOffered() const { return m_recordRuleOffered; }

    bool GoEnabled() const;
    bool ClearEnabled() const { return !m_design.rules().empty() || m_working != nullptr; }
    bool animating() const { return m_phase != Phase::Idle; }
    bool wiping() const { return m_phase == Phase::Wipe; }

    // The message that stops Go, or nothing; reads the boxes that are not hidden.
    std::optional<std::string> Validate();
    // Starts a run; the interval of its timer, or nothing when no shape is chosen.
    std::optional<int> Go(bool rainbow);
    // One rotation tick; after the last stamp the finishing wipe follows.
    DesignTick Tick();
    // One strip of the wipe; false when the wipe is over.
    bool WipeTick();
    // Ends a run at once as if every tick had come.
    void Finish();
    void Stop();
    void Clear();

    int ticksThisTurn() const { return m_ticksThisTurn; }
    int stampsDone() const { return m_stampsDone; }
    int wipe() const { return m_wipe; }
    const CDesignPicture& design() const { return m_design; }
    CDesignPicture& design() { return m_design; }
    const CShapeManipulative* workingShape() const { return m_working.get(); }
    int colorIndex() const { return m_colorIndex; }
    // The rule of the design's last run, for the page's status.
    std::string RuleText() const;

    // Position, TAB, times, TAB, current, TAB, angle text, TAB, times text, TAB, hidden times,
    // hidden angle, colour index, the design's run count (each LONG + TAB), Show Axes, Record
    // Rule. The design itself follows as a picture (CDesignPatternsDocument).
    void Serialize(CArchive& ar);
    // After the design was read: the working shape stands where the last stamp left it.
    void AfterLoading();

private:
    enum class Phase { Idle, Turning, Wipe };
    CPoint Local(CPoint p) const { return {p.x - m_position.x, p.y - m_position.y}; }
    void StartTurn();
    void UpdateWorking();

    CPoint m_position{20, 20};
    std::vector<std::unique_ptr<CShapeManipulative>> m_shapes;
    std::int32_t m_current = -1;
    std::unique_ptr<CShapeManipulative> m_working;
    std::int32_t m_times = 4;
    std::int32_t m_angle = 90;
    std::string m_timesText;
    std::string m_angleText;
    bool m_timesHidden = false;
    bool m_angleHidden = false;
    std::int32_t m_showAxes = 0;
    std::int32_t m_recordRule = 0;
    bool m_recordRuleOffered = true;
    std::int32_t m_colorIndex = 0;
    CDesignPicture m_design;

    Phase m_phase = Phase::Idle;
    double m_angleStep = 0.0;
    double m_rotated = 0.0; // this turn so far
    int m_stampsDone = 0;
    int m_ticksThisTurn = 0;
    int m_wipe = 0;
};

} // namespace quorvel

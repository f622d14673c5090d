// The Tiles and Tessellations workspace's commands, animations and mouse tools, as a
// controller that the workspace widget drives: the widget forwards buttons, menu commands and
// mouse events in workspace coordinates, and repaints what the document's view is told.
#pragma once

#include "workspace/manipulative.h"
#include "workspace/timer_host.h"
#include "workspace/tool_palette.h"
#include "workspace/types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

class CGeometryUnitDocument;
class IDrawingSurface;
class IPrompter;

// Command ids: the panel's buttons and the "Te&ssellations" menu.
enum ShapeCommandId : int {
    kCmdGroup = 1013,
    kCmdUngroup = 1014,
    kCmdCopy = 1015,
    kCmdStamp = 1016,
    kCmdEnlarge = 1017,
    kCmdReduce = 1018,
    kCmdFlipHorizontal = 1019,
    kCmdFlipVertical = 1020,
    kCmdRotateRight = 1021,
    kCmdRotateLeft = 1022,
    kCmdAngleSpin = 1043,
    kCmdSlide = 1054,
    kCmdThinLine = 1069,
    kCmdThickLine = 1070,
    kCmdFirstColor = 1071,
    kCmdLastColor = 1078,
    kCmdSendToBack = 32776,
    kCmdBringToFront = 32777,
    kCmdSelectAllShapes = 32778,
    kCmdClearAnglemeters = 32779,
    kCmdResetRotationPoint = 32783,
};

// Window timers of the animations, and their common interval.
inline constexpr std::uint32_t kRotateTimer = 2222;
inline constexpr std::uint32_t kFlipVerticalTimer = 3333;
inline constexpr std::uint32_t kFlipHorizontalTimer = 4444;
inline constexpr std::uint32_t kScaleTimer = 5555;
inline constexpr std::uint32_t kSlideTimer = 6666;
inline constexpr int kAnimationIntervalMs = 50;
// A slide moves the selection in this many equal parts, one per interval.
inline constexpr int kSlideParts = 12;
inline constexpr int kSlideIntervalMs = 200;
inline constexpr int kScaleTicks = 6;
inline constexpr int kFlipSteps = 8;
// Enlarge is allowed while the highest scale level is below this; Reduce while the lowest is
// above the other.
inline constexpr int kHighestScaleLevel = 7;
inline constexpr int kLowestScaleLevel = -5;
// Copy moves the selection this far right and down.
inline constexpr int kCopyOffset = 4;

inline constexpr const char* kPleaseSelect = "Please select an object.";
inline constexpr const char* kAngleRange = "The angle of rotation must be from 1 to 360";
// Groups inside groups go at most 16 deep, so that every file can be read back.
inline constexpr const char* kGroupTooDeep =
    "This group is already inside 16 other groups, which is as deep as groups can go. "
    "Ungroup it a little first.";
inline constexpr const char* kGroupColorQuestion =
    "The selection contains a grouped manipulative. Changing its color will change the color "
    "of each of its manipulatives. Do you wish to continue?";
inline constexpr const char* kClearAnglemetersQuestion =
    "This command will delete all anglemeters that are not in groups. Do you want to continue?";

struct CCommandButton {
    int id;
    const char* caption;
    const char* toolTip;
};
// The ten command buttons of the panel, in id order.
const std::array<CCommandButton, 10>& ShapeCommandButtons();

struct CColorButton {
    int id;
    Color color;
    const char* name;
};
// The eight colour buttons, in id order.
const std::array<CColorButton, 8>& ColorButtons();

// Where rotation points show: the user option "hide", "show" or "Set" (only "Set" lets the
// pupil drag them and reset them).
enum class RotationPointMode { Hide = 0, Show = 1, Set = 2 };

struct MouseModifiers {
    bool shift = false;
    bool control = false;
};

enum class MouseAction { None, DragSelection, DragRotationPoint, RubberBand };

// What the controller needs of the command panel around the workspace.
class IShapeCommandPanel {
public:
    virtual ~IShapeCommandPanel() = default;
    virtual std::string AngleText() const = 0;
    virtual void SetAngleText(const std::string& text) = 0;
    // The common line width of the selection (0 when they differ or nothing is selected).
    virtual void ShowLineWidth(int) {}
    // The common colour of the selection (kNoColor when they differ).
    virtual void ShowColor(Color) {}
    // An animation ended (a script player goes on with its next step).
    virtual void AnimationFinished() {}
};

// A command that changed the workspace (an animated one as it starts).
struct CShapeCommandEvent {
    int id = 0;
    // Rotations: the angle in degrees and the text it was read from.
    double angle = 0;
    std::string angleText;
};

// What a script recorder and player hear of the commands and the mouse.
class IShapeCommandObserver {
public:
    virtual ~IShapeCommandObserver() = default;
    virtual void CommandSucceeded(const CShapeCommandEvent& event) = 0;
    // A drag of the selection ended, having moved its frame by (dx, dy), snapping included.
    virtual void SelectionDragged(int dx, int dy) = 0;
    virtual void AnimationEnded() = 0;
};

// Reads the angle box: a number with 0 < angle <= 360, or nothing.
std::optional<double> ParseRotationAngle(const std::string& text);
// The angle box after one click of a spin button (+1 or -1), wrapping 360 to 0 and 0 to 360.
std::string SpinAngleText(const std::string& text, int delta);

class CShapeCommandController : public ITimerClient {
public:
    CShapeCommandController(CGeometryUnitDocument& doc, IPrompter& prompter, ITimerHost& timers);
    ~CShapeCommandController() override;
    CShapeCommandController(const CShapeCommandController&) = delete;
    CShapeCommandController& operator=(const CShapeCommandController&) = delete;

    void SetPanel(IShapeCommandPanel* panel) { m_panel = panel; }
    void SetObserver(IShapeCommandObserver* observer) { m_observer = observer; }
    void SetRotationPointMode(RotationPointMode mode) { m_rotationPointMode = mode; }
    RotationPointMode rotationPointMode() const { return m_rotationPointMode; }
    void SetSnapping(bool on) { m_snapping = on; }
    bool snapping() const { return m_snapping; }
    // While a script records or plays, copies carry the script mark; while it plays, colour
    // changes ask nothing.
    void SetScriptState(bool recording, bool playing);
    // Copies stamped while a script records or plays; they are only referred to.
    const std::vector<CManipulative*>& stampList() const { return m_stampList; }
    void ClearStampList() { m_stampList.clear(); }
    // Stops the running animation where it is.
    void StopAnimation();

    // The running animation timer, or 0.
    std::uint32_t runningTimer() const { return m_timer; }
    bool IsAnimating() const { return m_timer != 0; }
    // Whether the workspace may draw with smoothed edges now: smoothing costs about twice the
    // drawing time, too much past a thousand manipulatives, and too much for every tick of an
    // animation moving more than a hundred (its last picture is drawn smoothed again).
    bool SmoothingAffordable() const;

    // Runs the command with this id; false for an id that is not a shape command.
    bool OnCommand(int id);

    void OnGroup();
    void OnUngroup();
    void OnCopy();
    void OnStamp();
    // Each returns whether the animation started.
    bool OnEnlarge();
    bool OnReduce();
    bool OnFlipHorizontal();
    bool OnFlipVertical();
    bool OnRotateRight();
    bool OnRotateLeft();
    // Rotation by an angle in degrees from elsewhere than the angle box (script playback).
    bool Rotate(double degrees, bool right);
    // Moves the selection by (dx, dy) in kSlideParts parts on timer 6666 (script playback).
    bool Slide(double dx, double dy);
    void OnAngleUp();
    void OnAngleDown();
    void OnLineWidth(int width);
    void OnColor(Color color);
    void OnBringToFront();
    void OnSendToBack();
    void OnSelectAllShapes();
    void OnClearAnglemeters();
    void OnResetRotationPoint();
    // Whether the "&Reset Rotation Point" menu item is enabled.
    bool CanResetRotationPoint() const;

    // What a drawer's slot (drawer counted from 0) gives at `drop` (the document's
    // MakeFromDrawer), added on top as one undo step; null for an empty slot or while an
    // animation runs.
    CManipulative* TakeFromDrawer(int drawer, int slot, const C3DPointDouble& drop);

    // Mouse in workspace coordinates with the document's current tool.
    void MouseDown(CPoint p, MouseModifiers modifiers = {});
    void MouseMove(CPoint p);
    void MouseUp(CPoint p);
    // Escape during a drag or a rubber band: the selection and its rotation point go back to
    // where the press found them and the band selects nothing; false when no press is going on.
    bool CancelMouse();
    // Shows the selection's common colour and width on the panel (none without a selection).
    void UpdatePanel();

    // The keyboard on the workspace. Tab selects the next manipulative that can be selected,
    // topmost first (Shift+Tab the one before); past the last (or the first) nothing stays
    // selected and the answer is false, so that the focus may move on.
    bool SelectNextByKey(bool backwards);
    // An arrow key moves the selection by (dx, dy); the presses of one burst, until
    // EndKeyMoves, are one undo step and, while a script records, one slide.
    bool MoveSelectionByKey(int dx, int dy);
    void EndKeyMoves();
    // A drag of the selection released over a fixed drawer: the shapes go back into it.
    void DropSelectionIntoDrawer();
    MouseAction mouseAction() const { return m_action; }
    // The rubber band while one is dragged, normalised.
    std::optional<CRect> rubberBand() const;

    // The manipulatives meeting `clip` in drawing order, the hidden lines under the Hide/Show
    // Lines tool, the selection rotation point and the rubber band.
    void Draw(IDrawingSurface& dc, const CRect& clip) const;
    void DrawSelectionRotationPoint(IDrawingSurface& dc) const;

    int SelectionLineWidth() const;
    Color SelectionColor() const;
    // The selection's redraw box; empty without a selection.
    CRect SelectionFrame() const;

    void OnTimer(std::uint32_t id) override;

private:
    enum class Guard { Selection, Transformation };
    bool Allowed(Guard guard);
    bool StartScale(bool enlarge);
    bool StartFlip(std::uint32_t timer);
    bool StartRotation(double degrees, bool right, const std::string& angleText);
    void StartAnimation(std::uint32_t timer, int intervalMs = kAnimationIntervalMs);
    void Notify(int id, double angle = 0, const std::string& angleText = {});
    // One tick of the running animation; false once it has ended.
    bool Tick();
    void FinishAnimation();
    void ClearHighlights();
    void Invalidate(const CRect& r) const;
    void InvalidateAll() const;
    void MoveSelectionBy(double dx, double dy);
    void Deselect(CManipulative* m);
    void SnapSelection();
    void SelectInside(const CRect& band);
    // Recomputes the selection rotation point and updates the panel.
    void AfterCommand();

    CGeometryUnitDocument& m_doc;
    IPrompter& m_prompter;
    ITimerHost& m_timers;
    IShapeCommandPanel* m_panel = nullptr;
    IShapeCommandObserver* m_observer = nullptr;
    std::vector<CManipulative*> m_stampList;
    RotationPointMode m_rotationPointMode = RotationPointMode::Show;
    bool m_snapping = true;
    bool m_scriptRecording = false;
    bool m_scriptPlaying = false;

    // Animation state.
    std::uint32_t m_timer = 0;
    double m_accumulated = 0; // angle in radians, or ticks done
    double m_step = 0;        // angle step, or scale factor
    double m_target = 0;      // target angle
    C3DPointDouble m_centre;
    CRect m_lastFrame;
    double m_slideDx = 0; // one part of a slide
    double m_slideDy = 0;

    // Mouse state.
    MouseAction m_action = MouseAction::None;
    CPoint m_dragStart;
    CPoint m_last;
    bool m_moved = false;
    bool m_keyMoving = false;
    CPoint m_keyMoved;       // the burst's offset so far
    CPoint m_dragFrameStart; // the selection frame's top-left when its drag began
};

} // namespace quorvel

// Recording, repeating and playing scripts of shape commands, as a controller that the
// geometry workspace's script panel and script windows drive. It hears the shape commands
// through IShapeCommandObserver, issues steps back to them, and keeps the scripts in the
// document's CScriptList.
#pragma once

#include "geometry/script.h"
#include "geometry/shape_commands.h"
#include "workspace/timer_host.h"
#include "workspace/types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

class CGeometryUnitDocument;
class IPrompter;

// The script panel's controls and the script windows' buttons.
enum ScriptControlId : int {
    kCmdRecord = 1023,
    kCmdViewScript = 1024,
    kCmdPlay = 1025,
    kCmdRepeat = kStepRepeat,
    kCmdSelectAndGroup = kStepSelectAndGroup,
    kCtlRepeatNumber = 1030,
    kCtlScriptCombo = 1031,
    kCtlScriptName = 1058,
    kCmdEndRecord = 1059,
    kCmdScriptAdd = 1061,
    kCmdScriptReplace = 1062,
    kCmdStopRepeat = 1063,
    kCmdCloseScript = 1064,
    kCmdStopPlay = 1065,
    kCmdDeleteStep = 1066,
    kCmdClearScript = 1004, // in the script window, where the broom's id means nothing
};

// Posts the next step of a script, as a command posted to the view would run, so that a
// repeat of instant commands never runs in one go and the pupil can stop it.
inline constexpr std::uint32_t kScriptStepTimer = 6667;

// A repeat's number box holds at most three digits.
inline constexpr std::size_t kRepeatNumberLength = 3;
// Counted repeats run from 1 to this many times; a repeat to the end stops after as many.
inline constexpr int kMaxRepeatTimes = 360;

inline constexpr const char* kNameOfScriptCaption = "Name of Script?";
inline constexpr const char* kScriptExistsCaption = "Script Exists";
inline constexpr const char* kScriptExistsText =
    "You already have a script with this name. Do you want to replace it or add to the end of "
    "it?";
inline constexpr const char* kScriptExistsAdd = "Add";
inline constexpr const char* kScriptExistsReplace = "Replace";
inline constexpr const char* kScriptExistsCancel = "Cancel";
inline constexpr const char* kDefaultScriptName = "script1";
inline constexpr const char* kScriptNameLength = "Please enter a name from 1 to 8 characters.";
inline constexpr const char* kScriptNameTaken =
    "That script name already exists. Please choose another name for your script.";
inline constexpr const char* kInvalidRepeatNumber =
    "Invalid number. Please use any whole number from 1 to 360.";
inline constexpr const char* kRepeatTooLarge =
    "The number is too large. Please use any whole number from 1 to 360.";
inline constexpr const char* kCannotChangeSelection =
    "You cannot change the selection while recording!";
inline constexpr const char* kEraseScriptQuestion = "Are you sure you want to erase this script?";
inline constexpr const char* kContinueRecordingQuestion =
    "Do you want to continue recording this script?";

inline constexpr const char* kScriptWindowTitle = "Script Window";
inline constexpr int kScriptWindowWidth = 200;
inline constexpr int kScriptWindowHeight = 305;
inline constexpr Color kScriptWindowBackground = PaletteRGB(0xC7, 0xC7, 0xC7);

// Where a script window opens (screen coordinates): where it was left when it lies wholly over
// the workspace pane `pane`, else in the pane's top right corner, so that it never covers the
// exit and broom buttons, the palette or the panels.
CPoint ScriptWindowPlace(CPoint saved, const CRect& pane);
inline constexpr Color kRecordingBannerColor = PaletteRGB(0xFF, 0x00, 0x00);
inline constexpr const char* kRecordingBanner = "Recording";
inline constexpr const char* kRepeatTimesCaption = "Times";
inline constexpr const char* kRepeatToEndCaption = "To End";

struct CScriptControl {
    int id;
    const char* caption;
    const char* toolTip; // null when the control has none
};
// The script panel's buttons and combo box.
const std::array<CScriptControl, 8>& ScriptPanelControls();
// The script window's buttons, in their order on the window.
const std::array<CScriptControl, 4>& ScriptWindowButtons();

// How a repeat step counts: the "Times" box with its number, or "To End".
enum class RepeatKind { Times, ToEnd };

// A row of a script window.
struct CScriptRow {
    std::string text;
    int icon = 0; // a slide's direction icon (1 to 24), or 0
};

// A script window while it is open.
struct CScriptWindowState {
    bool open = false;
    int selectedRow = -1;
};

// What the controller tells the geometry view around it.
class IScriptView {
public:
    virtual ~IScriptView() = default;
    // The scripts or the combo box's selection changed.
    virtual void ScriptsChanged() {}
    // A script window opened, closed, or changed its rows, selection, banner or buttons.
    virtual void ScriptWindowChanged(std::size_t /*script*/) {}
    // Recording, repeating or playing began or ended: controls, tools and drawers change.
    virtual void ControlsChanged() {}
    // The Arrow is chosen (its palette button latches).
    virtual void SelectArrowTool() {}
    // The repeat number box is selected and focused after a refusal.
    virtual void FocusRepeatNumber() {}
    // Where a new script's window opens: the view's client origin on the screen.
    virtual CPoint ClientOriginOnScreen() const { return {}; }
};

class CScriptController : public IShapeCommandObserver, public ITimerClient {
public:
    // Becomes the commands' observer for as long as it lives.
    CScriptController(CGeometryUnitDocument& doc, CShapeCommandController& commands,
                      IPrompter& prompter, ITimerHost& timers);
    ~CScriptController() override;
    CScriptController(const CScriptController&) = delete;
    CScriptController& operator=(const CScriptController&) = delete;

    void SetView(IScriptView* view) { m_view = view; }
    // The workspace's extent, which counted repeats keep their copies and stamps inside;
    // empty means no limit.
    void SetWorkspaceExtent(const CRect& extent) { m_extent = extent; }

    // The panel's commands, and every shape command while a script records or plays (refused
    // when not enabled); false for an id that is neither.
    bool OnCommand(int id);
    bool IsCommandEnabled(int id) const;
    // Whether a panel control shows (the repeat controls only while recording).
    bool IsControlShown(int id) const;
    bool ToolsEnabled() const { return !IsBusy(); }
    bool DrawersEnabled() const { return !IsBusy(); }

    void OnRecord();
    void OnViewScript();
    void OnPlay();
    void OnStopPlay();
    void OnSelectAndGroup();
    void OnRepeat();
    void OnStopRepeat();
    void OnEndRecord();

    // The repeat options beside the Repeat button.
    void SetRepeatKind(RepeatKind kind) { m_repeatKind = kind; }
    RepeatKind repeatKind() const { return m_repeatKind; }
    void SetRepeatNumberText(const std::string& text);
    const std::string& repeatNumberText() const { return m_repeatNumber; }

    // The combo box.
    void SelectScript(std::optional<std::size_t> index);
    const CScriptList& scripts() const;

    // Mouse presses in the workspace pass here first: false when the press must be ignored
    // (a script plays or repeats, an animation runs) or is refused (it would change the
    // selection while recording).
    bool MouseDownAllowed(CPoint p, MouseModifiers modifiers = {});

    // Script windows.
    const CScriptWindowState& windowState(std::size_t script) const;
    std::vector<CScriptRow> Rows(std::size_t script) const;
    // The window shows the recording banner and "End Record" instead of its other buttons.
    bool IsWindowRecording(std::size_t script) const;
    void SelectRow(std::size_t script, int row);
    void WindowMoved(std::size_t script, CPoint topLeft);
    void OnDeleteStep(std::size_t script);
    void OnClearScript(std::size_t script);
    void OnCloseWindow(std::size_t script, CPoint topLeft);
    enum class RenameResult { Unchanged, Renamed, Refused };
    // Enter in the name box. After a refusal the box shows the old name again, selected.
    RenameResult RenameScript(std::size_t script, const std::string& typed);

    // The document's scripts were replaced (opened, new): everything stops, windows close.
    void Reset();

    bool recording() const { return m_recording; }
    bool playing() const { return m_playing; }
    bool repeating() const { return m_repeating; }
    bool paused() const { return m_paused; }
    bool IsBusy() const { return m_recording || m_playing; }
    // The script being recorded or played.
    std::optional<std::size_t> currentScript() const { return m_current; }
    int currentStep() const { return m_index; }
    int repeatCounter() const { return m_counter; }

    // IShapeCommandObserver.
    void CommandSucceeded(const CShapeCommandEvent& event) override;
    void SelectionDragged(int dx, int dy) override;
    void AnimationEnded() override;
    // ITimerClient.
    void OnTimer(std::uint32_t id) override;

private:
    ScriptStructList* Current();
    CScriptList& List();
    bool StartRecording(std::size_t script);
    void StopRecording();
    void Append(ScriptStruct step);
    // The step a successful command appends, or nothing for commands that are not steps.
    std::optional<ScriptStruct> StepFor(const CShapeCommandEvent& event) const;
    bool RepeatAllowed() const;
    // Select & Group: the marked manipulatives grouped; whether a group was made.
    bool SelectAndGroup();
    void MarkSelection();
    void ClearScriptMarks();
    void EnterRepeat(int repeatIndex);
    void CloseRepeat();
    void EndPlayedRepeat();
    void PostNextStep();
    void NextStep();
    // Runs one step; false when it failed and what runs must stop.
    bool RunStep(const ScriptStruct& step);
    bool FitsWorkspace() const;
    void StopRunning();
    void CancelPostedStep();
    void ShowRow(int row);
    void WindowChanged(std::size_t script);
    void ControlsChanged();

    CGeometryUnitDocument& m_doc;
    CShapeCommandController& m_commands;
    IPrompter& m_prompter;
    ITimerHost& m_timers;
    IScriptView* m_view = nullptr;
    CRect m_extent;

    std::vector<CScriptWindowState> m_windows; // parallel to the scripts
    RepeatKind m_repeatKind = RepeatKind::Times;
    std::string m_repeatNumber = "1";

    std::optional<std::size_t> m_current;
    int m_index = 0;
    int m_openRepeat = -1;
    int m_blockStart = 0;
    int m_counter = 0;
    bool m_recording = false;
    bool m_playing = false;
    bool m_repeating = false;
    bool m_paused = false;
    bool m_stepDue = false; // a step came due while paused
    bool m_stepPosted = false;
    bool m_driving = false;   // steps run in a loop, without a timer
    bool m_running = false;   // a step's command is being issued
    bool m_succeeded = false; // it reported success
    bool m_lastWasGroup = false;
};

} // namespace quorvel

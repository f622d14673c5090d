// The Numbers page's logic without a screen: the tools on cards, machines and links (Arrow,
// Selector, Eraser, Writing tool, Mystery, Linking), the machines' own buttons, the run cycle
// on its timers, the drawer of cards and machines, the Numbers menu and the keyboard. The page
// maps its events here in workspace coordinates and lays an editor over a box only while the
// controller asks for one.
#pragma once

#include "patterns/number_machine.h"
#include "patterns/patterns_documents.h"
#include "patterns/patterns_problems.h"
#include "patterns/table_tool.h"
#include "problemsets/problem_set_controller.h"
#include "workspace/timer_host.h"

#include <map>
#include <memory>
#include <optional>

namespace quorvel {

// The Numbers menu.
inline constexpr int kCmdDeleteOutputCards = 32790; // "&Delete All Output cards"
inline constexpr int kCmdNumberOptions = 32791;     // "&Number Options..."
// View buttons.
inline constexpr int kCmdNumbersCopy = 1015;
inline constexpr int kCmdNewTable = 1337;
// Machine controls (their help ids).
inline constexpr int kGoButtonId = 1249;
inline constexpr int kToggle1Id = 1333;
inline constexpr int kToggle2Id = 1334;
inline constexpr int kSpinNextId = 1335;
inline constexpr int kSpinPreviousId = 1336;
inline constexpr int kLabelBoxId = 1344;

// The run's 100 ms animation ticks; autotrigger timers of 750 ms take ids from the second on.
inline constexpr std::uint32_t kMachineTickTimer = 7100;
inline constexpr std::uint32_t kFirstAutotriggerTimer = 7101;
inline constexpr int kMachineTickMs = 100;
inline constexpr int kAutotriggerMs = 750;
// Ticks of one run's animation.
inline constexpr int kRunTicks = 6;

// What the drawer offers.
enum class NumbersDrawerItem { Card, Machine };

// A box the pupil types in while the page's editor lies over it.
enum class NumbersEditKind { Card, Operator, Label, Cell };
struct CNumbersEdit {
    NumbersEditKind kind = NumbersEditKind::Card;
    CRect rect; // workspace coordinates
    std::string text;
    std::size_t maxChars = kCardMaxChars;
    CFontSpec font;
};

// Keys the workspace takes (the values are the toolkit's own key codes, so the page passes them
// through unchanged).
enum NumbersKey : int {
    kKeyTab = 0x01000001,
    kKeyBacktab = 0x01000002,
    kKeyReturn = 0x01000004,
    kKeyEnter = 0x01000005,
    kKeyDelete = 0x01000007,
    kKeyLeft = 0x01000012,
    kKeyUp = 0x01000013,
    kKeyRight = 0x01000014,
    kKeyDown = 0x01000015,
};

// What the controller asks of the Numbers page besides the unit page's window.
class INumbersViewWindow {
public:
    virtual ~INumbersViewWindow() = default;
    // Lay an editor over `edit.rect` with its text and give it the focus.
    virtual void BeginEdit(const CNumbersEdit& edit) = 0;
    // Take the editor away (its last text already reached EditChanged).
    virtual void EndEdit() = 0;
    // The workspace point under a screen point (the Mystery tool's click).
    virtual CPoint ScreenToWorkspace(CPoint screen) const { return screen; }
    // The workspace point under a point of the page, when the page shows the workspace there.
    virtual std::optional<CPoint> PageToWorkspace(CPoint) const { return std::nullopt; }
    // The document was read, reset or undone: the pane shows the workspace from `offset`.
    virtual void ShowPaneOffset(CPoint /*offset*/) {}
    // The options changed what the page shows.
    virtual void OptionsApplied() {}
};

namespace detail {
struct CNumbersProblemParts {
    explicit CNumbersProblemParts(std::unique_ptr<IProblemSetWindow> window);
    std::unique_ptr<IProblemSetWindow> m_problemWindow;
    std::unique_ptr<IProblemRule> m_numbersRule;
};
} // namespace detail

class CNumbersViewController : private detail::CNumbersProblemParts,
                               public CProblemSetViewController,
                               public ITimerClient {
public:
    CNumbersViewController(CNumberPatternsDocument& doc, IUnitViewWindow& window,
                           std::unique_ptr<ITimerHost> timers,
                           std::unique_ptr<ITextMetrics> metrics,
                           std::unique_ptr<IProblemSetWindow> problems = nullptr);
    ~CNumbersViewController() override;

    void SetNumbersWindow(INumbersViewWindow* window) { m_numbersWindow = window; }
    CNumberPatternsDocument& numbersDocument() const { return m_doc; }
    ITimerHost& timers() { return *m_timers; }
    ITextMetrics& metrics() { return *m_metrics; }
    // The tables: the Table menu, their cells, plugs and recorded runs.
    CTableTool& tables() { return m_tables; }

    // Commands: the Numbers menu, Copy, New table, tools, and the page's own.
    bool OnCommand(int id) override;
    bool IsCommandEnabled(int id) const override;
    void SelectTool(int command) override;
    void MysteryAt(CPoint screen) override;
    void HelpAt(CPoint p) override;
    void ResetView() override;
    void StartOver() override;

    // The drawer: a card or a machine taken out and dropped at `at` (one undo step). Returns
    // what was made, or null when nothing was.
    CPatternManipulative* TakeFromDrawer(NumbersDrawerItem item, CPoint at);

    // Mouse, in workspace coordinates.
    void MouseDown(CPoint p, bool shift, bool ctrl);
    void MouseMove(CPoint p);
    void MouseUp(CPoint p);
    void DoubleClick(CPoint p);
    // Escape: ends a drag (putting everything back), a wire being drawn or an edit.
    bool CancelMouse();
    bool dragging() const { return m_drag.has_value(); }

    // The editor's text changed; the edit ends (kept) with EndEdit.
    void EditChanged(const std::string& text);
    void EndEdit();
    bool editing() const { return m_edit.has_value(); }
    const std::optional<CNumbersEdit>& edit() const { return m_editBox; }

    // Keys of a workspace with the focus: Tab and Shift+Tab step through the manipulatives (and
    // past the last one give the focus back to the page),
    // arrows move the selection, Enter presses Go on a selected machine or edits a selected
    // card, Delete erases the selection with the Eraser's rules. True when taken.
    bool KeyPress(int key, bool shift, bool ctrl);

    // The machine's buttons (also reached by clicks).
    void PressGo(CNumberMachine& machine);
    void Spin(CNumberMachine& machine, bool next);
    void ToggleBuiltIn(CNumberMachine& machine, int which);
    void SetOperation(CNumberMachine& machine, int operation);

    // The run cycle.
    void Trigger(CFunctionMachine& first);
    void OnTimer(std::uint32_t id) override;
    // A run or an autotrigger wait is under way anywhere.
    bool running() const;
    // Stops every run at once (Undo, Open, New, the broom): nothing half-moved stays.
    void StopAll();

    // Drawing: the workspace, then the wire being drawn.
    void Draw(IDrawingSurface& dc, const CRect& clip) const;

    // The Linking tool's wire while it is drawn: from the source's output point to the pointer.
    const std::optional<std::pair<CPoint, CPoint>>& rubberWire() const { return m_rubberWire; }

private:
    struct DragState {
        CPatternManipulative* target = nullptr;
        CPoint start;
        CPoint last;
        bool moved = false;
    };
    struct EditState {
        NumbersEditKind kind;
        CPatternManipulative* target; // the card, or the machine
        CNumberMachine* machine;      // the machine of a built-in card, an operator or a label
    };

    // Eraser rules on a machine or a link.
    void EraseAt(CPoint p);
    void EraseObject(CPatternManipulative& target);
    void Erase(CPatternManipulative* m, bool wholeSupermachine);
    void EraseMachine(CFunctionMachine& machine);
    // The Linking tool's release.
    void FinishLink(CFunctionMachine& source, CPoint p);
    // A machine's plug wired to a table, with the table's refusal.
    void AttachToTable(CTableManipulative& table, CFunctionMachine& machine, int kind);
    // When the supermachines' tables hold rows, asks `question` and clears them on OK. False
    // when cancelled.
    bool ConfirmClearTables(int question, std::initializer_list<CFunctionMachine*> machines);
    void ToggleMystery(CFunctionMachine& machine);
    void MachineClick(CNumberMachine& machine, MachinePart part, CPoint p);
    void BeginEditOf(NumbersEditKind kind, CPatternManipulative& target);
    // Card dropped: onto a hopper under it, else where it lies.
    void DropCard(CNumberCardManipulative& card);
    void DetachFromHopper(CNumberCardManipulative& card);
    CNumberMachine* MachineAt(CPoint p) const;
    CPatternManipulative* TopAt(CPoint p) const;
    void Message(int id);
    void Message(const std::string& text, MessageIcon icon = MessageIcon::Exclamation);
    void EndRun(CFunctionMachine& first);
    void Deliver(CNumberMachine& machine);
    void FinishRunOf(CNumberMachine& machine);
    void MakeOutputCard(CNumberMachine& machine);
    void ScheduleAutotrigger(CFunctionMachine& first);
    void UpdateGoButtons();
    bool Alive(const CManipulative* m) const;
    void Invalidate(const CManipulative& m);
    CComputeOptions ComputeOptions() const;

    CNumberPatternsDocument& m_doc;
    std::unique_ptr<ITimerHost> m_timers;
    std::unique_ptr<ITextMetrics> m_metrics;
    INumbersViewWindow* m_numbersWindow = nullptr;
    CTableTool m_tables;

    std::vector<CNumberMachine*> m_animating;
    std::map<std::uint32_t, CFunctionMachine*> m_autotrigger;
    std::optional<DragState> m_drag;
    std::uint32_t m_nextAutotrigger = kFirstAutotriggerTimer;
    std::optional<EditState> m_edit;
    std::optional<CNumbersEdit> m_editBox;
    std::optional<std::pair<CPoint, CPoint>> m_rubberWire;
    CFunctionMachine* m_linkSource = nullptr;
    // The plug the wire started at, and the table a wire started at.
    int m_linkKind = kColumnOutput;
    CTableManipulative* m_linkTable = nullptr;
};

} // namespace quorvel

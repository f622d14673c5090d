// What the Numbers and Codes pages share about function machines: the run cycle on its timers,
// dragging cards onto hoppers, the Linking tool, the Eraser's machine and link choices, the
// Mystery tool on a whole supermachine, and Go buttons kept up to date. Each environment's
// controller derives from it and fills in its machines' own parts through the hooks below.
#pragma once

#include "patterns/pattern_manipulative.h"
#include "problemsets/problem_set_controller.h"
#include "workspace/drawing_surface.h"
#include "workspace/timer_host.h"

#include <map>
#include <memory>
#include <optional>

namespace quorvel {

// The run's 100 ms animation ticks; autotrigger timers of 750 ms take ids from the second on.
inline constexpr std::uint32_t kMachineTickTimer = 7100;
inline constexpr std::uint32_t kFirstAutotriggerTimer = 7101;
inline constexpr int kMachineTickMs = 100;
inline constexpr int kAutotriggerMs = 750;
// Ticks of one run's animation.
inline constexpr int kRunTicks = 6;

namespace detail {
// What a machine page's controller owns before its base is made: the problem-set window (a
// quiet one without a page) and the problem rule.
struct CMachinesProblemParts {
    explicit CMachinesProblemParts(std::unique_ptr<IProblemSetWindow> window);
    std::unique_ptr<IProblemSetWindow> m_problemWindow;
    std::unique_ptr<IProblemRule> m_machinesRule;
};
} // namespace detail

class CMachinesViewController : public CProblemSetViewController, public ITimerClient {
public:
    CMachinesViewController(CUnitDocument& doc, IUnitViewWindow& window,
                            IProblemSetWindow& problems, IProblemRule& rule,
                            std::unique_ptr<ITimerHost> timers,
                            std::unique_ptr<ITextMetrics> metrics);
    ~CMachinesViewController() override;

    ITimerHost& timers() { return *m_timers; }
    ITextMetrics& metrics() { return *m_metrics; }

    // The broom or a tool stops every run first.
    bool OnCommand(int id) override;
    void StartOver() override;

    // The pointer moves or is released (workspace coordinates): a drag or a wire goes on or
    // ends.
    virtual void MouseMove(CPoint p);
    virtual void MouseUp(CPoint p);
    bool dragging() const { return m_drag.has_value(); }

    // The run cycle.
    void Trigger(CFunctionMachine& first);
    void OnTimer(std::uint32_t id) override;
    // A run or an autotrigger wait is under way anywhere.
    bool running() const;
    // Stops every run at once (Undo, Open, New, the broom): nothing half-moved stays.
    virtual void StopAll();

    // Drawing: the workspace, then the wire being drawn.
    void Draw(IDrawingSurface& dc, const CRect& clip) const;

    // The Linking tool's wire while it is drawn: from the source's output point to the pointer.
    const std::optional<std::pair<CPoint, CPoint>>& rubberWire() const { return m_rubberWire; }

protected:
    // Hooks of the environment.
    virtual CComputeOptions ComputeOptions() const { return {}; }
    virtual bool Autotrigger() const { return false; }
    virtual bool WiresShown() const { return true; }
    // The output card of the last machine of a run, placed at the output hopper.
    virtual std::unique_ptr<CPatternManipulative> MakeOutputCard(CFunctionMachine& machine) = 0;
    // A press and release on a card or machine without moving it.
    virtual void ClickedInPlace(CPatternManipulative&) {}
    // The run of a supermachine starts, a machine computed, a machine's animation ended: what
    // records the run (tables) hears of it.
    virtual void RunStarting(CFunctionMachine& /*head*/) {}
    virtual void MachineComputed(CFunctionMachine&) {}
    virtual void MachineFinished(CFunctionMachine&) {}
    // Machines or links were erased.
    virtual void AfterErase() {}
    // The Mystery tool on a supermachine whose head is not ready.
    virtual void NotReadyForMystery() {}
    // The icon of a message given by id.
    virtual MessageIcon IconOf(int) const { return MessageIcon::Exclamation; }

    // Asks the question of string `question` with OK and Cancel: true on OK, or without a
    // prompter.
    bool AskOkCancel(int question);
    // "Delete All Output cards" after `question`: one undo step.
    template <class Document> void DeleteOutputCardsOf(Document& doc, int question) {
        if (!doc.HasOutputCardsToDelete() || !AskOkCancel(question))
            return;
        doc.MarkUndoStep();
        doc.DeleteOutputCards();
        UpdateGoButtons();
        InvalidateAll();
    }
    // The Mystery tool on a card: hides or shows it, or says `refusal` (one undo step).
    template <class Card> void ToggleCardHidden(Card& card, int refusal) {
        m_machinesDoc.MarkUndoStep();
        if (card.ToggleHidden() != kAccepted)
            Message(refusal);
        else
            m_machinesDoc.SetModifiedFlag();
        UpdateGoButtons();
        Invalidate(card);
    }
    // A machine's part changed: the document is modified and the machine drawn again.
    void MachineChanged(CFunctionMachine& machine);
    // What the drawer made goes inside the workspace and into the document; a card drops onto
    // a hopper under it.
    CPatternManipulative* PlaceFromDrawer(std::unique_ptr<CPatternManipulative> made);
    // The Selector's or the Eraser's press; false for the other tools.
    bool SelectorOrEraserPress(CPatternManipulative* hit, CPoint p, bool shift);
    // The Arrow's press on no control: the object under it follows the pointer, or nothing
    // stays selected.
    void ArrowPress(CPatternManipulative* hit, CPoint p);
    // Escape after the environment's own part (`any`: something was under way): drags and
    // wires go back. True when anything was under way.
    bool CancelMouseAfter(bool any);
    // Tab (or backwards) steps the selection through the movable manipulatives; past either
    // end nothing stays selected and the focus leaves (false).
    bool StepSelection(bool back);
    // Delete: cards and machines go by the Eraser's rules, anything else at once.
    void DeleteSelected(CManipulative& selected);

    // Go (or Stop) on the first machine: starts a run or a series, or stops a series.
    void StartRun(CFunctionMachine& first);
    void PressStop(CFunctionMachine& first);

    // Something just taken out of the drawer moves right or down until it lies wholly inside
    // the workspace, whose top-left corner is the origin.
    static void KeepInWorkspace(CPatternManipulative& m);
    // The Arrow on a card or machine: select it and follow the pointer.
    void BeginDrag(CPatternManipulative& target, CPoint p);
    // The Linking tool pressed on an output hopper.
    void BeginLink(CFunctionMachine& source, CPoint p);
    // Escape on a drag or a wire: everything goes back. True when one was under way.
    bool CancelDragAndWire();
    // The Selector's click.
    void SelectorClick(CPatternManipulative* hit, bool shift);

    // Eraser rules on a machine or a link.
    void EraseAt(CPoint p);
    void EraseObject(CPatternManipulative& target);
    void Erase(CPatternManipulative* m, bool wholeSupermachine);
    // The Linking tool's release.
    void FinishLink(CFunctionMachine& source, CPoint p);
    // Tables of a supermachine that hold rows; asks `question` first. False when cancelled.
    virtual bool ConfirmClearTables(int question,
                                    std::initializer_list<CFunctionMachine*> machines);
    void ToggleMystery(CFunctionMachine& machine);
    // Card dropped: onto a hopper under it, else where it lies.
    void DropCard(CPatternManipulative& card);
    void DetachFromHopper(CPatternManipulative& card);
    CFunctionMachine* MachineAt(CPoint p) const;
    CPatternManipulative* TopAt(CPoint p) const;
    void Message(int id);
    void Message(const std::string& text, MessageIcon icon = MessageIcon::Exclamation);
    void EndRun(CFunctionMachine& first);
    void Deliver(CFunctionMachine& machine);
    void FinishRunOf(CFunctionMachine& machine);
    void LeaveOutputCard(CFunctionMachine& machine);
    void ScheduleAutotrigger(CFunctionMachine& first);
    void UpdateGoButtons();
    bool Alive(const CManipulative* m) const;
    void Invalidate(const CManipulative& m);

    CUnitDocument& m_machinesDoc;

private:
    struct DragState {
        CPatternManipulative* target = nullptr;
        CPoint start;
        CPoint last;
        bool moved = false;
    };

    std::unique_ptr<ITimerHost> m_timers;
    std::unique_ptr<ITextMetrics> m_metrics;
    std::vector<CFunctionMachine*> m_animating;
    std::map<std::uint32_t, CFunctionMachine*> m_autotrigger;
    std::optional<DragState> m_drag;
    std::uint32_t m_nextAutotrigger = kFirstAutotriggerTimer;
    std::optional<std::pair<CPoint, CPoint>> m_rubberWire;
    CFunctionMachine* m_linkSource = nullptr;
};

} // namespace quorvel

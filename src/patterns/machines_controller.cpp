// The machine pages' shared logic: dragging cards onto hoppers, linking, erasing machines and
// links, the Mystery tool on a supermachine, and the run cycle.
#include "patterns/machines_controller.h"

#include "numbers/number_exceptions.h"
#include "patterns/patterns_problems.h"
#include "workspace/prompter.h"
#include "workspace/string_table.h"

#include <algorithm>
#include <cstdlib>

namespace quorvel {

namespace {

constexpr int kDragThreshold = 2;
constexpr const char* kEraseMachineCaption = "Erase Machine";
constexpr const char* kEraseLinkCaption = "Erase Link";

CRect Grown(CRect r, int by) {
    r.Inflate(by, by);
    return r;
}

CFunctionMachine* AsMachine(CManipulative* m) {
    auto* p = dynamic_cast<CPatternManipulative*>(m);
    return p && p->IsMachine() ? static_cast<CFunctionMachine*>(p) : nullptr;
}

CPatternManipulative* AsCard(CManipulative* m) {
    auto* p = dynamic_cast<CPatternManipulative*>(m);
    return p && p->IsCard() ? p : nullptr;
}

} // namespace

CMachinesViewController::CMachinesViewController(CUnitDocument& doc, IUnitViewWindow& window,
                                                 IProblemSetWindow& problems, IProblemRule& rule,
                                                 std::unique_ptr<ITimerHost> timers,
                                                 std::unique_ptr<ITextMetrics> metrics)
    : CProblemSetViewController(doc, window, problems, rule), m_machinesDoc(doc),
      m_timers(std::move(timers)), m_metrics(std::move(metrics)) {}

CMachinesViewController::~CMachinesViewController() {
    if (m_timers) {
        m_timers->KillTimer(kMachineTickTimer);
        for (const auto& [id, first] : m_autotrigger)
            m_timers->KillTimer(id);
    }
}

// --- mouse ------------------------------------------------------------------------------------

namespace detail {
CMachinesProblemParts::CMachinesProblemParts(std::unique_ptr<IProblemSetWindow> window)
    : m_problemWindow(window ? std::move(window) : std::make_unique<CQuietProblemSetWindow>()),
      m_machinesRule(MakeNumbersProblemRule()) {}
} // namespace detail

bool CMachinesViewController::OnCommand(int id) {
    if (running() && (id == kBroomCommand || IsToolCommand(id)))
        StopAll();
    return CProblemSetViewController::OnCommand(id);
}

void CMachinesViewController::StartOver() {
    StopAll();
    CProblemSetViewController::StartOver();
    UpdateGoButtons();
}

// --- pieces of the environments' tools ------------------------------------------------------

void CMachinesViewController::MachineChanged(CFunctionMachine& machine) {
    m_machinesDoc.SetModifiedFlag();
    UpdateGoButtons();
    Invalidate(machine);
}

CPatternManipulative*
CMachinesViewController::PlaceFromDrawer(std::unique_ptr<CPatternManipulative> made) {
    KeepInWorkspace(*made);
    auto* added =
        static_cast<CPatternManipulative*>(m_machinesDoc.AddManipulative(std::move(made)));
    if (added->IsCard())
        DropCard(*added);
    UpdateGoButtons();
    Invalidate(*added);
    return added;
}

bool CMachinesViewController::SelectorOrEraserPress(CPatternManipulative* hit, CPoint p,
                                                    bool shift) {
    switch (currentTool()) {
    case kToolSelector:
        SelectorClick(hit, shift);
        return true;
    case kToolEraser:
        EraseAt(p);
        return true;
    default:
        return false;
    }
}

void CMachinesViewController::ArrowPress(CPatternManipulative* hit, CPoint p) {
    if (hit && !hit->IsLink())
        BeginDrag(*hit, p);
    else
        m_machinesDoc.DeselectAll();
    InvalidateAll();
}

bool CMachinesViewController::CancelMouseAfter(bool any) {
    if (CancelDragAndWire())
        any = true;
    if (any) {
        UpdateGoButtons();
        InvalidateAll();
    }
    return any;
}

bool CMachinesViewController::StepSelection(bool back) {
    CUnitDocument& doc = m_machinesDoc;
    CManipulative* selected = doc.selection().empty() ? nullptr : doc.selection().back();
    std::vector<CManipulative*> order;
    for (const auto& m : doc.manipulatives())
        if (m->GetType() != kTypeMachineLink && m->visible() && !m->fixed())
            order.push_back(m.get());
    if (order.empty())
        return false;
    auto it = std::find(order.begin(), order.end(), selected);
    std::size_t next = 0;
    if (it == order.end()) {
        next = back ? order.size() - 1 : 0;
    } else {
        // Past the last (or before the first) the focus moves on to the page's controls.
        const std::size_t at = static_cast<std::size_t>(it - order.begin());
        if ((back && at == 0) || (!back && at + 1 == order.size())) {
            doc.DeselectAll();
            InvalidateAll();
            return false;
        }
        next = back ? at - 1 : at + 1;
    }
    doc.DeselectAll();
    doc.Select(order[next]);
    order[next]->SetSelected(true);
    InvalidateAll();
    return true;
}

void CMachinesViewController::DeleteSelected(CManipulative& selected) {
    if (auto* p = dynamic_cast<CPatternManipulative*>(&selected);
        p && (p->IsCard() || p->IsMachine())) {
        EraseObject(*p);
    } else {
        m_machinesDoc.MarkUndoStep();
        m_machinesDoc.DeleteManipulative(&selected);
        InvalidateAll();
    }
}

CPatternManipulative* CMachinesViewController::TopAt(CPoint p) const {
    const auto& list = m_machinesDoc.manipulatives();
    // Cards and machines before the wires between them.
    for (int pass = 0; pass < 2; ++pass) {
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            auto* m = dynamic_cast<CPatternManipulative*>(it->get());
            if (!m || m->IsLink() != (pass == 1))
                continue;
            if (!m->IsCard() && !m->IsMachine() && !m->IsLink() && m->GetType() != kTypeTable)
                continue;
            if (m->visible() && m->HitTest(p.x, p.y))
                return m;
        }
    }
    return nullptr;
}

CFunctionMachine* CMachinesViewController::MachineAt(CPoint p) const {
    const auto& list = m_machinesDoc.manipulatives();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (CFunctionMachine* machine = AsMachine(it->get()); machine && machine->HitTest(p.x, p.y))
            return machine;
    return nullptr;
}

void CMachinesViewController::SelectorClick(CPatternManipulative* hit, bool shift) {
    if (!hit || hit->IsLink()) {
        if (!shift)
            m_machinesDoc.DeselectAll();
    } else if (hit->selected()) {
        m_machinesDoc.Unselect(hit);
        hit->SetSelected(false);
    } else {
        if (!shift)
            m_machinesDoc.DeselectAll();
        m_machinesDoc.Select(hit);
        hit->SetSelected(true);
    }
    InvalidateAll();
}

void CMachinesViewController::KeepInWorkspace(CPatternManipulative& m) {
    const CRect frame = m.GetFrameOf();
    const int dx = std::max(0, -frame.left);
    const int dy = std::max(0, -frame.top);
    if (dx != 0 || dy != 0)
        m.MoveBy(dx, dy);
}

void CMachinesViewController::BeginDrag(CPatternManipulative& target, CPoint p) {
    m_drag = DragState{&target, p, p, false};
    if (!target.selected()) {
        m_machinesDoc.DeselectAll();
        m_machinesDoc.Select(&target);
        target.SetSelected(true);
    }
}

void CMachinesViewController::BeginLink(CFunctionMachine& source, CPoint p) {
    if (source.output()) {
        Message(kMsgOutputHopperOccupied);
        return;
    }
    m_linkSource = &source;
    m_rubberWire = std::make_pair(source.GetOutputPoint(), p);
    InvalidateAll();
}

void CMachinesViewController::MouseMove(CPoint p) {
    if (m_rubberWire) {
        m_rubberWire->second = p;
        InvalidateAll();
        return;
    }
    if (!m_drag || !Alive(m_drag->target))
        return;
    DragState& d = *m_drag;
    if (!d.moved) {
        if (std::abs(p.x - d.start.x) <= kDragThreshold &&
            std::abs(p.y - d.start.y) <= kDragThreshold)
            return;
        d.moved = true;
        m_machinesDoc.MarkUndoStep();
        if (CPatternManipulative* card = AsCard(d.target))
            DetachFromHopper(*card);
    }
    const CRect before = d.target->GetFrameOf();
    d.target->MoveBy(p.x - d.last.x, p.y - d.last.y);
    d.last = p;
    m_machinesDoc.SetModifiedFlag();
    if (!d.target->IsCard())
        InvalidateAll(); // links and the tables' wires follow
    else
        InvalidateRect(Grown(before.United(d.target->GetFrameOf()), 2));
}

void CMachinesViewController::MouseUp(CPoint p) {
    if (m_rubberWire) {
        CFunctionMachine* source = m_linkSource;
        m_rubberWire.reset();
        m_linkSource = nullptr;
        if (source && Alive(source))
            FinishLink(*source, p);
        InvalidateAll();
        return;
    }
    if (!m_drag)
        return;
    const DragState d = *m_drag;
    m_drag.reset();
    if (!Alive(d.target))
        return;
    if (d.moved) {
        if (CPatternManipulative* card = AsCard(d.target))
            DropCard(*card);
        UpdateGoButtons();
        InvalidateAll();
    } else {
        ClickedInPlace(*d.target);
    }
}

bool CMachinesViewController::CancelDragAndWire() {
    bool any = false;
    if (m_rubberWire) {
        m_rubberWire.reset();
        m_linkSource = nullptr;
        any = true;
    }
    if (m_drag) {
        const DragState d = *m_drag;
        m_drag.reset();
        any = true;
        if (d.moved && Alive(d.target)) {
            // Everything goes back where it was before the drag.
            m_machinesDoc.Undo();
        }
    }
    return any;
}

// --- cards and hoppers ------------------------------------------------------------------------

void CMachinesViewController::DropCard(CPatternManipulative& card) {
    const auto& list = m_machinesDoc.manipulatives();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        CFunctionMachine* machine = AsMachine(it->get());
        if (!machine)
            continue;
        const int result = machine->AcceptCard(&card);
        if (result == kAccepted)
            break;
        if (result != kNotOverHopper) {
            Message(result);
            break;
        }
    }
    UpdateGoButtons();
}

void CMachinesViewController::DetachFromHopper(CPatternManipulative& card) {
    CPatternManipulative* owner = card.hopperOwner();
    if (!owner)
        return;
    owner->RemoveCard(&card);
    if (owner->input1() == &card)
        owner->DetachInput1(&card);
    if (owner->input2() == &card)
        owner->DetachInput2(&card);
    card.SetHopperOwner(nullptr);
    if (CFunctionMachine* machine = AsMachine(owner)) {
        machine->PullWaitingCards();
        machine->PlaceWaitingCards();
    }
    UpdateGoButtons();
}

bool CMachinesViewController::ConfirmClearTables(
    int question, std::initializer_list<CFunctionMachine*> machines) {
    std::vector<CPatternManipulative*> tables;
    for (CFunctionMachine* m : machines)
        if (m)
            m->Head()->CollectTables(tables);
    if (tables.empty())
        return true;
    return AskOkCancel(question);
}

bool CMachinesViewController::AskOkCancel(int question) {
    IPrompter* ask = prompter();
    return !ask ||
           ask->MessageBox(std::string(LoadString(question).value_or("")), MessageIcon::Question,
                           MessageButtons::OkCancel) == MessageResult::Ok;
}

// --- mystery ----------------------------------------------------------------------------------

void CMachinesViewController::ToggleMystery(CFunctionMachine& machine) {
    CFunctionMachine* head = machine.Head();
    const bool becoming = machine.mystery() == 0;
    if (becoming && !head->IsReady()) {
        NotReadyForMystery();
        return;
    }
    head->SetSupermachineMystery(becoming ? 1 : 0);
    if (becoming && head->headMark()) {
        head->ClearGroupLabels();
        head->SetHeadMark(false);
    }
}

// --- eraser -----------------------------------------------------------------------------------

void CMachinesViewController::EraseAt(CPoint p) {
    CPatternManipulative* hit = TopAt(p);
    if (hit) {
        EraseObject(*hit);
        return;
    }
    // Writing in the workspace.
    const auto& list = m_machinesDoc.manipulatives();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if ((*it)->IsAnnotation() || (*it)->GetType() == kTypePatternsAnnotator) {
            if ((*it)->HitTest(p.x, p.y)) {
                m_machinesDoc.MarkUndoStep();
                m_machinesDoc.DeleteManipulative(it->get());
                InvalidateAll();
                return;
            }
        }
    }
}

void CMachinesViewController::EraseObject(CPatternManipulative& target) {
    CPatternManipulative* hit = &target;
    if (CPatternManipulative* card = AsCard(hit)) {
        m_machinesDoc.MarkUndoStep();
        DetachFromHopper(*card);
        m_machinesDoc.DeleteManipulative(card);
    } else if (hit->IsLink()) {
        auto& link = static_cast<CMachineLink&>(*hit);
        std::vector<CPatternManipulative*> tables;
        link.Head()->CollectTables(tables);
        const std::string text =
            tables.empty() ? "Erase the link to break the supermachine and remove any attached "
                             "links or erase the entire supermachine?"
                           : "Erase the link to break the supermachine and remove any attached "
                             "links and tables or erase the entire supermachine?";
        IPrompter* ask = prompter();
        const int choice = ask ? ask->Choose(text, {"Erase Link", "Erase SuperMachine", "Cancel"},
                                             kEraseLinkCaption)
                               : 0;
        if (choice != 0 && choice != 1)
            return;
        m_machinesDoc.MarkUndoStep();
        Erase(&link, choice == 1);
    } else if (hit->GetType() == kTypeTable) {
        m_machinesDoc.MarkUndoStep();
        m_machinesDoc.DeleteManipulative(hit);
    } else if (CFunctionMachine* machine = AsMachine(hit)) {
        if (!machine->InSupermachine()) {
            m_machinesDoc.MarkUndoStep();
            Erase(machine, false);
        } else {
            std::vector<CPatternManipulative*> tables;
            machine->Head()->CollectTables(tables);
            const std::string text =
                tables.empty()
                    ? "Erase a single machine to break the supermachine and remove any attached "
                      "links or erase the entire supermachine?"
                    : "Erase a single machine to break the supermachine and remove any attached "
                      "links and tables or erase the entire supermachine?";
            IPrompter* ask = prompter();
            const int choice =
                ask ? ask->Choose(text, {"Erase Single Machine", "Erase SuperMachine", "Cancel"},
                                  kEraseMachineCaption)
                    : 0;
            if (choice != 0 && choice != 1)
                return;
            m_machinesDoc.MarkUndoStep();
            // A mysterious machine goes with its whole supermachine.
            Erase(machine, choice == 1 || machine->mystery() != 0);
        }
    }
    UpdateGoButtons();
    InvalidateAll();
}

void CMachinesViewController::Erase(CPatternManipulative* m, bool wholeSupermachine) {
    auto& fm = static_cast<CFunctionMachine&>(*m);
    std::vector<CPatternManipulative*> doomed;
    if (wholeSupermachine) {
        std::vector<CFunctionMachine*> members;
        fm.Head()->Members(members);
        doomed.assign(members.begin(), members.end());
    } else {
        doomed.push_back(m);
        if (m->IsMachine())
            for (CPatternManipulative* in : {m->input1(), m->input2(), m->output()})
                if (in && in->IsLink())
                    doomed.push_back(in);
    }
    // Tables stay: they lose the erased machines' columns, and those of a supermachine that
    // was broken apart.
    for (CPatternManipulative* d : doomed) {
        if (!Alive(d))
            continue;
        // Cards waiting at a machine that goes stay where they lie.
        if (d->IsMachine()) {
            for (auto* list : {&d->waiting1(), &d->waiting2()})
                for (CPatternManipulative* c : std::vector<CPatternManipulative*>(*list))
                    c->SetHopperOwner(nullptr);
            for (CPatternManipulative* c : {d->input1(), d->input2()})
                if (c && c->IsCard())
                    c->SetHopperOwner(nullptr);
        }
        m_machinesDoc.DeleteManipulative(d);
    }
    AfterErase();
}

// --- linking ----------------------------------------------------------------------------------

void CMachinesViewController::FinishLink(CFunctionMachine& source, CPoint p) {
    CFunctionMachine* target = MachineAt(p);
    if (!target)
        return;
    int which = 0;
    if (target->HitInput1(p) || target->DropArea(1).Contains(p))
        which = 1;
    else if (target->HitInput2(p) || target->DropArea(2).Contains(p))
        which = 2;
    if (which == 0 || target->IsBuiltIn(which))
        return;
    if (target == &source || source.Head()->Contains(target)) {
        Message(kMsgLinkLoop);
        return;
    }
    if (which == 1 && target->input1()) {
        Message(kMsgInputHopperOccupied);
        return;
    }
    if (which == 2 && target->input2()) {
        Message(kSecondInputOccupied);
        return;
    }
    // One step with the tables it clears.
    m_machinesDoc.MarkUndoStep();
    if (!ConfirmClearTables(kMsgAddingClearsTable, {&source, target}))
        return;
    auto link = std::make_unique<CMachineLink>(source, *target);
    CMachineLink* raw = link.get();
    const int result = which == 1 ? target->SetInput1(raw) : target->SetInput2(raw);
    if (result != kAccepted) {
        Message(result);
        return;
    }
    raw->SetInput1(&source);
    raw->SetWiresShown(WiresShown());
    raw->Route();
    m_machinesDoc.AddManipulative(std::move(link));
    m_machinesDoc.SetModifiedFlag();
    UpdateGoButtons();
    InvalidateAll();
}

// --- the run cycle ----------------------------------------------------------------------------

bool CMachinesViewController::running() const {
    return !m_animating.empty() || !m_autotrigger.empty() ||
           std::any_of(m_machinesDoc.manipulatives().begin(), m_machinesDoc.manipulatives().end(),
                       [](const auto& m) {
                           const CFunctionMachine* fm = AsMachine(m.get());
                           return fm && !fm->controlsEnabled();
                       });
}

void CMachinesViewController::PressStop(CFunctionMachine& machine) {
    machine.SetStopRequested(true);
    machine.SetGoButtonText("Go");
    // A series waiting for its next run ends now; a run under way finishes first.
    for (auto it = m_autotrigger.begin(); it != m_autotrigger.end(); ++it) {
        if (it->second == &machine) {
            m_timers->KillTimer(it->first);
            m_autotrigger.erase(it);
            EndRun(machine);
            break;
        }
    }
    Invalidate(machine);
}

void CMachinesViewController::StartRun(CFunctionMachine& machine) {
    bool series = false;
    if (Autotrigger()) {
        std::vector<CFunctionMachine*> leaves;
        machine.Head()->Leaves(leaves);
        for (CFunctionMachine* leaf : leaves)
            series = series || !leaf->waiting1().empty() || !leaf->waiting2().empty() ||
                     leaf->builtIn1() || leaf->builtIn2();
    }
    if (series) {
        machine.SetGoButtonText("Stop");
        machine.SetStopRequested(false);
    } else {
        machine.EnableGoButton(false);
    }
    Trigger(machine);
}

void CMachinesViewController::Trigger(CFunctionMachine& first) {
    CFunctionMachine* head = first.Head();
    if (!head->HasValue()) {
        EndRun(first);
        return;
    }
    std::vector<CFunctionMachine*> members;
    head->Members(members);
    for (CFunctionMachine* m : members)
        m->EnableControls(false);
    RunStarting(*head);
    std::vector<CFunctionMachine*> leaves;
    head->Leaves(leaves);
    for (CFunctionMachine* leaf : leaves) {
        leaf->SetInput1Arrived(true);
        leaf->SetInput2Arrived(true);
    }
    for (CFunctionMachine* leaf : leaves) {
        if (!Alive(leaf))
            return;
        Deliver(*leaf);
    }
    InvalidateAll();
}

// Computes one machine of the run and starts its animation.
void CMachinesViewController::Deliver(CFunctionMachine& machine) {
    CFunctionMachine* first = machine.FirstMachine();
    ComputeResult result = ComputeResult::Missing;
    try {
        result = machine.Compute(ComputeOptions());
    } catch (const CNumberException& e) {
        Message(e.message());
        machine.SetInput1Arrived(false);
        machine.SetInput2Arrived(false);
        EndRun(*first);
        return;
    }
    if (result == ComputeResult::Waiting)
        return;
    if (result == ComputeResult::Missing) {
        Message(machine.ComputeMessage());
        EndRun(*first);
        return;
    }
    MachineComputed(machine);
    machine.SetTicks(0);
    if (std::find(m_animating.begin(), m_animating.end(), &machine) == m_animating.end())
        m_animating.push_back(&machine);
    if (!m_timers->IsRunning(kMachineTickTimer))
        m_timers->StartTimer(kMachineTickTimer, kMachineTickMs, this);
    Invalidate(machine);
}

void CMachinesViewController::OnTimer(std::uint32_t id) {
    if (id == kMachineTickTimer) {
        const std::vector<CFunctionMachine*> ticking = m_animating;
        for (CFunctionMachine* machine : ticking) {
            if (!Alive(machine)) {
                std::erase(m_animating, machine);
                continue;
            }
            const CRect before = machine->GetFrameOf();
            machine->SetTicks(machine->ticks() + 1);
            machine->AdvanceInputCards();
            InvalidateRect(Grown(before, 40));
            if (machine->ticks() >= kRunTicks) {
                std::erase(m_animating, machine);
                FinishRunOf(*machine);
            }
        }
        if (m_animating.empty())
            m_timers->KillTimer(kMachineTickTimer);
        return;
    }
    const auto it = m_autotrigger.find(id);
    m_timers->KillTimer(id);
    if (it == m_autotrigger.end())
        return;
    CFunctionMachine* first = it->second;
    m_autotrigger.erase(it);
    if (Alive(first))
        Trigger(*first);
}

void CMachinesViewController::FinishRunOf(CFunctionMachine& machine) {
    // The consumed input cards go; built-in inputs stay.
    for (int which = 1; which <= 2; ++which) {
        if (machine.IsBuiltIn(which))
            continue;
        CPatternManipulative* in = which == 1 ? machine.input1() : machine.input2();
        if (CPatternManipulative* card = AsCard(in)) {
            if (which == 1)
                machine.DetachInput1(card);
            else
                machine.DetachInput2(card);
            card->SetHopperOwner(nullptr);
            m_machinesDoc.DeleteManipulative(card);
        }
    }
    machine.PullWaitingCards();
    machine.PlaceWaitingCards();
    CFunctionMachine* first = machine.FirstMachine();
    MachineFinished(machine);
    if (CPatternManipulative* out = machine.output(); out && out->IsLink()) {
        auto* link = static_cast<CMachineLink*>(out);
        CFunctionMachine* target = link->target();
        machine.SetInput1Arrived(false);
        machine.SetInput2Arrived(false);
        if (target && target->IsMachine()) {
            if (link->TargetInput() == 1)
                target->SetInput1Arrived(true);
            else
                target->SetInput2Arrived(true);
            Deliver(*target);
        }
        return;
    }
    machine.SetInput1Arrived(false);
    machine.SetInput2Arrived(false);
    LeaveOutputCard(machine);
    m_machinesDoc.SetModifiedFlag();
    if (!first->stopRequested() && Autotrigger() && first->goText() == "Stop" &&
        machine.Head()->HasValue())
        ScheduleAutotrigger(*first);
    else
        EndRun(*first);
}

void CMachinesViewController::LeaveOutputCard(CFunctionMachine& machine) {
    std::unique_ptr<CPatternManipulative> card = MakeOutputCard(machine);
    if (!card)
        return;
    card->SetProducer(&machine);
    // Earlier cards under it are pushed down, one after another.
    CRect above = card->GetFrameOf();
    for (CPatternManipulative* earlier : machine.outputCards()) {
        CPatternManipulative* c = AsCard(earlier);
        if (!c || !Alive(c))
            continue;
        const CRect r = c->GetFrameOf();
        if (r.Intersects(above)) {
            c->MoveBy(0, above.bottom - r.top);
            above = c->GetFrameOf();
        }
    }
    auto* added =
        static_cast<CPatternManipulative*>(m_machinesDoc.AddManipulative(std::move(card)));
    machine.outputCards().insert(machine.outputCards().begin(), added);
}

void CMachinesViewController::ScheduleAutotrigger(CFunctionMachine& first) {
    const std::uint32_t id = m_nextAutotrigger++;
    if (m_nextAutotrigger > kFirstAutotriggerTimer + 0xFFFF)
        m_nextAutotrigger = kFirstAutotriggerTimer;
    m_autotrigger[id] = &first;
    m_timers->StartTimer(id, kAutotriggerMs, this);
}

void CMachinesViewController::EndRun(CFunctionMachine& first) {
    first.SetGoButtonText("Go");
    std::vector<CFunctionMachine*> members;
    first.Head()->Members(members);
    for (CFunctionMachine* m : members)
        m->EnableControls(true);
    UpdateGoButtons();
    InvalidateAll();
    DocumentStateChanged();
}

void CMachinesViewController::StopAll() {
    if (m_timers) {
        m_timers->KillTimer(kMachineTickTimer);
        for (const auto& [id, first] : m_autotrigger)
            m_timers->KillTimer(id);
    }
    m_animating.clear();
    m_autotrigger.clear();
    m_drag.reset();
    m_rubberWire.reset();
    m_linkSource = nullptr;
    // What remains of a run (greyed controls, "Stop") is reset on what the document holds now.
    for (const auto& m : m_machinesDoc.manipulatives()) {
        auto* p = dynamic_cast<CPatternManipulative*>(m.get());
        if (p && (p->IsMachine() || p->IsLink())) {
            auto& fm = static_cast<CFunctionMachine&>(*p);
            fm.EnableControls(true);
            fm.SetGoButtonText("Go");
            fm.SetStopRequested(false);
            fm.SetInput1Arrived(false);
            fm.SetInput2Arrived(false);
        }
    }
}

void CMachinesViewController::UpdateGoButtons() {
    const bool wires = WiresShown();
    for (const auto& m : m_machinesDoc.manipulatives()) {
        if (m->GetType() == kTypeMachineLink) {
            auto& link = static_cast<CMachineLink&>(*m);
            link.SetWiresShown(wires);
            link.Route();
        }
    }
    for (const auto& m : m_machinesDoc.manipulatives())
        if (CFunctionMachine* machine = AsMachine(m.get()))
            machine->UpdateGoButton();
}

// --- helpers ----------------------------------------------------------------------------------

bool CMachinesViewController::Alive(const CManipulative* m) const {
    if (!m)
        return false;
    return std::any_of(m_machinesDoc.manipulatives().begin(), m_machinesDoc.manipulatives().end(),
                       [m](const auto& own) { return own.get() == m; });
}

void CMachinesViewController::Invalidate(const CManipulative& m) {
    InvalidateRect(Grown(m.GetFrameOf(), 4));
}

void CMachinesViewController::Message(int id) {
    if (id == kAccepted || id == kNotOverHopper)
        return;
    const auto text = LoadString(id);
    Message(text ? std::string(*text) : std::to_string(id), IconOf(id));
}

void CMachinesViewController::Message(const std::string& text, MessageIcon icon) {
    if (IPrompter* ask = prompter())
        ask->MessageBox(text, icon);
}

void CMachinesViewController::Draw(IDrawingSurface& dc, const CRect& clip) const {
    for (const auto& m : m_machinesDoc.manipulatives()) {
        if (!m->visible())
            continue;
        if (!clip.IsEmpty() && !m->GetFrameOf().Intersects(Grown(clip, 4)))
            continue;
        m->Draw(dc);
        if (m->selected()) {
            dc.SetPen(1, PaletteRGB(0, 90, 200));
            dc.SetNullBrush();
            dc.Rectangle(Grown(m->GetFrameOf(), 3));
        }
    }
    if (m_rubberWire) {
        dc.SetPen(2, PaletteRGB(40, 40, 120));
        dc.Polyline({m_rubberWire->first, m_rubberWire->second});
    }
}

} // namespace quorvel

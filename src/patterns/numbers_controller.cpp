// The Numbers page's logic: tools, machine buttons, the run cycle and the keyboard.
#include "patterns/numbers_controller.h"

#include "numbers/number_exceptions.h"
#include "workspace/prompter.h"
#include "workspace/string_table.h"

#include <algorithm>
#include <cstdlib>

namespace quorvel {

namespace {

constexpr int kDragThreshold = 2;
constexpr const char* kSelectObject = "Please select an object.";
constexpr const char* kEraseMachineCaption = "Erase Machine";
constexpr const char* kEraseLinkCaption = "Erase Link";

CRect Grown(CRect r, int by) {
    r.Inflate(by, by);
    return r;
}

CNumberMachine* AsMachine(CManipulative* m) {
    return m && m->GetType() == kTypeNumberMachine ? static_cast<CNumberMachine*>(m) : nullptr;
}

CTableManipulative* AsTable(CManipulative* m) {
    return m && m->GetType() == kTypeTable ? static_cast<CTableManipulative*>(m) : nullptr;
}

// The plug of a machine's part: an input hopper or the output; -1 for other parts.
int PlugOf(MachinePart part) {
    switch (part) {
    case MachinePart::Input1:
        return kColumnInput1;
    case MachinePart::Input2:
        return kColumnInput2;
    case MachinePart::Output:
        return kColumnOutput;
    default:
        return -1;
    }
}

CNumberCardManipulative* AsCard(CManipulative* m) {
    return m && m->GetType() == kTypeNumberCard ? static_cast<CNumberCardManipulative*>(m)
                                                : nullptr;
}

// The help id of a machine's part; 0 where the part has none of its own.
int HelpIdOf(MachinePart part) {
    switch (part) {
    case MachinePart::Go:
        return kGoButtonId;
    case MachinePart::Toggle1:
        return kToggle1Id;
    case MachinePart::Toggle2:
        return kToggle2Id;
    case MachinePart::SpinNext:
        return kSpinNextId;
    case MachinePart::SpinPrevious:
        return kSpinPreviousId;
    case MachinePart::Label:
        return kLabelBoxId;
    default:
        return 0;
    }
}

} // namespace

namespace detail {
CNumbersProblemParts::CNumbersProblemParts(std::unique_ptr<IProblemSetWindow> window)
    : m_problemWindow(window ? std::move(window) : std::make_unique<CQuietProblemSetWindow>()),
      m_numbersRule(MakeNumbersProblemRule()) {}
} // namespace detail

CNumbersViewController::CNumbersViewController(CNumberPatternsDocument& doc,
                                               IUnitViewWindow& window,
                                               std::unique_ptr<ITimerHost> timers,
                                               std::unique_ptr<ITextMetrics> metrics,
                                               std::unique_ptr<IProblemSetWindow> problems)
    : CNumbersProblemParts(std::move(problems)),
      CProblemSetViewController(doc, window, *m_problemWindow, *m_numbersRule), m_doc(doc),
      m_timers(std::move(timers)), m_metrics(std::move(metrics)), m_tables(doc, *m_metrics) {
    UpdateGoButtons();
}

CNumbersViewController::~CNumbersViewController() {
    StopAll();
}

// --- commands ---------------------------------------------------------------------------------

bool CNumbersViewController::OnCommand(int id) {
    switch (id) {
    case kCmdDeleteOutputCards: {
        if (!m_doc.HasOutputCardsToDelete())
            return true;
        IPrompter* ask = prompter();
        if (ask &&
            ask->MessageBox(std::string(LoadString(kMsgDeleteOutputCards).value_or("")),
                            MessageIcon::Question, MessageButtons::OkCancel) != MessageResult::Ok)
            return true;
        m_doc.MarkUndoStep();
        m_doc.DeleteOutputCards();
        UpdateGoButtons();
        InvalidateAll();
        return true;
    }
    case kCmdNumberOptions:
        return true;
    case kCmdNumbersCopy: {
        if (m_doc.selection().empty()) {
            Message(kSelectObject, MessageIcon::None);
            return true;
        }
        m_doc.MarkUndoStep();
        const std::vector<CManipulative*> selected = m_doc.selection();
        for (CManipulative* m : selected)
            if (m->GetType() != kTypeMachineLink)
                m_doc.AddManipulative(m->Clone());
        m_doc.MoveSelection(4, 4);
        UpdateGoButtons();
        InvalidateAll();
        return true;
    }
    case kCmdNewTable:
        if (running())
            return true;
        EndEdit();
        m_tables.NewTable();
        InvalidateAll();
        return true;
    default:
        break;
    }
    if (m_tables.CommandEnabled(id)) {
        if (!running()) {
            EndEdit();
            m_tables.OnCommand(id, prompter());
            UpdateGoButtons();
            InvalidateAll();
        }
        return true;
    }
    if (running() && (id == kBroomCommand || IsToolCommand(id)))
        StopAll();
    return CProblemSetViewController::OnCommand(id);
}

bool CNumbersViewController::IsCommandEnabled(int id) const {
    switch (id) {
    case kCmdDeleteOutputCards:
        return m_doc.HasOutputCardsToDelete() && !running();
    case kCmdNumberOptions:
        return false;
    case kCmdNumbersCopy:
    case kCmdNewTable:
        return !running();
    default:
        if (const std::optional<bool> enabled = m_tables.CommandEnabled(id))
            return *enabled && !running();
        return CProblemSetViewController::IsCommandEnabled(id);
    }
}

void CNumbersViewController::SelectTool(int command) {
    CancelMouse();
    if (ToolCodeOf(command) == kToolMystery && !m_doc.options().mysteryTool)
        command = ToolCommand(kToolArrow);
    CProblemSetViewController::SelectTool(command);
}

void CNumbersViewController::ResetView() {
    // The manipulatives the run knew may be gone: forget them without touching them.
    StopAll();
    UpdateGoButtons();
    if (m_numbersWindow)
        m_numbersWindow->ShowPaneOffset(m_doc.paneOffset());
}

void CNumbersViewController::StartOver() {
    StopAll();
    CProblemSetViewController::StartOver();
    UpdateGoButtons();
}

void CNumbersViewController::HelpAt(CPoint p) {
    if (m_numbersWindow) {
        if (const std::optional<CPoint> at = m_numbersWindow->PageToWorkspace(p)) {
            if (CNumberMachine* machine = MachineAt(*at)) {
                if (const int id = HelpIdOf(machine->PartAt(*at))) {
                    ShowHelp(id);
                    SelectArrow();
                    return;
                }
            }
        }
    }
    CProblemSetViewController::HelpAt(p);
}

void CNumbersViewController::MysteryAt(CPoint screen) {
    const CPoint p = m_numbersWindow ? m_numbersWindow->ScreenToWorkspace(screen) : screen;
    CPatternManipulative* hit = running() ? nullptr : TopAt(p);
    if (CNumberCardManipulative* card = AsCard(hit)) {
        m_doc.MarkUndoStep();
        if (card->ToggleHidden() != kAccepted)
            Message(kMsgHideEmptyCard);
        else
            m_doc.SetModifiedFlag();
        UpdateGoButtons();
        Invalidate(*card);
    } else if (CNumberMachine* machine = AsMachine(hit)) {
        const MachinePart part = machine->PartAt(p);
        const bool mysterious = machine->mystery() != 0;
        m_doc.MarkUndoStep();
        if (part == MachinePart::Operator && !mysterious) {
            if (machine->ToggleOperatorHidden() != kAccepted)
                Message(kMsgHideNoOperator);
        } else if ((part == MachinePart::BuiltIn1 || part == MachinePart::BuiltIn2) &&
                   !mysterious) {
            const int which = part == MachinePart::BuiltIn1 ? 1 : 2;
            if (machine->builtInCard(which).ToggleHidden() != kAccepted)
                Message(kMsgHideEmptyCard);
        } else if (part == MachinePart::Label) {
            machine->ToggleLabelHidden();
        } else {
            ToggleMystery(*machine);
        }
        m_doc.SetModifiedFlag();
        UpdateGoButtons();
        InvalidateAll();
    }
    CProblemSetViewController::MysteryAt(screen);
}

void CNumbersViewController::ToggleMystery(CFunctionMachine& machine) {
    CFunctionMachine* head = machine.Head();
    const bool becoming = machine.mystery() == 0;
    if (becoming && !head->IsReady()) {
        Message(kMsgNotReadyForMystery);
        return;
    }
    head->SetSupermachineMystery(becoming ? 1 : 0);
    if (becoming && head->headMark()) {
        head->ClearGroupLabels();
        head->SetHeadMark(false);
    }
}

// --- drawer -----------------------------------------------------------------------------------

CPatternManipulative* CNumbersViewController::TakeFromDrawer(NumbersDrawerItem item, CPoint at) {
    if (running())
        return nullptr;
    EndEdit();
    m_doc.MarkUndoStep();
    CPatternManipulative* made = nullptr;
    if (item == NumbersDrawerItem::Card) {
        const CSize size = NumberCardSize(*m_metrics);
        auto card = std::make_unique<CNumberCardManipulative>(
            CPoint{at.x - size.cx / 2, at.y - size.cy / 2}, *m_metrics);
        made = static_cast<CPatternManipulative*>(m_doc.AddManipulative(std::move(card)));
        DropCard(static_cast<CNumberCardManipulative&>(*made));
    } else {
        auto machine = std::make_unique<CNumberMachine>(
            CPoint{at.x - CNumberMachine::kWidth / 2, at.y - CNumberMachine::kHeight / 2});
        made = static_cast<CPatternManipulative*>(m_doc.AddManipulative(std::move(machine)));
    }
    UpdateGoButtons();
    Invalidate(*made);
    return made;
}

// --- mouse ------------------------------------------------------------------------------------

CPatternManipulative* CNumbersViewController::TopAt(CPoint p) const {
    const auto& list = m_doc.manipulatives();
    // Cards and machines before the wires between them.
    for (int pass = 0; pass < 2; ++pass) {
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            const std::int32_t type = (*it)->GetType();
            if ((type == kTypeMachineLink) != (pass == 1))
                continue;
            if (type != kTypeNumberCard && type != kTypeNumberMachine && type != kTypeMachineLink &&
                type != kTypeTable)
                continue;
            if ((*it)->visible() && (*it)->HitTest(p.x, p.y))
                return static_cast<CPatternManipulative*>(it->get());
        }
    }
    return nullptr;
}

CNumberMachine* CNumbersViewController::MachineAt(CPoint p) const {
    const auto& list = m_doc.manipulatives();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (CNumberMachine* machine = AsMachine(it->get()); machine && machine->HitTest(p.x, p.y))
            return machine;
    return nullptr;
}

void CNumbersViewController::MouseDown(CPoint p, bool shift, bool ctrl) {
    (void)ctrl;
    EndEdit();
    CPatternManipulative* hit = TopAt(p);
    if (running()) {
        // While machines run, only their Stop (or Go) button takes a click.
        if (CNumberMachine* machine = AsMachine(hit);
            machine && machine->PartAt(p) == MachinePart::Go)
            PressGo(*machine);
        return;
    }
    switch (currentTool()) {
    case kToolArrow:
        break;
    case kToolSelector:
        if (!hit || hit->IsLink()) {
            if (!shift)
                m_doc.DeselectAll();
        } else if (hit->selected()) {
            m_doc.Unselect(hit);
            hit->SetSelected(false);
        } else {
            if (!shift)
                m_doc.DeselectAll();
            m_doc.Select(hit);
            hit->SetSelected(true);
        }
        InvalidateAll();
        return;
    case kToolEraser:
        EraseAt(p);
        return;
    case kToolLinking:
        // From a machine's output to another machine or a table, from an input hopper to a
        // table, or from a table to a machine's hopper.
        if (CNumberMachine* machine = MachineAt(p)) {
            const int kind = PlugOf(machine->PartAt(p));
            if (kind < 0)
                return;
            m_linkSource = machine;
            m_linkKind = kind;
            m_rubberWire = std::make_pair(CTableManipulative::PlugPoint(*machine, kind), p);
            InvalidateAll();
        } else if (CTableManipulative* table = AsTable(hit)) {
            m_linkTable = table;
            m_rubberWire = std::make_pair(p, p);
            InvalidateAll();
        }
        return;
    default:
        return;
    }
    // The Arrow.
    if (CTableManipulative* table = AsTable(hit); table && m_tables.MouseDown(*table, p, shift))
        return;
    if (CNumberMachine* machine = AsMachine(hit)) {
        const MachinePart part = machine->PartAt(p);
        if (part != MachinePart::Body && part != MachinePart::Input1 &&
            part != MachinePart::Input2 && part != MachinePart::Output &&
            part != MachinePart::None) {
            MachineClick(*machine, part, p);
            return;
        }
    }
    if (hit && !hit->IsLink()) {
        m_drag = DragState{hit, p, p, false};
        if (!hit->selected()) {
            m_doc.DeselectAll();
            m_doc.Select(hit);
            hit->SetSelected(true);
        }
    } else {
        m_doc.DeselectAll();
    }
    InvalidateAll();
}

void CNumbersViewController::MachineClick(CNumberMachine& machine, MachinePart part, CPoint) {
    const bool mysterious = machine.mystery() != 0;
    switch (part) {
    case MachinePart::Go:
        if (machine.goEnabled())
            PressGo(machine);
        return;
    case MachinePart::SpinNext:
    case MachinePart::SpinPrevious:
        if (!mysterious && !machine.operatorHidden())
            Spin(machine, part == MachinePart::SpinNext);
        return;
    case MachinePart::Toggle1:
    case MachinePart::Toggle2:
        if (!mysterious)
            ToggleBuiltIn(machine, part == MachinePart::Toggle1 ? 1 : 2);
        return;
    case MachinePart::Operator:
        if (!mysterious && !machine.operatorHidden())
            BeginEditOf(NumbersEditKind::Operator, machine);
        return;
    case MachinePart::Label:
        if (!machine.labelHidden())
            BeginEditOf(NumbersEditKind::Label, machine);
        return;
    case MachinePart::BuiltIn1:
    case MachinePart::BuiltIn2: {
        const int which = part == MachinePart::BuiltIn1 ? 1 : 2;
        CNumberCardManipulative& card = machine.builtInCard(which);
        if (!mysterious && !card.hidden() && machine.IsBuiltIn(which)) {
            m_doc.MarkUndoStep();
            m_edit = EditState{NumbersEditKind::Card, &card, &machine};
            m_editBox = CNumbersEdit{NumbersEditKind::Card, card.TextRect(), card.text(),
                                     kCardMaxChars, NumberCardFont()};
            if (m_numbersWindow)
                m_numbersWindow->BeginEdit(*m_editBox);
        }
        return;
    }
    default:
        return;
    }
}

void CNumbersViewController::MouseMove(CPoint p) {
    if (m_rubberWire) {
        m_rubberWire->second = p;
        InvalidateAll();
        return;
    }
    if (m_tables.MouseMove(p))
        return;
    if (!m_drag || !Alive(m_drag->target))
        return;
    DragState& d = *m_drag;
    if (!d.moved) {
        if (std::abs(p.x - d.start.x) <= kDragThreshold &&
            std::abs(p.y - d.start.y) <= kDragThreshold)
            return;
        d.moved = true;
        m_doc.MarkUndoStep();
        if (CNumberCardManipulative* card = AsCard(d.target))
            DetachFromHopper(*card);
    }
    const CRect before = d.target->GetFrameOf();
    d.target->MoveBy(p.x - d.last.x, p.y - d.last.y);
    d.last = p;
    m_doc.SetModifiedFlag();
    if (d.target->GetType() != kTypeNumberCard)
        InvalidateAll(); // links and the tables' wires follow
    else
        InvalidateRect(Grown(before.United(d.target->GetFrameOf()), 2));
}

void CNumbersViewController::MouseUp(CPoint p) {
    if (m_tables.MouseUp())
        return;
    if (m_rubberWire) {
        CFunctionMachine* source = m_linkSource;
        CTableManipulative* table = m_linkTable;
        const int kind = m_linkKind;
        m_rubberWire.reset();
        m_linkSource = nullptr;
        m_linkTable = nullptr;
        if (table && Alive(table)) {
            if (CNumberMachine* machine = MachineAt(p))
                if (const int plug = PlugOf(machine->PartAt(p)); plug >= 0)
                    AttachToTable(*table, *machine, plug);
        } else if (source && Alive(source)) {
            if (CTableManipulative* to = m_tables.TableAt(p))
                AttachToTable(*to, *source, kind);
            else if (kind == kColumnOutput && source->output())
                Message(kMsgOutputHopperOccupied);
            else if (kind == kColumnOutput)
                FinishLink(*source, p);
        }
        InvalidateAll();
        return;
    }
    if (!m_drag)
        return;
    const DragState d = *m_drag;
    m_drag.reset();
    if (!Alive(d.target))
        return;
    CNumberCardManipulative* card = AsCard(d.target);
    if (d.moved) {
        if (card)
            DropCard(*card);
        UpdateGoButtons();
        InvalidateAll();
    } else if (card && !card->readOnly() && !card->hidden() && card->mystery() == 0) {
        BeginEditOf(NumbersEditKind::Card, *card);
    }
}

void CNumbersViewController::DoubleClick(CPoint p) {
    if (currentTool() != kToolArrow || running())
        return;
    if (CTableManipulative* table = AsTable(TopAt(p))) {
        if (const std::optional<CCellEdit> cell = m_tables.BeginCellEdit(*table, p)) {
            m_doc.MarkUndoStep();
            m_edit = EditState{NumbersEditKind::Cell, table, nullptr};
            m_editBox =
                CNumbersEdit{NumbersEditKind::Cell, cell->rect, cell->text, 20, CGridCtrl::Font()};
            if (m_numbersWindow)
                m_numbersWindow->BeginEdit(*m_editBox);
        }
        return;
    }
    if (CNumberCardManipulative* card = AsCard(TopAt(p)); card && !card->readOnly())
        BeginEditOf(NumbersEditKind::Card, *card);
}

bool CNumbersViewController::CancelMouse() {
    bool any = false;
    if (m_edit) {
        EndEdit();
        any = true;
    }
    if (m_rubberWire) {
        m_rubberWire.reset();
        m_linkSource = nullptr;
        m_linkTable = nullptr;
        any = true;
    }
    if (m_drag) {
        const DragState d = *m_drag;
        m_drag.reset();
        any = true;
        if (d.moved && Alive(d.target)) {
            // Everything goes back where it was before the drag.
            m_doc.Undo();
        }
    }
    if (any) {
        UpdateGoButtons();
        InvalidateAll();
    }
    return any;
}

// --- cards and hoppers ------------------------------------------------------------------------

void CNumbersViewController::DropCard(CNumberCardManipulative& card) {
    const auto& list = m_doc.manipulatives();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        CNumberMachine* machine = AsMachine(it->get());
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

void CNumbersViewController::DetachFromHopper(CNumberCardManipulative& card) {
    CPatternManipulative* owner = card.hopperOwner();
    if (!owner)
        return;
    owner->RemoveCard(&card);
    if (owner->input1() == &card)
        owner->DetachInput1(&card);
    if (owner->input2() == &card)
        owner->DetachInput2(&card);
    card.SetHopperOwner(nullptr);
    if (CNumberMachine* machine = AsMachine(owner)) {
        machine->PullWaitingCards();
        machine->PlaceWaitingCards();
    }
    UpdateGoButtons();
}

// --- machine buttons --------------------------------------------------------------------------

bool CNumbersViewController::ConfirmClearTables(int question,
                                                std::initializer_list<CFunctionMachine*> machines) {
    const std::vector<CTableManipulative*> tables = CTableTool::TablesWithRows(machines);
    if (tables.empty())
        return true;
    IPrompter* ask = prompter();
    if (ask &&
        ask->MessageBox(std::string(LoadString(question).value_or("")), MessageIcon::Question,
                        MessageButtons::OkCancel) != MessageResult::Ok)
        return false;
    for (CTableManipulative* table : tables)
        table->ClearTable();
    m_doc.SetModifiedFlag();
    return true;
}

void CNumbersViewController::Spin(CNumberMachine& machine, bool next) {
    // One step with the tables it clears.
    m_doc.MarkUndoStep();
    if (!ConfirmClearTables(kMsgChangeClearsTable, {&machine}))
        return;
    if (next)
        machine.NextOperation();
    else
        machine.PreviousOperation();
    machine.ClearGroupLabels();
    m_doc.SetModifiedFlag();
    UpdateGoButtons();
    Invalidate(machine);
}

void CNumbersViewController::SetOperation(CNumberMachine& machine, int operation) {
    if (operation == machine.operation())
        return;
    if (!ConfirmClearTables(kMsgChangeClearsTable, {&machine}))
        return;
    machine.SetOperation(operation);
    machine.ClearGroupLabels();
    m_doc.SetModifiedFlag();
    UpdateGoButtons();
    Invalidate(machine);
}

void CNumbersViewController::ToggleBuiltIn(CNumberMachine& machine, int which) {
    CPatternManipulative* input = which == 1 ? machine.input1() : machine.input2();
    if (input && input->IsLink())
        return; // a linked input takes its value from the wire
    m_doc.MarkUndoStep();
    CNumberCardManipulative& builtIn = machine.builtInCard(which);
    if (!machine.IsBuiltIn(which)) {
        // The cards waiting at the hopper stay in the workspace; the value of the card in the
        // hopper goes into the machine.
        auto& waiting = which == 1 ? machine.waiting1() : machine.waiting2();
        const std::vector<CPatternManipulative*> released = waiting;
        for (CPatternManipulative* c : released) {
            machine.RemoveCard(c);
            c->SetHopperOwner(nullptr);
        }
        builtIn.SetText("");
        if (CNumberCardManipulative* card = AsCard(input)) {
            builtIn.SetText(card->GetText().empty() ? card->GetValue().Format() : card->GetText());
            if (which == 1)
                machine.DetachInput1(card);
            else
                machine.DetachInput2(card);
            m_doc.DeleteManipulative(card);
        }
        machine.SetBuiltIn(which, true);
    } else {
        const CSize size = NumberCardSize(*m_metrics);
        const CPoint place = machine.CardPlace(which, size);
        auto card = std::make_unique<CNumberCardManipulative>(place, *m_metrics);
        card->SetText(builtIn.text());
        auto* added = static_cast<CNumberCardManipulative*>(m_doc.AddManipulative(std::move(card)));
        machine.SetBuiltIn(which, false);
        builtIn.SetText("");
        if (which == 1)
            machine.SetInput1(added);
        else
            machine.SetInput2(added);
        added->SetHopperOwner(&machine);
    }
    m_doc.SetModifiedFlag();
    UpdateGoButtons();
    InvalidateAll();
}

// --- editing ----------------------------------------------------------------------------------

void CNumbersViewController::BeginEditOf(NumbersEditKind kind, CPatternManipulative& target) {
    m_doc.MarkUndoStep();
    CNumbersEdit box;
    box.kind = kind;
    CNumberMachine* machine = AsMachine(&target);
    if (kind == NumbersEditKind::Card) {
        auto& card = static_cast<CNumberCardManipulative&>(target);
        box.rect = card.TextRect();
        box.text = card.text();
        box.maxChars = kCardMaxChars;
        box.font = NumberCardFont();
    } else if (kind == NumbersEditKind::Operator && machine) {
        box.rect = machine->PartRect(MachinePart::Operator);
        box.text = OperationSymbol(machine->operation());
        box.maxChars = 1;
        box.font = NumberCardFont();
    } else if (machine) {
        box.rect = machine->PartRect(MachinePart::Label);
        box.text = machine->label();
        box.maxChars = 20;
        box.font = CFontSpec{"Arial", 100};
    }
    m_edit = EditState{kind, &target, machine};
    m_editBox = box;
    if (m_numbersWindow)
        m_numbersWindow->BeginEdit(box);
}

void CNumbersViewController::EditChanged(const std::string& text) {
    if (!m_edit)
        return;
    const EditState e = *m_edit;
    // A built-in card lives in its machine; everything else in the document.
    if (!Alive(e.machine ? static_cast<CPatternManipulative*>(e.machine) : e.target)) {
        EndEdit();
        return;
    }
    switch (e.kind) {
    case NumbersEditKind::Card: {
        auto& card = static_cast<CNumberCardManipulative&>(*e.target);
        const CRect before = card.GetFrameOf();
        card.SetText(text);
        card.FitToFace(*m_metrics);
        InvalidateRect(Grown(before.United(card.GetFrameOf()), 2));
        break;
    }
    case NumbersEditKind::Operator:
        if (const int op = OperationForText(text); op != kNoOperation && e.machine)
            SetOperation(*e.machine, op);
        break;
    case NumbersEditKind::Label:
        if (e.machine) {
            e.machine->SetMachineLabel(text);
            Invalidate(*e.machine);
            InvalidateAll(); // its tables' group titles
        }
        break;
    case NumbersEditKind::Cell:
        m_tables.CellTextChanged(text);
        break;
    }
    if (m_editBox)
        m_editBox->text = text;
    m_doc.SetModifiedFlag();
    UpdateGoButtons();
}

void CNumbersViewController::EndEdit() {
    if (!m_edit)
        return;
    m_edit.reset();
    m_editBox.reset();
    m_tables.EndCellEdit();
    if (m_numbersWindow)
        m_numbersWindow->EndEdit();
    UpdateGoButtons();
    InvalidateAll();
}

// --- keyboard ---------------------------------------------------------------------------------

bool CNumbersViewController::KeyPress(int key, bool shift, bool ctrl) {
    (void)ctrl;
    if (m_edit || running())
        return false;
    const auto& list = m_doc.manipulatives();
    CManipulative* selected = m_doc.selection().empty() ? nullptr : m_doc.selection().back();
    switch (key) {
    case kKeyTab:
    case kKeyBacktab: {
        std::vector<CManipulative*> order;
        for (const auto& m : list)
            if (m->GetType() != kTypeMachineLink && m->visible() && !m->fixed())
                order.push_back(m.get());
        if (order.empty())
            return false;
        const bool back = key == kKeyBacktab || shift;
        auto it = std::find(order.begin(), order.end(), selected);
        std::size_t next = 0;
        if (it == order.end()) {
            next = back ? order.size() - 1 : 0;
        } else {
            // Past the last (or before the first) the focus moves on to the page's controls.
            const std::size_t at = static_cast<std::size_t>(it - order.begin());
            if ((back && at == 0) || (!back && at + 1 == order.size())) {
                m_doc.DeselectAll();
                InvalidateAll();
                return false;
            }
            next = back ? at - 1 : at + 1;
        }
        m_doc.DeselectAll();
        m_doc.Select(order[next]);
        order[next]->SetSelected(true);
        InvalidateAll();
        return true;
    }
    case kKeyReturn:
    case kKeyEnter:
        if (CNumberMachine* machine = AsMachine(selected)) {
            if (CFunctionMachine* first = machine->FirstMachine();
                first && first->GetType() == kTypeNumberMachine && first->goEnabled())
                PressGo(static_cast<CNumberMachine&>(*first));
            return true;
        }
        if (CNumberCardManipulative* card = AsCard(selected);
            card && !card->readOnly() && !card->hidden()) {
            DetachFromHopper(*card);
            BeginEditOf(NumbersEditKind::Card, *card);
            return true;
        }
        return false;
    case kKeyDelete:
        if (!selected)
            return false;
        if (selected->GetType() != kTypeNumberCard && selected->GetType() != kTypeNumberMachine) {
            m_doc.MarkUndoStep();
            m_doc.DeleteManipulative(selected);
            InvalidateAll();
        } else {
            EraseObject(static_cast<CPatternManipulative&>(*selected));
        }
        return true;
    case kKeyLeft:
    case kKeyRight:
    case kKeyUp:
    case kKeyDown: {
        CManipulative* target = selected;
        if (!target)
            return false;
        const int step = shift ? 10 : 1;
        const int dx = key == kKeyLeft ? -step : key == kKeyRight ? step : 0;
        const int dy = key == kKeyUp ? -step : key == kKeyDown ? step : 0;
        m_doc.MarkUndoStep();
        CNumberCardManipulative* card = AsCard(target);
        if (card)
            DetachFromHopper(*card);
        target->MoveBy(dx, dy);
        if (card)
            DropCard(*card);
        m_doc.SetModifiedFlag();
        UpdateGoButtons();
        InvalidateAll();
        return true;
    }
    default:
        return false;
    }
}

// --- eraser -----------------------------------------------------------------------------------

void CNumbersViewController::EraseAt(CPoint p) {
    CPatternManipulative* hit = TopAt(p);
    if (hit) {
        EraseObject(*hit);
        return;
    }
    {
        // Writing in the workspace.
        const auto& list = m_doc.manipulatives();
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            if ((*it)->IsAnnotation() || (*it)->GetType() == kTypePatternsAnnotator) {
                if ((*it)->HitTest(p.x, p.y)) {
                    m_doc.MarkUndoStep();
                    m_doc.DeleteManipulative(it->get());
                    InvalidateAll();
                    return;
                }
            }
        }
    }
}

void CNumbersViewController::EraseObject(CPatternManipulative& target) {
    CPatternManipulative* hit = &target;
    if (CNumberCardManipulative* card = AsCard(hit)) {
        m_doc.MarkUndoStep();
        DetachFromHopper(*card);
        m_doc.DeleteManipulative(card);
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
        m_doc.MarkUndoStep();
        Erase(&link, choice == 1);
    } else if (hit->GetType() == kTypeTable) {
        m_doc.MarkUndoStep();
        m_doc.DeleteManipulative(hit);
    } else if (CNumberMachine* machine = AsMachine(hit)) {
        if (!machine->InSupermachine()) {
            m_doc.MarkUndoStep();
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
            m_doc.MarkUndoStep();
            // A mysterious machine goes with its whole supermachine.
            Erase(machine, choice == 1 || machine->mystery() != 0);
        }
    }
    UpdateGoButtons();
    InvalidateAll();
}

void CNumbersViewController::Erase(CPatternManipulative* m, bool wholeSupermachine) {
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
        m_doc.DeleteManipulative(d);
    }
    m_tables.AfterErase();
}

// --- linking ----------------------------------------------------------------------------------

void CNumbersViewController::AttachToTable(CTableManipulative& table, CFunctionMachine& machine,
                                           int kind) {
    const int result = m_tables.Attach(table, machine, kind);
    if (result != kAccepted)
        Message(result);
}

void CNumbersViewController::FinishLink(CFunctionMachine& source, CPoint p) {
    CNumberMachine* target = MachineAt(p);
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
    m_doc.MarkUndoStep();
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
    raw->SetWiresShown(m_doc.options().wiresShown != 0);
    raw->Route();
    m_doc.AddManipulative(std::move(link));
    m_doc.SetModifiedFlag();
    UpdateGoButtons();
    InvalidateAll();
}

// --- the run cycle ----------------------------------------------------------------------------

CComputeOptions CNumbersViewController::ComputeOptions() const {
    return {m_doc.options().decimalOutput != 0, m_doc.problemSetMode()};
}

bool CNumbersViewController::running() const {
    return !m_animating.empty() || !m_autotrigger.empty() ||
           std::any_of(m_doc.manipulatives().begin(), m_doc.manipulatives().end(),
                       [](const auto& m) {
                           return m->GetType() == kTypeNumberMachine &&
                                  !static_cast<const CNumberMachine&>(*m).controlsEnabled();
                       });
}

void CNumbersViewController::PressGo(CNumberMachine& machine) {
    if (machine.goText() == "Stop") {
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
        return;
    }
    if (machine.operation() == kNoOperation || !machine.goEnabled())
        return;
    EndEdit();
    m_doc.MarkUndoStep();
    bool series = false;
    if (m_doc.options().autotrigger) {
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

void CNumbersViewController::Trigger(CFunctionMachine& first) {
    CFunctionMachine* head = first.Head();
    if (!head->HasValue()) {
        EndRun(first);
        return;
    }
    std::vector<CFunctionMachine*> members;
    head->Members(members);
    for (CFunctionMachine* m : members)
        m->EnableControls(false);
    CTableTool::PrepareRun(*head);
    std::vector<CFunctionMachine*> leaves;
    head->Leaves(leaves);
    for (CFunctionMachine* leaf : leaves) {
        leaf->SetInput1Arrived(true);
        leaf->SetInput2Arrived(true);
    }
    for (CFunctionMachine* leaf : leaves) {
        if (!Alive(leaf))
            return;
        if (auto* machine = AsMachine(leaf)) {
            Deliver(*machine);
        }
    }
    InvalidateAll();
}

// Computes one machine of the run and starts its animation.
void CNumbersViewController::Deliver(CNumberMachine& machine) {
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
        Message(kInputError);
        EndRun(*first);
        return;
    }
    CTableTool::RecordInputs(machine);
    machine.SetTicks(0);
    if (std::find(m_animating.begin(), m_animating.end(), &machine) == m_animating.end())
        m_animating.push_back(&machine);
    if (!m_timers->IsRunning(kMachineTickTimer))
        m_timers->StartTimer(kMachineTickTimer, kMachineTickMs, this);
    Invalidate(machine);
}

void CNumbersViewController::OnTimer(std::uint32_t id) {
    if (id == kMachineTickTimer) {
        const std::vector<CNumberMachine*> ticking = m_animating;
        for (CNumberMachine* machine : ticking) {
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

void CNumbersViewController::FinishRunOf(CNumberMachine& machine) {
    // The consumed input cards go; built-in inputs stay.
    for (int which = 1; which <= 2; ++which) {
        if (machine.IsBuiltIn(which))
            continue;
        CPatternManipulative* in = which == 1 ? machine.input1() : machine.input2();
        if (CNumberCardManipulative* card = AsCard(in)) {
            if (which == 1)
                machine.DetachInput1(card);
            else
                machine.DetachInput2(card);
            card->SetHopperOwner(nullptr);
            m_doc.DeleteManipulative(card);
        }
    }
    machine.PullWaitingCards();
    machine.PlaceWaitingCards();
    CFunctionMachine* first = machine.FirstMachine();
    CTableTool::RecordOutput(machine);
    if (CPatternManipulative* out = machine.output(); out && out->IsLink()) {
        auto* link = static_cast<CMachineLink*>(out);
        CFunctionMachine* target = link->target();
        machine.SetInput1Arrived(false);
        machine.SetInput2Arrived(false);
        if (auto* next = AsMachine(target)) {
            if (link->TargetInput() == 1)
                next->SetInput1Arrived(true);
            else
                next->SetInput2Arrived(true);
            Deliver(*next);
        }
        return;
    }
    machine.SetInput1Arrived(false);
    machine.SetInput2Arrived(false);
    MakeOutputCard(machine);
    m_doc.SetModifiedFlag();
    if (!first->stopRequested() && m_doc.options().autotrigger && first->goText() == "Stop" &&
        machine.Head()->HasValue())
        ScheduleAutotrigger(*first);
    else
        EndRun(*first);
}

void CNumbersViewController::MakeOutputCard(CNumberMachine& machine) {
    const CSize size = NumberCardSize(*m_metrics);
    const CPoint place = machine.OutputCardPlace(machine.outputCards().size(), size);
    auto card = std::make_unique<CNumberCardManipulative>(place, *m_metrics);
    card->SetReadOnly(true);
    card->SetShownValue(machine.value());
    card->FitToFace(*m_metrics);
    // Centred under the hopper again after widening.
    const int widened = card->rect().Width() - size.cx;
    if (widened > 0)
        card->MoveBy(-widened / 2.0, 0);
    card->SetProducer(&machine);
    // Earlier cards under it are pushed down, one after another.
    CRect above = card->rect();
    for (CPatternManipulative* earlier : machine.outputCards()) {
        auto* c = AsCard(earlier);
        if (!c || !Alive(c))
            continue;
        const CRect r = c->rect();
        if (r.Intersects(above)) {
            c->MoveBy(0, above.bottom - r.top);
            above = c->rect();
        }
    }
    auto* added = static_cast<CPatternManipulative*>(m_doc.AddManipulative(std::move(card)));
    machine.outputCards().insert(machine.outputCards().begin(), added);
}

void CNumbersViewController::ScheduleAutotrigger(CFunctionMachine& first) {
    const std::uint32_t id = m_nextAutotrigger++;
    if (m_nextAutotrigger > kFirstAutotriggerTimer + 0xFFFF)
        m_nextAutotrigger = kFirstAutotriggerTimer;
    m_autotrigger[id] = &first;
    m_timers->StartTimer(id, kAutotriggerMs, this);
}

void CNumbersViewController::EndRun(CFunctionMachine& first) {
    first.SetGoButtonText("Go");
    std::vector<CFunctionMachine*> members;
    first.Head()->Members(members);
    for (CFunctionMachine* m : members)
        m->EnableControls(true);
    UpdateGoButtons();
    InvalidateAll();
    DocumentStateChanged();
}

void CNumbersViewController::StopAll() {
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
    m_linkTable = nullptr;
    m_tables.MouseUp();
    if (m_edit) {
        m_edit.reset();
        m_editBox.reset();
        if (m_numbersWindow)
            m_numbersWindow->EndEdit();
    }
    // What remains of a run (greyed controls, "Stop") is reset on what the document holds now.
    for (const auto& m : m_doc.manipulatives()) {
        if (m->GetType() == kTypeNumberMachine || m->GetType() == kTypeMachineLink) {
            auto& fm = static_cast<CFunctionMachine&>(*m);
            fm.EnableControls(true);
            fm.SetGoButtonText("Go");
            fm.SetStopRequested(false);
            fm.SetInput1Arrived(false);
            fm.SetInput2Arrived(false);
        }
    }
}

void CNumbersViewController::UpdateGoButtons() {
    const bool wires = m_doc.options().wiresShown != 0;
    for (const auto& m : m_doc.manipulatives()) {
        if (m->GetType() == kTypeMachineLink) {
            auto& link = static_cast<CMachineLink&>(*m);
            link.SetWiresShown(wires);
            link.Route();
        }
    }
    for (const auto& m : m_doc.manipulatives())
        if (m->GetType() == kTypeNumberMachine)
            static_cast<CNumberMachine&>(*m).UpdateGoButton();
}

// --- helpers ----------------------------------------------------------------------------------

bool CNumbersViewController::Alive(const CManipulative* m) const {
    if (!m)
        return false;
    return std::any_of(m_doc.manipulatives().begin(), m_doc.manipulatives().end(),
                       [m](const auto& own) { return own.get() == m; });
}

void CNumbersViewController::Invalidate(const CManipulative& m) {
    InvalidateRect(Grown(m.GetFrameOf(), 4));
}

void CNumbersViewController::Message(int id) {
    if (id == kAccepted || id == kNotOverHopper)
        return;
    const auto text = LoadString(id);
    const bool quiet =
        id == kMsgHideEmptyCard || id == kMsgHideNoOperator || id == kMsgNotReadyForMystery;
    Message(text ? std::string(*text) : std::to_string(id),
            quiet ? MessageIcon::None : MessageIcon::Exclamation);
}

void CNumbersViewController::Message(const std::string& text, MessageIcon icon) {
    if (IPrompter* ask = prompter())
        ask->MessageBox(text, icon);
}

void CNumbersViewController::Draw(IDrawingSurface& dc, const CRect& clip) const {
    m_tables.DrawWires(dc);
    for (const auto& m : m_doc.manipulatives()) {
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

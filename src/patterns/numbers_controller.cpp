// The Numbers page's logic: tools, machine buttons, the run cycle and the keyboard.
#include "patterns/numbers_controller.h"

#include "patterns/patterns_options.h"

#include "numbers/number_exceptions.h"
#include "workspace/prompter.h"
#include "workspace/string_table.h"

#include <algorithm>
#include <cstdlib>

namespace quorvel {

namespace {

constexpr const char* kSelectObject = "Please select an object.";

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

CNumbersViewController::CNumbersViewController(CNumberPatternsDocument& doc,
                                               IUnitViewWindow& window,
                                               std::unique_ptr<ITimerHost> timers,
                                               std::unique_ptr<ITextMetrics> metrics,
                                               std::unique_ptr<IProblemSetWindow> problems)
    : CMachinesProblemParts(std::move(problems)),
      CMachinesViewController(doc, window, *m_problemWindow, *m_machinesRule, std::move(timers),
                              std::move(metrics)),
      m_doc(doc), m_tables(doc, CMachinesViewController::metrics()) {
    UpdateGoButtons();
}

CNumbersViewController::~CNumbersViewController() {
    StopAll();
}

// --- commands ---------------------------------------------------------------------------------

bool CNumbersViewController::OnCommand(int id) {
    switch (id) {
    case kCmdDeleteOutputCards:
        DeleteOutputCardsOf(m_doc, kMsgDeleteOutputCards);
        return true;
    case kCmdNumberOptions:
        if (running())
            return true;
        EndEdit();
        if (const auto options =
                CNumberPatternsOptions(m_doc.options(), AuthoringMode(m_doc)).Run(window()))
            SetOptions(*options);
        return true;
    case kCmdPatternsPrompts:
        EditPrompts();
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
    return CMachinesViewController::OnCommand(id);
}

bool CNumbersViewController::IsCommandEnabled(int id) const {
    switch (id) {
    case kCmdDeleteOutputCards:
        return m_doc.HasOutputCardsToDelete() && !running();
    case kCmdNumberOptions:
        return !running();
    case kCmdPatternsPrompts:
        return authoring() && !running();
    case kCmdNumbersCopy:
    case kCmdNewTable:
        return !running();
    default:
        if (const std::optional<bool> enabled = m_tables.CommandEnabled(id))
            return *enabled && !running();
        return CMachinesViewController::IsCommandEnabled(id);
    }
}

void CNumbersViewController::SelectTool(int command) {
    CancelMouse();
    if (ToolCodeOf(command) == kToolMystery && !m_doc.options().mysteryTool)
        command = ToolCommand(kToolArrow);
    CProblemSetViewController::SelectTool(command);
}

void CNumbersViewController::SetOptions(const CNumbersOptions& options) {
    if (options == m_doc.options())
        return;
    m_doc.MarkUndoStep();
    m_doc.SetOptions(options);
    OptionsChanged();
}

void CNumbersViewController::OptionsChanged() {
    if (currentTool() == kToolMystery && !m_doc.options().mysteryTool)
        SelectArrow();
    if (m_numbersWindow)
        m_numbersWindow->OptionsApplied();
    UpdateGoButtons();
    DocumentStateChanged();
}

void CNumbersViewController::ResetView() {
    // The manipulatives the run knew may be gone: forget them without touching them.
    StopAll();
    UpdateGoButtons();
    if (m_numbersWindow)
        m_numbersWindow->ShowPaneOffset(m_doc.paneOffset());
    // Undo may bring other options back, and a problem file may keep the Mystery tool from the
    // pupil.
    OptionsChanged();
}

// --- problem sets -----------------------------------------------------------------------------

void CNumbersViewController::EnableMysteryTool() {
    CNumbersOptions options = m_doc.options();
    options.mysteryTool = 1;
    m_doc.SetOptions(options);
    if (m_numbersWindow)
        m_numbersWindow->OptionsApplied();
}

void CNumbersViewController::RevealMysteryMachines() {
    if (running())
        return;
    EndEdit();
    m_doc.MarkUndoStep();
    for (const auto& m : m_doc.manipulatives()) {
        if (m->GetType() != kTypeNumberMachine)
            continue;
        auto& machine = static_cast<CNumberMachine&>(*m);
        if (machine.mystery() != 0)
            machine.Head()->SetSupermachineMystery(0);
        if (machine.operatorHidden())
            machine.ToggleOperatorHidden();
        for (int which = 1; which <= 2; ++which)
            if (machine.builtInCard(which).hidden())
                machine.builtInCard(which).ToggleHidden();
    }
    m_doc.SetModifiedFlag();
    UpdateGoButtons();
    InvalidateAll();
}

bool CNumbersViewController::EditPromptQuestions() {
    IPrompter* ask = prompter();
    if (!ask || !m_numbersWindow)
        return false;
    EndEdit();
    CPatternsPromptEditor editor(m_doc, *ask);
    return m_numbersWindow->RunPromptEditor(editor);
}

void CNumbersViewController::DocumentStateChanged() {
    m_tables.MeasureTables();
    CProblemSetViewController::DocumentStateChanged();
}

void CNumbersViewController::HelpAt(CPoint p) {
    if (m_numbersWindow) {
        if (const std::optional<CPoint> at = m_numbersWindow->PageToWorkspace(p)) {
            if (CNumberMachine* machine = NumberMachineAt(*at)) {
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
        ToggleCardHidden(*card, kMsgHideEmptyCard);
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

// --- drawer -----------------------------------------------------------------------------------

CPatternManipulative* CNumbersViewController::TakeFromDrawer(NumbersDrawerItem item, CPoint at) {
    if (running())
        return nullptr;
    EndEdit();
    m_doc.MarkUndoStep();
    if (item == NumbersDrawerItem::Card) {
        const CSize size = NumberCardSize(metrics());
        return PlaceFromDrawer(std::make_unique<CNumberCardManipulative>(
            CPoint{at.x - size.cx / 2, at.y - size.cy / 2}, metrics()));
    }
    return PlaceFromDrawer(std::make_unique<CNumberMachine>(
        CPoint{at.x - CNumberMachine::kWidth / 2, at.y - CNumberMachine::kHeight / 2}));
}

// --- mouse ------------------------------------------------------------------------------------

CNumberMachine* CNumbersViewController::NumberMachineAt(CPoint p) const {
    return AsMachine(MachineAt(p));
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
    if (SelectorOrEraserPress(hit, p, shift))
        return;
    switch (currentTool()) {
    case kToolArrow:
        break;
    case kToolLinking:
        // From a machine's output to another machine or a table, from an input hopper to a
        // table, or from a table to a machine's hopper.
        if (CNumberMachine* machine = NumberMachineAt(p)) {
            const int kind = PlugOf(machine->PartAt(p));
            if (kind < 0)
                return;
            m_tableSource = machine;
            m_linkKind = kind;
            m_tableWire = std::make_pair(CTableManipulative::PlugPoint(*machine, kind), p);
            InvalidateAll();
        } else if (CTableManipulative* table = AsTable(hit)) {
            m_linkTable = table;
            m_tableWire = std::make_pair(p, p);
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
    ArrowPress(hit, p);
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

void CNumbersViewController::ClickedInPlace(CPatternManipulative& target) {
    CNumberCardManipulative* card = AsCard(&target);
    if (card && !card->readOnly() && !card->hidden() && card->mystery() == 0)
        BeginEditOf(NumbersEditKind::Card, *card);
}

void CNumbersViewController::MouseMove(CPoint p) {
    if (m_tables.MouseMove(p))
        return;
    if (m_tableWire) {
        m_tableWire->second = p;
        InvalidateAll();
        return;
    }
    CMachinesViewController::MouseMove(p);
}

void CNumbersViewController::MouseUp(CPoint p) {
    if (m_tables.MouseUp())
        return;
    if (!m_tableWire) {
        CMachinesViewController::MouseUp(p);
        return;
    }
    CFunctionMachine* source = m_tableSource;
    CTableManipulative* table = m_linkTable;
    const int kind = m_linkKind;
    m_tableWire.reset();
    m_tableSource = nullptr;
    m_linkTable = nullptr;
    if (table && Alive(table)) {
        if (CNumberMachine* machine = NumberMachineAt(p))
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
}

void CNumbersViewController::AttachToTable(CTableManipulative& table, CFunctionMachine& machine,
                                           int kind) {
    const int result = m_tables.Attach(table, machine, kind);
    if (result != kAccepted)
        Message(result);
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
    bool any = editing();
    EndEdit();
    if (m_tableWire) {
        m_tableWire.reset();
        m_tableSource = nullptr;
        m_linkTable = nullptr;
        any = true;
    }
    return CancelMouseAfter(any);
}

// --- machine buttons --------------------------------------------------------------------------

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
    MachineChanged(machine);
}

void CNumbersViewController::SetOperation(CNumberMachine& machine, int operation) {
    if (operation == machine.operation())
        return;
    if (!ConfirmClearTables(kMsgChangeClearsTable, {&machine}))
        return;
    machine.SetOperation(operation);
    machine.ClearGroupLabels();
    MachineChanged(machine);
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
        const CSize size = NumberCardSize(metrics());
        const CPoint place = machine.CardPlace(which, size);
        auto card = std::make_unique<CNumberCardManipulative>(place, metrics());
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
        card.FitToFace(metrics());
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
            InvalidateAll(); // its tables' group titles too
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

void CNumbersViewController::MachineComputed(CFunctionMachine& machine) {
    if (auto* numbers = AsMachine(&machine))
        CTableTool::RecordInputs(*numbers);
}

bool CNumbersViewController::ConfirmClearTables(int question,
                                                std::initializer_list<CFunctionMachine*> machines) {
    const std::vector<CTableManipulative*> tables = CTableTool::TablesWithRows(machines);
    if (tables.empty())
        return true;
    if (!AskOkCancel(question))
        return false;
    for (CTableManipulative* table : tables)
        table->ClearTable();
    m_doc.SetModifiedFlag();
    return true;
}

void CNumbersViewController::Draw(IDrawingSurface& dc, const CRect& clip) const {
    m_tables.DrawWires(dc);
    CMachinesViewController::Draw(dc, clip);
    if (m_tableWire) {
        dc.SetPen(2, PaletteRGB(40, 40, 120));
        dc.Polyline({m_tableWire->first, m_tableWire->second});
    }
}

// --- keyboard ---------------------------------------------------------------------------------

bool CNumbersViewController::KeyPress(int key, bool shift, bool ctrl) {
    (void)ctrl;
    if (m_edit || running())
        return false;
    CManipulative* selected = m_doc.selection().empty() ? nullptr : m_doc.selection().back();
    switch (key) {
    case kKeyTab:
    case kKeyBacktab:
        return StepSelection(key == kKeyBacktab || shift);
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
        DeleteSelected(*selected);
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

// --- the run cycle ----------------------------------------------------------------------------

CComputeOptions CNumbersViewController::ComputeOptions() const {
    return {m_doc.options().decimalOutput != 0, m_doc.problemSetMode()};
}

void CNumbersViewController::PressGo(CNumberMachine& machine) {
    if (machine.goText() == "Stop") {
        PressStop(machine);
        return;
    }
    if (machine.operation() == kNoOperation || !machine.goEnabled())
        return;
    EndEdit();
    m_doc.MarkUndoStep();
    StartRun(machine);
}

std::unique_ptr<CPatternManipulative>
CNumbersViewController::MakeOutputCard(CFunctionMachine& machine) {
    const CSize size = NumberCardSize(metrics());
    const CPoint place = machine.OutputCardPlace(machine.outputCards().size(), size);
    auto card = std::make_unique<CNumberCardManipulative>(place, metrics());
    card->SetReadOnly(true);
    card->SetShownValue(machine.value());
    card->FitToFace(metrics());
    // Centred under the hopper again after widening.
    const int widened = card->rect().Width() - size.cx;
    if (widened > 0)
        card->MoveBy(-widened / 2.0, 0);
    return card;
}

void CNumbersViewController::StopAll() {
    CMachinesViewController::StopAll();
    m_tableWire.reset();
    m_tableSource = nullptr;
    m_linkTable = nullptr;
    m_tables.MouseUp();
    if (m_edit) {
        m_edit.reset();
        m_editBox.reset();
        if (m_numbersWindow)
            m_numbersWindow->EndEdit();
    }
}

// --- helpers ----------------------------------------------------------------------------------

MessageIcon CNumbersViewController::IconOf(int id) const {
    const bool quiet =
        id == kMsgHideEmptyCard || id == kMsgHideNoOperator || id == kMsgNotReadyForMystery;
    return quiet ? MessageIcon::None : MessageIcon::Exclamation;
}

} // namespace quorvel

// The Codes page's logic: tools on note cards and code machines, the machines' controls, the
// message board, the drawer and the keyboard.
#include "patterns/codes_controller.h"

#include "patterns/patterns_options.h"

#include "patterns/numbers_controller.h"
#include "workspace/prompter.h"
#include "workspace/string_table.h"

#include <algorithm>

namespace quorvel {

namespace {

constexpr const char* kSlotHelp = "The last input to a coding machine will appear here.";
constexpr const char* kCounterHelp = "The number of messages stored in the Message Board.";
constexpr const char* kBoardHelp =
    "The Message Board keeps a record of the last input to a coding machine.";

CCodeMachine* AsCodeMachine(CManipulative* m) {
    if (!m)
        return nullptr;
    const std::int32_t t = m->GetType();
    return t == kTypeShiftMachine || t == kTypeGroupMachine || t == kTypeKeywordMachine
               ? static_cast<CCodeMachine*>(m)
               : nullptr;
}

CNoteCardManipulative* AsNote(CManipulative* m) {
    return m && m->GetType() == kTypeNoteCard ? static_cast<CNoteCardManipulative*>(m) : nullptr;
}

// What Help says of a part of a code machine; empty where the machine has nothing to say.
std::string PartHelp(const CCodeMachine& machine, CodePart part) {
    switch (part) {
    case CodePart::Go:
        return std::string(LoadString(kGoButtonId).value_or("Click here to run the machine."));
    case CodePart::Box1:
        return machine.GetType() == kTypeShiftMachine
                   ? "Type the number of places to shift, from 1 to 26."
               : machine.GetType() == kTypeGroupMachine
                   ? "Type the size of the groups, from 1 to 9."
                   : "Type the keyword of the code.";
    case CodePart::Box2:
        return "Type the direction to shift: left or right.";
    case CodePart::Spin1Up:
    case CodePart::Spin1Down:
    case CodePart::Spin2Up:
    case CodePart::Spin2Down:
        return "Click here to change the value in the box.";
    case CodePart::Decode:
        return "Check this box to decode a message that this keyword encoded.";
    case CodePart::Input:
        return "Drop a note card here.";
    default:
        return {};
    }
}

} // namespace

CCodesViewController::CCodesViewController(CCodePatternsDocument& doc, IUnitViewWindow& window,
                                           std::unique_ptr<ITimerHost> timers,
                                           std::unique_ptr<ITextMetrics> metrics,
                                           std::unique_ptr<IProblemSetWindow> problems)
    : CMachinesProblemParts(std::move(problems)),
      CMachinesViewController(doc, window, *m_problemWindow, *m_machinesRule, std::move(timers),
                              std::move(metrics)),
      m_doc(doc) {
    UpdateGoButtons();
}

CCodesViewController::~CCodesViewController() {
    StopAll();
}

// --- commands ---------------------------------------------------------------------------------

bool CCodesViewController::OnCommand(int id) {
    switch (id) {
    case kCmdHideMessageBoard:
    case kCmdShowMessageBoard: {
        CCodesOptions o = m_doc.options();
        o.messageBoard = id == kCmdShowMessageBoard ? 1 : 0;
        SetOptions(o);
        return true;
    }
    case kCmdCodesDeleteOutputCards:
        if (!running())
            DeleteOutputCardsOf(m_doc, kMsgDeleteOutputCards);
        return true;
    case kCmdCodesOptions:
        if (running())
            return true;
        EndEdit();
        if (const auto options =
                CCodePatternsOptions(m_doc.options(), AuthoringMode(m_doc)).Run(window()))
            SetOptions(*options);
        return true;
    default:
        break;
    }
    return CMachinesViewController::OnCommand(id);
}

bool CCodesViewController::IsCommandEnabled(int id) const {
    switch (id) {
    case kCmdHideMessageBoard:
        return boardShown();
    case kCmdShowMessageBoard:
        return !boardShown();
    case kCmdCodesDeleteOutputCards:
        return m_doc.HasOutputCardsToDelete() && !running();
    case kCmdCodesOptions:
        return !running();
    default:
        return CMachinesViewController::IsCommandEnabled(id);
    }
}

void CCodesViewController::SetOptions(const CCodesOptions& options) {
    if (options == m_doc.options())
        return;
    m_doc.MarkUndoStep();
    m_doc.SetOptions(options);
    OptionsChanged();
}

void CCodesViewController::OptionsChanged() {
    const CCodesOptions& o = m_doc.options();
    const int tool = currentTool();
    if ((tool == kToolMystery && !o.mysteryTool) || (tool == kToolLinking && !o.linking))
        SelectArrow();
    if (m_codesWindow) {
        m_codesWindow->OptionsApplied();
        m_codesWindow->BoardChanged();
    }
    DocumentStateChanged();
}

void CCodesViewController::SelectTool(int command) {
    CancelMouse();
    const int code = ToolCodeOf(command);
    if ((code == kToolMystery && !m_doc.options().mysteryTool) ||
        (code == kToolLinking && !m_doc.options().linking) || !IsCodesTool(code))
        command = ToolCommand(kToolArrow);
    CMachinesViewController::SelectTool(command);
}

void CCodesViewController::ResetView() {
    StopAll();
    UpdateGoButtons();
    if (m_codesWindow)
        m_codesWindow->ShowPaneOffset(m_doc.paneOffset());
    OptionsChanged();
}

void CCodesViewController::StartOver() {
    CMachinesViewController::StartOver();
    if (m_codesWindow)
        m_codesWindow->BoardChanged();
}

void CCodesViewController::HelpAt(CPoint p) {
    std::string text;
    if (m_codesWindow) {
        switch (m_codesWindow->BoardPartAt(p)) {
        case BoardPart::Slot:
            text = kSlotHelp;
            break;
        case BoardPart::Counter:
            text = kCounterHelp;
            break;
        case BoardPart::Board:
            text = kBoardHelp;
            break;
        case BoardPart::None:
            if (const std::optional<CPoint> at = m_codesWindow->PageToWorkspace(p))
                if (CCodeMachine* machine = CodeMachineAt(*at))
                    text = PartHelp(*machine, machine->PartAt(*at));
            break;
        }
    }
    if (text.empty()) {
        CMachinesViewController::HelpAt(p);
        return;
    }
    Message(text, MessageIcon::Question);
    SelectArrow();
}

void CCodesViewController::MysteryAt(CPoint screen) {
    const CPoint p = m_codesWindow ? m_codesWindow->ScreenToWorkspace(screen) : screen;
    CPatternManipulative* hit = running() ? nullptr : TopAt(p);
    if (CNoteCardManipulative* card = AsNote(hit)) {
        ToggleCardHidden(*card, kMsgHideEmptyNote);
    } else if (CCodeMachine* machine = AsCodeMachine(hit)) {
        const CodePart part = machine->PartAt(p);
        m_doc.MarkUndoStep();
        if ((part == CodePart::Box1 || part == CodePart::Box2) && machine->mystery() == 0) {
            const std::string wrong = machine->ToggleBoxHidden(part == CodePart::Box1 ? 1 : 2);
            if (!wrong.empty())
                Message(wrong, wrong == kKeywordBeforeHiding ? MessageIcon::None
                                                             : MessageIcon::Exclamation);
        } else {
            ToggleMystery(*machine);
        }
        m_doc.SetModifiedFlag();
        UpdateGoButtons();
        InvalidateAll();
    }
    CMachinesViewController::MysteryAt(screen);
}

// --- drawer -----------------------------------------------------------------------------------

std::vector<CodesDrawerItem> CCodesViewController::DrawerItems() const {
    if (m_doc.options().shiftOnly)
        return {CodesDrawerItem::ShiftMachine, CodesDrawerItem::NoteCard};
    return {CodesDrawerItem::ShiftMachine, CodesDrawerItem::KeywordMachine,
            CodesDrawerItem::GroupMachine, CodesDrawerItem::NoteCard};
}

CPatternManipulative* CCodesViewController::TakeFromDrawer(CodesDrawerItem item, CPoint at) {
    const auto offered = DrawerItems();
    if (running() || std::find(offered.begin(), offered.end(), item) == offered.end())
        return nullptr;
    EndEdit();
    m_doc.MarkUndoStep();
    std::unique_ptr<CPatternManipulative> made;
    const CPoint machineCorner{at.x - CCodeMachine::kWidth / 2, at.y - CCodeMachine::kHeight / 2};
    switch (item) {
    case CodesDrawerItem::ShiftMachine:
        made = std::make_unique<CShiftMachine>(machineCorner);
        break;
    case CodesDrawerItem::KeywordMachine:
        made = std::make_unique<CKeywordMachine>(machineCorner);
        break;
    case CodesDrawerItem::GroupMachine:
        made = std::make_unique<CGroupMachine>(machineCorner);
        break;
    case CodesDrawerItem::NoteCard: {
        auto card = std::make_unique<CNoteCardManipulative>(CPoint{}, metrics());
        const CRect r = card->rect();
        card->SetRect({at.x - r.Width() / 2, at.y - r.Height() / 2,
                       at.x - r.Width() / 2 + r.Width(), at.y - r.Height() / 2 + r.Height()});
        made = std::move(card);
        break;
    }
    }
    return PlaceFromDrawer(std::move(made));
}

// --- mouse ------------------------------------------------------------------------------------

CCodeMachine* CCodesViewController::CodeMachineAt(CPoint p) const {
    return AsCodeMachine(MachineAt(p));
}

void CCodesViewController::MouseDown(CPoint p, bool shift, bool) {
    EndEdit();
    CPatternManipulative* hit = TopAt(p);
    if (running() || SelectorOrEraserPress(hit, p, shift))
        return;
    switch (currentTool()) {
    case kToolArrow:
        break;
    case kToolLinking:
        if (CCodeMachine* machine = CodeMachineAt(p);
            machine && machine->PartAt(p) == CodePart::Output)
            BeginLink(*machine, p);
        return;
    default:
        return;
    }
    if (CCodeMachine* machine = AsCodeMachine(hit)) {
        const CodePart part = machine->PartAt(p);
        if (part != CodePart::Body && part != CodePart::Input && part != CodePart::Output &&
            part != CodePart::None) {
            MachineClick(*machine, part);
            return;
        }
    }
    ArrowPress(hit, p);
}

void CCodesViewController::MachineClick(CCodeMachine& machine, CodePart part) {
    const bool mysterious = machine.mystery() != 0;
    switch (part) {
    case CodePart::Go:
        PressGo(machine);
        return;
    case CodePart::Spin1Up:
    case CodePart::Spin1Down:
    case CodePart::Spin2Up:
    case CodePart::Spin2Down: {
        const int box = part == CodePart::Spin1Up || part == CodePart::Spin1Down ? 1 : 2;
        if (!mysterious && !machine.BoxHidden(box))
            Spin(machine, box, part == CodePart::Spin1Up || part == CodePart::Spin2Up);
        return;
    }
    case CodePart::Box1:
    case CodePart::Box2: {
        const int box = part == CodePart::Box1 ? 1 : 2;
        if (!mysterious && !machine.BoxHidden(box))
            BeginEditOf(box == 1 ? CodesEditKind::Box1 : CodesEditKind::Box2, machine);
        return;
    }
    case CodePart::Decode:
        if (!mysterious && machine.GetType() == kTypeKeywordMachine)
            ToggleDecode(static_cast<CKeywordMachine&>(machine));
        return;
    default:
        return;
    }
}

void CCodesViewController::ClickedInPlace(CPatternManipulative& target) {
    CNoteCardManipulative* card = AsNote(&target);
    if (card && !card->readOnly() && !card->hidden() && card->mystery() == 0)
        BeginEditOf(CodesEditKind::Note, *card);
}

void CCodesViewController::DoubleClick(CPoint p) {
    if (currentTool() != kToolArrow || running())
        return;
    if (CNoteCardManipulative* card = AsNote(TopAt(p)); card && !card->readOnly())
        BeginEditOf(CodesEditKind::Note, *card);
}

bool CCodesViewController::CancelMouse() {
    const bool any = editing();
    EndEdit();
    return CancelMouseAfter(any);
}

// --- machine controls -------------------------------------------------------------------------

void CCodesViewController::PressGo(CCodeMachine& machine) {
    if (!machine.goEnabled() || running())
        return;
    EndEdit();
    // The first machine's parameters are checked before anything moves.
    if (const auto wrong = machine.CheckParameters()) {
        Message(*wrong);
        return;
    }
    m_doc.MarkUndoStep();
    if (CNoteCardManipulative* card = AsNote(machine.input1()); card && boardShown()) {
        m_doc.AddToBoard(*card);
        if (m_codesWindow)
            m_codesWindow->BoardChanged();
    }
    StartRun(machine);
}

void CCodesViewController::Spin(CCodeMachine& machine, int box, bool up) {
    m_doc.MarkUndoStep();
    machine.Spin(box, up);
    machine.ClearGroupLabels();
    MachineChanged(machine);
}

void CCodesViewController::ToggleDecode(CKeywordMachine& machine) {
    m_doc.MarkUndoStep();
    if (machine.SetDecode(!machine.decode()) != kAccepted)
        Message(kMsgNotDecodable);
    machine.ClearGroupLabels();
    m_doc.SetModifiedFlag();
    Invalidate(machine);
}

// --- editing ----------------------------------------------------------------------------------

void CCodesViewController::BeginEditOf(CodesEditKind kind, CPatternManipulative& target) {
    m_doc.MarkUndoStep();
    CCodesEdit box;
    box.kind = kind;
    box.font = NoteCardFont();
    if (kind == CodesEditKind::Note) {
        auto& card = static_cast<CNoteCardManipulative&>(target);
        box.rect = card.TextRect();
        box.text = card.text();
        box.maxChars = kNoteMaxChars;
    } else if (CCodeMachine* machine = AsCodeMachine(&target)) {
        const int which = kind == CodesEditKind::Box1 ? 1 : 2;
        box.rect = machine->PartRect(which == 1 ? CodePart::Box1 : CodePart::Box2);
        box.text = machine->BoxText(which);
        box.maxChars = machine->GetType() == kTypeKeywordMachine ? 26 : 8;
    }
    m_edit = EditState{kind, &target};
    m_editBox = box;
    if (m_codesWindow)
        m_codesWindow->BeginEdit(box);
}

void CCodesViewController::EditChanged(const std::string& text) {
    if (!m_edit)
        return;
    const EditState e = *m_edit;
    if (!Alive(e.target)) {
        EndEdit();
        return;
    }
    if (e.kind == CodesEditKind::Note) {
        auto& card = static_cast<CNoteCardManipulative&>(*e.target);
        card.SetText(text, metrics());
        InvalidateAll();
        // The box grows with the card.
        if (m_editBox)
            m_editBox->rect = card.TextRect();
    } else if (CCodeMachine* machine = AsCodeMachine(e.target)) {
        machine->SetBoxText(e.kind == CodesEditKind::Box1 ? 1 : 2, text);
        machine->ClearGroupLabels();
        Invalidate(*machine);
    }
    if (m_editBox)
        m_editBox->text = text;
    m_doc.SetModifiedFlag();
    UpdateGoButtons();
}

void CCodesViewController::EndEdit() {
    if (!m_edit)
        return;
    const EditState e = *m_edit;
    m_edit.reset();
    m_editBox.reset();
    if (m_codesWindow)
        m_codesWindow->EndEdit();
    if (e.kind == CodesEditKind::Box1 && Alive(e.target) &&
        e.target->GetType() == kTypeKeywordMachine)
        CheckKeyword(static_cast<CKeywordMachine&>(*e.target));
    UpdateGoButtons();
    InvalidateAll();
}

void CCodesViewController::CheckKeyword(CKeywordMachine& machine) {
    const std::string keyword = machine.BoxText(1);
    if (!HasDuplicateCharacters(keyword))
        return;
    IPrompter* ask = prompter();
    const bool ok = !ask || ask->MessageBox(kDuplicateLettersQuestion, MessageIcon::Exclamation,
                                            MessageButtons::OkCancel) == MessageResult::Ok;
    if (ok) {
        machine.SetBoxText(1, RemoveDuplicateCharacters(keyword));
    } else {
        // The pupil types the keyword again.
        machine.SetBoxText(1, "");
        BeginEditOf(CodesEditKind::Box1, machine);
    }
    m_doc.SetModifiedFlag();
}

// --- keyboard ---------------------------------------------------------------------------------

bool CCodesViewController::KeyPress(int key, bool shift, bool) {
    if (m_edit || running())
        return false;
    CManipulative* selected = m_doc.selection().empty() ? nullptr : m_doc.selection().back();
    switch (key) {
    case kKeyTab:
    case kKeyBacktab:
        return StepSelection(key == kKeyBacktab || shift);
    case kKeyReturn:
    case kKeyEnter:
        if (CCodeMachine* machine = AsCodeMachine(selected)) {
            if (CCodeMachine* first = AsCodeMachine(machine->FirstMachine()))
                PressGo(*first);
            return true;
        }
        if (CNoteCardManipulative* card = AsNote(selected);
            card && !card->readOnly() && !card->hidden()) {
            BeginEditOf(CodesEditKind::Note, *card);
            return true;
        }
        return false;
    case kKeyDelete:
        if (!selected)
            return false;
        DeleteSelected(*selected);
        return true;
    default:
        return false;
    }
}

// --- the message board ------------------------------------------------------------------------

std::string CCodesViewController::BoardText() const {
    const auto board = m_doc.BoardCards();
    return board.empty() ? std::string() : board.back()->GetText();
}

CNoteCardManipulative* CCodesViewController::TakeFromBoard(CPoint at) {
    if (running() || m_doc.BoardCards().empty())
        return nullptr;
    EndEdit();
    m_doc.MarkUndoStep();
    CNoteCardManipulative* card = m_doc.TakeFromBoard();
    card->MoveTo(C3DPointDouble(at.x, at.y, 0.0));
    BeginDrag(*card, at);
    if (m_codesWindow)
        m_codesWindow->BoardChanged();
    InvalidateAll();
    return card;
}

// --- the run ----------------------------------------------------------------------------------

std::unique_ptr<CPatternManipulative> CCodesViewController::MakeOutputCard(CFunctionMachine& m) {
    auto& machine = static_cast<CCodeMachine&>(m);
    auto card = std::make_unique<CNoteCardManipulative>(CPoint{}, metrics());
    card->SetText(machine.outputText(), metrics());
    card->SetReadOnly(true);
    card->SetKeywordUsed(machine.KeywordForOutput());
    const CRect r = card->rect();
    const CPoint place =
        machine.OutputCardPlace(machine.outputCards().size(), {r.Width(), r.Height()});
    card->SetRect({place.x, place.y, place.x + r.Width(), place.y + r.Height()});
    return card;
}

void CCodesViewController::StopAll() {
    CMachinesViewController::StopAll();
    if (m_edit) {
        m_edit.reset();
        m_editBox.reset();
        if (m_codesWindow)
            m_codesWindow->EndEdit();
    }
}

MessageIcon CCodesViewController::IconOf(int id) const {
    return id == kMsgHideEmptyNote ? MessageIcon::None : MessageIcon::Exclamation;
}

} // namespace quorvel

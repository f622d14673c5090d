// The Numbers page's logic without a screen: the tools on cards, machines and links (Arrow,
// Selector, Eraser, Writing tool, Mystery, Linking), the machines' own buttons, the run cycle
// on its timers, the drawer of cards and machines, the Numbers menu and the keyboard. The page
// maps its events here in workspace coordinates and lays an editor over a box only while the
// controller asks for one.
#pragma once

#include "patterns/machines_controller.h"
#include "patterns/number_machine.h"
#include "patterns/patterns_documents.h"
#include "patterns/patterns_problems.h"
#include "patterns/table_tool.h"

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
    // Authoring mode: the "Patterns Problem Set Prompt Editor" over `editor`; false when
    // cancelled (the editor decides whether OK closes it).
    virtual bool RunPromptEditor(CPatternsPromptEditor&) { return false; }
};

class CNumbersViewController : private detail::CMachinesProblemParts,
                               public CMachinesViewController {
public:
    CNumbersViewController(CNumberPatternsDocument& doc, IUnitViewWindow& window,
                           std::unique_ptr<ITimerHost> timers,
                           std::unique_ptr<ITextMetrics> metrics,
                           std::unique_ptr<IProblemSetWindow> problems = nullptr);
    ~CNumbersViewController() override;

    void SetNumbersWindow(INumbersViewWindow* window) { m_numbersWindow = window; }
    CNumberPatternsDocument& numbersDocument() const { return m_doc; }
    // The tables: the Table menu, their cells, plugs and recorded runs.
    CTableTool& tables() { return m_tables; }

    // Commands: the Numbers menu, Copy, New table, tools, and the page's own.
    bool OnCommand(int id) override;
    bool IsCommandEnabled(int id) const override;
    void SelectTool(int command) override;
    void MysteryAt(CPoint screen) override;
    void HelpAt(CPoint p) override;
    void ResetView() override;
    // "&Number Options..." chose other options: one undo step, applied to the page.
    void SetOptions(const CNumbersOptions& options);
    void DocumentStateChanged() override;

    // The drawer: a card or a machine taken out and dropped at `at` (one undo step). Returns
    // what was made, or null when nothing was.
    CPatternManipulative* TakeFromDrawer(NumbersDrawerItem item, CPoint at);

    // Mouse, in workspace coordinates.
    void MouseDown(CPoint p, bool shift, bool ctrl);
    void MouseMove(CPoint p) override;
    void MouseUp(CPoint p) override;
    void DoubleClick(CPoint p);
    // Escape: ends a drag (putting everything back), a wire being drawn or an edit.
    bool CancelMouse();

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

    // Stops every run at once and ends typing.
    void StopAll() override;

    // Problem sets: the Mystery tool opened after the last wrong try, the mysterious
    // supermachines shown as they are (View Solution), and the teacher's prompt editor.
    void EnableMysteryTool();
    void RevealMysteryMachines();
    bool EditPromptQuestions();

    // The tables' wires, the workspace, then the wire being drawn.
    void Draw(IDrawingSurface& dc, const CRect& clip) const;

protected:
    CComputeOptions ComputeOptions() const override;
    bool Autotrigger() const override { return m_doc.options().autotrigger != 0; }
    bool WiresShown() const override { return m_doc.options().wiresShown != 0; }
    std::unique_ptr<CPatternManipulative> MakeOutputCard(CFunctionMachine& machine) override;
    void ClickedInPlace(CPatternManipulative& target) override;
    void NotReadyForMystery() override { Message(kMsgNotReadyForMystery); }
    MessageIcon IconOf(int id) const override;
    // The tables record each run.
    void RunStarting(CFunctionMachine& head) override { CTableTool::PrepareRun(head); }
    void MachineComputed(CFunctionMachine& machine) override;
    void MachineFinished(CFunctionMachine& machine) override { CTableTool::RecordOutput(machine); }
    void AfterErase() override { m_tables.AfterErase(); }
    // When the supermachines' tables hold rows, asks `question` and clears them on OK. False
    // when cancelled.
    bool ConfirmClearTables(int question,
                            std::initializer_list<CFunctionMachine*> machines) override;

private:
    struct EditState {
        NumbersEditKind kind;
        CPatternManipulative* target; // the card, or the machine
        CNumberMachine* machine;      // the machine of a built-in card, an operator or a label
    };

    // The page follows the document's options: tools they take away, palette and Go buttons.
    void OptionsChanged();
    void MachineClick(CNumberMachine& machine, MachinePart part, CPoint p);
    void BeginEditOf(NumbersEditKind kind, CPatternManipulative& target);
    CNumberMachine* NumberMachineAt(CPoint p) const;
    // A machine's plug wired to a table, with the table's refusal.
    void AttachToTable(CTableManipulative& table, CFunctionMachine& machine, int kind);

    CNumberPatternsDocument& m_doc;
    INumbersViewWindow* m_numbersWindow = nullptr;

    std::optional<EditState> m_edit;
    std::optional<CNumbersEdit> m_editBox;
    CTableTool m_tables;
    // A wire to or from a table while it is drawn: from a machine's plug (`m_tableSource` and
    // `m_linkKind`) or from a table.
    std::optional<std::pair<CPoint, CPoint>> m_tableWire;
    CFunctionMachine* m_tableSource = nullptr;
    int m_linkKind = kColumnOutput;
    CTableManipulative* m_linkTable = nullptr;
};

} // namespace quorvel

// The Codes page's logic without a screen: note cards and code machines under the Arrow,
// Selector, Eraser, Mystery and Linking tools, the machines' boxes, spin buttons, Decode and Go,
// the drawer, the message board, the Codes menu and the keyboard. The page maps its events here
// in workspace coordinates and lays an editor over a card or a box only while asked to.
#pragma once

#include "patterns/code_machines.h"
#include "patterns/machines_controller.h"
#include "patterns/patterns_documents.h"

#include <memory>
#include <optional>
#include <vector>

namespace quorvel {

// The Codes menu.
inline constexpr int kCmdHideMessageBoard = 32792;       // "&Hide Message Board"
inline constexpr int kCmdShowMessageBoard = 32793;       // "&Show Message Board"
inline constexpr int kCmdCodesDeleteOutputCards = 32794; // "&Delete All Output cards"
inline constexpr int kCmdCodesOptions = 32795;           // "&Codes Options..."

// What the drawer offers, in its order.
enum class CodesDrawerItem { ShiftMachine, KeywordMachine, GroupMachine, NoteCard };

// The parts of the message board a click can hit.
enum class BoardPart { None, Slot, Counter, Board };

// A card's message or a machine's box, while the page's editor lies over it.
enum class CodesEditKind { Note, Box1, Box2 };
struct CCodesEdit {
    CodesEditKind kind = CodesEditKind::Note;
    CRect rect; // workspace coordinates
    std::string text;
    std::size_t maxChars = kNoteMaxChars;
    CFontSpec font;
};

class ICodesViewWindow {
public:
    virtual ~ICodesViewWindow() = default;
    virtual void BeginEdit(const CCodesEdit& edit) = 0;
    virtual void EndEdit() = 0;
    virtual CPoint ScreenToWorkspace(CPoint screen) const { return screen; }
    virtual std::optional<CPoint> PageToWorkspace(CPoint) const { return std::nullopt; }
    // The part of the message board under a point of the page.
    virtual BoardPart BoardPartAt(CPoint) const { return BoardPart::None; }
    virtual void ShowPaneOffset(CPoint) {}
    // The options or the message board changed what the page shows.
    virtual void OptionsApplied() {}
    virtual void BoardChanged() {}
};

class CCodesViewController : private detail::CMachinesProblemParts, public CMachinesViewController {
public:
    CCodesViewController(CCodePatternsDocument& doc, IUnitViewWindow& window,
                         std::unique_ptr<ITimerHost> timers, std::unique_ptr<ITextMetrics> metrics,
                         std::unique_ptr<IProblemSetWindow> problems = nullptr);
    ~CCodesViewController() override;

    void SetCodesWindow(ICodesViewWindow* window) { m_codesWindow = window; }
    CCodePatternsDocument& codesDocument() const { return m_doc; }

    bool OnCommand(int id) override;
    bool IsCommandEnabled(int id) const override;
    void SelectTool(int command) override;
    void MysteryAt(CPoint screen) override;
    void HelpAt(CPoint p) override;
    void ResetView() override;
    void StartOver() override;
    // The options sheet's or the Codes menu's choice: one undo step, applied to the page.
    void SetOptions(const CCodesOptions& options);

    // The drawer: under "Shift only" the shift machine and the note card, else all four.
    std::vector<CodesDrawerItem> DrawerItems() const;
    CPatternManipulative* TakeFromDrawer(CodesDrawerItem item, CPoint at);

    void MouseDown(CPoint p, bool shift, bool ctrl);
    void DoubleClick(CPoint p);
    bool CancelMouse();

    void EditChanged(const std::string& text);
    void EndEdit();
    bool editing() const { return m_edit.has_value(); }
    const std::optional<CCodesEdit>& edit() const { return m_editBox; }

    // Tab and Shift+Tab step through the manipulatives, Enter presses Go on a selected machine
    // or writes on a selected card, Delete erases. Arrows are the navigator's (false).
    bool KeyPress(int key, bool shift, bool ctrl);

    // The machine's controls (also reached by clicks).
    void PressGo(CCodeMachine& machine);
    void Spin(CCodeMachine& machine, int box, bool up);
    void ToggleDecode(CKeywordMachine& machine);

    // The message board.
    bool boardShown() const { return m_doc.options().messageBoard != 0; }
    std::size_t BoardCount() const { return m_doc.BoardCards().size(); }
    // The most recent card's message, empty when the board is empty.
    std::string BoardText() const;
    std::array<int, 26> BoardLetterCounts() const { return LetterCounts(BoardText()); }
    // A click on the slot: the most recent card leaves the board at `at` and follows the
    // pointer (MouseMove, MouseUp). Null when the board is empty.
    CNoteCardManipulative* TakeFromBoard(CPoint at);

    void StopAll() override;

protected:
    std::unique_ptr<CPatternManipulative> MakeOutputCard(CFunctionMachine& machine) override;
    void ClickedInPlace(CPatternManipulative& target) override;
    MessageIcon IconOf(int id) const override;

private:
    struct EditState {
        CodesEditKind kind;
        CPatternManipulative* target;
    };

    // The page follows the document's options: tools they take away, palette, drawer, board.
    void OptionsChanged();
    void MachineClick(CCodeMachine& machine, CodePart part);
    void BeginEditOf(CodesEditKind kind, CPatternManipulative& target);
    // The keyword box lost the focus: duplicated letters are removed or the box emptied.
    void CheckKeyword(CKeywordMachine& machine);
    CCodeMachine* CodeMachineAt(CPoint p) const;

    CCodePatternsDocument& m_doc;
    ICodesViewWindow* m_codesWindow = nullptr;
    std::optional<EditState> m_edit;
    std::optional<CCodesEdit> m_editBox;
};

} // namespace quorvel

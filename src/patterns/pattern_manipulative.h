// The Patterns manipulatives' common base, the function machine and the link that joins two
// machines into a supermachine. Every reference between them is non-owning: the document owns
// them all, and an object that goes away first detaches itself from everything it knew.
#pragma once

#include "numbers/number.h"
#include "workspace/manipulative.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace quorvel {

class CFunctionMachine;
class CPatternManipulative;

// Results of SetInput1/SetInput2/SetOutput and AcceptCard besides a message id.
inline constexpr int kAccepted = 1;
inline constexpr int kNotOverHopper = 0;

// Message ids of the machine framework.
inline constexpr int kMsgLoopInSupermachine = 1005; // SetInput closing a loop
inline constexpr int kMsgLinkLoop = 1033;           // the Linking tool onto its own supermachine
inline constexpr int kMsgInputHopperOccupied = 1221;
inline constexpr int kMsgOutputHopperOccupied = 1222;
inline constexpr int kMsgAddingClearsTable = 1028;
inline constexpr int kMsgNotReadyForMystery = 1353;
inline constexpr int kMsgNoStacking = 1416;
inline constexpr const char* kSecondInputOccupied = "This input is occupied by a number card.";
inline constexpr const char* kInputError = "Input ERROR!";

// What Compute did.
enum class ComputeResult {
    Computed, // the value is the result; the animation may start
    Waiting,  // an input has not arrived yet in this run
    Missing,  // an input is absent or a parameter is wrong: ComputeMessage says which
};

struct CComputeOptions {
    bool decimalOutput = true; // the document's output display
    bool problemSet = false;   // built-in cards of linked inputs show "?"
};

// Where each manipulative of a document stands in its list, for the references that the
// two-pass archive stores as indices. An empty index writes every reference as -1 and resolves
// none (a manipulative copied or stored on its own).
struct CPatternIndex {
    const std::vector<std::unique_ptr<CManipulative>>* list = nullptr;

    std::int32_t IndexOf(const CManipulative* m) const;
    // Null when `i` lies outside the list or names no Patterns manipulative; such an index
    // other than -1 sets `unresolved`, which the document reads as a damaged file.
    CPatternManipulative* At(std::int32_t i) const;

    mutable bool unresolved = false;
};

class CPatternManipulative : public CManipulative {
public:
    CPatternManipulative() = default;
    // Copies the value and the mystery state; references start empty.
    CPatternManipulative(const CPatternManipulative& other);
    // Detaches from everything that refers to this object or that it refers to.
    ~CPatternManipulative() override;

    // The base's fields, then the pattern fields with every reference as -1.
    void Serialize(CArchive& ar) override;
    // The same with references as indices into `index`; on loading, indices outside the list
    // are left unresolved (the document checks the links afterwards).
    virtual void SerializeLinked(CArchive& ar, const CPatternIndex& index);

    // Slots the Patterns manipulatives add.
    virtual void SetLabel(const std::string&) {}
    virtual std::string GetLabel() const { return {}; }
    // Takes a card out of waiting1, waiting2 or outputCards, closing the gap.
    virtual void RemoveCard(CPatternManipulative* card);
    // Every table attached anywhere in the supermachine, each once.
    virtual void CollectTables(std::vector<CPatternManipulative*>& tables);
    virtual std::string GetText() const { return {}; }
    virtual CNumber GetValue() const { return m_value; }
    // A card dropped on the object: kAccepted, kNotOverHopper or a message id.
    virtual int AcceptCard(CPatternManipulative*) { return kNotOverHopper; }
    virtual bool IsReady() const { return false; }
    virtual bool HasValue() const { return false; }
    virtual CPoint GetOutputPoint() const { return {}; }
    virtual bool HitInput1(CPoint) const { return false; }
    virtual bool HitInput2(CPoint) const { return false; }
    // kAccepted or a message id.
    virtual int SetInput1(CPatternManipulative* x);
    virtual int SetInput2(CPatternManipulative* x);
    virtual int SetOutput(CPatternManipulative* x);
    virtual bool InputsReady() const { return false; }
    // Each side forgets `x` where it held it.
    virtual void DetachCard(CPatternManipulative* card);
    virtual void DetachInput1(CPatternManipulative* x);
    virtual void DetachInput2(CPatternManipulative* x);
    virtual void DetachOutput(CPatternManipulative* x);

    bool IsMachine() const; // a number or code machine
    bool IsLink() const { return GetType() == kTypeMachineLink; }
    bool IsCard() const { return GetType() == kTypeNumberCard || GetType() == kTypeNoteCard; }

    // Fields.
    CPatternManipulative* input1() const { return m_input1; }
    CPatternManipulative* input2() const { return m_input2; }
    CPatternManipulative* output() const { return m_output; }
    const std::vector<CPatternManipulative*>& waiting1() const { return m_waiting1; }
    const std::vector<CPatternManipulative*>& waiting2() const { return m_waiting2; }
    std::vector<CPatternManipulative*>& waiting1() { return m_waiting1; }
    std::vector<CPatternManipulative*>& waiting2() { return m_waiting2; }
    const std::vector<CPatternManipulative*>& outputCards() const { return m_outputCards; }
    std::vector<CPatternManipulative*>& outputCards() { return m_outputCards; }
    CPatternManipulative* producer() const { return m_producer; }
    void SetProducer(CPatternManipulative* p) {
        m_producer = p;
        Meet(p);
    }
    CPatternManipulative* hopperOwner() const { return m_hopperOwner; }
    void SetHopperOwner(CPatternManipulative* p) {
        m_hopperOwner = p;
        Meet(p);
    }
    std::int32_t mystery() const { return m_mystery; }
    virtual void SetMystery(std::int32_t m) { m_mystery = m; }
    const CNumber& value() const { return m_value; }
    void SetValue(const CNumber& v) { m_value = v; }
    CPatternManipulative* table() const { return m_table; }
    void SetTable(CPatternManipulative* t) {
        m_table = t;
        Meet(t);
    }
    bool input1Arrived() const { return m_input1Arrived; }
    bool input2Arrived() const { return m_input2Arrived; }
    void SetInput1Arrived(bool on) { m_input1Arrived = on; }
    void SetInput2Arrived(bool on) { m_input2Arrived = on; }
    bool stopRequested() const { return m_stopRequested; }
    void SetStopRequested(bool on) { m_stopRequested = on; }
    std::int32_t flag() const { return m_flag; }
    void SetFlag(std::int32_t f) { m_flag = f; }

protected:
    // Stores x as input 1 or 2 (`which`), refusing a loop through M's inputs with 1005.
    int SetInput(int which, CPatternManipulative* x);
    // Records that this object and `other` refer to each other in some way, so that whichever
    // goes first can make the other forget it.
    void Meet(CPatternManipulative* other);
    // Clears every reference this object holds to `gone`, which may be half destroyed: only
    // its address is compared.
    virtual void Forget(const CPatternManipulative* gone);

    CPatternManipulative* m_input1 = nullptr;
    CPatternManipulative* m_input2 = nullptr;
    CPatternManipulative* m_output = nullptr;
    std::vector<CPatternManipulative*> m_waiting1;
    std::vector<CPatternManipulative*> m_waiting2;
    std::vector<CPatternManipulative*> m_outputCards;
    CPatternManipulative* m_producer = nullptr;
    CPatternManipulative* m_hopperOwner = nullptr;
    bool m_tearingDown = false;
    std::int32_t m_mystery = 0;
    CNumber m_value;
    CPatternManipulative* m_table = nullptr;
    bool m_input1Arrived = false;
    bool m_input2Arrived = false;
    bool m_stopRequested = false;
    std::int32_t m_flag = 0;

private:
    // Detaches every reference in both directions.
    void DetachAll();

    // Everything that may hold a reference to this object or be held by it (a superset).
    std::set<CPatternManipulative*> m_known;
};

// What number and note cards share: a rectangle in workspace coordinates whose middle is the
// card's centre, the edit window's shown and enabled states, and the hidden and read-only flags.
class CCardManipulative : public CPatternManipulative {
public:
    CCardManipulative() = default;
    CCardManipulative(const CCardManipulative& other);

    bool HitTest(double x, double y) const override;
    void MoveBy(double dx, double dy) override;
    void MoveTo(const C3DPointDouble& p) override;
    void GetFrame(CRect& r) const override { r = m_rect; }
    void GetBounds(CRect& r) const override { r = m_rect; }
    bool IsEqualTo(const CManipulative&) const override { return false; }

    const CRect& rect() const { return m_rect; }
    void SetRect(const CRect& r);
    bool hidden() const { return m_hidden; }
    bool readOnly() const { return m_readOnly; }
    void SetReadOnly(bool on) { m_readOnly = on; }
    bool shown() const { return m_shown; }
    void SetShown(bool on) { m_shown = on; }
    bool editEnabled() const { return m_editEnabled; }
    void SetEditEnabled(bool on) { m_editEnabled = on; }

protected:
    // Centre and rotation point on the rectangle's middle.
    void SyncCentre();

    bool m_hidden = false;
    bool m_readOnly = false;
    bool m_shown = true;
    bool m_editEnabled = true;
    CRect m_rect;
};

// Shared by number and code machines: the body's place, its hoppers, the Go button's state,
// the mystery label and the animation's tick counter. Links derive from it as well.
class CFunctionMachine : public CPatternManipulative {
public:
    CFunctionMachine() = default;
    CFunctionMachine(const CFunctionMachine& other);

    void SerializeLinked(CArchive& ar, const CPatternIndex& index) override;

    void SetLabel(const std::string& label) override { m_mysteryLabel = label; }
    std::string GetLabel() const override { return m_mysteryLabel; }

    // Supermachine structure, from any member.
    // Follow outputs until there is none: the last machine.
    CFunctionMachine* Head();
    // The machine whose Go button runs the supermachine.
    CFunctionMachine* FirstMachine();
    // Every machine whose inputs are both absent or cards.
    void Leaves(std::vector<CFunctionMachine*>& out);
    // Every machine and link of the supermachine, head first.
    void Members(std::vector<CFunctionMachine*>& out);
    // X is this machine's head or is reached from it through inputs.
    bool Contains(const CPatternManipulative* x);
    void CollectTables(std::vector<CPatternManipulative*>& tables) override;
    // The machine of this one's mystery group that stands for it: follow outputs while the
    // next machine shares the mystery value.
    CFunctionMachine* MysteryRepresentative();
    // This machine is part of a supermachine: it is not the head, or an input is a link.
    bool InSupermachine() const;
    // The supermachine shares one mystery value: every member gets `m`.
    void SetSupermachineMystery(std::int32_t m);
    // The mystery labels of the group that shares this machine's mystery value are cleared.
    void ClearGroupLabels();

    // The Go button: its text ("Go" or "Stop"), whether it can be pressed, and whether the
    // machine's controls take clicks (not while the supermachine runs).
    const std::string& goText() const { return m_goText; }
    void SetGoButtonText(const std::string& text) { m_goText = text; }
    bool goEnabled() const { return m_goEnabled; }
    void EnableGoButton(bool on) { m_goEnabled = on; }
    bool controlsEnabled() const { return m_controlsEnabled; }
    void EnableControls(bool on) { m_controlsEnabled = on; }
    // Go is enabled on the first machine of a supermachine whose head has values.
    void UpdateGoButton();
    // UpdateGoButton on every member of the supermachine, in one walk.
    void UpdateSupermachineGoButtons();

    // Geometry that links need: the body's rectangle and the top centre of input `which`'s
    // hopper, in workspace coordinates.
    virtual CRect Body() const { return {}; }
    virtual CPoint GetInputPoint(int /*which*/) const { return {}; }

    // The run: applies the machine's rule to its inputs (a CNumberException may leave it), and
    // what the pupil is told when it returns Missing.
    virtual ComputeResult Compute(const CComputeOptions&) { return ComputeResult::Missing; }
    virtual std::string ComputeMessage() const { return kInputError; }
    // Hoppers in workspace coordinates (1, 2 inputs; 0 the output hopper) and the areas above
    // the inputs that a card is dropped in.
    virtual CRect Hopper(int /*which*/) const { return {}; }
    virtual CRect DropArea(int /*which*/) const { return {}; }
    // Where the n-th output card goes: centred under the output hopper, 3 pixels left for an
    // even n and right for an odd one.
    virtual CPoint OutputCardPlace(std::size_t earlier, CSize card) const;
    // The input cards that the run consumes slide one step into the hoppers.
    virtual void AdvanceInputCards() {}
    // The next waiting card of each hopper moves into it.
    virtual void PullWaitingCards() {}
    // Places the cards waiting at a hopper above it, one card height higher each.
    virtual void PlaceWaitingCards() {}
    bool IsBuiltIn(int which) const { return which == 1 ? m_builtIn1 : m_builtIn2; }

    int ticks() const { return m_ticks; }
    void SetTicks(int t) { m_ticks = t; }
    bool builtIn1() const { return m_builtIn1; }
    bool builtIn2() const { return m_builtIn2; }
    // The head was linked while its mystery differed: its group's labels clear when it next
    // becomes mysterious.
    bool headMark() const { return m_headMark; }
    void SetHeadMark(bool on) { m_headMark = on; }

protected:
    std::string m_mysteryLabel;
    std::string m_goText = "Go";
    bool m_goEnabled = false;
    bool m_controlsEnabled = true;
    int m_ticks = 0;
    bool m_builtIn1 = false;
    bool m_builtIn2 = false;
    bool m_headMark = false;
};

// The wire from a machine's output hopper to an input hopper of the machine it feeds:
// input1 is the source machine, output the target.
class CMachineLink : public CFunctionMachine {
public:
    CMachineLink() = default;
    // A new wire from `source` to `target`, known to both ends only once the target's
    // SetInput1/SetInput2 and then the link's SetInput1(source) accept it; holding both ends
    // from the start lets the target's loop check see through the link.
    CMachineLink(CFunctionMachine& source, CFunctionMachine& target);
    CMachineLink(const CMachineLink& other);

    std::int32_t GetType() const override { return kTypeMachineLink; }
    std::unique_ptr<CManipulative> Clone() const override;
    void SerializeLinked(CArchive& ar, const CPatternIndex& index) override;
    void Draw(IDrawingSurface& dc) const override;
    bool HitTest(double x, double y) const override;
    void GetFrame(CRect& r) const override;
    void GetBounds(CRect& r) const override;
    // A link moves with its machines, never on its own.
    void MoveBy(double, double) override {}

    // The source's value and whether it has one.
    bool HasValue() const override;
    CNumber GetValue() const override;
    std::string GetText() const override;
    // A link accepts the source as its input; input 2 stays empty.
    int SetInput1(CPatternManipulative* source) override;

    // 1 or 2: the target's input that this link feeds; 0 when none.
    int TargetInput() const;
    CFunctionMachine* source() const;
    CFunctionMachine* target() const;

    // Recomputes the wire from the two machines (four or six points).
    void Route();
    const std::vector<CPoint>& wire() const { return m_wire; }
    void SetWiresShown(bool shown) { m_wiresShown = shown; }

private:
    std::vector<CPoint> m_wire;
    CRect m_input1Rect;
    CRect m_input2Rect;
    CRect m_outputRect;
    bool m_wiresShown = true;
};

// The wire route between an output point S and an input point E, given the two machine
// bodies (source, target).
std::vector<CPoint> WireRoute(CPoint s, CPoint e, const CRect& sourceBody, const CRect& targetBody);

} // namespace quorvel

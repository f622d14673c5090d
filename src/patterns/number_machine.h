// The Numbers environment's manipulatives: the number card a pupil types on, and the number
// machine with two inputs, an operation, built-in inputs and its Go button. Both draw their
// whole look through the drawing surface; the page only lays an editor over a box while the
// pupil types in it.
#pragma once

#include "patterns/pattern_manipulative.h"
#include "workspace/drawing_surface.h"

#include <array>
#include <string>
#include <string_view>

namespace quorvel {

// Message ids of the Numbers environment.
inline constexpr int kMsgHideEmptyCard = 1345;
inline constexpr int kMsgHideNoOperator = 1346;
inline constexpr int kMsgChangeClearsTable = 1029;
inline constexpr int kMsgDeleteOutputCards = 1618;

// At most this many characters are typed on a card.
inline constexpr std::size_t kCardMaxChars = 7;

// The font cards are typed and drawn in.
CFontSpec NumberCardFont();
// A card's size: as wide as "99999999" in the card font, 3/2 of its height plus 8 high.
CSize NumberCardSize(ITextMetrics& metrics);

class CNumberCardManipulative : public CCardManipulative {
public:
    // An empty card of the default size at the origin (reading fills it).
    CNumberCardManipulative();
    // An empty editable card whose top-left corner is `topLeft`.
    CNumberCardManipulative(CPoint topLeft, ITextMetrics& metrics);
    CNumberCardManipulative(const CNumberCardManipulative& other);

    std::int32_t GetType() const override { return kTypeNumberCard; }
    std::unique_ptr<CManipulative> Clone() const override;
    void SerializeLinked(CArchive& ar, const CPatternIndex& index) override;
    void Draw(IDrawingSurface& dc) const override;

    // The hidden text when hidden, else the typed text.
    std::string GetText() const override;
    // Read-only (a machine's card) or typed on.
    bool HasValue() const override;

    // The typed text (cut to seven characters), read into the value; text that is no number,
    // or whose number cannot be made ("5/0"), leaves the value as it was.
    void SetText(std::string_view text);
    const std::string& text() const { return m_text; }
    // A card that shows a value without typed text: a machine's output, a table's card.
    void SetShownValue(const CNumber& v);
    // What the card shows: the typed text, or the value by its kind.
    struct Face {
        std::string whole;       // an Integer, a Decimal, or a Fraction's whole part
        std::string numerator;   // Fraction only
        std::string denominator; // Fraction only
        bool fraction = false;
    };
    Face GetFace() const;
    // Widens the card (never narrows it) when its face needs more room.
    void FitToFace(ITextMetrics& metrics);

    // The Mystery tool: kAccepted, or 1345 for an editable card with no text.
    int ToggleHidden();
    // The part of the card the pupil types in: inset 4 pixels at the top, 2 elsewhere.
    CRect TextRect() const;
    // A machine's built-in input shows its value as text, or "?" in a problem set.
    void SetBuiltInText(const std::string& text) { m_builtInText = text; }

private:
    std::string m_text;
    std::string m_hiddenText;
    bool m_typed = true; // false: the card shows its value (output cards)
    CNumber m_readValue;
    std::int32_t m_further = 0;
    std::string m_furtherText;
    std::string m_builtInText;
    std::int32_t m_editFurther = 0;
};

// The parts of a number machine a click can hit.
enum class MachinePart {
    None,
    Body,
    Input1,
    Input2,
    Output,
    Operator,
    SpinNext,
    SpinPrevious,
    Toggle1,
    Toggle2,
    Label,
    Go,
    BuiltIn1,
    BuiltIn2,
};

// The four operations: 0 +, 1 −, 2 ×, 3 ÷; −1 none.
inline constexpr int kNoOperation = -1;
// The symbol an operation shows ("+", "−", "×", "÷"), empty for none.
std::string OperationSymbol(int operation);
// The operation a typed character chooses: + - * x / and the symbols; −1 for anything else.
int OperationForText(std::string_view text);

class CNumberMachine : public CFunctionMachine {
public:
    // Machine geometry, relative to the top-left corner of its frame.
    static constexpr int kWidth = 200;
    static constexpr int kHopperHeight = 40;
    static constexpr int kBodyHeight = 124;
    static constexpr int kOutputHeight = 40;
    static constexpr int kHeight = kHopperHeight + kBodyHeight + kOutputHeight;
    // A drop area reaches this far above its hopper (a card's height).
    static constexpr int kDropHeight = 36;

    CNumberMachine();
    // A machine with no operation whose frame's top-left corner is `topLeft`.
    explicit CNumberMachine(CPoint topLeft);
    CNumberMachine(const CNumberMachine& other);

    std::int32_t GetType() const override { return kTypeNumberMachine; }
    std::unique_ptr<CManipulative> Clone() const override;
    void SerializeLinked(CArchive& ar, const CPatternIndex& index) override;
    void Draw(IDrawingSurface& dc) const override;
    bool HitTest(double x, double y) const override;
    // Moves the body with the cards at and above its hoppers, and reroutes its links.
    void MoveBy(double dx, double dy) override;
    void GetFrame(CRect& r) const override;
    void GetBounds(CRect& r) const override;
    bool IsEqualTo(const CManipulative&) const override { return false; }
    void SetMystery(std::int32_t m) override;

    // Rules of Part "run cycle": an operation is chosen and both inputs have values.
    bool HasValue() const override;
    bool IsReady() const override;
    bool InputsReady() const override;
    CNumber GetValue() const override { return m_value; }
    std::string GetText() const override;
    CPoint GetOutputPoint() const override;
    bool HitInput1(CPoint p) const override;
    bool HitInput2(CPoint p) const override;
    // A card over a hopper's drop area: centred in the hopper, or stacked on an occupied one.
    // A built-in input or one fed by a link does not take it.
    int AcceptCard(CPatternManipulative* card) override;
    int SetInput1(CPatternManipulative* x) override;
    int SetInput2(CPatternManipulative* x) override;
    void RemoveCard(CPatternManipulative* card) override;

    // Applies the operation to the two inputs into the value. Throws the CNumberException of
    // the arithmetic.
    ComputeResult Compute(const CComputeOptions& options) override;

    int operation() const { return m_operation; }
    void SetOperation(int operation);
    // The spin buttons: next wraps 3 to 0, previous wraps 0 (and none) to 3.
    void NextOperation() { SetOperation(m_operation >= 3 ? 0 : m_operation + 1); }
    void PreviousOperation() { SetOperation(m_operation <= 0 ? 3 : m_operation - 1); }
    // Mystery tool on the operator box: kAccepted or 1346 with no operation chosen.
    int ToggleOperatorHidden();
    bool operatorHidden() const { return m_operatorHidden; }
    void ToggleLabelHidden() { m_labelHidden = !m_labelHidden; }
    bool labelHidden() const { return m_labelHidden; }
    const std::string& label() const { return m_label; }
    void SetMachineLabel(const std::string& label) { m_label = label; }

    // Built-in inputs (`which` 1 or 2): the card inside the body that always supplies its
    // value. The caller moves the hopper's cards out or in (CNumbersController).
    void SetBuiltIn(int which, bool on);
    CNumberCardManipulative& builtInCard(int which) { return *m_builtIn[Slot(which)]; }
    const CNumberCardManipulative& builtInCard(int which) const { return *m_builtIn[Slot(which)]; }
    // The card, link or built-in card at input `which`.
    CPatternManipulative* InputAt(int which) const;

    // Geometry in workspace coordinates.
    CPoint topLeft() const { return m_topLeft; }
    CRect Body() const override;
    CPoint GetInputPoint(int which) const override;
    CRect Hopper(int which) const override; // 1, 2 inputs; 0 the output hopper
    CRect DropArea(int which) const override;
    CRect PartRect(MachinePart part) const;
    // The part under `p`; None outside the machine.
    MachinePart PartAt(CPoint p) const;
    // Where input cards sit: centred in the hopper.
    CPoint CardPlace(int which, CSize card) const;
    void AdvanceInputCards() override;
    void PullWaitingCards() override;
    void PlaceWaitingCards() override;

private:
    static std::size_t Slot(int which) { return which == 2 ? 1 : 0; }
    void ChildMoved(CPatternManipulative* card, double dx, double dy);
    void RouteLinks();
    // Takes a card off both hoppers and their stacks.
    void TakeOut(CPatternManipulative* card);
    // A part's rectangle relative to the frame, moved to the machine's place.
    CRect Offset(const CRect& part) const;

    CPoint m_topLeft;
    int m_operation = kNoOperation;
    bool m_operatorHidden = false;
    bool m_labelHidden = false;
    std::string m_label = "Machine";
    std::array<std::unique_ptr<CNumberCardManipulative>, 2> m_builtIn;
};

// Registers the Numbers manipulatives (machine, link, card, table) with the registry.
void RegisterNumbersManipulatives();

} // namespace quorvel

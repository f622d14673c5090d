// The Codes environment's manipulatives: the note card a pupil writes a message on, and the
// three code machines (shift, group, keyword) with one input hopper, their parameter boxes and
// Go button. The rules of each code are plain functions as well, so that qvtool and the tests
// reach them without a machine.
#pragma once

#include "patterns/pattern_manipulative.h"
#include "workspace/drawing_surface.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// Message ids and texts of the Codes environment.
inline constexpr int kMsgNotDecodable = 1417;
inline constexpr int kMsgHideEmptyNote = 1424;
inline constexpr const char* kNoInputCard = "No input card found.";
inline constexpr const char* kShiftPlacesMessage =
    "Please enter a number of places to shift from 1 to 26";
inline constexpr const char* kShiftDirectionMessage =
    "Please enter a shift direction as 'left' or 'right' or use the scroll buttons.";
inline constexpr const char* kGroupSizeMessage = "Please enter a group size from 1 to 9";
inline constexpr const char* kKeywordBeforeHiding =
    "Please enter a key word before hiding the machine.";
inline constexpr const char* kDuplicateLettersQuestion =
    "Your keyword contains duplicated letters.\r\nDo you want to use this keyword with the "
    "duplicated letters removed, or cancel?";

// --- the codes --------------------------------------------------------------------------------

// What a parameter box holds, read as the machine reads it: the C library's integer reading
// (leading blanks and a sign taken, anything after the digits ignored, no digits read as 0).
int ReadBoxInteger(std::string_view box);
// Places 1..26, a direction (+1 "right", -1 "left", any letter case), a group size 1..9; none
// when the box holds something else.
std::optional<int> ReadShiftPlaces(std::string_view box);
std::optional<int> ReadShiftDirection(std::string_view box);
std::optional<int> ReadGroupSize(std::string_view box);

// Every ASCII letter moved k places along its alphabet, wrapping; every other byte unchanged.
std::string ShiftText(std::string_view text, int k);
// White space removed, then one space after every size-th character, no trailing space.
std::string GroupText(std::string_view text, int size);
// The keyword's letters in order, each once whatever its case, then the rest of the alphabet;
// always 26 lower-case letters.
std::string CipherAlphabet(std::string_view keyword);
// The offset of each letter when encoding (plain to cipher) or decoding (cipher to plain).
std::array<int, 26> KeywordOffsets(std::string_view keyword, bool decode);
// Every ASCII letter moved by its offset, keeping its case.
std::string SubstituteText(std::string_view text, const std::array<int, 26>& offsets);
// A character occurs twice (exact comparison: case and non-letters count).
bool HasDuplicateCharacters(std::string_view keyword);
// Of every repeated character only its last occurrence stays ("banana" gives "bna").
std::string RemoveDuplicateCharacters(std::string_view keyword);
// How often each letter a..z occurs, either case.
std::array<int, 26> LetterCounts(std::string_view text);

// --- note cards -------------------------------------------------------------------------------

// At most this many characters are written on a note card.
inline constexpr std::size_t kNoteMaxChars = 120;

CFontSpec NoteCardFont();

class CNoteCardManipulative : public CCardManipulative {
public:
    CNoteCardManipulative();
    // An empty editable card whose top-left corner is `topLeft`.
    CNoteCardManipulative(CPoint topLeft, ITextMetrics& metrics);
    CNoteCardManipulative(const CNoteCardManipulative& other);

    std::int32_t GetType() const override { return kTypeNoteCard; }
    std::unique_ptr<CManipulative> Clone() const override;
    void SerializeLinked(CArchive& ar, const CPatternIndex& index) override;
    void Draw(IDrawingSurface& dc) const override;

    // The message (the saved text while hidden).
    std::string GetText() const override;
    bool HasValue() const override { return !GetText().empty(); }

    // The text (cut to kNoteMaxChars characters); the card grows or shrinks to it.
    void SetText(std::string_view text, ITextMetrics& metrics);
    const std::string& text() const { return m_text; }
    // As wide as "abcdefghijklmnopqrst" or the text, as tall as the text, or 3/2 of the font's
    // height when empty.
    void FitToText(ITextMetrics& metrics);

    // The Mystery tool: kAccepted, or 1424 for an editable card with no text.
    int ToggleHidden();
    const std::string& keywordUsed() const { return m_keywordUsed; }
    void SetKeywordUsed(const std::string& k) { m_keywordUsed = k; }
    CRect TextRect() const;
    // Its place on the message board: 0 when it is not on the board, else its order there.
    int boardOrder() const { return m_boardOrder; }
    void SetBoardOrder(int order) { m_boardOrder = order; }

private:
    std::string m_text;
    std::string m_keywordUsed;
    std::string m_hiddenText;
    int m_boardOrder = 0;
};

// --- code machines ----------------------------------------------------------------------------

// The parts of a code machine a click can hit.
enum class CodePart {
    None,
    Body,
    Input,
    Output,
    Box1, // places, group size or keyword
    Spin1Up,
    Spin1Down,
    Box2, // direction
    Spin2Up,
    Spin2Down,
    Decode,
    Go,
};

class CCodeMachine : public CFunctionMachine {
public:
    static constexpr int kWidth = 220;
    static constexpr int kHopperHeight = 40;
    static constexpr int kBodyHeight = 130;
    static constexpr int kOutputHeight = 40;
    static constexpr int kHeight = kHopperHeight + kBodyHeight + kOutputHeight;
    static constexpr int kDropHeight = 36;

    explicit CCodeMachine(CPoint topLeft);
    CCodeMachine(const CCodeMachine& other);

    void SerializeLinked(CArchive& ar, const CPatternIndex& index) override;
    void Draw(IDrawingSurface& dc) const override;
    bool HitTest(double x, double y) const override;
    void MoveBy(double dx, double dy) override;
    void GetFrame(CRect& r) const override;
    void GetBounds(CRect& r) const override;
    bool IsEqualTo(const CManipulative&) const override { return false; }

    // Its parameter boxes are not empty and its input has a text.
    bool HasValue() const override;
    bool IsReady() const override;
    bool InputsReady() const override;
    std::string GetText() const override { return m_outputText; }
    CPoint GetOutputPoint() const override;
    CPoint GetInputPoint(int which) const override;
    bool HitInput1(CPoint p) const override;
    // A note card over the hopper: centred in it; a second one is refused with 1416.
    int AcceptCard(CPatternManipulative* card) override;
    void RemoveCard(CPatternManipulative* card) override;
    ComputeResult Compute(const CComputeOptions& options) override;
    std::string ComputeMessage() const override { return m_message; }
    CRect Body() const override;
    CRect Hopper(int which) const override;
    CRect DropArea(int which) const override;
    void AdvanceInputCards() override;

    // The parameters as the boxes (or, where hidden, the stored values) give them: empty, or
    // the message of the first that is wrong. Stores what it reads.
    virtual std::optional<std::string> CheckParameters() = 0;
    // The machine's rule applied to a text, with the parameters CheckParameters accepted.
    virtual std::string Apply(std::string_view text) = 0;
    // The keyword an output note card records (the keyword machine's last used).
    virtual std::string KeywordForOutput() const { return {}; }
    // "Shift Machine", "Group Machine", "Keyword Machine".
    virtual std::string Title() const = 0;

    // Boxes: their texts, whether they are hidden, and the Mystery tool on them (kAccepted or
    // the message why not).
    virtual std::string BoxText(int box) const = 0;
    virtual void SetBoxText(int box, const std::string& text) = 0;
    virtual bool BoxHidden(int box) const = 0;
    virtual std::string ToggleBoxHidden(int box) = 0;
    // The spin buttons of a box.
    virtual void Spin(int /*box*/, bool /*up*/) {}
    // How many boxes it has, and whether a box has spin buttons.
    virtual int BoxCount() const { return 1; }
    virtual bool BoxSpins(int /*box*/) const { return true; }
    virtual std::string BoxName(int box) const = 0;

    CPoint topLeft() const { return m_topLeft; }
    CRect PartRect(CodePart part) const;
    CodePart PartAt(CPoint p) const;
    CPoint CardPlace(CSize card) const;
    const std::string& outputText() const { return m_outputText; }

protected:
    // The machine's own fields in its file, after the common ones.
    virtual void SerializeParameters(CArchive& ar) = 0;
    virtual void DrawParameters(IDrawingSurface& dc) const;
    CRect Offset(const CRect& part) const;

    CPoint m_topLeft;
    std::string m_outputText;
    std::string m_message;
};

class CShiftMachine : public CCodeMachine {
public:
    explicit CShiftMachine(CPoint topLeft = {});
    std::int32_t GetType() const override { return kTypeShiftMachine; }
    std::unique_ptr<CManipulative> Clone() const override;
    std::optional<std::string> CheckParameters() override;
    std::string Apply(std::string_view text) override;
    std::string Title() const override { return "Shift Machine"; }
    std::string BoxText(int box) const override {
        return box == 1 ? m_placesText : m_directionText;
    }
    void SetBoxText(int box, const std::string& text) override;
    bool BoxHidden(int box) const override { return box == 1 ? m_placesHidden : m_directionHidden; }
    std::string ToggleBoxHidden(int box) override;
    void Spin(int box, bool up) override;
    int BoxCount() const override { return 2; }
    std::string BoxName(int box) const override { return box == 1 ? "Places" : "Direction"; }
    int places() const { return m_places; }
    int direction() const { return m_direction; }

protected:
    void SerializeParameters(CArchive& ar) override;

private:
    std::string m_placesText = "1";
    std::string m_directionText = "right";
    std::int32_t m_places = 1;
    std::int32_t m_direction = 1;
    bool m_placesHidden = false;
    bool m_directionHidden = false;
};

class CGroupMachine : public CCodeMachine {
public:
    explicit CGroupMachine(CPoint topLeft = {});
    std::int32_t GetType() const override { return kTypeGroupMachine; }
    std::unique_ptr<CManipulative> Clone() const override;
    std::optional<std::string> CheckParameters() override;
    std::string Apply(std::string_view text) override;
    std::string Title() const override { return "Group Machine"; }
    std::string BoxText(int) const override { return m_sizeText; }
    void SetBoxText(int, const std::string& text) override { m_sizeText = text; }
    bool BoxHidden(int) const override { return m_sizeHidden; }
    std::string ToggleBoxHidden(int box) override;
    void Spin(int box, bool up) override;
    std::string BoxName(int) const override { return "Group size"; }
    int size() const { return m_size; }

protected:
    void SerializeParameters(CArchive& ar) override;

private:
    std::string m_sizeText = "5";
    std::int32_t m_size = 5;
    bool m_sizeHidden = false;
};

class CKeywordMachine : public CCodeMachine {
public:
    explicit CKeywordMachine(CPoint topLeft = {});
    std::int32_t GetType() const override { return kTypeKeywordMachine; }
    std::unique_ptr<CManipulative> Clone() const override;
    std::optional<std::string> CheckParameters() override;
    std::string Apply(std::string_view text) override;
    ComputeResult Compute(const CComputeOptions& options) override;
    std::string KeywordForOutput() const override { return m_lastUsed; }
    std::string Title() const override { return "Keyword Machine"; }
    std::string BoxText(int) const override { return m_keywordText; }
    void SetBoxText(int, const std::string& text) override { m_keywordText = text; }
    bool BoxHidden(int) const override { return m_keywordHidden; }
    std::string ToggleBoxHidden(int box) override;
    bool BoxSpins(int) const override { return false; }
    std::string BoxName(int) const override { return "Keyword"; }

    // The Decode check box: checking it with a card at the input that this machine did not
    // encode (no note card, or another keyword) gives 1417 and leaves it unchecked.
    int SetDecode(bool on);
    bool decode() const { return m_decode; }
    const std::string& lastUsed() const { return m_lastUsed; }
    const std::array<int, 26>& offsets() const { return m_offsets; }

protected:
    void SerializeParameters(CArchive& ar) override;
    void DrawParameters(IDrawingSurface& dc) const override;

private:
    std::string m_keywordText;
    std::string m_keyword; // the keyword as last checked (kept while hidden)
    bool m_keywordHidden = false;
    bool m_decode = false;
    std::string m_lastUsed;
    std::array<int, 26> m_offsets{};
};

// Registers the Codes manipulatives (note card, the three machines, link).
void RegisterCodesManipulatives();

} // namespace quorvel

// The prompt window's model and layout: the spin rules at their wraps, the controls each
// question type brings, the answers, Started, and where texts and controls go.
#include "problemsets/problem_prompt.h"
#include "problemsets/prompt_layout.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

CQuestion Question(int type, std::string prompt) {
    CQuestion q;
    q.type = type;
    q.prompt = std::move(prompt);
    return q;
}

CQuestion Choice(std::string prompt, std::array<std::string, 5> choices) {
    CQuestion q = Question(kChoiceQuestion, std::move(prompt));
    q.choices = std::move(choices);
    return q;
}

std::vector<int> Ids(const CProblemPrompt& p) {
    std::vector<int> ids;
    for (const auto& c : p.controls())
        ids.push_back(c.id);
    return ids;
}

// The bold counter font is told apart by its size in the recordings.
const CPromptFonts kFonts{{"Arial", 120}, {"Arial", 130, 0, 700}, {"Symbol", 140}};

} // namespace

TEST(OperatorSpin, WrapsAroundTheFourOperators) {
    EXPECT_EQ(NextOperator(0), 1);
    EXPECT_EQ(NextOperator(2), 3);
    EXPECT_EQ(NextOperator(3), 0);
    EXPECT_EQ(PreviousOperator(3), 2);
    EXPECT_EQ(PreviousOperator(1), 0);
    EXPECT_EQ(PreviousOperator(0), 3);
    // An empty field goes to the first operator up and to the last down.
    EXPECT_EQ(NextOperator(-1), 0);
    EXPECT_EQ(PreviousOperator(-1), 3);

    EXPECT_EQ(OperatorSymbolCode(0), 0x2B);
    EXPECT_EQ(OperatorSymbolCode(1), 0x2D);
    EXPECT_EQ(OperatorSymbolCode(2), 0xB4);
    EXPECT_EQ(OperatorSymbolCode(3), 0xB8);
    EXPECT_EQ(OperatorText(2), "\u00D7");
    EXPECT_EQ(OperatorText(3), "\u00F7");
    EXPECT_EQ(OperatorText(-1), "");
}

TEST(NumberSpin, UpWrapsFromOneHundredToZero) {
    EXPECT_EQ(NumberSpinUp(""), "1");
    EXPECT_EQ(NumberSpinUp("0"), "1");
    EXPECT_EQ(NumberSpinUp("99"), "100");
    EXPECT_EQ(NumberSpinUp("100"), "0");
    EXPECT_EQ(NumberSpinUp("500"), "0");
    EXPECT_EQ(NumberSpinUp("-5"), "-4");
    EXPECT_EQ(NumberSpinUp("ab"), "1");
}

TEST(NumberSpin, DownWrapsFromZeroToOneHundred) {
    EXPECT_EQ(NumberSpinDown(""), "100");
    EXPECT_EQ(NumberSpinDown("100"), "99");
    EXPECT_EQ(NumberSpinDown("1"), "0");
    EXPECT_EQ(NumberSpinDown("0"), "100");
    EXPECT_EQ(NumberSpinDown("-7"), "100");
    EXPECT_EQ(NumberSpinDown("999"), "998");
}

TEST(NumberField, OnlyWholeNumbersAreAnswers) {
    int v = -1;
    EXPECT_TRUE(ParseNumberField("42", v));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(ParseNumberField(" 7 ", v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(ParseNumberField("-3", v));
    EXPECT_EQ(v, -3);
    EXPECT_FALSE(ParseNumberField("", v));
    EXPECT_FALSE(ParseNumberField("  ", v));
    EXPECT_FALSE(ParseNumberField("4a", v));
    EXPECT_FALSE(ParseNumberField("-", v));
}

TEST(Prompt, EachQuestionTypeBringsItsControls) {
    CQuestionSet qs{
        Question(kOperatorQuestion, "3 ? 4 = 7"), Question(kNumberQuestion, "3 + ? = 7"),
        Question(kOperatorQuestion, "8 ? 2 = 4"), Question(kNumberQuestion, "? x 2 = 8")};
    CProblemPrompt p;
    p.SetQuestions(qs, 4);
    EXPECT_EQ(Ids(p), (std::vector<int>{1472, 1476, 1478, 1474, 1480, 1482, 1473, 1477, 1479, 1475,
                                        1481, 1483}));
    EXPECT_EQ(p.Control(1477)->field, 1473);
    EXPECT_EQ(p.Control(1483)->question, 3);

    // Radios carry the index of their choice in the record; empty choices get none.
    CQuestionSet mc{Choice("Pick one", {"Red", "", "Blue", "Green", ""}), Question(0, "Text only")};
    p.SetQuestions(mc, 2);
    EXPECT_EQ(Ids(p), (std::vector<int>{1484, 1486, 1487}));
    EXPECT_EQ(p.Control(1486)->choice, 2);
    EXPECT_TRUE(p.ControlsOf(1).empty());
}

TEST(Prompt, QuestionsBeyondTheControlsAreTextOnlyAndNotRequired) {
    CQuestionSet qs{Question(kOperatorQuestion, "a"), Question(kOperatorQuestion, "b"),
                    Question(kOperatorQuestion, "c"), Choice("d", {"", "", "", "", ""})};
    CProblemPrompt p;
    p.SetQuestions(qs, 4);
    EXPECT_TRUE(p.ControlsOf(2).empty());
    EXPECT_TRUE(p.ControlsOf(3).empty()); // no choice to pick
    ASSERT_TRUE(p.Spin(1476));
    ASSERT_TRUE(p.Spin(1477));
    CPromptAnswers a;
    EXPECT_EQ(p.ReadAnswers(a), kAnswersComplete);
    EXPECT_FALSE(a[2].given);
}

TEST(Prompt, AnswersAreReadOnlyWhenEveryControlHasOne) {
    CQuestionSet qs{Question(kOperatorQuestion, "3 ? 4 = 12"),
                    Question(kNumberQuestion, "5 - ? = 1"),
                    Choice("Which?", {"A", "B", "C", "", ""})};
    CProblemPrompt p;
    p.SetQuestions(qs, 3);
    CPromptAnswers a;
    EXPECT_EQ(p.ReadAnswers(a), kAnswerMissing);

    p.Spin(1478); // down from empty: divided by
    p.Spin(1478); // times
    p.SetNumberText(1474, "4");
    EXPECT_EQ(p.ReadAnswers(a), kAnswerMissing);
    p.ChooseRadio(1485);
    ASSERT_EQ(p.ReadAnswers(a), kAnswersComplete);
    EXPECT_TRUE(a[0].given);
    EXPECT_EQ(a[0].value, 2);
    EXPECT_EQ(p.FieldText(1472), "\u00D7");
    EXPECT_EQ(a[1].value, 4);
    EXPECT_EQ(a[2].value, 1);
    EXPECT_FALSE(a[3].given);

    // A number field that holds no number is no answer.
    p.SetNumberText(1474, "-");
    EXPECT_EQ(p.ReadAnswers(a), kAnswerMissing);
}

TEST(Prompt, StartedByAnyInputAndClearedByNewQuestions) {
    CQuestionSet qs{Question(kNumberQuestion, "?"), Choice("?", {"x", "y", "", "", ""}),
                    Question(kOperatorQuestion, "?")};
    CProblemPrompt p;
    p.SetQuestions(qs, 3);
    EXPECT_FALSE(p.Started());
    EXPECT_FALSE(p.Spin(1999));
    EXPECT_FALSE(p.ChooseRadio(1488)); // no fifth choice here
    EXPECT_FALSE(p.Started());

    for (auto input : {+[](CProblemPrompt& x) { return x.Spin(1480); },
                       +[](CProblemPrompt& x) { return x.Spin(1478); },
                       +[](CProblemPrompt& x) { return x.ChooseRadio(1485); },
                       +[](CProblemPrompt& x) { return x.SetNumberText(1474, "12"); }}) {
        p.SetQuestions(qs, 3);
        ASSERT_TRUE(input(p));
        EXPECT_TRUE(p.Started());
    }
    p.SetQuestions(qs, 3);
    EXPECT_FALSE(p.Started());
    EXPECT_EQ(p.FieldText(1474), "");
    EXPECT_EQ(p.chosenChoice(), -1);
}

TEST(Prompt, NumberFieldsKeepThreeCharactersAndDisabledChoicesRefuse) {
    CQuestionSet qs{Question(kNumberQuestion, "?"), Choice("?", {"x", "y", "", "", ""})};
    CProblemPrompt p;
    p.SetQuestions(qs, 2);
    p.SetNumberText(1474, "12345");
    EXPECT_EQ(p.FieldText(1474), "123");
    p.Spin(1480);
    EXPECT_EQ(p.FieldText(1474), "0");

    p.EnableChoices(false);
    EXPECT_FALSE(p.ChooseRadio(1484));
    EXPECT_EQ(p.chosenChoice(), -1);
    p.EnableChoices(true);
    EXPECT_TRUE(p.ChooseRadio(1484));
}

TEST(Prompt, NumberFieldAcceptsASignAndUpToThreeDigitsWhileTyping) {
    const struct {
        const char* text;
        bool accepted;
    } cases[] = {
        {"", true},      {"-", true},     {"7", true},   {"100", true},     {"-12", true},
        {"1234", false}, {"-123", false}, {"1-", false}, {"--1", false},    {"+1", false},
        {" 1", false},   {"1.5", false},  {"6x", false}, {"\u0663", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumberFieldAccepts(c.text), c.accepted) << '"' << c.text << '"';
}

// Fake metrics: 7 pixels a character, 16-pixel lines.
TEST(PromptLayout, CounterOnTopThenTextsWithTheirControls) {
    FakeTextMetrics m;
    CQuestionSet qs{Question(kNumberQuestion, "1 - 1 = ?"),
                    Question(kOperatorQuestion, "Which operator makes the machine turn 6 into 3?"),
                    Choice("Pick", {"Core #1", "Core #2", "", "", ""})};
    CProblemPrompt p;
    p.SetQuestions(qs, 3);
    const CPromptLayout l = LayoutPrompt(p, {300, 175}, m, kFonts);

    EXPECT_EQ(l.counter, (CRect{4, 4, 296, 24}));
    ASSERT_EQ(l.lines.size(), 4u);
    // "1 - 1 = ?" is 63 pixels: its field follows 5 pixels after it, centred on the line.
    const CPromptPlace* number = l.Place(1474);
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->rect, (CRect{72, 24, 72 + 29, 24 + 22}));
    EXPECT_EQ(l.lines[0].at, (CPoint{4, 27}));
    // Its spins are squares beside it.
    EXPECT_EQ(l.Place(1480)->rect, (CRect{103, 24, 125, 46}));
    EXPECT_EQ(l.Place(1482)->rect, (CRect{126, 24, 148, 46}));

    // The second text wraps in the 292-pixel width; its last line has room for the field.
    EXPECT_EQ(l.lines[1].text, "Which operator makes the machine turn 6");
    EXPECT_EQ(l.lines[1].at, (CPoint{4, 52}));
    EXPECT_EQ(l.lines[2].text, "into 3?");
    const CPromptPlace* op = l.Place(1472);
    EXPECT_EQ(op->rect.left, 4 + 49 + 5);
    EXPECT_EQ(op->rect.top, 68);

    // Radios one per line under their prompt, 17 pixels high.
    EXPECT_EQ(l.lines[3].at.y, 68 + 22 + kQuestionGap);
    EXPECT_EQ(l.Place(1484)->rect, (CRect{4, 112, 296, 129}));
    EXPECT_EQ(l.Place(1485)->rect, (CRect{4, 129, 296, 146}));
    EXPECT_EQ(l.contentBottom, 146);
}

TEST(PromptLayout, ControlsThatDoNotFitGoOnTheNextLine) {
    FakeTextMetrics m;
    // 20 characters fill 140 of the 142 pixels: no room for the field and its spins.
    CQuestionSet qs{Question(kNumberQuestion, "abcdefghijklmnopqrst"),
                    Question(kNumberQuestion, "")};
    CProblemPrompt p;
    p.SetQuestions(qs, 2);
    const CPromptLayout l = LayoutPrompt(p, {150, 175}, m, kFonts);
    ASSERT_EQ(l.lines.size(), 1u);
    EXPECT_EQ(l.lines[0].at, (CPoint{4, 24}));
    EXPECT_EQ(l.Place(1474)->rect, (CRect{4, 40, 33, 62}));
    // A question without text has its field at the left edge.
    EXPECT_EQ(l.Place(1475)->rect, (CRect{4, 68, 33, 90}));
}

TEST(PromptLayout, WrapKeepsLineBreaksAndBreaksOverlongWords) {
    FakeTextMetrics m;
    const CFontSpec f;
    EXPECT_EQ(WrapText(m, f, "one two\r\nthree", 200),
              (std::vector<std::string>{"one two", "three"}));
    EXPECT_EQ(WrapText(m, f, "abcdefghij", 28), (std::vector<std::string>{"abcd", "efgh", "ij"}));
    EXPECT_EQ(WrapText(m, f, "ends here\n", 200), (std::vector<std::string>{"ends here"}));
}

TEST(PromptLayout, PaintsTwoWhiteFramesTheWorkspaceColourAndTheTexts) {
    CQuestionSet qs{Question(kTextQuestion, "Look at the tessellation.")};
    CProblemPrompt p;
    p.SetQuestions(qs, 1);
    p.SetCounter("2 of 5");
    RecordingSurface dc;
    const CPromptLayout l = LayoutPrompt(p, {300, 100}, dc.metrics, kFonts);
    PaintPrompt(dc, p, l, kFonts);
    EXPECT_EQ(dc.Only("rect"), (std::vector<std::string>{"rect 0,0 300,100", "rect 1,1 299,99"}));
    EXPECT_EQ(dc.Only("pen"), (std::vector<std::string>{"pen 1 #ffffff"}));
    EXPECT_EQ(dc.Only("fill"), (std::vector<std::string>{"fill 2,2 298,98 #00ffff"}));
    EXPECT_EQ(dc.Only("textbg"), (std::vector<std::string>{"textbg transparent"}));
    EXPECT_EQ(dc.Only("font"), (std::vector<std::string>{"font Arial 130", "font Arial 120"}));
    EXPECT_EQ(dc.Only("drawtext"), (std::vector<std::string>{"drawtext 4,4 296,24 37 2 of 5"}));
    EXPECT_EQ(dc.Only("text "), (std::vector<std::string>{"text 4,24 Look at the tessellation."}));
}

TEST(PromptLayout, WindowGrowsUpwardsOnlyWhenItsQuestionsNeedIt) {
    const CRect offered{100, 300, 400, 475}; // 175 high
    const struct {
        int contentBottom;
        CRect expected;
    } cases[] = {
        {100, offered},              // room to spare
        {169, offered},              // exactly fits: 169 + inset 4 + frames 2
        {170, {100, 299, 400, 475}}, // one pixel more
        {400, {100, 69, 400, 475}},  // much more
        {900, {100, 0, 400, 475}},   // never above the page
    };
    for (const auto& c : cases) {
        CPromptLayout layout;
        layout.contentBottom = c.contentBottom;
        EXPECT_EQ(PromptWindowRect(offered, layout), c.expected) << c.contentBottom;
    }
}

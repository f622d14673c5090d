// "Mystery Machines": Check against a mysterious supermachine built with the page's own tools,
// the last try, View Solution, and the teacher's prompt editor.
#include "patterns/numbers_controller.h"
#include "patterns/patterns_problems.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

#include <set>

namespace quorvel {
namespace {

using testing::FakeDocumentHost;
using testing::FakeTextMetrics;
using testing::FakeTimerHost;

class ButtonWindow : public IUnitViewWindow {
public:
    void EnableView(bool) override {}
    void ShowButton(int id, bool shown) override {
        if (shown)
            this->shown.insert(id);
        else
            this->shown.erase(id);
    }
    CRect ButtonRect(int) const override { return {}; }
    int ControlIdAt(CPoint) const override { return 0; }
    void PressToolButton(int) override {}
    void CloseUnit() override {}
    std::set<int> shown;
};

CPoint Centre(const CRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A machine: its operation (-1 none) and its second input, built in unless "card".
struct Machine {
    int op;
    const char* second;
};

class MysteryTest : public ::testing::Test {
protected:
    MysteryTest() {
        doc.SetHost(&host);
        c = std::make_unique<CNumbersViewController>(doc, window, std::make_unique<FakeTimerHost>(),
                                                     std::make_unique<FakeTextMetrics>());
    }

    // The machines linked one after another and made mysterious, as a problem file holds them,
    // and the four standard questions in the prompt.
    void Problem(const std::vector<Machine>& machines) {
        CNumberMachine* previous = nullptr;
        for (std::size_t i = 0; i < machines.size(); ++i) {
            auto& m = *static_cast<CNumberMachine*>(c->TakeFromDrawer(
                NumbersDrawerItem::Machine, {150 + 250 * static_cast<int>(i), 150}));
            if (machines[i].op >= 0)
                c->SetOperation(m, machines[i].op);
            if (std::string(machines[i].second) != "card") {
                c->ToggleBuiltIn(m, 2);
                m.builtInCard(2).SetText(machines[i].second);
            }
            if (previous) {
                c->SelectTool(ToolCommand(kToolLinking));
                c->MouseDown(Centre(previous->Hopper(0)), false, false);
                c->MouseUp(Centre(m.Hopper(1)));
                c->SelectTool(ToolCommand(kToolArrow));
            }
            previous = &m;
        }
        if (previous)
            previous->Head()->SetSupermachineMystery(1);
        CNumbersOptions o = doc.options();
        o.mysteryTool = 0;
        doc.SetOptions(o);
        doc.SetProblemSetMode(true);
        doc.LoadQuestions(StandardMysteryQuestions(), 4, 3);
        host.prompter.messages.clear();
    }
    // Answers as "value op value op" with the operators as + - * /.
    void Answer(const std::array<std::string, 4>& a) {
        CProblemPrompt& p = c->prompt();
        for (int k = 0; k < 2; ++k) {
            const auto n = static_cast<std::size_t>(k);
            p.SetNumberText(kNumberFieldIds[n], a[2 * n]);
            const auto op = std::string("+-*/").find(a[2 * n + 1]);
            for (std::size_t spins = 0; op != std::string::npos && spins <= op; ++spins)
                p.Spin(kOperatorUpIds[n]);
        }
    }
    std::string LastMessage() const {
        return host.prompter.messages.empty() ? "" : host.prompter.messages.back().text;
    }

    FakeDocumentHost host;
    CNumberPatternsDocument doc;
    ButtonWindow window;
    std::unique_ptr<CNumbersViewController> c;
};

TEST_F(MysteryTest, CheckComparesTheFunctionsTheMachinesMake) {
    const std::string right = "Your answer is correct.";
    const std::string wrong = "Your solution is not correct. Think about the problem again.";
    struct Case {
        std::vector<Machine> machines;
        std::array<std::string, 4> answers;
        std::string message;
        int triesLeft;
    };
    const Case cases[] = {
        // + 2 then × 3 is 3x + 6, as × 3 then + 6 is.
        {{{0, "2"}, {2, "3"}}, {"3", "*", "6", "+"}, right, 3},
        {{{3, "10"}, {2, "3"}}, {"3", "*", "10", "/"}, right, 3},
        // A built-in 1/2 counts as 0.5.
        {{{2, "1/2"}, {0, "1"}}, {"2", "/", "1", "+"}, right, 3},
        {{{0, "2"}, {2, "3"}}, {"3", "*", "2", "+"}, wrong, 2},
        // Dividing by 0 makes no function, which matches nothing.
        {{{3, "0"}, {0, "1"}}, {"0", "/", "1", "+"}, wrong, 2},
        {{{0, "2"}, {2, "3"}}, {"-", "*", "6", "+"}, "Illegal Number Format", 3},
        {{{0, "2"}, {2, "3"}}, {"", "*", "6", "+"}, "Please choose an answer for each part.", 3},
        {{{0, "2"}, {-1, "3"}},
         {"3", "*", "6", "+"},
         "Please check that an operation has been "
         "selected on each machine.",
         3},
        {{{0, "2"}, {2, "card"}},
         {"3", "*", "6", "+"},
         "The second input must be built-in on each machine.",
         3},
        {{}, {"3", "*", "6", "+"}, "No function machines found.", 3},
        // A built-in input without a value ends the check without a word.
        {{{0, ""}, {2, "3"}}, {"3", "*", "6", "+"}, "", 3},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.message + " " + k.answers[0] + k.answers[1]);
        doc.ClearWorkspace();
        Problem(k.machines);
        Answer(k.answers);
        c->OnCheck();
        EXPECT_EQ(LastMessage(), k.message);
        EXPECT_EQ(doc.problemPosition().triesLeft, k.triesLeft);
    }
}

TEST_F(MysteryTest, TheLastWrongTryOpensTheMysteryToolAndViewSolutionRevealsTheMachines) {
    Problem({{0, "2"}, {2, "3"}});
    Answer({"1", "+", "1", "+"});
    for (int i = 0; i < 3; ++i)
        c->OnCheck();
    EXPECT_EQ(LastMessage(),
              "Your solution is not correct. Use the Mystery Tool to see the correct answer.");
    EXPECT_EQ(doc.options().mysteryTool, 1);
    EXPECT_TRUE(window.shown.count(kViewSolutionCommand));
    c->OnViewSolution();
    auto& first = static_cast<CNumberMachine&>(*doc.manipulatives().front());
    EXPECT_EQ(first.mystery(), 0);
    EXPECT_EQ(c->prompt().FieldText(kNumberFieldIds[0]), "2");
    EXPECT_EQ(c->prompt().OperatorIndex(kOperatorFieldIds[1]), 2);
}

TEST_F(MysteryTest, ThePromptEditorRefusesWhatCannotBeAnsweredAndStoresTheRest) {
    Problem({{3, "0"}, {0, "1"}});
    doc.SetQuestionCount(0);
    CPatternsPromptEditor editor(doc, host.prompter);
    EXPECT_EQ(editor.entries[3].text, kMysteryQuestionTexts[3]);
    EXPECT_FALSE(editor.OnOK()); // no level chosen
    EXPECT_EQ(host.prompter.messages.back().text, "Incomplete question encountered!");
    EXPECT_EQ(host.prompter.messages.back().icon, MessageIcon::None);
    editor.level = 1;
    EXPECT_FALSE(editor.OnOK()); // the first machine divides by 0
    static_cast<CNumberMachine&>(*doc.manipulatives().front()).builtInCard(2).SetText("5");
    editor.entries[1].text = "Which operator?";
    editor.Next();
    editor.Next();
    editor.Previous();
    ASSERT_TRUE(editor.OnOK());

    CNumberPatternsDocument reread;
    reread.SetHost(&host);
    ASSERT_EQ(reread.LoadFromBytes(doc.SaveToBytes()), OpenResult::Opened);
    reread.files().SetFilePath(doc.files().filePath());
    const CPatternsPromptEditor again(reread, host.prompter);
    EXPECT_EQ(reread.files().filePath(), "/opt/quorvel/class/patpsB02.qvn");
    EXPECT_EQ(again.level, 1);
    EXPECT_EQ(again.problem, 2);
    EXPECT_EQ(again.entries[1].text, "Which operator?");
    EXPECT_EQ(again.entries[2].kind, kNumberQuestion);
}

} // namespace
} // namespace quorvel

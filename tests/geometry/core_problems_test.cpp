// "What's My Core?" on the geometry page without a screen: checking the chosen core over three
// tries, the solution's text, the score line, and the teacher's question dialog.
#include "geometry/core_problems.h"
#include "geometry/geometry_document.h"
#include "geometry/geometry_view_controller.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

#include <set>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

class FakePage : public IUnitViewWindow, public IGeometryViewWindow {
public:
    std::set<int> shown;
    // What the teacher does in the question dialog: fills it in and presses OK until it
    // closes, or cancels.
    std::function<bool(CCoreQuestionEditor&)> dialog;

    void EnableView(bool) override {}
    void ShowButton(int id, bool show) override {
        if (show)
            shown.insert(id);
        else
            shown.erase(id);
    }
    CRect ButtonRect(int) const override { return {}; }
    int ControlIdAt(CPoint) const override { return 0; }
    void PressToolButton(int) override {}
    void CloseUnit() override {}
    void ScrollPaneTo(int, int) override {}
    bool RunCoreQuestionDialog(CCoreQuestionEditor& editor) override {
        return dialog && dialog(editor);
    }
    bool Shows(int id) const { return shown.count(id) != 0; }
};

class FakeProblems : public IProblemSetWindow {
public:
    CCheckBitmaps check;
    std::vector<std::string> scores;
    void SetCheckBitmaps(const CCheckBitmaps& b) override { check = b; }
    void CreatePromptWindow(CProblemPrompt&, const CRect&) override {}
    void DestroyPromptWindow() override {}
    int ShowScore(const std::string& text, bool) override {
        scores.push_back(text);
        return kScoreClose;
    }
};

class CoreProblemsTest : public ::testing::Test {
protected:
    CoreProblemsTest() { doc.SetHost(&host); }

    // A page over the document; authoring mode as the program's host says.
    void MakePage() {
        auto fake = std::make_unique<FakeProblems>();
        problems = fake.get();
        controller = std::make_unique<CGeometryViewController>(
            doc, page, std::make_unique<FakeTimerHost>(), std::make_unique<FakeTextMetrics>(),
            std::move(fake));
        controller->SetGeometryWindow(&page);
    }

    // The first problem of a run at level B whose right core is #3.
    void BeginRun() {
        MakePage();
        doc.SetLevel(1);
        doc.SetProblemSequence({0, 3, 0}, kProblemsPerRun);
        CQuestionSet questions;
        questions[0] = MakeCoreQuestion(kCoreQuestionPrompt, 2);
        doc.LoadQuestions(questions, 1, 3);
        host.prompter.messages.clear();
    }

    void Choose(int core) { controller->prompt().ChooseRadio(kFirstChoiceId + core); }
    std::string LastMessage() const {
        return host.prompter.messages.empty() ? std::string() : host.prompter.messages.back().text;
    }
    int TriesLeft() const { return doc.problemPosition().triesLeft; }

    FakeDocumentHost host;
    CGeometryUnitDocument doc;
    FakePage page;
    FakeProblems* problems = nullptr;
    std::unique_ptr<CGeometryViewController> controller;
};

TEST_F(CoreProblemsTest, TheQuestionOffersFourCoresAndAnEmptyFifthChoice) {
    const CQuestion q = MakeCoreQuestion("Which?", 3);
    EXPECT_EQ(q.type, 2);
    EXPECT_EQ(q.answer, 3.0);
    EXPECT_EQ(q.choices,
              (std::array<std::string, 5>{"Core #1", "Core #2", "Core #3", "Core #4", ""}));
    BeginRun();
    // Four radio buttons, one per core; no fifth for the empty choice.
    EXPECT_EQ(controller->prompt().ControlsOf(0).size(), 4u);
    EXPECT_EQ(problems->check, CheckBitmapsForTries(3));
}

TEST_F(CoreProblemsTest, CheckWithoutAChoiceAsksForOneAndKeepsTheTry) {
    BeginRun();
    controller->OnCommand(kCheckCommand);
    EXPECT_EQ(LastMessage(), "Please select one of the choices.");
    EXPECT_EQ(TriesLeft(), 3);
    EXPECT_FALSE(page.Shows(kContinueCommand));
}

TEST_F(CoreProblemsTest, ThreeWrongCoresTryAgainTwiceThenOpenTheWayToTheSolution) {
    BeginRun();
    Choose(0);
    controller->OnCommand(kCheckCommand);
    EXPECT_EQ(LastMessage(), "Your solution is not correct. Think about the problem again.");
    EXPECT_EQ(TriesLeft(), 2);
    EXPECT_EQ(problems->check, CheckBitmapsForTries(2));

    Choose(1);
    controller->OnCommand(kCheckCommand);
    EXPECT_EQ(LastMessage(), "Your solution is not correct. Think about the problem again.");
    EXPECT_EQ(TriesLeft(), 1);
    EXPECT_FALSE(page.Shows(kViewSolutionCommand));

    Choose(3);
    controller->OnCommand(kCheckCommand);
    EXPECT_EQ(LastMessage(),
              "Your solution is not correct. Click View Solution to see the correct answer.");
    EXPECT_EQ(TriesLeft(), 3);
    EXPECT_EQ(doc.problemPosition().correct, 0);
    EXPECT_TRUE(page.Shows(kViewSolutionCommand));
    EXPECT_TRUE(page.Shows(kContinueCommand));
    EXPECT_FALSE(controller->prompt().choicesEnabled());
}

TEST_F(CoreProblemsTest, TheRightCoreCountsAndShowsContinue) {
    BeginRun();
    Choose(1);
    controller->OnCommand(kCheckCommand);
    Choose(2);
    controller->OnCommand(kCheckCommand);
    EXPECT_EQ(LastMessage(), "Your answer is correct.");
    EXPECT_EQ(doc.problemPosition().correct, 1);
    EXPECT_TRUE(page.Shows(kContinueCommand));
}

TEST_F(CoreProblemsTest, ViewSolutionNamesTheCoreCountingFromOne) {
    BeginRun();
    controller->OnCommand(kViewSolutionCommand);
    EXPECT_EQ(LastMessage(), "The correct answer is core #3.");
    EXPECT_EQ(controller->prompt().chosenChoice(), 2);
    CQuestion first = MakeCoreQuestion("?", 0);
    EXPECT_EQ(CoreSolutionText(first), "The correct answer is core #1.");
}

TEST_F(CoreProblemsTest, CheckWithoutAQuestionIsAGeneralError) {
    MakePage();
    controller->OnCommand(kCheckCommand);
    EXPECT_EQ(LastMessage(), "General Error.");
    // A problem file without a question opens a prompt with nothing to answer.
    doc.LoadQuestions(CQuestionSet{}, 0, 3);
    host.prompter.messages.clear();
    controller->OnCommand(kCheckCommand);
    EXPECT_EQ(LastMessage(), "General Error.");
    EXPECT_EQ(doc.problemPosition().correct, 0);
}

TEST_F(CoreProblemsTest, TheScoreNamesTheSetAndItsLevel) {
    BeginRun();
    doc.SetProblemPosition({5, 3, 4});
    controller->AskEndProblemSet(false);
    ASSERT_EQ(problems->scores.size(), 1u);
    EXPECT_EQ(problems->scores[0], "WHAT'S MY CORE? (Level B)\r\nYou got 4 of 5 problems correct.");
    doc.SetLevel(2);
    doc.SetProblemPosition({0, 3, 0});
    controller->AskEndProblemSet(false);
    EXPECT_EQ(problems->scores[1],
              "WHAT'S MY CORE? (Level C)\r\nYou did not complete any problems.");
}

// --- the teacher's question dialog -------------------------------------------------------

class AuthoringHost : public FakeDocumentHost {
public:
    bool AuthoringMode() const override { return true; }
};

TEST_F(CoreProblemsTest, TheDialogRefusesAQuestionWithAPartMissing) {
    CCoreQuestionEditor editor(doc, host.prompter);
    EXPECT_EQ(editor.prompt, kCoreQuestionPrompt);
    EXPECT_EQ(editor.level, -1);
    EXPECT_EQ(editor.core, -1);
    const auto refused = [&](const std::string& prompt, int level, int core) {
        host.prompter.messages.clear();
        editor.prompt = prompt;
        editor.level = level;
        editor.core = core;
        return !editor.OnOK() && LastMessage() == "Incomplete question encountered!";
    };
    EXPECT_TRUE(refused(kCoreQuestionPrompt, -1, 1));
    EXPECT_TRUE(refused(kCoreQuestionPrompt, 0, -1));
    EXPECT_TRUE(refused("", 0, 1));
    EXPECT_TRUE(refused("  \n", 0, 1));
    EXPECT_EQ(doc.questionCount(), 0);

    editor.prompt = "Which core?";
    editor.level = 2;
    editor.core = 3;
    EXPECT_TRUE(editor.OnOK());
    EXPECT_TRUE(editor.added());
    ASSERT_EQ(doc.questionCount(), 1);
    EXPECT_EQ(doc.questions()[0], MakeCoreQuestion("Which core?", 3));
    EXPECT_EQ(doc.level(), 2);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(CoreProblemsTest, AFifthQuestionIsIgnoredAndTheDialogCloses) {
    for (int i = 0; i < 4; ++i) {
        CCoreQuestionEditor editor(doc, host.prompter);
        editor.level = 0;
        editor.core = i;
        EXPECT_TRUE(editor.OnOK());
        EXPECT_TRUE(editor.added());
    }
    CCoreQuestionEditor fifth(doc, host.prompter);
    fifth.level = 1;
    fifth.core = 0;
    EXPECT_TRUE(fifth.OnOK());
    EXPECT_FALSE(fifth.added());
    EXPECT_EQ(doc.questionCount(), 4);
    EXPECT_EQ(doc.questions()[3].answer, 3.0);
    EXPECT_EQ(doc.level(), 0);
}

TEST_F(CoreProblemsTest, TheQuestionCommandRunsOnlyInAuthoringMode) {
    MakePage();
    int runs = 0;
    page.dialog = [&](CCoreQuestionEditor&) { return ++runs, false; };
    EXPECT_FALSE(controller->IsCommandEnabled(kCmdCoreQuestion));
    controller->OnCommand(kCmdCoreQuestion);
    EXPECT_EQ(runs, 0);

    AuthoringHost teacher;
    doc.SetHost(&teacher);
    MakePage();
    EXPECT_TRUE(controller->IsCommandEnabled(kCmdCoreQuestion));
    page.dialog = [&](CCoreQuestionEditor& editor) {
        ++runs;
        editor.level = 1;
        editor.core = 0;
        return editor.OnOK();
    };
    ASSERT_FALSE(doc.options().Teacher(kOptComputerChecked));
    controller->OnCommand(kCmdCoreQuestion);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(doc.questionCount(), 1);
    // Saved as a problem file, the document opens with its question in the prompt window.
    EXPECT_TRUE(doc.options().Teacher(kOptComputerChecked));
    const std::vector<std::uint8_t> bytes = doc.SaveToBytes();
    CGeometryUnitDocument reopened;
    FakePage otherPage;
    CGeometryViewController view(reopened, otherPage, std::make_unique<FakeTimerHost>(),
                                 std::make_unique<FakeTextMetrics>(),
                                 std::make_unique<FakeProblems>());
    ASSERT_EQ(reopened.LoadFromBytes(bytes), OpenResult::Opened);
    EXPECT_TRUE(view.HasPrompt());
    EXPECT_EQ(view.prompt().questions()[0].choices[0], "Core #1");
    doc.SetHost(&host);
}

} // namespace

// The problem-set flow with a test unit whose rule is "the chosen radio is the right one":
// starting a run, Check and its tries, Continue, the counter, the score, View Solution,
// leaving during a run, New and Open in problem-set mode, and a missing problem file.
#include "problemsets/problem_set_controller.h"
#include "workspace/random.h"

#include "test_unit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <unistd.h>

using namespace quorvel;
using namespace quorvel::testing;
namespace fs = std::filesystem;

namespace {

class ProblemSetFlow : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() /
              ("quorvel-problemsets-" + std::to_string(getpid()) + "-" + info->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        host.directories.classDir = dir.string();
        doc.SetHost(&host);
        view = std::make_unique<CProblemSetViewController>(doc, window, problems, rule);
        SeedRandom(7);
    }
    void TearDown() override {
        view.reset();
        fs::remove_all(dir);
    }

    static int RightCore(int n) { return n % 4; }

    // Problems 1..count of a level in the class folder, each saved with `fileLevel`.
    void WriteProblems(int level, int count, int fileLevel = -1) {
        for (int n = 1; n <= count; ++n) {
            CTestUnitDocument file;
            file.questions()[0] = CoreQuestion(RightCore(n));
            file.SetQuestionCount(1);
            file.SetLevel(fileLevel < 0 ? level : fileLevel);
            ASSERT_TRUE(file.OnSaveDocument(Path(level, n)));
        }
        doc.SetProblemCount(count);
    }
    std::string Path(int level, int n) const {
        return (dir / ProblemFileName(kGeometryProblemFiles, level, n)).string();
    }

    // As the investigations menu starts a run.
    void Launch(int level) {
        std::string path = host.directories.classDir;
        doc.AppendProblemFileName(path, level);
        doc.SetActivityName("probset1");
        ASSERT_TRUE(doc.OpenActivityFile(path));
        doc.SetProblemSequence(CProblemPosition{0, 3, 0}, 5);
    }

    // The number of the problem file that is open.
    int Current() const {
        const std::string& p = doc.activityPath();
        return std::stoi(p.substr(p.size() - 6, 2));
    }
    void Choose(int core) { ASSERT_TRUE(view->prompt().ChooseRadio(kFirstChoiceId + core)); }
    void Check() { view->OnCommand(kCheckCommand); }
    void AnswerRight() {
        Choose(RightCore(Current()));
        Check();
    }
    void AnswerWrong() {
        Choose((RightCore(Current()) + 1) % 4);
        Check();
    }
    void Continue() { view->OnCommand(kContinueCommand); }

    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& m : host.prompter.messages)
            out.push_back(m.text);
        return out;
    }
    bool AskedToSave() const {
        for (const auto& m : host.prompter.messages)
            if (m.text == kAskToSave)
                return true;
        return false;
    }

    fs::path dir;
    FakeDocumentHost host;
    CTestUnitDocument doc;
    FakeUnitWindow window;
    FakeProblemSetWindow problems;
    ChosenRadioRule rule;
    std::unique_ptr<CProblemSetViewController> view;
};

const std::string kLastTry = kLastTryViewSolutionText;

} // namespace

TEST_F(ProblemSetFlow, StartingARunShowsThePromptAboveCheckWithOneOfFive) {
    WriteProblems(kLevelA, 6);
    // Check before a run has a prompt does nothing.
    Check();
    EXPECT_TRUE(host.prompter.messages.empty());

    Launch(kLevelA);
    ASSERT_TRUE(view->HasPrompt());
    EXPECT_EQ(problems.prompt, &view->prompt());
    EXPECT_EQ(problems.promptRect, view->GetPromptRect());
    EXPECT_EQ(problems.promptRect, (CRect{0, 315, 715, 490}));
    EXPECT_EQ(view->prompt().counter(), "1 of 5");
    EXPECT_EQ(view->prompt().questions()[0], CoreQuestion(RightCore(Current())));
    EXPECT_TRUE(window.Shows(kCheckCommand));
    EXPECT_FALSE(window.Shows(kContinueCommand));
    EXPECT_EQ(problems.check, (CCheckBitmaps{430, 428, 429}));
    EXPECT_EQ(doc.problemPosition(), (CProblemPosition{0, 3, 0}));
    EXPECT_FALSE(view->prompt().Started());
}

TEST_F(ProblemSetFlow, ThreeWrongAnswersGiveTwoTryAgainsThenTheLastTry) {
    WriteProblems(kLevelA, 6);
    Launch(kLevelA);
    const int first = Current();

    AnswerWrong();
    EXPECT_EQ(doc.problemPosition().triesLeft, 2);
    EXPECT_EQ(problems.check, (CCheckBitmaps{431, 433, 432}));
    AnswerWrong();
    EXPECT_EQ(doc.problemPosition().triesLeft, 1);
    EXPECT_EQ(problems.check, (CCheckBitmaps{434, 436, 435}));
    EXPECT_FALSE(window.Shows(kContinueCommand));
    AnswerWrong();

    EXPECT_EQ(Messages(), (std::vector<std::string>{kTryAgainText, kTryAgainText, kLastTry}));
    EXPECT_EQ(doc.problemPosition(), (CProblemPosition{0, 3, 0}));
    EXPECT_TRUE(window.Shows(kContinueCommand));
    EXPECT_TRUE(window.Shows(kViewSolutionCommand));
    EXPECT_FALSE(window.Shows(kCheckCommand));
    EXPECT_FALSE(window.Shows(kExitCommand));
    EXPECT_FALSE(view->IsCommandEnabled(kMenuExitCommand));
    EXPECT_FALSE(view->prompt().choicesEnabled());

    Continue();
    EXPECT_NE(Current(), first);
    EXPECT_EQ(view->prompt().counter(), "2 of 5");
    EXPECT_EQ(doc.problemPosition(), (CProblemPosition{1, 3, 0}));
    EXPECT_EQ(problems.check, (CCheckBitmaps{430, 428, 429}));
    EXPECT_TRUE(window.Shows(kCheckCommand));
    EXPECT_TRUE(window.Shows(kExitCommand));
    EXPECT_FALSE(window.Shows(kContinueCommand));
    EXPECT_FALSE(window.Shows(kViewSolutionCommand));
    EXPECT_TRUE(view->prompt().choicesEnabled());
}

TEST_F(ProblemSetFlow, CheckingWithoutAnAnswerOrAReadyWorkspaceCostsNoTry) {
    WriteProblems(kLevelA, 6);
    Launch(kLevelA);
    Check();
    EXPECT_EQ(Messages(), (std::vector<std::string>{kAnswerMissingText}));
    EXPECT_EQ(host.prompter.messages.back().icon, MessageIcon::Exclamation);

    rule.refusal = "Please make a core first.";
    AnswerWrong();
    EXPECT_EQ(host.prompter.LastText(), "Please make a core first.");
    EXPECT_EQ(doc.problemPosition().triesLeft, 3);
    EXPECT_TRUE(window.Shows(kCheckCommand));
}

TEST_F(ProblemSetFlow, ARightAnswerCountsAndShowsContinueWithoutTheSolution) {
    WriteProblems(kLevelA, 6);
    Launch(kLevelA);
    AnswerWrong();
    AnswerRight();
    EXPECT_EQ(Messages(), (std::vector<std::string>{kTryAgainText, kAnswerCorrectText}));
    EXPECT_EQ(doc.problemPosition(), (CProblemPosition{0, 2, 1}));
    EXPECT_TRUE(window.Shows(kContinueCommand));
    EXPECT_FALSE(window.Shows(kViewSolutionCommand));
    EXPECT_FALSE(window.Shows(kCheckCommand));
    EXPECT_TRUE(view->prompt().choicesEnabled());

    Continue();
    EXPECT_EQ(doc.problemPosition(), (CProblemPosition{1, 3, 1}));
}

TEST_F(ProblemSetFlow, FiveProblemsOfDifferentFilesThenTheScoreAndTheUnitIsLeft) {
    WriteProblems(kLevelA, 6);
    Launch(kLevelA);
    std::set<int> seen;
    std::vector<std::string> counters;
    for (int i = 0; i < 5; ++i) {
        seen.insert(Current());
        counters.push_back(view->prompt().counter());
        if (i == 1) {
            AnswerWrong();
            AnswerWrong();
            AnswerWrong();
        } else {
            AnswerRight();
        }
        ASSERT_TRUE(window.Shows(kContinueCommand));
        if (i < 4)
            Continue();
    }
    EXPECT_EQ(counters,
              (std::vector<std::string>{"1 of 5", "2 of 5", "3 of 5", "4 of 5", "5 of 5"}));
    EXPECT_EQ(seen.size(), 5u);
    EXPECT_TRUE(problems.scores.empty());
    EXPECT_EQ(window.closed, 0);

    // The last problem's Continue shows the score; Close leaves without a save question.
    doc.SetModifiedFlag();
    Continue();
    ASSERT_EQ(problems.scores.size(), 1u);
    EXPECT_EQ(problems.scores[0].first,
              "WHAT'S MY CORE? (Level A)\r\nYou got 4 of 5 problems correct.");
    EXPECT_TRUE(problems.scores[0].second);
    EXPECT_FALSE(AskedToSave());
    EXPECT_FALSE(view->HasPrompt());
    EXPECT_EQ(problems.prompt, nullptr);
    EXPECT_EQ(window.closed, 1);
}

TEST_F(ProblemSetFlow, MoreProblemsAfterTheScoreStartAFreshRunOfTheLevel) {
    WriteProblems(kLevelB, 8);
    Launch(kLevelB);
    for (int i = 0; i < 4; ++i) {
        AnswerRight();
        Continue();
    }
    AnswerRight();
    problems.scoreAnswers = {kScoreMoreProblems};
    Continue();
    ASSERT_EQ(problems.scores.size(), 1u);
    EXPECT_EQ(problems.scores[0].first,
              "WHAT'S MY CORE? (Level B)\r\nYou got 5 of 5 problems correct.");
    EXPECT_EQ(window.closed, 0);
    ASSERT_TRUE(view->HasPrompt());
    EXPECT_EQ(view->prompt().counter(), "1 of 5");
    EXPECT_EQ(doc.problemPosition(), (CProblemPosition{0, 3, 0}));
    EXPECT_EQ(doc.activityPath().substr(doc.activityPath().size() - 12, 6), "geopsB");
}

TEST_F(ProblemSetFlow, LeavingDuringTheFirstProblemAsksToSaveThenShowsTheScore) {
    WriteProblems(kLevelA, 6);
    Launch(kLevelA);
    Choose(1);
    host.prompter.answers = {MessageResult::No};
    view->OnCommand(kExitCommand);
    EXPECT_EQ(Messages(), (std::vector<std::string>{kAskToSave}));
    ASSERT_EQ(problems.scores.size(), 1u);
    EXPECT_EQ(problems.scores[0].first,
              "WHAT'S MY CORE? (Level A)\r\nYou did not complete any problems.");
    EXPECT_FALSE(problems.scores[0].second) << "no further problems on the way out";
    EXPECT_EQ(window.closed, 1);
}

TEST_F(ProblemSetFlow, LeavingBeforeTouchingAnAnswerShowsTheScoreWithoutAsking) {
    WriteProblems(kLevelA, 6);
    Launch(kLevelA);
    AnswerRight();
    Continue();
    // More problems chosen while leaving: the unit is left all the same.
    problems.scoreAnswers = {kScoreMoreProblems};
    view->OnCommand(kExitCommand);
    EXPECT_FALSE(AskedToSave());
    ASSERT_EQ(problems.scores.size(), 1u);
    EXPECT_EQ(problems.scores[0].first,
              "WHAT'S MY CORE? (Level A)\r\nYou got 1 of 5 problems correct.");
    EXPECT_EQ(window.closed, 1);
    EXPECT_EQ(problems.promptsCreated, 2);
}

TEST_F(ProblemSetFlow, CancelInTheSaveQuestionKeepsThePupilInTheRun) {
    WriteProblems(kLevelA, 6);
    Launch(kLevelA);
    Choose(2);
    host.prompter.answers = {MessageResult::Cancel};
    view->OnCommand(kExitCommand);
    EXPECT_TRUE(problems.scores.empty());
    EXPECT_EQ(window.closed, 0);
    EXPECT_TRUE(view->HasPrompt());
    EXPECT_EQ(view->prompt().chosenChoice(), 2);

    host.prompter.answers = {MessageResult::No};
    view->OnCommand(kExitCommand);
    EXPECT_EQ(problems.scores.size(), 1u);
    EXPECT_EQ(window.closed, 1);
}

TEST_F(ProblemSetFlow, TheBroomReopensTheProblemWithItsTriesAndCounter) {
    WriteProblems(kLevelA, 6);
    Launch(kLevelA);
    AnswerRight();
    Continue();
    const int problem = Current();
    AnswerWrong();
    doc.SetModifiedFlag();
    host.prompter.answers = {MessageResult::Yes};
    view->OnCommand(kBroomCommand);
    EXPECT_EQ(host.prompter.messages.back().text, kAskClearWorkspace);
    EXPECT_EQ(Current(), problem);
    EXPECT_EQ(problems.promptsCreated, 3);
    EXPECT_FALSE(view->prompt().Started());
    EXPECT_EQ(view->prompt().counter(), "2 of 5");
    EXPECT_EQ(doc.problemPosition(), (CProblemPosition{1, 2, 1}));
    EXPECT_EQ(problems.check, (CCheckBitmaps{431, 433, 432}));
}

TEST_F(ProblemSetFlow, ThePromptWindowGoesBeforeItsModel) {
    WriteProblems(kLevelA, 6);
    Launch(kLevelA);
    ASSERT_NE(problems.prompt, nullptr);
    view.reset();
    EXPECT_EQ(problems.prompt, nullptr);
    EXPECT_EQ(doc.GetWorkspaceView(), nullptr);
}

TEST_F(ProblemSetFlow, ViewSolutionShowsTheRightCoreInThePrompt) {
    WriteProblems(kLevelA, 6);
    Launch(kLevelA);
    AnswerWrong();
    AnswerWrong();
    AnswerWrong();
    view->OnCommand(kViewSolutionCommand);
    EXPECT_EQ(rule.solutionsShown, 1);
    EXPECT_EQ(view->prompt().chosenChoice(), RightCore(Current()));
    EXPECT_FALSE(view->prompt().choicesEnabled());
}

TEST_F(ProblemSetFlow, NewRestartsTheSetFromItsFirstProblem) {
    WriteProblems(kLevelA, 6);
    Launch(kLevelA);
    AnswerRight();
    Continue();
    AnswerRight();
    host.prompter.answers = {MessageResult::No};
    ASSERT_TRUE(doc.FileNew());
    EXPECT_TRUE(AskedToSave());
    ASSERT_TRUE(view->HasPrompt());
    EXPECT_EQ(view->prompt().counter(), "1 of 5");
    EXPECT_EQ(doc.problemPosition(), (CProblemPosition{0, 3, 0}));
    EXPECT_TRUE(window.Shows(kCheckCommand));
    EXPECT_FALSE(window.Shows(kContinueCommand));
}

TEST_F(ProblemSetFlow, OpenDuringTheRunGoesOnWithTheRunsCounter) {
    WriteProblems(kLevelA, 6);
    Launch(kLevelA);
    AnswerRight();
    Continue();
    const int other = Current() == 6 ? 5 : 6;
    host.chooser.answers = {Path(kLevelA, other)};
    ASSERT_TRUE(doc.FileOpen());
    EXPECT_EQ(doc.activityName(), "Probset");
    EXPECT_EQ(doc.problemFileName, ProblemFileName(kGeometryProblemFiles, kLevelA, other));
    EXPECT_EQ(view->prompt().questions()[0], CoreQuestion(RightCore(other)));
    EXPECT_EQ(view->prompt().counter(), "2 of 5");
    EXPECT_EQ(doc.problemPosition(), (CProblemPosition{1, 3, 1}));
}

TEST_F(ProblemSetFlow, OpeningASavedRunResumesIt) {
    WriteProblems(kLevelA, 6);
    Launch(kLevelA);
    // A pupil's run saved at its third problem with one right so far.
    CTestUnitDocument saved;
    saved.questions()[0] = CoreQuestion(3);
    saved.SetQuestionCount(1);
    saved.SetProblemPosition({2, 2, 1});
    const std::string path = (dir / "my run.qvg").string();
    ASSERT_TRUE(saved.OnSaveDocument(path));
    host.chooser.answers = {path};
    ASSERT_TRUE(doc.FileOpen());
    EXPECT_EQ(view->prompt().counter(), "3 of 5");
    EXPECT_EQ(doc.problemPosition(), (CProblemPosition{2, 2, 1}));
    EXPECT_EQ(problems.check, (CCheckBitmaps{431, 433, 432}));
}

TEST_F(ProblemSetFlow, TheRunKeepsItsLevelWhateverTheFilesSay) {
    WriteProblems(kLevelC, 6, kLevelA);
    Launch(kLevelC);
    doc.SetLevel(kLevelC); // the launcher's level after the first file
    AnswerRight();
    Continue();
    EXPECT_EQ(doc.level(), kLevelC);
    EXPECT_NE(doc.activityPath().find("geopsC"), std::string::npos);
}

TEST_F(ProblemSetFlow, AMissingNextProblemEndsTheRunWithItsScore) {
    WriteProblems(kLevelA, 6);
    Launch(kLevelA);
    const int open = Current();
    for (int n = 1; n <= 6; ++n)
        if (n != open)
            fs::remove(Path(kLevelA, n));
    AnswerRight();
    Continue();
    EXPECT_EQ(host.prompter.LastText(), kFailedToOpen);
    ASSERT_EQ(problems.scores.size(), 1u);
    EXPECT_EQ(problems.scores[0].first,
              "WHAT'S MY CORE? (Level A)\r\nYou got 1 of 5 problems correct.");
    EXPECT_FALSE(problems.scores[0].second);
    EXPECT_FALSE(view->HasPrompt());
    EXPECT_EQ(window.closed, 1);
    EXPECT_FALSE(AskedToSave());
}

TEST_F(ProblemSetFlow, ARunOfOneProblemOffersNoMore) {
    WriteProblems(kLevelA, 2);
    Launch(kLevelA);
    doc.SetProblemSequence(CProblemPosition{0, 3, 0}, 1);
    AnswerRight();
    Continue();
    ASSERT_EQ(problems.scores.size(), 1u);
    EXPECT_FALSE(problems.scores[0].second);
    EXPECT_EQ(problems.scores[0].first,
              "WHAT'S MY CORE? (Level A)\r\nYou got 1 of 1 problems correct.");
}

// "Did You Mean That?": CHECK against the problem record after the ignore tool was used, the
// tries, and View Solution with its flashing outline.
#include "problemsets/problem_files.h"
#include "statistics/stats_problems.h"
#include "statistics/stats_table_controller.h"

#include "fakes.h"

#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

struct Value {
    const char* text;
    bool used;
};

class StatsProblems : public ::testing::Test {
protected:
    StatsProblems() {
        doc.SetHost(&host);
        rule->Attach(&board, &timers);
        doc.InsertNamedColumn(2, "Value", StatsColumnFormat::TwoDecimals);
        board.SetClient({0, 0, 935, 560});
    }
    // The cases with their values, case n at x 100 n, and the problem with its one record.
    void Problem(const std::vector<Value>& values, int flags, int kind, double expected) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const int row = static_cast<int>(i) + 1;
            data.EnterCell(row, 1, "P" + std::to_string(row), true);
            data.EnterCell(row, 2, values[i].text, true);
            data.Case(row).state = values[i].used ? CaseState::Used : CaseState::Ignored;
            data.Case(row).numberTilePosition = {100.0 * row, 300};
        }
        data.SetCurrentColumn(2);
        table.OnCommand(kCmdDataBoard);
        board.SetUpScale();
        CQuestionSet set;
        set[0].prompt = "The statement";
        set[0].partsMask = flags;
        SetStatsExpected(set[0], kind, expected);
        doc.SetProblemSetMode(true);
        doc.LoadQuestions(set, 1, 3);
        host.prompter.messages.clear();
    }
    void Ignore(int row) {
        const CRect r = board.TileRect(row);
        board.Press({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, StatsTool::Ignore);
        board.Release({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }

    FakeDocumentHost host;
    CStatsUnitDocument doc;
    CStatsDataSet& data = doc.dataSet();
    CStatsTableController table{doc, &host.prompter};
    CStatsBoardController& board = table.board();
    FakeTimerHost timers;
    QuietWindow window;
    std::unique_ptr<CStatsProblemRule> rule = std::make_unique<CStatsProblemRule>();
    CQuietProblemSetWindow quiet; // before the controller, which uses it until it goes
    CProblemSetViewController c{doc, window, quiet, *rule};
};

TEST_F(StatsProblems, CheckComparesTheFlaggedStatistics) {
    const std::string right = "Your answer is correct.";
    const std::string wrong = "Your solution is not correct. Think about the problem again.";
    struct Case {
        std::vector<Value> values; // the last is un-ignored before CHECK
        int kind;
        double expected;
        std::string message;
    };
    const Case cases[] = {
        // The mean as "%.1f" writes it: 4.46 is "4.5", 4.44 is "4.4".
        {{{"4.00", true}, {"4.92", false}}, 0, 4.5, right},
        {{{"4.00", true}, {"4.88", false}}, 0, 4.5, wrong},
        {{{"1", true}, {"2", true}, {"3", false}}, 1, 2, right},
        // -1 expects no mode.
        {{{"1", true}, {"2", true}, {"3", false}}, 2, -1, right},
        {{{"1", true}, {"2", true}, {"2", false}}, 2, -1, wrong},
        {{{"1", true}, {"2", true}, {"2", false}}, 2, 2, right},
        {{{"5", true}, {"2", false}}, 3, 2, right},
        {{{"5", true}, {"2", false}}, 4, 5, right},
        {{{"5", true}, {"9", true}, {"2", false}}, 5, 7, right},
        // Seven cases used, whatever their values.
        {{{"1", true},
          {"8", true},
          {"3", true},
          {"3", true},
          {"9", true},
          {"0", true},
          {"7", false}},
         6,
         7,
         right},
        {{{"1", true}, {"8", true}, {"3", true}, {"3", true}, {"9", true}, {"7", false}},
         6,
         7,
         wrong},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.kind) + " " + std::to_string(k.expected));
        data.SetAllCaseStates(CaseState::Used);
        for (int row = data.dataCaseEnd() - 1; row >= 1; --row)
            data.RemoveCase(row);
        Problem(k.values, 1 << k.kind, k.kind, k.expected);
        Ignore(static_cast<int>(k.values.size()));
        c.OnCheck();
        ASSERT_EQ(host.prompter.LastText(), k.message);
    }
}

TEST_F(StatsProblems, CheckBeforeTheIgnoreToolCostsNoTry) {
    Problem({{"3", true}, {"5", false}}, kAnswerMean, 0, 4);
    c.OnCheck();
    EXPECT_EQ(host.prompter.LastText(), "Please un-ignore a tile before checking your answer.");
    EXPECT_EQ(doc.problemPosition().triesLeft, 3);
    Ignore(2);
    Ignore(2); // changed back: the mark stays, the answer is wrong
    c.OnCheck();
    EXPECT_EQ(doc.problemPosition().triesLeft, 2);
    // A problem loaded afresh clears the mark.
    doc.LoadQuestions(doc.questions(), 1, 3);
    c.OnCheck();
    EXPECT_EQ(host.prompter.LastText(), "Please un-ignore a tile before checking your answer.");
    Ignore(1); // no case used now
    while (doc.problemPosition().triesLeft > 1)
        c.OnCheck();
    c.OnCheck();
    EXPECT_EQ(doc.problemPosition().triesLeft, 3);
    EXPECT_EQ(host.prompter.LastText(),
              "Your solution is not correct. Click View Solution to un-ignore the correct tile.");
}

TEST_F(StatsProblems, ViewSolutionUsesTheTileAndFlashesItsOutline) {
    Problem({{"3", true}, {"5", false}, {"7", false}}, kAnswerMean, 0, 4);
    doc.viewState().problemSetTile = data.Case(2).caseNumber;
    c.OnViewSolution();
    EXPECT_EQ(data.Case(2).state, CaseState::Used);
    EXPECT_EQ(data.Case(3).state, CaseState::Ignored);
    const CRect t = board.TileRect(2);
    const std::string outline =
        "rect " + RecordingSurface::Rc({t.left - 1, t.top - 1, t.right + 1, t.bottom + 1});
    // The pen and the rectangle drawn last, or "" without an outline.
    auto drawn = [this] {
        RecordingSurface dc;
        board.Draw(dc);
        const auto& calls = dc.calls;
        return calls.size() > 2 && calls.end()[-3].rfind("pen 3 ", 0) == 0
                   ? calls.end()[-3] + "|" + calls.back()
                   : std::string();
    };
    for (Color colour : {PaletteRGB(255, 0, 0), PaletteRGB(0, 8, 255), PaletteRGB(8, 156, 0)}) {
        ASSERT_EQ(timers.running.at(CStatsProblemRule::kFlashTimer).interval, 350);
        EXPECT_EQ(drawn(), "pen 3 " + RecordingSurface::Hex(colour) + "|" + outline);
        timers.Fire(CStatsProblemRule::kFlashTimer);
    }
    EXPECT_FALSE(timers.IsRunning(CStatsProblemRule::kFlashTimer));
    EXPECT_EQ(drawn(), "");
}

TEST_F(StatsProblems, PromptEditorReplacesTheRecordOrRefuses) {
    struct Case {
        int level;
        std::string question, mean;
        bool closes;
    };
    const Case cases[] = {
        {kLevelB, "The mean is 4.5.", "4.5x", false},
        {kLevelB, " ", "4.5", false},
        {-1, "The mean is 4.5.", "4.5", false},
        {kLevelB, "The mean is 4.5.", "4.5", true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.question + k.mean);
        doc.LoadQuestions(CQuestionSet{}, 0, 3);
        CStatsPromptEditor editor(doc);
        editor.level = k.level;
        editor.question = k.question;
        editor.answers[0] = {true, k.mean};
        host.prompter.messages.clear();
        ASSERT_EQ(editor.OnOK(host.prompter), k.closes);
        EXPECT_EQ(host.prompter.LastText(), k.closes ? "" : "Incomplete question encountered!");
    }
    // The editor opens on the record it wrote.
    const CStatsPromptEditor again(doc);
    EXPECT_EQ(again.level, kLevelB);
    EXPECT_EQ(again.question, "The mean is 4.5.");
    EXPECT_TRUE(again.answers[0].checked);
    EXPECT_EQ(again.answers[0].value, "4.5");
    EXPECT_FALSE(again.answers[1].checked);
}

} // namespace

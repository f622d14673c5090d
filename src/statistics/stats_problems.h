// The Statistics unit's problem sets ("Did You Mean That?"). A problem shows a data board with
// some tiles Ignored and a statement about the data; the pupil un-ignores tiles with the ignore
// tool until the statement holds, then presses CHECK. The problem record says which summary
// statistics are compared and their expected values.
#pragma once

#include "problemsets/problem_set_controller.h"
#include "workspace/timer_host.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace quorvel {

class CStatsBoardController;
class CStatsUnitDocument;
class CSummaryStatistics;
class CStatsPromptEditor;

inline constexpr const char* kStatsProblemsHeading = "DID YOU MEAN THAT? ";

// Messages of the check.
inline constexpr int kMsgUnignoreFirst = 1569;
inline constexpr int kMsgGeneralError = 1570;
inline constexpr int kMsgStatsLastTry = 1573;
inline constexpr const char* kSolutionTileChosenText = "The Problem Set Tile has been selected";

// The answer flags of a statistics problem record.
enum StatsAnswerFlag : int {
    kAnswerMean = 1 << 0,
    kAnswerMedian = 1 << 1,
    kAnswerMode = 1 << 2,
    kAnswerMin = 1 << 3,
    kAnswerMax = 1 << 4,
    kAnswerRange = 1 << 5,
    kAnswerCases = 1 << 6,
};
inline constexpr int kStatsAnswerKinds = 7;

// The statistics use of a problem record: the answer flags are its parts mask, its expected
// values its further answer values in the order max, mean, median, min, mode, cases, range.
// `kind` is the flag's bit (0 Mean .. 6 Num Cases).
double StatsExpected(const CQuestion& record, int kind);
void SetStatsExpected(CQuestion& record, int kind, double value);

// Every flagged comparison holds within 0.001: the mean as "%.1f" writes it, a mode of -1 for
// no mode, the range as maximum - minimum, the cases used.
bool StatsAnswerMatches(const CQuestion& record, const CSummaryStatistics& summary);

// The tile of the solution's case in the current column, or -1.
int SolutionTileRow(const CStatsUnitDocument& doc);

// The Statistics rule: CHECK compares the current column's summary statistics with the
// problem's record once a tile has been changed with the ignore tool; View Solution makes the
// solution tile Used and flashes its outline red, green and blue, 350 ms each.
class CStatsProblemRule : public IProblemRule, private ITimerClient {
public:
    static constexpr std::uint32_t kFlashTimer = 6601;
    static constexpr int kFlashMs = 350;

    ~CStatsProblemRule() override;
    // Runs the teacher's prompt editor over its model; true when OK closed it.
    using EditorRunner = std::function<bool(CStatsPromptEditor&)>;

    // The page's board, timers and prompt editor; without a board CHECK refuses.
    void Attach(CStatsBoardController* board, ITimerHost* timers, EditorRunner editor = {});

    std::optional<std::string> CheckWorkspace(CProblemSetViewController& view) override;
    int ReadAnswers(const CProblemPrompt&, CPromptAnswers&, std::string&) override {
        return kAnswersComplete;
    }
    bool IsRight(const CQuestionSet& questions, int count, const CPromptAnswers& answers) override;
    std::string LastTryText() const override;
    bool DisablesChoicesOnLastTry() const override { return false; }
    void ViewSolution(CProblemSetViewController& view) override;
    void ProblemBegun(CProblemSetViewController& view) override;
    std::string ScoreHeading() const override { return kStatsProblemsHeading; }
    bool EditPrompts(CProblemSetViewController& view) override;

    // The flash step shown: 0 red, 1 green, 2 blue; -1 none.
    int flashStep() const { return m_flashStep; }

private:
    void OnTimer(std::uint32_t id) override;
    void StopFlash();

    CStatsBoardController* m_board = nullptr;
    ITimerHost* m_timers = nullptr;
    EditorRunner m_editor;
    const CStatsUnitDocument* m_doc = nullptr;
    int m_flashStep = -1;
    int m_flashRow = -1;
};

std::unique_ptr<IProblemRule> MakeStatsProblemRule();

// --- the teacher's prompt editor ("Statistics Problem Set Prompt Editor") ---------------------

inline constexpr const char* kStatsPromptEditorTitle = "Statistics Problem Set Prompt Editor";
inline constexpr int kStatsPromptEditorDialog = 434;
// The Statistics menu's command that opens the editor (authoring mode only).
inline constexpr int kCmdStatsPrompts = 32831;
// The answers' check boxes, in the order of the answer flags.
inline constexpr const char* kStatsAnswerNames[kStatsAnswerKinds] = {
    "Mean", "Median", "Mode", "Min", "Max", "Range", "Num Cases"};

// The editor's model: the level, the question and each answer's check box with its expected
// value, starting from the document's first record.
class CStatsPromptEditor {
public:
    struct Answer {
        bool checked = false;
        std::string value;
    };

    explicit CStatsPromptEditor(CUnitDocument& doc);

    int level = -1; // 0 A, 1 B, 2 C
    std::string question;
    std::array<Answer, kStatsAnswerKinds> answers;

    // OK: refuses ("Incomplete question encountered!") no level, an empty question, no answer
    // checked or a checked answer that is no number; otherwise the record replaces the
    // document's and the problem counters start again. True when the editor closes.
    bool OnOK(IPrompter& prompter);

private:
    CUnitDocument& m_doc;
};

} // namespace quorvel

// The problem-set flow of a unit's workspace page: starting a problem with its prompt window,
// Check with its tries, Continue to the next problem or the score, View Solution, leaving
// during a run, New restarting the set and the authoring hook. A unit plugs in its rule for a
// right answer (IProblemRule); the page shows the prompt window and the score dialog through
// IProblemSetWindow.
#pragma once

#include "problemsets/problem_prompt.h"
#include "workspace/prompter.h"
#include "workspace/unit_document.h"
#include "workspace/unit_view_controller.h"

#include <optional>
#include <string>

namespace quorvel {

inline constexpr const char* kAnswerMissingText = "Please choose an answer for each part.";
inline constexpr const char* kAnswerCorrectText = "Your answer is correct.";
inline constexpr const char* kTryAgainText =
    "Your solution is not correct. Think about the problem again.";
inline constexpr const char* kLastTryViewSolutionText =
    "Your solution is not correct. Click View Solution to see the correct answer.";
inline constexpr const char* kScoreText = "You got %d of %d problems correct.";
inline constexpr const char* kNoProblemsCompletedText = "You did not complete any problems.";

inline constexpr int kTriesPerProblem = 3;
inline constexpr int kProblemsPerRun = 5;

// The score dialog's buttons.
inline constexpr int kScoreClose = 1;
inline constexpr int kScoreMoreProblems = 2;

// The unit's heading and level, a line break, then how many of the run were right, or that
// none was completed when the run is still at its first problem.
std::string ScoreText(const std::string& heading, int level, const CProblemPosition& position,
                      int problemCount);

// The problem counter: "%d of %d" with the index + 1 and the run's length.
std::string CounterText(int index, int count);

// The Check button's bitmaps for the tries left: up, down, focused.
struct CCheckBitmaps {
    int up = 0;
    int down = 0;
    int focus = 0;
    friend bool operator==(const CCheckBitmaps&, const CCheckBitmaps&) = default;
};
CCheckBitmaps CheckBitmapsForTries(int tries);

// What the flow asks of the page besides its buttons.
class IProblemSetWindow {
public:
    virtual ~IProblemSetWindow() = default;
    virtual void SetCheckBitmaps(const CCheckBitmaps& bitmaps) = 0;
    // Shows a prompt window for `prompt` at `rect` (page coordinates) on top of the workspace,
    // replacing any other; the model outlives the window.
    virtual void CreatePromptWindow(CProblemPrompt& prompt, const CRect& rect) = 0;
    virtual void DestroyPromptWindow() = 0;
    // The score dialog: kScoreClose, or kScoreMoreProblems when `more` offered that button.
    virtual int ShowScore(const std::string& text, bool more) = 0;
};

// The problem-set window of a page that shows none (qvtool, tests without a screen).
class CQuietProblemSetWindow final : public IProblemSetWindow {
public:
    void SetCheckBitmaps(const CCheckBitmaps&) override {}
    void CreatePromptWindow(CProblemPrompt&, const CRect&) override {}
    void DestroyPromptWindow() override {}
    int ShowScore(const std::string&, bool) override { return kScoreClose; }
};

class CProblemSetViewController;

// A unit's part of the flow: whether an answer is right, its messages, how it opens the way to
// the solution and shows it, its score heading, and its prompt editor in authoring mode.
class IProblemRule {
public:
    virtual ~IProblemRule() = default;
    // A refusal when the workspace is not ready to be checked (shown; no try is used). An
    // empty text ends the check without a word.
    virtual std::optional<std::string> CheckWorkspace(CProblemSetViewController&) {
        return std::nullopt;
    }
    // Shown when Check is pressed without a prompt window or a question; by default Check
    // then does nothing.
    virtual std::optional<std::string> CheckWithoutQuestion() const { return std::nullopt; }
    // Shown when some question has no answer (no try is used).
    virtual std::string MissingAnswerText() const { return kAnswerMissingText; }
    // Reads the pupil's answers: kAnswersComplete, kAnswerMissing, or kAnswerUnreadable with
    // the reason in `unreadable` (shown; no try is used).
    virtual int ReadAnswers(const CProblemPrompt& prompt, CPromptAnswers& answers,
                            std::string& /*unreadable*/) {
        return prompt.ReadAnswers(answers);
    }
    virtual bool IsRight(const CQuestionSet& questions, int count,
                         const CPromptAnswers& answers) = 0;
    virtual std::string CorrectText() const { return kAnswerCorrectText; }
    virtual std::string TryAgainText() const { return kTryAgainText; }
    virtual std::string LastTryText() const { return kLastTryViewSolutionText; }
    // After the last try: shows View Solution unless the unit has its own way.
    virtual void OpenWayToSolution(CProblemSetViewController& view);
    // Whether the radio buttons are disabled after the last try.
    virtual bool DisablesChoicesOnLastTry() const { return true; }
    // Shows each question's first answer value in its control.
    virtual void ViewSolution(CProblemSetViewController& view);
    // A problem's document has been loaded and its prompt is about to show.
    virtual void ProblemBegun(CProblemSetViewController&) {}
    // "WHAT'S MY CORE? ", "MYSTERY MACHINES " ...
    virtual std::string ScoreHeading() const = 0;
    // Authoring mode: the unit's prompt editor; false when it has none.
    virtual bool EditPrompts(CProblemSetViewController&) { return false; }
};

// The rule of a question whose answer is its first answer value: the operator's index, the
// choice's index or the number.
class CAnswerValueRule : public IProblemRule {
public:
    explicit CAnswerValueRule(std::string heading) : m_heading(std::move(heading)) {}
    bool IsRight(const CQuestionSet& questions, int count, const CPromptAnswers& answers) override;
    std::string ScoreHeading() const override { return m_heading; }

private:
    std::string m_heading;
};

namespace detail {
// The page's window as the base controller sees it, with the prompt hooks answered by the
// problem-set controller (the prompt model lives in the core).
class CPromptAwareWindow final : public IUnitViewWindow {
public:
    explicit CPromptAwareWindow(IUnitViewWindow& real) : m_real(real) {}
    void SetOwner(CProblemSetViewController* owner) { m_owner = owner; }

    void EnableView(bool enabled) override { m_real.EnableView(enabled); }
    void ShowButton(int id, bool shown) override { m_real.ShowButton(id, shown); }
    CRect ButtonRect(int id) const override { return m_real.ButtonRect(id); }
    int ControlIdAt(CPoint p) const override { return m_real.ControlIdAt(p); }
    void PressToolButton(int command) override { m_real.PressToolButton(command); }
    void ToolChanged(int code) override { m_real.ToolChanged(code); }
    void CloseUnit() override { m_real.CloseUnit(); }
    void CommandStateChanged() override { m_real.CommandStateChanged(); }
    void InvalidateRect(const CRect& r) override { m_real.InvalidateRect(r); }
    void InvalidateAll() override { m_real.InvalidateAll(); }
    void Print() override { m_real.Print(); }
    bool HasPrompt() const override;
    bool PromptStarted() const override;
    void DestroyPrompt() override;
    void SetPromptCounter(const std::string& text) override;
    bool RunOptionsSheet(COptionsSheet& sheet) override { return m_real.RunOptionsSheet(sheet); }

private:
    IUnitViewWindow& m_real;
    CProblemSetViewController* m_owner = nullptr;
};

// Made before the base controller, which keeps a reference to the window.
struct CPromptWindowHolder {
    explicit CPromptWindowHolder(IUnitViewWindow& real) : m_promptAwareWindow(real) {}
    CPromptAwareWindow m_promptAwareWindow;
};
} // namespace detail

class CProblemSetViewController : private detail::CPromptWindowHolder, public CUnitViewController {
public:
    CProblemSetViewController(CUnitDocument& doc, IUnitViewWindow& window,
                              IProblemSetWindow& problems, IProblemRule& rule);
    ~CProblemSetViewController() override;

    // The page's problem-set operations.
    void OnCheck() override;
    void OnContinue() override;
    void OnViewSolution() override;
    int AskEndProblemSet(bool more) override;
    void AfterProblemSet() override;
    bool LeaveUnit() override;

    // What the document tells its view.
    void BeginProblem(const CQuestionSet& questions, int count, int checkState) override;
    void GoToNextProblem() override;
    void SetProblemCounterText(const std::string& text) override;

    // The prompt window.
    bool HasPrompt() const { return m_promptOpen; }
    CProblemPrompt& prompt() { return m_prompt; }
    const CProblemPrompt& prompt() const { return m_prompt; }
    void DestroyPrompt();

    // For rules: View Solution's button, and the page's message boxes.
    void ShowViewSolution();
    void Message(const std::string& text, MessageIcon icon);
    IProblemRule& rule() const { return m_rule; }

    // Authoring mode ("/AM"): the unit's prompt editor runs only then.
    void SetAuthoring(bool on) { m_authoring = on; }
    bool authoring() const { return m_authoring; }
    bool EditPrompts();

private:
    // Draws and opens the next problem of the run's level; the document takes `position` and
    // the run's length. False when the file could not be opened.
    bool OpenNextProblem(const CProblemPosition& position);
    // The next problem could not be opened: the score so far, then the unit is left.
    void EndRunEarly(bool showScore);
    // The document's position, kept by the run as well: a problem file opened during the run
    // brings a position of its own.
    void SetPosition(const CProblemPosition& position);
    void RememberRun();

    IProblemSetWindow& m_problems;
    IProblemRule& m_rule;
    CProblemPrompt m_prompt;
    bool m_promptOpen = false;
    bool m_runKnown = false;
    CProblemPosition m_run;
    int m_runLevel = 0;
    bool m_leaving = false;
    bool m_authoring = false;
};

} // namespace quorvel

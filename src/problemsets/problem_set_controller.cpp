// The problem-set flow: begin, check, continue, view solution, score and leaving.
#include "problemsets/problem_set_controller.h"

#include "problemsets/problem_files.h"
#include "workspace/document_host.h"
#include "workspace/prompter.h"

#include <cmath>
#include <cstdio>

namespace quorvel {

std::string ScoreText(const std::string& heading, int level, const CProblemPosition& position,
                      int problemCount) {
    std::string text = heading + LevelText(level) + "\r\n";
    if (position.index == 0)
        return text + kNoProblemsCompletedText;
    char line[96];
    std::snprintf(line, sizeof line, kScoreText, position.correct, problemCount);
    return text + line;
}

std::string CounterText(int index, int count) {
    char text[64];
    std::snprintf(text, sizeof text, "%d of %d", index + 1, count);
    return text;
}

CCheckBitmaps CheckBitmapsForTries(int tries) {
    if (tries == 3)
        return {430, 428, 429};
    if (tries == 2)
        return {431, 433, 432};
    return {434, 436, 435};
}

void IProblemRule::OpenWayToSolution(CProblemSetViewController& view) {
    view.ShowViewSolution();
}

void IProblemRule::ViewSolution(CProblemSetViewController& view) {
    CProblemPrompt& prompt = view.prompt();
    for (int q = 0; q < prompt.questionCount(); ++q)
        if (!prompt.ControlsOf(q).empty())
            prompt.ShowAnswer(q, prompt.questions()[static_cast<std::size_t>(q)].answer);
    prompt.EnableChoices(false);
}

bool CAnswerValueRule::IsRight(const CQuestionSet& questions, int count,
                               const CPromptAnswers& answers) {
    for (int q = 0; q < count && q < kQuestionRecords; ++q) {
        const auto i = static_cast<std::size_t>(q);
        if (answers[i].given && std::fabs(answers[i].value - questions[i].answer) > 0.001)
            return false;
    }
    return true;
}

namespace detail {
bool CPromptAwareWindow::HasPrompt() const {
    return m_owner && m_owner->HasPrompt();
}
bool CPromptAwareWindow::PromptStarted() const {
    return m_owner && m_owner->HasPrompt() && m_owner->prompt().Started();
}
void CPromptAwareWindow::DestroyPrompt() {
    if (m_owner)
        m_owner->DestroyPrompt();
}
void CPromptAwareWindow::SetPromptCounter(const std::string& text) {
    if (m_owner)
        m_owner->prompt().SetCounter(text);
}
} // namespace detail

CProblemSetViewController::CProblemSetViewController(CUnitDocument& doc, IUnitViewWindow& window,
                                                     IProblemSetWindow& problems,
                                                     IProblemRule& rule)
    : CPromptWindowHolder(window), CUnitViewController(doc, m_promptAwareWindow),
      m_problems(problems), m_rule(rule) {
    m_promptAwareWindow.SetOwner(this);
    // The program's authoring mode ("/AM") lets the teacher's prompt editors run.
    m_authoring = doc.host() && doc.host()->AuthoringMode();
}

CProblemSetViewController::~CProblemSetViewController() {
    // The prompt window refers to the prompt model, which goes with this controller.
    DestroyPrompt();
    m_promptAwareWindow.SetOwner(nullptr);
}

void CProblemSetViewController::Message(const std::string& text, MessageIcon icon) {
    if (IPrompter* ask = prompter())
        ask->MessageBox(text, icon);
}

void CProblemSetViewController::BeginProblem(const CQuestionSet& questions, int count,
                                             int checkState) {
    ShowProblemControls(false);
    // A problem opened while the last one's Continue showed starts afresh.
    if (continueShown())
        HideContinue();
    window().ShowButton(kCheckCommand, true);
    m_problems.SetCheckBitmaps(CheckBitmapsForTries(checkState));
    DestroyPrompt();
    m_prompt.SetQuestions(questions, count);
    m_promptOpen = true;
    CUnitDocument& doc = GetDocument();
    if (doc.problemSetMode()) {
        // A problem picked with Open during the run: a fresh problem file goes on with the
        // run's position, a pupil's saved run resumes its own.
        if (m_runKnown && doc.problemPosition().index < 0) {
            CProblemPosition position = m_run;
            position.triesLeft = kTriesPerProblem;
            doc.SetProblemPosition(position);
            doc.SetLevel(m_runLevel);
        }
        RememberRun();
        m_prompt.SetCounter(CounterText(doc.problemPosition().index, problemCount()));
    }
    m_rule.ProblemBegun(*this);
    m_problems.CreatePromptWindow(m_prompt, GetPromptRect());
}

void CProblemSetViewController::DestroyPrompt() {
    if (!m_promptOpen)
        return;
    m_promptOpen = false;
    m_problems.DestroyPromptWindow();
}

void CProblemSetViewController::ShowViewSolution() {
    window().ShowButton(kViewSolutionCommand, true);
}

void CProblemSetViewController::OnCheck() {
    // Nothing to check: a problem without questions is never counted right.
    if (!m_promptOpen || m_prompt.questionCount() <= 0) {
        if (const auto text = m_rule.CheckWithoutQuestion())
            Message(*text, MessageIcon::Exclamation);
        return;
    }
    if (const auto refusal = m_rule.CheckWorkspace(*this)) {
        if (!refusal->empty())
            Message(*refusal, MessageIcon::Exclamation);
        return;
    }
    CPromptAnswers answers;
    std::string unreadable;
    const int read = m_rule.ReadAnswers(m_prompt, answers, unreadable);
    if (read == kAnswerMissing) {
        Message(m_rule.MissingAnswerText(), MessageIcon::Exclamation);
        return;
    }
    if (read == kAnswerUnreadable) {
        Message(unreadable, MessageIcon::Exclamation);
        return;
    }
    CUnitDocument& doc = GetDocument();
    CProblemPosition position = doc.problemPosition();
    if (m_rule.IsRight(m_prompt.questions(), m_prompt.questionCount(), answers)) {
        Message(m_rule.CorrectText(), MessageIcon::Information);
        ++position.correct;
        SetPosition(position);
        ShowContinue();
        return;
    }
    if (position.triesLeft > 1) {
        Message(m_rule.TryAgainText(), MessageIcon::Exclamation);
        --position.triesLeft;
        SetPosition(position);
        m_problems.SetCheckBitmaps(CheckBitmapsForTries(position.triesLeft));
        return;
    }
    position.triesLeft = kTriesPerProblem;
    SetPosition(position);
    m_rule.OpenWayToSolution(*this);
    Message(m_rule.LastTryText(), MessageIcon::Exclamation);
    if (m_rule.DisablesChoicesOnLastTry())
        m_prompt.EnableChoices(false);
    ShowContinue();
}

void CProblemSetViewController::OnViewSolution() {
    if (m_promptOpen)
        m_rule.ViewSolution(*this);
}

void CProblemSetViewController::OnContinue() {
    HideContinue();
    CUnitDocument& doc = GetDocument();
    CProblemPosition position = doc.problemPosition();
    position.triesLeft = kTriesPerProblem;
    // New restarts the set from before its first problem; the old run's score goes with it.
    if (position.index < 0)
        position.correct = 0;
    ++position.index;
    SetPosition(position);
    if (position.index >= problemCount()) {
        if (AskEndProblemSet(problemCount() != 1) == kScoreMoreProblems) {
            AfterProblemSet();
            return;
        }
        DestroyPrompt();
        LeaveUnit();
        return;
    }
    if (!OpenNextProblem(position))
        EndRunEarly(true);
}

int CProblemSetViewController::AskEndProblemSet(bool more) {
    CUnitDocument& doc = GetDocument();
    const std::string text =
        ScoreText(m_rule.ScoreHeading(), doc.level(), doc.problemPosition(), problemCount());
    doc.SetModifiedFlag(false);
    return m_problems.ShowScore(text, more) == kScoreMoreProblems ? kScoreMoreProblems
                                                                  : kScoreClose;
}

void CProblemSetViewController::AfterProblemSet() {
    // Leaving closes the unit whatever the pupil chose in the score dialog.
    if (m_leaving)
        return;
    // A fresh run of the same level: the counter starts again at 1, and so does the score.
    if (!OpenNextProblem(CProblemPosition{0, kTriesPerProblem, 0}))
        EndRunEarly(false);
}

bool CProblemSetViewController::LeaveUnit() {
    m_leaving = true;
    // On success the page and this controller may be gone: nothing is touched afterwards.
    if (CUnitViewController::LeaveUnit())
        return true;
    m_leaving = false;
    return false;
}

void CProblemSetViewController::GoToNextProblem() {
    OnContinue();
}

void CProblemSetViewController::SetProblemCounterText(const std::string& text) {
    CUnitViewController::SetProblemCounterText(text);
    RememberRun();
    // A problem reopened by the broom keeps its tries, which its file does not know.
    if (m_promptOpen && !continueShown())
        m_problems.SetCheckBitmaps(CheckBitmapsForTries(m_run.triesLeft));
}

void CProblemSetViewController::SetPosition(const CProblemPosition& position) {
    GetDocument().SetProblemPosition(position);
    RememberRun();
}

void CProblemSetViewController::RememberRun() {
    const CUnitDocument& doc = GetDocument();
    m_run = doc.problemPosition();
    m_runLevel = doc.level();
    m_runKnown = true;
}

bool CProblemSetViewController::OpenNextProblem(const CProblemPosition& position) {
    CUnitDocument& doc = GetDocument();
    const int level = doc.level();
    std::string path = doc.host() ? doc.host()->Directories().classDir : std::string();
    doc.AppendProblemFileName(path, level);
    const bool opened = doc.OpenActivityFile(path);
    // A problem file carries the level it was written at; the run keeps its own.
    doc.SetLevel(level);
    if (!opened)
        return false;
    doc.SetProblemSequence(position, kProblemsPerRun);
    return true;
}

void CProblemSetViewController::EndRunEarly(bool showScore) {
    // Without the next problem the old one would stay open to be answered and scored again.
    if (showScore)
        AskEndProblemSet(false);
    GetDocument().SetModifiedFlag(false);
    DestroyPrompt();
    EndProblemSet();
    LeaveUnit();
}

bool CProblemSetViewController::EditPrompts() {
    return m_authoring && m_rule.EditPrompts(*this);
}

} // namespace quorvel

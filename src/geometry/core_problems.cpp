// "What's My Core?": checking the chosen core, the solution, and the teacher's question dialog.
#include "geometry/core_problems.h"

#include "geometry/geometry_view_controller.h"
#include "problemsets/authoring.h"
#include "problemsets/problem_prompt.h"
#include "workspace/prompter.h"
#include "workspace/unit_document.h"

#include <cmath>
#include <cstdio>

namespace quorvel {

namespace {

// The first multiple-choice question of the set, or -1.
int CoreQuestionIndex(const CQuestionSet& questions, int count) {
    for (int q = 0; q < count && q < kQuestionRecords; ++q)
        if (questions[static_cast<std::size_t>(q)].type == kChoiceQuestion)
            return q;
    return -1;
}

} // namespace

CQuestion MakeCoreQuestion(const std::string& prompt, int answer) {
    CQuestion q;
    q.prompt = prompt;
    q.type = kChoiceQuestion;
    q.answer = answer;
    q.partsMask = 1;
    q.choices = {"Core #1", "Core #2", "Core #3", "Core #4", ""};
    return q;
}

std::string CoreSolutionText(const CQuestion& question) {
    char text[64];
    std::snprintf(text, sizeof text, kCoreSolutionFormat,
                  static_cast<int>(std::lround(question.answer)) + 1);
    return text;
}

std::unique_ptr<IProblemRule> MakeCoreProblemRule() {
    return std::make_unique<CCoreProblemRule>();
}

bool CCoreProblemRule::IsRight(const CQuestionSet& questions, int count,
                               const CPromptAnswers& answers) {
    const int q = CoreQuestionIndex(questions, count);
    if (q < 0)
        return false;
    const auto i = static_cast<std::size_t>(q);
    return answers[i].given && std::lround(answers[i].value) == std::lround(questions[i].answer);
}

void CCoreProblemRule::ViewSolution(CProblemSetViewController& view) {
    CProblemPrompt& prompt = view.prompt();
    const int q = CoreQuestionIndex(prompt.questions(), prompt.questionCount());
    if (q < 0)
        return;
    const CQuestion& question = prompt.questions()[static_cast<std::size_t>(q)];
    prompt.ShowAnswer(q, question.answer);
    prompt.EnableChoices(false);
    view.Message(CoreSolutionText(question), MessageIcon::Information);
}

bool CCoreProblemRule::EditPrompts(CProblemSetViewController& view) {
    auto* geometry = dynamic_cast<CGeometryViewController*>(&view);
    return geometry && geometry->EditCoreQuestion();
}

bool CCoreQuestionEditor::OnOK() {
    const bool hasPrompt = prompt.find_first_not_of(" \t\r\n") != std::string::npos;
    const bool complete = hasPrompt && core >= 0 && core < kCoreChoices && level >= 0 && level <= 2;
    if (!AcceptQuestion(m_prompter, complete))
        return false;
    // A document holding four questions already keeps them; the dialog still closes.
    if (AddQuestion(m_doc, MakeCoreQuestion(prompt, core))) {
        m_doc.SetLevel(level);
        m_added = true;
    }
    return true;
}

} // namespace quorvel

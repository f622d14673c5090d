// "What's My Core?": the geometry unit's problem-set rule and the teacher's question dialog.
// A problem shows a tessellation and four candidate cores; the pupil picks the smallest core
// that makes the tessellation with one of four radio buttons.
#pragma once

#include "problemsets/problem_set_controller.h"
#include "workspace/question.h"

#include <memory>
#include <string>

namespace quorvel {

class CUnitDocument;
class IPrompter;

inline constexpr const char* kCoreScoreHeading = "WHAT'S MY CORE? ";
inline constexpr const char* kCoreGeneralError = "General Error.";
inline constexpr const char* kSelectAChoice = "Please select one of the choices.";
inline constexpr const char* kCoreSolutionFormat = "The correct answer is core #%d.";
inline constexpr const char* kCoreQuestionPrompt =
    "Which core was used to create the tessellation?  Remember that several cores may work, "
    "choose the smallest core that can be used to make the tessellation.";
inline constexpr int kCoreChoices = 4;

// The Tessellations menu's command for the question dialog (authoring mode only).
inline constexpr int kCmdCoreQuestion = 32832;

// The question dialog's controls.
enum CoreQuestionDialogId : int {
    kCoreQuestionDialog = 435,
    kCoreQuestionPromptBox = 1560,
    kCoreQuestionFirstCore = 1562,  // "Core 1" .. "Core 4": 1562 .. 1565
    kCoreQuestionFirstLevel = 1566, // "Level A" .. "Level C": 1566 .. 1568
};

// A core question: a multiple choice of "Core #1" .. "Core #4" whose answer is the right
// core's index.
CQuestion MakeCoreQuestion(const std::string& prompt, int answer);

// "The correct answer is core #%d." for the question's answer.
std::string CoreSolutionText(const CQuestion& question);

// The rule of a core problem: the chosen core must be the question's answer.
class CCoreProblemRule : public IProblemRule {
public:
    std::optional<std::string> CheckWithoutQuestion() const override { return kCoreGeneralError; }
    std::string MissingAnswerText() const override { return kSelectAChoice; }
    bool IsRight(const CQuestionSet& questions, int count, const CPromptAnswers& answers) override;
    // The answer's message; its radio button shows chosen.
    void ViewSolution(CProblemSetViewController& view) override;
    std::string ScoreHeading() const override { return kCoreScoreHeading; }
    // The question dialog, through the geometry page.
    bool EditPrompts(CProblemSetViewController& view) override;
};

// The geometry unit's problem-set rule, for those that ask by unit.
std::unique_ptr<IProblemRule> MakeCoreProblemRule();

// The teacher's question dialog: the level and the right core start unchosen, the prompt with
// its usual text. OK with a part missing is refused and the dialog stays open; otherwise a
// question is added while the document holds fewer than four, and the dialog closes.
class CCoreQuestionEditor {
public:
    CCoreQuestionEditor(CUnitDocument& doc, IPrompter& prompter)
        : m_doc(doc), m_prompter(prompter) {}

    std::string prompt = kCoreQuestionPrompt;
    int level = -1; // 0 A, 1 B, 2 C
    int core = -1;  // 0 .. 3

    // True when the dialog closes; `added()` tells whether a question went in.
    bool OnOK();
    bool added() const { return m_added; }

private:
    CUnitDocument& m_doc;
    IPrompter& m_prompter;
    bool m_added = false;
};

} // namespace quorvel

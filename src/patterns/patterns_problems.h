// The Patterns unit's problem sets ("Mystery Machines", Numbers). A problem shows a mysterious
// supermachine of number machines whose operations and built-in second inputs are hidden; the
// pupil names each machine's operator and built-in input in the prompt window. An answer is
// right when the machines it describes make the same linear function as the supermachine, so
// that every equivalent answer counts ("× 3 then + 6" for "+ 2 then × 3").
#pragma once

#include "problemsets/problem_set_controller.h"
#include "workspace/unit_document.h"

#include <memory>
#include <string>
#include <vector>

namespace quorvel {

class IPrompter;

inline constexpr const char* kMysteryMachinesHeading = "MYSTERY MACHINES ";

// Messages of the check.
inline constexpr int kMsgNoFunctionMachines = 1536;
inline constexpr int kMsgSelectEachOperation = 1537;
inline constexpr int kMsgSecondInputBuiltIn = 1538;
inline constexpr int kMsgMysteryLastTry = 1492;

// The four standard questions, in their order: built-in input and operator of the first
// machine, then of the second.
inline constexpr const char* kMysteryQuestionTexts[4] = {
    "What is the mystery built-in input for the first machine?",
    "What is the mystery operator for the first machine?",
    "What is the mystery built-in input for the second machine?",
    "What is the mystery operator for the second machine?",
};

// One machine of a supermachine as the check sees it: 0 +, 1 −, 2 ×, 3 ÷ with its built-in
// second input.
struct CMachineStep {
    int operation = 0;
    double value = 0.0;
    friend bool operator==(const CMachineStep&, const CMachineStep&) = default;
};

// x ↦ slope·x + offset.
struct CLinearFunction {
    double slope = 1.0;
    double offset = 0.0;
};

// The steps applied in order to x.
CLinearFunction ComposeSteps(const std::vector<CMachineStep>& steps);

// Equal slopes and offsets within a relative tolerance of 1e-9 (so ÷10 then ×3 matches ×3
// then ÷10); a function that is not finite matches nothing.
bool SameFunction(const CLinearFunction& a, const CLinearFunction& b);

// The steps of the supermachine of the document's first number machine, first machine first;
// or why it cannot be checked: a message id (1536, 1537, 1538), or 0 when a built-in card has
// no value (the check ends without a word).
struct CMysterySteps {
    std::vector<CMachineStep> steps;
    int refusal = -1; // -1: the steps are whole
    bool ok() const { return refusal < 0; }
};
CMysterySteps CollectMysterySteps(const CUnitDocument::ManipulativeList& list);

// The pupil's answers as steps: the n-th operator question gives step n's operation, the n-th
// numeric question its value. A value is read as a number as cards read it; one that cannot be
// read gives the exception's message in `unreadable`.
struct CAnswerSteps {
    std::vector<CMachineStep> steps;
    bool missing = false;
    std::string unreadable;
};
CAnswerSteps ReadAnswerSteps(const CProblemPrompt& prompt);

// The Numbers rule: checks the workspace's mysterious supermachine against the answers; after
// the last wrong try it opens the Mystery tool and View Solution, which reveals the machines.
class CMysteryMachineRule : public IProblemRule {
public:
    std::optional<std::string> CheckWorkspace(CProblemSetViewController& view) override;
    int ReadAnswers(const CProblemPrompt& prompt, CPromptAnswers& answers,
                    std::string& unreadable) override;
    bool IsRight(const CQuestionSet& questions, int count, const CPromptAnswers& answers) override;
    std::string LastTryText() const override;
    void OpenWayToSolution(CProblemSetViewController& view) override;
    void ViewSolution(CProblemSetViewController& view) override;
    std::string ScoreHeading() const override { return kMysteryMachinesHeading; }
    bool EditPrompts(CProblemSetViewController& view) override;

private:
    CLinearFunction m_machines;
    std::vector<CMachineStep> m_answers;
};

std::unique_ptr<IProblemRule> MakeNumbersProblemRule();

// --- the teacher's prompt editor ("Patterns Problem Set Prompt Editor") -----------------------

inline constexpr const char* kPatternsPromptEditorTitle = "Patterns Problem Set Prompt Editor";
inline constexpr int kPatternsPromptEditorDialog = 432;
inline constexpr int kPromptEditorQuestions = 4;
// The Numbers menu's command that opens the editor (authoring mode only).
inline constexpr int kCmdPatternsPrompts = 32833;

// The editor's model: four questions, each Operator or Numeric with its text, the level, and
// the problem number that Next and Previous step through (its file name in the class folder).
// It starts from the document's questions, or the four standard ones.
class CPatternsPromptEditor {
public:
    struct Entry {
        int kind = -1; // kOperatorQuestion, kNumberQuestion, -1 none chosen
        std::string text;
    };

    CPatternsPromptEditor(CUnitDocument& doc, IPrompter& prompter);

    std::array<Entry, kPromptEditorQuestions> entries;
    int level = -1; // 0 A, 1 B, 2 C
    int problem = 1;

    void Next();
    void Previous();
    // The problem file the question set is for: "patpsB03.qvn".
    std::string ProblemFileName() const;
    // OK: refuses an incomplete entry ("Incomplete question encountered!", no icon) and a
    // mystery machine that divides by 0; otherwise puts the questions and the level into the
    // document. True when the editor closes.
    bool OnOK();

private:
    CUnitDocument& m_doc;
    IPrompter& m_prompter;
};

// The four standard questions as a problem file holds them.
CQuestionSet StandardMysteryQuestions();

} // namespace quorvel

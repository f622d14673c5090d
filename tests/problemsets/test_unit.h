// A unit for testing the problem-set framework: its problem files are the geometry unit's,
// its documents hand their questions to the page when they are read, and its rule is "the
// chosen radio button is the right one".
#pragma once

#include "problemsets/problem_files.h"
#include "problemsets/problem_set_controller.h"
#include "workspace/archive.h"
#include "workspace/unit_document.h"

#include "fakes/fakes.h"

#include <map>
#include <set>

namespace quorvel::testing {

class CTestUnitDocument : public CUnitDocument {
public:
    CTestUnitDocument()
        : CUnitDocument({19992000, "Test Unit", "Quorvel (*.qvg)|*.qvg||", "qvg",
                         "The file you are trying to open is not a test unit document!"}) {}

    void AppendProblemFileName(std::string& path, int level) override {
        quorvel::AppendProblemFileName(*this, path, kGeometryProblemFiles, level);
    }
    void SetActivityFileName(const std::string& name) override { problemFileName = name; }
    void Serialize(CArchive& ar) override {
        CUnitDocument::Serialize(ar);
        if (!ar.IsStoring())
            LoadQuestions(questions(), questionCount(), problemPosition().triesLeft);
    }

    std::string problemFileName;
};

// A multiple-choice question whose right answer is choice `right` (0..3).
inline CQuestion CoreQuestion(int right) {
    CQuestion q;
    q.type = 2;
    q.prompt = "Which core was used to create the tessellation?";
    q.choices = {"Core #1", "Core #2", "Core #3", "Core #4", ""};
    q.answer = right;
    q.partsMask = 1;
    return q;
}

class ChosenRadioRule : public IProblemRule {
public:
    std::optional<std::string> refusal;
    int solutionsShown = 0;

    std::optional<std::string> CheckWorkspace(CProblemSetViewController&) override {
        return refusal;
    }
    bool IsRight(const CQuestionSet& questions, int count, const CPromptAnswers& answers) override {
        for (int q = 0; q < count; ++q)
            if (questions[q].type == 2)
                return answers[q].given && answers[q].value == questions[q].answer;
        return false;
    }
    void ViewSolution(CProblemSetViewController& view) override {
        ++solutionsShown;
        IProblemRule::ViewSolution(view);
    }
    std::string ScoreHeading() const override { return "WHAT'S MY CORE? "; }
};

// The page's buttons and what the controller asked of them.
class FakeUnitWindow : public IUnitViewWindow {
public:
    std::set<int> shown{kExitCommand, kBroomCommand};
    int closed = 0;

    void EnableView(bool) override {}
    void ShowButton(int id, bool show) override {
        if (show)
            shown.insert(id);
        else
            shown.erase(id);
    }
    CRect ButtonRect(int id) const override {
        return id == kCheckCommand ? CRect{600, 500, 720, 541} : CRect{};
    }
    int ControlIdAt(CPoint) const override { return 0; }
    void PressToolButton(int) override {}
    void CloseUnit() override { ++closed; }
    bool Shows(int id) const { return shown.count(id) != 0; }
};

class FakeProblemSetWindow : public IProblemSetWindow {
public:
    CCheckBitmaps check;
    CProblemPrompt* prompt = nullptr;
    CRect promptRect;
    int promptsCreated = 0;
    std::vector<std::pair<std::string, bool>> scores;
    std::deque<int> scoreAnswers;

    void SetCheckBitmaps(const CCheckBitmaps& b) override { check = b; }
    void CreatePromptWindow(CProblemPrompt& p, const CRect& r) override {
        prompt = &p;
        promptRect = r;
        ++promptsCreated;
    }
    void DestroyPromptWindow() override { prompt = nullptr; }
    int ShowScore(const std::string& text, bool more) override {
        scores.push_back({text, more});
        if (scoreAnswers.empty())
            return kScoreClose;
        const int a = scoreAnswers.front();
        scoreAnswers.pop_front();
        return a;
    }
};

} // namespace quorvel::testing

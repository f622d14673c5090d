// Authoring mode: the shared refusal, questions put into a document, and the prompt editor
// hook that runs only in authoring mode.
#include "problemsets/authoring.h"
#include "problemsets/problem_set_controller.h"

#include "test_unit.h"

#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::testing;

TEST(Authoring, AnIncompleteQuestionIsRefusedWithTheSharedMessage) {
    FakePrompter prompter;
    EXPECT_TRUE(AcceptQuestion(prompter, true));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_FALSE(AcceptQuestion(prompter, false));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Incomplete question encountered!");
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(AcceptQuestion(prompter, false, MessageIcon::None));
    EXPECT_EQ(prompter.messages[1].icon, MessageIcon::None);
}

TEST(Authoring, ADocumentTakesAtMostFourQuestions) {
    CTestUnitDocument doc;
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(AddQuestion(doc, CoreQuestion(i)));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(AddQuestion(doc, CoreQuestion(0)));
    EXPECT_EQ(doc.questionCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(doc.questions()[i], CoreQuestion(i));
}

TEST(Authoring, ReplacingTheQuestionsResetsTheProblemPosition) {
    CTestUnitDocument doc;
    doc.SetProblemPosition({3, 1, 2});
    CQuestionSet qs{CoreQuestion(1), CoreQuestion(2)};
    ReplaceQuestions(doc, qs, 2);
    EXPECT_EQ(doc.questionCount(), 2);
    EXPECT_EQ(doc.questions()[1], CoreQuestion(2));
    EXPECT_EQ(doc.problemPosition(), CProblemPosition{});
    ReplaceQuestions(doc, qs, 9);
    EXPECT_EQ(doc.questionCount(), 4);
}

TEST(Authoring, ThePromptEditorRunsOnlyInAuthoringMode) {
    struct EditingRule : ChosenRadioRule {
        int edits = 0;
        bool EditPrompts(CProblemSetViewController&) override { return ++edits, true; }
    } rule;
    CTestUnitDocument doc;
    FakeUnitWindow window;
    FakeProblemSetWindow problems;
    CProblemSetViewController view(doc, window, problems, rule);
    EXPECT_FALSE(view.EditPrompts());
    EXPECT_EQ(rule.edits, 0);
    view.SetAuthoring(true);
    EXPECT_TRUE(view.EditPrompts());
    EXPECT_EQ(rule.edits, 1);
}

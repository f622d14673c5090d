// Authoring mode: accepting and storing questions.
#include "problemsets/authoring.h"

#include "workspace/prompter.h"
#include "workspace/unit_document.h"

#include <algorithm>

namespace quorvel {

bool AcceptQuestion(IPrompter& prompter, bool complete, MessageIcon icon) {
    if (!complete)
        prompter.MessageBox(kIncompleteQuestionText, icon);
    return complete;
}

bool AddQuestion(CUnitDocument& doc, const CQuestion& question) {
    const int count = std::max(doc.questionCount(), 0);
    if (count >= kQuestionRecords)
        return false;
    doc.questions()[static_cast<std::size_t>(count)] = question;
    doc.SetQuestionCount(count + 1);
    doc.SetModifiedFlag();
    return true;
}

void ReplaceQuestions(CUnitDocument& doc, const CQuestionSet& questions, int count) {
    doc.questions() = questions;
    doc.SetQuestionCount(std::clamp(count, 0, kQuestionRecords));
    doc.SetProblemPosition(CProblemPosition{});
    doc.SetModifiedFlag();
}

} // namespace quorvel

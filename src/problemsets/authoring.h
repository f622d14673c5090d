// Authoring mode's shared parts: the refusal of a question whose required parts are missing,
// and how a unit's prompt editor puts questions into the document.
#pragma once

#include "workspace/prompter.h"
#include "workspace/question.h"

namespace quorvel {

class CUnitDocument;

inline constexpr const char* kIncompleteQuestionText = "Incomplete question encountered!";

// True when the question is complete; otherwise shows the refusal, and the editor stays open.
// The Patterns editor shows it without an icon.
bool AcceptQuestion(IPrompter& prompter, bool complete,
                    MessageIcon icon = MessageIcon::Exclamation);

// Puts `question` after the document's questions while it holds fewer than four; false when
// it is full.
bool AddQuestion(CUnitDocument& doc, const CQuestion& question);

// Replaces the document's questions with the first `count` of `questions` and resets the
// problem position, as a prompt editor that edits all four records does.
void ReplaceQuestions(CUnitDocument& doc, const CQuestionSet& questions, int count);

} // namespace quorvel

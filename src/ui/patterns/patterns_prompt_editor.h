// The teacher's "Patterns Problem Set Prompt Editor": four question groups, each Operator or
// Numeric with its text, the level, and Next and Previous for the problem the questions are for.
#pragma once

#include "patterns/patterns_problems.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QLabel;
class QPlainTextEdit;

namespace quorvel {

class CPatternsPromptEditorDialog : public QDialog {
    Q_OBJECT
public:
    // OK hands the dialog's data to `editor`, which decides whether the dialog closes.
    CPatternsPromptEditorDialog(CPatternsPromptEditor& editor, QWidget* parent);

    QPlainTextEdit* textBox(int question) const;
    QButtonGroup* kinds(int question) const;
    QButtonGroup* levels() const { return m_levels; }
    QLabel* problemLabel() const { return m_problem; }

    void accept() override;

private:
    void ShowProblem();

    CPatternsPromptEditor& m_editor;
    std::array<QPlainTextEdit*, kPromptEditorQuestions> m_texts{};
    std::array<QButtonGroup*, kPromptEditorQuestions> m_kinds{};
    QButtonGroup* m_levels = nullptr;
    QLabel* m_problem = nullptr;
};

} // namespace quorvel

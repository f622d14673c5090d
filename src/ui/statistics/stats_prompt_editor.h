// The teacher's "Statistics Problem Set Prompt Editor": the level, the question, and the
// answers compared, each with its expected value.
#pragma once

#include "statistics/stats_problems.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace quorvel {

class IPrompter;

class CStatsPromptEditorDialog : public QDialog {
    Q_OBJECT
public:
    // OK hands the dialog's data to `editor`, which decides whether the dialog closes.
    CStatsPromptEditorDialog(CStatsPromptEditor& editor, IPrompter& prompter, QWidget* parent);

    QButtonGroup* levels() const { return m_levels; }
    QPlainTextEdit* question() const { return m_question; }
    QCheckBox* answerBox(int kind) const { return m_checks.at(static_cast<std::size_t>(kind)); }
    QLineEdit* answerValue(int kind) const { return m_values.at(static_cast<std::size_t>(kind)); }

    void accept() override;

private:
    CStatsPromptEditor& m_editor;
    IPrompter& m_prompter;
    QButtonGroup* m_levels = nullptr;
    QPlainTextEdit* m_question = nullptr;
    std::array<QCheckBox*, kStatsAnswerKinds> m_checks{};
    std::array<QLineEdit*, kStatsAnswerKinds> m_values{};
};

} // namespace quorvel

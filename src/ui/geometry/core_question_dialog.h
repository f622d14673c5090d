// The teacher's "What's My Core?" question dialog: the level, the prompt and the right core.
#pragma once

#include "geometry/core_problems.h"

#include <QDialog>

class QButtonGroup;
class QPlainTextEdit;

namespace quorvel {

class CCoreQuestionDialog : public QDialog {
    Q_OBJECT
public:
    // OK hands the dialog's data to `editor`, which decides whether the dialog closes.
    CCoreQuestionDialog(CCoreQuestionEditor& editor, QWidget* parent);

    QPlainTextEdit* promptBox() const { return m_prompt; }
    QButtonGroup* levels() const { return m_levels; }
    QButtonGroup* cores() const { return m_cores; }

    void accept() override;

private:
    CCoreQuestionEditor& m_editor;
    QPlainTextEdit* m_prompt = nullptr;
    QButtonGroup* m_levels = nullptr;
    QButtonGroup* m_cores = nullptr;
};

} // namespace quorvel

// The prompt editor's widgets over CStatsPromptEditor.
#include "ui/statistics/stats_prompt_editor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorvel {

CStatsPromptEditorDialog::CStatsPromptEditorDialog(CStatsPromptEditor& editor, IPrompter& prompter,
                                                   QWidget* parent)
    : QDialog(parent), m_editor(editor), m_prompter(prompter) {
    setWindowTitle(QString::fromLatin1(kStatsPromptEditorTitle));
    setObjectName(QStringLiteral("dialog%1").arg(kStatsPromptEditorDialog));
    auto* layout = new QVBoxLayout(this);

    auto* levelBox = new QGroupBox(QStringLiteral("Question Level"), this);
    auto* levelRow = new QHBoxLayout(levelBox);
    m_levels = new QButtonGroup(this);
    static const char* const kLevels[] = {"Level &A", "Level &B", "Level &C"};
    for (int l = 0; l < 3; ++l) {
        auto* b = new QRadioButton(QString::fromLatin1(kLevels[l]), levelBox);
        b->setAccessibleName(b->text().remove(QLatin1Char('&')));
        m_levels->addButton(b, l);
        b->setChecked(editor.level == l);
        levelRow->addWidget(b);
    }
    layout->addWidget(levelBox);

    layout->addWidget(new QLabel(QStringLiteral("Question:"), this));
    m_question = new QPlainTextEdit(QString::fromStdString(editor.question), this);
    m_question->setAccessibleName(QStringLiteral("Question:"));
    m_question->setTabChangesFocus(true);
    m_question->setFixedHeight(64);
    m_question->setMinimumWidth(360);
    layout->addWidget(m_question);

    auto* answers = new QGroupBox(QStringLiteral("Answers"), this);
    auto* grid = new QGridLayout(answers);
    for (int kind = 0; kind < kStatsAnswerKinds; ++kind) {
        const auto i = static_cast<std::size_t>(kind);
        m_checks[i] = new QCheckBox(QString::fromLatin1(kStatsAnswerNames[i]), answers);
        m_checks[i]->setChecked(editor.answers[i].checked);
        m_values[i] = new QLineEdit(QString::fromStdString(editor.answers[i].value), answers);
        m_values[i]->setAccessibleName(m_checks[i]->text() + QStringLiteral(" value"));
        grid->addWidget(m_checks[i], kind, 0);
        grid->addWidget(m_values[i], kind, 1);
    }
    layout->addWidget(answers);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CStatsPromptEditorDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CStatsPromptEditorDialog::reject);
    layout->addWidget(buttons);
}

void CStatsPromptEditorDialog::accept() {
    m_editor.level = m_levels->checkedId();
    m_editor.question = m_question->toPlainText().toStdString();
    for (std::size_t i = 0; i < m_checks.size(); ++i)
        m_editor.answers[i] = {m_checks[i]->isChecked(),
                               m_values[i]->text().trimmed().toStdString()};
    if (m_editor.OnOK(m_prompter))
        QDialog::accept();
}

} // namespace quorvel

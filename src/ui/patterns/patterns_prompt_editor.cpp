// The prompt editor's widgets over CPatternsPromptEditor.
#include "ui/patterns/patterns_prompt_editor.h"

#include "problemsets/problem_prompt.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorvel {

CPatternsPromptEditorDialog::CPatternsPromptEditorDialog(CPatternsPromptEditor& editor,
                                                         QWidget* parent)
    : QDialog(parent), m_editor(editor) {
    setWindowTitle(QString::fromLatin1(kPatternsPromptEditorTitle));
    setObjectName(QStringLiteral("dialog%1").arg(kPatternsPromptEditorDialog));
    auto* layout = new QVBoxLayout(this);
    for (int q = 0; q < kPromptEditorQuestions; ++q) {
        const auto i = static_cast<std::size_t>(q);
        auto* group = new QGroupBox(QStringLiteral("Question %1").arg(q + 1), this);
        auto* row = new QHBoxLayout(group);
        auto* kinds = new QVBoxLayout;
        m_kinds[i] = new QButtonGroup(group);
        const std::pair<const char*, int> kKinds[] = {{"Operator", kOperatorQuestion},
                                                      {"Numeric", kNumberQuestion}};
        for (const auto& [caption, kind] : kKinds) {
            auto* b = new QRadioButton(QString::fromLatin1(caption), group);
            b->setAccessibleName(QStringLiteral("Question %1 %2").arg(q + 1).arg(b->text()));
            m_kinds[i]->addButton(b, kind);
            b->setChecked(editor.entries[i].kind == kind);
            kinds->addWidget(b);
        }
        row->addLayout(kinds);
        m_texts[i] = new QPlainTextEdit(QString::fromStdString(editor.entries[i].text), group);
        m_texts[i]->setAccessibleName(QStringLiteral("Question %1 text").arg(q + 1));
        m_texts[i]->setTabChangesFocus(true);
        m_texts[i]->setFixedHeight(48);
        m_texts[i]->setMinimumWidth(360);
        row->addWidget(m_texts[i], 1);
        layout->addWidget(group);
    }

    auto* bottom = new QHBoxLayout;
    m_levels = new QButtonGroup(this);
    static const char* const kLevels[] = {"Level &A", "Level &B", "Level &C"};
    for (int l = 0; l < 3; ++l) {
        auto* b = new QRadioButton(QString::fromLatin1(kLevels[l]), this);
        b->setAccessibleName(b->text().remove(QLatin1Char('&')));
        m_levels->addButton(b, l);
        b->setChecked(editor.level == l);
        bottom->addWidget(b);
    }
    bottom->addStretch(1);
    auto* previous = new QPushButton(QStringLiteral("&Previous"), this);
    m_problem = new QLabel(this);
    auto* next = new QPushButton(QStringLiteral("&Next"), this);
    bottom->addWidget(previous);
    bottom->addWidget(m_problem);
    bottom->addWidget(next);
    layout->addLayout(bottom);
    connect(previous, &QPushButton::clicked, this, [this] {
        m_editor.Previous();
        ShowProblem();
    });
    connect(next, &QPushButton::clicked, this, [this] {
        m_editor.Next();
        ShowProblem();
    });
    connect(m_levels, &QButtonGroup::idClicked, this, [this](int id) {
        m_editor.level = id;
        ShowProblem();
    });
    ShowProblem();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPatternsPromptEditorDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPatternsPromptEditorDialog::reject);
    layout->addWidget(buttons);
}

QPlainTextEdit* CPatternsPromptEditorDialog::textBox(int question) const {
    return m_texts.at(static_cast<std::size_t>(question));
}

QButtonGroup* CPatternsPromptEditorDialog::kinds(int question) const {
    return m_kinds.at(static_cast<std::size_t>(question));
}

void CPatternsPromptEditorDialog::ShowProblem() {
    const std::string name = m_editor.ProblemFileName();
    m_problem->setText(name.empty() ? QStringLiteral("Problem %1").arg(m_editor.problem)
                                    : QString::fromStdString(name));
}

void CPatternsPromptEditorDialog::accept() {
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        m_editor.entries[i].text = m_texts[i]->toPlainText().toStdString();
        m_editor.entries[i].kind = m_kinds[i]->checkedId();
    }
    m_editor.level = m_levels->checkedId();
    if (m_editor.OnOK())
        QDialog::accept();
}

} // namespace quorvel

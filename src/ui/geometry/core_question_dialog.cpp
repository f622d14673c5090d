// The question dialog: radio buttons for the level and the right core, the prompt box, OK and
// Cancel.
#include "ui/geometry/core_question_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorvel {

namespace {

// Buttons of a group by their ids; none is checked at first.
QButtonGroup* RadioRow(QWidget* owner, QBoxLayout* row, const char* const* captions, int count,
                       int firstId) {
    auto* group = new QButtonGroup(owner);
    group->setExclusive(true);
    for (int i = 0; i < count; ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(captions[i]), owner);
        b->setAccessibleName(b->text().remove(QLatin1Char('&')));
        b->setObjectName(QStringLiteral("control%1").arg(firstId + i));
        group->addButton(b, firstId + i);
        row->addWidget(b);
    }
    row->addStretch(1);
    return group;
}

} // namespace

CCoreQuestionDialog::CCoreQuestionDialog(CCoreQuestionEditor& editor, QWidget* parent)
    : QDialog(parent), m_editor(editor) {
    setWindowTitle(QStringLiteral("What's My Core? Question"));
    setObjectName(QStringLiteral("dialog%1").arg(kCoreQuestionDialog));
    auto* layout = new QVBoxLayout(this);

    static const char* const kLevels[] = {"Level &A", "Level &B", "Level &C"};
    auto* levelRow = new QHBoxLayout;
    m_levels = RadioRow(this, levelRow, kLevels, 3, kCoreQuestionFirstLevel);
    layout->addLayout(levelRow);

    auto* promptLabel = new QLabel(QStringLiteral("&Prompt:"), this);
    m_prompt = new QPlainTextEdit(QString::fromStdString(editor.prompt), this);
    m_prompt->setObjectName(QStringLiteral("control%1").arg(kCoreQuestionPromptBox));
    m_prompt->setAccessibleName(QStringLiteral("Prompt"));
    m_prompt->setTabChangesFocus(true);
    m_prompt->setMinimumSize(360, 90);
    promptLabel->setBuddy(m_prompt);
    layout->addWidget(promptLabel);
    layout->addWidget(m_prompt, 1);

    auto* choice = new QGroupBox(QStringLiteral("Select correct choice"), this);
    auto* coreRow = new QHBoxLayout(choice);
    static const char* const kCores[] = {"Core &1", "Core &2", "Core &3", "Core &4"};
    m_cores = RadioRow(choice, coreRow, kCores, kCoreChoices, kCoreQuestionFirstCore);
    layout->addWidget(choice);

    if (editor.level >= 0)
        if (QAbstractButton* b = m_levels->button(kCoreQuestionFirstLevel + editor.level))
            b->setChecked(true);
    if (editor.core >= 0)
        if (QAbstractButton* b = m_cores->button(kCoreQuestionFirstCore + editor.core))
            b->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCoreQuestionDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCoreQuestionDialog::reject);
    layout->addWidget(buttons);
}

void CCoreQuestionDialog::accept() {
    m_editor.prompt = m_prompt->toPlainText().toStdString();
    const int level = m_levels->checkedId();
    m_editor.level = level < 0 ? -1 : level - kCoreQuestionFirstLevel;
    const int core = m_cores->checkedId();
    m_editor.core = core < 0 ? -1 : core - kCoreQuestionFirstCore;
    if (m_editor.OnOK())
        QDialog::accept();
}

} // namespace quorvel

// The problem set prompt window (id 1471): the counter line, the questions' texts and their
// answer controls, over the core's prompt model. The pupil's input goes to the model; the
// model's changes come back as repaints and control states.
#pragma once

#include "problemsets/problem_prompt.h"
#include "problemsets/prompt_layout.h"

#include <QWidget>

#include <map>

class QAbstractButton;
class QButtonGroup;
class QLineEdit;

namespace quorvel {

class CProblemPromptWnd : public QWidget, public IPromptListener {
    Q_OBJECT
public:
    CProblemPromptWnd(CProblemPrompt& prompt, const CPromptFonts& fonts, QWidget* parent);
    ~CProblemPromptWnd() override;

    CProblemPrompt& prompt() const { return m_prompt; }
    // The child that stands for answer control `id`, or null.
    QWidget* control(int id) const;
    const CPromptLayout& layout() const { return m_layout; }
    // The height that shows every question without clipping at the present width.
    int contentHeight() const { return m_layout.contentBottom + kPromptInset + 2; }

    void PromptChanged() override;

signals:
    // Return or Enter in an answer control: the pupil wants the answer checked.
    void checkRequested();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void SyncControls();
    void Relayout();

    CProblemPrompt& m_prompt;
    CPromptFonts m_fonts;
    CPromptLayout m_layout;
    std::map<int, QWidget*> m_controls;
    QButtonGroup* m_radios = nullptr;
    bool m_syncing = false;
};

} // namespace quorvel

// The problem-set flow's window on a unit's page: the Check button's art for the tries left,
// the prompt window in the page and the score dialog.
#pragma once

#include "problemsets/problem_set_controller.h"
#include "problemsets/prompt_layout.h"
#include "ui/problemsets/problem_prompt_wnd.h"

#include <QPointer>

#include <functional>

class QWidget;

namespace quorvel {

class CBitmapButton;
class CScoreDialog;

// The prompt window's fonts: the main frame's prompt fonts and its "Symbol" font.
CPromptFonts MainFramePromptFonts();

class CProblemSetHost : public IProblemSetWindow {
public:
    // `page` holds the prompt window and owns the dialogs; `checkButton` finds its Check button.
    CProblemSetHost(QWidget* page, std::function<CBitmapButton*()> checkButton);
    ~CProblemSetHost() override;

    CProblemPromptWnd* promptWindow() const { return m_prompt; }
    // The score dialog's answer for tests that cannot click a modal dialog: when set, the
    // dialog is shown, handed to it and closed with what it returns.
    std::function<int(CScoreDialog&)> scoreAnswer;

    void SetCheckBitmaps(const CCheckBitmaps& bitmaps) override;
    void CreatePromptWindow(CProblemPrompt& prompt, const CRect& rect) override;
    void DestroyPromptWindow() override;
    int ShowScore(const std::string& text, bool more) override;

private:
    QWidget* m_page;
    std::function<CBitmapButton*()> m_checkButton;
    QPointer<CProblemPromptWnd> m_prompt;
};

} // namespace quorvel

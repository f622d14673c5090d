// The problem-set flow's Qt window.
#include "ui/problemsets/problem_set_host.h"

#include "app/frame_resources.h"
#include "ui/app/bitmap_button.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_text.h"
#include "ui/problemsets/problem_prompt_wnd.h"
#include "ui/problemsets/score_dialog.h"

#include <algorithm>

namespace quorvel {

CPromptFonts MainFramePromptFonts() {
    const auto& fonts = AppFonts();
    return {fonts[kFontPrompt], fonts[kFontPromptBold], fonts[kFontSymbol]};
}

CProblemSetHost::CProblemSetHost(QWidget* page, std::function<CBitmapButton*()> checkButton)
    : m_page(page), m_checkButton(std::move(checkButton)) {}

CProblemSetHost::~CProblemSetHost() {
    delete m_prompt.data();
}

void CProblemSetHost::SetCheckBitmaps(const CCheckBitmaps& b) {
    if (CBitmapButton* check = m_checkButton ? m_checkButton() : nullptr)
        check->setBitmaps({b.up, b.down, b.focus, 0});
}

void CProblemSetHost::CreatePromptWindow(CProblemPrompt& prompt, const CRect& rect) {
    DestroyPromptWindow();
    const CPromptFonts fonts = MainFramePromptFonts();
    m_prompt = new CProblemPromptWnd(prompt, fonts, m_page);
    // A problem with more to say than the place above Check holds grows upwards rather than
    // hiding its last question.
    CQtTextMetrics metrics;
    const CPromptLayout layout =
        LayoutPrompt(prompt, {rect.Width(), rect.Height()}, metrics, fonts);
    const int needed = layout.contentBottom + kPromptInset + 2;
    const int top = needed > rect.Height() ? std::max(0, rect.bottom - needed) : rect.top;
    m_prompt->setGeometry(rect.left, top, rect.Width(), rect.bottom - top);
    QObject::connect(m_prompt, &CProblemPromptWnd::checkRequested, m_prompt, [this] {
        CBitmapButton* check = m_checkButton ? m_checkButton() : nullptr;
        if (check && check->isVisible() && check->isEnabled())
            check->click();
    });
    m_prompt->show();
    m_prompt->raise();
}

void CProblemSetHost::DestroyPromptWindow() {
    delete m_prompt.data();
}

int CProblemSetHost::ShowScore(const std::string& text, bool more) {
    CScoreDialog dialog(DialogText(text), more, m_page);
    if (scoreAnswer) {
        dialog.show();
        const int answer = scoreAnswer(dialog);
        dialog.done(answer);
        return answer;
    }
    return dialog.exec() == kScoreMoreProblems ? kScoreMoreProblems : kScoreClose;
}

} // namespace quorvel

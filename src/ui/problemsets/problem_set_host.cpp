// The problem-set flow's Qt window.
#include "ui/problemsets/problem_set_host.h"

#include "app/frame_resources.h"
#include "ui/app/bitmap_button.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_text.h"
#include "ui/problemsets/problem_prompt_wnd.h"
#include "ui/problemsets/score_dialog.h"

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
    CQtTextMetrics metrics;
    const CRect place =
        PromptWindowRect(rect, LayoutPrompt(prompt, {rect.Width(), rect.Height()}, metrics, fonts));
    m_prompt->setGeometry(place.left, place.top, place.Width(), place.Height());
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

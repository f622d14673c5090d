// Problem-set page controllers.
#include "ui/problemsets/problem_set_page.h"

#include "ui/app/bitmap_button.h"

#include <QWidget>

namespace quorvel {

std::function<CBitmapButton*()> CheckButtonOf(QWidget* page) {
    return [page]() -> CBitmapButton* {
        if (!page)
            return nullptr;
        for (CBitmapButton* b : page->findChildren<CBitmapButton*>())
            if (b->id() == kCheckCommand)
                return b;
        return nullptr;
    };
}

namespace detail {
CProblemSetPageParts::CProblemSetPageParts(QWidget* page, std::unique_ptr<IProblemRule> rule)
    : m_pageHost(page, CheckButtonOf(page)), m_pageRule(std::move(rule)) {}
} // namespace detail

CProblemSetPageController::CProblemSetPageController(CUnitDocument& doc, IUnitViewWindow& window,
                                                     std::unique_ptr<IProblemRule> rule)
    : CProblemSetPageParts(dynamic_cast<QWidget*>(&window), std::move(rule)),
      CProblemSetViewController(doc, window, m_pageHost, *m_pageRule) {}

UnitControllerFactory
ProblemSetControllerFactory(std::function<std::unique_ptr<IProblemRule>()> makeRule,
                            bool authoring) {
    return
        [makeRule = std::move(makeRule), authoring](CUnitDocument& doc, IUnitViewWindow& window) {
            auto controller = std::make_unique<CProblemSetPageController>(doc, window, makeRule());
            // The program's authoring mode holds whatever the page asked for.
            controller->SetAuthoring(authoring || controller->authoring());
            return std::unique_ptr<CUnitViewController>(std::move(controller));
        };
}

} // namespace quorvel

// The controller of a unit page that runs problem sets: the problem-set flow with its Qt
// window and the unit's rule, made by the page through its controller factory.
#pragma once

#include "app/document_factory.h"
#include "problemsets/problem_set_controller.h"
#include "ui/problemsets/problem_set_host.h"

#include <functional>
#include <memory>

namespace quorvel {

class CBitmapButton;

// Finds the Check button among the page's buttons.
std::function<CBitmapButton*()> CheckButtonOf(QWidget* page);

namespace detail {
// Made before the controller, which keeps references to both.
struct CProblemSetPageParts {
    CProblemSetPageParts(QWidget* page, std::unique_ptr<IProblemRule> rule);
    CProblemSetHost m_pageHost;
    std::unique_ptr<IProblemRule> m_pageRule;
};
} // namespace detail

class CProblemSetPageController : private detail::CProblemSetPageParts,
                                  public CProblemSetViewController {
public:
    // `window` is the page widget itself: the prompt window and the score dialog go on it.
    CProblemSetPageController(CUnitDocument& doc, IUnitViewWindow& window,
                              std::unique_ptr<IProblemRule> rule);

    CProblemSetHost& host() { return m_pageHost; }
};

using UnitControllerFactory =
    std::function<std::unique_ptr<CUnitViewController>(CUnitDocument&, IUnitViewWindow&)>;

// A page controller factory with the problem-set flow and the rule that `makeRule` makes;
// its prompt editor runs when `authoring` is set or the program runs in authoring mode.
UnitControllerFactory
ProblemSetControllerFactory(std::function<std::unique_ptr<IProblemRule>()> makeRule,
                            bool authoring);

} // namespace quorvel

// The unit page holds the unit's workspace page and passes its leaving and its commands on.
#include "ui/app/unit_page.h"

#include "app/problem_rules.h"
#include "geometry/geometry_document.h"
#include "patterns/patterns_documents.h"
#include "statistics/stats_document.h"
#include "ui/app/bitmap_button.h"
#include "ui/geometry/geometry_unit_view.h"
#include "ui/patterns/codes_view.h"
#include "ui/patterns/designs_view.h"
#include "ui/patterns/numbers_view.h"
#include "ui/problemsets/problem_set_page.h"
#include "ui/statistics/stats_unit_view.h"
#include "ui/workspace/unit_view.h"

#include <QVBoxLayout>

namespace quorvel {

CUnitPage::CUnitPage(CUnitDocument& doc, UnitKind unit, const QString& title, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_unit(unit), m_title(title) {
    setAccessibleName(title);
    // Units with a page of their own show it; the others the shared workspace page.
    if (auto* geometry = dynamic_cast<CGeometryUnitDocument*>(&doc);
        geometry && unit == UnitKind::Geometry) {
        auto* view = new CGeometryUnitView(*geometry, this);
        m_unitMenu = view->unitMenu();
        m_view = view;
    } else if (auto* numbers = dynamic_cast<CNumberPatternsDocument*>(&doc);
               numbers && unit == UnitKind::Numbers) {
        auto* view = new CNumberPatternsView(*numbers, this);
        m_unitMenu = view->unitMenu();
        m_secondMenu = view->tableMenu();
        m_view = view;
    } else if (auto* codes = dynamic_cast<CCodePatternsDocument*>(&doc);
               codes && unit == UnitKind::Codes) {
        auto* view = new CCodePatternsView(*codes, this);
        m_unitMenu = view->unitMenu();
        m_view = view;
    } else if (auto* stats = dynamic_cast<CStatsUnitDocument*>(&doc);
               stats && unit == UnitKind::Statistics) {
        auto* view = new CStatsUnitView(*stats, this);
        m_unitMenu = view->unitMenu();
        m_secondMenu = view->modeMenu();
        m_view = view;
    } else if (auto* designs = dynamic_cast<CDesignPatternsDocument*>(&doc);
               designs && unit == UnitKind::Designs) {
        auto* view = new CDesignPatternsView(*designs, this);
        m_unitMenu = view->unitMenu();
        m_view = view;
    } else if (HasProblemSets(unit)) {
        // The other units with problem sets run them on the shared page with their core's rule.
        m_view = new CUnitView(
            doc, this,
            ProblemSetControllerFactory([unit] { return CreateProblemRule(unit); }, false));
    } else {
        m_view = new CUnitView(doc, this);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
    connect(m_view, &CUnitView::leaveRequested, this, &CUnitPage::exitRequested);
    connect(m_view, &CUnitView::commandStateChanged, this, &CUnitPage::stateChanged);
}

CUnitPage::~CUnitPage() = default;

QList<QMenu*> CUnitPage::unitMenus() const {
    QList<QMenu*> menus;
    for (QMenu* m : {m_unitMenu, m_secondMenu})
        if (m)
            menus.push_back(m);
    return menus;
}

CBitmapButton* CUnitPage::exitButton() const {
    return m_view->button(kExitCommand);
}

void CUnitPage::Print() {
    m_view->Print();
}

} // namespace quorvel

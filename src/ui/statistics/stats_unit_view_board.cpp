// The Statistics page in Board mode: the core draws the board; the mouse and the arrow keys
// go to the board's controller.
#include "ui/statistics/stats_unit_view.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace quorvel {

namespace {

CPoint At(const QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    return {p.x(), p.y()};
}

} // namespace

void CStatsUnitView::DrawBoard(IDrawingSurface& dc, const CRect& area, bool printing) {
    // A problem opened since the last layout: its board goes above the prompt window.
    if (!printing &&
        m_doc.computerChecked() != (m_table.board().geometry().client.bottom < height()))
        FitBoardToPage();
    m_table.board().Draw(dc);
    CUnitView::DrawWorkspace(dc, area, printing);
}

void CStatsUnitView::mousePressEvent(QMouseEvent* e) {
    // Authoring mode: the right button chooses the problem's solution tile.
    auto* problems = dynamic_cast<CProblemSetViewController*>(&controller());
    if (m_table.mode() == StatsViewMode::Board && e->button() == Qt::RightButton && problems &&
        problems->authoring() && m_table.board().ChooseSolutionTile(At(e)))
        return;
    if (m_table.mode() != StatsViewMode::Board || e->button() != Qt::LeftButton) {
        CUnitView::mousePressEvent(e);
        return;
    }
    if (m_table.editing())
        EditorFinished();
    setFocus();
    m_table.board().Press(At(e), m_table.tool());
    update();
}

void CStatsUnitView::mouseMoveEvent(QMouseEvent* e) {
    if (!m_table.board().dragging()) {
        CUnitView::mouseMoveEvent(e);
        return;
    }
    m_table.board().Drag(At(e));
    update();
}

void CStatsUnitView::mouseReleaseEvent(QMouseEvent* e) {
    if (!m_table.board().dragging() || e->button() != Qt::LeftButton) {
        CUnitView::mouseReleaseEvent(e);
        return;
    }
    m_table.board().Release(At(e));
    update();
}

void CStatsUnitView::keyPressEvent(QKeyEvent* e) {
    if (m_table.mode() != StatsViewMode::Board) {
        CUnitView::keyPressEvent(e);
        return;
    }
    const int step = e->modifiers().testFlag(Qt::ShiftModifier) ? 10 : 1;
    switch (e->key()) {
    case Qt::Key_Left:
        m_table.board().MoveSelection(-step, 0);
        break;
    case Qt::Key_Right:
        m_table.board().MoveSelection(step, 0);
        break;
    case Qt::Key_Up:
        m_table.board().MoveSelection(0, -step);
        break;
    case Qt::Key_Down:
        m_table.board().MoveSelection(0, step);
        break;
    case Qt::Key_Escape:
        m_table.board().CancelDrag();
        break;
    default:
        CUnitView::keyPressEvent(e);
        return;
    }
    update();
}

} // namespace quorvel

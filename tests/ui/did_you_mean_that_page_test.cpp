// "Did You Mean That?" on the real Statistics page in the main window: a level A run played
// from the investigations menu through to its score, un-ignoring tiles with the ignore tool on
// the board.
#include "class_pages.h"
#include "fakes/fakes.h"
#include "problemsets/problem_set_controller.h"
#include "statistics/stats_problems.h"
#include "ui/app/bitmap_button.h"
#include "ui/app/main_frame.h"
#include "ui/app/menu_views.h"
#include "ui/app/unit_page.h"
#include "ui/problemsets/problem_prompt_wnd.h"
#include "ui/statistics/stats_unit_view.h"
#include "ui/workspace/art_button.h"
#include "ui/workspace/tool_palette.h"
#include "workspace/tool_palette.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvel;
using quorvel::testing::Click;

namespace {

// Clicks the tile of `row` on the board with the mouse, where no other tile and not the prompt
// window hides it.
void ClickTile(CStatsUnitView& view, int row) {
    const CStatsBoardController& board = view.table().board();
    const auto* prompt = view.findChild<CProblemPromptWnd*>();
    const CRect r = board.TileRect(row);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (board.TileAt({x, y}) == row && !prompt->geometry().contains(x, y)) {
                QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(x, y));
                return;
            }
    QFAIL("the tile cannot be reached");
}

} // namespace

class DidYouMeanThatPageTest : public QObject {
    Q_OBJECT

private slots:
    void levelARunsFromTheMenuToItsScore() {
        const QString programDir = QFileInfo(QStringLiteral(QUORVEL_CLASS_DIR)).absolutePath();
        QTemporaryDir personal;
        testing::FakeDocumentHost host;
        CMainFrame frame(&host);
        frame.SetDesktopOpener([](const std::string&) { return true; });
        QVERIFY(frame.Start({}, programDir.toStdString(), personal.path().toStdString()));
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto page = [&frame] { return qobject_cast<CMenuView*>(frame.currentPage()); };
        Click(page()->button(1002)); // Statistics
        Click(page()->button(1011)); // Asking More Questions
        CMenuView* investigations = page();
        Click(investigations->button(1460)); // Did You Mean That? level A
        CUnitPage* unit = frame.unitPage();
        QVERIFY(unit);
        auto* view = qobject_cast<CStatsUnitView*>(unit->view());
        QVERIFY(view);
        auto& doc = static_cast<CStatsUnitDocument&>(unit->document());
        QVERIFY(doc.problemSetMode());
        Click(view->palette()->button(ToolCommand(kToolIgnore)));

        QString score;
        quorvel::testing::PlayLevel(
            *view,
            [&](int problem) {
                QVERIFY2(doc.activityPath().find("stapsA") != std::string::npos,
                         doc.activityPath().c_str());
                QVERIFY(doc.computerChecked());
                // The pupil sees the board, not the table.
                QCOMPARE(view->table().mode(), StatsViewMode::Board);
                QVERIFY(!view->control(kCmdDataTable)->isVisible());
                auto* prompt = view->findChild<CProblemPromptWnd*>();
                QVERIFY(prompt && prompt->isVisible());
                const int solution = SolutionTileRow(doc);
                QVERIFY(solution > 0);
                CBitmapButton* check = view->button(kCheckCommand);
                if (problem == 0) {
                    // CHECK before the ignore tool costs no try; a wrong tile costs all three, and
                    // View Solution un-ignores the right one.
                    Click(check);
                    QCOMPARE(host.prompter.LastText(),
                             std::string("Please un-ignore a tile before checking your answer."));
                    int wrong = 1;
                    while (wrong == solution ||
                           doc.dataSet().Case(wrong).state != CaseState::Ignored)
                        ++wrong;
                    ClickTile(*view, wrong);
                    QCOMPARE(doc.dataSet().Case(wrong).state, CaseState::Used);
                    for (int t = 0; t < kTriesPerProblem; ++t)
                        Click(check);
                    QCOMPARE(host.prompter.LastText(),
                             std::string("Your solution is not correct. Click View Solution to "
                                         "un-ignore the correct tile."));
                    Click(view->button(kViewSolutionCommand));
                    QCOMPARE(doc.dataSet().Case(solution).state, CaseState::Used);
                } else {
                    ClickTile(*view, solution);
                    Click(check);
                    QCOMPARE(host.prompter.LastText(), std::string(kAnswerCorrectText));
                }
            },
            score);
        QCOMPARE(score, QStringLiteral("DID YOU MEAN THAT? (Level A)\nYou got 4 of 5 problems "
                                       "correct."));
        QTRY_VERIFY(!frame.unitPage());
        QCOMPARE(frame.currentPage(), investigations);
    }
};

QTEST_MAIN(DidYouMeanThatPageTest)
#include "did_you_mean_that_page_test.moc"

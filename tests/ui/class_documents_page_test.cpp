// The class folder's Tiles and Tessellations documents on the real page in the main window:
// opening one moves no shape (the file holds the page's own pane and workspace), everything
// shows in the pane, and a problem keeps clear of its prompt window. PNGs of a few for review.
// A run of "What's My Core?" played from the investigations menu through to its score. Every
// document a Patterns or Statistics investigation opens, opened on its unit's page.
#include "app/activities.h"
#include "app/document_factory.h"
#include "class_pages.h"
#include "fakes/fakes.h"
#include "geometry/core_problems.h"
#include "geometry/geometry_document.h"
#include "problemsets/problem_set_controller.h"
#include "statistics/stats_document.h"
#include "ui/app/bitmap_button.h"
#include "ui/app/main_frame.h"
#include "ui/app/menu_views.h"
#include "ui/app/unit_page.h"
#include "ui/geometry/geometry_unit_view.h"
#include "ui/problemsets/problem_prompt_wnd.h"
#include "ui/workspace/unit_view.h"
#include "ui/workspace/workspace_pane.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>

using namespace quorvel;
using quorvel::testing::Click;
using quorvel::testing::ReadBytes;

namespace {

const char* const kAverageNames[3] = {"Mean", "Median", "Mode"};

// Opens every document a menu's investigations open on its unit's page: it opens without a
// message, outside problem-set mode, moves nothing and shows everything in the pane; a
// Statistics document keeps its view and every tile on the board.
void OpenEveryActivity(int menu, const QString& unitName, int& seen) {
    QSize size;
    quorvel::testing::UnitPageSize(size);
    if (QTest::currentTestFailed())
        return;
    QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
    for (int k = 0; k < kInvestigationsPerMenu; ++k)
        for (const CActivityRow& row : FindInvestigation(menu, k)->rows)
            for (const CActivity& a : row.activities) {
                if (a.kind != ActivityKind::Document || a.file.empty())
                    continue;
                ++seen;
                const std::filesystem::path path =
                    std::filesystem::path(QUORVEL_CLASS_DIR) / a.file;
                QVERIFY2(std::filesystem::exists(path), a.file.c_str());
                const auto plain = CreateUnitDocument(a.unit);
                QCOMPARE(plain->LoadFromBytes(ReadBytes(path)), OpenResult::Opened);

                testing::FakeDocumentHost host;
                const auto doc = CreateUnitDocument(a.unit);
                doc->SetHost(&host);
                CUnitPage page(*doc, a.unit, unitName, nullptr);
                page.resize(size);
                page.show();
                QVERIFY(QTest::qWaitForWindowExposed(&page));
                QVERIFY2(doc->OpenActivityFile(path.string()), a.file.c_str());
                QCoreApplication::processEvents();
                QVERIFY2(host.prompter.messages.empty(), host.prompter.LastText().c_str());
                QVERIFY2(!doc->problemSetMode(), a.file.c_str());

                if (const auto* stats = dynamic_cast<const CStatsUnitDocument*>(doc.get())) {
                    const auto* before = dynamic_cast<const CStatsUnitDocument*>(plain.get());
                    QCOMPARE(stats->viewState().viewMode, before->viewState().viewMode);
                    QCOMPARE(stats->dataSet().rowCount(), before->dataSet().rowCount());
                    // The page shows the file's view, its average lines ticked.
                    const int ticked[] = {stats->viewState().showMean,
                                          stats->viewState().showMedian,
                                          stats->viewState().showMode};
                    int boxes = 0;
                    for (const QCheckBox* box : page.findChildren<QCheckBox*>())
                        for (int i = 0; i < 3; ++i)
                            if (box->text() == QString::fromLatin1(kAverageNames[i])) {
                                ++boxes;
                                QCOMPARE(box->isChecked(), ticked[i] != 0);
                            }
                    QCOMPARE(boxes, 3);
                    const CRect board = stats->viewState().boardRect;
                    for (int r = 1; r < stats->dataSet().rowCount(); ++r) {
                        const CStatsPosition p = stats->dataSet().Case(r).numberTilePosition;
                        QVERIFY2(p.x >= board.left && p.x <= board.right && p.y >= board.top &&
                                     p.y <= board.bottom,
                                 a.file.c_str());
                    }
                }

                // Nothing was spread, and everything shows in the pane (a page with a pane).
                QCOMPARE(doc->manipulatives().size(), plain->manipulatives().size());
                if (page.view() && page.view()->pane()) {
                    const QRect pane = page.view()->pane()->geometry();
                    for (std::size_t i = 0; i < doc->manipulatives().size(); ++i) {
                        const CManipulative& m = *doc->manipulatives()[i];
                        const C3DPointDouble c = m.centre();
                        const C3DPointDouble p = plain->manipulatives()[i]->centre();
                        // The file keeps the pane's size on this page.
                        QVERIFY2(std::abs(c.x - p.x) < 1e-9 && std::abs(c.y - p.y) < 1e-9,
                                 qPrintable(QStringLiteral("%1 moved; its pane is %2 by %3")
                                                .arg(QString::fromStdString(a.file))
                                                .arg(pane.width())
                                                .arg(pane.height())));
                        const CRect f = m.GetFrameOf();
                        if (m.visible())
                            QVERIFY2(QRect(0, 0, pane.width(), pane.height())
                                         .contains(QRect(f.left, f.top, f.Width(), f.Height())),
                                     a.file.c_str());
                    }
                }
                page.grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/class_") +
                                 QString::fromStdString(a.file) + QStringLiteral(".png"));
            }
}

} // namespace

class ClassDocumentsPageTest : public QObject {
    Q_OBJECT

private slots:
    void documentsSitOnThePageAsBuilt() {
        // The unit page is what the 800 by 600 main window leaves under its menu bar.
        QSize page;
        quorvel::testing::UnitPageSize(page);
        if (QTest::currentTestFailed())
            return;
        QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
        int seen = 0;
        for (const auto& entry : std::filesystem::directory_iterator(QUORVEL_CLASS_DIR)) {
            if (entry.path().extension() != ".qvg")
                continue;
            ++seen;
            const std::string name = entry.path().stem().string();
            const std::vector<std::uint8_t> bytes = ReadBytes(entry.path());

            CGeometryUnitDocument plain;
            QCOMPARE(plain.LoadFromBytes(bytes), OpenResult::Opened);

            testing::FakeDocumentHost host;
            CGeometryUnitDocument doc;
            doc.SetHost(&host);
            CGeometryUnitView view(doc, nullptr);
            view.resize(page);
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            QVERIFY2(doc.OpenActivityFile(entry.path().string()), name.c_str());
            QCoreApplication::processEvents();

            // Nothing was spread: every shape is where the file put it.
            QCOMPARE(doc.manipulatives().size(), plain.manipulatives().size());
            for (std::size_t i = 0; i < doc.manipulatives().size(); ++i) {
                const C3DPointDouble a = doc.manipulatives()[i]->centre();
                const C3DPointDouble b = plain.manipulatives()[i]->centre();
                QVERIFY2(std::abs(a.x - b.x) < 1e-9 && std::abs(a.y - b.y) < 1e-9, name.c_str());
            }

            // Everything shows in the pane, and nothing lies under a problem's prompt window.
            const QRect pane = view.pane()->geometry();
            const CRect prompt = view.controller().GetPromptRect();
            const QRect promptRect(prompt.left, prompt.top, prompt.Width(), prompt.Height());
            for (const auto& m : doc.manipulatives()) {
                const CRect f = m->GetFrameOf();
                const QRect onPage =
                    QRect(f.left, f.top, f.Width(), f.Height())
                        .translated(pane.topLeft() -
                                    QPoint(view.pane()->scrollX(), view.pane()->scrollY()));
                QVERIFY2(pane.contains(onPage), name.c_str());
                if (doc.problemSetMode())
                    QVERIFY2(!onPage.intersects(promptRect), name.c_str());
            }
            if (name == "geopsA01" || name == "geopsC07" || name == "11c4" || name == "31s4")
                view.grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/class_") +
                                 QString::fromStdString(name) + QStringLiteral(".png"));
        }
        QVERIFY(seen >= 42);
    }

    void patternsActivitiesOpenCleanlyOnTheirPages() {
        int seen = 0;
        OpenEveryActivity(kPatternsInvestigations, QStringLiteral("Patterns"), seen);
        QCOMPARE(seen, 18);
    }

    void statisticsActivitiesOpenCleanlyOnTheirPages() {
        int seen = 0;
        OpenEveryActivity(kStatsInvestigations, QStringLiteral("Statistics"), seen);
        QCOMPARE(seen, 9);
    }

    void whatsMyCoreRunsFromTheMenuToItsScore() {
        // The program folder the build lays out: class/ beside the program.
        const QString programDir = QFileInfo(QStringLiteral(QUORVEL_CLASS_DIR)).absolutePath();
        QTemporaryDir personal;
        testing::FakeDocumentHost host;
        CMainFrame frame(&host);
        std::vector<std::string> opened;
        frame.SetDesktopOpener([&opened](const std::string& p) {
            opened.push_back(p);
            return true;
        });
        QVERIFY(frame.Start({}, programDir.toStdString(), personal.path().toStdString()));
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto page = [&frame] { return qobject_cast<CMenuView*>(frame.currentPage()); };
        Click(page()->button(1000)); // Tiles and Tessellations
        Click(page()->button(1011)); // Core Creations
        CMenuView* investigations = page();
        Click(investigations->button(1460)); // What's My Core? level A
        CUnitPage* unit = frame.unitPage();
        QVERIFY(unit);
        // The unit menu opened the unit's guide from the docs folder beside the program.
        QCOMPARE(opened.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(opened[0]),
                 programDir + QStringLiteral("/docs/Tiles Guide.rtf"));
        CUnitView* view = unit->view();
        CUnitDocument& doc = unit->document();
        QVERIFY(doc.problemSetMode());

        std::vector<std::string> files;
        QString score;
        quorvel::testing::PlayLevel(
            *view,
            [&](int problem) {
                const std::string& path = doc.activityPath();
                QVERIFY2(path.find("/class/geopsA") != std::string::npos, path.c_str());
                files.push_back(path);
                QCOMPARE(doc.questionCount(), 1);
                const int right = static_cast<int>(doc.questions()[0].answer);
                QVERIFY(right >= 0 && right < 4);
                auto* prompt = view->findChild<CProblemPromptWnd*>();
                QVERIFY(prompt && prompt->isVisible());
                CBitmapButton* check = view->button(kCheckCommand);
                if (problem == 0) {
                    // Three wrong tries open the way to the solution.
                    Click(qobject_cast<QAbstractButton*>(
                        prompt->control(kFirstChoiceId + (right + 1) % 4)));
                    for (int t = 0; t < kTriesPerProblem; ++t)
                        Click(check);
                    Click(view->button(kViewSolutionCommand));
                    QCOMPARE(host.prompter.LastText(), CoreSolutionText(doc.questions()[0]));
                } else {
                    Click(qobject_cast<QAbstractButton*>(prompt->control(kFirstChoiceId + right)));
                    Click(check);
                    QCOMPARE(host.prompter.LastText(), std::string(kAnswerCorrectText));
                }
            },
            score);
        QCOMPARE(score,
                 QStringLiteral("WHAT'S MY CORE? (Level A)\nYou got 4 of 5 problems correct."));
        // Five different level A problems, and Close left the unit for the menu.
        std::sort(files.begin(), files.end());
        QVERIFY(std::unique(files.begin(), files.end()) == files.end());
        QTRY_VERIFY(!frame.unitPage());
        QCOMPARE(frame.currentPage(), investigations);
    }
};

QTEST_MAIN(ClassDocumentsPageTest)
#include "class_documents_page_test.moc"

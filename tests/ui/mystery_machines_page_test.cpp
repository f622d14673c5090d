// The "Mystery Machines" problem files on the real Numbers page in the main window: opening one
// moves nothing, everything shows in the pane above the prompt window. A level C run played
// from the investigations menu through to its score, answering in the prompt window's fields.
#include "class_pages.h"
#include "fakes/fakes.h"
#include "patterns/number_machine.h"
#include "patterns/patterns_problems.h"
#include "problemsets/problem_set_controller.h"
#include "ui/app/bitmap_button.h"
#include "ui/app/main_frame.h"
#include "ui/app/menu_views.h"
#include "ui/app/unit_page.h"
#include "ui/patterns/numbers_view.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/problemsets/problem_prompt_wnd.h"
#include "ui/workspace/workspace_pane.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>

using namespace quorvel;
using quorvel::testing::Click;
using quorvel::testing::ReadBytes;

namespace {

// Types the answers in the prompt window: a value and an operator for each machine.
void Answer(CProblemPromptWnd& prompt, const std::vector<std::pair<std::string, int>>& steps) {
    for (std::size_t k = 0; k < steps.size(); ++k) {
        auto* field = qobject_cast<QLineEdit*>(prompt.control(kNumberFieldIds.at(k)));
        QVERIFY(field);
        field->clear();
        QTest::keyClicks(field, QString::fromStdString(steps[k].first));
        QCOMPARE(prompt.prompt().FieldText(kNumberFieldIds.at(k)), steps[k].first);
        auto* up = qobject_cast<QAbstractButton*>(prompt.control(kOperatorUpIds.at(k)));
        while (prompt.prompt().OperatorIndex(kOperatorFieldIds.at(k)) != steps[k].second)
            Click(up);
    }
}

} // namespace

class MysteryMachinesPageTest : public QObject {
    Q_OBJECT

private slots:
    void problemsSitOnThePageAsBuilt() {
        QSize page;
        quorvel::testing::UnitPageSize(page);
        if (QTest::currentTestFailed())
            return;
        QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
        int seen = 0;
        CQtTextMetrics metrics;
        for (const auto& entry : std::filesystem::directory_iterator(QUORVEL_CLASS_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("patps", 0) != 0)
                continue;
            ++seen;
            CNumberPatternsDocument plain;
            QCOMPARE(plain.LoadFromBytes(ReadBytes(entry.path())), OpenResult::Opened);
            testing::FakeDocumentHost host;
            CNumberPatternsDocument doc;
            doc.SetHost(&host);
            CNumberPatternsView view(doc, nullptr);
            view.resize(page);
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            QVERIFY2(doc.OpenActivityFile(entry.path().string()), name.c_str());
            QCoreApplication::processEvents();
            QCOMPARE(doc.viewRect(), plain.viewRect());
            const QRect pane = view.pane()->geometry();
            const CRect prompt = view.controller().GetPromptRect();
            const QRect promptRect(prompt.left, prompt.top, prompt.Width(), prompt.Height());
            for (std::size_t i = 0; i < doc.manipulatives().size(); ++i) {
                CRect f;
                doc.manipulatives()[i]->GetBounds(f);
                CRect g;
                plain.manipulatives()[i]->GetBounds(g);
                QCOMPARE(f, g);
                const QRect onPage =
                    QRect(f.left, f.top, f.Width(), f.Height())
                        .translated(pane.topLeft() -
                                    QPoint(view.pane()->scrollX(), view.pane()->scrollY()));
                QVERIFY2(pane.contains(onPage), name.c_str());
                QVERIFY2(!onPage.intersects(promptRect), name.c_str());
                // A run's output card shows under the machine, above the prompt window.
                if (const auto* m =
                        dynamic_cast<const CNumberMachine*>(doc.manipulatives()[i].get())) {
                    const CSize card = NumberCardSize(metrics);
                    const CPoint at = m->OutputCardPlace(0, card);
                    const QRect out = QRect(at.x, at.y, card.cx, card.cy)
                                          .translated(onPage.topLeft() - QPoint(f.left, f.top));
                    QVERIFY2(pane.contains(out) && !out.intersects(promptRect), name.c_str());
                }
            }
            if (name == "patpsC03.qvn")
                view.grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/class_patpsC03.png"));
        }
        QCOMPARE(seen, 24);
    }

    void mysteryMachinesRunFromTheMenuToItsScore() {
        const QString programDir = QFileInfo(QStringLiteral(QUORVEL_CLASS_DIR)).absolutePath();
        QTemporaryDir personal;
        testing::FakeDocumentHost host;
        CMainFrame frame(&host);
        frame.SetDesktopOpener([](const std::string&) { return true; });
        QVERIFY(frame.Start({}, programDir.toStdString(), personal.path().toStdString()));
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto page = [&frame] { return qobject_cast<CMenuView*>(frame.currentPage()); };
        Click(page()->button(1001)); // Patterns
        Click(page()->button(1011)); // Linked Machines
        CMenuView* investigations = page();
        Click(investigations->button(1462)); // Mystery Machines level C
        CUnitPage* unit = frame.unitPage();
        QVERIFY(unit);
        auto* view = qobject_cast<CNumberPatternsView*>(unit->view());
        QVERIFY(view);
        auto& doc = static_cast<CNumberPatternsDocument&>(unit->document());
        QVERIFY(doc.problemSetMode());

        QString score;
        quorvel::testing::PlayLevel(
            *view,
            [&](int problem) {
                QVERIFY2(doc.activityPath().find("/class/patpsC") != std::string::npos,
                         doc.activityPath().c_str());
                auto* prompt = view->findChild<CProblemPromptWnd*>();
                QVERIFY(prompt && prompt->isVisible());
                // The answer is the machines themselves, as the teacher built them.
                std::vector<std::pair<std::string, int>> machines;
                const CMysterySteps found = CollectMysterySteps(doc.manipulatives());
                QVERIFY(found.ok() && found.steps.size() == 2);
                CFunctionMachine* first = nullptr;
                for (const auto& m : doc.manipulatives())
                    if (m->GetType() == kTypeNumberMachine && !first)
                        first = static_cast<CFunctionMachine*>(m.get())->FirstMachine();
                for (auto* m = static_cast<CNumberMachine*>(first); m;
                     m = m->output() ? static_cast<CNumberMachine*>(m->output()->output())
                                     : nullptr)
                    machines.push_back({m->builtInCard(2).text(), m->operation()});
                QCOMPARE(machines.size(), std::size_t{2});
                CBitmapButton* check = view->button(kCheckCommand);
                if (problem == 0) {
                    // Three wrong tries open the Mystery tool and View Solution, which shows the
                    // machines.
                    QCOMPARE(doc.options().mysteryTool, 0);
                    Answer(*prompt, {{"0", 0}, {"0", 0}});
                    for (int t = 0; t < kTriesPerProblem; ++t)
                        Click(check);
                    QCOMPARE(
                        host.prompter.LastText(),
                        std::string("Your solution is not correct. Use the Mystery Tool to see "
                                    "the correct answer."));
                    QCOMPARE(doc.options().mysteryTool, 1);
                    Click(view->button(kViewSolutionCommand));
                    QCOMPARE(first->mystery(), 0);
                    QCOMPARE(prompt->prompt().FieldText(kNumberFieldIds[1]), machines[1].first);
                } else {
                    Answer(*prompt, machines);
                    Click(check);
                    QCOMPARE(host.prompter.LastText(), std::string(kAnswerCorrectText));
                }
            },
            score);
        QCOMPARE(score, QStringLiteral("MYSTERY MACHINES (Level C)\nYou got 4 of 5 problems "
                                       "correct."));
        QTRY_VERIFY(!frame.unitPage());
        QCOMPARE(frame.currentPage(), investigations);
    }
};

QTEST_MAIN(MysteryMachinesPageTest)
#include "mystery_machines_page_test.moc"

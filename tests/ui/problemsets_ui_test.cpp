// The problem-set windows offscreen: a prompt with an operator, a number and a multiple-choice
// question laid out and answered with the mouse and the keyboard, the score window's buttons,
// and the Check button's art for the tries left. The windows are saved as PNGs under the build
// tree for review.
#include "app/problem_rules.h"
#include "problemsets/problem_set_controller.h"
#include "problemsets/test_unit.h"
#include "ui/app/bitmap_button.h"
#include "ui/platform/qt_text.h"
#include "ui/problemsets/problem_prompt_wnd.h"
#include "ui/problemsets/problem_set_host.h"
#include "ui/problemsets/problem_set_page.h"
#include "ui/problemsets/score_dialog.h"
#include "ui/workspace/unit_view.h"
#include "workspace/string_table.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace quorvel;

namespace {

void Save(QWidget* w, const QString& name) {
    QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
    QVERIFY(
        w->grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/") + name + QStringLiteral(".png")));
}

CQuestionSet ThreeQuestions() {
    CQuestionSet qs;
    qs[0].type = kOperatorQuestion;
    qs[0].prompt = "Which operator makes 12 ? 3 = 4 true?";
    qs[0].answer = 3;
    qs[1].type = kNumberQuestion;
    qs[1].prompt = "How many sides does a hexagon have?";
    qs[1].answer = 6;
    qs[2].type = kChoiceQuestion;
    qs[2].prompt = "Which core was used to create the tessellation?  Remember that several cores "
                   "may work, choose the smallest core that can be used to make the tessellation.";
    qs[2].choices = {"Core #1", "Core #2", "Core #3", "Core #4", ""};
    qs[2].answer = 1;
    return qs;
}

// The workspace colour behind the prompt, as on a unit's page.
class Page : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0, 255, 255));
    }
};

// A unit page with the exit, broom and problem-set buttons where the workspace page has them.
class ButtonPage : public QWidget, public IUnitViewWindow {
public:
    std::unique_ptr<CUnitViewController> controller;
    std::map<int, CBitmapButton*> buttons;
    int closed = 0;

    ButtonPage() {
        resize(800, 600);
        const auto add = [this](int id, CBitmapButton::Bitmaps art, QRect at) {
            auto* b = new CBitmapButton(id, art, QString::number(id), this);
            b->setGeometry(at);
            connect(b, &QAbstractButton::clicked, this, [this, id] { controller->OnCommand(id); });
            buttons[id] = b;
        };
        add(kExitCommand, {168, 169, 204, 0}, {0, 0, 48, 41});
        add(kBroomCommand, {166, 167, 203, 0}, {0, 45, 48, 41});
        add(kCheckCommand, {430, 428, 429, 0}, {670, 550, 120, 41});
        add(kContinueCommand, {427, 426, 0, 0}, {670, 550, 120, 41});
        add(kViewSolutionCommand, {437, 438, 0, 0}, {545, 550, 120, 41});
        for (int id : {kCheckCommand, kContinueCommand, kViewSolutionCommand})
            buttons[id]->hide();
    }
    void EnableView(bool) override {}
    void ShowButton(int id, bool shown) override { buttons[id]->setVisible(shown); }
    CRect ButtonRect(int id) const override {
        const QRect r = buttons.at(id)->geometry();
        return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    }
    int ControlIdAt(CPoint) const override { return 0; }
    void PressToolButton(int) override {}
    void CloseUnit() override { ++closed; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0, 255, 255));
    }
};

} // namespace

class ProblemSetsUiTest : public QObject {
    Q_OBJECT

private slots:
    void promptLaysOutAndTakesAnswers() {
        Page page;
        page.resize(800, 600);
        CProblemPrompt prompt;
        prompt.SetQuestions(ThreeQuestions(), 3);
        CProblemSetHost host(&page, {});
        // Where a page with its drawer on the left puts the prompt above Check.
        host.CreatePromptWindow(prompt, {150, 315, 715, 560});
        prompt.SetCounter("1 of 5");
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        CProblemPromptWnd* wnd = host.promptWindow();
        QVERIFY(wnd);
        QCOMPARE(wnd->geometry(), QRect(150, 315, 565, 245));

        // Every control is where the layout says, inside the window, and none overlaps another.
        std::vector<QRect> rects;
        for (const CPromptControl& c : prompt.controls()) {
            QWidget* w = wnd->control(c.id);
            QVERIFY2(w, qPrintable(QString::number(c.id)));
            QVERIFY(w->isVisible());
            const CPromptPlace* place = wnd->layout().Place(c.id);
            QVERIFY(place);
            QCOMPARE(w->geometry(), QRect(place->rect.left, place->rect.top, place->rect.Width(),
                                          place->rect.Height()));
            QVERIFY(wnd->rect().contains(w->geometry()));
            for (const QRect& r : rects)
                QVERIFY(!r.intersects(w->geometry()));
            rects.push_back(w->geometry());
        }
        QVERIFY2(wnd->contentHeight() <= wnd->height(), "the three questions fit");
        // The short texts have their fields beside them; the radios come under their prompt.
        QCOMPARE(wnd->control(1472)->y(),
                 wnd->layout().lines[0].at.y -
                     (wnd->control(1472)->height() - QFontMetrics(wnd->font()).height()) / 2);
        QVERIFY(wnd->control(1484)->y() > wnd->layout().lines.back().at.y);
        QCOMPARE(qobject_cast<QRadioButton*>(wnd->control(1486))->text(),
                 QStringLiteral("Core #3"));
        QVERIFY(!wnd->control(1488));

        // The pupil answers: the operator's arrows, the keyboard in the number field, a radio.
        auto* op = qobject_cast<QLineEdit*>(wnd->control(1472));
        auto* number = qobject_cast<QLineEdit*>(wnd->control(1474));
        QVERIFY(op && number);
        QTest::mouseClick(wnd->control(1478), Qt::LeftButton);
        QCOMPARE(op->text(), QStringLiteral("\u00F7"));
        QVERIFY(prompt.Started());
        QTest::mouseClick(wnd->control(1476), Qt::LeftButton);
        QCOMPARE(prompt.OperatorIndex(1472), 0);
        op->setFocus();
        QTest::keyClick(op, Qt::Key_Down);
        QTest::keyClick(op, Qt::Key_Down);
        QCOMPARE(op->text(), QStringLiteral("\u00D7"));
        number->setFocus();
        QTest::keyClick(number, Qt::Key_Down);
        QCOMPARE(number->text(), QStringLiteral("100"));
        QTest::keyClick(number, Qt::Key_Up);
        QCOMPARE(number->text(), QStringLiteral("0"));
        number->clear();
        QTest::keyClicks(number, QStringLiteral("6x12"));
        QCOMPARE(number->text(), QStringLiteral("612"));
        QCOMPARE(prompt.FieldText(1474), "612");
        QTest::keyClick(number, Qt::Key_Backspace);
        QTest::keyClick(number, Qt::Key_Backspace);
        QCOMPARE(prompt.FieldText(1474), "6");
        QTest::mouseClick(wnd->control(1485), Qt::LeftButton);
        QCOMPARE(prompt.chosenChoice(), 1);
        CPromptAnswers answers;
        QCOMPARE(prompt.ReadAnswers(answers), kAnswersComplete);
        QCOMPARE(answers[0].value, 2.0);
        QCOMPARE(answers[1].value, 6.0);
        Save(&page, QStringLiteral("problem_prompt"));

        // After the last try the radios are greyed; a new problem clears the answers.
        prompt.EnableChoices(false);
        QVERIFY(!wnd->control(1484)->isEnabled());
        QTest::mouseClick(wnd->control(1484), Qt::LeftButton);
        QCOMPARE(prompt.chosenChoice(), 1);
        Save(&page, QStringLiteral("problem_prompt_last_try"));
        prompt.SetQuestions(ThreeQuestions(), 3);
        QCOMPARE(qobject_cast<QLineEdit*>(wnd->control(1474))->text(), QString());
        QVERIFY(!qobject_cast<QRadioButton*>(wnd->control(1485))->isChecked());
        QVERIFY(wnd->control(1485)->isEnabled());

        host.DestroyPromptWindow();
        QVERIFY(!host.promptWindow());

        // Four questions in the 175 pixels above Check: the window grows upwards to show all.
        CQuestionSet four = ThreeQuestions();
        four[3] = four[1];
        four[3].prompt = "How many corners does a square have?";
        prompt.SetQuestions(four, 4);
        host.CreatePromptWindow(prompt, {150, 315, 715, 490});
        wnd = host.promptWindow();
        QCOMPARE(wnd->geometry().bottom(), 489);
        QVERIFY(wnd->y() < 315);
        QVERIFY(wnd->contentHeight() <= wnd->height());
        QVERIFY(wnd->rect().contains(wnd->control(1483)->geometry()));
        Save(&page, QStringLiteral("problem_prompt_four"));
    }

    void scoreWindowOffersCloseAndMore() {
        CScoreDialog more(QStringLiteral("WHAT'S MY CORE? (Level A)\nYou got 4 of 5 problems "
                                         "correct."),
                          true, nullptr);
        more.show();
        QVERIFY(QTest::qWaitForWindowExposed(&more));
        const int bottom = more.height() - 4;
        QCOMPARE(more.closeButton()->geometry(), QRect(4, bottom - 41, 48, 41));
        QVERIFY(more.moreButton());
        QCOMPARE(more.moreButton()->geometry().topLeft(), QPoint(4 + 48 + 8, bottom - 41));
        QCOMPARE(more.closeButton()->accessibleName(), QStringLiteral("Close"));
        QCOMPARE(more.moreButton()->accessibleName(), QStringLiteral("Close"));
        QVERIFY(more.label()->alignment() & Qt::AlignHCenter);
        QVERIFY(more.label()->wordWrap());
        QVERIFY(more.label()->geometry().bottom() < more.closeButton()->y());
        Save(&more, QStringLiteral("score_more"));
        QTest::mouseClick(more.moreButton(), Qt::LeftButton);
        QCOMPARE(more.result(), kScoreMoreProblems);

        CScoreDialog last(QStringLiteral("MYSTERY MACHINES (Level C)\nYou did not complete any "
                                         "problems."),
                          false, nullptr);
        last.show();
        QVERIFY(QTest::qWaitForWindowExposed(&last));
        QVERIFY(!last.moreButton());
        Save(&last, QStringLiteral("score_close"));
        QTest::keyClick(last.closeButton(), Qt::Key_Space);
        QCOMPARE(last.result(), kScoreClose);
    }

    // A run on a page: the pupil clicks the choices, Check, View Solution and Continue.
    void aRunOnAPage() {
        QTemporaryDir classDir;
        testing::FakeDocumentHost docHost;
        docHost.directories.classDir = ToStdString(classDir.path());
        for (int n = 1; n <= 5; ++n) {
            testing::CTestUnitDocument file;
            file.questions()[0] = testing::CoreQuestion(n % 4);
            file.SetQuestionCount(1);
            QVERIFY(file.OnSaveDocument(docHost.directories.classDir + "/" +
                                        ProblemFileName(kGeometryProblemFiles, kLevelA, n)));
        }
        testing::CTestUnitDocument doc;
        doc.SetHost(&docHost);
        doc.SetProblemCount(5);
        ButtonPage page;
        page.controller = ProblemSetControllerFactory(
            [] { return std::make_unique<testing::ChosenRadioRule>(); }, false)(doc, page);
        auto* controller = dynamic_cast<CProblemSetPageController*>(page.controller.get());
        QVERIFY(controller);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));

        std::string path = docHost.directories.classDir;
        doc.AppendProblemFileName(path, kLevelA);
        QVERIFY(doc.OpenActivityFile(path));
        doc.SetProblemSequence(CProblemPosition{0, 3, 0}, 5);
        CProblemPromptWnd* wnd = controller->host().promptWindow();
        QVERIFY(wnd);
        QVERIFY(wnd->isVisible());
        QCOMPARE(wnd->geometry().bottom(), 550 - 10 - 1);
        QCOMPARE(wnd->geometry().right(), 670 + 120 - 5 - 1);
        QVERIFY(page.buttons[kCheckCommand]->isVisible());

        const int right =
            std::stoi(doc.activityPath().substr(doc.activityPath().size() - 6, 2)) % 4;
        const int wrong = (right + 1) % 4;
        QTest::mouseClick(wnd->control(kFirstChoiceId + wrong), Qt::LeftButton);
        QTest::mouseClick(page.buttons[kCheckCommand], Qt::LeftButton);
        QCOMPARE(docHost.prompter.LastText(), std::string(kTryAgainText));
        QCOMPARE(page.buttons[kCheckCommand]->bitmaps().up, 431);
        Save(&page, QStringLiteral("problem_page_two_tries"));
        QTest::mouseClick(page.buttons[kCheckCommand], Qt::LeftButton);
        QTest::mouseClick(page.buttons[kCheckCommand], Qt::LeftButton);
        QCOMPARE(docHost.prompter.LastText(), std::string(kLastTryViewSolutionText));
        QVERIFY(page.buttons[kContinueCommand]->isVisible());
        QVERIFY(page.buttons[kViewSolutionCommand]->isVisible());
        QVERIFY(!page.buttons[kCheckCommand]->isVisible());
        QVERIFY(!page.buttons[kExitCommand]->isVisible());
        QTest::mouseClick(page.buttons[kViewSolutionCommand], Qt::LeftButton);
        QVERIFY(qobject_cast<QRadioButton*>(wnd->control(kFirstChoiceId + right))->isChecked());
        Save(&page, QStringLiteral("problem_page_solution"));

        QTest::mouseClick(page.buttons[kContinueCommand], Qt::LeftButton);
        wnd = controller->host().promptWindow();
        QVERIFY(wnd);
        QCOMPARE(controller->prompt().counter(), std::string("2 of 5"));
        QVERIFY(page.buttons[kCheckCommand]->isVisible());
        QCOMPARE(page.buttons[kCheckCommand]->bitmaps().up, 430);
        QVERIFY(!page.buttons[kContinueCommand]->isVisible());

        // The last problems, then the score.
        QString score;
        controller->host().scoreAnswer = [&score](CScoreDialog& d) {
            score = d.label()->text();
            return kScoreClose;
        };
        for (int i = 1; i < 5; ++i) {
            const std::string& p = doc.activityPath();
            controller->prompt().ChooseRadio(kFirstChoiceId +
                                             std::stoi(p.substr(p.size() - 6, 2)) % 4);
            QTest::mouseClick(page.buttons[kCheckCommand], Qt::LeftButton);
            QTest::mouseClick(page.buttons[kContinueCommand], Qt::LeftButton);
        }
        QCOMPARE(score,
                 QStringLiteral("WHAT'S MY CORE? (Level A)\nYou got 4 of 5 problems correct."));
        QVERIFY(!controller->host().promptWindow());
        QCOMPARE(page.closed, 1);
    }

    // The workspace page with the problem-set controller: the prompt above its Check button,
    // Check's art for the tries left, Help over the answers, leaving during the run.
    void onTheWorkspacePage() {
        QTemporaryDir classDir;
        testing::FakeDocumentHost docHost;
        docHost.directories.classDir = ToStdString(classDir.path());
        for (int n = 1; n <= 5; ++n) {
            testing::CTestUnitDocument file;
            file.questions()[0] = testing::CoreQuestion(n % 4);
            file.questions()[1].type = kNumberQuestion;
            file.questions()[1].prompt = "How many tiles meet at each corner?";
            file.SetQuestionCount(2);
            file.SetLevel(kLevelB);
            QVERIFY(file.OnSaveDocument(docHost.directories.classDir + "/" +
                                        ProblemFileName(kGeometryProblemFiles, kLevelB, n)));
        }
        testing::CTestUnitDocument doc;
        doc.SetHost(&docHost);
        doc.SetProblemCount(5);
        CUnitView view(doc, nullptr,
                       ProblemSetControllerFactory(
                           [] { return std::make_unique<testing::ChosenRadioRule>(); }, true));
        view.resize(800, 600);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto& controller = dynamic_cast<CProblemSetPageController&>(view.controller());
        QVERIFY(controller.authoring());

        std::string path = docHost.directories.classDir;
        doc.AppendProblemFileName(path, kLevelB);
        QVERIFY(doc.OpenActivityFile(path));
        doc.SetProblemSequence(CProblemPosition{0, 3, 0}, 5);
        CProblemPromptWnd* wnd = controller.host().promptWindow();
        QVERIFY(wnd && wnd->isVisible());
        const QRect check = view.button(kCheckCommand)->geometry();
        QVERIFY(view.button(kCheckCommand)->isVisible());
        QCOMPARE(wnd->geometry().bottom(), check.top() - 10 - 1);
        QCOMPARE(wnd->geometry().right(), check.right() - 5);
        QCOMPARE(view.ControlIdAt({wnd->x() + 10, wnd->y() + 10}), kPromptWindowId);
        // The answer controls have no help of their own: Help explains the prompt window.
        const QPoint radio = wnd->mapTo(&view, wnd->control(1485)->geometry().center());
        QCOMPARE(view.ControlIdAt({radio.x(), radio.y()}), kPromptWindowId);
        QCOMPARE(HelpText(kPromptWindowId), std::string("The problem set prompt window."));

        QTest::mouseClick(view.button(kCheckCommand), Qt::LeftButton);
        QCOMPARE(docHost.prompter.LastText(), std::string(kAnswerMissingText));
        const std::string& p = doc.activityPath();
        const int right = std::stoi(p.substr(p.size() - 6, 2)) % 4;
        QTest::mouseClick(wnd->control(kFirstChoiceId + (right + 1) % 4), Qt::LeftButton);
        QTest::mouseClick(wnd->control(1480), Qt::LeftButton);
        QTest::mouseClick(view.button(kCheckCommand), Qt::LeftButton);
        QCOMPARE(docHost.prompter.LastText(), std::string(kTryAgainText));
        QCOMPARE(view.button(kCheckCommand)->bitmaps().up, 431);
        QVERIFY(view.CanExit());
        // Return in an answer checks it too.
        auto* tiles = qobject_cast<QLineEdit*>(wnd->control(1474));
        tiles->setFocus();
        QTest::keyClick(tiles, Qt::Key_Return);
        QCOMPARE(docHost.prompter.LastText(), std::string(kTryAgainText));
        QCOMPARE(view.button(kCheckCommand)->bitmaps().up, 434);
        Save(&view, QStringLiteral("problem_workspace_page"));

        // Leaving now asks to save the started problem, then shows the score with its back
        // button alone: further problems make no sense on the way out.
        QString score;
        bool offeredMore = true;
        controller.host().scoreAnswer = [&score, &offeredMore](CScoreDialog& d) {
            score = d.label()->text();
            offeredMore = d.moreButton() != nullptr;
            return kScoreClose;
        };
        QSignalSpy left(&view, &CUnitView::leaveRequested);
        docHost.prompter.answers = {MessageResult::No};
        QTest::mouseClick(view.button(kExitCommand), Qt::LeftButton);
        QCOMPARE(docHost.prompter.messages.back().text, std::string(kAskToSave));
        QCOMPARE(score,
                 QStringLiteral("WHAT'S MY CORE? (Level B)\nYou did not complete any problems."));
        QVERIFY(!offeredMore);
        QCOMPARE(left.count(), 1);
    }

    void eachUnitsScoreHasItsHeading() {
        const CProblemPosition done{5, 3, 3};
        QCOMPARE(ScoreText(ProblemSetHeading(UnitKind::Geometry), kLevelA, done, 5),
                 std::string("WHAT'S MY CORE? (Level A)\r\nYou got 3 of 5 problems correct."));
        QCOMPARE(ScoreText(ProblemSetHeading(UnitKind::Numbers), kLevelB, done, 5),
                 std::string("MYSTERY MACHINES (Level B)\r\nYou got 3 of 5 problems correct."));
        QCOMPARE(ScoreText(ProblemSetHeading(UnitKind::Statistics), kLevelC, done, 5),
                 std::string("DID YOU MEAN THAT? (Level C)\r\nYou got 3 of 5 problems correct."));
        QCOMPARE(std::string(ProblemSetHeading(UnitKind::Codes)), std::string());
    }

    void hostShowsTheScoreAndTheTriesOnCheck() {
        Page page;
        CBitmapButton check(kCheckCommand, {430, 428, 429, 0}, QStringLiteral("Check"), &page);
        CProblemSetHost host(&page, [&check] { return &check; });
        host.SetCheckBitmaps(CheckBitmapsForTries(2));
        QCOMPARE(check.bitmaps().up, 431);
        QCOMPARE(check.bitmaps().down, 433);
        QCOMPARE(check.bitmaps().focus, 432);
        host.SetCheckBitmaps(CheckBitmapsForTries(1));
        QCOMPARE(check.bitmaps().up, 434);

        QString shown;
        bool offered = false;
        host.scoreAnswer = [&](CScoreDialog& d) {
            shown = d.label()->text();
            offered = d.moreButton() != nullptr;
            return kScoreMoreProblems;
        };
        QCOMPARE(
            host.ShowScore("WHAT'S MY CORE? (Level B)\r\nYou got 2 of 5 problems correct.", true),
            kScoreMoreProblems);
        QCOMPARE(shown,
                 QStringLiteral("WHAT'S MY CORE? (Level B)\nYou got 2 of 5 problems correct."));
        QVERIFY(offered);
    }
};

QTEST_MAIN(ProblemSetsUiTest)
#include "problemsets_ui_test.moc"

// The Tiles and Tessellations page offscreen: a shape dragged out of drawer 1 and turned by the
// Rot. R button on real timers, a selection dropped back into its drawer, a script recorded
// and played, an anglemeter placed, the menu, and a PNG of a busy workspace for review.
#include "fakes/fakes.h"
#include "geometry/anglemeter_manipulative.h"
#include "geometry/geometry_document.h"
#include "geometry/geometry_view_controller.h"
#include "geometry/poly_shape_manipulative.h"
#include "geometry/shape_catalogue.h"
#include "geometry/tessellation_options.h"
#include "ui/app/bitmap_button.h"
#include "ui/art/art.h"
#include "ui/geometry/command_panel.h"
#include "ui/geometry/core_question_dialog.h"
#include "ui/geometry/drawer_pane.h"
#include "ui/geometry/geometry_unit_view.h"
#include "ui/geometry/script_panel.h"
#include "ui/problemsets/problem_prompt_wnd.h"
#include "ui/workspace/art_button.h"
#include "ui/workspace/tool_palette.h"
#include "ui/workspace/workspace_pane.h"
#include "workspace/string_table.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

#include <cmath>
#include <numbers>

using namespace quorvel;
using quorvel::testing::FakeDocumentHost;

namespace {

// The direction of a shape's first segment in degrees, y growing downwards.
double FirstEdgeDegrees(const CManipulative& m) {
    const CLine& line = m.lines().front();
    return std::atan2(line.end().y - line.start().y, line.end().x - line.start().x) * 180.0 /
           std::numbers::pi;
}

class AuthoringHost : public FakeDocumentHost {
public:
    bool AuthoringMode() const override { return true; }
};

bool HasAction(QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions())
        if (a->text() == text)
            return true;
    return false;
}

} // namespace

class GeometryViewTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FakeDocumentHost> m_host;
    std::unique_ptr<CGeometryUnitDocument> m_doc;
    std::unique_ptr<CGeometryUnitView> m_view;

    CGeometryViewController& Controller() { return m_view->geometry(); }
    CWorkspacePane* Pane() { return m_view->pane(); }
    QAbstractButton* Command(int id) { return m_view->commandPanel()->button(id); }

    // Drags the picture of `slot` of the open drawer to `onPane`.
    void DragFromDrawer(int slot, QPoint onPane) {
        CDrawerSlotWidget* w = m_view->drawerPane()->slotWidget(slot);
        const QPoint target = w->mapFromGlobal(Pane()->mapToGlobal(onPane));
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
        QTest::mouseMove(w, w->rect().center() + QPoint(0, -20));
        QTest::mouseMove(w, target);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, target);
    }

    void ClickPane(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(Pane(), Qt::LeftButton, modifiers, at);
    }

    bool WaitForAnimation() {
        return QTest::qWaitFor([this] { return !Controller().commands().IsAnimating(); }, 5000);
    }

    void ChooseTool(int code) {
        QTest::mouseClick(m_view->palette()->button(ToolCommand(code)), Qt::LeftButton);
        QCOMPARE(m_doc->currentTool(), code);
    }

private slots:
    void init() {
        m_host = std::make_unique<FakeDocumentHost>();
        m_doc = std::make_unique<CGeometryUnitDocument>();
        m_doc->SetHost(m_host.get());
        m_view = std::make_unique<CGeometryUnitView>(*m_doc, nullptr);
        m_view->resize(800, 575);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }

    void cleanup() {
        m_view.reset();
        m_doc.reset();
    }

    void panelsDoNotOverlap() {
        const QRect pane = Pane()->geometry();
        QVERIFY(pane.width() > 600 && pane.height() > 330);
        const std::vector<QWidget*> others{m_view->commandPanel(), m_view->drawerPane(),
                                           m_view->palette(), m_view->button(kExitCommand),
                                           m_view->button(kBroomCommand)};
        for (QWidget* w : others) {
            QVERIFY2(!pane.intersects(w->geometry()), qPrintable(w->accessibleName()));
            QVERIFY(m_view->rect().contains(w->geometry()));
        }
        QVERIFY(!m_view->commandPanel()->geometry().intersects(
            m_view->button(kBroomCommand)->geometry()));
        // Every command button shows its whole caption.
        for (const CCommandButton& info : ShapeCommandButtons()) {
            auto* b = qobject_cast<QPushButton*>(Command(info.id));
            QVERIFY(b);
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) + 8 <= b->width(), info.caption);
            QCOMPARE(b->toolTip(), QString::fromLatin1(info.toolTip));
            QCOMPARE(b->accessibleName(), QString::fromLatin1(info.caption));
            QVERIFY(!b->shortcut().isEmpty());
        }
        for (const CColorButton& info : ColorButtons()) {
            QCOMPARE(Command(info.id)->accessibleName(), QString::fromLatin1(info.name));
            QCOMPARE(Command(info.id)->toolTip(),
                     QStringLiteral("Click a color to change the color of the selected shapes."));
        }
        QCOMPARE(m_view->unitMenu()->title(), QStringLiteral("Te&ssellations"));
        QStringList items;
        for (QAction* a : m_view->unitMenu()->actions())
            items << a->text();
        QCOMPARE(
            items,
            (QStringList{QStringLiteral("Send to &Back"), QStringLiteral("Bring to &Front"),
                         QStringLiteral("&Select All Shapes"), QStringLiteral("&Clear Anglemeters"),
                         QStringLiteral("&Reset Rotation Point"),
                         QStringLiteral("&Tessellation Options...")}));
    }

    void shapeDraggedOutOfDrawerOneTurnsThirtyDegrees() {
        QCOMPARE(m_view->drawerPane()->slotWidget(0)->accessibleName(), QStringLiteral("triangle"));
        DragFromDrawer(0, QPoint(200, 150));
        QCOMPARE(m_doc->manipulatives().size(), std::size_t{1});
        CManipulative* shape = m_doc->manipulatives().front().get();
        QCOMPARE(shape->kind(), 0);
        const CPoint expected = m_view->ToWorkspace(QPoint(200, 150));
        // A fixed shape lands on whole pixels: its centre within a pixel of the drop point.
        QVERIFY(std::fabs(shape->centre().x - expected.x) <= 1.0);
        QVERIFY(std::fabs(shape->centre().y - expected.y) <= 1.0);

        ClickPane(QPoint(200, 150));
        QVERIFY(shape->selected());
        const double before = FirstEdgeDegrees(*shape);
        const C3DPointDouble centre = shape->centre();
        auto* angle = m_view->commandPanel()->angleBox();
        angle->setText(QStringLiteral("30"));
        QTest::mouseClick(Command(kCmdRotateRight), Qt::LeftButton);
        QVERIFY(Controller().commands().IsAnimating());
        QVERIFY(WaitForAnimation());
        // Clockwise on the screen by 30 degrees about its own centre.
        double turned = FirstEdgeDegrees(*shape) - before;
        if (turned < -180)
            turned += 360;
        QVERIFY2(std::fabs(turned - 30.0) < 1e-6, qPrintable(QString::number(turned)));
        QVERIFY(std::fabs(shape->centre().x - centre.x) < 1e-6);
        QVERIFY(std::fabs(shape->centre().y - centre.y) < 1e-6);

        // The whole turn is one step.
        QVERIFY(m_doc->Undo());
        const double undone = FirstEdgeDegrees(*m_doc->manipulatives().front());
        QVERIFY(std::fabs(undone - before) < 1e-6);
    }

    void selectionDroppedOnTheDrawerGoesBack() {
        DragFromDrawer(1, QPoint(150, 120));
        DragFromDrawer(3, QPoint(350, 150));
        QCOMPARE(m_doc->manipulatives().size(), std::size_t{2});
        const QPoint drawer =
            Pane()->mapFrom(m_view.get(), m_view->drawerPane()->geometry().center());
        QTest::mousePress(Pane(), Qt::LeftButton, Qt::NoModifier, QPoint(150, 120));
        QTest::mouseMove(Pane(), QPoint(150, 250));
        QTest::mouseRelease(Pane(), Qt::LeftButton, Qt::NoModifier, drawer);
        QCOMPARE(m_doc->manipulatives().size(), std::size_t{1});
        QCOMPARE(m_doc->manipulatives().front()->kind(), 3);
    }

    void enterInAStudentDrawerLabelOnlyEndsTheLabel() {
        DragFromDrawer(1, QPoint(250, 170));
        ClickPane(QPoint(250, 170));
        while (Controller().currentDrawer() != 3)
            QTest::mouseClick(m_view->drawerPane()->nextButton(), Qt::LeftButton);
        QVERIFY(m_doc->PutSelectionIntoStudentDrawer(0));
        const std::size_t shapes = m_doc->manipulatives().size();
        QLineEdit* label = m_view->drawerPane()->slotWidget(0)->labelBox();
        QVERIFY(label->isVisible());
        label->setFocus();
        QTest::keyClicks(label, QStringLiteral("core"));
        QTest::keyClick(label, Qt::Key_Return);
        QCOMPARE(m_doc->manipulatives().size(), shapes);
        QVERIFY(!label->hasFocus());
        QCOMPARE(m_doc->StudentDrawerLabel(3, 0), std::string("core"));
    }

    void aTessellationFromTheKeyboardAlone() {
        CDrawerSlotWidget* square = m_view->drawerPane()->slotWidget(1);
        square->setFocus();
        QTest::keyClick(square, Qt::Key_Return);
        QTest::keyClick(square, Qt::Key_Space);
        QCOMPARE(m_doc->manipulatives().size(), std::size_t{2});
        const CRect first = m_doc->manipulatives()[0]->GetFrameOf();
        QVERIFY(m_doc->manipulatives()[1]->GetFrameOf().left > first.right - 4);

        m_view->setFocus();
        QTest::keyClick(m_view.get(), Qt::Key_Tab);
        QTest::keyClick(m_view.get(), Qt::Key_Tab);
        QCOMPARE(m_doc->selection().size(), std::size_t{1});
        QCOMPARE(m_doc->selection()[0], m_doc->manipulatives()[0].get());
        QVERIFY(m_view->hasFocus());
        QTest::keyClick(m_view.get(), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(m_view.get(), Qt::Key_Down);
        QCOMPARE(m_doc->manipulatives()[0]->GetFrameOf().left, first.left + 10);
        QCOMPARE(m_doc->manipulatives()[0]->GetFrameOf().top, first.top + 1);
        // The command buttons' keys then work on it.
        QTest::mouseClick(Command(kCmdCopy), Qt::LeftButton);
        QCOMPARE(m_doc->manipulatives().size(), std::size_t{3});
    }

    void nextAndPreviousDrawer() {
        CDrawerPane* drawers = m_view->drawerPane();
        Controller().SetDrawerAvailable(3, false); // the student drawers 4 and 5
        QTest::mouseClick(drawers->nextButton(), Qt::LeftButton);
        QCOMPARE(Controller().currentDrawer(), 1);
        QCOMPARE(drawers->slotWidget(4)->accessibleName(), QStringLiteral("triangle 5"));
        QTest::mouseClick(drawers->nextButton(), Qt::LeftButton);
        QTest::mouseClick(drawers->nextButton(), Qt::LeftButton);
        QCOMPARE(Controller().currentDrawer(), 5);
        QCOMPARE(drawers->slotWidget(1)->accessibleName(), QStringLiteral("hexagon"));
        QVERIFY(drawers->slotWidget(5)->empty());
        QTest::mouseClick(drawers->previousButton(), Qt::LeftButton);
        QCOMPARE(Controller().currentDrawer(), 2);
        DragFromDrawer(5, QPoint(300, 200));
        QCOMPARE(m_doc->manipulatives().front()->kind(), 17);
    }

    void scriptRecordedAndPlayed() {
        m_view->SetScriptControlsShown(true);
        QVERIFY(m_view->scriptPanel()->isVisible());
        QVERIFY(!m_view->scriptPanel()->geometry().intersects(Pane()->geometry()));
        DragFromDrawer(1, QPoint(250, 170));
        ClickPane(QPoint(250, 170));
        QCOMPARE(m_doc->selection().size(), std::size_t{1});

        m_host->prompter.texts.push_back(std::string("turn"));
        QTest::mouseClick(m_view->scriptPanel()->button(kCmdRecord), Qt::LeftButton);
        QVERIFY(Controller().scripts().recording());
        QVERIFY(!m_view->drawerPane()->isEnabled());
        QVERIFY(!m_view->palette()->button(ToolCommand(kToolEraser))->isEnabled());
        CScriptWindow* window = m_view->scriptWindow(0);
        QVERIFY(window && window->isVisible());
        QVERIFY(window->button(kCmdEndRecord)->isVisible());

        m_view->commandPanel()->angleBox()->setText(QStringLiteral("60"));
        QTest::mouseClick(Command(kCmdRotateRight), Qt::LeftButton);
        QVERIFY(WaitForAnimation());
        QTest::mouseClick(Command(kCmdCopy), Qt::LeftButton);
        QCOMPARE(window->steps()->count(), 2);
        QCOMPARE(window->steps()->item(0)->text(), QStringLiteral("ROTATE RIGHT 60"));
        QCOMPARE(window->steps()->item(1)->text(), QStringLiteral("COPY"));
        QTest::mouseClick(window->button(kCmdEndRecord), Qt::LeftButton);
        QVERIFY(!Controller().scripts().recording());
        QVERIFY(m_view->drawerPane()->isEnabled());
        QCOMPARE(m_view->scriptPanel()->combo()->currentText(), QStringLiteral("turn"));

        // Played on the same shape: it turns another 60 degrees and leaves a second copy.
        CManipulative* shape = m_doc->selection().front();
        const double before = FirstEdgeDegrees(*shape);
        QTest::mouseClick(m_view->scriptPanel()->button(kCmdPlay), Qt::LeftButton);
        QVERIFY(Controller().scripts().playing());
        QVERIFY(m_view->scriptPanel()->button(kCmdStopPlay)->isEnabled());
        QVERIFY(QTest::qWaitFor([this] { return !Controller().scripts().playing(); }, 5000));
        QCOMPARE(m_doc->manipulatives().size(), std::size_t{3});
        double turned = FirstEdgeDegrees(*shape) - before;
        if (turned < -180)
            turned += 360;
        QVERIFY2(std::fabs(turned - 60.0) < 1e-6, qPrintable(QString::number(turned)));
    }

    void helpOverEveryVisibleControlHasItsText() {
        // Every control the page can show: scripts with a recording going on (End Record,
        // Repeat, Stop Repeat) and its script window, photos, every tool.
        CGeometryOptions options = m_doc->options();
        options.teacher[kOptPhotoFunctionality] = kPhotoFunctionAll;
        options.user[kOptPhotoFeatures] = kPhotoShowAll;
        m_doc->SetOptions(options);
        m_view->SetScriptControlsShown(true);
        DragFromDrawer(1, QPoint(250, 170));
        ClickPane(QPoint(250, 170));
        m_host->prompter.texts.push_back(std::string("walk"));
        QTest::mouseClick(m_view->scriptPanel()->button(kCmdRecord), Qt::LeftButton);
        QVERIFY(Controller().scripts().recording());
        QTest::mouseClick(Command(kCmdCopy), Qt::LeftButton);
        QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
        QVERIFY(m_view->grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/scripts_recording.png")));
        // The script row fits its controls with every caption whole.
        const QRect row = m_view->scriptPanel()->rect();
        for (QAbstractButton* b : m_view->scriptPanel()->findChildren<QAbstractButton*>()) {
            if (!b->isVisibleTo(m_view.get()))
                continue;
            QVERIFY2(row.contains(b->geometry()), qPrintable(b->text()));
            const int text = b->fontMetrics().horizontalAdvance(b->text().remove(QLatin1Char('&')));
            QVERIFY2(b->width() >= text + 8, qPrintable(b->text()));
        }

        int asked = 0;
        for (QWidget* w : m_view->findChildren<QWidget*>()) {
            if (!w->isVisible() || !w->property("controlId").isValid())
                continue;
            // The script window stands on its own: its controls' texts are checked as such.
            if (w->window() != m_view->window()) {
                const std::string text = HelpText(w->property("controlId").toInt());
                QVERIFY2(text.find("not found") == std::string::npos, qPrintable(w->objectName()));
                continue;
            }
            const QPoint centre = w->mapTo(m_view.get(), w->rect().center());
            m_host->prompter.messages.clear();
            Controller().HelpAt({centre.x(), centre.y()});
            QCOMPARE(m_host->prompter.messages.size(), std::size_t{1});
            const std::string& text = m_host->prompter.messages[0].text;
            QVERIFY2(
                text.find("not found") == std::string::npos,
                qPrintable(w->objectName() + QStringLiteral(": ") + QString::fromStdString(text)));
            ++asked;
        }
        QVERIFY(asked > 40);
        // The script window opens over the workspace, clear of the controls.
        CScriptWindow* window = m_view->scriptWindow(0);
        QVERIFY(window && window->isVisible());
        const QRect pane(Pane()->mapToGlobal(QPoint(0, 0)), Pane()->size());
        QVERIFY(pane.contains(window->frameGeometry().topLeft()) ||
                pane.contains(window->geometry()));
        // The angle box speaks for itself.
        const QPoint angle = m_view->commandPanel()->angleBox()->mapTo(m_view.get(), QPoint(5, 5));
        m_host->prompter.messages.clear();
        Controller().HelpAt({angle.x(), angle.y()});
        QCOMPARE(m_host->prompter.LastText(), HelpText(kCmdAngleSpin));
    }

    void anglemeterPlacedWithItsTool() {
        ChooseTool(kToolAnglemeter);
        QCOMPARE(Pane()->cursor().shape(), ToolCursor(kToolAnglemeter).shape());
        ClickPane(QPoint(300, 220));
        QCOMPARE(m_doc->manipulatives().size(), std::size_t{1});
        auto* meter = dynamic_cast<CAnglemeterManipulative*>(m_doc->manipulatives().front().get());
        QVERIFY(meter);
        QCOMPARE(meter->label(), std::string("90"));
        const CPoint vertex = m_view->ToWorkspace(QPoint(300, 220));
        QCOMPARE(meter->centre().Rounded().x, vertex.x);

        // The Help tool over it names it, then the Arrow is back; beside it the pane's own help.
        for (const QPoint at : {QPoint(300, 220), QPoint(60, 60)}) {
            ChooseTool(kToolHelp);
            QTest::mouseClick(m_view->clickCatcher(), Qt::LeftButton, Qt::NoModifier,
                              Pane()->mapTo(m_view.get(), at));
            QCOMPARE(m_doc->currentTool(), kToolArrow);
            QCOMPARE(m_host->prompter.LastText() == kAnglemeterHelp, at == QPoint(300, 220));
        }
        // Over the drawers the Help tool explains them.
        ChooseTool(kToolHelp);
        QTest::mouseClick(m_view->clickCatcher(), Qt::LeftButton, Qt::NoModifier,
                          m_view->drawerPane()->geometry().center());
        QCOMPARE(m_host->prompter.LastText(), std::string(kDrawerPaneHelp));
        // Resting the pointer on it shows the same as a tip.
        QHelpEvent tip(QEvent::ToolTip, QPoint(300, 220), Pane()->mapToGlobal(QPoint(300, 220)));
        QApplication::sendEvent(Pane(), &tip);
        QTRY_COMPARE(QToolTip::text(), QString::fromLatin1(kAnglemeterHelp));
    }

    // Turned straight, an anglemeter is still picked by an arm: it moves, and Flip works on it.
    void straightAnglemeterPickedByItsArm() {
        ChooseTool(kToolAnglemeter);
        ClickPane(QPoint(300, 220));
        auto* meter = dynamic_cast<CAnglemeterManipulative*>(m_doc->manipulatives().back().get());
        QVERIFY(meter);
        ChooseTool(kToolArrow);
        const auto drag = [this](QPoint from, QPoint to) {
            QTest::mousePress(Pane(), Qt::LeftButton, Qt::NoModifier, from);
            QTest::mouseMove(Pane(), (from + to) / 2);
            QTest::mouseMove(Pane(), to);
            QTest::mouseRelease(Pane(), Qt::LeftButton, Qt::NoModifier, to);
        };
        const CPoint end = meter->lines()[1].end().Rounded();
        drag(m_view->ToPane(end), QPoint(300, 320));
        QCOMPARE(meter->label(), std::string("180"));
        QVERIFY(m_doc->selection().empty());
        const C3DPointDouble vertex = meter->vertex();
        drag(QPoint(300, 180), QPoint(320, 190));
        QCOMPARE(meter->vertex().x, vertex.x + 20);
        QCOMPARE(m_doc->selection().size(), std::size_t{1});
        QVERIFY(Command(kCmdFlipHorizontal)->isEnabled());
        QTest::mouseClick(Command(kCmdFlipHorizontal), Qt::LeftButton);
        QVERIFY(WaitForAnimation());
        QCOMPARE(meter->label(), std::string("180"));
    }

    void busyWorkspaceForReview() {
        // Drawer 1 shapes, drawer 3 shapes, a group of two triangles, an anglemeter.
        for (auto [slot, at] : {std::pair{0, QPoint(90, 80)}, std::pair{1, QPoint(170, 80)},
                                std::pair{2, QPoint(270, 85)}, std::pair{3, QPoint(390, 90)},
                                std::pair{4, QPoint(530, 100)}})
            DragFromDrawer(slot, at);
        QTest::mouseClick(m_view->drawerPane()->nextButton(), Qt::LeftButton);
        QTest::mouseClick(m_view->drawerPane()->nextButton(), Qt::LeftButton);
        for (auto [slot, at] : {std::pair{1, QPoint(120, 250)}, std::pair{2, QPoint(200, 250)},
                                std::pair{4, QPoint(300, 260)}})
            DragFromDrawer(slot, at);
        ClickPane(QPoint(120, 250));
        ClickPane(QPoint(200, 250), Qt::ShiftModifier);
        QTest::mouseClick(Command(kCmdGroup), Qt::LeftButton);
        QCOMPARE(m_doc->selection().size(), std::size_t{1});
        QCOMPARE(m_doc->selection().front()->GetType(), kTypePolyShape);
        QTest::mouseClick(Command(1075), Qt::LeftButton); // Red: asks about the group first
        QCOMPARE(QString::fromStdString(m_host->prompter.LastText()).left(30),
                 QStringLiteral("The selection contains a group"));
        ChooseTool(kToolAnglemeter);
        ClickPane(QPoint(470, 280));
        ChooseTool(kToolArrow);
        ClickPane(QPoint(530, 100));
        QTest::mouseClick(Command(kCmdThickLine), Qt::LeftButton);
        QVERIFY(Command(kCmdThickLine)->isChecked());
        m_view->SetScriptControlsShown(true);
        QTest::qWait(50);

        const QImage image = m_view->grab().toImage();
        QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
        QVERIFY(image.save(QStringLiteral(QUORVEL_SCREENS_DIR "/geometry_view.png")));
        // The red group shows red where its first triangle lies.
        const QPoint inGroup = Pane()->mapTo(m_view.get(), QPoint(120, 258));
        const QColor red = image.pixelColor(inGroup);
        QVERIFY2(red.red() > 200 && red.green() < 60 && red.blue() < 60, qPrintable(red.name()));
    }

    void coreProblemAnsweredOnThePage() {
        // The first problem of a run, its core question in the page's prompt window.
        m_doc->SetLevel(0);
        m_doc->SetProblemSequence({0, 3, 0}, kProblemsPerRun);
        CQuestionSet questions;
        questions[0] = MakeCoreQuestion(kCoreQuestionPrompt, 1);
        m_doc->LoadQuestions(questions, 1, 3);
        auto* prompt = m_view->findChild<CProblemPromptWnd*>();
        QVERIFY(prompt);
        QVERIFY(prompt->isVisible());
        for (int core = 0; core < 4; ++core)
            QVERIFY(qobject_cast<QRadioButton*>(prompt->control(kFirstChoiceId + core)));
        QVERIFY(!prompt->control(kFirstChoiceId + 4));
        CBitmapButton* check = m_view->button(kCheckCommand);
        QVERIFY(check && check->isVisible());
        // The prompt stands in the pane's right part, clear of the drawers and the palette.
        QVERIFY(Pane()->geometry().contains(prompt->geometry()));
        QVERIFY(prompt->geometry().left() > Pane()->geometry().center().x());
        QVERIFY(!prompt->geometry().intersects(m_view->drawerPane()->geometry()));

        QTest::mouseClick(check, Qt::LeftButton);
        QCOMPARE(QString::fromStdString(m_host->prompter.LastText()),
                 QStringLiteral("Please select one of the choices."));
        QTest::mouseClick(prompt->control(kFirstChoiceId + 1), Qt::LeftButton);
        QTest::mouseClick(check, Qt::LeftButton);
        QCOMPARE(QString::fromStdString(m_host->prompter.LastText()),
                 QStringLiteral("Your answer is correct."));
        QCOMPARE(m_doc->problemPosition().correct, 1);
        QVERIFY(m_view->button(kContinueCommand)->isVisible());
        QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
        QVERIFY(m_view->grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/core_problem.png")));
    }

    void coreQuestionDialogNeedsEveryPart() {
        CCoreQuestionEditor editor(*m_doc, m_host->prompter);
        CCoreQuestionDialog dialog(editor, m_view.get());
        dialog.show();
        QCOMPARE(dialog.promptBox()->toPlainText(), QString::fromLatin1(kCoreQuestionPrompt));
        QCOMPARE(dialog.levels()->checkedId(), -1);
        QCOMPARE(dialog.cores()->checkedId(), -1);
        for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
            QVERIFY2(!b->accessibleName().isEmpty() || !b->text().isEmpty(),
                     qPrintable(b->objectName()));

        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(QString::fromStdString(m_host->prompter.LastText()),
                 QStringLiteral("Incomplete question encountered!"));
        QCOMPARE(m_doc->questionCount(), 0);

        dialog.levels()->button(kCoreQuestionFirstLevel + 1)->click();
        dialog.cores()->button(kCoreQuestionFirstCore + 2)->click();
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_doc->questionCount(), 1);
        QCOMPARE(m_doc->questions()[0].answer, 2.0);
        QCOMPARE(m_doc->level(), 1);
        QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
        QVERIFY(dialog.grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/core_question.png")));
    }

    void questionCommandOnlyInAuthoringMode() {
        const QString item = QStringLiteral("Problem Set &Question...");
        QVERIFY(!HasAction(m_view->unitMenu(), item));
        m_view.reset();
        AuthoringHost teacher;
        m_doc->SetHost(&teacher);
        m_view = std::make_unique<CGeometryUnitView>(*m_doc, nullptr);
        QVERIFY(HasAction(m_view->unitMenu(), item));
        m_view.reset();
        m_doc->SetHost(m_host.get());
    }
};

QTEST_MAIN(GeometryViewTest)
#include "geometry_view_test.moc"

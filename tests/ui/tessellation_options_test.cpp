// The "Tessellation Options" sheet and the "Print Options" dialog offscreen, and what the
// options do to the Tiles and Tessellations page: the script panel, the navigator, the Group,
// Enlarge and colour buttons, and the student drawers' label boxes. PNGs for review.
#include "fakes/fakes.h"
#include "geometry/geometry_document.h"
#include "geometry/geometry_view_controller.h"
#include "geometry/shape_catalogue.h"
#include "ui/geometry/command_panel.h"
#include "ui/geometry/drawer_pane.h"
#include "ui/geometry/geometry_unit_view.h"
#include "ui/geometry/script_panel.h"
#include "ui/geometry/tessellation_options_dialog.h"
#include "ui/workspace/workspace_navigator.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

using namespace quorvel;
using quorvel::testing::FakeDocumentHost;

namespace {

void Save(QWidget* w, const QString& name) {
    QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
    QVERIFY(
        w->grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/") + name + QStringLiteral(".png")));
}

// A click on a check box's or radio button's box, which takes clicks where a wide button's
// middle may not.
void Click(QAbstractButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(6, b->height() / 2));
}

// Answers the next modal dialog by pressing its OK button after `act` has run on it.
template <typename Dialog, typename Act> void AnswerNextDialog(Act act) {
    QTimer::singleShot(0, [act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<Dialog*>(w); d && d->isVisible()) {
                act(*d);
                d->accept();
                return;
            }
    });
}

class AuthoringHost : public FakeDocumentHost {
public:
    bool AuthoringMode() const override { return true; }
};

} // namespace

class TessellationOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void pupilsSeeOnlyTheirPage() {
        CGeometryOptions o;
        o.teacher[kOptPhotoFunctionality] = kPhotoFunctionStripBox;
        CTessellationOptionsSheet sheet(o, false);
        CTessellationOptionsDialog dialog(sheet, nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Tessellation Options"));
        QCOMPARE(dialog.pages()->count(), 1);
        QCOMPARE(dialog.pages()->tabText(0), QStringLiteral("User Options"));
        QVERIFY(!dialog.control(OptionsPage::Teacher, 1117));
        QVERIFY(dialog.control(OptionsPage::User, 1108)->isChecked());
        QVERIFY(!dialog.control(OptionsPage::User, 1117)->isEnabled());
        QVERIFY(dialog.control(OptionsPage::User, 1116)->isEnabled());
        QCOMPARE(dialog.control(OptionsPage::User, 1116)->text(),
                 QStringLiteral("show strip, viewer && box"));

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        Click(dialog.control(OptionsPage::User, 1111));
        QVERIFY(dialog.control(OptionsPage::User, 1111)->isChecked());
        QVERIFY(!dialog.control(OptionsPage::User, 1110)->isChecked());
        QCOMPARE(sheet.options().user[kOptView], 1);
        // A checked radio button clicked again stays checked.
        Click(dialog.control(OptionsPage::User, 1111));
        QVERIFY(dialog.control(OptionsPage::User, 1111)->isChecked());
        Save(&dialog, QStringLiteral("tessellation-options-user"));
    }

    void teachersSetDrawersAndPhotoFunctionality() {
        CTessellationOptionsSheet sheet(CGeometryOptions{}, true);
        CTessellationOptionsDialog dialog(sheet, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.pages()->count(), 2);
        QCOMPARE(dialog.pages()->tabText(0), QStringLiteral("Teacher Options"));
        QAbstractButton* drawer2 = dialog.control(OptionsPage::Teacher, 1118);
        QVERIFY(drawer2->isChecked());
        Click(drawer2);
        QVERIFY(!drawer2->isChecked());
        QCOMPARE(sheet.options().teacher[kOptDrawer2], 0);
        QVERIFY(dialog.control(OptionsPage::Teacher, 1320)->isChecked());
        Click(dialog.control(OptionsPage::Teacher, 1319));
        QCOMPARE(sheet.options().teacher[kOptComputerChecked], 1);
        QVERIFY(!dialog.control(OptionsPage::Teacher, 1320)->isChecked());
        // "None" leaves the pupil only "hide all".
        Click(dialog.control(OptionsPage::Teacher, 1094));
        QVERIFY(dialog.control(OptionsPage::User, 1114)->isEnabled());
        for (int id : {1115, 1116, 1117})
            QVERIFY(!dialog.control(OptionsPage::User, id)->isEnabled());
        Save(&dialog, QStringLiteral("tessellation-options-teacher"));
    }

    void printOptionsChooseAreaAndShapes() {
        CPrintOptionsDialog dialog(CPrintOptions{}, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Print Options"));
        QVERIFY(dialog.control(1140)->isChecked());
        QVERIFY(dialog.control(1143)->isChecked());
        QCOMPARE(dialog.control(1142)->text(), QStringLiteral("Photo Strip"));
        Click(dialog.control(1141));
        Click(dialog.control(1144));
        QCOMPARE(dialog.options().workspace, kPrintEntireWorkspace);
        QCOMPARE(dialog.options().shapes, kPrintOutlinesOnly);
        QVERIFY(!dialog.control(1140)->isChecked());
    }

    void thePageFollowsTheOptions() {
        AuthoringHost host;
        CGeometryUnitDocument doc;
        doc.SetHost(&host);
        CGeometryUnitView view(doc, nullptr);
        view.resize(800, 575);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(view.navigator()->isVisible());
        QVERIFY(!view.scriptPanel()->isVisible());

        // The menu command runs the sheet: script controls on, grouping and the colour
        // palette off, the entire view.
        AnswerNextDialog<CTessellationOptionsDialog>([](CTessellationOptionsDialog& d) {
            for (int id : {1122, 1124, 1116})
                d.control(OptionsPage::Teacher, id)->click();
            d.control(OptionsPage::User, 1111)->click();
        });
        view.geometry().OnCommand(kTessellationOptionsCommand);
        QVERIFY(doc.options().Teacher(kOptScriptControls));
        QVERIFY(doc.options().entireView());
        QVERIFY(view.scriptPanel()->isVisible());
        QVERIFY(!view.navigator()->isVisible());
        QVERIFY(!view.commandPanel()->button(kCmdGroup)->isVisible());
        QVERIFY(!view.commandPanel()->button(kCmdEnlarge)->isVisible());
        QVERIFY(!view.commandPanel()->button(kCmdFirstColor)->isVisible());
        QVERIFY(view.commandPanel()->button(kCmdCopy)->isVisible());
        Save(&view, QStringLiteral("tessellation-options-page"));

        // Back to the partial view with everything shown.
        doc.SetOptions(CGeometryOptions{});
        QVERIFY(view.navigator()->isVisible());
        QVERIFY(view.commandPanel()->button(kCmdGroup)->isVisible());
        QVERIFY(!view.scriptPanel()->isVisible());
    }

    void studentDrawersShowTheirLabelBoxesOnlyWhileOpen() {
        FakeDocumentHost host;
        CGeometryUnitDocument doc;
        doc.SetHost(&host);
        CGeometryUnitView view(doc, nullptr);
        view.resize(800, 575);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        CDrawerPane* drawers = view.drawerPane();
        QVERIFY(!drawers->slotWidget(0)->labelBox()->isVisible());

        // A shape put into drawer 4's third slot, then a label typed under it.
        view.geometry().TakeFromDrawer(1, {200, 150});
        while (doc.currentDrawer() != 3)
            view.geometry().NextDrawer();
        QLineEdit* label = drawers->slotWidget(2)->labelBox();
        QVERIFY(label->isVisible());
        QCOMPARE(label->toolTip(), QStringLiteral("The Student Drawer labels."));
        doc.DeselectAll();
        doc.Select(doc.manipulatives()[0].get());
        QVERIFY(doc.PutSelectionIntoStudentDrawer(2));
        QVERIFY(!drawers->slotWidget(2)->empty());
        QVERIFY(drawers->slotWidget(1)->empty());
        QTest::keyClicks(label, QStringLiteral("kite"));
        QCOMPARE(doc.DrawerName(3, 2), std::string("kite"));
        Save(&view, QStringLiteral("student-drawer-4"));

        // Drawer 5 shows its own (empty) labels; drawer 6 none.
        view.geometry().NextDrawer();
        QCOMPARE(doc.currentDrawer(), 4);
        QVERIFY(label->isVisible());
        QCOMPARE(label->text(), QString());
        view.geometry().NextDrawer();
        QVERIFY(!label->isVisible());
    }
};

QTEST_MAIN(TessellationOptionsTest)
#include "tessellation_options_test.moc"

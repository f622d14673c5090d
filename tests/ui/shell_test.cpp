// The main window offscreen: the main menu's button rule, the unit menus' rectangles, the
// investigations menus' rows and instruction box, back buttons, the Patterns environment
// panel, unit pages with their menus, the exit question and Ctrl+Tab. Every page is saved as
// a PNG under the build tree for review.
#include "app/document_factory.h"
#include "fakes/fakes.h"
#include "ui/app/bitmap_button.h"
#include "ui/app/main_frame.h"
#include "ui/app/menu_views.h"
#include "ui/app/unit_page.h"
#include "ui/workspace/annotator_edit.h"
#include "ui/workspace/unit_view.h"
#include "ui/workspace/workspace_pane.h"
#include "workspace/annotator.h"
#include "workspace/tool_palette.h"
#include "workspace/unit_document.h"

#include <QAction>
#include <QDir>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvel;
using quorvel::testing::FakeDocumentHost;

namespace {

void SavePage(QWidget* page, const QString& name) {
    QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
    QVERIFY(
        page->grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/") + name + QStringLiteral(".png")));
}

QAction* FindAction(QMainWindow& w, const QString& text) {
    for (QAction* top : w.menuBar()->actions())
        if (top->menu())
            for (QAction* a : top->menu()->actions())
                if (a->text() == text)
                    return a;
    return nullptr;
}

QMenu* FindMenu(QMainWindow& w, const QString& title) {
    for (QAction* top : w.menuBar()->actions())
        if (top->text() == title)
            return top->menu();
    return nullptr;
}

} // namespace

class ShellTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_programDir;
    std::unique_ptr<FakeDocumentHost> m_host;
    std::unique_ptr<CMainFrame> m_frame;
    std::vector<std::string> m_opened;

    CMenuView* Page() { return qobject_cast<CMenuView*>(m_frame->currentPage()); }
    CMenuView* View(MenuView v) { return m_frame->menuView(v); }
    void Click(QAbstractButton* b) {
        QVERIFY(b);
        QVERIFY(b->isVisible());
        QTest::mouseClick(b, Qt::LeftButton);
    }

private slots:
    void init() {
        QVERIFY(m_programDir.isValid());
        QDir(m_programDir.path()).mkpath(QStringLiteral("class"));
        QDir(m_programDir.path()).mkpath(QStringLiteral("docs"));
        m_host = std::make_unique<FakeDocumentHost>();
        m_frame = std::make_unique<CMainFrame>(m_host.get());
        m_opened.clear();
        m_frame->SetDesktopOpener([this](const std::string& p) {
            m_opened.push_back(p);
            return true;
        });
        QVERIFY(m_frame->Start({}, m_programDir.path().toStdString(), "/home/pupil/Desktop"));
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        m_frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
    }

    void cleanup() {
        m_host->prompter.answers = {MessageResult::Yes};
        m_frame.reset();
        m_host.reset();
    }

    void mainMenuFollowsTheResizeRule() {
        QCOMPARE(m_frame->size(), QSize(800, 600));
        QCOMPARE(m_frame->windowTitle(), QStringLiteral("Quorvel Demonstration"));
        CMenuView* page = Page();
        QVERIFY(page);
        QCOMPARE(page->which(), MenuView::Main);
        const int w = page->width(), h = page->height();
        QVERIFY(h > 500);
        auto centre = [&](int id) { return page->button(id)->geometry().center(); };
        // QRect::center() rounds down on even sizes: allow one pixel.
        QVERIFY((centre(1000) - QPoint(w / 4, h / 3)).manhattanLength() <= 2);
        QVERIFY((centre(1001) - QPoint(w - w / 4, h / 3)).manhattanLength() <= 2);
        QVERIFY((centre(1002) - QPoint(w / 2, h - h / 3)).manhattanLength() <= 2);
        const QRect intro = page->button(1704)->geometry();
        QCOMPARE(intro.bottom() + 1, h);
        QVERIFY(qAbs(intro.center().x() - w / 2) <= 1);
        QCOMPARE(page->backButton()->geometry(), QRect(0, 0, 48, 41));
        // Nothing overlaps.
        const int ids[] = {1000, 1001, 1002, 1704, 1003};
        for (int a : ids)
            for (int b : ids)
                if (a < b)
                    QVERIFY2(!page->button(a)->geometry().intersects(page->button(b)->geometry()),
                             qPrintable(QStringLiteral("%1 overlaps %2").arg(a).arg(b)));
        for (int id : ids)
            QVERIFY(!page->button(id)->accessibleName().isEmpty());
        SavePage(m_frame.get(), QStringLiteral("main_menu"));
    }

    void viewIntroOpensThePdfWithTheDesktop() {
        QFile pdf(m_programDir.filePath(QStringLiteral("docs/intro.pdf")));
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.write("%PDF-1.4\n");
        pdf.close();
        Click(Page()->button(1704));
        QCOMPARE(m_opened.size(), 1u);
        QCOMPARE(QString::fromStdString(m_opened[0]), pdf.fileName());
        QVERIFY(m_host->prompter.messages.empty());
    }

    void unitMenuButtonsStandInTheirRectangles() {
        Click(Page()->button(1000));
        CMenuView* page = Page();
        QCOMPARE(page->which(), MenuView::GeometryUnit);
        // The guide is missing: the fixed message, with its line breaks.
        QCOMPARE(m_host->prompter.messages.size(), 1u);
        QVERIFY(
            QString::fromStdString(m_host->prompter.messages[0].text)
                .startsWith(QStringLiteral("Sorry, an error occured while trying to open\r\n\"")));
        const int dx = (page->width() - 460) / 2 - 50;
        QCOMPARE(page->button(1005)->geometry(), QRect(50 + dx, 100, 150, 50));
        QCOMPARE(page->button(1006)->geometry(), QRect(205 + dx, 100, 150, 50));
        QCOMPARE(page->button(1007)->geometry(), QRect(360 + dx, 100, 150, 50));
        QCOMPARE(page->button(1008)->geometry(), QRect(50 + dx, 200, 150, 130));
        QCOMPARE(page->button(1010)->geometry(), QRect(360 + dx, 200, 150, 130));
        QCOMPARE(page->button(1011)->geometry(), QRect(125 + dx, 335, 150, 130));
        QCOMPARE(page->button(1012)->geometry(), QRect(280 + dx, 335, 150, 130));
        QCOMPARE(page->button(1705)->geometry(), QRect(10, 40, 180, 50));
        QCOMPARE(page->button(1008)->accessibleName(),
                 QStringLiteral("Investigation 1: Discovering Tessellations"));
        SavePage(m_frame.get(), QStringLiteral("unit_menu_geometry"));
        Click(page->backButton());
        QCOMPARE(Page()->which(), MenuView::Main);
        Click(Page()->button(1002));
        SavePage(m_frame.get(), QStringLiteral("unit_menu_statistics"));
    }

    void investigationsMenuLaysOutRowsAndInstructions() {
        Click(Page()->button(1000));
        Click(Page()->button(1010)); // Tessellations and Cores
        auto* page = qobject_cast<CInvestigationsMenuView*>(Page());
        QVERIFY(page);
        QCOMPARE(page->pageTitle(), QStringLiteral("Tessellations and Cores"));
        // Row 1: the exploration; row 2, three button heights lower: challenges A to D.
        const int bw = CInvestigationsMenuView::kButtonWidth,
                  bh = CInvestigationsMenuView::kButtonHeight;
        QCOMPARE(page->button(1430)->geometry(), QRect(62, 100, bw, bh));
        for (int i = 0; i < 4; ++i) {
            CBitmapButton* b = page->button(1440 + i);
            QVERIFY(b->isVisible());
            QCOMPARE(b->geometry(), QRect(62 + i * (bw + 5), 100 + 3 * bh, bw, bh));
            QCOMPARE(b->label(), QString(QChar(u'A' + i)));
        }
        for (int id : {1431, 1450, 1460, 1619, 1624})
            QVERIFY(!page->button(id)->isVisible());
        QCOMPARE(page->rowCaptions().size(), 2u);
        QCOMPARE(page->rowCaptions()[0].kind, QStringLiteral("Exploration"));
        QCOMPARE(page->rowCaptions()[1].kind, QStringLiteral("Challenges"));
        // The instruction box stands clear of every button and shows the overview.
        for (int id : {1430, 1440, 1441, 1442, 1443})
            QVERIFY(!page->button(id)->geometry().intersects(page->instructionBoxRect()));
        QVERIFY(page->instructionText().startsWith(QStringLiteral("A core is a small group")));
        SavePage(m_frame.get(), QStringLiteral("investigations_geometry_3"));

        // Back returns to the unit menu, and again to the main menu.
        Click(page->backButton());
        QCOMPARE(Page()->which(), MenuView::GeometryUnit);
        Click(Page()->backButton());
        QCOMPARE(Page()->which(), MenuView::Main);
    }

    void everyInvestigationRendersWithoutOverlap() {
        const struct {
            int unitButton;
            const char* name;
        } units[] = {{1000, "geometry"}, {1001, "patterns"}, {1002, "statistics"}};
        for (const auto& u : units) {
            Click(View(MenuView::Main)->button(u.unitButton));
            CMenuView* unitMenu = Page();
            for (int n = 1; n <= 5; ++n) {
                Click(unitMenu->button(1007 + n));
                auto* page = qobject_cast<CInvestigationsMenuView*>(Page());
                QVERIFY(page);
                std::vector<QRect> shown;
                for (int id : InvestigationButtonIds())
                    if (page->button(id)->isVisible())
                        shown.push_back(page->button(id)->geometry());
                QVERIFY(!shown.empty());
                for (std::size_t a = 0; a < shown.size(); ++a) {
                    QVERIFY(!shown[a].intersects(page->instructionBoxRect()));
                    QVERIFY(page->rect().contains(shown[a]));
                    for (std::size_t b = a + 1; b < shown.size(); ++b)
                        QVERIFY(!shown[a].intersects(shown[b]));
                }
                SavePage(
                    m_frame.get(),
                    QStringLiteral("investigations_%1_%2").arg(QString::fromLatin1(u.name)).arg(n));
                Click(page->backButton());
                QCOMPARE(Page(), unitMenu);
            }
            Click(unitMenu->backButton());
        }
    }

    void activityOpensItsUnitPageAndExitReturns() {
        Click(Page()->button(1000));
        Click(Page()->button(1008)); // Discovering Tessellations
        CMenuView* investigations = Page();
        m_host->prompter.messages.clear();
        QVERIFY(!FindMenu(*m_frame, QStringLiteral("&Edit"))->menuAction()->isVisible());
        Click(investigations->button(1430));
        CUnitPage* unit = m_frame->unitPage();
        QVERIFY(unit);
        QCOMPARE(m_frame->currentPage(), unit);
        QCOMPARE(unit->title(), QStringLiteral("Geometry Unit"));
        QCOMPARE(unit->document().activityName(), std::string("Shapes"));
        // The activity file is not there yet: the framework's message.
        QCOMPARE(m_host->prompter.LastText(), std::string("Failed to open document."));
        QVERIFY(FindMenu(*m_frame, QStringLiteral("&Edit"))->menuAction()->isVisible());
        QVERIFY(!FindAction(*m_frame, QStringLiteral("&Undo"))->isEnabled());
        QVERIFY(!FindAction(*m_frame, QStringLiteral("&Redo"))->isEnabled());
        SavePage(m_frame.get(), QStringLiteral("unit_page_geometry"));

        Click(unit->exitButton());
        QTRY_VERIFY(!m_frame->unitPage());
        QCOMPARE(m_frame->currentPage(), investigations);
        auto* page = qobject_cast<CInvestigationsMenuView*>(investigations);
        QVERIFY(
            page->instructionText().startsWith(QStringLiteral("Take shapes out of the drawers")));
        QVERIFY(!FindMenu(*m_frame, QStringLiteral("&Edit"))->menuAction()->isVisible());
    }

    void menuPagesOpenAnyDocumentAndRememberIt() {
        const QString path = m_programDir.filePath(QStringLiteral("codes.qvc"));
        QVERIFY(CreateUnitDocument(UnitKind::Codes)->OnSaveDocument(path.toStdString()));
        QVERIFY(FindAction(*m_frame, QStringLiteral("Print Set&up...")));
        QAction* open = FindAction(*m_frame, QStringLiteral("&Open..."));
        QVERIFY(open && open->isVisible());
        m_host->chooser.answers = {path.toStdString()};
        open->trigger();
        QVERIFY(m_frame->unitPage());
        QCOMPARE(m_frame->unitPage()->unit(), UnitKind::Codes);
        FindAction(*m_frame, QStringLiteral("E&xit"))->trigger();
        QTRY_VERIFY(!m_frame->unitPage());
        // The File menu lists it; choosing it opens it again.
        QAction* recent = FindAction(
            *m_frame,
            QStringLiteral("&1 codes.qvc  (%1)").arg(QDir(m_programDir.path()).dirName()));
        QVERIFY(recent && recent->isVisible());
        recent->trigger();
        QVERIFY(m_frame->unitPage());
        QCOMPARE(m_frame->unitPage()->document().filePath(), path.toStdString());
    }

    void enterPressesTheFocusedButtonAsSpaceDoes() {
        QAbstractButton* tiles = Page()->button(1000);
        tiles->setFocus();
        QTest::keyClick(tiles, Qt::Key_Return);
        QTRY_COMPARE(Page()->which(), MenuView::GeometryUnit);
    }

    void escapeWhileWritingKeepsTheWritingAndTheUnit() {
        // Given a pupil writing in the Tiles and Tessellations page the main window holds,
        CUnitDocument* doc = m_frame->app().OpenUnit(UnitKind::Geometry);
        QVERIFY(doc);
        CUnitPage* unit = m_frame->unitPage();
        QVERIFY(unit);
        CUnitView* view = unit->view();
        view->controller().SelectTool(kToolCommandBase + kToolWriting);
        QWidget* pane = view->pane();
        QVERIFY(pane);
        QTest::mouseClick(pane, Qt::LeftButton, {}, QPoint(120, 90));
        CAnnotatorEdit* edit = view->writingEdit();
        QVERIFY(edit->isVisible());
        QTest::keyClicks(edit, QStringLiteral("a tiling"));
        m_host->prompter.messages.clear();
        // when Escape is pressed,
        QTest::keyClick(edit, Qt::Key_Escape);
        // the writing ends and stays, and the unit stays open without a question.
        QVERIFY(!edit->isVisible());
        QCOMPARE(m_frame->unitPage(), unit);
        QVERIFY(m_host->prompter.messages.empty());
        QCOMPARE(doc->manipulatives().size(), std::size_t(1));
        QCOMPARE(dynamic_cast<const CAnnotatorManipulative&>(*doc->manipulatives()[0]).text(),
                 std::string("a tiling"));
        // A second Escape, with nothing in progress, does nothing either.
        QTest::keyClick(view, Qt::Key_Escape);
        QCOMPARE(m_frame->unitPage(), unit);
        QVERIFY(m_host->prompter.messages.empty());
    }

    void everyUnitTypeSavesAndReopensFromTheMenus() {
        const UnitKind kinds[] = {UnitKind::Geometry, UnitKind::Designs, UnitKind::Codes,
                                  UnitKind::Numbers, UnitKind::Statistics};
        for (UnitKind kind : kinds) {
            CUnitDocument* doc = m_frame->app().OpenUnit(kind);
            QVERIFY(doc);
            const std::string stem =
                m_programDir.filePath(QStringLiteral("saved%1").arg(int(kind))).toStdString();
            m_host->chooser.answers = {stem};
            FindAction(*m_frame, QStringLiteral("Save &As..."))->trigger();
            const std::string path = stem + "." + doc->identity().defaultExtension;
            QVERIFY(QFile::exists(QString::fromStdString(path)));
            QCOMPARE(doc->filePath(), path);
            FindAction(*m_frame, QStringLiteral("&New"))->trigger();
            m_host->chooser.answers = {path};
            m_host->prompter.messages.clear();
            FindAction(*m_frame, QStringLiteral("&Open..."))->trigger();
            QCOMPARE(doc->filePath(), path);
            QVERIFY(m_host->prompter.messages.empty());
            FindAction(*m_frame, QStringLiteral("E&xit"))->trigger();
            QTRY_VERIFY(!m_frame->unitPage());
        }
    }

    void patternsEnvironmentPanel() {
        Click(Page()->button(1001));
        auto* patterns = qobject_cast<CPatternsUnitMenuView*>(Page());
        QVERIFY(patterns);
        Click(patterns->button(1005)); // Explore opens the panel
        CPatternsEnvironmentMenuWnd* panel = patterns->environmentPanel();
        QVERIFY(panel->isVisible());
        QVERIFY(!patterns->button(1008)->isVisible());
        QCOMPARE(panel->environmentButton(0)->geometry(), QRect(10, 10, 150, 50));
        QCOMPARE(panel->environmentButton(1)->geometry(), QRect(165, 10, 150, 50));
        QCOMPARE(panel->environmentButton(2)->geometry(), QRect(320, 10, 150, 50));
        QCOMPARE(panel->backButton()->geometry(), QRect(10, 184, 48, 41));
        SavePage(m_frame.get(), QStringLiteral("unit_menu_patterns_panel"));

        Click(panel->backButton());
        QVERIFY(!panel->isVisible());
        QVERIFY(patterns->button(1008)->isVisible());

        Click(patterns->button(1005));
        Click(panel->environmentButton(1));
        QVERIFY(m_frame->unitPage());
        QCOMPARE(m_frame->unitPage()->unit(), UnitKind::Numbers);
        Click(m_frame->unitPage()->exitButton());
        QTRY_COMPARE(m_frame->currentPage(), patterns);
        QVERIFY(!panel->isVisible());
        QVERIFY(patterns->button(1008)->isVisible());
    }

    void closingAsksTheExitQuestion() {
        m_host->prompter.answers = {MessageResult::No};
        QVERIFY(!m_frame->close());
        QVERIFY(m_frame->isVisible());
        QCOMPARE(m_host->prompter.LastText(),
                 std::string("Do you want to exit the Quorvel Demonstration?"));
        // The main menu's back button asks too.
        m_host->prompter.answers = {MessageResult::Yes};
        Click(Page()->backButton());
        QVERIFY(!m_frame->isVisible());
    }

    void ctrlTabIsSwallowed() {
        Click(Page()->button(1000));
        QWidget* before = QApplication::focusWidget();
        QVERIFY(before);
        QTest::keyClick(before, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), before);
        QTest::keyClick(before, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != before);
    }

    void shortcutsReachTheVisiblePageOnly() {
        // A button's shortcut clicks it after a short animation.
        QTest::keyClick(m_frame.get(), Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(Page()->which(), MenuView::StatsUnit);
        QTest::keyClick(m_frame.get(), Qt::Key_4, Qt::AltModifier);
        QTRY_COMPARE(Page()->which(), MenuView::StatsInvestigations);
        QCOMPARE(Page()->pageTitle(), QStringLiteral("Asking More Questions"));
        // Investigation buttons answer to the digits in page order: 1 is the demonstration, 2 level
        // A.
        m_host->prompter.messages.clear();
        QTest::keyClick(m_frame.get(), Qt::Key_2);
        QTRY_VERIFY(m_frame->unitPage() != nullptr);
        QCOMPARE(m_frame->unitPage()->document().activityName(), std::string("probset1"));
        // Escape never leaves a unit; its Exit command does, and on the menus Escape goes back.
        QTest::keyClick(m_frame.get(), Qt::Key_Escape);
        QTest::qWait(50);
        QVERIFY(m_frame->unitPage() != nullptr);
        FindAction(*m_frame, QStringLiteral("E&xit"))->trigger();
        QTRY_VERIFY(m_frame->unitPage() == nullptr);
        QTest::keyClick(m_frame.get(), Qt::Key_Escape);
        QTRY_COMPARE(Page()->which(), MenuView::StatsUnit);
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"

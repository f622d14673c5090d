// A workspace page offscreen: its controls and their places, palette latching, the Help and
// Mystery clicks with their texts, the broom, Continue and Exit, the navigator and the pane,
// and printing. The page is saved as a PNG under the build tree for review.
#include "fakes/fakes.h"
#include "geometry/geometry_document.h"
#include "geometry/shape_catalogue.h"
#include "ui/app/bitmap_button.h"
#include "ui/app/main_frame.h"
#include "ui/app/unit_page.h"
#include "ui/art/art.h"
#include "ui/workspace/art_button.h"
#include "ui/workspace/tool_palette.h"
#include "ui/workspace/unit_view.h"
#include "ui/workspace/workspace_navigator.h"
#include "ui/workspace/workspace_pane.h"
#include "workspace/archive.h"
#include "workspace/string_table.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvel;
using quorvel::testing::FakeDocumentHost;

namespace {

// A unit controller that records where the navigator scrolls.
class ScrollingController : public CUnitViewController {
public:
    using CUnitViewController::CUnitViewController;
    std::vector<std::pair<double, double>> scrolls;
    void ScrollWorkspaceTo(double x, double y) override { scrolls.emplace_back(x, y); }
};

QPoint CentreIn(const QWidget* w, const QWidget* ancestor) {
    return w->mapTo(ancestor, w->rect().center());
}

QAction* FileAction(QMainWindow& w, const QString& text) {
    for (QAction* top : w.menuBar()->actions())
        if (top->menu())
            for (QAction* a : top->menu()->actions())
                if (a->text() == text)
                    return a;
    return nullptr;
}

QRgb PixelAt(const QImage& image, QPoint p) {
    return image.pixel(p) & 0xffffffu;
}

bool SameCursor(const QCursor& a, const QCursor& b) {
    return a.hotSpot() == b.hotSpot() && a.pixmap().toImage() == b.pixmap().toImage();
}

} // namespace

class UnitViewTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FakeDocumentHost> m_host;
    std::unique_ptr<CGeometryUnitDocument> m_doc;
    std::unique_ptr<CUnitView> m_view;
    ScrollingController* m_controller = nullptr;

    CToolPalette& Palette() { return *m_view->palette(); }
    CArtButton* Tool(int code) { return Palette().button(ToolCommand(code)); }
    std::string LastMessage() const { return m_host->prompter.LastText(); }

    // A click with the Help tool at `p` in view coordinates.
    void HelpClickAt(QPoint p) {
        QTest::mouseClick(Tool(kToolHelp), Qt::LeftButton);
        QWidget* catcher = m_view->clickCatcher();
        QVERIFY(catcher);
        QTest::mouseClick(catcher, Qt::LeftButton, Qt::NoModifier, p);
    }

private slots:
    void init() {
        m_host = std::make_unique<FakeDocumentHost>();
        m_doc = std::make_unique<CGeometryUnitDocument>();
        m_doc->SetHost(m_host.get());
        m_view = std::make_unique<CUnitView>(
            *m_doc, nullptr, [this](CUnitDocument& d, IUnitViewWindow& w) {
                auto c = std::make_unique<ScrollingController>(d, w);
                m_controller = c.get();
                return c;
            });
        m_view->resize(800, 555);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        m_view->setFocus();
    }

    void cleanup() {
        m_view.reset();
        m_doc.reset();
    }

    void controlsStandInTheirPlaces() {
        QCOMPARE(m_doc->GetWorkspaceView(), static_cast<IWorkspaceView*>(m_controller));
        QCOMPARE(Palette().size(), QSize(CToolPaletteModel::kWidth, 213));
        QCOMPARE(Tool(kToolArrow)->size(), QSize(42, 42));
        for (int id : {kExitCommand, kBroomCommand})
            QVERIFY(m_view->button(id)->isVisible());
        for (int id : {kCheckCommand, kContinueCommand, kViewSolutionCommand})
            QVERIFY(!m_view->button(id)->isVisible());
        QCOMPARE(m_view->button(kExitCommand)->size(), QSize(48, 41));
        QCOMPARE(m_view->button(kCheckCommand)->size(), QSize(120, 41));
        // Nothing overlaps: buttons and palette left of the workspace area.
        const QRect area = m_view->workspaceArea();
        QVERIFY(!area.intersects(Palette().geometry()));
        QVERIFY(!m_view->button(kExitCommand)
                     ->geometry()
                     .intersects(m_view->button(kBroomCommand)->geometry()));
        QVERIFY(m_view->rect().contains(m_view->button(kCheckCommand)->geometry()));
        // The Arrow is latched at creation; the unit's alternatives are hidden.
        QVERIFY(Tool(kToolArrow)->isChecked());
        QVERIFY(!Tool(kToolMystery)->isVisible());
        QVERIFY(Tool(kToolAnglemeter)->isVisible());
    }

    void paletteButtonsLatch() {
        QTest::mouseClick(Tool(kToolEraser), Qt::LeftButton);
        QCOMPARE(m_doc->currentTool(), int(kToolEraser));
        QVERIFY(Tool(kToolEraser)->isChecked());
        QVERIFY(!Tool(kToolArrow)->isChecked());
        // The latched button stays down when clicked again.
        QTest::mouseClick(Tool(kToolEraser), Qt::LeftButton);
        QVERIFY(Tool(kToolEraser)->isChecked());
        QTest::mouseClick(Tool(kToolSelector), Qt::LeftButton);
        QVERIFY(!Tool(kToolEraser)->isChecked());
        QCOMPARE(m_doc->currentTool(), int(kToolSelector));
        // The Arrow chosen from code latches its button.
        m_controller->SelectArrow();
        QVERIFY(Tool(kToolArrow)->isChecked());
        QVERIFY(!Tool(kToolSelector)->isChecked());
    }

    void oneHelpClickShowsTheTextAndReturnsToTheArrow() {
        QTest::mouseClick(Tool(kToolHelp), Qt::LeftButton);
        QWidget* catcher = m_view->clickCatcher();
        QVERIFY(catcher);
        QCOMPARE(catcher->geometry(), m_view->rect());
        QVERIFY(SameCursor(catcher->cursor(), ArtCursor(149)));

        QTest::mouseClick(catcher, Qt::LeftButton, Qt::NoModifier,
                          CentreIn(Tool(kToolEraser), m_view.get()));
        QCOMPARE(LastMessage(), std::string("Use the Eraser to click objects to erase."));
        QCOMPARE(m_host->prompter.messages.back().icon, MessageIcon::Question);
        QCOMPARE(m_doc->currentTool(), int(kToolArrow));
        QVERIFY(Tool(kToolArrow)->isChecked());
        QVERIFY(!m_view->clickCatcher());
        // The palette works again at once.
        QTest::mouseClick(Tool(kToolWriting), Qt::LeftButton);
        QCOMPARE(m_doc->currentTool(), int(kToolWriting));
    }

    void helpExplainsWhatIsUnderThePointer() {
        HelpClickAt(m_view->workspaceArea().center());
        QCOMPARE(LastMessage(), std::string("No help is available here."));
        HelpClickAt(CentreIn(m_view->button(kBroomCommand), m_view.get()));
        QCOMPARE(LastMessage(), std::string(*LoadString(kBroomCommand)));
        // The palette's own border, between no buttons.
        HelpClickAt(Palette().geometry().topLeft());
        QCOMPARE(LastMessage(), std::string("The Tool Palette."));
        HelpClickAt(CentreIn(Tool(kToolHelp), m_view.get()));
        QCOMPARE(LastMessage(), std::string(*LoadString(ToolCommand(kToolHelp))));

        CWorkspaceNavigator* nav = m_view->CreateNavigator(3, 2, 0.5);
        HelpClickAt(CentreIn(nav->button(NavDirection::Up), m_view.get()));
        QCOMPARE(LastMessage(), std::string("Scroll the workspace up."));
        HelpClickAt(nav->mapTo(m_view.get(), QPoint(43, 43)));
        QCOMPARE(LastMessage(),
                 std::string("Use the Workspace Navigator to scroll your workspace."));
    }

    void helpOverAControlWithoutAStringSaysSo() {
        auto* stray = new QWidget(m_view.get());
        stray->setProperty("controlId", 1299);
        stray->setGeometry(600, 200, 40, 40);
        stray->show();
        HelpClickAt(QPoint(620, 220));
        QCOMPARE(LastMessage(), std::string("Resource Help String: 1299  not found"));
    }

    void aMysteryClickReturnsToTheArrow() {
        Palette().ShowTool(kToolMystery);
        QVERIFY(Tool(kToolMystery)->isVisible());
        QVERIFY(!Tool(kToolAnglemeter)->isVisible());
        QTest::mouseClick(Tool(kToolMystery), Qt::LeftButton);
        QWidget* catcher = m_view->clickCatcher();
        QVERIFY(catcher);
        QVERIFY(SameCursor(catcher->cursor(), ArtCursor(303)));
        QTest::mouseClick(catcher, Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
        QCOMPARE(m_doc->currentTool(), int(kToolArrow));
        QVERIFY(!m_view->clickCatcher());
        QVERIFY(m_host->prompter.messages.empty());
    }

    void toolsShowTheirCursorOverTheWorkspace() {
        QTest::mouseClick(Tool(kToolEraser), Qt::LeftButton);
        QVERIFY(SameCursor(m_view->cursor(), ToolCursor(kToolEraser)));
        QCOMPARE(Palette().cursor().shape(), Qt::ArrowCursor);
        QTest::mouseClick(Tool(kToolArrow), Qt::LeftButton);
        QCOMPARE(m_view->cursor().shape(), Qt::ArrowCursor);
    }

    void theBroomAsksOnlyWhenThereIsSomethingToSweep() {
        QTest::mouseClick(m_view->button(kBroomCommand), Qt::LeftButton);
        QVERIFY(m_host->prompter.messages.empty());

        m_doc->AddManipulative(BuildCatalogueShape(CatalogueShape::Hexagon, {300, 200, 0}));
        m_host->prompter.answers = {MessageResult::Yes};
        QTest::mouseClick(m_view->button(kBroomCommand), Qt::LeftButton);
        QCOMPARE(LastMessage(), std::string(kAskClearWorkspace));
        QVERIFY(m_doc->manipulatives().empty());
        QVERIFY(!m_doc->IsModified());
    }

    void exitIsGreyedWhileContinueShows() {
        QSignalSpy commands(m_view.get(), &CUnitView::commandStateChanged);
        QSignalSpy left(m_view.get(), &CUnitView::leaveRequested);
        m_controller->ShowContinue();
        QVERIFY(!m_view->CanExit());
        QVERIFY(commands.count() > 0);
        QVERIFY(m_view->button(kContinueCommand)->isVisible());
        QVERIFY(!m_view->button(kExitCommand)->isVisible());
        QVERIFY(!m_view->button(kBroomCommand)->isVisible());
        m_view->Exit();
        QCOMPARE(left.count(), 0);

        m_controller->HideContinue();
        QVERIFY(m_view->CanExit());
        QVERIFY(m_view->button(kExitCommand)->isVisible());
        QVERIFY(m_view->button(kCheckCommand)->isVisible());
        QVERIFY(!m_view->button(kContinueCommand)->isVisible());
        // The prompt window would stand above Check.
        const CRect prompt = m_controller->GetPromptRect();
        QCOMPARE(prompt.bottom, m_view->button(kCheckCommand)->y() - 10);
    }

    void theExitButtonLeavesTheUnit() {
        QSignalSpy left(m_view.get(), &CUnitView::leaveRequested);
        QTest::mouseClick(m_view->button(kExitCommand), Qt::LeftButton);
        QCOMPARE(left.count(), 1);
        QVERIFY(m_host->prompter.messages.empty());
    }

    void theNavigatorScrollsAndGreysItsButtons() {
        CWorkspaceNavigator* nav = m_view->CreateNavigator(3, 2, 0.5);
        QCOMPARE(nav->size(), QSize(86, 86));
        QVERIFY(!nav->geometry().intersects(Palette().geometry()));
        QVERIFY(!nav->button(NavDirection::Up)->isEnabled());
        QVERIFY(nav->button(NavDirection::Right)->isEnabled());
        QCOMPARE(nav->button(NavDirection::Right)->size(), QSize(15, 15));

        QTest::mouseClick(nav->button(NavDirection::Right), Qt::LeftButton);
        QCOMPARE(m_controller->scrolls.size(), std::size_t(1));
        QVERIFY(m_controller->scrolls[0].first > 0.0);
        QVERIFY(nav->button(NavDirection::Left)->isEnabled());

        // Dragging the shown part to the far bottom-right.
        const QPoint grip = QRect(nav->model().shown().left, nav->model().shown().top,
                                  nav->model().shown().Width(), nav->model().shown().Height())
                                .center();
        QTest::mousePress(nav, Qt::LeftButton, Qt::NoModifier, grip);
        QTest::mouseMove(nav, QPoint(85, 85));
        QTest::mouseRelease(nav, Qt::LeftButton, Qt::NoModifier, QPoint(85, 85));
        QCOMPARE(m_controller->scrolls.back(), std::make_pair(1.0, 1.0));
        QVERIFY(!nav->button(NavDirection::Right)->isEnabled());
        QVERIFY(!nav->button(NavDirection::Down)->isEnabled());

        // The arrow keys press the buttons only where the unit maps them.
        const std::size_t before = m_controller->scrolls.size();
        QTest::keyClick(m_view.get(), Qt::Key_Left);
        QCOMPARE(m_controller->scrolls.size(), before);
        m_view->SetArrowKeysScroll(true);
        QTest::keyClick(m_view.get(), Qt::Key_Left);
        QCOMPARE(m_controller->scrolls.size(), before + 1);
        QTest::keyClick(m_view.get(), Qt::Key_Right);
        QTest::keyClick(m_view.get(), Qt::Key_Right);
        // The second Right is greyed at the edge.
        QCOMPARE(m_controller->scrolls.size(), before + 2);
    }

    void thePaneRescalesItsOffsetsWhenLoadedIntoAnotherSize() {
        CWorkspacePane* pane = m_view->CreatePane();
        QCOMPARE(pane->geometry(), m_view->workspaceArea());
        pane->SetScroll(200, 100);
        CArchive out;
        pane->Serialize(out);

        const int savedWidth = pane->width();
        m_view->resize(600, m_view->height());
        QCOMPARE(pane->geometry(), m_view->workspaceArea());
        QVERIFY(pane->width() < savedWidth);
        CArchive in(out.bytes());
        pane->Serialize(in);
        QCOMPARE(pane->scrollX(), 200 * pane->width() / savedWidth);
        QCOMPARE(pane->scrollY(), 100);
    }

    void printsAndExportsThroughTheSamePath() {
        m_doc->AddManipulative(BuildCatalogueShape(CatalogueShape::Square, {300, 200, 0}));
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("workspace.pdf"));
        QVERIFY(m_view->ExportPdfTo(path));
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        QVERIFY(pdf.size() > 500);

        // Export as PDF asks in the document's folders; a name without extension gets ".pdf",
        // Cancel writes nothing, and a file that cannot be written says so.
        m_host->chooser.answers = {dir.filePath(QStringLiteral("mine")).toStdString()};
        QVERIFY(m_view->ExportPdf());
        QCOMPARE(m_host->chooser.requests.back().defaultExtension, std::string("pdf"));
        QCOMPARE(m_host->chooser.requests.back().title, std::string("Export as PDF"));
        QCOMPARE(m_host->chooser.requests.back().defaultName, std::string("workspace"));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("mine.pdf"))));
        m_host->chooser.answers = {std::nullopt};
        m_host->prompter.messages.clear();
        QVERIFY(!m_view->ExportPdf());
        QVERIFY(m_host->prompter.messages.empty());
        m_host->chooser.answers = {
            dir.filePath(QStringLiteral("no such folder/mine.pdf")).toStdString()};
        QVERIFY(!m_view->ExportPdf());
        QCOMPARE(LastMessage(), std::string(kFailedToExportPdf));
        // Without a unit's rectangle the part on screen is printed.
        QCOMPARE(m_view->PrintRect().left, m_view->workspaceArea().left());
        m_controller->SetWorkspaceRect({0, 0, 1600, 1200});
        QCOMPARE(m_view->PrintRect(), (CRect{0, 0, 1600, 1200}));
    }

    void theMainWindowsExitFollowsThePage() {
        QTemporaryDir programDir;
        QVERIFY(programDir.isValid());
        QDir(programDir.path()).mkpath(QStringLiteral("class"));
        QDir(programDir.path()).mkpath(QStringLiteral("docs"));
        FakeDocumentHost host;
        CMainFrame frame(&host);
        QVERIFY(frame.Start({}, programDir.path().toStdString(), "/home/pupil/Desktop"));
        QAction* exit = FileAction(frame, QStringLiteral("E&xit"));
        QAction* pdf = FileAction(frame, QStringLiteral("&Export as PDF..."));
        QAction* preview = FileAction(frame, QStringLiteral("Print Pre&view..."));
        QVERIFY(exit && pdf && preview);
        QVERIFY(!pdf->isVisible() && !preview->isVisible());

        QVERIFY(frame.app().OpenUnit(UnitKind::Geometry));
        CUnitPage* page = frame.unitPage();
        QVERIFY(page && page->view());
        QCOMPARE(page->document().GetWorkspaceView(),
                 static_cast<IWorkspaceView*>(&page->view()->controller()));
        QVERIFY(pdf->isVisible() && preview->isVisible());
        QVERIFY(exit->isEnabled());

        page->view()->controller().ShowContinue();
        QVERIFY(!exit->isEnabled());
        exit->trigger();
        QCOMPARE(frame.unitPage(), page);

        page->view()->controller().HideContinue();
        QVERIFY(exit->isEnabled());
        exit->trigger();
        QTRY_VERIFY(!frame.unitPage());
        QVERIFY(!pdf->isVisible());
        // An untouched workspace leaves without asking.
        QVERIFY(host.prompter.messages.empty());
    }

    void rendersAWorkspacePage() {
        m_view->CreateNavigator(3, 3, 0.5);
        m_view->CreatePane();
        const C3DPointDouble drops[] = {{260, 150, 0}, {380, 160, 0}, {500, 170, 0},
                                        {300, 300, 0}, {450, 320, 0}, {600, 300, 0}};
        const CatalogueShape shapes[] = {CatalogueShape::Hexagon,   CatalogueShape::Square,
                                         CatalogueShape::Triangle1, CatalogueShape::Trapezoid,
                                         CatalogueShape::Rhombus1,  CatalogueShape::Octagon};
        for (int i = 0; i < 6; ++i)
            m_doc->AddManipulative(BuildCatalogueShape(shapes[i], drops[i]));
        m_doc->Select(m_doc->manipulatives()[1].get());
        QTest::mouseClick(Tool(kToolSelector), Qt::LeftButton);
        // A problem under way: Check shows beside exit and broom.
        m_controller->HideContinue();

        const QImage image = m_view->grab().toImage();
        QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
        QVERIFY(image.save(QStringLiteral(QUORVEL_SCREENS_DIR "/workspace_page.png")));

        // The workspace colour around the palette, the pane's light blue over the workspace,
        // and the navigator's shown part in the same blue.
        QCOMPARE(PixelAt(image, QPoint(2, 300)), QColor(0, 255, 255).rgb() & 0xffffffu);
        QCOMPARE(PixelAt(image, m_view->workspaceArea().topLeft() + QPoint(5, 5)),
                 QColor(97, 191, 255).rgb() & 0xffffffu);
        const QPoint shown = m_view->navigator()->geometry().topLeft() +
                             QPoint(m_view->navigator()->model().shown().left + 2,
                                    m_view->navigator()->model().shown().top + 2);
        QCOMPARE(PixelAt(image, shown), QColor(97, 191, 255).rgb() & 0xffffffu);
        // The latched Selector shows its pressed drawing.
        const QRect selector(Tool(kToolSelector)->mapTo(m_view.get(), QPoint(0, 0)), QSize(42, 42));
        QImage pressed(42, 42, QImage::Format_RGB32);
        pressed.fill(Palette().palette().color(QPalette::Window));
        QPainter(&pressed).drawPixmap(0, 0, ArtPixmap(163));
        QCOMPARE(image.copy(selector).convertToFormat(QImage::Format_RGB32), pressed);
    }
};

QTEST_MAIN(UnitViewTest)
#include "unit_view_test.moc"

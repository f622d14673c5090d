// The photos of the Tiles and Tessellations page offscreen: the camera, undo, a photo dragged
// from the strip onto the photo box, the magnifying glass, the viewer's buttons and slide show,
// the options that show and hide it all, printing, and PNGs of the page and the viewer.
#include "fakes/fakes.h"
#include "geometry/geometry_document.h"
#include "geometry/photo_controller.h"
#include "geometry/shape_catalogue.h"
#include "ui/app/bitmap_button.h"
#include "ui/geometry/command_panel.h"
#include "ui/geometry/drawer_pane.h"
#include "ui/geometry/geometry_unit_view.h"
#include "ui/geometry/photo_controls.h"
#include "ui/geometry/photo_strip_widget.h"
#include "ui/geometry/photo_viewer_view.h"
#include "ui/workspace/tool_palette.h"
#include "ui/workspace/workspace_navigator.h"
#include "ui/workspace/workspace_pane.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace quorvel;
using quorvel::testing::FakeDocumentHost;
using quorvel::testing::RecordingSurface;

namespace {

const QColor kLightBlue(0x61, 0xBF, 0xFF);
const QColor kGrey(0x80, 0x80, 0x80);

bool Near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 6 && std::abs(a.green() - b.green()) < 6 &&
           std::abs(a.blue() - b.blue()) < 6;
}

// The photo box's white frame, down its left edge.
bool BoxFramed(const QImage& pane, const QRect& box) {
    for (int x = box.left(); x < box.left() + 4; ++x)
        if (pane.pixelColor(x, box.center().y()) == QColor(Qt::white))
            return true;
    return false;
}

void SavePng(const QImage& image, const QString& name) {
    QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
    image.save(QStringLiteral(QUORVEL_SCREENS_DIR "/") + name);
    image.save(QStringLiteral("/tmp/") + name);
}

} // namespace

class PhotosUiTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FakeDocumentHost> m_host;
    std::unique_ptr<CGeometryUnitDocument> m_doc;
    std::unique_ptr<CGeometryUnitView> m_view;

    CPhotoControls& Photos() { return *m_view->photos(); }
    CPhotoStripWidget* Strip() { return Photos().strip(); }
    CPhotoStrip& PhotoStrip() { return m_doc->photoStrip(); }

    void SetPhotoFeatures(std::int32_t features, std::int32_t functionality = kPhotoFunctionAll) {
        CGeometryOptions o = m_doc->options();
        o.teacher[kOptPhotoFunctionality] = functionality;
        o.user[kOptPhotoFeatures] = features;
        m_doc->SetOptions(o);
    }

    // A shape from drawer 1 standing in the middle of the photo box.
    CManipulative* ShapeInBox(int slot, int dx = 0) {
        const CRect box = Photos().BoxInWorkspace();
        const C3DPointDouble at((box.left + box.right) / 2.0 + dx, (box.top + box.bottom) / 2.0, 0);
        return m_doc->AddManipulative(MakeDrawerShape(slot, at));
    }

    void Click(QAbstractButton* b) {
        QVERIFY(b->isVisible());
        QVERIFY(b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // Drags the photo `index` of the strip onto the middle of the photo box.
    void DragPhotoToBox(std::size_t index) {
        const QPoint from = Strip()->PhotoRect(index).center();
        const QPoint box = Photos().BoxOnPane().center();
        const QPoint target = Strip()->mapFromGlobal(m_view->pane()->mapToGlobal(box));
        QTest::mousePress(Strip(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(Strip(), from + QPoint(0, -12));
        QTest::mouseMove(Strip(), target);
        QTest::mouseRelease(Strip(), Qt::LeftButton, Qt::NoModifier, target);
    }

    // Runs `check` on the viewer once the page's Viewer button has opened it, then closes it.
    void WithViewerFromPage(const std::function<void(CPhotoViewerView&)>& check) {
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto* viewer = qobject_cast<CPhotoViewerView*>(QApplication::activeModalWidget());
            if (viewer) {
                seen = true;
                check(*viewer);
                viewer->accept();
            }
        });
        QTest::mouseClick(Photos().viewerButton(), Qt::LeftButton);
        QVERIFY(seen);
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
        SetPhotoFeatures(kPhotoShowAll);
    }

    void cleanup() {
        m_view.reset();
        m_doc.reset();
    }

    void photoControlsHaveTheirPlaceNamesAndTips() {
        const QRect pane = m_view->pane()->geometry();
        const std::vector<QWidget*> photos{Strip(), Photos().camera(), Photos().magnifyingGlass(),
                                           Photos().viewerButton()};
        // The problem-set buttons keep their corner, though hidden until a problem set runs.
        const std::vector<QWidget*> others{m_view->pane(),
                                           m_view->drawerPane(),
                                           m_view->palette(),
                                           m_view->commandPanel(),
                                           m_view->button(kCheckCommand),
                                           m_view->button(kViewSolutionCommand),
                                           m_view->button(kExitCommand)};
        for (QWidget* w : photos) {
            QVERIFY2(w->isVisible(), qPrintable(w->accessibleName()));
            QVERIFY(!w->accessibleName().isEmpty());
            QVERIFY(w->focusPolicy() & Qt::TabFocus);
            QVERIFY2(m_view->rect().contains(w->geometry()), qPrintable(w->accessibleName()));
            for (QWidget* o : others)
                QVERIFY2(
                    !w->geometry().intersects(o->geometry()),
                    qPrintable(w->accessibleName() + QStringLiteral(" / ") + o->accessibleName()));
            for (QWidget* o : photos)
                QVERIFY(o == w || !w->geometry().intersects(o->geometry()));
        }
        QVERIFY(QRect(QPoint(0, 0), pane.size()).contains(Photos().BoxOnPane()));
        QCOMPARE(Photos().BoxOnPane().size(), QSize(148, 100));
        QCOMPARE(Photos().camera()->toolTip(), QString::fromLatin1(kCameraTip));
        QCOMPARE(Photos().magnifyingGlass()->toolTip(), QString::fromLatin1(kMagnifyingGlassTip));
        QCOMPARE(Photos().viewerButton()->toolTip(), QString::fromLatin1(kViewerTip));
        QCOMPARE(Strip()->accessibleName(), QStringLiteral("Photo Strip"));
        // The Help tool over each of them shows its tip, the magnifying glass even while it
        // has nothing to edit.
        const std::pair<QWidget*, const char*> helps[] = {
            {Photos().camera(), kCameraTip},
            {Photos().magnifyingGlass(), kMagnifyingGlassTip},
            {Photos().viewerButton(), kViewerTip},
            {Strip(), kPhotoStripTip}};
        for (auto [w, tip] : helps) {
            const QPoint at = w->mapTo(m_view.get(), w->rect().center());
            m_view->controller().HelpAt({at.x(), at.y()});
            QCOMPARE(m_host->prompter.LastText(), std::string(tip));
        }
        // Nothing picked out yet: nothing for the magnifying glass to edit.
        QVERIFY(!Photos().magnifyingGlass()->isEnabled());
    }

    void cameraOnAnEmptyBoxAddsAnEmptyLightBluePhoto() {
        Click(Photos().camera());
        QCOMPARE(PhotoStrip().size(), std::size_t{1});
        QVERIFY(PhotoStrip().at(0).manipulatives().empty());
        QVERIFY(m_doc->IsModified());
        const QImage strip = Strip()->grab().toImage();
        const QRect photo = Strip()->PhotoRect(0);
        QCOMPARE(photo.size(), QSize(37, 25));
        QVERIFY2(Near(strip.pixelColor(photo.center()), kLightBlue),
                 qPrintable(strip.pixelColor(photo.center()).name()));
        // The photo box is drawn on the pane: its white frame over the light blue.
        const QImage pane = m_view->pane()->grab().toImage();
        const QRect box = Photos().BoxOnPane();
        QVERIFY(BoxFramed(pane, box));
        QVERIFY(Near(pane.pixelColor(box.center()), kLightBlue));
    }

    void takingAPhotoIsUndone() {
        CManipulative* shape = ShapeInBox(1);
        m_doc->Select(shape);
        Click(Photos().camera());
        QCOMPARE(PhotoStrip().size(), std::size_t{1});
        QCOMPARE(PhotoStrip().at(0).manipulatives().size(), std::size_t{1});
        QVERIFY(m_doc->selection().empty());
        const QPoint inPhoto = Strip()->PhotoRect(0).center();
        QVERIFY(!Near(Strip()->grab().toImage().pixelColor(inPhoto), QColor(kLightBlue)));

        QVERIFY(m_doc->Undo());
        QCOMPARE(PhotoStrip().size(), std::size_t{0});
        QCOMPARE(m_doc->manipulatives().size(), std::size_t{1});
        QTest::qWait(20);
        // The place is empty again on the screen.
        const QColor after = Strip()->grab().toImage().pixelColor(inPhoto);
        QVERIFY2(!Near(after, kLightBlue) && after != QColor(Qt::black), qPrintable(after.name()));
    }

    void draggingAPhotoOntoABoxWithShapesAndCancelChangesNothing() {
        ShapeInBox(1);
        Click(Photos().camera());
        ShapeInBox(0, 20);
        const std::vector<std::uint8_t> before = m_doc->SaveToBytes();
        m_host->prompter.answers.push_back(MessageResult::Cancel);

        DragPhotoToBox(0);

        QCOMPARE(QString::fromStdString(m_host->prompter.LastText()),
                 QString::fromLatin1(kReplacePhotoBox));
        QCOMPARE(m_doc->manipulatives().size(), std::size_t{2});
        QCOMPARE(PhotoStrip().size(), std::size_t{1});
        QCOMPARE(m_doc->SaveToBytes(), before);
    }

    void draggingAPhotoOntoTheBoxWithOkEditsItThereAndUndoBringsItBack() {
        CManipulative* square = ShapeInBox(1);
        const CRect where = square->GetFrameOf();
        Click(Photos().camera());
        ShapeInBox(0, 20);
        DragPhotoToBox(0); // the fake answers Ok

        QCOMPARE(PhotoStrip().size(), std::size_t{0});
        QCOMPARE(m_doc->manipulatives().size(), std::size_t{1});
        QCOMPARE(m_doc->manipulatives().front()->GetFrameOf(), where);
        QVERIFY(Photos().camera()->isVisible());
        QVERIFY(m_doc->Undo());
        QCOMPARE(PhotoStrip().size(), std::size_t{1});
        QCOMPARE(m_doc->manipulatives().size(), std::size_t{2});
    }

    void aPhotoDraggedAlongTheStripTakesAnotherPlace() {
        for (int i = 0; i < 3; ++i)
            Click(Photos().camera());
        CPhotoObject* first = &PhotoStrip().at(0);
        const QPoint from = Strip()->PhotoRect(0).center();
        const QPoint to = Strip()->PhotoRect(2).center();
        QTest::mousePress(Strip(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(Strip(), from + QPoint(12, 0));
        QTest::mouseMove(Strip(), to);
        QTest::mouseRelease(Strip(), Qt::LeftButton, Qt::NoModifier, to);
        QCOMPARE(first->stripPlace(), 2);
        QCOMPARE(&PhotoStrip().at(2), first);
        QVERIFY(m_host->prompter.messages.empty());
    }

    void theKeyboardPicksMovesAndEditsPhotos() {
        ShapeInBox(1);
        Click(Photos().camera());
        Click(Photos().camera());
        Strip()->setFocus();
        QTest::keyClick(Strip(), Qt::Key_Right);
        QVERIFY(PhotoStrip().at(0).selected());
        QVERIFY(Photos().magnifyingGlass()->isEnabled());
        QTest::keyClick(Strip(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(PhotoStrip().at(1).stripPlace(), 1);
        QVERIFY(PhotoStrip().at(1).selected());
        // Enter edits the picked photo in the box: the shape there is replaced by its copy.
        QTest::keyClick(Strip(), Qt::Key_Return);
        QCOMPARE(PhotoStrip().size(), std::size_t{1});
        QCOMPARE(m_doc->manipulatives().size(), std::size_t{1});
    }

    void theMagnifyingGlassEditsThePickedPhotoAndTheCameraShowsAgain() {
        ShapeInBox(1);
        Click(Photos().camera());
        Click(Photos().camera());
        m_doc->DeleteManipulative(m_doc->manipulatives().front().get());
        // Two photos picked out: one at a time.
        QTest::mouseClick(Strip(), Qt::LeftButton, Qt::NoModifier, Strip()->PhotoRect(0).center());
        QTest::mouseClick(Strip(), Qt::LeftButton, Qt::ControlModifier,
                          Strip()->PhotoRect(1).center());
        QCOMPARE(Strip()->PickedPhotos().size(), std::size_t{2});
        Click(Photos().magnifyingGlass());
        QCOMPARE(QString::fromStdString(m_host->prompter.LastText()),
                 QString::fromLatin1(kOnePhotoAtATime));
        QCOMPARE(PhotoStrip().size(), std::size_t{2});

        QTest::mouseClick(Strip(), Qt::LeftButton, Qt::NoModifier, Strip()->PhotoRect(0).center());
        Photos().ShowCamera(false);
        QVERIFY(!Photos().camera()->isVisible());
        Click(Photos().magnifyingGlass());
        QCOMPARE(PhotoStrip().size(), std::size_t{1});
        QCOMPARE(m_doc->manipulatives().size(), std::size_t{1});
        QVERIFY(Photos().camera()->isVisible());
        QVERIFY(!Photos().magnifyingGlass()->isEnabled()); // the picked photo left the strip
    }

    void theViewerWithoutPhotosSaysSoOverGrey() {
        WithViewerFromPage([](CPhotoViewerView& viewer) {
            QCOMPARE(viewer.windowTitle(), QStringLiteral("Photo Viewer"));
            QCOMPARE(viewer.canvas()->accessibleDescription(),
                     QStringLiteral("There are no Photos"));
            const QImage image = viewer.canvas()->grab().toImage();
            QVERIFY(Near(image.pixelColor(image.rect().center()), kGrey));
            for (int id : {kViewerNext, kViewerPrevious, kViewerPlayForward, kViewerPlayBackward,
                           kViewerPrint})
                QVERIFY(!viewer.button(id)->isEnabled());
            QVERIFY(!viewer.exportPdfButton()->isEnabled());
            QVERIFY(viewer.button(kViewerDone)->isEnabled());
            SavePng(viewer.grab().toImage(), QStringLiteral("photo_viewer_empty.png"));
        });
    }

    void theViewersButtonsAtTheFirstAndLastPhotoAndTheSlideShow() {
        ShapeInBox(1);
        Click(Photos().camera());
        ShapeInBox(3, -30);
        Click(Photos().camera());
        ShapeInBox(5, 30);
        Click(Photos().camera());
        CPhotoViewerView viewer(PhotoStrip(), m_view.get(), m_doc.get());
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        const auto enabled = [&viewer](int id) { return viewer.button(id)->isEnabled(); };

        QCOMPARE(viewer.canvas()->accessibleDescription(), QStringLiteral("Photo #1 of 3"));
        QVERIFY(enabled(kViewerNext) && enabled(kViewerPlayForward) && enabled(kViewerPrint));
        QVERIFY(!enabled(kViewerPrevious) && !enabled(kViewerPlayBackward));
        QTest::mouseClick(viewer.button(kViewerNext), Qt::LeftButton);
        QTest::keyClick(&viewer, Qt::Key_Right);
        QCOMPARE(viewer.canvas()->accessibleDescription(), QStringLiteral("Photo #3 of 3"));
        QVERIFY(!enabled(kViewerNext) && !enabled(kViewerPlayForward));
        QVERIFY(enabled(kViewerPrevious) && enabled(kViewerPlayBackward));
        SavePng(viewer.grab().toImage(), QStringLiteral("photo_viewer.png"));
        // The photo area's corner shows the light blue behind the photo.
        const QImage image = viewer.canvas()->grab().toImage();
        const CRect area = CPhotoViewerController::PhotoArea({0, 0, image.width(), image.height()});
        QVERIFY2(Near(image.pixelColor(area.left + 3, area.top + 3), kLightBlue),
                 qPrintable(image.pixelColor(area.left + 3, area.top + 3).name()));

        // Played backward: the button greys, the timer runs every 1250 ms and stops at the first.
        QTest::mouseClick(viewer.button(kViewerPlayBackward), Qt::LeftButton);
        QCOMPARE(viewer.slideInterval(), kPhotoViewerInterval);
        QCOMPARE(kPhotoViewerInterval, 1250);
        QVERIFY(!enabled(kViewerPlayBackward));
        QVERIFY(QTest::qWaitFor([&] { return viewer.controller().index() == 0; }, 5000));
        QCOMPARE(viewer.canvas()->accessibleDescription(), QStringLiteral("Photo #1 of 3"));
        QCOMPARE(viewer.slideInterval(), 0);
        QVERIFY(!enabled(kViewerPrevious) && !enabled(kViewerPlayBackward));
        QVERIFY(enabled(kViewerNext) && enabled(kViewerPlayForward));

        // Done stops a slide show that is still running.
        QTest::mouseClick(viewer.button(kViewerPlayForward), Qt::LeftButton);
        QVERIFY(viewer.controller().playing());
        QTest::mouseClick(viewer.button(kViewerDone), Qt::LeftButton);
        QVERIFY(!viewer.controller().playing());
        QCOMPARE(viewer.slideInterval(), 0);

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("photo.pdf"));
        QVERIFY(viewer.ExportPdfTo(pdf));
        QVERIFY(QFileInfo(pdf).size() > 500);
        // "Export as PDF..." offers the photo's number and asks in the document's folders.
        m_host->chooser.answers = {dir.filePath(QStringLiteral("third")).toStdString()};
        QTest::mouseClick(viewer.exportPdfButton(), Qt::LeftButton);
        QCOMPARE(m_host->chooser.requests.back().defaultName,
                 "photo " + std::to_string(viewer.controller().index() + 1));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("third.pdf"))).size() > 500);
    }

    void theOptionsShowAndHideThePhotoControls() {
        struct Row {
            std::int32_t functionality, features;
            bool strip, viewer, box, camera;
        };
        const Row rows[] = {
            {kPhotoFunctionAll, kPhotoHideAll, false, false, false, false},
            {kPhotoFunctionAll, kPhotoStripViewer, true, true, false, false},
            {kPhotoFunctionAll, kPhotoStripViewerBox, true, true, true, false},
            {kPhotoFunctionAll, kPhotoShowAll, true, true, true, true},
            // The teacher's functionality caps what the pupil chose.
            {kPhotoFunctionStripOnly, kPhotoShowAll, true, true, false, false},
            {kPhotoFunctionNone, kPhotoShowAll, false, false, false, false},
        };
        for (const Row& r : rows) {
            SetPhotoFeatures(r.features, r.functionality);
            const QString row = QStringLiteral("%1/%2").arg(r.functionality).arg(r.features);
            QVERIFY2(Strip()->isVisible() == r.strip, qPrintable(row));
            QVERIFY2(Photos().viewerButton()->isVisible() == r.viewer, qPrintable(row));
            QVERIFY2(Photos().boxShown() == r.box, qPrintable(row));
            QVERIFY2(Photos().camera()->isVisible() == r.camera, qPrintable(row));
            QVERIFY2(Photos().magnifyingGlass()->isVisible() == r.camera, qPrintable(row));
            // The box is drawn only while it is shown.
            QTest::qWait(10);
            const QImage pane = m_view->pane()->grab().toImage();
            const QRect box = Photos().BoxOnPane();
            QVERIFY2(BoxFramed(pane, box) == r.box, qPrintable(row));
            // The navigator gives way to the photos.
            QVERIFY2(m_view->navigator()->isVisible() == !r.strip, qPrintable(row));
        }
        // The entire view has no photos.
        SetPhotoFeatures(kPhotoShowAll);
        CGeometryOptions o = m_doc->options();
        o.user[kOptView] = 1;
        m_doc->SetOptions(o);
        QVERIFY(!Strip()->isVisible() && !Photos().camera()->isVisible());
        QVERIFY(!Photos().viewerButton()->isVisible() && !Photos().boxShown());
    }

    void printingThePhotoStripDrawsItsPhotosFramed() {
        ShapeInBox(1);
        Click(Photos().camera());
        Click(Photos().camera());
        RecordingSurface dc;
        DrawPhotoStripForPrint(dc, PhotoStrip());
        QCOMPARE(dc.Only("fill").size(), std::size_t{2});
        QVERIFY(!dc.Only("polygon").empty());
        const std::vector<std::string> frames = dc.Only("rect");
        QCOMPARE(frames.size(), std::size_t{2});
        CRect first = PhotoStrip().at(0).pictureRect();
        first.Inflate(1, 1);
        QCOMPARE(QString::fromStdString(frames[0]), QStringLiteral("rect %1,%2 %3,%4")
                                                        .arg(first.left)
                                                        .arg(first.top)
                                                        .arg(first.right)
                                                        .arg(first.bottom));
        QVERIFY(dc.calls.end() != std::find(dc.calls.begin(), dc.calls.end(), "pen 1 #000000"));

        CPrintOptions print = m_doc->printOptions();
        print.workspace = kPrintPhotoStrip;
        m_doc->SetPrintOptions(print);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("strip.pdf"));
        QVERIFY(m_view->ExportPdfTo(pdf));
        QVERIFY(QFileInfo(pdf).size() > 500);
    }

    // For review: the page with photos in the strip and shapes in the box.
    void pageWithPhotosForReview() {
        ShapeInBox(1);
        Click(Photos().camera());
        ShapeInBox(3, -35);
        ShapeInBox(0, 35);
        Click(Photos().camera());
        ShapeInBox(4);
        Click(Photos().camera());
        for (int i = 0; i < 6; ++i)
            Click(Photos().camera());
        QTest::mouseClick(Strip(), Qt::LeftButton, Qt::NoModifier, Strip()->PhotoRect(1).center());
        m_doc->AddManipulative(MakeDrawerShape(2, C3DPointDouble(200, 120, 0)));
        QTest::qWait(20);
        SavePng(m_view->grab().toImage(), QStringLiteral("photos_page.png"));
        QVERIFY(PhotoStrip().at(1).selected());

        // A photo on its way to the box: its picture under the pointer, the box lit up.
        const QPoint from = Strip()->PhotoRect(1).center();
        const QPoint target =
            Strip()->mapFromGlobal(m_view->pane()->mapToGlobal(Photos().BoxOnPane().center()));
        QTest::mousePress(Strip(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(Strip(), from + QPoint(0, -12));
        QTest::mouseMove(Strip(), target);
        QTest::qWait(20);
        SavePng(m_view->grab().toImage(), QStringLiteral("photos_drag.png"));
        m_host->prompter.answers.push_back(MessageResult::Cancel);
        QTest::mouseRelease(Strip(), Qt::LeftButton, Qt::NoModifier, target);
        QCOMPARE(PhotoStrip().size(), std::size_t{9});
    }
};

QTEST_MAIN(PhotosUiTest)
#include "photos_ui_test.moc"

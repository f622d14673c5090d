// The Qt implementations of the core's platform interfaces: colours, fonts, drawing into a
// core-owned image with the alternate fill rule, text metrics, message boxes, timers, the
// file dialog's filters and folder buttons, and the splash.
#include "fakes/fakes.h"
#include "ui/app/splash.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_file_chooser.h"
#include "ui/platform/qt_prompter.h"
#include "ui/platform/qt_timer_host.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace quorvel;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kRed = 0xFFFF0000u;

// Presses the button with `text` in the next modal dialog.
void AnswerNextDialog(const QString& text) {
    QTimer::singleShot(0, [text] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        for (auto* b : modal->findChildren<QAbstractButton*>())
            if (b->text().remove(QLatin1Char('&')) == text) {
                b->click();
                return;
            }
        QFAIL(qPrintable(QStringLiteral("no button ") + text));
    });
}

struct CountingClient : ITimerClient {
    ITimerHost* host = nullptr;
    int ticks = 0;
    void OnTimer(std::uint32_t id) override {
        ++ticks;
        host->KillTimer(id); // a client may stop its timer from its own tick
    }
};

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void paletteColoursConvert() {
        QCOMPARE(QtColor(PaletteRGB(255, 171, 97)), QColor(255, 171, 97));
        QCOMPARE(QtColor(0x00336699u), QColor(0x99, 0x66, 0x33));
        QVERIFY(!QtColor(kNoColor).isValid());
    }

    void fontsMapToFontsWeHave() {
        const QFont arial = QtFont({"Arial", 120});
        QCOMPARE(QFontInfo(arial).family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(arial.pixelSize(), 16); // 12 points at 96 pixels per inch
        QCOMPARE(QtFont({"Arial", 0, -20}).pixelSize(), 20);
        QVERIFY(QtFont({"Arial", 120, 0, 700}).bold());
        QCOMPARE(FaceText({"Symbol", 140}, "\xB4"), QString(QChar(0x00D7)));
        QCOMPARE(FaceText({"Symbol", 140}, "\xB8"), QString(QChar(0x00F7)));
        QCOMPARE(FaceText({"Symbol", 140}, "-"), QString(QChar(0x2212)));
        QCOMPARE(FaceText({"Arial", 140}, "\xC3\x97"), QString(QChar(0x00D7)));
    }

    void polygonFillsWithTheAlternateRule() {
        CImage image(100, 100, kWhite);
        {
            CQtSurfaceFactory factory;
            auto surface = factory.SurfaceFor(image);
            surface->SetNullPen();
            surface->SetBrush(PaletteRGB(255, 0, 0));
            // A pentagram: its centre is enclosed twice and stays empty under the alternate rule.
            surface->Polygon({{50, 5}, {79, 95}, {2, 39}, {98, 39}, {21, 95}});
        }
        QCOMPARE(image.at(50, 20), kRed);   // a point of the star
        QCOMPARE(image.at(50, 55), kWhite); // the centre
        QCOMPARE(image.at(2, 2), kWhite);
    }

    void penAndRectangleFollowGdi() {
        CImage image(40, 40, kWhite);
        {
            CQtDrawingSurface surface(image);
            surface.SetPen(1, PaletteRGB(0, 0, 0));
            surface.SetBrush(PaletteRGB(0, 255, 0));
            surface.Rectangle({10, 10, 20, 20});
            surface.FillRect({30, 30, 35, 35}, PaletteRGB(0, 0, 255));
        }
        // The outline runs along left/top and right - 1/bottom - 1; the inside is filled.
        QCOMPARE(image.at(10, 10), 0xFF000000u);
        QCOMPARE(image.at(19, 19), 0xFF000000u);
        QCOMPARE(image.at(20, 20), kWhite);
        QCOMPARE(image.at(15, 15), 0xFF00FF00u);
        QCOMPARE(image.at(34, 34), 0xFF0000FFu);
        QCOMPARE(image.at(35, 35), kWhite);
    }

    // Smoothed as the panes paint, a one-pixel line still lights one row and one column, in
    // its own colour (an anglemeter's black arms).
    void thinLinesStayCrispWhenSmoothed() {
        QImage image(40, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing, true);
            CQtDrawingSurface surface(p);
            surface.SetPen(1, PaletteRGB(0, 0, 0));
            surface.Line({5, 10}, {30, 10});
            surface.Polyline({{20, 15}, {20, 35}});
        }
        QCOMPARE(image.pixel(15, 10), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(15, 9), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(15, 11), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(20, 25), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(21, 25), qRgb(255, 255, 255));
    }

    // A pane's painter comes clipped to what needs repainting and moved to the workspace: a
    // unit's clip narrows that area, never widens it, and clearing the clip returns to it.
    void clipStaysWithinThePaintersOwn() {
        QImage image(40, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            p.setClipRect(QRect(0, 0, 20, 40));
            p.translate(-100, 0);
            CQtDrawingSurface surface(p);
            surface.SetClip({110, 0, 140, 10});
            surface.FillRect({100, 0, 140, 40}, PaletteRGB(255, 0, 0));
            surface.ClearClip();
            surface.FillRect({100, 20, 140, 40}, PaletteRGB(0, 0, 255));
        }
        QCOMPARE(image.pixel(15, 5), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(5, 5), qRgb(255, 255, 255));  // outside the unit's clip
        QCOMPARE(image.pixel(25, 5), qRgb(255, 255, 255)); // outside the painter's
        QCOMPARE(image.pixel(5, 30), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(25, 30), qRgb(255, 255, 255));
    }

    void transparentTextLeavesItsCellAlone() {
        CImage image(200, 40, kWhite);
        {
            CQtDrawingSurface surface(image);
            surface.SetFont({"Arial", 120});
            surface.SetTextColor(PaletteRGB(0, 0, 0));
            surface.SetTextBackground(PaletteRGB(255, 255, 0), true);
            surface.TextOut({4, 4}, "Tiles");
            surface.SetTextBackground(PaletteRGB(255, 255, 0), false);
            surface.TextOut({100, 4}, "Tiles");
        }
        int dark = 0, yellow = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 100; ++x) {
                dark += qGray(image.at(x, y)) < 100;
                yellow += image.at(x, y) == 0xFFFFFF00u;
            }
        QVERIFY(dark > 20); // the letters, below and right of the cell's top-left
        QCOMPARE(yellow, 0);
        QCOMPARE(image.at(101, 5), 0xFFFFFF00u); // the opaque cell
    }

    void textMetricsWorkOutsidePainting() {
        CQtTextMetrics metrics;
        const CFontSpec font{"Arial", 120};
        const CSize one = metrics.TextExtent(font, "Tessellation");
        QVERIFY(one.cx > 60 && one.cx < 120);
        QCOMPARE(one.cy, metrics.LineHeight(font));
        const CSize wrapped =
            metrics.WrappedExtent(font, "Tiles and Tessellations make patterns", 120);
        QVERIFY(wrapped.cx <= 120);
        QVERIFY(wrapped.cy >= 3 * metrics.LineHeight(font));
        QVERIFY(metrics.AverageCharWidth(font) > 3);
    }

    void messageBoxAnswers() {
        CQtPrompter qtPrompter(nullptr);
        IPrompter& prompter = qtPrompter; // the defaults live on the interface
        AnswerNextDialog(QStringLiteral("No"));
        QCOMPARE(prompter.MessageBox("Do you want to exit?", MessageIcon::Question,
                                     MessageButtons::YesNo),
                 MessageResult::No);
        AnswerNextDialog(QStringLiteral("Cancel"));
        QCOMPARE(prompter.MessageBox("Save?", MessageIcon::Question, MessageButtons::YesNoCancel),
                 MessageResult::Cancel);
        AnswerNextDialog(QStringLiteral("Numbers"));
        QCOMPARE(prompter.Choose("Which?", {"Codes", "Numbers", "Designs"}), 1);
    }

    void messageBoxShowsLineBreaks() {
        CQtPrompter qtPrompter(nullptr);
        IPrompter& prompter = qtPrompter; // the defaults live on the interface
        QString shown;
        QTimer::singleShot(0, [&shown] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->text();
            QCOMPARE(box->icon(), QMessageBox::Warning);
            box->accept();
        });
        prompter.MessageBox("Sorry\r\n\"x\".\r\nPlease", MessageIcon::Exclamation);
        QCOMPARE(shown, QStringLiteral("Sorry\n\"x\".\nPlease"));
    }

    void textBoxStopsTypingAtItsLimit() {
        CQtPrompter prompter(nullptr);
        QTimer::singleShot(0, [] {
            auto* edit = QApplication::activeModalWidget()->findChild<QLineEdit*>();
            QVERIFY(edit);
            edit->selectAll();
            QTest::keyClicks(edit, QStringLiteral("tessellate"));
            QTest::keyClick(edit, Qt::Key_Return);
        });
        QCOMPARE(prompter.AskText("Name of Script?", "script1", "Name of Script?", 8),
                 std::optional<std::string>("tessella"));
    }

    void timersTickByIdAndStop() {
        CQtTimerHost host;
        CountingClient client;
        client.host = &host;
        QVERIFY(host.StartTimer(2222, 5, &client));
        QVERIFY(host.IsRunning(2222));
        QTRY_COMPARE(client.ticks, 1);
        QVERIFY(!host.IsRunning(2222));
        QTest::qWait(30);
        QCOMPARE(client.ticks, 1);
        QVERIFY(!host.StartTimer(1, 10, nullptr));
    }

    void fileFiltersConvert() {
        QCOMPARE(DialogNameFilters("Quorvel (*.qvg)|*.qvg||All Files (*.*)|*.*||"),
                 (QStringList{QStringLiteral("Quorvel (*.qvg)"), QStringLiteral("All Files (*)")}));
        QCOMPARE(DialogNameFilters("Data|*.qvs;*.txt||"),
                 QStringList{QStringLiteral("Data (*.qvs *.txt)")});
        QVERIFY(DialogNameFilters("").isEmpty());
    }

    void fileDialogHasTheFolderButtons() {
        QTemporaryDir personal, board, teacher;
        CFileDialogRequest r;
        r.filter = "Quorvel (*.qvs)|*.qvs||All Files (*.*)|*.*||";
        r.defaultExtension = "qvs";
        r.directory = DirectoryChoice::BulletinBoard;
        r.personalFolder = personal.path().toStdString();
        r.bulletinBoardFolder = board.path().toStdString();
        r.teacherBulletinBoardFolder = teacher.path().toStdString();
        r.initialFolder = r.bulletinBoardFolder;
        DirectoryChoice choice = DirectoryChoice::Personal;
        std::unique_ptr<QFileDialog> dialog(CQtFileChooser::MakeDialog(r, nullptr, &choice));
        QCOMPARE(choice, DirectoryChoice::BulletinBoard);
        QCOMPARE(dialog->defaultSuffix(), QStringLiteral("qvs"));
        QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(board.path()).canonicalPath());
        auto* group = dialog->findChild<QGroupBox*>();
        QVERIFY(group);
        QCOMPARE(group->title(), QStringLiteral("Directory"));
        const auto radios = group->findChildren<QRadioButton*>();
        QCOMPARE(radios.size(), 3);
        QCOMPARE(radios[0]->accessibleName(), QStringLiteral("Personal"));
        QCOMPARE(radios[1]->accessibleName(), QStringLiteral("Student Bulletin Board"));
        QCOMPARE(radios[2]->accessibleName(), QStringLiteral("Teacher Bulletin Board"));
        QVERIFY(radios[1]->isChecked());
        radios[2]->click();
        QCOMPARE(choice, DirectoryChoice::TeacherBulletinBoard);
        QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(teacher.path()).canonicalPath());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Open"));
        // A request with its own caption shows it.
        r.save = true;
        r.title = "Export as PDF";
        dialog.reset(CQtFileChooser::MakeDialog(r, nullptr, &choice));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Export as PDF"));
        // A bulletin board nobody has saved to yet opens all the same, never the home folder.
        r.initialFolder = r.bulletinBoardFolder =
            board.filePath(QStringLiteral("bboard")).toStdString();
        dialog.reset(CQtFileChooser::MakeDialog(r, nullptr, &choice));
        QCOMPARE(QDir(dialog->directory()).canonicalPath(),
                 QDir(board.filePath(QStringLiteral("bboard"))).canonicalPath());
    }

    void splashEndsAtOnceWithoutAPicture() {
        QTemporaryDir classDir;
        quorvel::testing::FakeTimerHost timers;
        QVERIFY(!CSplashWnd::Create(nullptr, classDir.path().toStdString(), timers));
        QVERIFY(!timers.IsRunning(kSplashTimer));
    }

    void splashShowsForThreeAndAHalfSeconds() {
        QTemporaryDir classDir;
        QImage picture(120, 80, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(classDir.filePath(QStringLiteral("splash.bmp"))));
        quorvel::testing::FakeTimerHost timers;
        QPointer<CSplashWnd> splash =
            CSplashWnd::Create(nullptr, classDir.path().toStdString(), timers);
        QVERIFY(splash);
        splash->show();
        QVERIFY(timers.IsRunning(kSplashTimer));
        QCOMPARE(timers.running[kSplashTimer].interval, 3500);
        QVERIFY(timers.Fire(kSplashTimer));
        QVERIFY(!timers.IsRunning(kSplashTimer));
        QTRY_VERIFY(splash.isNull());
    }

    void aQuestionAskedDuringTheSplashStaysInFront() {
        QTemporaryDir classDir;
        QImage picture(10, 10, QImage::Format_RGB32);
        QVERIFY(picture.save(classDir.filePath(QStringLiteral("splash.png"))));
        quorvel::testing::FakeTimerHost timers;
        QWidget owner;
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        CSplashWnd* splash = CSplashWnd::Create(&owner, classDir.path().toStdString(), timers);
        QVERIFY(splash);
        QDialog question(&owner);
        question.setModal(true);
        question.show();
        QVERIFY(QTest::qWaitForWindowActive(&question));
        QVERIFY(timers.Fire(kSplashTimer));
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), &question);
    }

    void splashEndsWhenTheTimerCannotBeSet() {
        QTemporaryDir classDir;
        QImage picture(10, 10, QImage::Format_RGB32);
        QVERIFY(picture.save(classDir.filePath(QStringLiteral("splash.png"))));
        quorvel::testing::FakeTimerHost timers;
        timers.refuse = true;
        QVERIFY(!CSplashWnd::Create(nullptr, classDir.path().toStdString(), timers));
    }
};

QTEST_MAIN(PlatformTest)
#include "platform_test.moc"

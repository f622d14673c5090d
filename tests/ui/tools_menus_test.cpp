// The Tools and Documents menus offscreen: which units show them, the notepad that keeps its
// text across closing and units, the calculator found on the path or its message, and the
// companion documents handed to the desktop. The notepad is saved as a PNG for review.
#include "fakes/fakes.h"
#include "ui/app/main_frame.h"
#include "ui/app/notepad_window.h"
#include "ui/app/tools_menus.h"
#include "workspace/unit_document.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTextFrame>
#include <QtTest>

using namespace quorvel;
using quorvel::testing::FakeDocumentHost;

namespace {

QMenu* FindMenu(QMainWindow& w, const QString& title) {
    for (QAction* top : w.menuBar()->actions())
        if (top->text() == title)
            return top->menu();
    return nullptr;
}

QAction* FindAction(QMenu* menu, const QString& text) {
    if (menu)
        for (QAction* a : menu->actions())
            if (a->text() == text)
                return a;
    return nullptr;
}

QStringList Texts(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
        out << a->text();
    return out;
}

} // namespace

class ToolsMenusTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_programDir;
    std::unique_ptr<FakeDocumentHost> m_host;
    std::unique_ptr<CMainFrame> m_frame;
    std::vector<std::string> m_opened;
    QByteArray m_path;

    QMenu* Tools() { return FindMenu(*m_frame, QStringLiteral("&Tools")); }
    QMenu* Documents() { return FindMenu(*m_frame, QStringLiteral("Doc&uments")); }
    void Trigger(QMenu* menu, const QString& text) {
        QAction* a = FindAction(menu, text);
        QVERIFY2(a, qPrintable(text));
        QVERIFY(menu->menuAction()->isVisible());
        a->trigger();
    }

private slots:
    void initTestCase() { m_path = qgetenv("PATH"); }
    void cleanupTestCase() { qputenv("PATH", m_path); }

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
        m_frame->toolsMenus()->SetPdfReaderCheck([] { return true; });
        QVERIFY(m_frame->Start({}, m_programDir.path().toStdString(), "/home/pupil/Desktop"));
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
    }

    void cleanup() {
        m_frame.reset();
        m_host.reset();
    }

    void menusShowOnUnitPagesOnly() {
        QVERIFY(Tools());
        QVERIFY(Documents());
        QVERIFY(!Tools()->menuAction()->isVisible());
        QVERIFY(!Documents()->menuAction()->isVisible());

        m_frame->app().OpenUnit(UnitKind::Geometry);
        QVERIFY(Tools()->menuAction()->isVisible());
        QCOMPARE(Texts(Tools()),
                 (QStringList{QStringLiteral("&Notepad"), QStringLiteral("&Calculator")}));
        QCOMPARE(Texts(Documents()), (QStringList{QStringLiteral("Reproducible Master &5"),
                                                  QStringLiteral("Reproducible Master &6"),
                                                  QStringLiteral("Activity Book &4")}));
        // The Tools menu comes before Help, Documents right after Tools.
        const QList<QAction*> bar = m_frame->menuBar()->actions();
        QCOMPARE(bar.indexOf(Documents()->menuAction()), bar.indexOf(Tools()->menuAction()) + 1);
        QCOMPARE(bar.last()->text(), QStringLiteral("&Help"));
        QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
        QVERIFY(m_frame->grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/tools_menus_bar.png")));
        Documents()->popup(m_frame->mapToGlobal(QPoint(200, 20)));
        QVERIFY(QTest::qWaitForWindowExposed(Documents()));
        QVERIFY(
            Documents()->grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/documents_menu.png")));
        Documents()->hide();
        m_frame->app().LeaveUnit();

        m_frame->app().OpenUnit(UnitKind::Numbers);
        QCOMPARE(Texts(Documents()), QStringList{QStringLiteral("&Reproducible Master 12")});
        m_frame->app().LeaveUnit();

        m_frame->app().OpenUnit(UnitKind::Designs);
        QVERIFY(Tools()->menuAction()->isVisible());
        QVERIFY(!Documents()->menuAction()->isVisible());
        m_frame->app().LeaveUnit();

        m_frame->app().OpenUnit(UnitKind::Statistics);
        QCOMPARE(Texts(Documents()).size(), 3);
        m_frame->app().LeaveUnit();
        QVERIFY(!Tools()->menuAction()->isVisible());
    }

    void notepadKeepsItsTextAcrossClosingAndUnits() {
        m_frame->app().OpenUnit(UnitKind::Geometry);
        Trigger(Tools(), QStringLiteral("&Notepad"));
        CNotepadWindow* notepad = m_frame->toolsMenus()->notepad();
        QVERIFY(notepad);
        QVERIFY(notepad->isVisible());
        QCOMPARE(notepad->windowTitle(), QStringLiteral("Notepad"));
        QVERIFY(QTest::qWaitForWindowExposed(notepad));
        QTest::keyClicks(notepad->editor(), QStringLiteral("Area = 6 x 4"));
        QCOMPARE(m_frame->app().notepad().text(), std::string("Area = 6 x 4"));
        QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
        QVERIFY(notepad->grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/notepad.png")));

        notepad->close();
        QVERIFY(!notepad->isVisible());
        m_frame->app().LeaveUnit();
        m_frame->app().OpenUnit(UnitKind::Statistics);
        Trigger(Tools(), QStringLiteral("&Notepad"));
        // One window for the program.
        QCOMPARE(m_frame->toolsMenus()->notepad(), notepad);
        QVERIFY(notepad->isVisible());
        QCOMPARE(notepad->editor()->toPlainText(), QStringLiteral("Area = 6 x 4"));

        // A document that brings its notepad text shows it in the window.
        m_frame->app().notepad().SetText("From a saved workspace");
        QCOMPARE(notepad->editor()->toPlainText(), QStringLiteral("From a saved workspace"));
    }

    void notepadWritesIn12PointArialWithItsMargins() {
        m_frame->app().OpenUnit(UnitKind::Codes);
        Trigger(Tools(), QStringLiteral("&Notepad"));
        QTextEdit* edit = m_frame->toolsMenus()->notepad()->editor();
        QCOMPARE(edit->font().family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(edit->property("controlId").toInt(), kNotepadEditId);
        QVERIFY(!edit->accessibleName().isEmpty());
        QCOMPARE(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        // Margins hold after the text is replaced, as when a document brings its own.
        m_frame->app().notepad().SetText("line one\nline two");
        const QTextFrameFormat f = edit->document()->rootFrame()->frameFormat();
        QCOMPARE(f.leftMargin(), 15.0);
        QCOMPARE(f.topMargin(), 25.0);
        QCOMPARE(f.rightMargin(), 10.0);
    }

    void calculatorMissingGivesTheMessage() {
        QTemporaryDir empty;
        qputenv("PATH", empty.path().toLocal8Bit());
        int starts = 0;
        m_frame->toolsMenus()->SetProcessStarter([&](const CCalculatorLaunch&) {
            ++starts;
            return true;
        });
        m_frame->app().OpenUnit(UnitKind::Geometry);
        Trigger(Tools(), QStringLiteral("&Calculator"));
        QCOMPARE(starts, 0);
        QCOMPARE(m_host->prompter.LastText(),
                 std::string("No calculator was found on your system."));
    }

    void calculatorFoundStartsAtTheWindowsCorner() {
        QTemporaryDir bin;
        const QString xcalc = bin.filePath(QStringLiteral("xcalc"));
        QFile f(xcalc);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.close();
        f.setPermissions(f.permissions() | QFile::ExeOwner);
        qputenv("PATH", (QStringLiteral("/nonexistent:") + bin.path()).toLocal8Bit());
        std::vector<CCalculatorLaunch> started;
        m_frame->toolsMenus()->SetProcessStarter([&](const CCalculatorLaunch& l) {
            started.push_back(l);
            return true;
        });
        m_frame->app().OpenUnit(UnitKind::Numbers);
        Trigger(Tools(), QStringLiteral("&Calculator"));
        QCOMPARE(started.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(started[0].program), xcalc);
        const QPoint corner = m_frame->frameGeometry().topLeft();
        QCOMPARE(QString::fromStdString(started[0].arguments.back()),
                 QStringLiteral("+%1+%2").arg(corner.x()).arg(corner.y()));
        QVERIFY(m_host->prompter.messages.empty());
    }

    void documentsOpenWithTheDesktopOrExplain() {
        const CCompanionDocument* master = FindCompanionDocument(32841);
        QVERIFY(master);
        const QString path = QDir(m_programDir.filePath(QStringLiteral("docs")))
                                 .filePath(QString::fromLatin1(master->fileName));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("%PDF-1.4\n");
        f.close();

        m_frame->app().OpenUnit(UnitKind::Geometry);
        Trigger(Documents(), QStringLiteral("Reproducible Master &5"));
        QCOMPARE(m_opened.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(m_opened[0]), path);
        QVERIFY(m_host->prompter.messages.empty());

        m_frame->toolsMenus()->SetPdfReaderCheck([] { return false; });
        Trigger(Documents(), QStringLiteral("Reproducible Master &5"));
        QCOMPARE(m_opened.size(), std::size_t(1));
        QCOMPARE(m_host->prompter.LastText(),
                 std::string("Sorry, a suitable application for reading 'pdf' files was not "
                             "found on your system."));

        m_frame->toolsMenus()->SetPdfReaderCheck([] { return true; });
        Trigger(Documents(), QStringLiteral("Activity Book &4"));
        // A missing file is not handed on.
        QCOMPARE(m_opened.size(), std::size_t(1));
        QVERIFY(m_host->prompter.LastText().find("Tiles Activity Book 4.pdf") != std::string::npos);
    }
};

QTEST_MAIN(ToolsMenusTest)
#include "tools_menus_test.moc"

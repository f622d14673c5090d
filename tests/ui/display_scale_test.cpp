// The larger display offscreen. ctest runs this at 100% and again with the platform's factor at
// 200% (QUORVEL_TEST_SCALE says which): the control under a point scaled by the factor is the
// one under the point at 100%, and the art is drawn at the screen's resolution. The File menu's
// choice is remembered and offers a restart only when it changes the running scale.
#include "app/display_scale.h"
#include "fakes/fakes.h"
#include "ui/app/bitmap_button.h"
#include "ui/app/main_frame.h"
#include "ui/app/menu_views.h"
#include "ui/art/art.h"

#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

using namespace quorvel;
using quorvel::testing::FakeDocumentHost;

class DisplayScaleTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_programDir;
    std::unique_ptr<FakeDocumentHost> m_host;
    std::unique_ptr<CMainFrame> m_frame;
    qreal m_factor = qEnvironmentVariableIntValue("QUORVEL_TEST_SCALE") / 100.0;

private slots:
    void init() {
        if (m_factor == 0)
            m_factor = 1;
        QDir(m_programDir.path()).mkpath(QStringLiteral("class"));
        m_host = std::make_unique<FakeDocumentHost>();
        m_frame = std::make_unique<CMainFrame>(m_host.get());
        m_frame->SetDesktopOpener([](const std::string&) { return true; });
        QVERIFY(m_frame->Start({"/AM"}, m_programDir.path().toStdString(), "/home/pupil"));
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
    }

    void cleanup() {
        m_host->prompter.answers = {MessageResult::Yes};
        m_frame.reset();
    }

    void sameControlUnderTheScaledPoint() {
        QCOMPARE(m_frame->windowHandle()->devicePixelRatio(), m_factor);
        auto* page = qobject_cast<CMenuView*>(m_frame->currentPage());
        QVERIFY(page);
        // The main menu's buttons by their placing rule, in the page's pixels at 100%.
        const int w = page->width(), h = page->height();
        const std::pair<int, QPoint> buttons[] = {{1000, {w / 4, h / 3}},
                                                  {1001, {w - w / 4, h / 3}},
                                                  {1002, {w / 2, h - h / 3}},
                                                  {1704, {w / 2, h - 10}}};
        for (const auto& [id, at100] : buttons) {
            // Where the screen has that point now, and where the page takes a press there.
            const QPointF onScreen = QPointF(at100) * m_factor;
            const QPoint inPage =
                (onScreen / m_frame->windowHandle()->devicePixelRatio()).toPoint();
            QCOMPARE(page->childAt(inPage), static_cast<QWidget*>(page->button(id)));
        }
        // Pressing there does what the button says.
        QWidget* patterns = page->childAt(QPoint(w - w / 4, h / 3));
        QTest::mouseClick(patterns, Qt::LeftButton, {}, patterns->rect().center());
        QCOMPARE(m_frame->app().currentMenuView(), MenuView::PatternsUnit);
    }

    void artIsDrawnAtTheScreensResolution() {
        const QPixmap art = ArtPixmap(517, QSize(220, 170));
        QCOMPARE(art.devicePixelRatio(), m_factor);
        QCOMPARE(art.size(), (QSizeF(220, 170) * m_factor).toSize());
        const QPixmap page = m_frame->currentPage()->grab();
        QCOMPARE(page.size(), (QSizeF(m_frame->currentPage()->size()) * m_factor).toSize());
    }

    void choiceIsKeptAndOffersARestartWhenItChanges() {
        const int running = qRound(m_factor * 100);
        std::vector<int> stored;
        std::vector<std::vector<std::string>> restarts;
        m_frame->SetDisplayScale(running, running,
                                 {[&](int p) { stored.push_back(p); },
                                  [&](const std::vector<std::string>& a) {
                                      restarts.push_back(a);
                                      return true;
                                  }});
        m_frame->ChooseDisplayScale(running);
        QVERIFY(m_host->prompter.messages.empty());
        m_host->prompter.answers = {MessageResult::No};
        m_frame->ChooseDisplayScale(150);
        QCOMPARE(m_host->prompter.messages.size(), std::size_t{1});
        QVERIFY(restarts.empty());
        QVERIFY(m_frame->isVisible());
        m_host->prompter.answers = {MessageResult::Yes};
        m_frame->ChooseDisplayScale(125);
        QCOMPARE(stored, (std::vector<int>{running, 150, 125}));
        QCOMPARE(m_frame->chosenDisplayScale(), 125);
        // The restart keeps authoring mode and closes without the exit question.
        QCOMPARE(restarts, (std::vector<std::vector<std::string>>{{"/AM"}}));
        QCOMPARE(m_host->prompter.messages.size(), std::size_t{2});
        QVERIFY(!m_frame->isVisible());
    }
};

QTEST_MAIN(DisplayScaleTest)
#include "display_scale_test.moc"

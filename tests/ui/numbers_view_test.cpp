// The Numbers page offscreen, driven as a pupil would: cards and a machine dragged out of the
// drawer, numbers typed on the cards, the cards dropped on the hoppers, "+" typed in the
// operator box and Go pressed, the run left to its real timers; and the page's tools and menu.
#include "fakes/fakes.h"
#include "patterns/machine_table.h"
#include "patterns/numbers_controller.h"
#include "ui/app/bitmap_button.h"
#include "ui/patterns/numbers_drawer.h"
#include "ui/patterns/numbers_view.h"
#include "ui/platform/qt_text.h"
#include "ui/workspace/art_button.h"
#include "ui/workspace/tool_palette.h"
#include "ui/workspace/workspace_pane.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

using namespace quorvel;
using quorvel::testing::FakeDocumentHost;

class NumbersViewTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FakeDocumentHost> m_host;
    std::unique_ptr<CNumberPatternsDocument> m_doc;
    std::unique_ptr<CNumberPatternsView> m_view;

    CWorkspacePane* Pane() { return m_view->pane(); }
    QPoint Centre(const CRect& workspace) { return m_view->ToPane(workspace).center(); }

    template <class T> std::vector<T*> All(std::int32_t type) {
        std::vector<T*> found;
        for (const auto& m : m_doc->manipulatives())
            if (m->GetType() == type)
                found.push_back(static_cast<T*>(m.get()));
        return found;
    }

    void DragFromDrawer(NumbersDrawerItem item, QPoint onPane) {
        CNumbersDrawerItem* w = m_view->drawer()->itemWidget(item);
        const QPoint target = w->mapFromGlobal(Pane()->mapToGlobal(onPane));
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
        QTest::mouseMove(w, w->rect().center() + QPoint(20, 0));
        QTest::mouseMove(w, target);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, target);
    }

    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(Pane(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(Pane(), (from + to) / 2);
        QTest::mouseMove(Pane(), to);
        QTest::mouseRelease(Pane(), Qt::LeftButton, Qt::NoModifier, to);
    }

    // Clicks a box and types in the editor the page lays over it.
    void TypeIn(QPoint box, const QString& text) {
        QTest::mouseClick(Pane(), Qt::LeftButton, Qt::NoModifier, box);
        QLineEdit* edit = m_view->editBox();
        QVERIFY(edit->isVisible());
        QVERIFY(edit->geometry().contains(box));
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(!edit->isVisible());
    }

    // A card from the drawer with `text` typed on it, dropped on input `which` of `machine`.
    void CardOnHopper(QPoint from, const QString& text, CNumberMachine& machine, int which) {
        DragFromDrawer(NumbersDrawerItem::Card, from);
        CNumberCardManipulative* card = All<CNumberCardManipulative>(kTypeNumberCard).back();
        TypeIn(Centre(card->rect()), text);
        QCOMPARE(card->text(), ToStdString(text));
        Drag(Centre(card->rect()), Centre(machine.DropArea(which)));
        QCOMPARE(machine.InputAt(which), card);
    }

private slots:
    void init() {
        m_host = std::make_unique<FakeDocumentHost>();
        m_doc = std::make_unique<CNumberPatternsDocument>();
        m_doc->SetHost(m_host.get());
        m_view = std::make_unique<CNumberPatternsView>(*m_doc, nullptr);
        m_view->resize(800, 575);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }

    void cleanup() {
        m_view.reset();
        m_doc.reset();
    }

    void toolsAndMenu() {
        const auto shown = [this] {
            QList<int> codes;
            for (const CToolInfo& tool : ToolTable())
                if (m_view->palette()->button(ToolCommand(tool.code))->isVisible())
                    codes << tool.code;
            return codes;
        };
        QCOMPARE(shown(), (QList<int>{kToolArrow, kToolSelector, kToolEraser, kToolWriting,
                                      kToolHelp, kToolMystery, kToolLinking}));
        CNumbersOptions options = m_doc->options();
        options.mysteryTool = 0;
        m_doc->SetOptions(options);
        m_view->OptionsApplied();
        QVERIFY(!shown().contains(kToolMystery));

        QCOMPARE(m_view->unitMenu()->title(), QStringLiteral("&Numbers"));
        QStringList items;
        for (QAction* a : m_view->unitMenu()->actions())
            items << a->text();
        QCOMPARE(items, (QStringList{QStringLiteral("&Delete All Output cards"),
                                     QStringLiteral("&Number Options...")}));
    }

    void sevenAndFiveMakeTwelve() {
        DragFromDrawer(NumbersDrawerItem::Machine, QPoint(420, 230));
        const auto machines = All<CNumberMachine>(kTypeNumberMachine);
        QCOMPARE(machines.size(), std::size_t{1});
        CNumberMachine& machine = *machines.front();
        CardOnHopper(QPoint(120, 60), QStringLiteral("7"), machine, 1);
        CardOnHopper(QPoint(120, 160), QStringLiteral("5"), machine, 2);
        TypeIn(Centre(machine.PartRect(MachinePart::Operator)), QStringLiteral("+"));
        QCOMPARE(machine.operation(), 0);

        QVERIFY(machine.goEnabled());
        QTest::mouseClick(Pane(), Qt::LeftButton, Qt::NoModifier,
                          Centre(machine.PartRect(MachinePart::Go)));
        QVERIFY(m_view->numbers().running());
        QVERIFY(QTest::qWaitFor([this] { return !m_view->numbers().running(); }, 3000));
        const auto cards = All<CNumberCardManipulative>(kTypeNumberCard);
        QCOMPARE(cards.size(), std::size_t{1});
        QVERIFY(cards.front()->readOnly());
        QCOMPARE(cards.front()->value().ToDouble(), 12.0);
        QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
        QVERIFY(m_view->grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/numbers_twelve.png")));
    }

    // A table wired to the machine's output with the Linking tool records the run; a click on
    // its header chooses the column, and the Table menu turns it into a card and copies it.
    void tableRecordsARun() {
        DragFromDrawer(NumbersDrawerItem::Machine, QPoint(200, 230));
        CNumberMachine& machine = *All<CNumberMachine>(kTypeNumberMachine).front();
        CardOnHopper(QPoint(40, 60), QStringLiteral("7"), machine, 1);
        CardOnHopper(QPoint(40, 160), QStringLiteral("1/2"), machine, 2);
        TypeIn(Centre(machine.PartRect(MachinePart::Operator)), QStringLiteral("*"));

        QTest::mouseClick(m_view->viewButton(kCmdNewTable), Qt::LeftButton);
        const auto tables = All<CTableManipulative>(kTypeTable);
        QCOMPARE(tables.size(), std::size_t{1});
        CTableManipulative& table = *tables.front();
        QVERIFY(!table.WindowRect().Intersects(machine.GetFrameOf()));
        QTest::mouseClick(m_view->palette()->button(ToolCommand(kToolLinking)), Qt::LeftButton);
        Drag(Centre(machine.Hopper(0)), Centre(table.WindowRect()));
        QCOMPARE(table.grid().dataColumns(), 1);
        QTest::mouseClick(m_view->palette()->button(ToolCommand(kToolArrow)), Qt::LeftButton);

        QTest::mouseClick(Pane(), Qt::LeftButton, Qt::NoModifier,
                          Centre(machine.PartRect(MachinePart::Go)));
        QVERIFY(QTest::qWaitFor([this] { return !m_view->numbers().running(); }, 3000));
        QCOMPARE(table.grid().dataRows(), 1);
        QCOMPARE(table.grid().Cell(1, 1).text, std::string("3.5"));

        QStringList items;
        for (QAction* a : m_view->tableMenu()->actions())
            if (!a->isSeparator())
                items << a->text();
        QCOMPARE(items.mid(0, 5),
                 (QStringList{QStringLiteral("Sort &Largest to Smallest "),
                              QStringLiteral("Sort &Smallest to Largest "),
                              QStringLiteral("&Create Cards"), QStringLiteral("Clear &Table"),
                              QStringLiteral("&Print Table")}));
        QTest::mouseClick(Pane(), Qt::LeftButton, Qt::NoModifier, Centre(table.CellRect(0, 1)));
        QCOMPARE(table.grid().selectedColumn(), 1);
        const std::size_t cards = All<CNumberCardManipulative>(kTypeNumberCard).size();
        m_view->TableCommand(kCmdCreateCards);
        const auto made = All<CNumberCardManipulative>(kTypeNumberCard);
        QCOMPARE(made.size(), cards + 1);
        QCOMPARE(made.back()->value().ToDouble(), 3.5);
        QVERIFY(made.back()->rect().top >= table.WindowRect().bottom);
        m_view->TableCommand(kCmdCopyCells);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("3.5\r\n"));
        QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
        QVERIFY(m_view->grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/numbers_table.png")));
    }
};

QTEST_MAIN(NumbersViewTest)
#include "numbers_view_test.moc"

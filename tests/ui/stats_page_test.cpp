// The Statistics page's menus and Summary Statistics window offscreen: shown and hidden from
// the menu, refitted when the data change, and a CSV file brought in and taken out again.
#include "fakes/fakes.h"
#include "statistics/stats_commands.h"
#include "ui/app/unit_page.h"
#include "ui/statistics/stats_page_menus.h"
#include "ui/statistics/stats_unit_view.h"
#include "ui/statistics/summary_statistics_wnd.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvel;
using quorvel::testing::FakeDocumentHost;

class StatsPageTest : public QObject {
    Q_OBJECT

private slots:
    void MenusShowTheWindowAndCsvComesAndGoes() {
        FakeDocumentHost host;
        CStatsUnitDocument doc;
        doc.SetHost(&host);
        CUnitPage page(doc, UnitKind::Statistics, QStringLiteral("Statistics Unit"), nullptr);
        page.resize(800, 560);
        page.show();
        const QList<QMenu*> menus = page.unitMenus();
        QCOMPARE(menus.size(), 2);
        QCOMPARE(menus[0]->title(), QStringLiteral("&Statistics"));
        QCOMPARE(menus[1]->title(), QStringLiteral("Ta&ble"));
        auto* extras = page.findChild<CStatsPageMenus*>();
        QVERIFY(extras);
        CSummaryStatisticsWnd* window = extras->summaryWindow();
        QVERIFY(!window->isVisible());

        for (QAction* a : menus[0]->actions())
            if (a->data().toInt() == kCmdShowSummary)
                a->trigger();
        QVERIFY(window->isVisible());
        QCOMPARE(doc.summary().window().visible, 1);
        const QSize before = window->size();

        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("class.csv"));
        {
            QFile f(csv);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("Name,Pet\nAnn,cat\nBob,dog\nCy,cat\nDi,Shetland pony with a long name\n");
        }
        QVERIFY(extras->ImportCsvFile(csv));
        QCOMPARE(doc.dataSet().GetColumnName(2), std::string("Pet"));
        doc.dataSet().SetCurrentColumn(2);
        doc.UpdateAllViews();
        QVERIFY(window->width() > before.width()); // the long category widened it
        QVERIFY(doc.CanUndo());

        const QString out = dir.filePath(QStringLiteral("out.csv"));
        QVERIFY(extras->ExportCsvFile(out));
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().left(9), QByteArray("Name,Pet\r"));

        window->close(); // the close box hides it as the menu does
        QCOMPARE(doc.summary().window().visible, 0);
    }

    // A pupil types a column of numbers without the mouse: Enter moves the editor down.
    void TypingThreeValuesWithTheKeyboard() {
        FakeDocumentHost host;
        CStatsUnitDocument doc;
        doc.SetHost(&host);
        doc.InsertNamedColumn(2, "Age", StatsColumnFormat::WholeNumbers);
        CUnitPage page(doc, UnitKind::Statistics, QStringLiteral("Statistics Unit"), nullptr);
        page.resize(800, 560);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        auto* view = page.findChild<CStatsUnitView*>();
        QVERIFY(view);
        const CRect cell = *view->table().grid().CellRect(1, 2);
        QTest::mouseClick(view->grid(), Qt::LeftButton, {}, QPoint(cell.left + 5, cell.top + 5));
        QLineEdit* editor = view->cellEditor();
        QVERIFY(editor->isVisible());
        QTRY_VERIFY(editor->hasFocus());
        for (const char* value : {"7", "12", "9"}) {
            QTest::keyClicks(editor, QString::fromLatin1(value));
            QTest::keyClick(editor, Qt::Key_Return);
        }
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(!editor->isVisible());
        const CStatsDataSet& data = doc.dataSet();
        QCOMPARE(CellValueText(data, 1, 2), std::string("7"));
        QCOMPARE(CellValueText(data, 2, 2), std::string("12"));
        QCOMPARE(CellValueText(data, 3, 2), std::string("9"));
        QCOMPARE(data.rowCount(), 1 + 3 + 5);
        // The printed table goes to a PDF.
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("table.pdf"));
        QVERIFY(view->ExportPdfTo(pdf));
        QVERIFY(QFileInfo(pdf).size() > 0);
        // Refused while the table may not be edited.
        doc.SetEditable(false);
        QTest::mouseClick(view->grid(), Qt::LeftButton, {}, QPoint(cell.left + 5, cell.top + 5));
        QVERIFY(!editor->isVisible());
        QCOMPARE(host.prompter.messages.back().text,
                 std::string("This operation is not permitted."));
    }

    // On the board a tile follows the mouse, one undo step for the whole drag, and the arrow
    // keys move it on; the spin buttons step the scale.
    void DraggingATileOnTheBoard() {
        FakeDocumentHost host;
        CStatsUnitDocument doc;
        doc.SetHost(&host);
        doc.InsertNamedColumn(2, "Age", StatsColumnFormat::WholeNumbers);
        CStatsDataSet& data = doc.dataSet();
        data.EnterCell(1, 1, "Ann", true);
        data.EnterCell(1, 2, "7", true);
        CUnitPage page(doc, UnitKind::Statistics, QStringLiteral("Statistics Unit"), nullptr);
        page.resize(800, 560);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        auto* view = page.findChild<CStatsUnitView*>();
        data.Case(1).numberTilePosition = {300, 300}; // once the page has fitted the board
        QTest::mouseClick(view->control(kCmdDataBoard), Qt::LeftButton);
        QCOMPARE(view->table().mode(), StatsViewMode::Board);
        CStatsBoardController& board = view->table().board();
        QCOMPARE(board.scale().ToDouble(), 7.0);

        const CRect r = board.TileRect(1);
        const QPoint from((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        QTest::mousePress(view, Qt::LeftButton, {}, from);
        QTest::mouseMove(view, from + QPoint(20, 5));
        QTest::mouseMove(view, from + QPoint(40, -10));
        QTest::mouseRelease(view, Qt::LeftButton, {}, from + QPoint(40, -10));
        QCOMPARE(data.Case(1).numberTilePosition, (CStatsPosition{340, 290}));
        QCOMPARE(data.selectedRow(), 1);
        QTest::keyClick(view, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(data.Case(1).numberTilePosition, (CStatsPosition{330, 290}));
        QVERIFY(doc.Undo());
        QVERIFY(doc.Undo());
        QCOMPARE(data.Case(1).numberTilePosition, (CStatsPosition{300, 300}));

        QTest::mouseClick(view->control(1376), Qt::LeftButton);
        QVERIFY(view->control(kCmdScaleUp)->isVisible());
        QTest::mouseClick(view->control(kCmdScaleUp), Qt::LeftButton);
        QCOMPARE(board.scale().ToDouble(), 8.0);
    }
};

QTEST_MAIN(StatsPageTest)
#include "stats_page_test.moc"

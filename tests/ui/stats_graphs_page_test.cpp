// The Statistics page's graph modes offscreen: entered from the mode buttons, drawn on the
// sheet, labelled through the label edit, the pie's labels chosen from "&Circle", a graph that
// cannot be drawn refused with its message, and the graph written as a picture.
#include "fakes/fakes.h"
#include "ui/app/unit_page.h"
#include "ui/statistics/stats_graph_output.h"
#include "ui/statistics/stats_unit_view.h"

#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvel;
using quorvel::testing::FakeDocumentHost;

class StatsGraphsPageTest : public QObject {
    Q_OBJECT

private slots:
    void GraphModesFromTheButtonsAndMenus() {
        FakeDocumentHost host;
        CStatsUnitDocument doc;
        doc.SetHost(&host);
        doc.InsertNamedColumn(2, "Age", StatsColumnFormat::WholeNumbers);
        doc.InsertNamedColumn(3, "Shoe", StatsColumnFormat::WholeNumbers);
        for (int row = 1; row <= 3; ++row) {
            doc.dataSet().EnterCell(row, 1, "P" + std::to_string(row), true);
            doc.dataSet().EnterCell(row, 2, std::to_string(8 + row), true);
        }
        doc.dataSet().EnterCell(1, 3, "4", true); // one point only
        doc.dataSet().SetCurrentColumn(2);
        doc.UpdateAllViews();
        CUnitPage page(doc, UnitKind::Statistics, QStringLiteral("Statistics Unit"), nullptr);
        page.resize(800, 560);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        auto* view = page.findChild<CStatsUnitView*>();
        QVERIFY(view);

        QTest::mouseClick(view->control(kCmdBarGraph), Qt::LeftButton);
        QCOMPARE(view->table().mode(), StatsViewMode::BarGraph);
        QVERIFY(!view->grid()->isVisible());
        QVERIFY(view->control(1285)->isVisible()); // Mean
        auto* label = qobject_cast<QLineEdit*>(view->control(1263));
        QVERIFY(label && label->isVisible());
        QTest::keyClicks(label, QStringLiteral("Age in years"));
        QCOMPARE(view->table().graphs().Label(StatsViewMode::BarGraph),
                 std::string("Age in years"));
        // The value axis stands 45 pixels into the sheet.
        const QRect sheet = view->grid()->geometry();
        const QImage shot = view->grab().toImage();
        QVERIFY(qGray(shot.pixel(sheet.left() + 45, sheet.center().y())) < 64);

        QTest::mouseClick(view->control(kCmdPieGraph), Qt::LeftButton);
        QCOMPARE(view->modeMenu()->title(), QStringLiteral("&Circle"));
        QVERIFY(label->text().isEmpty()); // the pie keeps labels of its own
        // Choosing rebuilds the menu, this action with it.
        QAction* percentages = view->modeMenu()->actions().value(1);
        QVERIFY(percentages && percentages->text() == QStringLiteral("Show &Percentages"));
        percentages->trigger();
        QCOMPARE(view->table().graphs().pieLabels(), PieLabels::Percentages);
        QVERIFY(view->modeMenu()->actions()[1]->isChecked());

        // The next column has a single value: no line graph of it.
        QTest::mouseClick(view->control(kCmdNextColumn), Qt::LeftButton);
        QTest::mouseClick(view->control(kCmdLineGraph), Qt::LeftButton);
        QCOMPARE(view->table().mode(), StatsViewMode::PieGraph);
        QCOMPARE(host.prompter.messages.back().text, std::string("The line graph is empty"));

        QTemporaryDir dir;
        for (const char* name : {"pie.png", "pie.svg"}) {
            const QString path = dir.filePath(QString::fromLatin1(name));
            QVERIFY(SaveGraphPicture(view->table().graphs(), StatsViewMode::PieGraph, {600, 400},
                                     path));
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly) && f.size() > 100);
        }
    }
};

QTEST_MAIN(StatsGraphsPageTest)
#include "stats_graphs_page_test.moc"

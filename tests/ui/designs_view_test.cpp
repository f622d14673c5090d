// The Designs page offscreen, driven as a pupil would: a shape chosen, angle 90 and times 4
// typed, Go pressed and the timers left to run; then the saved design reopened and drawn into a
// picture pixel for pixel as the live one.
#include "fakes/fakes.h"
#include "patterns/designs_controller.h"
#include "ui/patterns/designs_view.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/workspace/art_button.h"
#include "ui/workspace/tool_palette.h"
#include "ui/workspace/workspace_pane.h"

#include <QLineEdit>
#include <QMenu>
#include <QtTest>

using namespace quorvel;
using quorvel::testing::FakeDocumentHost;

class DesignsViewTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FakeDocumentHost> m_host;
    std::unique_ptr<CDesignPatternsDocument> m_doc;
    std::unique_ptr<CDesignPatternsView> m_view;

    CDesignFunctionMachine& Machine() { return m_doc->machine(); }
    QPoint At(DesignPart part) { return m_view->ToPane(Machine().PartRect(part)).center(); }
    void Click(DesignPart part) {
        QTest::mouseClick(m_view->pane(), Qt::LeftButton, Qt::NoModifier, At(part));
    }
    void TypeIn(DesignPart box, const QString& text) {
        Click(box);
        QLineEdit* edit = m_view->editBox();
        QVERIFY(edit->isVisible());
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(!edit->isVisible());
    }
    CImage Picture(const CDesignPatternsDocument& doc) {
        CImage image(kDesignMachineWidth, kDesignMachineHeight);
        CQtSurfaceFactory factory;
        auto dc = factory.SurfaceFor(image);
        const CRect w = doc.machine().DesignRect();
        doc.machine().DrawDesign(*dc, {0, 0, w.Width(), w.Height()});
        dc.reset();
        return image;
    }

private slots:
    void init() {
        m_host = std::make_unique<FakeDocumentHost>();
        m_doc = std::make_unique<CDesignPatternsDocument>();
        m_doc->SetHost(m_host.get());
        m_view = std::make_unique<CDesignPatternsView>(*m_doc, nullptr);
        m_view->resize(800, 575);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }
    void cleanup() {
        m_view.reset();
        m_doc.reset();
    }

    void toolsAndMenu() {
        QList<int> shown;
        for (const CToolInfo& tool : ToolTable())
            if (m_view->palette()->button(ToolCommand(tool.code))->isVisible())
                shown << tool.code;
        QCOMPARE(shown, (QList<int>{kToolArrow, kToolWriting, kToolHelp, kToolMystery}));
        QCOMPARE(m_view->unitMenu()->title(), QStringLiteral("&Design"));
        QVERIFY(!m_view->designs().IsCommandEnabled(kCmdShowMachine));
        QVERIFY(m_view->designs().IsCommandEnabled(kCmdDesignOptions));
        m_view->designs().OnCommand(kCmdHideMachine);
        QVERIFY(m_view->designs().IsCommandEnabled(kCmdShowMachine));
    }

    void ninetyDegreesFourTimes() {
        Click(DesignPart::Next);
        QCOMPARE(Machine().current(), 0);
        Click(DesignPart::RecordRule);
        TypeIn(DesignPart::AngleBox, QStringLiteral("90"));
        TypeIn(DesignPart::TimesBox, QStringLiteral("4"));
        QVERIFY(Machine().GoEnabled());
        Click(DesignPart::Go);
        QVERIFY(m_view->designs().running());
        QVERIFY(QTest::qWaitFor([this] { return !m_view->designs().running(); }, 8000));
        QCOMPARE(Machine().stampsDone(), 4);
        QCOMPARE(Machine().RuleText(), std::string("Rotate          90\xC2\xB0 4 times"));
        QVERIFY(m_host->prompter.messages.empty());

        // The saved design, reopened, draws the very same pixels.
        const CImage live = Picture(*m_doc);
        CDesignPatternsDocument reopened;
        QCOMPARE(reopened.LoadFromBytes(m_doc->SaveToBytes()), OpenResult::Opened);
        const CImage again = Picture(reopened);
        QVERIFY(live.pixels == again.pixels);
        QVERIFY(std::count(live.pixels.begin(), live.pixels.end(), 0xFF000000u) > 100);

        // Exported as PNG, the same picture again.
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("flower"));
        m_host->chooser.answers.push_back(png.toStdString());
        m_view->designs().OnCommand(kCmdExportDesign);
        const QImage exported(png + QStringLiteral(".png"));
        QCOMPARE(exported.width(), Machine().DesignRect().Width());
        QCOMPARE(exported.pixel(0, 0), live.at(0, 0));
        QCOMPARE(exported.convertToFormat(QImage::Format_ARGB32).pixel(100, 40), live.at(100, 40));
    }
};

QTEST_MAIN(DesignsViewTest)
#include "designs_view_test.moc"

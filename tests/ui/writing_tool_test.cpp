// The Writing tool's edit box offscreen: placed over the annotator in a scrolled workspace,
// feeding it what is typed, growing with new lines, ending on a click elsewhere, Escape or a
// menu, and removing an annotator left empty. The workspace is saved as PNGs for review.
#include "geometry/geometry_document.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_text.h"
#include "ui/workspace/annotator_edit.h"
#include "ui/workspace/unit_view.h"
#include "ui/workspace/workspace_pane.h"
#include "workspace/tool_palette.h"
#include "workspace/workspace_pane.h"

#include <QDir>
#include <QInputMethodEvent>
#include <QPainter>
#include <QPushButton>
#include <QtTest>

using namespace quorvel;

namespace {

// A workspace scrolled by (100, 50), painting the document's manipulatives on light blue.
class Host : public QWidget {
public:
    explicit Host(CUnitDocument& doc) : m_doc(doc) { resize(420, 260); }
    static constexpr QPoint kScroll{100, 50};

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(97, 191, 255));
        p.translate(-kScroll);
        CQtDrawingSurface dc(p);
        for (const auto& m : m_doc.manipulatives())
            m->Draw(dc);
    }

private:
    CUnitDocument& m_doc;
};

void Save(QWidget* w, const QString& name) {
    QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
    QVERIFY(
        w->grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/") + name + QStringLiteral(".png")));
}

} // namespace

class WritingToolTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CGeometryUnitDocument> m_doc;
    std::unique_ptr<Host> m_host;
    CAnnotatorEdit* m_edit = nullptr;
    QPushButton* m_button = nullptr;

    const CAnnotatorManipulative* Annotator(std::size_t i = 0) const {
        if (i >= m_doc->manipulatives().size())
            return nullptr;
        return dynamic_cast<const CAnnotatorManipulative*>(m_doc->manipulatives()[i].get());
    }

private slots:
    void init() {
        m_doc = std::make_unique<CGeometryUnitDocument>();
        m_host = std::make_unique<Host>(*m_doc);
        m_edit = new CAnnotatorEdit(*m_doc, m_host.get(),
                                    [](CPoint p) { return QPoint(p.x, p.y) - Host::kScroll; });
        // Like the workspace's bitmap buttons, it takes no focus when clicked.
        m_button = new QPushButton(QStringLiteral("Broom"), m_host.get());
        m_button->setFocusPolicy(Qt::NoFocus);
        m_button->setGeometry(340, 220, 70, 30);
        m_host->show();
        QVERIFY(QTest::qWaitForWindowActive(m_host.get()));
    }

    void cleanup() {
        m_host.reset();
        m_doc.reset();
    }

    void boxLiesOverTheNewAnnotatorWithTheFocus() {
        m_edit->ClickAt({150, 80});
        QVERIFY(m_edit->isVisible());
        QVERIFY(m_edit->hasFocus());
        QCOMPARE(m_edit->property("controlId").toInt(), 1149);
        QCOMPARE(m_edit->font().family(), QStringLiteral("Liberation Sans"));
        // One pixel of frame around the annotator's corner, in the scrolled pane.
        QCOMPARE(m_edit->pos(), QPoint(150 - 100 - 1, 80 - 50 - 1));
        QVERIFY(Annotator());
        QVERIFY(!Annotator()->visible());
    }

    void typingFitsTheAnnotatorAndMarksTheDocument() {
        m_edit->ClickAt({150, 80});
        m_doc->SetModifiedFlag(false);
        QTest::keyClicks(m_edit, QStringLiteral("Hello"));
        QCOMPARE(Annotator()->text(), std::string("Hello"));
        QVERIFY(m_doc->IsModified());
        const QFontMetrics fm(QtFont(AnnotatorFont()));
        const CRect r = Annotator()->textRect();
        QVERIFY(r.Width() >= fm.horizontalAdvance(QStringLiteral("Hello")));
        QVERIFY(r.Width() <=
                fm.horizontalAdvance(QStringLiteral("Hello")) + 2 * fm.averageCharWidth());
        QVERIFY(m_edit->width() >= r.Width());

        // A new line grows the box before the pupil types on it.
        const int oneLine = m_edit->height();
        QTest::keyClick(m_edit, Qt::Key_Return);
        QVERIFY(m_edit->height() >= oneLine + fm.lineSpacing());
        QTest::keyClicks(m_edit, QStringLiteral("world"));
        QCOMPARE(Annotator()->text(), std::string("Hello\nworld"));
        Save(m_host.get(), QStringLiteral("writing_while_typing"));

        // A click on a button that takes no focus still ends the writing.
        QTest::mouseClick(m_button, Qt::LeftButton);
        QVERIFY(!m_edit->isVisible());
        QVERIFY(Annotator()->visible());
        QCOMPARE(Annotator()->text(), std::string("Hello\nworld"));
        Save(m_host.get(), QStringLiteral("writing_done"));
    }

    void spacesOnlyThenEscapeRemoveTheAnnotator() {
        m_edit->ClickAt({150, 80});
        QTest::keyClicks(m_edit, QStringLiteral("   "));
        QCOMPARE(m_doc->manipulatives().size(), std::size_t(1));
        QTest::keyClick(m_edit, Qt::Key_Escape);
        QVERIFY(!m_edit->isVisible());
        QVERIFY(m_doc->manipulatives().empty());
        QVERIFY(!m_doc->CanUndo());
    }

    void clickingAnAnnotatorEditsItsText() {
        m_edit->ClickAt({150, 80});
        QTest::keyClicks(m_edit, QStringLiteral("7 x 8"));
        QTest::mouseClick(m_button, Qt::LeftButton);
        m_edit->ClickAt({152, 85});
        QCOMPARE(m_doc->manipulatives().size(), std::size_t(1));
        QCOMPARE(m_edit->toPlainText(), QStringLiteral("7 x 8"));
        QTest::keyClicks(m_edit, QStringLiteral(" = 56"));
        QTest::keyClick(m_edit, Qt::Key_Tab);
        QCOMPARE(Annotator()->text(), std::string("7 x 8 = 56"));
        QVERIFY(!m_edit->isVisible());
        // Undo takes back the second writing only.
        QVERIFY(m_doc->Undo());
        QCOMPARE(Annotator()->text(), std::string("7 x 8"));
    }

    void textInAnyLanguage() {
        m_edit->ClickAt({120, 60});
        const QString text = QStringLiteral("\u03C0 \u2248 3.14 \u00B7 \u65E5\u672C");
        // Text beyond Latin-1 arrives from the input method.
        QInputMethodEvent typed;
        typed.setCommitString(text);
        QApplication::sendEvent(m_edit, &typed);
        QTest::keyClick(m_edit, Qt::Key_Escape);
        QCOMPARE(ToQString(Annotator()->text()), text);
        CGeometryUnitDocument back;
        QCOMPARE(back.LoadFromBytes(m_doc->SaveToBytes()), OpenResult::Opened);
        QCOMPARE(
            ToQString(dynamic_cast<const CAnnotatorManipulative&>(*back.manipulatives()[0]).text()),
            text);
    }

    void unitViewsWriteWhereTheWritingToolClicks() {
        CGeometryUnitDocument doc;
        CUnitView view(doc, nullptr);
        view.resize(800, 560);
        view.show();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        const QPoint inside = view.workspaceArea().topLeft() + QPoint(200, 150);

        // With the Arrow a click writes nothing.
        QTest::mouseClick(&view, Qt::LeftButton, {}, inside);
        QVERIFY(doc.manipulatives().empty());

        view.controller().SelectTool(kToolCommandBase + kToolWriting);
        QTest::mouseClick(&view, Qt::LeftButton, {}, inside);
        CAnnotatorEdit* edit = view.writingEdit();
        QVERIFY(edit->isVisible());
        QTest::keyClicks(edit, QStringLiteral("Tessellations"));
        Save(&view, QStringLiteral("unit_view_writing"));
        // Choosing another tool ends the writing.
        view.controller().SelectTool(kToolCommandBase + kToolArrow);
        QVERIFY(!edit->isVisible());
        QCOMPARE(doc.manipulatives().size(), std::size_t(1));
        const auto& a = dynamic_cast<const CAnnotatorManipulative&>(*doc.manipulatives()[0]);
        QCOMPARE(a.textRect().left, inside.x());
        QCOMPARE(a.textRect().top, inside.y());
        QVERIFY(a.visible());
        QVERIFY(doc.IsModified());
    }

    void panesWriteInWorkspaceCoordinates() {
        CGeometryUnitDocument doc;
        CUnitView view(doc, nullptr);
        view.resize(800, 560);
        view.CreatePane();
        // A unit that remakes its pane keeps one edit box.
        CWorkspacePane* pane = view.CreatePane();
        pane->SetScroll(300, 40);
        view.show();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QCOMPARE(view.writingEdit()->parentWidget(), pane);

        view.controller().SelectTool(kToolCommandBase + kToolWriting);
        QTest::mouseClick(pane, Qt::LeftButton, {}, QPoint(20, 30));
        QTest::keyClicks(view.writingEdit(), QStringLiteral("x = 4"));
        QCOMPARE(view.writingEdit()->pos(), QPoint(19, 29));
        // Undo from the menus while writing takes the annotator away; the box goes with it.
        QVERIFY(doc.Undo());
        view.InvalidateAll();
        QVERIFY(!view.writingEdit()->isVisible());
        QVERIFY(doc.manipulatives().empty());
        QVERIFY(doc.Redo());
        const auto& a = dynamic_cast<const CAnnotatorManipulative&>(*doc.manipulatives()[0]);
        QCOMPARE(a.textRect().left, 320);
        QCOMPARE(a.textRect().top, 70);
        QCOMPARE(a.text(), std::string("x = 4"));
    }
};

QTEST_MAIN(WritingToolTest)
#include "writing_tool_test.moc"

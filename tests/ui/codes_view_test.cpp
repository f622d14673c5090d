// The Codes page offscreen, driven as a pupil would: a note card and a shift machine dragged out
// of the drawer, a message typed on the card, the card dropped on the hopper, the shift set and
// Go pressed; the output card and the message board's copy found after the run.
#include "fakes/fakes.h"
#include "patterns/codes_controller.h"
#include "ui/patterns/codes_view.h"
#include "ui/platform/qt_text.h"
#include "ui/workspace/art_button.h"
#include "ui/workspace/options_sheet_dialog.h"
#include "ui/workspace/tool_palette.h"
#include "ui/workspace/workspace_pane.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

using namespace quorvel;
using quorvel::testing::FakeDocumentHost;

class CodesViewTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FakeDocumentHost> m_host;
    std::unique_ptr<CCodePatternsDocument> m_doc;
    std::unique_ptr<CCodePatternsView> m_view;

    CWorkspacePane* Pane() { return m_view->pane(); }
    QPoint Centre(const CRect& workspace) { return m_view->ToPane(workspace).center(); }

    template <class T> std::vector<T*> All(std::int32_t type) {
        std::vector<T*> found;
        for (const auto& m : m_doc->manipulatives())
            if (m->GetType() == type && m->visible())
                found.push_back(static_cast<T*>(m.get()));
        return found;
    }
    void DragFromDrawer(CodesDrawerItem item, QPoint onPane) {
        QWidget* w = m_view->drawer()->itemWidget(item);
        QVERIFY(w);
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
    void TypeIn(QPoint box, const QString& text) {
        QTest::mouseClick(Pane(), Qt::LeftButton, Qt::NoModifier, box);
        QLineEdit* edit = m_view->editBox();
        QVERIFY(edit->isVisible());
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(!edit->isVisible());
    }

    // "&Codes Options..." from the Codes menu; `act` works the sheet and ends it by keyboard.
    template <class Act> void RunOptionsFromMenu(Act act) {
        QMenu* menu = m_view->unitMenu();
        emit menu->aboutToShow();
        QAction* item = nullptr;
        for (QAction* a : menu->actions())
            if (a->text() == QStringLiteral("&Codes Options..."))
                item = a;
        QVERIFY(item && item->isEnabled());
        bool seen = false;
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<COptionsSheetDialog*>(w); d && d->isVisible()) {
                    seen = true;
                    act(*d);
                }
        });
        item->trigger();
        QVERIFY(seen);
    }

private slots:
    void init() {
        m_host = std::make_unique<FakeDocumentHost>();
        m_doc = std::make_unique<CCodePatternsDocument>();
        m_doc->SetHost(m_host.get());
        m_view = std::make_unique<CCodePatternsView>(*m_doc, nullptr);
        m_view->resize(800, 575);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }
    void cleanup() {
        m_view.reset();
        m_doc.reset();
    }

    void toolsDrawerAndMenu() {
        QList<int> shown;
        for (const CToolInfo& tool : ToolTable())
            if (m_view->palette()->button(ToolCommand(tool.code))->isVisible())
                shown << tool.code;
        QCOMPARE(shown, (QList<int>{kToolArrow, kToolSelector, kToolEraser, kToolWriting, kToolHelp,
                                    kToolMystery, kToolLinking}));
        // "Shift only": the shift machine and the note card.
        QVERIFY(m_view->drawer()->itemWidget(CodesDrawerItem::ShiftMachine));
        QVERIFY(!m_view->drawer()->itemWidget(CodesDrawerItem::KeywordMachine));
        QVERIFY(m_view->drawer()->itemWidget(CodesDrawerItem::NoteCard));
        QCOMPARE(m_view->unitMenu()->title(), QStringLiteral("&Codes"));
        QVERIFY(!m_view->codes().IsCommandEnabled(kCmdShowMessageBoard));
        m_view->codes().OnCommand(kCmdHideMessageBoard);
        QVERIFY(!m_view->board()->isVisible());
        QVERIFY(!m_view->codes().IsCommandEnabled(kCmdHideMessageBoard));
    }

    void optionsSheetFromTheMenu() {
        QVERIFY(m_view->board()->isVisible());
        RunOptionsFromMenu([](COptionsSheetDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Code Patterns Options"));
            QCOMPARE(d.pages()->count(), 1); // no teacher page for pupils
            QAbstractButton* off = d.control(OptionsPage::User, 1318);
            QCOMPARE(off->accessibleName(), QStringLiteral("Message Board Off"));
            off->click();
            d.control(OptionsPage::User, 1320)->click();
            QTest::keyClick(&d, Qt::Key_Return);
        });
        QVERIFY(!m_view->board()->isVisible());
        QVERIFY(!m_view->palette()->button(ToolCommand(kToolLinking))->isVisible());
        QVERIFY(m_doc->IsModified());

        RunOptionsFromMenu([](COptionsSheetDialog& d) {
            d.control(OptionsPage::User, 1317)->click();
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        QVERIFY(!m_view->board()->isVisible());
        QVERIFY(m_doc->Undo());
        QVERIFY(m_view->board()->isVisible());
        QVERIFY(m_view->palette()->button(ToolCommand(kToolLinking))->isVisible());
    }

    void helloWorldShiftedRightThree() {
        DragFromDrawer(CodesDrawerItem::ShiftMachine, QPoint(300, 230));
        const auto machines = All<CShiftMachine>(kTypeShiftMachine);
        QCOMPARE(machines.size(), std::size_t{1});
        CShiftMachine& shift = *machines.front();
        DragFromDrawer(CodesDrawerItem::NoteCard, QPoint(520, 40));
        CNoteCardManipulative* card = All<CNoteCardManipulative>(kTypeNoteCard).back();
        TypeIn(Centre(card->rect()), QStringLiteral("Hello, World!"));
        QCOMPARE(card->text(), std::string("Hello, World!"));
        Drag(Centre(card->rect()), Centre(shift.Hopper(1)));
        QCOMPARE(shift.input1(), card);
        TypeIn(Centre(shift.PartRect(CodePart::Box1)), QStringLiteral("3"));

        QVERIFY(shift.goEnabled());
        QTest::mouseClick(Pane(), Qt::LeftButton, Qt::NoModifier,
                          Centre(shift.PartRect(CodePart::Go)));
        QVERIFY(m_view->codes().running());
        QVERIFY(QTest::qWaitFor([this] { return !m_view->codes().running(); }, 3000));
        const auto cards = All<CNoteCardManipulative>(kTypeNoteCard);
        QCOMPARE(cards.size(), std::size_t{1});
        QCOMPARE(cards.front()->text(), std::string("Khoor, Zruog!"));
        QVERIFY(cards.front()->readOnly());
        QVERIFY(m_view->board()->accessibleDescription().contains(
            QStringLiteral("Messages stored: 1. The last: Hello, World!")));
    }
};

QTEST_MAIN(CodesViewTest)
#include "codes_view_test.moc"

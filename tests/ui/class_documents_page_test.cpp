// The class folder's Tiles and Tessellations documents on the real page in the main window:
// opening one moves no shape (the file holds the page's own pane and workspace), everything
// shows in the pane, and a problem keeps clear of its prompt window. PNGs of a few for review.
#include "fakes/fakes.h"
#include "geometry/geometry_document.h"
#include "ui/app/main_frame.h"
#include "ui/geometry/geometry_unit_view.h"
#include "ui/workspace/workspace_pane.h"

#include <QDir>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace quorvel;

namespace {

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

class ClassDocumentsPageTest : public QObject {
    Q_OBJECT

private slots:
    void documentsSitOnThePageAsBuilt() {
        // The unit page is what the 800 by 600 main window leaves under its menu bar.
        QSize page;
        {
            CMainFrame frame;
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            page = frame.centralWidget()->size();
        }
        QDir().mkpath(QStringLiteral(QUORVEL_SCREENS_DIR));
        int seen = 0;
        for (const auto& entry : std::filesystem::directory_iterator(QUORVEL_CLASS_DIR)) {
            if (entry.path().extension() != ".qvg")
                continue;
            ++seen;
            const std::string name = entry.path().stem().string();
            const std::vector<std::uint8_t> bytes = ReadBytes(entry.path());

            CGeometryUnitDocument plain;
            QCOMPARE(plain.LoadFromBytes(bytes), OpenResult::Opened);

            testing::FakeDocumentHost host;
            CGeometryUnitDocument doc;
            doc.SetHost(&host);
            CGeometryUnitView view(doc, nullptr);
            view.resize(page);
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            QVERIFY2(doc.OpenActivityFile(entry.path().string()), name.c_str());
            QCoreApplication::processEvents();

            // Nothing was spread: every shape is where the file put it.
            QCOMPARE(doc.manipulatives().size(), plain.manipulatives().size());
            for (std::size_t i = 0; i < doc.manipulatives().size(); ++i) {
                const C3DPointDouble a = doc.manipulatives()[i]->centre();
                const C3DPointDouble b = plain.manipulatives()[i]->centre();
                QVERIFY2(std::abs(a.x - b.x) < 1e-9 && std::abs(a.y - b.y) < 1e-9, name.c_str());
            }

            // Everything shows in the pane, and nothing lies under a problem's prompt window.
            const QRect pane = view.pane()->geometry();
            const CRect prompt = view.controller().GetPromptRect();
            const QRect promptRect(prompt.left, prompt.top, prompt.Width(), prompt.Height());
            for (const auto& m : doc.manipulatives()) {
                const CRect f = m->GetFrameOf();
                const QRect onPage =
                    QRect(f.left, f.top, f.Width(), f.Height())
                        .translated(pane.topLeft() -
                                    QPoint(view.pane()->scrollX(), view.pane()->scrollY()));
                QVERIFY2(pane.contains(onPage), name.c_str());
                if (doc.problemSetMode())
                    QVERIFY2(!onPage.intersects(promptRect), name.c_str());
            }
            if (name == "geopsA01" || name == "geopsC07" || name == "11c4" || name == "31s4")
                view.grab().save(QStringLiteral(QUORVEL_SCREENS_DIR "/class_") +
                                 QString::fromStdString(name) + QStringLiteral(".png"));
        }
        QVERIFY(seen >= 42);
    }
};

QTEST_MAIN(ClassDocumentsPageTest)
#include "class_documents_page_test.moc"

// The workspace pane smooths edges only while its unit says the drawing is cheap enough.
#include "ui/workspace/workspace_pane.h"
#include "workspace/drawing_surface.h"

#include <QImage>
#include <QSet>
#include <QTest>

using namespace quorvel;

namespace {

// Distinct colours in a picture of a slanted line: smoothing adds blends of the two.
int ColoursOf(CWorkspacePane& pane) {
    const QImage image = pane.grab().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

} // namespace

class WorkspacePaneSmoothingTest : public QObject {
    Q_OBJECT

private slots:
    void smoothingFollowsTheUnitsAnswer() {
        CWorkspacePane pane(nullptr);
        pane.resize(120, 80);
        pane.SetDrawHook([](IDrawingSurface& dc, const CRect&) {
            dc.SetPen(2, PaletteRGB(0, 0, 0));
            dc.Line({5, 5}, {110, 60});
        });
        bool cheap = true;
        pane.SetAntialiasing(true);
        pane.SetAntialiasingWhile([&cheap] { return cheap; });

        QVERIFY(ColoursOf(pane) > 2);
        cheap = false;
        QCOMPARE(ColoursOf(pane), 2);
        pane.SetAntialiasingWhile({});
        QVERIFY(ColoursOf(pane) > 2);
    }
};

QTEST_MAIN(WorkspacePaneSmoothingTest)
#include "workspace_pane_smoothing_test.moc"

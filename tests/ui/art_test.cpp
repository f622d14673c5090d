// The art set: every bitmap and cursor the shell asks for exists, draws something, and fits the
// buttons that show it.
#include "ui/art/art.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <vector>

using namespace quorvel;

namespace {

QImage Image(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

int OpaquePixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qAlpha(image.pixel(x, y)) > 128;
    return n;
}

int Colours(const QImage& image) {
    QSet<QRgb> seen;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128)
                seen.insert(image.pixel(x, y) | 0xff000000u);
    return int(seen.size());
}

// Largest difference between the colour channels of any opaque pixel: 0 for pure greys.
int MaxSaturation(const QImage& image) {
    int most = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) < 250)
                continue;
            const int hi = std::max({qRed(p), qGreen(p), qBlue(p)});
            const int lo = std::min({qRed(p), qGreen(p), qBlue(p)});
            most = std::max(most, hi - lo);
        }
    return most;
}

struct ButtonArt {
    const char* name;
    QSize size;
    std::vector<int> ids; // up first; the last is the disabled one when `hasDisabled`
    bool hasDisabled;
};

// Each owner-drawn button with the rectangle its page gives it.
std::vector<ButtonArt> Buttons() {
    std::vector<ButtonArt> b{
        {"back and exit", {48, 41}, {168, 169, 204}, false},
        {"broom", {48, 41}, {166, 167, 203}, false},
        {"demonstration instructions", {180, 50}, {546, 547}, false},
        {"check, three tries", {120, 41}, {430, 428, 429}, false},
        {"check, two tries", {120, 41}, {431, 433, 432}, false},
        {"check, one try", {120, 41}, {434, 436, 435}, false},
        {"continue", {120, 41}, {427, 426}, false},
        {"view solution", {120, 41}, {437, 438}, false},
    };
    const int investigations[][3] = {
        {471, 472, 532}, {475, 477, 476}, {478, 480, 530}, {483, 481, 531}, {484, 486, 529},
        {514, 516, 536}, {511, 513, 534}, {508, 510, 535}, {505, 507, 506}, {502, 504, 533},
        {499, 501, 537}, {496, 498, 497}, {493, 495, 538}, {490, 492, 539}, {487, 489, 540}};
    for (const auto& i : investigations)
        b.push_back({"investigation", {150, 130}, {i[0], i[1], i[2]}, true});
    const int tools[][3] = {{136, 157, 282}, {137, 163, 286}, {138, 160, 283}, {139, 165, 280},
                            {140, 161, 284}, {141, 158, 281}, {143, 162, 285}, {142, 159, 288},
                            {144, 164, 287}, {306, 307, 308}, {318, 319, 320}, {380, 379, 378}};
    for (const auto& t : tools)
        b.push_back({"tool", {42, 42}, {t[0], t[1], t[2]}, true});
    const int arrows[][3] = {{238, 239, 277}, {244, 245, 276}, {240, 241, 272}, {242, 243, 275},
                             {248, 249, 279}, {246, 247, 278}, {250, 251, 274}, {252, 253, 273}};
    for (const auto& a : arrows)
        b.push_back({"navigator", {15, 15}, {a[0], a[1], a[2]}, true});
    return b;
}

} // namespace

class ArtTest : public QObject {
    Q_OBJECT

private slots:
    // Qt warns about SVG it cannot read or features it ignores; either is a broken drawing.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

    void everyIdDrawsSomething_data() {
        QTest::addColumn<int>("id");
        for (int id : ArtIds())
            QTest::addRow("%d", id) << id;
    }

    void everyIdDrawsSomething() {
        QFETCH(int, id);
        QVERIFY(HasArt(id));
        const QSize size = ArtSize(id);
        QVERIFY(!size.isEmpty());
        const QPixmap pixmap = ArtPixmap(id);
        QVERIFY(!pixmap.isNull());
        QCOMPARE(pixmap.deviceIndependentSize().toSize(), size);
        const QImage image = Image(pixmap);
        QVERIFY2(OpaquePixels(image) > image.width() * image.height() / 4, "mostly transparent");
        QVERIFY2(Colours(image) > 2, "a single flat colour");
    }

    void idsAreSortedAndUnique() {
        const std::vector<int>& ids = ArtIds();
        QVERIFY(std::adjacent_find(ids.begin(), ids.end(), std::greater_equal<int>()) == ids.end());
    }

    // A drawing that is in the resources but not listed would never be found by HasArt.
    void everyDrawingIsListed() {
        const QStringList files =
            QDir(QStringLiteral(":/art")).entryList({QStringLiteral("*.svg")});
        QVERIFY(!files.isEmpty());
        for (const QString& file : files) {
            const QString stem = file.chopped(4);
            bool numeric = false;
            const int id = stem.toInt(&numeric);
            if (numeric)
                QVERIFY2(HasArt(id), qPrintable(file));
            else if (stem.startsWith(QLatin1String("cursor_")))
                QVERIFY2(HasCursorArt(stem.mid(7).toInt()), qPrintable(file));
            else
                QVERIFY2(!NamedArtPixmap(stem).isNull(), qPrintable(file));
        }
    }

    void buttonStatesFitTheirButton_data() {
        QTest::addColumn<int>("row");
        const std::vector<ButtonArt> buttons = Buttons();
        for (int i = 0; i < int(buttons.size()); ++i)
            QTest::addRow("%s %d", buttons[i].name, buttons[i].ids.front()) << i;
    }

    void buttonStatesFitTheirButton() {
        QFETCH(int, row);
        const ButtonArt b = Buttons()[row];
        const QImage up = Image(ArtPixmap(b.ids[0]));
        for (int id : b.ids) {
            QCOMPARE(ArtSize(id), b.size);
            if (id != b.ids[0])
                QVERIFY2(Image(ArtPixmap(id)) != up, "a state looks the same as up");
        }
        // Greyed out: no colour left anywhere; the other states are coloured.
        QVERIFY(MaxSaturation(up) > 60);
        if (b.hasDisabled)
            QVERIFY(MaxSaturation(Image(ArtPixmap(b.ids.back()))) < 8);
    }

    void mainMenuButtonsShareTheirSize() {
        const QSize unit = ArtSize(517);
        QVERIFY(!unit.isEmpty());
        for (int id : {519, 523, 525, 520, 522})
            QCOMPARE(ArtSize(id), unit);
        QCOMPARE(ArtSize(548), ArtSize(527));
        for (const char* name : {"explore", "make_challenges", "solve_challenges"})
            for (const char* state : {"", "_down", "_focus"}) {
                const QPixmap p = NamedArtPixmap(QLatin1String(name) + QLatin1String(state));
                QVERIFY2(!p.isNull(), name);
                QCOMPARE(p.deviceIndependentSize().toSize(), QSize(150, 50));
            }
    }

    void rendersAtTheAskedSize() {
        const QPixmap big = ArtPixmap(471, QSize(300, 260));
        QCOMPARE(big.deviceIndependentSize().toSize(), QSize(300, 260));
        const QImage image = Image(big);
        QVERIFY(OpaquePixels(image) > image.width() * image.height() / 2);
    }

    // A latched tool shows its pressed drawing, a greyed one its disabled drawing.
    void iconsPickTheDrawingOfTheirState() {
        const QIcon icon = ArtIcon(136, 157, 282);
        const QSize size(42, 42);
        QCOMPARE(Image(icon.pixmap(size, QIcon::Normal, QIcon::Off)), Image(ArtPixmap(136)));
        QCOMPARE(Image(icon.pixmap(size, QIcon::Normal, QIcon::On)), Image(ArtPixmap(157)));
        QCOMPARE(Image(icon.pixmap(size, QIcon::Disabled, QIcon::Off)), Image(ArtPixmap(282)));
        QVERIFY(ArtIcon(1003).isNull());
    }

    void unknownIdsGiveNothing() {
        QVERIFY(!HasArt(0));
        QVERIFY(!HasArt(1003));
        QVERIFY(ArtPixmap(1003).isNull());
        QVERIFY(ArtSize(-1).isEmpty());
        QVERIFY(NamedArtPixmap(QStringLiteral("no such art")).isNull());
        QVERIFY(!HasCursorArt(136));
        QCOMPARE(ArtCursor(136).shape(), Qt::ArrowCursor);
    }

    void everyCursorDrawsAroundItsHotSpot_data() {
        QTest::addColumn<int>("id");
        for (int id : CursorIds())
            QTest::addRow("%d", id) << id;
    }

    void everyCursorDrawsAroundItsHotSpot() {
        QFETCH(int, id);
        const QCursor cursor = ArtCursor(id);
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        const QImage image = Image(cursor.pixmap());
        QVERIFY(OpaquePixels(image) > 40);
        QVERIFY(Colours(image) > 2);
        const QPoint hot = CursorHotSpot(id);
        const qreal dpr = cursor.pixmap().devicePixelRatio();
        QVERIFY(QRect(0, 0, 32, 32).contains(hot));
        // The point that acts must be on the drawing, not in empty space beside it.
        int near = 0;
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx) {
                const QPoint p = ((QPointF(hot) + QPointF(dx, dy)) * dpr).toPoint();
                if (image.rect().contains(p) && qAlpha(image.pixel(p)) > 128)
                    ++near;
            }
        QVERIFY2(near > 0, "hot spot away from the drawing");
    }

    void everyToolHasACursor() {
        QCOMPARE(ToolCursor(0).shape(), Qt::ArrowCursor);
        QSet<qint64> distinct;
        for (int tool = 1; tool <= 11; ++tool) {
            const QCursor cursor = ToolCursor(tool);
            QVERIFY2(cursor.shape() == Qt::BitmapCursor, qPrintable(QString::number(tool)));
            QVERIFY(!cursor.pixmap().isNull());
            distinct.insert(cursor.pixmap().cacheKey());
        }
        QCOMPARE(distinct.size(), 11);
        QCOMPARE(ToolCursor(12).shape(), Qt::ArrowCursor);
        QCOMPARE(ToolCursor(-1).shape(), Qt::ArrowCursor);
    }
};

QTEST_MAIN(ArtTest)
#include "art_test.moc"

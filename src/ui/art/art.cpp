// Renders the ":/art" SVG resources (drawn by scripts/make_art.py) as pixmaps and cursors.
#include "ui/art/art.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <algorithm>
#include <array>

// The resources live in a static library: without this reference the linker drops them.
static void InitArtResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(art);
        return true;
    }();
    (void)done;
}

namespace quorvel {
namespace {

struct CursorArt {
    int id;
    QPoint hotSpot;
};

// Hot spots match the drawings: the pointer's tip, the crosshair's centre, the pencil's point.
constexpr std::array<CursorArt, 12> kCursors{{
    {135, {9, 9}},  // Linemaker
    {144, {9, 9}},  // Selector
    {145, {2, 9}},  // Cut-shape: between the blade tips
    {146, {7, 7}},  // Eraser: the rubbing end
    {147, {2, 30}}, // Writing tool
    {148, {9, 9}},  // Anglemeter
    {149, {1, 1}},  // Help
    {167, {1, 1}},  // Hide/Show Lines
    {303, {1, 1}},  // Mystery
    {304, {1, 1}},  // Linking
    {332, {2, 2}},  // statistics tag
    {346, {1, 1}},  // Ignore
}};

// Cursor id per tool code; 0 for the Arrow, which keeps the standard cursor.
constexpr std::array<int, 12> kToolCursors{0,   144, 146, 147, 149, 148,
                                           135, 145, 167, 303, 304, 346};

constexpr int kCursorSize = 32;

QString BitmapPath(int id) {
    return QStringLiteral(":/art/%1.svg").arg(id);
}

qreal ScreenRatio() {
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QPixmap Render(const QString& path, const QSize& wanted) {
    InitArtResources();
    const qreal dpr = ScreenRatio();
    QSize size = wanted;
    const QString key = QStringLiteral("quorvel-art:%1:%2x%3@%4")
                            .arg(path)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(dpr);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;

    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    if (size.isEmpty())
        size = renderer.defaultSize();
    QImage image((QSizeF(size) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    }
    pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(dpr);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

const CursorArt* FindCursor(int id) {
    const auto it = std::find_if(kCursors.begin(), kCursors.end(),
                                 [id](const CursorArt& c) { return c.id == id; });
    return it == kCursors.end() ? nullptr : &*it;
}

} // namespace

const std::vector<int>& ArtIds() {
    static const std::vector<int> ids = [] {
        std::vector<int> v{
            // back and exit, broom
            168, 169, 204, 166, 167, 203,
            // main menu: background, unit buttons, View Intro; demonstration instructions
            441, 517, 519, 523, 525, 520, 522, 527, 548, 546, 547,
            // investigation buttons, Tiles and Tessellations
            471, 472, 532, 475, 477, 476, 478, 480, 530, 483, 481, 531, 484, 486, 529,
            // investigation buttons, Patterns
            514, 516, 536, 511, 513, 534, 508, 510, 535, 505, 507, 506, 502, 504, 533,
            // investigation buttons, Statistics
            499, 501, 537, 496, 498, 497, 493, 495, 538, 490, 492, 539, 487, 489, 540,
            // Check with three, two and one tries left; Continue; View Solution
            430, 428, 429, 431, 433, 432, 434, 436, 435, 427, 426, 437, 438,
            // tool palette: up, down, disabled for tools 0..11
            136, 157, 282, 137, 163, 286, 138, 160, 283, 139, 165, 280, 140, 161, 284, 141, 158,
            281, 143, 162, 285, 142, 159, 288, 144, 164, 287, 306, 307, 308, 318, 319, 320, 380,
            379, 378,
            // workspace navigator: up, right, down, left, then the diagonals
            238, 239, 277, 244, 245, 276, 240, 241, 272, 242, 243, 275, 248, 249, 279, 246, 247,
            278, 250, 251, 274, 252, 253, 273,
            // drawer slot background
            227};
        std::sort(v.begin(), v.end());
        return v;
    }();
    return ids;
}

bool HasArt(int id) {
    return std::binary_search(ArtIds().begin(), ArtIds().end(), id);
}

QPixmap ArtPixmap(int id, const QSize& size) {
    return HasArt(id) ? Render(BitmapPath(id), size) : QPixmap();
}

QIcon ArtIcon(int up, int down, int disabled) {
    QIcon icon;
    if (HasArt(up))
        icon.addPixmap(ArtPixmap(up), QIcon::Normal, QIcon::Off);
    if (HasArt(down)) {
        icon.addPixmap(ArtPixmap(down), QIcon::Normal, QIcon::On);
        icon.addPixmap(ArtPixmap(down), QIcon::Active, QIcon::On);
    }
    if (HasArt(disabled)) {
        icon.addPixmap(ArtPixmap(disabled), QIcon::Disabled, QIcon::Off);
        icon.addPixmap(ArtPixmap(disabled), QIcon::Disabled, QIcon::On);
    }
    return icon;
}

QPixmap NamedArtPixmap(const QString& name, const QSize& size) {
    InitArtResources();
    const QString path = QStringLiteral(":/art/%1.svg").arg(name);
    return QFile::exists(path) ? Render(path, size) : QPixmap();
}

QSize ArtSize(int id) {
    if (!HasArt(id))
        return {};
    InitArtResources();
    return QSvgRenderer(BitmapPath(id)).defaultSize();
}

const std::vector<int>& CursorIds() {
    static const std::vector<int> ids = [] {
        std::vector<int> v;
        for (const CursorArt& c : kCursors)
            v.push_back(c.id);
        std::sort(v.begin(), v.end());
        return v;
    }();
    return ids;
}

bool HasCursorArt(int id) {
    return FindCursor(id) != nullptr;
}

QPoint CursorHotSpot(int id) {
    const CursorArt* art = FindCursor(id);
    return art ? art->hotSpot : QPoint();
}

QCursor ArtCursor(int id) {
    const CursorArt* art = FindCursor(id);
    if (!art)
        return QCursor(Qt::ArrowCursor);
    const QPixmap pixmap =
        Render(QStringLiteral(":/art/cursor_%1.svg").arg(id), QSize(kCursorSize, kCursorSize));
    if (pixmap.isNull())
        return QCursor(Qt::ArrowCursor);
    return QCursor(pixmap, art->hotSpot.x(), art->hotSpot.y());
}

QCursor ToolCursor(int toolCode) {
    if (toolCode < 0 || toolCode >= static_cast<int>(kToolCursors.size()) ||
        kToolCursors[toolCode] == 0)
        return QCursor(Qt::ArrowCursor);
    return ArtCursor(kToolCursors[toolCode]);
}

} // namespace quorvel

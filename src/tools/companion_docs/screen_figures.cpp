// Pictures of the program's pages, kept by name until a page draws them.
#include "tools/companion_docs/screen_figures.h"

#include <QPainter>

#include <algorithm>
#include <map>

namespace quorvel::companion {

namespace {

std::map<std::string, QImage>& Screens() {
    static std::map<std::string, QImage> screens;
    return screens;
}

} // namespace

void SetScreen(const std::string& name, const QImage& picture) {
    Screens()["screen-" + name] = picture;
}

bool DrawScreenFigure(QPainter& painter, const std::string& name, const QRectF& box) {
    const auto it = Screens().find(name);
    if (it == Screens().end() || it->second.isNull())
        return false;
    const QImage& picture = it->second;
    const double scale = std::min(box.width() / picture.width(), box.height() / picture.height());
    const QSizeF size(picture.width() * scale, picture.height() * scale);
    const QRectF target(box.center() - QPointF(size.width(), size.height()) / 2, size);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture);
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(target);
    painter.restore();
    return true;
}

} // namespace quorvel::companion

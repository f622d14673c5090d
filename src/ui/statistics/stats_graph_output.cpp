// Painting a graph into pictures and onto the printer.
#include "ui/statistics/stats_graph_output.h"

#include "ui/platform/qt_drawing_surface.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QSvgGenerator>

#include <algorithm>

namespace quorvel {

void PaintGraph(QPainter& painter, const CStatsGraphController& graphs, StatsViewMode mode,
                QSize size) {
    painter.setRenderHint(QPainter::Antialiasing);
    CQtDrawingSurface dc(painter);
    const CRect client{0, 0, size.width(), size.height()};
    dc.FillRect(client, PaletteRGB(255, 255, 255));
    graphs.Draw(dc, client, mode);
}

bool SaveGraphPicture(const CStatsGraphController& graphs, StatsViewMode mode, QSize size,
                      const QString& path) {
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        QPainter painter;
        if (!painter.begin(&svg))
            return false;
        PaintGraph(painter, graphs, mode, size);
        return painter.end();
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintGraph(painter, graphs, mode, size);
    }
    return image.save(path, "PNG");
}

bool PrintGraph(QPrinter& printer, const CStatsGraphController& graphs, StatsViewMode mode,
                QSize size) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    const double scale =
        std::min({printer.resolution() / 72.0, double(page.width()) / std::max(1, size.width()),
                  double(page.height()) / std::max(1, size.height())});
    painter.scale(scale, scale);
    PaintGraph(painter, graphs, mode, size);
    return painter.end();
}

} // namespace quorvel

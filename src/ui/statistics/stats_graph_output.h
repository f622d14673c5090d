// The graph on paper and in files: the core draws it through the Qt drawing surface at the
// size the page shows it, so that the screen, the printed page and the pictures agree.
#pragma once

#include "statistics/stats_graph_controller.h"

#include <QSize>
#include <QString>

class QPainter;
class QPrinter;

namespace quorvel {

// The mode's graph on white, `size` pixels, with the painter's origin at its top left.
void PaintGraph(QPainter& painter, const CStatsGraphController& graphs, StatsViewMode mode,
                QSize size);
// A PNG picture, or an SVG one when the name ends in ".svg"; false when it cannot be written.
bool SaveGraphPicture(const CStatsGraphController& graphs, StatsViewMode mode, QSize size,
                      const QString& path);
// One page: the graph as wide as the page allows, a graph pixel at most a printer's point.
bool PrintGraph(QPrinter& printer, const CStatsGraphController& graphs, StatsViewMode mode,
                QSize size);

} // namespace quorvel

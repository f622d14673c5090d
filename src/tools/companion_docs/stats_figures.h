// The Statistics companion documents' drawings: the program's own bar, pie and line graphs of
// the class documents' data, built from their sources.
#pragma once

#include <QRectF>

#include <string>

class QPainter;

namespace quorvel::companion {

// "graph-KIND-SOURCE" or "graph-KIND-SOURCE-COLUMN" (KIND bar, pie or line): the graph of the
// class document built from SOURCE.stats, of its own column or of column COLUMN (a number),
// with the document's axis labels and average lines, as the page draws it. Drawn centred in
// `box` (page points); false for a name that is none of these or a graph that cannot be drawn.
bool DrawStatsFigure(QPainter& painter, const std::string& name, const QRectF& box);

} // namespace quorvel::companion

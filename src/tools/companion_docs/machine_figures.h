// The Patterns companion documents' drawings: number machines as the Numbers workspace draws
// them, set up with the Patterns core's own machines.
#pragma once

#include <QRectF>

#include <string>

class QPainter;

namespace quorvel::companion {

// "machine-OP-VALUE" (OP plus, minus, times or divide): a machine with that operator and the
// value built in as its second input. "mystery-machine": a machine whose rule is hidden.
// "mystery-linked": two mystery machines, the first one's output going into the second. Drawn
// centred in `box` (page points); false for a name that is none of these.
bool DrawMachineFigure(QPainter& painter, const std::string& name, const QRectF& box);

} // namespace quorvel::companion

// The page set-up chosen with "Print Set&up...", which every later print, preview and PDF
// export of the program uses.
#pragma once

class QPrinter;
class QWidget;

namespace quorvel {

// Gives `printer` the chosen paper, orientation and margins; leaves it alone until one is chosen.
void ApplyPageSetup(QPrinter& printer);
// The page set-up dialog over the present choice; false on Cancel.
bool RunPageSetupDialog(QWidget* parent);

} // namespace quorvel

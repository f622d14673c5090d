// Export as PDF for the pages and dialogs that print: the file question in the document's
// folders, the drawing into the PDF, and a message when the file could not be written.
#pragma once

#include <QString>

#include <functional>
#include <string>

class QPrinter;

namespace quorvel {

class CUnitDocument;

using PrintFunction = std::function<bool(QPrinter&)>;

// Draws with `print` into a PDF at `path`; false when the file could not be written.
bool PrintToPdf(const QString& path, const PrintFunction& print);

// Asks for the file (offering `defaultName`) and exports to it; a file that cannot be written
// says "Failed to export the PDF.". False on Cancel or failure.
bool ExportPdf(const CUnitDocument& doc, const std::string& defaultName,
               const PrintFunction& print);

} // namespace quorvel

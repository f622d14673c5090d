#include "ui/platform/qt_pdf_export.h"

#include "ui/platform/qt_page_setup.h"

#include "workspace/document_host.h"
#include "workspace/prompter.h"
#include "workspace/unit_document.h"

#include <QPrinter>

namespace quorvel {

bool PrintToPdf(const QString& path, const PrintFunction& print) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    ApplyPageSetup(printer);
    printer.setOutputFileName(path);
    return print(printer);
}

bool ExportPdf(const CUnitDocument& doc, const std::string& defaultName,
               const PrintFunction& print) {
    const auto path = doc.ChoosePdfPath(defaultName);
    if (!path)
        return false;
    if (PrintToPdf(QString::fromStdString(*path), print))
        return true;
    doc.host()->Prompter().MessageBox(kFailedToExportPdf, MessageIcon::Exclamation);
    return false;
}

} // namespace quorvel

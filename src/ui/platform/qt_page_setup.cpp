// The program's page set-up, kept for the rest of the run.
#include "ui/platform/qt_page_setup.h"

#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrinter>

#include <optional>

namespace quorvel {
namespace {

std::optional<QPageLayout>& ChosenLayout() {
    static std::optional<QPageLayout> layout;
    return layout;
}

} // namespace

void ApplyPageSetup(QPrinter& printer) {
    if (const auto& layout = ChosenLayout())
        printer.setPageLayout(*layout);
}

bool RunPageSetupDialog(QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    ApplyPageSetup(printer);
    QPageSetupDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    ChosenLayout() = printer.pageLayout();
    return true;
}

} // namespace quorvel

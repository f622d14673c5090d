// The file dialog of Open and Save As, with its "Directory" group of three folder buttons.
#pragma once

#include "workspace/file_chooser.h"

#include <QStringList>

class QFileDialog;
class QWidget;

namespace quorvel {

// "Desc (*.ext)|*.ext||All Files (*.*)|*.*||" as Qt name filters: "Desc (*.ext)", "All Files (*)".
QStringList DialogNameFilters(const std::string& filter);

class CQtFileChooser : public IFileChooser {
public:
    explicit CQtFileChooser(QWidget* parent) : m_parent(parent) {}
    std::optional<CFileDialogResult> Choose(const CFileDialogRequest& request) override;

    // Builds the dialog a request shows (tests look at it without running it); `choice`
    // follows the folder buttons.
    static QFileDialog* MakeDialog(const CFileDialogRequest& request, QWidget* parent,
                                   DirectoryChoice* choice);

private:
    QWidget* m_parent;
};

} // namespace quorvel

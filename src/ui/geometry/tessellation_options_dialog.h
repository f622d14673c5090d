// The "Tessellation Options" property sheet and the "Print Options" dialog of the Tiles and
// Tessellations page: widgets over the core's sheet and print option models.
#pragma once

#include "geometry/tessellation_options.h"
#include "ui/workspace/options_sheet_dialog.h"

#include <QDialog>

#include <map>

class QAbstractButton;

namespace quorvel {

// The "Tessellation Options" sheet.
using CTessellationOptionsDialog = COptionsSheetDialog;

class CPrintOptionsDialog : public QDialog {
    Q_OBJECT
public:
    CPrintOptionsDialog(const CPrintOptions& options, QWidget* parent);

    const CPrintOptions& options() const { return m_options; }
    QAbstractButton* control(int id) const;

private:
    CPrintOptions m_options;
    std::map<int, QAbstractButton*> m_controls;
};

} // namespace quorvel

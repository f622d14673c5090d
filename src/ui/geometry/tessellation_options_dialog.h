// The "Tessellation Options" property sheet and the "Print Options" dialog of the Tiles and
// Tessellations page: widgets over the core's sheet and print option models.
#pragma once

#include "geometry/tessellation_options.h"

#include <QDialog>

#include <map>

class QAbstractButton;
class QTabWidget;

namespace quorvel {

class CTessellationOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Edits `sheet` in place; the teacher page is there when the sheet has it.
    CTessellationOptionsDialog(CTessellationOptionsSheet& sheet, QWidget* parent);

    QTabWidget* pages() const { return m_pages; }
    // A control of a page by its id, or null.
    QAbstractButton* control(OptionsPage page, int id) const;

private:
    QWidget* MakePage(OptionsPage page);
    void Sync();

    CTessellationOptionsSheet& m_sheet;
    QTabWidget* m_pages = nullptr;
    std::map<std::pair<OptionsPage, int>, QAbstractButton*> m_controls;
};

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

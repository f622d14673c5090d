// A unit's options sheet: the teacher page (when the sheet has one) and the user page as tabs,
// laid out from the core's control tables, with OK and Cancel.
#pragma once

#include "workspace/options_sheet.h"

#include <QDialog>

#include <map>

class QAbstractButton;
class QDialogButtonBox;
class QTabWidget;

namespace quorvel {

// OK and Cancel that accept and reject `dialog`.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

class COptionsSheetDialog : public QDialog {
    Q_OBJECT
public:
    // Edits `sheet` in place.
    COptionsSheetDialog(COptionsSheet& sheet, QWidget* parent);

    QTabWidget* pages() const { return m_pages; }
    // A control of a page by its id, or null.
    QAbstractButton* control(OptionsPage page, int id) const;

private:
    QWidget* MakePage(OptionsPage page);
    void Sync();

    COptionsSheet& m_sheet;
    QTabWidget* m_pages = nullptr;
    std::map<std::pair<OptionsPage, int>, QAbstractButton*> m_controls;
};

} // namespace quorvel

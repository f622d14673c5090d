// The "Print Options" dialog: two radio groups over a copy of the print options.
#include "ui/geometry/tessellation_options_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorvel {

CPrintOptionsDialog::CPrintOptionsDialog(const CPrintOptions& options, QWidget* parent)
    : QDialog(parent), m_options(options) {
    setWindowTitle(QString::fromLatin1(kPrintOptionsCaption));
    auto* column = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    QGroupBox* boxes[2] = {new QGroupBox(QStringLiteral("Print"), this),
                           new QGroupBox(QStringLiteral("Shapes"), this)};
    QVBoxLayout* lists[2] = {new QVBoxLayout(boxes[0]), new QVBoxLayout(boxes[1])};
    for (const CPrintOptionButton& o : PrintOptionButtons()) {
        auto* b = new QRadioButton(QString::fromLatin1(o.caption), boxes[o.shapes ? 1 : 0]);
        b->setProperty("controlId", o.id);
        b->setChecked((o.shapes ? m_options.shapes : m_options.workspace) == o.value);
        lists[o.shapes ? 1 : 0]->addWidget(b);
        const CPrintOptionButton chosen = o;
        connect(b, &QRadioButton::toggled, this, [this, chosen](bool on) {
            if (on)
                (chosen.shapes ? m_options.shapes : m_options.workspace) = chosen.value;
        });
        m_controls[o.id] = b;
    }
    row->addWidget(boxes[0]);
    row->addWidget(boxes[1]);
    column->addLayout(row);
    column->addWidget(OkCancelButtons(this));
}

QAbstractButton* CPrintOptionsDialog::control(int id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

} // namespace quorvel

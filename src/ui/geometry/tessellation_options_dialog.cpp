// The option pages are laid out from the core's control tables: check boxes in a column, each
// radio group in a box titled by its first button's group.
#include "ui/geometry/tessellation_options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quorvel {

namespace {

QDialogButtonBox* OkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

CTessellationOptionsDialog::CTessellationOptionsDialog(CTessellationOptionsSheet& sheet,
                                                       QWidget* parent)
    : QDialog(parent), m_sheet(sheet) {
    setWindowTitle(QString::fromLatin1(kTessellationOptionsCaption));
    auto* column = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    if (m_sheet.hasTeacherPage())
        m_pages->addTab(MakePage(OptionsPage::Teacher),
                        QString::fromLatin1(kTeacherOptionsCaption));
    m_pages->addTab(MakePage(OptionsPage::User), QString::fromLatin1(kUserOptionsCaption));
    column->addWidget(m_pages);
    column->addWidget(OkCancel(this));
    Sync();
}

QWidget* CTessellationOptionsDialog::MakePage(OptionsPage page) {
    auto* widget = new QWidget(m_pages);
    auto* row = new QHBoxLayout(widget);
    auto* checks = new QVBoxLayout;
    auto* groups = new QVBoxLayout;
    QVBoxLayout* group = nullptr;
    for (const COptionControl& c : OptionControls(page)) {
        QAbstractButton* b = nullptr;
        if (c.radio) {
            if (c.group) {
                auto* box = new QGroupBox(QString::fromLatin1(c.group), widget);
                group = new QVBoxLayout(box);
                groups->addWidget(box);
            }
            b = new QRadioButton(QString::fromLatin1(c.caption));
            b->setAutoExclusive(false); // the sheet decides what is checked
            group->addWidget(b);
        } else {
            b = new QCheckBox(QString::fromLatin1(c.caption), widget);
            checks->addWidget(b);
        }
        b->setProperty("controlId", c.id);
        const int id = c.id;
        connect(b, &QAbstractButton::clicked, this, [this, page, id] {
            m_sheet.Click(page, id);
            Sync();
        });
        m_controls[{page, c.id}] = b;
    }
    checks->addStretch();
    groups->addStretch();
    if (checks->count() > 1)
        row->addLayout(checks);
    else
        delete checks;
    row->addLayout(groups);
    return widget;
}

void CTessellationOptionsDialog::Sync() {
    for (auto& [key, b] : m_controls) {
        const QSignalBlocker quiet(b);
        b->setChecked(m_sheet.IsChecked(key.first, key.second));
        b->setEnabled(m_sheet.IsEnabled(key.first, key.second));
    }
}

QAbstractButton* CTessellationOptionsDialog::control(OptionsPage page, int id) const {
    const auto it = m_controls.find({page, id});
    return it == m_controls.end() ? nullptr : it->second;
}

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
    column->addWidget(OkCancel(this));
}

QAbstractButton* CPrintOptionsDialog::control(int id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

} // namespace quorvel

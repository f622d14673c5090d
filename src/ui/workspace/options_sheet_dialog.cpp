// The pages are laid out from the core's control tables: check boxes in a column, each radio
// group in a box titled by its first button's group. A group's title carries the keyboard
// accelerator that reaches its buttons.
#include "ui/workspace/options_sheet_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <set>

namespace quorvel {

namespace {

// `title` with an accelerator on its first letter that no other control of the page uses.
QString WithAccelerator(const QString& title, std::set<QChar>& used) {
    for (qsizetype i = 0; i < title.size(); ++i) {
        const QChar c = title[i].toLower();
        if (title[i].isLetter() && used.insert(c).second)
            return title.left(i) + QLatin1Char('&') + title.mid(i);
    }
    return title;
}

// A caption as read aloud: "&&" stands for one "&".
QString Plain(QString caption) {
    return caption.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

} // namespace

QDialogButtonBox* OkCancelButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

COptionsSheetDialog::COptionsSheetDialog(COptionsSheet& sheet, QWidget* parent)
    : QDialog(parent), m_sheet(sheet) {
    setWindowTitle(QString::fromStdString(m_sheet.caption()));
    auto* column = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->setAccessibleName(QString::fromStdString(m_sheet.caption()));
    // Both pages' tabs show in full: the sheet widens to them.
    m_pages->setUsesScrollButtons(false);
    if (m_sheet.hasTeacherPage())
        m_pages->addTab(MakePage(OptionsPage::Teacher),
                        QString::fromLatin1(kTeacherOptionsCaption));
    m_pages->addTab(MakePage(OptionsPage::User), QString::fromLatin1(kUserOptionsCaption));
    column->addWidget(m_pages);
    column->addWidget(OkCancelButtons(this));
    Sync();
}

QWidget* COptionsSheetDialog::MakePage(OptionsPage page) {
    auto* widget = new QWidget(m_pages);
    auto* row = new QHBoxLayout(widget);
    auto* checks = new QVBoxLayout;
    auto* groups = new QVBoxLayout;
    QVBoxLayout* group = nullptr;
    QString groupTitle;
    // OK and Cancel keep theirs.
    std::set<QChar> used{QLatin1Char('o'), QLatin1Char('c')};
    for (const COptionControl& c : m_sheet.Controls(page)) {
        const QString caption = QString::fromLatin1(c.caption);
        QAbstractButton* b = nullptr;
        if (c.radio) {
            if (c.group || !group) {
                groupTitle = QString::fromLatin1(c.group ? c.group : "");
                auto* box = new QGroupBox(WithAccelerator(groupTitle, used), widget);
                box->setAccessibleName(Plain(groupTitle));
                group = new QVBoxLayout(box);
                groups->addWidget(box);
            }
            b = new QRadioButton(caption);
            b->setAutoExclusive(false); // the sheet decides what is checked
            group->addWidget(b);
            b->setAccessibleName(Plain(groupTitle + QLatin1Char(' ') + caption).trimmed());
        } else {
            b = new QCheckBox(WithAccelerator(caption, used), widget);
            checks->addWidget(b);
            b->setAccessibleName(Plain(caption));
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

void COptionsSheetDialog::Sync() {
    for (auto& [key, b] : m_controls) {
        const QSignalBlocker quiet(b);
        b->setChecked(m_sheet.IsChecked(key.first, key.second));
        b->setEnabled(m_sheet.IsEnabled(key.first, key.second));
    }
}

QAbstractButton* COptionsSheetDialog::control(OptionsPage page, int id) const {
    const auto it = m_controls.find({page, id});
    return it == m_controls.end() ? nullptr : it->second;
}

} // namespace quorvel

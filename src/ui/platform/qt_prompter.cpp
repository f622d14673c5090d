// QMessageBox and QInputDialog behind the core's questions.
#include "ui/platform/qt_prompter.h"

#include "ui/platform/qt_text.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace quorvel {
namespace {

QString Caption(const std::string& caption) {
    return caption.empty() ? QStringLiteral("Quorvel Demonstration") : ToQString(caption);
}

QMessageBox::Icon QtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::None:
        return QMessageBox::NoIcon;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageResult CQtPrompter::MessageBox(const std::string& text, MessageIcon icon,
                                      MessageButtons buttons, const std::string& caption) {
    QMessageBox box(QtIcon(icon), Caption(caption), DialogText(text), QMessageBox::NoButton,
                    m_parent);
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    // Closing a Yes/No box by its window button must not count as Yes.
    if (buttons == MessageButtons::YesNo)
        box.setEscapeButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageResult::Yes;
    case QMessageBox::No:
        return MessageResult::No;
    case QMessageBox::Cancel:
        return MessageResult::Cancel;
    case QMessageBox::Ok:
        return MessageResult::Ok;
    default:
        return buttons == MessageButtons::Ok ? MessageResult::Ok : MessageResult::Cancel;
    }
}

int CQtPrompter::Choose(const std::string& text, const std::vector<std::string>& buttons,
                        const std::string& caption) {
    QMessageBox box(QMessageBox::Question, Caption(caption), DialogText(text),
                    QMessageBox::NoButton, m_parent);
    std::vector<QAbstractButton*> added;
    for (const auto& b : buttons)
        added.push_back(box.addButton(ToQString(b), QMessageBox::AcceptRole));
    box.exec();
    for (std::size_t i = 0; i < added.size(); ++i)
        if (box.clickedButton() == added[i])
            return static_cast<int>(i);
    return -1;
}

std::optional<std::string> CQtPrompter::AskText(const std::string& prompt,
                                                const std::string& initial,
                                                const std::string& caption, std::size_t maxChars) {
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(Caption(caption));
    dialog.setLabelText(DialogText(prompt));
    dialog.setTextValue(ToQString(initial));
    if (maxChars > 0)
        if (auto* edit = dialog.findChild<QLineEdit*>())
            edit->setMaxLength(static_cast<int>(maxChars));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ToStdString(dialog.textValue());
}

} // namespace quorvel

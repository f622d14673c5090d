// A non-native QFileDialog, so that it can carry the folder buttons under its file list.
#include "ui/platform/qt_file_chooser.h"

#include "ui/platform/qt_text.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

namespace quorvel {

QStringList DialogNameFilters(const std::string& filter) {
    // Pairs of description and pattern list, separated by "|"; "||" ends a pair.
    QStringList parts = ToQString(filter).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QStringLiteral("*.*"))
                p = QStringLiteral("*");
        }
        const QString joined = patterns.join(QLatin1Char(' '));
        // Qt reads the patterns from the parentheses: keep the description's words, give it ours.
        const qsizetype paren = description.indexOf(QLatin1Char('('));
        if (paren >= 0)
            description = description.left(paren).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(description, joined);
    }
    return filters;
}

QFileDialog* CQtFileChooser::MakeDialog(const CFileDialogRequest& request, QWidget* parent,
                                        DirectoryChoice* choice) {
    auto* dialog = new QFileDialog(parent);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setOption(QFileDialog::HideNameFilterDetails, false);
    dialog->setWindowTitle(!request.title.empty() ? ToQString(request.title)
                           : request.save         ? QStringLiteral("Save As")
                                                  : QStringLiteral("Open"));
    dialog->setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setNameFilters(DialogNameFilters(request.filter));
    dialog->setDefaultSuffix(ToQString(request.defaultExtension));
    // The folder the document's choice names opens even before anything was saved there.
    if (!request.initialFolder.empty()) {
        QDir().mkpath(ToQString(request.initialFolder));
        dialog->setDirectory(ToQString(request.initialFolder));
    }
    if (request.save && !request.defaultName.empty())
        dialog->selectFile(ToQString(request.defaultName));

    auto* group = new QGroupBox(QStringLiteral("Directory"), dialog);
    group->setAccessibleName(QStringLiteral("Directory"));
    auto* row = new QHBoxLayout(group);
    auto* buttons = new QButtonGroup(group);
    const struct {
        const char* text;
        DirectoryChoice choice;
        const std::string* folder;
    } folders[] = {
        {"&Personal", DirectoryChoice::Personal, &request.personalFolder},
        {"&Student Bulletin Board", DirectoryChoice::BulletinBoard, &request.bulletinBoardFolder},
        {"&Teacher Bulletin Board", DirectoryChoice::TeacherBulletinBoard,
         &request.teacherBulletinBoardFolder},
    };
    for (const auto& f : folders) {
        auto* radio = new QRadioButton(QString::fromLatin1(f.text), group);
        radio->setAccessibleName(QString::fromLatin1(f.text).remove(QLatin1Char('&')));
        row->addWidget(radio);
        buttons->addButton(radio, static_cast<int>(f.choice));
        radio->setChecked(f.choice == request.directory);
        const QString folder = ToQString(*f.folder);
        const DirectoryChoice value = f.choice;
        QObject::connect(radio, &QRadioButton::clicked, dialog, [dialog, folder, value, choice] {
            if (choice)
                *choice = value;
            if (!folder.isEmpty()) {
                QDir().mkpath(folder);
                dialog->setDirectory(folder);
            }
        });
    }
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout()))
        grid->addWidget(group, grid->rowCount(), 0, 1, grid->columnCount());
    if (choice)
        *choice = request.directory;
    return dialog;
}

std::optional<CFileDialogResult> CQtFileChooser::Choose(const CFileDialogRequest& request) {
    DirectoryChoice choice = request.directory;
    std::unique_ptr<QFileDialog> dialog(MakeDialog(request, m_parent, &choice));
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return CFileDialogResult{ToStdString(dialog->selectedFiles().constFirst()), choice};
}

} // namespace quorvel

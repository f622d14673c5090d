// Settings through QSettings, in the user's configuration folder.
#include "ui/platform/qt_settings.h"

#include "ui/platform/qt_text.h"

#include <QSettings>
#include <QStringList>

namespace quorvel {
namespace {

const QString kRecentFilesKey = QStringLiteral("recentFiles");
const QString kDisplayScaleKey = QStringLiteral("displayScale");

QSettings UserSettings() {
    return QSettings(QStringLiteral("Quorvel"), QStringLiteral("Quorvel"));
}

} // namespace

std::vector<std::string> CQtRecentFilesStore::Load() {
    std::vector<std::string> files;
    for (const QString& f : UserSettings().value(kRecentFilesKey).toStringList())
        files.push_back(ToStdString(f));
    return files;
}

void CQtRecentFilesStore::Store(const std::vector<std::string>& files) {
    QStringList list;
    for (const std::string& f : files)
        list << ToQString(f);
    UserSettings().setValue(kRecentFilesKey, list);
}

int LoadDisplayScale() {
    return UserSettings().value(kDisplayScaleKey, 100).toInt();
}

void StoreDisplayScale(int percent) {
    UserSettings().setValue(kDisplayScaleKey, percent);
}

} // namespace quorvel

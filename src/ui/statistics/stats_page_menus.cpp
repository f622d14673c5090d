// The Statistics page's menus: each item asks the core whether it is enabled and checked and
// runs through it; the CSV items add the file dialogs.
#include "ui/statistics/stats_page_menus.h"

#include "statistics/stats_commands.h"
#include "ui/platform/qt_text.h"
#include "ui/statistics/summary_statistics_wnd.h"

#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QSaveFile>

#include <functional>
#include <span>

namespace quorvel {

namespace {

void AddItems(QMenu* menu, std::span<const CStatsMenuItem> items, QObject* receiver,
              const std::function<void(int)>& run) {
    for (const CStatsMenuItem& item : items) {
        QAction* a = menu->addAction(ToQString(item.text));
        a->setData(item.id);
        a->setCheckable(item.id != kCmdImportCsv && item.id != kCmdExportCsv);
        const int id = item.id;
        QObject::connect(a, &QAction::triggered, receiver, [run, id] { run(id); });
    }
}

// Teachers' spreadsheets are rarely above a few megabytes; a larger file is no table of cases.
constexpr qint64 kMaxCsvBytes = 64 * 1024 * 1024;

} // namespace

CStatsPageMenus::CStatsPageMenus(CStatsUnitDocument& doc, QWidget* page)
    : QObject(page), m_doc(doc), m_page(page) {
    const auto run = [this](int id) { Command(id); };
    m_statistics = new QMenu(QStringLiteral("&Statistics"), page);
    AddItems(m_statistics, kStatsMenuItems, this, run);
    if (doc.host() && doc.host()->AuthoringMode()) {
        QMenu* modes = m_statistics->addMenu(ToQString(kAuthoredModesTitle));
        AddItems(modes, kAuthoredModeItems, this, run);
        connect(modes, &QMenu::aboutToShow, this, [this, modes] { UpdateMenu(modes); });
    }
    connect(m_statistics, &QMenu::aboutToShow, this, [this] { UpdateMenu(m_statistics); });
    m_table = new QMenu(QStringLiteral("Ta&ble"), page);
    AddItems(m_table, kTableMenuItems, this, run);
    connect(m_table, &QMenu::aboutToShow, this, [this] { UpdateMenu(m_table); });

    m_window = new CSummaryStatisticsWnd(doc, page);
    m_doc.SetStatsView(this);
    m_window->SyncWithDocument();
}

CStatsPageMenus::~CStatsPageMenus() {
    m_doc.SetStatsView(nullptr);
}

void CStatsPageMenus::UpdateMenu(QMenu* menu) {
    for (QAction* a : menu->actions()) {
        if (a->menu())
            continue;
        const CStatsCommandState state = StatsCommandState(m_doc, a->data().toInt());
        a->setEnabled(state.enabled);
        a->setChecked(state.checked);
    }
}

void CStatsPageMenus::StatsStateChanged() {
    m_window->SyncWithDocument();
}

void CStatsPageMenus::Command(int id) {
    if (id == kCmdImportCsv) {
        if (!StatsCommandState(m_doc, id).enabled)
            return;
        const QString path =
            QFileDialog::getOpenFileName(m_page, QStringLiteral("Import Data from CSV"), QString(),
                                         QStringLiteral("CSV files (*.csv);;All Files (*)"));
        if (!path.isEmpty())
            ImportCsvFile(path);
        return;
    }
    if (id == kCmdExportCsv) {
        const QString path = QFileDialog::getSaveFileName(
            m_page, QStringLiteral("Export Data as CSV"), QStringLiteral("data.csv"),
            QStringLiteral("CSV files (*.csv);;All Files (*)"));
        if (!path.isEmpty())
            ExportCsvFile(path);
        return;
    }
    RunStatsCommand(m_doc, id);
    m_window->SyncWithDocument();
}

bool CStatsPageMenus::ImportCsvFile(const QString& path) {
    QFile file(path);
    std::optional<std::string> error;
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxCsvBytes) {
        error = "The file could not be read.";
    } else {
        const QByteArray bytes = file.readAll();
        m_doc.MarkUndoStep();
        error = m_doc.ImportCsv(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    if (error) {
        QMessageBox::warning(m_page, QStringLiteral("Import Data from CSV"), ToQString(*error));
        return false;
    }
    return true;
}

bool CStatsPageMenus::ExportCsvFile(const QString& path) {
    const std::string text = m_doc.ExportCsv();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.commit()) {
        QMessageBox::warning(m_page, QStringLiteral("Export Data as CSV"),
                             QStringLiteral("The file could not be written."));
        return false;
    }
    return true;
}

} // namespace quorvel

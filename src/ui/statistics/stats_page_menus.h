// What the Statistics page offers until its own workspace comes: the "&Statistics" menu (the
// Summary Statistics window, its decimal places and, for authors, "Authored Modes") and the
// "Ta&ble" menu with the CSV commands, over the shared workspace page.
#pragma once

#include "statistics/stats_document.h"

#include <QObject>

class QMenu;
class QWidget;

namespace quorvel {

class CSummaryStatisticsWnd;

class CStatsPageMenus : public QObject, public IStatsDocumentView {
    Q_OBJECT
public:
    CStatsPageMenus(CStatsUnitDocument& doc, QWidget* page);
    ~CStatsPageMenus() override;

    QMenu* statisticsMenu() const { return m_statistics; }
    QMenu* tableMenu() const { return m_table; }
    CSummaryStatisticsWnd* summaryWindow() const { return m_window; }

    void Command(int id);
    // Reads a CSV file into the data set; the message box when it holds no table.
    bool ImportCsvFile(const QString& path);
    bool ExportCsvFile(const QString& path);

    void StatsStateChanged() override;

private:
    void UpdateMenu(QMenu* menu);

    CStatsUnitDocument& m_doc;
    QWidget* m_page;
    QMenu* m_statistics = nullptr;
    QMenu* m_table = nullptr;
    CSummaryStatisticsWnd* m_window = nullptr;
};

} // namespace quorvel

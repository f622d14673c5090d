// The "Summary Statistics" window: a small tool window over the page that paints what the
// document's summary statistics lay out, sized as they say, and remembers where it stands.
#pragma once

#include <QWidget>

namespace quorvel {

class CStatsUnitDocument;

class CSummaryStatisticsWnd : public QWidget {
    Q_OBJECT
public:
    CSummaryStatisticsWnd(CStatsUnitDocument& doc, QWidget* parent);
    ~CSummaryStatisticsWnd() override;

    // Shows or hides the window as the document's window state says, fitted to its values.
    void SyncWithDocument();
    // Sizes the client area to the values (the window keeps its place).
    void Fit();

protected:
    void paintEvent(QPaintEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void StorePlace();

    CStatsUnitDocument& m_doc;
};

} // namespace quorvel

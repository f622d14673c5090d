// The "Photo Viewer" dialog: one photo at a time at full size, in the strip's order, with
// Next, Previous, a slide show forward or backward, "Print", "Export as PDF..." and "Done".
#pragma once

#include "geometry/photo_controller.h"
#include "ui/platform/qt_timer_host.h"

#include <QDialog>

#include <map>
#include <memory>

class QAbstractButton;
class QPrinter;

namespace quorvel {

class CPhotoButton;
class CPhotoStrip;
class CUnitDocument;

class CPhotoViewerView : public QDialog {
    Q_OBJECT
public:
    // `document` gives "Export as PDF..." its folders and its message; without one the button
    // does nothing.
    CPhotoViewerView(CPhotoStrip& strip, QWidget* parent, const CUnitDocument* document = nullptr);
    ~CPhotoViewerView() override;

    CPhotoViewerController& controller() { return *m_viewer; }
    // The viewer's buttons by id: kViewerNext and the others; "Done" and "Print" too.
    QAbstractButton* button(int id) const;
    QWidget* canvas() const { return m_canvas; }
    QAbstractButton* exportPdfButton() const { return m_pdf; }
    // The interval the slide show's timer runs at, 0 while it does not run.
    int slideInterval() const;

    // "Print" asks for a printer; "Export as PDF..." for a file. Both draw the viewer's
    // picture of the current photo to fill the page.
    void Print();
    bool ExportPdf();
    bool ExportPdfTo(const QString& path);
    bool PrintTo(QPrinter& printer);

protected:
    void done(int result) override;

private:
    // The slide show's ticks reach the viewer, which then shows the new photo.
    class CTimers : public ITimerHost, public ITimerClient {
    public:
        explicit CTimers(CPhotoViewerView& view) : m_view(view) {}
        bool StartTimer(std::uint32_t id, int intervalMs, ITimerClient* client) override;
        void KillTimer(std::uint32_t id) override;
        bool IsRunning(std::uint32_t id) const override { return m_host.IsRunning(id); }
        void OnTimer(std::uint32_t id) override;
        int interval(std::uint32_t id) const;

    private:
        CPhotoViewerView& m_view;
        CQtTimerHost m_host;
        std::map<std::uint32_t, std::pair<int, ITimerClient*>> m_clients;
    };

    void Act(int id);
    void Refresh();

    CTimers m_timers{*this};
    std::unique_ptr<CPhotoViewerController> m_viewer;
    QWidget* m_canvas = nullptr;
    QAbstractButton* m_pdf = nullptr;
    std::map<int, QAbstractButton*> m_buttons;
    const CUnitDocument* m_document;
};

} // namespace quorvel

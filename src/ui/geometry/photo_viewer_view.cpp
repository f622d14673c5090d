// The viewer's canvas drawn by its controller, its buttons enabled as the controller says
// after every step and every tick of the slide show, and its printing through the same
// page mapping as the workspace's.
#include "ui/geometry/photo_viewer_view.h"

#include "geometry/photo_strip.h"
#include "ui/geometry/photo_controls.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_page_setup.h"
#include "ui/platform/qt_pdf_export.h"
#include "ui/platform/qt_text.h"
#include "workspace/unit_view_controller.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace quorvel {

namespace {

constexpr QSize kCanvasSize(320, 170);

class CViewerCanvas : public QWidget {
public:
    CViewerCanvas(CPhotoViewerController& viewer, QWidget* parent)
        : QWidget(parent), m_viewer(viewer) {
        setFixedSize(kCanvasSize);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAccessibleName(QStringLiteral("Photo"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        CQtDrawingSurface dc(p);
        p.setRenderHint(QPainter::Antialiasing);
        m_viewer.Draw(dc, {0, 0, width(), height()});
    }

private:
    CPhotoViewerController& m_viewer;
};

struct CViewerButtonInfo {
    int id;
    const char* art;
    const char* name;
    const char* caption;
    const char* tip;
};

constexpr CViewerButtonInfo kStepButtons[] = {
    {kViewerPrevious, "viewer_previous", "Previous", "Previous", "Show the photo before this one."},
    {kViewerPlayBackward, "viewer_play_backward", "Play Backward", "Play Back",
     "Show the photos one after another, back to the first."},
    {kViewerPlayForward, "viewer_play_forward", "Play Forward", "Play",
     "Show the photos one after another, on to the last."},
    {kViewerNext, "viewer_next", "Next", "Next", "Show the photo after this one."},
};

} // namespace

bool CPhotoViewerView::CTimers::StartTimer(std::uint32_t id, int intervalMs, ITimerClient* client) {
    if (!m_host.StartTimer(id, intervalMs, this))
        return false;
    m_clients[id] = {intervalMs, client};
    return true;
}

void CPhotoViewerView::CTimers::KillTimer(std::uint32_t id) {
    m_host.KillTimer(id);
    m_clients.erase(id);
}

void CPhotoViewerView::CTimers::OnTimer(std::uint32_t id) {
    const auto it = m_clients.find(id);
    if (it == m_clients.end())
        return;
    it->second.second->OnTimer(id);
    m_view.Refresh();
}

int CPhotoViewerView::CTimers::interval(std::uint32_t id) const {
    const auto it = m_clients.find(id);
    return it == m_clients.end() ? 0 : it->second.first;
}

CPhotoViewerView::CPhotoViewerView(CPhotoStrip& strip, QWidget* parent,
                                   const CUnitDocument* document)
    : QDialog(parent), m_viewer(std::make_unique<CPhotoViewerController>(strip, m_timers)),
      m_document(document) {
    setWindowTitle(QString::fromLatin1(kPhotoViewerTitle));
    setAccessibleName(QString::fromLatin1(kPhotoViewerTitle));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    m_canvas = new CViewerCanvas(*m_viewer, this);
    layout->addWidget(m_canvas, 0, Qt::AlignHCenter);

    auto* steps = new QHBoxLayout;
    steps->addStretch();
    for (const CViewerButtonInfo& info : kStepButtons) {
        auto* column = new QVBoxLayout;
        column->setSpacing(1);
        auto* b = new CPhotoButton(QString::fromLatin1(info.art), QString::fromLatin1(info.name),
                                   QString::fromLatin1(info.tip), this);
        b->setFixedSize(b->sizeHint());
        auto* caption = new QLabel(QString::fromLatin1(info.caption), this);
        caption->setAlignment(Qt::AlignHCenter);
        caption->setBuddy(b);
        column->addWidget(b, 0, Qt::AlignHCenter);
        column->addWidget(caption, 0, Qt::AlignHCenter);
        steps->addLayout(column);
        const int id = info.id;
        connect(b, &QAbstractButton::clicked, this, [this, id] { Act(id); });
        m_buttons[id] = b;
    }
    steps->addStretch();
    layout->addLayout(steps);

    auto* row = new QHBoxLayout;
    auto* print = new QPushButton(QStringLiteral("&Print"), this);
    print->setAccessibleName(QStringLiteral("Print"));
    print->setToolTip(QStringLiteral("Print this photo."));
    auto* pdf = new QPushButton(QStringLiteral("&Export as PDF..."), this);
    pdf->setAccessibleName(QStringLiteral("Export as PDF"));
    pdf->setToolTip(QStringLiteral("Save this photo as a PDF file."));
    m_pdf = pdf;
    auto* doneButton = new QPushButton(QStringLiteral("Done"), this);
    doneButton->setAccessibleName(QStringLiteral("Done"));
    doneButton->setDefault(true);
    row->addWidget(print);
    row->addWidget(pdf);
    row->addStretch();
    row->addWidget(doneButton);
    layout->addLayout(row);
    m_buttons[kViewerPrint] = print;
    m_buttons[kViewerDone] = doneButton;
    connect(print, &QPushButton::clicked, this, [this] { Act(kViewerPrint); });
    connect(pdf, &QPushButton::clicked, this, &CPhotoViewerView::ExportPdf);
    connect(doneButton, &QPushButton::clicked, this, &QDialog::accept);

    // The arrow keys step through the photos; with Ctrl they start the slide show.
    const auto key = [this](QKeySequence keys, int id) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, id] {
            if (m_viewer->IsEnabled(id))
                Act(id);
        });
    };
    key(QKeySequence(Qt::Key_Left), kViewerPrevious);
    key(QKeySequence(Qt::Key_Right), kViewerNext);
    key(QKeySequence(Qt::CTRL | Qt::Key_Left), kViewerPlayBackward);
    key(QKeySequence(Qt::CTRL | Qt::Key_Right), kViewerPlayForward);

    layout->setSizeConstraint(QLayout::SetFixedSize);
    Refresh();
}

CPhotoViewerView::~CPhotoViewerView() {
    // The slide show stops before its timers go.
    m_viewer.reset();
}

QAbstractButton* CPhotoViewerView::button(int id) const {
    const auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

int CPhotoViewerView::slideInterval() const {
    return m_timers.interval(kPhotoViewerTimer);
}

void CPhotoViewerView::Act(int id) {
    switch (id) {
    case kViewerNext:
        m_viewer->Next();
        break;
    case kViewerPrevious:
        m_viewer->Previous();
        break;
    case kViewerPlayForward:
        m_viewer->PlayForward();
        break;
    case kViewerPlayBackward:
        m_viewer->PlayBackward();
        break;
    case kViewerPrint:
        Print();
        break;
    default:
        break;
    }
    Refresh();
}

void CPhotoViewerView::Refresh() {
    for (const auto& [id, b] : m_buttons)
        b->setEnabled(m_viewer->IsEnabled(id));
    m_pdf->setEnabled(m_viewer->IsEnabled(kViewerPrint));
    m_canvas->setAccessibleDescription(ToQString(m_viewer->Caption()));
    m_canvas->update();
}

void CPhotoViewerView::done(int result) {
    m_viewer->Stop();
    QDialog::done(result);
}

bool CPhotoViewerView::PrintTo(QPrinter& printer) {
    QPainter p;
    if (!p.begin(&printer))
        return false;
    const CRect client{0, 0, m_canvas->width(), m_canvas->height()};
    const QRect page = p.viewport();
    const auto mapping = PrintMapping(client, {page.width(), page.height()});
    if (!mapping)
        return true;
    p.scale(mapping->scale, mapping->scale);
    p.setClipRect(QRect(0, 0, client.Width(), client.Height()));
    CQtDrawingSurface dc(p);
    p.setRenderHint(QPainter::Antialiasing);
    m_viewer->Draw(dc, client);
    return true;
}

void CPhotoViewerView::Print() {
    QPrinter printer(QPrinter::HighResolution);
    ApplyPageSetup(printer);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        PrintTo(printer);
}

bool CPhotoViewerView::ExportPdf() {
    if (!m_document)
        return false;
    return quorvel::ExportPdf(*m_document,
                              "photo " + std::to_string(std::max(m_viewer->index() + 1, 1)),
                              [this](QPrinter& printer) { return PrintTo(printer); });
}

bool CPhotoViewerView::ExportPdfTo(const QString& path) {
    return PrintToPdf(path, [this](QPrinter& printer) { return PrintTo(printer); });
}

} // namespace quorvel

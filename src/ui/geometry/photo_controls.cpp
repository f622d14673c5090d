// The photo box in the pane's bottom left corner with the camera, the magnifying glass and the
// viewer beside it under the tool palette, the photo strip under the workspace, a photo dragged
// from the strip onto the box; each shown as the photo features in effect say.
#include "ui/geometry/photo_controls.h"

#include "geometry/geometry_document.h"
#include "ui/art/art.h"
#include "ui/geometry/geometry_unit_view.h"
#include "ui/geometry/photo_strip_widget.h"
#include "ui/geometry/photo_viewer_view.h"
#include "ui/workspace/tool_palette.h"
#include "ui/workspace/workspace_pane.h"

#include <QEnterEvent>
#include <QPainter>

#include <algorithm>

namespace quorvel {

namespace {

constexpr int kGap = 5;

} // namespace

CPhotoButton::CPhotoButton(const QString& art, const QString& accessibleName,
                           const QString& toolTip, QWidget* parent)
    : QAbstractButton(parent), m_art(art) {
    setAccessibleName(accessibleName);
    setToolTip(toolTip);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
    resize(sizeHint());
}

void CPhotoButton::paintEvent(QPaintEvent*) {
    QString name = m_art;
    if (!isEnabled())
        name += QStringLiteral("_disabled");
    else if (isDown())
        name += QStringLiteral("_down");
    else if (hasFocus() || m_hover)
        name += QStringLiteral("_focus");
    QPainter p(this);
    p.drawPixmap(rect(), NamedArtPixmap(name, size()));
}

void CPhotoButton::enterEvent(QEnterEvent* e) {
    m_hover = true;
    update();
    QAbstractButton::enterEvent(e);
}

void CPhotoButton::leaveEvent(QEvent* e) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(e);
}

CPhotoControls::CPhotoControls(CGeometryUnitView& view)
    : QObject(&view), m_view(view), m_photos(view.geometry().photos()) {
    m_photos.SetWindow(this);
    CGeometryUnitDocument& doc = view.geometry().geometryDocument();

    m_strip = new CPhotoStripWidget(doc.photoStrip(), m_photos, &view);
    m_strip->dropOutside = [this](QPoint global) { return DropOnBox(global); };
    connect(m_strip, &CPhotoStripWidget::photoDragged, this,
            [this](QPoint global) { HighlightBox(BoxTakes(global)); });
    connect(m_strip, &CPhotoStripWidget::photoDragEnded, this, [this] { HighlightBox(false); });
    connect(m_strip, &CPhotoStripWidget::editRequested, this, [this] {
        if (m_magnifier->isVisible() && m_magnifier->isEnabled())
            EditPickedPhoto();
    });

    m_camera = new CPhotoButton(QStringLiteral("camera"), QStringLiteral("Camera"),
                                QString::fromLatin1(kCameraTip), &view);
    m_magnifier =
        new CPhotoButton(QStringLiteral("magnifying_glass"), QStringLiteral("Magnifying Glass"),
                         QString::fromLatin1(kMagnifyingGlassTip), &view);
    m_viewer = new CPhotoButton(QStringLiteral("viewer"), QStringLiteral("Viewer"),
                                QString::fromLatin1(kViewerTip), &view);
    m_camera->setProperty("controlId", kPhotoCameraId);
    m_magnifier->setProperty("controlId", kPhotoMagnifierId);
    m_viewer->setProperty("controlId", kPhotoViewerButtonId);
    connect(m_camera, &QAbstractButton::clicked, this, &CPhotoControls::TakePhoto);
    connect(m_magnifier, &QAbstractButton::clicked, this, &CPhotoControls::EditPickedPhoto);
    connect(m_viewer, &QAbstractButton::clicked, this, &CPhotoControls::ShowViewer);

    Apply(doc.viewControls());
}

// The page's controller, which may already be gone, lets go of this window itself.
CPhotoControls::~CPhotoControls() = default;

// --- showing and placing ---------------------------------------------------------------------

void CPhotoControls::Apply(const CGeometryViewControls& controls) {
    const bool boxChanged = controls.photoBox != m_controls.photoBox;
    m_controls = controls;
    m_cameraShown = true;
    m_strip->setVisible(controls.photoStrip);
    m_viewer->setVisible(controls.photoViewer);
    m_camera->setVisible(controls.camera);
    m_magnifier->setVisible(controls.camera);
    Layout(m_area);
    UpdateEnabling();
    if (boxChanged)
        m_view.pane()->update();
}

void CPhotoControls::ShowCamera(bool shown) {
    m_cameraShown = shown;
    m_camera->setVisible(shown && m_controls.camera);
    Layout(m_area);
}

void CPhotoControls::Layout(const QRect& area) {
    m_area = area;
    if (area.isEmpty())
        return;
    // The strip along the top of `area`, clear of the problem-set buttons in the page's
    // corner.
    const int stripHeight = m_strip->sizeHint().height();
    m_strip->setGeometry(area.left(), area.top(), area.width(), stripHeight);
    m_strip->Refresh();
    // The buttons in the column under the tool palette, which the navigator leaves free
    // whenever photos show: the camera at the bottom, beside the photo box, then the
    // magnifying glass and the viewer above it.
    const QRect palette = m_view.palette()->geometry();
    const QRect box = BoxOnPane().translated(m_view.pane()->pos());
    int bottom = box.bottom() + 1;
    for (CPhotoButton* b : {m_camera, m_magnifier, m_viewer}) {
        const QSize size = b->sizeHint();
        const int top = std::max(bottom - size.height(), palette.bottom() + 1 + kGap);
        b->setGeometry(QRect(QPoint(palette.center().x() + 1 - size.width() / 2, top), size));
        if (!b->isHidden())
            bottom = top - kGap;
    }
}

void CPhotoControls::UpdateEnabling() {
    m_magnifier->setEnabled(m_photos.CanEditPicked());
}

void CPhotoControls::Refresh() {
    m_strip->Refresh();
    UpdateEnabling();
}

// --- the photo box ---------------------------------------------------------------------------

QRect CPhotoControls::BoxOnPane() const {
    const QSize pane = m_view.pane()->size();
    const CRect box = PhotoBoxOnPane({pane.width(), pane.height()});
    return QRect(box.left, box.top, box.Width(), box.Height());
}

CRect CPhotoControls::BoxInWorkspace() const {
    const QRect box = BoxOnPane();
    const CPoint at = m_view.ToWorkspace(box.topLeft());
    return {at.x, at.y, at.x + box.width(), at.y + box.height()};
}

bool CPhotoControls::BoxTakes(QPoint global) const {
    const QPoint at = m_view.pane()->mapFromGlobal(global);
    const QSize pane = m_view.pane()->size();
    return m_photos.BoxTakes({at.x(), at.y()}, {pane.width(), pane.height()});
}

void CPhotoControls::HighlightBox(bool on) {
    if (m_photos.LightBox(on))
        m_view.pane()->update(BoxOnPane().adjusted(-3, -3, 3, 3));
}

// --- the camera, the magnifying glass and the viewer ----------------------------------------

void CPhotoControls::TakePhoto() {
    if (!m_controls.camera)
        return;
    m_strip->Refresh();
    m_photos.TakePhoto(BoxInWorkspace(), m_view.geometry().scripts().playing());
    Changed();
}

PhotoEdit CPhotoControls::EditPickedPhoto() {
    if (!m_photos.EditingAllowed())
        return PhotoEdit::Nothing;
    const PhotoEdit result = m_photos.EditPicked(BoxInWorkspace());
    Changed();
    return result;
}

bool CPhotoControls::DropOnBox(QPoint global) {
    HighlightBox(false);
    if (!BoxTakes(global))
        return false;
    m_photos.ReleaseOnPhotoBox(BoxInWorkspace());
    Changed();
    return true;
}

void CPhotoControls::ShowViewer() {
    CPhotoViewerView viewer(m_view.geometry().geometryDocument().photoStrip(), &m_view,
                            &m_view.document());
    viewer.exec();
}

void CPhotoControls::StripChanged() {
    m_strip->Refresh();
    UpdateEnabling();
}

void CPhotoControls::Changed() {
    // The selection, the shapes and Undo may have changed with the photos.
    m_view.ControlsChanged();
    Refresh();
}

} // namespace quorvel

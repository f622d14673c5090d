// The photos of the Tiles and Tessellations page: the photo box drawn in the pane, the
// camera, the magnifying glass, the viewer button and the photo strip, shown as the photo
// options say, over the page controller's CPhotoController.
#pragma once

#include "geometry/photo_controller.h"
#include "geometry/tessellation_options.h"

#include <QAbstractButton>
#include <QObject>
#include <QRect>

namespace quorvel {

class CGeometryUnitView;
class CPhotoStripWidget;
class IDrawingSurface;

// A button drawn from named art in its states: "name", "name_down", "name_focus" and
// "name_disabled".
class CPhotoButton : public QAbstractButton {
    Q_OBJECT
public:
    CPhotoButton(const QString& art, const QString& accessibleName, const QString& toolTip,
                 QWidget* parent);
    QSize sizeHint() const override { return {48, 41}; }

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    QString m_art;
    bool m_hover = false;
};

class CPhotoControls : public QObject, public IPhotoWindow {
    Q_OBJECT
public:
    explicit CPhotoControls(CGeometryUnitView& view);
    ~CPhotoControls() override;

    CPhotoController& controller() { return m_photos; }
    CPhotoStripWidget* strip() const { return m_strip; }
    CPhotoButton* camera() const { return m_camera; }
    CPhotoButton* magnifyingGlass() const { return m_magnifier; }
    CPhotoButton* viewerButton() const { return m_viewer; }
    bool boxShown() const { return m_controls.photoBox; }

    // Shows and hides the photo controls as the options say.
    void Apply(const CGeometryViewControls& controls);
    // Places the strip in `area` (page coordinates), the photo box in the bottom left corner
    // of the pane and the buttons beside it under the tool palette.
    void Layout(const QRect& area);
    // The camera and magnifying glass while no script records or plays.
    void UpdateEnabling();
    // The document was read or replaced: the strip shows its photos.
    void Refresh();

    // The photo box on the pane and in the workspace (the pane's scrolling added).
    QRect BoxOnPane() const;
    CRect BoxInWorkspace() const;
    // The frame of the photo box, drawn over the workspace (workspace coordinates).
    void DrawBox(IDrawingSurface& dc) const { m_photos.DrawBox(dc, BoxInWorkspace()); }

    // The camera, the magnifying glass (the picked photo into the box) and the viewer.
    void TakePhoto();
    PhotoEdit EditPickedPhoto();
    void ShowViewer();

    // IPhotoWindow.
    void ShowCamera(bool shown) override;
    void StripChanged() override;

private:
    // Whether the box would take a photo let go at `global`, on the screen.
    bool BoxTakes(QPoint global) const;
    bool DropOnBox(QPoint global);
    void HighlightBox(bool on);
    void Changed();

    CGeometryUnitView& m_view;
    CPhotoController& m_photos;
    CGeometryViewControls m_controls;
    CPhotoStripWidget* m_strip = nullptr;
    CPhotoButton* m_camera = nullptr;
    CPhotoButton* m_magnifier = nullptr;
    CPhotoButton* m_viewer = nullptr;
    QRect m_area;
    bool m_cameraShown = true;
};

} // namespace quorvel

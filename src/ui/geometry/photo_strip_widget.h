// The photo strip of the Tiles and Tessellations page: the photos' quarter-size pictures in
// their twenty places, framed black when picked out and white otherwise. Dragging the strip
// scrolls it; dragging a photo moves it to another place, or onto the photo box to edit it.
// Picking, moving and scrolling are the photo controller's; the widget hands it the mouse and
// the keys.
#pragma once

#include <QWidget>

#include <functional>
#include <vector>

namespace quorvel {

class CPhotoController;
class CPhotoObject;
class CPhotoStrip;

class CPhotoStripWidget : public QWidget {
    Q_OBJECT
public:
    CPhotoStripWidget(CPhotoStrip& strip, CPhotoController& photos, QWidget* parent);

    // The strip shows as wide as the widget; called again when the document changed.
    void Refresh();
    // The indices of the photos picked out, in the strip's order.
    std::vector<std::size_t> PickedPhotos() const;
    // Where the photo `index` shows, in widget coordinates.
    QRect PhotoRect(std::size_t index) const;

    // Asked when a dragged photo is let go outside the strip, the pointer on the screen: true
    // when the page took it (the photo box).
    std::function<bool(QPoint global)> dropOutside;

    QSize sizeHint() const override;

signals:
    // Enter on a picked photo: edit it in the photo box.
    void editRequested();
    // A photo is being dragged, the pointer on the screen; the drag ended.
    void photoDragged(QPoint global);
    void photoDragEnded();

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void ShowGhost(QPoint global);
    void HideGhost();

    CPhotoStrip& m_strip;
    CPhotoController& m_photos;
    QWidget* m_ghost = nullptr;
    QPoint m_pressAt;
    bool m_pressed = false;
    bool m_moved = false; // past the platform's drag distance
};

// A photo's quarter-size picture at `at`, as the strip shows it; `picked` frames it black.
void PaintPhotoPicture(QPainter& p, const CPhotoObject& photo, const QRect& at, bool picked);

} // namespace quorvel

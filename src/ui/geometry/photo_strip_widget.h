// The photo strip of the Tiles and Tessellations page: the photos' quarter-size pictures in
// their twenty places, framed black when picked out and white otherwise. Dragging the strip
// scrolls it; dragging a photo moves it to another place, or onto the photo box to edit it.
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
    // Picks out only photo `index` (none for -1) and scrolls it into view.
    void Pick(int index);
    // Where the photo `index` shows, in widget coordinates.
    QRect PhotoRect(std::size_t index) const;

    // Asked when a dragged photo is let go outside the strip, the pointer on the screen: true
    // when the page took it (the photo box).
    std::function<bool(QPoint global)> dropOutside;

    QSize sizeHint() const override;

signals:
    // The picked photos changed.
    void pickChanged();
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
    // The photos in the order of their places, those without a place last.
    std::vector<std::size_t> PlaceOrder() const;
    int PickedIndex() const;
    void StepPick(int step);
    // Moves the picked photo one place to the left (-1) or right (+1).
    void MovePicked(int step);
    void ShowGhost(QPoint global);
    void HideGhost();
    void UpdateDescription();

    CPhotoStrip& m_strip;
    CPhotoController& m_photos;
    QWidget* m_ghost = nullptr;
    int m_pressPhoto = -1;
    QPoint m_pressAt;
    bool m_pressed = false;
    bool m_moved = false;
    int m_targetPlace = -1; // the place a dragged photo would go to
};

// A photo's quarter-size picture at `at`, as the strip shows it; `picked` frames it black.
void PaintPhotoPicture(QPainter& p, const CPhotoObject& photo, const QRect& at, bool picked);

} // namespace quorvel

// The drawer pane of the Tiles and Tessellations page: the open drawer's six slot pictures
// with their names, and the buttons to the previous and the next drawer. A slot picture is
// dragged out into the workspace to take its shape.
#pragma once

#include <QPixmap>
#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QToolButton;

namespace quorvel {

class CGeometryViewController;
class CStudentDrawerObject;

// A slot's picture: the catalogue shape drawn on the slot background, reduced to fit.
QPixmap DrawerSlotPicture(int catalogueIndex, QSize size, qreal devicePixelRatio);
// A student drawer slot's picture: its reduced copy on the slot background; the background
// alone for an empty slot.
QPixmap StudentSlotPicture(const CStudentDrawerObject* entry, QSize size, qreal devicePixelRatio);

class CDrawerSlotWidget : public QWidget {
    Q_OBJECT
public:
    CDrawerSlotWidget(int slot, QWidget* parent);

    int slot() const { return m_slot; }
    void SetPicture(const QPixmap& picture, const QString& name);
    // A student drawer's slot: its label box instead of a name; empty when it holds nothing.
    void SetStudentPicture(const QPixmap& picture, bool empty);
    QLineEdit* labelBox() const { return m_label; }
    bool empty() const { return m_empty; }
    bool dragging() const { return m_dragging; }

signals:
    // The picture is being dragged: the pointer on the screen.
    void dragMoved(int slot, QPoint global);
    void dropped(int slot, QPoint global);
    // Space or Enter on a slot: its shape in the middle of what the pane shows.
    void activated(int slot);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    int m_slot;
    QPixmap m_picture;
    QString m_name;
    bool m_empty = true;
    bool m_pressed = false;
    bool m_dragging = false;
    QPoint m_pressAt;
    QLineEdit* m_label = nullptr;
};

class CDrawerPane : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSlotSize = 64;

    CDrawerPane(CGeometryViewController& controller, QWidget* parent);

    CDrawerSlotWidget* slotWidget(int slot) const {
        return m_slots[static_cast<std::size_t>(slot)];
    }
    QToolButton* previousButton() const { return m_previous; }
    QToolButton* nextButton() const { return m_next; }
    // The open drawer's pictures, names and title again; the label boxes show while a student
    // drawer is open.
    void Refresh();
    // The slot under a point of the pane, or -1.
    int SlotAt(QPoint onPane) const;

signals:
    void dragMoved(int slot, QPoint global);
    void dropped(int slot, QPoint global);
    void activated(int slot);

protected:
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    CGeometryViewController& m_controller;
    QLabel* m_title = nullptr;
    QToolButton* m_previous = nullptr;
    QToolButton* m_next = nullptr;
    std::array<CDrawerSlotWidget*, 6> m_slots{};
};

} // namespace quorvel

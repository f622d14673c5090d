// The Numbers page's drawer: a number card and a number machine, each a picture the core draws,
// dragged out into the workspace, or dropped there from the keyboard with Enter or Space.
#pragma once

#include "patterns/numbers_controller.h"

#include <QPixmap>
#include <QWidget>

#include <array>

namespace quorvel {

// The picture of a drawer item: a sample card or machine drawn by the core, reduced to fit.
QPixmap NumbersDrawerPicture(NumbersDrawerItem item, QSize size, qreal devicePixelRatio);
// "Number Card" or "Number Machine".
QString NumbersDrawerName(NumbersDrawerItem item);

class CNumbersDrawerItem : public QWidget {
    Q_OBJECT
public:
    CNumbersDrawerItem(NumbersDrawerItem item, QSize picture, QWidget* parent);

    NumbersDrawerItem item() const { return m_item; }
    bool dragging() const { return m_dragging; }

signals:
    // The picture is being dragged: the pointer on the screen.
    void dragMoved(NumbersDrawerItem item, QPoint global);
    void dropped(NumbersDrawerItem item, QPoint global);
    // Enter or Space: one is taken out into the part of the workspace on show.
    void activated(NumbersDrawerItem item);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    NumbersDrawerItem m_item;
    QSize m_pictureSize;
    QPixmap m_picture;
    bool m_pressed = false;
    bool m_dragging = false;
    QPoint m_pressAt;
};

class CNumbersDrawer : public QWidget {
    Q_OBJECT
public:
    explicit CNumbersDrawer(QWidget* parent);

    CNumbersDrawerItem* itemWidget(NumbersDrawerItem item) const {
        return m_items[static_cast<std::size_t>(item)];
    }

signals:
    void dragMoved(NumbersDrawerItem item, QPoint global);
    void dropped(NumbersDrawerItem item, QPoint global);
    void activated(NumbersDrawerItem item);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    std::array<CNumbersDrawerItem*, 2> m_items{};
};

} // namespace quorvel

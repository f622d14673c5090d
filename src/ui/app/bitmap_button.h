// Owner-drawn buttons: a bitmap for each state (up, down, focused, disabled), or, for buttons
// without art, a bright rounded face with a large label.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QString>

namespace quorvel {

class CBitmapButton : public QAbstractButton {
    Q_OBJECT
public:
    // Art ids; 0 leaves a state to the up bitmap.
    struct Bitmaps {
        int up = 0;
        int down = 0;
        int focus = 0;
        int disabled = 0;
    };

    CBitmapButton(int id, Bitmaps bitmaps, const QString& accessibleName, QWidget* parent);
    // A button of the named art ("explore", with "_down", "_focus" and "_disabled" states).
    CBitmapButton(int id, const QString& artName, const QString& accessibleName, QWidget* parent);
    // A drawn button: `face` colour and a large `label`.
    CBitmapButton(int id, QColor face, const QString& label, const QString& accessibleName,
                  QWidget* parent);

    int id() const { return m_id; }
    void setFace(QColor face, const QString& label);
    // Another set of art (the Check button's for the tries left).
    void setBitmaps(Bitmaps bitmaps);
    Bitmaps bitmaps() const { return m_bitmaps; }
    QString label() const { return m_label; }
    QSize sizeHint() const override;

signals:
    // Hovered or focused: the pupil is looking at this button.
    void highlighted(int id);

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void focusInEvent(QFocusEvent*) override;

private:
    QPixmap StatePixmap() const;
    void PaintDrawnFace(QPainter& p);

    int m_id;
    Bitmaps m_bitmaps;
    QString m_artName;
    QColor m_face;
    QString m_label;
    bool m_hover = false;
};

} // namespace quorvel

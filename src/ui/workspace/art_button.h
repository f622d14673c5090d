// A small button drawn from art in states: up, down (pressed or latched) and greyed. The tool
// palette's latching buttons and the navigator's direction buttons.
#pragma once

#include <QAbstractButton>
#include <QIcon>

namespace quorvel {

class CArtButton : public QAbstractButton {
    Q_OBJECT
public:
    // `id` is the control's resource id (its help text); the art ids as ArtIcon takes them.
    CArtButton(int id, int up, int down, int disabled, QWidget* parent);

    int id() const { return m_id; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int m_id;
    QSize m_artSize;
};

} // namespace quorvel

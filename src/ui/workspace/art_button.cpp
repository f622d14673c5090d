// Art buttons: the state's drawing fills the button.
#include "ui/workspace/art_button.h"

#include "ui/art/art.h"

#include <QPainter>

namespace quorvel {

CArtButton::CArtButton(int id, int up, int down, int disabled, QWidget* parent)
    : QAbstractButton(parent), m_id(id), m_artSize(ArtSize(up)) {
    setIcon(ArtIcon(up, down, disabled));
    setProperty("controlId", id);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
    resize(sizeHint());
}

QSize CArtButton::sizeHint() const {
    return m_artSize.isEmpty() ? QSize(16, 16) : m_artSize;
}

void CArtButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    const QIcon::State state = isDown() || isChecked() ? QIcon::On : QIcon::Off;
    icon().paint(&p, rect(), Qt::AlignCenter, mode, state);
}

} // namespace quorvel

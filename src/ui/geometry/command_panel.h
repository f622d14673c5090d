// The command panel of the Tiles and Tessellations page: the ten command buttons, the angle
// box with its spin buttons, thin and thick line, and the eight colour buttons. It shows what
// the shape commands tell it and hands every click to the page.
#pragma once

#include "geometry/shape_commands.h"

#include <QWidget>

#include <functional>
#include <map>

class QAbstractButton;
class QLineEdit;
class QToolButton;

namespace quorvel {

class CCommandPanel : public QWidget, public IShapeCommandPanel {
    Q_OBJECT
public:
    explicit CCommandPanel(QWidget* parent);

    // A command button, line-width button, colour button or the spin buttons (1043 up,
    // and `spinDownButton` below it), by id.
    QAbstractButton* button(int id) const;
    QToolButton* spinDownButton() const { return m_spinDown; }
    QLineEdit* angleBox() const { return m_angle; }
    // Greys every control whose command `enabled` refuses.
    void UpdateEnabling(const std::function<bool(int)>& enabled);

    // IShapeCommandPanel.
    std::string AngleText() const override;
    void SetAngleText(const std::string& text) override;
    void ShowLineWidth(int width) override;
    void ShowColor(Color color) override;

signals:
    void command(int id);
    // One click of a spin button: +1 up, -1 down.
    void spin(int delta);

private:
    std::map<int, QAbstractButton*> m_buttons;
    QLineEdit* m_angle = nullptr;
    QToolButton* m_spinDown = nullptr;
};

} // namespace quorvel

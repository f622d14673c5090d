// The workspace navigator: a miniature of the workspace with the part shown, eight direction
// buttons around it, and dragging of the shown part, over a model of its own or one that a
// document keeps.
#pragma once

#include "workspace/workspace_navigator.h"

#include <QWidget>

#include <array>
#include <memory>

namespace quorvel {

class CArtButton;

class CWorkspaceNavigator : public QWidget {
    Q_OBJECT
public:
    // A workspace `across` screens wide and `down` high, `step` of a screen per press; one
    // screen has the proportions of `screen`.
    CWorkspaceNavigator(int across, int down, double step, QSize screen, QWidget* parent);
    // Over `model`, which outlives the widget; whoever keeps it sets its listener.
    CWorkspaceNavigator(CWorkspaceNavigatorModel& model, QSize screen, QWidget* parent);
    ~CWorkspaceNavigator() override;

    CWorkspaceNavigatorModel& model() { return m_model; }
    const CWorkspaceNavigatorModel& model() const { return m_model; }
    void SetListener(INavigatorListener* listener) { m_model.SetListener(listener); }
    // The view's workspace area took a new size.
    void SetScreenSize(QSize screen) {
        m_model.SetScreen({screen.width(), screen.height()});
        Sync();
    }
    CArtButton* button(NavDirection d) const { return m_buttons[static_cast<std::size_t>(d)]; }

    // An arrow key: presses the direction's button when it is enabled.
    bool PressKey(NavDirection d);
    // The model changed without the widget (a file was read): the buttons and miniature follow.
    void Refresh() { Sync(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void Build();
    void Press(NavDirection d);
    void Sync();

    std::unique_ptr<CWorkspaceNavigatorModel> m_owned;
    CWorkspaceNavigatorModel& m_model;
    std::array<CArtButton*, kNavDirections> m_buttons{};
};

} // namespace quorvel

// The tool palette: a bordered column of latching tool buttons beside the workspace.
#pragma once

#include "workspace/tool_palette.h"

#include <QFrame>

#include <map>

namespace quorvel {

class CArtButton;

class CToolPalette : public QFrame {
    Q_OBJECT
public:
    // The first `rows` rows of tools, with the Arrow latched.
    explicit CToolPalette(QWidget* parent, int rows = CToolPaletteModel::kRows);

    const CToolPaletteModel& model() const { return m_model; }
    CArtButton* button(int command) const;

    // Showing a tool hides the others that share its place.
    void ShowTool(int code, bool shown = true);
    void EnableTool(int code, bool enabled);
    // Latches `command`'s button without sending anything (a tool chosen from code).
    void SetPressed(int command);
    int pressed() const { return m_model.pressed(); }

signals:
    // A button was clicked: its tool command, for the view to select.
    void toolChosen(int command);

private:
    void Click(int command);
    void Sync();

    CToolPaletteModel m_model;
    std::map<int, CArtButton*> m_buttons;
};

} // namespace quorvel

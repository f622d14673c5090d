// The workspace tools: their codes and commands, and the tool palette's latching buttons.
#pragma once

#include "workspace/types.h"

#include <array>
#include <vector>

namespace quorvel {

// The document's current tool is the tool command minus kToolCommandBase.
enum ToolCode : int {
    kToolArrow = 0,
    kToolSelector = 1,
    kToolEraser = 2,
    kToolWriting = 3,
    kToolHelp = 4,
    kToolAnglemeter = 5,
    kToolLinemaker = 6,
    kToolCutShape = 7,
    kToolHideShowLines = 8,
    kToolMystery = 9,
    kToolLinking = 10,
    kToolIgnore = 11,
};
inline constexpr int kToolCount = 12;
inline constexpr int kToolCommandBase = 1271;
// Every command in this range selects a tool.
inline constexpr int kFirstToolCommand = 1270;
inline constexpr int kLastToolCommand = 1299;

constexpr int ToolCommand(int code) {
    return kToolCommandBase + code;
}
constexpr int ToolCodeOf(int command) {
    return command - kToolCommandBase;
}
constexpr bool IsToolCommand(int command) {
    return command >= kFirstToolCommand && command <= kLastToolCommand;
}
// Help and Mystery take the next click over the workspace for themselves.
constexpr bool IsModalTool(int code) {
    return code == kToolHelp || code == kToolMystery;
}

struct CToolInfo {
    int code;
    const char* name;
    int up; // palette bitmaps
    int down;
    int disabled;
};

// Indexed by tool code. The help text of a tool is the string with its command id.
const std::array<CToolInfo, kToolCount>& ToolTable();

inline constexpr int kToolPaletteId = 1055;

// The palette's latching buttons: two columns of 42-pixel squares, rows 42 pixels apart from
// y = 1. Some places hold one of several tools; the unit shows the one it uses.
class CToolPaletteModel {
public:
    static constexpr int kButtonSize = 42;
    static constexpr int kRows = 5;
    // Two columns of buttons with the window's border around them.
    static constexpr int kWidth = 2 * kButtonSize + 3;

    struct Button {
        int command;
        CRect rect;
        bool shown;
        bool enabled;
    };

    // The first `rows` rows (1..5); the Arrow is pressed.
    explicit CToolPaletteModel(int rows = kRows);

    int rows() const { return m_rows; }
    CSize size() const { return {kWidth, m_rows * kButtonSize + 3}; }
    const std::vector<Button>& buttons() const { return m_buttons; }
    const Button* Find(int command) const;

    // Showing a tool hides the others that share its place.
    void ShowTool(int code, bool shown = true);
    void EnableTool(int code, bool enabled);
    bool IsShown(int code) const;
    bool IsEnabled(int code) const;

    // The command of the latched button.
    int pressed() const { return m_pressed; }
    // A click on a button: it latches and releases the one latched before. False when there
    // is no such button or it is hidden or greyed; otherwise the caller sends the command.
    bool Press(int command);
    // Latches a button without sending anything (a tool chosen from code).
    void SetPressed(int command);
    // The command of the shown button under `p`, or 0.
    int ButtonAt(CPoint p) const;

private:
    Button* FindMutable(int command);

    int m_rows;
    std::vector<Button> m_buttons;
    int m_pressed = ToolCommand(kToolArrow);
};

} // namespace quorvel

// The tool table and the palette's latching model.
#include "workspace/tool_palette.h"

#include <algorithm>

namespace quorvel {

const std::array<CToolInfo, kToolCount>& ToolTable() {
    static const std::array<CToolInfo, kToolCount> table{{
        {kToolArrow, "Arrow", 136, 157, 282},
        {kToolSelector, "Selector", 137, 163, 286},
        {kToolEraser, "Eraser", 138, 160, 283},
        {kToolWriting, "Writing tool", 139, 165, 280},
        {kToolHelp, "Help", 140, 161, 284},
        {kToolAnglemeter, "Anglemeter", 141, 158, 281},
        {kToolLinemaker, "Linemaker", 143, 162, 285},
        {kToolCutShape, "Cut-shape", 142, 159, 288},
        {kToolHideShowLines, "Hide/Show Lines", 144, 164, 287},
        {kToolMystery, "Mystery", 306, 307, 308},
        {kToolLinking, "Linking", 318, 319, 320},
        {kToolIgnore, "Ignore", 380, 379, 378},
    }};
    return table;
}

namespace {

struct Place {
    int code;
    int row; // 0-based
    int column;
    bool shown; // until the unit chooses otherwise
};

// Row 3 right holds Mystery, Anglemeter or Ignore, row 4 left Linemaker or Linking.
constexpr std::array<Place, kToolCount> kPlaces{{
    {kToolArrow, 0, 0, true},
    {kToolSelector, 0, 1, true},
    {kToolEraser, 1, 0, true},
    {kToolWriting, 1, 1, true},
    {kToolHelp, 2, 0, true},
    {kToolMystery, 2, 1, false},
    {kToolAnglemeter, 2, 1, true},
    {kToolIgnore, 2, 1, false},
    {kToolLinemaker, 3, 0, true},
    {kToolLinking, 3, 0, false},
    {kToolCutShape, 3, 1, true},
    {kToolHideShowLines, 4, 0, true},
}};

const Place* PlaceOf(int code) {
    const auto it = std::find_if(kPlaces.begin(), kPlaces.end(),
                                 [code](const Place& p) { return p.code == code; });
    return it == kPlaces.end() ? nullptr : &*it;
}

} // namespace

CToolPaletteModel::CToolPaletteModel(int rows) : m_rows(std::clamp(rows, 1, kRows)) {
    for (const Place& p : kPlaces) {
        if (p.row >= m_rows)
            continue;
        const int x = 1 + p.column * kButtonSize;
        const int y = 1 + p.row * kButtonSize;
        m_buttons.push_back(
            {ToolCommand(p.code), {x, y, x + kButtonSize, y + kButtonSize}, p.shown, true});
    }
}

const CToolPaletteModel::Button* CToolPaletteModel::Find(int command) const {
    for (const Button& b : m_buttons)
        if (b.command == command)
            return &b;
    return nullptr;
}

CToolPaletteModel::Button* CToolPaletteModel::FindMutable(int command) {
    return const_cast<Button*>(Find(command));
}

void CToolPaletteModel::ShowTool(int code, bool shown) {
    Button* b = FindMutable(ToolCommand(code));
    if (!b)
        return;
    if (shown) {
        const Place* mine = PlaceOf(code);
        for (const Place& p : kPlaces)
            if (p.code != code && p.row == mine->row && p.column == mine->column)
                if (Button* other = FindMutable(ToolCommand(p.code)))
                    other->shown = false;
    }
    b->shown = shown;
}

void CToolPaletteModel::EnableTool(int code, bool enabled) {
    if (Button* b = FindMutable(ToolCommand(code)))
        b->enabled = enabled;
}

bool CToolPaletteModel::IsShown(int code) const {
    const Button* b = Find(ToolCommand(code));
    return b && b->shown;
}

bool CToolPaletteModel::IsEnabled(int code) const {
    const Button* b = Find(ToolCommand(code));
    return b && b->enabled;
}

bool CToolPaletteModel::Press(int command) {
    const Button* b = Find(command);
    if (!b || !b->shown || !b->enabled)
        return false;
    m_pressed = command;
    return true;
}

void CToolPaletteModel::SetPressed(int command) {
    m_pressed = command;
}

int CToolPaletteModel::ButtonAt(CPoint p) const {
    for (const Button& b : m_buttons)
        if (b.shown && b.rect.Contains(p))
            return b.command;
    return 0;
}

} // namespace quorvel

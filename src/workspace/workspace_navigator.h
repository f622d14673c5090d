// The workspace navigator's model: a miniature of a workspace n screens across and m down,
// the rectangle of the part shown, its moves and the enabling of the eight direction buttons.
#pragma once

#include "workspace/types.h"

#include <array>

namespace quorvel {

class CArchive;

inline constexpr int kNavigatorId = 1032;
inline constexpr int kNavigatorSize = 86;

// The direction buttons, in command order 1035..1042.
enum class NavDirection { Up, Right, Down, Left, UpRight, UpLeft, DownRight, DownLeft };
inline constexpr int kNavDirections = 8;
inline constexpr int kFirstNavCommand = 1035;

constexpr int NavCommand(NavDirection d) {
    return kFirstNavCommand + static_cast<int>(d);
}
// Unit steps (-1, 0 or 1 in x and y) of a direction.
CPoint NavStep(NavDirection d);

struct CNavButtonArt {
    int up;
    int down;
    int disabled;
};
CNavButtonArt NavButtonArt(NavDirection d);

// Who hears where the shown part went: fractions 0..1 of the scrollable range.
class INavigatorListener {
public:
    virtual ~INavigatorListener() = default;
    virtual void ScrollWorkspaceTo(double x, double y) = 0;
};

class CWorkspaceNavigatorModel {
public:
    static constexpr int kButtonSize = 15;
    static constexpr int kButtonInset = 3;

    // A workspace `across` screens wide and `down` high, moved by `step` of a screen per
    // button press. `screen` gives the proportions of one screen (the view's size).
    CWorkspaceNavigatorModel(int across, int down, double step, CSize screen = {4, 3});

    void SetListener(INavigatorListener* listener) { m_listener = listener; }

    int across() const { return m_across; }
    int down() const { return m_down; }
    double step() const { return m_step; }
    // The miniature of the whole workspace, and the part the view shows, in navigator pixels.
    const CRect& frame() const { return m_frame; }
    const CRect& shown() const { return m_shown; }
    bool IsEnabled(NavDirection d) const { return m_enabled[static_cast<std::size_t>(d)]; }
    // Where each direction button sits in the 86-pixel window.
    static CRect ButtonRect(NavDirection d);

    // A direction button: moves the shown part by `step` of its own size. False (and nothing
    // moves) when that button is greyed.
    bool Press(NavDirection d);
    // An arrow key: presses the button of that direction when it is enabled.
    bool PressKey(NavDirection d) { return Press(d); }

    // Dragging the shown part with the pointer; a press outside it starts nothing.
    bool BeginDrag(CPoint p);
    void DragTo(CPoint p);
    void EndDrag() { m_dragging = false; }
    bool dragging() const { return m_dragging; }

    // Places the shown part's top-left corner at `topLeft`, then clamps, enables and tells.
    void MoveTo(CPoint topLeft);
    // The view took a new size: the miniature takes its proportions and the shown part keeps
    // its place as fractions of the scrollable range.
    void SetScreen(CSize screen);

    // The position as fractions of the scrollable range (0 where there is nothing to scroll).
    double FractionX() const;
    double FractionY() const;

    // The shown rectangle and the eight enabled flags; loading restores them as they were.
    void Serialize(CArchive& ar);

private:
    void Layout(CSize screen);
    void Clamp();
    void UpdateEnabling();
    void Notify();

    int m_across;
    int m_down;
    double m_step;
    CRect m_frame;
    CRect m_shown;
    std::array<bool, kNavDirections> m_enabled{};
    INavigatorListener* m_listener = nullptr;
    bool m_dragging = false;
    CPoint m_dragOffset;
};

} // namespace quorvel

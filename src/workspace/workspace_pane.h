// The workspace pane's state: how far the workspace is scrolled under the pane, and the
// pane's archive form, which rescales the offsets when the pane has changed size since.
#pragma once

#include "workspace/types.h"

namespace quorvel {

class CArchive;

// The pane's background, also the navigator's shown part.
inline constexpr Color kPaneColor = PaletteRGB(97, 191, 255);
// The writing tool's edit box lives in the pane.
inline constexpr int kWritingEditId = 1149;

class CWorkspacePaneState {
public:
    int scrollX() const { return m_x; }
    int scrollY() const { return m_y; }
    void SetScroll(int x, int y) {
        m_x = x;
        m_y = y;
    }

    // Pane pixels to workspace coordinates and back.
    CPoint ToWorkspace(CPoint p) const { return {p.x + m_x, p.y + m_y}; }
    CRect ToWorkspace(CRect r) const {
        r.Offset(m_x, m_y);
        return r;
    }
    CRect ToPane(CRect r) const {
        r.Offset(-m_x, -m_y);
        return r;
    }

    // x offset, y offset, then the pane's rectangle `present` as one block. Loading scales
    // each offset by present size / saved size (truncated) when the two rectangles differ.
    void Serialize(CArchive& ar, const CRect& present);
    // The same form for a pane that is not on a screen (a document read without a window):
    // loading keeps the offsets as they are and takes the saved rectangle into `rect`.
    void SerializeAdopting(CArchive& ar, CRect& rect);

private:
    int m_x = 0;
    int m_y = 0;
};

} // namespace quorvel

// Where the prompt window puts its counter line, the wrapped question texts and the answer
// controls, and how it paints itself. The layout and the painting wrap the texts the same way,
// so that a control placed after a text's last line sits beside it.
#pragma once

#include "problemsets/problem_prompt.h"
#include "workspace/drawing_surface.h"
#include "workspace/types.h"

#include <string>
#include <vector>

namespace quorvel {

struct CPromptFonts {
    CFontSpec prompt; // the question texts and the controls
    CFontSpec bold;   // the counter line
    CFontSpec symbol; // the operator fields
};

inline constexpr int kPromptInset = 4;
inline constexpr int kControlGap = 5; // between a text and the controls after it
inline constexpr int kMinRadioHeight = 17;
inline constexpr int kQuestionGap = 6; // between one question and the next

struct CPromptLine {
    CPoint at; // top-left of the line
    std::string text;
};

struct CPromptPlace {
    int id = 0;
    CRect rect;
};

struct CPromptLayout {
    CRect client;
    CRect counter;                    // the counter line
    std::vector<CPromptLine> lines;   // every question's wrapped text
    std::vector<CPromptPlace> places; // every control of the prompt
    int contentBottom = 0;            // below the last question

    const CPromptPlace* Place(int id) const;
};

// Breaks `text` into lines no wider than `width` at spaces (explicit line breaks kept; a word
// wider than a line is broken between characters).
std::vector<std::string> WrapText(ITextMetrics& metrics, const CFontSpec& font,
                                  const std::string& text, int width);

CPromptLayout LayoutPrompt(const CProblemPrompt& prompt, CSize client, ITextMetrics& metrics,
                           const CPromptFonts& fonts);

// Where the prompt window stands, given the place `rect` offered for it (page coordinates) and
// its layout at that size: all of `rect`, or grown upwards (never above the page's top) when
// its questions need more height, so that the last one is not hidden.
CRect PromptWindowRect(const CRect& rect, const CPromptLayout& layout);

// The window's own painting: two white frames, the workspace colour inside, the counter
// centred in the bold font, the question texts on a transparent background.
void PaintPrompt(IDrawingSurface& dc, const CProblemPrompt& prompt, const CPromptLayout& layout,
                 const CPromptFonts& fonts);

inline constexpr Color kPromptBackground = PaletteRGB(0, 255, 255);
inline constexpr Color kPromptFrame = PaletteRGB(255, 255, 255);
inline constexpr Color kPromptText = PaletteRGB(0, 0, 0);

} // namespace quorvel

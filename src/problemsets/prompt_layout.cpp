// Prompt window layout and painting.
#include "problemsets/prompt_layout.h"

#include <algorithm>
#include <sstream>

namespace quorvel {

namespace {

std::size_t NextCharEnd(const std::string& s, std::size_t i) {
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
        ++i;
    return i;
}

int Width(ITextMetrics& m, const CFontSpec& f, const std::string& s) {
    return m.TextExtent(f, s).cx;
}

// Splits an over-long word into pieces that each fit `width` (at least one character each).
std::vector<std::string> BreakWord(ITextMetrics& m, const CFontSpec& f, const std::string& word,
                                   int width) {
    std::vector<std::string> pieces;
    std::string piece;
    for (std::size_t i = 0; i < word.size();) {
        const std::size_t end = NextCharEnd(word, i);
        const std::string ch = word.substr(i, end - i);
        if (!piece.empty() && Width(m, f, piece + ch) > width) {
            pieces.push_back(piece);
            piece.clear();
        }
        piece += ch;
        i = end;
    }
    if (!piece.empty())
        pieces.push_back(piece);
    return pieces;
}

} // namespace

const CPromptPlace* CPromptLayout::Place(int id) const {
    for (const CPromptPlace& p : places)
        if (p.id == id)
            return &p;
    return nullptr;
}

std::vector<std::string> WrapText(ITextMetrics& metrics, const CFontSpec& font,
                                  const std::string& text, int width) {
    std::vector<std::string> lines;
    std::string paragraph;
    std::istringstream in(text);
    while (std::getline(in, paragraph)) {
        if (!paragraph.empty() && paragraph.back() == '\r')
            paragraph.pop_back();
        std::string line;
        std::istringstream words(paragraph);
        std::string word;
        while (words >> word) {
            const std::string candidate = line.empty() ? word : line + " " + word;
            if (Width(metrics, font, candidate) <= width) {
                line = candidate;
                continue;
            }
            if (!line.empty())
                lines.push_back(line);
            line.clear();
            if (Width(metrics, font, word) <= width) {
                line = word;
                continue;
            }
            std::vector<std::string> pieces = BreakWord(metrics, font, word, width);
            line = pieces.back();
            pieces.pop_back();
            lines.insert(lines.end(), pieces.begin(), pieces.end());
        }
        lines.push_back(line);
    }
    // A text that ends in a line break has no empty last line to place controls after.
    while (lines.size() > 1 && lines.back().empty())
        lines.pop_back();
    return lines;
}

CPromptLayout LayoutPrompt(const CProblemPrompt& prompt, CSize client, ITextMetrics& metrics,
                           const CPromptFonts& fonts) {
    CPromptLayout out;
    out.client = {0, 0, client.cx, client.cy};
    CRect inner = out.client;
    inner.Inflate(-kPromptInset, -kPromptInset);
    const int width = std::max(inner.Width(), 1);

    out.counter = {inner.left, inner.top, inner.right,
                   inner.top + metrics.LineHeight(fonts.bold) + 4};
    int y = out.counter.bottom;

    const int lineHeight = metrics.LineHeight(fonts.prompt);
    const int fieldHeight = lineHeight + 6;
    const int operatorWidth = Width(metrics, fonts.prompt, "WW") + 8;
    const int numberWidth = Width(metrics, fonts.prompt, "WWW") + 8;

    for (int q = 0; q < prompt.questionCount(); ++q) {
        if (q > 0)
            y += kQuestionGap;
        const CQuestion& question = prompt.questions()[static_cast<std::size_t>(q)];
        const auto controls = prompt.ControlsOf(q);
        const std::vector<std::string> wrapped =
            question.prompt.empty() ? std::vector<std::string>{}
                                    : WrapText(metrics, fonts.prompt, question.prompt, width);
        for (const std::string& line : wrapped) {
            out.lines.push_back({{inner.left, y}, line});
            y += lineHeight;
        }

        const bool hasField =
            !controls.empty() && controls.front()->kind != PromptControlKind::Radio;
        if (hasField) {
            // A field with its up and down spins beside it, square and as high as the field,
            // so that young pupils hit them easily.
            const CPromptControl* field = controls.front();
            const int fieldWidth =
                field->kind == PromptControlKind::OperatorField ? operatorWidth : numberWidth;
            const int spin = fieldHeight;
            const int groupWidth = fieldWidth + 2 + spin + 1 + spin;
            const int lastWidth =
                wrapped.empty() ? 0 : Width(metrics, fonts.prompt, wrapped.back());
            int x = inner.left;
            int top = y;
            if (!wrapped.empty() && lastWidth + kControlGap + groupWidth <= width) {
                // Beside the last line, which is centred on the field.
                x = inner.left + lastWidth + kControlGap;
                top = y - lineHeight;
                out.lines.back().at.y = top + (fieldHeight - lineHeight) / 2;
            }
            out.places.push_back({field->id, {x, top, x + fieldWidth, top + fieldHeight}});
            const int up = x + fieldWidth + 2;
            const int down = up + spin + 1;
            for (const CPromptControl* c : controls) {
                if (c->kind == PromptControlKind::SpinUp)
                    out.places.push_back({c->id, {up, top, up + spin, top + fieldHeight}});
                else if (c->kind == PromptControlKind::SpinDown)
                    out.places.push_back({c->id, {down, top, down + spin, top + fieldHeight}});
            }
            y = top + fieldHeight;
        } else {
            const int radioHeight = std::max(kMinRadioHeight, lineHeight);
            for (const CPromptControl* c : controls) {
                out.places.push_back({c->id, {inner.left, y, inner.right, y + radioHeight}});
                y += radioHeight;
            }
        }
    }
    out.contentBottom = y;
    return out;
}

CRect PromptWindowRect(const CRect& rect, const CPromptLayout& layout) {
    // Below the content: the inset and the two 1-pixel frames.
    const int needed = layout.contentBottom + kPromptInset + 2;
    const int top = needed > rect.Height() ? std::max(0, rect.bottom - needed) : rect.top;
    return {rect.left, top, rect.right, rect.bottom};
}

void PaintPrompt(IDrawingSurface& dc, const CProblemPrompt& prompt, const CPromptLayout& layout,
                 const CPromptFonts& fonts) {
    CRect frame = layout.client;
    dc.SetNullBrush();
    dc.SetPen(1, kPromptFrame);
    dc.Rectangle(frame);
    frame.Inflate(-1, -1);
    dc.Rectangle(frame);
    frame.Inflate(-1, -1);
    dc.FillRect(frame, kPromptBackground);

    dc.SetTextBackground(kPromptBackground, true);
    dc.SetTextColor(kPromptText);
    dc.SetFont(fonts.bold);
    dc.DrawText(layout.counter, prompt.counter(), kAlignCenter | kAlignVCenter | kSingleLine);
    dc.SetFont(fonts.prompt);
    for (const CPromptLine& line : layout.lines)
        dc.TextOut(line.at, line.text);
}

} // namespace quorvel

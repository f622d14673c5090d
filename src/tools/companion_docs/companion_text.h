// The companion documents' text: a small line format that says what goes on each page, read
// into pages of blocks that the page layout draws.
//
//   @title, @label, @unit, @note   the document's title, its band label, its unit, the footer note
//   @page <title>                  a new page; @with <text> the line under its title
//   @name                          "Name" and "Date" lines to write on
//   @heading <text>                a heading inside the page
//   @lines <n>, @space <points>    writing lines; empty space
//   @figure <name> <height>        a drawing across the page
//   @grid <columns> <height>       panels in rows, each from a following line
//   @panel <caption> | <figure> | <prompt> | <writing lines>
//   @table <row height> | <head>:<weight> | ...   then @row <cell> | ... ("fig:<name>" draws)
//   @box <title> ... @end          a tinted box around the blocks between
//   * text, 1. text, [ ] text      a bullet, a numbered step, a box to tick; lines right under
//                                  one carry it on
//   % text                         a comment
// Other lines are paragraphs; a blank line ends one. **Bold** marks words inside any text.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace quorvel::companion {

enum class BlockKind {
    Paragraph,
    Heading,
    Bullet,
    Step,
    Check,
    Lines,
    Space,
    Figure,
    Grid,
    Table,
    Box,
    Name
};

struct CPanel {
    std::string caption;
    std::string figure;
    std::string prompt;
    int lines = 0;
};

struct CBlock {
    BlockKind kind = BlockKind::Paragraph;
    std::string text;   // paragraphs, headings, bullets, steps, ticks, the box's title
    std::string marker; // a step's number, as written
    int count = 0;      // writing lines; grid columns
    double height = 0;  // space, figure, grid row and table row heights in points
    std::string figure;
    std::vector<CPanel> panels;
    std::vector<std::string> header;
    std::vector<double> weights;
    std::vector<std::vector<std::string>> rows;
    std::vector<CBlock> children; // a box's blocks
};

struct CPage {
    std::string title;
    std::string with;
    std::vector<CBlock> blocks;
};

struct CCompanionText {
    std::string title;
    std::string label;
    std::string unit;
    std::string note;
    std::vector<CPage> pages;
};

// A mistake in a text, with the line it is on.
class CTextError : public std::runtime_error {
public:
    CTextError(int line, const std::string& what)
        : std::runtime_error("line " + std::to_string(line) + ": " + what) {}
};

CCompanionText ParseCompanionText(const std::string& text);

// A run of text in one weight: "**" toggles bold.
struct CRun {
    std::string text;
    bool bold = false;
};
std::vector<CRun> SplitBold(const std::string& text);

} // namespace quorvel::companion

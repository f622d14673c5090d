// The text form of the class folder's Tiles and Tessellations documents: lines of words, blocks
// closed by "end", and lengths written as small expressions in the catalogue's unit length.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// A fault in a source, with the line it was found on (1 for the first line).
class CSourceError : public std::runtime_error {
public:
    CSourceError(int line, const std::string& message)
        : std::runtime_error(message), m_line(line) {}
    int line() const { return m_line; }

private:
    int m_line;
};

// One line of a source: its words, and for a block head ("figure", "grow", "repeat") the
// lines up to the block's "end".
struct CStatement {
    int line = 0;
    std::vector<std::string> words;
    std::vector<CStatement> body;

    const std::string& head() const { return words.front(); }
};

// Splits the text into statements. "#" starts a comment; a word in double quotes may hold
// spaces; blank lines are skipped. Throws CSourceError on an unclosed block or quote and on a
// stray "end".
std::vector<CStatement> ParseClassSource(std::string_view text);

// A length or angle written as an expression without spaces: numbers, the unit length L (37),
// s (the square root of 3), r (one over the square root of 2), + - * / and parentheses, as
// the catalogue writes its shapes ("3*L/2", "-s*L/2"). Throws CSourceError with `line`.
double EvaluateExpression(std::string_view text, int line);

// A whole number word, or CSourceError.
int ParseWholeNumber(std::string_view text, int line);

// Throws CSourceError with the statement's line.
[[noreturn]] void Fail(const CStatement& s, const std::string& message);
// The statement's word `i` (its head is 0), or CSourceError saying it needs more words.
const std::string& Word(const CStatement& s, std::size_t i);

} // namespace quorvel

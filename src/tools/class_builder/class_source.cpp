// Reading the class documents' sources: words, blocks and length expressions.
#include "tools/class_builder/class_source.h"

#include "geometry/shape_catalogue.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace quorvel {

namespace {

bool IsBlockHead(const std::string& word) {
    return word == "figure" || word == "grow" || word == "repeat";
}

std::vector<std::string> SplitWords(std::string_view line, int number) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == '#')
            break;
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        if (c == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos)
                throw CSourceError(number, "a quoted text is not closed");
            words.emplace_back(line.substr(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        std::size_t j = i;
        while (j < line.size() && !std::isspace(static_cast<unsigned char>(line[j])) &&
               line[j] != '#' && line[j] != '"')
            ++j;
        words.emplace_back(line.substr(i, j - i));
        i = j;
    }
    return words;
}

// Recursive descent over one expression word.
class CExpression {
public:
    CExpression(std::string_view text, int line) : m_text(text), m_line(line) {}

    double Evaluate() {
        const double v = Sum();
        if (m_at != m_text.size())
            Fail("unexpected '" + std::string(1, m_text[m_at]) + "'");
        if (!std::isfinite(v))
            Fail("the value is not a finite number");
        return v;
    }

private:
    double Sum() {
        double v = Product();
        while (m_at < m_text.size() && (m_text[m_at] == '+' || m_text[m_at] == '-')) {
            const char op = m_text[m_at++];
            const double w = Product();
            v = op == '+' ? v + w : v - w;
        }
        return v;
    }

    double Product() {
        double v = Factor();
        while (m_at < m_text.size() && (m_text[m_at] == '*' || m_text[m_at] == '/')) {
            const char op = m_text[m_at++];
            const double w = Factor();
            if (op == '/' && w == 0)
                Fail("division by zero");
            v = op == '*' ? v * w : v / w;
        }
        return v;
    }

    double Factor() {
        if (m_at >= m_text.size())
            Fail("the expression ends too soon");
        const char c = m_text[m_at];
        if (c == '-') {
            ++m_at;
            return -Factor();
        }
        if (c == '(') {
            ++m_at;
            const double v = Sum();
            if (m_at >= m_text.size() || m_text[m_at] != ')')
                Fail("a parenthesis is not closed");
            ++m_at;
            return v;
        }
        if (c == 'L') {
            ++m_at;
            return kUnitLength;
        }
        if (c == 's') {
            ++m_at;
            return std::sqrt(3.0);
        }
        if (c == 'r') {
            ++m_at;
            return 1.0 / std::sqrt(2.0);
        }
        double v = 0;
        const char* first = m_text.data() + m_at;
        const char* last = m_text.data() + m_text.size();
        const auto [ptr, ec] = std::from_chars(first, last, v);
        if (ec != std::errc() || ptr == first)
            Fail("'" + std::string(m_text) + "' is not a number or an expression in L, s and r");
        m_at += static_cast<std::size_t>(ptr - first);
        return v;
    }

    [[noreturn]] void Fail(const std::string& why) const { throw CSourceError(m_line, why); }

    std::string_view m_text;
    int m_line;
    std::size_t m_at = 0;
};

} // namespace

std::vector<CStatement> ParseClassSource(std::string_view text) {
    std::vector<CStatement> top;
    // The open blocks, innermost last; each collects its body.
    std::vector<CStatement> open;
    int number = 0;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t eol = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, eol - at);
        at = eol + 1;
        ++number;
        std::vector<std::string> words = SplitWords(line, number);
        if (words.empty())
            continue;
        if (words.front() == "end") {
            if (words.size() != 1)
                throw CSourceError(number, "\"end\" stands alone on its line");
            if (open.empty())
                throw CSourceError(number, "\"end\" without a block to close");
            CStatement done = std::move(open.back());
            open.pop_back();
            (open.empty() ? top : open.back().body).push_back(std::move(done));
            continue;
        }
        CStatement s{number, std::move(words), {}};
        if (IsBlockHead(s.head()))
            open.push_back(std::move(s));
        else
            (open.empty() ? top : open.back().body).push_back(std::move(s));
    }
    if (!open.empty())
        throw CSourceError(open.back().line,
                           "\"" + open.back().head() + "\" is not closed by \"end\"");
    return top;
}

double EvaluateExpression(std::string_view text, int line) {
    return CExpression(text, line).Evaluate();
}

int ParseWholeNumber(std::string_view text, int line) {
    int v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || ptr != text.data() + text.size())
        throw CSourceError(line, "'" + std::string(text) + "' is not a whole number");
    return v;
}

void Fail(const CStatement& s, const std::string& message) {
    throw CSourceError(s.line, message);
}

const std::string& Word(const CStatement& s, std::size_t i) {
    if (i >= s.words.size())
        Fail(s, "\"" + s.head() + "\" needs more words");
    return s.words[i];
}

} // namespace quorvel

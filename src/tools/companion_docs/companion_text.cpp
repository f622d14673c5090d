// Reading the companion documents' line format.
#include "tools/companion_docs/companion_text.h"

#include <cctype>
#include <sstream>

namespace quorvel::companion {

namespace {

std::string Trim(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

std::vector<std::string> SplitBars(const std::string& s) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = s.find('|', start);
        out.push_back(Trim(s.substr(start, bar == std::string::npos ? bar : bar - start)));
        if (bar == std::string::npos)
            return out;
        start = bar + 1;
    }
}

double Number(int line, const std::string& s, const char* what) {
    try {
        std::size_t used = 0;
        const double v = std::stod(s, &used);
        if (used == s.size() && v >= 0)
            return v;
    } catch (const std::exception&) {
    }
    throw CTextError(line, std::string("expected a number for ") + what + ", found \"" + s + "\"");
}

// "@word rest" split into the word and the rest.
std::pair<std::string, std::string> Directive(const std::string& line) {
    const std::size_t space = line.find(' ');
    if (space == std::string::npos)
        return {line.substr(1), ""};
    return {line.substr(1, space - 1), Trim(line.substr(space + 1))};
}

// A numbered step: digits and a full stop, then the text.
bool IsStep(const std::string& line, std::string& marker, std::string& text) {
    std::size_t i = 0;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])))
        ++i;
    if (i == 0 || i + 1 >= line.size() || line[i] != '.' || line[i + 1] != ' ')
        return false;
    marker = line.substr(0, i + 1);
    text = Trim(line.substr(i + 2));
    return true;
}

class CReader {
public:
    explicit CReader(const std::string& text) {
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            m_lines.push_back(line);
        }
    }

    CCompanionText Read() {
        CCompanionText doc;
        for (m_at = 0; m_at < m_lines.size(); ++m_at) {
            const std::string line = Trim(m_lines[m_at]);
            if (line.empty() || line[0] == '%') {
                EndParagraph();
                m_item = nullptr;
                continue;
            }
            if (line[0] == '@') {
                EndParagraph();
                m_item = nullptr;
                const auto [word, rest] = Directive(line);
                if (word == "title")
                    doc.title = rest;
                else if (word == "label")
                    doc.label = rest;
                else if (word == "unit")
                    doc.unit = rest;
                else if (word == "note")
                    doc.note = rest;
                else if (word == "page") {
                    if (m_box)
                        throw CTextError(m_boxLine, "@box without @end");
                    doc.pages.push_back({rest, "", {}});
                    m_blocks = &doc.pages.back().blocks;
                    m_box = nullptr;
                } else
                    BlockDirective(doc, word, rest);
                continue;
            }
            Text(line);
        }
        EndParagraph();
        if (m_box)
            throw CTextError(m_boxLine, "@box without @end");
        if (doc.pages.empty())
            throw CTextError(LineNo(), "no @page");
        return doc;
    }

private:
    int LineNo() const { return static_cast<int>(m_at) + 1; }

    std::vector<CBlock>& Blocks() {
        if (m_box)
            return m_box->children;
        if (!m_blocks)
            throw CTextError(LineNo(), "text before the first @page");
        return *m_blocks;
    }

    void Add(CBlock block) { Blocks().push_back(std::move(block)); }

    void EndParagraph() {
        if (m_paragraph.empty())
            return;
        CBlock b;
        b.kind = BlockKind::Paragraph;
        b.text = m_paragraph;
        m_paragraph.clear();
        Add(std::move(b));
    }

    void Text(const std::string& line) {
        CBlock b;
        std::string marker, rest;
        if (line.rfind("* ", 0) == 0) {
            EndParagraph();
            b.kind = BlockKind::Bullet;
            b.text = Trim(line.substr(2));
        } else if (line.rfind("[ ] ", 0) == 0) {
            EndParagraph();
            b.kind = BlockKind::Check;
            b.text = Trim(line.substr(4));
        } else if (IsStep(line, marker, rest)) {
            EndParagraph();
            b.kind = BlockKind::Step;
            b.marker = marker;
            b.text = rest;
        } else if (m_item) {
            // A line that goes on with the item above it.
            m_item->text += " " + line;
            return;
        } else {
            m_paragraph += m_paragraph.empty() ? line : " " + line;
            return;
        }
        Add(std::move(b));
        m_item = &Blocks().back();
    }

    void BlockDirective(CCompanionText& doc, const std::string& word, const std::string& rest) {
        const int line = LineNo();
        if (word == "with") {
            if (doc.pages.empty())
                throw CTextError(line, "@with before the first @page");
            doc.pages.back().with = rest;
            return;
        }
        CBlock b;
        if (word == "name") {
            b.kind = BlockKind::Name;
        } else if (word == "heading") {
            b.kind = BlockKind::Heading;
            b.text = rest;
        } else if (word == "lines") {
            b.kind = BlockKind::Lines;
            b.count = static_cast<int>(Number(line, rest, "@lines"));
        } else if (word == "space") {
            b.kind = BlockKind::Space;
            b.height = Number(line, rest, "@space");
        } else if (word == "figure") {
            const std::size_t space = rest.rfind(' ');
            if (space == std::string::npos)
                throw CTextError(line, "@figure needs a name and a height");
            b.kind = BlockKind::Figure;
            b.figure = Trim(rest.substr(0, space));
            b.height = Number(line, rest.substr(space + 1), "the figure's height");
        } else if (word == "grid") {
            std::istringstream in(rest);
            std::string columns, height;
            in >> columns >> height;
            b.kind = BlockKind::Grid;
            b.count = static_cast<int>(Number(line, columns, "the grid's columns"));
            b.height = Number(line, height, "the grid's row height");
            if (b.count < 1)
                throw CTextError(line, "a grid needs at least one column");
            ReadPanels(b);
        } else if (word == "table") {
            const std::vector<std::string> parts = SplitBars(rest);
            b.kind = BlockKind::Table;
            b.height = Number(line, parts[0], "the table's row height");
            for (std::size_t i = 1; i < parts.size(); ++i) {
                const std::size_t colon = parts[i].rfind(':');
                if (colon == std::string::npos)
                    throw CTextError(line, "a column heading needs \":<weight>\"");
                b.header.push_back(Trim(parts[i].substr(0, colon)));
                b.weights.push_back(Number(line, Trim(parts[i].substr(colon + 1)), "a weight"));
            }
            if (b.header.empty())
                throw CTextError(line, "a table needs columns");
            ReadRows(b);
        } else if (word == "box") {
            if (m_box)
                throw CTextError(line, "a box inside a box");
            b.kind = BlockKind::Box;
            b.text = rest;
            Add(std::move(b));
            m_box = &Blocks().back();
            m_boxLine = line;
            return;
        } else if (word == "end") {
            if (!m_box)
                throw CTextError(line, "@end without @box");
            m_box = nullptr;
            return;
        } else {
            throw CTextError(line, "unknown directive @" + word);
        }
        Add(std::move(b));
    }

    // The @panel lines that follow a @grid.
    void ReadPanels(CBlock& grid) {
        while (m_at + 1 < m_lines.size()) {
            const std::string next = Trim(m_lines[m_at + 1]);
            if (next.rfind("@panel", 0) != 0)
                break;
            ++m_at;
            const std::vector<std::string> parts = SplitBars(Directive(next).second);
            CPanel panel;
            panel.caption = parts[0];
            if (parts.size() > 1)
                panel.figure = parts[1];
            if (parts.size() > 2)
                panel.prompt = parts[2];
            if (parts.size() > 3 && !parts[3].empty())
                panel.lines = static_cast<int>(Number(LineNo(), parts[3], "the panel's lines"));
            grid.panels.push_back(panel);
        }
        if (grid.panels.empty())
            throw CTextError(LineNo(), "@grid without @panel lines");
    }

    void ReadRows(CBlock& table) {
        while (m_at + 1 < m_lines.size()) {
            const std::string next = Trim(m_lines[m_at + 1]);
            if (next.rfind("@row", 0) != 0)
                break;
            ++m_at;
            std::vector<std::string> cells = SplitBars(Directive(next).second);
            if (cells.size() > table.header.size())
                throw CTextError(LineNo(), "more cells than columns");
            cells.resize(table.header.size());
            table.rows.push_back(cells);
        }
    }

    std::vector<std::string> m_lines;
    std::size_t m_at = 0;
    std::vector<CBlock>* m_blocks = nullptr;
    CBlock* m_box = nullptr;
    int m_boxLine = 0;
    CBlock* m_item = nullptr; // the list item that a following text line continues
    std::string m_paragraph;
};

} // namespace

CCompanionText ParseCompanionText(const std::string& text) {
    return CReader(text).Read();
}

std::vector<CRun> SplitBold(const std::string& text) {
    std::vector<CRun> runs;
    bool bold = false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t mark = text.find("**", start);
        const std::string piece =
            text.substr(start, mark == std::string::npos ? mark : mark - start);
        if (!piece.empty())
            runs.push_back({piece, bold});
        if (mark == std::string::npos)
            return runs;
        bold = !bold;
        start = mark + 2;
    }
}

} // namespace quorvel::companion

// Reading the pages and their text out of a PDF file (see the header).
#include "docs/pdf_text.h"

#include <zlib.h>

#include <cctype>
#include <fstream>
#include <sstream>

namespace quorvel::testing {

namespace {

std::string Inflate(const std::string& in) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return {};
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    std::string out;
    char buffer[16384];
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        status = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - z.avail_out);
    }
    inflateEnd(&z);
    return status == Z_STREAM_END ? out : std::string();
}

// The number of the object referred to as "<key> N 0 R" in `dictionary`, or -1.
int Reference(const std::string& dictionary, const std::string& key) {
    const std::size_t at = dictionary.find(key + " ");
    if (at == std::string::npos)
        return -1;
    std::istringstream in(dictionary.substr(at + key.size()));
    int number = -1, generation = -1;
    std::string r;
    in >> number >> generation >> r;
    return r.rfind('R', 0) == 0 ? number : -1;
}

// The numbers of every "N 0 R" between `open` and `close` after `key`.
std::vector<int> References(const std::string& dictionary, const std::string& key,
                            const std::string& open, const std::string& close) {
    std::vector<int> out;
    const std::size_t at = dictionary.find(key);
    if (at == std::string::npos)
        return out;
    const std::size_t start = dictionary.find(open, at);
    const std::size_t end = dictionary.find(close, start + open.size());
    std::istringstream in(dictionary.substr(start + open.size(), end - start - open.size()));
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    for (std::size_t i = 2; i < words.size(); ++i)
        if (words[i] == "R")
            out.push_back(std::stoi(words[i - 2]));
    return out;
}

// Names and the object numbers they stand for in a "/Font << /F7 7 0 R ... >>" entry.
std::map<std::string, int> FontNames(const std::string& resources) {
    std::map<std::string, int> out;
    const std::size_t at = resources.find("/Font");
    if (at == std::string::npos)
        return out;
    const std::size_t start = resources.find("<<", at);
    const std::size_t end = resources.find(">>", start);
    std::istringstream in(resources.substr(start + 2, end - start - 2));
    std::string name, generation, r;
    int number = 0;
    while (in >> name >> number >> generation >> r)
        out[name] = number;
    return out;
}

unsigned Hex(const std::string& s) {
    return static_cast<unsigned>(std::stoul(s, nullptr, 16));
}

void AppendUtf8(std::string& out, unsigned c) {
    if (c < 0x20)
        c = ' ';
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Splits content and CMap streams into tokens: names, numbers, operators, <hex> strings, [ ].
std::vector<std::string> Tokens(const std::string& s) {
    std::vector<std::string> out;
    std::size_t i = 0;
    const auto delimiter = [](char c) {
        return std::isspace(static_cast<unsigned char>(c)) || c == '/' || c == '<' || c == '>' ||
               c == '[' || c == ']' || c == '(' || c == ')';
    };
    while (i < s.size()) {
        const char c = s[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '<' && i + 1 < s.size() && s[i + 1] == '<') {
            out.push_back("<<");
            i += 2;
        } else if (c == '>' && i + 1 < s.size() && s[i + 1] == '>') {
            out.push_back(">>");
            i += 2;
        } else if (c == '<') {
            const std::size_t end = s.find('>', i);
            out.push_back(s.substr(i, end + 1 - i));
            i = end + 1;
        } else if (c == '[' || c == ']') {
            out.push_back(std::string(1, c));
            ++i;
        } else if (c == '(') {
            int depth = 0;
            const std::size_t start = i;
            for (; i < s.size(); ++i) {
                if (s[i] == '\\')
                    ++i;
                else if (s[i] == '(')
                    ++depth;
                else if (s[i] == ')' && --depth == 0)
                    break;
            }
            out.push_back(s.substr(start, ++i - start));
        } else {
            const std::size_t start = i++;
            while (i < s.size() && !delimiter(s[i]))
                ++i;
            out.push_back(s.substr(start, i - start));
        }
    }
    return out;
}

// Glyph code to text, from a ToUnicode CMap.
std::map<unsigned, std::string> ReadCMap(const std::string& cmap) {
    std::map<unsigned, std::string> out;
    const auto text = [](const std::string& hex) {
        std::string s;
        for (std::size_t i = 1; i + 4 <= hex.size() - 1; i += 4)
            AppendUtf8(s, Hex(hex.substr(i, 4)));
        return s;
    };
    const std::vector<std::string> t = Tokens(cmap);
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == "beginbfchar") {
            for (++i; i + 1 < t.size() && t[i] != "endbfchar"; i += 2)
                out[Hex(t[i].substr(1, t[i].size() - 2))] = text(t[i + 1]);
        } else if (t[i] == "beginbfrange") {
            for (++i; i + 2 < t.size() && t[i] != "endbfrange";) {
                const unsigned low = Hex(t[i].substr(1, t[i].size() - 2));
                const unsigned high = Hex(t[i + 1].substr(1, t[i + 1].size() - 2));
                if (t[i + 2] == "[") {
                    std::size_t j = i + 3;
                    for (unsigned code = low; code <= high && t[j] != "]"; ++code, ++j)
                        out[code] = text(t[j]);
                    while (t[j] != "]")
                        ++j;
                    i = j + 1;
                } else {
                    const std::string first = t[i + 2];
                    unsigned start = Hex(first.substr(1, first.size() - 2));
                    for (unsigned code = low; code <= high; ++code) {
                        std::string s;
                        AppendUtf8(s, start++);
                        out[code] = s;
                    }
                    i += 3;
                }
            }
        }
    }
    return out;
}

} // namespace

std::string Squeezed(const std::string& text) {
    std::string out;
    bool space = false;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            space = !out.empty();
            continue;
        }
        if (space)
            out += ' ';
        space = false;
        out += c;
    }
    return out;
}

bool CPdfText::Load(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    m_bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (m_bytes.rfind("%PDF-", 0) != 0) {
        error = path + " is not a PDF file";
        return false;
    }
    for (std::size_t at = m_bytes.find(" 0 obj"); at != std::string::npos;
         at = m_bytes.find(" 0 obj", at + 1)) {
        std::size_t start = at;
        while (start > 0 && std::isdigit(static_cast<unsigned char>(m_bytes[start - 1])))
            --start;
        if (start == at || (start > 0 && m_bytes[start - 1] != '\n' && m_bytes[start - 1] != '\r'))
            continue;
        const int number = std::stoi(m_bytes.substr(start, at - start));
        const std::size_t body = at + 6;
        const std::size_t end = m_bytes.find("endobj", body);
        const std::size_t stream = m_bytes.find("stream", body);
        CPdfObject object;
        if (stream != std::string::npos && stream < end) {
            object.dictionary = m_bytes.substr(body, stream - body);
            std::size_t data = stream + 6;
            if (m_bytes.compare(data, 2, "\r\n") == 0)
                data += 2;
            else if (m_bytes[data] == '\n')
                ++data;
            const std::size_t dataEnd = m_bytes.find("endstream", data);
            const std::string raw = m_bytes.substr(data, dataEnd - data);
            object.stream =
                object.dictionary.find("/FlateDecode") != std::string::npos ? Inflate(raw) : raw;
            at = m_bytes.find("endobj", dataEnd);
        } else {
            object.dictionary = m_bytes.substr(body, end - body);
            at = end;
        }
        m_objects[number] = object;
        if (at == std::string::npos)
            break;
    }
    // The page tree from its root, in order.
    int root = -1;
    for (const auto& [number, object] : m_objects)
        if (object.dictionary.find("/Type /Catalog") != std::string::npos)
            root = Reference(object.dictionary, "/Pages");
    if (root < 0) {
        error = path + " has no page tree";
        return false;
    }
    std::vector<int> pending = {root};
    while (!pending.empty()) {
        const int number = pending.front();
        pending.erase(pending.begin());
        const CPdfObject& node = m_objects[number];
        if (node.dictionary.find("/Type /Pages") != std::string::npos) {
            const std::vector<int> kids = References(node.dictionary, "/Kids", "[", "]");
            pending.insert(pending.begin(), kids.begin(), kids.end());
        } else {
            m_pages.push_back(PageText(node));
        }
    }
    return true;
}

std::string CPdfText::PageText(const CPdfObject& page) {
    std::map<std::string, std::map<unsigned, std::string>> fonts;
    const int resources = Reference(page.dictionary, "/Resources");
    for (const auto& [name, font] : FontNames(m_objects[resources].dictionary)) {
        const int cmap = Reference(m_objects[font].dictionary, "/ToUnicode");
        if (cmap >= 0)
            fonts[name] = ReadCMap(m_objects[cmap].stream);
    }
    std::string text;
    const std::map<unsigned, std::string>* font = nullptr;
    std::string lastName;
    for (const std::string& t : Tokens(m_objects[Reference(page.dictionary, "/Contents")].stream)) {
        if (t[0] == '/') {
            lastName = t;
        } else if (t == "Tf") {
            const auto it = fonts.find(lastName);
            font = it == fonts.end() ? nullptr : &it->second;
        } else if (t == "ET") {
            text += ' ';
        } else if (t[0] == '<' && t != "<<" && font) {
            for (std::size_t i = 1; i + 4 <= t.size() - 1; i += 4) {
                const auto glyph = font->find(Hex(t.substr(i, 4)));
                if (glyph != font->end())
                    text += glyph->second;
            }
        }
    }
    return Squeezed(text);
}

} // namespace quorvel::testing

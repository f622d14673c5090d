// Value tree and JSON text.
#include "workspace/value_tree.h"

#include "workspace/text_encoding.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace quorvel {

CValue CValue::Bool(bool b) {
    CValue v;
    v.m_type = Type::Bool;
    v.m_bool = b;
    return v;
}
CValue CValue::Int(std::int64_t i) {
    CValue v;
    v.m_type = Type::Int;
    v.m_int = i;
    return v;
}
CValue CValue::Double(double d) {
    CValue v;
    v.m_type = Type::Double;
    v.m_double = d;
    return v;
}
CValue CValue::String(std::string s) {
    CValue v;
    v.m_type = Type::String;
    v.m_string = std::move(s);
    return v;
}
CValue CValue::Array() {
    CValue v;
    v.m_type = Type::Array;
    return v;
}
CValue CValue::Object() {
    CValue v;
    v.m_type = Type::Object;
    return v;
}

CValue& CValue::Append(CValue v) {
    m_items.push_back(std::move(v));
    return m_items.back();
}

CValue& CValue::Set(const std::string& name, CValue v) {
    for (auto& m : m_members)
        if (m.first == name)
            return m.second = std::move(v);
    m_members.emplace_back(name, std::move(v));
    return m_members.back().second;
}

const CValue* CValue::Find(std::string_view name) const {
    for (const auto& m : m_members)
        if (m.first == name)
            return &m.second;
    return nullptr;
}

CValue* CValue::Find(std::string_view name) {
    for (auto& m : m_members)
        if (m.first == name)
            return &m.second;
    return nullptr;
}

namespace {

void WriteString(std::string& out, std::string_view s) {
    out += '"';
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", u);
                out += buf;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void Indent(std::string& out, int n) {
    out.append(static_cast<std::size_t>(n) * 2, ' ');
}

} // namespace

void CValue::Write(std::string& out, int indent) const {
    switch (m_type) {
    case Type::Null:
        out += "null";
        break;
    case Type::Bool:
        out += m_bool ? "true" : "false";
        break;
    case Type::Int:
        out += std::to_string(m_int);
        break;
    case Type::Double: {
        if (!std::isfinite(m_double)) {
            // JSON has no such numbers; they are written as strings and read back as such.
            WriteString(out, std::isnan(m_double) ? "nan" : (m_double > 0 ? "inf" : "-inf"));
            break;
        }
        char buf[32];
        const auto res = std::to_chars(buf, buf + sizeof buf, m_double);
        std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
        out += text;
        // Keep doubles recognisable as such: 2 is written 2.0.
        if (text.find_first_of(".eEn") == std::string_view::npos)
            out += ".0";
        break;
    }
    case Type::String:
        WriteString(out, m_string);
        break;
    case Type::Array: {
        if (m_items.empty()) {
            out += "[]";
            break;
        }
        // Short runs of plain values stay on one line.
        bool plain = m_items.size() <= 16;
        for (const CValue& item : m_items)
            plain = plain && item.m_type != Type::Array && item.m_type != Type::Object;
        if (plain) {
            out += '[';
            for (std::size_t i = 0; i < m_items.size(); ++i) {
                if (i > 0)
                    out += ", ";
                m_items[i].Write(out, indent + 1);
            }
            out += ']';
            break;
        }
        out += "[\n";
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            Indent(out, indent + 1);
            m_items[i].Write(out, indent + 1);
            out += i + 1 < m_items.size() ? ",\n" : "\n";
        }
        Indent(out, indent);
        out += ']';
        break;
    }
    case Type::Object:
        if (m_members.empty()) {
            out += "{}";
            break;
        }
        out += "{\n";
        for (std::size_t i = 0; i < m_members.size(); ++i) {
            Indent(out, indent + 1);
            WriteString(out, m_members[i].first);
            out += ": ";
            m_members[i].second.Write(out, indent + 1);
            out += i + 1 < m_members.size() ? ",\n" : "\n";
        }
        Indent(out, indent);
        out += '}';
        break;
    }
}

std::string CValue::ToJson() const {
    std::string out;
    Write(out, 0);
    out += '\n';
    return out;
}

namespace {

class CJsonParser {
public:
    explicit CJsonParser(std::string_view text) : m_text(text) {}

    bool Parse(CValue& out, CJsonError& error) {
        bool ok = Value(out, 0);
        if (ok) {
            SkipSpace();
            if (m_pos != m_text.size())
                ok = Fail("text after the value");
        }
        if (!ok)
            error = {m_pos, m_error};
        return ok;
    }

private:
    bool Fail(const char* what) {
        if (m_error.empty())
            m_error = what;
        return false;
    }
    void SkipSpace() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\n' ||
                                         m_text[m_pos] == '\r' || m_text[m_pos] == '\t'))
            ++m_pos;
    }
    bool Literal(std::string_view word) {
        if (m_text.substr(m_pos, word.size()) != word)
            return Fail("unknown word");
        m_pos += word.size();
        return true;
    }

    bool Value(CValue& out, int depth) {
        if (depth > 256)
            return Fail("nested too deeply");
        SkipSpace();
        if (m_pos >= m_text.size())
            return Fail("unexpected end of text");
        const char c = m_text[m_pos];
        if (c == '{')
            return ObjectValue(out, depth);
        if (c == '[')
            return ArrayValue(out, depth);
        if (c == '"') {
            std::string s;
            if (!StringValue(s))
                return false;
            out = CValue::String(std::move(s));
            return true;
        }
        if (c == 't') {
            out = CValue::Bool(true);
            return Literal("true");
        }
        if (c == 'f') {
            out = CValue::Bool(false);
            return Literal("false");
        }
        if (c == 'n') {
            out = CValue();
            return Literal("null");
        }
        return NumberValue(out);
    }

    bool ObjectValue(CValue& out, int depth) {
        out = CValue::Object();
        ++m_pos;
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == '}') {
            ++m_pos;
            return true;
        }
        for (;;) {
            SkipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != '"')
                return Fail("expected a member name");
            std::string name;
            if (!StringValue(name))
                return false;
            SkipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != ':')
                return Fail("expected ':'");
            ++m_pos;
            if (out.Find(name))
                return Fail("member named twice");
            CValue v;
            if (!Value(v, depth + 1))
                return false;
            out.members().emplace_back(std::move(name), std::move(v));
            SkipSpace();
            if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == '}') {
                ++m_pos;
                return true;
            }
            return Fail("expected ',' or '}'");
        }
    }

    bool ArrayValue(CValue& out, int depth) {
        out = CValue::Array();
        ++m_pos;
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == ']') {
            ++m_pos;
            return true;
        }
        for (;;) {
            CValue v;
            if (!Value(v, depth + 1))
                return false;
            out.Append(std::move(v));
            SkipSpace();
            if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == ']') {
                ++m_pos;
                return true;
            }
            return Fail("expected ',' or ']'");
        }
    }

    bool Hex4(std::uint32_t& v) {
        if (m_pos + 4 > m_text.size())
            return Fail("short \\u escape");
        v = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = m_text[m_pos++];
            v <<= 4;
            if (h >= '0' && h <= '9')
                v |= static_cast<std::uint32_t>(h - '0');
            else if (h >= 'a' && h <= 'f')
                v |= static_cast<std::uint32_t>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                v |= static_cast<std::uint32_t>(h - 'A' + 10);
            else
                return Fail("bad \\u escape");
        }
        return true;
    }

    bool StringValue(std::string& out) {
        ++m_pos; // opening quote
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return Fail("control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_pos >= m_text.size())
                break;
            const char e = m_text[m_pos++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                std::uint32_t cp = 0;
                if (!Hex4(cp))
                    return false;
                if (cp >= 0xD800 && cp <= 0xDBFF && m_text.substr(m_pos, 2) == "\\u") {
                    m_pos += 2;
                    std::uint32_t low = 0;
                    if (!Hex4(low))
                        return false;
                    if (low >= 0xDC00 && low <= 0xDFFF)
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    else
                        cp = 0xFFFD;
                } else if (cp >= 0xD800 && cp <= 0xDFFF) {
                    cp = 0xFFFD;
                }
                AppendUtf8(out, cp);
                break;
            }
            default:
                return Fail("unknown escape");
            }
        }
        return Fail("unterminated string");
    }

    bool NumberValue(CValue& out) {
        const std::size_t start = m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '-')
            ++m_pos;
        bool isDouble = false;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c >= '0' && c <= '9') {
                ++m_pos;
            } else if (c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-') {
                isDouble = true;
                ++m_pos;
            } else {
                break;
            }
        }
        const char* first = m_text.data() + start;
        const char* last = m_text.data() + m_pos;
        if (first == last)
            return Fail("expected a value");
        if (!isDouble) {
            std::int64_t i = 0;
            const auto res = std::from_chars(first, last, i);
            if (res.ec == std::errc() && res.ptr == last) {
                out = CValue::Int(i);
                return true;
            }
        }
        double d = 0;
        const auto res = std::from_chars(first, last, d);
        if (res.ec != std::errc() || res.ptr != last) {
            m_pos = start;
            return Fail("malformed number");
        }
        out = CValue::Double(d);
        return true;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::string m_error;
};

} // namespace

bool ParseJson(std::string_view text, CValue& out, CJsonError& error) {
    return CJsonParser(text).Parse(out, error);
}

} // namespace quorvel

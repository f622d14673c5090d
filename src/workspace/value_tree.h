// A small tree of named values: what a document looks like field by field, and its JSON text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel {

class CValue {
public:
    enum class Type { Null, Bool, Int, Double, String, Array, Object };

    CValue() = default;
    static CValue Bool(bool b);
    static CValue Int(std::int64_t i);
    static CValue Double(double d);
    static CValue String(std::string s);
    static CValue Array();
    static CValue Object();

    Type type() const { return m_type; }
    bool IsNumber() const { return m_type == Type::Int || m_type == Type::Double; }
    bool boolValue() const { return m_bool; }
    std::int64_t intValue() const { return m_int; }
    double doubleValue() const {
        return m_type == Type::Int ? static_cast<double>(m_int) : m_double;
    }
    const std::string& stringValue() const { return m_string; }

    // Arrays.
    std::vector<CValue>& items() { return m_items; }
    const std::vector<CValue>& items() const { return m_items; }
    CValue& Append(CValue v);

    // Objects keep their members in insertion order.
    std::vector<std::pair<std::string, CValue>>& members() { return m_members; }
    const std::vector<std::pair<std::string, CValue>>& members() const { return m_members; }
    // Adds or replaces a member.
    CValue& Set(const std::string& name, CValue v);
    const CValue* Find(std::string_view name) const;
    CValue* Find(std::string_view name);

    // Pretty-printed JSON with two-space indentation; doubles round-trip exactly.
    std::string ToJson() const;

private:
    void Write(std::string& out, int indent) const;

    Type m_type = Type::Null;
    bool m_bool = false;
    std::int64_t m_int = 0;
    double m_double = 0.0;
    std::string m_string;
    std::vector<CValue> m_items;
    std::vector<std::pair<std::string, CValue>> m_members;
};

struct CJsonError {
    std::size_t offset = 0;
    std::string message;
};

// Parses JSON text (UTF-8); false with the error's offset and description on malformed input.
// Nesting deeper than 256 levels is an error.
bool ParseJson(std::string_view text, CValue& out, CJsonError& error);

} // namespace quorvel

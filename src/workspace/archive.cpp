// Archive primitives: little-endian scalars, the string length forms, rectangles; and the
// field tree that dumps and builds use.
#include "workspace/archive.h"

#include "workspace/text_encoding.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <limits>
#include <type_traits>

namespace quorvel {

CArchiveException::CArchiveException(const std::string& what, std::size_t offset, std::string field)
    : std::runtime_error(what + " (" + field + " at byte " + std::to_string(offset) + ")"),
      m_offset(offset), m_field(std::move(field)) {}

CArchiveException::CArchiveException(const std::string& message, std::string path)
    : std::runtime_error(message), m_offset(0), m_field(std::move(path)) {}

CArchiveException CArchiveException::AtPath(const std::string& what, const std::string& path) {
    return CArchiveException(path + ": " + what, path);
}

CArchive::CArchive(Mode mode) : m_mode(mode) {}

CArchive::CArchive() : m_mode(Mode::StoreBytes) {
    m_out.reserve(4096);
}

CArchive::CArchive(std::span<const std::uint8_t> bytes) : m_mode(Mode::LoadBytes), m_in(bytes) {}

CArchive CArchive::ForDump(CValue& root) {
    CArchive ar(Mode::StoreTree);
    root = CValue::Object();
    ar.m_frames.push_back({&root, nullptr, {}, ""});
    return ar;
}

CArchive CArchive::ForBuild(const CValue& root) {
    CArchive ar(Mode::LoadTree);
    if (root.type() != CValue::Type::Object)
        throw CArchiveException::AtPath("the document must be an object", "/");
    ar.m_frames.push_back({nullptr, &root, std::vector<bool>(root.members().size()), ""});
    return ar;
}

void CArchive::Fail(const std::string& what, const char* field) const {
    if (IsTree())
        FailTree(what, field);
    throw CArchiveException(what, m_pos, field);
}

// --- tree helpers ----------------------------------------------------------------------------

void CArchive::FailTree(const std::string& what, const char* field) const {
    std::string path = m_frames.empty() ? std::string() : m_frames.back().path;
    if (field)
        path += "/" + std::string(field);
    throw CArchiveException::AtPath(what, path.empty() ? "/" : path);
}

void CArchive::Put(const char* field, CValue v) {
    if (!field)
        throw std::logic_error("a dumped value needs a field name");
    Frame& top = m_frames.back();
    if (top.store->type() != CValue::Type::Object)
        throw std::logic_error("a named value inside an array");
    if (top.store->Find(field))
        throw std::logic_error("field '" + std::string(field) + "' written twice at " + top.path);
    top.store->members().emplace_back(field, std::move(v));
}

const CValue* CArchive::Get(const char* field) {
    Frame& top = m_frames.back();
    const auto& members = top.load->members();
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (members[i].first == field) {
            top.consumed[i] = true;
            return &members[i].second;
        }
    }
    return nullptr;
}

void CArchive::Consume(const char* field) {
    if (m_mode == Mode::LoadTree)
        Get(field);
}

std::int64_t CArchive::GetInt(const char* field, std::int64_t lo, std::int64_t hi,
                              std::int64_t fallback) {
    const CValue* v = Get(field);
    if (!v)
        return fallback;
    if (v->type() == CValue::Type::Bool)
        return v->boolValue() ? 1 : 0;
    if (v->type() != CValue::Type::Int)
        FailTree("expected a whole number", field);
    if (v->intValue() < lo || v->intValue() > hi)
        FailTree("number out of range", field);
    return v->intValue();
}

double CArchive::NumberOf(const CValue& v, const char* field) const {
    if (v.IsNumber())
        return v.doubleValue();
    // Numbers JSON cannot write are dumped as these words.
    if (v.type() == CValue::Type::String) {
        if (v.stringValue() == "nan")
            return std::numeric_limits<double>::quiet_NaN();
        if (v.stringValue() == "inf")
            return std::numeric_limits<double>::infinity();
        if (v.stringValue() == "-inf")
            return -std::numeric_limits<double>::infinity();
    }
    FailTree("expected a number", field);
}

double CArchive::GetDouble(const char* field, double fallback) {
    const CValue* v = Get(field);
    return v ? NumberOf(*v, field) : fallback;
}

void CArchive::PushObject(const char* name) {
    Frame& top = m_frames.back();
    const std::string path = top.path + "/" + name;
    if (m_mode == Mode::StoreTree) {
        Put(name, CValue::Object());
        m_frames.push_back({&m_frames.back().store->members().back().second, nullptr, {}, path});
        return;
    }
    static const CValue kEmpty = CValue::Object();
    const CValue* v = Get(name);
    if (v && v->type() != CValue::Type::Object)
        FailTree("expected an object", name);
    const CValue* obj = v ? v : &kEmpty;
    m_frames.push_back({nullptr, obj, std::vector<bool>(obj->members().size()), path});
}

void CArchive::PushArray(const char* name) {
    Frame& top = m_frames.back();
    const std::string path = top.path + "/" + name;
    if (m_mode == Mode::StoreTree) {
        Put(name, CValue::Array());
        m_frames.push_back({&m_frames.back().store->members().back().second, nullptr, {}, path});
        return;
    }
    static const CValue kEmpty = CValue::Array();
    const CValue* v = Get(name);
    if (v && v->type() != CValue::Type::Array)
        FailTree("expected an array", name);
    m_frames.push_back({nullptr, v ? v : &kEmpty, {}, path});
}

void CArchive::PushItem(std::size_t index) {
    Frame& top = m_frames.back();
    const std::string path = top.path + "/" + std::to_string(index);
    if (m_mode == Mode::StoreTree) {
        if (top.store->type() != CValue::Type::Array)
            throw std::logic_error("an item outside an array at " + top.path);
        CValue& item = top.store->Append(CValue::Object());
        m_frames.push_back({&item, nullptr, {}, path});
        return;
    }
    top.itemsRead = std::max(top.itemsRead, index + 1);
    // Items beyond the end of a fixed-length array take their defaults.
    static const CValue kEmpty = CValue::Object();
    const bool present = index < top.load->items().size();
    const CValue& item = present ? top.load->items()[index] : kEmpty;
    if (item.type() != CValue::Type::Object)
        FailTree("expected an object", std::to_string(index).c_str());
    m_frames.push_back({nullptr, &item, std::vector<bool>(item.members().size()), path});
}

void CArchive::Pop(bool checkConsumed) {
    Frame top = std::move(m_frames.back());
    m_frames.pop_back();
    if (!checkConsumed || m_mode != Mode::LoadTree)
        return;
    if (top.load->type() == CValue::Type::Array) {
        if (top.load->items().size() > top.itemsRead) {
            m_frames.push_back(std::move(top));
            FailTree("unexpected item", std::to_string(m_frames.back().itemsRead).c_str());
        }
        return;
    }
    if (top.load->type() != CValue::Type::Object)
        return;
    for (std::size_t i = 0; i < top.consumed.size(); ++i) {
        if (!top.consumed[i]) {
            m_frames.push_back(std::move(top));
            FailTree("unknown field", m_frames.back().load->members()[i].first.c_str());
        }
    }
}

void CArchive::FinishTree() {
    if (m_mode != Mode::LoadTree || m_frames.size() != 1)
        return;
    const Frame& root = m_frames.front();
    for (std::size_t i = 0; i < root.consumed.size(); ++i)
        if (!root.consumed[i])
            FailTree("unknown field", root.load->members()[i].first.c_str());
}

CArchive::Scope::Scope(CArchive& ar, const char* name)
    : m_ar(ar), m_exceptions(std::uncaught_exceptions()) {
    if (m_ar.IsTree())
        m_ar.PushObject(name);
}

CArchive::Scope::~Scope() noexcept(false) {
    if (m_ar.IsTree())
        m_ar.Pop(std::uncaught_exceptions() == m_exceptions);
}

CArchive::ArrayScope::ArrayScope(CArchive& ar, const char* name)
    : m_ar(ar), m_exceptions(std::uncaught_exceptions()) {
    if (m_ar.IsTree())
        m_ar.PushArray(name);
}

CArchive::ArrayScope::~ArrayScope() noexcept(false) {
    if (m_ar.IsTree())
        m_ar.Pop(std::uncaught_exceptions() == m_exceptions);
}

CArchive::Item::Item(CArchive& ar, std::size_t index)
    : m_ar(ar), m_exceptions(std::uncaught_exceptions()) {
    if (m_ar.IsTree())
        m_ar.PushItem(index);
}

CArchive::Item::~Item() noexcept(false) {
    if (m_ar.IsTree())
        m_ar.Pop(std::uncaught_exceptions() == m_exceptions);
}

// --- storing ---------------------------------------------------------------------------------

void CArchive::PutUInt32(std::uint32_t v) {
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                               static_cast<std::uint8_t>(v >> 16),
                               static_cast<std::uint8_t>(v >> 24)};
    m_out.insert(m_out.end(), b, b + 4);
}

void CArchive::WriteByte(std::uint8_t v, const char* field) {
    if (IsTree())
        Put(field, CValue::Int(v));
    else
        PutByte(v);
}

void CArchive::WriteWord(std::uint16_t v, const char* field) {
    if (IsTree()) {
        Put(field, CValue::Int(v));
        return;
    }
    m_out.push_back(static_cast<std::uint8_t>(v));
    m_out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void CArchive::WriteUInt32(std::uint32_t v, const char* field) {
    if (IsTree())
        Put(field, CValue::Int(v));
    else
        PutUInt32(v);
}

void CArchive::WriteInt32(std::int32_t v, const char* field) {
    if (IsTree())
        Put(field, CValue::Int(v));
    else
        PutUInt32(static_cast<std::uint32_t>(v));
}

void CArchive::WriteBool(bool v, const char* field) {
    if (IsTree())
        Put(field, CValue::Bool(v));
    else
        PutUInt32(v ? 1 : 0);
}

void CArchive::WriteFloat(float v, const char* field) {
    if (IsTree())
        Put(field, CValue::Double(v));
    else
        PutUInt32(std::bit_cast<std::uint32_t>(v));
}

void CArchive::WriteDouble(double v, const char* field) {
    if (IsTree()) {
        Put(field, CValue::Double(v));
        return;
    }
    const auto u = std::bit_cast<std::uint64_t>(v);
    PutUInt32(static_cast<std::uint32_t>(u));
    PutUInt32(static_cast<std::uint32_t>(u >> 32));
}

namespace {
void WriteLength(std::vector<std::uint8_t>& out, std::uint64_t n) {
    const auto word = [&](std::uint16_t w) {
        out.push_back(static_cast<std::uint8_t>(w));
        out.push_back(static_cast<std::uint8_t>(w >> 8));
    };
    if (n < 0xFF) {
        out.push_back(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) {
        out.push_back(0xFF);
        word(static_cast<std::uint16_t>(n));
    } else {
        out.push_back(0xFF);
        word(0xFFFF);
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    }
}
} // namespace

void CArchive::WriteString(std::string_view utf8, const char* field) {
    if (IsTree()) {
        Put(field, CValue::String(std::string(utf8)));
        return;
    }
    const auto narrow = Utf8ToCp1252(utf8);
    if (!narrow) {
        WriteWideString(utf8);
        return;
    }
    WriteLength(m_out, narrow->size());
    m_out.insert(m_out.end(), narrow->begin(), narrow->end());
}

void CArchive::WriteWideString(std::string_view utf8) {
    const std::u16string wide = Utf8ToUtf16(utf8);
    m_out.push_back(0xFF);
    m_out.push_back(0xFE);
    m_out.push_back(0xFF);
    WriteLength(m_out, wide.size());
    for (char16_t c : wide) {
        m_out.push_back(static_cast<std::uint8_t>(c));
        m_out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
}

void CArchive::WriteRect(const CRect& r, const char* field) {
    if (IsTree()) {
        CValue v = CValue::Object();
        v.Set("left", CValue::Int(r.left));
        v.Set("top", CValue::Int(r.top));
        v.Set("right", CValue::Int(r.right));
        v.Set("bottom", CValue::Int(r.bottom));
        Put(field, std::move(v));
        return;
    }
    PutUInt32(static_cast<std::uint32_t>(r.left));
    PutUInt32(static_cast<std::uint32_t>(r.top));
    PutUInt32(static_cast<std::uint32_t>(r.right));
    PutUInt32(static_cast<std::uint32_t>(r.bottom));
}

void CArchive::WriteColor(Color c, const char* field) {
    if (!IsTree()) {
        PutUInt32(c);
        return;
    }
    // The stored value, and the colour a reader can see.
    CValue v = CValue::Object();
    v.Set("value", CValue::Int(c));
    if (c == kNoColor) {
        v.Set("rgb", CValue());
    } else {
        char rgb[8];
        std::snprintf(rgb, sizeof rgb, "#%02x%02x%02x", RedOf(c), GreenOf(c), BlueOf(c));
        v.Set("rgb", CValue::String(rgb));
    }
    Put(field, std::move(v));
}

void CArchive::WriteRaw(std::span<const std::uint8_t> bytes, const char* field) {
    if (!IsTree()) {
        m_out.insert(m_out.end(), bytes.begin(), bytes.end());
        return;
    }
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        hex += kHex[b >> 4];
        hex += kHex[b & 15];
    }
    Put(field, CValue::String(std::move(hex)));
}

// --- loading ---------------------------------------------------------------------------------

const std::uint8_t* CArchive::Take(std::size_t n, const char* field) {
    if (m_mode != Mode::LoadBytes)
        Fail("archive is not loading bytes", field);
    if (n > remaining())
        Fail("unexpected end of file", field);
    const std::uint8_t* p = m_in.data() + m_pos;
    m_pos += n;
    return p;
}

std::uint8_t CArchive::ReadByte(const char* field) {
    if (m_mode == Mode::LoadTree)
        return static_cast<std::uint8_t>(GetInt(field, 0, 0xFF, 0));
    return *Take(1, field);
}

std::uint16_t CArchive::ReadWord(const char* field) {
    if (m_mode == Mode::LoadTree)
        return static_cast<std::uint16_t>(GetInt(field, 0, 0xFFFF, 0));
    const auto* p = Take(2, field);
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t CArchive::ReadUInt32(const char* field) {
    if (m_mode == Mode::LoadTree)
        return static_cast<std::uint32_t>(GetInt(field, 0, 0xFFFFFFFFll, 0));
    const auto* p = Take(4, field);
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int32_t CArchive::ReadInt32(const char* field) {
    if (m_mode == Mode::LoadTree)
        return static_cast<std::int32_t>(GetInt(field, std::numeric_limits<std::int32_t>::min(),
                                                std::numeric_limits<std::int32_t>::max(), 0));
    return static_cast<std::int32_t>(ReadUInt32(field));
}

bool CArchive::ReadBool(const char* field) {
    if (m_mode == Mode::LoadTree) {
        const CValue* v = Get(field);
        if (!v)
            return false;
        if (v->type() == CValue::Type::Bool)
            return v->boolValue();
        if (v->type() == CValue::Type::Int)
            return v->intValue() != 0;
        FailTree("expected true or false", field);
    }
    return ReadInt32(field) != 0;
}

float CArchive::ReadFloat(const char* field) {
    if (m_mode == Mode::LoadTree)
        return static_cast<float>(GetDouble(field, 0.0));
    return std::bit_cast<float>(ReadUInt32(field));
}

double CArchive::ReadDouble(const char* field) {
    if (m_mode == Mode::LoadTree)
        return GetDouble(field, 0.0);
    const std::uint64_t lo = ReadUInt32(field);
    const std::uint64_t hi = ReadUInt32(field);
    return std::bit_cast<double>(lo | (hi << 32));
}

std::uint64_t CArchive::ReadStringLength(const char* field, bool& wide) {
    wide = false;
    std::uint8_t b = ReadByte(field);
    if (b < 0xFF)
        return b;
    std::uint16_t w = ReadWord(field);
    if (w == 0xFFFE) {
        // Wide-character marker; the length follows in the same scheme.
        wide = true;
        b = ReadByte(field);
        if (b < 0xFF)
            return b;
        w = ReadWord(field);
    }
    if (w < 0xFFFF)
        return w;
    const std::uint32_t d = ReadUInt32(field);
    if (d < 0xFFFFFFFFu)
        return d;
    const std::uint64_t lo = ReadUInt32(field);
    const std::uint64_t hi = ReadUInt32(field);
    return lo | (hi << 32);
}

std::string CArchive::ReadString(const char* field) {
    if (m_mode == Mode::LoadTree) {
        const CValue* v = Get(field);
        if (!v)
            return {};
        if (v->type() != CValue::Type::String)
            FailTree("expected a string", field);
        return v->stringValue();
    }
    bool wide = false;
    const std::uint64_t n = ReadStringLength(field, wide);
    const std::uint64_t bytes = wide ? n * 2 : n;
    if (n > remaining() || bytes > remaining())
        Fail("string longer than the rest of the file", field);
    const auto* p = Take(static_cast<std::size_t>(bytes), field);
    if (!wide)
        return Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(p), n));
    std::u16string units(static_cast<std::size_t>(n), u'\0');
    for (std::size_t i = 0; i < n; ++i)
        units[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
    return Utf16ToUtf8(units);
}

CRect CArchive::ReadRect(const char* field) {
    CRect r;
    if (m_mode == Mode::LoadTree) {
        Scope s(*this, field);
        r.left = ReadInt32("left");
        r.top = ReadInt32("top");
        r.right = ReadInt32("right");
        r.bottom = ReadInt32("bottom");
        return r;
    }
    r.left = ReadInt32(field);
    r.top = ReadInt32(field);
    r.right = ReadInt32(field);
    r.bottom = ReadInt32(field);
    return r;
}

Color CArchive::ReadColor(const char* field) {
    if (m_mode != Mode::LoadTree)
        return ReadUInt32(field);
    const CValue* v = Get(field);
    if (!v)
        return 0;
    if (v->type() == CValue::Type::Int && v->intValue() >= 0 && v->intValue() <= 0xFFFFFFFFll)
        return static_cast<Color>(v->intValue());
    const auto fromRgb = [&](const CValue& s) -> Color {
        unsigned r = 0, g = 0, b = 0;
        if (s.type() == CValue::Type::Null)
            return kNoColor;
        if (s.type() != CValue::Type::String || s.stringValue().size() != 7 ||
            std::sscanf(s.stringValue().c_str(), "#%2x%2x%2x", &r, &g, &b) != 3)
            FailTree("expected a colour such as \"#ff8000\"", field);
        return PaletteRGB(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b));
    };
    if (v->type() == CValue::Type::String)
        return fromRgb(*v);
    if (v->type() == CValue::Type::Object) {
        Scope s(*this, field);
        if (const CValue* value = Get("value")) {
            Get("rgb");
            if (value->type() != CValue::Type::Int || value->intValue() < 0 ||
                value->intValue() > 0xFFFFFFFFll)
                FailTree("expected a colour value", "value");
            return static_cast<Color>(value->intValue());
        }
        if (const CValue* rgb = Get("rgb"))
            return fromRgb(*rgb);
        return 0;
    }
    FailTree("expected a colour", field);
}

void CArchive::ReadRaw(std::span<std::uint8_t> out, const char* field) {
    if (m_mode == Mode::LoadTree) {
        const CValue* v = Get(field);
        if (!v) {
            std::fill(out.begin(), out.end(), 0);
            return;
        }
        if (v->type() != CValue::Type::String || v->stringValue().size() != out.size() * 2)
            FailTree("expected " + std::to_string(out.size()) + " bytes in hexadecimal", field);
        const std::string& hex = v->stringValue();
        const auto nibble = [&](char c) -> int {
            if (c >= '0' && c <= '9')
                return c - '0';
            if (c >= 'a' && c <= 'f')
                return c - 'a' + 10;
            if (c >= 'A' && c <= 'F')
                return c - 'A' + 10;
            FailTree("expected hexadecimal digits", field);
        };
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = static_cast<std::uint8_t>(nibble(hex[2 * i]) << 4 | nibble(hex[2 * i + 1]));
        return;
    }
    const auto* p = Take(out.size(), field);
    if (!out.empty())
        std::memcpy(out.data(), p, out.size());
}

void CArchive::CheckCount(std::int64_t count, std::size_t minBytesEach, const char* field) const {
    if (IsTree())
        return;
    if (count < 0)
        Fail("negative count " + std::to_string(count), field);
    const std::size_t each = minBytesEach == 0 ? 1 : minBytesEach;
    if (static_cast<std::uint64_t>(count) > remaining() / each)
        Fail("count " + std::to_string(count) + " exceeds the rest of the file", field);
}

std::size_t CArchive::ReadCount(const char* field, std::size_t minBytesEach) {
    const std::int32_t n = ReadInt32(field);
    CheckCount(n, minBytesEach, field);
    return static_cast<std::size_t>(n);
}

std::size_t CArchive::ExchangeCount(std::size_t count, const char* countField,
                                    const char* arrayName, std::size_t minBytesEach) {
    switch (m_mode) {
    case Mode::StoreBytes:
        PutUInt32(static_cast<std::uint32_t>(count));
        return count;
    case Mode::LoadBytes:
        return ReadCount(countField, minBytesEach);
    case Mode::StoreTree:
        return count;
    case Mode::LoadTree: {
        // Look at the array without consuming it; its own scope reads it.
        for (const auto& m : m_frames.back().load->members()) {
            if (m.first == arrayName) {
                if (m.second.type() != CValue::Type::Array)
                    FailTree("expected an array", arrayName);
                if (m.second.items().size() > static_cast<std::size_t>(INT32_MAX))
                    FailTree("array too long", arrayName);
                return m.second.items().size();
            }
        }
        return 0;
    }
    }
    return 0;
}

// --- symmetric transfer ----------------------------------------------------------------------

void CArchive::Exchange(std::int32_t& v, const char* field) {
    if (m_mode == Mode::LoadTree)
        v = static_cast<std::int32_t>(GetInt(field, std::numeric_limits<std::int32_t>::min(),
                                             std::numeric_limits<std::int32_t>::max(), v));
    else if (IsStoring())
        WriteInt32(v, field);
    else
        v = ReadInt32(field);
}
void CArchive::Exchange(std::uint32_t& v, const char* field) {
    if (m_mode == Mode::LoadTree)
        v = static_cast<std::uint32_t>(GetInt(field, 0, 0xFFFFFFFFll, v));
    else if (IsStoring())
        WriteUInt32(v, field);
    else
        v = ReadUInt32(field);
}
void CArchive::Exchange(double& v, const char* field) {
    if (m_mode == Mode::LoadTree)
        v = GetDouble(field, v);
    else if (IsStoring())
        WriteDouble(v, field);
    else
        v = ReadDouble(field);
}
void CArchive::Exchange(bool& v, const char* field) {
    if (m_mode == Mode::LoadTree) {
        if (const CValue* p = Get(field)) {
            if (p->type() == CValue::Type::Bool)
                v = p->boolValue();
            else if (p->type() == CValue::Type::Int)
                v = p->intValue() != 0;
            else
                FailTree("expected true or false", field);
        }
    } else if (IsStoring()) {
        WriteBool(v, field);
    } else {
        v = ReadBool(field);
    }
}
void CArchive::Exchange(std::string& v, const char* field) {
    if (m_mode == Mode::LoadTree) {
        if (const CValue* p = Get(field)) {
            if (p->type() != CValue::Type::String)
                FailTree("expected a string", field);
            v = p->stringValue();
        }
    } else if (IsStoring()) {
        WriteString(v, field);
    } else {
        v = ReadString(field);
    }
}
void CArchive::Exchange(CRect& v, const char* field) {
    if (m_mode == Mode::LoadTree) {
        Scope s(*this, field);
        Exchange(v.left, "left");
        Exchange(v.top, "top");
        Exchange(v.right, "right");
        Exchange(v.bottom, "bottom");
    } else if (IsStoring()) {
        WriteRect(v, field);
    } else {
        v = ReadRect(field);
    }
}
void CArchive::ExchangeColor(Color& v, const char* field) {
    if (m_mode == Mode::LoadTree) {
        for (const auto& m : m_frames.back().load->members())
            if (m.first == field) {
                v = ReadColor(field);
                return;
            }
    } else if (IsStoring()) {
        WriteColor(v, field);
    } else {
        v = ReadColor(field);
    }
}

template <typename T> void CArchive::ExchangeRun(std::span<T> values, const char* field) {
    if (!IsTree()) {
        for (T& v : values)
            Exchange(v, field);
        return;
    }
    if (m_mode == Mode::StoreTree) {
        CValue arr = CValue::Array();
        for (const T& v : values) {
            if constexpr (std::is_same_v<T, std::string>)
                arr.Append(CValue::String(v));
            else if constexpr (std::is_same_v<T, double>)
                arr.Append(CValue::Double(v));
            else
                arr.Append(CValue::Int(v));
        }
        Put(field, std::move(arr));
        return;
    }
    const CValue* arr = Get(field);
    if (!arr)
        return;
    if (arr->type() != CValue::Type::Array || arr->items().size() > values.size())
        FailTree("expected an array of at most " + std::to_string(values.size()) + " values",
                 field);
    for (std::size_t i = 0; i < arr->items().size(); ++i) {
        const CValue& item = arr->items()[i];
        const std::string at = std::string(field) + "/" + std::to_string(i);
        if constexpr (std::is_same_v<T, std::string>) {
            if (item.type() != CValue::Type::String)
                FailTree("expected a string", at.c_str());
            values[i] = item.stringValue();
        } else if constexpr (std::is_same_v<T, double>) {
            values[i] = NumberOf(item, at.c_str());
        } else {
            if (item.type() != CValue::Type::Int || item.intValue() < INT32_MIN ||
                item.intValue() > INT32_MAX)
                FailTree("expected a whole number", at.c_str());
            values[i] = static_cast<std::int32_t>(item.intValue());
        }
    }
}

void CArchive::ExchangeArray(std::span<std::string> v, const char* field) {
    ExchangeRun(v, field);
}
void CArchive::ExchangeArray(std::span<double> v, const char* field) {
    ExchangeRun(v, field);
}
void CArchive::ExchangeArray(std::span<std::int32_t> v, const char* field) {
    ExchangeRun(v, field);
}

CArchive::NestingGuard::NestingGuard(CArchive& ar) : m_ar(ar) {
    if (++m_ar.m_depth > kMaxNesting) {
        --m_ar.m_depth;
        m_ar.Fail("records nested too deeply", "nesting");
    }
}

} // namespace quorvel

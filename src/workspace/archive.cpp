// Archive primitives: little-endian scalars, the string length forms, rectangles.
#include "workspace/archive.h"

#include "workspace/text_encoding.h"

#include <bit>
#include <cstring>

namespace quorvel {

CArchiveException::CArchiveException(const std::string& what, std::size_t offset,
                                     std::string field)
    : std::runtime_error(what + " (" + field + " at byte " + std::to_string(offset) + ")"),
      m_offset(offset), m_field(std::move(field)) {}

CArchive::CArchive() : m_storing(true) { m_out.reserve(4096); }

CArchive::CArchive(std::span<const std::uint8_t> bytes) : m_storing(false), m_in(bytes) {}

void CArchive::Fail(const std::string& what, const char* field) const {
    throw CArchiveException(what, m_pos, field);
}

// --- storing ---------------------------------------------------------------------------------

void CArchive::WriteByte(std::uint8_t v) { m_out.push_back(v); }

void CArchive::WriteWord(std::uint16_t v) {
    m_out.push_back(static_cast<std::uint8_t>(v));
    m_out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void CArchive::WriteUInt32(std::uint32_t v) {
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                               static_cast<std::uint8_t>(v >> 16),
                               static_cast<std::uint8_t>(v >> 24)};
    m_out.insert(m_out.end(), b, b + 4);
}

void CArchive::WriteInt32(std::int32_t v) { WriteUInt32(static_cast<std::uint32_t>(v)); }

void CArchive::WriteFloat(float v) { WriteUInt32(std::bit_cast<std::uint32_t>(v)); }

void CArchive::WriteDouble(double v) {
    const auto u = std::bit_cast<std::uint64_t>(v);
    WriteUInt32(static_cast<std::uint32_t>(u));
    WriteUInt32(static_cast<std::uint32_t>(u >> 32));
}

namespace {
void WriteLength(CArchive& ar, std::uint64_t n) {
    if (n < 0xFF) {
        ar.WriteByte(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) {
        ar.WriteByte(0xFF);
        ar.WriteWord(static_cast<std::uint16_t>(n));
    } else {
        ar.WriteByte(0xFF);
        ar.WriteWord(0xFFFF);
        ar.WriteUInt32(static_cast<std::uint32_t>(n));
    }
}
} // namespace

void CArchive::WriteString(std::string_view utf8) {
    const auto narrow = Utf8ToCp1252(utf8);
    if (!narrow) {
        WriteWideString(utf8);
        return;
    }
    WriteLength(*this, narrow->size());
    m_out.insert(m_out.end(), narrow->begin(), narrow->end());
}

void CArchive::WriteWideString(std::string_view utf8) {
    const std::u16string wide = Utf8ToUtf16(utf8);
    WriteByte(0xFF);
    WriteWord(0xFFFE);
    WriteLength(*this, wide.size());
    for (char16_t c : wide)
        WriteWord(static_cast<std::uint16_t>(c));
}

void CArchive::WriteRect(const CRect& r) {
    WriteInt32(r.left);
    WriteInt32(r.top);
    WriteInt32(r.right);
    WriteInt32(r.bottom);
}

void CArchive::WriteRaw(std::span<const std::uint8_t> bytes) {
    m_out.insert(m_out.end(), bytes.begin(), bytes.end());
}

// --- loading ---------------------------------------------------------------------------------

const std::uint8_t* CArchive::Take(std::size_t n, const char* field) {
    if (m_storing)
        Fail("archive is not loading", field);
    if (n > remaining())
        Fail("unexpected end of file", field);
    const std::uint8_t* p = m_in.data() + m_pos;
    m_pos += n;
    return p;
}

std::uint8_t CArchive::ReadByte(const char* field) { return *Take(1, field); }

std::uint16_t CArchive::ReadWord(const char* field) {
    const auto* p = Take(2, field);
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t CArchive::ReadUInt32(const char* field) {
    const auto* p = Take(4, field);
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int32_t CArchive::ReadInt32(const char* field) {
    return static_cast<std::int32_t>(ReadUInt32(field));
}

float CArchive::ReadFloat(const char* field) { return std::bit_cast<float>(ReadUInt32(field)); }

double CArchive::ReadDouble(const char* field) {
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
    r.left = ReadInt32(field);
    r.top = ReadInt32(field);
    r.right = ReadInt32(field);
    r.bottom = ReadInt32(field);
    return r;
}

void CArchive::ReadRaw(std::span<std::uint8_t> out, const char* field) {
    const auto* p = Take(out.size(), field);
    if (!out.empty())
        std::memcpy(out.data(), p, out.size());
}

void CArchive::CheckCount(std::int64_t count, std::size_t minBytesEach, const char* field) const {
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

// --- symmetric transfer ----------------------------------------------------------------------

void CArchive::Exchange(std::int32_t& v, const char* field) {
    if (m_storing)
        WriteInt32(v);
    else
        v = ReadInt32(field);
}
void CArchive::Exchange(std::uint32_t& v, const char* field) {
    if (m_storing)
        WriteUInt32(v);
    else
        v = ReadUInt32(field);
}
void CArchive::Exchange(double& v, const char* field) {
    if (m_storing)
        WriteDouble(v);
    else
        v = ReadDouble(field);
}
void CArchive::Exchange(bool& v, const char* field) {
    if (m_storing)
        WriteBool(v);
    else
        v = ReadBool(field);
}
void CArchive::Exchange(std::string& v, const char* field) {
    if (m_storing)
        WriteString(v);
    else
        v = ReadString(field);
}
void CArchive::Exchange(CRect& v, const char* field) {
    if (m_storing)
        WriteRect(v);
    else
        v = ReadRect(field);
}

CArchive::NestingGuard::NestingGuard(CArchive& ar) : m_ar(ar) {
    if (++m_ar.m_depth > kMaxNesting) {
        --m_ar.m_depth;
        m_ar.Fail("records nested too deeply", "nesting");
    }
}

} // namespace quorvel

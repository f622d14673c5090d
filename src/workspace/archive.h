// The document archive: a little-endian byte stream written into memory or read from a
// byte span, with the primitives every unit document and manipulative uses.
//
// Reading is bounded: every length and count is checked against the bytes left before
// anything is allocated, and every failure is a CArchiveException naming the byte offset
// and the field, which the open path turns into its fixed message.
#pragma once

#include "workspace/types.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class CArchiveException : public std::runtime_error {
public:
    CArchiveException(const std::string& what, std::size_t offset, std::string field);
    std::size_t offset() const { return m_offset; }
    const std::string& field() const { return m_field; }

private:
    std::size_t m_offset;
    std::string m_field;
};

class CArchive {
public:
    static constexpr std::uint8_t kTab = 9;
    static constexpr int kMaxNesting = 32;

    // An archive that stores into its own buffer.
    CArchive();
    // An archive that loads from bytes the caller keeps alive.
    explicit CArchive(std::span<const std::uint8_t> bytes);

    bool IsStoring() const { return m_storing; }
    bool IsLoading() const { return !m_storing; }

    // Storing.
    void WriteByte(std::uint8_t v);
    void WriteWord(std::uint16_t v);
    void WriteInt32(std::int32_t v);
    void WriteUInt32(std::uint32_t v);
    void WriteBool(bool v) { WriteInt32(v ? 1 : 0); }
    void WriteFloat(float v);
    void WriteDouble(double v);
    // One-byte (Windows-1252) form when every character has a code there, else the wide form.
    void WriteString(std::string_view utf8);
    void WriteWideString(std::string_view utf8);
    void WriteRect(const CRect& r);
    void WriteRaw(std::span<const std::uint8_t> bytes);
    void WriteTab() { WriteByte(kTab); }

    const std::vector<std::uint8_t>& bytes() const { return m_out; }
    std::vector<std::uint8_t> TakeBytes() { return std::move(m_out); }

    // Loading. `field` names what is read, for the error report.
    std::uint8_t ReadByte(const char* field = "byte");
    std::uint16_t ReadWord(const char* field = "word");
    std::int32_t ReadInt32(const char* field = "int32");
    std::uint32_t ReadUInt32(const char* field = "uint32");
    bool ReadBool(const char* field = "bool") { return ReadInt32(field) != 0; }
    float ReadFloat(const char* field = "float");
    double ReadDouble(const char* field = "double");
    std::string ReadString(const char* field = "string");
    CRect ReadRect(const char* field = "rectangle");
    void ReadRaw(std::span<std::uint8_t> out, const char* field = "raw block");
    // The TAB byte after a value: skipped, whatever its value.
    void SkipTab() { ReadByte("tab"); }

    // Reads an int32 element count and checks that `count` elements of at least
    // `minBytesEach` bytes can still follow.
    std::size_t ReadCount(const char* field, std::size_t minBytesEach);
    // Throws unless `count` elements of at least `minBytesEach` bytes fit in what is left.
    void CheckCount(std::int64_t count, std::size_t minBytesEach, const char* field) const;

    std::size_t offset() const { return m_pos; }
    std::size_t remaining() const { return m_in.size() - m_pos; }
    bool AtEnd() const { return m_pos >= m_in.size(); }

    [[noreturn]] void Fail(const std::string& what, const char* field) const;

    // Symmetric transfer for Serialize routines that read and write the same field order.
    void Exchange(std::int32_t& v, const char* field = "int32");
    void Exchange(std::uint32_t& v, const char* field = "uint32");
    void Exchange(double& v, const char* field = "double");
    void Exchange(bool& v, const char* field = "bool");
    void Exchange(std::string& v, const char* field = "string");
    void Exchange(CRect& v, const char* field = "rectangle");

    // Bounds the depth of nested records (groups of groups) while loading or storing.
    class NestingGuard {
    public:
        explicit NestingGuard(CArchive& ar);
        ~NestingGuard() { --m_ar.m_depth; }
        NestingGuard(const NestingGuard&) = delete;
        NestingGuard& operator=(const NestingGuard&) = delete;

    private:
        CArchive& m_ar;
    };

private:
    const std::uint8_t* Take(std::size_t n, const char* field);
    std::uint64_t ReadStringLength(const char* field, bool& wide);

    bool m_storing;
    std::vector<std::uint8_t> m_out;
    std::span<const std::uint8_t> m_in;
    std::size_t m_pos = 0;
    int m_depth = 0;
};

} // namespace quorvel

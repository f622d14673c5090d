// The document archive: a little-endian byte stream written into memory or read from a
// byte span, with the primitives every unit document and manipulative uses.
//
// Reading is bounded: every length and count is checked against the bytes left before
// anything is allocated, and every failure is a CArchiveException naming the byte offset
// and the field, which the open path turns into its fixed message.
//
// The same Serialize routines also describe a document field by field: an archive made with
// ForDump records every value under its field name in a CValue tree, and one made with
// ForBuild reads the values back from such a tree (a missing field keeps its default; an
// unknown field or a value of the wrong type is an error naming its path). Scopes and arrays
// give the tree its shape and write nothing into the byte form.
#pragma once

#include "workspace/types.h"
#include "workspace/value_tree.h"

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
    // An error in a field tree, placed by its path ("/manipulatives/2/lines/0/line width").
    static CArchiveException AtPath(const std::string& what, const std::string& path);
    std::size_t offset() const { return m_offset; }
    const std::string& field() const { return m_field; }

private:
    CArchiveException(const std::string& message, std::string path);

    std::size_t m_offset;
    std::string m_field;
};

class CArchive {
public:
    static constexpr std::uint8_t kTab = 9;
    static constexpr int kMaxNesting = 64;

    // An archive that stores into its own buffer.
    CArchive();
    // An archive that loads from bytes the caller keeps alive.
    explicit CArchive(std::span<const std::uint8_t> bytes);
    // An archive that stores field by field into `root` (made an empty object).
    static CArchive ForDump(CValue& root);
    // An archive that loads field by field from `root`, which the caller keeps alive.
    static CArchive ForBuild(const CValue& root);

    bool IsStoring() const { return m_mode == Mode::StoreBytes || m_mode == Mode::StoreTree; }
    bool IsLoading() const { return !IsStoring(); }
    bool IsTree() const { return m_mode == Mode::StoreTree || m_mode == Mode::LoadTree; }

    // Storing. In a dump every value needs its field name.
    void WriteByte(std::uint8_t v, const char* field = nullptr);
    void WriteWord(std::uint16_t v, const char* field = nullptr);
    void WriteInt32(std::int32_t v, const char* field = nullptr);
    void WriteUInt32(std::uint32_t v, const char* field = nullptr);
    void WriteBool(bool v, const char* field = nullptr);
    void WriteFloat(float v, const char* field = nullptr);
    void WriteDouble(double v, const char* field = nullptr);
    // One-byte (Windows-1252) form when every character has a code there, else the wide form.
    void WriteString(std::string_view utf8, const char* field = nullptr);
    void WriteWideString(std::string_view utf8);
    void WriteRect(const CRect& r, const char* field = nullptr);
    void WriteColor(Color c, const char* field = nullptr);
    void WriteRaw(std::span<const std::uint8_t> bytes, const char* field = nullptr);
    // The TAB byte after a value; not part of a dump.
    void WriteTab() {
        if (!IsTree())
            PutByte(kTab);
    }

    const std::vector<std::uint8_t>& bytes() const { return m_out; }
    std::vector<std::uint8_t> TakeBytes() { return std::move(m_out); }

    // Loading. `field` names what is read, for the error report.
    std::uint8_t ReadByte(const char* field = "byte");
    std::uint16_t ReadWord(const char* field = "word");
    std::int32_t ReadInt32(const char* field = "int32");
    std::uint32_t ReadUInt32(const char* field = "uint32");
    bool ReadBool(const char* field = "bool");
    float ReadFloat(const char* field = "float");
    double ReadDouble(const char* field = "double");
    std::string ReadString(const char* field = "string");
    CRect ReadRect(const char* field = "rectangle");
    Color ReadColor(const char* field = "colour");
    void ReadRaw(std::span<std::uint8_t> out, const char* field = "raw block");
    // The TAB byte after a value: skipped, whatever its value.
    void SkipTab() {
        if (!IsTree())
            ReadByte("tab");
    }
    // WriteTab or SkipTab, for symmetric Serialize routines.
    void ExchangeTab() {
        if (IsStoring())
            WriteTab();
        else
            SkipTab();
    }

    // Reads an int32 element count and checks that `count` elements of at least
    // `minBytesEach` bytes can still follow.
    std::size_t ReadCount(const char* field, std::size_t minBytesEach);
    // Throws unless `count` elements of at least `minBytesEach` bytes fit in what is left.
    void CheckCount(std::int64_t count, std::size_t minBytesEach, const char* field) const;

    // The element count of an array: written as an int32 in the byte form (where it may stand
    // away from its elements); in a tree it is the length of the array `arrayName`.
    std::size_t ExchangeCount(std::size_t count, const char* countField, const char* arrayName,
                              std::size_t minBytesEach);

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
    void ExchangeColor(Color& v, const char* field = "colour");
    // Fixed-length runs of values, one after the other in the byte form.
    void ExchangeArray(std::span<std::string> v, const char* field);
    void ExchangeArray(std::span<double> v, const char* field);
    void ExchangeArray(std::span<std::int32_t> v, const char* field);

    // A named group of fields (an object in a dump); nothing in the byte form.
    class Scope {
    public:
        Scope(CArchive& ar, const char* name);
        ~Scope() noexcept(false);
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        CArchive& m_ar;
        int m_exceptions;
    };
    // A named array of items; each item is entered with an Item scope.
    class ArrayScope {
    public:
        ArrayScope(CArchive& ar, const char* name);
        ~ArrayScope() noexcept(false);
        ArrayScope(const ArrayScope&) = delete;
        ArrayScope& operator=(const ArrayScope&) = delete;

    private:
        CArchive& m_ar;
        int m_exceptions;
    };
    class Item {
    public:
        Item(CArchive& ar, std::size_t index);
        ~Item() noexcept(false);
        Item(const Item&) = delete;
        Item& operator=(const Item&) = delete;

    private:
        CArchive& m_ar;
        int m_exceptions;
    };

    // Building: marks a field of the current object as read by other means.
    void Consume(const char* field);
    // Building: fails when the top-level object holds a field nobody read.
    void FinishTree();

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
    enum class Mode { StoreBytes, LoadBytes, StoreTree, LoadTree };

    // One level of the tree being written or read.
    struct Frame {
        CValue* store = nullptr;
        const CValue* load = nullptr;
        std::vector<bool> consumed;
        std::string path;
        std::size_t itemsRead = 0; // arrays being built: items entered so far
    };

    explicit CArchive(Mode mode);
    const std::uint8_t* Take(std::size_t n, const char* field);
    std::uint64_t ReadStringLength(const char* field, bool& wide);
    void PutByte(std::uint8_t v) { m_out.push_back(v); }
    void PutUInt32(std::uint32_t v);
    // Tree helpers.
    void Put(const char* field, CValue v);
    const CValue* Get(const char* field);
    [[noreturn]] void FailTree(const std::string& what, const char* field) const;
    std::int64_t GetInt(const char* field, std::int64_t lo, std::int64_t hi, std::int64_t fallback);
    double GetDouble(const char* field, double fallback);
    double NumberOf(const CValue& v, const char* field) const;
    template <typename T> void ExchangeRun(std::span<T> values, const char* field);
    void PushObject(const char* name);
    void PushArray(const char* name);
    void PushItem(std::size_t index);
    void Pop(bool checkConsumed);

    Mode m_mode;
    std::vector<std::uint8_t> m_out;
    std::span<const std::uint8_t> m_in;
    std::size_t m_pos = 0;
    int m_depth = 0;
    std::vector<Frame> m_frames;
};

} // namespace quorvel

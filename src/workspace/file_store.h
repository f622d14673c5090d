// Reading documents whole and saving them atomically.
//
// A save writes a temporary file in the target's folder, flushes it to disk and renames it
// over the target, so a failed save leaves the old file whole. Where the folder refuses the
// rename (some network shares do), the old file is first copied to a backup beside it, the
// new bytes are written in place and read back, and only then is the backup removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quorvel {

// The file operations a save is made of; tests replace them to make any step fail.
class IFileOps {
public:
    virtual ~IFileOps() = default;
    // Writes the whole file (created or truncated) and flushes it to disk.
    virtual bool WriteFile(const std::string& path, std::span<const std::uint8_t> bytes) = 0;
    virtual bool ReadFile(const std::string& path, std::vector<std::uint8_t>& out,
                          std::size_t limit) = 0;
    // Replaces `to` with `from` in one step.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
};

// The real file system.
IFileOps& SystemFileOps();

// Files larger than this are not documents of ours and are refused before reading.
inline constexpr std::size_t kMaxDocumentBytes = 256u * 1024 * 1024;

enum class ReadResult { Ok, CannotOpen, TooLarge };
ReadResult ReadDocumentFile(const std::string& path, std::vector<std::uint8_t>& out,
                            IFileOps& ops = SystemFileOps());

// True when `path` holds `bytes` afterwards; false leaves any old file at `path` as it was.
bool SaveFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                        IFileOps& ops = SystemFileOps());

} // namespace quorvel

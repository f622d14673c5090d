// Atomic saves over POSIX files.
#include "workspace/file_store.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {
namespace {

class CSystemFileOps : public IFileOps {
public:
    bool WriteFile(const std::string& path, std::span<const std::uint8_t> bytes) override {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0)
            return false;
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                ::close(fd);
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
        return ::close(fd) == 0 && synced;
    }

    bool ReadFile(const std::string& path, std::vector<std::uint8_t>& out,
                  std::size_t limit) override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return false;
        }
        out.clear();
        out.reserve(std::min<std::size_t>(static_cast<std::size_t>(st.st_size), limit));
        std::uint8_t buf[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                ::close(fd);
                return false;
            }
            if (n == 0)
                break;
            if (out.size() + static_cast<std::size_t>(n) > limit) {
                // Larger than any document: report it by handing back one byte too many.
                out.resize(limit + 1);
                break;
            }
            out.insert(out.end(), buf, buf + n);
        }
        ::close(fd);
        return true;
    }

    bool Rename(const std::string& from, const std::string& to) override {
        return std::rename(from.c_str(), to.c_str()) == 0;
    }
    bool Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0; }
    bool Exists(const std::string& path) override {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0;
    }
};

std::string TemporaryNameFor(const std::string& path) {
    return path + ".~" + std::to_string(::getpid()) + ".tmp";
}

} // namespace

IFileOps& SystemFileOps() {
    static CSystemFileOps ops;
    return ops;
}

ReadResult ReadDocumentFile(const std::string& path, std::vector<std::uint8_t>& out,
                            IFileOps& ops) {
    if (!ops.ReadFile(path, out, kMaxDocumentBytes))
        return ReadResult::CannotOpen;
    if (out.size() > kMaxDocumentBytes) {
        out.clear();
        return ReadResult::TooLarge;
    }
    return ReadResult::Ok;
}

bool SaveFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                        IFileOps& ops) {
    const std::string temp = TemporaryNameFor(path);
    if (ops.WriteFile(temp, bytes)) {
        if (ops.Rename(temp, path))
            return true;
    }
    ops.Remove(temp);

    // The folder would not take the temporary file or the rename: keep a backup of the old
    // file, write in place, and check what was written before letting the backup go.
    const bool hadOld = ops.Exists(path);
    const std::string backup = path + ".bak";
    std::vector<std::uint8_t> old;
    if (hadOld) {
        if (!ops.ReadFile(path, old, kMaxDocumentBytes) || old.size() > kMaxDocumentBytes)
            return false;
        if (!ops.WriteFile(backup, old)) {
            // A part-written backup is of no use and would be left in the pupil's folder.
            ops.Remove(backup);
            return false;
        }
    }
    std::vector<std::uint8_t> check;
    const bool written = ops.WriteFile(path, bytes) &&
                         ops.ReadFile(path, check, bytes.size() + 1) &&
                         std::equal(check.begin(), check.end(), bytes.begin(), bytes.end());
    if (written) {
        if (hadOld)
            ops.Remove(backup);
        return true;
    }
    // Put the old contents back; the backup stays if even that fails.
    if (hadOld) {
        if (ops.WriteFile(path, old))
            ops.Remove(backup);
    } else {
        ops.Remove(path);
    }
    return false;
}

} // namespace quorvel

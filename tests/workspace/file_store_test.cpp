// Atomic saves: whatever step fails, the old file stays whole and nothing is left behind.
#include "workspace/file_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace quorvel;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

namespace {

// The real file system with steps that can be made to fail or to write wrong bytes. A failing
// write in place fails once: putting the old bytes back afterwards works.
class FaultyOps : public IFileOps {
public:
    bool failTempWrite = false;
    bool failRename = false;
    bool failInPlaceWrite = false;
    bool corruptInPlaceWrite = false;
    bool failBackupWrite = false;
    std::vector<std::string> renames;

    bool WriteFile(const std::string& path, std::span<const std::uint8_t> bytes) override {
        const bool temp = path.find(".tmp") != std::string::npos;
        const bool backup = path.size() > 4 && path.compare(path.size() - 4, 4, ".bak") == 0;
        if ((temp && failTempWrite) || (backup && failBackupWrite))
            return false;
        if (!temp && !backup) {
            if (failInPlaceWrite) {
                failInPlaceWrite = false;
                // A failed write that has already truncated the file.
                SystemFileOps().WriteFile(path, Bytes{0xDE, 0xAD});
                return false;
            }
            if (corruptInPlaceWrite) {
                corruptInPlaceWrite = false;
                Bytes wrong(bytes.begin(), bytes.end());
                wrong.back() ^= 0xFF;
                return SystemFileOps().WriteFile(path, wrong);
            }
        }
        return SystemFileOps().WriteFile(path, bytes);
    }
    bool ReadFile(const std::string& path, Bytes& out, std::size_t limit) override {
        return SystemFileOps().ReadFile(path, out, limit);
    }
    bool Rename(const std::string& from, const std::string& to) override {
        renames.push_back(from + " -> " + to);
        return !failRename && SystemFileOps().Rename(from, to);
    }
    bool Remove(const std::string& path) override { return SystemFileOps().Remove(path); }
    bool Exists(const std::string& path) override { return SystemFileOps().Exists(path); }
};

struct AtomicSave : ::testing::Test {
    fs::path dir;
    std::string target;
    const Bytes oldBytes = {1, 2, 3, 4};
    const Bytes newBytes = {9, 8, 7, 6, 5};
    FaultyOps ops;

    AtomicSave() {
        dir = fs::temp_directory_path() /
              ("quorvel-save-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        target = (dir / "work.qvg").string();
        SystemFileOps().WriteFile(target, oldBytes);
    }
    ~AtomicSave() override { fs::remove_all(dir); }

    Bytes Contents() {
        Bytes b;
        SystemFileOps().ReadFile(target, b, 1 << 20);
        return b;
    }
    std::vector<std::string> Entries() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.push_back(e.path().filename().string());
        return names;
    }
};

} // namespace

TEST_F(AtomicSave, RenamesATemporaryFileOverTheTarget) {
    EXPECT_TRUE(SaveFileAtomically(target, newBytes, ops));
    EXPECT_EQ(Contents(), newBytes);
    ASSERT_EQ(ops.renames.size(), 1u);
    EXPECT_EQ(Entries(), std::vector<std::string>{"work.qvg"});
}

TEST_F(AtomicSave, FolderRefusingRenameFallsBackToAVerifiedWriteInPlace) {
    ops.failRename = true;
    EXPECT_TRUE(SaveFileAtomically(target, newBytes, ops));
    EXPECT_EQ(Contents(), newBytes);
    EXPECT_EQ(Entries(), std::vector<std::string>{"work.qvg"}) << "backup and temp removed";
}

TEST_F(AtomicSave, FolderRefusingNewFilesFallsBackToo) {
    ops.failTempWrite = true;
    EXPECT_TRUE(SaveFileAtomically(target, newBytes, ops));
    EXPECT_EQ(Contents(), newBytes);
}

TEST_F(AtomicSave, FailedWriteInPlaceRestoresTheOldFile) {
    ops.failRename = true;
    ops.failInPlaceWrite = true;
    EXPECT_FALSE(SaveFileAtomically(target, newBytes, ops));
    EXPECT_EQ(Contents(), oldBytes);
    EXPECT_EQ(Entries(), std::vector<std::string>{"work.qvg"});
}

TEST_F(AtomicSave, WriteThatReadsBackWrongRestoresTheOldFile) {
    ops.failRename = true;
    ops.corruptInPlaceWrite = true;
    EXPECT_FALSE(SaveFileAtomically(target, newBytes, ops));
    EXPECT_EQ(Contents(), oldBytes);
}

TEST_F(AtomicSave, NoBackupMeansNoWriteInPlace) {
    ops.failRename = true;
    ops.failBackupWrite = true;
    ops.failInPlaceWrite = true;
    EXPECT_FALSE(SaveFileAtomically(target, newBytes, ops));
    EXPECT_EQ(Contents(), oldBytes);
}

TEST_F(AtomicSave, NewFileInAFolderThatRefusesEverythingIsNotLeftHalfWritten) {
    const std::string fresh = (dir / "fresh.qvg").string();
    ops.failRename = true;
    ops.corruptInPlaceWrite = true;
    target = fresh;
    EXPECT_FALSE(SaveFileAtomically(fresh, newBytes, ops));
    EXPECT_FALSE(fs::exists(fresh));
}

TEST(DocumentFiles, FilesLargerThanAnyDocumentAreRefusedUnread) {
    class HugeOps : public FaultyOps {
    public:
        bool ReadFile(const std::string&, Bytes& out, std::size_t limit) override {
            out.assign(limit + 1, 0); // what a reader reports for an oversized file
            return true;
        }
    } ops;
    Bytes out;
    EXPECT_EQ(ReadDocumentFile("/any", out, ops), ReadResult::TooLarge);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(ReadDocumentFile("/definitely/not/here.qvg", out), ReadResult::CannotOpen);
}

// The faults the fuzzers and sweeps found, each pinned by a direct test beside its stored
// input in fuzz/regressions/.
#include "workspace/file_store.h"
#include "workspace/types.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>

using namespace quorvel;
using Bytes = std::vector<std::uint8_t>;

// A line as wide as INT_MAX in a file gave a frame reaching the ends of the int range, and
// the selection frame, grown by 8 pixels, overflowed.
TEST(FoundFaults, RectanglesAtTheEndsOfTheIntRangeSaturate) {
    CRect r{INT_MIN, INT_MIN + 3, INT_MAX - 3, INT_MAX};
    r.Inflate(8, 8);
    EXPECT_EQ(r, (CRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}));
    EXPECT_EQ(r.Width(), INT_MAX);
    EXPECT_EQ(r.Height(), INT_MAX);
    r.Offset(-5, 5);
    EXPECT_EQ(r, (CRect{INT_MIN, INT_MIN + 5, INT_MAX - 5, INT_MAX}));
    r.Inflate(-10, -10);
    EXPECT_EQ(r, (CRect{INT_MIN + 10, INT_MIN + 15, INT_MAX - 15, INT_MAX - 10}));

    CRect ordinary{10, 20, 30, 60};
    ordinary.Inflate(2, 3);
    ordinary.Offset(1, -1);
    EXPECT_EQ(ordinary, (CRect{9, 16, 33, 62}));
    EXPECT_EQ(ordinary.Width(), 24);
    EXPECT_EQ(ordinary.Height(), 46);
}

// When a save fell back to writing in place and the backup of the old file could not be
// written whole, the part-written backup was left in the pupil's folder.
TEST(FoundFaults, APartWrittenBackupIsRemoved) {
    class Folder : public IFileOps {
    public:
        std::map<std::string, Bytes> files;
        bool WriteFile(const std::string& path, std::span<const std::uint8_t> bytes) override {
            // Nothing new can be created whole: the temporary file and the backup get one byte.
            const bool fits = files.count(path) != 0 && bytes.size() <= files[path].size();
            files[path].assign(bytes.begin(), bytes.begin() + (fits ? bytes.size() : 1));
            return fits;
        }
        bool ReadFile(const std::string& path, Bytes& out, std::size_t) override {
            if (!files.count(path))
                return false;
            out = files[path];
            return true;
        }
        bool Rename(const std::string&, const std::string&) override { return false; }
        bool Remove(const std::string& path) override { return files.erase(path) != 0; }
        bool Exists(const std::string& path) override { return files.count(path) != 0; }
    } folder;
    folder.files["/pupil/work.qvg"] = {1, 2, 3, 4};

    EXPECT_FALSE(SaveFileAtomically("/pupil/work.qvg", Bytes{5, 6, 7}, folder));
    EXPECT_EQ(folder.files.size(), 1u) << "temporary file or backup left behind";
    EXPECT_EQ(folder.files["/pupil/work.qvg"], (Bytes{1, 2, 3, 4}));
}

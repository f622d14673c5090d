// Saving onto a disk that fails part-way: whatever byte the failure comes at, the file saved
// before stays byte for byte as it was, the pupil sees "Failed to save document." and the
// document keeps its path and its unsaved changes.
#include "app/document_factory.h"
#include "workspace/file_store.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>

using namespace quorvel;
using namespace quorvel::testing;
using Bytes = std::vector<std::uint8_t>;

namespace {

// A folder held in memory whose writes stop after a number of bytes: each write on its own
// ("the share drops every write after k bytes") or all writes together ("the disk fills up
// after k bytes"). A stopped write leaves the bytes it got, as a real one does. Renames can
// be refused as well, as some network shares do.
class ByteLimitedFolder : public IFileOps {
public:
    enum class Limit { PerWrite, Total };

    std::map<std::string, Bytes> files;

    void StopWritesAfter(std::size_t k, Limit limit, bool refuseRename) {
        m_limit = limit;
        m_k = k;
        m_left = k;
        m_refuseRename = refuseRename;
    }

    bool WriteFile(const std::string& path, std::span<const std::uint8_t> bytes) override {
        const std::size_t allowed = m_limit == Limit::PerWrite ? m_k : m_left;
        const std::size_t n = std::min(bytes.size(), allowed);
        if (m_limit == Limit::Total)
            m_left -= n;
        files[path].assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        return n == bytes.size();
    }
    bool ReadFile(const std::string& path, Bytes& out, std::size_t limit) override {
        const auto it = files.find(path);
        if (it == files.end())
            return false;
        out.assign(it->second.begin(), it->second.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                                it->second.size(), limit + 1)));
        return true;
    }
    bool Rename(const std::string& from, const std::string& to) override {
        const auto it = files.find(from);
        if (m_refuseRename || it == files.end())
            return false;
        Bytes moved = std::move(it->second);
        files.erase(it);
        files[to] = std::move(moved);
        return true;
    }
    bool Remove(const std::string& path) override { return files.erase(path) != 0; }
    bool Exists(const std::string& path) override { return files.count(path) != 0; }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& [name, bytes] : files)
            names.push_back(name);
        return names;
    }

private:
    Limit m_limit = Limit::PerWrite;
    std::size_t m_k = 0;
    std::size_t m_left = 0;
    bool m_refuseRename = false;
};

struct Scenario {
    const char* name;
    ByteLimitedFolder::Limit limit;
    bool refuseRename;
};

void PrintTo(const Scenario& s, std::ostream* os) {
    *os << s.name;
}

class SaveFaults : public ::testing::TestWithParam<Scenario> {};

const std::string kPath = "/home/pupil/Desktop/work.qvg";

// The pupil's document, saved once already, with one more shape waiting to be saved over it.
std::unique_ptr<CUnitDocument> EditedDocument(const Bytes& saved) {
    auto doc = CreateUnitDocument(UnitKind::Geometry);
    EXPECT_EQ(doc->LoadFromBytes(saved), OpenResult::Opened);
    std::vector<CLine> lines = {CLine(CPoint{500, 500}, CPoint{560, 500}),
                                CLine(CPoint{560, 500}, CPoint{530, 450}),
                                CLine(CPoint{530, 450}, CPoint{500, 500})};
    doc->AddManipulative(std::make_unique<CLineManipulative>(lines));
    return doc;
}

// A small document: an empty geometry workspace with its problem block.
Bytes SmallSample() {
    return CreateUnitDocument(UnitKind::Geometry)->SaveToBytes();
}

} // namespace

TEST_P(SaveFaults, AFailureAtAnyByteKeepsThePreviousFileAndSaysSo) {
    const Bytes previous = SmallSample();
    const Bytes next = EditedDocument(previous)->SaveToBytes();
    ASSERT_GT(next.size(), previous.size());

    for (std::size_t k = 0; k <= next.size(); ++k) {
        SCOPED_TRACE("writes stop after " + std::to_string(k) + " bytes");
        ByteLimitedFolder folder;
        folder.files[kPath] = previous;
        folder.StopWritesAfter(k, GetParam().limit, GetParam().refuseRename);

        FakeDocumentHost host;
        auto doc = EditedDocument(previous);
        doc->SetHost(&host);
        doc->SetFilePath(kPath);
        doc->SetFileOps(&folder);
        const bool saved = doc->FileSave();

        if (saved) {
            // Only a writer that took every byte can have saved.
            EXPECT_EQ(folder.files[kPath], next);
            EXPECT_FALSE(doc->IsModified());
            EXPECT_TRUE(host.prompter.messages.empty());
        } else {
            ASSERT_EQ(folder.files[kPath], previous) << "the previous file was damaged";
            ASSERT_EQ(host.prompter.messages.size(), 1u);
            EXPECT_EQ(host.prompter.messages[0].text, "Failed to save document.");
            EXPECT_EQ(host.prompter.messages[0].icon, MessageIcon::Exclamation);
            EXPECT_TRUE(doc->IsModified());
            EXPECT_EQ(doc->filePath(), kPath);
        }
        if (k < next.size()) {
            EXPECT_FALSE(saved);
        }
        EXPECT_EQ(folder.Names(), std::vector<std::string>{kPath}) << "files left behind";
    }
}

TEST_P(SaveFaults, AFailedFirstSaveLeavesNoFileBehind) {
    auto doc = EditedDocument(SmallSample());
    const std::size_t size = doc->SaveToBytes().size();
    for (std::size_t k = 0; k < size; ++k) {
        SCOPED_TRACE("writes stop after " + std::to_string(k) + " bytes");
        ByteLimitedFolder folder;
        folder.StopWritesAfter(k, GetParam().limit, GetParam().refuseRename);
        FakeDocumentHost host;
        doc->SetHost(&host);
        doc->SetFileOps(&folder);
        EXPECT_FALSE(doc->OnSaveDocument(kPath));
        EXPECT_EQ(host.prompter.LastText(), "Failed to save document.");
        EXPECT_TRUE(folder.files.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Writers, SaveFaults,
    ::testing::Values(Scenario{"DiskFull", ByteLimitedFolder::Limit::Total, false},
                      Scenario{"EveryWriteCut", ByteLimitedFolder::Limit::PerWrite, false},
                      Scenario{"EveryWriteCutOnAShareWithoutRename",
                               ByteLimitedFolder::Limit::PerWrite, true}),
    [](const auto& param) { return std::string(param.param.name); });

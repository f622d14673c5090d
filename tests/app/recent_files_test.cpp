// The recent files list, and the menu pages' File menu: any document opens in its unit's page.
#include "app/recent_files.h"

#include "app/workshop_app.h"
#include "fakes/fakes.h"
#include "recording_frame.h"
#include "workspace/unit_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class MemoryStore : public IRecentFilesStore {
public:
    std::vector<std::string> files;
    std::vector<std::string> Load() override { return files; }
    void Store(const std::vector<std::string>& f) override { files = f; }
};

TEST(RecentFiles, NewestFirstWithoutRepeatsAndAtMostFour) {
    MemoryStore store;
    store.files = {"/a.qvg", "", "/a.qvg", "/b.qvs"};
    CRecentFiles recent;
    recent.Attach(&store);
    EXPECT_EQ(recent.files(), (std::vector<std::string>{"/a.qvg", "/b.qvs"}));
    for (const char* path : {"/c.qvn", "/d.qvc", "/b.qvs", "/e.qvd"})
        recent.Add(path);
    const std::vector<std::string> expected{"/e.qvd", "/b.qvs", "/d.qvc", "/c.qvn"};
    EXPECT_EQ(recent.files(), expected);
    EXPECT_EQ(store.files, expected);
    recent.Remove("/d.qvc");
    EXPECT_EQ(store.files, (std::vector<std::string>{"/e.qvd", "/b.qvs", "/c.qvn"}));

    EXPECT_EQ(CRecentFiles::MenuText(0, "/home/pupil/Desktop/tiles.qvg"),
              "&1 tiles.qvg  (Desktop)");
    EXPECT_EQ(CRecentFiles::MenuText(3, "/m&m/a&b.qvs"), "&4 a&&b.qvs  (m&&m)");
}

class FileMenu : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() /
                   ("quorvel-recent-" +
                    std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    testing::FakeDocumentHost host;
    testing::RecordingFrame frame;
    CWorkshopApp app{host, frame};
    MemoryStore store;

    FileMenu() {
        fs::remove_all(dir);
        fs::create_directories(dir / "class");
        app.recentFiles().Attach(&store);
        EXPECT_TRUE(app.InitInstance({}, dir.string(), dir.string()));
        host.prompter.messages.clear();
    }
    ~FileMenu() override { fs::remove_all(dir); }

    std::string Saved(UnitKind unit, const std::string& name) {
        const std::string path = (dir / name).string();
        EXPECT_TRUE(CreateUnitDocument(unit)->OnSaveDocument(path));
        return path;
    }
};

TEST_F(FileMenu, AnyDocumentOpensInItsUnitsPage) {
    for (UnitKind unit : {UnitKind::Codes, UnitKind::Statistics, UnitKind::Geometry}) {
        const std::string path = Saved(unit, "work" + std::to_string(int(unit)));
        ASSERT_TRUE(app.OpenDocumentFile(path));
        ASSERT_TRUE(app.currentUnitDocument());
        EXPECT_EQ(app.currentUnit(), unit);
        EXPECT_EQ(app.currentUnitDocument()->filePath(), path);
        EXPECT_EQ(store.files.front(), path);
    }
    EXPECT_TRUE(host.prompter.messages.empty());

    // Through the Open question, over every kind of document.
    const std::string numbers = Saved(UnitKind::Numbers, "sums.qvn");
    host.chooser.answers = {numbers};
    ASSERT_TRUE(app.ChooseDocumentFile());
    EXPECT_EQ(app.currentUnit(), UnitKind::Numbers);
    EXPECT_NE(host.chooser.requests.back().filter.find("*.qvs"), std::string::npos);
}

TEST_F(FileMenu, WhatIsNoDocumentOfOursLeavesTheMenuShown) {
    std::ofstream(dir / "notes.txt") << "shopping list";
    std::ofstream(dir / "empty.qvg");
    // The right signature but nothing after it.
    std::ofstream(dir / "cut.qvg", std::ios::binary).write("\xc0\x0d\x31\x01", 4);
    for (const char* name : {"notes.txt", "empty.qvg", "cut.qvg", "missing.qvg"}) {
        SCOPED_TRACE(name);
        host.prompter.messages.clear();
        EXPECT_FALSE(app.OpenDocumentFile((dir / name).string()));
        EXPECT_EQ(host.prompter.LastText(), kFailedToOpen);
        EXPECT_EQ(app.currentUnitDocument(), nullptr);
        EXPECT_TRUE(store.files.empty());
    }
}

TEST_F(FileMenu, RecentFilesComeFromOpeningAndSavingAndAMissingOneLeaves) {
    const std::string kept = Saved(UnitKind::Geometry, "kept.qvg");
    ASSERT_TRUE(app.OpenDocumentFile(kept));
    host.chooser.answers = {(dir / "copy").string()};
    ASSERT_TRUE(app.currentUnitDocument()->FileSaveAs());
    const std::string copy = (dir / "copy.qvg").string();
    EXPECT_EQ(store.files, (std::vector<std::string>{copy, kept}));

    ASSERT_TRUE(app.LeaveUnit());
    fs::remove(copy);
    EXPECT_FALSE(app.OpenRecentFile(0));
    EXPECT_NE(host.prompter.LastText().find("copy.qvg\" could not be found"), std::string::npos);
    EXPECT_EQ(store.files, std::vector<std::string>{kept});
    EXPECT_TRUE(app.OpenRecentFile(0));
    EXPECT_EQ(app.currentUnitDocument()->filePath(), kept);
}

} // namespace
} // namespace quorvel

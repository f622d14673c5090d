// Recovery copies: which copies a start offers and in what order, what each answer does
// (a copy that will not open kept aside), and when this program writes and removes its own.
#include "app/recovery.h"

#include "app/workshop_app.h"
#include "fakes/fakes.h"
#include "geometry/shape_catalogue.h"
#include "recording_frame.h"
#include "workspace/file_store.h"
#include "workspace/unit_document.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class FakeLocks : public IInstanceLocks {
public:
    std::set<std::string> running, taken;
    bool TryTake(const std::string& id) override {
        if (running.count(id))
            return false;
        taken.insert(id);
        return true;
    }
    void Release(const std::string& id) override { taken.erase(id); }
};

class Recovery : public ::testing::Test {
protected:
    // One folder per test and process: ctest runs the tests side by side.
    fs::path dir = fs::temp_directory_path() /
                   ("quorvel-recovery-test-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    FakeLocks locks;
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string At(const std::string& name) const { return (dir / name).string(); }
    // A copy left by program `id`: bytes, then its info (path, time).
    void Leave(const std::string& name, const std::vector<std::uint8_t>& bytes,
               const std::string& path, long long time) const {
        ASSERT_TRUE(SaveFileAtomically(At(name), bytes));
        std::ofstream(dir / (fs::path(name).stem().string() + ".info")) << path << "\n"
                                                                        << time << "\n";
    }
    static std::vector<std::uint8_t> ModifiedBytes() {
        auto doc = CreateUnitDocument(UnitKind::Geometry);
        doc->AddManipulative(MakeDrawerShape(1, C3DPointDouble(100, 100, 0.0)));
        return doc->SaveToBytes();
    }
};

TEST_F(Recovery, OffersOnlyCopiesOfProgramsGoneNewestFirst) {
    const std::vector<std::uint8_t> bytes = ModifiedBytes();
    Leave("11-100.qvg", bytes, "", 100);
    Leave("12-300.qvn", bytes, "", 300);
    Leave("13-200.qvg", bytes, "", 200);
    Leave("14-400.qvg", bytes, "", 400); // still running
    Leave("own-1.qvg", bytes, "", 500);  // this program's
    // Kept: a copy set aside, other files, and what running programs are writing.
    const std::vector<std::string> kept = {"15-1.qvg.damaged", "17-1.txt", "bad id.qvg",
                                           "14-400.qvg.~98.tmp", "own-1.qvg.~97.tmp"};
    // Removed: half-written copies and info files of programs gone.
    const std::vector<std::string> removed = {"16-1.qvg.~99.tmp", "11-100.qvg.~96.tmp",
                                              "18-1.info"};
    for (const auto& names : {kept, removed})
        for (const std::string& name : names)
            std::ofstream(dir / name) << "x";
    locks.running = {"14-400"};
    const CRecoveryFolder folder(dir.string(), "own-1");
    std::vector<std::string> ids;
    for (const CRecoveryCopy& c : folder.FindLeftBehind(locks))
        ids.push_back(c.id);
    EXPECT_EQ(ids, (std::vector<std::string>{"12-300", "13-200", "11-100"}));
    EXPECT_EQ(locks.taken, (std::set<std::string>{"11-100", "12-300", "13-200"}));
    for (const std::string& name : kept)
        EXPECT_TRUE(fs::exists(dir / name)) << name;
    for (const std::string& name : removed)
        EXPECT_FALSE(fs::exists(dir / name)) << name;
}

class RecoveryApp : public Recovery {
protected:
    testing::FakeDocumentHost host;
    testing::RecordingFrame frame;
    CWorkshopApp app{host, frame};
    std::unique_ptr<CAutosave> autosave;
    void SetUp() override {
        Recovery::SetUp();
        autosave = std::make_unique<CAutosave>(CRecoveryFolder(dir.string(), "9-9"), locks);
        app.SetAutosave(autosave.get());
    }
    void TearDown() override {
        app.SetAutosave(nullptr);
        autosave.reset();
        Recovery::TearDown();
    }
};

TEST_F(RecoveryApp, EachAnswerDoesItsPart) {
    const std::vector<std::uint8_t> bytes = ModifiedBytes();
    Leave("1-1.qvg", {'Q', 'V', 'G', '?', 1, 2, 3}, "", 300); // will not open
    Leave("2-2.qvg", bytes, "/home/pupil/Desktop/tiles.qvg", 200);
    Leave("3-3.qvg", bytes, "", 100);
    Leave("4-4.qvg", bytes, "", 50);
    // The last question goes unanswered: the session ends while it is asked.
    host.prompter.answers = {MessageResult::Yes, MessageResult::Ok, MessageResult::Yes,
                             MessageResult::No, MessageResult::Cancel};
    app.OfferRecovery();
    autosave->Wait();

    const auto& m = host.prompter.messages;
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[0].text.rfind(kRecoverQuestion, 0), 0u);
    EXPECT_NE(m[0].text.find("Unit: Tiles and Tessellations\r\nDocument: Untitled\r\nTime: "),
              std::string::npos);
    EXPECT_NE(m[1].text.find("kept as\r\n\"" + At("1-1.qvg.damaged") + "\""), std::string::npos);
    EXPECT_NE(m[2].text.find("Document: tiles.qvg"), std::string::npos);
    EXPECT_NE(m[3].text.find("Document: Untitled"), std::string::npos);
    // Kept aside, recovered, refused: none is offered again; the recovered work is this
    // program's copy now. The unanswered one waits for the next start.
    EXPECT_TRUE(fs::exists(At("1-1.qvg.damaged")));
    for (const char* gone : {"1-1.qvg", "2-2.qvg", "3-3.qvg", "2-2.info", "3-3.info"})
        EXPECT_FALSE(fs::exists(At(gone))) << gone;
    EXPECT_TRUE(fs::exists(At("4-4.qvg")) && fs::exists(At("4-4.info")));
    std::vector<std::uint8_t> own;
    ASSERT_EQ(ReadDocumentFile(At("9-9.qvg"), own), ReadResult::Ok);
    EXPECT_EQ(own, bytes);
    EXPECT_TRUE(locks.taken.empty());

    CUnitDocument* doc = app.currentUnitDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->SaveToBytes(), bytes);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->filePath(), "/home/pupil/Desktop/tiles.qvg");
}

TEST_F(RecoveryApp, CopyFollowsTheDocument) {
    const std::string saved = At("mine.qvg");
    CUnitDocument* doc = app.OpenGeometryUnit();
    ASSERT_NE(doc, nullptr);
    doc->SetFilePath(saved);
    const auto copyExists = [&] {
        autosave->Wait();
        return fs::exists(At("9-9.qvg"));
    };
    app.AutosaveNow();
    EXPECT_FALSE(copyExists()) << "unmodified";
    doc->AddManipulative(MakeDrawerShape(1, C3DPointDouble(100, 100, 0.0)));
    doc->SetModifiedFlag();
    app.AutosaveNow();
    EXPECT_TRUE(copyExists());
    ASSERT_TRUE(doc->FileSave());
    EXPECT_FALSE(copyExists()) << "saved";
    doc->SetModifiedFlag();
    app.AutosaveNow();
    ASSERT_TRUE(copyExists());
    host.prompter.answers = {MessageResult::No}; // don't save
    EXPECT_TRUE(app.LeaveUnit());
    EXPECT_FALSE(copyExists()) << "left without saving";
}

} // namespace
} // namespace quorvel

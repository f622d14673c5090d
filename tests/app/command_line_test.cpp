// The command line: whole-word switches, folder flags at word starts, values keeping case.
#include "app/command_line.h"
#include "app/display_scale.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#ifdef QUORVEL_HAS_QVTOOL
#include "tools/qvtool/qvtool.h"
#include <sstream>
#endif

namespace quorvel {
namespace {

const CDirectories kDefaults{"/home/pupil/Desktop", "/opt/q/class", "/opt/q/bboard",
                             "/opt/q/tbboard"};

struct Case {
    const char* name;
    const char* line;
    bool authoring;
    StartUnit unit;
    CDirectories dirs;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class CommandLineTable : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLineTable, ParsesAsTheRulesSay) {
    const Case& c = GetParam();
    const CCommandLine got = ParseCommandLine(c.line, kDefaults);
    EXPECT_EQ(got.authoring, c.authoring) << c.line;
    EXPECT_EQ(StartUnitName(got.unit), std::string(StartUnitName(c.unit))) << c.line;
    EXPECT_EQ(got.directories.personal, c.dirs.personal) << c.line;
    EXPECT_EQ(got.directories.classDir, c.dirs.classDir) << c.line;
    EXPECT_EQ(got.directories.bulletinBoard, c.dirs.bulletinBoard) << c.line;
    EXPECT_EQ(got.directories.teacherBulletinBoard, c.dirs.teacherBulletinBoard) << c.line;
}

const CDirectories kSet{"/p", "/c", "/b", "/t"};

INSTANTIATE_TEST_SUITE_P(
    Rules, CommandLineTable,
    ::testing::Values(
        Case{"empty", "", false, StartUnit::None, kDefaults},
        Case{"authoring_and_stats", "/AM /stats", true, StartUnit::Statistics, kDefaults},
        Case{"authoring_after_unit", "/stats /AM", true, StartUnit::Statistics, kDefaults},
        Case{"geo_wins_over_stats", "/stats /geo", false, StartUnit::Geometry, kDefaults},
        Case{"stats_before_codes", "/designs /codes /stats", false, StartUnit::Statistics,
             kDefaults},
        Case{"codes", "/codes", false, StartUnit::Codes, kDefaults},
        Case{"numbers", "/numbers", false, StartUnit::Numbers, kDefaults},
        Case{"designs", "/designs", false, StartUnit::Designs, kDefaults},
        Case{"switches_are_case_sensitive", "/am /GEO /Stats", false, StartUnit::None, kDefaults},
        Case{"switch_must_be_whole_word", "/AMx /geometry /statsy", false, StartUnit::None,
             kDefaults},
        Case{"all_four_flags", "-p /p -c /c -b /b -t /t", false, StartUnit::None, kSet},
        Case{"flags_in_any_case", "-P /p -C /c -B /b -T /t", false, StartUnit::None, kSet},
        Case{"mixed_case_flags", "-p /p -C /c -b /b -T /t", false, StartUnit::None, kSet},
        Case{"values_follow_at_once", "-p/p -c/c -b/b -t/t", false, StartUnit::None, kSet},
        Case{"values_are_trimmed", "-p    /p   -c\t/c  -b /b   -t   /t   ", false, StartUnit::None,
             kSet},
        Case{"values_keep_case", "-p /Home/Pupil -c /Srv/Class -b /Srv/BB -t /Srv/TBB", false,
             StartUnit::None, CDirectories{"/Home/Pupil", "/Srv/Class", "/Srv/BB", "/Srv/TBB"}},
        Case{"without_p_all_default", "-c /c -b /b -t /t", false, StartUnit::None, kDefaults},
        Case{"without_t_all_default", "-p /p -c /c -b /b", false, StartUnit::None, kDefaults},
        Case{"out_of_order_all_default", "-c /c -p /p -b /b -t /t", false, StartUnit::None,
             kDefaults},
        Case{"teacher_value_ends_at_switch", "-p /p -c /c -b /b -t /t /AM /geo", true,
             StartUnit::Geometry, kSet},
        Case{"switches_before_flags", "/AM /codes -p /p -c /c -b /b -t /t", true, StartUnit::Codes,
             kSet},
        Case{"empty_value_keeps_default", "-p -c /c -b /b -t /t", false, StartUnit::None,
             CDirectories{kDefaults.personal, "/c", "/b", "/t"}},
        Case{"first_occurrence_counts", "-p /p -c /c -b /b -t /t -p /other", false, StartUnit::None,
             CDirectories{"/p", "/c", "/b", "/t -p /other"}},
        // A folder containing "/geo" opens no unit; only the whole word does.
        Case{"path_with_geo_opens_nothing", "-p /home/geo/work -c /srv/geo/class -b /b -t /t",
             false, StartUnit::None, CDirectories{"/home/geo/work", "/srv/geo/class", "/b", "/t"}},
        // A hyphen inside a path is no flag.
        Case{"hyphen_inside_path",
             "-p /home/tom-collins -c /srv/x-class -b /srv/b-board -t "
             "/srv/t-board",
             false, StartUnit::None,
             CDirectories{"/home/tom-collins", "/srv/x-class", "/srv/b-board", "/srv/t-board"}},
        // An absolute teacher path is kept whole: the first "/" does not end it.
        Case{"absolute_teacher_path", "-p /p -c /c -b /b -t /srv/school/teachers", false,
             StartUnit::None, CDirectories{"/p", "/c", "/b", "/srv/school/teachers"}},
        Case{"paths_with_spaces", "-p /home/pupil/My Work -c /c -b /b -t /t", false,
             StartUnit::None, CDirectories{"/home/pupil/My Work", "/c", "/b", "/t"}}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

// Argument lists with file words; "@" stands for a folder holding "work.qvg" and
// "my work.qvn".
struct FileCase {
    const char* name;
    std::vector<std::string> args;
    std::string file;
    StartUnit unit;
    std::string teacherDir;
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

class CommandLineFiles : public ::testing::TestWithParam<FileCase> {};

TEST_P(CommandLineFiles, TakeTheFirstExistingFile) {
    // Its own folder: ctest runs the cases side by side.
    const auto dir = std::filesystem::temp_directory_path() /
                     ("quorvel-cmdline-files-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "work.qvg") << "x";
    std::ofstream(dir / "my work.qvn") << "x";
    auto expand = [&](std::string s) {
        return s.starts_with('@') ? (dir / s.substr(1)).string() : s;
    };
    const FileCase& c = GetParam();
    std::vector<std::string> args;
    for (const auto& a : c.args)
        args.push_back(expand(a));
    const CCommandLine got = ParseArguments(args, kDefaults);
    EXPECT_EQ(got.documentFile, c.file.empty() ? "" : expand(c.file));
    EXPECT_EQ(StartUnitName(got.unit), std::string(StartUnitName(c.unit)));
    EXPECT_EQ(got.directories.teacherBulletinBoard, c.teacherDir);
    std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CommandLineFiles,
    ::testing::Values(
        FileCase{"existing_file", {"@work.qvg"}, "@work.qvg", StartUnit::None, "/opt/q/tbboard"},
        FileCase{"missing_file", {"@gone.qvg"}, "", StartUnit::None, "/opt/q/tbboard"},
        FileCase{"spaces_in_one_argument",
                 {"@my work.qvn"},
                 "@my work.qvn",
                 StartUnit::None,
                 "/opt/q/tbboard"},
        FileCase{"file_with_switch",
                 {"/codes", "@work.qvg"},
                 "@work.qvg",
                 StartUnit::Codes,
                 "/opt/q/tbboard"},
        FileCase{"first_file_wins",
                 {"@my work.qvn", "@work.qvg"},
                 "@my work.qvn",
                 StartUnit::None,
                 "/opt/q/tbboard"},
        FileCase{"folder_is_no_file", {"@"}, "", StartUnit::None, "/opt/q/tbboard"},
        // A file after the teacher folder is no part of it.
        FileCase{"file_after_folders",
                 {"-p", "/p", "-c", "/c", "-b", "/b", "-t", "/t", "@work.qvg", "/AM"},
                 "@work.qvg",
                 StartUnit::None,
                 "/t"}),
    [](const ::testing::TestParamInfo<FileCase>& param) { return std::string(param.param.name); });

TEST(CommandLine, RestartKeepsAuthoringAndFoldersButNoUnitOrDocument) {
    const auto dir = std::filesystem::temp_directory_path() / "quorvel-cmdline-restart";
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "work.qvg").string();
    std::ofstream(file) << "x";
    EXPECT_EQ(
        RestartArguments({"/AM", "/geo", file, "-p", "/p", "-c", "/c", "-b", "/b", "-t",
                          dir.string(), "/stats"}),
        (std::vector<std::string>{"/AM", "-p", "/p", "-c", "/c", "-b", "/b", "-t", dir.string()}));
    std::filesystem::remove_all(dir);
}

TEST(DisplayScale, OnlyTheChoicesAreKeptAndTheFactorIsExact) {
    for (const auto& [stored, factor] : std::vector<std::pair<int, std::string>>{{100, "1"},
                                                                                 {125, "1.25"},
                                                                                 {150, "1.5"},
                                                                                 {200, "2"},
                                                                                 {175, "1"},
                                                                                 {0, "1"},
                                                                                 {-200, "1"}})
        EXPECT_EQ(DisplayScaleFactor(stored), factor) << stored;
}

TEST(CommandLine, ArgumentsJoinWithSingleSpaces) {
    EXPECT_EQ(JoinArguments({}), "");
    EXPECT_EQ(JoinArguments({"/AM", "-p", "/home/a b"}), "/AM -p /home/a b");
}

#ifdef QUORVEL_HAS_QVTOOL
TEST(QvToolCmdline, PrintsSevenLines) {
    std::ostringstream out, err;
    CQvTool tool(out, err);
    const int rc =
        tool.Cmdline({"--program-dir", "/opt/quorvel/", "--", "/AM", "/stats", "-P", "/home/Pupil",
                      "-c", "/srv/class", "-b", "/srv/bb", "-t", "/home/tom-collins/tbb"});
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(out.str(), "authoring: yes\n"
                         "unit: stats\n"
                         "personal: /home/Pupil\n"
                         "class: /srv/class\n"
                         "bboard: /srv/bb\n"
                         "tbboard: /home/tom-collins/tbb\n"
                         "file: none\n");
}

TEST(QvToolCmdline, DefaultsComeFromTheProgramDirectory) {
    std::ostringstream out, err;
    CQvTool tool(out, err);
    ASSERT_EQ(tool.Cmdline({"--program-dir", "/opt/quorvel", "--", "/geo"}), 0);
    const std::string text = out.str();
    EXPECT_NE(text.find("authoring: no\nunit: geo\n"), std::string::npos);
    EXPECT_NE(text.find("\nclass: /opt/quorvel/class\nbboard: /opt/quorvel/bboard\n"
                        "tbboard: /opt/quorvel/tbboard\n"),
              std::string::npos);
}

TEST(QvToolCmdline, RejectsUnknownOptions) {
    std::ostringstream out, err;
    CQvTool tool(out, err);
    EXPECT_EQ(tool.Cmdline({"--bogus"}), 2);
    EXPECT_TRUE(out.str().empty());
    EXPECT_FALSE(err.str().empty());
}
#endif

} // namespace
} // namespace quorvel

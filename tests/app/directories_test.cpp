// Default folders: beside the program, and the desktop from the XDG user-dirs file.
#include "app/directories.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(Directories, DefaultsLieBesideTheProgram) {
    const CDirectories d = DefaultDirectories("/opt/quorvel", "/home/ann/Desktop");
    EXPECT_EQ(d.personal, "/home/ann/Desktop");
    EXPECT_EQ(d.classDir, "/opt/quorvel/class");
    EXPECT_EQ(d.bulletinBoard, "/opt/quorvel/bboard");
    EXPECT_EQ(d.teacherBulletinBoard, "/opt/quorvel/tbboard");
}

TEST(Directories, JoinPathUsesOneSeparator) {
    EXPECT_EQ(JoinPath("/opt/q/", "/class"), "/opt/q/class");
    EXPECT_EQ(JoinPath("/opt/q", "11w.qvg"), "/opt/q/11w.qvg");
    EXPECT_EQ(JoinPath("/", "x"), "/x");
}

TEST(Directories, DesktopFromUserDirsFile) {
    EXPECT_EQ(DesktopDirectory("/home/ann", "# comment\nXDG_DESKTOP_DIR=\"$HOME/Bureau\"\n"),
              "/home/ann/Bureau");
    EXPECT_EQ(DesktopDirectory("/home/ann", "XDG_DESKTOP_DIR=\"/data/desk/\"\n"), "/data/desk");
}

TEST(Directories, DesktopWithoutUserDirsFile) {
    EXPECT_EQ(DesktopDirectory("/home/ann", ""), "/home/ann/Desktop");
    // A relative value is not allowed by the format and is ignored.
    EXPECT_EQ(DesktopDirectory("/home/ann", "XDG_DESKTOP_DIR=\"Desk\"\n"), "/home/ann/Desktop");
}

TEST(Directories, ProgramDirectoryHoldsThisTest) {
    const std::string dir = ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.front(), '/');
    EXPECT_NE(dir.back(), '/');
}

} // namespace
} // namespace quorvel

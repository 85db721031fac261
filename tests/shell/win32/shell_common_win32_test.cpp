// The shared shell code on Windows: drives and shares, both separators, Japanese names.
#include <gtest/gtest.h>

#include "platform/paths.hpp"
#include "shell/directories.hpp"
#include "shell/help_topic.hpp"
#include "shell/list_main.hpp"
#include "shell/shell_common_test_support.hpp"
#include "support/temp_tree.hpp"

namespace {

using shell_test::Strings;
using testing_support::TempTree;

TEST(FileUrlWin32, DrivesAndSharesAreTheUrlsRoot) {
    EXPECT_EQ(shell::FileUrl("C:\\Program Files\\PELKOR\\pelkor.html"),
              "file:///C:/Program%20Files/PELKOR/pelkor.html");
    EXPECT_EQ(shell::FileUrl("C:/KOMA/pelkor.html"), "file:///C:/KOMA/pelkor.html");
    EXPECT_EQ(shell::FileUrl("\\\\server\\share\\pelkor.html"), "file://server/share/pelkor.html");
}

// "ソ" is 0x83 0x5C in Shift-JIS: held as UTF-8 its last byte is no backslash, so it gets
// its separator like any other name.
TEST(BrowseStartTextWin32, BothSeparatorsCountAndAJapaneseNameGetsOne) {
    EXPECT_EQ(shell::BrowseStartText("C:/KOMA/"), "C:/KOMA/");
    EXPECT_EQ(shell::BrowseStartText("C:\\KOMA\\"), "C:\\KOMA\\");
    EXPECT_EQ(shell::BrowseStartText("C:\\\u30BD"), "C:\\\u30BD\\");
}

TEST(DirectoriesWin32, JapaneseNamesKeepEveryCharacter) {
    TempTree tree;
    tree.MakeDir("\u30BD\u30D5\u30C8");
    tree.MakeDir("bin");
    EXPECT_EQ(shell::Subdirectories(tree.Root()), (Strings{"bin", "\u30BD\u30D5\u30C8"}));
}

}  // namespace

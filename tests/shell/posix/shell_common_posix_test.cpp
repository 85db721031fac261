// The shared shell code where POSIX systems differ: names of any bytes, symbolic links, and a
// backslash that is no separator.
#include <gtest/gtest.h>

#include "platform/paths.hpp"
#include "shell/directories.hpp"
#include "shell/help_topic.hpp"
#include "shell/list_main.hpp"
#include "shell/shell_common_test_support.hpp"
#include "support/temp_tree.hpp"

namespace {

using shell_test::CurrentDirectoryGuard;
using shell_test::Strings;
using testing_support::TempTree;

TEST(DirectoriesPosix, NamesThatAreNoUtf8KeepTheirBytes) {
    CurrentDirectoryGuard guard;
    TempTree tree;
    const std::string odd = "\xff\xfe-komar";
    tree.MakeDir(odd);
    ASSERT_TRUE(platform::SetCurrentDirectory(tree.Path(odd)));
    EXPECT_EQ(platform::CurrentDirectory(), tree.Path(odd));
    EXPECT_EQ(shell::Subdirectories(tree.Root()), Strings{odd});
}

TEST(DirectoriesPosix, ALinkToADirectoryIsOneAndALinkToAFileIsNot) {
    TempTree tree;
    tree.MakeDir("gamma");
    tree.WriteFile("aardvark.txt", "");
    tree.Symlink(tree.Path("gamma"), "link-to-gamma");
    tree.Symlink(tree.Path("aardvark.txt"), "link-to-file");
    EXPECT_EQ(shell::Subdirectories(tree.Root()), (Strings{"gamma", "link-to-gamma"}));
}

TEST(BrowseStartTextPosix, ABackslashIsNoSeparator) {
    EXPECT_EQ(shell::BrowseStartText("/opt/x\\"), "/opt/x\\/");
}

TEST(FileUrlPosix, ABackslashIsPartOfTheName) {
    EXPECT_EQ(shell::FileUrl("/opt/a\\b.html"), "file:///opt/a%5Cb.html");
}

}  // namespace

// The editor launcher on Windows: Notepad with the list's absolute path, and a detached start
// whose command line gives every argument back whole.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/editor.hpp"
#include "support/system.hpp"
#include "support/temp_tree.hpp"
#include "support/win32/wide_text.hpp"

namespace {

using testing_support::ScopedEnv;
using testing_support::TempTree;
using Words = std::vector<std::string>;

TEST(EditorCommandWin32, IsNotepadWithThePath) {
    EXPECT_EQ(platform::EditorCommand("", "C:\\KOMA R\\version.lis"),
              (Words{"notepad", "C:\\KOMA R\\version.lis"}));
    // There is no editor variable on Windows: Notepad is the system's text editor.
    EXPECT_EQ(platform::EditorCommand("kate -n", "C:\\x\\version.lis"),
              (Words{"notepad", "C:\\x\\version.lis"}));
}

// Blanks, quotation marks, backslashes before a quotation mark or at the end, an empty word
// and Japanese: each argument arrives as it was given. Notepad takes the rest of its command
// line as one name, so a path with blanks must come quoted, and does.
TEST(StartDetachedWin32, GivesEveryArgumentBackWholeWithoutWaiting) {
    TempTree tree;
    const Words arguments = {"C:\\KOMA R\\version.lis",  "a\"b", "back\\\\\"slash", "end\\", "",
                             "\u5B9A\u7FA9\u4F53 \u30BD"};
    Words argv = {PELKOR_RECORD_ARGS_EXE, tree.Path("args")};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    ASSERT_TRUE(platform::StartDetached(argv));
    EXPECT_FALSE(tree.Exists("args")) << "the launcher waited for the program";
    std::string expected;
    for (const auto& argument : arguments) {
        expected += argument + "\n";
    }
    EXPECT_EQ(WaitForFile(tree, "args", "<end>\n"), expected + "<end>\n");
}

// A name without a directory is looked for in the system's directories and PATH, ".exe"
// added; never in the current directory, where a program could have been put under the
// editor's name.
TEST(StartDetachedWin32, LooksTheProgramUpInPathButNotInTheCurrentDirectory) {
    TempTree tree;
    tree.MakeDir("tools");
    tree.MakeDir("here");
    std::filesystem::copy_file(testing_support::FsPath(PELKOR_RECORD_ARGS_EXE),
                               testing_support::FsPath(tree.Path("tools/record-args.exe")));
    std::filesystem::copy_file(testing_support::FsPath(PELKOR_RECORD_ARGS_EXE),
                               testing_support::FsPath(tree.Path("here/planted.exe")));
    ScopedEnv path("PATH", tree.Path("tools").c_str());
    ASSERT_TRUE(platform::StartDetached({"record-args", tree.Path("args"), "x"}));
    EXPECT_EQ(WaitForFile(tree, "args", "<end>\n"), "x\n<end>\n");

    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(testing_support::FsPath(tree.Path("here")));
    const bool started = platform::StartDetached({"planted", tree.Path("planted-args")});
    std::filesystem::current_path(old);
    EXPECT_FALSE(started);
}

TEST(StartDetachedWin32, FailsForWhatCannotBeStarted) {
    TempTree tree;
    ScopedEnv path("PATH", tree.Root().c_str());
    EXPECT_FALSE(platform::StartDetached({"no-such-editor", "x"}));
    EXPECT_FALSE(platform::StartDetached({tree.Path("missing.exe")}));
    EXPECT_FALSE(platform::StartDetached({tree.Root()}));  // a directory
    EXPECT_FALSE(platform::StartDetached({}));
    EXPECT_FALSE(platform::StartDetached(
        {PELKOR_RECORD_ARGS_EXE, tree.Path("args"), std::string("a\0b", 3)}));
    EXPECT_FALSE(tree.Exists("args"));
}

}  // namespace

// The editor launcher on POSIX: $PELKOR_EDITOR or xdg-open, the list's absolute path, and a
// detached start that nothing waits for.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/editor.hpp"
#include "support/temp_tree.hpp"

namespace {

using testing_support::ScopedEnv;
using testing_support::TempTree;
using Words = std::vector<std::string>;

// A script that writes its arguments, one a line, then "<end>", into the file "args".
std::string RecorderScript(const TempTree& tree) {
    const std::string out = tree.Path("args");
    tree.WriteFile("record-args", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                                      out + ".tmp'\necho '<end>' >> '" + out + ".tmp'\nmv '" + out +
                                      ".tmp' '" + out + "'\n");
    ::chmod(tree.Path("record-args").c_str(), 0700);
    return tree.Path("record-args");
}

TEST(EditorCommand, AppendsThePathAsOneArgument) {
    EXPECT_EQ(platform::EditorCommand("kate -n", "/x y/version.lis"),
              (Words{"kate", "-n", "/x y/version.lis"}));
    EXPECT_EQ(platform::EditorCommand("", "/a/version.lis"), (Words{"xdg-open", "/a/version.lis"}));
    EXPECT_EQ(platform::EditorCommand(" \t", "/a/version.lis"),
              (Words{"xdg-open", "/a/version.lis"}));
}

TEST(StartDetached, RunsTheProgramWithoutLeavingAChild) {
    TempTree tree;
    const std::string script = RecorderScript(tree);
    // The program sleeps before recording, so a launcher that waited would be seen.
    ASSERT_TRUE(platform::StartDetached(
        {"/bin/sh", "-c", "sleep 0.3; exec \"$0\" \"$@\"", script, "a b", "/p/version.lis"}));
    EXPECT_FALSE(tree.Exists("args")) << "the launcher waited for the program";
    // The middle process has been reaped, and the program is no child of ours.
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), pid_t(-1));
    EXPECT_EQ(errno, ECHILD);
    EXPECT_EQ(WaitForFile(tree, "args", "<end>\n"), "a b\n/p/version.lis\n<end>\n");
}

TEST(StartDetached, LooksTheProgramUpInPath) {
    TempTree tree;
    RecorderScript(tree);
    ScopedEnv path("PATH", (tree.Root() + ":/usr/bin:/bin").c_str());
    ASSERT_TRUE(platform::StartDetached({"record-args", "x"}));
    EXPECT_EQ(WaitForFile(tree, "args", "<end>\n"), "x\n<end>\n");
}

TEST(StartDetached, FailsForWhatCannotBeStarted) {
    TempTree tree;
    ScopedEnv path("PATH", tree.Root().c_str());
    EXPECT_FALSE(platform::StartDetached({"no-such-editor", "x"}));
    EXPECT_FALSE(platform::StartDetached({tree.Path("missing")}));
    EXPECT_FALSE(platform::StartDetached({tree.Root()}));  // a directory
    EXPECT_FALSE(platform::StartDetached({}));
    EXPECT_FALSE(platform::StartDetached({"/bin/true", std::string("a\0b", 3)}));
}

TEST(SystemEditor, TakesPelkorEditorAndTheListsAbsolutePath) {
    TempTree tree;
    const std::string script = RecorderScript(tree);
    ScopedEnv editor("PELKOR_EDITOR", ("'" + script + "' --new-window").c_str());
    ASSERT_TRUE(platform::SystemEditorLauncher().StartEditor("/d/version.lis"));
    EXPECT_EQ(WaitForFile(tree, "args", "<end>\n"), "--new-window\n/d/version.lis\n<end>\n");

    // A relative install directory named like an option or a command reaches the editor as
    // a path: "+cmd" would be a command to vi, "-x" an option to most editors.
    ::unlink(tree.Path("args").c_str());
    char* old = ::getcwd(nullptr, 0);
    ASSERT_EQ(::chdir(tree.Root().c_str()), 0);
    const bool started = platform::SystemEditorLauncher().StartEditor("+!touch pwned/version.lis");
    ASSERT_EQ(::chdir(old), 0);
    std::free(old);
    ASSERT_TRUE(started);
    EXPECT_EQ(WaitForFile(tree, "args", "<end>\n"),
              "--new-window\n" + tree.Root() + "/+!touch pwned/version.lis\n<end>\n");
}

}  // namespace

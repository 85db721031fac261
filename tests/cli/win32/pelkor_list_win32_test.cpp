// pelkor-list as a real process on Windows: the settings file in the Windows directory, install
// directories no ANSI code page holds, paths beyond MAX_PATH.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "support/list_rules.hpp"
#include "support/pelkor_list_runner.hpp"
#include "support/suite_files.hpp"
#include "support/system.hpp"
#include "support/temp_tree.hpp"
#include "support/win32/windows_settings.hpp"

namespace {

using namespace testing_support;
using ::testing::HasSubstr;

TEST(PelkorListWin32, WithoutADirectoryTheSettingsFileDecides) {
    TempTree suite;
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    const ScopedWindowsSettingsFile settings("[SYSTEM]\r\nPATH=" + suite.Root() + "\\BIN\r\n");
    const auto result = RunCli({});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(suite.ReadFile("version.lis"), SmallSuiteList());
}

// A crafted settings file: HOME holds a NUL, after which a file the list must never touch.
TEST(PelkorListWin32, ASettingsValueEndsAtItsNul) {
    TempTree suite, scratch;
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    scratch.WriteFile("victim.txt", "must stay");
    const ScopedWindowsSettingsFile settings("[SYSTEM]\r\nHOME=" + suite.Root() +
                                             std::string(1, '\0') + scratch.Path("victim.txt") +
                                             "\r\n");
    const auto result = RunCli({});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(scratch.ReadFile("victim.txt"), "must stay");
    EXPECT_EQ(suite.ReadFile("version.lis"), SmallSuiteList());
}

// Japanese install directories, given on the command line and named in messages: the command
// line is read in UTF-16, and stderr carries UTF-8.
TEST(PelkorListWin32, TakesAndNamesJapaneseDirectories) {
    TempTree tree;
    tree.WriteFile("\u30B3\u30DE/bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    tree.MakeDir("\u30B3\u30DE/bin/kplmek.exe");
    const auto result = RunCli({tree.Path("\u30B3\u30DE")});
    EXPECT_EQ(result.exitStatus, 3);
    EXPECT_EQ(result.err, StderrLine(ScanOpenError(tree.Path("\u30B3\u30DE/bin/kplmek.exe"))));
    EXPECT_EQ(tree.ReadFile("\u30B3\u30DE/version.lis"), SmallSuiteList());
}

// An install directory beyond MAX_PATH (260 characters) is listed whole.
TEST(PelkorListWin32, ListsAnInstallDirectoryBeyondMaxPath) {
    TempTree tree;
    std::string deep;
    for (int i = 0; i < 5; ++i) {
        deep += std::string(60, static_cast<char>('a' + i)) + "/";
    }
    tree.WriteFile(deep + "bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    const std::string dir = tree.Path(deep + "suite").substr(0, tree.Path(deep).size() - 1);
    ASSERT_GT(dir.size(), 300u);
    const auto result = RunCli({"--json", dir});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(tree.ReadFile(deep + "version.lis"), SmallSuiteList());
    EXPECT_THAT(result.out, HasSubstr("\"markers\":[\"XKPL-R V2.10\"]"));
}

// A run ended half-way (TerminateProcess, as the Task Manager ends a program) leaves the
// previous list as it was. The run is held at its first message by a stderr pipe that is
// already full, then ended.
TEST(PelkorListWin32, AnEndedRunLeavesThePreviousList) {
    TempTree suite;
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    suite.MakeDir("bin/kplmek.exe");  // its open error is the first message
    suite.WriteFile("version.lis", "the previous list");

    ChildProcess child({PELKOR_LIST_EXE, suite.Root()}, With([](auto& o) { o.holdStderr = true; }));
    // The new list is begun beside the old one before the first file is scanned.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (DirectoryEntries(suite.Root()).size() < 3 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(DirectoryEntries(suite.Root()).size(), 3u)
        << "bin, version.lis and the list being written";
    child.Kill(9);
    const auto result = child.Wait();
    EXPECT_EQ(result.exitStatus, 128 + 9);
    EXPECT_EQ(suite.ReadFile("version.lis"), "the previous list");
}

}  // namespace

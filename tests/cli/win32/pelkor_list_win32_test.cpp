// pelkor-list as a real process on Windows: the settings file in the Windows directory, install
// directories no ANSI code page holds, paths beyond MAX_PATH.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "support/list_rules.hpp"
#include "support/pelkor_list_runner.hpp"
#include "support/suite_files.hpp"
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

}  // namespace

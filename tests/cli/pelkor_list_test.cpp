// pelkor-list as a real process, the same on every system: exit statuses, messages on stderr,
// the printed list and the JSON report as UTF-8 bytes on a pipe, closed standard streams.
// What needs POSIX (pipes, devices, /proc, signals, terminals, mounts, other users) and the
// settings file, which each system keeps elsewhere: posix/ and win32/.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "cli/exit_status_test.hpp"
#include "support/list_rules.hpp"
#include "support/pelkor_list_runner.hpp"
#include "support/process.hpp"
#include "support/strict_json.hpp"
#include "support/suite_files.hpp"
#include "support/system.hpp"
#include "support/temp_tree.hpp"

namespace {

using namespace testing_support;
using ::testing::HasSubstr;

const StatusCase kStatusCases[] = {
    {"Found", [](const TempTree& t) { t.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"})); },
     0, [](const TempTree&) { return std::vector<std::string>{}; }},
    {"NothingFound", [](const TempTree&) {}, 1,
     [](const TempTree&) { return std::vector{std::string(kNothingFound)}; }},
    {"DirectoryUnderAToolsName",
     [](const TempTree& t) {
         t.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
         t.MakeDir("bin/kplmek.exe");
     },
     3, [](const TempTree& t) { return std::vector{ScanOpenError(t.Path("bin/kplmek.exe"))}; }},
    {"ListNameIsDirectory",
     [](const TempTree& t) {
         t.WriteFile("bin/kplr.exe", ToolImage({"X kplr"}));
         t.MakeDir("version.lis");
     },
     2, [](const TempTree& t) { return std::vector{ListCreateError(t.Path("version.lis"))}; }},
};

TEST_P(ExitStatusTest, FinishesWithItsStatusAndOneStderrLinePerMessage) {
    TempTree tree;
    GetParam().make(tree);
    const auto result = RunCli({tree.Root()});
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, GetParam().exitStatus);
    std::string expected;
    for (const auto& message : GetParam().messages(tree)) {
        expected += StderrLine(message);
    }
    EXPECT_EQ(result.err, expected);
    EXPECT_EQ(result.out, "");
}

INSTANTIATE_TEST_SUITE_P(Trees, ExitStatusTest, ::testing::ValuesIn(kStatusCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(PelkorList, FoundWritesTheListByteForByte) {
    TempTree suite;
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    EXPECT_EQ(RunCli({suite.Root()}).exitStatus, 0);
    EXPECT_EQ(suite.ReadFile("version.lis"), SmallSuiteList());
}

TEST(PelkorList, UsageErrorsAreTwo) {
    TempTree scratch;
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"--bogus"}, {"a", "b"}, {"--print", "--json", "x"}}) {
        EXPECT_EQ(RunCli(arguments).exitStatus, 2) << arguments.front();
    }
    // An empty argument, as from a variable never set, would name the root directory.
    const auto empty = RunCli({""}, With([&](auto& o) { o.workingDirectory = scratch.Root(); }));
    EXPECT_EQ(empty.exitStatus, 2);
    EXPECT_THAT(empty.err, HasSubstr("the install directory given is empty"));
    EXPECT_TRUE(std::filesystem::is_empty(FsPath(scratch.Root())));
}

TEST(PelkorList, PrintShowsTheListAsUtf8WithLineFeeds) {
    TempTree suite;
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R \xBA\xDD V2.10"}));
    const auto result = RunCli({"--print", suite.Root() + "/"});
    EXPECT_EQ(result.exitStatus, 0);
    const std::string rule(58, '*');
    EXPECT_EQ(result.out, rule +
                              "\n\n　        ＫＯＭＡ－Ｒシリーズ・バージョンリスト\n"
                              "　　　　  PELKOR.EXE:  V1.2 (8a21)\n\n" +
                              rule +
                              "\n\n#---------< ＫＰＬ－Ｒ プロダクト　バージョン情報 >---------#\n"
                              "  XKPL-R ｺﾝ V2.10\n");
}

TEST(PelkorList, JsonReportsTheRun) {
    TempTree suite;
    suite.WriteFile("gen/lkd1.kpd", OtherDefinition("V1.00", "SH7000"));
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R \xBA\xDD V2.10"}));
    const auto result = RunCli({"--json", suite.Root()});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_TRUE(IsStrictJson(result.out)) << result.out;
    EXPECT_THAT(result.out, HasSubstr("\"outcome\":\"found\""));
    EXPECT_THAT(result.out, HasSubstr("{\"file\":\"lkd1.kpd\",\"readable\":true,\"name\":"
                                      "\"SH7000\",\"version\":\"V1.00\"}"));
    // The marker's Shift-JIS reaches the pipe as UTF-8 bytes, whatever the console's code page.
    EXPECT_THAT(result.out, HasSubstr("\"markers\":[\"XKPL-R \uFF7A\uFF9D V2.10\"]"));
}

// The markers, names and versions are the suite's bytes: whatever they hold, --json prints
// valid UTF-8 JSON. (Names with such bytes, which only POSIX file systems take: posix/.)
TEST(PelkorList, HostileSuiteBytesGiveStrictJson) {
    TempTree tree;
    const std::string marker =
        "X \"quoted\" \\ back\x01\x1f\x7f \x81\x40 \x82 \xff\xfe \xe3\x81\x82 \n\r\t";
    tree.WriteFile("bin/kplr.exe", ToolImage({marker, "X \xef\xbf\xbf\xed\xa0\x80"}));
    tree.WriteFile("gen/lkd1.kpd", OtherDefinition("\x81\x82\x83\xfd", "\xa0\xe0\x80 \"\\="));
    tree.WriteFile("gen/mkd1.kmd", KomaDefinition("\x80\x81\x9f\xfc\x1a", "\xfd\x1a\x0d\x0a"));
    const auto result = RunCli({"--json", tree.Root()});
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_TRUE(IsStrictJson(result.out)) << result.out;
    EXPECT_THAT(result.out, HasSubstr("\"outcome\":\"found\""));
}

TEST(PelkorList, AClosedStderrNeverLetsMessagesIntoTheList) {
    TempTree suite;
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    suite.MakeDir("bin/kplmek.exe");  // gives a message
    const auto result = RunCli({suite.Root()}, With([](auto& o) { o.closeStderr = true; }));
    EXPECT_EQ(result.exitStatus, 3);
    EXPECT_EQ(suite.ReadFile("version.lis"), SmallSuiteList());
}

// Started without stdout, the program writes into the null device and ends as usual.
TEST(PelkorList, AClosedStdoutIsNoFailure) {
    TempTree suite;
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    const auto result =
        RunCli({"--print", suite.Root()}, With([](auto& o) { o.closeStdout = true; }));
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(suite.ReadFile("version.lis"), SmallSuiteList());
}

TEST(PelkorList, HelpAndVersion) {
    const auto help = RunCli({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_THAT(help.out, HasSubstr("Usage: pelkor-list"));
    const auto version = RunCli({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, "pelkor-list V1.2 (8a21)\n");
}

TEST(PelkorList, ListsTheBundledDemoSuite) {
    const auto result = RunCli({"--print", PELKOR_DEMO_SUITE});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(result.out,
                HasSubstr("#----------< ＯＭＦコンバータ　バージョン情報 >----------#"));
    EXPECT_THAT(result.out, HasSubstr("    mkd0001.kmd\t V03.10 \t[SH7604定義体]"));
}

}  // namespace

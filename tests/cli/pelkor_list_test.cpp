// pelkor-list as a real process: exit statuses, messages on stderr, printed list and JSON.
#include <sys/wait.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "support/list_rules.hpp"
#include "support/temp_tree.hpp"

namespace {

using namespace testing_support;
using ::testing::HasSubstr;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs pelkor-list with the arguments and environment prefix given, through the shell.
Result RunCli(const TempTree& scratch, const std::string& arguments, const std::string& env = "") {
    std::string command = env + " " + Quote(PELKOR_LIST_EXE) + " " + arguments + " >" +
                          Quote(scratch.Path("out")) + " 2>" + Quote(scratch.Path("err"));
    Result result;
    int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = scratch.ReadFile("out");
    result.err = scratch.ReadFile("err");
    return result;
}

class PelkorListTest : public ::testing::Test {
protected:
    TempTree suite;
    TempTree scratch;
};

TEST_F(PelkorListTest, FoundIsZeroAndWritesTheList) {
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    Result r = RunCli(scratch, Quote(suite.Root()));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(suite.ReadFile("version.lis"),
              ExpectedBanner() + ExpectedProductHeading(0) + ExpectedMarkerLine("XKPL-R V2.10"));
}

TEST_F(PelkorListTest, NothingFoundIsOneWithTheMessage) {
    Result r = RunCli(scratch, Quote(suite.Root()));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "pelkor-list: 汎用ｸﾛｽｿﾌﾄｳｪｱが見つかりませんでした。\n");
    EXPECT_EQ(suite.ReadFile("version.lis"), ExpectedBanner());
}

TEST_F(PelkorListTest, CreateErrorAndUsageErrorsAreTwo) {
    Result r = RunCli(scratch, Quote(suite.Path("missing")));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "pelkor-list: List File[" + suite.Path("missing/version.lis") + "] Create Error\n");
    EXPECT_EQ(RunCli(scratch, "--bogus").status, 2);
    EXPECT_EQ(RunCli(scratch, "a b").status, 2);
    EXPECT_EQ(RunCli(scratch, "--print --json x").status, 2);
}

TEST_F(PelkorListTest, DiskFullIsTwo) {
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    suite.Symlink("/dev/full", "version.lis");
    Result r = RunCli(scratch, "--print " + Quote(suite.Root()));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_THAT(r.err, HasSubstr("] Write Error"));
}

TEST_F(PelkorListTest, UnreadableSuiteFileIsThreeWithOneLinePerMessage) {
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    suite.MakeDir("bin/kplmek.exe");
    Result r = RunCli(scratch, Quote(suite.Root()));
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "pelkor-list: [" + suite.Path("bin/kplmek.exe") + "] Open Error !!\n");
}

TEST_F(PelkorListTest, PrintShowsTheListAsUtf8WithLineFeeds) {
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R \xBA\xDD V2.10"}));
    Result r = RunCli(scratch, "--print " + Quote(suite.Root() + "/"));
    EXPECT_EQ(r.status, 0);
    std::string rule(58, '*');
    EXPECT_EQ(r.out, rule +
                         "\n\n　        ＫＯＭＡ－Ｒシリーズ・バージョンリスト\n"
                         "　　　　  PELKOR.EXE:  V1.2 (8a21)\n\n" +
                         rule +
                         "\n\n#---------< ＫＰＬ－Ｒ プロダクト　バージョン情報 >---------#\n"
                         "  XKPL-R ｺﾝ V2.10\n");
}

TEST_F(PelkorListTest, JsonReportsTheRun) {
    suite.WriteFile("gen/lkd1.kpd", OtherDefinition("V1.00", "SH7000"));
    Result r = RunCli(scratch, "--json " + Quote(suite.Root()));
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, HasSubstr("\"outcome\":\"found\""));
    EXPECT_THAT(r.out, HasSubstr("{\"file\":\"lkd1.kpd\",\"readable\":true,\"name\":\"SH7000\","
                                 "\"version\":\"V1.00\"}"));
}

TEST_F(PelkorListTest, WithoutADirectoryTheSettingsFileDecides) {
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    scratch.WriteFile("windir/rivazivu.ini", "[SYSTEM]\r\nPATH=" + suite.Root() + "/BIN\r\n");
    Result r = RunCli(scratch, "", "WINDIR=" + Quote(scratch.Path("windir")));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(suite.Exists("version.lis"));
}

TEST_F(PelkorListTest, HelpAndVersion) {
    Result help = RunCli(scratch, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("Usage: pelkor-list"));
    Result version = RunCli(scratch, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "pelkor-list V1.2 (8a21)\n");
}

TEST(PelkorListDemo, ListsTheBundledDemoSuite) {
    TempTree scratch;
    Result r = RunCli(scratch, "--print " + Quote(PELKOR_DEMO_SUITE));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("#----------< ＯＭＦコンバータ　バージョン情報 >----------#"));
    EXPECT_THAT(r.out, HasSubstr("    mkd0001.kmd\t V03.10 \t[SH7604定義体]"));
}

}  // namespace

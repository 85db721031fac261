// pelkor-list as a real process: exit statuses, messages on stderr, the printed list and the
// JSON report, the settings file, and what neither a hostile tree nor a hostile start can
// make it do.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "support/isolation.hpp"
#include "support/list_rules.hpp"
#include "support/process.hpp"
#include "support/run_over.hpp"
#include "support/special_entries.hpp"
#include "support/strict_json.hpp"
#include "support/suite_files.hpp"
#include "support/temp_tree.hpp"

namespace {

using namespace testing_support;
using ::testing::HasSubstr;

// Options with the given fields set.
ProcessOptions With(const std::function<void(ProcessOptions&)>& set) {
    ProcessOptions options;
    set(options);
    return options;
}

ProcessResult RunCli(const std::vector<std::string>& arguments, ProcessOptions options = {}) {
    std::vector<std::string> argv = {PELKOR_LIST_EXE};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return RunProcess(argv, options);
}

// A message as the command line shows it: one line, trailing line feeds and blanks dropped,
// an inner line feed written as "\n".
std::string StderrLine(std::string message) {
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    std::string line = "pelkor-list: ";
    for (char c : message) {
        line += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return line + "\n";
}

std::string SmallSuiteList() {
    return ExpectedBanner() + ExpectedProductHeading(0) + ExpectedMarkerLine("XKPL-R V2.10");
}

struct StatusCase {
    const char* label;
    std::function<void(const TempTree&)> make;
    int exitStatus;
    // The messages in order, given the tree; each is one stderr line.
    std::function<std::vector<std::string>(const TempTree&)> messages;
};

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
    {"FifoToolAmongGoodOnes",
     [](const TempTree& t) {
         t.MakeDir("bin");
         MakeFifo(t.Path("bin/kplr.exe"));
         t.WriteFile("bin/kplmek.exe", ToolImage({"X kplmek"}));
     },
     3, [](const TempTree& t) { return std::vector{ScanOpenError(t.Path("bin/kplr.exe"))}; }},
    {"EndlessDevicesAsToolAndDefinition",
     [](const TempTree& t) {
         t.Symlink("/dev/zero", "bin/kplr.exe");
         t.Symlink("/dev/urandom", "gen/lkd1.kpd");
     },
     3,
     [](const TempTree& t) {
         return std::vector{ScanOpenError(t.Path("bin/kplr.exe")),
                            DefinitionOpenError(t.Path("gen/lkd1.kpd"))};
     }},
    {"ToolReadFails", [](const TempTree& t) { t.Symlink("/proc/self/mem", "bin/kplr.exe"); }, 3,
     [](const TempTree& t) { return std::vector{ScanReadError(t.Path("bin/kplr.exe"))}; }},
    {"ListNameIsDirectory",
     [](const TempTree& t) {
         t.WriteFile("bin/kplr.exe", ToolImage({"X kplr"}));
         t.MakeDir("version.lis");
     },
     2, [](const TempTree& t) { return std::vector{ListCreateError(t.Path("version.lis"))}; }},
    {"OnlyAConverterNamedWithLineFeed",
     [](const TempTree& t) {
         t.MakeDir("bin");
         MakeFifo(t.Path("bin/komf\nx.exe"));
     },
     1,
     [](const TempTree& t) {
         return std::vector{ScanOpenError(t.Path("bin/komf\nx.exe")), std::string(kNothingFound)};
     }},
};

class ExitStatusTest : public ::testing::TestWithParam<StatusCase> {};

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
    EXPECT_TRUE(std::filesystem::is_empty(scratch.Root()));
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

// Markers and file names are the suite's bytes: on a terminal their control characters are
// shown, never obeyed; redirected, --print and the list file keep them as they are.
TEST(PelkorList, ControlCharactersReachNoTerminalRaw) {
    TempTree suite;
    const std::string marker = "XKPL \x1b]0;pwned\x07\x1b[2J";
    suite.WriteFile("bin/kplr.exe", ToolImage({marker}));
    suite.MakeDir("bin/komf\x1b[31m.exe");

    const auto terminal =
        RunCli({"--print", suite.Root()}, With([](auto& o) { o.stdoutIsTerminal = true; }));
    EXPECT_EQ(terminal.exitStatus, 3);
    EXPECT_THAT(terminal.out, HasSubstr("  XKPL \\x1b]0;pwned\\x07\\x1b[2J\n"));
    EXPECT_EQ(terminal.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(terminal.err,
              "pelkor-list: [" + suite.Path("bin/komf") + "\\x1b[31m.exe] Open Error !!\n");

    const auto piped = RunCli({"--print", suite.Root()});
    EXPECT_THAT(piped.out, HasSubstr("  " + marker + "\n"));
    EXPECT_THAT(suite.ReadFile("version.lis"), HasSubstr(ExpectedMarkerLine(marker)));
}

TEST(PelkorList, JsonReportsTheRun) {
    TempTree suite;
    suite.WriteFile("gen/lkd1.kpd", OtherDefinition("V1.00", "SH7000"));
    const auto result = RunCli({"--json", suite.Root()});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_THAT(result.out, HasSubstr("\"outcome\":\"found\""));
    EXPECT_THAT(result.out, HasSubstr("{\"file\":\"lkd1.kpd\",\"readable\":true,\"name\":"
                                      "\"SH7000\",\"version\":\"V1.00\"}"));
}

// Whatever bytes the markers, names and versions hold, --json prints valid UTF-8 JSON.
TEST(PelkorList, HostileBytesGiveStrictJson) {
    TempTree tree;
    const std::string marker =
        "X \"quoted\" \\ back\x01\x1f\x7f \x81\x40 \x82 \xff\xfe \xe3\x81\x82 \n\r\t";
    tree.WriteFile("bin/kplr.exe", ToolImage({marker, "X \xef\xbf\xbf\xed\xa0\x80"}));
    tree.WriteFile("gen/lkd\xff\n\".kpd",
                   OtherDefinition("\x81\x82\x83\xfd", "\xa0\xe0\x80 \"\\="));
    tree.WriteFile("gen/mkd1.kmd", KomaDefinition("\x80\x81\x9f\xfc\x1a", "\xfd\x1a\x0d\x0a"));
    tree.MakeDir("bin/komf\xc0\xaf.exe");
    const auto result = RunCli({"--json", tree.Root()});
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 3);
    EXPECT_TRUE(IsStrictJson(result.out)) << result.out;
    EXPECT_THAT(result.out, HasSubstr("\"outcome\":\"found\""));
}

TEST(PelkorList, WithoutADirectoryTheSettingsFileDecides) {
    TempTree suite, scratch;
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    scratch.WriteFile("windir/rivazivu.ini", "[SYSTEM]\r\nPATH=" + suite.Root() + "/BIN\r\n");
    const auto result =
        RunCli({}, With([&](auto& o) { o.extraEnv = {"WINDIR=" + scratch.Path("windir")}; }));
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(suite.ReadFile("version.lis"), SmallSuiteList());
}

// A crafted settings file: HOME holds a NUL, after which a file the list must never touch.
TEST(PelkorList, ASettingsValueEndsAtItsNul) {
    TempTree suite, scratch;
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    scratch.WriteFile("victim.txt", "must stay");
    scratch.WriteFile("windir/rivazivu.ini", "[SYSTEM]\nHOME=" + suite.Root() +
                                                 std::string(1, '\0') + scratch.Path("victim.txt") +
                                                 "\n");
    const auto result =
        RunCli({}, With([&](auto& o) { o.extraEnv = {"WINDIR=" + scratch.Path("windir")}; }));
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(scratch.ReadFile("victim.txt"), "must stay");
    EXPECT_EQ(suite.ReadFile("version.lis"), SmallSuiteList());
}

// A pipe, or a link to an endless device, under the settings file's name is passed over like a
// missing file: the run neither hangs nor runs out of memory, and takes the next place.
TEST(PelkorList, ASettingsFileThatIsNoFileIsPassedOver) {
    TempTree suite, scratch;
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    scratch.WriteFile("config/rivazivu.ini", "[SYSTEM]\nHOME=" + suite.Root() + "\n");
    scratch.MakeDir("fifo");
    MakeFifo(scratch.Path("fifo/rivazivu.ini"));
    scratch.Symlink("/dev/zero", "zero/rivazivu.ini");
    for (const char* windir : {"fifo", "zero"}) {
        ::unlink(suite.Path("version.lis").c_str());
        const auto result = RunCli({}, With([&](auto& o) {
                                       o.extraEnv = {"WINDIR=" + scratch.Path(windir),
                                                     "XDG_CONFIG_HOME=" + scratch.Path("config")};
                                       o.timeoutSeconds = 20;
                                   }));
        ASSERT_FALSE(result.timedOut) << windir;
        EXPECT_EQ(result.exitStatus, 0) << windir << result.err;
        EXPECT_EQ(suite.ReadFile("version.lis"), SmallSuiteList()) << windir;
    }
}

// With stderr closed, the list would take descriptor 2 and with it every message.
TEST(PelkorList, AClosedStderrNeverLetsMessagesIntoTheList) {
    TempTree suite;
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    suite.MakeDir("bin/kplmek.exe");  // gives a message
    const auto result = RunCli({suite.Root()}, With([](auto& o) { o.closeStderr = true; }));
    EXPECT_EQ(result.exitStatus, 3);
    EXPECT_EQ(suite.ReadFile("version.lis"), SmallSuiteList());
}

// A run killed half-way leaves the previous list as it was. The run is held at its first
// message by a stderr pipe that is already full, then killed.
TEST(PelkorList, AKilledRunLeavesThePreviousList) {
    TempTree suite;
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    suite.MakeDir("bin/kplmek.exe");  // its open error is the first message
    suite.WriteFile("version.lis", "the previous list");
    int full[2];
    ASSERT_EQ(::pipe2(full, O_NONBLOCK | O_CLOEXEC), 0);
    const std::string stuffing(4096, 's');
    while (::write(full[1], stuffing.data(), stuffing.size()) > 0) {
    }
    ::fcntl(full[1], F_SETFL, 0);  // the child blocks on it

    ChildProcess child({PELKOR_LIST_EXE, suite.Root()},
                       With([&](auto& o) { o.stderrFd = full[1]; }));
    // The new list is begun beside the old one before the first file is scanned.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    auto entries = [&] {
        std::size_t n = 0;
        for (auto it = std::filesystem::directory_iterator(suite.Root());
             it != std::filesystem::directory_iterator(); ++it) {
            ++n;
        }
        return n;
    };
    while (entries() < 3 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(entries(), 3u) << "bin, version.lis and the list being written";
    child.Kill(SIGKILL);
    const auto result = child.Wait();
    ::close(full[0]);
    ::close(full[1]);
    EXPECT_EQ(result.signal, SIGKILL);
    EXPECT_EQ(suite.ReadFile("version.lis"), "the previous list");
}

// A run told to terminate removes the list it had begun; the previous one stays.
TEST(PelkorList, ATerminatedRunLeavesNoTemporaryFile) {
    TempTree suite;
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    suite.MakeDir("bin/kplmek.exe");
    suite.WriteFile("version.lis", "the previous list");
    int full[2];
    ASSERT_EQ(::pipe2(full, O_NONBLOCK | O_CLOEXEC), 0);
    const std::string stuffing(4096, 's');
    while (::write(full[1], stuffing.data(), stuffing.size()) > 0) {
    }
    ::fcntl(full[1], F_SETFL, 0);
    ChildProcess child({PELKOR_LIST_EXE, suite.Root()},
                       With([&](auto& o) { o.stderrFd = full[1]; }));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::distance(std::filesystem::directory_iterator(suite.Root()),
                         std::filesystem::directory_iterator()) < 3 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    child.Kill(SIGTERM);
    const auto result = child.Wait();
    ::close(full[0]);
    ::close(full[1]);
    EXPECT_EQ(result.signal, SIGTERM);
    EXPECT_EQ(suite.ReadFile("version.lis"), "the previous list");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(suite.Root()),
                            std::filesystem::directory_iterator()),
              2);
}

// The disk fills up under the list: status 2, the write error, and the previous list kept.
TEST(PelkorList, AFullDiskIsTwoAndKeepsThePreviousList) {
    TempTree tree;
    tree.MakeDir("suite");
    const std::string suite = tree.Path("suite");
    const auto run = RunIsolated(
        [&] {
            std::string why = EnterPrivateMounts();
            return why.empty() ? MountSmallTmpfs(suite, 64 * 1024) : why;
        },
        [&] {
            WriteFileBytes(suite + "/version.lis", "the previous list");
            std::filesystem::create_directories(suite + "/bin");
            WriteFileBytes(suite + "/bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
            const int fd = ::open((suite + "/filler").c_str(), O_WRONLY | O_CREAT, 0644);
            const std::string chunk(4096, 'f');
            while (fd >= 0 && ::write(fd, chunk.data(), chunk.size()) > 0) {
            }
            ::close(fd);
            const auto result = RunCli({"--print", suite});
            return std::to_string(result.exitStatus) + "\n" + result.out + result.err +
                   StoredBytes(suite + "/version.lis") + "\n" +
                   std::to_string(std::distance(std::filesystem::directory_iterator(suite),
                                                std::filesystem::directory_iterator()));
        });
    if (!run.available) {
        GTEST_SKIP() << "no small file system here (" << run.why << ")";
    }
    EXPECT_EQ(run.reply,
              "2\n" + StderrLine(ListWriteError(suite + "/version.lis")) + "the previous list\n3");
}

// A tool of 1 TiB that holds a few KiB on disk is passed through at once.
TEST(PelkorList, ASparseToolOfATebibyteIsListed) {
    TempTree suite;
    suite.MakeDir("bin");
    const std::int64_t size = std::int64_t{1} << 40;
    MakeSparseFile(suite.Path("bin/kplr.exe"), size,
                   {{0, MarkerBytes("XFIRST")}, {size - 64, MarkerBytes("XAFTER THE HOLE")}});
    const auto result = RunCli({suite.Root()}, With([](auto& o) { o.timeoutSeconds = 60; }));
    ASSERT_FALSE(result.timedOut) << "the holes were read";
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(suite.ReadFile("version.lis"), ExpectedBanner() + ExpectedProductHeading(0) +
                                                 ExpectedMarkerLine("XFIRST") +
                                                 ExpectedMarkerLine("XAFTER THE HOLE"));
}

// bin there but unreadable: the suite may well be there, so nothing found is no answer.
TEST(PelkorList, AnUnreadableBinIsThreeNotNothingFound) {
    TempTree suite;
    suite.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    ::chmod(suite.Root().c_str(), 0777);
    ::chmod(suite.Path("bin").c_str(), 0311);
    const auto run = RunIsolated(BecomeNobody, [&] {
        const auto result = RunCli({suite.Root()});
        return std::to_string(result.exitStatus) + "\n" + result.err;
    });
    if (!run.available) {
        GTEST_SKIP() << "no unprivileged user here (" << run.why << ")";
    }
    EXPECT_EQ(run.reply, "3\n" + StderrLine(ScanOpenError(suite.Path("bin"))) +
                             StderrLine(std::string(kNothingFound)));
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

// pelkor-list as a real process on POSIX: pipes, devices and /proc in the tree, names with
// control bytes, a terminal, signals, a full disk, another user, and the settings file found
// through $WINDIR.
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

#include "cli/exit_status_test.hpp"
#include "support/list_rules.hpp"
#include "support/pelkor_list_runner.hpp"
#include "support/posix/isolation.hpp"
#include "support/posix/special_entries.hpp"
#include "support/process.hpp"
#include "support/run_over.hpp"
#include "support/strict_json.hpp"
#include "support/suite_files.hpp"
#include "support/temp_tree.hpp"

namespace {

using namespace testing_support;
using ::testing::HasSubstr;

// The cases only a POSIX tree can hold; the test is ExitStatusTest of pelkor_list_test.cpp.
const StatusCase kPosixStatusCases[] = {
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

INSTANTIATE_TEST_SUITE_P(PosixTrees, ExitStatusTest, ::testing::ValuesIn(kPosixStatusCases),
                         [](const auto& info) { return std::string(info.param.label); });

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

}  // namespace

// Runs on POSIX that need what only POSIX has: names differing in letter case only, links,
// another user; and the settings file found through $WINDIR.
#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/paths.hpp"
#include "support/list_rules.hpp"
#include "support/posix/isolation.hpp"
#include "support/run_over.hpp"
#include "support/suite_files.hpp"
#include "support/temp_tree.hpp"
#include "support/test_file_system.hpp"
#include "versionlist/version_list.hpp"

namespace {

using namespace testing_support;
using ::testing::ElementsAre;
using versionlist::RunOutcome;

class VersionListPosixTest : public ::testing::Test {
protected:
    RunOutcome Run() {
        const auto run = RunOver(tree.Root(), files);
        messages = run.messages;
        return run.outcome;
    }
    std::string List() const { return tree.ReadFile("version.lis"); }

    TempTree tree;
    TestFileSystem files;
    std::vector<std::string> messages;
};

// Of several entries a tool's name matches, the first regular file is the tool: a broken link
// or an empty directory beside it must not hide it.
TEST_F(VersionListPosixTest, TheFirstRegularFileOfSeveralMatchesIsTheTool) {
    tree.Symlink(tree.Path("nowhere"), "bin/KPLR.EXE");  // first in search order, dangling
    tree.MakeDir("bin/Kplr.exe");
    tree.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    tree.MakeDir("bin/KOMAR.EXE");  // only matches that are no regular file: the first counts
    tree.Symlink(tree.Path("nowhere"), "bin/komar.exe");
    EXPECT_EQ(Run(), RunOutcome::kFound);
    EXPECT_EQ(List(), ExpectedBanner() + ExpectedProductHeading(0) +
                          ExpectedMarkerLine("XKPL-R V2.10") + ExpectedProductHeading(1));
    EXPECT_THAT(messages, ElementsAre(ScanOpenError(tree.Path("bin/KOMAR.EXE"))));
}

// bin or gen there but unreadable is no empty directory: it is reported once, and the run goes
// on with what it can read. Root reads everything, so the run is made as user nobody.
TEST(UnreadableDirectories, AreReportedOnceAndCountAsReadFailures) {
    TempTree tree;
    tree.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    tree.WriteFile("gen/lkd1.kpd", OtherDefinition("V1", "SH"));
    tree.WriteFile("gen/tkd1.ktd", OtherDefinition("V2", "TUN"));
    ::chmod(tree.Root().c_str(), 0777);
    ::chmod(tree.Path("bin").c_str(), 0311);  // searchable by name, not listable
    const auto isolated = testing_support::RunIsolated(testing_support::BecomeNobody, [&] {
        const auto run = RunOver(tree.Root());
        std::string reply = std::to_string(static_cast<int>(run.outcome)) +
                            (run.result.readFailures ? " read" : "") +
                            (run.result.searchFailures ? " search" : "") + "\n";
        for (const auto& message : run.messages) {
            reply += message;
        }
        return reply + run.list;
    });
    if (!isolated.available) {
        GTEST_SKIP() << "no unprivileged user here (" << isolated.why << ")";
    }
    EXPECT_EQ(isolated.reply,
              std::to_string(static_cast<int>(RunOutcome::kFound)) + " read search\n" +
                  ScanOpenError(tree.Path("bin")) + ExpectedBanner() + ExpectedProductHeading(0) +
                  ExpectedDefinitionLine("lkd1.kpd", "V1", "SH") + ExpectedProductHeading(2) +
                  ExpectedDefinitionLine("tkd1.ktd", "V2", "TUN"));
}

TEST(FindInstallDir, TakesHomeThenPathThenTheCurrentDirectory) {
    TempTree tree;
    ScopedEnv windir("WINDIR", tree.Root().c_str());
    ScopedEnv xdg("XDG_CONFIG_HOME", tree.Path("none").c_str());
    tree.WriteFile("rivazivu.ini", "[SYSTEM]\nHOME=/opt/koma/bin\nPATH=/other/bin\n");
    EXPECT_EQ(versionlist::FindInstallDir(), "/opt/koma/bin");  // HOME unchanged
    tree.WriteFile("rivazivu.ini", "[SYSTEM]\nHOME=\nPATH=/opt/koma/Bin\n");
    EXPECT_EQ(versionlist::FindInstallDir(), "/opt/koma");
    tree.WriteFile("rivazivu.ini", "[SYSTEM]\nPATH=/bin\n");
    EXPECT_EQ(versionlist::FindInstallDir(), "");  // the current directory is not consulted
    tree.WriteFile("rivazivu.ini", "[OTHER]\nHOME=/x\n");
    EXPECT_EQ(versionlist::FindInstallDir(), platform::CurrentDirectory());
}

}  // namespace

// The list file in hostile places every system has: a directory under its name, an install
// directory that is missing or no directory, a disk that fills up, a close that fails. A new
// list replaces the old one only when it is complete; otherwise the old one stays as it was.
// (Pipes, sockets, devices, links, mounts and permissions: posix/.)
#include <gtest/gtest.h>

#include <functional>

#include "platform/paths.hpp"
#include "support/list_rules.hpp"
#include "support/run_over.hpp"
#include "support/suite_files.hpp"
#include "support/system.hpp"
#include "support/temp_tree.hpp"
#include "support/test_file_system.hpp"

namespace {

using testing_support::ExpectedBanner;
using testing_support::ExpectedMarkerLine;
using testing_support::ExpectedProductHeading;
using testing_support::TempTree;
using versionlist::RunOutcome;

void WriteSmallSuite(const TempTree& tree) {
    tree.WriteFile("bin/kplr.exe", testing_support::ToolImage({"X kplr 1.00"}));
}

// How many entries a directory holds.
std::size_t EntriesBeside(const std::string& dir) {
    return testing_support::DirectoryEntries(dir).size();
}

struct CreateCase {
    const char* label;
    std::function<void(const TempTree&)> make;
    std::string installDir;  // relative to the tree; "" for the tree itself
};

const CreateCase kCreateCases[] = {
    {"ListNameIsDirectory", [](const TempTree& t) { t.WriteFile("version.lis/inside", "kept"); },
     ""},
    {"InstallDirMissing", [](const TempTree&) {}, "absent"},
    {"InstallDirIsRegularFile", [](const TempTree& t) { t.WriteFile("plain", "x"); }, "plain"},
};

class ListCreateTest : public testing::TestWithParam<CreateCase> {};

TEST_P(ListCreateTest, ReportsCreateErrorAndReadsNothing) {
    TempTree tree;
    WriteSmallSuite(tree);
    GetParam().make(tree);
    const std::string installDir =
        GetParam().installDir.empty() ? tree.Root() : tree.Path(GetParam().installDir);
    const std::size_t entriesBefore = EntriesBeside(tree.Root());
    testing_support::TestFileSystem files;

    auto result = testing_support::RunOver(installDir, files);

    EXPECT_EQ(result.outcome, RunOutcome::kCreateFailed);
    EXPECT_EQ(result.messages, std::vector<std::string>{testing_support::ListCreateError(
                                   installDir + platform::kPathSeparator + "version.lis")});
    EXPECT_TRUE(files.readLogs.empty()) << "no suite file is read when there is no list";
    EXPECT_EQ(EntriesBeside(tree.Root()), entriesBefore) << "a file was left or removed";
    if (tree.Exists("version.lis")) {
        EXPECT_EQ(tree.ReadFile("version.lis/inside"), "kept");
    }
}

INSTANTIATE_TEST_SUITE_P(HostilePlaces, ListCreateTest, testing::ValuesIn(kCreateCases),
                         [](const auto& info) { return std::string(info.param.label); });

// Failures root cannot provoke with permissions, made through the file system seam while
// every other operation stays real.
TEST(ListFileSeam, UnwritableInstallDirGivesCreateError) {
    TempTree tree;
    WriteSmallSuite(tree);
    testing_support::TestFileSystem files;
    files.failCreate = true;

    auto result = testing_support::RunOver(tree.Root(), files);

    EXPECT_EQ(result.outcome, RunOutcome::kCreateFailed);
    EXPECT_EQ(result.messages,
              std::vector<std::string>{testing_support::ListCreateError(tree.Path("version.lis"))});
    EXPECT_FALSE(tree.Exists("version.lis"));
}

TEST(ListFileSeam, DiskFillingMidwayKeepsThePreviousList) {
    TempTree tree;
    WriteSmallSuite(tree);
    tree.WriteFile("version.lis", "the previous list");
    testing_support::TestFileSystem files;
    files.writeLimit = 100;

    auto result = testing_support::RunOver(tree.Root(), files);

    EXPECT_EQ(result.outcome, RunOutcome::kWriteFailed);
    EXPECT_EQ(result.messages,
              std::vector<std::string>{testing_support::ListWriteError(tree.Path("version.lis"))});
    EXPECT_EQ(result.list, "the previous list");
    EXPECT_EQ(EntriesBeside(tree.Root()), 2u) << "bin, version.lis and nothing else";
}

TEST(ListFileSeam, FailedCloseGivesWriteErrorAndKeepsThePreviousList) {
    TempTree tree;
    WriteSmallSuite(tree);
    tree.WriteFile("version.lis", "the previous list");
    testing_support::TestFileSystem files;
    files.failClose = true;

    auto result = testing_support::RunOver(tree.Root(), files);

    EXPECT_EQ(result.outcome, RunOutcome::kWriteFailed);
    EXPECT_EQ(result.messages,
              std::vector<std::string>{testing_support::ListWriteError(tree.Path("version.lis"))});
    EXPECT_EQ(result.list, "the previous list");
    EXPECT_EQ(EntriesBeside(tree.Root()), 2u);
}

}  // namespace

// The directory search on POSIX: every entry type, the case-insensitive platform's matching
// and order done by the program itself, and directories that cannot be read.
#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/dir_search.hpp"
#include "support/posix/isolation.hpp"
#include "support/temp_tree.hpp"

namespace {

using ::testing::ElementsAre;
using testing_support::TempTree;

TEST(DirSearch, FindsEveryEntryTypeWithoutRegardToCaseInFoldedOrder) {
    TempTree tree;
    tree.WriteFile("gen/lkd_b.kpd", "");
    tree.WriteFile("gen/LKD_A.KPD", "");
    tree.WriteFile("gen/lkd_a.kpd", "");
    tree.MakeDir("gen/lkd_dir.kpd");
    tree.Symlink("/nonexistent", "gen/lkd_link.kpd");
    tree.WriteFile("gen/other.kpd", "");
    EXPECT_THAT(platform::FindMatches(tree.Path("gen/lkd*.kpd")).names,
                ElementsAre("LKD_A.KPD", "lkd_a.kpd", "lkd_b.kpd", "lkd_dir.kpd", "lkd_link.kpd"));
}

TEST(DirSearch, FoldsToUpperCaseBeforeComparing) {
    TempTree tree;
    // "_" (0x5F) sorts after upper-case letters but before lower-case ones.
    tree.WriteFile("bin/komf_x.exe", "");
    tree.WriteFile("bin/komfa.exe", "");
    EXPECT_THAT(platform::FindMatches(tree.Path("bin/komf*.exe")).names,
                ElementsAre("komfa.exe", "komf_x.exe"));
}

// A directory that is there but cannot be read is a failure, not an empty directory. Root
// reads everything, so the search runs as user nobody.
TEST(DirSearch, ADirectoryThatCannotBeReadIsAFailure) {
    TempTree tree;
    tree.WriteFile("bin/kplr.exe", "");
    ASSERT_EQ(::chmod(tree.Root().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(tree.Path("bin").c_str(), 0311), 0);  // searchable, not readable
    const auto run = testing_support::RunIsolated(testing_support::BecomeNobody, [&] {
        const auto result = platform::FindMatches(tree.Path("bin/kplr.exe"));
        return std::string(result.failed ? "failed" : "searched") + " " +
               std::to_string(result.names.size());
    });
    if (!run.available) {
        GTEST_SKIP() << "no unprivileged user here (" << run.why << ")";
    }
    EXPECT_EQ(run.reply, "failed 0");
}

TEST(DirSearch, TellsLinksByWhatTheyLeadTo) {
    TempTree tree;
    tree.WriteFile("file", "");
    tree.Symlink(tree.Path("file"), "link");
    tree.Symlink(tree.Path("nowhere"), "dangling");
    EXPECT_TRUE(platform::IsRegularFile(tree.Path("link")));
    EXPECT_FALSE(platform::IsRegularFile(tree.Path("dangling")));
    EXPECT_FALSE(platform::IsRegularFile("/dev/null"));
}

}  // namespace

// Wildcard matching and directory search as the suite's case-insensitive platform does them.
#include "platform/dir_search.hpp"

#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

#include "support/isolation.hpp"
#include "support/temp_tree.hpp"

namespace {

using ::testing::ElementsAre;
using testing_support::TempTree;

struct MatchCase {
    std::string_view pattern;
    std::string_view name;
    bool matches;
    // Keeps test names short: the case is named, not dumped.
    friend void PrintTo(const MatchCase& c, std::ostream* os) { *os << c.pattern << " " << c.name; }
};

class WildcardMatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(WildcardMatchTest, Matches) {
    EXPECT_EQ(platform::WildcardMatch(GetParam().pattern, GetParam().name), GetParam().matches)
        << GetParam().pattern << " vs " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WildcardMatchTest,
    ::testing::Values(
        MatchCase{"kplr.exe", "kplr.exe", true}, MatchCase{"kplr.exe", "KPLR.EXE", true},
        MatchCase{"kplr.exe", "kplr.exe2", false}, MatchCase{"kowist", "kowist.exe", false},
        MatchCase{"komf*.exe", "komf.exe", true}, MatchCase{"komf*.exe", "KOMF86.Exe", true},
        MatchCase{"komf*.exe", "komf86.exe.bak", false}, MatchCase{"lkd*.kpd", "lkd*.kpd", true},
        MatchCase{"lkd?.kpd", "lkd1.kpd", true}, MatchCase{"lkd?.kpd", "lkd.kpd", false},
        // "?" stands for one character, a multi-byte UTF-8 one included.
        MatchCase{"lkd?.kpd", "lkd\u5B9A.kpd", true}, MatchCase{"*", "anything", true},
        MatchCase{"a*b*c", "aXbYbZc", true}, MatchCase{"a*b*c", "aXbYbZ", false},
        // Only ASCII letters fold; other bytes compare exactly.
        MatchCase{"\u00E9.exe", "\u00C9.exe", false}));

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

TEST(DirSearch, MatchesNothingWhereThereIsNothingToMatch) {
    TempTree tree;
    tree.WriteFile("bin/kplr.exe", "");
    EXPECT_TRUE(platform::FindMatches(tree.Path("bin/")).names.empty());
    EXPECT_TRUE(platform::FindMatches(tree.Path("bin/*")).names.size() == 1);
    EXPECT_TRUE(platform::FindMatches(tree.Path("bin/.*")).names.empty());  // never "." or ".."
    // A directory that is not there is no failure: there is simply nothing in it.
    for (const char* missing : {"missing/kplr.exe", "bin/kplr.exe/x"}) {
        const auto result = platform::FindMatches(tree.Path(missing));
        EXPECT_TRUE(result.names.empty()) << missing;
        EXPECT_FALSE(result.failed) << missing;
    }
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

TEST(DirSearch, TellsRegularFilesFromEverythingElse) {
    TempTree tree;
    tree.WriteFile("file", "");
    tree.Symlink(tree.Path("file"), "link");
    tree.MakeDir("dir");
    tree.Symlink(tree.Path("nowhere"), "dangling");
    EXPECT_TRUE(platform::IsRegularFile(tree.Path("file")));
    EXPECT_TRUE(platform::IsRegularFile(tree.Path("link")));
    EXPECT_FALSE(platform::IsRegularFile(tree.Path("dir")));
    EXPECT_FALSE(platform::IsRegularFile(tree.Path("dangling")));
    EXPECT_FALSE(platform::IsRegularFile("/dev/null"));
    EXPECT_FALSE(platform::IsRegularFile(tree.Path("file") + std::string(1, '\0') + "x"));
}

}  // namespace

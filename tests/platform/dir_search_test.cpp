// Wildcard matching, and the directory search where every system behaves alike. The order and
// letter case of the results, and entries only POSIX systems have: posix/ and win32/.
#include "platform/dir_search.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

#include "support/temp_tree.hpp"

namespace {

using ::testing::UnorderedElementsAre;
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

// Files and directories alike; the order is the system's (posix/, win32/).
TEST(DirSearch, FindsFilesAndDirectoriesByTheLastComponent) {
    TempTree tree;
    tree.WriteFile("gen/lkd1.kpd", "");
    tree.MakeDir("gen/lkd2.kpd");
    tree.WriteFile("gen/other.kpd", "");
    tree.WriteFile("gen/lkd3.kpdx", "");
    tree.WriteFile("lkd4.kpd", "");  // not in the directory searched
    EXPECT_THAT(platform::FindMatches(tree.Path("gen/lkd?.kpd")).names,
                UnorderedElementsAre("lkd1.kpd", "lkd2.kpd"));
}

TEST(DirSearch, MatchesNothingWhereThereIsNothingToMatch) {
    TempTree tree;
    tree.WriteFile("bin/kplr.exe", "");
    EXPECT_TRUE(platform::FindMatches(tree.Path("bin/")).names.empty());
    EXPECT_TRUE(platform::FindMatches(tree.Path("bin/*")).names.size() == 1);
    EXPECT_TRUE(platform::FindMatches(tree.Path("bin/.*")).names.empty());  // never "." or ".."
    // A directory that is not there is no failure: there is simply nothing in it.
    for (const char* missing : {"missing/kplr.exe", "bin/kplr.exe/x", "missing/*"}) {
        const auto result = platform::FindMatches(tree.Path(missing));
        EXPECT_TRUE(result.names.empty()) << missing;
        EXPECT_FALSE(result.failed) << missing;
    }
}

TEST(DirSearch, TellsRegularFilesFromEverythingElse) {
    TempTree tree;
    tree.WriteFile("file", "");
    tree.MakeDir("dir");
    EXPECT_TRUE(platform::IsRegularFile(tree.Path("file")));
    EXPECT_FALSE(platform::IsRegularFile(tree.Path("dir")));
    EXPECT_FALSE(platform::IsRegularFile(tree.Path("missing")));
    EXPECT_FALSE(platform::IsRegularFile(tree.Path("file") + std::string(1, '\0') + "x"));
}

}  // namespace

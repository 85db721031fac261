// The directory search on Windows: the system's own matching (8.3 aliases included), letter
// case and order, "/" as a separator, long and Japanese names.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/dir_search.hpp"
#include "support/temp_tree.hpp"
#include "support/win32/wide_text.hpp"

namespace {

using ::testing::ElementsAre;
using testing_support::TempTree;
using testing_support::Utf8Text;
using testing_support::WideText;

// What FindFirstFileW itself lists for pattern, "." and ".." left out.
std::vector<std::string> SystemListing(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = ::FindFirstFileW(WideText(pattern).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(Utf8Text(name));
        }
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    return names;
}

// Names come in the file system's order, not sorted by the program, in their letter case as
// stored. NTFS, and Wine, order them by their upper-case UTF-16 form: "_" (0x5F) after the
// letters, "É" (U+00C9) after every ASCII letter, kanji last.
TEST(DirSearchWin32, GivesTheFileSystemsOrderAndStoredCase) {
    TempTree tree;
    for (const char* name :
         {"lkd_\u5B9A.kpd", "Lkd_b.kpd", "lkd__.kpd", "LKD_C.KPD", "lkd_\u00E9.kpd", "lkd_A.kpd"}) {
        tree.WriteFile(std::string("gen/") + name, "");
    }
    const auto result = platform::FindMatches(tree.Path("gen/lkd*.kpd"));
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.names, SystemListing(tree.Path("gen/lkd*.kpd")));
    EXPECT_THAT(result.names, ElementsAre("lkd_A.kpd", "Lkd_b.kpd", "LKD_C.KPD", "lkd__.kpd",
                                          "lkd_\u00E9.kpd", "lkd_\u5B9A.kpd"));
}

TEST(DirSearchWin32, MatchesWithoutRegardToCaseAndNeverListsDotEntries) {
    TempTree tree;
    tree.WriteFile("bin/KPLR.EXE", "");
    tree.WriteFile("bin/Komf86.Exe", "");
    EXPECT_THAT(platform::FindMatches(tree.Path("bin/kplr.exe")).names, ElementsAre("KPLR.EXE"));
    EXPECT_THAT(platform::FindMatches(tree.Path("bin/KOMF*.EXE")).names, ElementsAre("Komf86.Exe"));
    EXPECT_THAT(platform::FindMatches(tree.Path("bin/*")).names,
                ElementsAre("Komf86.Exe", "KPLR.EXE"));
    EXPECT_TRUE(platform::FindMatches(tree.Path("bin/.*")).names.empty());
}

// A name also matches through its 8.3 alias, where the file system makes one: "lkd*.kpd"
// finds "lkd0002.kpdx", whose alias ends in ".KPD". The search is the system's, so the run
// takes up what the system's own programs would.
TEST(DirSearchWin32, MatchesThroughTheShortNameAsTheSystemDoes) {
    TempTree tree;
    const std::vector<std::string> names = {"lkd0001.kpd", "lkd0002.kpdx", "lkd0003.kpd.bak",
                                            "xlkd0004.kpd"};
    std::vector<std::string> expected;
    for (const auto& name : names) {
        tree.WriteFile("gen/" + name, "");
        wchar_t shortPath[MAX_PATH];
        const DWORD n =
            ::GetShortPathNameW(WideText(tree.Path("gen/" + name)).c_str(), shortPath, MAX_PATH);
        const std::string shortName =
            n > 0 && n < MAX_PATH ? Utf8Text(std::wstring(shortPath, n)) : std::string();
        const std::string alias = shortName.substr(shortName.find_last_of('\\') + 1);
        if (platform::WildcardMatch("lkd*.kpd", name) ||
            platform::WildcardMatch("lkd*.kpd", alias)) {
            expected.push_back(name);
        }
    }
    EXPECT_EQ(platform::FindMatches(tree.Path("gen/lkd*.kpd")).names, expected);
    EXPECT_THAT(expected, ::testing::Contains("lkd0001.kpd"));
    EXPECT_THAT(expected, ::testing::Not(::testing::Contains("xlkd0004.kpd")));
}

// "/" separates components as "\" does, in any mix.
TEST(DirSearchWin32, TakesForwardSlashesAsSeparators) {
    TempTree tree;
    tree.WriteFile("bin/kplr.exe", "");
    EXPECT_THAT(platform::FindMatches(tree.Root() + "/bin/kplr.exe").names,
                ElementsAre("kplr.exe"));
    EXPECT_THAT(platform::FindMatches(tree.Root() + "\\bin/k*.exe").names, ElementsAre("kplr.exe"));
    EXPECT_TRUE(platform::FindMatches(tree.Root() + "/bin/").names.empty());
}

// Beyond MAX_PATH (260 characters) the search still finds the names, Japanese ones included.
TEST(DirSearchWin32, SearchesPathsLongerThanMaxPathAndJapaneseNames) {
    TempTree tree;
    std::string deep;
    for (int i = 0; i < 5; ++i) {
        deep += std::string(60, static_cast<char>('a' + i)) + "/";
    }
    tree.WriteFile(deep + "gen/lkd\u5B9A\u7FA9.kpd", "");
    tree.WriteFile(deep + "gen/\u30BD\u30D5\u30C8.kpd", "");
    const std::string pattern = tree.Path(deep + "gen/*.kpd");
    ASSERT_GT(pattern.size(), std::size_t{MAX_PATH});
    const auto result = platform::FindMatches(pattern);
    EXPECT_FALSE(result.failed);
    EXPECT_THAT(result.names, ElementsAre("lkd\u5B9A\u7FA9.kpd", "\u30BD\u30D5\u30C8.kpd"));
    EXPECT_TRUE(platform::IsRegularFile(tree.Path(deep + "gen/lkd\u5B9A\u7FA9.kpd")));
    // The same long path written with "/" and ".." resolves as the system resolves it.
    EXPECT_THAT(platform::FindMatches(tree.Root() + "/" + deep + "gen/../gen/lkd*.kpd").names,
                ElementsAre("lkd\u5B9A\u7FA9.kpd"));
}

TEST(DirSearchWin32, TellsDevicesAndLinksFromRegularFiles) {
    TempTree tree;
    tree.WriteFile("file", "");
    EXPECT_FALSE(platform::IsRegularFile("NUL"));
    EXPECT_FALSE(platform::IsRegularFile("\\\\.\\NUL"));
    tree.MakeDir("dir");
    EXPECT_FALSE(platform::IsRegularFile(tree.Path("COM1.txt")));  // a device in any directory
    EXPECT_TRUE(platform::IsRegularFile(tree.Path("file")));
    // Symbolic links, where the system makes them (Wine reports success and makes none).
    const auto makeLink = [&](const char* link, const char* target, DWORD flags) {
        return ::CreateSymbolicLinkW(WideText(tree.Path(link)).c_str(),
                                     WideText(tree.Path(target)).c_str(),
                                     flags | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
               ::GetFileAttributesW(WideText(tree.Path(link)).c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    if (!makeLink("link", "file", 0)) {
        GTEST_SKIP() << "no symbolic links here";
    }
    ASSERT_TRUE(makeLink("dangling", "nowhere", 0));
    ASSERT_TRUE(makeLink("dirlink", "dir", SYMBOLIC_LINK_FLAG_DIRECTORY));
    EXPECT_TRUE(platform::IsRegularFile(tree.Path("link")));
    EXPECT_FALSE(platform::IsRegularFile(tree.Path("dangling")));
    EXPECT_FALSE(platform::IsRegularFile(tree.Path("dirlink")));
}

}  // namespace

// The words of an editor command, split as a POSIX shell splits them: the same rules on every
// system. The editor each system starts, and how: posix/ and win32/.
#include "platform/editor.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using Words = std::vector<std::string>;

struct WordsCase {
    const char* label;
    std::string command;
    Words words;
    friend void PrintTo(const WordsCase& c, std::ostream* os) { *os << c.label; }
};

class SplitCommandWordsTest : public ::testing::TestWithParam<WordsCase> {};

TEST_P(SplitCommandWordsTest, SplitsAsAShellDoes) {
    EXPECT_EQ(platform::SplitCommandWords(GetParam().command), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SplitCommandWordsTest,
    ::testing::Values(
        WordsCase{"Empty", "", {}}, WordsCase{"BlanksOnly", " \t\n ", {}},
        WordsCase{"OneWord", "gedit", {"gedit"}},
        WordsCase{"RunsOfSeparators", "  emacs \t-nw\n--x  ", {"emacs", "-nw", "--x"}},
        WordsCase{
            "SingleQuotesKeepBlanksAndBackslashes", "'my editor' 'a\\b'", {"my editor", "a\\b"}},
        WordsCase{"DoubleQuotesWithEscapes", "\"a b\" \"q\\\"x\" \"\\n\"", {"a b", "q\"x", "\\n"}},
        WordsCase{"BackslashOutsideQuotes", "a\\ b c", {"a b", "c"}},
        WordsCase{"QuotesJoinWithNeighbours", "x'y z'\"w\"", {"xy zw"}},
        WordsCase{"EmptyQuotesMakeAnEmptyWord", "e ''", {"e", ""}},
        WordsCase{"UnclosedQuoteRunsToTheEnd", "e 'a b", {"e", "a b"}},
        WordsCase{"TrailingBackslashDropped", "e\\", {"e"}}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace

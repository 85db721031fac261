// Conversions between UTF-8 and Shift-JIS (CP932): the characters every system's table maps
// alike. Where glibc's iconv and Windows' own table differ: posix/ and win32/.
#include "platform/cp932.hpp"
#include "platform/cp932_test.hpp"
#include "platform/utf8.hpp"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using testing_support::Cp932Case;
using testing_support::Utf8ToCp932Test;

TEST_P(Utf8ToCp932Test, Converts) {
    EXPECT_EQ(platform::Utf8ToCp932(GetParam().from), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToCp932Test,
    ::testing::Values(Cp932Case{"Ascii", "kplr.exe", "kplr.exe"},
                      Cp932Case{"IdeographicSpace", "\u3000", "\x81\x40"},
                      // The full-width hyphen of the display names is 0x817C in CP932.
                      Cp932Case{"FullWidthHyphen", "\uFF0D", "\x81\x7C"},
                      // The tilde of Windows' table; iconv maps it too.
                      Cp932Case{"FullWidthTilde", "\uFF5E", "\x81\x60"},
                      Cp932Case{"HalfWidthKatakana", "\uFF8A\uFF9E", "\xCA\xDE"},
                      Cp932Case{"Kanji", "\u5B9A\u7FA9\u4F53", "\x92\xE8\x8B\x60\x91\xCC"},
                      // Characters the code page lacks become one question mark each.
                      Cp932Case{"Unmappable", "a\u00E9b\U0001F600c", "a?b?c"},
                      // A name that is not UTF-8 at all is kept byte for byte.
                      Cp932Case{"InvalidUtf8", "ab\xFF\xFE", "ab\xFF\xFE"},
                      Cp932Case{"Empty", "", ""},
                      // A NUL is a character like any other: kept, and the text converted whole.
                      Cp932Case{"EmbeddedNul", std::string_view("\u30BD\0\u30BD", 7),
                                std::string_view("\x83\x5C\0\x83\x5C", 5)}),
    [](const auto& info) { return std::string(info.param.name); });

class Cp932ToUtf8Test : public ::testing::TestWithParam<Cp932Case> {};

TEST_P(Cp932ToUtf8Test, Converts) {
    EXPECT_EQ(platform::Cp932ToUtf8(GetParam().from), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cp932ToUtf8Test,
    ::testing::Values(Cp932Case{"Ascii", "XKPL-R V2.10", "XKPL-R V2.10"},
                      Cp932Case{"DoubleByte", "\x82\x6A\x81\x7C", "\uFF2B\uFF0D"},
                      Cp932Case{"HalfWidthKatakana", "\xBA\xDD", "\uFF7A\uFF9D"},
                      Cp932Case{"LeadByteAtEnd", "ab\x82", "ab\uFFFD"},
                      // An unusable trail byte is read again on its own.
                      Cp932Case{"LeadWithoutTrail", "\x81 x", "\uFFFD x"},
                      Cp932Case{"UndefinedByte",
                                "a\xFF"
                                "b",
                                "a\uFFFDb"},
                      Cp932Case{"EmbeddedNul", std::string_view("a\0b", 3),
                                std::string_view("a\0b", 3)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8, ValidityAndSanitizing) {
    EXPECT_TRUE(platform::IsValidUtf8("ＫＯＭＡ－Ｒ"));
    EXPECT_FALSE(platform::IsValidUtf8("\xC0\xAF"));      // overlong
    EXPECT_FALSE(platform::IsValidUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(platform::IsValidUtf8("\xE3\x81"));      // cut short
    EXPECT_EQ(platform::SanitizeUtf8("a\xFF\xE3\x81"
                                     "b"),
              "a\uFFFD\uFFFD\uFFFDb");
    EXPECT_EQ(platform::SanitizeUtf8("定義体"), "定義体");
}

}  // namespace

// CP932 as glibc's iconv maps it, where Windows' own table differs (README, "Shift-JIS").
#include <gtest/gtest.h>

#include <ostream>

#include "platform/cp932.hpp"

namespace {

struct Case {
    const char* name;
    std::string_view from;
    std::string_view to;
    friend void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }
};

class IconvUtf8ToCp932Test : public ::testing::TestWithParam<Case> {};

TEST_P(IconvUtf8ToCp932Test, Converts) {
    EXPECT_EQ(platform::Utf8ToCp932(GetParam().from), GetParam().to);
}

// iconv also takes the characters that older Shift-JIS tables give for these bytes.
INSTANTIATE_TEST_SUITE_P(Cases, IconvUtf8ToCp932Test,
                         ::testing::Values(Case{"WaveDash", "\u301C", "\x81\x60"},
                                           Case{"MinusSign", "\u2212", "\x81\x7C"},
                                           Case{"YenSign", "\u00A5", "\x5C"},
                                           Case{"Overline", "\u203E", "\x7E"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IconvCp932ToUtf8, Byte0x80IsNoCharacter) {
    EXPECT_EQ(platform::Cp932ToUtf8("a\x80z"), "a\uFFFDz");
}

}  // namespace

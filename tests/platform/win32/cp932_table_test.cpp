// CP932 as Windows' own table maps it (WideCharToMultiByte and MultiByteToWideChar with code
// page 932), where glibc's iconv differs (README, "Shift-JIS").
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

class SystemUtf8ToCp932Test : public ::testing::TestWithParam<Case> {};

TEST_P(SystemUtf8ToCp932Test, Converts) {
    EXPECT_EQ(platform::Utf8ToCp932(GetParam().from), GetParam().to);
}

// Windows' table has one character for each of these bytes, and no best fit is made: a yen
// sign never becomes a backslash byte, nor a wave dash the tilde.
INSTANTIATE_TEST_SUITE_P(Cases, SystemUtf8ToCp932Test,
                         ::testing::Values(Case{"WaveDash", "\u301C", "?"},
                                           Case{"MinusSign", "\u2212", "?"},
                                           Case{"YenSign", "\u00A5", "?"},
                                           Case{"Overline", "\u203E", "?"},
                                           Case{"ParallelTo", "\u2225", "\x81\x61"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SystemCp932ToUtf8, Byte0x80IsU0080) {
    EXPECT_EQ(platform::Cp932ToUtf8("a\x80z"), "a\u0080z");
}

}  // namespace

// CP932 as glibc's iconv maps it, where Windows' own table differs (README, "Shift-JIS").
#include <gtest/gtest.h>

#include <ostream>

#include "platform/cp932.hpp"
#include "platform/cp932_test.hpp"

namespace {

using testing_support::Cp932Case;
using testing_support::Utf8ToCp932Test;

INSTANTIATE_TEST_SUITE_P(Iconv, Utf8ToCp932Test,
                         ::testing::Values(Cp932Case{"WaveDash", "\u301C", "\x81\x60"},
                                           Cp932Case{"MinusSign", "\u2212", "\x81\x7C"},
                                           Cp932Case{"YenSign", "\u00A5", "\x5C"},
                                           Cp932Case{"Overline", "\u203E", "\x7E"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IconvCp932ToUtf8, Byte0x80IsNoCharacter) {
    EXPECT_EQ(platform::Cp932ToUtf8("a\x80z"), "a\uFFFDz");
}

}  // namespace

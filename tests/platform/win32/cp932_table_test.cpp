// CP932 as Windows' own table maps it (WideCharToMultiByte and MultiByteToWideChar with code
// page 932), where glibc's iconv differs (README, "Shift-JIS").
#include <gtest/gtest.h>

#include <ostream>

#include "platform/cp932.hpp"
#include "platform/cp932_test.hpp"

namespace {

using testing_support::Cp932Case;
using testing_support::Utf8ToCp932Test;

INSTANTIATE_TEST_SUITE_P(SystemTable, Utf8ToCp932Test,
                         ::testing::Values(Cp932Case{"WaveDash", "\u301C", "?"},
                                           Cp932Case{"MinusSign", "\u2212", "?"},
                                           Cp932Case{"YenSign", "\u00A5", "?"},
                                           Cp932Case{"Overline", "\u203E", "?"},
                                           Cp932Case{"ParallelTo", "\u2225", "\x81\x61"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SystemCp932ToUtf8, Byte0x80IsU0080) {
    EXPECT_EQ(platform::Cp932ToUtf8("a\x80z"), "a\u0080z");
}

}  // namespace

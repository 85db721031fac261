// UTF-8 to CP932 as one table: the characters every system's table maps alike are instantiated
// in cp932_test.cpp, those where glibc's iconv and Windows' own table differ beside each
// system's tests; the test itself is written once.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string_view>

namespace testing_support {

struct Cp932Case {
    const char* name;
    std::string_view from;
    std::string_view to;
    // Keeps test names short: the case is named, not dumped.
    friend void PrintTo(const Cp932Case& c, std::ostream* os) { *os << c.name; }
};

class Utf8ToCp932Test : public ::testing::TestWithParam<Cp932Case> {};

}  // namespace testing_support

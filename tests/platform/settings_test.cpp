// The suite's settings file read as INI text, by the rules of the suite's platform: the
// program's own reader, which POSIX systems use. Where the file is looked for, and Windows'
// own profile functions: posix/ and win32/.
#include "platform/settings.hpp"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using namespace std::string_view_literals;

struct IniCase {
    const char* name;
    std::string_view text;
    std::string_view value;  // of SYSTEM/HOME
    // Keeps test names short: the case is named, not dumped.
    friend void PrintTo(const IniCase& c, std::ostream* os) { *os << c.name; }
};

class ProfileStringTest : public ::testing::TestWithParam<IniCase> {};

TEST_P(ProfileStringTest, ReadsTheValue) {
    EXPECT_EQ(platform::ProfileString(GetParam().text, "SYSTEM", "HOME"), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileStringTest,
    ::testing::Values(IniCase{"Plain", "[SYSTEM]\nHOME=/opt/koma\n", "/opt/koma"},
                      IniCase{"CrLfLines", "[SYSTEM]\r\nHOME=/opt/koma\r\n", "/opt/koma"},
                      IniCase{"NamesWithoutRegardToCase", "[system]\nhome=/a\n", "/a"},
                      IniCase{"BlanksAroundRemoved", "[ SYSTEM ]\n  HOME  =   /a b  \n", "/a b"},
                      IniCase{"OnePairOfQuotesRemoved", "[SYSTEM]\nHOME=\"\"/a\"\"\n", "\"/a\""},
                      IniCase{"CommentLinesIgnored", "[SYSTEM]\n;HOME=/x\nHOME=/y\n", "/y"},
                      IniCase{"OtherSectionIgnored", "[OTHER]\nHOME=/x\n[SYSTEM]\nPATH=/p\n", ""},
                      IniCase{"FirstOccurrenceCounts", "[SYSTEM]\nHOME=/1\nHOME=/2\n", "/1"},
                      IniCase{"EmptyValue", "[SYSTEM]\nHOME=\n", ""},
                      IniCase{"EqualsInValue", "[SYSTEM]\nHOME=a=b\n", "a=b"},
                      IniCase{"NoFinalNewline", "[SYSTEM]\nHOME=/z", "/z"},
                      // A value is a C string to whoever reads it: it ends at its first NUL.
                      IniCase{"ValueEndsAtNul", "[SYSTEM]\nHOME=/tmp/victim.txt\0/x\n"sv,
                              "/tmp/victim.txt"},
                      IniCase{"QuotedValueEndsAtNul", "[SYSTEM]\nHOME=\"/a\0b\"\n"sv, "/a"},
                      IniCase{"ValueOfNulOnlyIsEmpty", "[SYSTEM]\nHOME=\0/x\n"sv, ""},
                      // A key standing alone is the key with an empty value.
                      IniCase{"BareKeyShadowsALaterOne", "[SYSTEM]\nHOME\nHOME=/b\n", ""},
                      // Without its closing bracket a line is no section header.
                      IniCase{"SectionNeedsItsBracket", "[SYSTEM\nHOME=/x\n", ""},
                      IniCase{"UnclosedHeaderEndsNoSection", "[SYSTEM]\n[OTHER\nHOME=/x\n", "/x"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

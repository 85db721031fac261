// Decoding of the name and version fields of definition headers, both layouts.
#include "versionlist/definition_header.hpp"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using namespace std::string_literals;

struct NameCase {
    const char* name;
    std::size_t category;
    std::string delivered;
    std::string expected;
    // Keeps test names short: the case is named, not dumped.
    friend void PrintTo(const NameCase& c, std::ostream* os) { *os << c.name; }
};

class DefinitionNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(DefinitionNameTest, TakesTheName) {
    EXPECT_EQ(versionlist::DefinitionName(GetParam().category, GetParam().delivered),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DefinitionNameTest,
    ::testing::Values(
        // ＫＯＭＡ－Ｒ layout: eight bytes up to the first blank.
        NameCase{"KomaEightCharacters", 1, "SH7604AB", "SH7604AB"},
        NameCase{"KomaBlankEndsIt", 1, "V850 XYZ", "V850"},
        NameCase{"KomaShortRead", 1, "H8", "H8"},
        NameCase{"KomaNulCopied", 1, "AB\0CD   "s, "AB\0CD"s},
        NameCase{"KomaNothingDelivered", 1, "", ""},
        // Other layouts.
        NameCase{"NameBlankEquals", 2, "TUNER-SH = tuning set", "TUNER-SH"},
        NameCase{"LeadingBlanksAndEqualsSkipped", 2, " == = TUNER", "TUNER"},
        NameCase{"TwoBlanksBeforeEqualsKeepOne", 2, "TUNER  = x", "TUNER "},
        NameCase{"EqualsWithoutBlank", 3, "FEL=x", "FEL"},
        NameCase{"BlanksInsideStay", 4, "WOH SET A\0rest"s, "WOH SET A"},
        NameCase{"RemarkKeptOutsideCategory0", 2, "SH7000 (std)\0"s, "SH7000 (std)"},
        NameCase{"RemarkEndsCategory0", 0, "SH7000 (std)\0"s, "SH7000 "},
        NameCase{"ParenthesisFirstInCategory0", 0, "(remark)", ""},
        NameCase{"OnlyBlanksAndEquals", 5, "  ==  = ", ""}, NameCase{"NulEndsIt", 5, "\0ABC"s, ""},
        NameCase{"LfFromCrLfKept", 2, "AB\nCD\0"s, "AB\nCD"},
        NameCase{"AllThirtyTwoBytes", 2, std::string(32, 'N'), std::string(32, 'N')},
        NameCase{"TrailingBlankOfTheFieldStays", 2, std::string(31, 'N') + " ",
                 std::string(31, 'N') + " "}),
    [](const auto& info) { return std::string(info.param.name); });

struct VersionCase {
    const char* name;
    std::size_t category;
    std::string delivered;
    std::string expected;
    // Keeps test names short: the case is named, not dumped.
    friend void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.name; }
};

class DefinitionVersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(DefinitionVersionTest, TakesTheVersion) {
    EXPECT_EQ(versionlist::DefinitionVersion(GetParam().category, GetParam().delivered),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DefinitionVersionTest,
    ::testing::Values(VersionCase{"KomaDigits", 1, "0310" + std::string(12, 'z'), "V03.10"},
                      VersionCase{"KomaOneZeroZero", 1, "0100", "V01.00"},
                      VersionCase{"KomaShortRead", 1, "01", "V01.??"},
                      VersionCase{"KomaNothing", 1, "", "V??.??"},
                      VersionCase{"NulTerminated", 2, "V2.01\0SH7000"s, "V2.01"},
                      VersionCase{"SevenCharacters", 0, "V1.23.4\0"s, "V1.23.4"},
                      VersionCase{"NoNulInTheFirstEight", 3, "V1.2345678NAME", "V1.23456"},
                      VersionCase{"ShortReadWithoutNul", 4, "V1", "V1"},
                      VersionCase{"Empty", 5, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DefinitionFields, StandWhereTheLayoutsPutThem) {
    EXPECT_EQ(versionlist::NameField(1).offset, 48);
    EXPECT_EQ(versionlist::NameField(1).count, 8u);
    for (std::size_t category : {0u, 2u, 3u, 4u, 5u}) {
        EXPECT_EQ(versionlist::NameField(category).offset, 64);
        EXPECT_EQ(versionlist::NameField(category).count, 32u);
    }
    EXPECT_EQ(versionlist::kVersionField.offset, 56);
    EXPECT_EQ(versionlist::kVersionField.count, 16u);
}

}  // namespace

// Decoding of the name and version fields of definition headers, both layouts.
#include "versionlist/definition_header.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/test_file_system.hpp"
#include "versionlist/readers.hpp"

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

// The definition line a header gives, read through the reader itself.
struct LineSink final : versionlist::RunSink {
    void DefinitionLine(std::string_view, std::string_view v, std::string_view n) override {
        version = v;
        name = n;
    }
    std::string version = "(none)";
    std::string name = "(none)";
};

LineSink ReadHeader(const std::string& bytes, std::size_t category) {
    testing_support::TestFileSystem files;
    files.memoryFiles["/gen/d"] = bytes;
    LineSink sink;
    versionlist::ReadDefinitionHeader(files, sink, "d", "/gen/", category);
    return sink;
}

// Every byte of the header differs, so only the right offsets and sizes give these texts.
TEST(DefinitionFields, AreReadWhereTheLayoutsPutThem) {
    std::string header(128, '=');
    header.replace(40, 8, "BEFORE48");
    header.replace(48, 8, "KOMANAME");
    header.replace(56, 8, "0310V1.2");
    header[63] = '\0';  // ends the version text of the other layout
    header.replace(64, 32, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
    header.replace(96, 8, "AFTER+96");

    const LineSink koma = ReadHeader(header, 1);
    EXPECT_EQ(koma.name, "KOMANAME");
    EXPECT_EQ(koma.version, "V03.10");
    for (std::size_t category : {0u, 2u, 3u, 4u, 5u}) {
        const LineSink other = ReadHeader(header, category);
        EXPECT_EQ(other.name, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345") << category;
        EXPECT_EQ(other.version, "0310V1.") << category;
    }
}

}  // namespace

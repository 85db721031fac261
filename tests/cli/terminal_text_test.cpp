// Text for a terminal: control characters shown as escapes, a message as one line.
#include "cli/terminal_text.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct EscapeCase {
    const char* label;
    std::string text;
    std::string shown;
    friend void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.label; }
};

class EscapeControlsTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeControlsTest, ShowsControlCharactersAsEscapes) {
    EXPECT_EQ(cli::EscapeControls(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, EscapeControlsTest,
    ::testing::Values(EscapeCase{"PlainTextStays", "XKPL-R ｺﾝﾊﾟｲﾗ V2.10", "XKPL-R ｺﾝﾊﾟｲﾗ V2.10"},
                      EscapeCase{"TabAndLineFeedStay", "a\tb\nc", "a\tb\nc"},
                      EscapeCase{"EscapeSequence", "\x1b[2Jx", "\\x1b[2Jx"},
                      EscapeCase{"BellCarriageReturnNul", std::string("\a\r\0", 3),
                                 "\\x07\\x0d\\x00"},
                      EscapeCase{"Delete", "\x7f", "\\x7f"},
                      // U+009B is a control sequence introducer to many terminals.
                      EscapeCase{"C1Characters",
                                 "\xc2\x9b"
                                 "2J\xc2\x80",
                                 "\\u009b2J\\u0080"},
                      EscapeCase{"LatinAboveC1Stays", "\xc2\xa0\xc3\xa9", "\xc2\xa0\xc3\xa9"},
                      EscapeCase{"InvalidBytesStay", "\xff\xfe", "\xff\xfe"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(MessageLine, IsOneLineNamingTheProgram) {
    EXPECT_EQ(cli::MessageLine("pelkor-list", "[/a/b] Open Error !!\n"),
              "pelkor-list: [/a/b] Open Error !!\n");
    EXPECT_EQ(cli::MessageLine("pelkor-list", " [/a\nb\x1b] Read Error !! \n"),
              "pelkor-list:  [/a\\nb\\x1b] Read Error !!\n");
}

}  // namespace

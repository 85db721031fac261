// The settings file on Windows: the Windows directory's rivazivu.ini, read by the system's own
// GetPrivateProfileStringW. The program's own INI reader (used elsewhere) reads the same texts
// the same way.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/settings.hpp"
#include "support/win32/windows_settings.hpp"

namespace {

using namespace std::string_view_literals;
using testing_support::ScopedWindowsSettingsFile;

struct IniCase {
    const char* name;
    std::string_view text;
    // Keeps test names short: the case is named, not dumped.
    friend void PrintTo(const IniCase& c, std::ostream* os) { *os << c.name; }
};

class SystemProfileStringTest : public ::testing::TestWithParam<IniCase> {};

// The value the system reads from the file is the value the program's reader takes from its
// text.
TEST_P(SystemProfileStringTest, AgreesWithTheProgramsReader) {
    const ScopedWindowsSettingsFile file(GetParam().text);
    for (const char* key : {"HOME", "PATH"}) {
        EXPECT_EQ(platform::ReadProfileString("rivazivu.ini", "SYSTEM", key),
                  platform::ProfileString(GetParam().text, "SYSTEM", key))
            << key;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SystemProfileStringTest,
    ::testing::Values(
        IniCase{"Plain", "[SYSTEM]\r\nHOME=C:\\KOMA\r\nPATH=C:\\KOMA\\BIN\r\n"},
        IniCase{"LfLines", "[SYSTEM]\nHOME=C:\\KOMA\n"},
        IniCase{"NamesWithoutRegardToCase", "[system]\r\nhome=C:\\a\r\nPath=C:\\p\r\n"},
        IniCase{"BlanksAroundRemoved", "[SYSTEM]\r\n  HOME  =   C:\\a b  \r\n"},
        IniCase{"OnePairOfQuotesRemoved", "[SYSTEM]\r\nHOME=\"C:\\KOMA R\"\r\n"},
        IniCase{"CommentLinesIgnored", "[SYSTEM]\r\n;HOME=C:\\x\r\nHOME=C:\\y\r\n"},
        IniCase{"OtherSectionIgnored", "[OTHER]\r\nHOME=C:\\x\r\n[SYSTEM]\r\nPATH=C:\\p\r\n"},
        IniCase{"FirstOccurrenceCounts", "[SYSTEM]\r\nHOME=C:\\1\r\nHOME=C:\\2\r\n"},
        IniCase{"EmptyValue", "[SYSTEM]\r\nHOME=\r\nPATH=C:\\p\\bin\r\n"},
        IniCase{"ValueEndsAtNul", "[SYSTEM]\r\nHOME=C:\\suite\0C:\\victim.txt\r\nPATH=C:\\p\r\n"sv},
        IniCase{"BareKeyShadowsALaterOne", "[SYSTEM]\r\nHOME\r\nHOME=C:\\b\r\n"},
        IniCase{"SectionNeedsItsBracket", "[SYSTEM\r\nHOME=C:\\x\r\n"},
        IniCase{"NoSuchSection", "[OTHER]\r\nHOME=C:\\x\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// The buffer grows until the value fits: no length cuts a value short.
TEST(SystemProfileString, ReadsLongValuesWhole) {
    const std::string value = "C:\\" + std::string(5000, 'k');
    const ScopedWindowsSettingsFile file("[SYSTEM]\r\nHOME=" + value + "\r\n");
    EXPECT_EQ(platform::ReadProfileString("rivazivu.ini", "SYSTEM", "HOME"), value);
}

// Japanese in a UTF-16 settings file reaches the program whole, whatever the ANSI code page.
TEST(SystemProfileString, ReadsJapaneseFromAUnicodeFile) {
    const ScopedWindowsSettingsFile file(
        testing_support::Utf16SettingsText("[SYSTEM]\r\nHOME=C:\\\u30B3\u30DE\u30FB\u30BD\r\n"));
    EXPECT_EQ(platform::ReadProfileString("rivazivu.ini", "SYSTEM", "HOME"),
              "C:\\\u30B3\u30DE\u30FB\u30BD");
}

TEST(FindSettingsFileWin32, IsTheWindowsDirectorysRegularFileOnly) {
    {
        const ScopedWindowsSettingsFile file("[SYSTEM]\r\nHOME=C:\\KOMA\r\n");
        EXPECT_EQ(platform::FindSettingsFile("rivazivu.ini"), file.Path());
        EXPECT_EQ(platform::FindSettingsFile("RIVAZIVU.INI").has_value(), true);
    }
    {
        const ScopedWindowsSettingsFile nothing("", ScopedWindowsSettingsFile::Kind::kNothing);
        EXPECT_EQ(platform::FindSettingsFile("rivazivu.ini"), std::nullopt);
        EXPECT_EQ(platform::ReadProfileString("rivazivu.ini", "SYSTEM", "HOME"), "");
    }
    const ScopedWindowsSettingsFile directory("", ScopedWindowsSettingsFile::Kind::kDirectory);
    EXPECT_EQ(platform::FindSettingsFile("rivazivu.ini"), std::nullopt);
    EXPECT_EQ(platform::ReadProfileString("rivazivu.ini", "SYSTEM", "HOME"), "");
}

}  // namespace

// The suite's settings file: where it is found and how values are read.
#include "platform/settings.hpp"

#include <unistd.h>

#include <gtest/gtest.h>

#include <ostream>

#include "support/temp_tree.hpp"

namespace {

using testing_support::ScopedEnv;
using testing_support::TempTree;

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
                      IniCase{"NoFinalNewline", "[SYSTEM]\nHOME=/z", "/z"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FindSettingsFile, LooksInWindirThenConfigHomeThenEtc) {
    TempTree tree;
    tree.WriteFile("windir/RIVAZIVU.INI", "[SYSTEM]\nHOME=/from/windir\n");
    tree.WriteFile("config/rivazivu.ini", "[SYSTEM]\nHOME=/from/config\n");
    {
        ScopedEnv windir("WINDIR", tree.Path("windir").c_str());
        ScopedEnv xdg("XDG_CONFIG_HOME", tree.Path("config").c_str());
        EXPECT_EQ(platform::FindSettingsFile("rivazivu.ini"), tree.Path("windir/RIVAZIVU.INI"));
        EXPECT_EQ(platform::ReadProfileString("rivazivu.ini", "SYSTEM", "HOME"), "/from/windir");
    }
    {
        ScopedEnv windir("WINDIR", tree.Path("nothing-here").c_str());
        ScopedEnv xdg("XDG_CONFIG_HOME", tree.Path("config").c_str());
        EXPECT_EQ(platform::ReadProfileString("rivazivu.ini", "SYSTEM", "HOME"), "/from/config");
    }
    {
        ScopedEnv windir("WINDIR", nullptr);
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        ScopedEnv home("HOME", tree.Root().c_str());
        tree.WriteFile(".config/rivazivu.ini", "[SYSTEM]\nHOME=/from/home\n");
        EXPECT_EQ(platform::ReadProfileString("rivazivu.ini", "SYSTEM", "HOME"), "/from/home");
    }
}

TEST(CurrentDirectory, IsReadWhole) {
    TempTree tree;
    std::string deep = tree.Root();
    std::string relative;
    for (int i = 0; i < 12; ++i) {
        relative += std::string(i == 0 ? "" : "/") + std::string(40, static_cast<char>('a' + i));
    }
    tree.MakeDir(relative);
    char* old = ::getcwd(nullptr, 0);
    ASSERT_EQ(::chdir(tree.Path(relative).c_str()), 0);
    std::string cwd = platform::CurrentDirectory();
    ASSERT_EQ(::chdir(old), 0);
    std::free(old);
    EXPECT_GT(cwd.size(), 400u);
    EXPECT_EQ(cwd, tree.Path(relative));
}

}  // namespace

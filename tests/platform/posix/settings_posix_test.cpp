// The suite's settings file on POSIX: looked for in $WINDIR, the configuration directories and
// /etc, only a regular file taken, read within fixed limits.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "platform/settings.hpp"
#include "support/posix/special_entries.hpp"
#include "support/temp_tree.hpp"

namespace {

using testing_support::ScopedEnv;
using testing_support::TempTree;

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

// Whatever else stands under the settings file's name is passed over like a missing file, and
// the search goes on to the next place: nothing there can hang or exhaust the program.
TEST(FindSettingsFile, TakesOnlyARegularFile) {
    TempTree tree;
    tree.WriteFile("config/rivazivu.ini", "[SYSTEM]\nHOME=/from/config\n");
    ScopedEnv xdg("XDG_CONFIG_HOME", tree.Path("config").c_str());
    const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> kinds = {
        {"fifo", [](const std::string& p) { testing_support::MakeFifo(p); }},
        {"directory", [&](const std::string& p) { std::filesystem::create_directories(p); }},
        {"socket", [](const std::string& p) { testing_support::MakeSocket(p); }},
        {"link to /dev/zero",
         [](const std::string& p) { ASSERT_EQ(::symlink("/dev/zero", p.c_str()), 0); }},
    };
    for (const auto& [label, make] : kinds) {
        const std::string windir = tree.Path(std::string("windir-") + label);
        std::filesystem::create_directories(windir);
        make(windir + "/rivazivu.ini");
        ScopedEnv env("WINDIR", windir.c_str());
        EXPECT_EQ(platform::FindSettingsFile("rivazivu.ini"), tree.Path("config/rivazivu.ini"))
            << label;
        EXPECT_EQ(platform::ReadProfileString("rivazivu.ini", "SYSTEM", "HOME"), "/from/config")
            << label;
    }
    // Of two spellings in one place, the regular file counts.
    tree.MakeDir("both/RIVAZIVU.INI");
    tree.WriteFile("both/rivazivu.ini", "[SYSTEM]\nHOME=/from/both\n");
    ScopedEnv env("WINDIR", tree.Path("both").c_str());
    EXPECT_EQ(platform::ReadProfileString("rivazivu.ini", "SYSTEM", "HOME"), "/from/both");
}

// Memory stays bounded whatever the file's size: it is read line by line, a line keeps at most
// kSettingsLineLimit bytes, and nothing after kSettingsReadLimit bytes is read.
TEST(ReadProfileString, ReadsAHugeFileWithinItsLimits) {
    TempTree tree;
    ScopedEnv windir("WINDIR", tree.Root().c_str());
    const std::string path = tree.Path("rivazivu.ini");
    const long before = testing_support::PeakResidentKiB();

    // 1 GiB without a single line feed, then the key: far beyond what is read.
    testing_support::MakeSparseFile(
        path, std::int64_t{1} << 30,
        {{0, "[SYSTEM]\n"}, {(std::int64_t{1} << 30) - 20, "\nHOME=/late\n"}});
    EXPECT_EQ(platform::ReadProfileString("rivazivu.ini", "SYSTEM", "HOME"), "");

    // Just within the limit, the key is found after a line far longer than a line may be.
    const auto within = static_cast<std::int64_t>(platform::kSettingsReadLimit) - 64;
    ASSERT_EQ(::truncate(path.c_str(), 0), 0);
    testing_support::MakeSparseFile(path, within + 64,
                                    {{0, "[SYSTEM]\n"}, {within - 20, "\nHOME=/within\n"}});
    EXPECT_EQ(platform::ReadProfileString("rivazivu.ini", "SYSTEM", "HOME"), "/within");

    // A value longer than a line may be keeps the line's first bytes.
    tree.WriteFile("rivazivu.ini", "[SYSTEM]\nHOME=/" + std::string(200000, 'v') + "\n");
    const std::string value = platform::ReadProfileString("rivazivu.ini", "SYSTEM", "HOME");
    EXPECT_EQ(value, "/" + std::string(platform::kSettingsLineLimit - 6, 'v'));

    EXPECT_LT(testing_support::PeakResidentKiB() - before, 32 * 1024);
}

}  // namespace

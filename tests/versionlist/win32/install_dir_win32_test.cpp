// The install directory proposed on Windows: HOME of the Windows directory's rivazivu.ini,
// else its PATH without a final "\bin", else the current directory.
#include <gtest/gtest.h>

#include "platform/paths.hpp"
#include "support/win32/windows_settings.hpp"
#include "versionlist/version_list.hpp"

namespace {

using testing_support::ScopedWindowsSettingsFile;
using testing_support::Utf16SettingsText;

TEST(FindInstallDirWin32, TakesHomeThenPathThenTheCurrentDirectory) {
    {
        const ScopedWindowsSettingsFile file(
            "[SYSTEM]\r\nHOME=C:\\KOMA\\bin\r\nPATH=C:\\OTHER\\BIN\r\n");
        EXPECT_EQ(versionlist::FindInstallDir(), "C:\\KOMA\\bin");  // HOME unchanged
    }
    {
        const ScopedWindowsSettingsFile file("[SYSTEM]\r\nHOME=\r\nPATH=C:\\KOMA\\Bin\r\n");
        EXPECT_EQ(versionlist::FindInstallDir(), "C:\\KOMA");
    }
    {
        const ScopedWindowsSettingsFile file("[SYSTEM]\r\nPATH=C:\\KOMA\\bin\\\r\n");
        EXPECT_EQ(versionlist::FindInstallDir(), "C:\\KOMA\\bin\\");  // the last part is "\"
    }
    {
        const ScopedWindowsSettingsFile file("[SYSTEM]\r\nPATH=\\bin\r\n");
        EXPECT_EQ(versionlist::FindInstallDir(), "");  // the current directory is not consulted
    }
    {
        const ScopedWindowsSettingsFile file("[OTHER]\r\nHOME=C:\\x\r\n");
        EXPECT_EQ(versionlist::FindInstallDir(), platform::CurrentDirectory());
    }
}

// A directory whose name ends in "ソ" (Shift-JIS 0x83 0x5C): read as UTF-16 and held as
// UTF-8, its last byte is no backslash, so only a real "\bin" is cut.
TEST(FindInstallDirWin32, JapaneseNamesKeepEveryCharacter) {
    {
        const ScopedWindowsSettingsFile file(
            Utf16SettingsText("[SYSTEM]\r\nPATH=C:\\\u30BD\\bin\r\n"));
        EXPECT_EQ(versionlist::FindInstallDir(), "C:\\\u30BD");
    }
    {
        const ScopedWindowsSettingsFile file(
            Utf16SettingsText("[SYSTEM]\r\nPATH=C:\\KOMA\\\u30BD\r\n"));
        EXPECT_EQ(versionlist::FindInstallDir(), "C:\\KOMA\\\u30BD");
    }
}

}  // namespace

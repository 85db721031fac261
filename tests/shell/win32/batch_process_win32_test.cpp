// pelkor.exe -maruhi as a user starts it, with the real command line and the real Notepad: the
// list is written, Notepad opens it even from a directory with a blank in its name, the
// program ends with 0 at once, and its dialog never shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "shell/win32/template_dialog.hpp"
#include "support/list_rules.hpp"
#include "support/settings_file.hpp"
#include "support/suite_files.hpp"
#include "support/temp_tree.hpp"

namespace {

using testing_support::ScopedSettingsFile;
using testing_support::TempTree;

// The top-level windows of one class, with their titles.
std::vector<std::pair<HWND, std::wstring>> WindowsOfClass(const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        std::vector<std::pair<HWND, std::wstring>> found;
    } search{className, {}};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            ::GetClassNameW(window, name, 64);
            if (std::wstring_view(name) == s->className) {
                wchar_t title[512] = {};
                ::GetWindowTextW(window, title, 512);
                s->found.emplace_back(window, title);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Ends every Notepad the test started, whatever happens to the test.
class NotepadCleanup {
public:
    ~NotepadCleanup() {
        for (const auto& [window, title] : WindowsOfClass(L"Notepad")) {
            DWORD id = 0;
            ::GetWindowThreadProcessId(window, &id);
            if (const HANDLE process = ::OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
                ::TerminateProcess(process, 0);
                ::CloseHandle(process);
            }
        }
    }
};

TEST(BatchProcessWin32, WritesTheListOpensItInNotepadAndEndsWithZero) {
    if (!::GetEnvironmentVariableW(L"DISPLAY", nullptr, 0)) {
        GTEST_SKIP() << "no display: run in a Wine session with PELKOR_WINE_DISPLAY";
    }
    NotepadCleanup cleanup;
    TempTree tree;
    tree.WriteFile("KOMA R/bin/kplr.exe", testing_support::ToolImage({"XKPL-R V2.10"}));
    const ScopedSettingsFile settings(tree, "[SYSTEM]\nHOME=" + tree.Path("KOMA R") + "\n");

    // As a shortcut or the Run box starts it: the switch after the quoted program name.
    const std::wstring exe = shell::WideText(PELKOR_EXE);
    std::wstring commandLine = L"\"" + exe + L"\" -maruhi";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                 nullptr, nullptr, &startup, &process));
    ::CloseHandle(process.hThread);
    const DWORD waited = ::WaitForSingleObject(process.hProcess, 20000);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    if (waited != WAIT_OBJECT_0) {
        ::TerminateProcess(process.hProcess, 1);
    }
    ::CloseHandle(process.hProcess);
    ASSERT_EQ(waited, WAIT_OBJECT_0) << "pelkor.exe -maruhi did not end";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(
        tree.ReadFile("KOMA R/version.lis").substr(0, testing_support::ExpectedBanner().size()),
        testing_support::ExpectedBanner());

    // Notepad opened the list, from under a directory with a blank in its name: its title
    // names the file.
    bool opened = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!opened && std::chrono::steady_clock::now() < deadline) {
        for (const auto& [window, title] : WindowsOfClass(L"Notepad")) {
            opened = opened || title.find(L"version.lis") != std::wstring::npos;
        }
        if (!opened) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    EXPECT_TRUE(opened) << "no Notepad window on version.lis";
}

}  // namespace

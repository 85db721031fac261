// The help page: where it is installed, and handing it to the system's browser.
#include "shell/win32/help.hpp"

#include <windows.h>
// After windows.h, which they need.
#include <shellapi.h>
#include <shlwapi.h>

#include "platform/dir_search.hpp"
#include "platform/win32/wide.hpp"
#include "shell/win32/template_dialog.hpp"

namespace shell {
namespace {

bool Start(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

// The command registered for http URLs, environment variables expanded; empty when none is.
std::wstring HttpCommand() {
    // ASSOCF_IS_PROTOCOL: the user's own choice of browser, where the system keeps one.
    constexpr ASSOCF kIsProtocol = static_cast<ASSOCF>(0x1000);
    DWORD size = 0;
    if (::AssocQueryStringW(kIsProtocol, ASSOCSTR_COMMAND, L"http", L"open", nullptr, &size) !=
            S_FALSE ||
        size == 0) {
        return {};
    }
    std::wstring command(size, L'\0');
    if (FAILED(::AssocQueryStringW(kIsProtocol, ASSOCSTR_COMMAND, L"http", L"open", command.data(),
                                   &size))) {
        return {};
    }
    command.resize(command.find(L'\0'));
    const std::wstring expanded = platform::win32::GrowingBuffer([&](wchar_t* buffer, DWORD n) {
        const DWORD needed = ::ExpandEnvironmentStringsW(command.c_str(), buffer, n);
        if (needed == 0 || needed > n) {
            return needed;  // failed, or the size it needs
        }
        return needed - 1;  // the count stored, less the NUL
    });
    return expanded.empty() ? command : expanded;
}

class SystemBrowser final : public HelpBrowser {
public:
    bool OpenPage(const std::string& file, const std::string& url) override {
        if (const std::wstring command = HttpCommand(); !command.empty()) {
            if (Start(BrowserCommandLine(command, WideText(url)))) {
                return true;
            }
        }
        const auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(
            nullptr, L"open", WideText(file).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        return result > 32;
    }
};

}  // namespace

HelpBrowser& SystemHelpBrowser() {
    static SystemBrowser browser;
    return browser;
}

std::wstring BrowserCommandLine(std::wstring_view registered, std::wstring_view url) {
    std::wstring line;
    bool placed = false;
    for (std::size_t i = 0; i < registered.size(); ++i) {
        const wchar_t c = registered[i];
        if (c != L'%' || i + 1 == registered.size()) {
            line.push_back(c);
            continue;
        }
        const wchar_t next = registered[++i];
        if (next == L'1' || next == L'L' || next == L'l') {
            line.append(url);
            placed = true;
        } else if (next == L'%') {
            line.push_back(L'%');
        }
        // %* and %2 to %9: the browser gets no further arguments from here.
    }
    if (!placed) {
        line.append(L" \"").append(url).append(L"\"");
    }
    return line;
}

std::string InstalledHelpFile() {
    std::wstring path = platform::win32::GrowingBuffer([](wchar_t* buffer, DWORD size) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer, size);
        return n == size ? size + 1 : n;
    });
    path.resize(path.find_last_of(L"\\/") + 1);
    return platform::win32::Narrow(path) + std::string(kHelpFileName);
}

Help::Help(std::string file, HelpBrowser& browser, platform::MessagePresenter& presenter)
    : file_(std::move(file)), browser_(browser), presenter_(presenter) {}

bool Help::Open(int topic) const {
    if (!platform::IsRegularFile(file_) || !browser_.OpenPage(file_, HelpTopicUrl(file_, topic))) {
        presenter_.ShowMessage(kHelpLaunchFailed);
        return false;
    }
    return true;
}

}  // namespace shell

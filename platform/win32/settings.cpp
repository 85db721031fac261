// The settings file on Windows: the Windows directory's, read by the system's own profile
// functions.
#include "platform/settings.hpp"

#include "platform/win32/regular_file.hpp"
#include "platform/win32/wide.hpp"

namespace platform {

std::optional<std::string> FindSettingsFile(std::string_view name) {
    const std::wstring windows = win32::GrowingBuffer(
        [](wchar_t* buffer, UINT size) { return ::GetWindowsDirectoryW(buffer, size); });
    std::wstring wideName, path;
    if (windows.empty() || !win32::Widen(name, wideName)) {
        return std::nullopt;
    }
    const std::string file =
        win32::Narrow(windows) + (windows.back() == L'\\' ? "" : "\\") + std::string(name);
    // The file system decides the name's letter case, as it does for the profile functions.
    if (!win32::SystemPath(file, path) || !win32::IsRegularFilePath(path)) {
        return std::nullopt;
    }
    return file;
}

std::string ReadProfileString(std::string_view fileName, std::string_view section,
                              std::string_view key) {
    std::wstring wideFile, wideSection, wideKey;
    if (!FindSettingsFile(fileName) || !win32::Widen(fileName, wideFile) ||
        !win32::Widen(section, wideSection) || !win32::Widen(key, wideKey)) {
        return {};
    }
    // By the file name alone, so the system looks in the Windows directory. A value that
    // fills the buffer may have been cut: the buffer grows until it holds the whole value,
    // which can never be longer than the file.
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            ::GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), L"", value.data(),
                                       static_cast<DWORD>(value.size()), wideFile.c_str());
        if (n + 1 < value.size()) {
            value.resize(n);
            return win32::Narrow(value);
        }
        value.resize(value.size() * 2);
    }
}

}  // namespace platform

// A settings file of the test's own in the Windows directory.
#include "support/win32/windows_settings.hpp"

#include <windows.h>

#include <filesystem>
#include <stdexcept>

#include "support/system.hpp"
#include "support/win32/wide_text.hpp"

namespace fs = std::filesystem;

namespace testing_support {

ScopedWindowsSettingsFile::ScopedWindowsSettingsFile(std::string_view bytes, Kind kind) {
    wchar_t windows[MAX_PATH];
    const UINT n = ::GetWindowsDirectoryW(windows, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        throw std::runtime_error("no Windows directory");
    }
    path_ = Utf8Text(std::wstring(windows, n)) + "\\rivazivu.ini";
    std::error_code ec;
    if (fs::exists(fs::symlink_status(FsPath(path_), ec))) {
        saved_ = path_ + ".pelkor-test-saved";
        fs::rename(FsPath(path_), FsPath(saved_));
    }
    if (kind == Kind::kDirectory) {
        fs::create_directory(FsPath(path_));
        return;
    }
    if (kind == Kind::kNothing) {
        return;
    }
    HANDLE file = ::CreateFileW(WideText(path_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok =
        file != INVALID_HANDLE_VALUE &&
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    ::CloseHandle(file);
    if (!ok) {
        throw std::runtime_error("cannot write " + path_);
    }
}

ScopedWindowsSettingsFile::~ScopedWindowsSettingsFile() {
    RemoveTree(path_);
    std::error_code ec;
    if (!saved_.empty()) {
        fs::rename(FsPath(saved_), FsPath(path_), ec);
    }
}

std::string Utf16SettingsText(std::string_view utf8) {
    const std::wstring wide = WideText(utf8);
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : wide) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

}  // namespace testing_support

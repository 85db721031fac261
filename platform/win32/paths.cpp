// Windows paths: "\" between components ("/" accepted too), the current directory through the
// wide APIs.
#include "platform/paths.hpp"

#include "platform/win32/wide.hpp"

namespace platform {
namespace {

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "C:\x", "C:/x" and "\\server\share\x": absolute whatever the current directory is.
bool IsFullyQualified(std::string_view path) {
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && IsPathSeparator(path[2])) {
        return true;
    }
    return path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]);
}

// The root a rooted path ("\x") stands under: the drive ("C:") or the share
// ("\\server\share") of directory.
std::string RootOf(const std::string& directory) {
    if (directory.size() >= 2 && IsDriveLetter(directory[0]) && directory[1] == ':') {
        return directory.substr(0, 2);
    }
    // A UNC path: its first two components after the leading separators.
    std::size_t end = 2;
    for (int component = 0; component < 2 && end != std::string::npos; ++component) {
        end = directory.find_first_of("\\/", end + 1);
    }
    return end == std::string::npos ? directory : directory.substr(0, end);
}

std::string Joined(std::string directory, std::string_view relative) {
    if (relative.empty()) {
        return directory;
    }
    if (!directory.empty() && !IsPathSeparator(directory.back())) {
        directory.push_back(kPathSeparator);
    }
    return directory.append(relative);
}

// The long form of a path the system reports, without the \\?\ prefix the program adds again
// wherever a path needs it.
std::string WithoutLongPrefix(std::string path) {
    if (path.rfind("\\\\?\\UNC\\", 0) == 0) {
        return "\\\\" + path.substr(8);
    }
    if (path.rfind("\\\\?\\", 0) == 0) {
        return path.substr(4);
    }
    return path;
}

}  // namespace

const char kPathSeparator = '\\';

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

std::string AbsolutePath(const std::string& path) {
    if (IsFullyQualified(path)) {
        return path;
    }
    if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
        // "D:x" is relative to the current directory of drive D:, which only the system knows.
        std::wstring drive;
        if (!win32::Widen(path.substr(0, 2), drive)) {
            return path;
        }
        const std::wstring current = win32::GrowingBuffer([&](wchar_t* buffer, DWORD size) {
            return ::GetFullPathNameW(drive.c_str(), size, buffer, nullptr);
        });
        return current.empty() ? path
                               : Joined(WithoutLongPrefix(win32::Narrow(current)), path.substr(2));
    }
    const std::string current = CurrentDirectory();
    if (current.empty()) {
        return path;
    }
    if (!path.empty() && IsPathSeparator(path[0])) {
        return RootOf(current) + path;
    }
    return Joined(current, path);
}

std::string CurrentDirectory() {
    const std::wstring current = win32::GrowingBuffer(
        [](wchar_t* buffer, DWORD size) { return ::GetCurrentDirectoryW(size, buffer); });
    return WithoutLongPrefix(win32::Narrow(current));
}

bool SetCurrentDirectory(const std::string& path) {
    std::wstring wide;
    return win32::SystemPath(path, wide) && ::SetCurrentDirectoryW(wide.c_str()) != 0;
}

}  // namespace platform

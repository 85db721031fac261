// Windows directory search: the system's own wildcard matching (8.3 aliases included), letter
// case rules and order.
#include "platform/dir_search.hpp"

#include "platform/paths.hpp"
#include "platform/win32/regular_file.hpp"
#include "platform/win32/wide.hpp"

namespace platform {
namespace {

// A directory or name that is not there, or a pattern that can name nothing: simply no
// match. Anything else (no permission, an I/O error) means entries may be missing.
bool IsAbsence(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_NO_MORE_FILES:
        case ERROR_INVALID_NAME:
        case ERROR_DIRECTORY:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return true;
        default:
            return false;
    }
}

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            ::FindClose(handle_);
        }
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

SearchResult FindMatches(std::string_view pattern) {
    SearchResult result;
    if (pattern.empty() || IsPathSeparator(pattern.back())) {
        return result;
    }
    std::wstring wide;
    if (!win32::SystemPath(pattern, wide)) {
        result.failed = true;
        return result;
    }
    WIN32_FIND_DATAW entry{};
    FindHandle search(::FindFirstFileExW(wide.c_str(), FindExInfoBasic, &entry,
                                         FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH));
    if (search.Get() == INVALID_HANDLE_VALUE) {
        result.failed = !IsAbsence(::GetLastError());
        return result;
    }
    do {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L"..") {
            result.names.push_back(win32::Narrow(name));
        }
    } while (::FindNextFileW(search.Get(), &entry));
    result.failed = ::GetLastError() != ERROR_NO_MORE_FILES;
    return result;
}

bool IsRegularFile(const std::string& path) {
    std::wstring wide;
    return win32::SystemPath(path, wide) && win32::IsRegularFilePath(wide);
}

}  // namespace platform

// The test kit's system services on Windows, through the wide APIs and the system's own UTF-8
// conversion (independent of the platform layer's, which the tests check).
#include <windows.h>
// After windows.h, which they need.
#include <psapi.h>
#include <winioctl.h>

#include <algorithm>
#include <random>
#include <stdexcept>

#include "support/system.hpp"
#include "support/win32/wide_text.hpp"

namespace fs = std::filesystem;

namespace testing_support {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": error " + std::to_string(::GetLastError()));
}

}  // namespace

std::wstring WideText(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(
        static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)),
        L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(),
                          static_cast<int>(wide.size()));
    return wide;
}

std::string Utf8Text(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    std::string utf8(static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size,
                                                                    nullptr, 0, nullptr, nullptr)),
                     '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), static_cast<int>(utf8.size()),
                          nullptr, nullptr);
    return utf8;
}

std::string MakeScratchDirectory() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) {
        Fail("GetTempPathW");
    }
    static std::mt19937 generator{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring path =
            std::wstring(temp, n) + L"pelkor-test-" + std::to_wstring(generator());
        if (::CreateDirectoryW(path.c_str(), nullptr)) {
            return Utf8Text(path);
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            Fail("CreateDirectoryW");
        }
    }
    Fail("no free scratch directory name");
}

std::optional<std::string> EnvironmentValue(const std::string& name) {
    const std::wstring wideName = WideText(name);
    const DWORD size = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0) {
        return std::nullopt;
    }
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(wideName.c_str(), value.data(), size));
    return Utf8Text(value);
}

void SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value) {
    // The C runtime's copy too, which getenv reads.
    const std::wstring assignment = WideText(name) + L"=" + (value ? WideText(*value) : L"");
    ::_wputenv(assignment.c_str());
    ::SetEnvironmentVariableW(WideText(name).c_str(), value ? WideText(*value).c_str() : nullptr);
}

namespace {

// The long form of an absolute path, which no MAX_PATH limits.
std::wstring LongPath(const std::string& path) {
    std::wstring wide = WideText(path);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide.rfind(L"\\\\", 0) == 0 ? wide : L"\\\\?\\" + wide;
}

template <typename Visit>
void ForEachEntry(const std::wstring& directory, Visit visit) {
    WIN32_FIND_DATAW entry;
    HANDLE search = ::FindFirstFileW((directory + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") {
            visit(name, entry.dwFileAttributes);
        }
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
}

void RemoveLongTree(const std::wstring& path, DWORD attributes) {
    ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::DeleteFileW(path.c_str());
        return;
    }
    // A link to a directory goes as the link; its target is left alone.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        ForEachEntry(path, [&](const std::wstring& name, DWORD entryAttributes) {
            RemoveLongTree(path + L"\\" + name, entryAttributes);
        });
    }
    ::RemoveDirectoryW(path.c_str());
}

}  // namespace

std::vector<std::string> DirectoryEntries(const std::string& path) {
    std::wstring directory = LongPath(path);
    while (!directory.empty() && directory.back() == L'\\') {
        directory.pop_back();
    }
    std::vector<std::string> names;
    ForEachEntry(directory,
                 [&](const std::wstring& name, DWORD) { names.push_back(Utf8Text(name)); });
    return names;
}

void RemoveTree(const std::string& path) {
    const std::wstring root = LongPath(path);
    const DWORD attributes = ::GetFileAttributesW(root.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        RemoveLongTree(root, attributes);
    }
}

fs::path FsPath(std::string_view utf8) {
    return fs::path(WideText(utf8));
}

std::string Utf8Path(const fs::path& path) {
    return Utf8Text(path.native());
}

void MakeSparseFile(const std::string& path, std::int64_t size,
                    const std::vector<std::pair<std::int64_t, std::string>>& pieces) {
    HANDLE file = ::CreateFileW(WideText(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Fail("CreateFileW " + path);
    }
    // Where the file system keeps holes (NTFS), the file gets them; elsewhere it is still
    // as long, its gaps reading as zeros.
    DWORD bytes = 0;
    ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &bytes, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = size;
    bool ok = ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
    for (const auto& [offset, piece] : pieces) {
        LARGE_INTEGER at;
        at.QuadPart = offset;
        DWORD written = 0;
        ok = ok && ::SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
             ::WriteFile(file, piece.data(), static_cast<DWORD>(piece.size()), &written, nullptr) &&
             written == piece.size();
    }
    ::CloseHandle(file);
    if (!ok) {
        Fail("writing the sparse file " + path);
    }
}

long PeakResidentKiB() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
}

}  // namespace testing_support

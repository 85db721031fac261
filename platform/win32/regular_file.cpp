// The regular-file checks every reader and the settings file share.
#include "platform/win32/regular_file.hpp"

namespace platform::win32 {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool IsNoFile(DWORD attributes) {
    return attributes == INVALID_FILE_ATTRIBUTES ||
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0;
}

// "NUL", "C:\x\COM1.txt" and the like are devices in every directory: the system's own
// resolution of the path says so ("\\.\NUL"), before anything is opened. (A \\?\ path is
// taken literally and names a file even then.)
bool NamesADevice(const std::wstring& path) {
    const std::wstring full = GrowingBuffer([&](wchar_t* buffer, DWORD size) {
        return ::GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
    return full.rfind(L"\\\\.\\", 0) == 0;
}

// The handle leads to a file on a disk, not to a directory, pipe or device.
bool IsRegularHandle(HANDLE handle, DWORD* attributes) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return false;
    }
    if (attributes != nullptr) {
        *attributes = info.dwFileAttributes;
    }
    return true;
}

}  // namespace

Handle OpenRegularFile(const std::wstring& path, DWORD extraFlags, DWORD* attributes) {
    if (NamesADevice(path) || IsNoFile(::GetFileAttributesW(path.c_str()))) {
        return Handle();
    }
    // Read access only: tools on read-only media or held by a running program stay readable.
    Handle file(::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | extraFlags, nullptr));
    if (!file.Valid() || !IsRegularHandle(file.Get(), attributes)) {
        return Handle();
    }
    return file;
}

bool IsRegularFilePath(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (NamesADevice(path) || IsNoFile(attributes)) {
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return true;
    }
    // A link: what it leads to decides. Opened without any access to the data, so nothing
    // is read; BACKUP_SEMANTICS lets a directory be opened, to be told apart.
    Handle target(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return target.Valid() && IsRegularHandle(target.Get(), nullptr);
}

}  // namespace platform::win32

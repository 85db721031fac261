// Windows file access of the run: regular files only, text-mode reads by the C runtime itself,
// and a list file that replaces the old one only once it is complete.
#include "platform/files.hpp"

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <climits>
#include <random>
#include <utility>

#include "platform/paths.hpp"
#include "platform/win32/pending_file.hpp"
#include "platform/win32/regular_file.hpp"
#include "platform/win32/wide.hpp"
// After windows.h, which it needs.
#include <winioctl.h>

namespace platform {
namespace {

using win32::Handle;

// ReadFile and WriteFile take a DWORD count; larger requests are served in parts.
constexpr std::size_t kMaxTransfer = 1u << 30;

class Win32InputFile final : public InputFile {
public:
    Win32InputFile(Handle file, bool sparse) : file_(std::move(file)), sparse_(sparse) {}

    long Read(char* buffer, std::size_t count) override {
        DWORD got = 0;
        if (!::ReadFile(file_.Get(), buffer, static_cast<DWORD>(std::min(count, kMaxTransfer)),
                        &got, nullptr)) {
            return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
        }
        return static_cast<long>(got);
    }

    bool Seek(std::int64_t offset) override {
        LARGE_INTEGER to;
        to.QuadPart = offset;
        return offset >= 0 && ::SetFilePointerEx(file_.Get(), to, nullptr, FILE_BEGIN);
    }

    // Asked only of files marked sparse: only there can a hole stand, and only there is the
    // answer to the question meaningful. (Wine answers it with success and no ranges for any
    // file, which taken at its word would pass over real data; it marks no file sparse.)
    std::int64_t SkipHole() override {
        LARGE_INTEGER zero{}, here{}, size{};
        if (!sparse_ || !::SetFilePointerEx(file_.Get(), zero, &here, FILE_CURRENT) ||
            !::GetFileSizeEx(file_.Get(), &size) || here.QuadPart >= size.QuadPart) {
            return 0;
        }
        FILE_ALLOCATED_RANGE_BUFFER query{};
        query.FileOffset = here;
        query.Length.QuadPart = size.QuadPart - here.QuadPart;
        FILE_ALLOCATED_RANGE_BUFFER first{};
        DWORD bytes = 0;
        if (!::DeviceIoControl(file_.Get(), FSCTL_QUERY_ALLOCATED_RANGES, &query, sizeof query,
                               &first, sizeof first, &bytes, nullptr) &&
            ::GetLastError() != ERROR_MORE_DATA) {
            return 0;  // the file system does not tell where its holes are
        }
        // No range at all: a hole runs from here to the end of the file.
        LARGE_INTEGER data = bytes >= sizeof first ? first.FileOffset : size;
        if (data.QuadPart <= here.QuadPart ||
            !::SetFilePointerEx(file_.Get(), data, nullptr, FILE_BEGIN)) {
            return 0;
        }
        return data.QuadPart - here.QuadPart;
    }

private:
    Handle file_;
    bool sparse_;
};

// Reads through the C runtime's own text mode, so every field read follows its rules.
class CrtTextFile final : public InputFile {
public:
    explicit CrtTextFile(int fd) : fd_(fd) {}
    ~CrtTextFile() override { ::_close(fd_); }
    CrtTextFile(const CrtTextFile&) = delete;
    CrtTextFile& operator=(const CrtTextFile&) = delete;

    long Read(char* buffer, std::size_t count) override {
        const int n =
            ::_read(fd_, buffer, static_cast<unsigned>(std::min<std::size_t>(count, INT_MAX)));
        return n < 0 ? -1 : n;
    }

    // 64-bit positioning: _lseek would wrap silently beyond 2 GiB.
    bool Seek(std::int64_t offset) override {
        return offset >= 0 && ::_lseeki64(fd_, offset, SEEK_SET) != -1;
    }

private:
    int fd_;
};

// Writes into an open handle; the list written in place when no new file could be made.
class InPlaceOutputFile : public OutputFile {
public:
    explicit InPlaceOutputFile(HANDLE file) : file_(file) {}

    bool Write(const char* data, std::size_t count) override {
        while (count > 0) {
            DWORD written = 0;
            if (!::WriteFile(file_.Get(), data, static_cast<DWORD>(std::min(count, kMaxTransfer)),
                             &written, nullptr) ||
                written == 0) {
                return false;
            }
            data += written;
            count -= written;
        }
        return true;
    }

    bool Close() override { return ::CloseHandle(file_.Release()) != 0; }

protected:
    // Forces the bytes to the disk, then closes; true only when both succeed.
    bool FlushAndClose() {
        const bool flushed = ::FlushFileBuffers(file_.Get()) != 0;
        return ::CloseHandle(file_.Release()) != 0 && flushed;
    }
    void Drop() { file_.Reset(); }

private:
    Handle file_;
};

// The new list under a temporary name beside the old one; Close gives it the list's name.
class ReplacingOutputFile final : public InPlaceOutputFile {
public:
    // keptAttributes: those of the old list that the new one takes over.
    ReplacingOutputFile(HANDLE file, std::wstring temporary, std::wstring path,
                        DWORD keptAttributes)
        : InPlaceOutputFile(file),
          temporary_(std::move(temporary)),
          path_(std::move(path)),
          keptAttributes_(keptAttributes) {
        win32::RememberPendingFile(temporary_.c_str());
    }
    ~ReplacingOutputFile() override {
        if (!committed_) {
            win32::ForgetPendingFile();
            Drop();
            ::DeleteFileW(temporary_.c_str());
        }
    }

    bool Close() override {
        // Written, on disk and closed before it takes the name: a run that ends at any point
        // before leaves the old list as it was. The rename replaces a link under the name,
        // never its target, and fails, leaving both files, when another program holds the old
        // list open without letting it be deleted.
        if (!FlushAndClose() ||
            (keptAttributes_ != 0 && !::SetFileAttributesW(temporary_.c_str(), keptAttributes_)) ||
            !::MoveFileExW(temporary_.c_str(), path_.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return false;
        }
        win32::ForgetPendingFile();
        committed_ = true;
        return true;
    }

private:
    std::wstring temporary_;
    std::wstring path_;
    DWORD keptAttributes_;
    bool committed_ = false;
};

std::wstring RandomSuffix() {
    static std::mt19937_64 generator{std::random_device{}()};
    static constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    std::wstring suffix(8, L'\0');
    for (wchar_t& c : suffix) {
        c = kLetters[generator() % (std::size(kLetters) - 1)];
    }
    return suffix;
}

// A new file beside path, created exclusively and never through a link; it may be deleted by
// name while open, which the console's control handler does. Invalid when none can be made.
Handle CreateTemporaryBeside(const std::wstring& path, std::wstring& temporary) {
    const auto separator = path.find_last_of(L"\\/");
    const std::wstring directory =
        separator == std::wstring::npos ? L"" : path.substr(0, separator + 1);
    const std::wstring name = separator == std::wstring::npos ? path : path.substr(separator + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = directory + L"." + name + L"." + RandomSuffix();
        Handle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                  nullptr));
        if (file.Valid() ||
            (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS)) {
            return file;
        }
    }
    return Handle();
}

// The existing list itself, opened for writing without following a link and emptied.
Handle OpenInPlace(const std::wstring& path) {
    Handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    LARGE_INTEGER zero{};
    if (!file.Valid() || ::GetFileType(file.Get()) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
        !::SetFilePointerEx(file.Get(), zero, nullptr, FILE_BEGIN) || !::SetEndOfFile(file.Get())) {
        return Handle();
    }
    return file;
}

class Win32FileSystem final : public FileSystem {
public:
    std::unique_ptr<InputFile> OpenBinary(const std::string& path) override {
        std::wstring wide;
        DWORD attributes = 0;
        if (!win32::SystemPath(path, wide)) {
            return nullptr;
        }
        Handle file = win32::OpenRegularFile(wide, FILE_FLAG_SEQUENTIAL_SCAN, &attributes);
        if (!file.Valid()) {
            return nullptr;
        }
        return std::make_unique<Win32InputFile>(std::move(file),
                                                (attributes & FILE_ATTRIBUTE_SPARSE_FILE) != 0);
    }

    // The same checked open, then the C runtime's text mode over the handle: the field reads
    // follow the runtime's own rules, whatever its default mode (_fmode) has been set to.
    std::unique_ptr<InputFile> OpenText(const std::string& path) override {
        std::wstring wide;
        if (!win32::SystemPath(path, wide)) {
            return nullptr;
        }
        Handle file = win32::OpenRegularFile(wide);
        if (!file.Valid()) {
            return nullptr;
        }
        const int fd =
            ::_open_osfhandle(reinterpret_cast<intptr_t>(file.Get()), _O_RDONLY | _O_TEXT);
        if (fd < 0) {
            return nullptr;
        }
        file.Release();  // the descriptor owns it now
        return std::make_unique<CrtTextFile>(fd);
    }

    std::unique_ptr<OutputFile> Create(const std::string& path) override {
        std::wstring wide;
        if (!win32::SystemPath(path, wide)) {
            return nullptr;
        }
        // Nothing, a regular file or a link to a file under the name is replaced. A directory
        // (or a link to one) is no list, and a device would take the list somewhere else.
        const DWORD old = ::GetFileAttributesW(wide.c_str());
        const bool exists = old != INVALID_FILE_ATTRIBUTES;
        if (!exists && ::GetLastError() != ERROR_FILE_NOT_FOUND &&
            ::GetLastError() != ERROR_PATH_NOT_FOUND) {
            return nullptr;
        }
        const bool link = exists && (old & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if (exists && (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
            return nullptr;
        }
        // The system neither replaces nor writes a read-only file: say so now, not after the
        // whole list has been written.
        if (exists && !link && (old & FILE_ATTRIBUTE_READONLY) != 0) {
            return nullptr;
        }
        // An existing list keeps its hidden, system and archive attributes and its exclusion
        // from indexing, as a list keeps its mode elsewhere.
        constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        std::wstring temporary;
        if (Handle file = CreateTemporaryBeside(wide, temporary); file.Valid()) {
            return std::make_unique<ReplacingOutputFile>(file.Release(), std::move(temporary),
                                                         std::move(wide),
                                                         exists && !link ? old & kKept : 0);
        }
        // Where no new file can be made (a directory the user may not create in, holding a
        // list the user may write), the list is rewritten in place as it always was.
        if (exists && !link) {
            if (Handle file = OpenInPlace(wide); file.Valid()) {
                return std::make_unique<InPlaceOutputFile>(file.Release());
            }
        }
        return nullptr;
    }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static Win32FileSystem system;
    return system;
}

}  // namespace platform

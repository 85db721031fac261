// Process start-up on Windows: no system error boxes, standard streams that exist, and the
// half-written list removed when the console ends the process.
#include "platform/process.hpp"

#include <fcntl.h>
#include <io.h>

#include <atomic>

#include "platform/win32/pending_file.hpp"
#include "platform/win32/wide.hpp"
// After windows.h, which it needs.
#include <shellapi.h>

namespace platform {
namespace win32 {
namespace {

std::atomic<const wchar_t*> pendingFile{nullptr};

// Runs on a thread of its own while the program goes on; the file was opened so that it can
// be deleted by name while still open. The default handler then ends the process.
BOOL WINAPI RemovePendingFile(DWORD) {
    if (const wchar_t* path = pendingFile.exchange(nullptr)) {
        ::DeleteFileW(path);
    }
    return FALSE;
}

bool IsMissing(HANDLE handle) {
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
}

}  // namespace

void RememberPendingFile(const wchar_t* path) {
    pendingFile.store(path);
}

void ForgetPendingFile() {
    pendingFile.store(nullptr);
}

}  // namespace win32

void PrepareProcess() {
    // Failing file calls just fail: no box about a missing disk or an unreadable medium.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // A standard stream the process was started without is the null device, as on other
    // systems: writes to it succeed and go nowhere.
    constexpr DWORD kStreams[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    for (DWORD stream : kStreams) {
        if (win32::IsMissing(::GetStdHandle(stream))) {
            const HANDLE null = ::CreateFileW(
                L"NUL", stream == STD_INPUT_HANDLE ? GENERIC_READ : GENERIC_WRITE,
                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
            if (!win32::IsMissing(null)) {
                ::SetStdHandle(stream, null);
            }
        }
    }
    // The C runtime's descriptors 0 to 2 as well: a free one would be the next descriptor an
    // open returns.
    for (int fd = 0; fd <= 2; ++fd) {
        const intptr_t handle = ::_get_osfhandle(fd);
        if (handle == -1 || handle == -2) {
            const int null = ::_wopen(L"NUL", fd == 0 ? _O_RDONLY : _O_WRONLY);
            if (null >= 0 && null != fd) {
                ::_dup2(null, fd);
                ::_close(null);
            }
        }
    }
    // Ctrl+C, Ctrl+Break, the console window closed, logoff and shutdown.
    ::SetConsoleCtrlHandler(win32::RemovePendingFile, TRUE);
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    // The C runtime's argv is in the ANSI code page, which cannot hold every name; the
    // command line itself is UTF-16.
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.push_back(win32::Narrow(wide[i]));
    }
    ::LocalFree(wide);
    return arguments;
}

}  // namespace platform

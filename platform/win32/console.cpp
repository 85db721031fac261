// The standard streams on Windows: a console takes UTF-16, a pipe or file the UTF-8 bytes.
#include "platform/console.hpp"

#include <algorithm>
#include <cerrno>

#include "platform/utf8.hpp"
#include "platform/win32/wide.hpp"

namespace platform {
namespace {

HANDLE HandleOf(StandardStream stream) {
    return ::GetStdHandle(stream == StandardStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

// The failure as errno tells it, for the message that names it.
void NoteFailure() {
    switch (::GetLastError()) {
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:
            errno = EPIPE;
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            errno = ENOSPC;
            break;
        case ERROR_INVALID_HANDLE:
            errno = EBADF;
            break;
        default:
            errno = EIO;
    }
}

// Writes in pieces the DWORD counts can take; a console takes fewer at a time.
template <typename Char, typename WriteOnce>
bool WriteAll(const Char* data, std::size_t count, std::size_t piece, WriteOnce write) {
    while (count > 0) {
        DWORD written = 0;
        if (!write(data, static_cast<DWORD>(std::min(count, piece)), &written) || written == 0) {
            NoteFailure();
            return false;
        }
        data += written;
        count -= written;
    }
    return true;
}

}  // namespace

bool IsTerminal(StandardStream stream) {
    return IsConsole(HandleOf(stream));
}

bool WriteText(StandardStream stream, std::string_view utf8) {
    const HANDLE handle = HandleOf(stream);
    if (IsConsole(handle)) {
        // Japanese shows whatever the console's code page; bytes that are no UTF-8 as U+FFFD.
        std::wstring text;
        const std::string clean = SanitizeUtf8(utf8);
        text.resize(clean.size());
        if (!clean.empty()) {
            text.resize(static_cast<std::size_t>(
                ::MultiByteToWideChar(CP_UTF8, 0, clean.data(), static_cast<int>(clean.size()),
                                      text.data(), static_cast<int>(text.size()))));
        }
        return WriteAll(text.data(), text.size(), 8192,
                        [&](const wchar_t* data, DWORD count, DWORD* written) {
                            return ::WriteConsoleW(handle, data, count, written, nullptr);
                        });
    }
    // A pipe or file gets the bytes as they are, LF line ends included, as on any system.
    // Nothing is buffered on the way, so nothing is left to flush.
    return WriteAll(utf8.data(), utf8.size(), std::size_t{1} << 30,
                    [&](const char* data, DWORD count, DWORD* written) {
                        return ::WriteFile(handle, data, count, written, nullptr);
                    });
}

}  // namespace platform

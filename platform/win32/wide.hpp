// The boundary between the program's UTF-8 and the system's UTF-16: every string that reaches
// a wide API, or comes back from one, passes through here.
#pragma once

#include <windows.h>
// windows.h makes macros of names the program's own functions bear.
#undef SetCurrentDirectory
#undef FormatMessage

#include <string>
#include <string_view>

namespace platform::win32 {

// UTF-16 to UTF-8. A surrogate without its partner (possible in a file name) is written in
// UTF-8's three-byte form, so that Widen gives back the very same name.
std::string Narrow(std::wstring_view wide);

// UTF-8 to UTF-16, the three-byte form of a lone surrogate included; false for text that is
// no such UTF-8, and for text holding a NUL, which the system would cut short there.
bool Widen(std::string_view utf8, std::wstring& wide);

// A path as the wide APIs take it; false when it cannot name anything exactly (see Widen).
// A long path is made absolute by the system's own rules and given the \\?\ prefix, which
// lifts the MAX_PATH limit; such paths are taken literally, so "/" and ".." are resolved first.
bool SystemPath(std::string_view utf8, std::wstring& path);

// The text a wide API writes into a buffer of its choosing: fill(buffer, size) returns what
// GetCurrentDirectoryW and its like return (the length written, or the size needed when the
// buffer is too small, or 0 on failure). Empty on failure.
template <typename Fill>
std::wstring GrowingBuffer(Fill fill) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return {};
        }
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(n + 1);
    }
}

// Closes a handle when it goes out of scope.
class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~Handle() { Reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : handle_(other.Release()) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.Release();
        }
        return *this;
    }

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE Release() {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }
    void Reset() {
        if (Valid()) {
            ::CloseHandle(handle_);
        }
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

}  // namespace platform::win32

// UTF-8 and UTF-16 at the system's boundary, and paths beyond MAX_PATH.
#include "platform/win32/wide.hpp"

namespace platform::win32 {
namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Paths at least this long get the \\?\ prefix: MAX_PATH counts the final NUL, and a
// directory's path must leave room for an 8.3 name (12 characters) below it.
constexpr std::size_t kLongPath = MAX_PATH - 12;

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::string Narrow(std::wstring_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
            wide[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            ++i;
        }
        AppendUtf8(out, c);
    }
    return out;
}

bool Widen(std::string_view utf8, std::wstring& wide) {
    wide.clear();
    wide.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        std::size_t length;
        char32_t c;
        if (b == 0) {
            return false;
        } else if (b < 0x80) {
            length = 1;
            c = b;
        } else if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            c = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            c = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            c = b & 0x07;
        } else {
            return false;
        }
        if (i + length > utf8.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto cc = static_cast<unsigned char>(utf8[i + k]);
            if ((cc & 0xC0) != 0x80) {
                return false;
            }
            c = (c << 6) | (cc & 0x3F);
        }
        if ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF))) {
            return false;  // overlong, or beyond Unicode
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            wide.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
            wide.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
        } else {
            // A lone surrogate stands for itself; a pair written as two three-byte forms
            // gives the same units as its four-byte form.
            wide.push_back(static_cast<wchar_t>(c));
        }
        i += length;
    }
    return true;
}

bool SystemPath(std::string_view utf8, std::wstring& path) {
    if (!Widen(utf8, path)) {
        return false;
    }
    if (path.size() < kLongPath || StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\")) {
        return true;
    }
    // The system's own resolution against the current directory, as it would do for the
    // path without the prefix: separators, "." and ".." components.
    const std::wstring full = GrowingBuffer([&](wchar_t* buffer, DWORD size) {
        return ::GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
    if (StartsWith(full, L"\\\\?\\") || StartsWith(full, L"\\\\.\\")) {
        path = full;
    } else if (StartsWith(full, L"\\\\")) {
        path = L"\\\\?\\UNC\\" + full.substr(2);
    } else if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') {
        path = L"\\\\?\\" + full;
    }
    return true;
}

}  // namespace platform::win32

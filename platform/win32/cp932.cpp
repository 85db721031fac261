// CP932 conversion through the system's own code page table.
#include "platform/cp932.hpp"

#include "platform/utf8.hpp"
#include "platform/win32/wide.hpp"

namespace platform {
namespace {

constexpr UINT kCp932 = 932;

// UTF-16 to CP932; false when some character has no CP932 form. No best-fit mapping: a
// character the code page lacks is never turned into a different one that it has.
bool ToCp932(std::wstring_view wide, std::string& out) {
    out.clear();
    if (wide.empty()) {
        return true;
    }
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                        "?", &usedDefault);
    if (n <= 0) {
        return false;
    }
    out.resize(static_cast<std::size_t>(n));
    ::WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), n, "?",
                          &usedDefault);
    return !usedDefault;
}

// CP932 to UTF-16; false when the bytes hold a sequence the code page does not define.
bool FromCp932(std::string_view bytes, std::wstring& out) {
    out.clear();
    if (bytes.empty()) {
        return true;
    }
    const int size = static_cast<int>(bytes.size());
    const int n =
        ::MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (n <= 0) {
        return false;
    }
    out.resize(static_cast<std::size_t>(n));
    ::MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes.data(), size, out.data(), n);
    return true;
}

}  // namespace

std::string Utf8ToCp932(std::string_view utf8) {
    if (!IsValidUtf8(utf8)) {
        return std::string(utf8);
    }
    std::wstring wide(utf8.size(), L'\0');
    if (!utf8.empty()) {
        wide.resize(static_cast<std::size_t>(
            ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                  wide.data(), static_cast<int>(wide.size()))));
    }
    std::string out;
    if (ToCp932(wide, out)) {
        return out;
    }
    // Some character is missing from the code page: one "?" for each such character, a
    // surrogate pair being one character.
    out.clear();
    std::string piece;
    for (std::size_t i = 0; i < wide.size();) {
        const bool pair = wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size() &&
                          wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF;
        const std::size_t length = pair ? 2 : 1;
        out.append(ToCp932(std::wstring_view(wide).substr(i, length), piece) ? piece : "?");
        i += length;
    }
    return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
    std::wstring wide;
    if (FromCp932(cp932, wide)) {
        return win32::Narrow(wide);
    }
    // Character by character: a lead byte with an unusable trail byte gives up the lead byte
    // only, so the trail byte (often plain ASCII) is read again on its own.
    std::string out;
    for (std::size_t i = 0; i < cp932.size();) {
        const bool lead = ::IsDBCSLeadByteEx(kCp932, static_cast<BYTE>(cp932[i])) != 0;
        if (lead && i + 1 < cp932.size() && FromCp932(cp932.substr(i, 2), wide)) {
            out.append(win32::Narrow(wide));
            i += 2;
        } else if (!lead && FromCp932(cp932.substr(i, 1), wide)) {
            out.append(win32::Narrow(wide));
            i += 1;
        } else {
            out.append("\xEF\xBF\xBD");  // U+FFFD
            i += 1;
        }
    }
    return out;
}

}  // namespace platform

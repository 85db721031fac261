// CP932 conversion through iconv, one character at a time only where a character fails.
#include "platform/cp932.hpp"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace platform {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Converter() { ::iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; returns the count of input bytes consumed. Stops at the
    // first sequence that cannot be converted.
    std::size_t Convert(std::string_view in, std::string& out) {
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char chunk[1024];
        while (srcLeft > 0) {
            char* dst = chunk;
            std::size_t dstLeft = sizeof chunk;
            std::size_t r = ::iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(chunk, static_cast<std::size_t>(dst - chunk));
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
                break;
            }
        }
        return in.size() - srcLeft;
    }

private:
    iconv_t cd_;
};

Converter& ToCp932() {
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

Converter& FromCp932() {
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

std::size_t Utf8Length(unsigned char lead) {
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

}  // namespace

namespace {

// Length of the well-formed UTF-8 character at text[i], 0 when none starts there.
std::size_t CharAt(std::string_view text, std::size_t i) {
    auto c = static_cast<unsigned char>(text[i]);
    std::size_t len;
    char32_t cp;
    if (c < 0x80) {
        return 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + len > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < len; ++k) {
        auto cc = static_cast<unsigned char>(text[i + k]);
        if ((cc & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    bool overlong = (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return len;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        std::size_t len = CharAt(text, i);
        if (len == 0) {
            return false;
        }
        i += len;
    }
    return true;
}

std::string SanitizeUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t len = CharAt(text, i);
        if (len == 0) {
            out.append("\xEF\xBF\xBD");
            ++i;
        } else {
            out.append(text.substr(i, len));
            i += len;
        }
    }
    return out;
}

std::string Utf8ToCp932(std::string_view utf8) {
    if (!IsValidUtf8(utf8)) {
        return std::string(utf8);
    }
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        utf8.remove_prefix(ToCp932().Convert(utf8, out));
        if (!utf8.empty()) {
            out.push_back('?');
            utf8.remove_prefix(
                std::min(utf8.size(), Utf8Length(static_cast<unsigned char>(utf8[0]))));
        }
    }
    return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    while (!cp932.empty()) {
        cp932.remove_prefix(FromCp932().Convert(cp932, out));
        if (!cp932.empty()) {
            out.append("\xEF\xBF\xBD");  // U+FFFD
            // A lead byte with an unusable trail byte gives up the lead byte only, so the
            // trail byte (often plain ASCII) is read again on its own.
            cp932.remove_prefix(1);
        }
    }
    return out;
}

}  // namespace platform

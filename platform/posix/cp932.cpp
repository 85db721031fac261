// CP932 conversion through glibc's iconv, one character at a time only where a character fails.
#include "platform/cp932.hpp"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "platform/utf8.hpp"

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

}  // namespace

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
            utf8.remove_prefix(std::max<std::size_t>(1, Utf8CharLength(utf8, 0)));
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

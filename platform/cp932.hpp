// Conversions between the program's UTF-8 and the list file's Shift-JIS (code page 932).
#pragma once

#include <string>
#include <string_view>

namespace platform {

// UTF-8 to CP932. A character CP932 lacks becomes "?"; text that is not valid UTF-8 is
// returned byte for byte, since it cannot be read as characters at all.
std::string Utf8ToCp932(std::string_view utf8);

// CP932 to UTF-8 for display. A byte sequence that is not valid CP932 becomes U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

}  // namespace platform

// UTF-8 as the program reads it: one rule for where a character starts and how long it is.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Length of the well-formed UTF-8 character that starts at text[i]; 0 when none starts there
// (a stray continuation byte, an overlong form, a surrogate, a sequence cut short).
std::size_t Utf8CharLength(std::string_view text, std::size_t i);

bool IsValidUtf8(std::string_view text);

// The text with every byte that starts no well-formed UTF-8 character replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view text);

}  // namespace platform

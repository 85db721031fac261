// A strict checker for JSON text (RFC 8259) that must also be well-formed UTF-8.
#pragma once

#include <string_view>

namespace testing_support {

// True when text is exactly one JSON value with optional surrounding whitespace, every byte
// sequence is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF),
// every \u escape of a surrogate is part of a proper pair, and nesting stays within maxDepth.
bool IsStrictJson(std::string_view text, int maxDepth = 256);

// True when text is well-formed UTF-8.
bool IsWellFormedUtf8(std::string_view text);

}  // namespace testing_support

// Recursive-descent JSON checker with UTF-8 validation; independent of the code it checks.
#include "support/strict_json.hpp"

#include <cstddef>
#include <cstdint>

namespace testing_support {
namespace {

// Length of the well-formed UTF-8 sequence at text[i], or 0 when none starts there.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char b0 = byte(i);
    if (b0 < 0x80) {
        return 1;
    }
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0) {
            low = 0xA0;  // no overlong forms
        } else if (b0 == 0xED) {
            high = 0x9F;  // no surrogates
        }
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0) {
            low = 0x90;
        } else if (b0 == 0xF4) {
            high = 0x8F;  // nothing above U+10FFFF
        }
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    if (byte(i + 1) < low || byte(i + 1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

class Checker {
public:
    Checker(std::string_view text, int maxDepth) : text_(text), maxDepth_(maxDepth) {}

    bool Document() {
        SkipWhitespace();
        if (!Value(0)) {
            return false;
        }
        SkipWhitespace();
        return pos_ == text_.size();
    }

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return text_[pos_]; }

    void SkipWhitespace() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) {
            ++pos_;
        }
    }

    bool Literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) {
            return false;
        }
        pos_ += word.size();
        return true;
    }

    bool Value(int depth) {
        if (AtEnd() || depth > maxDepth_) {
            return false;
        }
        switch (Peek()) {
            case '{':
                return Object(depth + 1);
            case '[':
                return Array(depth + 1);
            case '"':
                return String();
            case 't':
                return Literal("true");
            case 'f':
                return Literal("false");
            case 'n':
                return Literal("null");
            default:
                return Number();
        }
    }

    bool Object(int depth) {
        ++pos_;
        SkipWhitespace();
        if (!AtEnd() && Peek() == '}') {
            ++pos_;
            return true;
        }
        for (;;) {
            SkipWhitespace();
            if (AtEnd() || Peek() != '"' || !String()) {
                return false;
            }
            SkipWhitespace();
            if (AtEnd() || Peek() != ':') {
                return false;
            }
            ++pos_;
            SkipWhitespace();
            if (!Value(depth)) {
                return false;
            }
            SkipWhitespace();
            if (AtEnd()) {
                return false;
            }
            if (Peek() == '}') {
                ++pos_;
                return true;
            }
            if (Peek() != ',') {
                return false;
            }
            ++pos_;
        }
    }

    bool Array(int depth) {
        ++pos_;
        SkipWhitespace();
        if (!AtEnd() && Peek() == ']') {
            ++pos_;
            return true;
        }
        for (;;) {
            SkipWhitespace();
            if (!Value(depth)) {
                return false;
            }
            SkipWhitespace();
            if (AtEnd()) {
                return false;
            }
            if (Peek() == ']') {
                ++pos_;
                return true;
            }
            if (Peek() != ',') {
                return false;
            }
            ++pos_;
        }
    }

    bool Digits() {
        std::size_t start = pos_;
        while (!AtEnd() && Peek() >= '0' && Peek() <= '9') {
            ++pos_;
        }
        return pos_ > start;
    }

    bool Number() {
        if (!AtEnd() && Peek() == '-') {
            ++pos_;
        }
        if (AtEnd()) {
            return false;
        }
        if (Peek() == '0') {
            ++pos_;  // no leading zeros
        } else if (!Digits()) {
            return false;
        }
        if (!AtEnd() && Peek() == '.') {
            ++pos_;
            if (!Digits()) {
                return false;
            }
        }
        if (!AtEnd() && (Peek() == 'e' || Peek() == 'E')) {
            ++pos_;
            if (!AtEnd() && (Peek() == '+' || Peek() == '-')) {
                ++pos_;
            }
            if (!Digits()) {
                return false;
            }
        }
        return true;
    }

    // Four hex digits after "\u"; -1 when malformed.
    long Hex4() {
        if (pos_ + 4 > text_.size()) {
            return -1;
        }
        long value = 0;
        for (int k = 0; k < 4; ++k) {
            char c = text_[pos_++];
            int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
            if (digit < 0) {
                return -1;
            }
            value = value * 16 + digit;
        }
        return value;
    }

    bool String() {
        ++pos_;  // opening quote
        while (!AtEnd()) {
            auto c = static_cast<unsigned char>(Peek());
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (c < 0x20) {
                return false;  // control characters must be escaped
            }
            if (c == '\\') {
                ++pos_;
                if (AtEnd()) {
                    return false;
                }
                char e = text_[pos_++];
                if (e == 'u') {
                    long unit = Hex4();
                    if (unit < 0 || (unit >= 0xDC00 && unit <= 0xDFFF)) {
                        return false;  // malformed, or a low surrogate standing alone
                    }
                    if (unit >= 0xD800 && unit <= 0xDBFF) {
                        if (!Literal("\\u")) {
                            return false;
                        }
                        long low = Hex4();
                        if (low < 0xDC00 || low > 0xDFFF) {
                            return false;
                        }
                    }
                } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
                    return false;
                }
                continue;
            }
            std::size_t length = Utf8SequenceLength(text_, pos_);
            if (length == 0) {
                return false;
            }
            pos_ += length;
        }
        return false;
    }

    std::string_view text_;
    int maxDepth_;
    std::size_t pos_ = 0;
};

}  // namespace

bool IsWellFormedUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

bool IsStrictJson(std::string_view text, int maxDepth) {
    return IsWellFormedUtf8(text) && Checker(text, maxDepth).Document();
}

}  // namespace testing_support

// Version markers in the manner of SCCS what-strings: "@(#) X...", ended by a NUL byte.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace versionlist {

namespace detail {

// Entering idle at p, passes over every following 64-byte block that leaves the machine idle
// without a marker begun in it, and returns where such blocks end: at most end - 65 bytes
// from p are passed over, each byte once. A block qualifies when none of its at signs is
// directly followed by an opening parenthesis and its last byte is no at sign: every marker
// begins with "@(", and without that pair an at sign only ever moves the machine to its next
// state and the next byte back to idle. Uses the processor's vector instructions where it
// has them; elsewhere it returns p.
const char* SkipQuietBlocks(const char* p, const char* end);

}  // namespace detail

// One pass over a file's bytes, fed in chunks of any size. The state is carried from one chunk
// to the next, so the markers found never depend on where the reads split the file. Memory is
// fixed: a marker text longer than kMaxText bytes keeps its first kMaxText bytes and is still
// reported at its NUL.
class MarkerScanner {
public:
    static constexpr std::size_t kMaxText = 258;

    // Feeds the next bytes of the file; onMarker(std::string_view text) is called for every
    // marker completed within them, text running from its leading X up to its NUL.
    template <typename OnMarker>
    void Feed(const char* data, std::size_t size, OnMarker&& onMarker);

    // True while a marker's text has begun and its NUL has not been seen yet.
    bool InMarker() const { return state_ == kText; }

private:
    enum State : unsigned char { kIdle, kAt, kParen, kHash, kClose, kBlank, kText };

    // Idle: passes over the bytes that cannot begin a marker; returns where the next one may.
    const char* FindPrefix(const char* p, const char* end);
    // One byte of the prefix "@(#) X" after its at sign.
    void StepPrefix(char c);
    // Collects text up to the marker's NUL, reporting the marker there; returns where the
    // bytes taken end.
    template <typename OnMarker>
    const char* TakeText(const char* p, const char* end, OnMarker& onMarker);

    State state_ = kIdle;
    std::size_t length_ = 0;
    std::array<char, kMaxText> text_{};
};

template <typename OnMarker>
void MarkerScanner::Feed(const char* data, std::size_t size, OnMarker&& onMarker) {
    const char* p = data;
    const char* const end = data + size;
    while (p < end) {
        switch (state_) {
            case kIdle:
                p = FindPrefix(p, end);
                break;
            case kText:
                p = TakeText(p, end, onMarker);
                break;
            default:
                StepPrefix(*p++);
                break;
        }
    }
}

inline const char* MarkerScanner::FindPrefix(const char* p, const char* end) {
    // Nothing matters before the next at sign that is followed by an opening parenthesis:
    // blocks without one are passed over whole, and memchr finds the next at sign in the rest.
    // Most at signs in machine code start nothing, so the byte after one is looked at here,
    // without a turn through the state machine; a byte that breaks the prefix is consumed,
    // never taken as a new at sign.
    for (;;) {
        p = detail::SkipQuietBlocks(p, end);
        auto* at = static_cast<const char*>(std::memchr(p, '@', end - p));
        if (at == nullptr) {
            return end;
        }
        p = at + 1;
        if (p == end || *p == '(') {
            length_ = 0;
            state_ = kAt;
            return p;
        }
        ++p;
    }
}

inline void MarkerScanner::StepPrefix(char c) {
    switch (state_) {
        case kAt:
            state_ = c == '(' ? kParen : kIdle;
            break;
        case kParen:
            state_ = c == '#' ? kHash : kIdle;
            break;
        case kHash:
            state_ = c == ')' ? kClose : kIdle;
            break;
        case kClose:
            state_ = c == ' ' ? kBlank : kIdle;
            break;
        case kBlank:
            if (c == 'X') {
                text_[0] = 'X';
                length_ = 1;
                state_ = kText;
            } else {
                state_ = kIdle;
            }
            break;
        default:
            break;
    }
}

template <typename OnMarker>
const char* MarkerScanner::TakeText(const char* p, const char* end, OnMarker& onMarker) {
    // Every byte up to the NUL is text; an at sign here starts nothing.
    auto* nul = static_cast<const char*>(std::memchr(p, '\0', end - p));
    const char* stop = nul != nullptr ? nul : end;
    const std::size_t take = std::min<std::size_t>(kMaxText - length_, stop - p);
    std::memcpy(text_.data() + length_, p, take);
    length_ += take;
    if (nul == nullptr) {
        return end;
    }
    const std::string_view text(text_.data(), length_);
    length_ = 0;
    state_ = kIdle;
    onMarker(text);
    return nul + 1;
}

}  // namespace versionlist

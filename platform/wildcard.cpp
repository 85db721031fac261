// Wildcard matching and name order of a case-insensitive file system.
#include <algorithm>

#include "platform/dir_search.hpp"
#include "platform/utf8.hpp"

namespace platform {
namespace {

char FoldUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// "?" and the retries of "*" step over whole characters; a byte that starts none is one.
std::size_t StepLength(std::string_view name, std::size_t i) {
    return std::max<std::size_t>(1, Utf8CharLength(name, i));
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    // Iterative matching with one backtrack point: linear in practice, never exponential.
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += StepLength(name, n);
        } else if (p < pattern.size() && FoldUpper(pattern[p]) == FoldUpper(name[n])) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            starN += StepLength(name, starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldUpper(x) == FoldUpper(y);
           });
}

bool SearchOrderLess(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(FoldUpper(a[i]));
        const auto y = static_cast<unsigned char>(FoldUpper(b[i]));
        if (x != y) {
            return x < y;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

}  // namespace platform

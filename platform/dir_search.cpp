// POSIX directory search with case-insensitive wildcard matching.
#include "platform/dir_search.hpp"

#include <dirent.h>

#include <algorithm>

namespace platform {
namespace {

char FoldUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Length of the UTF-8 character starting at s[i]; a byte that starts none counts alone.
std::size_t CharLength(std::string_view s, std::size_t i) {
    auto lead = static_cast<unsigned char>(s[i]);
    std::size_t len = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (lead >= 0xF8 || i + len > s.size()) {
        return 1;
    }
    for (std::size_t k = 1; k < len; ++k) {
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return len;
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
            n += CharLength(name, n);
        } else if (p < pattern.size() && FoldUpper(pattern[p]) == FoldUpper(name[n])) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            starN += CharLength(name, starN);
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
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldUpper(a[i]) != FoldUpper(b[i])) {
            return false;
        }
    }
    return true;
}

bool SearchOrderLess(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(FoldUpper(a[i]));
        auto y = static_cast<unsigned char>(FoldUpper(b[i]));
        if (x != y) {
            return x < y;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

std::vector<std::string> FindMatches(std::string_view pattern) {
    std::vector<std::string> matches;
    auto slash = pattern.rfind('/');
    std::string directory = slash == std::string_view::npos
                                ? std::string(".")
                                : std::string(pattern.substr(0, slash + 1));
    std::string_view last = slash == std::string_view::npos ? pattern : pattern.substr(slash + 1);
    if (last.empty()) {
        return matches;
    }
    DIR* dir = ::opendir(directory.c_str());
    if (dir == nullptr) {
        return matches;
    }
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        if (WildcardMatch(last, name)) {
            matches.emplace_back(name);
        }
    }
    ::closedir(dir);
    std::sort(matches.begin(), matches.end(), SearchOrderLess);
    return matches;
}

}  // namespace platform

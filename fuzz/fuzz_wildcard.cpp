// The wildcard matcher and the search order over arbitrary patterns and names. Patterns of
// ASCII bytes (all the catalogue uses) must match exactly as the rules say, checked against a
// plain table of pattern and name positions; any pattern must end quickly.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "fuzz_check.hpp"
#include "platform/dir_search.hpp"

namespace {

char Fold(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Bytes of the character at name[i]: a well-formed UTF-8 sequence as Unicode's table of
// well-formed byte sequences lists them, else one byte standing alone.
std::size_t CharBytes(const std::string& name, std::size_t i) {
    struct Row {
        unsigned char lead0, lead1;      // lead byte range
        unsigned char second0, second1;  // second byte range
        std::size_t length;
    };
    static constexpr Row kRows[] = {
        {0xC2, 0xDF, 0x80, 0xBF, 2}, {0xE0, 0xE0, 0xA0, 0xBF, 3}, {0xE1, 0xEC, 0x80, 0xBF, 3},
        {0xED, 0xED, 0x80, 0x9F, 3}, {0xEE, 0xEF, 0x80, 0xBF, 3}, {0xF0, 0xF0, 0x90, 0xBF, 4},
        {0xF1, 0xF3, 0x80, 0xBF, 4}, {0xF4, 0xF4, 0x80, 0x8F, 4},
    };
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(name[i + k]); };
    for (const Row& row : kRows) {
        if (byte(0) < row.lead0 || byte(0) > row.lead1) {
            continue;
        }
        if (i + row.length > name.size() || byte(1) < row.second0 || byte(1) > row.second1) {
            return 1;
        }
        for (std::size_t k = 2; k < row.length; ++k) {
            if (byte(k) < 0x80 || byte(k) > 0xBF) {
                return 1;
            }
        }
        return row.length;
    }
    return 1;
}

// reach[p][n]: the first p pattern bytes can match the first n name bytes.
bool MatchByTable(const std::string& pattern, const std::string& name) {
    const std::size_t P = pattern.size(), N = name.size();
    std::vector<std::vector<char>> reach(P + 1, std::vector<char>(N + 1, 0));
    reach[0][0] = 1;
    for (std::size_t p = 0; p <= P; ++p) {
        for (std::size_t n = 0; n <= N; ++n) {
            if (!reach[p][n] || p == P) {
                continue;
            }
            char c = pattern[p];
            if (c == '*') {
                reach[p + 1][n] = 1;
                if (n < N) {
                    reach[p][n + CharBytes(name, n)] = 1;
                }
            } else if (n < N && c == '?') {
                reach[p + 1][n + CharBytes(name, n)] = 1;
            } else if (n < N && Fold(c) == Fold(name[n])) {
                reach[p + 1][n + 1] = 1;
            }
        }
    }
    return reach[P][N];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    std::string pattern = provider.ConsumeRandomLengthString(64);
    const std::string name = provider.ConsumeRandomLengthString(300);
    const bool asciiOnly = provider.ConsumeBool();

    bool matched = platform::WildcardMatch(pattern, name);
    FUZZ_CHECK(platform::WildcardMatch("*", name));
    FUZZ_CHECK(platform::WildcardMatch(name, name) ||
               name.find_first_of("*?") != std::string::npos);
    if (asciiOnly) {
        for (char& c : pattern) {
            c = static_cast<char>(c & 0x7F);
        }
        matched = platform::WildcardMatch(pattern, name);
        FUZZ_CHECK(matched == MatchByTable(pattern, name));
    }
    (void)matched;

    // The search order is a strict weak order consistent with equality.
    const std::string other = pattern;
    bool less = platform::SearchOrderLess(name, other);
    bool greater = platform::SearchOrderLess(other, name);
    FUZZ_CHECK(!(less && greater));
    FUZZ_CHECK(!platform::SearchOrderLess(name, name));
    FUZZ_CHECK((less || greater) == (name != other));
    FUZZ_CHECK(platform::EqualsIgnoreAsciiCase(name, other) ==
               platform::EqualsIgnoreAsciiCase(other, name));
    return 0;
}

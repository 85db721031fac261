// The marker scanner's pass over blocks that cannot hold the start of a marker.
#include "versionlist/marker_scanner.hpp"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define PELKOR_SCANNER_X86 1
#endif

namespace versionlist::detail {
namespace {

// Bytes per block; a block's test reads one byte more, the one after it.
constexpr std::ptrdiff_t kBlock = 64;

#if defined(PELKOR_SCANNER_X86)

// SSE2 belongs to every x86-64 processor.
const char* SkipQuietBlocksSse2(const char* p, const char* end) {
    const __m128i at = _mm_set1_epi8('@');
    const __m128i paren = _mm_set1_epi8('(');
    auto pairs = [&](const char* q) {
        __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
        __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 1));
        return _mm_and_si128(_mm_cmpeq_epi8(here, at), _mm_cmpeq_epi8(next, paren));
    };
    while (end - p > kBlock) {
        __m128i any = _mm_or_si128(_mm_or_si128(pairs(p), pairs(p + 16)),
                                   _mm_or_si128(pairs(p + 32), pairs(p + 48)));
        if (_mm_movemask_epi8(any) != 0 || p[kBlock - 1] == '@') {
            break;
        }
        p += kBlock;
    }
    return p;
}

__attribute__((target("avx2"))) const char* SkipQuietBlocksAvx2(const char* p, const char* end) {
    const __m256i at = _mm256_set1_epi8('@');
    const __m256i paren = _mm256_set1_epi8('(');
    auto pairs = [&](const char* q) __attribute__((target("avx2"))) {
        __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q));
        __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + 1));
        return _mm256_and_si256(_mm256_cmpeq_epi8(here, at), _mm256_cmpeq_epi8(next, paren));
    };
    while (end - p > kBlock) {
        __m256i any = _mm256_or_si256(pairs(p), pairs(p + 32));
        if (!_mm256_testz_si256(any, any) || p[kBlock - 1] == '@') {
            break;
        }
        p += kBlock;
    }
    return p;
}

using Skipper = const char* (*)(const char*, const char*);

// Chosen on first use, by what the processor running the program offers.
Skipper ChooseSkipper() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? Skipper{SkipQuietBlocksAvx2}
                                          : Skipper{SkipQuietBlocksSse2};
}

#endif

}  // namespace

const char* SkipQuietBlocks(const char* p, const char* end) {
#if defined(PELKOR_SCANNER_X86)
    static const Skipper skipper = ChooseSkipper();
    return skipper(p, end);
#else
    (void)end;
    return p;
#endif
}

}  // namespace versionlist::detail

// Line ends, found a word or a vector at a time.
#include "textview/LineBreaks.h"

#include <cstring>

namespace {

constexpr unsigned char kCR = 13;
constexpr unsigned char kLF = 10;
constexpr unsigned char kHT = '\t';

// Whether any of the 8 bytes in word equals c (every byte of pattern is c).
inline bool HasByte(unsigned long long word, unsigned long long pattern)
{
    constexpr unsigned long long kOnes = 0x0101010101010101ull;
    constexpr unsigned long long kHighs = 0x8080808080808080ull;
    const unsigned long long x = word ^ pattern;
    return ((x - kOnes) & ~x & kHighs) != 0;
}

const unsigned char* FinishByBytes(const unsigned char* p, const unsigned char* end, bool& tab)
{
    for (; p < end && *p != kCR && *p != kLF; ++p) {
        if (*p == kHT)
            tab = true;
    }
    return p;
}

}  // namespace

const unsigned char* FindLineBreakPortable(const unsigned char* p, const unsigned char* end, bool& tab)
{
    constexpr unsigned long long kOnes = 0x0101010101010101ull;
    tab = false;
    while (end - p >= 8) {
        unsigned long long word;
        memcpy(&word, p, sizeof word);
        if (HasByte(word, kOnes * kCR) || HasByte(word, kOnes * kLF))
            break;
        if (!tab && HasByte(word, kOnes * kHT))
            tab = true;
        p += 8;
    }
    return FinishByBytes(p, end, tab);
}

#if defined(SEEKWORD_HAS_SSE2)
SEEKWORD_SSE2_FUNCTION const unsigned char* FindLineBreakSse2(const unsigned char* p, const unsigned char* end,
                                                              bool& tab)
{
    const __m128i cr = _mm_set1_epi8(static_cast<char>(kCR));
    const __m128i lf = _mm_set1_epi8(static_cast<char>(kLF));
    const __m128i ht = _mm_set1_epi8(static_cast<char>(kHT));
    // Tabs of the blocks passed gather here, so the loop tests one mask a block.
    __m128i tabs = _mm_setzero_si128();
    while (end - p >= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned breaks =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(x, cr), _mm_cmpeq_epi8(x, lf))));
        if (breaks) {
            const unsigned at = LowestBit(breaks);
            const unsigned here = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, ht)));
            tab = _mm_movemask_epi8(tabs) != 0 || (here & ((1u << at) - 1)) != 0;
            return p + at;
        }
        tabs = _mm_or_si128(tabs, _mm_cmpeq_epi8(x, ht));
        p += 16;
    }
    tab = _mm_movemask_epi8(tabs) != 0;
    return FinishByBytes(p, end, tab);
}
#endif

const unsigned char* FindLineBreak(const unsigned char* p, const unsigned char* end, bool& tab)
{
#if defined(SEEKWORD_HAS_SSE2)
    if (ProcessorHasSse2())
        return FindLineBreakSse2(p, end, tab);
#endif
    return FindLineBreakPortable(p, end, tab);
}

// Counting the search text over a whole file, from a prepared copy or in one pass, and finding it within one line.
#include "search/Matcher.h"

namespace {

constexpr int kShiftEntries = 128;
constexpr unsigned char kCopySentinel = 0xFF;
constexpr unsigned char kPatternSentinel = 0xFE;
constexpr unsigned char kSpace = 0x20;
constexpr unsigned char kFoldBit = 0x20;
constexpr DWORD kCopySpare = 2;  // the sentinel in front and one byte behind the copy

unsigned char* countBuffer = nullptr;
DWORD countCapacity = 0;
const unsigned char* patternStart = nullptr;
int patternLength = 0;

// The prepared copy holds only 0x01 to 0x7F, so neither sentinel can match a byte of it.
constexpr unsigned char PreparedByte(unsigned char c, bool caseSensitive)
{
    if (c == 0 || c >= 0x80)
        return kSpace;
    if (!caseSensitive && c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c | kFoldBit);
    return c;
}

// The prepared value of every byte, for both foldings: without a baseline vector unit a table lookup per byte
// beats any branch-free arithmetic, and the one-pass count compares through it.
struct CopyTables {
    unsigned char folded[256];
    unsigned char exact[256];
};

constexpr CopyTables MakeCopyTables()
{
    CopyTables tables = {};
    for (int c = 0; c < 256; ++c) {
        tables.folded[c] = PreparedByte(static_cast<unsigned char>(c), false);
        tables.exact[c] = PreparedByte(static_cast<unsigned char>(c), true);
    }
    return tables;
}

constexpr CopyTables copyTables = MakeCopyTables();

const unsigned char* PreparedBytes(int caseSensitive)
{
    return caseSensitive ? copyTables.exact : copyTables.folded;
}

// Length of a text that can occur in a prepared copy; 0 for an empty text or one holding a byte that no
// prepared byte equals (0x80-0xFF, or A-Z when the copy is folded).
size_t CountableLength(const unsigned char* text, int caseSensitive)
{
    size_t m = 0;
    for (; text[m]; ++m) {
        if (text[m] >= 0x80 || (!caseSensitive && text[m] >= 'A' && text[m] <= 'Z'))
            return 0;
    }
    return m;
}

// Whether the prepared bytes at at[from..to) equal text[from..to).
inline bool PreparedEqual(const unsigned char* at, const unsigned char* text, size_t from, size_t to,
                          const unsigned char* prepared)
{
    for (size_t k = from; k < to; ++k) {
        if (prepared[at[k]] != text[k])
            return false;
    }
    return true;
}

}  // namespace

#if defined(SEEKWORD_COUNT_SSE2)
#include <emmintrin.h>

// A 32-bit x86 build may not assume SSE2, so only the function that uses it is compiled for it; MSVC
// compiles intrinsics for any function and needs no mark.
#if (defined(__GNUC__) || defined(__clang__)) && !defined(__SSE2__)
#define SEEKWORD_SSE2_FUNCTION __attribute__((target("sse2")))
#else
#define SEEKWORD_SSE2_FUNCTION
#endif

namespace {

// The raw bytes that prepare to one text byte: c itself; c and its capital when folding a letter; a space,
// NUL and 0x80-0xFF for a space. A raw byte x passes when (x | orMask) == value, or when it is below 1 as a
// signed byte and the text byte is a space.
struct ByteTest {
    unsigned char value;
    unsigned char orMask;
    unsigned char spaceMask;
};

ByteTest TestFor(unsigned char c, int caseSensitive)
{
    ByteTest test = {c, 0, 0};
    if (!caseSensitive && c >= 'a' && c <= 'z')
        test.orMask = kFoldBit;
    if (c == kSpace)
        test.spaceMask = 0xFF;
    return test;
}

struct VectorTest {
    __m128i value;
    __m128i orMask;
    __m128i spaceMask;
};

SEEKWORD_SSE2_FUNCTION
inline VectorTest Broadcast(const ByteTest& test)
{
    VectorTest vector;
    vector.value = _mm_set1_epi8(static_cast<char>(test.value));
    vector.orMask = _mm_set1_epi8(static_cast<char>(test.orMask));
    vector.spaceMask = _mm_set1_epi8(static_cast<char>(test.spaceMask));
    return vector;
}

template <bool kSpaces>
SEEKWORD_SSE2_FUNCTION inline __m128i Passes(__m128i x, const VectorTest& test)
{
    const __m128i hit = _mm_cmpeq_epi8(_mm_or_si128(x, test.orMask), test.value);
    if (!kSpaces)
        return hit;
    const __m128i belowOne = _mm_cmplt_epi8(x, _mm_set1_epi8(1));
    return _mm_or_si128(hit, _mm_and_si128(belowOne, test.spaceMask));
}

// Window starts at..at+15 whose first and last bytes pass, as a vector: 0xFF for each that does.
template <bool kSpaces>
SEEKWORD_SSE2_FUNCTION inline __m128i Candidates(const unsigned char* at, size_t lastOffset, const VectorTest& first,
                                                 const VectorTest& last)
{
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + lastOffset));
    return _mm_and_si128(Passes<kSpaces>(head, first), Passes<kSpaces>(tail, last));
}

SEEKWORD_SSE2_FUNCTION inline unsigned Bits(__m128i vector)
{
    return static_cast<unsigned>(_mm_movemask_epi8(vector));
}

// Counts the windows whose first and last bytes pass in mask (bit k: the window starting at at + k) and whose
// other bytes match too.
inline void CountCandidates(unsigned mask, const unsigned char* at, const unsigned char* p, size_t m,
                            const unsigned char* prepared, DWORD& count)
{
    for (; mask; mask >>= 1, ++at) {
        if ((mask & 1) && PreparedEqual(at, p, 1, m - 1, prepared))
            ++count;
    }
}

// Counts the windows starting at 0 up to and including lastStart, 64 starts a round and then 16; returns
// the first start not yet counted. The bytes read end at lastStart + m + 14.
template <bool kSpaces>
SEEKWORD_SSE2_FUNCTION size_t CountBlocks(const unsigned char* b, size_t lastStart, const unsigned char* p,
                                          size_t m, int caseSensitive, DWORD& count)
{
    const unsigned char* prepared = PreparedBytes(caseSensitive);
    const VectorTest first = Broadcast(TestFor(p[0], caseSensitive));
    const VectorTest last = Broadcast(TestFor(p[m - 1], caseSensitive));
    const size_t lastOffset = m - 1;
    size_t i = 0;
    // Most rounds find no candidate at all: one test for 64 starts, the single blocks only when it passes.
    // A large file has left the cache by the time it is read back: ask for its bytes well ahead.
    constexpr size_t kPrefetchDistance = 2048;
    for (; i + 63 <= lastStart; i += 64) {
        const size_t ahead = i + kPrefetchDistance < lastStart ? i + kPrefetchDistance : lastStart;
        _mm_prefetch(reinterpret_cast<const char*>(b + ahead), _MM_HINT_T0);
        const __m128i c0 = Candidates<kSpaces>(b + i, lastOffset, first, last);
        const __m128i c1 = Candidates<kSpaces>(b + i + 16, lastOffset, first, last);
        const __m128i c2 = Candidates<kSpaces>(b + i + 32, lastOffset, first, last);
        const __m128i c3 = Candidates<kSpaces>(b + i + 48, lastOffset, first, last);
        if (!Bits(_mm_or_si128(_mm_or_si128(c0, c1), _mm_or_si128(c2, c3))))
            continue;
        CountCandidates(Bits(c0), b + i, p, m, prepared, count);
        CountCandidates(Bits(c1), b + i + 16, p, m, prepared, count);
        CountCandidates(Bits(c2), b + i + 32, p, m, prepared, count);
        CountCandidates(Bits(c3), b + i + 48, p, m, prepared, count);
    }
    for (; i + 15 <= lastStart; i += 16)
        CountCandidates(Bits(Candidates<kSpaces>(b + i, lastOffset, first, last)), b + i, p, m, prepared, count);
    return i;
}

}  // namespace

DWORD CountInFileSse2(const char* bytes, DWORD n, const char* text, int caseSensitive)
{
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    const size_t m = CountableLength(p, caseSensitive);
    if (m == 0 || m > n)
        return 0;
    const unsigned char* prepared = PreparedBytes(caseSensitive);

    DWORD count = 0;
    size_t i = 0;
    constexpr size_t kBlock = 16;
    // Each block of 16 window starts tests its first and last bytes at once; a block reads up to byte
    // i + m - 1 + 15, which must lie inside the file.
    if (n >= m + kBlock - 1) {
        const size_t lastStart = n - m;
        if (p[0] == kSpace || p[m - 1] == kSpace)
            i = CountBlocks<true>(b, lastStart, p, m, caseSensitive, count);
        else
            i = CountBlocks<false>(b, lastStart, p, m, caseSensitive, count);
    }
    for (; i + m <= n; ++i) {
        if (PreparedEqual(b + i, p, 0, m, prepared))
            ++count;
    }
    return count;
}
#endif

int ShiftTable[128];

// A size below 2 is a length + 2 that wrapped past 32 bits: refuse it rather than return a short buffer.
char* AcquireCountBuffer(DWORD size)
{
    if (size < kCopySpare)
        return nullptr;
    if (size < countCapacity)
        return reinterpret_cast<char*>(countBuffer + 1);
    if (countBuffer)
        GlobalFree(countBuffer);
    countBuffer = static_cast<unsigned char*>(GlobalAlloc(GMEM_FIXED, size));
    if (!countBuffer) {
        countCapacity = 0;
        return nullptr;
    }
    countCapacity = size;
    countBuffer[0] = kCopySentinel;
    return reinterpret_cast<char*>(countBuffer + 1);
}

// The hot loop of a search: branch-free, so that 64-bit compilers turn it into vector code.
void PrepareCountCopy(char* copy, const char* bytes, DWORD n, int caseSensitive)
{
    unsigned char* out = reinterpret_cast<unsigned char*>(copy);
    const unsigned char* in = reinterpret_cast<const unsigned char*>(bytes);
#if defined(_M_X64) || defined(__x86_64__) || defined(_M_ARM64) || defined(__aarch64__)
    const unsigned char fold = caseSensitive ? 0 : kFoldBit;
    for (DWORD i = 0; i < n; ++i) {
        unsigned char c = in[i];
        c = static_cast<unsigned char>(c - 1) < 0x7F ? c : kSpace;
        c |= static_cast<unsigned char>(c - 'A') < 26 ? fold : 0;
        out[i] = c;
    }
#else
    const unsigned char* table = caseSensitive ? copyTables.exact : copyTables.folded;
    for (DWORD i = 0; i < n; ++i)
        out[i] = table[in[i]];
#endif
}

void PreparePattern(char* p)
{
    unsigned char* text = reinterpret_cast<unsigned char*>(p);
    const int m = lstrlenA(p + 1);
    patternStart = text;
    patternLength = m;
    text[0] = kPatternSentinel;
    for (int c = 0; c < kShiftEntries; ++c)
        ShiftTable[c] = m;
    // Bytes outside 1 to 127 never occur in the copy, so they need no entry.
    for (int i = 1; i < m; ++i) {
        unsigned char c = text[i];
        if (c >= 1 && c < kShiftEntries)
            ShiftTable[c] = m - i;
    }
}

DWORD CountOccurrences(DWORD n)
{
    const int m = patternLength;
    if (m <= 0 || !countBuffer || !patternStart || static_cast<DWORD>(m) > n)
        return 0;
    const unsigned char* text = countBuffer;
    const unsigned char* p = patternStart;
    const unsigned char last = p[m];
    DWORD count = 0;
    DWORD j = static_cast<DWORD>(m);
    for (;;) {
        const unsigned char c = text[j];
        if (c == last) {
            // The pattern's sentinel differs from every byte of the copy and from the copy's own sentinel.
            int k = 1;
            while (text[j - k] == p[m - k])
                ++k;
            if (k == m)
                ++count;
        }
        const DWORD shift = static_cast<DWORD>(ShiftTable[c & 0x7F]);
        if (shift > n - j)
            break;
        j += shift;
    }
    return count;
}

const char* FindInText(const char* text, const char* s)
{
    for (const char* start = text;; ++start) {
        int k = 0;
        while (s[k] && start[k] == s[k])
            ++k;
        if (!s[k])
            return start;
        if (!*start)
            return nullptr;
    }
}

char* FoldCase(char* s)
{
    for (char* c = s; *c; ++c) {
        if (*c >= 'A' && *c <= 'Z')
            *c = static_cast<char>(*c | kFoldBit);
    }
    return s;
}

// A Horspool skip search over the raw bytes, each read through the preparing table: the count of the copy
// without making one.
DWORD CountInFilePortable(const char* bytes, DWORD n, const char* text, int caseSensitive)
{
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    const size_t m = CountableLength(p, caseSensitive);
    if (m == 0 || m > n)
        return 0;
    const unsigned char* prepared = PreparedBytes(caseSensitive);

    // The skip of a prepared byte, then of every raw byte that prepares to it.
    size_t preparedShift[kShiftEntries];
    for (size_t c = 0; c < kShiftEntries; ++c)
        preparedShift[c] = m;
    for (size_t k = 0; k + 1 < m; ++k)
        preparedShift[p[k]] = m - 1 - k;
    size_t shift[256];
    for (int c = 0; c < 256; ++c)
        shift[c] = preparedShift[prepared[c]];

    const unsigned char last = p[m - 1];
    DWORD count = 0;
    for (size_t j = m - 1; j < n; j += shift[b[j]]) {
        if (prepared[b[j]] == last && PreparedEqual(b + j - (m - 1), p, 0, m - 1, prepared))
            ++count;
    }
    return count;
}

int CountUsesSse2()
{
#if defined(_M_X64) || defined(__x86_64__)
    return 1;
#elif defined(SEEKWORD_COUNT_SSE2)
    static const int present = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) ? 1 : 0;
    return present;
#else
    return 0;
#endif
}

DWORD CountInFile(const char* bytes, DWORD n, const char* text, int caseSensitive)
{
#if defined(SEEKWORD_COUNT_SSE2)
    if (CountUsesSse2())
        return CountInFileSse2(bytes, n, text, caseSensitive);
#endif
    return CountInFilePortable(bytes, n, text, caseSensitive);
}

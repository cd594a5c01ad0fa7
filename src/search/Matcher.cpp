// Counting the search text over a whole file, from a prepared copy or in one pass, and finding it in the file or one line.
#include "search/Matcher.h"

#include "framework/Sse2.h"
#include "textview/AnsiText.h"
#include "textview/CodePageText.h"

#include <cstring>

namespace {

constexpr int kShiftEntries = 256;
constexpr int kHighValues = 128;
constexpr unsigned char kCopySentinel = 0xFF;
constexpr unsigned char kPatternSentinel = 0x00;  // the prepared copy holds no NUL
constexpr unsigned char kSpace = 0x20;
constexpr unsigned char kFoldBit = 0x20;
constexpr DWORD kCopySpare = 2;  // the sentinel in front and one byte behind the copy

unsigned char* countBuffer = nullptr;
DWORD countCapacity = 0;
const unsigned char* patternStart = nullptr;
int patternLength = 0;

// How the count reads bytes, for each folding ([0] case folded, [1] case sensitive): the prepared value of
// every raw byte (NUL reads as a space, and a folded count reads each byte folded), and for every text byte
// the vector test that passes the raw bytes preparing to it.
struct CountTables {
    unsigned char fold[256];
    unsigned char prepared[2][256];
    // A raw byte x passes for text byte t when (x | orMask[t]) == t, or, where highMask[t] is 0xFF, when x is
    // 0x80-0xFF; exact[t] when only the raw bytes that prepare to t pass.
    unsigned char orMask[2][256];
    unsigned char highMask[2][256];
    unsigned char exact[2][256];
};

CountTables tables;
int tablesReady = 0;

const CountTables& Tables()
{
    if (!tablesReady)
        PrepareFolding();
    return tables;
}

const unsigned char* PreparedBytes(int caseSensitive)
{
    return Tables().prepared[caseSensitive ? 1 : 0];
}

void BuildVectorTests(int sensitive)
{
    const unsigned char* prepared = tables.prepared[sensitive];
    for (int t = 0; t < 256; ++t) {
        unsigned char orMask = 0, highMask = 0;
        int members = 0;
        for (int x = 0; x < 256; ++x) {
            if (prepared[x] != t)
                continue;
            ++members;
            // Bits x lacks can be or-ed in; a member with a bit t lacks is a high byte (none folds onto ASCII)
            // and passes with all high bytes.
            if ((x & ~t) == 0)
                orMask = static_cast<unsigned char>(orMask | (x ^ t));
            else
                highMask = 0xFF;
        }
        int passing = 0;
        for (int x = 0; x < 256; ++x)
            passing += (x | orMask) == t || (highMask && x >= 0x80);
        tables.orMask[sensitive][t] = orMask;
        tables.highMask[sensitive][t] = highMask;
        tables.exact[sensitive][t] = passing == members;
    }
}

// Length of a text that can occur in the prepared bytes; 0 for an empty text or one holding a byte that no
// prepared byte equals (a capital when the count folds).
size_t CountableLength(const unsigned char* text, int caseSensitive)
{
    const unsigned char* prepared = PreparedBytes(caseSensitive);
    size_t m = 0;
    for (; text[m]; ++m) {
        if (prepared[text[m]] != text[m])
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

// On a double-byte code page: a second byte is compared as it is, a single-byte character as the count
// reads it (NUL as a space, A-Z folded unless caseSensitive), and only a window that starts a character counts.
class DoubleBytePattern {
public:
    DoubleBytePattern(const unsigned char* text, int caseSensitive, const CodePageText& codePage)
        : p(text), m(0), folds(!caseSensitive), chars(codePage)
    {
        for (int c = 0; c < 256; ++c)
            prepared[c] = static_cast<unsigned char>(c == 0                                  ? kSpace
                                                     : !caseSensitive && c >= 'A' && c <= 'Z' ? c | kFoldBit
                                                                                              : c);
        const size_t length = strlen(reinterpret_cast<const char*>(text));
        // A capital left in a single-byte character of a folded text can never match.
        for (size_t k = 0; k < length; k += chars.CharLength(reinterpret_cast<const char*>(text), k, length)) {
            if (!IsPair(k, length) && prepared[text[k]] != text[k])
                return;
        }
        m = length;
    }

    size_t Length() const { return m; }

    // Whether the window at at holds the text, character by character.
    bool Matches(const unsigned char* at) const
    {
        for (size_t k = 0; k < m;) {
            if (IsPair(k, m)) {
                if (at[k] != p[k] || at[k + 1] != p[k + 1])
                    return false;
                k += 2;
            } else {
                if (prepared[at[k]] != p[k])
                    return false;
                ++k;
            }
        }
        return true;
    }

    // The raw bytes that may stand at position k of a window holding the text: one or two values.
    void RawBytes(size_t k, unsigned char& first, unsigned char& second) const
    {
        first = second = p[k];
        if (IsPairByte(k))
            return;
        if (p[k] == kSpace)
            second = 0;
        else if (folds && p[k] >= 'a' && p[k] <= 'z')
            second = static_cast<unsigned char>(p[k] - kFoldBit);
    }

private:
    bool IsPair(size_t k, size_t n) const { return chars.CharLength(reinterpret_cast<const char*>(p), k, n) == 2; }
    // Whether byte k belongs to a double-byte character of the text.
    bool IsPairByte(size_t k) const
    {
        return !chars.StartsCharacter(reinterpret_cast<const char*>(p), k) || IsPair(k, m);
    }

    const unsigned char* p;
    size_t m;
    bool folds;
    const CodePageText& chars;
    unsigned char prepared[256];
};

// Character starts of one count, asked in increasing order: each answer starts from the last start known,
// so a long run of lead bytes is not read again for every window in it.
class CharacterStarts {
public:
    CharacterStarts(const unsigned char* text, const CodePageText& codePage) : bytes(text), chars(codePage), known(0)
    {
    }

    bool At(size_t p)
    {
        if (p < known)
            known = 0;
        const bool starts = chars.StartsCharacterAfter(reinterpret_cast<const char*>(bytes), known, p) != 0;
        known = starts ? p : p + 1;
        return starts;
    }

private:
    const unsigned char* bytes;
    const CodePageText& chars;
    size_t known;
};

DWORD CountDoubleBytePortable(const unsigned char* b, size_t n, const DoubleBytePattern& pattern,
                              const CodePageText& chars)
{
    const size_t m = pattern.Length();
    if (m == 0 || m > n)
        return 0;
    // Later positions overwrite earlier ones: each raw byte keeps the shortest skip.
    size_t shift[256];
    for (size_t c = 0; c < 256; ++c)
        shift[c] = m;
    for (size_t k = 0; k + 1 < m; ++k) {
        unsigned char first, second;
        pattern.RawBytes(k, first, second);
        shift[first] = shift[second] = m - 1 - k;
    }
    unsigned char lastFirst, lastSecond;
    pattern.RawBytes(m - 1, lastFirst, lastSecond);
    CharacterStarts starts(b, chars);
    DWORD count = 0;
    for (size_t j = m - 1; j < n; j += shift[b[j]]) {
        if ((b[j] == lastFirst || b[j] == lastSecond) && pattern.Matches(b + j - (m - 1)) && starts.At(j - (m - 1)))
            ++count;
    }
    return count;
}

}  // namespace

void PrepareFolding()
{
    // Where a byte is not a character, 0x80-0xFF stay as they are.
    if (!AnsiText::SingleByte()) {
        PrepareFolding(nullptr);
        return;
    }
    char lower[kHighValues];
    for (int i = 0; i < kHighValues; ++i)
        lower[i] = static_cast<char>(0x80 + i);
    CharLowerBuffA(lower, kHighValues);
    PrepareFolding(reinterpret_cast<const unsigned char*>(lower));
}

// A-Z fold by their bit, 0x80-0xFF as given, but never onto ASCII or onto a byte that would fold again.
void PrepareFolding(const unsigned char* highLower)
{
    for (int c = 0; c < 256; ++c)
        tables.fold[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c | kFoldBit : c);
    for (int i = 0; highLower && i < kHighValues; ++i) {
        if (highLower[i] >= 0x80)
            tables.fold[0x80 + i] = highLower[i];
    }
    for (int c = 0x80; c < 256; ++c) {
        if (tables.fold[tables.fold[c]] != tables.fold[c])
            tables.fold[c] = static_cast<unsigned char>(c);
    }
    for (int c = 0; c < 256; ++c) {
        tables.prepared[0][c] = c ? tables.fold[c] : kSpace;
        tables.prepared[1][c] = c ? static_cast<unsigned char>(c) : kSpace;
    }
    BuildVectorTests(0);
    BuildVectorTests(1);
    tablesReady = 1;
}

#if defined(SEEKWORD_COUNT_SSE2)
namespace {

// The test of one text byte (see CountTables), for 16 raw bytes at once.
struct VectorTest {
    __m128i value;
    __m128i orMask;
    __m128i highMask;
};

SEEKWORD_SSE2_FUNCTION
inline VectorTest Broadcast(unsigned char c, int caseSensitive)
{
    const CountTables& t = Tables();
    const int sensitive = caseSensitive ? 1 : 0;
    VectorTest vector;
    vector.value = _mm_set1_epi8(static_cast<char>(c));
    vector.orMask = _mm_set1_epi8(static_cast<char>(t.orMask[sensitive][c]));
    vector.highMask = _mm_set1_epi8(static_cast<char>(t.highMask[sensitive][c]));
    return vector;
}

template <bool kHigh>
SEEKWORD_SSE2_FUNCTION inline __m128i Passes(__m128i x, const VectorTest& test)
{
    const __m128i hit = _mm_cmpeq_epi8(_mm_or_si128(x, test.orMask), test.value);
    if (!kHigh)
        return hit;
    const __m128i high = _mm_cmplt_epi8(x, _mm_setzero_si128());
    return _mm_or_si128(hit, _mm_and_si128(high, test.highMask));
}

// Window starts at..at+15 whose first and last bytes pass, as a vector: 0xFF for each that does.
template <bool kHigh>
SEEKWORD_SSE2_FUNCTION inline __m128i Candidates(const unsigned char* at, size_t lastOffset, const VectorTest& first,
                                                 const VectorTest& last)
{
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + lastOffset));
    return _mm_and_si128(Passes<kHigh>(head, first), Passes<kHigh>(tail, last));
}

SEEKWORD_SSE2_FUNCTION inline unsigned Bits(__m128i vector)
{
    return static_cast<unsigned>(_mm_movemask_epi8(vector));
}

// The text bytes a candidate window must still be compared at: all but the first and last where their tests
// pass nothing else.
struct Unchecked {
    size_t from;
    size_t to;
};

// Counts the windows whose first and last bytes pass in mask (bit k: the window starting at at + k) and whose
// other bytes match too.
inline void CountCandidates(unsigned mask, const unsigned char* at, const unsigned char* p, Unchecked left,
                            const unsigned char* prepared, DWORD& count)
{
    for (; mask; mask >>= 1, ++at) {
        if ((mask & 1) && PreparedEqual(at, p, left.from, left.to, prepared))
            ++count;
    }
}

// Counts the windows starting at 0 up to and including lastStart, 64 starts a round and then 16; returns
// the first start not yet counted. The bytes read end at lastStart + m + 14.
template <bool kHigh>
SEEKWORD_SSE2_FUNCTION size_t CountBlocks(const unsigned char* b, size_t lastStart, const unsigned char* p,
                                          size_t m, int caseSensitive, DWORD& count)
{
    const unsigned char* prepared = PreparedBytes(caseSensitive);
    const VectorTest first = Broadcast(p[0], caseSensitive);
    const VectorTest last = Broadcast(p[m - 1], caseSensitive);
    const unsigned char* exact = Tables().exact[caseSensitive ? 1 : 0];
    const Unchecked left = {exact[p[0]] ? 1u : 0u, exact[p[m - 1]] ? m - 1 : m};
    const size_t lastOffset = m - 1;
    size_t i = 0;
    // Most rounds find no candidate at all: one test for 64 starts, the single blocks only when it passes.
    // A large file has left the cache by the time it is read back: ask for its bytes well ahead.
    constexpr size_t kPrefetchDistance = 2048;
    for (; i + 63 <= lastStart; i += 64) {
        const size_t ahead = i + kPrefetchDistance < lastStart ? i + kPrefetchDistance : lastStart;
        _mm_prefetch(reinterpret_cast<const char*>(b + ahead), _MM_HINT_T0);
        const __m128i c0 = Candidates<kHigh>(b + i, lastOffset, first, last);
        const __m128i c1 = Candidates<kHigh>(b + i + 16, lastOffset, first, last);
        const __m128i c2 = Candidates<kHigh>(b + i + 32, lastOffset, first, last);
        const __m128i c3 = Candidates<kHigh>(b + i + 48, lastOffset, first, last);
        if (!Bits(_mm_or_si128(_mm_or_si128(c0, c1), _mm_or_si128(c2, c3))))
            continue;
        CountCandidates(Bits(c0), b + i, p, left, prepared, count);
        CountCandidates(Bits(c1), b + i + 16, p, left, prepared, count);
        CountCandidates(Bits(c2), b + i + 32, p, left, prepared, count);
        CountCandidates(Bits(c3), b + i + 48, p, left, prepared, count);
    }
    for (; i + 15 <= lastStart; i += 16)
        CountCandidates(Bits(Candidates<kHigh>(b + i, lastOffset, first, last)), b + i, p, left, prepared, count);
    return i;
}

// Windows whose first and last bytes may hold the text's, 16 starts at a time, each then compared whole.
SEEKWORD_SSE2_FUNCTION DWORD CountDoubleByteSse2(const unsigned char* b, size_t n, const DoubleBytePattern& pattern,
                                                 const CodePageText& chars)
{
    const size_t m = pattern.Length();
    if (m == 0 || m > n)
        return 0;
    CharacterStarts starts(b, chars);
    DWORD count = 0;
    size_t i = 0;
    if (n >= m + 15) {
        unsigned char f1, f2, l1, l2;
        pattern.RawBytes(0, f1, f2);
        pattern.RawBytes(m - 1, l1, l2);
        const __m128i first1 = _mm_set1_epi8(static_cast<char>(f1)), first2 = _mm_set1_epi8(static_cast<char>(f2));
        const __m128i last1 = _mm_set1_epi8(static_cast<char>(l1)), last2 = _mm_set1_epi8(static_cast<char>(l2));
        const size_t lastStart = n - m;
        for (; i + 15 <= lastStart; i += 16) {
            const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
            const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i + m - 1));
            const __m128i heads = _mm_or_si128(_mm_cmpeq_epi8(head, first1), _mm_cmpeq_epi8(head, first2));
            const __m128i tails = _mm_or_si128(_mm_cmpeq_epi8(tail, last1), _mm_cmpeq_epi8(tail, last2));
            unsigned mask = Bits(_mm_and_si128(heads, tails));
            for (size_t k = i; mask; mask >>= 1, ++k) {
                if ((mask & 1) && pattern.Matches(b + k) && starts.At(k))
                    ++count;
            }
        }
    }
    for (; i + m <= n; ++i) {
        if (pattern.Matches(b + i) && starts.At(i))
            ++count;
    }
    return count;
}

}  // namespace

DWORD CountInFileSse2(const char* bytes, size_t n, const char* text, int caseSensitive, const CodePageText& chars)
{
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    if (chars.DoubleByte())
        return CountDoubleByteSse2(b, n, DoubleBytePattern(p, caseSensitive, chars), chars);
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
        const unsigned char* highMask = Tables().highMask[caseSensitive ? 1 : 0];
        if (highMask[p[0]] || highMask[p[m - 1]])
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

int ShiftTable[256];

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

void PrepareCountCopy(char* copy, const char* bytes, DWORD n, int caseSensitive)
{
    unsigned char* out = reinterpret_cast<unsigned char*>(copy);
    const unsigned char* in = reinterpret_cast<const unsigned char*>(bytes);
    const unsigned char* prepared = PreparedBytes(caseSensitive);
    for (DWORD i = 0; i < n; ++i)
        out[i] = prepared[in[i]];
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
    for (int i = 1; i < m; ++i)
        ShiftTable[text[i]] = m - i;
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
        const DWORD shift = static_cast<DWORD>(ShiftTable[c]);
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
    if (CodePageText::Ansi().DoubleByte())
        return CodePageText::Ansi().FoldAscii(s);
    const unsigned char* fold = Tables().fold;
    for (char* c = s; *c; ++c)
        *c = static_cast<char>(fold[static_cast<unsigned char>(*c)]);
    return s;
}

// A Horspool skip search over the raw bytes, each read through the preparing table: the count of the copy
// without making one.
DWORD CountInFilePortable(const char* bytes, size_t n, const char* text, int caseSensitive, const CodePageText& chars)
{
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    if (chars.DoubleByte())
        return CountDoubleBytePortable(b, n, DoubleBytePattern(p, caseSensitive, chars), chars);
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
    return ProcessorHasSse2();
}

DWORD CountInFile(const char* bytes, size_t n, const char* text, int caseSensitive, const CodePageText& chars)
{
#if defined(SEEKWORD_COUNT_SSE2)
    if (CountUsesSse2())
        return CountInFileSse2(bytes, n, text, caseSensitive, chars);
#endif
    return CountInFilePortable(bytes, n, text, caseSensitive, chars);
}

DWORD CountStarting(const char* bytes, size_t n, size_t from, size_t to, const char* text, int caseSensitive,
                    const CodePageText& chars)
{
    if (to > n)
        to = n;
    const size_t m = static_cast<size_t>(lstrlenA(text));
    if (from >= to || m == 0)
        return 0;
    const size_t end = n - to > m - 1 ? to + (m - 1) : n;
    return CountInFile(bytes + from, end - from, text, caseSensitive, chars);
}

// The count itself decides, a stretch at a time: the first stretch that holds an occurrence is halved
// until one start is left, so no occurrence is ever judged other than as the count judges it. The
// stretches start short, for the next of many close occurrences, and grow for a file that has few.
size_t FindInFile(const char* bytes, size_t n, size_t from, const char* text, int caseSensitive,
                  const CodePageText& chars)
{
    // Every stretch and half begins with a character, as the count takes its first byte to be one.
    // An occurrence from the second byte of a character on would start inside it.
    if (from < n && chars.CharacterStart(bytes, from) != from)
        ++from;
    constexpr size_t kLongestStretch = 64u << 10;
    size_t stretch = 256;
    for (size_t start = from; start < n;) {
        const size_t end = n - start > stretch ? chars.CharacterStart(bytes, start + stretch) : n;
        if (CountStarting(bytes, n, start, end, text, caseSensitive, chars)) {
            size_t first = start, last = end;  // characters; the first occurrence starts in [first, last)
            for (;;) {
                size_t middle = chars.CharacterStart(bytes, first + (last - first) / 2);
                if (middle <= first)
                    middle = first + chars.CharLength(bytes, first, n);
                if (middle >= last)
                    return first;
                if (CountStarting(bytes, n, first, middle, text, caseSensitive, chars))
                    last = middle;
                else
                    first = middle;
            }
        }
        start = end;
        if (stretch < kLongestStretch)
            stretch *= 2;
    }
    return n;
}

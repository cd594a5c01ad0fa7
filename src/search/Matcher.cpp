// Counting the search text over a whole file with a Horspool skip table, and finding it within one line.
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

#if !(defined(_M_X64) || defined(__x86_64__) || defined(_M_ARM64) || defined(__aarch64__))
// The prepared copy holds only 0x01 to 0x7F, so neither sentinel can match a byte of it.
constexpr unsigned char PreparedByte(unsigned char c, bool caseSensitive)
{
    if (c == 0 || c >= 0x80)
        return kSpace;
    if (!caseSensitive && c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c | kFoldBit);
    return c;
}

// Without a baseline vector unit a table lookup per byte beats any branch-free arithmetic.
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
#endif

}  // namespace

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

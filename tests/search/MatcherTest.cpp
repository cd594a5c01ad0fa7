// The whole-file count with its skip table and prepared copy, the one-pass count beside it, the find over the
// file and the one-line find, and case folding.
#include <gtest/gtest.h>

#include "search/Matcher.h"
#include "search/SearchOptions.h"
#include "textview/AnsiText.h"

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// What the view's counting hook does with a loaded file.
DWORD Count(const std::string& file, const std::string& text, int caseSensitive)
{
    DWORD n = static_cast<DWORD>(file.size());
    char* copy = AcquireCountBuffer(n + 2);
    EXPECT_NE(nullptr, copy);
    if (!copy)
        return 0;
    PrepareCountCopy(copy, file.data(), n, caseSensitive);
    std::memset(searchOptions.patternArea, 0, sizeof searchOptions.patternArea);
    lstrcpynA(searchOptions.searchText, text.c_str(), kSearchTextSize);
    if (!caseSensitive)
        FoldCase(searchOptions.searchText);
    PreparePattern(searchOptions.patternArea);
    return CountOccurrences(n);
}

// A-Z, and 0x80-0xFF as the code page lowers each alone, but never onto ASCII or onto a byte that lowers again.
unsigned char PlainFold(unsigned char c)
{
    if (c < 0x80 || !AnsiText::SingleByte())
        return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    char lower[2] = {static_cast<char>(c)};
    CharLowerBuffA(lower, 1);
    lower[1] = lower[0];
    CharLowerBuffA(lower + 1, 1);
    const unsigned char once = static_cast<unsigned char>(lower[0]);
    return once >= 0x80 && lower[1] == lower[0] ? once : c;
}

unsigned char PlainPreparedByte(unsigned char c, int caseSensitive)
{
    return c == 0 ? ' ' : caseSensitive ? c : PlainFold(c);
}

// Every window position of the prepared file compared with the prepared text, overlaps included.
DWORD PlainCount(const std::string& file, const std::string& text, int caseSensitive)
{
    std::string copy(file), wanted(text);
    for (char& c : copy)
        c = static_cast<char>(PlainPreparedByte(static_cast<unsigned char>(c), caseSensitive));
    if (!caseSensitive) {
        for (char& c : wanted)
            c = static_cast<char>(PlainFold(static_cast<unsigned char>(c)));
    }
    if (wanted.empty() || wanted.size() > copy.size())
        return 0;
    DWORD count = 0;
    for (size_t i = 0; i + wanted.size() <= copy.size(); ++i)
        count += copy.compare(i, wanted.size(), wanted) == 0;
    return count;
}

// Every way the program can count, each against the plain definition; the vector path only where the
// processor has it, which every processor these tests run on does. Given a code page, the text is taken as
// the dialog stores it for that page, folded already.
void ExpectEveryCountIs(DWORD expected, const char* bytes, DWORD n, const std::string& text, int caseSensitive,
                        const std::string& where, const CodePageText* codePage = nullptr)
{
    std::string folded(text);
    if (!caseSensitive && !codePage)
        FoldCase(&folded[0]);
    const CodePageText& chars = codePage ? *codePage : CodePageText::Ansi();
    EXPECT_EQ(expected, CountInFile(bytes, n, folded.c_str(), caseSensitive, chars)) << where;
    EXPECT_EQ(expected, CountInFilePortable(bytes, n, folded.c_str(), caseSensitive, chars)) << where;
#if defined(SEEKWORD_COUNT_SSE2)
    if (IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE))
        EXPECT_EQ(expected, CountInFileSse2(bytes, n, folded.c_str(), caseSensitive, chars)) << where;
#endif
}

// Bytes that end right before a page the process may not read, so that reading one byte too far crashes.
class GuardedBytes {
public:
    GuardedBytes()
    {
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        pageSize = system.dwPageSize;
        block = static_cast<char*>(VirtualAlloc(nullptr, 2 * pageSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD old = 0;
        if (block && !VirtualProtect(block + pageSize, pageSize, PAGE_NOACCESS, &old)) {
            VirtualFree(block, 0, MEM_RELEASE);
            block = nullptr;
        }
    }
    ~GuardedBytes()
    {
        if (block)
            VirtualFree(block, 0, MEM_RELEASE);
    }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    // n bytes (at most a page) copied so that they end at the guard page.
    const char* Place(const std::string& bytes)
    {
        char* start = block + pageSize - bytes.size();
        std::memcpy(start, bytes.data(), bytes.size());
        return start;
    }
    bool Ready() const { return block != nullptr; }

private:
    DWORD pageSize = 0;
    char* block = nullptr;
};

class MatcherTest : public ::testing::Test {
protected:
    void TearDown() override { std::memset(searchOptions.patternArea, 0, sizeof searchOptions.patternArea); }
};

}  // namespace

TEST_F(MatcherTest, CountsOverlappingOccurrences)
{
    EXPECT_EQ(3u, Count("aaaa", "aa", 1));
    EXPECT_EQ(2u, Count("ababa", "aba", 1));
    EXPECT_EQ(4u, Count("aaaa", "a", 1));
    EXPECT_EQ(1u, Count("xyz", "xyz", 1));
    EXPECT_EQ(2u, Count("needle in a haystack with a needle", "needle", 1));
    EXPECT_EQ(0u, Count("needle in a haystack", "needles", 1));
}

TEST_F(MatcherTest, CountsNothingWhenTheTextIsLongerThanTheFile)
{
    EXPECT_EQ(0u, Count("", "a", 1));
    EXPECT_EQ(0u, Count("ab", "abc", 1));
    EXPECT_EQ(0u, Count("ab", "abc", 0));
}

TEST_F(MatcherTest, EmptySearchTextCountsNothing)
{
    EXPECT_EQ(0u, Count("anything at all", "", 1));
    EXPECT_EQ(0u, Count("", "", 0));
}

TEST_F(MatcherTest, FoldsAToZAndTheCodePagesCapitals)
{
    EXPECT_EQ(1u, Count("FOO Foo foo fOo", "Foo", 1));
    EXPECT_EQ(4u, Count("FOO Foo foo fOo", "Foo", 0));
    EXPECT_STREQ("foo", searchOptions.searchText) << "not stored folded";
    // '@' and '[' sit right beside the letters and must stay as they are.
    EXPECT_EQ(0u, Count("@[", "`{", 0));

    char all[256];
    for (int c = 1; c < 256; ++c)
        all[c - 1] = static_cast<char>(c);
    all[255] = '\0';
    FoldCase(all);
    for (int c = 1; c < 256; ++c)
        EXPECT_EQ(PlainFold(static_cast<unsigned char>(c)), static_cast<unsigned char>(all[c - 1])) << "byte " << c;
}

TEST_F(MatcherTest, NulIsASpaceToTheCountOnlyAndHighBytesAreText)
{
    const std::string withNul("foo\0bar", 7);
    EXPECT_EQ(1u, Count(withNul, "foo bar", 1));
    EXPECT_EQ(0u, Count("foo\x80" "bar", "foo bar", 1));
    EXPECT_EQ(1u, Count("caf\xE9 caf\xC9", "caf\xE9", 1));
    EXPECT_EQ(2u, Count("\xFF\xFE\xFF\xFE\xFF", "\xFF\xFE\xFF", 1));  // once the sentinels

    const char line[] = "foo\x80" "bar";
    EXPECT_EQ(nullptr, FindInText(line, "foo bar"));
    EXPECT_EQ(line + 4, FindInText(line, "bar"));
}

TEST_F(MatcherTest, SkipTableHoldsTheLastPositionBeforeTheFinalOne)
{
    char pattern[16] = "?abcab";
    PreparePattern(pattern);
    EXPECT_EQ('\0', pattern[0]);
    EXPECT_EQ(1, ShiftTable[static_cast<int>('a')]);
    EXPECT_EQ(3, ShiftTable[static_cast<int>('b')]);
    EXPECT_EQ(2, ShiftTable[static_cast<int>('c')]);
    EXPECT_EQ(5, ShiftTable[static_cast<int>('z')]);
    EXPECT_EQ(5, ShiftTable[0]);

    // A signed index would land before the table.
    char high[16] = "?\x80\xFF\xC4x";
    PreparePattern(high);
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(c == 0x80 ? 3 : c == 0xFF ? 2 : c == 0xC4 ? 1 : 4, ShiftTable[c]) << "entry " << c;
}

TEST_F(MatcherTest, PreparedCopyMatchesThePlainDefinition)
{
    std::mt19937 random(20240611);
    std::vector<char> source(5000), copy(5000 + 64);
    for (char& c : source)
        c = static_cast<char>(random());
    for (int caseSensitive = 0; caseSensitive < 2; ++caseSensitive) {
        for (DWORD offset = 0; offset < 16; ++offset) {
            for (DWORD n : {0u, 1u, 7u, 15u, 16u, 17u, 31u, 33u, 64u, 100u, 4000u}) {
                std::fill(copy.begin(), copy.end(), '#');
                PrepareCountCopy(copy.data() + offset, source.data() + offset, n, caseSensitive);
                for (DWORD i = 0; i < n; ++i) {
                    unsigned char in = static_cast<unsigned char>(source[offset + i]);
                    ASSERT_EQ(PlainPreparedByte(in, caseSensitive),
                              static_cast<unsigned char>(copy[offset + i]))
                        << "byte " << int(in) << " case " << caseSensitive;
                }
                EXPECT_EQ('#', copy[offset + n]) << "wrote past the copy";
                if (offset)
                    EXPECT_EQ('#', copy[offset - 1]) << "wrote before the copy";
            }
        }
    }
}

TEST_F(MatcherTest, CountAgreesWithAPlainCountOnRandomData)
{
    std::mt19937 random(77031);
    // cp1252's capitals and small letters Ö ö, Ÿ ÿ (two bits apart), Š š, and ß.
    const char alphabet[] = {'a', '\xF6', 'A', '\xD6', 'b', ' ', '\0', '\x9F', '\xFF', '\x8A', '\x9A', '\xDF', 'Z'};
    auto pick = [&](int letters) { return alphabet[random() % letters]; };
    int compared = 0, nonZero = 0;
    for (int round = 0; round < 3000; ++round) {
        int letters = 2 + static_cast<int>(random() % (sizeof alphabet - 1));
        std::string file(random() % 600, ' ');
        for (char& c : file)
            c = pick(letters);
        std::string text(1 + random() % 6, ' ');
        for (char& c : text) {
            c = pick(letters);
            if (c == '\0')
                c = ' ';
        }
        int caseSensitive = static_cast<int>(random() % 2);
        DWORD expected = PlainCount(file, text, caseSensitive);
        ASSERT_EQ(expected, Count(file, text, caseSensitive))
            << "round " << round << " text '" << text << "' case " << caseSensitive;
        ExpectEveryCountIs(expected, file.data(), static_cast<DWORD>(file.size()), text, caseSensitive,
                           "round " + std::to_string(round) + " text '" + text + "'");
        if (HasFailure())
            return;
        ++compared;
        nonZero += expected != 0;
    }
    EXPECT_EQ(3000, compared);
    EXPECT_GT(nonZero, 1000) << "the random cases hardly ever match";

    // One large file with longer texts, across the buffer's growth.
    std::string big(3 * 64000 + 123, ' ');
    for (char& c : big)
        c = pick(4);
    for (const char* text : {"a\xF6" "a\xF6", "aBAbA", "\xF6\xF6\xF6\xF6\xF6", "a\xD6 a", " a", "A\xF6" "A\xF6" "A\xF6 "}) {
        for (int caseSensitive = 0; caseSensitive < 2; ++caseSensitive) {
            const DWORD expected = PlainCount(big, text, caseSensitive);
            EXPECT_EQ(expected, Count(big, text, caseSensitive)) << text;
            ExpectEveryCountIs(expected, big.data(), static_cast<DWORD>(big.size()), text, caseSensitive, text);
        }
    }
}

TEST_F(MatcherTest, CountInFileReadsNoByteBehindTheFile)
{
    GuardedBytes guarded;
    ASSERT_TRUE(guarded.Ready());
    std::mt19937 random(9091);
    const char alphabet[] = {'a', 'b', 'A', ' ', '\0', '\xE4', '\xC4'};
    // Every length around the 16- and 32-byte blocks, texts long and short, hits at the very end.
    for (DWORD n = 0; n <= 100; ++n) {
        std::string file(n, ' ');
        for (char& c : file)
            c = alphabet[random() % sizeof alphabet];
        const char* bytes = guarded.Place(file);
        for (size_t m : {1u, 2u, 3u, 15u, 16u, 17u, 40u}) {
            for (int fromEnd = 0; fromEnd < 2; ++fromEnd) {
                std::string text(m, 'a');
                if (fromEnd && n >= m)
                    text = file.substr(n - m);
                for (char& c : text) {
                    if (c == '\0')
                        c = ' ';
                }
                for (int caseSensitive = 0; caseSensitive < 2; ++caseSensitive)
                    ExpectEveryCountIs(PlainCount(file, text, caseSensitive), bytes, n, text, caseSensitive,
                                       "length " + std::to_string(n) + " text '" + text + "'");
            }
        }
        if (HasFailure())
            return;
    }
}

TEST_F(MatcherTest, CountInFileChoosesTheVectorPathWhereTheProcessorHasIt)
{
#if defined(_M_X64) || defined(__x86_64__)
    EXPECT_TRUE(CountUsesSse2());
#elif defined(SEEKWORD_COUNT_SSE2)
    EXPECT_EQ(IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != 0, CountUsesSse2() != 0);
#else
    EXPECT_FALSE(CountUsesSse2());
#endif
    // No hit: a high byte's text in another case, and a capital no folded copy can equal.
    const std::string file("Caf\xE9 CAFE cafe");
    ExpectEveryCountIs(0, file.data(), static_cast<DWORD>(file.size()), "caf\xE9", 1, "high byte");
    EXPECT_EQ(0u, CountInFile(file.data(), static_cast<DWORD>(file.size()), "CAFE", 0));
    EXPECT_EQ(0u, CountInFilePortable(file.data(), static_cast<DWORD>(file.size()), "CAFE", 0));
    EXPECT_EQ(0u, CountInFile(file.data(), static_cast<DWORD>(file.size()), "", 0));
    EXPECT_EQ(2u, CountInFile(file.data(), static_cast<DWORD>(file.size()), "cafe", 0));
    EXPECT_EQ(1u, CountInFile(file.data(), static_cast<DWORD>(file.size()), "CAFE", 1));
}

TEST_F(MatcherTest, CountBufferOnlyGrowsAndRefusesAWrappedSize)
{
    char* first = AcquireCountBuffer(64000);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(static_cast<char>(0xFF), first[-1]);
    EXPECT_EQ(first, AcquireCountBuffer(100));
    EXPECT_EQ(first, AcquireCountBuffer(63999));
    char* larger = AcquireCountBuffer(200000);
    ASSERT_NE(nullptr, larger);
    EXPECT_EQ(static_cast<char>(0xFF), larger[-1]);
    larger[199998] = 'x';  // the last byte of the buffer is in reach
    EXPECT_EQ(larger, AcquireCountBuffer(64000));

    // A file length of 0xFFFFFFFE or 0xFFFFFFFF plus 2 wraps past 32 bits.
    DWORD length = 0xFFFFFFFEu;
    EXPECT_EQ(nullptr, AcquireCountBuffer(length + 2));
    length = 0xFFFFFFFFu;
    EXPECT_EQ(nullptr, AcquireCountBuffer(length + 2));
    EXPECT_EQ(larger, AcquireCountBuffer(64000)) << "a refused size must keep the buffer";

    if (sizeof(void*) == 4) {
        // More than a 32-bit process can hold: the buffer is gone and the next request allocates afresh.
        EXPECT_EQ(nullptr, AcquireCountBuffer(0xFFFFFFF0u));
        EXPECT_EQ(0u, CountOccurrences(10));
        char* again = AcquireCountBuffer(64000);
        ASSERT_NE(nullptr, again);
        EXPECT_EQ(static_cast<char>(0xFF), again[-1]);
    }
    EXPECT_EQ(2u, Count("a-a", "a", 1));
}

TEST_F(MatcherTest, FindInFileStopsWhereTheCountCountsFromAnyStart)
{
    // Random bytes without a q; "Q\0q", which the count reads folded as "q q", planted twice, last at the end.
    std::mt19937 random(5150);
    std::string big(4 * 65536 + 77, ' ');
    for (char& c : big)
        c = "aAb \xD6\xF6"[random() % 6];
    const std::vector<size_t> plantedAt = {131000, big.size() - 3};
    for (size_t at : plantedAt)
        big.replace(at, 3, std::string("Q\0q", 3));
    const DWORD n = static_cast<DWORD>(big.size());
    // From every distance around the edges of the stretches the find takes (256 bytes, then doubling to
    // 64 KB), an occurrence that starts at an edge or runs across one is found.
    for (size_t at : plantedAt) {
        for (DWORD before : {0u, 1u, 2u, 3u, 253u, 254u, 255u, 256u, 257u, 766u, 767u, 768u, 65278u, 65279u,
                             65280u, 65281u, 130815u, 130816u})
            EXPECT_EQ(at, FindInFile(big.data(), n, static_cast<DWORD>(at - before), "q q", 0)) << before;
    }
    EXPECT_EQ(n, FindInFile(big.data(), n, static_cast<DWORD>(plantedAt.back() + 1), "q q", 0));
    EXPECT_EQ(n, FindInFile(big.data(), n, 0, "q q", 1));
    GuardedBytes guarded;
    ASSERT_TRUE(guarded.Ready());
    const char* tail = guarded.Place(big.substr(n - 3000));
    EXPECT_EQ(2997u, FindInFile(tail, 3000, 0, "q q", 0));

    // Overlapping ones a byte apart; texts the count never finds; and on code page 932 whole characters only,
    // a start inside one taking the next. The line is ア, A, 表 and a backslash.
    const CodePageText japanese(932);
    const char line[] = "\x83\x41" "A\x95\x5C\\";
    const struct { const char* bytes; DWORD from; const char* text; int caseSensitive; DWORD found;
                   const CodePageText* chars; } rows[] = {
        {"aaaa", 0, "aa", 1, 0}, {"aaaa", 1, "aa", 1, 1}, {"aaaa", 2, "aa", 1, 2}, {"aaaa", 3, "aa", 1, 4},
        {"CAFE", 0, "CAFE", 0, 4},  // a capital no folded byte equals
        {"abc", 0, "", 1, 3},
        {line, 0, "A", 1, 2, &japanese}, {line, 0, "\\", 1, 5, &japanese}, {line, 3, "A", 1, 6, &japanese},
        {line, 1, "AA", 1, 6, &japanese}, {line, 1, "A", 1, 2, &japanese},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.found, FindInFile(row.bytes, std::strlen(row.bytes), row.from, row.text, row.caseSensitive,
                                        row.chars ? *row.chars : CodePageText::Ansi()))
            << row.text << " from " << row.from;
}

TEST_F(MatcherTest, FindInTextReturnsTheFirstExactOccurrence)
{
    const char text[] = "abcabc";
    EXPECT_EQ(text + 2, FindInText(text, "ca"));
    EXPECT_EQ(nullptr, FindInText(text, "cb"));
    EXPECT_EQ(text, FindInText(text, "abc"));
    EXPECT_EQ(text + 4, FindInText(text + 2, "bc"));
    EXPECT_EQ(text + 5, FindInText(text + 3, "c"));
    EXPECT_EQ(nullptr, FindInText(text, "abcabcd"));
    EXPECT_EQ(nullptr, FindInText(text, "ABC"));
    EXPECT_EQ(nullptr, FindInText("", "a"));
    EXPECT_EQ(text, FindInText(text, ""));

    // Find next continues after the end of the previous match: aa in aaaa is found at 0 and 2 only.
    const char run[] = "aaaa";
    std::vector<long> found;
    for (const char* at = FindInText(run, "aa"); at; at = FindInText(at + 2, "aa"))
        found.push_back(static_cast<long>(at - run));
    EXPECT_EQ((std::vector<long>{0, 2}), found);
}

// On double-byte code pages an occurrence counts only from the first byte of a character, and only
// single-byte characters fold. The texts are given folded, as the dialog stores them. Each line holds a
// case that must not count and, where there is one, its counterpart that must.
TEST_F(MatcherTest, DoubleByteCodePagesCountAndFoldWholeCharactersOnly)
{
    const struct { UINT codePage; std::string file, text; int caseSensitive; DWORD expected; } rows[] = {
        {932, "\x83\x41", "A", 1, 0}, {932, "\x83\x41" "A", "A", 1, 1},            // A in ア, and after it
        {932, "\x81\x41", "a", 0, 0}, {932, "\x81\x41" "A", "a", 0, 1},            // a in 、
        {932, "\x95\x5C\x83\x5C", "\\", 1, 0}, {932, "\x95\x5C\\", "\\", 1, 1},    // \ in 表ソ
        {932, "\x81\x5B", "[", 1, 0},                                               // [ in ー
        {932, "\x83\x61", "\x83\x41", 0, 0}, {932, "\x83\x61\x83\x41", "\x83\x41", 0, 1},  // ア does not fold onto ヂ
        {932, "\x83\x41", "\x83\x61", 0, 0},                                        // nor ヂ onto ア
        {932, "\x81\x81\x81\x41", "a", 0, 0}, {932, "\x81\x81" "A", "a", 0, 1},    // lead bytes pair off from the start
        {932, "\x83" "1A", "1a", 0, 1},   // a lead byte before a byte below 0x40 stands alone
        {932, "\x83\r\nA", "A", 1, 1},    // ... and never takes the line break
        {932, "x\x83", "\x83", 1, 1},     // ... nor the end of the file
        {932, "AB\x95\x5C" "ab", "b\x95\x5C" "a", 0, 1},
        {936, "\x81\x40\x81\x41", "A", 1, 0}, {936, "\x81\x40" "A", "a", 0, 1},   // GBK 丂 and the next
        {949, "\x81\x41", "a", 0, 0}, {949, "\x81\x41" "a", "a", 0, 1},            // UHC 갂
        {950, "\xB3\x5C\xA4\x40", "\\", 1, 0}, {950, "\xB3\x5C\xA4\x40", "@", 1, 0},  // Big5 許 and 一
        {950, "\xB3\x5C\xA4\x40", "\xA4\x40", 1, 1},
    };
    const std::string margin(40, '.');
    for (const auto& row : rows) {
        const CodePageText chars(row.codePage);
        ASSERT_TRUE(chars.DoubleByte()) << row.codePage;
        // Alone, and inside enough bytes for the vector path's blocks.
        for (const std::string& file : {row.file, margin + row.file + margin})
            ExpectEveryCountIs(row.expected, file.data(), static_cast<DWORD>(file.size()), row.text, row.caseSensitive,
                               std::to_string(row.codePage) + " '" + row.text + "' in '" + file + "'", &chars);
    }
    const CodePageText japanese(932);
    char text[] = "\x83\x41Z\x81\x5A" "A";
    EXPECT_STREQ("\x83\x41z\x81\x5A" "a", japanese.FoldAscii(text));
    // A search text cut inside its last character loses that byte; a whole one keeps its length.
    EXPECT_EQ(2, japanese.WholeLength("\x83\x41\x95"));
    EXPECT_EQ(3, japanese.WholeLength("\x83\x41" "A"));
}

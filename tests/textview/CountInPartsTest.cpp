// A file counted part by part: every part size gives the whole file's count, forms converted on the way,
// Escape between parts, the buffers a large file leaves behind, and a hit too large to show.
#include <gtest/gtest.h>

#include "ViewTestSupport.h"
#include "search/SearchOptions.h"

namespace {

std::string Utf16(const std::string& latin, bool bigEndian)
{
    std::string wide = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : latin)
        wide += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return wide;
}

// The view counts for real, and "needle" is searched for unless a test says otherwise.
class CountInPartsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (GetACP() != 1252)
            GTEST_SKIP() << "the letters below are those of code page 1252";
        Search("needle", 0);
        view.useRealCount = 1;
    }
    void TearDown() override { Search("", 0); }
    void Search(const char* text, int caseSensitive)
    {
        lstrcpynA(searchOptions.searchText, text, kSearchTextSize);
        searchOptions.caseSensitive = caseSensitive;
    }

    TempFolder folder;
    ProbeView view;
};

TEST_F(CountInPartsTest, EveryPartSizeGivesTheCountOfTheWholeFile)
{
    // shown: the text shown for a hit, when it is not the bytes themselves.
    const struct { const char* name; std::string bytes; const char* text; int caseSensitive;
                   unsigned long long count; std::string shown; } cases[] = {
        {"overlapping", "aaaaaaaaa", "aa", 1, 8},
        {"folded", "x NEEDLE y needle z NeEdLe", "needle", 0, 3},
        {"case kept", "x NEEDLE y needle z NeEdLe", "needle", 1, 1},
        {"NUL as a space", std::string("a\0b a b", 7), "a b", 1, 2},
        {"UTF-16 LE", Utf16("the needle, the NEEDLE", false), "needle", 0, 2, "the needle, the NEEDLE"},
        {"UTF-16 BE", Utf16("the needle, the NEEDLE", true), "e n", 0, 2, "the needle, the NEEDLE"},
        {"UTF-16 odd byte", Utf16("ab ab", false) + "a", "ab", 1, 2, "ab ab"},
        {"marked UTF-8", "\xEF\xBB\xBFGr\xC3\xB6\xC3\x9F" "e, GR\xC3\x96\xC3\x9F" "E", "gr\xF6\xDF" "e", 0, 2,
         "Gr\xF6\xDF" "e, GR\xD6\xDF" "E"},
        {"unmarked UTF-8, converted text", "Gr\xC3\xB6\xC3\x9F" "e Gr\xC3\xB6\xC3\x9F" "e", "\xF6\xDF" "e", 1, 2,
         "Gr\xF6\xDF" "e Gr\xF6\xDF" "e"},
        {"unmarked UTF-8, ASCII text", "caf\xC3\xA9 needle caf\xC3\xA9", "needle", 1, 1, "caf\xE9 needle caf\xE9"},
        // Valid UTF-8 at first, then a byte that cannot be: the bytes as they stand.
        {"not UTF-8 after all", "\xC3\xB6 gr\xF6\xDF" "e gr\xF6\xDF" "e", "gr\xF6\xDF" "e", 1, 2},
        {"not UTF-8, ASCII text", "\xC3\xB6 needle \xF6", "needle", 1, 1},
        {"not UTF-8, text in a sequence", "x \xE2\x82\xAC y \xE2\x82\xAC z \xFF", "\xE2", 1, 2},
        {"ASCII, text with a letter", "plain ascii only", "\xE9", 1, 0},
    };
    for (const auto& c : cases) {
        Search(c.text, c.caseSensitive);
        const std::string file = folder.Write("parts.txt", c.bytes);
        // Whole, then in parts of every size from 4 (room for a byte-order mark) to one past the file.
        for (DWORD part = 0; part <= c.bytes.size() + 1; part = part ? part + 1 : 4) {
            SCOPED_TRACE(std::string(c.name) + ", part " + std::to_string(part));
            ProbeView parted;
            CountInPartsOf(parted, part);
            EXPECT_EQ(c.count ? 1 : -2, parted.LoadFile(file.c_str()));
            EXPECT_EQ(c.count, parted.matchCount);
            EXPECT_EQ(part ? 1 : 0, parted.partCounts);
            if (!c.count)
                continue;
            // Counted in parts, a hit kept as it stands is shown from the file, to the same lines.
            EXPECT_EQ(part && c.shown.empty(), parted.shownFile.InUse());
            ProbeView shown;
            IndexBytes(shown, c.shown.empty() ? c.bytes : c.shown);
            EXPECT_EQ(AllLines(shown), AllLines(parted));
        }
    }
}

// Escape between parts leaves the file to be examined again, whole; a failed read makes it unread.
TEST_F(CountInPartsTest, EscapeOrAFailedReadBetweenPartsEndsTheLoad)
{
    const std::string file = folder.Write("large.txt", std::string(100, 'x') + "needle");
    CountInPartsOf(view, 10);
    view.stopAtLook = 3;
    EXPECT_EQ(kLoadStopped, view.LoadFile(file.c_str()));
    EXPECT_EQ(3, view.readCalls);
    EXPECT_EQ(1, view.LoadFile(file.c_str()));
    EXPECT_EQ(1u, view.matchCount);
    EXPECT_EQ(0, view.loadStopped);
    view.failingRead = view.readCalls + 4;  // the next load's fourth part
    EXPECT_EQ(0, view.LoadFile(file.c_str()));
    EXPECT_EQ(0, view.lineCount);
}

// A large hit is shown from the file, its lines read back where they lie, until the next file.
TEST_F(CountInPartsTest, LargeHitIsShownFromTheFileUntilTheNextFile)
{
    view.wholeReadLargest = 1000;
    // Lines far apart, read backwards, and across the ends of the part the view reads them from.
    const std::string lines = NumberedLines(20000);
    ProbeView held;
    IndexBytes(held, lines);
    ASSERT_EQ(1, view.LoadFile(folder.Write("long.txt", lines + "\r\nneedle").c_str()));
    ASSERT_EQ(held.lineCount + 1, view.lineCount);
    for (int line = held.lineCount - 1; line >= 0; --line)
        ASSERT_EQ(LineText(held, line), LineText(view, line)) << line;
    EXPECT_EQ(0u, view.bufferCapacity);
    // No handle is kept: another program may rewrite the file; cut short, its lost lines read as empty.
    const std::string large = folder.Write("large.txt", NumberedLines(400) + "\r\nthe NEEDLE");
    ASSERT_EQ(1, view.LoadFile(large.c_str()));
    HANDLE h = CreateFileA(large.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = 20;
    EXPECT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN) && SetEndOfFile(h));
    CloseHandle(h);
    EXPECT_EQ("line 1", LineText(view, 1));
    EXPECT_EQ("", LineText(view, 400));
    // Rotated, the file is not followed, and the one put in its place is not read.
    ASSERT_EQ(1, view.LoadFile(folder.Write("large.txt", NumberedLines(400) + "\r\nthe NEEDLE").c_str()));
    ASSERT_TRUE(MoveFileA(large.c_str(), folder.Name("large.1").c_str()));
    folder.Write("large.txt", NumberedLines(400) + "\r\nthe NEEDLE");
    EXPECT_EQ("", LineText(view, 1));

    ASSERT_EQ(1, view.LoadFile(folder.Write("small.txt", "a needle").c_str()));
    EXPECT_FALSE(view.shownFile.InUse());
    EXPECT_EQ(8 + kBufferSlack, view.bufferCapacity);
}

TEST_F(CountInPartsTest, IndexOfMoreThanAMillionLinesIsNotKeptForTheNextFile)
{
    view.useRealCount = 0;  // every file a hit
    ASSERT_EQ(1, view.LoadFile(folder.Write("lines.txt", std::string(kKeptLineCapacity + 10, '\n')).c_str()));
    EXPECT_EQ(kKeptLineCapacity + 11, view.lineCount);
    ASSERT_EQ(1, view.LoadFile(folder.Write("small.txt", "one\ntwo").c_str()));
    EXPECT_EQ(kInitialLineCapacity, view.lineCapacity);
    EXPECT_EQ((std::vector<std::string>{"one", "two"}), AllLines(view));
}

// A hit past the showable size is counted, from parts that cut its occurrences and to its end even past
// 4 GiB, but not read; at the size, it is shown. The huge file is sparse: its low 32 bits alone say 10 bytes.
TEST_F(CountInPartsTest, HitLargerThanTheShowableSizeIsCountedButNotRead)
{
    const std::string big = folder.Write("big.txt", std::string(80, '-') + "needle " + std::string(20, '-') + "Needle");
    const std::string huge = folder.Write("huge.bin", "needle", 0x100000000LL + 4);
    const struct { std::string file; unsigned long long showable; DWORD part; int result; unsigned long long count; }
        rows[] = {{big, 100, 16, kLoadTooLarge, 2}, {huge, 1u << 20, kCountPartSize, kLoadTooLarge, 1},
                  {big, 113, 16, 1, 2}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.showable);
        view.showableLargest = row.showable;
        view.partSize = row.part;
        EXPECT_EQ(row.result, view.LoadFile(row.file.c_str()));
        EXPECT_EQ(row.count, view.matchCount);
        if (row.result == kLoadTooLarge) {
            EXPECT_EQ(0, view.lineCount);
            EXPECT_EQ(0u, view.bytesRead);
            EXPECT_EQ(nullptr, view.buffer);
        }
    }
}

} // namespace

// A file counted part by part: every part size gives the whole file's count, forms converted on the way,
// Escape between parts, the buffers a large file leaves behind, and a hit too large to show.
#include <gtest/gtest.h>

#include "ViewTestSupport.h"
#include "search/SearchOptions.h"

namespace {

std::string Utf16(const std::string& latin, bool bigEndian)
{
    std::string wide = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : latin) {
        const char pair[2] = {bigEndian ? '\0' : c, bigEndian ? c : '\0'};
        wide.append(pair, 2);
    }
    return wide;
}

class CountInPartsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (GetACP() != 1252)
            GTEST_SKIP() << "the letters below are those of code page 1252";
    }
    void TearDown() override
    {
        searchOptions.searchText[0] = '\0';
        searchOptions.caseSensitive = 0;
    }
    void Search(const char* text, int caseSensitive)
    {
        lstrcpynA(searchOptions.searchText, text, kSearchTextSize);
        searchOptions.caseSensitive = caseSensitive;
    }

    TempFolder folder;
};

TEST_F(CountInPartsTest, EveryPartSizeGivesTheCountOfTheWholeFile)
{
    const struct {
        const char* name;
        std::string bytes;
        const char* text;
        int caseSensitive;
        unsigned long long count;
        std::string shown;  // the text shown for a hit, when it is not the bytes themselves
    } cases[] = {
        {"overlapping", "aaaaaaaaa", "aa", 1, 8, ""},
        {"folded", "x NEEDLE y needle z NeEdLe", "needle", 0, 3, ""},
        {"case kept", "x NEEDLE y needle z NeEdLe", "needle", 1, 1, ""},
        {"NUL as a space", std::string("a\0b a b", 7), "a b", 1, 2, ""},
        {"UTF-16 LE", Utf16("the needle, the NEEDLE", false), "needle", 0, 2, "the needle, the NEEDLE"},
        {"UTF-16 BE", Utf16("the needle, the NEEDLE", true), "e n", 0, 2, "the needle, the NEEDLE"},
        {"UTF-16 odd byte", Utf16("ab ab", false) + "a", "ab", 1, 2, "ab ab"},
        {"marked UTF-8", "\xEF\xBB\xBFGr\xC3\xB6\xC3\x9F" "e, GR\xC3\x96\xC3\x9F" "E", "gr\xF6\xDF" "e", 0, 2,
         "Gr\xF6\xDF" "e, GR\xD6\xDF" "E"},
        {"unmarked UTF-8, converted text", "Gr\xC3\xB6\xC3\x9F" "e Gr\xC3\xB6\xC3\x9F" "e", "\xF6\xDF" "e", 1, 2,
         "Gr\xF6\xDF" "e Gr\xF6\xDF" "e"},
        {"unmarked UTF-8, ASCII text", "caf\xC3\xA9 needle caf\xC3\xA9", "needle", 1, 1, "caf\xE9 needle caf\xE9"},
        // Valid UTF-8 at first, then a byte that cannot be: the bytes as they stand.
        {"not UTF-8 after all", "\xC3\xB6 gr\xF6\xDF" "e gr\xF6\xDF" "e", "gr\xF6\xDF" "e", 1, 2, ""},
        {"not UTF-8, ASCII text", "\xC3\xB6 needle \xF6", "needle", 1, 1, ""},
        {"ASCII, text with a letter", "plain ascii only", "\xE9", 1, 0, ""},
    };
    for (const auto& c : cases) {
        Search(c.text, c.caseSensitive);
        const std::string file = folder.Write("parts.txt", c.bytes);
        const std::string shown = c.shown.empty() ? c.bytes : c.shown;
        // Whole, then in parts of every size from the smallest to one past the file.
        for (DWORD part = 0; part <= c.bytes.size() + 1; ++part) {
            SCOPED_TRACE(std::string(c.name) + ", part " + std::to_string(part));
            ProbeView view;
            CountInPartsOf(view, part);
            EXPECT_EQ(c.count ? 1 : -2, view.LoadFile(file.c_str()));
            EXPECT_EQ(c.count, view.matchCount);
            EXPECT_EQ(part ? 1 : 0, view.partCounts);
            if (c.count)
                EXPECT_EQ(shown, std::string(view.buffer, view.bytesRead));
            if (part < 4)
                part = 3;  // a part holds at least a byte-order mark
        }
    }
}

// Escape between parts leaves the file to be examined again, whole; a failed read makes it unread.
TEST_F(CountInPartsTest, EscapeOrAFailedReadBetweenPartsEndsTheLoad)
{
    Search("needle", 0);
    const std::string file = folder.Write("large.txt", std::string(100, 'x') + "needle");
    ProbeView view;
    CountInPartsOf(view, 10);
    view.stopAtLook = 3;
    EXPECT_EQ(kLoadStopped, view.LoadFile(file.c_str()));
    EXPECT_EQ(3, view.readCalls);
    EXPECT_EQ(1, view.LoadFile(file.c_str()));
    EXPECT_EQ(1u, view.matchCount);
    EXPECT_EQ(0, view.loadStopped);

    ProbeView failing;
    CountInPartsOf(failing, 10);
    failing.failingRead = 4;
    EXPECT_EQ(0, failing.LoadFile(file.c_str()));
    EXPECT_EQ(0, failing.lineCount);
}

// A hit is read again whole to be shown; what a large one leaves is given back at the next file.
TEST_F(CountInPartsTest, LargeHitIsShownAndItsBufferIsNotKeptForTheNextFile)
{
    Search("needle", 0);
    ProbeView view;
    view.useRealCount = 1;
    view.wholeReadLargest = 1000;
    view.partSize = 64;
    const std::string large = folder.Write("large.txt", NumberedLines(400) + "\r\nthe NEEDLE");
    // Read in short parts, the hit is indexed as it comes in, to the same lines.
    for (DWORD limit : {5u, 300u, 0u}) {
        view.readLimit = limit;
        ASSERT_EQ(1, view.LoadFile(large.c_str())) << limit;
        ASSERT_EQ(401, view.lineCount) << limit;
        EXPECT_EQ("line 399", LineText(view, 399)) << limit;
        EXPECT_EQ("the NEEDLE", LineText(view, 400)) << limit;
    }
    EXPECT_EQ(view.bytesRead + kBufferSlack, view.bufferCapacity);

    ASSERT_EQ(1, view.LoadFile(folder.Write("small.txt", "a needle").c_str()));
    EXPECT_EQ(1, view.countCalls);
    EXPECT_EQ(8 + kBufferSlack, view.bufferCapacity);
    // A rejected large file leaves the small buffer as it was.
    ASSERT_EQ(-2, view.LoadFile(folder.Write("other.txt", std::string(2000, 'o')).c_str()));
    EXPECT_EQ(8 + kBufferSlack, view.bufferCapacity);
    EXPECT_EQ(0u, view.bytesRead);
}

TEST_F(CountInPartsTest, IndexOfMoreThanAMillionLinesIsNotKeptForTheNextFile)
{
    ProbeView view;
    ASSERT_EQ(1, view.LoadFile(folder.Write("lines.txt", std::string(kKeptLineCapacity + 10, '\n')).c_str()));
    EXPECT_EQ(kKeptLineCapacity + 11, view.lineCount);
    ASSERT_EQ(1, view.LoadFile(folder.Write("small.txt", "one\ntwo").c_str()));
    EXPECT_EQ(kInitialLineCapacity, view.lineCapacity);
    EXPECT_EQ((std::vector<std::string>{"one", "two"}), AllLines(view));
}

TEST_F(CountInPartsTest, HitLargerThanTheShowableSizeIsCountedButNotRead)
{
    Search("needle", 0);
    ProbeView view;
    view.useRealCount = 1;
    view.showableLargest = 100;
    view.partSize = 16;
    const std::string file = folder.Write("big.txt", std::string(80, '-') + "needle " + std::string(20, '-') + "Needle");
    EXPECT_EQ(kLoadTooLarge, view.LoadFile(file.c_str()));
    EXPECT_EQ(2u, view.matchCount);
    EXPECT_EQ(0, view.lineCount);
    EXPECT_EQ(0u, view.bytesRead);
    // At the size, it is shown.
    view.showableLargest = 113;
    EXPECT_EQ(1, view.LoadFile(file.c_str()));
    EXPECT_EQ(2u, view.matchCount);
}

// A size past 32 bits is counted to its end: the text stands behind the first 4 GiB.
TEST_F(CountInPartsTest, FileOf4GiBOrMoreIsCountedToItsEnd)
{
    const std::string file = folder.Name("huge.bin");
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD written = 0;
    LARGE_INTEGER end;
    end.QuadPart = 0x100000000LL + 4;  // sparse: the low 32 bits alone would say 10 bytes
    ASSERT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(WriteFile(h, "needle", 6, &written, nullptr));
    CloseHandle(h);
    Search("needle", 0);
    ProbeView view;
    view.useRealCount = 1;
    view.showableLargest = 1u << 20;
    EXPECT_EQ(kLoadTooLarge, view.LoadFile(file.c_str()));
    EXPECT_EQ(1u, view.matchCount);
    EXPECT_EQ(nullptr, view.buffer);
}

} // namespace

// The line index: every kind of line break, pieces cut at 255 bytes or columns, and index growth.
#include <gtest/gtest.h>

#include <algorithm>

#include "ViewTestSupport.h"
#include "textview/GrowableArray.h"
#include "textview/LineBreaks.h"

namespace {

using Lines = std::vector<std::string>;

Lines Index(ProbeView& view, const std::string& bytes)
{
    EXPECT_EQ(1, IndexBytes(view, bytes));
    return AllLines(view);
}

TEST(LineIndex, EachKindOfLineBreakEndsOneLine)
{
    ProbeView view;
    EXPECT_EQ((Lines{"a", "b"}), Index(view, "a\r\nb"));
    EXPECT_EQ((Lines{"a", "b"}), Index(view, "a\nb"));
    EXPECT_EQ((Lines{"a", "b"}), Index(view, "a\rb"));
    EXPECT_EQ((Lines{"a", "b"}), Index(view, "a\n\rb"));
    EXPECT_EQ((Lines{"a", "b"}), Index(view, "a\r\rb"));
    EXPECT_EQ((Lines{"a", "", "b"}), Index(view, "a\r\r\rb"));
    EXPECT_EQ((Lines{"a", "", "b"}), Index(view, "a\r\n\r\nb"));
    EXPECT_EQ((Lines{"a", "", "b"}), Index(view, "a\n\nb"));
}

TEST(LineIndex, LeadingAndTrailingBreaks)
{
    ProbeView view;
    EXPECT_EQ((Lines{"abc"}), Index(view, "\rabc"));
    EXPECT_EQ((Lines{"", "abc"}), Index(view, "\r\nabc"));
    EXPECT_EQ((Lines{"abc", ""}), Index(view, "abc\n"));
    EXPECT_EQ((Lines{"abc", ""}), Index(view, "abc\r\n"));
    EXPECT_EQ((Lines{""}), Index(view, ""));
    EXPECT_EQ(1, view.lineCount);
    EXPECT_EQ((Lines{"", ""}), Index(view, "\n"));
}

TEST(LineIndex, EntriesPointIntoTheBufferWithoutTheBreak)
{
    ProbeView view;
    Index(view, "ab\r\ncde\nf");
    ASSERT_EQ(3, view.lineCount);
    EXPECT_EQ(0u, view.Entries()[0].Start());
    EXPECT_EQ(2, view.Entries()[0].Length());
    EXPECT_EQ(4u, view.Entries()[1].Start());
    EXPECT_EQ(3, view.Entries()[1].Length());
    EXPECT_EQ(8u, view.Entries()[2].Start());
    EXPECT_EQ(1, view.Entries()[2].Length());
    EXPECT_EQ(0, view.Entries()[3].Length());  // nothing written past the last line
}

TEST(LineIndex, LongLinesAreCutAt255Bytes)
{
    ProbeView view;
    Lines lines = Index(view, std::string(600, 'x') + "\r\nend");
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ(255u, lines[0].size());
    EXPECT_EQ(255u, lines[1].size());
    EXPECT_EQ(90u, lines[2].size());
    EXPECT_EQ("end", lines[3]);
    EXPECT_EQ(255u, view.Entries()[1].Start());
    EXPECT_EQ(1, view.splitCalls);

    // Exactly 255 bytes is one display line, whether a break or the end of the data follows.
    ProbeView exact;
    EXPECT_EQ((Lines{std::string(255, 'y'), "z"}), Index(exact, std::string(255, 'y') + "\nz"));
    EXPECT_EQ((Lines{std::string(255, 'y')}), Index(exact, std::string(255, 'y')));
    EXPECT_EQ((Lines{std::string(255, 'y')}), Index(exact, std::string(255, 'y') + "\r"));  // a lone CR at the end adds no line
    EXPECT_EQ((Lines{std::string(255, 'y'), ""}), Index(exact, std::string(255, 'y') + "\r\n"));
    EXPECT_EQ(0, exact.splitCalls);

    ProbeView over;
    EXPECT_EQ((Lines{std::string(255, 'w'), "w"}), Index(over, std::string(256, 'w')));
    EXPECT_EQ(1, over.splitCalls);
}

TEST(LineIndex, TabsCountTowardTheColumnLimit)
{
    ProbeView view;
    Lines lines = Index(view, std::string(40, '\t'));
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(std::string(32, '\t'), lines[0]);  // the 32nd tab reaches column 256
    EXPECT_EQ(std::string(8, '\t'), lines[1]);
    EXPECT_EQ(1, view.splitCalls);

    // A piece's tab stops count from its own first byte: 250 letters, a tab to 256, then "ab\t" again.
    ProbeView restart;
    Lines pieces = Index(restart, std::string(250, 'a') + "\tab\tc");
    ASSERT_EQ(2u, pieces.size());
    EXPECT_EQ(251u, pieces[0].size());
    EXPECT_EQ("ab\tc", pieces[1]);
    EXPECT_EQ(8, restart.IndexToColumn(3, pieces[1].c_str()));
}

TEST(LineIndex, NulBytesAreOrdinaryColumns)
{
    ProbeView view;
    const std::string bytes("a\0b\nc", 5);
    Index(view, bytes);
    ASSERT_EQ(2, view.lineCount);
    EXPECT_EQ(3, view.GetLineLength(0));
    EXPECT_EQ("a", LineText(view, 0));  // text stops at the NUL, the length does not
    EXPECT_EQ("c", LineText(view, 1));
}

// Each way of looking for the break gives the same break and the same word on tabs before it, wherever the
// break falls against the 8- and 16-byte steps and the end of the look.
TEST(LineIndex, EveryWayOfFindingTheBreakAgrees)
{
    using Find = const unsigned char* (*)(const unsigned char*, const unsigned char*, bool&);
    std::vector<std::pair<const char*, Find>> ways = {{"portable", FindLineBreakPortable}};
#if defined(SEEKWORD_HAS_SSE2)
    if (ProcessorHasSse2())
        ways.push_back({"sse2", FindLineBreakSse2});
#endif
    for (const char breakByte : {'\r', '\n'}) {
        for (size_t at = 0; at < 40; ++at) {
            for (const size_t tabAt : {size_t{99}, size_t{0}, size_t{15}, size_t{16}, size_t{33}, size_t{41}}) {
                std::string line(48, 'x');
                if (tabAt < line.size())
                    line[tabAt] = '\t';
                line[at] = breakByte;  // over the tab where they meet, leaving none before the break
                const unsigned char* bytes = reinterpret_cast<const unsigned char*>(line.data());
                for (const size_t end : {at + 1, at, size_t{48}}) {
                    const size_t expected = end > at ? at : end;
                    for (const auto& way : ways) {
                        bool tab = false;
                        const size_t found = static_cast<size_t>(way.second(bytes, bytes + end, tab) - bytes);
                        EXPECT_EQ(std::make_pair(expected, tabAt < expected), std::make_pair(found, tab))
                            << way.first << " at " << at << " tab " << tabAt << " end " << end;
                    }
                }
            }
        }
    }
}

// A large hit is indexed part by part as it is read from the disk, in short reads too: whatever the cuts,
// the lines are those of the whole text, pieces and tab columns included.
TEST(LineIndex, IndexedInPartsItIsTheSameIndex)
{
    const std::string texts[] = {
        "ab\r\ncde\nf\rg\r\rh\r\r\ri\n\n",
        std::string(600, 'x') + "\r\n" + std::string(255, 'y') + "\r" + std::string(256, 'w') + "\n",
        std::string(40, '\t') + "\r\n" + std::string(250, 'a') + "\tab\tc\r\n" + NumberedLines(30),
        "\r\n\r" + std::string(300, 'z'),
    };
    TempFolder folder;
    for (const std::string& text : texts) {
        ProbeView whole;
        const Lines expected = Index(whole, text);
        const std::string file = folder.Write("parts.txt", text);
        for (const auto& cut : {std::make_pair(4u, 1u), std::make_pair(259u, 0u), std::make_pair(700u, 0u)}) {
            SCOPED_TRACE("part " + std::to_string(cut.first) + ", reads of " + std::to_string(cut.second));
            ProbeView parts;  // every file a hit
            parts.wholeReadLargest = 0;
            parts.partSize = cut.first;
            parts.readLimit = cut.second;
            ASSERT_EQ(1, parts.LoadFile(file.c_str()));
            ASSERT_TRUE(parts.shownFile.InUse());
            EXPECT_EQ(expected, AllLines(parts));
            EXPECT_EQ(whole.splitCalls, parts.splitCalls);
            for (int i = 0; i < whole.lineCount; ++i)
                ASSERT_EQ(whole.Entries()[i].Start(), parts.Entries()[i].Start()) << "line " << i;
        }
    }
}

// The line count of a large text is reckoned from its start, so the index grows once, with room to spare
// but not twice the lines; a text whose later lines are shorter still gets all of them.
TEST(LineIndex, LargeTextReservesItsIndexFromItsFirstMegabyte)
{
    std::string uniform;
    for (int i = 0; uniform.size() < (5u << 20); ++i)
        uniform += "2026-03-01 line " + std::to_string(i) + " of a log that is much like the others\r\n";
    ProbeView view, shorter;
    ASSERT_EQ(1, IndexBytes(view, uniform));
    ASSERT_EQ(std::count(uniform.begin(), uniform.end(), '\n') + 1, view.lineCount);
    EXPECT_LT(view.lineCapacity, view.lineCount + view.lineCount / 4 + 1000);
    // A megabyte cut into 255-byte pieces, then four million breaks.
    ASSERT_EQ(1, IndexBytes(shorter, std::string(1u << 20, 'x') + std::string(4u << 20, '\n')));
    EXPECT_EQ((1 << 20) / 255 + 1 + (4 << 20), shorter.lineCount);
}

TEST(LineIndex, IndexGrowsFrom5000InWholeStepsAndStaysAheadOfTheLines)
{
    ProbeView view;
    ASSERT_EQ(1, view.ResetDocument());
    EXPECT_EQ(5000, view.lineCapacity);

    Index(view, NumberedLines(4999));
    EXPECT_EQ(4999, view.lineCount);
    EXPECT_EQ(5000, view.lineCapacity);

    Index(view, NumberedLines(5000));  // the 5000th entry grows the index
    EXPECT_EQ(5500, view.lineCapacity);

    for (int count : {5500, 12345, 200000}) {
        ProbeView fresh;
        Index(fresh, NumberedLines(count));
        ASSERT_EQ(count, fresh.lineCount);
        EXPECT_GT(fresh.lineCapacity, fresh.lineCount);
        EXPECT_EQ(0, (fresh.lineCapacity - 5000) % 500) << fresh.lineCapacity;
        EXPECT_EQ(fresh.lineCapacity, fresh.lines.capacity);
        // Growth is geometric, so the spare room stays within a constant factor of the lines.
        EXPECT_LE(fresh.lineCapacity, 2 * fresh.lineCount + 5000);
        EXPECT_EQ("line " + std::to_string(count - 1), LineText(fresh, count - 1));
    }
}

TEST(LineIndex, GrowthIsGeometricSoIndexingStaysLinear)
{
    ProbeView view;
    ASSERT_EQ(1, view.ResetDocument());
    int previous = view.lineCapacity;
    for (int growth = 0; growth < 12; ++growth) {
        view.lineCount = view.lineCapacity;  // full, as BuildLineIndex leaves it before growing
        ASSERT_NE(0, view.GrowLineIndex());
        EXPECT_GT(view.lineCapacity, previous);
        EXPECT_EQ(0, (view.lineCapacity - 5000) % 500);
        if (growth == 0)
            EXPECT_EQ(5500, view.lineCapacity);
        previous = view.lineCapacity;
    }
    // One step at a time would have reached 11000; doubling the added steps passes a million.
    EXPECT_GT(view.lineCapacity, 1000000);
    view.lineCount = 0;
}

TEST(LineIndex, LargerIndexIsKeptAndClearedForTheNextFile)
{
    ProbeView view;
    Index(view, NumberedLines(20000));
    const int capacity = view.lineCapacity;
    EXPECT_EQ((Lines{"x", "y"}), Index(view, "x\ny"));
    EXPECT_EQ(capacity, view.lineCapacity);
    for (int i = 2; i < capacity; ++i) {
        if (view.Entries()[i].Start() || view.Entries()[i].Length()) {
            ADD_FAILURE() << "record " << i << " was not cleared";
            break;
        }
    }
}

TEST(LineIndex, FailedGrowthKeepsTheLinesMadeSoFar)
{
    ProbeView view;
    ASSERT_EQ(1, view.ResetDocument());
    view.lines.growStep = 0x7FFFF000;  // the record count would pass the largest int: refused
    EXPECT_EQ(0, IndexBytes(view, NumberedLines(6000)));
    EXPECT_EQ(5000, view.lineCount);
    EXPECT_EQ(view.lineCapacity, view.lineCount);
    EXPECT_EQ(0, view.lines.ok);
    EXPECT_EQ("line 4999", LineText(view, 4999));
}

TEST(GrowableArrayTest, AllocateZeroesAndGrowKeepsRecords)
{
    GrowableArray array;
    int* records = static_cast<int*>(array.Allocate(10, 5, sizeof(int)));
    ASSERT_NE(nullptr, records);
    EXPECT_EQ(1, array.ok);
    EXPECT_EQ(10, array.capacity);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(0, records[i]);
        records[i] = i + 1;
    }
    records = static_cast<int*>(array.Grow());
    EXPECT_EQ(15, array.capacity);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(i + 1, records[i]);
    for (int i = 10; i < 15; ++i)
        EXPECT_EQ(0, records[i]);
    records = static_cast<int*>(array.GrowBySteps(4));
    EXPECT_EQ(35, array.capacity);
    EXPECT_EQ(10, records[9]);
    EXPECT_EQ(0, records[34]);
}

TEST(GrowableArrayTest, FailuresAreReported)
{
    GrowableArray array;
    EXPECT_EQ(nullptr, array.Allocate(0x7FFFFFFF, 1, 0x7FFFFFFF));
    EXPECT_EQ(0, array.ok);
    EXPECT_EQ(0, array.capacity);

    void* block = array.Allocate(4, 0x7FFFFFF0, 16);
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(block, array.Grow());  // the record count would overflow: refused, block kept
    EXPECT_EQ(0, array.ok);
    EXPECT_EQ(4, array.capacity);
}

} // namespace

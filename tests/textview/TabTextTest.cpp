// Tab arithmetic between byte indices and display columns, and expanding tabs into spaces.
#include <gtest/gtest.h>

#include "ViewTestSupport.h"
#include "textview/TabText.h"

namespace {

TEST(TabArithmetic, ColumnToIndexMapsColumnsInsideAndPastTheText)
{
    ProbeView view;
    const char text[] = "\tab";
    EXPECT_EQ(0, view.ColumnToIndex(0, text));
    EXPECT_EQ(0, view.ColumnToIndex(3, text));  // inside the tab's span
    EXPECT_EQ(0, view.ColumnToIndex(7, text));
    EXPECT_EQ(1, view.ColumnToIndex(8, text));
    EXPECT_EQ(2, view.ColumnToIndex(9, text));
    EXPECT_EQ(3, view.ColumnToIndex(10, text));
    EXPECT_EQ(5, view.ColumnToIndex(12, text));  // one index per column past the end
    EXPECT_EQ(4, view.ColumnToIndex(4, ""));
    EXPECT_EQ(0, view.ColumnToIndex(-5, text));  // a column left of the line is its start
    EXPECT_EQ(0, view.ColumnToIndex(-5, ""));
    EXPECT_EQ(2, view.ColumnToIndex(2, "abc"));
    EXPECT_EQ(1, view.ColumnToIndex(5, "a\tb"));  // columns 1 to 7 belong to the tab
    EXPECT_EQ(2, view.ColumnToIndex(8, "a\tb"));
    EXPECT_EQ(3, view.ColumnToIndex(9, "a\tb"));
}

TEST(TabArithmetic, IndexToColumnWalksTabStops)
{
    ProbeView view;
    const char text[] = "\tab";
    EXPECT_EQ(0, view.IndexToColumn(0, text));
    EXPECT_EQ(8, view.IndexToColumn(1, text));
    EXPECT_EQ(9, view.IndexToColumn(2, text));
    EXPECT_EQ(10, view.IndexToColumn(3, text));
    EXPECT_EQ(10, view.IndexToColumn(9, text));  // past the end: the column after the text
    EXPECT_EQ(16, view.IndexToColumn(2, "\t\t"));
    EXPECT_EQ(8, view.IndexToColumn(4, "abc\tz"));
    EXPECT_EQ(0, view.IndexToColumn(-1, "abc"));
}

TEST(TabArithmetic, IndexAndColumnAgreeOnEveryCharacterStart)
{
    ProbeView view;
    const char text[] = "a\tbc\t\td\te";
    for (int index = 0; index <= static_cast<int>(sizeof(text) - 1); ++index)
        EXPECT_EQ(index, view.ColumnToIndex(view.IndexToColumn(index, text), text)) << index;
}

TEST(ExpandTabsTest, ReplacesTabsUpToTheNextStop)
{
    char out[64];
    EXPECT_STREQ("a       b", ExpandTabs(out, "a\tb", 8, sizeof(out)));
    EXPECT_STREQ("        x", ExpandTabs(out, "\tx", 8, sizeof(out)));
    EXPECT_STREQ("abcdefgh        i", ExpandTabs(out, "abcdefgh\ti", 8, sizeof(out)));
    EXPECT_STREQ("ab  c", ExpandTabs(out, "ab\tc", 4, sizeof(out)));
    EXPECT_STREQ("", ExpandTabs(out, "", 8, sizeof(out)));
    EXPECT_EQ(out, ExpandTabs(out, "z", 8, sizeof(out)));
}

TEST(ExpandTabsTest, StopsWhenTheOutputIsFullEvenInsideATab)
{
    char out[16];
    memset(out, '#', sizeof(out));
    ExpandTabs(out, "abc\tdef", 8, 6);
    EXPECT_STREQ("abc  ", out);
    EXPECT_EQ('#', out[6]);
    ExpandTabs(out, "abcdefghij", 8, 4);
    EXPECT_STREQ("abc", out);

    // A line piece of 32 tabs expands to exactly the 255 columns a line buffer can hold.
    char line[kLineBufferSize + 1];
    line[kLineBufferSize] = '#';
    const std::string tabs(32, '\t');
    ExpandTabs(line, tabs.c_str(), 8, kLineBufferSize);
    EXPECT_EQ(255u, strlen(line));
    EXPECT_EQ('#', line[kLineBufferSize]);
}

} // namespace

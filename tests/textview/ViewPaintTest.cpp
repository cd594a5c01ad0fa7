// Painting into the off-screen bitmap: the text, the selection in the highlight colours, and no leaks.
#include <gtest/gtest.h>

#include "ViewTestSupport.h"

namespace {

class ViewPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, host.frame);
        ASSERT_TRUE(host.Open(view, 30, 12));
        TEXTMETRICA metrics = {};
        GetTextMetricsA(view.memoryDC, &metrics);
        glyphHeight = metrics.tmHeight;
        // Distinct colours, so that every pixel tells which pass painted it.
        view.SetBackgroundColor(RGB(250, 250, 240));
        view.textColor = RGB(10, 10, 10);
        SetTextColor(view.memoryDC, view.textColor);
        view.highlightBackColor = RGB(20, 40, 200);
        view.highlightTextColor = RGB(255, 255, 0);
    }
    void TearDown() override
    {
        if (view.hwnd)
            view.Destroy();
    }
    void Select(int startLine, int startIndex, int endLine, int endIndex)
    {
        SetSelection(view, startLine, startIndex, endLine, endIndex);
        view.Redraw();
    }
    // What fills one cell: 'h' highlight background, 'n' normal background with a glyph, 'b' normal
    // background only, '?' both backgrounds.
    char Cell(int column, int row)
    {
        const int left = view.marginWidth + column * view.charWidth;
        return Area(left, row, left + view.charWidth);
    }
    char Area(int left, int row, int right)
    {
        // Only the two background colours decide; glyph pixels, smoothed or not, do not.
        bool highlight = false, normal = false, ink = false;
        for (int y = row * view.lineHeight; y < row * view.lineHeight + glyphHeight; ++y) {
            for (int x = left; x < right; ++x) {
                const COLORREF c = GetPixel(view.memoryDC, x, y);
                if (c == view.highlightBackColor)
                    highlight = true;
                else if (c == view.backColor)
                    normal = true;
                else if (c != view.highlightTextColor)
                    ink = true;
            }
        }
        if (highlight && normal)
            return '?';
        if (highlight)
            return 'h';
        return ink ? 'n' : 'b';
    }
    // The row as one character per cell over the whole width of the view.
    std::string Row(int row)
    {
        std::string cells;
        for (int column = 0; column < view.visibleColumns; ++column)
            cells += Cell(column, row) == 'h' ? 'h' : Cell(column, row) == '?' ? '?' : '.';
        return cells;
    }

    ViewHost host;
    ProbeView view;
    int glyphHeight = 0;
};

TEST_F(ViewPaint, TextIsDrawnFromTheMarginInTheTextColour)
{
    ASSERT_EQ(1, IndexBytes(view, "ab c\n\tx"));
    view.Redraw();
    EXPECT_EQ('b', Area(0, 0, view.marginWidth));  // the margin shows background only
    EXPECT_EQ('n', Cell(0, 0));
    EXPECT_EQ('n', Cell(1, 0));
    EXPECT_EQ('b', Cell(2, 0));
    EXPECT_EQ('n', Cell(3, 0));
    EXPECT_EQ('b', Cell(4, 0));
    EXPECT_EQ('b', Cell(0, 1));  // the tab expands to eight blank cells
    EXPECT_EQ('b', Cell(7, 1));
    EXPECT_EQ('n', Cell(8, 1));
    EXPECT_EQ('b', Cell(0, 2));

    view.leftColumn = 8;
    view.Redraw();
    EXPECT_EQ('n', Cell(0, 1));
    EXPECT_EQ('b', Cell(0, 0));  // a line shorter than the offset shows nothing
}

TEST_F(ViewPaint, SelectionIsHighlightedAndNothingElse)
{
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += "0123456789\r\n";
    ASSERT_EQ(1, IndexBytes(view, text));
    Select(5, 2, 7, 4);
    const std::string all(view.visibleColumns, 'h');
    const std::string none(view.visibleColumns, '.');
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(none, Row(row)) << row;
    EXPECT_EQ("..", Row(5).substr(0, 2));
    EXPECT_EQ(std::string(view.visibleColumns - 2, 'h'), Row(5).substr(2));  // to the right edge
    EXPECT_EQ(all, Row(6));
    EXPECT_EQ("hhhh", Row(7).substr(0, 4));
    EXPECT_EQ(std::string(view.visibleColumns - 4, '.'), Row(7).substr(4));
    EXPECT_EQ(none, Row(8));
    EXPECT_EQ('b', Area(0, 6, view.marginWidth));  // not even the margin of a selected line
    EXPECT_EQ('n', Cell(1, 5));
    EXPECT_EQ('n', Cell(5, 7));
}

TEST_F(ViewPaint, SelectionStartingAtTheEndOfALineLeavesItsTextAlone)
{
    ASSERT_EQ(1, IndexBytes(view, "abc\ndef\n\nghi"));
    Select(0, 3, 3, 1);
    EXPECT_EQ("...", Row(0).substr(0, 3));
    EXPECT_EQ(std::string(view.visibleColumns - 3, 'h'), Row(0).substr(3));
    EXPECT_EQ(std::string(view.visibleColumns, 'h'), Row(1));
    EXPECT_EQ(std::string(view.visibleColumns, 'h'), Row(2));  // an empty line from the margin on
    EXPECT_EQ("h..", Row(3).substr(0, 3));
}

TEST_F(ViewPaint, SelectionFollowsTabsAndTheHorizontalOffset)
{
    ASSERT_EQ(1, IndexBytes(view, "a\tbcd\nxyz"));
    Select(0, 1, 0, 3);  // the tab and b: columns 1 to 8
    EXPECT_EQ(".hhhhhhhh...", Row(0).substr(0, 12));
    view.leftColumn = 4;
    view.Redraw();
    EXPECT_EQ("hhhhh...", Row(0).substr(0, 8));  // a start scrolled off to the left counts from 0
}

TEST_F(ViewPaint, EmptyOrHiddenSelectionIsNotDrawn)
{
    ASSERT_EQ(1, IndexBytes(view, "hello\nworld"));
    Select(0, 2, 0, 2);
    EXPECT_EQ(std::string(view.visibleColumns, '.'), Row(0));
    Select(0, 1, 1, 2);
    view.hasSelection = 0;
    view.Redraw();
    EXPECT_EQ(std::string(view.visibleColumns, '.'), Row(0));
    EXPECT_EQ(std::string(view.visibleColumns, '.'), Row(1));
}

TEST_F(ViewPaint, SelectionEndingOnALastTabStaysInsideTheLine)
{
    ASSERT_EQ(1, IndexBytes(view, std::string(40, '\t')));
    view.leftColumn = view.maxLeftColumn;
    ASSERT_EQ(256 - 31, view.leftColumn);
    Select(0, 0, 0, 32);  // the 32nd tab ends at column 256, one past the expanded text
    EXPECT_EQ(std::string(view.visibleColumns, 'h'), Row(0));
    EXPECT_EQ('b', Area(view.clientWidth, 0, view.clientWidth + 2 * view.charWidth));
}

TEST_F(ViewPaint, PaintCopiesTheBitmapAndClearScreenEmptiesIt)
{
    ASSERT_EQ(1, IndexBytes(view, "visible"));
    view.Redraw();
    InvalidateRect(view.hwnd, nullptr, FALSE);
    UpdateWindow(view.hwnd);
    HDC windowDC = GetDC(view.hwnd);
    const COLORREF onScreen = GetPixel(windowDC, 0, 0);
    ReleaseDC(view.hwnd, windowDC);
    if (onScreen != CLR_INVALID)
        EXPECT_EQ(view.backColor, onScreen);
    EXPECT_EQ('n', Cell(0, 0));
    view.ClearScreen();
    EXPECT_EQ('b', Cell(0, 0));
    EXPECT_EQ(1, view.lineCount);  // only the picture is gone
}

TEST_F(ViewPaint, SettingTheBackgroundColourRepaintsWithIt)
{
    ASSERT_EQ(1, IndexBytes(view, "x"));
    view.SetBackgroundColor(RGB(1, 200, 3));
    view.Redraw();
    EXPECT_EQ(RGB(1, 200, 3), GetPixel(view.memoryDC, view.marginWidth + 5 * view.charWidth, 2));
    EXPECT_EQ(RGB(1, 200, 3), GetBkColor(view.memoryDC));
}

TEST(ViewResources, RepeatedLoadsRepaintsAndWindowsLeaveGdiObjectsAsTheyWere)
{
    TempFolder folder;
    const std::string file = folder.Write("a.txt", NumberedLines(300));
    ViewHost host;
    ASSERT_NE(nullptr, host.frame);
    // One round: a view window made, loaded, painted, scrolled, resized and destroyed again.
    auto round = [&] {
        ProbeView view;
        ASSERT_TRUE(host.Open(view, 30, 12));
        for (int i = 0; i < 15; ++i) {
            ASSERT_EQ(1, view.LoadFile(file.c_str()));
            view.hasSelection = 1;
            view.selStartLine = 1;
            view.selEndLine = 4;
            view.selEndIndex = 3;
            view.Redraw();
            SendMessageA(view.hwnd, WM_VSCROLL, SB_PAGEDOWN, 0);
            view.SetBackgroundColor(RGB(i, 100, 100));
            view.ClearScreen();
            InvalidateRect(view.hwnd, nullptr, FALSE);
            UpdateWindow(view.hwnd);
            host.Resize(view, 100 + i, 100 + i);
        }
        view.Destroy();
    };
    // Warm up: the first window, DC, font and scroll bar drawing fill caches of the system's own.
    round();
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 20; ++i)
        round();
    const int after = CountGdiObjects();
    RecordProperty("GdiObjectsBefore", before);
    RecordProperty("GdiObjectsAfter", after);
    EXPECT_EQ(before, after);
}

} // namespace

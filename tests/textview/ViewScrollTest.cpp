// The view window: creation, layout on resize, scroll ranges and vertical, thumb and wheel scrolling.
#include <gtest/gtest.h>

#include "ViewTestSupport.h"

namespace {

class ViewWindow : public OpenViewTest {
protected:
    void Load(int lines) { ASSERT_EQ(1, IndexBytes(view, NumberedLines(lines))); }
    void Scroll(int code, int position = 0) { SendMessageA(view.hwnd, WM_VSCROLL, MAKEWPARAM(code, position), 0); }
    int ScrollPos() { return GetScrollPos(view.hwnd, SB_VERT); }
};

TEST_F(ViewWindow, CreationSetsUpFontBitmapColoursAndCursors)
{
    char className[32] = "";
    GetClassNameA(view.hwnd, className, sizeof(className));
    EXPECT_STREQ("TextWndClass", className);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&view), GetWindowLongPtrA(view.hwnd, GWLP_USERDATA));
    EXPECT_EQ(static_cast<DWORD>(0x54300000), view.style);
    EXPECT_GT(view.charWidth, 0);
    EXPECT_EQ(view.charWidth, view.marginWidth);
    EXPECT_GT(view.lineHeight, 0);
    EXPECT_NE(nullptr, view.memoryDC);
    EXPECT_NE(nullptr, view.backBrush);
    EXPECT_EQ(GetStockObject(SYSTEM_FIXED_FONT), view.font);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), view.backColor);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), view.highlightBackColor);
    EXPECT_NE(nullptr, view.marginCursor);  // cursor 32127 from the resources
    EXPECT_NE(nullptr, view.textCursor);
    EXPECT_EQ(8, view.keyBindingCount);
    EXPECT_EQ(3, view.wheelLines);
    EXPECT_EQ(40, view.visibleColumns);
    EXPECT_EQ(20, view.visibleRows);
    WNDCLASSA wc = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "TextWndClass", &wc));
    EXPECT_EQ(static_cast<UINT>(CS_DBLCLKS), wc.style);
    EXPECT_EQ(static_cast<int>(sizeof(LONG_PTR)), wc.cbWndExtra);
    EXPECT_EQ(nullptr, wc.hCursor);
    EXPECT_EQ(0, view.Register());  // registered once per process
}

TEST_F(ViewWindow, MarginCursorIsTheMirroredArrow)
{
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(view.marginCursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(10u, info.xHotspot);
    EXPECT_EQ(0u, info.yHotspot);
    BITMAP mask = {};
    ASSERT_TRUE(GetObjectA(info.hbmMask, sizeof(mask), &mask));
    EXPECT_EQ(32, mask.bmWidth);
    EXPECT_EQ(64, mask.bmHeight);  // monochrome: AND and XOR masks stacked
    EXPECT_EQ(nullptr, info.hbmColor);
    // The AND mask is opaque at the tip and along the arrow's right edge, clear at the top left.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, info.hbmMask);
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 10, 0));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 10, 10));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 0, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 11, 0));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 0, 10));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(info.hbmMask);
}

TEST_F(ViewWindow, LayoutFollowsTheClientAreaAndNeverDividesByZero)
{
    host.Resize(view, view.marginWidth + 10 * view.charWidth, 7 * view.lineHeight + 3);
    EXPECT_EQ(10, view.visibleColumns);
    EXPECT_EQ(7, view.visibleRows);

    // Ten characters wide in all: column 255 is the last one visible at the largest offset.
    view.leftColumn = 250;
    host.Resize(view, 10 * view.charWidth, 7 * view.lineHeight);
    EXPECT_EQ(246, view.maxLeftColumn);
    EXPECT_EQ(246, view.leftColumn);
    EXPECT_EQ(0, GetScrollPos(view.hwnd, SB_HORZ));  // the horizontal range is always 0 to 0
    SCROLLINFO info = {sizeof(info), SIF_RANGE};
    GetScrollInfo(view.hwnd, SB_HORZ, &info);
    EXPECT_EQ(0, info.nMin);
    EXPECT_EQ(0, info.nMax);

    host.Resize(view, 1, 1);
    EXPECT_LE(view.visibleColumns, 0);
    EXPECT_EQ(0, view.visibleRows);
    Load(30);
    Scroll(SB_PAGEDOWN);  // a page of no rows moves nothing
    EXPECT_EQ(0, view.topLine);

    // Font metrics of zero (no font could be had) leave everything at zero instead of dividing.
    const int savedWidth = view.charWidth, savedHeight = view.lineHeight;
    view.charWidth = 0;
    view.lineHeight = 0;
    view.UpdateLayout();
    EXPECT_EQ(0, view.visibleColumns);
    EXPECT_EQ(0, view.visibleRows);
    EXPECT_EQ(0, view.maxLeftColumn);
    SendMessageA(view.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(50, 50));
    SendMessageA(view.hwnd, WM_MOUSEMOVE, MK_LBUTTON, Point(60, 900));
    SendMessageA(view.hwnd, WM_LBUTTONUP, 0, Point(60, 900));
    view.charWidth = savedWidth;
    view.lineHeight = savedHeight;
}

TEST_F(ViewWindow, VerticalRangeFollowsTheLineCount)
{
    SCROLLINFO info = {sizeof(info), SIF_RANGE};
    Load(1);
    GetScrollInfo(view.hwnd, SB_VERT, &info);
    EXPECT_EQ(0, info.nMin);
    EXPECT_EQ(1, info.nMax);
    view.ResetDocument();
    GetScrollInfo(view.hwnd, SB_VERT, &info);
    EXPECT_EQ(1, info.nMax);
    Load(100);
    GetScrollInfo(view.hwnd, SB_VERT, &info);
    EXPECT_EQ(99, info.nMax);
    EXPECT_EQ(99, view.maxTopLine);
}

TEST_F(ViewWindow, ScrollingMovesTheTopLineAndClampsAtBothEnds)
{
    Load(100);
    Scroll(SB_BOTTOM);
    EXPECT_EQ(99, view.topLine);  // only the last line is left, in the first row
    EXPECT_EQ(99, ScrollPos());
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(99, view.topLine);
    Scroll(SB_PAGEUP);
    EXPECT_EQ(79, view.topLine);
    Scroll(SB_LINEUP);
    EXPECT_EQ(78, view.topLine);
    Scroll(SB_TOP);
    EXPECT_EQ(0, view.topLine);
    Scroll(SB_LINEUP);
    EXPECT_EQ(0, view.topLine);
    Scroll(SB_PAGEDOWN);
    EXPECT_EQ(20, view.topLine);
    Scroll(SB_THUMBTRACK, 42);
    EXPECT_EQ(42, view.topLine);
    EXPECT_EQ(42, ScrollPos());
    Scroll(SB_THUMBPOSITION, 10);
    Scroll(SB_ENDSCROLL);
    EXPECT_EQ(42, view.topLine);
    Scroll(SB_THUMBTRACK, 500);
    EXPECT_EQ(99, view.topLine);
}

TEST_F(ViewWindow, PageDownCarriesTheCursorAndKeepsItOnALine)
{
    Load(15);
    view.cursorRow = 10;
    Scroll(SB_PAGEDOWN);
    EXPECT_EQ(14, view.topLine);
    EXPECT_EQ(0, view.cursorRow);

    Load(100);
    view.cursorRow = 5;
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(1, view.topLine);
    EXPECT_EQ(5, view.cursorRow);  // the cursor keeps its row and so moves through the document

    view.ResetDocument();
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(0, view.topLine);
    EXPECT_EQ(0, view.cursorRow);  // an empty document leaves no negative row behind
}

TEST_F(ViewWindow, ScrollingNotifiesCursorLineChangesOnlyWhenItMoves)
{
    Load(100);
    view.changingCalls = view.changedCalls = 0;
    Scroll(SB_TOP);
    EXPECT_EQ(0, view.changingCalls);
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(1, view.changingCalls);
    EXPECT_EQ(1, view.changedCalls);
}

TEST_F(ViewWindow, DeferredPaintingSkipsRepaintCaretAndThumb)
{
    Load(100);
    view.paintingDeferred = 1;
    view.paintPending = 0;
    Scroll(SB_PAGEDOWN);
    EXPECT_EQ(20, view.topLine);
    EXPECT_EQ(0, ScrollPos());
    EXPECT_EQ(0, view.paintPending);
    view.Redraw();
    EXPECT_EQ(1, view.paintPending);
    view.ResumePainting();
    EXPECT_EQ(0, view.paintingDeferred);
    EXPECT_EQ(0, view.paintPending);
}

TEST_F(ViewWindow, ThumbReachesLinesBeyond65535)
{
    Load(100000);
    SCROLLINFO info = {sizeof(info), SIF_RANGE};
    GetScrollInfo(view.hwnd, SB_VERT, &info);
    EXPECT_EQ(99999, info.nMax);
    // While the thumb is dragged the bar holds the full position; the message has its low 16 bits.
    SetScrollPos(view.hwnd, SB_VERT, 70000, FALSE);
    Scroll(SB_THUMBTRACK, 70000 & 0xFFFF);
    EXPECT_EQ(70000, view.topLine);
    Scroll(SB_THUMBTRACK, 123);  // a position the bar does not hold is taken as sent
    EXPECT_EQ(123, view.topLine);
}

TEST_F(ViewWindow, ThumbDraggedWithTheMouseReachesTheEndOfALargeFile)
{
    Load(100000);
    Scroll(SB_TOP);
    RECT bar;
    SCROLLBARINFO sbi = {sizeof(sbi)};
    ASSERT_TRUE(GetScrollBarInfo(view.hwnd, OBJID_VSCROLL, &sbi));
    bar = sbi.rcScrollBar;
    const int x = (bar.left + bar.right) / 2;
    const int thumbY = bar.top + (sbi.xyThumbTop + sbi.xyThumbBottom) / 2;
    SetForegroundWindow(host.frame);
    SetCursorPos(x, thumbY);
    PumpFor(50);
    INPUT inputs[4] = {};
    for (INPUT& in : inputs)
        in.type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    const int w = GetSystemMetrics(SM_CXSCREEN) - 1, h = GetSystemMetrics(SM_CYSCREEN) - 1;
    inputs[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dx = x * 65535 / w;
    inputs[1].mi.dy = (bar.bottom - 2) * 65535 / h;  // over the lower arrow: the far end of the track
    inputs[2] = inputs[1];
    inputs[3].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    if (SendInput(4, inputs, sizeof(INPUT)) != 4)
        GTEST_SKIP() << "no synthetic mouse input here";
    PumpUntil(3000, [&] { return view.topLine > 65535; });
    EXPECT_GT(view.topLine, 65535);
}

TEST_F(ViewWindow, WheelScrollsThreeLinesWhateverTheDelta)
{
    Load(100);
    Scroll(SB_PAGEDOWN);
    SendMessageA(view.hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(17, view.topLine);
    SendMessageA(view.hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    EXPECT_EQ(14, view.topLine);
    SendMessageA(view.hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(17, view.topLine);
    SendMessageA(view.hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 0), 0);
    EXPECT_EQ(20, view.topLine);
    Scroll(SB_TOP);
    SendMessageA(view.hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(0, view.topLine);
}

TEST_F(ViewWindow, HorizontalScrollMessagesMoveAndClampTheOffset)
{
    Load(5);
    ASSERT_GT(view.maxLeftColumn, 20);
    SendMessageA(view.hwnd, WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(1, view.leftColumn);
    SendMessageA(view.hwnd, WM_HSCROLL, SB_PAGERIGHT, 0);
    EXPECT_EQ(9, view.leftColumn);
    SendMessageA(view.hwnd, WM_HSCROLL, SB_PAGELEFT, 0);
    SendMessageA(view.hwnd, WM_HSCROLL, SB_LINELEFT, 0);
    EXPECT_EQ(0, view.leftColumn);
    SendMessageA(view.hwnd, WM_HSCROLL, SB_LINELEFT, 0);
    EXPECT_EQ(0, view.leftColumn);
    SendMessageA(view.hwnd, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 5000), 0);
    EXPECT_EQ(view.maxLeftColumn, view.leftColumn);
    SendMessageA(view.hwnd, WM_HSCROLL, SB_LEFT, 0);
    EXPECT_EQ(0, view.leftColumn);
}

TEST_F(ViewWindow, KeyMessagesDoNotReachTheDefaultProcedureButAltF4StillCloses)
{
    ViewHost closing;
    ProbeView second;
    // A second view in its own frame: Alt+F4 in the view asks its frame to close.
    ASSERT_TRUE(closing.Open(second, 20, 5));
    SendMessageA(second.hwnd, WM_SYSKEYDOWN, VK_F4, 0x20000001);
    EXPECT_TRUE(PumpUntil(2000, [&] { return !IsWindow(closing.frame); }));
    if (!IsWindow(closing.frame))
        closing.frame = nullptr;
}

} // namespace

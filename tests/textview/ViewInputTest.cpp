// The view's input: key bindings and sequences, margin and drag selection, auto-scroll while dragging.
#include <gtest/gtest.h>

#include "ViewTestSupport.h"

namespace {

class ViewInput : public OpenViewTest {
protected:
    void SetUp() override
    {
        OpenViewTest::SetUp();
        if (HasFatalFailure())
            return;
        TextView::pendingKeyCount = 0;
        TextView::pendingKeys[0] = TextView::pendingKeys[1] = TextView::pendingKeys[2] = 0;
        SetFocus(view.hwnd);
        // Real pointer moves reach a window with the capture too: keep the pointer out of the way.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
    }
    void TearDown() override
    {
        OpenViewTest::TearDown();
        EXPECT_EQ(0, TextView::dragging);
        EXPECT_EQ(0, TextView::autoScrollDirection);
    }
    void Load(const std::string& text) { ASSERT_EQ(1, IndexBytes(view, text)); }
    void Ctrl(UINT vk)
    {
        SendKey(view.hwnd, VK_CONTROL, true);
        PressKey(view.hwnd, vk);
        SendKey(view.hwnd, VK_CONTROL, false);
    }
    // Pixel position of a text cell: column relative to leftColumn, row relative to topLine.
    int X(int column) { return view.marginWidth + column * view.charWidth + view.charWidth / 2; }
    int Y(int row) { return row * view.lineHeight + view.lineHeight / 2; }
    // Puts the real pointer where the synthetic messages say it is.
    void PointerAt(int x, int y)
    {
        POINT p = {x, y};
        ClientToScreen(view.hwnd, &p);
        SetCursorPos(p.x, p.y);
    }
    void Down(int x, int y) { SendMessageA(view.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y)); }
    void Move(int x, int y) { SendMessageA(view.hwnd, WM_MOUSEMOVE, MK_LBUTTON, Point(x, y)); }
    void Up(int x, int y) { SendMessageA(view.hwnd, WM_LBUTTONUP, 0, Point(x, y)); }
    void ExpectSelection(int startLine, int startIndex, int endLine, int endIndex)
    {
        EXPECT_EQ(startLine, view.selStartLine);
        EXPECT_EQ(startIndex, view.selStartIndex);
        EXPECT_EQ(endLine, view.selEndLine);
        EXPECT_EQ(endIndex, view.selEndIndex);
    }
};

TEST_F(ViewInput, SingleKeysScroll)
{
    Load(NumberedLines(100));
    PressKey(view.hwnd, VK_DOWN);
    EXPECT_EQ(1, view.topLine);
    PressKey(view.hwnd, VK_NEXT);
    EXPECT_EQ(21, view.topLine);
    PressKey(view.hwnd, VK_PRIOR);
    EXPECT_EQ(1, view.topLine);
    PressKey(view.hwnd, VK_UP);
    EXPECT_EQ(0, view.topLine);
    PressKey(view.hwnd, VK_END);
    EXPECT_EQ(99, view.topLine);
    PressKey(view.hwnd, VK_HOME);
    EXPECT_EQ(0, view.topLine);
    // A held key repeats its key-down messages, and each one scrolls.
    for (int i = 0; i < 5; ++i)
        SendKey(view.hwnd, VK_DOWN, true);
    SendKey(view.hwnd, VK_DOWN, false);
    EXPECT_EQ(5, view.topLine);
}

TEST_F(ViewInput, UnboundKeysAndModifiedKeysDoNothing)
{
    Load(NumberedLines(100));
    PressKey(view.hwnd, VK_NEXT);
    ASSERT_EQ(20, view.topLine);
    PressKey(view.hwnd, VK_LEFT);
    PressKey(view.hwnd, VK_RIGHT);
    PressKey(view.hwnd, 'A');
    SendKey(view.hwnd, VK_SHIFT, true);
    PressKey(view.hwnd, VK_DOWN);
    SendKey(view.hwnd, VK_SHIFT, false);
    Ctrl(VK_END);
    Ctrl(VK_HOME);
    EXPECT_EQ(20, view.topLine);
    EXPECT_EQ(0, TextView::pendingKeyCount);
    PressKey(view.hwnd, VK_DOWN);  // the modifiers were released: a plain Down works again
    EXPECT_EQ(21, view.topLine);
}

TEST_F(ViewInput, CtrlQSequencesGoToTopAndBottom)
{
    Load(NumberedLines(100));
    PressKey(view.hwnd, VK_NEXT);
    Ctrl('Q');
    EXPECT_EQ(1, TextView::pendingKeyCount);
    EXPECT_EQ(20, view.topLine);
    Ctrl('R');
    EXPECT_EQ(0, view.topLine);
    EXPECT_EQ(0, TextView::pendingKeyCount);
    Ctrl('Q');
    Ctrl('C');
    EXPECT_EQ(99, view.topLine);

    // A key that breaks off a sequence is swallowed, not tried on its own.
    Ctrl('Q');
    PressKey(view.hwnd, VK_HOME);
    EXPECT_EQ(99, view.topLine);
    EXPECT_EQ(0, TextView::pendingKeyCount);
    PressKey(view.hwnd, VK_HOME);
    EXPECT_EQ(0, view.topLine);
    Ctrl('Q');
    PressKey(view.hwnd, VK_DOWN);
    EXPECT_EQ(0, view.topLine);
    Ctrl('R');  // Ctrl+R alone is no binding
    EXPECT_EQ(0, view.topLine);
}

TEST_F(ViewInput, ModifiersComeFromTheViewsOwnKeyMessages)
{
    Load(NumberedLines(100));
    SendMessageA(view.hwnd, WM_SYSKEYDOWN, VK_MENU, 0x20000001);
    EXPECT_EQ(1, TextView::altDown);
    SendMessageA(view.hwnd, WM_SYSKEYUP, VK_MENU, 0xC0000001);
    EXPECT_EQ(0, TextView::altDown);
    SendKey(view.hwnd, VK_CONTROL, true);
    SendKey(view.hwnd, VK_SHIFT, true);
    EXPECT_EQ(1, TextView::ctrlDown);
    EXPECT_EQ(1, TextView::shiftDown);
    SendMessageA(view.hwnd, WM_SETFOCUS, 0, 0);  // focus regained: the flags start clear
    EXPECT_EQ(0, TextView::ctrlDown);
    EXPECT_EQ(0, TextView::shiftDown);
    PressKey(view.hwnd, VK_DOWN);
    EXPECT_EQ(1, view.topLine);
    SendKey(view.hwnd, VK_CONTROL, true);
    SendMessageA(view.hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(0, TextView::ctrlDown);
}

TEST_F(ViewInput, HandleKeyCodeMatchesComposedCodes)
{
    Load(NumberedLines(100));
    view.HandleKeyCode(0x10022);  // Page Down
    EXPECT_EQ(20, view.topLine);
    view.HandleKeyCode(0x50051);
    view.HandleKeyCode(0x50052);
    EXPECT_EQ(0, view.topLine);
    view.HandleKeyCode(0x30028);  // Shift+Down
    EXPECT_EQ(0, view.topLine);
}

TEST_F(ViewInput, MarginClickSelectsTheWholeLineWithoutMovingTheCursor)
{
    Load(NumberedLines(100));
    SendMessageA(view.hwnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 10), 0);
    view.cursorRow = 7;
    view.cursorColumn = 2;
    Down(1, Y(3));
    Up(1, Y(3));
    EXPECT_TRUE(view.hasSelection);
    ExpectSelection(13, 0, 13, 7);  // "line 13"
    EXPECT_EQ(7, view.cursorRow);
    EXPECT_EQ(2, view.cursorColumn);
    EXPECT_EQ(0, TextView::dragging);
    EXPECT_EQ(nullptr, GetCapture());

    Load("a\nbb\nccc");
    Down(1, Y(15));  // below the last line: the last line
    ExpectSelection(2, 0, 2, 3);
}

TEST_F(ViewInput, ClicksOnAnEmptyDocumentOrBelowTheLastLineAreIgnored)
{
    view.ResetDocument();
    view.lineCount = 0;
    Down(1, Y(0));
    Down(X(2), Y(0));
    EXPECT_FALSE(view.hasSelection);
    EXPECT_EQ(0, TextView::dragging);
    Load("one\ntwo");
    Down(X(1), Y(5));
    EXPECT_EQ(0, TextView::dragging);
    EXPECT_EQ(0, view.cursorRow);
}

TEST_F(ViewInput, ClickPutsAnEmptySelectionAtTheCharacterAndDragExtendsIt)
{
    Load("abc\nsecond line\nthird");
    view.hasSelection = 1;
    view.selStartLine = 1;
    view.selEndLine = 1;
    view.selEndIndex = 4;
    Down(X(5), Y(0));  // past the end of "abc"
    EXPECT_EQ(1, TextView::dragging);
    EXPECT_EQ(view.hwnd, GetCapture());
    ExpectSelection(0, 3, 0, 3);
    EXPECT_EQ(5, view.cursorColumn);
    Move(X(1), Y(0));
    ExpectSelection(0, 1, 0, 3);
    EXPECT_EQ(1, view.cursorColumn);
    Up(X(1), Y(0));
    EXPECT_EQ(0, TextView::dragging);
    EXPECT_EQ(nullptr, GetCapture());
    ExpectSelection(0, 1, 0, 3);

    // A move snaps the cursor to the first column of a tab, or to the end of a shorter line.
    Load("\tx\nab");
    Down(X(0), Y(1));
    Move(X(5), Y(0));
    ExpectSelection(0, 0, 1, 0);
    EXPECT_EQ(0, view.cursorColumn);
    Move(X(30), Y(0));
    ExpectSelection(0, 2, 1, 0);
    EXPECT_EQ(9, view.cursorColumn);
    Up(X(30), Y(0));
}

TEST_F(ViewInput, DraggingUpwardsEndsTheSelectionAtTheAnchor)
{
    Load(NumberedLines(30));
    Down(X(3), Y(10));
    EXPECT_EQ(10, TextView::anchorLine);
    EXPECT_EQ(3, TextView::anchorIndex);
    view.changedCalls = 0;
    Move(X(1), Y(8));
    ExpectSelection(8, 1, 10, 3);
    EXPECT_EQ(8, view.cursorRow);
    Up(X(1), Y(8));
    EXPECT_GE(view.changedCalls, 1);
    EXPECT_TRUE(view.hasSelection);

    // Down and up at the same place leave an empty selection.
    Down(X(2), Y(4));
    Up(X(2), Y(4));
    ExpectSelection(4, 2, 4, 2);
}

TEST_F(ViewInput, PointerLeftOfTheWindowSelectsFromTheStartOfTheLine)
{
    Load("0123456789\nabcdefghij");
    Down(X(4), Y(1));
    Move(-30, Y(0));  // under capture the coordinate is negative
    ExpectSelection(0, 0, 1, 4);
    Move(-30, Y(1));
    ExpectSelection(1, 0, 1, 4);
    Up(-30, Y(1));
}

TEST_F(ViewInput, PointerBelowTheWindowScrollsEvery25MillisecondsUntilItComesBack)
{
    Load(NumberedLines(200));
    Down(X(2), Y(5));
    PointerAt(X(2), view.clientHeight + 20);
    Move(X(2), view.clientHeight + 20);
    EXPECT_EQ(1, TextView::autoScrollDirection);
    EXPECT_EQ((view.clientHeight + 20) / view.lineHeight, view.cursorRow);
    ASSERT_TRUE(PumpUntil(3000, [&] { return view.topLine >= 5; }));
    // Each step moves the pointer far below the window: the selection runs to the last line.
    EXPECT_EQ(199, view.selEndLine);
    EXPECT_EQ(5, view.selStartLine);
    EXPECT_EQ(2, view.selStartIndex);

    PointerAt(X(2), Y(3));
    Move(X(2), Y(3));  // back inside: the timer stops
    EXPECT_EQ(0, TextView::autoScrollDirection);
    EXPECT_FALSE(KillTimer(view.hwnd, kAutoScrollTimer));
    const int top = view.topLine;
    PumpFor(150);
    EXPECT_EQ(top, view.topLine);

    // Above the window the view scrolls up, and the selection end goes to the first row.
    PointerAt(X(2), -10);
    Move(X(2), -10);
    EXPECT_EQ(-1, TextView::autoScrollDirection);
    ASSERT_TRUE(PumpUntil(3000, [&] { return view.topLine <= top - 3; }));
    EXPECT_EQ(view.topLine, view.selStartLine);

    Up(X(2), -10);  // releasing the button outside stops it too
    EXPECT_EQ(0, TextView::autoScrollDirection);
    EXPECT_EQ(0, TextView::dragging);
    EXPECT_FALSE(KillTimer(view.hwnd, kAutoScrollTimer));
}

TEST_F(ViewInput, LosingTheCaptureEndsTheDragAndItsAutoScroll)
{
    Load(NumberedLines(200));
    SendMessageA(view.hwnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 50), 0);
    Down(X(2), Y(5));
    Move(X(2), view.clientHeight + 20);
    ASSERT_EQ(1, TextView::autoScrollDirection);
    SetCapture(host.frame);  // someone else takes the mouse
    EXPECT_EQ(0, TextView::dragging);
    EXPECT_EQ(0, TextView::autoScrollDirection);
    EXPECT_FALSE(KillTimer(view.hwnd, kAutoScrollTimer));
    ReleaseCapture();
    const int top = view.topLine;
    PumpFor(120);
    EXPECT_EQ(top, view.topLine);

    // And a stray timer message after the drag has ended scrolls nothing.
    SendMessageA(view.hwnd, WM_TIMER, kAutoScrollTimer, 0);
    EXPECT_EQ(top, view.topLine);
}

TEST_F(ViewInput, ResettingTheDocumentEndsADrag)
{
    Load(NumberedLines(200));
    Down(X(2), Y(5));
    Move(X(2), view.clientHeight + 20);
    ASSERT_EQ(1, TextView::autoScrollDirection);
    Load("next\nfile");
    EXPECT_EQ(0, TextView::dragging);
    EXPECT_EQ(0, TextView::autoScrollDirection);
    EXPECT_EQ(nullptr, GetCapture());
    PumpFor(100);
    EXPECT_EQ(0, view.topLine);
    Move(X(1), Y(1));  // an ordinary move now, not a drag
    EXPECT_FALSE(view.hasSelection);
}

TEST_F(ViewInput, WheelDuringADragLeavesTheSelectionUntilTheNextMove)
{
    Load(NumberedLines(100));
    Down(X(1), Y(2));
    Move(X(3), Y(4));
    ExpectSelection(2, 1, 4, 3);
    SendMessageA(view.hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(3, view.topLine);
    ExpectSelection(2, 1, 4, 3);
    Move(X(3), Y(4));
    ExpectSelection(2, 1, 7, 3);
    Up(X(3), Y(4));
}

TEST_F(ViewInput, DoubleClickNeitherSelectsNorDrags)
{
    Load("hello world\nline");
    Down(X(2), Y(0));
    Up(X(2), Y(0));
    SendMessageA(view.hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(X(2), Y(0)));
    Up(X(2), Y(0));
    EXPECT_EQ(0, TextView::dragging);
    ExpectSelection(0, 2, 0, 2);
}

TEST_F(ViewInput, PointerShapeFollowsTheMargin)
{
    Load("text");
    SetCursor(nullptr);
    SendMessageA(view.hwnd, WM_MOUSEMOVE, 0, Point(1, Y(0)));
    EXPECT_EQ(view.marginCursor, GetCursor());
    SendMessageA(view.hwnd, WM_MOUSEMOVE, 0, Point(X(2), Y(0)));
    EXPECT_EQ(view.textCursor, GetCursor());
}

} // namespace

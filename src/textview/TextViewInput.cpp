// The text view's input: key bindings with two-key sequences, margin and drag selection, auto-scroll.
#include "textview/TextView.h"

#include "textview/CodePageText.h"
#include "textview/KeyBinding.h"

namespace {
constexpr short kAutoScrollBelow = 32000;  // a pointer far below the window
constexpr short kAutoScrollAbove = -1;     // a pointer just above it
constexpr int kSequenceLimit = 2;          // keys that may wait for a continuation
}

void TextView::ScrollLineDown() { SendMessageA(hwnd, WM_VSCROLL, SB_LINEDOWN, 0); }
void TextView::ScrollLineUp() { SendMessageA(hwnd, WM_VSCROLL, SB_LINEUP, 0); }
void TextView::ScrollPageUp() { SendMessageA(hwnd, WM_VSCROLL, SB_PAGEUP, 0); }
void TextView::ScrollPageDown() { SendMessageA(hwnd, WM_VSCROLL, SB_PAGEDOWN, 0); }
void TextView::ScrollToTop() { SendMessageA(hwnd, WM_VSCROLL, SB_TOP, 0); }
void TextView::ScrollToBottom() { SendMessageA(hwnd, WM_VSCROLL, SB_BOTTOM, 0); }

void TextView::ClearModifiers()
{
    shiftDown = ctrlDown = altDown = 0;
}

void TextView::SyncModifiers()
{
    shiftDown = GetKeyState(VK_SHIFT) < 0;
    ctrlDown = GetKeyState(VK_CONTROL) < 0;
    altDown = GetKeyState(VK_MENU) < 0;
}

void TextView::OnKeyPressed(WPARAM wParam)
{
    const int key = LOWORD(wParam);
    switch (key) {
    case VK_SHIFT: shiftDown = 1; return;
    case VK_CONTROL: ctrlDown = 1; return;
    case VK_MENU: altDown = 1; return;
    default: break;
    }
    int code = kKeyCodeFlag | key;
    if (shiftDown)
        code |= kShiftFlag;
    if (ctrlDown)
        code |= kCtrlFlag;
    if (altDown)
        code |= kAltFlag;
    HandleKeyCode(code);
}

void TextView::OnKeyReleased(WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case VK_SHIFT: shiftDown = 0; break;
    case VK_CONTROL: ctrlDown = 0; break;
    case VK_MENU: altDown = 0; break;
    default: break;
    }
}

void TextView::HandleKeyCode(int code)
{
    if (pendingKeyCount < 0 || pendingKeyCount > kSequenceLimit)
        pendingKeyCount = 0;
    pendingKeys[pendingKeyCount] = code;
    int continues = 0;
    const KeyBinding* matched = nullptr;
    for (int i = 0; keyBindings && i < keyBindingCount; ++i) {
        const KeyBinding& binding = keyBindings[i];
        if (binding.keys[0] == pendingKeys[0] && binding.keys[1] == pendingKeys[1] &&
            binding.keys[2] == pendingKeys[2]) {
            matched = &binding;
            break;
        }
        if (pendingKeyCount == 0 && binding.keys[0] == pendingKeys[0])
            continues = 1;
        else if (pendingKeyCount == 1 && binding.keys[0] == pendingKeys[0] && binding.keys[1] == pendingKeys[1])
            continues = 1;
    }
    if (matched) {
        (this->*(matched->action))();
    } else if (continues && pendingKeyCount < kSequenceLimit) {
        ++pendingKeyCount;
        return;
    }
    pendingKeys[0] = pendingKeys[1] = pendingKeys[2] = 0;
    pendingKeyCount = 0;
}

int TextView::RowAt(int y) const
{
    return lineHeight > 0 ? y / lineHeight : 0;
}

int TextView::ColumnAt(int x) const
{
    return charWidth > 0 ? (x - marginWidth) / charWidth : 0;
}

void TextView::OnViewButtonDown(LPARAM lParam)
{
    // Signed, so that a pointer left of the window under capture reads as the start of a line.
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = LOWORD(HIWORD(lParam));
    const int row = RowAt(y);
    if (x < marginWidth) {
        if (lineCount <= 0)
            return;
        int line = topLine + row;
        if (line > lineCount - 1)
            line = lineCount - 1;
        selStartLine = selEndLine = line;
        selStartIndex = 0;
        selEndIndex = GetLineLength(line);
        hasSelection = 1;
        Redraw();
        return;
    }
    if (topLine + row >= lineCount)
        return;
    HideCaret(hwnd);
    cursorColumn = ColumnAt(x);
    if (row != cursorRow) {
        CursorLineChanging();
        cursorRow = row;
        CursorLineChanged();
    } else {
        cursorRow = row;
    }
    int line = topLine + cursorRow;
    if (line > lineCount - 1)
        line = lineCount - 1;
    char text[kLineBufferSize];
    GetLineText(line, text);
    int index = ColumnToIndex(leftColumn + cursorColumn, text);
    const int length = GetLineLength(line);
    if (index > length)
        index = length;
    // A click on the second half of a double-byte character takes the whole character.
    const int start = CharacterStartAt(text, index, length);
    if (start != index) {
        index = start;
        cursorColumn = IndexToColumn(index, text) - leftColumn;
    }
    anchorLine = selStartLine = selEndLine = line;
    anchorIndex = selStartIndex = selEndIndex = index;
    dragging = 1;
    SetCapture(hwnd);
    Redraw();
}

void TextView::OnViewMouseMove(LPARAM lParam)
{
    const int x = static_cast<short>(LOWORD(lParam));
    const int yUnsigned = HIWORD(lParam);
    const int ySigned = static_cast<short>(HIWORD(lParam));
    if (!dragging) {
        HCURSOR shape = x < marginWidth ? marginCursor : textCursor;
        if (shape)
            SetCursor(shape);
        return;
    }
    if (lineCount <= 0)
        return;
    CursorLineChanging();
    cursorColumn = ColumnAt(x);
    int row = RowAt(yUnsigned);
    if (row > lineCount - topLine - 1)
        row = lineCount - topLine - 1;
    if (ySigned < 0 || row < 0)
        row = 0;
    cursorRow = row;
    CursorLineChanged();

    int line = topLine + cursorRow;
    if (line > lineCount - 1)
        line = lineCount - 1;
    char text[kLineBufferSize];
    GetLineText(line, text);
    int index = CharacterStartAt(text, ColumnToIndex(leftColumn + cursorColumn, text), GetLineLength(line));
    cursorColumn = IndexToColumn(index, text) - leftColumn;

    if (yUnsigned > clientHeight) {
        if (autoScrollDirection == 0) {
            SetTimer(hwnd, kAutoScrollTimer, kAutoScrollInterval, nullptr);
            autoScrollDirection = ySigned >= 0 ? 1 : -1;
        }
    } else if (autoScrollDirection != 0) {
        StopAutoScroll();
    }

    const int length = GetLineLength(line);
    if (index > length)
        index = length;
    if (line > anchorLine) {
        selStartLine = anchorLine;
        selStartIndex = anchorIndex;
        selEndLine = line;
        selEndIndex = index;
    } else if (line < anchorLine) {
        selStartLine = line;
        selStartIndex = index;
        selEndLine = anchorLine;
        selEndIndex = anchorIndex;
    } else {
        selStartLine = selEndLine = line;
        selStartIndex = index < anchorIndex ? index : anchorIndex;
        selEndIndex = index < anchorIndex ? anchorIndex : index;
    }
    hasSelection = 1;
    Redraw();
}

void TextView::StopAutoScroll()
{
    if (autoScrollDirection != 0 && hwnd)
        KillTimer(hwnd, kAutoScrollTimer);
    autoScrollDirection = 0;
}

void TextView::FinishDrag(int releaseCapture)
{
    if (!dragging)
        return;
    StopAutoScroll();
    // Cleared before the release: ReleaseCapture sends WM_CAPTURECHANGED, which comes back here.
    dragging = 0;
    if (releaseCapture && GetCapture() == hwnd)
        ReleaseCapture();
    if (topLine + cursorRow > lineCount - 1) {
        cursorRow = lineCount - topLine - 1;
        if (cursorRow < 0)
            cursorRow = 0;
    }
    if (topLine + cursorRow != anchorLine)
        CursorLineChanged();
    UpdateCaret();
    ShowCaret(hwnd);
}

void TextView::AbandonDrag()
{
    if (!dragging) {
        StopAutoScroll();
        return;
    }
    StopAutoScroll();
    dragging = 0;
    if (hwnd && GetCapture() == hwnd)
        ReleaseCapture();
    ShowCaret(hwnd);
}

void TextView::AutoScrollStep()
{
    // Only a drag scrolls; a timer message left over from one that has ended does nothing.
    if (!dragging || autoScrollDirection == 0)
        return;
    paintingDeferred = 1;
    SendMessageA(hwnd, WM_VSCROLL, autoScrollDirection > 0 ? SB_LINEDOWN : SB_LINEUP, 0);
    ResumePainting();
    const int x = marginWidth + cursorColumn * charWidth;
    const short y = autoScrollDirection > 0 ? kAutoScrollBelow : kAutoScrollAbove;
    OnViewMouseMove(MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

// Within the line's bytes, an index on the second byte of a character moves back to its first.
int TextView::CharacterStartAt(const char* text, int index, int length) const
{
    if (index <= 0 || index >= length)
        return index;
    return static_cast<int>(CodePageText::Ansi().CharacterStart(text, static_cast<size_t>(index)));
}

// The text view's layout on resize, its scroll ranges, and vertical, horizontal and wheel scrolling.
#include "textview/TextView.h"

void TextView::UpdateLayout()
{
    visibleColumns = charWidth > 0 ? (clientWidth - marginWidth) / charWidth : 0;
    visibleRows = lineHeight > 0 ? clientHeight / lineHeight : 0;
    UpdateHorizontalRange();
}

void TextView::UpdateHorizontalRange()
{
    maxLeftColumn = 0;
    if (charWidth > 0) {
        const int columns = ((maxLineLength + 1) * charWidth - clientWidth) / charWidth;
        if (columns > 0)
            maxLeftColumn = columns;
    }
    if (leftColumn > maxLeftColumn)
        leftColumn = maxLeftColumn;
    // The range stays 0 to 0 so the bar is hidden; only a match far to the right moves leftColumn.
    SetScrollRange(hwnd, SB_HORZ, 0, 0, FALSE);
    SetScrollPos(hwnd, SB_HORZ, leftColumn, TRUE);
}

void TextView::UpdateVerticalRange()
{
    maxTopLine = lineCount - 1;
    if (maxTopLine < 1)
        maxTopLine = 1;
    if (topLine > maxTopLine)
        topLine = maxTopLine;
    SetScrollRange(hwnd, SB_VERT, 0, maxTopLine, FALSE);
    SetScrollPos(hwnd, SB_VERT, topLine, TRUE);
}

void TextView::ScrollVertically(WPARAM wParam)
{
    const int code = LOWORD(wParam);
    int newTop = topLine;
    switch (code) {
    case SB_LINEUP: newTop = topLine - 1; break;
    case SB_LINEDOWN: newTop = topLine + 1; break;
    case SB_PAGEUP: newTop = topLine - visibleRows; break;
    case SB_PAGEDOWN: newTop = topLine + visibleRows; break;
    case SB_THUMBTRACK: {
        // The message carries only 16 bits of the position; the scroll bar keeps all 32.
        newTop = HIWORD(wParam);
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        if (hwnd && GetScrollInfo(hwnd, SB_VERT, &info) && (info.nTrackPos & 0xFFFF) == newTop)
            newTop = info.nTrackPos;
        break;
    }
    case SB_TOP: newTop = 0; break;
    case SB_BOTTOM: newTop = lineCount - 1; break;
    default: break;
    }
    if (newTop == topLine)
        return;
    CursorLineChanging();
    const int last = lineCount - 1;
    if (newTop > last)
        newTop = last;
    if (newTop < 0)
        newTop = 0;
    topLine = newTop;
    if (cursorRow + topLine > last) {
        cursorRow = lineCount - topLine - 1;
        if (cursorRow < 0)
            cursorRow = 0;  // an empty document has no line for the cursor; keep it on the first row
    }
    CursorLineChanged();
    if (paintingDeferred)
        return;
    Redraw();
    UpdateCaret();
    SetScrollPos(hwnd, SB_VERT, topLine, TRUE);
}

void TextView::ScrollHorizontally(WPARAM wParam)
{
    int newLeft = leftColumn;
    switch (LOWORD(wParam)) {
    case SB_LINELEFT: newLeft = leftColumn - 1; break;
    case SB_LINERIGHT: newLeft = leftColumn + 1; break;
    case SB_PAGELEFT: newLeft = leftColumn - tabWidth; break;
    case SB_PAGERIGHT: newLeft = leftColumn + tabWidth; break;
    case SB_THUMBTRACK: newLeft = HIWORD(wParam); break;
    case SB_LEFT: newLeft = 0; break;
    default: break;
    }
    if (newLeft == leftColumn)
        return;
    if (newLeft > maxLeftColumn)
        newLeft = maxLeftColumn;
    if (newLeft < 0)
        newLeft = 0;
    leftColumn = newLeft;
    if (paintingDeferred)
        return;
    Redraw();
    UpdateCaret();
    SetScrollPos(hwnd, SB_HORZ, leftColumn, TRUE);
}

void TextView::OnMouseWheel(WPARAM wParam, LPARAM)
{
    const short delta = static_cast<short>(HIWORD(wParam));
    const WPARAM code = delta > 0 ? SB_LINEUP : SB_LINEDOWN;
    for (int i = 0; i < wheelLines; ++i)
        ScrollVertically(code);
}

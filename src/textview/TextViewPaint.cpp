// The text view's off-screen bitmap: set-up, rendering the visible lines and the selection, copying.
#include "textview/TextView.h"

#include <cstring>

#include "textview/TabText.h"

int TextView::OnCreate()
{
    ReleaseGdiObjects();  // a view object whose window is created again starts afresh
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HDC windowDC = GetDC(hwnd);
    memoryDC = CreateCompatibleDC(windowDC);
    memoryBitmap = CreateCompatibleBitmap(windowDC, screenWidth, screenHeight);
    ReleaseDC(hwnd, windowDC);
    if (memoryDC && memoryBitmap)
        oldBitmap = SelectObject(memoryDC, memoryBitmap);

    font = static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
    if (memoryDC) {
        oldFont = SelectObject(memoryDC, font);
        TEXTMETRICA metrics = {};
        if (GetTextMetricsA(memoryDC, &metrics)) {
            charWidth = marginWidth = metrics.tmAveCharWidth;
            lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
        }
    }
    textColor = GetSysColor(COLOR_WINDOWTEXT);
    if (memoryDC)
        SetTextColor(memoryDC, textColor);
    SetBackgroundColor(GetSysColor(COLOR_WINDOW));
    highlightTextColor = GetSysColor(COLOR_HIGHLIGHTTEXT);
    highlightBackColor = GetSysColor(COLOR_HIGHLIGHT);
    if (memoryDC && backBrush) {
        HGDIOBJ previous = SelectObject(memoryDC, backBrush);
        PatBlt(memoryDC, 0, 0, screenWidth, screenHeight, PATCOPY);
        SelectObject(memoryDC, previous);
    }
    selStartLine = selStartIndex = selEndLine = selEndIndex = 0;
    tabWidth = kTabWidth;
    return 1;
}

void TextView::ReleaseGdiObjects()
{
    if (memoryDC) {
        if (oldBitmap)
            SelectObject(memoryDC, oldBitmap);
        if (oldFont)
            SelectObject(memoryDC, oldFont);
        DeleteDC(memoryDC);
        memoryDC = nullptr;
    }
    oldBitmap = nullptr;
    oldFont = nullptr;
    if (memoryBitmap) {
        DeleteObject(memoryBitmap);
        memoryBitmap = nullptr;
    }
    if (backBrush) {
        DeleteObject(backBrush);
        backBrush = nullptr;
    }
}

void TextView::SetBackgroundColor(COLORREF color)
{
    backColor = color;
    if (memoryDC)
        SetBkColor(memoryDC, color);
    HBRUSH brush = CreateSolidBrush(color);
    // The brush is only ever selected for the length of one fill, so the old one is free to go.
    if (backBrush)
        DeleteObject(backBrush);
    backBrush = brush;
}

void TextView::Redraw()
{
    const int last = lineCount < topLine + visibleRows + 1 ? lineCount : topLine + visibleRows + 1;
    if (paintingDeferred) {
        paintPending = 1;
        return;
    }
    if (!memoryDC)
        return;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HGDIOBJ previousBrush = SelectObject(memoryDC, backBrush);
    PatBlt(memoryDC, 0, 0, screenWidth, screenHeight, PATCOPY);
    SelectObject(memoryDC, previousBrush);

    char text[kLineBufferSize];
    char expanded[kLineBufferSize];
    for (int line = topLine; line < last; ++line) {
        GetLineText(line, text);
        ExpandTabs(expanded, text, tabWidth, maxLineLength + 1);
        const int length = static_cast<int>(strlen(expanded));
        if (length > leftColumn)
            TextOutA(memoryDC, marginWidth, (line - topLine) * lineHeight, expanded + leftColumn, length - leftColumn);
    }

    const int selectionEmpty = selStartLine == selEndLine && selStartIndex == selEndIndex;
    if (hasSelection && !selectionEmpty) {
        HBRUSH highlight = CreateSolidBrush(highlightBackColor);
        const COLORREF oldText = SetTextColor(memoryDC, highlightTextColor);
        const COLORREF oldBack = SetBkColor(memoryDC, highlightBackColor);
        for (int line = topLine; line < last; ++line) {
            if (line < selStartLine || line > selEndLine)
                continue;
            GetLineText(line, text);
            ExpandTabs(expanded, text, tabWidth, maxLineLength + 1);
            const int length = static_cast<int>(strlen(expanded));
            const int y = (line - topLine) * lineHeight;
            int s = 0;
            if (line == selStartLine) {
                const int startColumn = IndexToColumn(selStartIndex, text) - leftColumn;
                if (startColumn > 0)
                    s = startColumn;
            }
            int e;
            if (line == selEndLine) {
                e = IndexToColumn(selEndIndex, text);
                if (e > length)
                    e = length;  // a last tab may reach past what the expanded text holds
            } else {
                e = length;
                // The rest of a selected line, up to the window's edge, is highlighted too.
                RECT rest;
                rest.left = marginWidth + (e - leftColumn) * charWidth;
                if (rest.left < marginWidth)
                    rest.left = marginWidth;
                rest.top = y;
                rest.right = clientWidth;
                rest.bottom = y + lineHeight;
                if (highlight && rest.right > rest.left)
                    FillRect(memoryDC, &rest, highlight);
            }
            const int count = e - s - leftColumn;
            if (count > 0)
                TextOutA(memoryDC, marginWidth + s * charWidth, y, expanded + leftColumn + s, count);
        }
        SetTextColor(memoryDC, oldText);
        SetBkColor(memoryDC, oldBack);
        if (highlight)
            DeleteObject(highlight);
    }
    BlitToWindow();
    paintPending = 0;
}

void TextView::BlitToWindow()
{
    if (!hwnd || !memoryDC)
        return;
    HDC windowDC = GetDC(hwnd);
    if (!windowDC)
        return;
    HideCaret(hwnd);
    BitBlt(windowDC, 0, 0, clientWidth, clientHeight, memoryDC, 0, 0, SRCCOPY);
    ShowCaret(hwnd);
    ReleaseDC(hwnd, windowDC);
}

void TextView::ClearScreen()
{
    if (!memoryDC)
        return;
    HGDIOBJ previousBrush = SelectObject(memoryDC, backBrush);
    PatBlt(memoryDC, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), PATCOPY);
    SelectObject(memoryDC, previousBrush);
    BlitToWindow();
}

void TextView::ResumePainting()
{
    paintingDeferred = 0;
    if (paintPending)
        Redraw();
}

void TextView::OnViewPaint()
{
    PAINTSTRUCT ps;
    HDC paintDC = BeginPaint(hwnd, &ps);
    if (paintDC && memoryDC)
        BitBlt(paintDC, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, memoryDC, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    EndPaint(hwnd, &ps);
}

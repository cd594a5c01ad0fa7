// The text view's off-screen bitmap: set-up, rendering the visible lines and the selection, copying.
#include "textview/TextView.h"

#include <cstring>

#include "framework/Dpi.h"
#include "textview/CodePageText.h"
#include "textview/TabText.h"

namespace {

// Each screen's size, for a bitmap that covers the largest.
BOOL CALLBACK WidenToMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    SIZE* size = reinterpret_cast<SIZE*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        if (info.rcMonitor.right - info.rcMonitor.left > size->cx)
            size->cx = info.rcMonitor.right - info.rcMonitor.left;
        if (info.rcMonitor.bottom - info.rcMonitor.top > size->cy)
            size->cy = info.rcMonitor.bottom - info.rcMonitor.top;
    }
    return TRUE;
}

SIZE LargestScreen()
{
    SIZE size = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EnumDisplayMonitors(nullptr, nullptr, WidenToMonitor, reinterpret_cast<LPARAM>(&size));
    return size;
}

// The character set of a double-byte ANSI code page; DEFAULT_CHARSET elsewhere.
UINT DoubleByteCharset()
{
    CHARSETINFO info = {};
    if (!CodePageText::Ansi().DoubleByte() ||
        !TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(GetACP())), &info, TCI_SRCCODEPAGE))
        return DEFAULT_CHARSET;
    return info.ciCharset;
}

// Whether font, selected into dc, draws the character set (every font does when it is DEFAULT_CHARSET).
bool DrawsCharset(HDC dc, HGDIOBJ font, UINT charset)
{
    if (charset == DEFAULT_CHARSET)
        return true;
    HGDIOBJ previous = SelectObject(dc, font);
    const int given = GetTextCharsetInfo(dc, nullptr, 0);
    SelectObject(dc, previous);
    return given == static_cast<int>(charset);
}

// A fixed-pitch font of a double-byte character set, in which such a character takes two cells; null when
// the font mapper has none.
HFONT CreateCharsetFont(HDC dc, int cellHeight, UINT charset)
{
    LOGFONTA description = {};
    description.lfHeight = cellHeight;
    description.lfCharSet = static_cast<BYTE>(charset);
    description.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    HFONT font = CreateFontIndirectA(&description);
    if (font && !DrawsCharset(dc, font, charset)) {
        DeleteObject(font);
        font = nullptr;
    }
    return font;
}

// A TrueType fixed-pitch font whose cells are cellHeight pixels high: Consolas where it is installed,
// else Courier New, else what the font mapper picks for a fixed-pitch modern face. Those hold no
// double-byte characters: on such a code page a font of its character set comes first.
HFONT CreateFixedPitchFont(HDC dc, int cellHeight)
{
    const UINT charset = DoubleByteCharset();
    if (charset != DEFAULT_CHARSET) {
        if (HFONT font = CreateCharsetFont(dc, cellHeight, charset))
            return font;
    }
    static const char* const kFaces[] = {"Consolas", "Courier New"};
    LOGFONTA description = {};
    description.lfHeight = cellHeight;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    description.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    HFONT substitute = nullptr;
    for (const char* face : kFaces) {
        lstrcpynA(description.lfFaceName, face, LF_FACESIZE);
        HFONT font = CreateFontIndirectA(&description);
        if (!font)
            continue;
        char given[LF_FACESIZE] = "";
        HGDIOBJ previous = SelectObject(dc, font);
        GetTextFaceA(dc, LF_FACESIZE, given);
        SelectObject(dc, previous);
        if (substitute)
            DeleteObject(substitute);
        if (lstrcmpiA(given, face) == 0)
            return font;
        substitute = font;
    }
    return substitute;
}

} // namespace

int TextView::OnCreate()
{
    ReleaseGdiObjects();  // a view object whose window is created again starts afresh
    dpi = Dpi::OfWindow(hwnd);
    CreateScreenBitmap();
    if (memoryDC)
        SelectViewFont();
    textColor = GetSysColor(COLOR_WINDOWTEXT);
    if (memoryDC)
        SetTextColor(memoryDC, textColor);
    SetBackgroundColor(GetSysColor(COLOR_WINDOW));
    highlightTextColor = GetSysColor(COLOR_HIGHLIGHTTEXT);
    highlightBackColor = GetSysColor(COLOR_HIGHLIGHT);
    ClearBitmap();
    selStartLine = selStartIndex = selEndLine = selEndIndex = 0;
    tabWidth = kTabWidth;
    return 1;
}

void TextView::CreateScreenBitmap()
{
    // The view can be moved to any screen: the bitmap covers the largest.
    const SIZE screen = LargestScreen();
    HDC windowDC = GetDC(hwnd);
    if (!memoryDC)
        memoryDC = CreateCompatibleDC(windowDC);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDC, screen.cx, screen.cy);
    ReleaseDC(hwnd, windowDC);
    if (!memoryDC || !bitmap) {
        if (bitmap)
            DeleteObject(bitmap);
        return;
    }
    HGDIOBJ previous = SelectObject(memoryDC, bitmap);
    if (!oldBitmap)
        oldBitmap = previous;
    if (memoryBitmap)
        DeleteObject(memoryBitmap);
    memoryBitmap = bitmap;
    bitmapWidth = screen.cx;
    bitmapHeight = screen.cy;
}

void TextView::SelectViewFont()
{
    // The stock font is made for the system's dpi: it serves only where that and the window's are 96.
    HGDIOBJ stock = GetStockObject(SYSTEM_FIXED_FONT);
    HFONT replacement = nullptr;
    const int systemDpi = Dpi::System();
    // On a double-byte code page it must also draw the code page's characters.
    if (dpi != Dpi::kBase || systemDpi != Dpi::kBase || !DrawsCharset(memoryDC, stock, DoubleByteCharset())) {
        HGDIOBJ previous = SelectObject(memoryDC, stock);
        TEXTMETRICA stockMetrics = {};
        if (GetTextMetricsA(memoryDC, &stockMetrics))
            replacement = CreateFixedPitchFont(memoryDC, MulDiv(stockMetrics.tmHeight, dpi, systemDpi));
        SelectObject(memoryDC, previous);
    }
    font = replacement ? replacement : static_cast<HFONT>(stock);
    HGDIOBJ previous = SelectObject(memoryDC, font);
    if (!oldFont)
        oldFont = previous;
    // Only now is the font it replaces out of the DC.
    scaledFont.Reset(replacement);
    TEXTMETRICA metrics = {};
    if (GetTextMetricsA(memoryDC, &metrics)) {
        charWidth = marginWidth = metrics.tmAveCharWidth;
        lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    }
}

void TextView::ClearBitmap()
{
    if (!memoryDC)
        return;
    HGDIOBJ previous = backBrush ? SelectObject(memoryDC, backBrush) : nullptr;
    PatBlt(memoryDC, 0, 0, bitmapWidth, bitmapHeight, PATCOPY);
    if (previous)
        SelectObject(memoryDC, previous);
}

void TextView::OnDpiChanged(int newDpi)
{
    if (newDpi <= 0 || !memoryDC)
        return;
    dpi = newDpi;
    CreateScreenBitmap();
    SelectViewFont();
    ClearBitmap();
    UpdateLayout();
    Redraw();
    UpdateCaret();
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
    if (font && font == scaledFont.Get())
        font = nullptr;
    scaledFont.Reset();
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
    ClearBitmap();

    char text[kLineBufferSize];
    char expanded[kLineBufferSize];
    for (int line = topLine; line < last; ++line) {
        GetLineText(line, text);
        ExpandTabs(expanded, text, tabWidth, maxLineLength + 1);
        const int length = static_cast<int>(strlen(expanded));
        if (length > leftColumn)
            DrawCells(marginWidth, (line - topLine) * lineHeight, expanded, leftColumn, length - leftColumn);
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
                DrawCells(marginWidth + s * charWidth, y, expanded, leftColumn + s, count);
        }
        SetTextColor(memoryDC, oldText);
        SetBkColor(memoryDC, oldBack);
        if (highlight)
            DeleteObject(highlight);
    }
    BlitToWindow();
    paintPending = 0;
}

// A double-byte character cut by the left edge shows its second half as a blank cell: drawn from its
// second byte, the rest of the line would be read as other characters.
void TextView::DrawCells(int x, int y, const char* expanded, int from, int count)
{
    if (from > 0 && count > 0 && !CodePageText::Ansi().StartsCharacter(expanded, static_cast<size_t>(from))) {
        TextOutA(memoryDC, x, y, " ", 1);
        x += charWidth;
        ++from;
        --count;
    }
    if (count > 0)
        TextOutA(memoryDC, x, y, expanded + from, count);
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
    ClearBitmap();
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

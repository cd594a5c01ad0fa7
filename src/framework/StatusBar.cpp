// The status bar: creates the status window and keeps its parts at fixed character widths from the right.
#include "framework/StatusBar.h"

#include <commctrl.h>
#include <new>

#include "framework/Dpi.h"

namespace {
// The most parts a status window takes.
constexpr int kMaxParts = 256;
}

StatusBar::StatusBar()
    : parent(nullptr), partCount(0), partWidths(nullptr), partStyles(nullptr), partEdges(nullptr), partsAdded(0),
      dpi(Dpi::kBase), ownFont(nullptr)
{
}

StatusBar::~StatusBar()
{
    FreeParts();
}

void StatusBar::FreeParts()
{
    delete[] partStyles;
    delete[] partWidths;
    delete[] partEdges;
    partStyles = nullptr;
    partWidths = nullptr;
    partEdges = nullptr;
    partCount = 0;
    partsAdded = 0;
}

int StatusBar::SetPartCount(int count)
{
    FreeParts();
    if (count <= 0 || count > kMaxParts)
        return 0;
    partStyles = new (std::nothrow) int[count]();
    partWidths = new (std::nothrow) int[count]();
    partEdges = new (std::nothrow) int[count]();
    if (!partStyles || !partWidths || !partEdges) {
        // A bar without all three arrays works on with no parts rather than writing through null.
        FreeParts();
        return 0;
    }
    partCount = count;
    return 1;
}

void StatusBar::AddPart(int width, int style)
{
    if (partsAdded >= partCount)
        return;
    partWidths[partsAdded] = width;
    partStyles[partsAdded] = style;
    ++partsAdded;
}

int StatusBar::CreateStatus(HWND parentWindow)
{
    parent = parentWindow;
    NextControlId();
    hwnd = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, nullptr, parent, static_cast<UINT>(id));
    if (!hwnd)
        return 0;
    if (partCount > 0) {
        SendMessageA(hwnd, SB_SETPARTS, static_cast<WPARAM>(partCount), reinterpret_cast<LPARAM>(partEdges));
        for (int i = 0; i < partCount; ++i)
            SendMessageA(hwnd, SB_SETTEXTA, static_cast<WPARAM>(i | partStyles[i]), reinterpret_cast<LPARAM>(""));
    }
    ownFont = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    scaledFont.Reset();
    SetDpi(Dpi::OfWindow(parent));
    return 1;
}

void StatusBar::SetDpi(int newDpi)
{
    dpi = newDpi;
    if (!hwnd)
        return;
    HFONT font = Dpi::CreateScaledFont(ownFont ? static_cast<HGDIOBJ>(ownFont) : GetStockObject(SYSTEM_FONT), dpi);
    // At the system's dpi the window keeps the font it came with, untouched.
    if (!font && !scaledFont.Get())
        return;
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : ownFont), TRUE);
    scaledFont.Reset(font);
}

void StatusBar::ComputeEdges(int barWidth, int charWidth)
{
    const int n = partCount;
    if (n <= 0)
        return;
    // The last part ends n characters short of the right end; the first takes what the others leave.
    partEdges[n - 1] = barWidth - n * charWidth;
    for (int i = n - 1; i >= 1; --i)
        partEdges[i - 1] = partEdges[i] - partWidths[i] * charWidth;
    // A negative edge would read as "to the right end" (-1); a bar too narrow squeezes parts to nothing.
    for (int i = 0; i < n; ++i) {
        if (partEdges[i] < 0)
            partEdges[i] = 0;
    }
}

void StatusBar::OnParentSize(WPARAM wParam, LPARAM lParam)
{
    if (!hwnd)
        return;
    SendMessageA(hwnd, WM_SIZE, wParam, lParam);
    if (partCount <= 0)
        return;

    RECT bounds;
    if (!GetWindowRect(hwnd, &bounds))
        return;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    HDC dc = GetDC(parent);
    if (!dc)
        return;
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics;
    const BOOL measured = GetTextMetricsA(dc, &metrics);
    if (previous)
        SelectObject(dc, previous);
    ReleaseDC(parent, dc);
    if (!measured)
        return;

    ComputeEdges(bounds.right - bounds.left, metrics.tmAveCharWidth);
    SendMessageA(hwnd, SB_SETPARTS, static_cast<WPARAM>(partCount), reinterpret_cast<LPARAM>(partEdges));
}

int StatusBar::VisibleHeight()
{
    RECT bounds;
    if (!hwnd || !IsWindowVisible(hwnd) || !GetWindowRect(hwnd, &bounds))
        return 0;
    return bounds.bottom - bounds.top;
}

void StatusBar::SetText(int part, const char* text)
{
    if (part < 0 || part >= partCount)
        return;
    SendMessageA(hwnd, SB_SETTEXTA, static_cast<WPARAM>(part | partStyles[part]), reinterpret_cast<LPARAM>(text));
}

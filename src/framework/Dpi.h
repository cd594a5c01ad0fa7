// Screen dpi: a window's and the system's, and lengths laid out at 96 dpi scaled to another.
#pragma once
#include <windows.h>

// Headers for Windows before 8.1 lack the per-monitor message.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

class Dpi {
public:
    // The dpi every length of the layout is given at.
    static constexpr int kBase = 96;

    // A length laid out at 96 dpi, in pixels at dpi.
    static int Scale(int length, int dpi);
    // The dpi the stock fonts and metrics were made for.
    static int System();
    // The window's dpi: what WM_DPICHANGED last gave its top-level window, else what the system says.
    static int OfWindow(HWND window);
    // The monitor's dpi as this program sees it, or 0 when the system cannot tell (before Windows 8.1).
    static int OfMonitor(HMONITOR monitor);
    // The dpi of WM_DPICHANGED's wParam, or 0 when it carries none.
    static int FromMessage(WPARAM wParam);
    // Kept with a top-level window from its WM_DPICHANGED, for Windows without GetDpiForWindow.
    static void Remember(HWND topLevel, int dpi);
    static void Forget(HWND topLevel);
    // A copy of the font sized for dpi, or null when the font was made for it already.
    static HFONT CreateScaledFont(HGDIOBJ font, int dpi);
};

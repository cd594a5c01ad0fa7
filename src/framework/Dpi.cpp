// Screen dpi: of windows and monitors (Windows 7 and 8.1 lack some of the calls), and scaled lengths and fonts.
#include "framework/Dpi.h"

// Older headers lack the flag; Windows 7 without its loader update refuses it, and has no shcore.dll anyway.
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace {

const char kDpiProperty[] = "Seekword.Dpi";
// Beyond this a dpi is taken for a damaged value.
constexpr int kLargestDpi = 9600;

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

GetDpiForWindowFunction GetDpiForWindowFromSystem()
{
    static const GetDpiForWindowFunction function = [] {
        HMODULE user = GetModuleHandleA("user32.dll");
        FARPROC address = user ? GetProcAddress(user, "GetDpiForWindow") : nullptr;
        return reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void (*)()>(address));
    }();
    return function;
}

GetDpiForMonitorFunction GetDpiForMonitorFromSystem()
{
    static const GetDpiForMonitorFunction function = [] {
        // From the system folder only; the library stays loaded for the rest of the run.
        HMODULE shcore = LoadLibraryExA("shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        FARPROC address = shcore ? GetProcAddress(shcore, "GetDpiForMonitor") : nullptr;
        return reinterpret_cast<GetDpiForMonitorFunction>(reinterpret_cast<void (*)()>(address));
    }();
    return function;
}

int Plausible(int dpi)
{
    return dpi > 0 && dpi <= kLargestDpi ? dpi : 0;
}

} // namespace

int Dpi::Scale(int length, int dpi)
{
    if (dpi <= 0 || dpi == kBase)
        return length;
    return MulDiv(length, dpi, kBase);
}

int Dpi::System()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return Plausible(dpi) ? dpi : kBase;
}

int Dpi::OfWindow(HWND window)
{
    // The message's dpi first: on Windows it is what GetDpiForWindow answers from then on, and
    // without GetDpiForWindow it is all there is.
    HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    if (root) {
        if (int remembered = Plausible(static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(root, kDpiProperty)))))
            return remembered;
    }
    GetDpiForWindowFunction fromSystem = GetDpiForWindowFromSystem();
    if (window && fromSystem) {
        if (int dpi = Plausible(static_cast<int>(fromSystem(window))))
            return dpi;
    }
    return System();
}

int Dpi::OfMonitor(HMONITOR monitor)
{
    GetDpiForMonitorFunction fromSystem = GetDpiForMonitorFromSystem();
    UINT x = 0, y = 0;
    if (!monitor || !fromSystem || FAILED(fromSystem(monitor, kEffectiveDpi, &x, &y)))
        return 0;
    return Plausible(static_cast<int>(y));
}

int Dpi::FromMessage(WPARAM wParam)
{
    return Plausible(HIWORD(wParam));
}

void Dpi::Remember(HWND topLevel, int dpi)
{
    if (topLevel && Plausible(dpi))
        SetPropA(topLevel, kDpiProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpi)));
}

void Dpi::Forget(HWND topLevel)
{
    if (topLevel)
        RemovePropA(topLevel, kDpiProperty);
}

HFONT Dpi::CreateScaledFont(HGDIOBJ font, int dpi)
{
    const int system = System();
    LOGFONTA description;
    if (!font || dpi <= 0 || dpi == system || !GetObjectA(font, sizeof description, &description))
        return nullptr;
    description.lfHeight = MulDiv(description.lfHeight, dpi, system);
    description.lfWidth = MulDiv(description.lfWidth, dpi, system);
    return CreateFontIndirectA(&description);
}

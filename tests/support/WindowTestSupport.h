// Shared by the window tests: running the thread's messages with a deadline, counting GDI objects, rectangles as text.
#pragma once
#include <windows.h>

#include <string>

#include "framework/Window.h"

// "left,top,right,bottom": compared as text, a wrong rectangle shows itself and the one expected.
inline std::string RectText(const RECT& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom);
}

// Runs the thread's messages until the condition holds or the deadline passes; true if it held.
template <typename Condition>
inline bool PumpUntil(DWORD milliseconds, Condition condition)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (condition())
            return true;
        if (GetTickCount() - start >= milliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

inline void PumpFor(DWORD milliseconds)
{
    PumpUntil(milliseconds, [] { return false; });
}

// The process's GDI objects: from the system when it counts them, otherwise from Wine's handle table
// (Wine answers 0), where a handle with a zero upper word names whichever object holds that slot.
inline int CountGdiObjects()
{
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted)
        return static_cast<int>(counted);
    int live = 0;
    for (UINT_PTR slot = 0x20; slot < 0x10000; ++slot)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)))
            ++live;
    return live;
}

// Registers a plain framework window class for a test window, once; nonzero only for the call that did.
inline int RegisterTestClass(const char* className, int stockBrush = -1)
{
    WNDCLASSA existing;
    if (GetClassInfoA(GetModuleHandleA(nullptr), className, &existing))
        return 0;
    WNDCLASSA windowClass = Window::FrameworkClass(className, 0);
    if (stockBrush >= 0)
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(stockBrush));
    return RegisterClassA(&windowClass) != 0;
}

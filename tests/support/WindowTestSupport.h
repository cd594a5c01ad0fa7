// Shared by the window tests: running the thread's messages with a deadline, counting GDI objects.
#pragma once
#include <windows.h>

#include "framework/Window.h"

// Older headers lack the awareness contexts; the values are fixed by the system.
#ifndef DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE
#define DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE ((HANDLE)-3)
#endif
#ifndef DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
#define DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 ((HANDLE)-4)
#endif

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

// While it lives the thread is per-monitor DPI aware (V2 where the system knows it), as the program's
// manifest makes the program, so windows it makes take WM_DPICHANGED as the program's do.
class PerMonitorAwareThread {
public:
    PerMonitorAwareThread()
    {
        HMODULE user = GetModuleHandleA("user32.dll");
        set = reinterpret_cast<SetContext>(reinterpret_cast<void (*)()>(
            user ? GetProcAddress(user, "SetThreadDpiAwarenessContext") : nullptr));
        if (set && !(previous = set(reinterpret_cast<HANDLE>(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))))
            previous = set(reinterpret_cast<HANDLE>(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE));
    }
    ~PerMonitorAwareThread()
    {
        if (previous)
            set(previous);
    }
    PerMonitorAwareThread(const PerMonitorAwareThread&) = delete;
    PerMonitorAwareThread& operator=(const PerMonitorAwareThread&) = delete;
    bool Active() const { return previous != nullptr; }

private:
    using SetContext = HANDLE(WINAPI*)(HANDLE);
    SetContext set = nullptr;
    HANDLE previous = nullptr;
};

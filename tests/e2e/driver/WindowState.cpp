// Window state of other processes, read from the system rather than asked of the program.
#include "driver/WindowState.h"

#include "driver/Poll.h"

namespace e2e {

namespace {

bool ThreadInfoOf(HWND window, GUITHREADINFO* info)
{
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (!thread)
        return false;
    info->cbSize = sizeof(*info);
    return GetGUIThreadInfo(thread, info) != FALSE;
}

} // namespace

bool IsEnabledNow(HWND window)
{
    return IsWindow(window) && IsWindowEnabled(window);
}

bool IsShownNow(HWND window)
{
    return IsWindow(window) && IsWindowVisible(window);
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info = {};
    return ThreadInfoOf(window, &info) ? info.hwndFocus : nullptr;
}

HWND ActiveOf(HWND window)
{
    GUITHREADINFO info = {};
    return ThreadInfoOf(window, &info) ? info.hwndActive : nullptr;
}

bool HoldsMouse(HWND window)
{
    GUITHREADINFO info = {};
    return ThreadInfoOf(window, &info) && (info.hwndCapture || (info.flags & GUI_INMOVESIZE));
}

bool BringToFront(HWND window)
{
    HWND top = GetAncestor(window, GA_ROOT);
    if (!top)
        return false;
    if (GetForegroundWindow() == top)
        return true;
    SetForegroundWindow(top);
    return WaitUntil([&] { return GetForegroundWindow() == top; });
}

RECT WindowRectOf(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT ClientRectOnScreen(HWND window)
{
    RECT rect = {};
    GetClientRect(window, &rect);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

POINT ClientToScreenPoint(HWND window, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(window, &point);
    return point;
}

bool MoveAndSize(HWND window, int x, int y, int width, int height)
{
    if (!SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE))
        return false;
    return WaitUntil([&] {
        RECT rect = WindowRectOf(window);
        return rect.left == x && rect.top == y && rect.right - rect.left == width &&
               rect.bottom - rect.top == height;
    });
}

} // namespace e2e

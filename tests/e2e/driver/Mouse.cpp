// Mouse input through SendInput with absolute, normalised coordinates.
#include "driver/Mouse.h"

#include "driver/Poll.h"

namespace e2e {

namespace {

// Absolute input addresses the primary screen in 0..65535; rounding to the pixel's middle
// makes the conversion back land on the same pixel.
LONG Normalise(int position, int extent)
{
    return static_cast<LONG>((static_cast<long long>(position) * 65536 + 32768) / extent);
}

// The button event carries its own position: Wine may still be catching up with an earlier
// pointer position from X, and a press taken there lands somewhere else.
bool SendButton(int x, int y, MouseButton button, bool up)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = Normalise(x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = Normalise(y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    if (button == MouseButton::kLeft)
        input.mi.dwFlags |= up ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    else
        input.mi.dwFlags |= up ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_RIGHTDOWN;
    return SendInput(1, &input, sizeof(input)) == 1;
}

} // namespace

bool MoveMouseTo(int x, int y)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = Normalise(x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = Normalise(y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    if (SendInput(1, &input, sizeof(input)) != 1)
        return false;
    return WaitUntil([&] {
        POINT at = {};
        return GetCursorPos(&at) && at.x == x && at.y == y;
    });
}

bool ClickAt(int x, int y, MouseButton button)
{
    return MoveMouseTo(x, y) && SendButton(x, y, button, false) && SendButton(x, y, button, true);
}

bool ClickInClient(HWND window, int x, int y, MouseButton button)
{
    POINT point = {x, y};
    if (!ClientToScreen(window, &point))
        return false;
    return ClickAt(point.x, point.y, button);
}

} // namespace e2e

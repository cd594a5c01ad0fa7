// Synthesised mouse input at screen positions.
#pragma once

#include <windows.h>

namespace e2e {

enum class MouseButton { kLeft, kRight };

// Moves the pointer to the screen position (absolute SendInput) and waits until it is there.
bool MoveMouseTo(int x, int y);
bool ClickAt(int x, int y, MouseButton button = MouseButton::kLeft);
// A click at a point of window's client area.
bool ClickInClient(HWND window, int x, int y, MouseButton button = MouseButton::kLeft);

} // namespace e2e

// Another process's window state: enabled, visible, focus, foreground and rectangles.
#pragma once

#include <windows.h>

namespace e2e {

bool IsEnabledNow(HWND window);
bool IsShownNow(HWND window);
// The keyboard focus of the thread that owns window (any window of that thread will do).
HWND FocusOf(HWND window);
// The active window of the thread that owns window.
HWND ActiveOf(HWND window);
// Whether the thread that owns window still holds the mouse: a capture or a move or size loop,
// which would take keys meant for the window.
bool HoldsMouse(HWND window);
// Makes window's top-level window the foreground window and waits until it is.
bool BringToFront(HWND window);
RECT WindowRectOf(HWND window);
// The client area in screen coordinates.
RECT ClientRectOnScreen(HWND window);
POINT ClientToScreenPoint(HWND window, int x, int y);
// Moves and sizes a top-level window and waits until it has the new size.
bool MoveAndSize(HWND window, int x, int y, int width, int height);

} // namespace e2e

// Real X key presses and mouse clicks through xdotool, for input that must come from the X server.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

class XdoTool {
public:
    static bool Available();
    // The X window Wine made for a top-level window, or 0.
    static unsigned long XWindowOf(HWND window);
    // Gives the X focus to window's top-level window, then presses keys ("alt+s", "ctrl+c", "F5"):
    // the modifiers go down first and up last, in reverse order.
    static bool PressKeys(HWND window, const std::string& keys);
    // Types text into the window that has the X focus.
    static bool Type(HWND window, const std::string& text);
    // Moves the X pointer to the root position (equal to Win32 screen coordinates) and clicks.
    static bool ClickAt(int x, int y, int button = 1);
    // Presses the left button at the first root position, moves the pointer to the second (by way
    // of the middle, so the program sees motion while the button is held) and releases it there.
    static bool Drag(int fromX, int fromY, int toX, int toY);
};

} // namespace e2e

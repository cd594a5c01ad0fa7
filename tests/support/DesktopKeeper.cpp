// Keeps one tiny window on the Wine desktop for a test run, so the desktop process started with it
// (and not with a test's output pipe) lives as long as the run.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "Seekword test desktop", WS_POPUP | WS_VISIBLE,
                    -10, -10, 1, 1, nullptr, nullptr, nullptr, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}

// Centring a window over its owner, clamped so it never starts above or left of the screen.
#include "searchdialog/CentreWindow.h"

namespace {

// One axis: centred on the reference span, pulled back to end at its far edge, never below 0.
int CentredStart(LONG refStart, LONG refEnd, int size)
{
    int start = refStart + (refEnd - refStart + 1) / 2 - size / 2;
    if (start > refEnd - size)
        start = refEnd - size;
    if (start <= 0)
        start = 0;
    return start;
}

} // namespace

void CentreWindow(HWND window)
{
    RECT own;
    if (!GetWindowRect(window, &own))
        return;

    RECT reference;
    HWND owner = GetWindow(window, GW_OWNER);
    if (!owner || !GetWindowRect(owner, &reference)) {
        reference.left = 0;
        reference.top = 0;
        reference.right = GetSystemMetrics(SM_CXFULLSCREEN);
        reference.bottom = GetSystemMetrics(SM_CYFULLSCREEN);
    }

    // The size counts both edge pixels, so the window grows by one pixel each way when moved.
    int width = own.right - own.left + 1;
    int height = own.bottom - own.top + 1;
    int x = CentredStart(reference.left, reference.right, width);
    int y = CentredStart(reference.top, reference.bottom, height);
    MoveWindow(window, x, y, width, height, FALSE);
}

// CentreWindow: centred over the owner, pulled back to its far edge, never off the top or left.
#include <gtest/gtest.h>

#include <windows.h>

#include "searchdialog/CentreWindow.h"

namespace {

const char kClass[] = "SeekwordCentreTest";

HWND MakeWindow(HWND owner, int x, int y, int width, int height)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        registered = RegisterClassA(&wc) != 0;
    }
    return CreateWindowExA(0, kClass, "", WS_POPUP | WS_VISIBLE, x, y, width, height, owner, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// A window of the given size owned by a window at the given place, centred.
RECT Centred(int ownerX, int ownerY, int ownerWidth, int ownerHeight, int width, int height)
{
    HWND owner = MakeWindow(nullptr, ownerX, ownerY, ownerWidth, ownerHeight);
    HWND window = MakeWindow(owner, 10, 10, width, height);
    CentreWindow(window);
    RECT rect;
    GetWindowRect(window, &rect);
    DestroyWindow(window);
    DestroyWindow(owner);
    return rect;
}

void ExpectRect(const RECT& rect, int x, int y, int width, int height)
{
    EXPECT_EQ(x, rect.left);
    EXPECT_EQ(y, rect.top);
    EXPECT_EQ(width, rect.right - rect.left);
    EXPECT_EQ(height, rect.bottom - rect.top);
}

TEST(CentreWindow, SmallerWindowIsCentredOnItsOwnerAndGrowsByOne)
{
    // Owner 200..600 x 150..450; the window counts as 201 x 101.
    ExpectRect(Centred(200, 150, 400, 300, 200, 100), 300, 250, 201, 101);
    // Odd sizes: halves truncate.
    ExpectRect(Centred(100, 100, 301, 201, 51, 31), 100 + 151 - 26, 100 + 101 - 16, 52, 32);
}

TEST(CentreWindow, WiderOrTallerThanOwnerEndsAtTheOwnersFarEdge)
{
    // Owner 300..500 wide: x = 500 - 251.
    ExpectRect(Centred(300, 100, 200, 200, 250, 100), 249, 150, 251, 101);
    // Owner 100..300 tall: y = 300 - 241.
    ExpectRect(Centred(100, 100, 400, 200, 100, 240), 100 + 200 - 50, 59, 101, 241);
}

TEST(CentreWindow, NeverStartsLeftOfOrAboveTheScreen)
{
    // An owner partly off the screen to the left and top.
    ExpectRect(Centred(-300, -200, 400, 300, 200, 100), 0, 0, 201, 101);
    // A window much wider and taller than its owner near the corner.
    ExpectRect(Centred(50, 50, 100, 100, 300, 300), 0, 0, 301, 301);
}

TEST(CentreWindow, WithoutOwnerUsesTheFullScreenArea)
{
    int screenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
    HWND window = MakeWindow(nullptr, 5, 5, 300, 200);
    CentreWindow(window);
    RECT rect;
    GetWindowRect(window, &rect);
    ExpectRect(rect, (screenWidth + 1) / 2 - 150, (screenHeight + 1) / 2 - 100, 301, 201);

    // Each call grows it again by one pixel each way.
    CentreWindow(window);
    GetWindowRect(window, &rect);
    EXPECT_EQ(302, rect.right - rect.left);
    EXPECT_EQ(202, rect.bottom - rect.top);
    DestroyWindow(window);
}

} // namespace

// The "Not found" box: its template, its colours, closing by OK, Enter and Esc, and no leaked brush.
#include <gtest/gtest.h>

#include "resources/ResourceIds.h"
#include "search/NotFoundBox.h"
#include "support/WindowTestSupport.h"

namespace {

struct Probe {
    HWND box = nullptr;
    char caption[64] = {};
    RECT client = {};
    int redPixels = 0;
    int yellowPixels = 0;
    WPARAM closeKey = VK_RETURN;
};
Probe* probe = nullptr;

void CountColours(HWND box)
{
    HDC dc = GetDC(box);
    RECT r;
    GetClientRect(box, &r);
    for (int y = 0; y < r.bottom; y += 1)
        for (int x = 0; x < r.right; x += 1) {
            COLORREF c = GetPixel(dc, x, y);
            if (c == RGB(128, 0, 0))
                ++probe->redPixels;
            else if (c == RGB(255, 255, 0))
                ++probe->yellowPixels;
        }
    ReleaseDC(box, dc);
}

void CALLBACK InspectAndClose(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = FindWindowA("#32770", "Find next file");
    if (!box)
        return;
    KillTimer(nullptr, timer);
    probe->box = box;
    GetWindowTextA(box, probe->caption, sizeof probe->caption);
    GetClientRect(box, &probe->client);
    UpdateWindow(box);
    CountColours(box);
    HWND ok = GetDlgItem(box, IDOK);
    PostMessageA(ok, WM_KEYDOWN, probe->closeKey, 0);
    PostMessageA(ok, WM_KEYUP, probe->closeKey, 0);
}

INT_PTR RunBox(NotFoundBox& box, Probe& p)
{
    probe = &p;
    SetTimer(nullptr, 0, 50, InspectAndClose);
    return box.RunModal(IDD_NOTFOUND, nullptr);
}

TEST(NotFoundBoxTest, ShowsYellowOnDarkRedAndClosesWithEnterOrEscWithoutLeaking)
{
    NotFoundBox box;
    const int gdiBefore = CountGdiObjects();
    for (WPARAM key : {static_cast<WPARAM>(VK_RETURN), static_cast<WPARAM>(VK_ESCAPE)}) {
        Probe p;
        p.closeKey = key;
        EXPECT_EQ(0, RunBox(box, p));
        EXPECT_STREQ("Find next file", p.caption);
        EXPECT_GT(p.redPixels, (p.client.right * p.client.bottom) / 2);
        EXPECT_GT(p.yellowPixels, 10);
        EXPECT_FALSE(IsWindow(p.box));
        EXPECT_EQ(nullptr, box.brush);
    }
    EXPECT_EQ(gdiBefore, CountGdiObjects());
}

TEST(NotFoundBoxTest, IsCentredOnTheScreenWithoutOwner)
{
    NotFoundBox box;
    Probe p;
    struct Centre {
        static void CALLBACK Check(HWND, UINT, UINT_PTR timer, DWORD)
        {
            HWND found = FindWindowA("#32770", "Find next file");
            if (!found)
                return;
            KillTimer(nullptr, timer);
            RECT r;
            GetWindowRect(found, &r);
            int expectedX = GetSystemMetrics(SM_CXFULLSCREEN) / 2 - (r.right - r.left) / 2;
            EXPECT_NEAR(expectedX, r.left, 2);
            PostMessageA(found, WM_COMMAND, IDOK, 0);
        }
    };
    probe = &p;
    SetTimer(nullptr, 0, 50, Centre::Check);
    EXPECT_EQ(0, box.RunModal(IDD_NOTFOUND, nullptr));
}

} // namespace

// The "Not found" box: its template, its colours, closing by OK, Enter and Esc, and no leaked brush.
#include <gtest/gtest.h>

#include "resources/ResourceIds.h"
#include "search/NotFoundBox.h"
#include "support/WindowTestSupport.h"

namespace {

constexpr DWORD kShowDeadline = 20000;  // a starved machine may take seconds to show and paint the box

struct Probe {
    HWND box = nullptr;
    char caption[64] = {};
    RECT client = {};
    int redPixels = 0;
    int yellowPixels = 0;
    WPARAM closeKey = VK_RETURN;
    DWORD start = 0;
};
Probe* probe = nullptr;

void CountColours(HWND box)
{
    probe->redPixels = probe->yellowPixels = 0;
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

// The box is created hidden and shown when its loop first idles: look once it is shown and painted,
// and close it whatever it shows once the deadline has passed.
void CALLBACK InspectAndClose(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = FindWindowA("#32770", "Find next file");
    const bool late = GetTickCount() - probe->start > kShowDeadline;
    if (!box || (!IsWindowVisible(box) && !late))
        return;
    UpdateWindow(box);
    CountColours(box);
    GetClientRect(box, &probe->client);
    if (probe->redPixels <= (probe->client.right * probe->client.bottom) / 2 && !late)
        return;
    KillTimer(nullptr, timer);
    probe->box = box;
    GetWindowTextA(box, probe->caption, sizeof probe->caption);
    HWND ok = GetDlgItem(box, IDOK);
    PostMessageA(ok, WM_KEYDOWN, probe->closeKey, 0);
    PostMessageA(ok, WM_KEYUP, probe->closeKey, 0);
}

INT_PTR RunBox(NotFoundBox& box, Probe& p)
{
    probe = &p;
    p.start = GetTickCount();
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
            if (!found || !IsWindowVisible(found))
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

// The About window: the disc's size and shape, its painting, its one button and its quiet wait.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ModalDriver.h"
#include "controls/AboutWindow.h"
#include "controls/Control.h"
#include "resources/ResourceIds.h"

namespace {

constexpr COLORREF kGrey = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kAqua = RGB(0, 255, 255);

AboutWindow aboutWindow;

int ShowAbout(HWND owner, const char* text, const std::vector<ModalScript::Step>& steps)
{
    ModalScript script(steps);
    int result = aboutWindow.ShowModal(owner, text, "About", 0, IDI_SEEKWORD, 0, 0xC0C0C0, 0x808080);
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(script.TimedOut());
    return result;
}

ULONGLONG ThreadCpu100ns()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return value(kernel) + value(user);
}

bool AnyPixel(HWND window, int left, int top, int right, int bottom, COLORREF colour)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (ClientPixel(window, x, y) == colour)
                return true;
    return false;
}

TEST(AboutText, NameAndVersionThenOneNoticeLine)
{
    std::string text = kAboutText;
    const std::string name = "Seekword " SEEKWORD_VERSION_TEXT "\n";
    EXPECT_EQ(0u, text.find(name));
    std::string notice = text.substr(name.size());
    EXPECT_FALSE(notice.empty());
    EXPECT_EQ(std::string::npos, notice.find('\n'));
}

TEST(AboutWindowLayout, DiscSizeFollowsTheFontMetrics)
{
    TestOwner owner;
    int lineHeight = DisplayLineHeight();
    const char name[] = "Seekword " SEEKWORD_VERSION_TEXT;
    int widest = std::max(DisplayTextWidth(name), DisplayTextWidth(kAboutText + sizeof name));
    int expectedWidth = widest + 4 * DisplayWidestChar() + 1;
    int expectedHeight = 10 * lineHeight + 1;

    EXPECT_EQ(IDOK, ShowAbout(owner.hwnd, kAboutText, {[&](HWND box) {
        EXPECT_EQ(expectedWidth, aboutWindow.discWidth);
        EXPECT_EQ(expectedHeight, aboutWindow.discHeight);
        // Resized to the disc, then one pixel more each way when centred.
        RECT rect;
        GetWindowRect(box, &rect);
        EXPECT_EQ(expectedWidth + 1, rect.right - rect.left);
        EXPECT_EQ(expectedHeight + 1, rect.bottom - rect.top);
        LONG style = GetWindowLongA(box, GWL_STYLE);
        EXPECT_EQ(0, style & WS_CAPTION);
        EXPECT_NE(0, style & WS_POPUP);
        char title[16] = "x";
        GetWindowTextA(box, title, sizeof title);
        EXPECT_STREQ("", title);
        EXPECT_FALSE(IsWindowEnabled(owner.hwnd));
        EXPECT_NE(nullptr, aboutWindow.icon);

        std::vector<HWND> buttons = ButtonsOf(box);
        EXPECT_EQ(1u, buttons.size());
        char label[16] = "";
        GetWindowTextA(buttons[0], label, sizeof label);
        EXPECT_STREQ("&Ok", label);
        RECT button = ChildRect(buttons[0]);
        EXPECT_EQ((expectedWidth - 1) / 2 - 30, button.left);
        EXPECT_EQ(7 * lineHeight, button.top);
        EXPECT_EQ(60, button.right - button.left);
        EXPECT_EQ(30, button.bottom - button.top);
        if (lineHeight == 16) {
            EXPECT_EQ(161, aboutWindow.discHeight);
            EXPECT_EQ(112, button.top);
        }
        EXPECT_EQ(buttons[0], GetFocus());
        PressKey(VK_RETURN);
        return true;
    }}));
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
}

TEST(AboutWindowLayout, LongerNoticeWidensTheDisc)
{
    TestOwner owner;
    const char* longer = "Seekword 1.6\nA notice line a good deal longer than the name and the version";
    int narrow = 0;
    ShowAbout(owner.hwnd, "Seekword 1.6\nShort", {[&](HWND) {
        narrow = aboutWindow.discWidth;
        PressKey('O');
        return true;
    }});
    ShowAbout(owner.hwnd, longer, {[&](HWND) {
        PressKey('O');
        return true;
    }});
    EXPECT_GT(aboutWindow.discWidth, narrow);
    EXPECT_EQ(DisplayTextWidth(longer + 13) + 4 * DisplayWidestChar() + 1, aboutWindow.discWidth);
}

TEST(AboutWindowShape, WindowIsClippedToTheEllipse)
{
    TestOwner owner;
    ShowAbout(owner.hwnd, kAboutText, {[&](HWND box) {
        int w = aboutWindow.discWidth;
        int h = aboutWindow.discHeight;
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_NE(ERROR, GetWindowRgn(box, region));
        EXPECT_FALSE(PtInRegion(region, 3, 3));
        EXPECT_FALSE(PtInRegion(region, w - 4, h - 4));
        EXPECT_FALSE(PtInRegion(region, w - 4, 3));
        EXPECT_TRUE(PtInRegion(region, w / 2, h / 2));
        EXPECT_TRUE(PtInRegion(region, w / 2, 2));
        EXPECT_TRUE(PtInRegion(region, 2, h / 2));
        DeleteObject(region);

        // A click at a corner of the rectangle goes past the disc.
        RECT rect;
        GetWindowRect(box, &rect);
        POINT corner = {rect.left + 3, rect.top + 3};
        EXPECT_NE(box, WindowFromPoint(corner));
        POINT centre = {rect.left + w / 2, rect.top + 10};
        EXPECT_EQ(box, WindowFromPoint(centre));
        PressKey(VK_RETURN);
        return true;
    }});
}

TEST(AboutWindowPaint, RedRimGreyFaceIconAndBlackText)
{
    TestOwner owner;
    ShowAbout(owner.hwnd, kAboutText, {[&](HWND box) {
        UpdateWindow(box);
        int w = aboutWindow.discWidth;
        int h = aboutWindow.discHeight;
        int lineHeight = aboutWindow.lineHeight;
        EXPECT_TRUE(AnyPixel(box, w / 2, 0, w / 2 + 1, 5, kRed));
        EXPECT_TRUE(AnyPixel(box, w / 2, h - 6, w / 2 + 1, h, kRed));
        EXPECT_TRUE(AnyPixel(box, 0, h / 2, 5, h / 2 + 1, kRed));
        EXPECT_EQ(kGrey, ClientPixel(box, w / 2, 10));
        // The icon: its transparent corner shows the face, its lens is aqua.
        EXPECT_EQ(kGrey, ClientPixel(box, w / 2 - 16, 18));
        EXPECT_EQ(kAqua, ClientPixel(box, w / 2, 18 + 16));
        int textTop = 2 * lineHeight + 32;
        // Both lines in black from their top down, nothing black just above them.
        int left = w / 4;
        int right = w - w / 4;
        EXPECT_TRUE(AnyPixel(box, left, textTop, right, textTop + lineHeight, kBlack));
        EXPECT_TRUE(AnyPixel(box, left, textTop + lineHeight, right, textTop + 2 * lineHeight, kBlack));
        EXPECT_FALSE(AnyPixel(box, left, textTop - 4, right, textTop, kBlack));
        PressKey(VK_RETURN);
        return true;
    }});
}

TEST(AboutWindowKeys, EscapeLeavesItOpenEnterOrOClosesIt)
{
    TestOwner owner;
    for (UINT closer : {static_cast<UINT>(VK_RETURN), static_cast<UINT>('O')}) {
        EXPECT_EQ(IDOK, ShowAbout(owner.hwnd, kAboutText,
                                  {[&](HWND) {
                                       PressKey(VK_ESCAPE);
                                       return true;
                                   },
                                   [&](HWND box) {
                                       EXPECT_TRUE(IsWindowVisible(box));
                                       EXPECT_FALSE(IsWindowEnabled(owner.hwnd));
                                       PressKey(closer);
                                       return true;
                                   }}));
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
        EXPECT_EQ(nullptr, FindWindowA("CMSGCLASS", nullptr));
    }
}

TEST(AboutWindowKeys, EachOpeningDrawsAFreshButtonId)
{
    TestOwner owner;
    Control probe;
    int last = probe.NextControlId();
    for (int opening = 0; opening < 2; ++opening) {
        int id = 0;
        ShowAbout(owner.hwnd, kAboutText, {[&](HWND box) {
            id = GetDlgCtrlID(ButtonsOf(box)[0]);
            PressKey(VK_RETURN);
            return true;
        }});
        EXPECT_EQ(last + 1, id);
        last = id;
    }
}

TEST(AboutWindowWait, OpenWindowSleepsInsteadOfPolling)
{
    TestOwner owner;
    DWORD startedAt = 0;
    ULONGLONG cpuAtStart = 0;
    ULONGLONG cpuUsed = 0;
    DWORD elapsed = 0;
    ShowAbout(owner.hwnd, kAboutText, {[&](HWND) {
                                           startedAt = GetTickCount();
                                           cpuAtStart = ThreadCpu100ns();
                                           return true;
                                       },
                                       [&](HWND) {
                                           elapsed = GetTickCount() - startedAt;
                                           if (elapsed < 600)
                                               return false;
                                           cpuUsed = ThreadCpu100ns() - cpuAtStart;
                                           PressKey(VK_RETURN);
                                           return true;
                                       }});
    // The script's own 10 ms timer wakes the loop; a polling loop would use most of the time.
    EXPECT_GE(elapsed, 600u);
    EXPECT_LT(cpuUsed / 10000, elapsed / 4) << "cpu ms " << cpuUsed / 10000 << " of " << elapsed;
}

} // namespace

// The program moved between screens of other dpis: WM_DPICHANGED lays everything out anew and keeps what is shown.
#include <gtest/gtest.h>

#include <string>

#include "ProgramFixture.h"
#include "framework/Dpi.h"

namespace apptest {
namespace {

RECT InParent(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int Height(HWND window) { return InParent(window).bottom - InParent(window).top; }

// The buttons' left edges, widths and top at each dpi, in the order the window meets them, and how
// much the other lengths grow over 96 dpi.
struct Lengths {
    int dpi;
    int lefts[7];
    int widths[7];
    int top;
    double scale;
};
const Lengths kLengths[] = {
    {144, {3, 98, 223, 348, 458, 568, 663}, {90, 120, 120, 105, 105, 90, 90}, 5, 1.5},
    {120, {3, 82, 186, 290, 382, 474, 553}, {75, 100, 100, 88, 88, 75, 75}, 4, 1.25},
    {96, {2, 65, 148, 231, 304, 377, 440}, {60, 80, 80, 70, 70, 60, 60}, 3, 1.0},
};

class DpiChangeTest : public ProgramTest {
protected:
    // The program's windows take the awareness of the thread that makes them.
    void SetUp() override
    {
        ASSERT_TRUE(awareness.Active());
        ProgramTest::SetUp();
    }
    PerMonitorAwareThread awareness;
};

TEST_F(DpiChangeTest, EveryLengthFollowsTheDpiTheFileShownStaysAndBackAtNinetySixNothingMoved)
{
    std::string lines;
    for (int i = 1; i <= 80; ++i)
        lines += i == 50 ? "the needle is on line fifty\r\n" : "line\r\n";
    tree.Write("long.txt", lines);
    SearchEntry entry;
    entry.text = "needle";
    entry.location = tree.path + "\\";
    Start(entry);
    ASSERT_GT(searchView.topLine, 0);
    auto shown = [&] {
        return std::string(searchView.currentPath) + FrameTitle() + Status(1) + Status(2) + " " +
               std::to_string(searchView.topLine) + " " + std::to_string(searchView.cursorRow) + " " +
               std::to_string(searchView.selStartIndex) + " " + std::to_string(searchView.selEndLine);
    };
    auto layout = [&] {
        std::string places;
        for (HWND child : {buttonBar.hwnd, searchView.hwnd, statusBar.hwnd})
            places += std::to_string(InParent(child).top) + "-" + std::to_string(InParent(child).bottom) + " ";
        for (int i = 0; i < 7; ++i)
            places += std::to_string(InParent(buttonBar.buttons[i].hwnd).right) + " ";
        return places + std::to_string(searchView.lineHeight) + " " + std::to_string(searchView.charWidth);
    };
    const std::string shownAt96 = shown(), layoutAt96 = layout();
    const int bar96 = Height(buttonBar.hwnd), status96 = Height(statusBar.hwnd), rows96 = searchView.lineHeight;
    RECT frame96;
    GetWindowRect(appFrame.hwnd, &frame96);

    for (const Lengths& expected : kLengths) {
        SCOPED_TRACE(expected.dpi);
        // Somewhere else and wider, within the screen; at 96 where the window began.
        RECT suggested = frame96, frame;
        OffsetRect(&suggested, expected.dpi - 96, 0);
        suggested.right += 2 * (expected.dpi - 96);
        SendMessageA(appFrame.hwnd, WM_DPICHANGED, MAKEWPARAM(expected.dpi, expected.dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        GetWindowRect(appFrame.hwnd, &frame);
        EXPECT_TRUE(EqualRect(&suggested, &frame));
        for (int i = 0; i < 7; ++i) {
            const RECT button = InParent(buttonBar.buttons[i].hwnd);
            EXPECT_EQ(expected.lefts[i], button.left) << i;
            EXPECT_EQ(expected.widths[i], button.right - button.left) << i;
            EXPECT_EQ(expected.top, button.top) << i;
            EXPECT_NEAR((bar96 - 6) * expected.scale, button.bottom - button.top, 1.0) << i;
        }
        EXPECT_NEAR(bar96 * expected.scale, Height(buttonBar.hwnd), 1.0);
        EXPECT_NEAR(rows96 * expected.scale, searchView.lineHeight, 1.0);
        // The status bar's font grows with the dpi, its borders less.
        EXPECT_GE(Height(statusBar.hwnd) * 10, status96 * (expected.dpi == 144 ? 13 : 10));
        EXPECT_EQ(InParent(buttonBar.hwnd).bottom, InParent(searchView.hwnd).top);
        EXPECT_EQ(InParent(searchView.hwnd).bottom, InParent(statusBar.hwnd).top);
        EXPECT_EQ(shownAt96, shown());

        // The About window opened now is laid out for the dpi and draws its icon at that size: at 144 the
        // 48-pixel image's lens shows 33 rows down, below where a 32-pixel icon ends.
        RECT button = {};
        COLORREF lens = 0;
        responder.Expect(kMessageWindowKey, [&](HWND about) {
            button = InParent(GetWindow(about, GW_CHILD));
            UpdateWindow(about);
            HDC dc = GetDC(about);
            lens = GetPixel(dc, aboutWindow.discWidth / 2 - Dpi::Scale(16, expected.dpi) + 29,
                            Dpi::Scale(18, expected.dpi) + 33);
            ReleaseDC(about, dc);
            PostMessageA(about, WM_CLOSE, 0, 0);
        });
        Command(CMD_ABOUT);
        EXPECT_EQ(Dpi::Scale(60, expected.dpi), button.right - button.left);
        EXPECT_EQ(expected.dpi == 144, lens == RGB(0, 255, 255));
        ASSERT_EQ(1, appFrame.SaveState());
        EXPECT_EQ(std::to_string(expected.dpi), SettingsValue("rcNormalDpi"));
    }
    EXPECT_EQ(layoutAt96, layout());
    EXPECT_EQ(GetStockObject(SYSTEM_FIXED_FONT), searchView.font);
    EXPECT_EQ(statusBar.ownFont, reinterpret_cast<HFONT>(SendMessageA(statusBar.hwnd, WM_GETFONT, 0, 0)));
}

} // namespace
} // namespace apptest

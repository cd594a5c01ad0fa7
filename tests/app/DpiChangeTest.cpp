// The program moved to a screen at 150% and back: WM_DPICHANGED lays everything out anew and keeps what is shown.
#include "ProgramFixture.h"

namespace apptest {
namespace {

int Height(const RECT& rect) { return rect.bottom - rect.top; }

// Windows take the thread's awareness: per-monitor as the program's manifest asks, set before SetUp makes them.
class DpiChangeTest : public ProgramTest {
protected:
    using Set = HANDLE(WINAPI*)(HANDLE);
    const Set set = reinterpret_cast<Set>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")));
    const HANDLE v2 = set ? set(reinterpret_cast<HANDLE>(-4)) : nullptr;
    const HANDLE previous = v2 ? v2 : set ? set(reinterpret_cast<HANDLE>(-3)) : nullptr;
    ~DpiChangeTest() override { if (previous) set(previous); }
};

TEST_F(DpiChangeTest, AtOneHundredAndFortyFourEveryLengthGrowsHalfAgainTheFileShownStaysAndAtNinetySixNothingMoved)
{
    ASSERT_NE(nullptr, previous);
    tree.Write("long.txt", std::string(49, '\n') + "the needle is on line fifty\n" + std::string(30, '\n'));
    Start({"needle", tree.path + "\\"});
    ASSERT_GT(searchView.topLine, 0);
    auto shown = [&] {
        return std::string(searchView.currentPath) + FrameTitle() + Status(1) + Status(2) + " " +
               std::to_string(searchView.topLine) + " " + std::to_string(searchView.cursorRow) + " " +
               std::to_string(searchView.selStartIndex) + " " + std::to_string(searchView.selEndLine);
    };
    // On the screen: the bar, the view, the status bar, then the buttons left to right.
    auto layout = [&] {
        std::vector<RECT> places(10);
        const HWND windows[] = {buttonBar.hwnd, searchView.hwnd, statusBar.hwnd};
        for (int i = 0; i < 10; ++i)
            GetWindowRect(i < 3 ? windows[i] : buttonBar.buttons[i - 3].hwnd, &places[i]);
        return places;
    };
    const std::string shownAt96 = shown();
    const std::vector<RECT> at96 = layout();
    const int rows96 = searchView.lineHeight;
    RECT frame96;
    GetWindowRect(appFrame.hwnd, &frame96);

    RECT suggested = {frame96.left + 48, frame96.top, frame96.right + 144, frame96.bottom}, frame;
    SendMessageA(appFrame.hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_TRUE(GetWindowRect(appFrame.hwnd, &frame) && EqualRect(&suggested, &frame));
    const std::vector<RECT> at144 = layout();
    // In the bar, gaps and offsets grow too, so no two buttons overlap.
    const int lefts[] = {3, 98, 223, 348, 458, 568, 663}, widths[] = {90, 120, 120, 105, 105, 90, 90};
    for (int i = 0; i < 7; ++i) {
        const RECT& button = at144[3 + i];
        EXPECT_EQ(lefts[i], button.left - at144[0].left) << i;
        EXPECT_EQ(widths[i], button.right - button.left) << i;
        EXPECT_NEAR(Height(at96[3 + i]) * 1.5, Height(button), 1.0) << i;
    }
    EXPECT_NEAR(Height(at96[0]) * 1.5, Height(at144[0]), 1.0);
    EXPECT_NEAR(rows96 * 1.5, searchView.lineHeight, 1.0);
    EXPECT_GE(Height(at144[2]) * 10, Height(at96[2]) * 13);  // its font grows, its borders less
    EXPECT_EQ(at144[0].bottom, at144[1].top);
    EXPECT_EQ(at144[1].bottom, at144[2].top);
    EXPECT_EQ(shownAt96, shown());
    ASSERT_EQ(1, appFrame.SaveState());
    EXPECT_EQ("144", SettingsValue("rcNormalDpi"));

    SendMessageA(appFrame.hwnd, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&frame96));
    const std::vector<RECT> back = layout();
    for (size_t i = 0; i < back.size(); ++i)
        EXPECT_TRUE(EqualRect(&at96[i], &back[i])) << i;
    EXPECT_EQ(GetStockObject(SYSTEM_FIXED_FONT), searchView.font);
}

} // namespace
} // namespace apptest

// The real program on a screen at 150%: the prefix's LogPixels at 144 for the program started then,
// measured against the same program started at 96.
#include <algorithm>

#include "SeekwordFixture.h"

namespace seekword_e2e {
namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";
const char kLogPixels[] = "LogPixels";

// What the user sees of the layout, in screen pixels: the bar's and status bar's heights, the view's
// row pitch and the buttons in the bar, left to right.
struct Layout {
    int bar = 0, statusBar = 0, rowPitch = 0;
    std::vector<RECT> buttons;
};

class SeekwordDpiTest : public SeekwordTest {
protected:
    void SetUp() override
    {
        // Read first, so that even a failed set-up puts back what was there.
        hadLogPixels = UserRegistry::ReadDword(kDesktopKey, kLogPixels, &oldLogPixels);
        SeekwordTest::SetUp();
    }

    void TearDown() override
    {
        // The programs started after this test see the screen as before, whether it passed or not.
        EXPECT_TRUE(hadLogPixels ? UserRegistry::WriteDword(kDesktopKey, kLogPixels, oldLogPixels)
                                 : UserRegistry::DeleteValue(kDesktopKey, kLogPixels));
        SeekwordTest::TearDown();
    }

    // Starts the program on a screen of that dpi (Wine reads LogPixels as a process starts), finds the
    // text on the sample's third line, measures and ends the program.
    ::testing::AssertionResult RunAt(DWORD dpi, Layout* layout, const char* screenshot)
    {
        if (!UserRegistry::WriteDword(kDesktopKey, kLogPixels, dpi))
            return Failure("cannot set LogPixels");
        ::testing::AssertionResult found = Launch(false);
        if (found && !MoveAndSize(frame, 10, 10, 1000, 700))
            found = Failure("cannot place the main window");
        if (found)
            found = Search("needle", samples.Path(), "c.txt");
        if (!found)
            return found;
        layout->bar = WindowRectOf(bar).bottom - WindowRectOf(bar).top;
        layout->statusBar = WindowRectOf(status.Handle()).bottom - WindowRectOf(status.Handle()).top;
        for (HWND button : FindDescendants(bar, "Button")) {
            RECT rect = WindowRectOf(button);
            MapWindowPoints(HWND_DESKTOP, bar, reinterpret_cast<POINT*>(&rect), 2);
            layout->buttons.push_back(rect);
        }
        std::sort(layout->buttons.begin(), layout->buttons.end(),
                  [](const RECT& a, const RECT& b) { return a.left < b.left; });

        // The selected word's highlight runs from two row pitches down to three.
        int first = -1, last = -1;
        const bool seen = WaitUntil([&] {
            ScreenImage shot = CaptureView();
            first = last = -1;
            for (int y = 0; y < shot.Height(); ++y) {
                if (shot.CountColour(GetSysColor(COLOR_HIGHLIGHT), RECT{0, y, shot.Width(), y + 1}) > 0) {
                    first = first < 0 ? y : first;
                    last = y;
                }
            }
            return first > 0 && first == 2 * (last + 1 - first);
        });
        if (!seen)
            return Failure("the highlight spans rows " + std::to_string(first) + " to " + std::to_string(last));
        layout->rowPitch = last + 1 - first;
        if (screenshot)
            ScreenImage::CaptureWindow(frame).SavePng(ArtifactPath(screenshot));
        return ExitProgram();
    }

    bool hadLogPixels = false;
    DWORD oldLogPixels = 0;
};

TEST_F(SeekwordDpiTest, AtOneHundredAndFortyFourDpiBarButtonsAndRowsAreOneAndAHalfTimesAsLarge)
{
    samples.Add("c.txt", "first line\r\nsecond line\r\nthe Needle is here\r\n");
    Layout at96, at144;
    ASSERT_TRUE(RunAt(96, &at96, nullptr));
    ASSERT_TRUE(RunAt(144, &at144, "seekword-hit-144dpi.png"));

    EXPECT_NEAR(at96.bar * 1.5, at144.bar, 1.0);
    EXPECT_NEAR(at96.rowPitch * 1.5, at144.rowPitch, 1.0);
    EXPECT_GE(at144.statusBar * 10, at96.statusBar * 13) << at96.statusBar << " at 96";
    ASSERT_EQ(7u, at96.buttons.size());
    ASSERT_EQ(7u, at144.buttons.size());
    for (size_t i = 0; i < 7; ++i) {
        const RECT &small = at96.buttons[i], &large = at144.buttons[i];
        EXPECT_NEAR((small.right - small.left) * 1.5, large.right - large.left, 1.0) << i;
        EXPECT_NEAR((small.bottom - small.top) * 1.5, large.bottom - large.top, 1.0) << i;
        EXPECT_LE(at144.buttons[i].bottom, at144.bar) << i;
        if (i > 0)
            EXPECT_GT(at144.buttons[i].left, at144.buttons[i - 1].right) << i;
    }
    // The placement went into the registry with the dpi of its pixels.
    DWORD placedDpi = 0;
    EXPECT_TRUE(UserRegistry::ReadDword(kSettingsKey, "rcNormalDpi", &placedDpi));
    EXPECT_EQ(144u, placedDpi);
}

} // namespace
} // namespace seekword_e2e

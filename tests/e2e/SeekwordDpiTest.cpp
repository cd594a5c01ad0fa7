// The real program on a screen at 150%: the prefix's LogPixels at 144 for the program started then,
// measured against the same program started at 96.
#include <algorithm>

#include "SeekwordFixture.h"

namespace seekword_e2e {
namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";
const char kLogPixels[] = "LogPixels";
constexpr int kCommandButtons = 7;

// What the user sees of the layout, in screen pixels.
struct Layout {
    int barHeight = 0;
    std::vector<RECT> buttons;  // in the bar, left to right
    int statusHeight = 0;
    int rowPitch = 0;  // from one text row of the view to the next
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
        if (hadLogPixels)
            EXPECT_TRUE(UserRegistry::WriteDword(kDesktopKey, kLogPixels, oldLogPixels));
        else
            EXPECT_TRUE(UserRegistry::DeleteValue(kDesktopKey, kLogPixels));
        SeekwordTest::TearDown();
    }

    // Starts the program on a screen of that dpi (Wine reads LogPixels when a process starts), finds
    // the sample's third line, measures and ends the program.
    ::testing::AssertionResult RunAt(DWORD dpi, Layout* layout, const char* screenshot)
    {
        if (!UserRegistry::WriteDword(kDesktopKey, kLogPixels, dpi))
            return Failure("cannot set LogPixels");
        ::testing::AssertionResult launched = Launch(false);
        if (!launched)
            return launched;
        if (!MoveAndSize(frame, 10, 10, 1000, 700))
            return Failure("cannot place the main window");
        ::testing::AssertionResult found = Search("needle", samples.Path(), "c.txt");
        if (!found)
            return found;

        layout->barHeight = HeightOf(WindowRectOf(bar));
        layout->statusHeight = HeightOf(WindowRectOf(status.Handle()));
        layout->buttons.clear();
        for (HWND button : FindDescendants(bar, "Button")) {
            RECT rect = WindowRectOf(button);
            MapWindowPoints(HWND_DESKTOP, bar, reinterpret_cast<POINT*>(&rect), 2);
            layout->buttons.push_back(rect);
        }
        std::sort(layout->buttons.begin(), layout->buttons.end(),
                  [](const RECT& a, const RECT& b) { return a.left < b.left; });

        // The selected word is on the third row: its highlight runs from two row pitches down to three.
        const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
        int first = -1, last = -1;
        ScreenImage shot;
        const bool seen = WaitUntil([&] {
            shot = CaptureView();
            first = last = -1;
            for (int y = 0; y < shot.Height(); ++y) {
                RECT row = {0, y, shot.Width(), y + 1};
                if (shot.CountColour(highlight, row) > 0) {
                    if (first < 0)
                        first = y;
                    last = y;
                }
            }
            return first > 0 && first == 2 * (last + 1 - first);
        });
        if (!seen)
            return Failure("the highlight spans rows " + std::to_string(first) + " to " + std::to_string(last));
        layout->rowPitch = last + 1 - first;
        if (screenshot && !ScreenImage::CaptureWindow(frame).SavePng(ArtifactPath(screenshot)))
            return Failure("cannot save the screenshot");
        return ExitProgram();
    }

    static int HeightOf(const RECT& r) { return r.bottom - r.top; }
    static int WidthOf(const RECT& r) { return r.right - r.left; }

    bool hadLogPixels = false;
    DWORD oldLogPixels = 0;
};

TEST_F(SeekwordDpiTest, AtOneHundredAndFortyFourDpiBarButtonsAndRowsAreOneAndAHalfTimesAsLarge)
{
    samples.Add("c.txt", "first line\r\nsecond line\r\nthe Needle is here\r\n");
    Layout at96, at144;
    ASSERT_TRUE(RunAt(96, &at96, nullptr));
    ASSERT_TRUE(RunAt(144, &at144, "seekword-hit-144dpi.png"));

    EXPECT_NEAR(at96.barHeight * 1.5, at144.barHeight, 1.0);
    EXPECT_NEAR(at96.rowPitch * 1.5, at144.rowPitch, 1.0);
    EXPECT_GE(at144.statusHeight * 10, at96.statusHeight * 13) << at96.statusHeight << " at 96";
    ASSERT_EQ(static_cast<size_t>(kCommandButtons), at96.buttons.size());
    ASSERT_EQ(static_cast<size_t>(kCommandButtons), at144.buttons.size());
    for (int i = 0; i < kCommandButtons; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(WidthOf(at96.buttons[i]) * 1.5, WidthOf(at144.buttons[i]), 1.0);
        EXPECT_NEAR(HeightOf(at96.buttons[i]) * 1.5, HeightOf(at144.buttons[i]), 1.0);
        EXPECT_LE(at144.buttons[i].bottom, at144.barHeight);
        if (i > 0)
            EXPECT_GT(at144.buttons[i].left, at144.buttons[i - 1].right);
    }
    // The placement went into the registry with the dpi of its pixels.
    DWORD placedDpi = 0;
    EXPECT_TRUE(UserRegistry::ReadDword(kSettingsKey, "rcNormalDpi", &placedDpi));
    EXPECT_EQ(144u, placedDpi);
}

} // namespace
} // namespace seekword_e2e

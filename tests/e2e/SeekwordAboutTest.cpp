// The About window: a modal red-rimmed grey disc that Escape leaves open and Enter or O close,
// after which the keyboard focus is back in the text view.
#include "SeekwordFixture.h"

namespace seekword_e2e {
namespace {

const COLORREF kRim = RGB(255, 0, 0);
const COLORREF kFace = RGB(0xC0, 0xC0, 0xC0);

class SeekwordAboutTest : public SeekwordTest {
protected:
    void SetUp() override
    {
        SeekwordTest::SetUp();
        if (HasFatalFailure())
            return;
        samples.Add("about.txt", "a needle to give the view a file\r\n");
        ASSERT_TRUE(Launch());
        ASSERT_TRUE(Search("needle", samples.Path(), "about.txt"));
    }

    HWND OkButtonOf(HWND about) { return FindDescendant(about, "Button", "&Ok"); }

    // Closed, the main window takes input again and the view has the focus.
    void ExpectBackInTheView()
    {
        EXPECT_TRUE(WaitUntil([&] { return IsEnabledNow(frame); }));
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(frame) == view; }));
        EXPECT_EQ(kViewClass, ClassOf(FocusOf(frame)));
        EXPECT_EQ(frame, ActiveOf(frame));
    }
};

TEST_F(SeekwordAboutTest, TheButtonShowsAModalRoundWindowThatEscapeDoesNotClose)
{
    ASSERT_TRUE(PostClickButton(Button(kAbout)));
    HWND about = WaitForAboutWindow();
    ASSERT_NE(nullptr, about);
    EXPECT_EQ(frame, GetWindow(about, GW_OWNER));
    EXPECT_TRUE(WaitUntil([&] { return !IsEnabledNow(frame); }));
    HWND ok = OkButtonOf(about);
    ASSERT_NE(nullptr, ok);

    // An elliptic window region: the corners are cut away, the middle is in.
    const RECT rect = WindowRectOf(about);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(about, region));
    EXPECT_FALSE(PtInRegion(region, 2, 2));
    EXPECT_FALSE(PtInRegion(region, width - 3, height - 3));
    EXPECT_TRUE(PtInRegion(region, width / 2, height / 2));
    EXPECT_TRUE(PtInRegion(region, 2, height / 2));
    DeleteObject(region);

    // The picture: a red rim at the disc's left and top edges, a grey face, and the corner shows
    // what lies behind the disc.
    ScreenImage shot;
    ASSERT_TRUE(WaitUntil([&] {
        shot = ScreenImage::CaptureWindow(about);
        RECT leftEdge = {0, height / 2 - 2, 6, height / 2 + 2};
        RECT topEdge = {width / 2 - 2, 0, width / 2 + 2, 6};
        RECT face = {width / 4, height / 3, width * 3 / 4, height * 2 / 3};
        return !shot.IsEmpty() && shot.CountColour(kRim, leftEdge) > 0 && shot.CountColour(kRim, topEdge) > 0 &&
               shot.DominantColour(face) == kFace;
    }));
    EXPECT_TRUE(shot.SavePng(ArtifactPath("seekword-about.png")));
    EXPECT_NE(kFace, shot.Pixel(1, 1));
    EXPECT_NE(kRim, shot.Pixel(1, 1));
    EXPECT_GT(shot.CountColour(kRim), 2 * (width + height));
    // Black text on the face above the button.
    RECT textArea = {0, 0, width, WindowRectOf(ok).top - rect.top};
    EXPECT_GT(shot.CountColour(RGB(0, 0, 0), textArea), 20);

    // Escape does nothing. Holding Space down afterwards pushes the button, so once it shows
    // pushed, the Escape before it has been handled.
    ASSERT_TRUE(Press(VK_ESCAPE, kNoModifier, about));
    ASSERT_TRUE(HoldKey(VK_SPACE));
    const bool pushed = WaitUntil([&] {
        DWORD_PTR state = 0;
        return SendMessageTimeoutA(ok, BM_GETSTATE, 0, 0, SMTO_NORMAL, kMessageTimeoutMs, &state) &&
               (state & BST_PUSHED);
    });
    EXPECT_TRUE(pushed);
    EXPECT_TRUE(IsShownNow(about));
    EXPECT_FALSE(IsEnabledNow(frame));
    ASSERT_TRUE(PressKey(VK_RETURN));
    ASSERT_TRUE(ReleaseKey(VK_SPACE));
    ASSERT_TRUE(WaitForWindowGone(about));
    ExpectBackInTheView();
}

TEST_F(SeekwordAboutTest, AltAOpensItAndOClosesItAndEachOpeningTakesAFreshButtonId)
{
    ASSERT_EQ(view, FocusOf(frame));
    ASSERT_TRUE(Press('A', kAlt));
    HWND about = WaitForAboutWindow();
    ASSERT_NE(nullptr, about);
    EXPECT_TRUE(WaitUntil([&] { return !IsEnabledNow(frame); }));
    const int firstId = GetDlgCtrlID(OkButtonOf(about));
    // Dragged by a point of its face, it follows the pointer.
    ASSERT_TRUE(XdoTool::Available());
    const RECT before = WindowRectOf(about);
    const int faceX = (before.left + before.right) / 2;
    const int faceY = before.top + (before.bottom - before.top) / 4;
    ASSERT_TRUE(XdoTool::Drag(faceX, faceY, faceX + 50, faceY + 30));
    EXPECT_TRUE(WaitUntil([&] {
        const RECT after = WindowRectOf(about);
        return after.left == before.left + 50 && after.top == before.top + 30;
    })) << WindowRectOf(about).left - before.left << "," << WindowRectOf(about).top - before.top;
    // Until the move loop has seen the release, it takes keys for itself.
    EXPECT_TRUE(WaitUntil([&] { return !HoldsMouse(about); }));
    ASSERT_TRUE(Press('O', kNoModifier, about));
    ASSERT_TRUE(WaitForWindowGone(about));
    ExpectBackInTheView();

    ASSERT_TRUE(Press('A', kAlt));
    about = WaitForAboutWindow();
    ASSERT_NE(nullptr, about);
    EXPECT_EQ(firstId + 1, GetDlgCtrlID(OkButtonOf(about)));
    ASSERT_TRUE(Press(VK_RETURN, kNoModifier, about));
    ASSERT_TRUE(WaitForWindowGone(about));
    ExpectBackInTheView();
    // The file shown is untouched.
    EXPECT_EQ("Seekword found about.txt", StoredTitle(frame));
    EXPECT_TRUE(WaitForHighlight("0:2-7"));
}

TEST_F(SeekwordAboutTest, ClosedByTheSystemKeyItGivesTheMainWindowBackItsCommands)
{
    ASSERT_TRUE(Press('A', kAlt));
    HWND about = WaitForAboutWindow();
    ASSERT_NE(nullptr, about);
    ASSERT_TRUE(Press(VK_F4, kAlt, about));
    ASSERT_TRUE(WaitForWindowGone(about));
    ExpectBackInTheView();
    // The wait has ended with the window: accelerators work again and the program runs on.
    ASSERT_TRUE(SyncThroughAbout());
    EXPECT_TRUE(app.IsRunning());
    EXPECT_EQ("Seekword found about.txt", StoredTitle(frame));
}

TEST_F(SeekwordAboutTest, KeysTypedRightAfterClosingItReachTheMainWindowsAccelerators)
{
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(Press('A', kAlt));
        HWND about = WaitForAboutWindow();
        ASSERT_NE(nullptr, about);
        // O closes it and Alt+A follows at once, before the program is back in its main loop.
        ASSERT_TRUE(BringToFront(about));
        ASSERT_TRUE(PressKey('O'));
        ASSERT_TRUE(PressKey('A', kAlt));
        ASSERT_TRUE(WaitForWindowGone(about));
        HWND again = WaitForAboutWindow();
        ASSERT_NE(nullptr, again);
        ASSERT_TRUE(Press(VK_RETURN, kNoModifier, again));
        ASSERT_TRUE(WaitForWindowGone(again));
        ExpectBackInTheView();
    }
}

} // namespace
} // namespace seekword_e2e

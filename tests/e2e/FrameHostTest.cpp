// The real main frame, button bar, status bar and text view in the frame test host, driven as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "driver/AppProcess.h"
#include "driver/Artifacts.h"
#include "driver/Controls.h"
#include "driver/Keyboard.h"
#include "driver/Mouse.h"
#include "driver/RemoteStatusBar.h"
#include "driver/ScreenImage.h"
#include "driver/WindowQuery.h"
#include "driver/WindowState.h"
#include "driver/XdoTool.h"

using namespace e2e;

namespace {

const char kFrameClass[] = "MainClass";
const char kFrameTitle[] = "Seekword FrameHost";
const char kBarClass[] = "BtnBarClass";
const char kViewClass[] = "TextWndClass";  // the program's own view

struct ExpectedButton {
    const char* label;
    int commandId;
    int left;   // in the bar's client coordinates
    int width;
    bool enabled;
};

const ExpectedButton kButtons[] = {
    {"&Start", 40001, 2, 60, true},       {"&Find next", 40002, 65, 80, false},
    {"&Next file", 40003, 148, 80, false}, {"&Copy", 40004, 231, 70, false},
    {"&Edit", 40007, 304, 70, false},      {"&About", 40005, 377, 60, true},
    {"E&xit", 40006, 440, 60, true},
};
// Right end of the last button in the bar.
constexpr int kButtonsEnd = 500;
const COLORREF kBarGrey = RGB(128, 128, 128);

class FrameHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(app.Start(FRAMEHOST_EXE)) << app.Failure();
        frame = app.WaitForTopWindow(kFrameClass, kFrameTitle);
        ASSERT_NE(nullptr, frame);
        status = RemoteStatusBar::WaitFor(frame);
        ASSERT_TRUE(status.IsValid());
        bar = WaitForDescendant(frame, kBarClass);
        ASSERT_NE(nullptr, bar);
        view = WaitForDescendant(frame, kViewClass);
        ASSERT_NE(nullptr, view);
        ASSERT_TRUE(WaitUntil([&] { return FindDescendants(bar, "Button").size() == 7; }));
        ASSERT_TRUE(MoveAndSize(frame, 30, 30, 700, 460));
    }

    bool WaitForCommand(int id)
    {
        return WaitUntil([&] { return status.PartText(0) == "command " + std::to_string(id); });
    }

    AppProcess app;
    HWND frame = nullptr;
    HWND bar = nullptr;
    HWND view = nullptr;
    RemoteStatusBar status = RemoteStatusBar::OfWindow(nullptr);
};

} // namespace

TEST_F(FrameHostTest, SevenButtonsInOrderWithOnlyStartAboutAndExitEnabled)
{
    std::vector<HWND> buttons = FindDescendants(bar, "Button");
    ASSERT_EQ(7u, buttons.size());
    for (const ExpectedButton& expected : kButtons) {
        SCOPED_TRACE(expected.label);
        HWND button = ButtonByText(bar, expected.label);
        ASSERT_NE(nullptr, button);
        EXPECT_EQ(bar, GetParent(button));
        EXPECT_EQ(expected.commandId, GetDlgCtrlID(button));
        EXPECT_EQ(expected.enabled, IsEnabledNow(button));
        EXPECT_TRUE(IsShownNow(button));
        RECT rect = WindowRectOf(button);
        MapWindowPoints(HWND_DESKTOP, bar, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(expected.left, rect.left);
        EXPECT_EQ(expected.width, rect.right - rect.left);
        EXPECT_EQ(3, rect.top);
    }
}

TEST_F(FrameHostTest, StatusBarHasThreeEmptyPartsThatKeepTheirWidthsOnResize)
{
    ASSERT_EQ(3, status.PartCount());
    for (int part = 0; part < 3; ++part) {
        std::string text = "unread";
        EXPECT_TRUE(status.ReadPart(part, &text));
        EXPECT_EQ("", text) << part;
    }

    std::vector<int> edges = status.PartEdges();
    ASSERT_EQ(3u, edges.size());
    RECT barRect = WindowRectOf(status.Handle());
    const int width = barRect.right - barRect.left;
    RECT client = ClientRectOnScreen(frame);
    EXPECT_EQ(client.right - client.left, width);
    // Parts 1 and 2 are 20 and 12 average characters wide and the last ends 3 before the right end.
    const int charWidth = (width - edges[2]) / 3;
    ASSERT_GT(charWidth, 0);
    EXPECT_EQ(width - 3 * charWidth, edges[2]);
    EXPECT_EQ(12 * charWidth, edges[2] - edges[1]);
    EXPECT_EQ(20 * charWidth, edges[1] - edges[0]);

    ASSERT_TRUE(MoveAndSize(frame, 30, 30, 900, 500));
    ASSERT_TRUE(WaitUntil([&] {
        std::vector<int> now = status.PartEdges();
        return now.size() == 3 && now[2] == edges[2] + 200;
    }));
    std::vector<int> wider = status.PartEdges();
    EXPECT_EQ(edges[2] - edges[1], wider[2] - wider[1]);
    EXPECT_EQ(edges[1] - edges[0], wider[1] - wider[0]);
    EXPECT_EQ(edges[0] + 200, wider[0]);
    // The bar stays along the bottom of the client area, full width, the view right above it.
    RECT sb = WindowRectOf(status.Handle());
    client = ClientRectOnScreen(frame);
    EXPECT_EQ(client.bottom, sb.bottom);
    EXPECT_EQ(client.right - client.left, sb.right - sb.left);
    RECT viewRect = WindowRectOf(view);
    EXPECT_EQ(sb.top, viewRect.bottom);
    EXPECT_EQ(WindowRectOf(bar).bottom, viewRect.top);
}

TEST_F(FrameHostTest, AcceleratorKeysReachTheFrameWhileTheViewHasTheFocus)
{
    ASSERT_TRUE(BringToFront(frame));
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(frame) == view; }));
    ASSERT_TRUE(PressKey('S', kAlt));
    EXPECT_TRUE(WaitForCommand(40001)) << status.PartText(0);
    EXPECT_EQ(view, FocusOf(frame));
    ASSERT_TRUE(PressKey('X', kCtrl));
    EXPECT_TRUE(WaitForCommand(40004)) << status.PartText(0);

    // Real X key presses take the same way.
    ASSERT_TRUE(XdoTool::Available());
    ASSERT_TRUE(XdoTool::PressKeys(frame, "alt+a"));
    EXPECT_TRUE(WaitForCommand(40005)) << status.PartText(0);
    ASSERT_TRUE(XdoTool::PressKeys(frame, "alt+n"));
    EXPECT_TRUE(WaitForCommand(40003)) << status.PartText(0);
    EXPECT_EQ(view, FocusOf(frame));
}

TEST_F(FrameHostTest, ButtonClicksReachTheFrameAndTheFocusReturnsToTheView)
{
    HWND about = ButtonByText(bar, "&About");
    RECT rect = WindowRectOf(about);
    ASSERT_TRUE(ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    EXPECT_TRUE(WaitForCommand(40005)) << status.PartText(0);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(frame) == view; }));
    ASSERT_TRUE(ClickButton(ButtonByText(bar, "&Start")));
    EXPECT_TRUE(WaitForCommand(40001)) << status.PartText(0);
}

TEST_F(FrameHostTest, ScreenshotShowsTheGreyButtonBar)
{
    ASSERT_TRUE(BringToFront(frame));
    const RECT frameRect = WindowRectOf(frame);
    RECT barRect = WindowRectOf(bar);
    // The stretch right of the last button, inside the two edge rows, in image coordinates.
    RECT grey = {barRect.left - frameRect.left + kButtonsEnd + 2, barRect.top - frameRect.top + 1,
                 barRect.right - frameRect.left, barRect.bottom - frameRect.top - 1};
    ASSERT_LT(grey.left, grey.right);
    const int greyArea = (grey.right - grey.left) * (grey.bottom - grey.top);
    // The status bar's face, away from its borders and part edges.
    RECT statusRect = WindowRectOf(status.Handle());
    RECT face = {statusRect.left - frameRect.left + 8, statusRect.top - frameRect.top + 4,
                 statusRect.left - frameRect.left + 100, statusRect.bottom - frameRect.top - 4};
    const COLORREF faceColour = GetSysColor(COLOR_BTNFACE);
    ScreenImage shot;
    // Both bars repaint after the resize of SetUp, in no fixed order.
    ASSERT_TRUE(WaitUntil([&] {
        shot = ScreenImage::CaptureWindow(frame);
        return shot.CountColour(kBarGrey, grey) == greyArea && shot.DominantColour(face) == faceColour;
    })) << shot.CountColour(kBarGrey, grey) << " of " << greyArea;
    EXPECT_TRUE(shot.SavePng(ArtifactPath("framehost.png")));

    RECT topRow = {grey.left, grey.top - 1, grey.right - 1, grey.top};
    RECT bottomRow = {grey.left, grey.bottom, grey.right - 1, grey.bottom + 1};
    EXPECT_EQ(topRow.right - topRow.left, shot.CountColour(GetSysColor(COLOR_BTNHIGHLIGHT), topRow));
    EXPECT_EQ(bottomRow.right - bottomRow.left, shot.CountColour(GetSysColor(COLOR_WINDOWFRAME), bottomRow));
    // The 3-pixel gap between Start and Find next shows the bar too.
    RECT gap = {barRect.left - frameRect.left + 62, grey.top + 3, barRect.left - frameRect.left + 65, grey.top + 10};
    EXPECT_EQ(3 * 7, shot.CountColour(kBarGrey, gap));
}

TEST_F(FrameHostTest, CloseBoxEndsTheHostWithExitCodeZero)
{
    ASSERT_TRUE(PostMessageA(frame, WM_CLOSE, 0, 0));
    DWORD code = 99;
    ASSERT_TRUE(app.WaitForExit(kWaitMs, &code));
    EXPECT_EQ(0u, code);
}

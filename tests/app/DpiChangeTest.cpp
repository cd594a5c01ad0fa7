// The program moved to a screen of another dpi: WM_DPICHANGED lays everything out anew and keeps what is shown.
#include <gtest/gtest.h>

#include <string>

#include "ProgramFixture.h"
#include "framework/Dpi.h"

namespace apptest {
namespace {

constexpr int kButtons = 7;

RECT InParent(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// What a user sees of the layout.
struct Geometry {
    RECT frame;
    RECT client;
    RECT bar, view, status;  // in the frame's client area
    RECT buttons[kButtons];  // in the bar
    int lineHeight;
    int charWidth;

    std::string Text() const
    {
        std::string text = "frame " + Describe(frame) + " client " + Describe(client) + " bar " + Describe(bar) +
                           " view " + Describe(view) + " status " + Describe(status) + " buttons";
        for (const RECT& button : buttons)
            text += " " + Describe(button);
        return text + " rows " + std::to_string(lineHeight) + " cells " + std::to_string(charWidth);
    }
};

int Height(const RECT& r) { return r.bottom - r.top; }
int Width(const RECT& r) { return r.right - r.left; }

class DpiChangeTest : public ProgramTest {
protected:
    void SetUp() override
    {
        // Before the program's windows are made: they take the awareness of the thread that makes them.
        ASSERT_TRUE(awareness.Active());
        ProgramTest::SetUp();
    }

    Geometry Measure()
    {
        Geometry g = {};
        GetWindowRect(appFrame.hwnd, &g.frame);
        GetClientRect(appFrame.hwnd, &g.client);
        g.bar = InParent(buttonBar.hwnd);
        g.view = InParent(searchView.hwnd);
        g.status = InParent(statusBar.hwnd);
        for (int i = 0; i < kButtons; ++i)
            g.buttons[i] = InParent(buttonBar.buttons[i].hwnd);
        g.lineHeight = searchView.lineHeight;
        g.charWidth = searchView.charWidth;
        return g;
    }

    // What the view shows and where: none of it may change with the dpi.
    std::string ShownState()
    {
        return std::string(searchView.currentPath) + " lines " + std::to_string(searchView.lineCount) + " top " +
               std::to_string(searchView.topLine) + " cursor " + std::to_string(searchView.cursorRow) + ":" +
               std::to_string(searchView.cursorColumn) + " left " + std::to_string(searchView.leftColumn) +
               " selection " + std::to_string(searchView.hasSelection) + " " +
               std::to_string(searchView.selStartLine) + ":" + std::to_string(searchView.selStartIndex) + "-" +
               std::to_string(searchView.selEndLine) + ":" + std::to_string(searchView.selEndIndex) + " title " +
               FrameTitle() + " status " + Status(0) + "|" + Status(1) + "|" + Status(2);
    }

    void ChangeDpi(int dpi, RECT suggested)
    {
        SendMessageA(appFrame.hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        PumpMessages(20);
    }

    PerMonitorAwareThread awareness;
};

TEST_F(DpiChangeTest, AScreenAtOneAndAHalfTimesTheDpiScalesTheLayoutAndKeepsTheFileShownThenBackNothingMoved)
{
    std::string lines;
    for (int i = 1; i <= 80; ++i)
        lines += i == 50 ? "the needle is on line fifty\r\n" : "line " + std::to_string(i) + "\r\n";
    tree.Write("long.txt", lines);
    SearchEntry entry;
    entry.text = "needle";
    entry.location = tree.path + "\\";
    Start(entry);
    ASSERT_TRUE(searchView.hasSelection);
    ASSERT_GT(searchView.topLine, 0);

    const Geometry at96 = Measure();
    const std::string shown = ShownState();
    const RECT wider = {10, 10, 1000, 740};
    ChangeDpi(144, wider);
    const Geometry at144 = Measure();
    SCOPED_TRACE("at 96: " + at96.Text());
    SCOPED_TRACE("at 144: " + at144.Text());

    // The suggested rectangle is taken; the three children fill the client area anew.
    EXPECT_EQ(Describe(wider), Describe(at144.frame));
    EXPECT_EQ(0, at144.bar.top);
    EXPECT_EQ(at144.bar.bottom, at144.view.top);
    EXPECT_EQ(at144.view.bottom, at144.status.top);
    EXPECT_EQ(at144.client.bottom, at144.status.bottom);
    EXPECT_EQ(at144.client.right, Width(at144.view));

    // Every length one and a half times its 96-dpi self, the status bar at least 1.3 times as high.
    EXPECT_EQ(Height(at96.bar) * 3 / 2, Height(at144.bar));
    EXPECT_NEAR(at96.lineHeight * 1.5, at144.lineHeight, 1.0);
    EXPECT_GE(Height(at144.status) * 10, Height(at96.status) * 13);
    for (int i = 0; i < kButtons; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(Width(at96.buttons[i]) * 1.5, Width(at144.buttons[i]), 1.0);
        EXPECT_NEAR(Height(at96.buttons[i]) * 1.5, Height(at144.buttons[i]), 1.0);
        if (i > 0)
            EXPECT_GT(at144.buttons[i].left, at144.buttons[i - 1].right);
    }
    EXPECT_LE(at144.buttons[kButtons - 1].bottom, Height(at144.bar));

    // The view's text is in a TrueType fixed-pitch font now; the file, position and selection stay.
    TEXTMETRICA metrics = {};
    ASSERT_TRUE(GetTextMetricsA(searchView.memoryDC, &metrics));
    EXPECT_NE(0, metrics.tmPitchAndFamily & TMPF_TRUETYPE);
    EXPECT_EQ(0, metrics.tmPitchAndFamily & TMPF_FIXED_PITCH);  // the bit is set for variable pitch
    EXPECT_EQ(shown, ShownState());

    // Windows opened from now on, and the stored placement, go by the new dpi.
    EXPECT_EQ(144, Dpi::OfWindow(searchView.hwnd));
    SIZE okButton = {};
    responder.Expect(kMessageWindowKey, [&](HWND about) {
        RECT button = InParent(GetWindow(about, GW_CHILD));
        okButton = {Width(button), Height(button)};
        PostMessageA(about, WM_CLOSE, 0, 0);
    });
    Command(CMD_ABOUT);
    EXPECT_EQ(90, okButton.cx);
    EXPECT_EQ(45, okButton.cy);
    ASSERT_EQ(1, appFrame.SaveState());
    EXPECT_EQ("144", SettingsValue("rcNormalDpi"));

    // Back on a 96-dpi screen, at the old place: every pixel where it was, the stock fonts again.
    ChangeDpi(96, at96.frame);
    EXPECT_EQ(at96.Text(), Measure().Text());
    EXPECT_EQ(GetStockObject(SYSTEM_FIXED_FONT), searchView.font);
    EXPECT_EQ(statusBar.ownFont, reinterpret_cast<HFONT>(SendMessageA(statusBar.hwnd, WM_GETFONT, 0, 0)));
    EXPECT_EQ(nullptr, reinterpret_cast<HFONT>(SendMessageA(buttonBar.buttons[0].hwnd, WM_GETFONT, 0, 0)));
    EXPECT_EQ(shown, ShownState());
}

TEST_F(DpiChangeTest, AMessageWithoutADpiChangesNothing)
{
    const Geometry before = Measure();
    RECT elsewhere = {0, 0, 300, 200};
    ChangeDpi(0, elsewhere);
    EXPECT_EQ(before.Text(), Measure().Text());
    EXPECT_EQ(Dpi::kBase, appFrame.dpi);
}

} // namespace
} // namespace apptest

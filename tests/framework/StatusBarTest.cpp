// Status bar: part edges from the font's character width, texts with their styles, and the failure paths.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "controls/PushButton.h"
#include "framework/StatusBar.h"
#include "framework/TestSupport.h"
#include "framework/Window.h"

namespace {

const char kHostClass[] = "SeekwordStatusHost";

class HostWindow : public Window {
public:
    int Register() override { return RegisterTestClass(kHostClass, WHITE_BRUSH); }
    int OnCreate() override { return 1; }
};

class StatusFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
    }
    void SetUp() override
    {
        host.Register();
        // A borderless popup: the client area is exactly the window.
        host.style = WS_POPUP | WS_VISIBLE;
        ASSERT_TRUE(host.CreateHandle(kHostClass, nullptr, nullptr, "status host", 0, 0, 800, 300));
        ASSERT_TRUE(status.SetPartCount(3));
        status.AddPart(80, 0);
        status.AddPart(20, 0);
        status.AddPart(12, 0);
    }
    void TearDown() override
    {
        if (host.hwnd)
            DestroyWindow(host.hwnd);
    }
    // The average character width of the status window's font, measured the way a person would.
    int CharWidth()
    {
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(status.hwnd, WM_GETFONT, 0, 0));
        if (!font)
            font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        HDC dc = GetDC(host.hwnd);
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICA tm = {};
        GetTextMetricsA(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(host.hwnd, dc);
        return tm.tmAveCharWidth;
    }
    int Parts(int* edges, int n) { return static_cast<int>(SendMessageA(status.hwnd, SB_GETPARTS, n, reinterpret_cast<LPARAM>(edges))); }
    void ResizeHost(int width, int height)
    {
        SetWindowPos(host.hwnd, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        status.OnParentSize(SIZE_RESTORED, MAKELPARAM(width, height));
    }
    std::string Text(int part, LRESULT* answer = nullptr)
    {
        char text[128] = "";
        LRESULT result = SendMessageA(status.hwnd, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
        if (answer)
            *answer = result;
        return text;
    }
    HostWindow host;
    StatusBar status;
};

TEST(StatusBarEdges, LastPartsKeepTheirWidthsAndTheFirstTakesTheRest)
{
    StatusBar status;
    ASSERT_TRUE(status.SetPartCount(3));
    status.AddPart(80, 0);
    status.AddPart(20, 0);
    status.AddPart(12, 0);
    status.ComputeEdges(800, 8);
    EXPECT_EQ(520, status.partEdges[0]);
    EXPECT_EQ(680, status.partEdges[1]);
    EXPECT_EQ(776, status.partEdges[2]);
    // The first part's own width plays no part.
    status.partWidths[0] = 5;
    status.ComputeEdges(800, 8);
    EXPECT_EQ(520, status.partEdges[0]);
    // Too narrow a bar squeezes parts to nothing instead of giving the "to the right end" edge -1.
    status.ComputeEdges(20, 8);
    EXPECT_EQ(0, status.partEdges[0]);
    EXPECT_EQ(0, status.partEdges[1]);
    EXPECT_EQ(0, status.partEdges[2]);
}

TEST(StatusBarParts, FourthAddPartChangesNothing)
{
    StatusBar status;
    ASSERT_TRUE(status.SetPartCount(3));
    EXPECT_EQ(3, status.partCount);
    EXPECT_EQ(0, status.partsAdded);
    status.AddPart(80, 0);
    status.AddPart(20, SBT_POPOUT);
    status.AddPart(12, SBT_NOBORDERS);
    status.AddPart(99, SBT_OWNERDRAW);
    EXPECT_EQ(3, status.partsAdded);
    EXPECT_EQ(80, status.partWidths[0]);
    EXPECT_EQ(20, status.partWidths[1]);
    EXPECT_EQ(12, status.partWidths[2]);
    EXPECT_EQ(SBT_POPOUT, status.partStyles[1]);
    EXPECT_EQ(SBT_NOBORDERS, status.partStyles[2]);
}

TEST(StatusBarParts, UnusablePartCountsAreRefused)
{
    StatusBar status;
    EXPECT_EQ(0, status.SetPartCount(0));
    EXPECT_EQ(0, status.SetPartCount(-3));
    EXPECT_EQ(0, status.SetPartCount(257));
    EXPECT_EQ(0, status.partCount);
    EXPECT_EQ(nullptr, status.partEdges);
}

TEST(StatusBarParts, EachFailedAllocationLeavesABarWithoutParts)
{
    for (int nth = 1; nth <= 3; ++nth) {
        SCOPED_TRACE(nth);
        StatusBar status;
        {
            testing_support::AllocationFailure failing(nth);
            EXPECT_EQ(0, status.SetPartCount(3));
        }
        EXPECT_EQ(0, status.partCount);
        EXPECT_EQ(nullptr, status.partWidths);
        EXPECT_EQ(nullptr, status.partStyles);
        EXPECT_EQ(nullptr, status.partEdges);
        status.AddPart(80, 0);
        EXPECT_EQ(0, status.partsAdded);
        status.ComputeEdges(800, 8);
    }
}

TEST_F(StatusFixture, CreationDrawsAnIdAndSetsZeroEdges)
{
    ASSERT_TRUE(status.CreateStatus(host.hwnd));
    EXPECT_EQ(host.hwnd, status.parent);
    EXPECT_EQ(host.hwnd, GetParent(status.hwnd));
    EXPECT_GE(status.id, 900);
    EXPECT_EQ(status.id, GetDlgCtrlID(status.hwnd));
    char className[32] = "";
    GetClassNameA(status.hwnd, className, sizeof(className));
    EXPECT_STREQ(STATUSCLASSNAMEA, className);
    // The status bar drew from the same counter as the buttons do.
    PushButton next;
    ASSERT_TRUE(next.Create(host.hwnd, 0, "next", 0, 0, 10, 10));
    EXPECT_EQ(status.id + 1, next.id);
    // Until the first size notification the edges are the zero-filled ones.
    int edges[4] = {-7, -7, -7, -7};
    EXPECT_EQ(3, Parts(edges, 4));
    EXPECT_EQ(0, edges[0]);
    EXPECT_EQ(0, edges[1]);
    EXPECT_EQ(0, edges[2]);
    for (int part = 0; part < 3; ++part)
        EXPECT_EQ("", Text(part));
}

TEST_F(StatusFixture, ParentSizeLaysPartsOutFromTheRightInCharacterWidths)
{
    ASSERT_TRUE(status.CreateStatus(host.hwnd));
    ResizeHost(800, 300);
    RECT bounds;
    GetWindowRect(status.hwnd, &bounds);
    const int width = bounds.right - bounds.left;
    EXPECT_EQ(800, width);
    // The status window placed itself along the bottom of its parent.
    RECT client;
    GetClientRect(host.hwnd, &client);
    MapWindowPoints(nullptr, host.hwnd, reinterpret_cast<POINT*>(&bounds), 2);
    EXPECT_EQ(client.bottom, bounds.bottom);

    const int cw = CharWidth();
    ASSERT_GT(cw, 0);
    int edges[3] = {};
    ASSERT_EQ(3, Parts(edges, 3));
    EXPECT_EQ(width - 3 * cw, edges[2]);
    EXPECT_EQ(width - 3 * cw - 12 * cw, edges[1]);
    EXPECT_EQ(width - 3 * cw - 12 * cw - 20 * cw, edges[0]);
}

TEST_F(StatusFixture, ResizingKeepsTheRightPartsAndStretchesTheFirst)
{
    ASSERT_TRUE(status.CreateStatus(host.hwnd));
    ResizeHost(800, 300);
    int wide[3] = {};
    ASSERT_EQ(3, Parts(wide, 3));
    ResizeHost(600, 300);
    int narrow[3] = {};
    ASSERT_EQ(3, Parts(narrow, 3));
    EXPECT_EQ(wide[2] - wide[1], narrow[2] - narrow[1]);
    EXPECT_EQ(wide[1] - wide[0], narrow[1] - narrow[0]);
    EXPECT_EQ(wide[0] - 200, narrow[0]);
}

TEST_F(StatusFixture, TextComesBackWithItsTabAndThePartStyle)
{
    status.partStyles[2] = SBT_POPOUT;
    ASSERT_TRUE(status.CreateStatus(host.hwnd));
    ResizeHost(800, 300);
    status.SetText(0, "C:\\data\\notes.txt");
    status.SetText(1, "\tLine 12");
    status.SetText(2, "\t3");
    EXPECT_EQ("C:\\data\\notes.txt", Text(0));
    EXPECT_EQ("\tLine 12", Text(1));
    LRESULT answer = 0;
    EXPECT_EQ("\t3", Text(2, &answer));
    EXPECT_EQ(2, LOWORD(answer));
    EXPECT_EQ(SBT_POPOUT, HIWORD(answer));
    // Parts that do not exist are left alone.
    status.SetText(3, "nowhere");
    status.SetText(-1, "nowhere");
    EXPECT_EQ("\t3", Text(2));
}

TEST_F(StatusFixture, VisibleHeightIsZeroWhenHiddenOrMissing)
{
    EXPECT_EQ(0, status.VisibleHeight());
    ASSERT_TRUE(status.CreateStatus(host.hwnd));
    ResizeHost(800, 300);
    RECT bounds;
    GetWindowRect(status.hwnd, &bounds);
    EXPECT_GT(status.VisibleHeight(), 0);
    EXPECT_EQ(bounds.bottom - bounds.top, status.VisibleHeight());
    ShowWindow(status.hwnd, SW_HIDE);
    EXPECT_EQ(0, status.VisibleHeight());
}

TEST_F(StatusFixture, FailedCreationReportsZero)
{
    testing_support::CreationBlocker blocker(STATUSCLASSNAMEA);
    ASSERT_TRUE(blocker.active());
    EXPECT_EQ(0, status.CreateStatus(host.hwnd));
    EXPECT_EQ(nullptr, status.hwnd);
    // Nothing to size or write into: both are quiet.
    status.OnParentSize(SIZE_RESTORED, MAKELPARAM(800, 300));
    status.SetText(0, "lost");
    EXPECT_EQ(0, status.VisibleHeight());
}

TEST_F(StatusFixture, BarWithoutPartsStillWorks)
{
    StatusBar bare;
    {
        testing_support::AllocationFailure failing(2);
        EXPECT_EQ(0, bare.SetPartCount(3));
    }
    bare.AddPart(80, 0);
    ASSERT_TRUE(bare.CreateStatus(host.hwnd));
    bare.OnParentSize(SIZE_RESTORED, MAKELPARAM(800, 300));
    bare.SetText(0, "ignored");
    EXPECT_GT(bare.VisibleHeight(), 0);
}

} // namespace

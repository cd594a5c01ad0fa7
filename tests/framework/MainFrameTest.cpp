// Main frame: creation order, layout of the three children, focus, accelerators, the loop and ending.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "controls/ButtonBar.h"
#include "framework/Dpi.h"
#include "framework/MainFrame.h"
#include "framework/StatusBar.h"
#include "framework/TestSupport.h"
#include "resources/ResourceIds.h"

namespace {

using testing_support::TakeQuit;

const char kViewClass[] = "SeekwordTestView";
constexpr UINT kPosted = WM_APP + 3;

// The program's seven buttons, as the view's creation adds them.
struct ButtonInfo {
    const char* label;
    int width;
    int id;
};
const ButtonInfo kButtons[] = {{"&Start", 60, CMD_START}, {"&Find next", 80, CMD_FINDNEXT},
                               {"&Next file", 80, CMD_NEXTFILE}, {"&Copy", 70, CMD_COPY},
                               {"&Edit", 70, CMD_EDIT}, {"&About", 60, CMD_ABOUT}, {"E&xit", 60, CMD_EXIT}};

class TestView : public Window {
public:
    explicit TestView(ButtonBar& bar, StatusBar& status) : buttonBar(bar), statusBar(status) {}
    int Register() override { return RegisterTestClass(kViewClass, WHITE_BRUSH); }
    int Create(HWND parent, int id, const char* title, int x, int y, int width, int height) override
    {
        Register();
        style = WS_CHILD | WS_VISIBLE;
        return CreateHandle(kViewClass, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), title, x, y, width,
                            height);
    }
    int OnCreate() override
    {
        barExistedAtCreate = buttonBar.hwnd != nullptr;
        statusExistedAtCreate = statusBar.hwnd != nullptr;
        int added = 0;
        for (const ButtonInfo& button : kButtons)
            added = buttonBar.AddButton(button.label, button.width, button.id, 0);
        if (!added)
            return 0;
        buttonBar.EnableCommand(CMD_FINDNEXT, 0);
        buttonBar.EnableCommand(CMD_NEXTFILE, 0);
        buttonBar.EnableCommand(CMD_COPY, 0);
        buttonBar.EnableCommand(CMD_EDIT, 0);
        return createResult;
    }
    void OnKeyDown(WPARAM key, LPARAM) override { keysDown.push_back(key); }
    void OnSysKeyDown(WPARAM key, LPARAM) override { sysKeysDown.push_back(key); }
    void OnChar(WPARAM c, LPARAM) override { chars.push_back(c); }
    int OnOtherMessage(UINT message, WPARAM, LPARAM) override
    {
        if (message == kPosted)
            ++posted;
        return 0;
    }

    ButtonBar& buttonBar;
    StatusBar& statusBar;
    int createResult = 1;
    bool barExistedAtCreate = false;
    bool statusExistedAtCreate = false;
    std::vector<WPARAM> keysDown, sysKeysDown, chars;
    int posted = 0;
};

int adjustClassCalls = 0;

class TestFrame : public MainFrame {
public:
    int CanClose() override
    {
        ++canCloseCalls;
        return canClose;
    }
    void AdjustClass(WNDCLASSA&) override { ++adjustClassCalls; }
    void AdjustCreate(CREATESTRUCTA& create) override
    {
        create.lpszName = "Test frame";
        create.x = 10;
        create.y = 10;
        create.cx = 640;
        create.cy = 480;
    }
    int RestoreState() override
    {
        ++restoreCalls;
        if (placeOnAScreenAt144) {
            // As a placement saved at 96 dpi and sized for a screen at 144 comes back there: on the way
            // Windows suggests the window's size scaled once more.
            SetWindowPos(hwnd, nullptr, 100, 100, 450, 300, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            RECT suggested = {100, 100, 775, 550};
            SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        }
        return restoreResult;
    }
    int SaveState() override { return ++saveCalls; }
    void OnDestroy() override { ++destroyCalls; }
    void OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.push_back(wParam);
        commandSources.push_back(lParam);
    }
    int OnCreate() override
    {
        const int created = MainFrame::OnCreate();
        if (created && sizeDuringCreate)
            SetWindowPos(hwnd, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return created;
    }
    void OnSize(WPARAM wParam, LPARAM lParam) override
    {
        const bool creating = !buttonBar->hwnd && !view->hwnd;
        MainFrame::OnSize(wParam, lParam);
        if (creating && statusBar->hwnd) {
            RECT place;
            GetWindowRect(statusBar->hwnd, &place);
            MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&place), 2);
            creatingSizes.push_back({clientHeight, place.top, place.bottom});
        }
    }
    BOOL FetchMessage(MSG& message) override
    {
        if (!scriptedFetch)
            return MainFrame::FetchMessage(message);
        // The first fetch fails; a loop that took -1 for a message would come back for a quit with 99.
        ++fetches;
        message = MSG{};
        if (fetches == 1)
            return -1;
        message.message = WM_QUIT;
        message.wParam = 99;
        return 0;
    }

    struct CreatingSize {
        int clientHeight, statusTop, statusBottom;
    };
    int canClose = 1;
    int canCloseCalls = 0;
    int restoreResult = 0;
    bool placeOnAScreenAt144 = false;
    int restoreCalls = 0;
    int saveCalls = 0;
    int destroyCalls = 0;
    bool sizeDuringCreate = false;
    bool scriptedFetch = false;
    int fetches = 0;
    std::vector<WPARAM> commands;
    std::vector<LPARAM> commandSources;
    std::vector<CreatingSize> creatingSizes;
};

RECT ChildRect(HWND frame, HWND child)
{
    RECT place = {};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

void ExpectRect(const RECT& actual, int left, int top, int right, int bottom)
{
    EXPECT_EQ(left, actual.left);
    EXPECT_EQ(top, actual.top);
    EXPECT_EQ(right, actual.right);
    EXPECT_EQ(bottom, actual.bottom);
}

int DisplayTextHeight()
{
    HDC info = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    TEXTMETRICA tm = {};
    GetTextMetricsA(info, &tm);
    DeleteDC(info);
    return tm.tmHeight;
}

// Presses the keys in order and lets them go in reverse, as real input.
void PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        inputs.push_back(in);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *--it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Ends the loop under test once its condition holds, or after a deadline with another code.
struct LoopEnder {
    static bool (*done)();
    static DWORD started;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (done())
            PostQuitMessage(5);
        else if (GetTickCount() - started > 5000)
            PostQuitMessage(6);
    }
    explicit LoopEnder(bool (*condition)())
    {
        done = condition;
        started = GetTickCount();
        timer = SetTimer(nullptr, 0, 20, Tick);
    }
    ~LoopEnder() { KillTimer(nullptr, timer); }
    UINT_PTR timer;
};
bool (*LoopEnder::done)() = nullptr;
DWORD LoopEnder::started = 0;

class FrameFixture : public ::testing::Test {
protected:
    FrameFixture() : view(bar, status) {}
    void SetUp() override
    {
        TakeQuit();
        bar.Reserve(7);
        status.SetPartCount(3);
        status.AddPart(80, 0);
        status.AddPart(20, 0);
        status.AddPart(12, 0);
    }
    void TearDown() override
    {
        if (frame.hwnd && IsWindow(frame.hwnd))
            DestroyWindow(frame.hwnd);
        if (frame.accelerators)
            DestroyAcceleratorTable(frame.accelerators);
        TakeQuit();
    }
    void CreateAndShow()
    {
        ASSERT_TRUE(frame.CreateFrame(view, bar, status));
        frame.Show(SW_SHOW);
    }
    void Resize(WPARAM kind, int width, int height)
    {
        SendMessageA(frame.hwnd, WM_SIZE, kind, MAKELPARAM(width, height));
    }
    bool Foreground()
    {
        SetForegroundWindow(frame.hwnd);
        SetFocus(view.hwnd);
        return PumpUntil(3000, [this] { return GetForegroundWindow() == frame.hwnd && GetFocus() == view.hwnd; });
    }
    ButtonBar bar;
    StatusBar status;
    TestView view;
    TestFrame frame;
};

TEST_F(FrameFixture, ChildrenAreMadeInOrderStatusBarThenButtonBarThenView)
{
    ASSERT_TRUE(frame.CreateFrame(view, bar, status));
    char className[32] = "", title[32] = "";
    GetClassNameA(frame.hwnd, className, sizeof(className));
    GetWindowTextA(frame.hwnd, title, sizeof(title));
    EXPECT_STREQ("MainClass", className);
    EXPECT_STREQ("Test frame", title);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_OVERLAPPEDWINDOW), GetWindowLongPtrA(frame.hwnd, GWL_STYLE) & WS_OVERLAPPEDWINDOW);
    EXPECT_TRUE(view.barExistedAtCreate);
    EXPECT_TRUE(view.statusExistedAtCreate);
    EXPECT_EQ(frame.hwnd, GetParent(status.hwnd));
    EXPECT_EQ(frame.hwnd, GetParent(bar.hwnd));
    EXPECT_EQ(frame.hwnd, GetParent(view.hwnd));
    EXPECT_EQ(WS_EX_CLIENTEDGE, GetWindowLongPtrA(view.hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(DisplayTextHeight() + 12, frame.barHeight);
    EXPECT_EQ(frame.barHeight, bar.barHeight);
    EXPECT_EQ(7, bar.count);
    EXPECT_EQ(1, bar.IsCommandEnabled(CMD_START));
    EXPECT_EQ(0, bar.IsCommandEnabled(CMD_COPY));
    EXPECT_EQ(1, frame.ready);
}

TEST_F(FrameFixture, ClassIsRegisteredOnceWithPointerSizedExtraBytes)
{
    ASSERT_TRUE(frame.CreateFrame(view, bar, status));
    EXPECT_EQ(0, frame.Register());
    WNDCLASSA wc = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "MainClass", &wc));
    EXPECT_EQ(static_cast<UINT>(CS_BYTEALIGNCLIENT), wc.style);
    EXPECT_EQ(static_cast<int>(sizeof(LONG_PTR)), wc.cbWndExtra);
    EXPECT_EQ(0, wc.cbClsExtra);
    EXPECT_EQ(GetStockObject(NULL_BRUSH), wc.hbrBackground);
    EXPECT_EQ(&Window::StaticWndProc, wc.lpfnWndProc);
    EXPECT_NE(nullptr, wc.hCursor);
    EXPECT_NE(nullptr, wc.hIcon);
    EXPECT_EQ(1, adjustClassCalls);
}

TEST_F(FrameFixture, LayoutStacksBarViewAndStatusBar)
{
    CreateAndShow();
    RECT client;
    GetClientRect(frame.hwnd, &client);
    EXPECT_EQ(client.right, frame.clientWidth);
    EXPECT_EQ(client.bottom, frame.clientHeight);
    const int statusHeight = status.VisibleHeight();
    ASSERT_GT(statusHeight, 0);
    const int top = frame.barHeight;
    ExpectRect(ChildRect(frame.hwnd, bar.hwnd), 0, 0, client.right, top);
    ExpectRect(ChildRect(frame.hwnd, view.hwnd), 0, top, client.right, client.bottom - statusHeight);
    ExpectRect(ChildRect(frame.hwnd, status.hwnd), 0, client.bottom - statusHeight, client.right, client.bottom);
    EXPECT_TRUE(IsWindowVisible(bar.hwnd));
    EXPECT_TRUE(IsWindowVisible(view.hwnd));
    // The status bar's parts followed the size, before the layout.
    int edges[3] = {};
    SendMessageA(status.hwnd, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    EXPECT_GT(edges[2], 0);
    EXPECT_LT(edges[2], client.right);
}

TEST_F(FrameFixture, HiddenStatusBarLetsTheViewReachTheBottom)
{
    CreateAndShow();
    ShowWindow(status.hwnd, SW_HIDE);
    Resize(SIZE_RESTORED, 500, 400);
    ExpectRect(ChildRect(frame.hwnd, view.hwnd), 0, frame.barHeight, 500, 400);
}

TEST_F(FrameFixture, ClearedShownFlagGivesTheBarNoHeight)
{
    CreateAndShow();
    bar.shown = 0;
    Resize(SIZE_RESTORED, 500, 400);
    const int statusHeight = status.VisibleHeight();
    RECT barPlace = ChildRect(frame.hwnd, bar.hwnd);
    EXPECT_EQ(0, barPlace.bottom - barPlace.top);
    ExpectRect(ChildRect(frame.hwnd, view.hwnd), 0, 0, 500, 400 - statusHeight);
}

TEST_F(FrameFixture, MinimisedSizeGivesTheViewNoHeight)
{
    CreateAndShow();
    Resize(SIZE_MINIMIZED, 0, 0);
    EXPECT_EQ(0, frame.clientWidth);
    EXPECT_EQ(0, frame.clientHeight);
    RECT viewPlace = ChildRect(frame.hwnd, view.hwnd);
    EXPECT_EQ(0, viewPlace.bottom - viewPlace.top);
    EXPECT_EQ(0, viewPlace.right - viewPlace.left);
}

TEST_F(FrameFixture, SizeDuringCreationMovesOnlyTheStatusBar)
{
    frame.sizeDuringCreate = true;
    ASSERT_TRUE(frame.CreateFrame(view, bar, status));
    // At least our own resize came while only the status bar existed; it went to the bottom.
    ASSERT_FALSE(frame.creatingSizes.empty());
    for (const TestFrame::CreatingSize& size : frame.creatingSizes) {
        EXPECT_EQ(size.clientHeight, size.statusBottom);
        EXPECT_LT(size.statusTop, size.statusBottom);
    }
    RECT client;
    GetClientRect(frame.hwnd, &client);
    EXPECT_EQ(client.bottom, frame.creatingSizes.back().clientHeight);
    // The bar and the view, made afterwards, get their places from the next size notification.
    frame.Show(SW_SHOW);
    ExpectRect(ChildRect(frame.hwnd, view.hwnd), 0, frame.barHeight, client.right, client.bottom - status.VisibleHeight());
}

TEST_F(FrameFixture, FocusGivenToBarOrFrameEndsInTheView)
{
    CreateAndShow();
    ASSERT_TRUE(Foreground());
    SetFocus(bar.hwnd);
    EXPECT_EQ(view.hwnd, GetFocus());
    SetFocus(frame.hwnd);
    EXPECT_EQ(view.hwnd, GetFocus());
}

TEST_F(FrameFixture, AcceleratorPressedInTheViewReachesOnCommand)
{
    CreateAndShow();
    ACCEL table[] = {{FVIRTKEY | FALT | FNOINVERT, 'S', CMD_START}, {FVIRTKEY | FCONTROL | FNOINVERT, 'C', CMD_COPY}};
    frame.accelerators = CreateAcceleratorTableA(table, 2);
    ASSERT_NE(nullptr, frame.accelerators);
    ASSERT_TRUE(Foreground());
    PressKeys({VK_MENU, 'S'});
    PressKeys({VK_CONTROL, 'C'});
    static TestFrame* target;
    target = &frame;
    {
        LoopEnder ender([] { return target->commands.size() >= 2; });
        EXPECT_EQ(5, frame.Run());
    }
    ASSERT_EQ(2u, frame.commands.size());
    // An accelerator's WM_COMMAND carries 1 in the high word.
    EXPECT_EQ(MAKEWPARAM(CMD_START, 1), frame.commands[0]);
    EXPECT_EQ(MAKEWPARAM(CMD_COPY, 1), frame.commands[1]);
    // The translated keys never reached the view.
    for (WPARAM key : view.sysKeysDown)
        EXPECT_NE(static_cast<WPARAM>('S'), key);
    for (WPARAM key : view.keysDown)
        EXPECT_NE(static_cast<WPARAM>('C'), key);
}

TEST_F(FrameFixture, WithoutAcceleratorsKeysAreTranslatedAndDispatched)
{
    CreateAndShow();
    ASSERT_TRUE(Foreground());
    PressKeys({'Q'});
    static TestView* target;
    target = &view;
    {
        LoopEnder ender([] { return !target->chars.empty(); });
        EXPECT_EQ(5, frame.Run());
    }
    ASSERT_FALSE(view.keysDown.empty());
    EXPECT_EQ(static_cast<WPARAM>('Q'), view.keysDown[0]);
    ASSERT_EQ(1u, view.chars.size());
    EXPECT_EQ(static_cast<WPARAM>('q'), view.chars[0]);
    EXPECT_TRUE(frame.commands.empty());
}

TEST_F(FrameFixture, RunDispatchesUntilQuitAndReturnsItsCode)
{
    CreateAndShow();
    PostMessageA(view.hwnd, kPosted, 0, 0);
    PostQuitMessage(7);
    EXPECT_EQ(7, frame.Run());
    EXPECT_EQ(1, view.posted);
}

TEST_F(FrameFixture, RunStopsAtAFetchError)
{
    CreateAndShow();
    frame.scriptedFetch = true;
    EXPECT_EQ(-1, frame.Run());
    EXPECT_EQ(1, frame.fetches);
}

TEST_F(FrameFixture, EndOfSessionAsksCanCloseAndSavesOnlyWhenEnding)
{
    CreateAndShow();
    frame.canClose = 0;
    EXPECT_EQ(0, SendMessageA(frame.hwnd, WM_QUERYENDSESSION, 0, 0));
    frame.canClose = 1;
    EXPECT_EQ(1, SendMessageA(frame.hwnd, WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(2, frame.canCloseCalls);
    SendMessageA(frame.hwnd, WM_ENDSESSION, 0, 0);
    EXPECT_EQ(0, frame.saveCalls);
    SendMessageA(frame.hwnd, WM_ENDSESSION, 1, 0);
    EXPECT_EQ(1, frame.saveCalls);
    EXPECT_TRUE(IsWindow(frame.hwnd));
}

TEST_F(FrameFixture, CloseAsksCanCloseThenDestroysSavesAndQuits)
{
    CreateAndShow();
    frame.canClose = 0;
    SendMessageA(frame.hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame.hwnd));
    EXPECT_FALSE(TakeQuit());
    frame.canClose = 1;
    HWND window = frame.hwnd;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, frame.hwnd);
    EXPECT_EQ(1, frame.destroyCalls);
    EXPECT_EQ(1, frame.saveCalls);
    WPARAM code = 99;
    EXPECT_TRUE(TakeQuit(&code));
    EXPECT_EQ(0u, code);
}

TEST_F(FrameFixture, ShowUsesTheShowCommandOnlyWhenNothingWasRestored)
{
    ASSERT_TRUE(frame.CreateFrame(view, bar, status));
    frame.restoreResult = 1;
    frame.Show(SW_SHOW);
    EXPECT_EQ(1, frame.restoreCalls);
    EXPECT_FALSE(IsWindowVisible(frame.hwnd));
    frame.restoreResult = 0;
    frame.Show(SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(frame.hwnd));
}

TEST_F(FrameFixture, TheSavedPlacementIsNotScaledTwiceByTheDpiChangeItCauses)
{
    ASSERT_TRUE(frame.CreateFrame(view, bar, status));
    frame.placeOnAScreenAt144 = true;
    frame.restoreResult = 1;
    frame.Show(SW_SHOW);
    RECT placed = {}, expected = {100, 100, 550, 400};
    GetWindowRect(frame.hwnd, &placed);
    EXPECT_EQ(RectText(expected), RectText(placed));
    EXPECT_EQ(144, frame.dpi);
    // Moved to another screen later, the window takes the suggestion.
    RECT suggested = {50, 60, 350, 260};
    SendMessageA(frame.hwnd, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(frame.hwnd, &placed);
    EXPECT_EQ(RectText(suggested), RectText(placed));
}

TEST_F(FrameFixture, AcceleratorTableComesFromTheResources)
{
    EXPECT_EQ(0, frame.LoadAccelerators(31998));
    EXPECT_EQ(nullptr, frame.accelerators);
    ASSERT_NE(0, frame.LoadAccelerators(IDR_ACCELERATORS));
    ASSERT_NE(nullptr, frame.accelerators);
    EXPECT_EQ(9, CopyAcceleratorTableA(frame.accelerators, nullptr, 0));
}

// Every failed creation ends quietly: no window left, nothing saved, no quit posted.
void ExpectQuietFailure(TestFrame& frame, ButtonBar& bar, TestView& view)
{
    EXPECT_EQ(nullptr, frame.hwnd);
    EXPECT_EQ(0, frame.saveCalls);
    EXPECT_EQ(0, frame.ready);
    EXPECT_FALSE(TakeQuit());
    EXPECT_FALSE(bar.hwnd && IsWindow(bar.hwnd));
    EXPECT_FALSE(view.hwnd && IsWindow(view.hwnd));
    EXPECT_EQ(nullptr, FindWindowA("MainClass", "Test frame"));
}

TEST_F(FrameFixture, FailedStatusWindowFailsTheFrameQuietly)
{
    testing_support::CreationBlocker blocker(STATUSCLASSNAMEA);
    ASSERT_TRUE(blocker.active());
    EXPECT_EQ(0, frame.CreateFrame(view, bar, status));
    ExpectQuietFailure(frame, bar, view);
}

TEST_F(FrameFixture, FailedButtonBarFailsTheFrameQuietly)
{
    testing_support::CreationBlocker blocker("BtnBarClass");
    ASSERT_TRUE(blocker.active());
    EXPECT_EQ(0, frame.CreateFrame(view, bar, status));
    ExpectQuietFailure(frame, bar, view);
    EXPECT_EQ(nullptr, view.hwnd);
}

TEST_F(FrameFixture, FailedViewFailsTheFrameQuietly)
{
    view.createResult = 0;
    EXPECT_EQ(0, frame.CreateFrame(view, bar, status));
    ExpectQuietFailure(frame, bar, view);
}

TEST(FrameWithoutBuffers, UnreservedButtonBarFailsTheViewAndTheFrame)
{
    // The first allocation is the button array, the second the command ids: either one missing leaves no bar.
    for (int nth = 1; nth <= 2; ++nth) {
        SCOPED_TRACE(nth);
        TakeQuit();
        ButtonBar bar;
        StatusBar status;
        TestView view(bar, status);
        TestFrame frame;
        {
            testing_support::AllocationFailure failing(nth);
            EXPECT_EQ(0, bar.Reserve(7));
        }
        EXPECT_EQ(0, bar.capacity);
        EXPECT_EQ(nullptr, bar.buttons);
        EXPECT_EQ(nullptr, bar.commandIds);
        status.SetPartCount(3);
        EXPECT_EQ(0, frame.CreateFrame(view, bar, status));
        ExpectQuietFailure(frame, bar, view);
    }
}

TEST(FrameWithoutBuffers, StatusBarWithoutPartsStillMakesAWorkingFrame)
{
    TakeQuit();
    ButtonBar bar;
    StatusBar status;
    TestView view(bar, status);
    TestFrame frame;
    bar.Reserve(7);
    {
        testing_support::AllocationFailure failing(3);
        EXPECT_EQ(0, status.SetPartCount(3));
    }
    status.AddPart(80, 0);
    ASSERT_TRUE(frame.CreateFrame(view, bar, status));
    frame.Show(SW_SHOW);
    status.SetText(0, "nothing to show");
    SendMessageA(frame.hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    ExpectRect(ChildRect(frame.hwnd, view.hwnd), 0, frame.barHeight, 300, 200 - status.VisibleHeight());
    SendMessageA(frame.hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(nullptr, frame.hwnd);
    EXPECT_EQ(1, frame.saveCalls);
    EXPECT_TRUE(TakeQuit());
}

} // namespace

// Button bar: button geometry, the enabled-command record, clicks forwarded to the parent, focus and painting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModalDriver.h"
#include "controls/ButtonBar.h"
#include "framework/TestSupport.h"
#include "resources/ResourceIds.h"

namespace {


const char kParentClass[] = "SeekwordBarParent";
constexpr int kBarHeight = 30;

struct ButtonInfo {
    const char* label;
    int width;
    int id;
};
const ButtonInfo kButtons[] = {{"&Start", 60, CMD_START}, {"&Find next", 80, CMD_FINDNEXT},
                               {"&Next file", 80, CMD_NEXTFILE}, {"&Copy", 70, CMD_COPY},
                               {"&Edit", 70, CMD_EDIT}, {"&About", 60, CMD_ABOUT}, {"E&xit", 60, CMD_EXIT}};

// Stands for the main window: records the commands, notifications and focus it gets.
class ParentWindow : public Window {
public:
    int Register() override { return RegisterTestClass(kParentClass, WHITE_BRUSH); }
    int OnCreate() override { return 1; }
    void OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.push_back(wParam);
        sources.push_back(lParam);
    }
    void OnNotify(WPARAM wParam, LPARAM) override { notifications.push_back(wParam); }
    void OnSetFocus() override { ++focusGained; }
    void OnClick(int id) { handled.push_back(id); }

    std::vector<WPARAM> commands;
    std::vector<LPARAM> sources;
    std::vector<WPARAM> notifications;
    std::vector<int> handled;
    int focusGained = 0;
};

class BarFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent.Register();
        parent.style = WS_POPUP | WS_VISIBLE;
        ASSERT_TRUE(parent.CreateHandle(kParentClass, nullptr, nullptr, "bar parent", 100, 100, 700, 100));
        ASSERT_TRUE(bar.Reserve(7));
    }
    void TearDown() override
    {
        if (parent.hwnd)
            DestroyWindow(parent.hwnd);
    }
    void Fill()
    {
        ASSERT_TRUE(bar.CreateBar(parent.hwnd, 0, 0, 700, kBarHeight));
        for (const ButtonInfo& button : kButtons)
            ASSERT_TRUE(bar.AddButton(button.label, button.width, button.id, 0));
    }
    int ButtonCount()
    {
        int n = 0;
        for (HWND child = GetWindow(bar.hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            ++n;
        return n;
    }
    RECT PlaceInBar(HWND child)
    {
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, bar.hwnd, reinterpret_cast<POINT*>(&place), 2);
        return place;
    }
    bool Foreground()
    {
        SetForegroundWindow(parent.hwnd);
        return PumpUntil(3000, [this] { return GetForegroundWindow() == parent.hwnd; });
    }
    void ClickAt(HWND window)
    {
        RECT place;
        GetWindowRect(window, &place);
        SetCursorPos((place.left + place.right) / 2, (place.top + place.bottom) / 2);
        INPUT clicks[2] = {};
        clicks[0].type = clicks[1].type = INPUT_MOUSE;
        clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, clicks, sizeof(INPUT));
    }
    ParentWindow parent;
    ButtonBar bar;
};

TEST(ButtonBarClass, ConstructionRegistersTheClassOnce)
{
    ButtonBar bar;
    EXPECT_EQ(static_cast<DWORD>(0x54000000), bar.style);
    EXPECT_EQ(0u, bar.exStyle);
    EXPECT_EQ(nullptr, bar.hwnd);
    EXPECT_EQ(1, bar.shown);
    EXPECT_EQ(0, bar.count);
    EXPECT_EQ(0, bar.capacity);
    EXPECT_EQ(0, bar.Register());
    WNDCLASSA wc = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "BtnBarClass", &wc));
    EXPECT_EQ(static_cast<UINT>(CS_BYTEALIGNWINDOW), wc.style);
    EXPECT_EQ(static_cast<int>(sizeof(LONG_PTR)), wc.cbWndExtra);
    EXPECT_EQ(GetStockObject(GRAY_BRUSH), wc.hbrBackground);
    EXPECT_EQ(&Window::StaticWndProc, wc.lpfnWndProc);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), wc.hCursor);
    EXPECT_EQ(nullptr, wc.hIcon);
}

TEST(ButtonBarClass, FailedReserveTakesNoButtons)
{
    ButtonBar bar;
    AllocationProbe::Start(true);
    const int reserved = bar.Reserve(7);
    AllocationProbe::Stop();
    EXPECT_EQ(0, reserved);
    EXPECT_EQ(0, bar.capacity);
    EXPECT_EQ(nullptr, bar.buttons);
    EXPECT_EQ(nullptr, bar.commandIds);
    EXPECT_EQ(0, bar.AddButton("&Start", 60, CMD_START, 0));
    EXPECT_EQ(0, bar.IsCommandEnabled(CMD_START));
}

TEST_F(BarFixture, SevenButtonsStandLeftToRightThreePixelsApart)
{
    Fill();
    const int lefts[] = {2, 65, 148, 231, 304, 377, 440};
    ASSERT_EQ(7, bar.count);
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(kButtons[i].label);
        HWND button = bar.buttons[i].hwnd;
        ASSERT_NE(nullptr, button);
        EXPECT_EQ(bar.hwnd, GetParent(button));
        EXPECT_EQ(kButtons[i].id, GetDlgCtrlID(button));
        EXPECT_EQ(kButtons[i].id, bar.commandIds[i]);
        RECT place = PlaceInBar(button);
        EXPECT_EQ(lefts[i], place.left);
        EXPECT_EQ(kButtons[i].width, place.right - place.left);
        EXPECT_EQ(3, place.top);
        EXPECT_EQ(kBarHeight - 6, place.bottom - place.top);
        char text[32] = "";
        GetWindowTextA(button, text, sizeof(text));
        EXPECT_STREQ(kButtons[i].label, text);
    }
    EXPECT_EQ(500, PlaceInBar(bar.buttons[6].hwnd).right);
    EXPECT_EQ(503, bar.nextX);
}

TEST_F(BarFixture, EighthButtonIsRefusedAndChangesNothing)
{
    Fill();
    const int before = ButtonCount();
    EXPECT_EQ(0, bar.AddButton("&More", 50, 40100, 0));
    EXPECT_EQ(7, bar.count);
    EXPECT_EQ(503, bar.nextX);
    EXPECT_EQ(before, ButtonCount());
    EXPECT_EQ(0, bar.IsCommandEnabled(40100));
}

TEST_F(BarFixture, ButtonsNeedTheBarWindow)
{
    EXPECT_EQ(0, bar.AddButton("&Start", 60, CMD_START, 0));
    EXPECT_EQ(0, bar.count);
}

TEST_F(BarFixture, FailedButtonLeavesItsPlaceToTheNext)
{
    ASSERT_TRUE(bar.CreateBar(parent.hwnd, 0, 0, 700, kBarHeight));
    ASSERT_TRUE(bar.AddButton("&Start", 60, CMD_START, 0));
    {
        testing_support::CreationBlocker blocker("Button");
        ASSERT_TRUE(blocker.active());
        EXPECT_EQ(0, bar.AddButton("&Find next", 80, CMD_FINDNEXT, 0));
    }
    EXPECT_EQ(1, bar.count);
    EXPECT_EQ(65, bar.nextX);
    ASSERT_TRUE(bar.AddButton("&Next file", 80, CMD_NEXTFILE, 0));
    EXPECT_EQ(65, PlaceInBar(bar.buttons[1].hwnd).left);
    EXPECT_EQ(0, bar.IsCommandEnabled(CMD_FINDNEXT));
}

TEST_F(BarFixture, EnabledStateIsReadAndSetByCommandId)
{
    ASSERT_TRUE(bar.CreateBar(parent.hwnd, 0, 0, 700, kBarHeight));
    ASSERT_TRUE(bar.AddButton("&Start", 60, CMD_START, 0));
    ASSERT_TRUE(bar.AddButton("&Find next", 80, CMD_FINDNEXT, 1));
    EXPECT_EQ(1, bar.IsCommandEnabled(CMD_START));
    EXPECT_EQ(0, bar.IsCommandEnabled(CMD_FINDNEXT));
    EXPECT_FALSE(IsWindowEnabled(bar.buttons[1].hwnd));
    bar.EnableCommand(CMD_FINDNEXT, 1);
    EXPECT_EQ(1, bar.IsCommandEnabled(CMD_FINDNEXT));
    bar.EnableCommand(CMD_START, 0);
    EXPECT_EQ(0, bar.IsCommandEnabled(CMD_START));
    EXPECT_FALSE(IsWindowEnabled(bar.buttons[0].hwnd));
    // No button carries these ids: no effect, answer 0.
    bar.EnableCommand(CMD_EXIT, 1);
    EXPECT_EQ(0, bar.IsCommandEnabled(CMD_EXIT));
    EXPECT_EQ(0, bar.IsCommandEnabled(0));
    EXPECT_EQ(1, bar.IsCommandEnabled(CMD_FINDNEXT));
}

TEST_F(BarFixture, CreateBarShowsOrHidesByTheFlagAndCreatesOnce)
{
    bar.shown = 0;
    ASSERT_TRUE(bar.CreateBar(parent.hwnd, 0, 0, 700, kBarHeight));
    EXPECT_FALSE(IsWindowVisible(bar.hwnd));
    EXPECT_EQ(kBarHeight, bar.barHeight);
    HWND first = bar.hwnd;
    bar.shown = 1;
    EXPECT_EQ(1, bar.CreateBar(parent.hwnd, 0, 0, 700, 40));
    EXPECT_EQ(first, bar.hwnd);
    EXPECT_EQ(40, bar.barHeight);
    EXPECT_TRUE(IsWindowVisible(bar.hwnd));
    char className[32] = "";
    GetClassNameA(bar.hwnd, className, sizeof(className));
    EXPECT_STREQ("BtnBarClass", className);
}

TEST_F(BarFixture, FailedBarWindowReportsZero)
{
    testing_support::CreationBlocker blocker("BtnBarClass");
    ASSERT_TRUE(blocker.active());
    EXPECT_EQ(0, bar.CreateBar(parent.hwnd, 0, 0, 700, kBarHeight));
    EXPECT_EQ(nullptr, bar.hwnd);
    EXPECT_EQ(0, bar.barHeight);
}

TEST_F(BarFixture, ClickReachesTheParentAsCommandFromTheBar)
{
    Fill();
    SendMessageA(bar.buttons[0].hwnd, BM_CLICK, 0, 0);
    ASSERT_EQ(1u, parent.commands.size());
    EXPECT_EQ(static_cast<WPARAM>(CMD_START), parent.commands[0]);
    EXPECT_EQ(reinterpret_cast<LPARAM>(bar.hwnd), parent.sources[0]);
}

TEST_F(BarFixture, RealClicksOnlyComeFromEnabledButtons)
{
    Fill();
    bar.EnableCommand(CMD_FINDNEXT, 0);
    ASSERT_TRUE(Foreground());
    ClickAt(bar.buttons[1].hwnd);
    ClickAt(bar.buttons[5].hwnd);
    ASSERT_TRUE(PumpUntil(3000, [this] { return !parent.commands.empty(); }));
    PumpFor(100);
    ASSERT_EQ(1u, parent.commands.size());
    EXPECT_EQ(static_cast<WPARAM>(CMD_ABOUT), parent.commands[0]);
    EXPECT_EQ(reinterpret_cast<LPARAM>(bar.hwnd), parent.sources[0]);
}

TEST_F(BarFixture, HandledOrNonClickNotificationsAreNotForwarded)
{
    Fill();
    HWND start = bar.buttons[0].hwnd;
    SendMessageA(bar.hwnd, WM_COMMAND, MAKEWPARAM(CMD_START, BN_SETFOCUS), reinterpret_cast<LPARAM>(start));
    SendMessageA(bar.hwnd, WM_COMMAND, MAKEWPARAM(CMD_START, BN_KILLFOCUS), reinterpret_cast<LPARAM>(start));
    EXPECT_TRUE(parent.commands.empty());
    // A button with a handler of its own keeps its click.
    bar.buttons[0].SetHandler(&parent, static_cast<Control::ClickHandler>(&ParentWindow::OnClick));
    SendMessageA(start, BM_CLICK, 0, 0);
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_EQ(std::vector<int>{CMD_START}, parent.handled);
    // A click from a window without an object is still forwarded, with the id alone.
    EXPECT_EQ(0, SendMessageA(bar.hwnd, WM_COMMAND, MAKEWPARAM(CMD_EXIT, BN_CLICKED), 0));
    ASSERT_EQ(1u, parent.commands.size());
    EXPECT_EQ(static_cast<WPARAM>(CMD_EXIT), parent.commands[0]);
}

TEST_F(BarFixture, CommandsNamingAWindowOutsideTheBarAreIgnored)
{
    Fill();
    bar.buttons[0].SetHandler(&parent, static_cast<Control::ClickHandler>(&ParentWindow::OnClick));
    // A window of the program that is no child of the bar, carrying a control object all the same.
    HWND stranger = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, parent.hwnd, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, stranger);
    SetWindowLongPtrA(stranger, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&bar.buttons[0]));
    SendMessageA(bar.hwnd, WM_COMMAND, MAKEWPARAM(CMD_START, BN_CLICKED), reinterpret_cast<LPARAM>(stranger));
    SendMessageA(bar.hwnd, WM_COMMAND, MAKEWPARAM(CMD_EXIT, BN_CLICKED), reinterpret_cast<LPARAM>(parent.hwnd));
    EXPECT_TRUE(parent.handled.empty());
    EXPECT_TRUE(parent.commands.empty());
    DestroyWindow(stranger);
}

// A control that answers its reflected notifications with a value of its own.
class AnsweringButton : public PushButton {
public:
    LRESULT OnReflectedNotify(const NMHDR*) override { return 0x4242; }
};

TEST_F(BarFixture, NotificationsGoOnToTheParentWhoseAnswerIsDropped)
{
    ASSERT_TRUE(bar.CreateBar(parent.hwnd, 0, 0, 700, kBarHeight));
    HWND plain = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, bar.hwnd, reinterpret_cast<HMENU>(801),
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, plain);
    NMHDR header = {plain, 801, 5u};
    EXPECT_EQ(0, SendMessageA(bar.hwnd, WM_NOTIFY, 801, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(std::vector<WPARAM>{801}, parent.notifications);

    AnsweringButton answering;
    ASSERT_TRUE(answering.Create(bar.hwnd, 802, "n", 600, 3, 20, 20));
    NMHDR bound = {answering.hwnd, 802, 6u};
    EXPECT_EQ(0x4242, SendMessageA(parent.hwnd, WM_NOTIFY, 802, reinterpret_cast<LPARAM>(&bound)));
    EXPECT_EQ(0, SendMessageA(bar.hwnd, WM_NOTIFY, 802, reinterpret_cast<LPARAM>(&bound)));
}

TEST_F(BarFixture, FocusGoesStraightOnToTheParent)
{
    Fill();
    ASSERT_TRUE(Foreground());
    SetFocus(bar.hwnd);
    EXPECT_EQ(parent.hwnd, GetFocus());
    EXPECT_GE(parent.focusGained, 1);
}

TEST_F(BarFixture, PaintsHighlightOnTopFrameColourAtTheBottomGreyBetween)
{
    Fill();
    UpdateWindow(parent.hwnd);
    RedrawWindow(bar.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpFor(50);
    const int x = 600;
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), ClientPixel(bar.hwnd, x, 0));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWFRAME), ClientPixel(bar.hwnd, x, kBarHeight - 1));
    EXPECT_EQ(RGB(0x80, 0x80, 0x80), ClientPixel(bar.hwnd, x, kBarHeight / 2));
}

TEST_F(BarFixture, HiddenBarValidatesWithoutDrawing)
{
    ASSERT_TRUE(bar.CreateBar(parent.hwnd, 0, 0, 700, kBarHeight));
    UpdateWindow(bar.hwnd);
    bar.shown = 0;
    InvalidateRect(bar.hwnd, nullptr, FALSE);
    UpdateWindow(bar.hwnd);
    RECT dirty;
    EXPECT_FALSE(GetUpdateRect(bar.hwnd, &dirty, FALSE));
    // No WM_PAINT is left waiting to be sent again and again.
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, bar.hwnd, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

} // namespace

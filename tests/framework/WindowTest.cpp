// Window objects: binding at WM_NCCREATE, the default dispatcher's answers and routing, creation and destruction.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/PushButton.h"
#include "framework/TestSupport.h"
#include "framework/Window.h"

namespace {

const char kClass[] = "SeekwordTestWindow";

void RegisterProbeClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Window::StaticWndProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    registered = RegisterClassA(&wc) != 0;
}

// Keeps the default handlers; only creation is allowed and the messages seen are logged.
class PlainWindow : public Window {
public:
    int Register() override
    {
        RegisterProbeClass();
        return 0;
    }
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(message);
        return Window::WndProc(message, wParam, lParam);
    }
    std::vector<UINT> seen;
};

class ProbeWindow : public PlainWindow {
public:
    int OnCreate() override { return createResult; }

    // Every handler records its name, and what it was given when that matters.
    void OnChar(WPARAM w, LPARAM) override { Log("OnChar", w); }
    void OnClose() override { Log("OnClose"); if (closeDestroys) Destroy(); }
    void OnCommand(WPARAM w, LPARAM) override { Log("OnCommand", w); }
    void OnContextMenu(WPARAM w, LPARAM) override { Log("OnContextMenu", w); }
    LRESULT OnCtlColor(WPARAM, LPARAM) override { Log("OnCtlColor"); return 0x5151; }
    void OnDestroy() override { Log("OnDestroy"); }
    void OnDrawItem(WPARAM w, LPARAM) override { Log("OnDrawItem", w); }
    void OnDropFiles(WPARAM w) override { Log("OnDropFiles", w); }
    void OnEndSession(WPARAM w, LPARAM) override { Log("OnEndSession", w); }
    void OnInitMenu() override { Log("OnInitMenu"); }
    void OnKeyDown(WPARAM w, LPARAM) override { Log("OnKeyDown", w); }
    void OnKeyUp(WPARAM w, LPARAM) override { Log("OnKeyUp", w); }
    void OnKillFocus() override { Log("OnKillFocus"); }
    void OnLButtonDown(WPARAM w, LPARAM) override { Log("OnLButtonDown", w); }
    void OnLButtonUp(WPARAM w, LPARAM) override { Log("OnLButtonUp", w); }
    int OnMenuSelect(WPARAM w, LPARAM) override { Log("OnMenuSelect", w); return 7; }
    void OnMouseMove(WPARAM w, LPARAM) override { Log("OnMouseMove", w); }
    void OnNotify(WPARAM w, LPARAM) override { Log("OnNotify", w); }
    void OnPaint() override { Log("OnPaint"); Window::OnPaint(); }
    int OnQueryEndSession() override { Log("OnQueryEndSession"); return queryEndSession; }
    void OnRButtonDown(WPARAM w, LPARAM) override { Log("OnRButtonDown", w); }
    void OnRButtonUp(WPARAM w, LPARAM) override { Log("OnRButtonUp", w); }
    void OnSetFocus() override { Log("OnSetFocus"); }
    void OnSize(WPARAM w, LPARAM) override { Log("OnSize", w); }
    void OnSysColorChange() override { Log("OnSysColorChange"); }
    void OnSysKeyDown(WPARAM w, LPARAM) override { Log("OnSysKeyDown", w); }
    void OnSysKeyUp(WPARAM w, LPARAM) override { Log("OnSysKeyUp", w); }
    void OnTimer(WPARAM w) override { Log("OnTimer", w); }
    int OnVKeyToItem(WPARAM w) override { Log("OnVKeyToItem", w); return 3; }
    int SaveState() override { Log("SaveState"); return 1; }
    void PostDestroy() override { Log("PostDestroy"); }
    int OnOtherMessage(UINT message, WPARAM, LPARAM) override
    {
        Log("OnOtherMessage", message);
        return otherHandled;
    }

    void Log(const char* name, WPARAM arg = 0)
    {
        calls.push_back(std::string(name) + (arg ? ":" + std::to_string(arg) : ""));
    }
    // Calls other than OnOtherMessage, which the system's own traffic fills.
    std::vector<std::string> HandlerCalls() const
    {
        std::vector<std::string> result;
        for (const std::string& call : calls) {
            if (call.compare(0, 14, "OnOtherMessage") != 0)
                result.push_back(call);
        }
        return result;
    }

    int createResult = 1;
    int queryEndSession = 1;
    int otherHandled = 0;
    bool closeDestroys = false;
    std::vector<std::string> calls;
};

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterProbeClass();
        probe.style = WS_OVERLAPPEDWINDOW;
        ASSERT_TRUE(probe.CreateHandle(kClass, nullptr, nullptr, "probe", 0, 0, 200, 150));
        probe.calls.clear();
    }
    void TearDown() override
    {
        if (probe.hwnd && IsWindow(probe.hwnd))
            DestroyWindow(probe.hwnd);
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        probe.calls.clear();
        return SendMessageA(probe.hwnd, message, wParam, lParam);
    }
    ProbeWindow probe;
};

TEST(WindowBinding, CreateHandleBindsObjectAndSecondCallCreatesNothing)
{
    RegisterProbeClass();
    ProbeWindow probe;
    probe.style = WS_OVERLAPPEDWINDOW;
    ASSERT_TRUE(probe.CreateHandle(kClass, nullptr, nullptr, "probe", 0, 0, 100, 100));
    HWND first = probe.hwnd;
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&probe), GetWindowLongPtrA(first, GWLP_USERDATA));
    probe.calls.clear();
    EXPECT_TRUE(probe.CreateHandle(kClass, nullptr, nullptr, "probe", 0, 0, 100, 100));
    EXPECT_EQ(first, probe.hwnd);
    EXPECT_TRUE(probe.calls.empty());
    EXPECT_TRUE(probe.Destroy());
    EXPECT_EQ(nullptr, probe.hwnd);
    EXPECT_FALSE(IsWindow(first));
}

TEST(WindowBinding, MessagesBeforeNcCreateNeverReachTheObject)
{
    RegisterProbeClass();
    PlainWindow plain;
    plain.style = WS_OVERLAPPEDWINDOW;
    // The default OnCreate fails creation, but WM_NCCREATE still bound the object first.
    EXPECT_FALSE(plain.CreateHandle(kClass, nullptr, nullptr, "plain", 0, 0, 100, 100));
    ASSERT_FALSE(plain.seen.empty());
    EXPECT_EQ(static_cast<UINT>(WM_NCCREATE), plain.seen.front());
}

TEST(WindowBinding, UnboundWindowGetsDefaultWindowProcedure)
{
    RegisterProbeClass();
    // Created with no object: every message must go to DefWindowProcA unchanged.
    HWND bare = CreateWindowExA(0, kClass, "unbound title", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, bare);
    EXPECT_EQ(0, GetWindowLongPtrA(bare, GWLP_USERDATA));
    EXPECT_EQ(DefWindowProcA(bare, WM_GETTEXTLENGTH, 0, 0), Window::StaticWndProc(bare, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(13, Window::StaticWndProc(bare, WM_GETTEXTLENGTH, 0, 0));
    // The default WM_CLOSE handling destroys it.
    SendMessageA(bare, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(bare));
}

TEST(WindowBinding, DefaultOnCreateFailsTheCreation)
{
    RegisterProbeClass();
    PlainWindow plain;
    plain.style = WS_OVERLAPPEDWINDOW;
    EXPECT_EQ(0, plain.CreateHandle(kClass, nullptr, nullptr, "plain", 0, 0, 100, 100));
    EXPECT_EQ(nullptr, plain.hwnd);
    EXPECT_EQ(nullptr, FindWindowA(kClass, "plain"));
}

TEST(WindowBinding, DestroyRunsTheThreeStepsInOrderAndClearsHandle)
{
    RegisterProbeClass();
    ProbeWindow probe;
    probe.style = WS_OVERLAPPEDWINDOW;
    ASSERT_TRUE(probe.CreateHandle(kClass, nullptr, nullptr, "probe", 0, 0, 100, 100));
    probe.calls.clear();
    ASSERT_EQ(1, probe.Destroy());
    EXPECT_EQ((std::vector<std::string>{"OnDestroy", "SaveState", "PostDestroy"}), probe.HandlerCalls());
    EXPECT_EQ(nullptr, probe.hwnd);
}

TEST(WindowBinding, FailedDestroyKeepsHandle)
{
    RegisterProbeClass();
    ProbeWindow probe;
    probe.style = WS_OVERLAPPEDWINDOW;
    ASSERT_TRUE(probe.CreateHandle(kClass, nullptr, nullptr, "probe", 0, 0, 100, 100));
    HWND window = probe.hwnd;
    DestroyWindow(window);
    // The object still holds the dead handle; destroying it again fails and keeps it.
    probe.hwnd = window;
    EXPECT_EQ(0, probe.Destroy());
    EXPECT_EQ(window, probe.hwnd);
}

struct DispatchCase {
    UINT message;
    WPARAM wParam;
    const char* expectedCall;
    LRESULT expectedResult;
};

TEST_F(WindowFixture, EachListedMessageReachesItsOneHandler)
{
    const DispatchCase cases[] = {
        {WM_SIZE, 2, "OnSize:2", 0},
        {WM_SETFOCUS, 0, "OnSetFocus", 0},
        {WM_KILLFOCUS, 0, "OnKillFocus", 0},
        {WM_SYSCOLORCHANGE, 0, "OnSysColorChange", 0},
        {WM_DRAWITEM, 4, "OnDrawItem:4", 1},
        {WM_VKEYTOITEM, 5, "OnVKeyToItem:5", 3},
        {WM_CONTEXTMENU, 6, "OnContextMenu:6", 0},
        {WM_KEYDOWN, 'A', "OnKeyDown:65", 0},
        {WM_KEYUP, 'B', "OnKeyUp:66", 0},
        {WM_CHAR, 'c', "OnChar:99", 0},
        {WM_SYSKEYDOWN, 'D', "OnSysKeyDown:68", 0},
        {WM_SYSKEYUP, 'E', "OnSysKeyUp:69", 0},
        {WM_COMMAND, 40001, "OnCommand:40001", 0},
        {WM_TIMER, 9, "OnTimer:9", 0},
        {WM_INITMENU, 0, "OnInitMenu", 0},
        // OnMenuSelect's result is not the window procedure's.
        {WM_MENUSELECT, 11, "OnMenuSelect:11", 0},
        {WM_MOUSEMOVE, 12, "OnMouseMove:12", 0},
        {WM_LBUTTONDOWN, 1, "OnLButtonDown:1", 0},
        {WM_LBUTTONUP, 0, "OnLButtonUp", 0},
        {WM_RBUTTONDOWN, 2, "OnRButtonDown:2", 0},
        {WM_RBUTTONUP, 0, "OnRButtonUp", 0},
        {WM_DROPFILES, 0, "OnDropFiles", 0},
        {WM_QUERYENDSESSION, 0, "OnQueryEndSession", 1},
        {WM_CTLCOLORLISTBOX, 0, "OnCtlColor", 0x5151},
    };
    for (const DispatchCase& c : cases) {
        SCOPED_TRACE(c.expectedCall);
        EXPECT_EQ(c.expectedResult, Send(c.message, c.wParam, 0));
        EXPECT_EQ(std::vector<std::string>{c.expectedCall}, probe.HandlerCalls());
    }
}

TEST_F(WindowFixture, PaintHandlerValidatesTheWindow)
{
    ShowWindow(probe.hwnd, SW_SHOWNOACTIVATE);
    PumpFor(50);
    InvalidateRect(probe.hwnd, nullptr, FALSE);
    probe.calls.clear();
    UpdateWindow(probe.hwnd);
    EXPECT_EQ(std::vector<std::string>{"OnPaint"}, probe.HandlerCalls());
    RECT dirty;
    EXPECT_FALSE(GetUpdateRect(probe.hwnd, &dirty, FALSE));
}

TEST_F(WindowFixture, DefaultHandlersAnswerTheirFixedResults)
{
    // A window keeping every default: OnCreate must be overridden to exist, nothing else.
    class DefaultsWindow : public Window {
    public:
        int Register() override { RegisterProbeClass(); return 0; }
        int OnCreate() override { return 1; }
    } defaults;
    defaults.style = WS_OVERLAPPEDWINDOW;
    ASSERT_TRUE(defaults.CreateHandle(kClass, nullptr, nullptr, "defaults", 0, 0, 100, 100));
    EXPECT_EQ(-1, SendMessageA(defaults.hwnd, WM_VKEYTOITEM, 0, 0));
    EXPECT_EQ(1, SendMessageA(defaults.hwnd, WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(1, SendMessageA(defaults.hwnd, WM_DRAWITEM, 0, 0));
    EXPECT_EQ(0, SendMessageA(defaults.hwnd, WM_CTLCOLORLISTBOX, 0, 0));
    HWND window = defaults.hwnd;
    // The default OnClose destroys the window.
    EXPECT_EQ(0, SendMessageA(window, WM_CLOSE, 0, 0));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, defaults.hwnd);
}

TEST_F(WindowFixture, CloseGoesOnlyToOnClose)
{
    // An OnClose that does nothing keeps the window: DefWindowProcA would have destroyed it.
    EXPECT_EQ(0, Send(WM_CLOSE));
    EXPECT_TRUE(IsWindow(probe.hwnd));
    EXPECT_EQ(std::vector<std::string>{"OnClose"}, probe.HandlerCalls());
}

TEST_F(WindowFixture, EndSessionSavesStateOnlyWhenTheSessionEnds)
{
    EXPECT_EQ(0, Send(WM_ENDSESSION, 0, 0));
    EXPECT_EQ(std::vector<std::string>{"OnEndSession"}, probe.HandlerCalls());
    EXPECT_EQ(0, Send(WM_ENDSESSION, 1, 0));
    EXPECT_EQ((std::vector<std::string>{"OnEndSession:1", "SaveState"}), probe.HandlerCalls());
}

TEST_F(WindowFixture, OtherCtlColorMessagesGoThroughOnOtherMessageToDefault)
{
    const UINT others[] = {WM_CTLCOLOREDIT, WM_CTLCOLORBTN, WM_CTLCOLORSTATIC, WM_CTLCOLORDLG,
                           WM_CTLCOLORSCROLLBAR, WM_CTLCOLORMSGBOX};
    HDC dc = GetDC(probe.hwnd);
    ASSERT_NE(nullptr, dc);
    for (UINT message : others) {
        SCOPED_TRACE(message);
        const LRESULT expected = DefWindowProcA(probe.hwnd, message, reinterpret_cast<WPARAM>(dc),
                                                reinterpret_cast<LPARAM>(probe.hwnd));
        EXPECT_EQ(expected, Send(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(probe.hwnd)));
        ASSERT_EQ(1u, probe.calls.size());
        EXPECT_EQ("OnOtherMessage:" + std::to_string(message), probe.calls[0]);
    }
    ReleaseDC(probe.hwnd, dc);
}

TEST_F(WindowFixture, HandledOtherMessageAnswersZeroWithoutDefault)
{
    // WM_GETTEXTLENGTH would answer 5 ("probe") from DefWindowProcA.
    EXPECT_EQ(5, Send(WM_GETTEXTLENGTH));
    probe.otherHandled = 1;
    EXPECT_EQ(0, Send(WM_GETTEXTLENGTH));
    EXPECT_EQ(std::vector<std::string>{"OnOtherMessage:" + std::to_string(WM_GETTEXTLENGTH)}, probe.calls);
}

// Answers every reflected notification with a value of its own.
class NotifiedButton : public PushButton {
public:
    LRESULT OnReflectedNotify(const NMHDR* header) override
    {
        lastCode = header->code;
        return 0x4242;
    }
    UINT lastCode = 0;
};

TEST_F(WindowFixture, NotifyFromBoundControlAnswersItsResult)
{
    NotifiedButton button;
    ASSERT_TRUE(button.Create(probe.hwnd, 700, "button", 0, 0, 50, 20));
    NMHDR header = {button.hwnd, 700, 0x77u};
    EXPECT_EQ(0x4242, Send(WM_NOTIFY, 700, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(0x77u, button.lastCode);
    EXPECT_TRUE(probe.HandlerCalls().empty());
}

TEST_F(WindowFixture, NotifyFromUnboundChildReachesOnNotifyAndAnswersZero)
{
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, probe.hwnd,
                                 reinterpret_cast<HMENU>(701), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, child);
    NMHDR header = {child, 701, 0x78u};
    EXPECT_EQ(0, Send(WM_NOTIFY, 701, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(std::vector<std::string>{"OnNotify:701"}, probe.HandlerCalls());
}

TEST(WindowMissingCreate, DefaultCreateWarnsAndFails)
{
    RegisterProbeClass();
    ProbeWindow probe;
    testing_support::MessageBoxWatcher watcher("App Error");
    EXPECT_EQ(0, probe.Create(nullptr, 0, "x", 0, 0, 10, 10));
    ASSERT_TRUE(watcher.Finish());
    bool hasText = false;
    for (const std::string& text : watcher.texts)
        hasText = hasText || text == "Missing Create";
    EXPECT_TRUE(hasText);
    EXPECT_EQ(nullptr, probe.hwnd);
}

} // namespace

// Test host: the real main frame, button bar and status bar around a stand-in view, for end-to-end drivers.
//
// What a driver sees: a "MainClass" window titled "Seekword FrameHost" with the program's seven
// buttons (Find next, Next file, Copy and Edit disabled), the program's accelerator keys, and a
// three-part status bar. Every WM_COMMAND that reaches the frame, from a button or a key, writes
// "command <id>" into status part 0, whether or not the command is enabled; the frame then gives
// the focus back to the view. The close box ends the host with exit code 0.
#include <windows.h>

#include <cstdio>

#include "controls/ButtonBar.h"
#include "framework/MainFrame.h"
#include "framework/ProgramInstance.h"
#include "framework/StatusBar.h"
#include "resources/ResourceIds.h"

namespace {

const char kViewClass[] = "FrameHostView";

struct ButtonInfo {
    const char* label;
    int width;
    int commandId;
};

const ButtonInfo kButtons[] = {
    {"&Start", 60, CMD_START},  {"&Find next", 80, CMD_FINDNEXT}, {"&Next file", 80, CMD_NEXTFILE},
    {"&Copy", 70, CMD_COPY},    {"&Edit", 70, CMD_EDIT},          {"&About", 60, CMD_ABOUT},
    {"E&xit", 60, CMD_EXIT},
};
const int kFileCommands[] = {CMD_FINDNEXT, CMD_NEXTFILE, CMD_COPY, CMD_EDIT};

ACCEL kAccelerators[] = {
    {FVIRTKEY | FALT | FNOINVERT, 'A', CMD_ABOUT},      {FVIRTKEY | FCONTROL | FNOINVERT, 'C', CMD_COPY},
    {FVIRTKEY | FALT | FNOINVERT, 'C', CMD_COPY},       {FVIRTKEY | FALT | FNOINVERT, 'E', CMD_EDIT},
    {FVIRTKEY | FALT | FNOINVERT, 'F', CMD_FINDNEXT},   {FVIRTKEY | FALT | FNOINVERT, 'N', CMD_NEXTFILE},
    {FVIRTKEY | FALT | FNOINVERT, 'S', CMD_START},      {FVIRTKEY | FCONTROL | FNOINVERT, 'X', CMD_COPY},
    {FVIRTKEY | FALT | FNOINVERT, 'X', CMD_EXIT},
};

// Stands in for the text view: fills the button bar when it is created, paints a white page.
class HostView : public Window {
public:
    explicit HostView(ButtonBar& bar) : buttonBar(bar) {}

    int Register() override
    {
        static bool registered = false;
        if (registered)
            return 0;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = StaticWndProc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.hInstance = ProgramInstance();
        wc.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = kViewClass;
        registered = RegisterClassA(&wc) != 0;
        return registered;
    }

    int Create(HWND parent, int id, const char* title, int x, int y, int width, int height) override
    {
        Register();
        style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        return CreateHandle(kViewClass, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), title, x, y,
                            width, height);
    }

    int OnCreate() override
    {
        int added = 0;
        for (const ButtonInfo& button : kButtons)
            added = buttonBar.AddButton(button.label, button.width, button.commandId, 0);
        if (!added)
            return 0;
        for (int id : kFileCommands)
            buttonBar.EnableCommand(id, 0);
        return 1;
    }

    void OnPaint() override
    {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc) {
            const char* text = GetFocus() == hwnd ? "FrameHost view (focus)" : "FrameHost view";
            SetBkMode(dc, TRANSPARENT);
            TextOutA(dc, 8, 8, text, lstrlenA(text));
        }
        EndPaint(hwnd, &ps);
    }

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        // System keys (Alt+F4, Alt+Space) need the default handling, which the dispatcher does not give them.
        if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP)
            return DefWindowProcA(hwnd, message, wParam, lParam);
        return Window::WndProc(message, wParam, lParam);
    }

    void OnSetFocus() override { InvalidateRect(hwnd, nullptr, TRUE); }
    void OnKillFocus() override { InvalidateRect(hwnd, nullptr, TRUE); }
    void OnLButtonDown(WPARAM, LPARAM) override { SetFocus(hwnd); }

private:
    ButtonBar& buttonBar;
};

class HostFrame : public MainFrame {
public:
    void AdjustCreate(CREATESTRUCTA& create) override { create.lpszName = "Seekword FrameHost"; }

    void OnCommand(WPARAM wParam, LPARAM) override
    {
        char text[32];
        std::snprintf(text, sizeof(text), "command %u", static_cast<unsigned>(LOWORD(wParam)));
        statusBar->SetText(0, text);
        if (view->hwnd)
            SetFocus(view->hwnd);
    }
};

// Constructed in the program's order: bar, frame, status bar, view.
ButtonBar hostBar;
HostFrame hostFrame;
StatusBar hostStatus;
HostView hostView(hostBar);

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    programInstance = instance;
    hostBar.Reserve(7);
    hostStatus.SetPartCount(3);
    hostStatus.AddPart(80, 0);
    hostStatus.AddPart(20, 0);
    hostStatus.AddPart(12, 0);
    if (!hostFrame.CreateFrame(hostView, hostBar, hostStatus))
        return 0;
    hostFrame.Show(showCommand);
    hostFrame.accelerators = CreateAcceleratorTableA(kAccelerators, sizeof(kAccelerators) / sizeof(kAccelerators[0]));
    const int code = hostFrame.Run();
    if (hostFrame.accelerators)
        DestroyAcceleratorTable(hostFrame.accelerators);
    return code;
}

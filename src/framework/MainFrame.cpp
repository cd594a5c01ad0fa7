// The main frame: registration, creation of the three children, their layout, focus and the message loop.
#include "framework/MainFrame.h"

#include <commctrl.h>

#include "controls/ButtonBar.h"
#include "framework/DisplayInfo.h"
#include "framework/Dpi.h"
#include "framework/ProgramInstance.h"
#include "framework/StatusBar.h"

namespace {
const char kFrameClass[] = "MainClass";
constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW;
// The bar strip is the display font's height plus this much (at 96 dpi).
constexpr int kBarPadding = 12;
constexpr int kChildCount = 3;

bool frameClassRegistered = false;

struct Placement {
    HWND window;
    int y;
    int height;
};
}

MainFrame::MainFrame()
    : accelerators(nullptr), clientWidth(0), clientHeight(0), barHeight(0), buttonBar(nullptr),
      statusBar(nullptr), view(nullptr), ready(0), dpi(Dpi::kBase), placing(0)
{
}

void MainFrame::PostDestroy()
{
    PostQuitMessage(0);
}

int MainFrame::Register()
{
    if (frameClassRegistered)
        return 0;
    WNDCLASSA wc = FrameworkClass(kFrameClass, CS_BYTEALIGNCLIENT);
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // The children cover the client area: erasing it would only flicker.
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    AdjustClass(wc);
    if (!RegisterClassA(&wc))
        return 0;
    frameClassRegistered = true;
    return 1;
}

void MainFrame::OnClose()
{
    if (CanClose())
        Destroy();
}

int MainFrame::OnCreate()
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                     ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS | ICC_HOTKEY_CLASS | ICC_ANIMATE_CLASS;
    InitCommonControlsEx(&controls);
    return statusBar && statusBar->CreateStatus(hwnd) ? 1 : 0;
}

int MainFrame::OnQueryEndSession()
{
    return CanClose();
}

void MainFrame::OnSetFocus()
{
    if (view && view->hwnd)
        SetFocus(view->hwnd);
}

void MainFrame::OnSize(WPARAM wParam, LPARAM lParam)
{
    clientWidth = LOWORD(lParam);
    clientHeight = HIWORD(lParam);
    if (statusBar)
        statusBar->OnParentSize(wParam, lParam);
    Layout();
}

int MainFrame::CanClose() { return 1; }
void MainFrame::AdjustClass(WNDCLASSA&) {}
void MainFrame::AdjustCreate(CREATESTRUCTA&) {}
int MainFrame::RestoreState() { return 0; }

LRESULT MainFrame::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DPICHANGED) {
        OnDpiChanged(wParam, reinterpret_cast<const RECT*>(lParam));
        return 0;
    }
    if (message == WM_DESTROY)
        Dpi::Forget(hwnd);
    // A frame whose creation failed ends quietly: no settings saved over the good ones, no quit posted.
    if (!ready) {
        if (message == WM_DESTROY) {
            OnDestroy();
            return 0;
        }
        if (message == WM_ENDSESSION) {
            OnEndSession(wParam, lParam);
            return 0;
        }
    }
    return Window::WndProc(message, wParam, lParam);
}

int MainFrame::CreateFrameWindow()
{
    Register();
    CREATESTRUCTA create = {};
    create.lpszClass = kFrameClass;
    create.lpszName = "";
    create.style = static_cast<LONG>(kFrameStyle);
    create.x = CW_USEDEFAULT;
    create.y = CW_USEDEFAULT;
    create.cx = CW_USEDEFAULT;
    create.cy = CW_USEDEFAULT;
    AdjustCreate(create);
    hwnd = CreateWindowExA(create.dwExStyle, create.lpszClass, create.lpszName, static_cast<DWORD>(create.style),
                           create.x, create.y, create.cx, create.cy, nullptr, nullptr, ProgramInstance(), this);
    return hwnd != nullptr;
}

int MainFrame::CreateFrame(Window& viewWindow, ButtonBar& bar, StatusBar& status)
{
    view = &viewWindow;
    buttonBar = &bar;
    statusBar = &status;
    ready = 0;
    if (!CreateFrameWindow())
        return 0;

    int created = 0;
    dpi = Dpi::OfWindow(hwnd);
    barFont.Reset(Dpi::CreateScaledFont(GetStockObject(SYSTEM_FONT), dpi));
    barHeight = MeasureBarHeight(barFont.Get());
    if (barHeight) {
        RECT client;
        GetClientRect(hwnd, &client);
        if (buttonBar->CreateBar(hwnd, 0, 0, client.right, barHeight)) {
            // Before the view's creation adds the buttons.
            buttonBar->Rescale(dpi, barFont.Get(), barHeight);
            view->exStyle = WS_EX_CLIENTEDGE;
            created = view->Create(hwnd, 0, "", CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
        }
    }
    if (!created) {
        // Take the half-made frame down with its children; the program ends without it.
        Destroy();
        return 0;
    }
    ready = 1;
    return 1;
}

int MainFrame::MeasureBarHeight(HFONT font) const
{
    TEXTMETRICA metrics;
    return DisplayInfo(font).Metrics(metrics) ? metrics.tmHeight + Dpi::Scale(kBarPadding, dpi) : 0;
}

void MainFrame::OnDpiChanged(WPARAM wParam, const RECT* suggested)
{
    const int newDpi = Dpi::FromMessage(wParam);
    if (!newDpi || !ready)
        return;
    Dpi::Remember(hwnd, newDpi);
    dpi = newDpi;
    // The children first, so that the new size below lays them out at the new dpi. The old font goes
    // only once the buttons hold the new one.
    HFONT font = Dpi::CreateScaledFont(GetStockObject(SYSTEM_FONT), dpi);
    if (const int height = MeasureBarHeight(font))
        barHeight = height;
    buttonBar->Rescale(dpi, font, barHeight);
    barFont.Reset(font);
    statusBar->SetDpi(dpi);
    if (view->hwnd)
        SendMessageA(view->hwnd, WM_DPICHANGED, wParam, 0);

    // Windows suggests where the window keeps its look at the new dpi, but leaves the move to the program.
    // A saved placement that brought the window here was sized for this dpi: scaled again it would grow twice.
    if (suggested && !placing)
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    // A window whose size stays gets no WM_SIZE: lay the children out anyway.
    RECT client;
    GetClientRect(hwnd, &client);
    OnSize(IsZoomed(hwnd) ? SIZE_MAXIMIZED : SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

void MainFrame::Show(int showCommand)
{
    placing = 1;
    const int restored = RestoreState();
    placing = 0;
    if (!restored)
        ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);
}

int MainFrame::LoadAccelerators(int tableId)
{
    accelerators = ::LoadAcceleratorsA(ProgramInstance(), MAKEINTRESOURCEA(tableId));
    return accelerators != nullptr;
}

BOOL MainFrame::FetchMessage(MSG& message)
{
    return GetMessageA(&message, nullptr, 0, 0);
}

int MainFrame::Run()
{
    MSG message = {};
    BOOL fetched;
    // -1 is a failure to fetch, not a message: looping on it would spin on garbage.
    while ((fetched = FetchMessage(message)) > 0) {
        if (accelerators && TranslateAcceleratorA(hwnd, accelerators, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (fetched < 0)
        return -1;
    return static_cast<int>(message.wParam);
}

void MainFrame::Layout()
{
    const int statusHeight = statusBar ? statusBar->VisibleHeight() : 0;
    const int topHeight = buttonBar && buttonBar->shown ? barHeight : 0;

    Placement placements[kChildCount];
    int placed = 0;
    auto add = [&](HWND window, int y, int height) {
        // A child that has no window (yet, or any more) is left out, so it cannot fail the whole batch.
        if (window && IsWindow(window))
            placements[placed++] = {window, y, height < 0 ? 0 : height};
    };
    add(buttonBar ? buttonBar->hwnd : nullptr, 0, topHeight);
    add(view ? view->hwnd : nullptr, topHeight, clientHeight - topHeight - statusHeight);
    add(statusBar ? statusBar->hwnd : nullptr, clientHeight - statusHeight, statusHeight);
    if (placed == 0)
        return;

    // One batch, so a resize repaints once.
    HDWP batch = BeginDeferWindowPos(kChildCount);
    for (int i = 0; i < placed && batch; ++i) {
        const Placement& p = placements[i];
        batch = DeferWindowPos(batch, p.window, HWND_TOP, 0, p.y, clientWidth, p.height, SWP_SHOWWINDOW);
    }
    if (batch && EndDeferWindowPos(batch))
        return;
    // The batch could not be had: place the children one by one instead.
    for (int i = 0; i < placed; ++i) {
        const Placement& p = placements[i];
        SetWindowPos(p.window, HWND_TOP, 0, p.y, clientWidth, p.height, SWP_SHOWWINDOW);
    }
}

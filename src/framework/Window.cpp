// Window objects: the one window procedure, the default dispatcher and the default handlers.
#include "framework/Window.h"

#include "controls/Control.h"
#include "framework/ProgramInstance.h"

Window::Window() : hwnd(nullptr), style(0), exStyle(0) {}

int Window::Create(HWND, int, const char*, int, int, int, int)
{
    MessageBoxA(nullptr, "Missing Create", "App Error", MB_ICONWARNING);
    return 0;
}

void Window::PostDestroy() {}
int Window::OnOtherMessage(UINT, WPARAM, LPARAM) { return 0; }
int Window::SaveState() { return 0; }

void Window::OnChar(WPARAM, LPARAM) {}
void Window::OnClose() { Destroy(); }
void Window::OnCommand(WPARAM, LPARAM) {}
void Window::OnContextMenu(WPARAM, LPARAM) {}
int Window::OnCreate() { return 0; }
LRESULT Window::OnCtlColor(WPARAM, LPARAM) { return 0; }
void Window::OnDestroy() {}
void Window::OnDrawItem(WPARAM, LPARAM) {}
void Window::OnDropFiles(WPARAM) {}
void Window::OnEndSession(WPARAM, LPARAM) {}
void Window::OnInitMenu() {}
void Window::OnKeyDown(WPARAM, LPARAM) {}
void Window::OnKeyUp(WPARAM, LPARAM) {}
void Window::OnKillFocus() {}
void Window::OnLButtonDown(WPARAM, LPARAM) {}
void Window::OnLButtonUp(WPARAM, LPARAM) {}
int Window::OnMenuSelect(WPARAM, LPARAM) { return 0; }
void Window::OnMouseMove(WPARAM, LPARAM) {}
void Window::OnNotify(WPARAM, LPARAM) {}

void Window::OnPaint()
{
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
}

int Window::OnQueryEndSession() { return 1; }
void Window::OnRButtonDown(WPARAM, LPARAM) {}
void Window::OnRButtonUp(WPARAM, LPARAM) {}
void Window::OnSetFocus() {}
void Window::OnSize(WPARAM, LPARAM) {}
void Window::OnSysColorChange() {}
void Window::OnSysKeyDown(WPARAM, LPARAM) {}
void Window::OnSysKeyUp(WPARAM, LPARAM) {}
void Window::OnTimer(WPARAM) {}
int Window::OnVKeyToItem(WPARAM) { return -1; }

WNDCLASSA Window::FrameworkClass(const char* className, UINT classStyle)
{
    WNDCLASSA windowClass = {};
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = StaticWndProc;
    windowClass.cbWndExtra = sizeof(LONG_PTR);
    windowClass.hInstance = ProgramInstance();
    windowClass.lpszClassName = className;
    return windowClass;
}

LRESULT CALLBACK Window::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        Window* created = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        if (created)
            created->hwnd = hwnd;
    }
    Window* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    return self->WndProc(message, wParam, lParam);
}

LRESULT Window::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_DESTROY:
        OnDestroy();
        SaveState();
        PostDestroy();
        return 0;
    case WM_SIZE: OnSize(wParam, lParam); return 0;
    case WM_SETFOCUS: OnSetFocus(); return 0;
    case WM_KILLFOCUS: OnKillFocus(); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_QUERYENDSESSION: return OnQueryEndSession();
    case WM_SYSCOLORCHANGE: OnSysColorChange(); return 0;
    case WM_ENDSESSION:
        OnEndSession(wParam, lParam);
        if (wParam)
            SaveState();
        return 0;
    case WM_DRAWITEM: OnDrawItem(wParam, lParam); return 1;
    case WM_VKEYTOITEM: return OnVKeyToItem(wParam);
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        Control* control = header ? reinterpret_cast<Control*>(GetWindowLongPtrA(header->hwndFrom, GWLP_USERDATA)) : nullptr;
        if (control)
            return control->OnReflectedNotify(header);
        OnNotify(wParam, lParam);
        return 0;
    }
    case WM_CONTEXTMENU: OnContextMenu(wParam, lParam); return 0;
    case WM_KEYDOWN: OnKeyDown(wParam, lParam); return 0;
    case WM_KEYUP: OnKeyUp(wParam, lParam); return 0;
    case WM_CHAR: OnChar(wParam, lParam); return 0;
    case WM_SYSKEYDOWN: OnSysKeyDown(wParam, lParam); return 0;
    case WM_SYSKEYUP: OnSysKeyUp(wParam, lParam); return 0;
    case WM_COMMAND: OnCommand(wParam, lParam); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_INITMENU: OnInitMenu(); return 0;
    case WM_MENUSELECT: OnMenuSelect(wParam, lParam); return 0;
    case WM_CTLCOLORLISTBOX: return OnCtlColor(wParam, lParam);
    case WM_MOUSEMOVE: OnMouseMove(wParam, lParam); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(wParam, lParam); return 0;
    case WM_LBUTTONUP: OnLButtonUp(wParam, lParam); return 0;
    case WM_RBUTTONDOWN: OnRButtonDown(wParam, lParam); return 0;
    case WM_RBUTTONUP: OnRButtonUp(wParam, lParam); return 0;
    case WM_DROPFILES: OnDropFiles(wParam); return 0;
    default:
        if (OnOtherMessage(message, wParam, lParam))
            return 0;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

int Window::CreateHandle(const char* className, HWND parent, HMENU idOrMenu, const char* title,
                         int x, int y, int width, int height)
{
    if (hwnd)
        return 1;
    hwnd = CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, idOrMenu,
                           ProgramInstance(), this);
    return hwnd != nullptr;
}

int Window::Destroy()
{
    if (!DestroyWindow(hwnd))
        return 0;
    hwnd = nullptr;
    return 1;
}

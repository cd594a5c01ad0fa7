// Base of every window object: binds the object to its window and dispatches messages to handlers.
#pragma once
#include <windows.h>

class Window {
public:
    Window();
    virtual ~Window() = default;

    // General operations.
    virtual int Create(HWND parent, int id, const char* title, int x, int y, int width, int height);
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void PostDestroy();
    virtual int OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual int Register() = 0;
    virtual int SaveState();

    // Message handlers, in alphabetical order.
    virtual void OnChar(WPARAM wParam, LPARAM lParam);
    virtual void OnClose();
    virtual void OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnContextMenu(WPARAM wParam, LPARAM lParam);
    virtual int OnCreate();
    virtual LRESULT OnCtlColor(WPARAM wParam, LPARAM lParam);
    virtual void OnDestroy();
    virtual void OnDrawItem(WPARAM wParam, LPARAM lParam);
    virtual void OnDropFiles(WPARAM wParam);
    virtual void OnEndSession(WPARAM wParam, LPARAM lParam);
    virtual void OnInitMenu();
    virtual void OnKeyDown(WPARAM wParam, LPARAM lParam);
    virtual void OnKeyUp(WPARAM wParam, LPARAM lParam);
    virtual void OnKillFocus();
    virtual void OnLButtonDown(WPARAM wParam, LPARAM lParam);
    virtual void OnLButtonUp(WPARAM wParam, LPARAM lParam);
    virtual int OnMenuSelect(WPARAM wParam, LPARAM lParam);
    virtual void OnMouseMove(WPARAM wParam, LPARAM lParam);
    virtual void OnNotify(WPARAM wParam, LPARAM lParam);
    virtual void OnPaint();
    virtual int OnQueryEndSession();
    virtual void OnRButtonDown(WPARAM wParam, LPARAM lParam);
    virtual void OnRButtonUp(WPARAM wParam, LPARAM lParam);
    virtual void OnSetFocus();
    virtual void OnSize(WPARAM wParam, LPARAM lParam);
    virtual void OnSysColorChange();
    virtual void OnSysKeyDown(WPARAM wParam, LPARAM lParam);
    virtual void OnSysKeyUp(WPARAM wParam, LPARAM lParam);
    virtual void OnTimer(WPARAM timerId);
    virtual int OnVKeyToItem(WPARAM wParam);

    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // A class description every framework window shares: the one procedure, room for the object's
    // address, the program's module; the caller adds cursor, brush and icon.
    static WNDCLASSA FrameworkClass(const char* className, UINT classStyle);

    int CreateHandle(const char* className, HWND parent, HMENU idOrMenu, const char* title,
                     int x, int y, int width, int height);
    int Destroy();

    HWND hwnd;
    DWORD style;
    DWORD exStyle;
};

// Base of the objects paired with system child controls (push buttons, the status window).
#pragma once
#include <windows.h>

class Window;

class Control {
public:
    using ClickHandler = void (Window::*)(int controlId);

    Control();
    virtual ~Control() = default;

    virtual int Create(HWND parent, int id, const char* text, int x, int y, int width, int height);
    virtual int OnReflectedCommand(int notificationCode, int id);
    virtual LRESULT OnReflectedNotify(const NMHDR* header);
    virtual void SetHandler(Window* target, ClickHandler operation);
    virtual LRESULT SubclassProc(UINT message, WPARAM wParam, LPARAM lParam);

    int NextControlId();
    int CreateChild(const char* className, HWND parent, const char* text, int x, int y, int width, int height);
    WNDPROC InstallSubclass(WNDPROC procedure);

    static LRESULT CALLBACK ControlSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // The class procedure the first subclassing replaced; recorded once.
    static WNDPROC savedClassProcedure;

    HWND hwnd;
    DWORD style;
    DWORD exStyle;
    int id;
    Window* handlerTarget;
    ClickHandler handlerOperation;
};

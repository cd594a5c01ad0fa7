// Control objects: ids from the program-wide counter, creating or adopting the child window.
#include "controls/Control.h"

#include "framework/ProgramInstance.h"

namespace {
constexpr int kFirstControlId = 900;
int controlIdCounter = kFirstControlId;
}

WNDPROC Control::savedClassProcedure = nullptr;

Control::Control()
    : hwnd(nullptr), style(0), exStyle(0), id(0), handlerTarget(nullptr), handlerOperation(nullptr) {}

int Control::Create(HWND, int, const char*, int, int, int, int)
{
    MessageBoxA(nullptr, "Missing Create", "App Error", MB_ICONWARNING);
    return 0;
}

int Control::OnReflectedCommand(int, int) { return 0; }
LRESULT Control::OnReflectedNotify(const NMHDR*) { return 0; }

void Control::SetHandler(Window* target, ClickHandler operation)
{
    handlerTarget = target;
    handlerOperation = operation;
}

LRESULT Control::SubclassProc(UINT, WPARAM, LPARAM) { return 0; }

int Control::NextControlId()
{
    id = controlIdCounter++;
    return id;
}

int Control::CreateChild(const char* className, HWND parent, const char* text, int x, int y, int width, int height)
{
    // A child the dialog template already made is adopted, not duplicated.
    hwnd = GetDlgItem(parent, id);
    if (!hwnd)
        hwnd = CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ProgramInstance(), nullptr);
    if (!hwnd)
        return 0;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return 1;
}

WNDPROC Control::InstallSubclass(WNDPROC procedure)
{
    if (!procedure)
        procedure = ControlSubclassProc;
    if (!IsWindow(hwnd))
        return nullptr;
    WNDPROC replaced = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    if (!savedClassProcedure)
        savedClassProcedure = replaced;
    return replaced;
}

LRESULT CALLBACK Control::ControlSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Control* self = reinterpret_cast<Control*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    return self->SubclassProc(message, wParam, lParam);
}

// Dialog objects: the one dialog procedure and the modal run.
#include "framework/Dialog.h"

#include "framework/ProgramInstance.h"

Dialog::Dialog() : hwnd(nullptr) {}

INT_PTR CALLBACK Dialog::StaticDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        Dialog* bound = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        if (bound)
            bound->hwnd = dialog;
    }
    Dialog* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self)
        return 0;
    return self->DlgProc(message, wParam, lParam);
}

INT_PTR Dialog::RunModal(int templateId, HWND owner)
{
    return DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(templateId), owner, StaticDlgProc,
                           reinterpret_cast<LPARAM>(this));
}

// Base of the modal dialog objects: binds the object to its dialog window at WM_INITDIALOG.
#pragma once
#include <windows.h>

class Dialog {
public:
    Dialog();
    virtual ~Dialog() = default;

    virtual INT_PTR DlgProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    static INT_PTR CALLBACK StaticDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    // Runs the dialog modally with this object bound; -1 when it cannot be created.
    INT_PTR RunModal(int templateId, HWND owner);

    HWND hwnd;
};

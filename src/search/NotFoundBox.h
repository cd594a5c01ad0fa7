// The small modal box that says a walk ended without a further hit.
#pragma once
#include "framework/Dialog.h"

class NotFoundBox : public Dialog {
public:
    NotFoundBox();

    INT_PTR DlgProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    HBRUSH brush;

private:
    void Paint();
    void Close();
};

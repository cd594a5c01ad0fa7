// The "Not found" box: yellow text on dark red, closed by OK, Enter or Esc.
#include "search/NotFoundBox.h"

#include "searchdialog/CentreWindow.h"

namespace {
const COLORREF kBoxColour = RGB(128, 0, 0);
const COLORREF kTextColour = RGB(255, 255, 0);
}

NotFoundBox::NotFoundBox() : brush(nullptr) {}

INT_PTR NotFoundBox::DlgProc(UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        brush = CreateSolidBrush(kBoxColour);
        CentreWindow(hwnd);
        return TRUE;
    case WM_PAINT:
        Paint();
        return TRUE;
    case WM_COMMAND:
    case WM_DESTROY:
        Close();
        return TRUE;
    default:
        return FALSE;
    }
}

void NotFoundBox::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    if (brush)
        FillRect(dc, &client, brush);

    RECT button = {};
    GetWindowRect(GetDlgItem(hwnd, IDOK), &button);
    RECT text = client;
    text.bottom -= button.bottom - button.top;

    SetTextColor(dc, kTextColour);
    SetBkColor(dc, kBoxColour);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
    DrawTextA(dc, "Not found", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

// WM_COMMAND and then WM_DESTROY both come here: the brush goes only once.
void NotFoundBox::Close()
{
    if (brush) {
        DeleteObject(brush);
        brush = nullptr;
    }
    EndDialog(hwnd, 0);
}

// Message windows, choosing a button: the buttons' keyboard and the clicks they report.
#include "controls/MessageWindow.h"

void MessageWindow::OnButtonCommand(WPARAM wParam)
{
    if (HIWORD(wParam) != 0)
        return;
    // Only this window's buttons count: the others still hold ids and results of an earlier one.
    for (int i = 0; i < buttonCount; ++i) {
        if (LOWORD(wParam) == LOWORD(messageButtons[i].id)) {
            result = buttonResults[i];
            break;
        }
    }
    if (result) {
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        running = 0;
    }
}

LRESULT CALLBACK MessageWindow::MessageButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND focus = GetFocus();
    for (int i = 0; i < buttonCount; ++i) {
        if (focus && messageButtons[i].hwnd == focus) {
            focusIndex = i;
            break;
        }
    }

    if (message == WM_KEYDOWN && buttonCount > 0) {
        int chosen = -1;
        switch (wParam) {
        case VK_TAB:
        case VK_RIGHT:
            focusIndex = (focusIndex + 1) % buttonCount;
            SetFocus(messageButtons[focusIndex].hwnd);
            break;
        case VK_LEFT:
            focusIndex = focusIndex - 1 < 0 ? buttonCount - 1 : focusIndex - 1;
            SetFocus(messageButtons[focusIndex].hwnd);
            break;
        case VK_RETURN:
            chosen = focusIndex;
            break;
        default:
            for (int i = 0; i < buttonCount; ++i) {
                if (messageButtons[i].mnemonic == static_cast<char>(wParam & 0xFF)) {
                    chosen = i;
                    break;
                }
            }
            break;
        }
        if (chosen >= 0)
            SendMessageA(GetParent(hwnd), WM_COMMAND, LOWORD(messageButtons[chosen].id), 0);
    }

    if (!savedButtonProcedure)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    return CallWindowProcA(savedButtonProcedure, hwnd, message, wParam, lParam);
}

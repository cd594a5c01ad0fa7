// Control access across processes, every sent message bounded by a timeout.
#include "driver/Controls.h"

#include "driver/WindowQuery.h"

namespace e2e {

namespace {

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr)
{
    DWORD_PTR answer = 0;
    if (!window || !SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                                        kMessageTimeoutMs, &answer))
        return false;
    if (result)
        *result = static_cast<LRESULT>(answer);
    return true;
}

bool SendWide(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    DWORD_PTR answer = 0;
    if (!window || !SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                                        kMessageTimeoutMs, &answer))
        return false;
    *result = static_cast<LRESULT>(answer);
    return true;
}

} // namespace

bool ClickButton(HWND button)
{
    return Send(button, BM_CLICK, 0, 0);
}

bool PostClickButton(HWND button)
{
    return button && PostMessageA(button, BM_CLICK, 0, 0);
}

bool ClickDlgItem(HWND dialog, int id)
{
    return ClickButton(GetDlgItem(dialog, id));
}

bool PostClickDlgItem(HWND dialog, int id)
{
    return PostClickButton(GetDlgItem(dialog, id));
}

HWND ButtonByText(HWND parent, const char* text)
{
    return FindDescendant(parent, "Button", text);
}

bool SetControlText(HWND control, const std::string& text)
{
    LRESULT done = 0;
    return Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &done) && done;
}

bool SetDlgItemTextTo(HWND dialog, int id, const std::string& text)
{
    return SetControlText(GetDlgItem(dialog, id), text);
}

std::string DlgItemText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control ? WindowText(control) : std::string();
}

bool SetChecked(HWND dialog, int id, bool checked)
{
    return Send(GetDlgItem(dialog, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsChecked(HWND dialog, int id)
{
    LRESULT state = 0;
    return Send(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

std::vector<std::string> ComboItems(HWND combo)
{
    std::vector<std::string> items;
    LRESULT count = 0;
    if (!SendWide(combo, CB_GETCOUNT, 0, 0, &count) || count == CB_ERR)
        return items;
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = 0;
        if (!SendWide(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0, &length) || length == CB_ERR)
            break;
        std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
        LRESULT copied = 0;
        if (!SendWide(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&wide[0]),
                      &copied) || copied == CB_ERR)
            break;
        wide.resize(static_cast<size_t>(copied < length ? copied : length));
        int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                                       nullptr, nullptr);
        std::string item(static_cast<size_t>(size > 0 ? size : 0), '\0');
        if (size > 0)
            WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &item[0], size,
                                nullptr, nullptr);
        items.push_back(item);
    }
    return items;
}

int ComboSelection(HWND combo)
{
    LRESULT selection = CB_ERR;
    return Send(combo, CB_GETCURSEL, 0, 0, &selection) ? static_cast<int>(selection) : CB_ERR;
}

bool SelectComboItem(HWND combo, int index)
{
    LRESULT selection = CB_ERR;
    return Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, &selection) && selection == index;
}

} // namespace e2e

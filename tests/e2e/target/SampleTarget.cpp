// A small program for the end-to-end driver to drive, each action reported in its status bar.
//
// Buttons, an edit, a three-part status bar, accelerators, a modal dialog, the clipboard and
// the registry.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "SampleTargetIds.h"

namespace {

HINSTANCE instance;
HWND mainWindow;
HWND statusBar;
HWND edit;
int exitCode = 0;
char dialogResult[256];

void SetStatus(int part, const char* text)
{
    SendMessageA(statusBar, SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
}

HWND AddChild(const char* className, const char* text, DWORD style, int x, int y, int w, int h, int id)
{
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, mainWindow,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

void LayOutParts()
{
    RECT client;
    GetClientRect(mainWindow, &client);
    SendMessageA(statusBar, WM_SIZE, 0, 0);
    int edges[3] = {client.right - SAMPLE_PART2_WIDTH - SAMPLE_PART1_WIDTH, client.right - SAMPLE_PART2_WIDTH, -1};
    SendMessageA(statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
}

void PutTextOnClipboard()
{
    const char text[] = SAMPLE_CLIPBOARD_TEXT;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(text));
    if (!block)
        return;
    memcpy(GlobalLock(block), text, sizeof(text));
    GlobalUnlock(block);
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (OpenClipboard(mainWindow)) {
            EmptyClipboard();
            if (SetClipboardData(CF_TEXT, block))
                block = nullptr;
            CloseClipboard();
            break;
        }
        Sleep(10);
    }
    if (block)
        GlobalFree(block);
    else
        SetStatus(0, "Copied");
}

void StoreInRegistry()
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SAMPLE_REGISTRY_KEY, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD counter = 0, size = sizeof(counter), type = 0;
    if (RegQueryValueExA(key, "Counter", nullptr, &type, reinterpret_cast<BYTE*>(&counter), &size) !=
            ERROR_SUCCESS || type != REG_DWORD)
        counter = 0;
    ++counter;
    RegSetValueExA(key, "Counter", 0, REG_DWORD, reinterpret_cast<BYTE*>(&counter), sizeof(counter));
    char text[256] = "";
    GetWindowTextA(edit, text, sizeof(text));
    RegSetValueExA(key, "Text", 0, REG_SZ, reinterpret_cast<BYTE*>(text), static_cast<DWORD>(strlen(text) + 1));
    const BYTE blob[] = {0x00, 0x01, 0x02, 0xFE, 0xFF};
    RegSetValueExA(key, "Blob", 0, REG_BINARY, blob, sizeof(blob));
    RegCloseKey(key);
    SetStatus(0, "Stored");
}

INT_PTR CALLBACK SampleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        const char* items[] = {"alpha", "beta", "gamma"};
        for (const char* item : items)
            SendDlgItemMessageA(dialog, IDC_DLG_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendDlgItemMessageA(dialog, IDC_DLG_COMBO, CB_SETCURSEL, 0, 0);
        SetDlgItemTextA(dialog, IDC_DLG_EDIT, "initial");
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            char text[100] = "", pick[100] = "";
            GetDlgItemTextA(dialog, IDC_DLG_EDIT, text, sizeof(text));
            LRESULT selection = SendDlgItemMessageA(dialog, IDC_DLG_COMBO, CB_GETCURSEL, 0, 0);
            if (selection >= 0 &&
                SendDlgItemMessageA(dialog, IDC_DLG_COMBO, CB_GETLBTEXTLEN, selection, 0) < (LRESULT)sizeof(pick))
                SendDlgItemMessageA(dialog, IDC_DLG_COMBO, CB_GETLBTEXT, selection, reinterpret_cast<LPARAM>(pick));
            snprintf(dialogResult, sizeof(dialogResult), "Dialog OK: %s flag=%d pick=%s", text,
                     IsDlgButtonChecked(dialog, IDC_DLG_FLAG) == BST_CHECKED ? 1 : 0, pick);
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void OnCommand(int id)
{
    char text[64];
    switch (id) {
    case IDB_DIALOG:
        if (DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SAMPLE), mainWindow, SampleDialogProc, 0) == 1)
            SetStatus(0, dialogResult);
        else
            SetStatus(0, "Dialog cancelled");
        break;
    case IDB_COPY:
        PutTextOnClipboard();
        break;
    case IDB_REGISTRY:
        StoreInRegistry();
        break;
    case IDB_EXIT:
        exitCode = SAMPLE_EXIT_CODE;
        DestroyWindow(mainWindow);
        break;
    case CMD_ALT_K:
    case CMD_CTRL_L:
    case CMD_F5:
        snprintf(text, sizeof(text), "Command %d", id);
        SetStatus(0, text);
        break;
    }
}

void OnCreate()
{
    AddChild("BUTTON", "&Dialog", BS_PUSHBUTTON, 10, 10, 90, 26, IDB_DIALOG);
    AddChild("BUTTON", "&Copy", BS_PUSHBUTTON, 110, 10, 90, 26, IDB_COPY);
    AddChild("BUTTON", "&Registry", BS_PUSHBUTTON, 210, 10, 90, 26, IDB_REGISTRY);
    EnableWindow(AddChild("BUTTON", "Disabled", BS_PUSHBUTTON, 310, 10, 90, 26, IDB_DISABLED), FALSE);
    AddChild("BUTTON", "E&xit", BS_PUSHBUTTON, 410, 10, 90, 26, IDB_EXIT);
    edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 10,
                           50, 260, 24, mainWindow, reinterpret_cast<HMENU>(IDC_MAIN_EDIT), instance, nullptr);
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(folder), folder);
    AddChild("STATIC", folder, SS_LEFT, 10, 84, 490, 20, IDC_FOLDER);
    // The caption given here goes stale at once: the parts' texts live elsewhere.
    statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "stale caption", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                mainWindow, reinterpret_cast<HMENU>(IDC_STATUS), instance, nullptr);
    LayOutParts();
    SetStatus(0, "Ready");
    SetStatus(1, "\tCentre");
    SetStatus(2, "\t\tRight");
}

void OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(mainWindow, &paint);
    HBRUSH block = CreateSolidBrush(RGB(SAMPLE_BLOCK_RED, SAMPLE_BLOCK_GREEN, SAMPLE_BLOCK_BLUE));
    RECT rect = {SAMPLE_BLOCK_LEFT, SAMPLE_BLOCK_TOP, SAMPLE_BLOCK_LEFT + SAMPLE_BLOCK_WIDTH,
                 SAMPLE_BLOCK_TOP + SAMPLE_BLOCK_HEIGHT};
    FillRect(dc, &rect, block);
    DeleteObject(block);
    EndPaint(mainWindow, &paint);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        mainWindow = window;
        OnCreate();
        return 0;
    case WM_SIZE:
        if (statusBar)
            LayOutParts();
        return 0;
    case WM_SETFOCUS:
        SetFocus(edit);
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_LBUTTONDOWN: {
        char text[64];
        snprintf(text, sizeof(text), "\tClick %d,%d", static_cast<short>(LOWORD(lParam)),
                 static_cast<short>(HIWORD(lParam)));
        SetStatus(1, text);
        return 0;
    }
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(exitCode);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// "--title <text>" names the window; anything else is ignored.
std::string TitleFrom(const char* commandLine)
{
    const char* option = strstr(commandLine, "--title ");
    if (!option)
        return SAMPLE_TITLE;
    std::string title = option + strlen("--title ");
    if (title.size() >= 2 && title.front() == '"' && title.back() == '"')
        title = title.substr(1, title.size() - 2);
    return title;
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR commandLine, int show)
{
    instance = hInstance;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = SAMPLE_CLASS;
    if (!RegisterClassA(&wc))
        return 1;
    std::string title = TitleFrom(commandLine);
    if (!CreateWindowExA(0, SAMPLE_CLASS, title.c_str(), WS_OVERLAPPEDWINDOW, SAMPLE_X, SAMPLE_Y, SAMPLE_WIDTH,
                         SAMPLE_HEIGHT, nullptr, nullptr, instance, nullptr))
        return 1;
    ShowWindow(mainWindow, show);
    UpdateWindow(mainWindow);
    HACCEL keys = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_SAMPLE_KEYS));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (keys && TranslateAcceleratorA(mainWindow, keys, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

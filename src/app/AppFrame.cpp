// The main window's commands, from buttons and accelerator keys alike.
#include "app/AppFrame.h"

#include "app/Settings.h"
#include "app/ShellSafety.h"
#include "controls/AboutWindow.h"
#include "controls/ButtonBar.h"
#include "framework/ProgramInstance.h"
#include "resources/ResourceIds.h"
#include "search/SearchView.h"

#include <shellapi.h>

namespace {
constexpr COLORREF kAboutTextColour = 0x000000;
constexpr COLORREF kAboutBackColour = 0xC0C0C0;
constexpr COLORREF kAboutEdgeColour = 0x808080;
const char kNotepadFailedText[] = "Notepad could not be started.";
}

AppFrame::AppFrame(SearchView& view, AboutWindow& about) : searchView(view), aboutWindow(about) {}

int AppFrame::SaveState()
{
    return SaveSettings(hwnd, dpi);
}

void AppFrame::OnCommand(WPARAM wParam, LPARAM)
{
    const int command = LOWORD(wParam);
    // A command sent while a walk runs would re-enter it.
    if (searchView.Walking() || !buttonBar || !buttonBar->IsCommandEnabled(command))
        return;
    switch (command) {
    case CMD_START:
        searchView.RunSearch(1);
        break;
    case CMD_FINDNEXT:
        searchView.FindNext();
        break;
    case CMD_NEXTFILE:
        searchView.RunSearch(0);
        break;
    case CMD_COPY:
        searchView.CopySelection();
        break;
    case CMD_ABOUT:
        aboutWindow.ShowModal(hwnd, kAboutText, "About", 0, IDI_SEEKWORD, kAboutTextColour, kAboutBackColour,
                              kAboutEdgeColour);
        break;
    case CMD_EXIT:
        Destroy();
        return;
    case CMD_EDIT:
        EditFile(searchView.currentPath, searchView.CurrentName());
        break;
    default:
        break;
    }
    SetFocus(searchView.hwnd);
}

void AppFrame::EditFile(const char* path, const char* ownName)
{
    if (!path || !*path)
        return;
    if (ShellWouldRunFile(path, ownName)) {
        // Never run a found program or script: show it as text instead, and never through a Notepad
        // found elsewhere (Notepad is an optional feature).
        if (!OpenInNotepad(path))
            noticeWindow.ShowModal(hwnd, kNotepadFailedText, "Seekword", MB_OK | MB_ICONEXCLAMATION, 0,
                                   GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW));
        return;
    }
    ShellExecuteA(hwnd, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
}

void AppFrame::OnClose()
{
    // The walk stops after its current file and closes the window from the main loop.
    if (searchView.Walking()) {
        searchView.RequestClose();
        return;
    }
    MainFrame::OnClose();
}

LRESULT AppFrame::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The wait cursor stays over the whole window, buttons included, while a walk runs.
    if (message == WM_SETCURSOR && searchView.Walking()) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
    }
    return MainFrame::WndProc(message, wParam, lParam);
}

void AppFrame::OnDestroy()
{
    searchView.FreeSearchState();
}

void AppFrame::AdjustClass(WNDCLASSA& windowClass)
{
    windowClass.hIcon = LoadIconA(ProgramInstance(), MAKEINTRESOURCEA(IDI_SEEKWORD));
}

void AppFrame::AdjustCreate(CREATESTRUCTA& create)
{
    create.lpszName = "Seekword";
    create.style = WS_OVERLAPPEDWINDOW;
}

int AppFrame::RestoreState()
{
    return RestoreSettings(hwnd);
}

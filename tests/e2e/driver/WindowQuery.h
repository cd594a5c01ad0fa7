// Finding windows of other processes and reading their texts, with deadlines.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "driver/Poll.h"

namespace e2e {

// How long a message to the program may take before it counts as hung.
constexpr UINT kMessageTimeoutMs = 5000;

// A top-level window by class and title (null: any); processId 0 means any process.
HWND FindTopWindow(const char* className, const char* title = nullptr, DWORD processId = 0,
                   bool shownOnly = false);
// Waits for such a window to be shown. A window is listed as soon as it is created, before its
// children exist and before a dialog's WM_INITDIALOG has run; once shown, both are done.
HWND WaitForTopWindow(const char* className, const char* title = nullptr, DWORD processId = 0,
                      DWORD timeoutMs = kWaitMs);
// True once the window is destroyed or hidden.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kWaitMs);

// Descendants of parent (children of children too) with the class (null: any) and exact text
// (null: any), in Z order.
std::vector<HWND> FindDescendants(HWND parent, const char* className, const char* text = nullptr);
HWND FindDescendant(HWND parent, const char* className, const char* text = nullptr);
HWND WaitForDescendant(HWND parent, const char* className, const char* text = nullptr,
                       DWORD timeoutMs = kWaitMs);
// The window's text through WM_GETTEXT, which reaches the control itself.
std::string WindowText(HWND window);
// The text the system stores for the window (the title), without a message to its program.
std::string StoredTitle(HWND window);
std::string ClassOf(HWND window);

} // namespace e2e

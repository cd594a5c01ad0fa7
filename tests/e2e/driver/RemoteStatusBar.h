// Reads the parts of a status bar that lives in another process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "driver/Poll.h"

namespace e2e {

class RemoteStatusBar {
public:
    // The status window is the child (at any depth) of frame with class "msctls_statusbar32".
    explicit RemoteStatusBar(HWND frame);
    static RemoteStatusBar OfWindow(HWND statusWindow);
    // Waits for frame's status window: a frame is listed before its children exist.
    static RemoteStatusBar WaitFor(HWND frame, DWORD timeoutMs = kWaitMs);

    bool IsValid() const { return bar != nullptr; }
    HWND Handle() const { return bar; }
    int PartCount() const;
    // Right edges of the parts in the bar's client coordinates (-1: to the end), SB_GETPARTS.
    std::vector<int> PartEdges() const;
    // The part's text exactly as set, a leading tab included; false when it cannot be read.
    bool ReadPart(int part, std::string* text) const;
    std::string PartText(int part) const;

private:
    RemoteStatusBar() = default;
    HWND bar = nullptr;
};

} // namespace e2e

// Keeps a running walk in sight and the program answering: the path being searched, pending paint
// messages, and the user's Escape or close, looked at a few times a second.
#pragma once
#include <windows.h>

class StatusBar;

class SearchProgress {
public:
    enum Request { kGoOn = 0, kPause = 1, kClose = 2 };

    SearchProgress();

    // A walk starts: nothing asked yet, the clock runs from now.
    void Begin();
    void End() { active = 0; }
    int Active() const { return active; }

    // Cheap unless a tenth of a second has passed since the last look; then shows path in the
    // status bar's first part at once and takes the messages waiting. Returns what the user asked.
    int Look(StatusBar* status, const char* path)
    {
        if (GetTickCount() - lastLook < kInterval)
            return request;
        return LookNow(status, path);
    }

    // The main window was asked to close while the walk runs.
    void RequestClose() { Raise(kClose); }

    static constexpr DWORD kInterval = 100;  // milliseconds

private:
    int LookNow(StatusBar* status, const char* path);
    void TakeMessages();
    void Raise(int wanted)
    {
        if (wanted > request)
            request = wanted;
    }

    DWORD lastLook;
    int request;
    int active;
};

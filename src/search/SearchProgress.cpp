// The running walk's look at the world: progress text, paint, Escape and close.
#include "search/SearchProgress.h"

#include "framework/StatusBar.h"

namespace {
// A window that never validates its paint must not hold the walk in the loop below.
constexpr int kMessagesPerLook = 200;
constexpr int kPathPart = 0;
}

SearchProgress::SearchProgress() : lastLook(0), request(kGoOn), active(0) {}

void SearchProgress::Begin()
{
    lastLook = GetTickCount();
    request = kGoOn;
    active = 1;
}

int SearchProgress::LookNow(StatusBar* status, const char* path)
{
    lastLook = GetTickCount();
    if (status && path && *path) {
        status->SetText(kPathPart, path);
        UpdateWindow(status->hwnd);
    }
    TakeMessages();
    return request;
}

// Only paint is handled. Input and commands made during the walk are dropped rather than left to
// act after it; Escape pauses the walk, and a close from the keyboard, the close box or the system
// ends it so the main loop can close the window normally. Peeking also lets the system see that
// the program answers, and hands sent messages to their windows.
void SearchProgress::TakeMessages()
{
    MSG message;
    for (int taken = 0; taken < kMessagesPerLook && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++taken) {
        switch (message.message) {
        case WM_QUIT:
            // The main loop must still see it.
            PostQuitMessage(static_cast<int>(message.wParam));
            Raise(kPause);
            return;
        case WM_PAINT:
            DispatchMessageA(&message);
            break;
        case WM_KEYDOWN:
            if (message.wParam == VK_ESCAPE)
                Raise(kPause);
            break;
        case WM_SYSKEYDOWN:
            if (message.wParam == VK_F4)
                Raise(kClose);
            break;
        case WM_CLOSE:
            Raise(kClose);
            break;
        case WM_SYSCOMMAND:
            if ((message.wParam & 0xFFF0) == SC_CLOSE)
                Raise(kClose);
            break;
        case WM_NCLBUTTONDOWN:
            if (message.wParam == HTCLOSE)
                Raise(kClose);
            break;
        default:
            break;
        }
    }
}

// Test helpers for the modal message windows: an owner window, timer-driven steps inside the nested
// loop, and a probe that watches the text copy's allocation.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

// A visible top-level window to own the message windows.
class TestOwner {
public:
    TestOwner(int x = 150, int y = 120, int width = 600, int height = 420);
    ~TestOwner();
    HWND hwnd;
};

// Plays its steps from a 10 ms thread timer while a "CMSGCLASS" window is on the screen. A step is
// called on every tick until it returns true; then the next step starts. When the steps are not
// through after a few seconds the window is destroyed and a quit request posted (and removed again
// by the destructor), so a broken test cannot hang the run.
class ModalScript {
public:
    using Step = std::function<bool(HWND box)>;
    explicit ModalScript(std::vector<Step> steps);
    ~ModalScript();

    bool Finished() const { return next == steps.size(); }
    bool TimedOut() const { return timedOut; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    std::vector<Step> steps;
    size_t next;
    int ticks;
    bool timedOut;
    UINT_PTR timer;
};

// The client rectangle of a child, in its parent's client coordinates.
RECT ChildRect(HWND child);
// The message window's buttons, in creation order (ascending control id).
std::vector<HWND> ButtonsOf(HWND box);
// A key press as the focused button sees it.
void PressKey(UINT key);
// Reads a pixel of a window's client area as last painted.
COLORREF ClientPixel(HWND window, int x, int y);
// Line height and widest character of the display font, and a text's width in it.
int DisplayLineHeight();
int DisplayWidestChar();
int DisplayTextWidth(const char* text);

// Watches the nothrow array allocations of the program (the message window's text copy).
namespace AllocationProbe {
void Start(bool failAllocations);
void Stop();
int Allocations();
void* FirstAllocation();
int FreesOf(const void* pointer);
}

// Test helpers for the modal message windows.
#include "ModalDriver.h"

#include <cstdlib>
#include <new>

#include "controls/MessageWindow.h"

namespace {

const char kOwnerClass[] = "SeekwordTestOwner";
constexpr UINT kTickMs = 10;
constexpr int kMaxTicks = 800;

ModalScript* activeScript = nullptr;

} // namespace

TestOwner::TestOwner(int x, int y, int width, int height) : hwnd(nullptr)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = kOwnerClass;
        registered = RegisterClassA(&wc) != 0;
    }
    hwnd = CreateWindowExA(0, kOwnerClass, "Owner", WS_POPUP | WS_VISIBLE | WS_BORDER, x, y, width, height,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(hwnd);
    SetActiveWindow(hwnd);
    UpdateWindow(hwnd);
}

TestOwner::~TestOwner()
{
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
}

ModalScript::ModalScript(std::vector<Step> stepList)
    : steps(std::move(stepList)), next(0), ticks(0), timedOut(false), timer(0)
{
    activeScript = this;
    timer = SetTimer(nullptr, 0, kTickMs, Tick);
}

ModalScript::~ModalScript()
{
    KillTimer(nullptr, timer);
    activeScript = nullptr;
    if (timedOut) {
        MSG quit;
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    ModalScript* self = activeScript;
    if (!self)
        return;
    HWND box = FindWindowA(MessageWindow::kClassName, nullptr);
    if (++self->ticks > kMaxTicks) {
        // Every way out at once: whichever the window honours ends the wait.
        if (!self->timedOut) {
            self->timedOut = true;
            if (box)
                DestroyWindow(box);
            PostQuitMessage(0);
        }
        return;
    }
    if (!box || !IsWindowVisible(box) || self->Finished())
        return;
    // A step may open a nested loop of its own; the ticks it dispatches must not re-enter it.
    static bool inStep = false;
    if (inStep)
        return;
    inStep = true;
    size_t current = self->next;
    if (self->steps[current](box))
        self->next = current + 1;
    inStep = false;
}

RECT ChildRect(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<HWND> ButtonsOf(HWND box)
{
    std::vector<HWND> buttons;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        buttons.push_back(child);
    for (size_t i = 0; i < buttons.size(); ++i)
        for (size_t j = i + 1; j < buttons.size(); ++j)
            if (GetDlgCtrlID(buttons[j]) < GetDlgCtrlID(buttons[i]))
                std::swap(buttons[i], buttons[j]);
    return buttons;
}

void PressKey(UINT key)
{
    HWND focus = GetFocus();
    SendMessageA(focus, WM_KEYDOWN, key, 1);
    SendMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

COLORREF ClientPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

namespace {
TEXTMETRICA DisplayMetrics()
{
    TEXTMETRICA metrics = {};
    HDC info = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    GetTextMetricsA(info, &metrics);
    DeleteDC(info);
    return metrics;
}
} // namespace

int DisplayLineHeight()
{
    TEXTMETRICA metrics = DisplayMetrics();
    return metrics.tmHeight + metrics.tmExternalLeading;
}

int DisplayWidestChar() { return DisplayMetrics().tmMaxCharWidth; }

int DisplayTextWidth(const char* text)
{
    HDC info = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(info, text, lstrlenA(text), &size);
    DeleteDC(info);
    return size.cx;
}

// The probe replaces the array forms of the global allocation functions; outside a probe they
// behave as the library's own.
namespace {
constexpr int kMaxRecords = 64;
bool probing = false;
bool failing = false;
int allocationCount = 0;
void* firstAllocation = nullptr;
int freeCount = 0;
const void* freed[kMaxRecords];
} // namespace

void AllocationProbe::Start(bool failAllocations)
{
    allocationCount = 0;
    firstAllocation = nullptr;
    freeCount = 0;
    failing = failAllocations;
    probing = true;
}

void AllocationProbe::Stop() { probing = false; }
int AllocationProbe::Allocations() { return allocationCount; }
void* AllocationProbe::FirstAllocation() { return firstAllocation; }

int AllocationProbe::FreesOf(const void* pointer)
{
    int count = 0;
    for (int i = 0; i < freeCount && i < kMaxRecords; ++i)
        if (freed[i] == pointer)
            ++count;
    return count;
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    if (probing) {
        ++allocationCount;
        if (failing)
            return nullptr;
    }
    void* block = std::malloc(size ? size : 1);
    if (probing && !firstAllocation)
        firstAllocation = block;
    return block;
}

void operator delete[](void* block) noexcept
{
    if (probing && block && freeCount < kMaxRecords)
        freed[freeCount++] = block;
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept { operator delete[](block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { operator delete[](block); }

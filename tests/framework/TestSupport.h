// Helpers for the window tests: message pumping with a deadline, blocked window creation, failing allocations.
#pragma once
#include <windows.h>

#include "support/WindowTestSupport.h"

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace testing_support {

// Removes a pending WM_QUIT from this thread's queue; true if there was one.
inline bool TakeQuit(WPARAM* code = nullptr)
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return false;
    if (code)
        *code = msg.wParam;
    return true;
}

// While alive, windows of the named class cannot be created on this thread.
class CreationBlocker {
public:
    explicit CreationBlocker(const char* className)
    {
        blockedClass() = className;
        hook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~CreationBlocker()
    {
        if (hook)
            UnhookWindowsHookEx(hook);
        blockedClass().clear();
    }
    CreationBlocker(const CreationBlocker&) = delete;
    CreationBlocker& operator=(const CreationBlocker&) = delete;
    bool active() const { return hook != nullptr; }

private:
    static std::string& blockedClass()
    {
        static std::string name;
        return name;
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            char name[64] = "";
            GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof(name));
            if (lstrcmpiA(name, blockedClass().c_str()) == 0)
                return 1;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook;
};

// The nothrow array allocations the product makes can be made to fail on demand (see AllocationFailure.cpp).
struct AllocationFailure {
    // 0 = never fail; n = the n-th nothrow new[] from now on returns null.
    static int& countdown()
    {
        static int value = 0;
        return value;
    }
    explicit AllocationFailure(int nth) { countdown() = nth; }
    ~AllocationFailure() { countdown() = 0; }
};

// Watches for a message box with the given caption from a second thread, reads its texts and closes it.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(const char* boxCaption) : caption(boxCaption)
    {
        thread = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
    }
    ~MessageBoxWatcher()
    {
        if (thread) {
            WaitForSingleObject(thread, 10000);
            CloseHandle(thread);
        }
    }
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    bool Finish()
    {
        if (!thread)
            return false;
        WaitForSingleObject(thread, 10000);
        return seen;
    }
    std::vector<std::string> texts;
    bool seen = false;

private:
    static BOOL CALLBACK Collect(HWND child, LPARAM self)
    {
        char text[256] = "";
        GetWindowTextA(child, text, sizeof(text));
        reinterpret_cast<MessageBoxWatcher*>(self)->texts.push_back(text);
        return TRUE;
    }
    static DWORD WINAPI Watch(void* param)
    {
        MessageBoxWatcher* self = static_cast<MessageBoxWatcher*>(param);
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 8000) {
            HWND box = FindWindowA("#32770", self->caption);
            if (box && IsWindowVisible(box)) {
                self->seen = true;
                EnumChildWindows(box, Collect, reinterpret_cast<LPARAM>(self));
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return 0;
            }
            Sleep(20);
        }
        return 0;
    }
    const char* caption;
    HANDLE thread;
};

} // namespace testing_support

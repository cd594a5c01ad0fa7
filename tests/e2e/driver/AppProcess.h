// A program under test, started inside a kill-on-close job so nothing outlives the test.
#pragma once

#include <windows.h>

#include <string>

#include "driver/Poll.h"

namespace e2e {

class AppProcess {
public:
    AppProcess() = default;
    ~AppProcess();
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;

    // exePath may be a Unix path; arguments are appended to the quoted path as they stand.
    // showCommand (SW_SHOWMAXIMIZED, ...) is the show command the program is started with; -1
    // leaves it to the system.
    bool Start(const std::string& exePath, const std::string& arguments = std::string(),
               const std::string& workingFolder = std::string(), int showCommand = -1);

    bool IsRunning() const;
    // True when the process has ended within the time; its exit code goes to exitCode.
    bool WaitForExit(DWORD timeoutMs = kWaitMs, DWORD* exitCode = nullptr) const;
    // Ends every process of the job and waits until the program is gone.
    void Kill();

    DWORD Id() const { return processId; }
    HANDLE Handle() const { return process; }
    HANDLE Job() const { return job; }
    // Why the last Start failed, for test messages.
    const std::string& Failure() const { return failure; }

    // A top-level window of this process; a null title matches any title.
    HWND FindTopWindow(const char* className, const char* title = nullptr) const;
    // Waits until such a window is shown (see e2e::WaitForTopWindow); null also when the
    // program ends first.
    HWND WaitForTopWindow(const char* className, const char* title = nullptr,
                          DWORD timeoutMs = kWaitMs) const;

private:
    void Release();

    HANDLE job = nullptr;
    HANDLE process = nullptr;
    DWORD processId = 0;
    std::string failure;
};

} // namespace e2e

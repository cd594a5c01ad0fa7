// Starting, watching and ending a program under test.
#include "driver/AppProcess.h"

#include <vector>

#include "driver/HostPaths.h"
#include "driver/WindowQuery.h"

namespace e2e {

namespace {

std::string Describe(const char* what)
{
    return std::string(what) + " failed, error " + std::to_string(GetLastError());
}

} // namespace

AppProcess::~AppProcess()
{
    Kill();
}

bool AppProcess::Start(const std::string& exePath, const std::string& arguments,
                       const std::string& workingFolder, int showCommand)
{
    Kill();
    failure.clear();
    const std::string exe = ToWindowsPath(exePath);
    if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
        failure = "no program at " + exe;
        return false;
    }
    job = CreateJobObjectA(nullptr, nullptr);
    if (!job) {
        failure = Describe("CreateJobObjectA");
        return false;
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits))) {
        failure = Describe("SetInformationJobObject");
        Release();
        return false;
    }

    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    const std::string folder = workingFolder.empty() ? std::string() : ToWindowsPath(workingFolder);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (showCommand >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    PROCESS_INFORMATION info = {};
    // Suspended until it is in the job, so not even its first instructions run outside it.
    if (!CreateProcessA(exe.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        failure = Describe("CreateProcessA");
        Release();
        return false;
    }
    if (!AssignProcessToJobObject(job, info.hProcess)) {
        failure = Describe("AssignProcessToJobObject");
        TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        Release();
        return false;
    }
    process = info.hProcess;
    processId = info.dwProcessId;
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    return true;
}

bool AppProcess::IsRunning() const
{
    return process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

bool AppProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const
{
    if (!process || WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode && !GetExitCodeProcess(process, exitCode))
        return false;
    return true;
}

void AppProcess::Kill()
{
    if (job)
        TerminateJobObject(job, 1);
    if (process)
        WaitForSingleObject(process, kWaitMs);
    Release();
}

void AppProcess::Release()
{
    if (process)
        CloseHandle(process);
    // Closing the last handle of the job also ends whatever the program started itself.
    if (job)
        CloseHandle(job);
    process = nullptr;
    job = nullptr;
    processId = 0;
}

HWND AppProcess::FindTopWindow(const char* className, const char* title) const
{
    return processId ? e2e::FindTopWindow(className, title, processId) : nullptr;
}

HWND AppProcess::WaitForTopWindow(const char* className, const char* title, DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil([&] {
        found = processId ? e2e::FindTopWindow(className, title, processId, true) : nullptr;
        return found != nullptr || !IsRunning();
    }, timeoutMs);
    return found;
}

} // namespace e2e

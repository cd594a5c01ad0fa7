// Process snapshots, job membership and command lines read from another process's memory.
#include "driver/ProcessList.h"

#include <tlhelp32.h>
#include <winternl.h>

namespace e2e {

namespace {

using QueryProcessFn = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

class Handle {
public:
    explicit Handle(HANDLE h) : handle(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~Handle()
    {
        if (handle)
            CloseHandle(handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE handle;
};

std::string Narrow(const std::wstring& wide)
{
    int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0], size, nullptr,
                            nullptr);
    return text;
}

} // namespace

std::vector<DWORD> ProcessesInJob(HANDLE job, const char* exeName)
{
    std::vector<DWORD> ids;
    Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.handle)
        return ids;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.handle, &entry); more; more = Process32Next(snapshot.handle, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName) != 0)
            continue;
        Handle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, entry.th32ProcessID));
        BOOL inJob = FALSE;
        if (process.handle && IsProcessInJob(process.handle, job, &inJob) && inJob)
            ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

std::string CommandLineOf(DWORD processId)
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    auto query = reinterpret_cast<QueryProcessFn>(
        reinterpret_cast<void (*)()>(ntdll ? GetProcAddress(ntdll, "NtQueryInformationProcess") : nullptr));
    if (!query)
        return std::string();
    Handle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process.handle)
        return std::string();
    PROCESS_BASIC_INFORMATION basic = {};
    if (query(process.handle, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0 ||
        !basic.PebBaseAddress)
        return std::string();
    PEB peb = {};
    RTL_USER_PROCESS_PARAMETERS parameters = {};
    SIZE_T read = 0;
    if (!ReadProcessMemory(process.handle, basic.PebBaseAddress, &peb, sizeof(peb), &read) ||
        !peb.ProcessParameters ||
        !ReadProcessMemory(process.handle, peb.ProcessParameters, &parameters, sizeof(parameters), &read))
        return std::string();
    const UNICODE_STRING& line = parameters.CommandLine;
    if (!line.Buffer || line.Length == 0)
        return std::string();
    std::wstring wide(line.Length / sizeof(WCHAR), L'\0');
    if (!ReadProcessMemory(process.handle, line.Buffer, &wide[0], line.Length, &read))
        return std::string();
    return Narrow(wide);
}

bool EndProcess(DWORD processId, DWORD timeoutMs)
{
    Handle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (!process.handle)
        return GetLastError() == ERROR_INVALID_PARAMETER;  // already gone
    TerminateProcess(process.handle, 1);
    return WaitForSingleObject(process.handle, timeoutMs) == WAIT_OBJECT_0;
}

} // namespace e2e

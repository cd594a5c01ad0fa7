// VirtualAllocEx/ReadProcessMemory/VirtualFreeEx, released on every path.
#include "driver/RemoteMemory.h"

namespace e2e {

RemoteMemory::RemoteMemory(HWND window, SIZE_T bytes)
{
    DWORD processId = 0;
    if (!GetWindowThreadProcessId(window, &processId) || bytes == 0)
        return;
    process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                          FALSE, processId);
    if (!process)
        return;
    address = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (address)
        size = bytes;
}

RemoteMemory::~RemoteMemory()
{
    if (address)
        VirtualFreeEx(process, address, 0, MEM_RELEASE);
    if (process)
        CloseHandle(process);
}

bool RemoteMemory::Read(void* into, SIZE_T bytes) const
{
    SIZE_T done = 0;
    return address && bytes <= size && ReadProcessMemory(process, address, into, bytes, &done) && done == bytes;
}

bool RemoteMemory::Write(const void* from, SIZE_T bytes)
{
    SIZE_T done = 0;
    return address && bytes <= size && WriteProcessMemory(process, address, from, bytes, &done) &&
           done == bytes;
}

} // namespace e2e

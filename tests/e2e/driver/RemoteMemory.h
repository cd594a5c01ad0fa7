// A buffer inside another process, for messages whose pointer the target itself writes through.
#pragma once

#include <windows.h>

namespace e2e {

class RemoteMemory {
public:
    // Allocates size bytes, zero-filled, in the process that owns window.
    RemoteMemory(HWND window, SIZE_T size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool IsValid() const { return address != nullptr; }
    // The address as the target sees it, to pass as a message parameter.
    LPARAM Address() const { return reinterpret_cast<LPARAM>(address); }
    SIZE_T Size() const { return size; }
    bool Read(void* into, SIZE_T bytes) const;
    bool Write(const void* from, SIZE_T bytes);

private:
    HANDLE process = nullptr;
    void* address = nullptr;
    SIZE_T size = 0;
};

} // namespace e2e

// A stand-in for a document's program: records the command line it was started with in the
// registry, so a test can see that the shell's "open" ran it and with which file.
#include <windows.h>

#include "OpenMarkerIds.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, OPEN_MARKER_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return 1;
    const char* line = GetCommandLineA();
    RegSetValueExA(key, OPEN_MARKER_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(line),
                   static_cast<DWORD>(lstrlenA(line) + 1));
    RegCloseKey(key);
    return 0;
}

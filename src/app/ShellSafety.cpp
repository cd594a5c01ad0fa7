// The file types the shell executes for every verb, and Notepad as their viewer.
#include "app/ShellSafety.h"

#include <windows.h>

namespace {

constexpr int kExtensionSize = 32;
constexpr int kCommandSize = MAX_PATH + 32;

const char* const kRunnableTypes[] = {
    "exe", "com", "bat", "cmd", "pif", "scr", "cpl", "msi", "msp", "mst", "msc", "lnk", "url", "hta",
    "js",  "jse", "vbs", "vbe", "vb",  "wsf", "wsh", "wsc", "ws",  "ps1", "psm1", "psd1", "reg", "jar",
    "inf", "ins", "isp", "job", "sct", "shb", "shs", "scf", "application", "appref-ms", "gadget",
    "msh", "msh1", "msh2", "mshxml", "diagcab", "settingcontent-ms", "library-ms", "search-ms", "xbap"};

// The extension the system sees, and its length (0 when there is none): Windows ignores trailing
// dots and spaces, so "x.exe. " runs as "x.exe". An overlong one is cut and so matches no type.
int EffectiveExtension(const char* path, char* extension, int size)
{
    int end = lstrlenA(path);
    while (end > 0 && (path[end - 1] == '.' || path[end - 1] == ' '))
        --end;
    for (int i = end - 1; i >= 0; --i) {
        const char c = path[i];
        if (c == '\\' || c == '/' || c == ':')
            return 0;
        if (c == '.') {
            const int length = end - i - 1;
            lstrcpynA(extension, path + i + 1, (length < size ? length : size - 1) + 1);
            return length;
        }
    }
    return 0;
}

} // namespace

int ShellWouldRun(const char* path)
{
    char extension[kExtensionSize] = "";
    if (EffectiveExtension(path, extension, kExtensionSize) == 0)
        return 1;
    for (const char* type : kRunnableTypes)
        if (lstrcmpiA(extension, type) == 0)
            return 1;
    return 0;
}

int OpenInNotepad(const char* path)
{
    char command[kCommandSize];
    wsprintfA(command, "notepad.exe \"%.259s\"", path);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 1;
}

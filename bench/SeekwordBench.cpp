// Times the real Seekword.exe as a user waits for it: from OK in the Search dialog to its answer, the
// "Not found" box or the file found, and tells its memory before the search and at its peak.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kLocation = 106;
constexpr int kSearchText = 107;
constexpr int kCaseSensitive = 108;
constexpr int kSubfolders = 110;
constexpr int kAllFiles = 1007;
constexpr int kExit = 40006;
constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kSearchTimeoutMs = 3600000;

// "/work/x" -> "Z:\work\x"; a Windows path stays as it is, with '/' turned into '\'.
std::string WindowsPath(const std::string& path)
{
    std::string converted = !path.empty() && path[0] == '/' ? "Z:" + path : path;
    for (char& c : converted)
        if (c == '/')
            c = '\\';
    return converted;
}

// A shown top-level window of the process. FindWindowExA sends the windows nothing, so a program
// that does not answer cannot hold the benchmark.
HWND FindShownWindow(DWORD processId, const char* className, const char* title)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, title)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

// Polled every few milliseconds until the deadline or the end of the program.
HWND WaitForWindow(HANDLE process, DWORD processId, const char* className, const char* title, DWORD timeoutMs)
{
    const DWORD started = GetTickCount();
    for (;;) {
        HWND found = FindShownWindow(processId, className, title);
        if (found)
            return found;
        if (GetTickCount() - started > timeoutMs || WaitForSingleObject(process, 0) == WAIT_OBJECT_0)
            return nullptr;
        Sleep(5);
    }
}

// A shown main window whose title says that a file was found.
HWND FoundWindow(DWORD processId)
{
    HWND frame = FindShownWindow(processId, "MainClass", nullptr);
    char title[64] = "";
    if (frame)
        GetWindowTextA(frame, title, sizeof title);
    return frame && std::strncmp(title, "Seekword found", 14) == 0 ? frame : nullptr;
}

// The "Not found" box or the found file's window, whichever comes first; found tells which.
HWND WaitForAnswer(HANDLE process, DWORD processId, bool& found, DWORD timeoutMs)
{
    const DWORD started = GetTickCount();
    for (;;) {
        if (HWND box = FindShownWindow(processId, "#32770", "Find next file")) {
            found = false;
            return box;
        }
        if (HWND frame = FoundWindow(processId)) {
            found = true;
            return frame;
        }
        if (GetTickCount() - started > timeoutMs || WaitForSingleObject(process, 0) == WAIT_OBJECT_0)
            return nullptr;
        Sleep(5);
    }
}

// Working set figures in MB: now and at the peak so far; -1 where the system does not tell.
void Memory(HANDLE process, double& now, double& peak)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    now = peak = -1;
    if (GetProcessMemoryInfo(process, &counters, sizeof counters)) {
        now = static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
        peak = static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
    }
}

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: SeekwordBench folder text [Seekword.exe]\n");
        return 2;
    }
    // Only the folder part of a location counts: without a final separator the last name would go.
    std::string folder = WindowsPath(argv[1]);
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    const std::string exe = WindowsPath(argc > 3 ? argv[3] : SEEKWORD_EXE);

    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        std::fprintf(stderr, "SeekwordBench: cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
        return 1;
    }
    int status = 1;
    HWND dialog = WaitForWindow(info.hProcess, info.dwProcessId, "#32770", "Search", kStartTimeoutMs);
    if (!dialog) {
        std::fprintf(stderr, "SeekwordBench: no Search dialog\n");
    } else {
        SetDlgItemTextA(dialog, kSearchText, argv[2]);
        SetDlgItemTextA(dialog, kLocation, folder.c_str());
        CheckDlgButton(dialog, kCaseSensitive, BST_UNCHECKED);
        CheckDlgButton(dialog, kSubfolders, BST_CHECKED);
        CheckDlgButton(dialog, kAllFiles, BST_CHECKED);
        double before = 0, peakBefore = 0;
        Memory(info.hProcess, before, peakBefore);
        const double started = Now();
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        bool found = false;
        HWND answer = WaitForAnswer(info.hProcess, info.dwProcessId, found, kSearchTimeoutMs);
        const double seconds = Now() - started;
        if (!answer) {
            std::fprintf(stderr, "SeekwordBench: no answer\n");
        } else {
            double after = 0, peak = 0;
            Memory(info.hProcess, after, peak);
            std::printf("folder: %s\n", folder.c_str());
            std::printf("result: %s\n", found ? "found" : "not found");
            std::printf("seconds: %.3f\n", seconds);
            std::printf("memory before MB: %.1f\n", before);
            std::printf("peak MB: %.1f\n", peak);
            status = 0;
            if (!found)
                PostMessageA(GetDlgItem(answer, IDOK), BM_CLICK, 0, 0);
            HWND frame = FindShownWindow(info.dwProcessId, "MainClass", nullptr);
            if (frame)
                PostMessageA(frame, WM_COMMAND, kExit, 0);
        }
    }
    if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return status;
}

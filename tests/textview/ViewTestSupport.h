// Shared helpers of the text view tests: a probing view, in-memory documents, a host window, files.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "support/WindowTestSupport.h"
#include "search/SearchView.h"

// The program's view with the search hook replaced, so a test decides which files are hits.
class ProbeView : public SearchView {
public:
    int CountMatches() override
    {
        ++countCalls;
        countedBytes.assign(buffer ? buffer : "", buffer ? bytesRead : 0);
        return useRealCount ? SearchView::CountMatches() : countResult;
    }
    // Without the real count, every file is counted in parts as if a text of one byte were searched.
    size_t CountTextLength() override { return useRealCount ? SearchView::CountTextLength() : 1; }
    int TakePartCount(unsigned long long count) override
    {
        ++partCounts;
        return useRealCount ? SearchView::TakePartCount(count) : countResult;
    }
    // Stops the load at call stopAtLook (counted from 1) between its parts.
    int KeepLoading() override { return ++looks != stopAtLook; }
    int ShowMessage(const char* text, const char* caption) override
    {
        lastMessage = text ? text : "";
        lastCaption = caption ? caption : "";
        return IDOK;
    }
    // Reads fail at call failingRead (counted from 1); none gives more than readLimit bytes when set.
    BOOL ReadPart(HANDLE file, char* destination, DWORD size, DWORD* got) override
    {
        if (readLimit && size > readLimit)
            size = readLimit;
        return ++readCalls != failingRead && SearchView::ReadPart(file, destination, size, got);
    }
    void OnLongLineSplit() override { ++splitCalls; }
    void CursorLineChanging() override { ++changingCalls; }
    void CursorLineChanged() override { ++changedCalls; }

    int readCalls = 0;
    int partCounts = 0;
    int looks = 0;
    int stopAtLook = 0;
    int failingRead = 0;
    DWORD readLimit = 0;
    int countResult = 1;
    int useRealCount = 0;
    int countCalls = 0;
    int splitCalls = 0;
    int changingCalls = 0;
    int changedCalls = 0;
    std::string countedBytes;
    std::string lastMessage;
    std::string lastCaption;
};

// The view counts for real, a file in parts of partBytes (0: whole, as any small file is read).
inline void CountInPartsOf(ProbeView& view, DWORD partBytes)
{
    view.useRealCount = 1;
    if (partBytes) {
        view.wholeReadLargest = 0;
        view.partSize = partBytes;
    }
}

// Puts bytes into the view's buffer as a load would and indexes them; returns BuildLineIndex's result.
inline int IndexBytes(TextView& view, const std::string& bytes)
{
    if (!view.ResetDocument())
        return -1;
    const DWORD size = static_cast<DWORD>(bytes.size());
    if (!view.buffer || size >= view.bufferCapacity) {
        if (view.buffer)
            GlobalFree(view.buffer);
        view.buffer = static_cast<char*>(GlobalAlloc(GMEM_FIXED, size + kBufferSlack));
        view.bufferCapacity = size + kBufferSlack;
    }
    if (size)
        memcpy(view.buffer, bytes.data(), size);
    view.bytesRead = size;
    return view.BuildLineIndex();
}

inline std::string LineText(TextView& view, int line)
{
    char text[kLineBufferSize + 8];
    view.GetLineText(line, text);
    return text;
}

inline std::vector<std::string> AllLines(TextView& view)
{
    std::vector<std::string> result;
    for (int i = 0; i < view.lineCount; ++i)
        result.push_back(LineText(view, i));
    return result;
}

// Numbered lines "line 0", "line 1", ... joined with CR LF.
inline std::string NumberedLines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i)
            text += "\r\n";
        text += "line " + std::to_string(i);
    }
    return text;
}

// A folder of its own under the temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        static int counter = 0;
        path = std::string(base) + "seekword_tv_" + std::to_string(GetCurrentProcessId()) + "_" +
               std::to_string(++counter);
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~TempFolder()
    {
        for (const std::string& file : files)
            DeleteFileA(file.c_str());
        RemoveDirectoryA(path.c_str());
    }
    // The bytes written from offset at, with nothing written before them.
    std::string Write(const std::string& name, const std::string& bytes, long long at = 0)
    {
        std::string file = path + "\\" + name;
        HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        LARGE_INTEGER start;
        start.QuadPart = at;
        if (h != INVALID_HANDLE_VALUE) {
            SetFilePointerEx(h, start, nullptr, FILE_BEGIN);
            WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
            CloseHandle(h);
        }
        files.push_back(file);
        return file;
    }
    std::string Name(const std::string& name)
    {
        files.push_back(path + "\\" + name);
        return files.back();
    }

    std::string path;
    std::vector<std::string> files;
};

// A top-level window holding the view as its child, with a chosen client area for the view.
class ViewHost {
public:
    ViewHost()
    {
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "SeekwordViewHost";
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
            RegisterClassA(&wc);
            registered = true;
        }
        frame = CreateWindowExA(0, "SeekwordViewHost", "view host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900,
                                700, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~ViewHost()
    {
        if (frame)
            DestroyWindow(frame);
    }

    // Creates the view's window and sizes it to the given whole rows and columns of text.
    bool Open(TextView& view, int columns, int rows)
    {
        view.SetTitleAndCursor("Seekword", IDC_MARGIN_CURSOR);
        view.exStyle = WS_EX_CLIENTEDGE;
        if (!view.Create(frame, 0, "", 0, 0, 400, 300))
            return false;
        Resize(view, view.marginWidth + columns * view.charWidth, rows * view.lineHeight);
        return true;
    }

    void Resize(TextView& view, int clientWidth, int clientHeight)
    {
        RECT outer, inner;
        for (int attempt = 0; attempt < 3; ++attempt) {
            GetWindowRect(view.hwnd, &outer);
            GetClientRect(view.hwnd, &inner);
            const int width = (outer.right - outer.left) - inner.right + clientWidth;
            const int height = (outer.bottom - outer.top) - inner.bottom + clientHeight;
            SetWindowPos(view.hwnd, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE);
            if (view.clientWidth == clientWidth && view.clientHeight == clientHeight)
                return;
        }
    }

    HWND frame = nullptr;
};

// A fixture with the probing view open in its host, 40 columns by 20 rows, closed after each test.
class OpenViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, host.frame);
        ASSERT_TRUE(host.Open(view, 40, 20));
    }
    void TearDown() override
    {
        if (view.hwnd)
            view.Destroy();
    }

    ViewHost host;
    ProbeView view;
};

inline void SendKey(HWND hwnd, UINT vk, bool down)
{
    SendMessageA(hwnd, down ? WM_KEYDOWN : WM_KEYUP, vk, down ? 1 : 0xC0000001);
}

inline void PressKey(HWND hwnd, UINT vk)
{
    SendKey(hwnd, vk, true);
    SendKey(hwnd, vk, false);
}

inline void SetSelection(TextView& view, int startLine, int startIndex, int endLine, int endIndex)
{
    view.hasSelection = 1;
    view.selStartLine = startLine;
    view.selStartIndex = startIndex;
    view.selEndLine = endLine;
    view.selEndIndex = endIndex;
}

inline LPARAM Point(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}


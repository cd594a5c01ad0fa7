// Loading a file: the results 1, 0, -1 and -2, buffer reuse, files held open and files too big to hold.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ViewTestSupport.h"

namespace {

TEST(LoadFile, LoadsCountsAndIndexes)
{
    TempFolder folder;
    ProbeView view;
    const std::string file = folder.Write("a.txt", "one\r\ntwo\r\nthree");
    EXPECT_EQ(1, view.LoadFile(file.c_str()));
    EXPECT_EQ(1, view.countCalls);
    EXPECT_EQ("one\r\ntwo\r\nthree", view.countedBytes);  // the hook sees the bytes before indexing
    EXPECT_EQ(15u, view.bytesRead);
    EXPECT_EQ((std::vector<std::string>{"one", "two", "three"}), AllLines(view));
    EXPECT_GE(view.changedCalls, 1);

    const std::string empty = folder.Write("empty.txt", "");
    EXPECT_EQ(1, view.LoadFile(empty.c_str()));
    EXPECT_EQ(0u, view.bytesRead);
    EXPECT_EQ(1, view.lineCount);
    EXPECT_EQ("", LineText(view, 0));
}

TEST(LoadFile, ResetsPositionsAndSelection)
{
    TempFolder folder;
    ProbeView view;
    const std::string file = folder.Write("a.txt", NumberedLines(50));
    ASSERT_EQ(1, view.LoadFile(file.c_str()));
    view.topLine = 20;
    view.cursorRow = 3;
    view.cursorColumn = 4;
    view.leftColumn = 5;
    view.hasSelection = 1;
    view.selStartLine = 21;
    view.selStartIndex = 1;
    view.selEndLine = 22;
    view.selEndIndex = 2;
    ASSERT_EQ(1, view.LoadFile(file.c_str()));
    EXPECT_EQ(0, view.topLine);
    EXPECT_EQ(0, view.cursorRow);
    EXPECT_EQ(0, view.cursorColumn);
    EXPECT_EQ(0, view.leftColumn);
    EXPECT_EQ(0, view.hasSelection);
    EXPECT_EQ(0, view.selStartLine + view.selStartIndex + view.selEndLine + view.selEndIndex);
}

TEST(LoadFile, RejectedFileKeepsItsBytesButNoLines)
{
    TempFolder folder;
    ProbeView view;
    view.countResult = 0;
    const std::string file = folder.Write("a.txt", "no match here\nat all");
    EXPECT_EQ(-2, view.LoadFile(file.c_str()));
    EXPECT_EQ(0, view.lineCount);
    EXPECT_EQ(20u, view.bytesRead);
    EXPECT_EQ(0, memcmp(view.buffer, "no match here\nat all", 20));
}

TEST(LoadFile, MissingFileOrFolderCannotBeOpened)
{
    TempFolder folder;
    ProbeView view;
    ASSERT_EQ(1, view.LoadFile(folder.Write("a.txt", "x\ny").c_str()));
    EXPECT_EQ(0, view.LoadFile(folder.Name("missing.txt").c_str()));
    EXPECT_EQ(0, view.lineCount);
    EXPECT_EQ(0u, view.bytesRead);
    EXPECT_EQ(0, view.LoadFile(folder.path.c_str()));
    EXPECT_EQ(1, view.countCalls);
}

TEST(LoadFile, SmallerFileReusesTheBufferAndLargerOneReplacesIt)
{
    TempFolder folder;
    ProbeView view;
    ASSERT_EQ(1, view.LoadFile(folder.Write("big.txt", std::string(1000, 'b')).c_str()));
    EXPECT_EQ(1016u, view.bufferCapacity);
    ASSERT_EQ(1, view.LoadFile(folder.Write("small.txt", std::string(10, 's')).c_str()));
    EXPECT_EQ(1016u, view.bufferCapacity);
    EXPECT_EQ(10u, view.bytesRead);
    EXPECT_EQ(std::string(10, 's'), LineText(view, 0));
    ASSERT_EQ(1, view.LoadFile(folder.Write("edge.txt", std::string(1000, 'e')).c_str()));
    EXPECT_EQ(1016u, view.bufferCapacity);  // size below the capacity still fits
    ASSERT_EQ(1, view.LoadFile(folder.Write("bigger.txt", std::string(1016, 'g')).c_str()));
    EXPECT_EQ(1032u, view.bufferCapacity);
    EXPECT_EQ(1016u, view.bytesRead);
}

TEST(LoadFile, AReadThatFailsAfterTheOpenMakesTheFileUnread)
{
    TempFolder folder;
    const std::string file = folder.Write("large.txt", std::string(2 * kReadPart + 100, 'x'));
    ProbeView view;
    EXPECT_EQ(1, view.LoadFile(file.c_str()));
    EXPECT_EQ(3, view.readCalls);  // in parts, and once the size is met no read asks for the slack alone
    view.failingRead = 5;  // the next load's second part, as under a range another program has locked
    EXPECT_EQ(0, view.LoadFile(file.c_str()));
    EXPECT_EQ(1, view.countCalls);
    EXPECT_EQ(0u, view.bytesRead);
    EXPECT_EQ(0, view.lineCount);
}

// Another process holding a file open as an editor or a log writer would: this test program,
// started again as a helper, holds it with the sharing given until the holder goes.
class FileHolder {
public:
    FileHolder(const std::string& file, DWORD sharing)
    {
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        HANDLE inputRead = nullptr, outputWrite = nullptr;
        if (!CreatePipe(&inputRead, &inputWrite, &inherit, 0) || !CreatePipe(&outputRead, &outputWrite, &inherit, 0))
            return;
        SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(outputRead, HANDLE_FLAG_INHERIT, 0);
        char exe[MAX_PATH];
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string command = std::string("\"") + exe +
                              "\" --gtest_also_run_disabled_tests --gtest_filter=LoadFileHelper.DISABLED_HoldFileUntilInputEnds";
        char share[16];
        wsprintfA(share, "%lu", sharing);
        SetEnvironmentVariableA("SEEKWORD_HOLD_FILE", file.c_str());
        SetEnvironmentVariableA("SEEKWORD_HOLD_SHARE", share);
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = inputRead;
        startup.hStdOutput = outputWrite;
        startup.hStdError = outputWrite;
        started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                                 &startup, &child) != FALSE;
        SetEnvironmentVariableA("SEEKWORD_HOLD_FILE", nullptr);
        SetEnvironmentVariableA("SEEKWORD_HOLD_SHARE", nullptr);
        CloseHandle(inputRead);
        CloseHandle(outputWrite);
        const DWORD begin = GetTickCount();
        while (started && output.find("held\n") == std::string::npos && output.find("fail\n") == std::string::npos &&
               GetTickCount() - begin < 20000) {
            DWORD available = 0;
            if (!PeekNamedPipe(outputRead, nullptr, 0, nullptr, &available, nullptr))
                break;
            if (!available) {
                Sleep(10);
                continue;
            }
            char chunk[512];
            DWORD got = 0;
            if (ReadFile(outputRead, chunk, sizeof(chunk), &got, nullptr))
                output.append(chunk, got);
        }
    }
    ~FileHolder() { Release(); }

    bool Holds() const { return output.find("held\n") != std::string::npos; }
    // End of input: the helper lets go of the file and ends.
    void Release()
    {
        if (inputWrite)
            CloseHandle(inputWrite);
        inputWrite = nullptr;
        if (started) {
            if (WaitForSingleObject(child.hProcess, 20000) != WAIT_OBJECT_0)
                TerminateProcess(child.hProcess, 1);
            WaitForSingleObject(child.hProcess, 5000);
            CloseHandle(child.hThread);
            CloseHandle(child.hProcess);
            started = false;
        }
        if (outputRead)
            CloseHandle(outputRead);
        outputRead = nullptr;
    }

    std::string output;

private:
    HANDLE inputWrite = nullptr;
    HANDLE outputRead = nullptr;
    PROCESS_INFORMATION child = {};
    bool started = false;
};

TEST(LoadFile, FileHeldOpenWithoutSharingCannotBeOpened)
{
    TempFolder folder;
    ProbeView view;
    const std::string file = folder.Write("held.txt", "held\n");
    HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(0, view.LoadFile(file.c_str()));
    EXPECT_EQ(0, view.lineCount);
    CloseHandle(held);
    EXPECT_EQ(1, view.LoadFile(file.c_str()));

    // The same when another process holds it.
    FileHolder holder(file, 0);
    ASSERT_TRUE(holder.Holds()) << holder.output;
    EXPECT_EQ(0, view.LoadFile(file.c_str()));
    holder.Release();
    EXPECT_EQ(1, view.LoadFile(file.c_str()));
}

TEST(LoadFile, FileAnotherProgramHoldsOpenForWritingIsRead)
{
    TempFolder folder;
    ProbeView view;
    const std::string file = folder.Write("log.txt", "first line\nsecond line");
    FileHolder writer(file, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(writer.Holds()) << writer.output;
    EXPECT_EQ(1, view.LoadFile(file.c_str()));
    EXPECT_EQ((std::vector<std::string>{"first line", "second line"}), AllLines(view));
}

// Runs only inside the helper process started above: holds the named file open for reading and
// writing, with the sharing named, until its standard input ends.
TEST(LoadFileHelper, DISABLED_HoldFileUntilInputEnds)
{
    char path[MAX_PATH];
    char share[16] = "0";
    if (!GetEnvironmentVariableA("SEEKWORD_HOLD_FILE", path, MAX_PATH))
        GTEST_SKIP() << "only run as a helper";
    GetEnvironmentVariableA("SEEKWORD_HOLD_SHARE", share, sizeof share);
    HANDLE held = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, static_cast<DWORD>(atol(share)), nullptr,
                              OPEN_EXISTING, 0, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), held != INVALID_HANDLE_VALUE ? "held\n" : "fail\n", 5, &written,
              nullptr);
    char c;
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &got, nullptr) && got) {
    }
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
}

TEST(LoadFile, HitThatCannotBeHeldIsTooLargeToShow)
{
#ifdef _WIN64
    GTEST_SKIP() << "a 64-bit process can usually allocate 3 GiB";
#else
    TempFolder folder;
    ProbeView view;
    ASSERT_EQ(1, view.LoadFile(folder.Write("small.txt", "small").c_str()));
    const std::string file = folder.Name("large.bin");
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    // UTF-16 is shown converted, from memory; text kept as it stands would be shown from the file.
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(h, "\xFF\xFEu\0", 4, &written, nullptr));
    LARGE_INTEGER end;
    end.QuadPart = 0xC0000000LL;  // 3 GiB does not fit into a 32-bit process's free address space
    ASSERT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(h));
    CloseHandle(h);
    // Counted in parts, a hit, and then too large to be read whole.
    view.showableLargest = 0xC0000000ull;
    EXPECT_EQ(kLoadTooLarge, view.LoadFile(file.c_str()));
    EXPECT_EQ(nullptr, view.buffer);
    EXPECT_EQ(0u, view.bufferCapacity);
    EXPECT_EQ(1, view.LoadFile(folder.files[0].c_str()));
    EXPECT_EQ(21u, view.bufferCapacity);
#endif
}

// Shown from the disk, a 32-bit build shows text past 2 GiB: offsets beyond 31 bits find their lines.
TEST(LoadFile, HitPastTwoGigabytesIsShownFromTheDisk)
{
#ifdef _WIN64
    GTEST_SKIP() << "offsets past 31 bits matter on a 32-bit build";
#else
    TempFolder folder;
    ProbeView view;
    // NUL bytes that cost no disk, shown in pieces of 255, then a last line.
    constexpr unsigned long long kZeros = 0x90000000ull;
    ASSERT_EQ(1, view.LoadFile(folder.Write("large.log", "\r\nthe end", static_cast<long long>(kZeros)).c_str()));
    const int pieces = static_cast<int>((kZeros + 254) / 255);
    ASSERT_EQ(pieces + 1, view.lineCount);
    EXPECT_EQ("the end", LineText(view, pieces));
    const size_t past31Bits = 0x80000005u;
    EXPECT_EQ(static_cast<int>(past31Bits / 255), view.LineAtOffset(past31Bits));
    EXPECT_EQ(pieces, view.LineAtOffset(static_cast<size_t>(kZeros + 2)));
#endif
}

TEST(LoadFile, HandleWithoutASizeIsAFailedOpen)
{
    // A named pipe opens for reading like a file but has no size to ask for.
    char name[64];
    wsprintfA(name, "\\\\.\\pipe\\seekword_tv_%lu", GetCurrentProcessId());
    HANDLE server = CreateNamedPipeA(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 2, 64, 64, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, server);
    HANDLE probe = CreateFileA(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, probe);
    LARGE_INTEGER size;
    const BOOL sized = GetFileSizeEx(probe, &size);
    const DWORD error = GetLastError();
    CloseHandle(probe);
    DisconnectNamedPipe(server);
    if (sized) {
        CloseHandle(server);
        GTEST_SKIP() << "this system gives a pipe a size";
    }
    RecordProperty("SizeError", static_cast<int>(error));
    // A fresh instance for the load, which tells afterwards whether the load did open it.
    HANDLE listening = CreateNamedPipeA(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_NOWAIT, 2, 64, 64, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, listening);
    ProbeView view;
    EXPECT_EQ(0, view.LoadFile(name));
    EXPECT_EQ(0, view.countCalls);
    EXPECT_EQ(0u, view.bytesRead);
    EXPECT_FALSE(ConnectNamedPipe(listening, nullptr));
    EXPECT_NE(static_cast<DWORD>(ERROR_PIPE_LISTENING), GetLastError());  // the open itself succeeded
    CloseHandle(listening);
    CloseHandle(server);
}

} // namespace

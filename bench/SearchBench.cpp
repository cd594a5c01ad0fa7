// Times the search core on a folder tree: the walk, whole-file reads as the loader does them, and the count.
#include "search/ExtensionFilter.h"
#include "search/FolderWalker.h"
#include "search/Matcher.h"
#include "search/SearchOptions.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr DWORD kBufferSpare = 16;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The loader holds a file in one block with its spare bytes behind it.
constexpr ULONGLONG kLargestFile = MAXDWORD - kBufferSpare;

class Stopwatch {
public:
    Stopwatch()
    {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        ticksPerSecond = static_cast<double>(frequency.QuadPart);
    }
    void Start() { QueryPerformanceCounter(&started); }
    void Stop()
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        total += now.QuadPart - started.QuadPart;
    }
    double Seconds() const { return static_cast<double>(total) / ticksPerSecond; }

private:
    double ticksPerSecond = 1;
    LARGE_INTEGER started = {};
    LONGLONG total = 0;
};

// Phase timing costs a clock read per step, so it is only done when asked for.
class PhaseClock {
public:
    explicit PhaseClock(bool on) : on(on) {}
    void Start(Stopwatch& watch)
    {
        if (on)
            watch.Start();
    }
    void Stop(Stopwatch& watch)
    {
        if (on)
            watch.Stop();
    }

private:
    bool on;
};

// The loader's file buffer: fixed global memory that only grows, with 16 spare bytes.
struct FileBuffer {
    char* bytes = nullptr;
    DWORD capacity = 0;
};

// One whole-file read as the loader does it; 0 when the file cannot be opened or held.
int ReadWhole(const char* path, FileBuffer& buffer, DWORD& bytesRead)
{
    bytesRead = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || static_cast<ULONGLONG>(size.QuadPart) > kLargestFile) {
        CloseHandle(file);
        return 0;
    }
    const DWORD length = static_cast<DWORD>(size.QuadPart);
    if (length >= buffer.capacity) {
        if (buffer.bytes)
            GlobalFree(buffer.bytes);
        buffer.capacity = 0;
        buffer.bytes = static_cast<char*>(GlobalAlloc(GMEM_FIXED, length + kBufferSpare));
        if (!buffer.bytes) {
            CloseHandle(file);
            return 0;
        }
        buffer.capacity = length + kBufferSpare;
    }
    const DWORD request = buffer.capacity - length > kBufferSpare ? length + kBufferSpare : buffer.capacity;
    ReadFile(file, buffer.bytes, request, &bytesRead, nullptr);
    CloseHandle(file);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: SearchBench folder text [case-sensitive 0|1] [phases]\n");
        return 2;
    }
    const char* folderArgument = argv[1];
    const int caseSensitive = argc > 3 ? std::atoi(argv[3]) != 0 : 0;
    const bool phases = argc > 4 && std::strcmp(argv[4], "phases") == 0;

    char pathPattern[FolderWalker::kFolderSize];
    int folderLength = lstrlenA(folderArgument);
    const char* tail = folderLength > 0 && (folderArgument[folderLength - 1] == '\\' ||
                                            folderArgument[folderLength - 1] == '/')
                           ? "*.*"
                           : "\\*.*";
    if (folderLength + lstrlenA(tail) >= FolderWalker::kFolderSize) {
        std::fprintf(stderr, "SearchBench: folder path too long\n");
        return 2;
    }
    wsprintfA(pathPattern, "%s%s", folderArgument, tail);

    lstrcpynA(searchOptions.searchText, argv[2], kSearchTextSize);
    searchOptions.caseSensitive = caseSensitive;
    searchOptions.allFiles = 1;
    if (!caseSensitive)
        FoldCase(searchOptions.searchText);

    Stopwatch walkTime, readTime, countTime, allTime;
    PhaseClock clock(phases);
    FileBuffer buffer;
    FolderWalker walker;
    char path[FolderWalker::kOutputSize];
    unsigned long long bytes = 0, matches = 0;
    unsigned long files = 0, opened = 0, unread = 0, hits = 0;

    allTime.Start();
    clock.Start(walkTime);
    walker.Begin(pathPattern, 1, 0);
    for (;;) {
        const int listed = walker.Next(path);
        const int accepted = listed != FolderWalker::kWalkOver && ExtensionAccepted(walker.EntryName());
        clock.Stop(walkTime);
        if (listed == FolderWalker::kWalkOver)
            break;
        const int reached = listed == FolderWalker::kFile && !FolderWalker::IsOnlineOnly(walker.EntryAttributes());
        if (accepted && !reached) {
            ++files;
            ++unread;
        } else if (accepted) {
            ++files;
            // Every file is opened, empty ones too, as the program does: a listing's size can be stale
            // (a file another program is writing), so only the opened file's own size counts.
            DWORD bytesRead = 0;
            clock.Start(readTime);
            const int read = ReadWhole(path, buffer, bytesRead);
            clock.Stop(readTime);
            if (read) {
                ++opened;
                bytes += bytesRead;
                clock.Start(countTime);
                const DWORD count = CountInFile(buffer.bytes, bytesRead, searchOptions.searchText, caseSensitive);
                clock.Stop(countTime);
                if (count) {
                    ++hits;
                    matches += count;
                }
            } else {
                ++unread;
            }
        }
        clock.Start(walkTime);
    }
    const unsigned long foldersLeft = walker.FoldersNotSearched();
    walker.Reset();
    allTime.Stop();
    if (buffer.bytes)
        GlobalFree(buffer.bytes);

    std::printf("folder: %s\n", folderArgument);
    std::printf("text: %s (%s)\n", searchOptions.searchText, caseSensitive ? "case sensitive" : "any case");
    std::printf("count: %s\n", CountUsesSse2() ? "SSE2" : "portable");
    std::printf("files visited: %lu\n", files);
    std::printf("files read: %lu\n", opened);
    std::printf("files not read: %lu\n", unread);
    std::printf("folders not searched: %lu\n", foldersLeft);
    std::printf("bytes read: %llu\n", bytes);
    std::printf("hits: %lu\n", hits);
    std::printf("occurrences: %llu\n", matches);
    if (phases) {
        std::printf("walk seconds: %.3f\n", walkTime.Seconds());
        std::printf("read seconds: %.3f\n", readTime.Seconds());
        std::printf("count seconds: %.3f\n", countTime.Seconds());
    }
    std::printf("seconds: %.3f\n", allTime.Seconds());
    return 0;
}

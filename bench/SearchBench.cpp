// Times the search core on a folder tree: the walk, whole-file reads as the loader does them, and the count.
#include "search/ExtensionFilter.h"
#include "search/FolderWalker.h"
#include "search/Matcher.h"
#include "search/SearchOptions.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr DWORD kFirstCountBuffer = 64000;
constexpr DWORD kBufferSpare = 16;

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

// The loader's file buffer: fixed global memory that only grows, with 16 spare bytes.
struct FileBuffer {
    char* bytes = nullptr;
    DWORD capacity = 0;
};

// One whole-file read exactly as the loader does it; 0 when the file cannot be opened or held.
int ReadWhole(const char* path, FileBuffer& buffer, DWORD& bytesRead)
{
    bytesRead = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD size = GetFileSize(file, nullptr);
    if (size >= buffer.capacity) {
        if (buffer.bytes)
            GlobalFree(buffer.bytes);
        buffer.bytes = nullptr;
        buffer.capacity = 0;
        if (size <= MAXDWORD - kBufferSpare)
            buffer.bytes = static_cast<char*>(GlobalAlloc(GMEM_FIXED, size + kBufferSpare));
        if (!buffer.bytes) {
            CloseHandle(file);
            return 0;
        }
        buffer.capacity = size + kBufferSpare;
    }
    ReadFile(file, buffer.bytes, buffer.capacity, &bytesRead, nullptr);
    CloseHandle(file);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: SearchBench folder text [case-sensitive 0|1]\n");
        return 2;
    }
    const char* folderArgument = argv[1];
    int caseSensitive = argc > 3 ? std::atoi(argv[3]) != 0 : 0;

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

    if (!AcquireCountBuffer(kFirstCountBuffer)) {
        std::fprintf(stderr, "SearchBench: out of memory\n");
        return 1;
    }

    Stopwatch walkTime, readTime, countTime, allTime;
    FileBuffer buffer;
    FolderWalker walker;
    char path[FolderWalker::kOutputSize];
    unsigned long long bytes = 0, matches = 0;
    unsigned long files = 0, opened = 0, hits = 0, memoryFailures = 0;

    allTime.Start();
    walkTime.Start();
    walker.Begin(pathPattern, 1, 0);
    for (;;) {
        int more = walker.Next(path);
        int accepted = more && ExtensionAccepted(path);
        walkTime.Stop();
        if (!more)
            break;
        if (accepted) {
            ++files;
            DWORD bytesRead = 0;
            readTime.Start();
            int read = ReadWhole(path, buffer, bytesRead);
            readTime.Stop();
            if (read) {
                ++opened;
                bytes += bytesRead;
                countTime.Start();
                DWORD count = 0;
                char* copy = AcquireCountBuffer(bytesRead + 2);
                if (copy) {
                    PrepareCountCopy(copy, buffer.bytes, bytesRead, caseSensitive);
                    PreparePattern(searchOptions.patternArea);
                    count = CountOccurrences(bytesRead);
                } else {
                    ++memoryFailures;
                }
                countTime.Stop();
                if (count) {
                    ++hits;
                    matches += count;
                }
            }
        }
        walkTime.Start();
    }
    walker.Reset();
    allTime.Stop();
    if (buffer.bytes)
        GlobalFree(buffer.bytes);

    std::printf("folder: %s\n", folderArgument);
    std::printf("text: %s (%s)\n", searchOptions.searchText, caseSensitive ? "case sensitive" : "any case");
    std::printf("files visited: %lu\n", files);
    std::printf("files read: %lu\n", opened);
    std::printf("bytes read: %llu\n", bytes);
    std::printf("hits: %lu\n", hits);
    std::printf("occurrences: %llu\n", matches);
    if (memoryFailures)
        std::printf("out of memory: %lu\n", memoryFailures);
    std::printf("walk seconds: %.3f\n", walkTime.Seconds());
    std::printf("read seconds: %.3f\n", readTime.Seconds());
    std::printf("count seconds: %.3f\n", countTime.Seconds());
    std::printf("total seconds: %.3f\n", allTime.Seconds());
    return 0;
}

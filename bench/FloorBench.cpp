// The floor of a tree search: lists each folder once, opens, sizes and reads each file whole, nothing else.
#include <windows.h>

#include <cstdio>
#include <new>

namespace {

constexpr int kPathSize = MAX_PATH;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

struct Totals {
    unsigned long files = 0;
    unsigned long unread = 0;
    unsigned long long bytes = 0;
    char* buffer = nullptr;
    DWORD capacity = 0;
};

void ReadWhole(const char* path, Totals& totals)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ++totals.unread;
        return;
    }
    DWORD size = GetFileSize(file, nullptr);
    if (size >= totals.capacity) {
        if (totals.buffer)
            GlobalFree(totals.buffer);
        totals.buffer = static_cast<char*>(GlobalAlloc(GMEM_FIXED, size + 16));
        totals.capacity = totals.buffer ? size + 16 : 0;
    }
    DWORD bytesRead = 0;
    if (totals.buffer && ReadFile(file, totals.buffer, size, &bytesRead, nullptr)) {
        ++totals.files;
        totals.bytes += bytesRead;
    } else {
        ++totals.unread;
    }
    CloseHandle(file);
}

// Files first, as they come; the subfolders named in the same listing afterwards.
void Walk(char* folder, int length, Totals& totals)
{
    if (length + 2 >= kPathSize)
        return;
    folder[length] = '*';
    folder[length + 1] = '\0';
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(folder, &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    char* subfolders = nullptr;
    size_t used = 0, capacity = 0;
    do {
        int nameLength = lstrlenA(entry.cFileName);
        if (length + nameLength + 1 >= kPathSize)
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (entry.cFileName[0] == '.')
                continue;
            if (used + nameLength + 1 > capacity) {
                size_t grown = capacity * 2 + nameLength + 256;
                char* larger = new (std::nothrow) char[grown];
                if (!larger)
                    continue;
                if (subfolders)
                    CopyMemory(larger, subfolders, used);
                delete[] subfolders;
                subfolders = larger;
                capacity = grown;
            }
            CopyMemory(subfolders + used, entry.cFileName, nameLength + 1);
            used += nameLength + 1;
        } else {
            CopyMemory(folder + length, entry.cFileName, nameLength + 1);
            ReadWhole(folder, totals);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    for (size_t at = 0; at < used;) {
        int nameLength = lstrlenA(subfolders + at);
        CopyMemory(folder + length, subfolders + at, nameLength);
        folder[length + nameLength] = '\\';
        Walk(folder, length + nameLength + 1, totals);
        at += nameLength + 1;
    }
    delete[] subfolders;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: FloorBench folder\n");
        return 2;
    }
    char folder[kPathSize];
    int length = lstrlenA(argv[1]);
    if (length + 2 >= kPathSize) {
        std::fprintf(stderr, "FloorBench: folder path too long\n");
        return 2;
    }
    lstrcpynA(folder, argv[1], kPathSize);
    if (length > 0 && folder[length - 1] != '\\' && folder[length - 1] != '/')
        folder[length++] = '\\';

    LARGE_INTEGER frequency, started, ended;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&started);
    Totals totals;
    Walk(folder, length, totals);
    QueryPerformanceCounter(&ended);
    if (totals.buffer)
        GlobalFree(totals.buffer);

    std::printf("files read: %lu\n", totals.files);
    std::printf("bytes read: %llu\n", totals.bytes);
    std::printf("not read: %lu\n", totals.unread);
    std::printf("seconds: %.3f\n",
                static_cast<double>(ended.QuadPart - started.QuadPart) / static_cast<double>(frequency.QuadPart));
    return 0;
}

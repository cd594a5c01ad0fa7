// The shown file's bytes, read where the view asks for them. No handle is kept between reads, so other
// programs may write, truncate, rotate or delete the file as they could before it was shown.
#include "textview/ShownFile.h"

#include <cstring>
#include <new>

ShownFile::~ShownFile()
{
    Close();
}

int ShownFile::Open(const char* filePath, HANDLE file, size_t fileSize)
{
    Close();
    BY_HANDLE_FILE_INFORMATION info;
    identified = GetFileInformationByHandle(file, &info) != 0;
    const size_t length = strlen(filePath);
    path = new (std::nothrow) char[length + 1];
    window = new (std::nothrow) char[kWindowSize];
    if (!path || !window) {
        Close();
        return 0;
    }
    memcpy(path, filePath, length + 1);
    if (identified) {
        volume = info.dwVolumeSerialNumber;
        indexHigh = info.nFileIndexHigh;
        indexLow = info.nFileIndexLow;
    }
    size = fileSize;
    return 1;
}

void ShownFile::Close()
{
    delete[] path;
    delete[] window;
    path = window = nullptr;
    size = 0;
    windowStart = windowLength = 0;
}

// A file put in the shown one's place has other bytes at the indexed offsets: it is not read.
HANDLE ShownFile::OpenSameFile() const
{
    if (!path)
        return INVALID_HANDLE_VALUE;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info;
    if (file != INVALID_HANDLE_VALUE && identified &&
        (!GetFileInformationByHandle(file, &info) || info.dwVolumeSerialNumber != volume ||
         info.nFileIndexHigh != indexHigh || info.nFileIndexLow != indexLow)) {
        CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
    return file;
}

size_t ShownFile::ReadFrom(HANDLE file, size_t offset, char* destination, size_t wanted)
{
    size_t total = 0;
    while (file != INVALID_HANDLE_VALUE && total < wanted) {
        const unsigned long long at = static_cast<unsigned long long>(offset) + total;
        OVERLAPPED position = {};
        position.Offset = static_cast<DWORD>(at);
        position.OffsetHigh = static_cast<DWORD>(at >> 32);
        const size_t left = wanted - total;
        const DWORD part = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!ReadFile(file, destination + total, part, &got, &position) || got == 0 || got > part)
            break;
        total += got;
    }
    return total;
}

// Nearby lines share the window, which starts at the page boundary before the line asked for.
const char* ShownFile::Bytes(size_t offset, size_t length)
{
    constexpr size_t kPage = 4096;
    if (!window || length > kWindowSize - kPage)
        return nullptr;
    if (offset < windowStart || offset - windowStart > windowLength || windowLength - (offset - windowStart) < length) {
        windowStart = offset & ~(kPage - 1);
        HANDLE file = OpenSameFile();
        windowLength = ReadFrom(file, windowStart, window, kWindowSize);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        // A file cut short since it was indexed: what is gone reads as NUL, and is asked for again next time.
        if (offset + length - windowStart > windowLength) {
            memset(window + windowLength, 0, kWindowSize - windowLength);
            windowLength = 0;
        }
    }
    return window + (offset - windowStart);
}

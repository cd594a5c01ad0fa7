// A large file shown from the disk rather than held in memory: read again, by its path, where it is
// shown, and only while it is still the file that was indexed.
#pragma once
#include <windows.h>

#include <cstddef>

class ShownFile {
public:
    static constexpr size_t kWindowSize = 64u << 10;  // longer than any display line

    ShownFile() = default;
    ~ShownFile();
    ShownFile(const ShownFile&) = delete;
    ShownFile& operator=(const ShownFile&) = delete;

    // The file at path, open as file, of size bytes; 0 without memory.
    int Open(const char* path, HANDLE file, size_t size);
    void Close();
    bool InUse() const { return path != nullptr; }
    size_t Size() const { return size; }
    // The bytes [offset, offset + length), length well below kWindowSize; bytes the file no longer has
    // read as NUL.
    const char* Bytes(size_t offset, size_t length);
    // The file, opened again for reading; INVALID_HANDLE_VALUE when another file has taken its name.
    HANDLE OpenSameFile() const;
    // Up to size bytes from offset into destination; how many there were.
    static size_t ReadFrom(HANDLE file, size_t offset, char* destination, size_t size);

private:
    char* path = nullptr;
    // Which file it is, should another take its name; a file system that cannot tell is taken at its word.
    bool identified = false;
    DWORD volume = 0, indexHigh = 0, indexLow = 0;
    size_t size = 0;
    char* window = nullptr;
    size_t windowStart = 0;
    size_t windowLength = 0;  // bytes of the window that hold the file; 0: nothing read yet
};

// One display line of the loaded file: where it starts in the file buffer and how many bytes it has.
#pragma once
#include <windows.h>

#include <cstddef>

// Eight bytes a line: a 48-bit offset reaches far past any file a process can hold, and a display line
// has at most 255 bytes. Millions of lines make the index's size matter.
struct LineEntry {
    size_t Start() const { return static_cast<size_t>(static_cast<unsigned long long>(startHigh) << 32 | startLow); }
    int Length() const { return length; }
    void Set(size_t start, int bytes)
    {
        startLow = static_cast<DWORD>(start);
        startHigh = static_cast<WORD>(static_cast<unsigned long long>(start) >> 32);
        length = static_cast<WORD>(bytes);
    }

    DWORD startLow;  // the offset of the first byte in the view's buffer, low 32 bits
    WORD startHigh;  // and the next 16
    WORD length;     // bytes without the line break, at most the view's maxLineLength
};

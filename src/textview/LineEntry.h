// One display line of the loaded file: where it starts in the file buffer and how many bytes it has.
#pragma once
#include <windows.h>

struct LineEntry {
    DWORD start;  // offset of the first byte in the view's buffer
    int length;   // bytes without the line break, at most the view's maxLineLength
};

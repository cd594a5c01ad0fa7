// Counting a literal text over a whole file with a skip table, and finding it within one line.
#pragma once
#include <windows.h>

extern int ShiftTable[128];

// The count buffer: byte 0 is a sentinel, the prepared copy starts at the returned byte 1.
// size is the copy's length + 2; a size below 2 (that sum wrapped) fails with null.
char* AcquireCountBuffer(DWORD size);

// The copy-and-fold step of counting: copies n bytes into copy, NUL and 0x80-0xFF become spaces,
// and A-Z are lowered unless caseSensitive.
void PrepareCountCopy(char* copy, const char* bytes, DWORD n, int caseSensitive);

// p points at the reserved byte in front of the search text.
void PreparePattern(char* p);

// Occurrences of the prepared pattern in bytes 1..n of the count buffer.
DWORD CountOccurrences(DWORD n);

const char* FindInText(const char* text, const char* s);
char* FoldCase(char* s);

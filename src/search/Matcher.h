// Counting a literal text over a whole file, from a prepared copy or in one pass, and finding it in the file or one line.
#pragma once
#include <windows.h>

#include "framework/Sse2.h"
#include "textview/CodePageText.h"

extern int ShiftTable[256];

// Takes the code page's case folding of 0x80-0xFF, for FoldCase and the count; once per search. Until then
// the first use takes it.
void PrepareFolding();
// The same from the lower-case form of each byte 0x80-0xFF (highLower[c - 0x80]; null: none folds).
void PrepareFolding(const unsigned char* highLower);

// The count buffer: byte 0 is a sentinel, the prepared copy starts at the returned byte 1.
// size is the copy's length + 2; a size below 2 (that sum wrapped) fails with null.
char* AcquireCountBuffer(DWORD size);

// The copy-and-fold step of counting: copies n bytes into copy, NUL becomes a space, and unless caseSensitive
// each byte is folded as FoldCase folds it.
void PrepareCountCopy(char* copy, const char* bytes, DWORD n, int caseSensitive);

// p points at the reserved byte in front of the search text.
void PreparePattern(char* p);

// Occurrences of the prepared pattern in bytes 1..n of the count buffer.
DWORD CountOccurrences(DWORD n);

// The count in one pass over the loaded bytes, without a copy: the occurrences of text (folded beforehand
// when not caseSensitive) in bytes[0, n), reading NUL as a space and, unless caseSensitive, every byte folded;
// the same number as the copy, PreparePattern and CountOccurrences give. Reads no byte past n.
// On a double-byte code page only an occurrence that starts a character counts, bytes[0] being a start, and
// only single-byte characters fold; chars names the code page (the process's ANSI one unless given).
DWORD CountInFile(const char* bytes, size_t n, const char* text, int caseSensitive,
                  const CodePageText& chars = CodePageText::Ansi());

// The two ways CountInFile counts, open to the tests: a skip search on any processor, and 16 bytes at a time
// where the processor has SSE2 (always on x86-64, asked at run time on 32-bit x86).
DWORD CountInFilePortable(const char* bytes, size_t n, const char* text, int caseSensitive,
                          const CodePageText& chars = CodePageText::Ansi());
#if defined(SEEKWORD_HAS_SSE2)
#define SEEKWORD_COUNT_SSE2 1
DWORD CountInFileSse2(const char* bytes, size_t n, const char* text, int caseSensitive,
                      const CodePageText& chars = CodePageText::Ansi());
#endif
int CountUsesSse2();

// The occurrences that start at from..to-1 in bytes[0, n) (read on past to by the text's length), counted as
// CountInFile counts, from starting a character. The count in parts and Find next both go through here, so they agree on every one.
DWORD CountStarting(const char* bytes, size_t n, size_t from, size_t to, const char* text, int caseSensitive,
                    const CodePageText& chars = CodePageText::Ansi());

// Where the first occurrence that starts at from or later in bytes[0, n) starts, as the count counts them;
// n when there is none.
size_t FindInFile(const char* bytes, size_t n, size_t from, const char* text, int caseSensitive,
                 const CodePageText& chars = CodePageText::Ansi());

const char* FindInText(const char* text, const char* s);
// A-Z and the code page's capitals 0x80-0xFF lowered in place; on a double-byte code page only A-Z that are
// characters of their own.
char* FoldCase(char* s);

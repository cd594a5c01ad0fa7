// Splitting a path into its folder part, its name part and its extension; wide names taken into ANSI exactly.
#pragma once

#include "textview/CodePageText.h"

// Paths are read by characters: on a double-byte code page a second byte 0x5C is not a '\'.

// Number of leading bytes of path[0, end) up to and including its last '\', '/' or ':'; 0 without one.
int SeparatedLength(const char* path, int end, const CodePageText& chars = CodePageText::Ansi());

// Whether the last character of path[0, length) is a '\' or '/'.
int EndsWithSeparator(const char* path, int length, const CodePageText& chars = CodePageText::Ansi());

// Number of leading bytes of path that form its folder part: up to and including the last '\', '/'
// or ':' at position 1 or later; 0 when there is none.
int FolderPartLength(const char* path, const CodePageText& chars = CodePageText::Ansi());

// Keeps only the folder part of path, in place; a path without one becomes empty.
void CutToFolder(char* path);

// Copies the name part of path (after the last '\', '/' or ':' past the first byte) into output,
// at most size - 1 bytes and never half a character, always terminated when size is at least 1.
void CopyNamePart(const char* path, char* output, int size, const CodePageText& chars = CodePageText::Ansi());

// The extension of the file name in path: a pointer to its dot; a pointer to the path's terminating
// zero when the name has no dot; null when the path ends in a separator and so names no file.
const char* GetExtension(const char* path, const CodePageText& chars = CodePageText::Ansi());

// The ANSI form of text when the code page holds it exactly, so that converted back it gives the same
// characters: its length in bytes; -1 when it does not (a best-fit or '?' form would name another file or
// none) or when it needs size bytes or more. Texts up to MAX_PATH bytes are taken.
int ExactAnsi(const wchar_t* text, char* output, int size);

// An ANSI path to the place path names: the path itself when the code page holds it, else its short form;
// 0, with output empty, when neither can be had in size bytes.
int AnsiPathTo(const wchar_t* path, char* output, int size);

// Splitting a path into its folder part, its name part and its extension.
#pragma once

// Number of leading bytes of path that form its folder part: up to and including the last '\', '/'
// or ':' at position 1 or later; 0 when there is none.
int FolderPartLength(const char* path);

// Keeps only the folder part of path, in place; a path without one becomes empty.
void CutToFolder(char* path);

// Copies the name part of path (after the last '\', '/' or ':' past the first byte) into output,
// at most size - 1 characters, always terminated when size is at least 1.
void CopyNamePart(const char* path, char* output, int size);

// The extension of the file name in path: a pointer to its dot; a pointer to the path's terminating
// zero when the name has no dot; null when the path ends in a separator and so names no file.
const char* GetExtension(const char* path);

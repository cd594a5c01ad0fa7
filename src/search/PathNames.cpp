// Path splitting shared by the folder walk, the file filter and the search controller, and the exact ANSI
// form of the wide names and paths the system gives.
#include "search/PathNames.h"

#include <windows.h>

namespace {

// Texts converted exactly are at most a path long.
constexpr int kLongestExact = MAX_PATH;

bool IsFolderSeparator(char c)
{
    return c == '\\' || c == '/' || c == ':';
}

bool SameWide(const wchar_t* a, const wchar_t* b)
{
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

}  // namespace

// A separator in the very first byte does not count, so "\name" keeps its backslash as part of the name.
int FolderPartLength(const char* path)
{
    int length = 0;
    for (int i = 1; path[0] && path[i]; ++i) {
        if (IsFolderSeparator(path[i]))
            length = i + 1;
    }
    return length;
}

void CutToFolder(char* path)
{
    path[FolderPartLength(path)] = '\0';
}

void CopyNamePart(const char* path, char* output, int size)
{
    if (size <= 0)
        return;
    lstrcpynA(output, path + FolderPartLength(path), size);
}

// '/' is not a separator here: in a path written with '/' the last dot anywhere wins.
const char* GetExtension(const char* path)
{
    const char* end = path + lstrlenA(path);
    for (const char* p = end; p != path;) {
        --p;
        if (*p == '.')
            return p;
        if (*p == '\\' || *p == ':')
            return p + 1 == end ? nullptr : end;
    }
    return end;
}

// Most names are plain ASCII, which every ANSI code page holds as it is: those need no conversion call.
int ExactAnsi(const wchar_t* text, char* output, int size)
{
    if (size > kLongestExact + 1)
        size = kLongestExact + 1;
    if (size <= 0)
        return -1;
    int length = 0;
    for (; text[length] && text[length] < 0x80; ++length) {
        if (length + 1 >= size) {
            output[0] = '\0';
            return -1;
        }
        output[length] = static_cast<char>(text[length]);
    }
    if (!text[length]) {
        output[length] = '\0';
        return length;
    }
    // No best-fit flags: the round trip tells on every code page, UTF-8 and the double-byte ones included,
    // where those flags are refused or say nothing.
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, output, size, nullptr, nullptr);
    wchar_t back[kLongestExact + 1];
    if (bytes <= 0 || MultiByteToWideChar(CP_ACP, 0, output, -1, back, kLongestExact + 1) <= 0 ||
        !SameWide(text, back)) {
        output[0] = '\0';
        return -1;
    }
    return bytes - 1;
}

int AnsiPathTo(const wchar_t* path, char* output, int size)
{
    if (ExactAnsi(path, output, size) >= 0)
        return 1;
    wchar_t shortPath[kLongestExact + 1];
    const DWORD length = GetShortPathNameW(path, shortPath, kLongestExact + 1);
    if (length > 0 && length <= kLongestExact && ExactAnsi(shortPath, output, size) >= 0)
        return 1;
    if (size > 0)
        output[0] = '\0';
    return 0;
}

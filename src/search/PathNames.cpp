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

int SeparatedLength(const char* path, int end, const CodePageText& chars)
{
    const size_t n = end > 0 ? static_cast<size_t>(end) : 0;
    int length = 0;
    for (size_t i = 0; i < n; i += chars.CharLength(path, i, n)) {
        if (IsFolderSeparator(path[i]))
            length = static_cast<int>(i) + 1;
    }
    return length;
}

int EndsWithSeparator(const char* path, int length, const CodePageText& chars)
{
    if (length <= 0 || (path[length - 1] != '\\' && path[length - 1] != '/'))
        return 0;
    return chars.StartsCharacter(path, static_cast<size_t>(length - 1));
}

// A separator in the very first byte does not count, so "\name" keeps its backslash as part of the name.
int FolderPartLength(const char* path, const CodePageText& chars)
{
    const int length = SeparatedLength(path, lstrlenA(path), chars);
    return length == 1 ? 0 : length;
}

void CutToFolder(char* path)
{
    path[FolderPartLength(path)] = '\0';
}

void CopyNamePart(const char* path, char* output, int size, const CodePageText& chars)
{
    if (size <= 0)
        return;
    const char* name = path + FolderPartLength(path, chars);
    const size_t kept = chars.FitLength(name, static_cast<size_t>(lstrlenA(name)), static_cast<size_t>(size - 1));
    lstrcpynA(output, name, static_cast<int>(kept) + 1);
}

// '/' is not a separator here: in a path written with '/' the last dot anywhere wins.
const char* GetExtension(const char* path, const CodePageText& chars)
{
    const size_t n = static_cast<size_t>(lstrlenA(path));
    const char* end = path + n;
    const char* dot = nullptr;
    const char* separator = nullptr;
    for (size_t i = 0; i < n; i += chars.CharLength(path, i, n)) {
        if (path[i] == '.')
            dot = path + i;
        else if (path[i] == '\\' || path[i] == ':')
            separator = path + i;
    }
    if (dot && (!separator || dot > separator))
        return dot;
    if (separator)
        return separator + 1 == end ? nullptr : end;
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

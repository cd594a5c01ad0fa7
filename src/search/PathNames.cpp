// Path splitting shared by the folder walk, the file filter and the search controller.
#include "search/PathNames.h"

#include <windows.h>

namespace {

bool IsFolderSeparator(char c)
{
    return c == '\\' || c == '/' || c == ':';
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

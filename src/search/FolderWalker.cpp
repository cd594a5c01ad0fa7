// The folder walk: files of a folder first, then each subfolder completely, one open enumeration per level.
#include "search/FolderWalker.h"

#include "search/PathNames.h"

#include <new>

namespace {

// Joins head and tail into destination; 0, with destination left empty, when the result would not fit.
int Join(char* destination, int size, const char* head, int headLength, const char* tail)
{
    int tailLength = lstrlenA(tail);
    if (headLength + tailLength >= size) {
        destination[0] = '\0';
        return 0;
    }
    if (destination != head)
        CopyMemory(destination, head, headLength);
    CopyMemory(destination + headLength, tail, tailLength + 1);
    return 1;
}

bool EndsWithSeparator(const char* path, int length)
{
    return length > 0 && (path[length - 1] == '\\' || path[length - 1] == '/');
}

}  // namespace

FolderWalker::FolderWalker()
    : recurse(0), includeSystemFolders(0), startFolder(0), lastFound(0), depth(-1), spec(nullptr),
      folder(nullptr), pattern(nullptr)
{
    for (int level = 0; level < kLevels; ++level) {
        handles[level] = INVALID_HANDLE_VALUE;
        folderLengths[level] = 0;
    }
}

FolderWalker::~FolderWalker()
{
    Reset();
}

void FolderWalker::CloseLevel(int level)
{
    if (handles[level] != INVALID_HANDLE_VALUE) {
        FindClose(handles[level]);
        handles[level] = INVALID_HANDLE_VALUE;
    }
}

void FolderWalker::Reset()
{
    for (int level = 0; level < kLevels; ++level)
        CloseLevel(level);
    delete[] spec;
    delete[] folder;
    delete[] pattern;
    spec = folder = pattern = nullptr;
    depth = -1;
    startFolder = lastFound = 0;
}

// Every later Next returns 0 at once, without touching a handle.
void FolderWalker::EndWalk()
{
    for (int level = 0; level < kLevels; ++level)
        CloseLevel(level);
    depth = -1;
    startFolder = lastFound = 0;
}

void FolderWalker::Begin(const char* pathPattern, int recurse, int includeSystemFolders)
{
    Reset();
    depth = 0;
    startFolder = 1;
    lastFound = 1;
    this->recurse = recurse;
    this->includeSystemFolders = includeSystemFolders;

    spec = new (std::nothrow) char[kSpecSize];
    pattern = new (std::nothrow) char[kPatternSize];
    folder = new (std::nothrow) char[kFolderSize];
    if (!spec || !pattern || !folder || !pathPattern) {
        EndWalk();
        return;
    }
    spec[0] = pattern[0] = folder[0] = '\0';

    // A folder or pattern that does not fit is not walked at all: a shortened one would name another place.
    int folderLength = FolderPartLength(pathPattern);
    if (folderLength >= kFolderSize || lstrlenA(pathPattern + folderLength) >= kPatternSize) {
        EndWalk();
        return;
    }
    CopyNamePart(pathPattern, pattern, kPatternSize);
    lstrcpynA(folder, pathPattern, folderLength + 1);

    if (folderLength == 0) {
        DWORD length = GetCurrentDirectoryA(kFolderSize, folder);
        if (length == 0 || length >= static_cast<DWORD>(kFolderSize)) {
            EndWalk();
            return;
        }
        folderLength = static_cast<int>(length);
        // A root such as C:\ already ends in its separator.
        if (!EndsWithSeparator(folder, folderLength)) {
            if (folderLength + 1 >= kFolderSize) {
                EndWalk();
                return;
            }
            folder[folderLength++] = '\\';
            folder[folderLength] = '\0';
        }
    }
    folderLengths[0] = folderLength;
}

int FolderWalker::EntersFolder(const WIN32_FIND_DATAA& entry, int includeSystemFolders)
{
    DWORD attributes = entry.dwFileAttributes;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || entry.cFileName[0] == '.')
        return 0;
    // A junction or symbolic link may lead back to an ancestor and repeat the tree.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return 0;
    return includeSystemFolders || !(attributes & FILE_ATTRIBUTE_SYSTEM);
}

// A subfolder whose path would not fit in folder is passed over.
int FolderWalker::EnterSubfolder(const char* name)
{
    int length = folderLengths[depth];
    int nameLength = lstrlenA(name);
    if (length + nameLength + 1 >= kFolderSize)
        return 0;
    CopyMemory(folder + length, name, nameLength);
    length += nameLength;
    folder[length++] = '\\';
    folder[length] = '\0';
    ++depth;
    folderLengths[depth] = length;
    startFolder = 1;
    return 1;
}

int FolderWalker::Next(char* outputPath)
{
    if (depth < 0 || !folder)
        return 0;
    WIN32_FIND_DATAA entry;
    for (;;) {
        // File phase of the current folder.
        if (startFolder) {
            startFolder = 0;
            lastFound = 0;
            if (Join(spec, kSpecSize, folder, folderLengths[depth], pattern)) {
                handles[depth] = FindFirstFileA(spec, &entry);
                lastFound = handles[depth] != INVALID_HANDLE_VALUE;
            }
        } else {
            lastFound = FindNextFileA(handles[depth], &entry);
        }
        while (lastFound) {
            // An entry whose full path would not fit in the caller's buffer is passed over.
            if (Join(outputPath, kOutputSize, folder, folderLengths[depth], entry.cFileName))
                return 1;
            lastFound = FindNextFileA(handles[depth], &entry);
        }
        CloseLevel(depth);
        if (!recurse) {
            EndWalk();
            return 0;
        }

        // Subfolder phase; the deepest level is never scanned for folders.
        lastFound = 0;
        if (depth < kMaxDepth && Join(spec, kSpecSize, folder, folderLengths[depth], "*")) {
            handles[depth] = FindFirstFileA(spec, &entry);
            lastFound = handles[depth] != INVALID_HANDLE_VALUE;
        }
        for (;;) {
            while (lastFound) {
                if (EntersFolder(entry, includeSystemFolders) && EnterSubfolder(entry.cFileName))
                    break;
                lastFound = FindNextFileA(handles[depth], &entry);
            }
            if (lastFound)
                break;  // descended: the new level starts with its file phase
            CloseLevel(depth);
            --depth;
            if (depth < 0) {
                EndWalk();
                return 0;
            }
            folder[folderLengths[depth]] = '\0';
            lastFound = FindNextFileA(handles[depth], &entry);
        }
    }
}

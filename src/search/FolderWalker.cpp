// The folder walk: files of a folder first, then each subfolder completely; one listing per folder for "*.*".
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

// A pattern that every name matches: its listing also names every subfolder.
bool ListsEverything(const char* pattern)
{
    return lstrcmpA(pattern, "*.*") == 0 || lstrcmpA(pattern, "*") == 0;
}

}  // namespace

FolderWalker::FolderWalker()
    : recurse(0), includeSystemFolders(0), startFolder(0), depth(-1), oneListing(0), spec(nullptr),
      folder(nullptr), pattern(nullptr), find(INVALID_HANDLE_VALUE), entrySize(0), entryAttributes(0)
{
    for (int level = 0; level < kLevels; ++level)
        folderLengths[level] = 0;
}

FolderWalker::~FolderWalker()
{
    Reset();
}

void FolderWalker::CloseFind()
{
    if (find != INVALID_HANDLE_VALUE) {
        FindClose(find);
        find = INVALID_HANDLE_VALUE;
    }
}

void FolderWalker::Reset()
{
    EndWalk();
    for (int level = 0; level < kLevels; ++level)
        subfolders[level].Release();
    delete[] spec;
    delete[] folder;
    delete[] pattern;
    spec = folder = pattern = nullptr;
    entrySize = 0;
    entryAttributes = 0;
}

// Every later Next returns 0 at once, without touching a handle.
void FolderWalker::EndWalk()
{
    CloseFind();
    for (int level = 0; level < kLevels; ++level)
        subfolders[level].Clear();
    depth = -1;
    startFolder = 0;
}

void FolderWalker::Begin(const char* pathPattern, int recurse, int includeSystemFolders)
{
    Reset();
    depth = 0;
    startFolder = 1;
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
    oneListing = ListsEverything(pattern);
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

// No real reparse point has tag 0, but Wine lists its symbolic links with the attribute and that tag.
int FolderWalker::IsFolderLink(DWORD attributes, DWORD reparseTag)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           (reparseTag == IO_REPARSE_TAG_MOUNT_POINT || reparseTag == IO_REPARSE_TAG_SYMLINK ||
            reparseTag == IO_REPARSE_TAG_RESERVED_ZERO);
}

// Links may lead back to an ancestor and repeat the tree; other reparse points (cloud files, deduplicated
// folders) hold the user's own files and are entered.
int FolderWalker::EntersFolder(const WIN32_FIND_DATAA& entry, int includeSystemFolders)
{
    DWORD attributes = entry.dwFileAttributes;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || entry.cFileName[0] == '.')
        return 0;
    if (IsFolderLink(attributes, entry.dwReserved0))
        return 0;
    return includeSystemFolders || !(attributes & FILE_ATTRIBUTE_SYSTEM);
}

// The deepest level is never scanned for folders.
int FolderWalker::KeepsSubfolders() const
{
    return recurse && depth < kMaxDepth;
}

// The second listing, for a pattern that does not name every subfolder; read whole so no handle stays open.
void FolderWalker::ListSubfolders()
{
    if (!KeepsSubfolders() || !Join(spec, kSpecSize, folder, folderLengths[depth], "*"))
        return;
    WIN32_FIND_DATAA entry;
    entry.dwReserved0 = 0;
    HANDLE listing = FindFirstFileA(spec, &entry);
    if (listing == INVALID_HANDLE_VALUE)
        return;
    do {
        if (EntersFolder(entry, includeSystemFolders))
            subfolders[depth].Append(entry.cFileName, lstrlenA(entry.cFileName));
        entry.dwReserved0 = 0;
    } while (FindNextFileA(listing, &entry));
    FindClose(listing);
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

// The reparse tag is cleared before every listing call: Wine's ANSI calls leave it unwritten, and a tag
// that stays 0 reads as a link.
int FolderWalker::Next(char* outputPath)
{
    if (depth < 0 || !folder)
        return 0;
    WIN32_FIND_DATAA entry;
    for (;;) {
        // File phase of the current folder; with oneListing it also notes the subfolders to walk.
        int found = 0;
        if (startFolder) {
            startFolder = 0;
            subfolders[depth].Clear();
            if (Join(spec, kSpecSize, folder, folderLengths[depth], pattern)) {
                entry.dwReserved0 = 0;
                find = FindFirstFileA(spec, &entry);
                found = find != INVALID_HANDLE_VALUE;
            }
        } else if (find != INVALID_HANDLE_VALUE) {
            entry.dwReserved0 = 0;
            found = FindNextFileA(find, &entry);
        }
        const int keepSubfolders = oneListing && KeepsSubfolders();
        while (found) {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                // A file whose full path would not fit in the caller's buffer is passed over.
                if (Join(outputPath, kOutputSize, folder, folderLengths[depth], entry.cFileName)) {
                    entrySize = (static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
                    entryAttributes = entry.dwFileAttributes;
                    return 1;
                }
            } else if (keepSubfolders && EntersFolder(entry, includeSystemFolders)) {
                subfolders[depth].Append(entry.cFileName, lstrlenA(entry.cFileName));
            }
            entry.dwReserved0 = 0;
            found = FindNextFileA(find, &entry);
        }
        CloseFind();
        if (!recurse) {
            EndWalk();
            return 0;
        }
        if (!oneListing)
            ListSubfolders();

        // Subfolder phase: each noted subfolder in listing order, then back up to the parent's next one.
        for (;;) {
            const char* name = subfolders[depth].Next();
            if (name) {
                if (EnterSubfolder(name))
                    break;
                continue;
            }
            subfolders[depth].Clear();
            if (--depth < 0) {
                EndWalk();
                return 0;
            }
            folder[folderLengths[depth]] = '\0';
        }
    }
}

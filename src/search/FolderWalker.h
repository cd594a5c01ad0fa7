// Depth-first walk over a folder tree that can stop after any file and resume later.
#pragma once
#include <windows.h>

#include "search/NameList.h"

class FolderWalker {
public:
    static constexpr int kSpecSize = 300;
    static constexpr int kFolderSize = 260;
    static constexpr int kPatternSize = 82;
    static constexpr int kOutputSize = 260;  // the caller's buffer for Next
    static constexpr int kLevels = 16;
    static constexpr int kMaxDepth = kLevels - 1;

    FolderWalker();
    ~FolderWalker();
    FolderWalker(const FolderWalker&) = delete;
    FolderWalker& operator=(const FolderWalker&) = delete;

    void Begin(const char* pathPattern, int recurse, int includeSystemFolders);
    // Writes folder + file name into outputPath (kOutputSize bytes); 0 when the walk is over. Folders are not produced.
    int Next(char* outputPath);
    void Reset();

    // Size in bytes of the file Next produced last, as its folder listing gave it (0 before the first file).
    ULONGLONG EntrySize() const { return entrySize; }
    // Attributes of the file Next produced last, as its folder listing gave them.
    DWORD EntryAttributes() const { return entryAttributes; }

    // Whether the walk descends into this entry.
    static int EntersFolder(const WIN32_FIND_DATAA& entry, int includeSystemFolders);
    // Whether attributes and reparse tag (dwReserved0 of the find data) name a junction, mount point or symbolic
    // link, or a reparse point whose tag is not told.
    static int IsFolderLink(DWORD attributes, DWORD reparseTag);

    int recurse;
    int includeSystemFolders;
    int startFolder;
    int depth;
    int oneListing;  // the pattern lists everything, so the file phase's listing also gives the subfolders
    char* spec;
    char* folder;
    char* pattern;
    HANDLE find;  // the listing of the current folder while its files are produced; at most one is open
    int folderLengths[kLevels];  // length of folder at each level, restored on the way back up
    NameList subfolders[kLevels];  // per level, the subfolders still to walk, in listing order

private:
    void CloseFind();
    void ListSubfolders();
    int KeepsSubfolders() const;
    int EnterSubfolder(const char* name);
    void EndWalk();

    ULONGLONG entrySize;
    DWORD entryAttributes;
};

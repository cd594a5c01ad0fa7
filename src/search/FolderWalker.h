// Depth-first walk over a folder tree that can stop after any file and resume later.
#pragma once
#include <windows.h>

#include "search/NameList.h"

// Cloud placeholders whose contents are online only; older headers lack the value.
#ifndef FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS
#define FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS 0x00400000
#endif

class FolderWalker {
public:
    static constexpr int kSpecSize = 300;
    static constexpr int kFolderSize = 260;
    static constexpr int kPatternSize = 82;
    static constexpr int kOutputSize = 260;  // the caller's buffer for Next
    static constexpr int kListingLength = MAX_PATH - 1;  // the longest folder + pattern a listing takes
    static constexpr int kLevels = 16;
    static constexpr int kMaxDepth = kLevels - 1;

    // What Next found.
    static constexpr int kWalkOver = 0;
    static constexpr int kFile = 1;         // its path is in the output
    static constexpr int kUnnamedFile = 2;  // no ANSI path reaches it; the output is left as it was

    FolderWalker();
    ~FolderWalker();
    FolderWalker(const FolderWalker&) = delete;
    FolderWalker& operator=(const FolderWalker&) = delete;

    void Begin(const char* pathPattern, int recurse, int includeSystemFolders);
    // The next file: its folder + name in outputPath (kOutputSize bytes), or a file no path reaches; kWalkOver
    // when the walk is over. Folders are not produced.
    int Next(char* outputPath);
    void Reset();

    // The name the file filter judges for the file Next produced last: its own name, which its path may give
    // only in the short form (.html cut to .HTM); when the code page cannot hold that name, its extension
    // alone; empty when neither can be had.
    const char* EntryName() const { return entryName; }
    // Size in bytes of the file Next produced last, as its folder listing gave it (0 before the first file).
    ULONGLONG EntrySize() const { return entrySize; }
    // Attributes of the file Next produced last, as its folder listing gave them.
    DWORD EntryAttributes() const { return entryAttributes; }
    // Folders this walk could not search: a start folder it could not list, folders below the deepest level,
    // folders no path reaches and listings that failed.
    DWORD FoldersNotSearched() const { return foldersNotSearched; }

    // Whether the walk descends into this entry.
    static int EntersFolder(const WIN32_FIND_DATAW& entry, int includeSystemFolders);
    // Whether attributes and reparse tag (dwReserved0 of the find data) name a reparse point that stands for
    // another place (a junction, mount point or link), or one whose tag is not told.
    static int IsFolderLink(DWORD attributes, DWORD reparseTag);
    // Whether listed attributes say the file's contents are not on this machine: opening it fetches it whole.
    static int IsOnlineOnly(DWORD attributes);
    // Whether an ANSI path ending in name reaches that very entry: no character a path cannot hold, no
    // trailing dot or space (a path drops them), no device name such as con or com1.log.
    static int NamesItself(const wchar_t* name);

    int recurse;
    int includeSystemFolders;
    int startFolder;
    int depth;
    int oneListing;  // the pattern lists everything, so the file phase's listing also gives the subfolders
    wchar_t* spec;   // the listing's folder + pattern
    char* folder;
    char* pattern;
    HANDLE find;  // the listing of the current folder while its files are produced; at most one is open
    int folderLengths[kLevels];  // length of folder at each level, restored on the way back up
    NameList subfolders[kLevels];  // per level, the subfolders still to walk, in listing order

private:
    void CloseFind();
    HANDLE OpenListing(const char* tail, WIN32_FIND_DATAW& entry);
    int NextEntry(HANDLE listing, WIN32_FIND_DATAW& entry);
    void ListSubfolders();
    void NoteSubfolder(const WIN32_FIND_DATAW& entry);
    int TakeFile(const WIN32_FIND_DATAW& entry, char* outputPath);
    int EnterSubfolder(const char* name);
    void EndWalk();
    void Refuse();

    int patternLength;
    int listingFailed;  // the current folder's own listing failed, so a second one is not tried
    ULONGLONG entrySize;
    DWORD entryAttributes;
    DWORD foldersNotSearched;
    char entryName[kOutputSize];
};

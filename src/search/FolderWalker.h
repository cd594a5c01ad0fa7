// Depth-first walk over a folder tree that can stop after any file and resume later.
#pragma once
#include <windows.h>

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
    // Writes folder + entry name into outputPath (kOutputSize bytes); 0 when the walk is over.
    int Next(char* outputPath);
    void Reset();

    // Whether the subfolder phase descends into this entry.
    static int EntersFolder(const WIN32_FIND_DATAA& entry, int includeSystemFolders);

    int recurse;
    int includeSystemFolders;
    int startFolder;
    int lastFound;
    int depth;
    char* spec;
    char* folder;
    char* pattern;
    HANDLE handles[kLevels];
    int folderLengths[kLevels];  // length of folder at each level, restored on the way back up

private:
    void CloseLevel(int level);
    int EnterSubfolder(const char* name);
    void EndWalk();
};

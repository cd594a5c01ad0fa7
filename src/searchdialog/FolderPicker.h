// The shell's folder picker, handing back the picked folder with a trailing separator.
#pragma once
#include <windows.h>
#include <shlobj.h>

constexpr int kPickerPathSize = 260;
// Location texts hold at most this many characters (the location buffers are 260 bytes).
constexpr int kMaxLocationLength = 258;

// The longest folder a search can walk: its path with the separator, "*.*" and the terminator
// fill the search's 260-byte buffer.
constexpr int kMaxSearchedFolderLength = 256;

// Ends a picked folder in one separator: C:\Projects gives C:\Projects\, the drive root C:\ stays
// C:\. Nonzero when the path ends in a separator afterwards; nothing is appended when the result
// would exceed maxLength characters.
int AppendFolderSeparator(char* path, int maxLength);
// Ends the picked folder in its separator; 0 when the search could not walk it as picked.
int TakePickedFolder(char* path);

class FolderPicker {
public:
    // Null when the buffers cannot be allocated.
    static FolderPicker* Create(HWND owner, bool useCallback);
    ~FolderPicker();
    FolderPicker(const FolderPicker&) = delete;
    FolderPicker& operator=(const FolderPicker&) = delete;

    // True when the user picked a folder with a file-system path, now in pickedPath.
    bool Browse();
    void ReleaseBuffers();

    char* pickedPath;
    char* prompt;
    // The shell's record in wide characters, so a folder the code page cannot hold is still named exactly.
    BROWSEINFOW info;

private:
    FolderPicker();

    wchar_t* widePath;    // the record's display name, then the picked path
    wchar_t* widePrompt;  // the record's title: prompt in wide characters
};

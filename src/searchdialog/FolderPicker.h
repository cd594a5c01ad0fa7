// The shell's folder picker, handing back the picked folder with a trailing separator.
#pragma once
#include <windows.h>
#include <shlobj.h>

constexpr int kPickerPathSize = 260;
// Location texts hold at most this many characters (the location buffers are 260 bytes).
constexpr int kMaxLocationLength = 258;

// Ends a picked folder in one separator: C:\Projects gives C:\Projects\, the drive root C:\ stays
// C:\. Nothing is appended when the result would exceed maxLength characters.
void AppendFolderSeparator(char* path, int maxLength);

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
    BROWSEINFOA info;

private:
    FolderPicker();
};

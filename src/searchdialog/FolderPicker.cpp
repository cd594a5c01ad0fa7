// The folder picker: the shell's browse dialog over the desktop, file-system folders only.
#include "searchdialog/FolderPicker.h"

#include <new>

#include "search/PathNames.h"

namespace {
constexpr UINT kBrowseFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_RETURNFSANCESTORS;
}

// Only a drive root already ends in a separator; a share root such as \\server\share does not.
int AppendFolderSeparator(char* path, int maxLength)
{
    const int length = lstrlenA(path);
    if (length == 0)
        return 0;
    if (EndsWithSeparator(path, length))
        return 1;
    if (length + 1 > maxLength)
        return 0;
    path[length] = '\\';
    path[length + 1] = 0;
    return 1;
}

// A folder is searched as its path with a final separator; without room for it (and for the walk's
// pattern behind it), the last name would be taken for a file and its parent searched instead.
int TakePickedFolder(char* path)
{
    return AppendFolderSeparator(path, kMaxLocationLength) && lstrlenA(path) <= kMaxSearchedFolderLength;
}

FolderPicker::FolderPicker() : pickedPath(nullptr), prompt(nullptr), info(), widePath(nullptr), widePrompt(nullptr) {}

FolderPicker* FolderPicker::Create(HWND owner, bool useCallback)
{
    FolderPicker* picker = new (std::nothrow) FolderPicker();
    if (!picker)
        return nullptr;
    picker->pickedPath = new (std::nothrow) char[kPickerPathSize]();
    picker->prompt = new (std::nothrow) char[kPickerPathSize]();
    picker->widePath = new (std::nothrow) wchar_t[MAX_PATH]();
    picker->widePrompt = new (std::nothrow) wchar_t[kPickerPathSize]();
    if (!picker->pickedPath || !picker->prompt || !picker->widePath || !picker->widePrompt) {
        delete picker;
        return nullptr;
    }
    picker->info.hwndOwner = owner;
    picker->info.pidlRoot = nullptr;
    picker->info.pszDisplayName = picker->widePath;
    picker->info.lpszTitle = picker->widePrompt;
    picker->info.ulFlags = kBrowseFlags;
    // This program never asks for a callback; the flag is kept for the creation's signature.
    (void)useCallback;
    picker->info.lpfn = nullptr;
    picker->info.lParam = 0;
    picker->info.iImage = 0;
    return picker;
}

FolderPicker::~FolderPicker()
{
    ReleaseBuffers();
}

void FolderPicker::ReleaseBuffers()
{
    delete[] pickedPath;
    pickedPath = nullptr;
    delete[] prompt;
    prompt = nullptr;
    delete[] widePath;
    widePath = nullptr;
    delete[] widePrompt;
    widePrompt = nullptr;
    info.pszDisplayName = nullptr;
    info.lpszTitle = nullptr;
}

bool FolderPicker::Browse()
{
    if (!pickedPath || !prompt || !widePath || !widePrompt)
        return false;
    if (!MultiByteToWideChar(CP_ACP, 0, prompt, -1, widePrompt, kPickerPathSize))
        widePrompt[0] = L'\0';

    // The browse dialog needs COM on this thread; whoever initialised it first keeps it.
    const HRESULT com = CoInitialize(nullptr);

    bool picked = false;
    IMalloc* shellMalloc = nullptr;
    if (SUCCEEDED(SHGetMalloc(&shellMalloc)) && shellMalloc) {
        LPITEMIDLIST item = SHBrowseForFolderW(&info);
        if (item) {
            picked = SHGetPathFromIDListW(item, widePath) != FALSE;
            shellMalloc->Free(item);
        }
        shellMalloc->Release();
    }

    if (SUCCEEDED(com))
        CoUninitialize();

    if (!picked)
        return false;
    widePath[MAX_PATH - 1] = L'\0';
    // A folder the code page cannot hold is taken by its short path; without one it is refused.
    if (AnsiPathTo(widePath, pickedPath, kPickerPathSize) && TakePickedFolder(pickedPath))
        return true;
    // Refused: the location keeps what it had.
    MessageBeep(MB_ICONWARNING);
    return false;
}

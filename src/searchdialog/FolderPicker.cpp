// The folder picker: the shell's browse dialog over the desktop, file-system folders only.
#include "searchdialog/FolderPicker.h"

#include <new>

namespace {
constexpr UINT kBrowseFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_RETURNFSANCESTORS;
}

// Only a drive root already ends in a separator; a share root such as \\server\share does not.
void AppendFolderSeparator(char* path, int maxLength)
{
    const int length = lstrlenA(path);
    if (length == 0 || length + 1 > maxLength)
        return;
    const bool driveRoot = length == 3 && path[1] == ':' && path[2] == '\\';
    if (driveRoot)
        return;
    path[length] = '\\';
    path[length + 1] = 0;
}

FolderPicker::FolderPicker() : pickedPath(nullptr), prompt(nullptr), info() {}

FolderPicker* FolderPicker::Create(HWND owner, bool useCallback)
{
    FolderPicker* picker = new (std::nothrow) FolderPicker();
    if (!picker)
        return nullptr;
    picker->pickedPath = new (std::nothrow) char[kPickerPathSize]();
    picker->prompt = new (std::nothrow) char[kPickerPathSize]();
    if (!picker->pickedPath || !picker->prompt) {
        delete picker;
        return nullptr;
    }
    picker->info.hwndOwner = owner;
    picker->info.pidlRoot = nullptr;
    picker->info.pszDisplayName = picker->pickedPath;
    picker->info.lpszTitle = picker->prompt;
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
    info.pszDisplayName = nullptr;
    info.lpszTitle = nullptr;
}

bool FolderPicker::Browse()
{
    if (!pickedPath || !prompt)
        return false;

    // The browse dialog needs COM on this thread; whoever initialised it first keeps it.
    const HRESULT com = CoInitialize(nullptr);

    bool picked = false;
    IMalloc* shellMalloc = nullptr;
    if (SUCCEEDED(SHGetMalloc(&shellMalloc)) && shellMalloc) {
        LPITEMIDLIST item = SHBrowseForFolderA(&info);
        if (item) {
            picked = SHGetPathFromIDListA(item, pickedPath) != FALSE;
            shellMalloc->Free(item);
        }
        shellMalloc->Release();
    }

    if (SUCCEEDED(com))
        CoUninitialize();

    if (picked) {
        pickedPath[kPickerPathSize - 1] = 0;
        AppendFolderSeparator(pickedPath, kMaxLocationLength);
    }
    return picked;
}

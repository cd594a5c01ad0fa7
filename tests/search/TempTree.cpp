// Scratch trees for the walk tests, made and removed through wide \\?\ paths so long paths work as well.
#include "TempTree.h"

namespace {

std::wstring Extended(const std::string& path)
{
    std::wstring wide(L"\\\\?\\");
    for (char c : path)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            // A link is removed itself; what it leads to is not the tree's to empty.
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                if (!RemoveDirectoryW(path.c_str()))
                    DeleteFileW(path.c_str());
            } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempTree::TempTree()
{
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH)
        lstrcpyA(temp, "C:\\");
    static int serial = 0;
    for (;;) {
        char name[MAX_PATH + 32];
        wsprintfA(name, "%sswk%lu_%d", temp, GetCurrentProcessId(), ++serial);
        if (CreateDirectoryA(name, nullptr)) {
            root = name;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
}

TempTree::~TempTree()
{
    if (!root.empty())
        RemoveTree(Extended(root));
}

bool TempTree::MakeFolder(const std::string& relative) const
{
    return CreateDirectoryW(Extended(Path(relative)).c_str(), nullptr) != 0;
}

bool TempTree::MakeFolder(const std::wstring& relative) const
{
    return CreateDirectoryW((Extended(root) + L"\\" + relative).c_str(), nullptr) != 0;
}

// Test paths in narrow strings are ASCII.
bool TempTree::MakeFile(const std::string& relative, const std::string& content) const
{
    return MakeFile(std::wstring(relative.begin(), relative.end()), content);
}

bool TempTree::MakeFile(const std::wstring& relative, const std::string& content) const
{
    HANDLE file = CreateFileW((Extended(root) + L"\\" + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = content.empty() ||
              WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == content.size();
}

bool TempTree::AddAttributes(const std::string& relative, DWORD attributes) const
{
    std::wstring path = Extended(Path(relative));
    DWORD current = GetFileAttributesW(path.c_str());
    if (current == INVALID_FILE_ATTRIBUTES || !SetFileAttributesW(path.c_str(), current | attributes))
        return false;
    return (GetFileAttributesW(path.c_str()) & attributes) == attributes;
}

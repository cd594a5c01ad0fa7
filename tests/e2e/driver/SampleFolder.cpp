// Sample folders under the temp folder, named after the test process so parallel runs never meet.
#include "driver/SampleFolder.h"

#include <windows.h>

#include "driver/HostPaths.h"

namespace e2e {

namespace {

std::string TempFolder()
{
    char path[MAX_PATH] = "";
    DWORD length = GetTempPathA(sizeof(path), path);
    if (length == 0 || length >= sizeof(path))
        return std::string();
    std::string folder(path, length);
    if (folder.back() != '\\')
        folder += '\\';
    return folder;
}

// The \\?\ form of a Windows path (ASCII here), which takes any name and any length.
std::wstring Extended(const std::string& path)
{
    std::wstring wide(L"\\\\?\\");
    for (char c : path)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

void RemoveWideTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                // A link goes itself; what it leads to is not the folder's to empty.
                if (!RemoveDirectoryW(child.c_str()))
                    DeleteFileW(child.c_str());
            } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveWideTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

SampleFolder::SampleFolder()
{
    static unsigned counter = 0;
    const std::string temp = TempFolder();
    if (temp.empty())
        return;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = temp + "seekword-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                                std::to_string(++counter);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            folder = candidate + "\\";
            return;
        }
    }
}

SampleFolder::~SampleFolder()
{
    if (!folder.empty())
        RemoveFolderTree(folder);
}

std::string SampleFolder::Add(const std::string& name, const std::string& bytes)
{
    if (folder.empty())
        return std::string();
    const std::string path = folder + name;
    const size_t cut = path.find_last_of('\\');
    if (cut != std::string::npos && cut + 1 > folder.size() && !MakeFolders(path.substr(0, cut)))
        return std::string();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    DWORD written = 0;
    const BOOL ok = bytes.empty() ||
                    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size() ? path : std::string();
}

bool SampleFolder::AddWide(const std::wstring& name, const std::string& bytes)
{
    if (folder.empty())
        return false;
    const std::wstring base = Extended(folder);
    for (size_t cut = name.find(L'\\'); cut != std::wstring::npos; cut = name.find(L'\\', cut + 1))
        CreateDirectoryW((base + name.substr(0, cut)).c_str(), nullptr);
    HANDLE file = CreateFileW((base + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = bytes.empty() ||
                    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool RemoveFolderTree(const std::string& path)
{
    std::string base = path;
    while (!base.empty() && (base.back() == '\\' || base.back() == '/'))
        base.pop_back();
    if (base.size() < 4)  // never a drive root
        return false;
    RemoveWideTree(Extended(base));
    return GetFileAttributesA(base.c_str()) == INVALID_FILE_ATTRIBUTES;
}

} // namespace e2e

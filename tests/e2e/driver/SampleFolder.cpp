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
    for (auto entry = wideEntries.rbegin(); entry != wideEntries.rend(); ++entry) {
        if (!DeleteFileW(entry->c_str()))
            RemoveDirectoryW(entry->c_str());
    }
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
    const std::wstring base = L"\\\\?\\" + std::wstring(folder.begin(), folder.end());
    for (size_t cut = name.find(L'\\'); cut != std::wstring::npos; cut = name.find(L'\\', cut + 1)) {
        if (CreateDirectoryW((base + name.substr(0, cut)).c_str(), nullptr))
            wideEntries.push_back(base + name.substr(0, cut));
    }
    // Written under a plain name, then given its own.
    wideEntries.push_back(base + name);
    return !Add("wide.tmp", bytes).empty() && MoveFileW((base + L"wide.tmp").c_str(), (base + name).c_str());
}

bool RemoveFolderTree(const std::string& path)
{
    std::string base = path;
    while (!base.empty() && (base.back() == '\\' || base.back() == '/'))
        base.pop_back();
    if (base.size() < 4)  // never a drive root
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((base + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = base + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolderTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(base.c_str());
    return GetFileAttributesA(base.c_str()) == INVALID_FILE_ATTRIBUTES;
}

} // namespace e2e

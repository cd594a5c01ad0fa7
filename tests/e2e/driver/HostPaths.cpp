// Unix <-> Windows path conversion through Wine's own exports, with the Z: drive as fallback.
#include "driver/HostPaths.h"

#include <windows.h>

#include <vector>

namespace e2e {

namespace {

using DosNameFn = WCHAR* (CDECL*)(const char*);
using UnixNameFn = char* (CDECL*)(const WCHAR*);

// Wine's own exports, looked up at run time so the driver still loads on Windows.
template <typename Fn>
Fn WineExport(const char* name)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC address = kernel ? GetProcAddress(kernel, name) : nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(address));
}

std::string Narrow(const WCHAR* text)
{
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(size));
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer.data(), size, nullptr, nullptr);
    return std::string(buffer.data());
}

std::vector<WCHAR> Widen(const std::string& text)
{
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> buffer(static_cast<size_t>(size > 0 ? size : 1), 0);
    if (size > 0)
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, buffer.data(), size);
    return buffer;
}

} // namespace

std::string ToWindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    if (auto toDos = WineExport<DosNameFn>("wine_get_dos_file_name")) {
        if (WCHAR* dos = toDos(path.c_str())) {
            std::string result = Narrow(dos);
            HeapFree(GetProcessHeap(), 0, dos);
            if (!result.empty())
                return result;
        }
    }
    std::string result = "Z:" + path;
    for (char& c : result)
        if (c == '/')
            c = '\\';
    return result;
}

std::string ToUnixPath(const std::string& windowsPath)
{
    auto toUnix = WineExport<UnixNameFn>("wine_get_unix_file_name");
    if (!toUnix)
        return std::string();
    std::vector<WCHAR> wide = Widen(windowsPath);
    char* unix = toUnix(wide.data());
    if (!unix)
        return std::string();
    std::string result(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

bool MakeFolders(const std::string& windowsPath)
{
    std::string path = windowsPath;
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    size_t cut = path.find_last_of("\\/");
    if (cut != std::string::npos && cut > 2 && !MakeFolders(path.substr(0, cut)))
        return false;
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace e2e

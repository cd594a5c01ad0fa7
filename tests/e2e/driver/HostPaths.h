// Conversions between Unix paths (as CMake writes them) and the Windows paths Wine maps them to.
#pragma once

#include <string>

namespace e2e {

// "/work/x/a.exe" -> "Z:\work\x\a.exe"; a path that is already a Windows path comes back as it is.
std::string ToWindowsPath(const std::string& path);

// "C:\users\x" -> "/home/u/.wine/drive_c/users/x"; empty when Wine cannot map it.
std::string ToUnixPath(const std::string& windowsPath);

// Creates the folder and every missing parent; true when it exists afterwards.
bool MakeFolders(const std::string& windowsPath);

} // namespace e2e

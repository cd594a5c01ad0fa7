// The artefacts folder, given by the build and overridable from the environment.
#include "driver/Artifacts.h"

#include <windows.h>

#include "driver/HostPaths.h"

#ifndef SEEKWORD_E2E_ARTIFACTS
#define SEEKWORD_E2E_ARTIFACTS ""
#endif

namespace e2e {

std::string ArtifactFolder()
{
    char fromEnvironment[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA("SEEKWORD_ARTIFACTS", fromEnvironment, sizeof(fromEnvironment));
    std::string folder = length > 0 && length < sizeof(fromEnvironment) ? fromEnvironment : SEEKWORD_E2E_ARTIFACTS;
    if (folder.empty())
        folder = ".";
    folder = ToWindowsPath(folder);
    MakeFolders(folder);
    return folder;
}

std::string ArtifactPath(const std::string& name)
{
    std::string folder = ArtifactFolder();
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder + name;
}

} // namespace e2e

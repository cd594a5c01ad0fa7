// The program as unpacked from the release zip: its version resource, its manifest, and its start.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "SeekwordVersion.h"
#include "driver/AppProcess.h"
#include "driver/HostPaths.h"

namespace {

using namespace e2e;

const std::string kExe = ToWindowsPath(PACKAGED_EXE);

// One string of the version resource, looked up in the block its own translation names, as the
// file's Properties do; "<missing>" when there is none.
std::string VersionString(const std::vector<char>& info, const char* name)
{
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size) ||
        size < sizeof(Translation))
        return "<missing>";
    char path[128];
    wsprintfA(path, "\\StringFileInfo\\%04x%04x\\%s", translation->language, translation->codePage, name);
    char* value = nullptr;
    if (!VerQueryValueA(info.data(), path, reinterpret_cast<void**>(&value), &size) || !value)
        return "<missing>";
    return value;
}

TEST(PackagedProgram, VersionResourceNamesTheProgramAndTheProjectVersion)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(kExe.c_str(), &handle);
    ASSERT_NE(0u, size) << kExe;
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(kExe.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    const WORD numbers[] = {SEEKWORD_VERSION_NUMBERS};
    EXPECT_EQ(MAKELONG(numbers[1], numbers[0]), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(numbers[3], numbers[2]), fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);

    EXPECT_EQ("Ovelund Freeware", VersionString(info, "CompanyName"));
    EXPECT_EQ("Seekword text search", VersionString(info, "FileDescription"));
    EXPECT_EQ(SEEKWORD_VERSION_TEXT, VersionString(info, "FileVersion"));
    EXPECT_EQ(SEEKWORD_VERSION_TEXT, VersionString(info, "ProductVersion"));
    EXPECT_EQ("Seekword", VersionString(info, "InternalName"));
    EXPECT_EQ("Seekword.exe", VersionString(info, "OriginalFilename"));
    EXPECT_EQ("Seekword", VersionString(info, "ProductName"));
    EXPECT_NE(std::string::npos, VersionString(info, "LegalCopyright").find("Ovelund Freeware"));
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names)
{
    reinterpret_cast<std::vector<ULONG_PTR>*>(names)->push_back(reinterpret_cast<ULONG_PTR>(name));
    return TRUE;
}

// The manifest with its comments taken out, so words in a comment do not count as settings.
std::string WithoutComments(std::string text)
{
    for (size_t start; (start = text.find("<!--")) != std::string::npos;) {
        const size_t end = text.find("-->", start);
        text.erase(start, end == std::string::npos ? std::string::npos : end + 3 - start);
    }
    return text;
}

TEST(PackagedProgram, CarriesTheManifestAsResourceOne)
{
    HMODULE module = LoadLibraryExA(kExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(nullptr, module) << kExe;

    // Exactly one manifest, the one Windows reads for a program.
    std::vector<ULONG_PTR> names;
    EnumResourceNamesA(module, RT_MANIFEST, CollectName, reinterpret_cast<LONG_PTR>(&names));
    EXPECT_EQ(std::vector<ULONG_PTR>{1}, names);

    std::string embedded;
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST);
    if (HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr)
        embedded.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, resource));
    FreeLibrary(module);

    std::ifstream source(ToWindowsPath(MANIFEST_SOURCE), std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(written, embedded);

    const std::string settings = WithoutComments(embedded);
    EXPECT_NE(std::string::npos, settings.find("level=\"asInvoker\""));
    for (const char* windows : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(std::string::npos, settings.find(windows)) << windows;
    // Per-monitor aware (V2 first), system aware on Windows 7 and 8.1: in the application's windowsSettings.
    const size_t from =
        settings.find("<windowsSettings>", settings.find("<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">"));
    ASSERT_NE(std::string::npos, from);
    const std::string application = settings.substr(from, settings.find("</windowsSettings>", from) - from);
    EXPECT_NE(std::string::npos, application.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                                                  "WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"));
    EXPECT_NE(std::string::npos, application.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/"
                                                  "WindowsSettings\">true</dpiAware>")) << settings;
    EXPECT_EQ(std::string::npos, settings.find("Common-Controls")) << "the dialogs keep the classic controls";
}

TEST(PackagedProgram, StartsWithTheSearchDialog)
{
    AppProcess app;
    ASSERT_TRUE(app.Start(kExe)) << app.Failure();
    EXPECT_NE(nullptr, app.WaitForTopWindow("#32770", "Search"));
}

} // namespace

// The file types the shell executes for every verb, and Notepad as their viewer.
#include "app/ShellSafety.h"

#include "search/PathNames.h"

#include <windows.h>

#include <shlwapi.h>

#include <new>

namespace {

constexpr int kExtensionSize = 32;
constexpr int kCommandSize = 2 * MAX_PATH + 32;
constexpr DWORD kPathExtSize = 1024;
constexpr DWORD kAssocSize = 2 * MAX_PATH;
const char kNotepad[] = "\\notepad.exe";
const char kUserClasses[] = "Software\\Classes\\";

const char* const kRunnableTypes[] = {
    "exe", "com", "bat", "cmd", "pif", "scr", "cpl", "msi", "msp", "mst", "msc", "lnk", "url", "hta",
    "js",  "jse", "vbs", "vbe", "vb",  "wsf", "wsh", "wsc", "ws",  "ps1", "psm1", "psd1", "reg", "jar",
    "inf", "ins", "isp", "job", "sct", "shb", "shs", "scf", "application", "appref-ms", "gadget",
    "msh", "msh1", "msh2", "mshxml", "diagcab", "settingcontent-ms", "library-ms", "search-ms", "xbap",
    "appinstaller"};

// Programs that run what they are given: shells, script hosts, interpreters, installers.
const char* const kInterpreters[] = {
    "cmd", "command", "wscript", "cscript", "mshta", "powershell", "powershell_ise", "pwsh", "python", "py", "pyw",
    "perl", "wperl", "ruby", "rubyw", "bash", "sh", "zsh", "dash", "ksh", "wsl", "wslhost", "git-bash",
    "mintty", "java", "javaw", "node", "deno", "bun", "php", "php-cgi", "php-win", "tclsh", "wish", "lua",
    "rscript", "autohotkey", "autoit3", "rundll32", "regsvr32", "msiexec", "hh", "msbuild", "installutil",
    "regasm", "regsvcs", "cmstp", "control", "mmc", "forfiles", "pcalua", "scriptrunner", "conhost"};
// Versioned names of the same families: python3.exe, pythonw.exe, perl5.36.exe, node18.exe.
const char* const kInterpreterFamilies[] = {"python", "perl", "ruby", "php", "node", "java", "pwsh",
                                            "powershell", "tclsh", "wish", "lua"};
// Families whose hosts carry any suffix: AutoHotkeyUX, AutoHotkeyU64, AutoIt3_x64. Their names are long
// enough that no unrelated program starts with them.
const char* const kHostFamilies[] = {"autohotkey", "autoit"};

int SameText(const char* a, const char* b)
{
    return lstrcmpiA(a, b) == 0;
}

// The first length characters of a and b agree, whatever their case.
int SameChars(const char* a, const char* b, int length)
{
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a, length, b, length) == CSTR_EQUAL;
}

int IsRunnableType(const char* extension)
{
    for (const char* type : kRunnableTypes)
        if (SameText(extension, type))
            return 1;
    return 0;
}

// The extension the shell sees, and its length (0 when there is none). Windows ignores trailing dots
// and spaces, so "x.exe. " runs as "x.exe"; then the shell takes the last dot of the name, and none
// when a space follows it ("notes.txt v2"). A longer one than size can hold is measured, not copied.
int EffectiveExtension(const char* path, char* extension, int size)
{
    char trimmed[MAX_PATH];
    int end = lstrlenA(path);
    while (end > 0 && (path[end - 1] == '.' || path[end - 1] == ' '))
        --end;
    // Only the name matters, and the name is what follows the last separator.
    const int nameStart = SeparatedLength(path, end);
    if (end - nameStart >= MAX_PATH)
        return 0;
    lstrcpynA(trimmed, path + nameStart, end - nameStart + 1);
    const char* dot = PathFindExtensionA(trimmed);
    if (!dot || *dot != '.')
        return 0;
    const int length = lstrlenA(dot + 1);
    if (length < size)
        lstrcpynA(extension, dot + 1, length + 1);
    else if (size > 0)
        extension[0] = '\0';
    return length;
}

int InPathExt(const char* extension)
{
    char fixed[kPathExtSize];
    DWORD length = GetEnvironmentVariableA("PATHEXT", fixed, kPathExtSize);
    if (length == 0)
        return 0;
    if (length < kPathExtSize)
        return ListedExtension(extension, fixed);
    // Longer than usual: read it whole; without memory for it, assume the worst.
    char* whole = new (std::nothrow) char[length];
    if (!whole)
        return 1;
    const DWORD read = GetEnvironmentVariableA("PATHEXT", whole, length);
    const int listed = read > 0 && read < length ? ListedExtension(extension, whole) : 1;
    delete[] whole;
    return listed;
}

// Windows' own list of types that are unsafe to open, asked about the type as it documents (Wine knows none).
int SystemCallsDangerous(const char* extension)
{
    WCHAR type[kExtensionSize + 1] = L".";
    if (!MultiByteToWideChar(CP_ACP, 0, extension, -1, type + 1, kExtensionSize))
        return 0;
    return AssocIsDangerous(type) != FALSE;
}

// Whether the type has an entry of its own among the user's or the machine's classes: then the shell
// does more with it than ask which program should open it. (Wine's merged view leaves the user's out.)
int HasAssociation(const char* type)
{
    char userType[kExtensionSize + sizeof kUserClasses];
    lstrcpynA(userType, kUserClasses, sizeof userType);
    lstrcpynA(userType + sizeof kUserClasses - 1, type, kExtensionSize + 1);
    const struct {
        HKEY root;
        const char* name;
    } places[] = {{HKEY_CURRENT_USER, userType}, {HKEY_CLASSES_ROOT, type}};
    for (const auto& place : places) {
        HKEY key;
        if (RegOpenKeyExA(place.root, place.name, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            RegCloseKey(key);
            return 1;
        }
    }
    return 0;
}

// What "open" would start for the type: a shell or interpreter, or the file itself ("%1" ...); or, for a
// type that is associated but names no command and no program, whatever object handles the verb.
int OpenRunsSomething(const char* extension)
{
    char type[kExtensionSize + 1] = ".";
    lstrcpynA(type + 1, extension, kExtensionSize);
    char command[kAssocSize] = "";
    DWORD size = kAssocSize;
    const bool hasCommand =
        SUCCEEDED(AssocQueryStringA(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, type, "open", command, &size));
    if (hasCommand) {
        const char* start = command;
        while (*start == ' ' || *start == '"')
            ++start;
        if (start[0] == '%' && (start[1] == '1' || start[1] == 'L' || start[1] == 'l'))
            return 1;
    }
    char program[kAssocSize] = "";
    size = kAssocSize;
    if (SUCCEEDED(AssocQueryStringA(ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, type, "open", program, &size)))
        return IsInterpreter(program);
    return !hasCommand && HasAssociation(type);
}

} // namespace

int ListedExtension(const char* extension, const char* list)
{
    const char* entry = list;
    while (*entry) {
        const char* end = entry;
        while (*end && *end != ';')
            ++end;
        const char* name = entry;
        while (name < end && *name == ' ')
            ++name;
        if (name < end && *name == '.')
            ++name;
        const char* last = end;
        while (last > name && last[-1] == ' ')
            --last;
        const int length = static_cast<int>(last - name);
        if (length > 0 && length == lstrlenA(extension) && SameChars(name, extension, length))
            return 1;
        entry = *end ? end + 1 : end;
    }
    return 0;
}

int IsInterpreter(const char* programPath)
{
    // The program's name without its folder and its extension, trailing dots and spaces dropped.
    char base[MAX_PATH];
    CopyNamePart(programPath, base, MAX_PATH);
    int end = lstrlenA(base);
    while (end > 0 && (base[end - 1] == '.' || base[end - 1] == ' '))
        base[--end] = '\0';
    char extension[kExtensionSize] = "";
    const int extensionLength = EffectiveExtension(base, extension, kExtensionSize);
    if (extensionLength > 0) {
        // A batch file or script standing in as the program runs what it is given as well.
        if (!SameText(extension, "exe") && IsRunnableType(extension))
            return 1;
        base[end - extensionLength - 1] = '\0';
    }
    for (const char* interpreter : kInterpreters)
        if (SameText(base, interpreter))
            return 1;
    for (const char* family : kInterpreterFamilies) {
        // A version or variant follows the family's name; phpstorm is an editor, not php.
        const int length = lstrlenA(family);
        const char next = lstrlenA(base) > length ? base[length] : '\0';
        const bool variant = (next >= '0' && next <= '9') || next == '.' || next == '-' || next == '_' ||
                             next == 'w' || next == 'W';
        if (variant && SameChars(base, family, length))
            return 1;
    }
    for (const char* family : kHostFamilies)
        if (lstrlenA(base) >= lstrlenA(family) && SameChars(base, family, lstrlenA(family)))
            return 1;
    return 0;
}

int ShellWouldRun(const char* path)
{
    char extension[kExtensionSize] = "";
    const int length = EffectiveExtension(path, extension, kExtensionSize);
    // No extension, or one too long to look up whole: a cut one would name another type.
    if (length == 0 || length >= kExtensionSize)
        return 1;
    return IsRunnableType(extension) || InPathExt(extension) || SystemCallsDangerous(extension) ||
           OpenRunsSomething(extension);
}

int ShellWouldRunFile(const char* path, const char* ownName)
{
    // A short path cuts the type to three letters (.appref-ms to .APP), but the shell acts on the file.
    if (!ownName || !*ownName)
        return 1;
    return ShellWouldRun(path) || ShellWouldRun(ownName);
}

int OpenInNotepad(const char* path)
{
    // By its full path: a bare name would also be looked for in this program's and the current folder.
    char notepad[MAX_PATH];
    const UINT folderLength = GetSystemWindowsDirectoryA(notepad, MAX_PATH);
    if (folderLength == 0 || folderLength + sizeof kNotepad > MAX_PATH)
        return 0;
    lstrcpynA(notepad + folderLength, kNotepad, MAX_PATH - folderLength);
    char command[kCommandSize];
    wsprintfA(command, "\"%s\" \"%.259s\"", notepad, path);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(notepad, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 1;
}

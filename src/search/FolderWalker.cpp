// The folder walk: files of a folder first, then each subfolder completely; one listing per folder for "*.*".
#include "search/FolderWalker.h"

#include "search/PathNames.h"

#include <new>

namespace {

// A pattern that every name matches: its listing also names every subfolder.
bool ListsEverything(const char* pattern)
{
    return lstrcmpA(pattern, "*.*") == 0 || lstrcmpA(pattern, "*") == 0;
}

bool IsForbidden(wchar_t c)
{
    return c < 0x20 || c == '"' || c == '*' || c == '/' || c == ':' || c == '<' || c == '>' || c == '?' ||
           c == '\\' || c == '|';
}

// The first length characters of name against word (in capitals), ASCII letters in any case.
bool SameLetters(const wchar_t* name, const char* word, int length)
{
    for (int i = 0; i < length; ++i) {
        wchar_t c = name[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<wchar_t>(c - 'a' + 'A');
        if (c != static_cast<unsigned char>(word[i]))
            return false;
    }
    return true;
}

// Superscript one, two and three make port names too.
bool IsPortDigit(wchar_t c)
{
    return (c >= '1' && c <= '9') || c == 0x00B9 || c == 0x00B2 || c == 0x00B3;
}

// A path takes a name as a device by its part before the first dot, trailing spaces dropped.
bool IsDeviceName(const wchar_t* name)
{
    int length = 0;
    while (name[length] && name[length] != '.')
        ++length;
    while (length > 0 && name[length - 1] == ' ')
        --length;
    switch (length) {
    case 3:
        return SameLetters(name, "CON", 3) || SameLetters(name, "PRN", 3) || SameLetters(name, "AUX", 3) ||
               SameLetters(name, "NUL", 3);
    case 4:
        return (SameLetters(name, "COM", 3) || SameLetters(name, "LPT", 3)) && IsPortDigit(name[3]);
    case 6:
        return SameLetters(name, "CONIN$", 6);
    case 7:
        return SameLetters(name, "CONOUT$", 7);
    default:
        return false;
    }
}

// The entry's short name in ANSI when it has one that fits in room bytes; its length, or -1.
int ShortName(const WIN32_FIND_DATAW& entry, int room, char* name, int size)
{
    if (!entry.cAlternateFileName[0])
        return -1;
    const int length = ExactAnsi(entry.cAlternateFileName, name, size);
    return length <= room ? length : -1;
}

// When the code page cannot hold a file's own name, the filter still judges its own extension.
void KeepOwnExtension(const wchar_t* name, char* kept, int size)
{
    const wchar_t* dot = nullptr;
    for (const wchar_t* p = name; *p; ++p) {
        if (*p == '.')
            dot = p;
    }
    if (!dot || ExactAnsi(dot, kept, size) < 0)
        kept[0] = '\0';
}

}  // namespace

FolderWalker::FolderWalker()
    : recurse(0), includeSystemFolders(0), startFolder(0), depth(-1), oneListing(0), spec(nullptr),
      folder(nullptr), pattern(nullptr), find(INVALID_HANDLE_VALUE), patternLength(0), listingFailed(0),
      entrySize(0), entryAttributes(0), foldersNotSearched(0)
{
    for (int level = 0; level < kLevels; ++level)
        folderLengths[level] = 0;
    entryName[0] = '\0';
}

FolderWalker::~FolderWalker()
{
    Reset();
}

void FolderWalker::CloseFind()
{
    if (find != INVALID_HANDLE_VALUE) {
        FindClose(find);
        find = INVALID_HANDLE_VALUE;
    }
}

void FolderWalker::Reset()
{
    EndWalk();
    for (int level = 0; level < kLevels; ++level)
        subfolders[level].Release();
    delete[] spec;
    delete[] folder;
    delete[] pattern;
    spec = nullptr;
    folder = pattern = nullptr;
    entrySize = 0;
    entryAttributes = 0;
    entryName[0] = '\0';
    foldersNotSearched = 0;
}

// Every later Next returns kWalkOver at once, without touching a handle.
void FolderWalker::EndWalk()
{
    CloseFind();
    for (int level = 0; level < kLevels; ++level)
        subfolders[level].Clear();
    depth = -1;
    startFolder = 0;
}

// The start folder cannot be walked: the walk is over before it began, and the folder was not searched.
void FolderWalker::Refuse()
{
    EndWalk();
    ++foldersNotSearched;
}

void FolderWalker::Begin(const char* pathPattern, int recurse, int includeSystemFolders)
{
    Reset();
    depth = 0;
    startFolder = 1;
    this->recurse = recurse;
    this->includeSystemFolders = includeSystemFolders;

    spec = new (std::nothrow) wchar_t[kSpecSize];
    pattern = new (std::nothrow) char[kPatternSize];
    folder = new (std::nothrow) char[kFolderSize];
    if (!spec || !pattern || !folder || !pathPattern) {
        Refuse();
        return;
    }
    spec[0] = L'\0';
    pattern[0] = folder[0] = '\0';

    // A folder or pattern that does not fit is not walked at all: a shortened one would name another place.
    // Without a pattern nothing can be listed; a caller with no room left for one hands over the bare folder.
    int folderLength = FolderPartLength(pathPattern);
    patternLength = lstrlenA(pathPattern + folderLength);
    if (folderLength >= kFolderSize || patternLength == 0 || patternLength >= kPatternSize) {
        Refuse();
        return;
    }
    CopyNamePart(pathPattern, pattern, kPatternSize);
    oneListing = ListsEverything(pattern);
    lstrcpynA(folder, pathPattern, folderLength + 1);

    if (folderLength == 0) {
        // A current folder the code page cannot hold is walked by its short path.
        wchar_t current[MAX_PATH];
        const DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
        if (length == 0 || length >= MAX_PATH || !AnsiPathTo(current, folder, kFolderSize)) {
            Refuse();
            return;
        }
        folderLength = lstrlenA(folder);
        // A root such as C:\ already ends in its separator.
        if (!EndsWithSeparator(folder, folderLength)) {
            if (folderLength + 1 >= kFolderSize) {
                Refuse();
                return;
            }
            folder[folderLength++] = '\\';
            folder[folderLength] = '\0';
        }
    }
    if (folderLength + patternLength > kListingLength) {
        Refuse();
        return;
    }
    folderLengths[0] = folderLength;
}

// A name surrogate stands for another place and may lead back to an ancestor and repeat the tree. No real
// reparse point has tag 0, but Wine lists its symbolic links with the attribute and that tag.
int FolderWalker::IsFolderLink(DWORD attributes, DWORD reparseTag)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           (IsReparseTagNameSurrogate(reparseTag) || reparseTag == IO_REPARSE_TAG_RESERVED_ZERO);
}

// Other reparse points (cloud files, deduplicated folders) hold the user's own files and are entered.
int FolderWalker::EntersFolder(const WIN32_FIND_DATAW& entry, int includeSystemFolders)
{
    DWORD attributes = entry.dwFileAttributes;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || entry.cFileName[0] == L'.')
        return 0;
    if (IsFolderLink(attributes, entry.dwReserved0))
        return 0;
    return includeSystemFolders || !(attributes & FILE_ATTRIBUTE_SYSTEM);
}

int FolderWalker::IsOnlineOnly(DWORD attributes)
{
    return (attributes & (FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS | FILE_ATTRIBUTE_OFFLINE)) != 0;
}

int FolderWalker::NamesItself(const wchar_t* name)
{
    int length = 0;
    for (; name[length]; ++length) {
        if (IsForbidden(name[length]))
            return 0;
    }
    if (length == 0 || name[length - 1] == '.' || name[length - 1] == ' ')
        return 0;
    return !IsDeviceName(name);
}

// Lists the current folder + tail in wide characters, whatever the code page holds. A listing that fails
// for another reason than having nothing to give leaves the folder not searched.
HANDLE FolderWalker::OpenListing(const char* tail, WIN32_FIND_DATAW& entry)
{
    const int length = folderLengths[depth];
    const int folderWide = length > 0 ? MultiByteToWideChar(CP_ACP, 0, folder, length, spec, kSpecSize) : 0;
    const int tailWide =
        folderWide < kSpecSize ? MultiByteToWideChar(CP_ACP, 0, tail, -1, spec + folderWide, kSpecSize - folderWide)
                               : 0;
    HANDLE listing = INVALID_HANDLE_VALUE;
    if ((length == 0 || folderWide > 0) && tailWide > 0) {
        entry.dwReserved0 = 0;
        listing = FindFirstFileExW(spec, FindExInfoStandard, &entry, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
        if (listing != INVALID_HANDLE_VALUE)
            return listing;
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES)
            return listing;
    }
    listingFailed = 1;
    ++foldersNotSearched;
    return listing;
}

// A listing broken off (a network error, say) leaves the rest of its folder not searched.
int FolderWalker::NextEntry(HANDLE listing, WIN32_FIND_DATAW& entry)
{
    entry.dwReserved0 = 0;
    if (FindNextFileW(listing, &entry))
        return 1;
    if (GetLastError() != ERROR_NO_MORE_FILES)
        ++foldersNotSearched;
    return 0;
}

// The second listing, for a pattern that does not name every subfolder; read whole so no handle stays open.
void FolderWalker::ListSubfolders()
{
    if (!recurse || listingFailed)
        return;
    WIN32_FIND_DATAW entry;
    HANDLE listing = OpenListing("*", entry);
    if (listing == INVALID_HANDLE_VALUE)
        return;
    do {
        NoteSubfolder(entry);
    } while (NextEntry(listing, entry));
    FindClose(listing);
}

// A subfolder is walked by a name an ANSI path reaches it by, with room behind it for its separator and the
// pattern; one that cannot be, or that lies below the deepest level, is counted instead.
void FolderWalker::NoteSubfolder(const WIN32_FIND_DATAW& entry)
{
    if (!EntersFolder(entry, includeSystemFolders))
        return;
    char name[kFolderSize];
    const int room = kListingLength - folderLengths[depth] - 1 - patternLength;
    int length = -1;
    if (depth < kMaxDepth) {
        length = ExactAnsi(entry.cFileName, name, sizeof name);
        if (length < 0 || length > room || !NamesItself(entry.cFileName))
            length = ShortName(entry, room, name, sizeof name);
    }
    if (length < 0 || !subfolders[depth].Append(name, length))
        ++foldersNotSearched;
}

// The file's own name when the code page holds it exactly, it names the file and the path fits; else its
// short name. The own name stays in entryName for the filter either way.
int FolderWalker::TakeFile(const WIN32_FIND_DATAW& entry, char* outputPath)
{
    entrySize = (static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    entryAttributes = entry.dwFileAttributes;
    const int length = folderLengths[depth];
    const int room = kOutputSize - 1 - length;
    const char* name = entryName;
    int nameLength = ExactAnsi(entry.cFileName, entryName, kOutputSize);
    char shortName[16];
    if (nameLength < 0 || nameLength > room || !NamesItself(entry.cFileName)) {
        if (nameLength < 0)
            KeepOwnExtension(entry.cFileName, entryName, kOutputSize);
        nameLength = ShortName(entry, room, shortName, sizeof shortName);
        if (nameLength < 0)
            return kUnnamedFile;
        name = shortName;
    }
    CopyMemory(outputPath, folder, length);
    CopyMemory(outputPath + length, name, nameLength + 1);
    return kFile;
}

// Noted subfolders fit, but a path that would not is passed over all the same.
int FolderWalker::EnterSubfolder(const char* name)
{
    int length = folderLengths[depth];
    int nameLength = lstrlenA(name);
    if (length + nameLength + 1 >= kFolderSize)
        return 0;
    CopyMemory(folder + length, name, nameLength);
    length += nameLength;
    folder[length++] = '\\';
    folder[length] = '\0';
    ++depth;
    folderLengths[depth] = length;
    startFolder = 1;
    return 1;
}

// The reparse tag is cleared before every listing call: a call that leaves it unwritten would leave a stale
// tag, and a tag that stays 0 reads as a link.
int FolderWalker::Next(char* outputPath)
{
    if (depth < 0 || !folder)
        return kWalkOver;
    WIN32_FIND_DATAW entry;
    for (;;) {
        // File phase of the current folder; with oneListing it also notes the subfolders to walk.
        int found = 0;
        if (startFolder) {
            startFolder = 0;
            listingFailed = 0;
            subfolders[depth].Clear();
            find = OpenListing(pattern, entry);
            found = find != INVALID_HANDLE_VALUE;
        } else if (find != INVALID_HANDLE_VALUE) {
            found = NextEntry(find, entry);
        }
        const int noteSubfolders = oneListing && recurse;
        while (found) {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                return TakeFile(entry, outputPath);
            if (noteSubfolders)
                NoteSubfolder(entry);
            found = NextEntry(find, entry);
        }
        CloseFind();
        if (!recurse) {
            EndWalk();
            return kWalkOver;
        }
        if (!oneListing)
            ListSubfolders();

        // Subfolder phase: each noted subfolder in listing order, then back up to the parent's next one.
        for (;;) {
            const char* name = subfolders[depth].Next();
            if (name) {
                if (EnterSubfolder(name))
                    break;
                ++foldersNotSearched;
                continue;
            }
            subfolders[depth].Clear();
            if (--depth < 0) {
                EndWalk();
                return kWalkOver;
            }
            folder[folderLengths[depth]] = '\0';
        }
    }
}

// The search commands: Start and Next file walk to the next hit file, Find next steps through it.
#include "search/SearchView.h"

#include "controls/ButtonBar.h"
#include "framework/StatusBar.h"
#include "resources/ResourceIds.h"
#include "search/ExtensionFilter.h"
#include "search/FolderWalker.h"
#include "search/Matcher.h"
#include "search/PathNames.h"
#include "search/SearchProgress.h"
#include "search/SearchOptions.h"
#include "search/WaitCursor.h"
#include "searchdialog/SearchDialog.h"
#include "textview/CodePageText.h"

namespace {

constexpr int kTitleNameSize = 40;  // the file name in the title is cut to 39 characters
const char kAllNames[] = "*.*";
const char kStoppedText[] = "Stopped";
const char kTooLargeText[] = "\tToo large to show";

enum StatusPart { kPathPart = 0, kPositionPart = 1, kCountPart = 2 };

} // namespace

void SearchView::RunSearch(int newSearch)
{
    if (!buttonBar || !statusBar || !folderWalker || !searchDialog || !currentPath || !filesSpec)
        return;
    statusBar->SetText(kPositionPart, "");
    statusBar->SetText(kCountPart, "");

    if (newSearch) {
        searchDialog->filesSpec = filesSpec;
        INT_PTR result = searchDialog->RunModal(IDD_SEARCH, hwnd);
        if (result == -1 || result == 0)
            return;
        // Only the folder part of the location counts; the filter alone decides which files do.
        CutToFolder(filesSpec);
        unreadFiles = 0;
        filePending = 0;
        const int folderLength = lstrlenA(filesSpec);
        // A folder too long for its pattern goes without one: the walk refuses it and counts it.
        if (folderLength + lstrlenA(kAllNames) < kPathBufferSize)
            lstrcpynA(filesSpec + folderLength, kAllNames, kPathBufferSize - folderLength);
        folderWalker->Begin(filesSpec, searchOptions.subfolders, 0);
    }

    WaitCursor wait;
    bytesRead = 0;
    progress.Begin();
    int request = SearchProgress::kGoOn;
    for (;;) {
        // Between files, so a pause leaves the walk just after the file last examined.
        request = progress.Look(statusBar, currentPath);
        if (request != SearchProgress::kGoOn)
            break;
        if (filePending) {
            // Left by the user inside its load: examined again before the walk goes on.
            filePending = 0;
        } else {
            const int listed = folderWalker->Next(currentPath);
            if (listed == FolderWalker::kWalkOver)
                break;
            // The file's own name, which its path may give only in the short form.
            if (!ExtensionAccepted(folderWalker->EntryName()))
                continue;
            // No path reaches it, or opening it would download it whole: not read, and said so.
            if (listed == FolderWalker::kUnnamedFile || FolderWalker::IsOnlineOnly(folderWalker->EntryAttributes())) {
                ++unreadFiles;
                continue;
            }
        }
        paintingDeferred = 1;
        int loaded = LoadFile(currentPath);
        if (loaded == 1 && matchCount != 0) {
            EndWalk();
            ShowHit();
            return;
        }
        if (loaded == kLoadTooLarge) {
            EndWalk();
            ShowTooLarge();
            return;
        }
        // Could not be opened or read, or too large to hold: not searched, so the user is told.
        if (loaded == 0 || loaded == -1)
            ++unreadFiles;
        // Left by the user before it was examined: neither passed over nor unread.
        filePending = loaded == kLoadStopped;
        ResumePainting();
    }
    EndWalk();

    bytesRead = 0;
    ClearScreen();
    ResetDocument();
    if (request != SearchProgress::kGoOn) {
        // Paused: Next file goes on with the same walk; the close waits for the main loop.
        EnableFileCommands(0);
        buttonBar->EnableCommand(CMD_NEXTFILE, 1);
        statusBar->SetText(kPathPart, kStoppedText);
        SetWindowTextA(GetParent(hwnd), title);
        if (request == SearchProgress::kClose)
            PostMessageA(GetParent(hwnd), WM_CLOSE, 0, 0);
        return;
    }
    EnableFileCommands(0);
    ShowUnreadFiles();
    SetWindowTextA(GetParent(hwnd), title);
    notFoundBox.RunModal(IDD_NOTFOUND, hwnd);
}

void SearchView::ShowUnreadFiles()
{
    const unsigned long files = unreadFiles;
    const unsigned long folders = folderWalker->FoldersNotSearched();
    char filesText[sizeof "4294967295 files could not be read"] = "";
    char foldersText[sizeof "4294967295 folders could not be searched"] = "";
    if (files)
        wsprintfA(filesText, files == 1 ? "%lu file could not be read" : "%lu files could not be read", files);
    if (folders)
        wsprintfA(foldersText, folders == 1 ? "%lu folder could not be searched" : "%lu folders could not be searched",
                  folders);
    char text[sizeof filesText + sizeof ", " + sizeof foldersText];
    wsprintfA(text, "%s%s%s", filesText, files && folders ? ", " : "", foldersText);
    statusBar->SetText(kPathPart, text);
}

void SearchView::EndWalk()
{
    progress.End();
    // Key releases dropped during the walk must not leave a modifier held.
    SyncModifiers();
}

void SearchView::ShowHit()
{
    statusBar->SetText(kPathPart, currentPath);
    ResumePainting();
    FindNext();
    ShowCountAndTitle();
}

// The file's count and its title; the file commands are enabled also after an OK without a new text, when an
// earlier walk had disabled them.
void SearchView::ShowCountAndTitle()
{
    char count[32];
    wsprintfA(count, "\t%I64u", matchCount);
    statusBar->SetText(kCountPart, count);
    ShowFoundTitle();
    EnableFileCommands(1);
}

// A hit whose text cannot be held: the walk stops at it all the same, with its path and count, an
// empty view, and only the commands that need no text.
void SearchView::ShowTooLarge()
{
    bytesRead = 0;
    ClearScreen();
    ResetDocument();
    ResumePainting();
    statusBar->SetText(kPathPart, currentPath);
    statusBar->SetText(kPositionPart, kTooLargeText);
    ShowCountAndTitle();
    buttonBar->EnableCommand(CMD_FINDNEXT, 0);
    buttonBar->EnableCommand(CMD_COPY, 0);
}

void SearchView::ShowFoundTitle()
{
    char name[kTitleNameSize];
    CopyNamePart(currentPath, name, sizeof name);
    char caption[kTitleNameSize + 64];
    wsprintfA(caption, "%.40s found %s", title, name);
    SetWindowTextA(GetParent(hwnd), caption);
}

// The file's bytes are searched from the cursor on with the count's own matcher, so every occurrence
// counted can be shown: one across the pieces the view cut a long line into, and one past a NUL byte.
// The index then gives the occurrence's lines. The cursor goes to its end, where the next search starts.
void SearchView::FindNext()
{
    const int patternLength = lstrlenA(searchOptions.searchText);
    if (lineCount <= 0 || !HasText() || patternLength == 0) {
        ShowPosition(-1);
        return;
    }
    // A view too small for one row or column still places the occurrence.
    const int rows = visibleRows > 0 ? visibleRows : 1;
    const int columns = visibleColumns > 0 ? visibleColumns : 1;
    int startLine = topLine + cursorRow;
    if (startLine >= lineCount)
        startLine = lineCount - 1;
    if (startLine < 0)
        startLine = 0;
    const int oldLeftColumn = leftColumn;

    char text[kLineBufferSize];
    ColumnText(startLine, text);
    int start = ColumnToIndex(leftColumn + cursorColumn, text);
    const int length = GetLineLength(startLine);
    if (start > length)
        start = length;
    if (start < 0)
        start = 0;

    const size_t lineStart = Entries()[startLine].Start();
    const size_t at = FindFrom(lineStart, lineStart + static_cast<size_t>(start));
    if (at >= TextLength()) {
        ShowPosition(-1);
        return;
    }
    const size_t end = at + static_cast<size_t>(patternLength);
    const int firstLine = LineAtOffset(at);
    const int lastLine = LineAtOffset(end - 1);
    selStartLine = firstLine;
    selStartIndex = IndexInLine(firstLine, at);
    selEndLine = lastLine;
    selEndIndex = IndexInLine(lastLine, end);
    hasSelection = 1;

    ColumnText(lastLine, text);
    const int endColumn = IndexToColumn(selEndIndex, text);
    if (endColumn < leftColumn) {
        while (endColumn < leftColumn)
            leftColumn -= columns;
        if (leftColumn < 0)
            leftColumn = 0;
    }
    while (endColumn > leftColumn + columns)
        leftColumn += columns;
    cursorColumn = endColumn - leftColumn;

    // Whole pages down until the page holds the first line; then the last one too, where the page
    // is tall enough for both.
    int page = topLine;
    if (firstLine < page)
        page = firstLine;
    page += (firstLine - page) / rows * rows;
    if (lastLine >= page + rows)
        page = lastLine - rows + 1;
    topLine = page;
    cursorRow = lastLine - page;
    if (lastLine != startLine)
        CursorLineChanged();

    paintingDeferred = 1;
    UpdateVerticalRange();
    if (leftColumn != oldLeftColumn)
        SetScrollPos(hwnd, SB_HORZ, leftColumn, TRUE);
    ResumePainting();
    Redraw();
    ShowPosition(firstLine + 1);
}

// A file shown from the disk is searched in parts, each from where the last left the search text's length
// (less one) unsearched, at a character's start; every part begins at one, as origin does. Truncated since
// it was shown, the file ends where its bytes end.
size_t SearchView::FindFrom(size_t origin, size_t from)
{
    const char* text = searchOptions.searchText;
    const int caseSensitive = searchOptions.caseSensitive;
    if (!shownFile.InUse())
        return FindInFile(buffer, bytesRead, from, text, caseSensitive);
    // No occurrence starts before the count's first hit: the search may begin at its line, whose start
    // is surely a character's.
    if (from < hitsFrom) {
        const size_t hitLine = Entries()[LineAtOffset(static_cast<size_t>(hitsFrom))].Start();
        if (hitLine > from)
            origin = from = hitLine;
    }
    const size_t size = shownFile.Size();
    const size_t length = static_cast<size_t>(lstrlenA(text));
    const size_t keep = length > 1 ? length - 1 : 1;
    // The parts the file was counted in, in the count's buffer, and long enough to move on by at least a
    // character each time.
    const size_t partBytes = partSize > 2 * length ? partSize : 2 * length;
    char* part = AcquirePartBuffers(static_cast<DWORD>(partBytes)) ? partBuffers : nullptr;
    HANDLE file = part ? shownFile.OpenSameFile() : INVALID_HANDLE_VALUE;
    size_t at = size;
    for (size_t start = origin; file != INVALID_HANDLE_VALUE && start < size;) {
        const size_t wanted = size - start < partBytes ? size - start : partBytes;
        const size_t n = ShownFile::ReadFrom(file, start, part, wanted);
        const size_t found = FindInFile(part, n, from > start ? from - start : 0, text, caseSensitive);
        if (found < n) {
            at = start + found;
            break;
        }
        const size_t cut = n > keep ? CodePageText::Ansi().CharacterStart(part, n - keep) : 0;
        if (n < wanted || start + n >= size || cut == 0)
            break;
        start += cut;
    }
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return at;
}

// The line's bytes with NUL read as a space, as the count reads it, so that every byte has its column
// as the index gives it one.
void SearchView::ColumnText(int line, char* destination)
{
    const LineEntry& entry = Entries()[line];
    const char* source = LineBytes(entry);
    for (int i = 0; i < entry.Length(); ++i)
        destination[i] = source && source[i] ? source[i] : ' ';
    destination[entry.Length()] = '\0';
}

void SearchView::ShowPosition(int n)
{
    char text[48] = "";
    if (lineCount != 0) {
        if (n == -1)
            lstrcpynA(text, "\tNo more", sizeof text);
        else
            wsprintfA(text, "\t%d / %d", n, lineCount);
    }
    if (statusBar)
        statusBar->SetText(kPositionPart, text);
}

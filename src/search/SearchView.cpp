// The program's text view: line access into the file buffer, the match count and its warning box.
#include "search/SearchView.h"

#include <new>

#include "controls/ButtonBar.h"
#include "resources/ResourceIds.h"
#include "search/FolderWalker.h"
#include "search/Matcher.h"
#include "search/SearchOptions.h"
#include "textview/AnsiText.h"
#include "textview/CodePageText.h"

namespace {

struct CommandButton {
    const char* label;
    int width;
    int command;
};

// Left to right on the bar; Edit stands before About although its id is the highest.
const CommandButton kCommandButtons[] = {
    {"&Start", 60, CMD_START}, {"&Find next", 80, CMD_FINDNEXT}, {"&Next file", 80, CMD_NEXTFILE},
    {"&Copy", 70, CMD_COPY},   {"&Edit", 70, CMD_EDIT},          {"&About", 60, CMD_ABOUT},
    {"E&xit", 60, CMD_EXIT},
};

const int kCommandsNeedingAFile[] = {CMD_FINDNEXT, CMD_NEXTFILE, CMD_COPY, CMD_EDIT};

} // namespace

SearchView::SearchView()
    : matchCount(0), currentPath(nullptr), filesSpec(nullptr), unreadFiles(0),
      buttonBar(nullptr), statusBar(nullptr), folderWalker(nullptr), searchDialog(nullptr)
{
}

SearchView::SearchView(ButtonBar& bar, StatusBar& status, FolderWalker& walker, SearchDialog& dialog)
    : SearchView()
{
    buttonBar = &bar;
    statusBar = &status;
    folderWalker = &walker;
    searchDialog = &dialog;
}

SearchView::~SearchView()
{
    delete[] currentPath;
    delete[] filesSpec;
}

int SearchView::OnCreate()
{
    TextView::OnCreate();
    if (buttonBar) {
        int added = 0;
        for (const CommandButton& button : kCommandButtons)
            added = buttonBar->AddButton(button.label, button.width, button.command, 0);
        // Only the last button is checked: without Exit the program could not be ended from the bar.
        if (!added)
            return 0;
        EnableFileCommands(0);
    }
    delete[] currentPath;
    delete[] filesSpec;
    currentPath = new (std::nothrow) char[kPathBufferSize]();
    filesSpec = new (std::nothrow) char[kPathBufferSize]();
    return currentPath && filesSpec;
}

void SearchView::EnableFileCommands(int enable)
{
    if (!buttonBar)
        return;
    for (int command : kCommandsNeedingAFile)
        buttonBar->EnableCommand(command, enable);
}

void SearchView::FreeSearchState()
{
    if (folderWalker)
        folderWalker->Reset();
    delete[] currentPath;
    delete[] filesSpec;
    currentPath = nullptr;
    filesSpec = nullptr;
}

const char* SearchView::CurrentName() const
{
    return folderWalker ? folderWalker->EntryName() : "";
}

void SearchView::GetLineText(int line, char* destination)
{
    const LineEntry& entry = Entries()[line];
    const char* source = LineBytes(entry);
    int i = 0;
    while (source && i < entry.Length() && source[i]) {
        destination[i] = source[i];
        ++i;
    }
    // Everything from a NUL byte up to the line's length reads as NUL, never as stale memory.
    for (; i <= entry.Length(); ++i)
        destination[i] = '\0';
}

int SearchView::GetLineLength(int line)
{
    return Entries()[line].Length();
}

int SearchView::ShowMessage(const char* text, const char* caption)
{
    return MessageBoxA(hwnd, text, caption && *caption ? caption : title, MB_ICONWARNING);
}

// One pass over the loaded bytes, folding as it goes: no copy, so nothing here can run out of
// memory. Only files small enough to read whole come here; larger ones are counted in parts as they
// are read, with a look at the user between parts. An empty search text (a first Start confirmed
// without one) matches nothing.
int SearchView::CountMatches()
{
    matchCount = 0;
    const char* text = searchOptions.searchText;
    if (!text[0] || !buffer)
        return 0;
    matchCount = CountInFile(buffer, bytesRead, text, searchOptions.caseSensitive);
    return matchCount != 0;
}

size_t SearchView::CountTextLength()
{
    return static_cast<size_t>(lstrlenA(searchOptions.searchText));
}

unsigned long long SearchView::CountPart(const char* bytes, size_t n, size_t to)
{
    return CountStarting(bytes, n, 0, to, searchOptions.searchText, searchOptions.caseSensitive);
}

int SearchView::TakePartCount(unsigned long long count)
{
    matchCount = count;
    return matchCount != 0;
}

int SearchView::KeepLoading()
{
    return !progress.Active() || progress.Look(statusBar, currentPath) == SearchProgress::kGoOn;
}

// UTF-8 keeps ASCII as it is and gives every other character one byte 0x80-0xFF or the default
// character in the code page, and a byte 0x80-0xFF never folds onto ASCII: a text of other ASCII
// bytes occurs as often in the UTF-8 bytes as in their converted text.
int SearchView::CountNeedsAnsiText()
{
    // Where a character may take two bytes, the raw UTF-8 bytes neither give the converted text's
    // count nor have the code page's character starts.
    if (CodePageText::Ansi().DoubleByte())
        return 1;
    const char defaultChar = AnsiText::DefaultChar();
    for (const char* c = searchOptions.searchText; *c; ++c) {
        if (static_cast<unsigned char>(*c) >= 0x80 || *c == defaultChar)
            return 1;
    }
    return 0;
}

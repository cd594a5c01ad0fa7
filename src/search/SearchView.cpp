// The program's text view: line access into the file buffer, the match count and its warning box.
#include "search/SearchView.h"

#include "search/Matcher.h"
#include "search/SearchOptions.h"

SearchView::SearchView() : matchCount(0), countCopy(nullptr), currentPath(nullptr), filesSpec(nullptr) {}

SearchView::~SearchView() = default;

void SearchView::GetLineText(int line, char* destination)
{
    const LineEntry& entry = Entries()[line];
    const char* source = buffer + entry.start;
    int i = 0;
    while (i < entry.length && source[i]) {
        destination[i] = source[i];
        ++i;
    }
    // Everything from a NUL byte up to the line's length reads as NUL, never as stale memory.
    for (; i <= entry.length; ++i)
        destination[i] = '\0';
}

int SearchView::GetLineLength(int line)
{
    return Entries()[line].length;
}

int SearchView::ShowMessage(const char* text, const char* caption)
{
    return MessageBoxA(hwnd, text, caption && *caption ? caption : title, MB_ICONWARNING);
}

int SearchView::CountMatches()
{
    // The copy needs the sentinel in front and a spare byte behind.
    countCopy = bytesRead <= MAXDWORD - 2 ? AcquireCountBuffer(bytesRead + 2) : nullptr;
    if (!countCopy) {
        ShowMessage("Out of memory", "");
        return 0;
    }
    PrepareCountCopy(countCopy, buffer, bytesRead, searchOptions.caseSensitive);
    matchCount = 0;
    PreparePattern(searchOptions.patternArea);
    // An empty search text (a first Start confirmed without one) matches nothing.
    matchCount = searchOptions.searchText[0] ? CountOccurrences(bytesRead) : 0;
    return static_cast<int>(matchCount);  // nonzero exactly when there is an occurrence
}

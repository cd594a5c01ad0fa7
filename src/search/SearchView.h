// The program's text view: the loaded file's lines, the match count and the search's path buffers.
#pragma once
#include <windows.h>

#include "textview/TextView.h"

constexpr int kPathBufferSize = 260;

class SearchView : public TextView {
public:
    SearchView();
    ~SearchView() override;

    void GetLineText(int line, char* destination) override;
    int GetLineLength(int line) override;
    int ShowMessage(const char* text, const char* caption) override;
    int CountMatches() override;

    DWORD matchCount;
    char* countCopy;
    char* currentPath;
    char* filesSpec;
};

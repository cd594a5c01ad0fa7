// The program's text view: the loaded file's lines, the match count and the search's path buffers.
#pragma once
#include <windows.h>

#include "search/NotFoundBox.h"
#include "search/SearchProgress.h"
#include "textview/TextView.h"

class ButtonBar;
class FolderWalker;
class SearchDialog;
class StatusBar;

constexpr int kPathBufferSize = 260;

class SearchView : public TextView {
public:
    SearchView();
    // The program's view: the bar it fills and enables, the status bar it writes, the walk and dialog it runs.
    SearchView(ButtonBar& bar, StatusBar& status, FolderWalker& walker, SearchDialog& dialog);
    ~SearchView() override;

    int OnCreate() override;

    void GetLineText(int line, char* destination) override;
    int GetLineLength(int line) override;
    int ShowMessage(const char* text, const char* caption) override;
    int CountMatches() override;
    int KeepLoading() override;
    int CountNeedsAnsiText() override;
    size_t CountTextLength() override;
    unsigned long long CountPart(const char* bytes, size_t n, size_t to) override;
    int TakePartCount(unsigned long long count) override;

    // The search commands (SearchViewSearch.cpp).
    void RunSearch(int newSearch);
    void FindNext();
    void ShowPosition(int n);
    // The walk is reset and the two path buffers freed when the program's window goes.
    void FreeSearchState();
    // While a walk runs, the main window defers a close to it and takes no command.
    int Walking() const { return progress.Active(); }
    void RequestClose() { progress.RequestClose(); }
    // The own name of the file in currentPath, which the path may give only in its short form: as the walk
    // that produced it gives it (the extension alone, or empty, when the code page cannot hold it).
    const char* CurrentName() const;

    unsigned long long matchCount;
    char* currentPath;
    char* filesSpec;
    NotFoundBox notFoundBox;
    // Files of the current search (from Start, on through Next file) that could not be searched: not opened,
    // too large, reached by no path, or online only. The walker counts the folders.
    DWORD unreadFiles;
    // The walk was stopped inside the file in currentPath: Next file examines it before going on.
    int filePending = 0;

private:
    void EnableFileCommands(int enable);
    void ShowFoundTitle();
    void ShowHit();
    void ShowTooLarge();
    void ShowCountAndTitle();
    void EndWalk();
    void ShowUnreadFiles();
    void ColumnText(int line, char* destination);
    // Where the first occurrence at from or later starts, TextLength() when none; origin, at or before from,
    // starts a character.
    size_t FindFrom(size_t origin, size_t from);

    ButtonBar* buttonBar;
    StatusBar* statusBar;
    FolderWalker* folderWalker;
    SearchDialog* searchDialog;
    SearchProgress progress;
};

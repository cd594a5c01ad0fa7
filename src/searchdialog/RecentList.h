// A most-recent-first list of entries kept in one registry key and shown in one combo box.
#pragma once
#include <windows.h>

// The program's key under HKEY_CURRENT_USER: the recent lists and the settings live below it.
extern const char kProgramKeyPath[];

class RecentList {
public:
    RecentList();
    ~RecentList();
    RecentList(const RecentList&) = delete;
    RecentList& operator=(const RecentList&) = delete;

    // Fills the combo box from basePath\subkey and shows the most recent entry.
    void Load(HWND comboBox, int entryTextSize, int entryLimit, const char* basePath, const char* subkey);
    // Copies the combo box's text into output (at least textSize bytes), stores it as the most
    // recent entry unless it is empty, and releases the list.
    void Commit(char* output);
    void Release();

    int loaded;
    HWND combo;
    char* keyPath;
    int count;
    int maxEntries;
    int textSize;
    // The letters of the combo box's items, item 0 first; each letter appears once.
    char* order;

private:
    char FreeLetter() const;
    void WriteOrder(HKEY key, char first);
};

// The one program-wide record of the search criteria.
#pragma once

constexpr int kSearchTextSize = 80;  // 79 characters and the terminator
constexpr int kExtensionSlots = 6;
constexpr int kExtensionSize = 8;    // 7 characters and the terminator, stored without the dot

struct SearchOptions {
    SearchOptions() = default;
    SearchOptions(const SearchOptions&) = delete;
    SearchOptions& operator=(const SearchOptions&) = delete;

    // The matcher's reserved byte comes first, so the search text starts at patternArea + 1.
    char patternArea[1 + kSearchTextSize] = {};
    char* const searchText = patternArea + 1;

    int caseSensitive = 0;
    int criteriaConfirmed = 0;
    int allFiles = 0;
    int subfolders = 0;
    int extEnabled[kExtensionSlots] = {};           // slot 1 at index 0
    char extText[kExtensionSlots][kExtensionSize] = {};
};

extern SearchOptions searchOptions;

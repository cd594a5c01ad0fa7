// A list of names kept from one folder listing, read back once in the order they were added.
#pragma once
#include <cstddef>

class NameList {
public:
    NameList();
    ~NameList();
    NameList(const NameList&) = delete;
    NameList& operator=(const NameList&) = delete;

    // Adds a copy of the first length bytes of name; 0, with the list unchanged, when there is no memory.
    int Append(const char* name, int length);
    // The next name not yet read, or null when all have been read.
    const char* Next();
    // Empties the list; a large block is released so that one big folder does not hold its memory.
    void Clear();
    void Release();

private:
    char* names;
    size_t used;
    size_t capacity;
    size_t readAt;
};

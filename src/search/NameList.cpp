// The subfolder names of one folder level: one block of zero-terminated names that grows by doubling.
#include "search/NameList.h"

#include <cstring>
#include <new>

namespace {

constexpr size_t kFirstCapacity = 1024;
constexpr size_t kKeptCapacity = 16 * 1024;

}  // namespace

NameList::NameList() : names(nullptr), used(0), capacity(0), readAt(0)
{
}

NameList::~NameList()
{
    Release();
}

int NameList::Append(const char* name, int length)
{
    if (length < 0)
        return 0;
    const size_t needed = used + static_cast<size_t>(length) + 1;
    if (needed > capacity) {
        size_t grown = capacity ? capacity * 2 : kFirstCapacity;
        while (grown < needed)
            grown *= 2;
        char* larger = new (std::nothrow) char[grown];
        if (!larger)
            return 0;
        if (used)
            std::memcpy(larger, names, used);
        delete[] names;
        names = larger;
        capacity = grown;
    }
    std::memcpy(names + used, name, static_cast<size_t>(length));
    names[used + length] = '\0';
    used = needed;
    return 1;
}

const char* NameList::Next()
{
    if (readAt >= used)
        return nullptr;
    const char* name = names + readAt;
    readAt += std::strlen(name) + 1;
    return name;
}

void NameList::Clear()
{
    if (capacity > kKeptCapacity)
        Release();
    used = readAt = 0;
}

void NameList::Release()
{
    delete[] names;
    names = nullptr;
    used = capacity = readAt = 0;
}

// An owned font handle, deleted when it is replaced or goes; empty means "use the stock font".
#pragma once
#include <windows.h>

class FontHandle {
public:
    FontHandle() = default;
    ~FontHandle();
    FontHandle(const FontHandle&) = delete;
    FontHandle& operator=(const FontHandle&) = delete;

    // Takes the font over; the one held before is deleted, so it must no longer be selected anywhere.
    void Reset(HFONT replacement = nullptr);
    HFONT Get() const { return font; }

private:
    HFONT font = nullptr;
};

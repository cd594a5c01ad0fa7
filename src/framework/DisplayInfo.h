// An information context for the display with a font selected in it, released on every way out.
#pragma once
#include <windows.h>

class DisplayInfo {
public:
    // font null keeps the context's own, the system font.
    explicit DisplayInfo(HFONT font);
    ~DisplayInfo();
    DisplayInfo(const DisplayInfo&) = delete;
    DisplayInfo& operator=(const DisplayInfo&) = delete;

    // Null when no context could be made.
    HDC Get() const { return dc; }
    // The selected font's metrics; 0 when there is no context or they cannot be read.
    int Metrics(TEXTMETRICA& metrics) const;

private:
    HDC dc;
    HGDIOBJ previous;
};

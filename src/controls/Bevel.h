// A one-pixel sunken frame: shadow on the left and top, highlight on the right and bottom.
#pragma once
#include <windows.h>

class Bevel {
public:
    Bevel();

    void SetFromRect(const RECT& rect);
    void Draw(HDC dc) const;

    COLORREF highlight;
    COLORREF shadow;
    int left;
    int top;
    int width;
    int height;
    // Lines this many pixels wide, growing outwards from the rectangle.
    int thickness;
};

// A captured rectangle of the screen, with the pixel checks tests make on it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

class ScreenImage {
public:
    ScreenImage() = default;
    ScreenImage(int width, int height, RECT screenArea);

    // The screen, a screen rectangle, or a window's rectangle as shown on the screen (whatever
    // covers it included). Empty when the capture fails.
    static ScreenImage CaptureScreen();
    static ScreenImage CaptureRect(const RECT& screenRect);
    static ScreenImage CaptureWindow(HWND window);

    bool IsEmpty() const { return width == 0 || height == 0; }
    int Width() const { return width; }
    int Height() const { return height; }
    // Where the image was taken, in screen coordinates.
    RECT ScreenArea() const { return area; }
    // RGB(r, g, b) of a pixel in image coordinates; CLR_INVALID outside.
    COLORREF Pixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF colour);
    // Rows top-down, each pixel 0xAARRGGBB.
    const std::vector<uint32_t>& Pixels() const { return pixels; }
    std::vector<uint32_t>& MutablePixels() { return pixels; }

    // Pixels within region (image coordinates, clipped) whose every channel is within tolerance
    // of colour.
    int CountColour(COLORREF colour, const RECT& region, int tolerance = 0) const;
    int CountColour(COLORREF colour, int tolerance = 0) const;
    // The first such pixel in reading order.
    bool FindColour(COLORREF colour, const RECT& region, POINT* at, int tolerance = 0) const;
    // The colour most pixels of region have.
    COLORREF DominantColour(const RECT& region) const;

    bool SavePng(const std::string& path) const;

private:
    int width = 0;
    int height = 0;
    RECT area = {};
    std::vector<uint32_t> pixels;
};

} // namespace e2e

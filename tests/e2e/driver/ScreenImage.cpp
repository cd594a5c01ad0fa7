// Screen capture by BitBlt from the screen DC, and pixel checks on the result.
//
// Cross-process PrintWindow draws nothing under Wine; the screen shows what the user sees.
#include "driver/ScreenImage.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>

#include "driver/PngEncoder.h"

namespace e2e {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

uint32_t ToPixel(COLORREF colour)
{
    return kOpaque | (static_cast<uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

COLORREF ToColour(uint32_t pixel)
{
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool Near(uint32_t pixel, COLORREF colour, int tolerance)
{
    return std::abs(static_cast<int>((pixel >> 16) & 0xFF) - GetRValue(colour)) <= tolerance &&
           std::abs(static_cast<int>((pixel >> 8) & 0xFF) - GetGValue(colour)) <= tolerance &&
           std::abs(static_cast<int>(pixel & 0xFF) - GetBValue(colour)) <= tolerance;
}

RECT Clip(const RECT& region, int width, int height)
{
    RECT clipped = {std::max<LONG>(region.left, 0), std::max<LONG>(region.top, 0),
                    std::min<LONG>(region.right, width), std::min<LONG>(region.bottom, height)};
    return clipped;
}

class ScreenDc {
public:
    ScreenDc() : dc(GetDC(nullptr)) {}
    ~ScreenDc()
    {
        if (dc)
            ReleaseDC(nullptr, dc);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC dc;
};

class MemoryDc {
public:
    explicit MemoryDc(HDC like) : dc(CreateCompatibleDC(like)) {}
    ~MemoryDc()
    {
        if (dc)
            DeleteDC(dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC dc;
};

class DibSection {
public:
    DibSection(HDC dc, int width, int height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    }
    ~DibSection()
    {
        if (bitmap)
            DeleteObject(bitmap);
    }
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;
    HBITMAP bitmap = nullptr;
    void* bits = nullptr;
};

} // namespace

ScreenImage::ScreenImage(int imageWidth, int imageHeight, RECT screenArea)
    : width(imageWidth), height(imageHeight), area(screenArea),
      pixels(static_cast<size_t>(imageWidth) * static_cast<size_t>(imageHeight), kOpaque)
{
}

ScreenImage ScreenImage::CaptureScreen()
{
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return CaptureRect(screen);
}

ScreenImage ScreenImage::CaptureWindow(HWND window)
{
    RECT rect = {};
    if (!GetWindowRect(window, &rect))
        return ScreenImage();
    return CaptureRect(rect);
}

ScreenImage ScreenImage::CaptureRect(const RECT& screenRect)
{
    const int w = screenRect.right - screenRect.left;
    const int h = screenRect.bottom - screenRect.top;
    if (w <= 0 || h <= 0)
        return ScreenImage();
    ScreenDc screen;
    if (!screen.dc)
        return ScreenImage();
    MemoryDc memory(screen.dc);
    DibSection dib(screen.dc, w, h);
    if (!memory.dc || !dib.bitmap)
        return ScreenImage();
    HGDIOBJ old = SelectObject(memory.dc, dib.bitmap);
    BOOL copied = BitBlt(memory.dc, 0, 0, w, h, screen.dc, screenRect.left, screenRect.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    SelectObject(memory.dc, old);
    if (!copied)
        return ScreenImage();
    ScreenImage image(w, h, screenRect);
    const uint32_t* bits = static_cast<const uint32_t*>(dib.bits);
    // The screen leaves the alpha byte undefined; viewers show such pixels as transparent.
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = bits[i] | kOpaque;
    return image;
}

COLORREF ScreenImage::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return CLR_INVALID;
    return ToColour(pixels[static_cast<size_t>(y) * width + x]);
}

void ScreenImage::SetPixel(int x, int y, COLORREF colour)
{
    if (x >= 0 && y >= 0 && x < width && y < height)
        pixels[static_cast<size_t>(y) * width + x] = ToPixel(colour);
}

int ScreenImage::CountColour(COLORREF colour, const RECT& region, int tolerance) const
{
    const RECT r = Clip(region, width, height);
    int count = 0;
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x)
            if (Near(pixels[static_cast<size_t>(y) * width + x], colour, tolerance))
                ++count;
    return count;
}

int ScreenImage::CountColour(COLORREF colour, int tolerance) const
{
    RECT all = {0, 0, width, height};
    return CountColour(colour, all, tolerance);
}

bool ScreenImage::FindColour(COLORREF colour, const RECT& region, POINT* at, int tolerance) const
{
    const RECT r = Clip(region, width, height);
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x)
            if (Near(pixels[static_cast<size_t>(y) * width + x], colour, tolerance)) {
                if (at)
                    *at = POINT{x, y};
                return true;
            }
    return false;
}

COLORREF ScreenImage::DominantColour(const RECT& region) const
{
    const RECT r = Clip(region, width, height);
    std::map<uint32_t, int> counts;
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x)
            ++counts[pixels[static_cast<size_t>(y) * width + x]];
    if (counts.empty())
        return CLR_INVALID;
    auto best = std::max_element(counts.begin(), counts.end(),
                                 [](const auto& a, const auto& b) { return a.second < b.second; });
    return ToColour(best->first);
}

bool ScreenImage::SavePng(const std::string& path) const
{
    if (IsEmpty())
        return false;
    std::vector<uint8_t> png = PngEncoder::Encode(*this);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return out.good();
}

} // namespace e2e

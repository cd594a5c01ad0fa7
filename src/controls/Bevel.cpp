// The sunken frame drawn around a message window's text.
#include "controls/Bevel.h"

namespace {
constexpr int kNoRect = -1;
}

Bevel::Bevel()
    : highlight(GetSysColor(COLOR_BTNHIGHLIGHT)), shadow(GetSysColor(COLOR_BTNSHADOW)),
      left(0), top(0), width(kNoRect), height(0), thickness(1) {}

void Bevel::SetFromRect(const RECT& rect)
{
    left = rect.left;
    top = rect.top;
    width = rect.right - rect.left + 1;
    height = rect.bottom - rect.top + 1;
}

void Bevel::Draw(HDC dc) const
{
    if (width == kNoRect)
        return;
    int right = left + width - 1;
    int bottom = top + height - 1;

    HPEN shadowPen = CreatePen(PS_SOLID, 1, shadow);
    HPEN highlightPen = CreatePen(PS_SOLID, 1, highlight);
    if (!shadowPen || !highlightPen) {
        if (shadowPen)
            DeleteObject(shadowPen);
        if (highlightPen)
            DeleteObject(highlightPen);
        return;
    }

    HGDIOBJ previous = SelectObject(dc, shadowPen);
    for (int ring = 0; ring < thickness; ++ring) {
        SelectObject(dc, shadowPen);
        MoveToEx(dc, left - ring, bottom + ring, nullptr);
        LineTo(dc, left - ring, top - ring);
        LineTo(dc, right + ring, top - ring);
        SelectObject(dc, highlightPen);
        LineTo(dc, right + ring, bottom + ring);
        LineTo(dc, left - ring, bottom + ring);
    }
    SelectObject(dc, previous);

    DeleteObject(shadowPen);
    DeleteObject(highlightPen);
}

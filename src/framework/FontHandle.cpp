// The owned font handle.
#include "framework/FontHandle.h"

FontHandle::~FontHandle()
{
    Reset();
}

void FontHandle::Reset(HFONT replacement)
{
    if (font && font != replacement)
        DeleteObject(font);
    font = replacement;
}

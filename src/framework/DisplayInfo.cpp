// Measuring text for the display without a window: the context, its font and their release.
#include "framework/DisplayInfo.h"

DisplayInfo::DisplayInfo(HFONT font) : dc(CreateICA("DISPLAY", nullptr, nullptr, nullptr)), previous(nullptr)
{
    if (dc && font)
        previous = SelectObject(dc, font);
}

DisplayInfo::~DisplayInfo()
{
    if (!dc)
        return;
    if (previous)
        SelectObject(dc, previous);
    DeleteDC(dc);
}

int DisplayInfo::Metrics(TEXTMETRICA& metrics) const
{
    return dc && GetTextMetricsA(dc, &metrics);
}

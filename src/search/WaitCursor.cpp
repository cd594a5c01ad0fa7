// The wait cursor around a search.
#include "search/WaitCursor.h"

WaitCursor::WaitCursor() : previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))), active(true) {}

WaitCursor::~WaitCursor()
{
    End();
}

void WaitCursor::End()
{
    if (!active)
        return;
    active = false;
    SetCursor(previous);
}

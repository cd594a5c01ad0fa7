// Places a window over its owner (or the screen), keeping it on the screen.
#pragma once
#include <windows.h>

void CentreWindow(HWND window);

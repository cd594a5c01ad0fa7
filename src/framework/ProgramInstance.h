// The program's module handle, shared by every window creation, class registration and resource load.
#pragma once
#include <windows.h>

extern HINSTANCE programInstance;

// The stored instance, or the executable's own module while static construction runs before WinMain.
HINSTANCE ProgramInstance();

// The program's module handle.
#include "framework/ProgramInstance.h"

HINSTANCE programInstance = nullptr;

HINSTANCE ProgramInstance()
{
    return programInstance ? programInstance : GetModuleHandleA(nullptr);
}

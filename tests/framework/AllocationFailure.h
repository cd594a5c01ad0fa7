// The replacement nothrow operator new[]; exactly one source file of a test program defines it. The
// single form comes with it, so the program's own no-throw forms are not linked in beside these.
#pragma once
#include "framework/TestSupport.h"

#ifdef SEEKWORD_DEFINE_ALLOCATION_FAILURE
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    int& countdown = testing_support::AllocationFailure::countdown();
    if (countdown > 0 && --countdown == 0)
        return nullptr;
    // The default operator delete[] hands memory back to free().
    return std::malloc(size ? size : 1);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}
#endif

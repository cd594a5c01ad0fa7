// An array of fixed-size records in one block of global memory that only ever grows.
#include "textview/GrowableArray.h"

#include <climits>

GrowableArray::GrowableArray() : ok(0), capacity(0), growStep(0), elementSize(0), block(nullptr) {}

GrowableArray::~GrowableArray()
{
    if (block)
        GlobalFree(block);
}

void* GrowableArray::Allocate(int initialCount, int step, int size)
{
    capacity = initialCount;
    growStep = step;
    elementSize = size;
    ok = 1;
    if (block) {
        GlobalFree(block);
        block = nullptr;
    }
    unsigned long long bytes = static_cast<unsigned long long>(initialCount > 0 ? initialCount : 0) *
                               static_cast<unsigned long long>(size > 0 ? size : 0);
    if (initialCount > 0 && size > 0 && bytes <= static_cast<SIZE_T>(-1))
        block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, static_cast<SIZE_T>(bytes));
    if (!block) {
        capacity = 0;
        ok = 0;
    }
    return block;
}

void* GrowableArray::Grow()
{
    return GrowBySteps(1);
}

void* GrowableArray::GrowBySteps(int steps)
{
    if (!block || growStep <= 0 || elementSize <= 0) {
        ok = 0;
        return block;
    }
    if (steps < 1)
        steps = 1;
    for (;;) {
        long long count = static_cast<long long>(capacity) + static_cast<long long>(growStep) * steps;
        unsigned long long bytes = static_cast<unsigned long long>(count) * static_cast<unsigned long long>(elementSize);
        if (count <= INT_MAX && bytes <= static_cast<SIZE_T>(-1)) {
            void* grown = GlobalReAlloc(block, static_cast<SIZE_T>(bytes), GMEM_MOVEABLE | GMEM_ZEROINIT);
            if (grown) {
                block = grown;
                capacity = static_cast<int>(count);
                ok = 1;
                return block;
            }
        }
        if (steps == 1)
            break;
        steps = 1;  // a large jump was refused: a single step may still fit
    }
    ok = 0;
    return block;
}

// An array of fixed-size records in one block of global memory that only ever grows.
#pragma once
#include <windows.h>

class GrowableArray {
public:
    GrowableArray();
    ~GrowableArray();
    GrowableArray(const GrowableArray&) = delete;
    GrowableArray& operator=(const GrowableArray&) = delete;

    // Both return the current block; Allocate returns null when it fails.
    void* Allocate(int initialCount, int step, int size);
    void* Grow();
    // Grows by several steps at once; falls back to a single step when the larger block is refused.
    void* GrowBySteps(int steps);

    int ok;
    int capacity;
    int growStep;
    int elementSize;
    void* block;
};

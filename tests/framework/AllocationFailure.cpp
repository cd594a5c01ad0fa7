// Replaces the nothrow array allocation so tests can make the product's allocations fail.
#define SEEKWORD_DEFINE_ALLOCATION_FAILURE
#include "framework/AllocationFailure.h"

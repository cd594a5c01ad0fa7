// SSE2 where the processor has it: always on x86-64, asked at run time on 32-bit x86.
#pragma once

#include <windows.h>

#if defined(_M_IX86) || defined(_M_X64) || defined(__i386__) || defined(__x86_64__)
#define SEEKWORD_HAS_SSE2 1
#include <emmintrin.h>

// A 32-bit x86 build may not assume SSE2, so only the functions that use it are compiled for it; MSVC
// compiles intrinsics for any function and needs no mark.
#if (defined(__GNUC__) || defined(__clang__)) && !defined(__SSE2__)
#define SEEKWORD_SSE2_FUNCTION __attribute__((target("sse2")))
#else
#define SEEKWORD_SSE2_FUNCTION
#endif

#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif

// The lowest set bit of a nonzero mask.
inline unsigned LowestBit(unsigned mask)
{
#if defined(_MSC_VER) && !defined(__clang__)
    unsigned long index;
    _BitScanForward(&index, mask);
    return static_cast<unsigned>(index);
#else
    return static_cast<unsigned>(__builtin_ctz(mask));
#endif
}
#endif

inline int ProcessorHasSse2()
{
#if defined(_M_X64) || defined(__x86_64__)
    return 1;
#elif defined(SEEKWORD_HAS_SSE2)
    static const int present = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) ? 1 : 0;
    return present;
#else
    return 0;
#endif
}

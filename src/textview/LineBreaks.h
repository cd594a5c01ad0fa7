// Finding where lines end fast enough that indexing a file keeps up with reading it.
#pragma once

#include "framework/Sse2.h"

// The first CR or LF in [p, end), or end; tab tells whether a tab comes before it.
const unsigned char* FindLineBreak(const unsigned char* p, const unsigned char* end, bool& tab);

// The ways it looks, open to the tests: eight bytes a step on any processor, sixteen with SSE2.
const unsigned char* FindLineBreakPortable(const unsigned char* p, const unsigned char* end, bool& tab);
#if defined(SEEKWORD_HAS_SSE2)
const unsigned char* FindLineBreakSse2(const unsigned char* p, const unsigned char* end, bool& tab);
#endif

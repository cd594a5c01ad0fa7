// Character starts of ANSI text on double-byte code pages (932, 936, 949, 950), from the lead bytes alone.
#include "textview/CodePageText.h"

#include <cstring>

// The system's CharNextExA is not used: Wine's takes a lead byte with a following CR as one character.
CodePageText::CodePageText(UINT codePage) : lead(), doubleByte(0)
{
    CPINFO info;
    if (!GetCPInfo(codePage, &info) || info.MaxCharSize != 2)
        return;
    for (int c = 0x80; c < 256; ++c) {
        lead[c] = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(c)) ? 1 : 0;
        doubleByte |= lead[c];
    }
}

const CodePageText& CodePageText::Ansi()
{
    static const CodePageText ansi(CP_ACP);
    return ansi;
}

// The byte before a run of lead bytes ends a character, so the run starts with one; within the run the
// bytes pair off, and the byte at p is a second byte only after an odd run and when it may be one.
int CodePageText::StartsCharacterAfter(const char* text, size_t known, size_t p) const
{
    if (!doubleByte || p <= known)
        return 1;
    const unsigned char* b = reinterpret_cast<const unsigned char*>(text);
    size_t k = p;
    while (k > known && lead[b[k - 1]])
        --k;
    return (p - k) % 2 == 0 || b[p] < kLowestSecondByte;
}

size_t CodePageText::FitLength(const char* text, size_t n, size_t room) const
{
    if (n <= room)
        return n;
    if (!doubleByte)
        return room;
    return StartsCharacter(text, room) ? room : room - 1;
}

int CodePageText::WholeLength(const char* text) const
{
    const size_t n = strlen(text);
    if (!doubleByte || n == 0)
        return static_cast<int>(n);
    size_t i = 0;
    while (i + 1 < n)
        i += CharLength(text, i, n);
    // A lead byte standing last lost its second byte to a cut.
    return static_cast<int>(i < n && lead[static_cast<unsigned char>(text[i])] ? n - 1 : n);
}

char* CodePageText::FoldAscii(char* s) const
{
    const size_t n = strlen(s);
    for (size_t i = 0; i < n;) {
        const size_t length = CharLength(s, i, n);
        if (length == 1 && s[i] >= 'A' && s[i] <= 'Z')
            s[i] = static_cast<char>(s[i] - 'A' + 'a');
        i += length;
    }
    return s;
}

void CodePageText::MarkSecondBytes(const char* text, unsigned char* marks) const
{
    const size_t n = strlen(text);
    for (size_t i = 0; i < n;) {
        const size_t length = CharLength(text, i, n);
        marks[i] = 0;
        if (length == 2)
            marks[i + 1] = 1;
        i += length;
    }
}

// Where characters of ANSI text start on a code page whose characters take one or two bytes.
#pragma once
#include <windows.h>

#include <cstddef>

// A lead byte and the byte after it form one character only when that byte exists and is at least 0x40
// (so never CR, LF or NUL); otherwise the lead byte stands alone. Bytes below 0x40 are always whole
// characters. On a single-byte code page every byte is a character.
class CodePageText {
public:
    explicit CodePageText(UINT codePage);
    // The process's ANSI code page, taken once.
    static const CodePageText& Ansi();

    int DoubleByte() const { return doubleByte; }
    int IsLeadByte(unsigned char c) const { return lead[c]; }

    // Bytes of the character that starts at text[i], with text[0, n) the text.
    size_t CharLength(const char* text, size_t i, size_t n) const
    {
        return lead[static_cast<unsigned char>(text[i])] && i + 1 < n &&
                       static_cast<unsigned char>(text[i + 1]) >= kLowestSecondByte
                   ? 2
                   : 1;
    }
    // Whether text[p] starts a character, text[0] being a start; reads text[0..p] only.
    int StartsCharacter(const char* text, size_t p) const { return StartsCharacterAfter(text, 0, p); }
    // The same, with text[known] a start already known at or before p: the bytes before it are not read.
    int StartsCharacterAfter(const char* text, size_t known, size_t p) const;
    // The start of the character that holds text[p].
    size_t CharacterStart(const char* text, size_t p) const { return StartsCharacter(text, p) ? p : p - 1; }
    // The longest part of text[0, n) that ends with a whole character and fits in room bytes.
    size_t FitLength(const char* text, size_t n, size_t room) const;
    // The length of a terminated text without a last lead byte whose second byte was cut away.
    int WholeLength(const char* text) const;
    // Lowers A to Z where they are characters of their own (never a second byte), up to the terminator.
    char* FoldAscii(char* s) const;
    // For each byte of a terminated text: 1 where it is the second byte of a character, else 0.
    void MarkSecondBytes(const char* text, unsigned char* marks) const;

    static constexpr unsigned char kLowestSecondByte = 0x40;

private:
    unsigned char lead[256];
    int doubleByte;
};

// Bringing a file's text to the ANSI code page: which form it is stored in, and the conversion in place.
#pragma once
#include <windows.h>

#include <cstddef>

class AnsiText {
public:
    enum Form { kAnsi, kUtf16Le, kUtf16Be, kUtf8 };

    AnsiText();
    ~AnsiText();
    AnsiText(const AnsiText&) = delete;
    AnsiText& operator=(const AnsiText&) = delete;

    // Whether the ANSI code page holds one byte per character.
    static int SingleByte();
    // Files are converted where the ANSI code page holds one or two bytes per character, not where it is UTF-8.
    static int Converts();
    // The byte a character the code page lacks becomes.
    static char DefaultChar();
    // The form a byte-order mark at the start names; kAnsi without one. (FF FE 00 00 is UTF-32, not UTF-16.)
    static Form MarkedForm(const char* bytes, size_t n);
    // Unmarked UTF-8: the bytes hold a byte 0x80-0xFF and are valid UTF-8 throughout.
    static int IsUtf8(const char* bytes, size_t n);
    // Whether the bytes are valid UTF-8 throughout; high becomes 1 when they hold a byte 0x80-0xFF.
    static int ValidUtf8(const char* bytes, size_t n, int& high);
    // The bytes of n in form that end with a whole character: a sequence or surrogate pair cut by n is left
    // for the next part, and so is the odd byte of UTF-16.
    static size_t WholeLength(const char* bytes, size_t n, Form form);

    // Starts converting the n bytes at bytes, stored in form, into the same place; 0 without memory for it.
    int Begin(char* bytes, size_t n, Form form);
    // Converts the next part; 0 when the system cannot.
    int Step();
    int Done() const { return in >= end; }
    // The length of the text converted so far.
    size_t Length() const { return out; }

    // Converts the n bytes at from, stored in form, without a mark, into to (room for n bytes); a text read
    // in parts gives each part as it comes, from a whole character on. Returns the bytes taken: all n when
    // last, else those up to the end of the last whole character. made is the bytes written; 0 on failure.
    int ConvertPart(const char* from, size_t n, Form stored, int last, char* to, size_t* taken, size_t* made);

private:
    DWORD WidePart();

    wchar_t* wide;
    char* text;
    char* target;
    size_t in, end, out;
    Form form;
};

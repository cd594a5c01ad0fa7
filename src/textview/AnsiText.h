// Bringing a file's text to the ANSI code page: which form it is stored in, and the conversion in place.
#pragma once
#include <windows.h>

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
    static Form MarkedForm(const char* bytes, DWORD n);
    // Unmarked UTF-8: the bytes hold a byte 0x80-0xFF and are valid UTF-8 throughout.
    static int IsUtf8(const char* bytes, DWORD n);

    // Starts converting the n bytes at bytes, stored in form, into the same place; 0 without memory for it.
    int Begin(char* bytes, DWORD n, Form form);
    // Converts the next part; 0 when the system cannot.
    int Step();
    int Done() const { return in >= end; }
    // The length of the text converted so far.
    DWORD Length() const { return out; }

private:
    DWORD WidePart();

    wchar_t* wide;
    char* text;
    DWORD in, end, out;
    Form form;
};

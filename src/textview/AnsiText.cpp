// Text stored as UTF-16 or UTF-8 brought to the ANSI code page, part by part, in the file's own buffer.
#include "textview/AnsiText.h"

#include <cstring>
#include <new>

namespace {

constexpr DWORD kWidePart = 32768;  // UTF-16 units converted at a time
constexpr size_t kUtf16MarkLength = 2;
constexpr size_t kUtf8MarkLength = 3;
constexpr size_t kLargestRoom = 0x7FFFFFFF;  // the size an int argument can give

inline bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

}  // namespace

AnsiText::AnsiText() : wide(nullptr), text(nullptr), target(nullptr), in(0), end(0), out(0), form(kAnsi) {}

AnsiText::~AnsiText()
{
    delete[] wide;
}

// Where the code page is multi-byte or UTF-8, a byte is not a character, and files are searched as their bytes.
int AnsiText::SingleByte()
{
    static const int single = [] {
        CPINFO info;
        return GetACP() != CP_UTF8 && GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1 ? 1 : 0;
    }();
    return single;
}

int AnsiText::Converts()
{
    static const int converts = [] {
        CPINFO info;
        return GetACP() != CP_UTF8 && GetCPInfo(CP_ACP, &info) && info.MaxCharSize <= 2 ? 1 : 0;
    }();
    return converts;
}

char AnsiText::DefaultChar()
{
    static const char defaultChar = [] {
        CPINFO info;
        return GetCPInfo(CP_ACP, &info) ? static_cast<char>(info.DefaultChar[0]) : '?';
    }();
    return defaultChar;
}

AnsiText::Form AnsiText::MarkedForm(const char* bytes, size_t n)
{
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE)
        return n >= 4 && b[2] == 0 && b[3] == 0 ? kAnsi : kUtf16Le;
    if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF)
        return kUtf16Be;
    if (n >= kUtf8MarkLength && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
        return kUtf8;
    return kAnsi;
}

int AnsiText::IsUtf8(const char* bytes, size_t n)
{
    int high = 0;
    return ValidUtf8(bytes, n, high) && high;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. Runs of ASCII go a word at a time.
int AnsiText::ValidUtf8(const char* bytes, size_t n, int& high)
{
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    constexpr unsigned long long kHighBits = 0x8080808080808080ull;
    size_t i = 0;
    while (i < n) {
        if (b[i] < 0x80) {
            // Four words a step while none has a high bit, then a word at a time up to the one that has.
            unsigned long long words[4];
            for (; i + sizeof words <= n; i += sizeof words) {
                memcpy(words, b + i, sizeof words);
                if ((words[0] | words[1] | words[2] | words[3]) & kHighBits)
                    break;
            }
            unsigned long long word;
            for (; i + sizeof word <= n; i += sizeof word) {
                memcpy(&word, b + i, sizeof word);
                if (word & kHighBits)
                    break;
            }
            while (i < n && b[i] < 0x80)
                ++i;
            continue;
        }
        high = 1;
        const unsigned char lead = b[i];
        unsigned char low = 0x80, top = 0xBF;
        size_t length;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                top = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                top = 0x8F;
        } else {
            return 0;
        }
        if (n - i < length || b[i + 1] < low || b[i + 1] > top)
            return 0;
        for (size_t k = 2; k < length; ++k) {
            if (!IsContinuation(b[i + k]))
                return 0;
        }
        i += length;
    }
    return 1;
}

// UTF-8: a lead byte among the last three whose sequence runs past n starts the next part. UTF-16: whole
// units, and a high surrogate last waits for its pair.
size_t AnsiText::WholeLength(const char* bytes, size_t n, Form form)
{
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    if (form == kUtf8) {
        for (size_t back = 1; back <= 3 && back <= n; ++back) {
            const unsigned char c = b[n - back];
            if (IsContinuation(c))
                continue;
            const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            return length > back ? n - back : n;
        }
        return n;
    }
    if (form == kUtf16Le || form == kUtf16Be) {
        size_t whole = n & ~static_cast<size_t>(1);
        if (whole >= 2) {
            const unsigned char high = form == kUtf16Le ? b[whole - 1] : b[whole - 2];
            if (high >= 0xD8 && high <= 0xDB)
                whole -= 2;
        }
        return whole;
    }
    return n;
}

int AnsiText::Begin(char* bytes, size_t n, Form stored)
{
    if (!wide)
        wide = new (std::nothrow) wchar_t[kWidePart];
    if (!wide)
        return 0;
    text = bytes;
    target = bytes;
    form = stored;
    out = 0;
    end = n;
    in = 0;
    if (form == kUtf8) {
        if (MarkedForm(bytes, n) == kUtf8)
            in = kUtf8MarkLength;
    } else if (n >= kUtf16MarkLength) {
        in = kUtf16MarkLength;
        // A last odd byte is half a character: it is left out.
        end = in + ((n - in) & ~static_cast<size_t>(1));
    } else {
        end = 0;
    }
    return 1;
}

// Each part goes through the wide buffer and is written back behind the place it was read from: every
// character takes at least as many bytes in the file as in the code page (a UTF-16 unit two, a double-byte
// character two), so the output never overtakes the input, and the room up to the input is the output's size.
int AnsiText::Step()
{
    const DWORD units = WidePart();
    if (!units)
        return 0;
    const size_t room = in - out < kLargestRoom ? in - out : kLargestRoom;
    const int made = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, static_cast<int>(units), target + out,
                                         static_cast<int>(room), nullptr, nullptr);
    if (made <= 0)
        return 0;
    out += static_cast<size_t>(made);
    return 1;
}

// The same steps as a conversion in place, from one buffer into another: the output of a part never
// outgrows what it has read, so n bytes of room always do.
int AnsiText::ConvertPart(const char* from, size_t n, Form stored, int last, char* to, size_t* taken, size_t* made)
{
    *taken = *made = 0;
    if (!wide)
        wide = new (std::nothrow) wchar_t[kWidePart];
    if (!wide)
        return 0;
    text = const_cast<char*>(from);  // only read
    target = to;
    form = stored;
    in = out = 0;
    end = last ? n : WholeLength(from, n, stored);
    if (last && stored != kUtf8)
        end = n & ~static_cast<size_t>(1);
    while (in < end) {
        if (!Step())
            return 0;
    }
    *taken = last ? n : end;
    *made = out;
    return 1;
}

// Takes the next part into the wide buffer and moves past it; returns its UTF-16 units (0 on failure). A part
// never ends inside a character.
DWORD AnsiText::WidePart()
{
    const unsigned char* b = reinterpret_cast<const unsigned char*>(text);
    if (form == kUtf8) {
        size_t take = end - in < kWidePart ? end - in : kWidePart;
        for (int k = 0; k < 3 && in + take < end && IsContinuation(b[in + take]); ++k)
            --take;
        const int units = MultiByteToWideChar(CP_UTF8, 0, text + in, static_cast<int>(take), wide,
                                              static_cast<int>(kWidePart));
        in += take;
        return units > 0 ? static_cast<DWORD>(units) : 0;
    }
    size_t units = (end - in) / 2 < kWidePart ? (end - in) / 2 : kWidePart;
    const int high = form == kUtf16Be ? 0 : 1;
    for (size_t k = 0; k < units; ++k)
        wide[k] = static_cast<wchar_t>(b[in + 2 * k + high] << 8 | b[in + 2 * k + 1 - high]);
    if (units > 1 && in + 2 * units < end && wide[units - 1] >= 0xD800 && wide[units - 1] <= 0xDBFF)
        --units;  // the pair's second half starts the next part
    in += 2 * units;
    return static_cast<DWORD>(units);
}

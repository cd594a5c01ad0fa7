// The text view's large files: counted part by part in buffers that are reused, and a hit shown as it
// stands indexed the same way, then read again where it is shown.
#include "textview/TextView.h"

#include <cstring>
#include <new>

#include "textview/CodePageText.h"

namespace {

// Room in front of each part for the bytes the previous part leaves: the search text's length, or a
// cut UTF-8 sequence or UTF-16 pair, whichever reaches further back.
constexpr size_t kCarryRoom = 256;
constexpr DWORD kSmallestPart = 4;  // a part holds any byte-order mark whole

// One text being counted as it comes: the bytes before text are those the last part left.
struct Reading {
    char* text;            // where the next part's bytes go
    size_t carried = 0;    // bytes left in front of text
    unsigned long long count = 0;
};

}  // namespace

size_t TextView::CountTextLength()
{
    return 0;
}

unsigned long long TextView::CountPart(const char*, size_t, size_t)
{
    return 0;
}

int TextView::TakePartCount(unsigned long long count)
{
    return count != 0;
}

int TextView::AcquirePartBuffers(DWORD part)
{
    const size_t size = kCarryRoom + part + kBufferSlack;
    if (partBuffers && partBufferSize == size)
        return 1;
    ReleasePartBuffers();
    partBuffers = new (std::nothrow) char[2 * size];
    if (!partBuffers)
        return 0;
    partBufferSize = size;
    return 1;
}

void TextView::ReleasePartBuffers()
{
    delete[] partBuffers;
    partBuffers = nullptr;
    partBufferSize = 0;
}

// Counts the occurrences starting in text[0, cut) and returns cut: on a last part the whole text, else
// up to the character that begins the search text's length (less one) before the end, or at limit,
// whichever comes first; the next part counts again from there. The text's first byte always starts a
// character.
static size_t CountUpToCut(TextView& view, Reading& reading, size_t n, size_t keep, int last, size_t limit)
{
    const char* text = reading.text - reading.carried;
    size_t cut = n;
    if (!last) {
        if (n <= keep)
            return 0;
        cut = CodePageText::Ansi().CharacterStart(text, n - keep < limit ? n - keep : limit);
    }
    if (cut)
        reading.count += view.CountPart(text, n, cut);
    return cut;
}

// Leaves text[cut, n) in front of the reading's text for the next part.
static void Carry(Reading& reading, size_t n, size_t cut)
{
    const char* text = reading.text - reading.carried;
    memmove(reading.text - (n - cut), text + cut, n - cut);
    reading.carried = n - cut;
}

// Reads the file from its start part by part and counts each part's text, the bytes as they stand
// and, where the file is UTF-16 or UTF-8, their conversion. Unmarked UTF-8 needs the whole file to
// be known: where it matters both readings are counted at once and the file decides at its end.
// Returns 1 for a hit (form then tells how to show it), -2 for none, 0 when a read fails, -1 without
// memory, or kLoadStopped.
int TextView::CountInParts(HANDLE file, unsigned long long fileSize, AnsiText::Form& form)
{
    const size_t length = CountTextLength();
    if (!length)
        return -2;
    const DWORD part = partSize < kSmallestPart ? kSmallestPart : partSize;
    if (!AcquirePartBuffers(part))
        return -1;
    // The bytes a part leaves for the next: an occurrence starting before them ends inside the part,
    // and at least one, so the character at the cut is known.
    const size_t keep = length > 1 ? length - 1 : 1;
    Reading plain, converted;
    plain.text = partBuffers + kCarryRoom;
    converted.text = partBuffers + partBufferSize + kCarryRoom;

    // unmarked: the file may still turn out to be UTF-8; convert: its converted reading is counted.
    int countPlain = 1, convert = 0, unmarked = 0, high = 0;
    size_t convertFrom = 0;  // where the conversion (or the check for UTF-8) goes on in the plain text
    unsigned long long total = 0;
    form = AnsiText::kAnsi;
    hitsFrom = 0;
    for (int first = 1;; first = 0) {
        DWORD got = 0;
        if (!ReadPart(file, plain.text, part, &got) || got > part)
            return 0;
        total += got;
        const int last = got == 0 || total >= fileSize;
        const size_t n = plain.carried + got;
        const char* text = plain.text - plain.carried;
        if (first && AnsiText::Converts()) {
            form = AnsiText::MarkedForm(text, n);
            if (form != AnsiText::kAnsi) {
                countPlain = 0;
                convert = 1;
                convertFrom = form == AnsiText::kUtf8 ? 3 : 2;
            } else {
                // The check costs little on a part just read, and spares a hit the same look at all of it.
                unmarked = 1;
                convert = CountNeedsAnsiText();
                form = AnsiText::kUtf8;
            }
        }
        size_t convertCut = n;
        const size_t from = convertFrom < n ? convertFrom : n;
        if (unmarked) {
            const size_t whole = last ? n - from : AnsiText::WholeLength(text + from, n - from, AnsiText::kUtf8);
            convertCut = from + whole;
            if (!AnsiText::ValidUtf8(text + from, whole, high)) {
                // Not UTF-8 after all: the bytes as they stand are the text.
                convert = unmarked = 0;
                form = AnsiText::kAnsi;
                convertCut = n;
            }
        }
        if (convert) {
            size_t taken = 0, made = 0;
            if (!ansiText.ConvertPart(text + from, n - from, form, last, converted.text, &taken, &made))
                return -1;
            convertCut = from + taken;
            const size_t convertedLength = converted.carried + made;
            const size_t convertedCut = CountUpToCut(*this, converted, convertedLength, keep, last, convertedLength);
            Carry(converted, convertedLength, convertedCut);
        }
        // The bytes as they stand are counted no further than the conversion got, as both go on from there:
        // an occurrence in a sequence cut at the end is counted once, with the next part.
        size_t plainCut = convertCut;
        if (countPlain) {
            const unsigned long long before = plain.count;
            plainCut = CountUpToCut(*this, plain, n, keep, last, convertCut);
            // Find next on the file shown as it stands need not look before the part of the first occurrence.
            if (!before && plain.count)
                hitsFrom = total - got - plain.carried;
        }
        if (last)
            break;
        // Both readings go on from the earlier of their cuts.
        const size_t cut = plainCut < convertCut ? plainCut : convertCut;
        Carry(plain, n, cut);
        convertFrom = convertCut - cut;
        if (!KeepLoading()) {
            loadStopped = 1;
            return kLoadStopped;
        }
    }
    if (unmarked && !high)
        form = AnsiText::kAnsi;  // plain ASCII: both readings are the same text
    // Unmarked UTF-8 read as it stands gives the converted text's count where the count needs no conversion;
    // form still tells the hit to be shown converted.
    const int useConverted = form != AnsiText::kAnsi && convert;
    return TakePartCount(useConverted ? converted.count : plain.count) ? 1 : -2;
}

int TextView::ShowFromFile(const char* path, HANDLE file, size_t fileSize)
{
    int result = IndexFromFile(file, fileSize);
    // The bytes indexed are the text, should the file have changed size since it was counted.
    if (result == 1 && !shownFile.Open(path, file, indexedTo))
        result = -1;
    CloseHandle(file);
    if (result != 1)
        return result == -1 ? TooLargeToShow() : result;
    IndexComplete();
    return ShowDocument();
}

// Each part is read in behind the line the last one could not finish, so every line is indexed from
// bytes in memory. Returns 1, 0 when a read fails, -1 when there is no memory, or kLoadStopped.
int TextView::IndexFromFile(HANDLE file, size_t fileSize)
{
    const DWORD part = partSize < kSmallestPart ? kSmallestPart : partSize;
    // The count's two part buffers, taken as one, hold a part behind the most a part leaves: a line's
    // first CR, its longest piece and a CR LF.
    if (!AcquirePartBuffers(part))
        return -1;
    char* text = partBuffers;
    size_t base = 0, held = 0;  // text holds the file's bytes [base, base + held)
    int result = 1;
    for (;;) {
        DWORD got = 0;
        if (!ReadPart(file, text + held, part, &got) || got > part) {
            result = 0;
            break;
        }
        held += got;
        const int last = got == 0 || base + held >= fileSize;
        if (!IndexLines(text, base, base + held, fileSize, last)) {
            result = -1;
            break;
        }
        if (last)
            break;
        const size_t taken = indexedTo - base;
        memmove(text, text + taken, held - taken);
        held -= taken;
        base = indexedTo;
        if (!KeepLoading()) {
            loadStopped = 1;
            result = kLoadStopped;
            break;
        }
    }
    return result;
}

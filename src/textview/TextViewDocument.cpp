// The text view's document: reading a file whole, the line index and the tab arithmetic.
#include "textview/TextView.h"

#include <climits>
#include <cstring>

#include "textview/CodePageText.h"
#include "textview/KeyBinding.h"
#include "textview/LineBreaks.h"

namespace {
constexpr unsigned char kCR = 13;
constexpr unsigned char kLF = 10;
constexpr char kHT = '\t';
constexpr size_t kLineSample = 1u << 20;  // the stretch a large text's line count is reckoned from
}

void TextView::SetTitleAndCursor(const char* programTitle, int cursorId)
{
    title = programTitle;
    marginCursorId = cursorId;
    // Normally there is nothing yet; a buffer of an earlier use is released rather than lost.
    if (buffer)
        GlobalFree(buffer);
    buffer = nullptr;
    bufferCapacity = 0;
    bytesRead = 0;
    lineCapacity = 0;
    lineCount = 0;
    keyBindings = textViewKeyBindings;
    keyBindingCount = kKeyBindingCount;
}

int TextView::ResetDocument()
{
    if (!ClearDocument())
        return 0;
    UpdateCaret();
    UpdateVerticalRange();
    return 1;
}

int TextView::ClearDocument()
{
    // A drag must not run on (with its auto-scroll timer) into whatever is loaded next.
    AbandonDrag();
    selStartLine = selStartIndex = selEndLine = selEndIndex = 0;
    leftColumn = topLine = cursorRow = cursorColumn = 0;
    hasSelection = 0;
    if (lineCapacity) {
        // Records beyond the last file's lines are still zero from allocation or growth.
        int used = lineCount < lineCapacity ? lineCount : lineCapacity;
        if (used > 0)
            memset(lines.block, 0, static_cast<size_t>(used) * sizeof(LineEntry));
    } else {
        lines.Allocate(kInitialLineCapacity, kLineGrowStep, sizeof(LineEntry));
        lineCapacity = lines.capacity;
        if (!lineCapacity)
            return 0;
    }
    lineCount = 0;
    indexedTo = 0;
    indexSplit = 0;
    shownFile.Close();
    return 1;
}

// A candidate that turns out not to be a hit touches no window: the scroll bars and the caret
// follow only a file that is indexed and shown.
int TextView::LoadFile(const char* path)
{
    // The buffer and index of a large file shown before are not kept for the files after it.
    if (lineCapacity > kKeptLineCapacity) {
        lineCount = 0;
        lines.Allocate(kInitialLineCapacity, kLineGrowStep, sizeof(LineEntry));
        lineCapacity = lines.capacity;
    }
    if (!ClearDocument())
        return -1;
    bytesRead = 0;
    loadStopped = 0;
    if (bufferCapacity > wholeReadLargest + kBufferSlack)
        ReleaseBuffer();
    // Files other programs hold open (editors, logs being written) are read as they stand; this
    // program never writes one, so sharing costs nothing.
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0) {
        CloseHandle(file);
        return 0;
    }
    const unsigned long long fileSize = static_cast<unsigned long long>(size.QuadPart);
    // A large file is counted in parts first, and read whole only when it is a hit.
    AnsiText::Form form = AnsiText::kAnsi;
    int counted = 0;
    if (fileSize > wholeReadLargest || fileSize > ShowableLargest(AnsiText::kUtf8)) {
        const int result = CountInParts(file, fileSize, form);
        LARGE_INTEGER origin = {};
        if (result != 1 || fileSize > ShowableLargest(form) || !SetFilePointerEx(file, origin, nullptr, FILE_BEGIN)) {
            CloseHandle(file);
            return result != 1 ? result : kLoadTooLarge;
        }
        counted = 1;
        // Text shown as it stands is read again as it is shown: only its line index is held.
        if (form == AnsiText::kAnsi)
            return ShowFromFile(path, file, static_cast<size_t>(fileSize));
        ReleasePartBuffers();  // the file's own buffer takes their place
    }
    int result = AcquireBuffer(static_cast<size_t>(fileSize));
    if (result == 1)
        result = ReadWhole(file, static_cast<size_t>(fileSize));
    CloseHandle(file);
    // A hit already counted stays one when there is no memory to show it.
    if (counted && result == -1)
        return TooLargeToShow();
    if (result != 1)
        return result;

    // Text stored as UTF-16 or UTF-8 is counted, indexed and shown as the same text stored in ANSI.
    const int converts = AnsiText::Converts();
    int checkedFirst = 1;
    if (!counted) {
        form = converts ? AnsiText::MarkedForm(buffer, bytesRead) : AnsiText::kAnsi;
        checkedFirst = converts && form == AnsiText::kAnsi && CountNeedsAnsiText();
        if (checkedFirst && AnsiText::IsUtf8(buffer, bytesRead))
            form = AnsiText::kUtf8;
    }
    int converted = form != AnsiText::kAnsi;
    if (converted && (result = ConvertText(form)) != 1)
        return counted && result == -1 ? TooLargeToShow() : result;
    if (!counted && !CountMatches())
        return -2;
    // A count that may read unmarked UTF-8 as it stands gave the converted text's number: only a hit
    // is converted, and not counted again.
    if (converts && !converted && !counted && !checkedFirst && AnsiText::IsUtf8(buffer, bytesRead) &&
        (result = ConvertText(AnsiText::kUtf8)) != 1)
        return result;
    if (!BuildLineIndex())
        return counted ? TooLargeToShow() : -1;
    return ShowDocument();
}

int TextView::ShowDocument()
{
    UpdateCaret();
    CursorLineChanged();
    Redraw();
    return 1;
}

void TextView::ReleaseBuffer()
{
    if (buffer)
        GlobalFree(buffer);
    buffer = nullptr;
    bufferCapacity = 0;
    bytesRead = 0;
}

// A counted hit for which memory ran out: nothing of it is kept.
int TextView::TooLargeToShow()
{
    ReleaseBuffer();
    ClearDocument();
    return kLoadTooLarge;
}

// Whole reads of the largest size a process's address space can take: on a 32-bit build, what a
// large-address-aware process can hope to find free in one piece. Text shown from the disk needs only
// offsets that fit, with room for the parts read past a file that grew.
unsigned long long TextView::ShowableLargest(AnsiText::Form form) const
{
    if (showableLargest)
        return showableLargest;
#ifdef _WIN64
    (void)form;
    return 1ull << 47;
#else
    return form == AnsiText::kAnsi ? 0xFFFFFFFFull - (64u << 20) : 0x7FFFFFFFull - kBufferSlack;
#endif
}

// A smaller file reuses the buffer; a larger one replaces it. Returns 1 or -1 without memory.
int TextView::AcquireBuffer(size_t fileBytes)
{
    if (fileBytes < bufferCapacity && buffer)
        return 1;
    ReleaseBuffer();
    if (fileBytes > static_cast<size_t>(-1) - kBufferSlack)
        return -1;
    buffer = static_cast<char*>(GlobalAlloc(GMEM_FIXED, fileBytes + kBufferSlack));
    if (!buffer)
        return -1;
    bufferCapacity = fileBytes + kBufferSlack;
    // The pages of a large buffer brought in with one call cost far less than a fault for each page
    // as the read first writes it. Where the system refuses (a working-set quota), the read faults
    // them in as before.
    if (fileBytes > wholeReadLargest && VirtualLock(buffer, bufferCapacity))
        VirtualUnlock(buffer, bufferCapacity);
    return 1;
}

// The request reaches a little past the size, so a file that grew since it was sized is read on
// into the slack; no further: the system checks every page a read may write, and a buffer kept
// from a much larger file would make each small read pay for all of it. A large file comes in
// parts, with a look at the user between them; a short read goes on until the size is met.
// Returns 1, 0 when a read fails, or kLoadStopped; bytesRead holds the bytes of a whole read only.
int TextView::ReadWhole(HANDLE file, size_t fileBytes)
{
    const size_t request = bufferCapacity - fileBytes > kBufferSlack ? fileBytes + kBufferSlack : bufferCapacity;
    size_t total = 0;
    for (;;) {
        const DWORD part = request - total < kReadPart ? static_cast<DWORD>(request - total) : kReadPart;
        DWORD got = 0;
        if (!ReadPart(file, buffer + total, part, &got) || got > part)
            return 0;
        total += got;
        if (got == 0 || total >= fileBytes)
            break;
        if (!KeepLoading()) {
            loadStopped = 1;
            return kLoadStopped;
        }
    }
    bytesRead = total;
    return 1;
}

int TextView::ConvertText(AnsiText::Form form)
{
    int result = ansiText.Begin(buffer, bytesRead, form) ? 1 : -1;
    while (result == 1 && !ansiText.Done()) {
        if (!ansiText.Step()) {
            result = -1;
        } else if (!ansiText.Done() && !KeepLoading()) {
            loadStopped = 1;
            result = kLoadStopped;
        }
    }
    // A text half converted is no text at all.
    bytesRead = result == 1 ? ansiText.Length() : 0;
    return result;
}

int TextView::KeepLoading()
{
    return 1;
}

int TextView::CountNeedsAnsiText()
{
    return 1;
}

BOOL TextView::ReadPart(HANDLE file, char* destination, DWORD size, DWORD* got)
{
    return ReadFile(file, destination, size, got, nullptr);
}

int TextView::BuildLineIndex()
{
    const size_t n = buffer ? bytesRead : 0;
    if (!IndexLines(buffer, 0, n, n, 1))
        return 0;
    IndexComplete();
    return 1;
}

void TextView::IndexComplete()
{
    UpdateVerticalRange();
    if (indexSplit)
        OnLongLineSplit();
}

const char* TextView::LineBytes(const LineEntry& entry)
{
    if (shownFile.InUse())
        return shownFile.Bytes(entry.Start(), static_cast<size_t>(entry.Length()));
    return buffer ? buffer + entry.Start() : nullptr;
}

int TextView::IndexLines(const char* text, size_t base, size_t available, size_t whole, int last)
{
    // text holds the bytes from offset base on; p and n count within it.
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    const size_t n = available - base;
    const int width = tabWidth > 0 ? tabWidth : 1;
    LineEntry* entries = Entries();
    if (!entries)
        return 0;
    const CodePageText& chars = CodePageText::Ansi();
    // A line is taken only when all it may look at is there: its first CR, a piece, and CR LF after it.
    const size_t reach = static_cast<size_t>(maxLineLength) + 4;
    size_t p = indexedTo - base;
    // A large text's lines are reckoned from its first stretch, so the index grows once rather than
    // being copied at each doubling.
    const size_t none = static_cast<size_t>(-1);
    size_t sampleEnd = whole / 4 > kLineSample && indexedTo < kLineSample ? kLineSample - base : none;
    for (;;) {
        if (!last && n - p < reach)
            break;
        if (p >= sampleEnd) {
            sampleEnd = none;
            const double read = static_cast<double>(base + p);
            const double lines = static_cast<double>(lineCount) * (static_cast<double>(whole) / read);
            ReserveLines(static_cast<unsigned long long>(lines * 1.125) + kLineGrowStep);
            entries = Entries();
        }
        if (p < n && bytes[p] == kCR)
            ++p;
        const size_t start = p;
        int length = 0;
        int column = 0;
        // Most lines cannot reach the longest display line, even if every byte were a tab: their length is
        // where the break is, and only the others are measured column by column. The look stops at the
        // longest line, so a long line costs no more than its pieces.
        bool tab = false;
        const size_t lookEnd = n - p > static_cast<size_t>(maxLineLength) ? p + maxLineLength : n;
        const size_t lineEnd = static_cast<size_t>(FindLineBreak(bytes + p, bytes + lookEnd, tab) - bytes);
        const unsigned long long widest = static_cast<unsigned long long>(lineEnd - p) * (tab ? width : 1);
        if (widest < static_cast<unsigned long long>(maxLineLength)) {
            length = static_cast<int>(lineEnd - p);
            p = lineEnd;
        }
        // The byte last taken is the first of a double-byte character.
        int pairOpen = 0;
        while (p < n) {
            const unsigned char c = bytes[p];
            if (c == kCR || c == kLF)
                break;
            ++p;
            ++length;
            column += c == kHT ? width - column % width : 1;
            pairOpen = !pairOpen && chars.IsLeadByte(c) && p < n && bytes[p] >= CodePageText::kLowestSecondByte;
            if ((length >= maxLineLength || column >= maxLineLength) && p < n && bytes[p] != kCR &&
                bytes[p] != kLF) {
                // A piece never ends between the two bytes of a character: it goes to the next piece whole.
                if (pairOpen && length > 1) {
                    --p;
                    --length;
                }
                indexSplit = 1;
                break;
            }
        }
        entries[lineCount].Set(base + start, length);
        ++lineCount;
        if (lineCount == lineCapacity) {
            if (!GrowLineIndex())
                return 0;
            entries = Entries();
        }
        if (p < n && bytes[p] == kCR)
            ++p;
        if (p < n && bytes[p] == kLF) {
            ++p;
            continue;
        }
        if (p >= n)
            break;
    }
    indexedTo = base + p;
    return 1;
}

int TextView::GrowLineIndex()
{
    // Growing by a number of steps that doubles with every growth keeps indexing linear in the
    // number of lines; the capacity stays the first allocation plus whole steps.
    int grown = lineCapacity - kInitialLineCapacity;
    int steps = grown > 0 ? grown / kLineGrowStep : 1;
    lines.GrowBySteps(steps);
    lineCapacity = lines.capacity;
    return lineCapacity != lineCount;
}

void TextView::ReserveLines(unsigned long long wanted)
{
    if (wanted <= static_cast<unsigned long long>(lineCapacity) || wanted > static_cast<unsigned long long>(INT_MAX))
        return;
    const unsigned long long steps = (wanted - lineCapacity + kLineGrowStep - 1) / kLineGrowStep;
    // Refused, the index grows as it goes.
    lines.GrowBySteps(static_cast<int>(steps));
    lineCapacity = lines.capacity;
}

int TextView::LineAtOffset(size_t offset) const
{
    const LineEntry* entries = Entries();
    if (!entries || lineCount <= 0)
        return 0;
    // The answer lies in [low, high): the last line that starts at or before offset.
    int low = 0, high = lineCount;
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        if (entries[middle].Start() <= offset)
            low = middle;
        else
            high = middle;
    }
    return low;
}

int TextView::IndexInLine(int line, size_t offset) const
{
    const LineEntry& entry = Entries()[line];
    if (offset <= entry.Start())
        return 0;
    const size_t index = offset - entry.Start();
    return index < static_cast<size_t>(entry.Length()) ? static_cast<int>(index) : entry.Length();
}

// A piece cut at the length limit is followed at once by the next piece; a line break takes at least one byte.
int TextView::EndsFileLine(int line) const
{
    const LineEntry* entries = Entries();
    if (!entries || line < 0 || line + 1 >= lineCount)
        return 1;
    return entries[line + 1].Start() != entries[line].Start() + static_cast<size_t>(entries[line].Length());
}

int TextView::ColumnToIndex(int column, const char* text) const
{
    const int width = tabWidth > 0 ? tabWidth : 1;
    if (column < 0)
        column = 0;
    int c = 0;
    int n = 0;
    for (; text[n]; ++n) {
        if (c >= column)
            return n;
        if (text[n] == kHT) {
            c += width - c % width;
            if (c > column)
                return n;
        } else {
            ++c;
        }
    }
    return n + (column - c);
}

int TextView::IndexToColumn(int index, const char* text) const
{
    const int width = tabWidth > 0 ? tabWidth : 1;
    int c = 0;
    for (int n = 0; n < index && text[n]; ++n)
        c += text[n] == kHT ? width - c % width : 1;
    return c;
}

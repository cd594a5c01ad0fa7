// The text view's Copy: the selection as CF_TEXT, line by line with CR LF between the file's lines.
#include "textview/TextView.h"

#include <cstring>

namespace {
constexpr int kPieceBufferSize = 264;  // a whole line piece, CR LF and the terminator, with room to spare
const char kLineBreak[] = "\r\n";
constexpr int kLineBreakLength = 2;
}

void TextView::CopySelection()
{
    if (!hasSelection || !SelectionInRange())
        return;
    HGLOBAL block = BuildClipboardText();
    if (!block)
        return;
    if (!OpenClipboard(hwnd)) {
        GlobalFree(block);
        return;
    }
    EmptyClipboard();
    // The clipboard owns the block only once SetClipboardData has taken it.
    if (!SetClipboardData(CF_TEXT, block))
        GlobalFree(block);
    CloseClipboard();
}

int TextView::SelectionInRange()
{
    if (selStartLine < 0 || selEndLine >= lineCount || selStartLine > selEndLine)
        return 0;
    if (selStartIndex < 0 || selEndIndex < 0)
        return 0;
    if (selStartIndex > GetLineLength(selStartLine) || selEndIndex > GetLineLength(selEndLine))
        return 0;
    if (selStartLine == selEndLine && selStartIndex >= selEndIndex)
        return 0;
    return 1;
}

HGLOBAL TextView::BuildClipboardText()
{
    // Summed in 64 bits: a selection over millions of lines must not wrap to a small block.
    unsigned long long size = 1;
    if (SelectionInRange()) {
        for (int line = selStartLine; line <= selEndLine; ++line)
            size += static_cast<unsigned long long>(GetLineLength(line)) + kLineBreakLength;
    }
    if (size > static_cast<unsigned long long>(static_cast<SIZE_T>(-1)))
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size));
    if (!block)
        return nullptr;
    char* text = static_cast<char*>(GlobalLock(block));
    if (!text) {
        GlobalFree(block);
        return nullptr;
    }
    char piece[kPieceBufferSize];
    SIZE_T offset = 0;
    int lastPiece = FirstSelectionPiece(piece);
    for (;;) {
        size_t length = strlen(piece);
        // Where only the view cut a long line, its pieces join again as the file has them.
        if (!lastPiece && EndsFileLine(pieceLine)) {
            memcpy(piece + length, kLineBreak, kLineBreakLength + 1);
            length += kLineBreakLength;
        }
        memcpy(text + offset, piece, length + 1);
        offset += length;
        if (lastPiece)
            break;
        lastPiece = NextSelectionPiece(piece);
    }
    GlobalUnlock(block);
    return block;
}

int TextView::FirstSelectionPiece(char* destination)
{
    destination[0] = '\0';
    if (!hasSelection || !SelectionInRange())
        return 1;
    pieceLine = selStartLine;
    pieceStart = selStartIndex;
    pieceLastLine = selEndLine;
    pieceEnd = selEndIndex;
    const int oneLine = selStartLine == selEndLine;
    const int end = oneLine ? pieceEnd : GetLineLength(pieceLine);
    // The file's own bytes from the selection's start, so that a selection that starts past a NUL byte
    // (an occurrence Find next selected there) is copied; a NUL within it still ends the piece.
    const char* line = LineBytes(Entries()[pieceLine]);
    int n = 0;
    for (int i = pieceStart; line && i < end && line[i]; ++i)
        destination[n++] = line[i];
    destination[n] = '\0';
    return oneLine;
}

int TextView::NextSelectionPiece(char* destination)
{
    ++pieceLine;
    const int end = pieceLine == pieceLastLine ? pieceEnd : GetLineLength(pieceLine);
    GetLineText(pieceLine, destination);
    destination[end] = '\0';
    return pieceLine == pieceLastLine;
}

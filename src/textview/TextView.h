// The read-only, fixed-pitch text view: the loaded file with its line index, painting, scrolling,
// keyboard and mouse selection, and copying the selection to the clipboard.
#pragma once
#include <windows.h>

#include "framework/FontHandle.h"
#include "framework/Window.h"
#include "textview/AnsiText.h"
#include "textview/GrowableArray.h"
#include "textview/LineEntry.h"
#include "textview/ShownFile.h"

struct KeyBinding;

constexpr int kMaxLineLength = 255;                // longest display line, in bytes and in columns
constexpr int kLineBufferSize = kMaxLineLength + 1;
constexpr int kTabWidth = 8;
constexpr int kInitialLineCapacity = 5000;
constexpr int kLineGrowStep = 500;
constexpr int kKeptLineCapacity = 1 << 20;         // a larger index is not kept for the next file
constexpr int kWheelLines = 3;
constexpr int kKeyBindingCount = 8;
constexpr int kAutoScrollTimer = 1;
constexpr UINT kAutoScrollInterval = 25;           // milliseconds
constexpr DWORD kBufferSlack = 16;                 // spare bytes behind every file read
constexpr DWORD kReadPart = 4u << 20;              // a large file is read in parts of this size
constexpr int kLoadStopped = -3;                   // LoadFile: stopped before the file was examined
constexpr int kLoadTooLarge = -4;                  // LoadFile: a hit, counted, but too large to show
// Files up to this size are read whole to be counted; larger ones are counted part by part.
constexpr unsigned long long kWholeReadLargest = 16u << 20;
constexpr DWORD kCountPartSize = 1u << 20;          // the part a large file is counted in

class TextView : public Window {
public:
    TextView();
    ~TextView() override;
    TextView(const TextView&) = delete;
    TextView& operator=(const TextView&) = delete;

    int Create(HWND parent, int id, const char* windowTitle, int x, int y, int width, int height) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int Register() override;
    int OnCreate() override;

    // Class-specific operations, in table order.
    virtual void CursorLineChanged();
    virtual void GetLineText(int line, char* destination) = 0;
    virtual int GetLineLength(int line) = 0;
    virtual void CursorLineChanging();
    virtual void UpdateCaret();
    virtual void OnTextChar(WPARAM character);
    virtual void OnDoubleClick();
    virtual void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    virtual int ShowMessage(const char* text, const char* caption) = 0;
    virtual int CountMatches() = 0;
    virtual void OnLongLineSplit();
    // Asked between the parts of a long load; 0 stops it (LoadFile then gives kLoadStopped).
    virtual int KeepLoading();
    // Whether CountMatches must see unmarked UTF-8 converted; when not, its count of the raw bytes is the
    // converted text's, and only a hit is converted.
    virtual int CountNeedsAnsiText();
    // One read of a load, open to tests; ReadFile's result.
    virtual BOOL ReadPart(HANDLE file, char* destination, DWORD size, DWORD* got);
    // The count of a file read in parts (TextViewParts.cpp): the search text's length (0: nothing can
    // occur), the occurrences that start in bytes[0, to) of bytes[0, n), and the file's count taken,
    // nonzero for a hit. A part's first byte starts a character.
    virtual size_t CountTextLength();
    virtual unsigned long long CountPart(const char* bytes, size_t n, size_t to);
    virtual int TakePartCount(unsigned long long count);

    // Document (TextViewDocument.cpp).
    void SetTitleAndCursor(const char* programTitle, int cursorId);
    int ResetDocument();
    // The document emptied and the positions zeroed without a window call.
    int ClearDocument();
    int LoadFile(const char* path);
    // The loaded bytes in form brought to the ANSI code page: 1, -1 when that cannot be done, or kLoadStopped.
    int ConvertText(AnsiText::Form form);
    // Counts the file from its start in parts of partSize: 1 a hit (form: how it is stored), -2 none, 0 a
    // read failed, -1 no memory, or kLoadStopped.
    int CountInParts(HANDLE file, unsigned long long fileSize, AnsiText::Form& form);
    int AcquirePartBuffers(DWORD part);
    void ReleasePartBuffers();
    // The largest file stored in form that can be shown: read whole, converted and indexed, or, as it
    // stands, indexed and read from the disk.
    unsigned long long ShowableLargest(AnsiText::Form form) const;
    int BuildLineIndex();
    // The scroll range and the split warning of an index just made.
    void IndexComplete();
    // Indexes the lines from indexedTo on that text, the bytes [base, available), holds whole; all the rest
    // when last. whole: the text's full length, for a guess at its line count. Returns 0 when the index
    // cannot grow.
    int IndexLines(const char* text, size_t base, size_t available, size_t whole, int last);
    // A counted hit shown as it stands, from the open file (closed here): indexed part by part, then
    // read again by its path where it is shown. LoadFile's result.
    int ShowFromFile(const char* path, HANDLE file, size_t fileSize);
    int IndexFromFile(HANDLE file, size_t fileSize);
    // The line's bytes, from the buffer or the shown file; null when there is no text.
    const char* LineBytes(const LineEntry& entry);
    bool HasText() const { return buffer || shownFile.InUse(); }
    size_t TextLength() const { return shownFile.InUse() ? shownFile.Size() : bytesRead; }
    int GrowLineIndex();
    void ReserveLines(unsigned long long wanted);
    int ColumnToIndex(int column, const char* text) const;
    int IndexToColumn(int index, const char* text) const;
    // index, or the first byte of the double-byte character whose second byte it is, in a line of length bytes.
    int CharacterStartAt(const char* text, int index, int length) const;
    LineEntry* Entries() const { return static_cast<LineEntry*>(lines.block); }
    // The display line that holds the byte at offset of the buffer, by binary search in the index; a line
    // break's bytes belong to the line before it.
    int LineAtOffset(size_t offset) const;
    // Offset as an index into the line, at most its length.
    int IndexInLine(int line, size_t offset) const;
    // Whether a real line break (or the end of the file) follows the line; 0 where the next line is only the
    // rest of the same file line, cut for display.
    int EndsFileLine(int line) const;

    // Painting (TextViewPaint.cpp).
    void Redraw();
    void BlitToWindow();
    void ClearScreen();
    void ResumePainting();
    void SetBackgroundColor(COLORREF color);
    // New font and bitmap for the dpi, laid out and painted again; the document and positions stay.
    void OnDpiChanged(int newDpi);

    // Layout and scrolling (TextViewScroll.cpp).
    void UpdateLayout();
    void UpdateVerticalRange();
    void UpdateHorizontalRange();
    void ScrollVertically(WPARAM wParam);
    void ScrollHorizontally(WPARAM wParam);

    // Keyboard and mouse (TextViewInput.cpp).
    void HandleKeyCode(int code);
    void ScrollLineDown();
    void ScrollLineUp();
    void ScrollPageUp();
    void ScrollPageDown();
    void ScrollToTop();
    void ScrollToBottom();
    // The modifier flags taken from the keyboard state, after key messages went unseen.
    void SyncModifiers();

    // Clipboard (TextViewClipboard.cpp).
    void CopySelection();
    int SelectionInRange();
    HGLOBAL BuildClipboardText();
    int FirstSelectionPiece(char* destination);
    int NextSelectionPiece(char* destination);

    int hasSelection;
    int clientWidth, clientHeight;
    int charWidth;
    int lineHeight;
    int topLine;
    int leftColumn;
    int maxLeftColumn;
    int cursorColumn;
    int cursorRow;
    int visibleColumns;
    int visibleRows;
    int lineCount;
    int keyBindingCount;
    int selStartLine, selStartIndex, selEndLine, selEndIndex;
    int maxTopLine;
    int wheelLines;
    int marginCursorId;
    COLORREF textColor, backColor, highlightTextColor, highlightBackColor;
    HDC memoryDC;
    HBRUSH backBrush;
    HFONT font;
    int paintingDeferred;
    int paintPending;
    int pieceLine, pieceStart, pieceLastLine, pieceEnd;
    int maxLineLength, tabWidth;
    int marginWidth;
    HCURSOR textCursor;
    HCURSOR marginCursor;
    const KeyBinding* keyBindings;
    int lineCapacity;
    size_t bufferCapacity;
    size_t bytesRead;
    const char* title;
    char* buffer;
    GrowableArray lines;
    // The load was stopped through KeepLoading.
    int loadStopped = 0;
    // How far the line index has got, and whether it cut a line into pieces; a large file is indexed part by
    // part as it is read, while the part is still in the processor's cache.
    size_t indexedTo = 0;
    int indexSplit = 0;
    // Test seams: files larger than wholeReadLargest are counted in parts of partSize bytes, and files
    // larger than showableLargest (when not 0) are hits that cannot be shown.
    unsigned long long wholeReadLargest = kWholeReadLargest;
    DWORD partSize = kCountPartSize;
    unsigned long long showableLargest = 0;
    // The two reused part buffers of a count in parts, each partBufferSize bytes, one after the other.
    char* partBuffers = nullptr;
    size_t partBufferSize = 0;
    AnsiText ansiText;
    // A large file shown as it stands, read where it is shown rather than held, and the offset of the part
    // its count found the first occurrence in.
    ShownFile shownFile;
    unsigned long long hitsFrom = 0;
    // What the memory DC held before the screen bitmap went in, so both can be released cleanly.
    HBITMAP memoryBitmap;
    HGDIOBJ oldBitmap;
    HGDIOBJ oldFont;
    // The window's dpi, the font made for it (empty while the stock font is used) and the bitmap's size.
    int dpi;
    FontHandle scaledFont;
    int bitmapWidth, bitmapHeight;

    // Input state of the program's one view.
    static int shiftDown, ctrlDown, altDown;
    static int pendingKeyCount;
    static int pendingKeys[3];
    static int dragging;
    static int anchorLine, anchorIndex;
    static int autoScrollDirection;

private:
    void ReleaseGdiObjects();
    void CreateScreenBitmap();
    void SelectViewFont();
    void ClearBitmap();
    int ReadWhole(HANDLE file, size_t fileBytes);
    int ShowDocument();
    int AcquireBuffer(size_t fileBytes);
    void ReleaseBuffer();
    int TooLargeToShow();
    void OnKeyPressed(WPARAM wParam);
    void OnKeyReleased(WPARAM wParam);
    void ClearModifiers();
    void OnViewMouseMove(LPARAM lParam);
    void OnViewButtonDown(LPARAM lParam);
    void FinishDrag(int releaseCapture);
    void AbandonDrag();
    void StopAutoScroll();
    void AutoScrollStep();
    void OnViewPaint();
    void DrawCells(int x, int y, const char* expanded, int from, int count);
    int RowAt(int y) const;
    int ColumnAt(int x) const;
};

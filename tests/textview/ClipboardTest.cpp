// Copying the selection: the exact CF_TEXT bytes and block size, and the cases that copy nothing.
#include <gtest/gtest.h>

#include <thread>

#include "ViewTestSupport.h"

namespace {

// Wine's clipboard manager opens the clipboard right after each change; wait until it lets go.
bool OpenClipboardSoon(HWND owner)
{
    const DWORD start = GetTickCount();
    while (!OpenClipboard(owner)) {
        if (GetTickCount() - start > 5000)
            return false;
        PumpFor(10);
    }
    return true;
}

void WaitForClipboard()
{
    if (OpenClipboardSoon(nullptr))
        CloseClipboard();
}

bool PutMarker(const char* text)
{
    if (!OpenClipboardSoon(nullptr))
        return false;
    EmptyClipboard();
    const size_t size = strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(block), text, size);
    GlobalUnlock(block);
    const bool set = SetClipboardData(CF_TEXT, block) != nullptr;
    CloseClipboard();
    WaitForClipboard();
    return set;
}

std::string ClipboardText()
{
    if (!OpenClipboardSoon(nullptr))
        return "<clipboard busy>";
    std::string text = "<no text>";
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data) {
        const char* p = static_cast<const char*>(GlobalLock(data));
        if (p)
            text = p;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// Committed memory of this process, from a walk over its address space.
unsigned long long CommittedBytes()
{
    unsigned long long committed = 0;
    MEMORY_BASIC_INFORMATION info;
    const char* address = nullptr;
    while (VirtualQuery(address, &info, sizeof(info)) == sizeof(info)) {
        if (info.State == MEM_COMMIT)
            committed += info.RegionSize;
        const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
        if (next <= address)
            break;
        address = next;
    }
    return committed;
}

// The bytes of a block, all of them.
std::string BlockBytes(HGLOBAL block)
{
    const SIZE_T size = GlobalSize(block);
    const char* p = static_cast<const char*>(GlobalLock(block));
    std::string bytes(p, size);
    GlobalUnlock(block);
    return bytes;
}

class Clipboard : public OpenViewTest {
protected:
    void Select(int startLine, int startIndex, int endLine, int endIndex)
    {
        SetSelection(view, startLine, startIndex, endLine, endIndex);
    }
    std::string Copied()
    {
        WaitForClipboard();
        view.CopySelection();
        return ClipboardText();
    }
};

TEST_F(Clipboard, SelectionOverThreeLinesGivesCrLfBetweenAndAnExactBlock)
{
    ASSERT_EQ(1, IndexBytes(view, "hello\r\nbig\r\nworld"));
    Select(0, 2, 2, 1);
    HGLOBAL block = view.BuildClipboardText();
    ASSERT_NE(nullptr, block);
    const std::string bytes = BlockBytes(block);
    GlobalFree(block);
    ASSERT_GE(bytes.size(), 20u);
    EXPECT_LT(bytes.size(), 20u + 16u);  // the allocator may round up a little, never down
    EXPECT_EQ(std::string("llo\r\nbig\r\nw\0\0\0\0\0\0\0\0\0", 20), bytes.substr(0, 20));
    EXPECT_EQ("llo\r\nbig\r\nw", Copied());
}

TEST_F(Clipboard, PiecesWalkTheSelectionLineByLine)
{
    ASSERT_EQ(1, IndexBytes(view, "hello\nbig\nworld"));
    Select(0, 2, 2, 1);
    char piece[264];
    EXPECT_EQ(0, view.FirstSelectionPiece(piece));
    EXPECT_STREQ("llo", piece);
    EXPECT_EQ(0, view.NextSelectionPiece(piece));
    EXPECT_STREQ("big", piece);
    EXPECT_NE(0, view.NextSelectionPiece(piece));
    EXPECT_STREQ("w", piece);

    Select(1, 1, 1, 3);
    EXPECT_NE(0, view.FirstSelectionPiece(piece));
    EXPECT_STREQ("ig", piece);
    view.hasSelection = 0;
    EXPECT_NE(0, view.FirstSelectionPiece(piece));
    EXPECT_STREQ("", piece);
}

TEST_F(Clipboard, SelectionEndingAtTheStartOfALineEndsWithTheBreakBefore)
{
    ASSERT_EQ(1, IndexBytes(view, "one\ntwo\nthree"));
    Select(0, 0, 2, 0);
    EXPECT_EQ("one\r\ntwo\r\n", Copied());
}

TEST_F(Clipboard, TextIsCopiedAsInTheFile)
{
    ASSERT_EQ(1, IndexBytes(view, "a\tb\tc\nABC def"));
    Select(0, 0, 0, 5);
    EXPECT_EQ("a\tb\tc", Copied());  // tabs stay single HT bytes
    Select(1, 0, 1, 3);
    EXPECT_EQ("ABC", Copied());

    // A margin click selects the line without its break.
    SendMessageA(view.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(1, view.lineHeight + 1));
    SendMessageA(view.hwnd, WM_LBUTTONUP, 0, Point(1, view.lineHeight + 1));
    EXPECT_EQ("ABC def", Copied());
}

// The view cuts a long file line into pieces for display only: its pieces join again on the clipboard,
// while real line breaks still come as CR LF.
TEST_F(Clipboard, PiecesOfALongLineJoinAsTheFileHasThem)
{
    ASSERT_EQ(1, IndexBytes(view, std::string(600, 'q') + "\r\nnext\n" + std::string(31, '\t') + "split-needle"));
    ASSERT_EQ(6, view.lineCount);
    Select(0, 0, 3, 2);
    EXPECT_EQ(std::string(600, 'q') + "\r\nne", Copied());
    Select(0, 250, 1, 5);
    EXPECT_EQ(std::string(10, 'q'), Copied());
    Select(1, 254, 3, 0);  // up to the start of the next file line: its break comes last
    EXPECT_EQ(std::string(91, 'q') + "\r\n", Copied());
    // Tabs end the first piece of the last line at column 255, after "split-n".
    Select(4, 31, 5, 5);
    EXPECT_EQ("split-needle", Copied());
}

TEST_F(Clipboard, LineWithANulIsCopiedUpToIt)
{
    ASSERT_EQ(1, IndexBytes(view, std::string("ab\0cd\nxy\0z\nlast", 16)));
    Select(0, 1, 2, 4);
    HGLOBAL block = view.BuildClipboardText();
    ASSERT_NE(nullptr, block);
    const std::string bytes = BlockBytes(block);
    GlobalFree(block);
    EXPECT_EQ(std::string("b\r\nxy\r\nlast\0", 12), bytes.substr(0, 12));
    for (size_t i = 12; i < bytes.size(); ++i)
        ASSERT_EQ('\0', bytes[i]) << i;  // nothing beyond the NUL byte leaks into the block
    Select(0, 3, 0, 5);  // only bytes after the NUL: they are copied, as Find next may select them
    EXPECT_EQ("cd", Copied());
}

TEST_F(Clipboard, NothingToCopyLeavesTheClipboardAsItWas)
{
    ASSERT_EQ(1, IndexBytes(view, "hello\nworld"));
    ASSERT_TRUE(PutMarker("marker"));
    Select(0, 2, 0, 2);  // a plain click
    EXPECT_EQ("marker", Copied());
    Select(0, 3, 0, 1);
    EXPECT_EQ("marker", Copied());
    Select(1, 0, 0, 2);
    EXPECT_EQ("marker", Copied());
    Select(0, 0, 0, 9);  // beyond the line
    EXPECT_EQ("marker", Copied());
    Select(0, 0, 5, 1);  // beyond the document
    EXPECT_EQ("marker", Copied());
    Select(0, 0, 1, 2);
    view.hasSelection = 0;
    EXPECT_EQ("marker", Copied());
    view.hasSelection = 1;
    EXPECT_EQ("hello\r\nwo", Copied());
}

TEST_F(Clipboard, BusyClipboardKeepsItsContentsAndTheBlockIsFreed)
{
    std::string text;
    for (int i = 0; i < 4000; ++i)
        text += std::string(250, static_cast<char>('a' + i % 26)) + "\n";
    ASSERT_EQ(1, IndexBytes(view, text));
    ASSERT_TRUE(PutMarker("marker"));
    Select(0, 0, 3999, 250);  // a block of about a megabyte

    // The measure must see a block of that size at all, or it proves nothing.
    const unsigned long long probeSize = 100ull << 20;
    const unsigned long long atStart = CommittedBytes();
    HGLOBAL probe = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(probeSize));
    ASSERT_NE(nullptr, probe);
    const unsigned long long withProbe = CommittedBytes();
    GlobalFree(probe);
    ASSERT_GE(withProbe > atStart ? withProbe - atStart : 0, probeSize * 9 / 10);

    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    bool held = false;
    std::thread holder([&] {
        // Another thread of another window holds the clipboard open.
        HWND owner = CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        held = OpenClipboardSoon(owner);
        SetEvent(opened);
        if (held) {
            WaitForSingleObject(release, 20000);
            CloseClipboard();
        }
        DestroyWindow(owner);
    });
    WaitForSingleObject(opened, 10000);
    const unsigned long long before = CommittedBytes();
    for (int i = 0; i < 150; ++i)
        view.CopySelection();
    const unsigned long long after = CommittedBytes();
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
    ASSERT_TRUE(held);

    // 150 leaked blocks would take 150 MB of address space.
    EXPECT_LT(after > before ? after - before : 0, 40ull << 20);
    WaitForClipboard();
    EXPECT_EQ("marker", ClipboardText());
}

TEST_F(Clipboard, SizeOfAHugeSelectionIsSummedWithoutWrapping)
{
    // 16711936 lines of 255 bytes need 4 GiB + 257 bytes, which 32 bits would wrap to a block of 257.
    class HugeView : public ProbeView {
    public:
        void GetLineText(int, char* destination) override
        {
            memset(destination, 'x', kMaxLineLength);
            destination[kMaxLineLength] = '\0';
        }
        int GetLineLength(int) override { return kMaxLineLength; }
    };
    HugeView huge;
    huge.lineCount = 16711936;
    huge.hasSelection = 1;
    huge.selStartLine = 0;
    huge.selEndLine = huge.lineCount - 1;
    huge.selStartIndex = 0;
    huge.selEndIndex = 10;
#ifdef _WIN64
    GTEST_SKIP() << "the sum fits in a 64-bit size; building 5 GB proves nothing more";
#else
    EXPECT_EQ(nullptr, huge.BuildClipboardText());
#endif
}

} // namespace

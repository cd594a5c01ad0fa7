// The program's view: line text with NUL bytes, the match count over a loaded file, its warning box.
#include <gtest/gtest.h>

#include <thread>

#include "ViewTestSupport.h"
#include "search/SearchOptions.h"

namespace {

void SetSearch(const char* text, int caseSensitive)
{
    lstrcpynA(searchOptions.searchText, text, kSearchTextSize);
    searchOptions.caseSensitive = caseSensitive;
}

TEST(SearchViewLines, LineTextStopsAtANulAndFillsTheRestWithNul)
{
    SearchView view;
    ASSERT_EQ(1, IndexBytes(view, std::string("ab\0cde\nxyz", 10)));
    char text[kLineBufferSize + 8];
    memset(text, '#', sizeof(text));
    view.GetLineText(0, text);
    EXPECT_EQ(6, view.GetLineLength(0));
    EXPECT_STREQ("ab", text);
    for (int i = 2; i <= 6; ++i)
        EXPECT_EQ('\0', text[i]) << i;  // never stale bytes between the NUL and the line's length
    EXPECT_EQ('#', text[7]);
    memset(text, '#', sizeof(text));
    view.GetLineText(1, text);
    EXPECT_STREQ("xyz", text);
    EXPECT_EQ('#', text[4]);
}

TEST(SearchViewLines, FullLengthPieceIsTerminatedAt255)
{
    SearchView view;
    ASSERT_EQ(1, IndexBytes(view, std::string(300, 'k')));
    char text[kLineBufferSize + 8];
    memset(text, '#', sizeof(text));
    view.GetLineText(0, text);
    EXPECT_EQ(255u, strlen(text));
    EXPECT_EQ('#', text[256]);
    view.GetLineText(1, text);
    EXPECT_EQ(std::string(45, 'k'), text);
}

TEST(SearchViewCount, CountsOccurrencesOfTheLoadedFile)
{
    TempFolder folder;
    ProbeView view;
    view.useRealCount = 1;
    SetSearch("foo", 0);  // the dialog keeps a case-insensitive text lower-cased
    const std::string file = folder.Write("a.txt", "FOO foo\nFoo bar\nno");
    EXPECT_EQ(1, view.LoadFile(file.c_str()));
    EXPECT_EQ(3u, view.matchCount);
    EXPECT_EQ("FOO foo", LineText(view, 0));  // the file's own bytes are untouched

    SetSearch("Foo", 1);
    EXPECT_EQ(1, view.LoadFile(file.c_str()));
    EXPECT_EQ(1u, view.matchCount);

    SetSearch("aa", 1);
    EXPECT_EQ(1, view.LoadFile(folder.Write("b.txt", "aaaa").c_str()));
    EXPECT_EQ(3u, view.matchCount);
    // Past 64 MB, counted in parts: the occurrences before, across and after 64 MB count once each.
    const std::string large = folder.Name("large.bin");
    HANDLE h = CreateFileA(large.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    SetFilePointer(h, (64 << 20) - 5, nullptr, FILE_BEGIN);
    WriteFile(h, "aaaaaaaaaa", 10, &written, nullptr);
    CloseHandle(h);
    EXPECT_EQ(1, view.LoadFile(large.c_str()));
    EXPECT_EQ(9u, view.matchCount);

    SetSearch("absent", 0);
    EXPECT_EQ(-2, view.LoadFile(file.c_str()));
    EXPECT_EQ(0u, view.matchCount);
    EXPECT_EQ(0, view.lineCount);

    SetSearch("", 0);
    EXPECT_EQ(-2, view.LoadFile(file.c_str()));
    EXPECT_EQ(-2, view.LoadFile(folder.Write("empty.txt", "").c_str()));
    EXPECT_EQ("", view.lastMessage);
}

// Closes the first message box of this process that appears, keeping its caption and text.
class MessageBoxCloser {
public:
    MessageBoxCloser()
        : worker([this] {
              const DWORD start = GetTickCount();
              while (GetTickCount() - start < 10000) {
                  HWND box = FindWindowA("#32770", nullptr);
                  DWORD pid = 0;
                  if (box)
                      GetWindowThreadProcessId(box, &pid);
                  if (box && pid == GetCurrentProcessId()) {
                      char text[128] = "";
                      GetWindowTextA(box, text, sizeof(text));
                      caption = text;
                      HWND label = GetDlgItem(box, 0xFFFF);
                      if (label) {
                          GetWindowTextA(label, text, sizeof(text));
                          message = text;
                      }
                      owner = GetWindow(box, GW_OWNER);
                      PostMessageA(box, WM_COMMAND, IDOK, 0);
                      return;
                  }
                  Sleep(20);
              }
          })
    {
    }
    ~MessageBoxCloser()
    {
        if (worker.joinable())
            worker.join();
    }
    void Wait() { worker.join(); }

    std::string caption;
    std::string message;
    HWND owner = nullptr;

private:
    std::thread worker;
};

TEST(SearchViewMessage, WarningBoxIsOwnedByTheViewAndTakesTheTitleForAnEmptyCaption)
{
    ViewHost host;
    SearchView view;
    ASSERT_TRUE(host.Open(view, 20, 5));
    {
        MessageBoxCloser closer;
        view.ShowMessage("Out of memory", "");
        closer.Wait();
        EXPECT_EQ("Seekword", closer.caption);
        EXPECT_EQ("Out of memory", closer.message);
        EXPECT_EQ(host.frame, closer.owner);  // a child cannot own: the box goes to its frame
    }
    {
        MessageBoxCloser closer;
        view.ShowMessage("Other", "Caption");
        closer.Wait();
        EXPECT_EQ("Caption", closer.caption);
    }
    view.Destroy();
}

} // namespace

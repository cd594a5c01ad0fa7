// The search commands on the assembled program: walks to hits, the title and status bar, Find next placement, "Not found".
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ProgramFixture.h"
#include "search/SearchOptions.h"

namespace apptest {
namespace {

constexpr char kNeedle[] = "needle";
constexpr int kNeedleLength = 6;

// Lines "filler 0", "filler 1", ... each followed by CR LF.
std::string Filler(int from, int to)
{
    std::string text;
    for (int i = from; i < to; ++i)
        text += "filler " + std::to_string(i) + "\r\n";
    return text;
}

class SearchControllerTest : public ProgramTest {
protected:
    // What the frame and view look like while the "Not found" box is up.
    struct NotFoundState {
        int shown = 0;
        std::string title;
        int lineCount = -1;
        bool fileCommandEnabled = true;
        std::string pathPart;
    };

    void ExpectNotFound(NotFoundState& state)
    {
        responder.Expect(kNotFoundTitle, [this, &state](HWND box) {
            ++state.shown;
            state.title = FrameTitle();
            state.lineCount = searchView.lineCount;
            state.pathPart = Status(0);
            state.fileCommandEnabled = false;
            for (int id : kFileCommands)
                state.fileCommandEnabled = state.fileCommandEnabled || Enabled(id);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
    }

    // Start with the entry confirmed, the walk ending in the "Not found" box.
    void StartExpectingNotFound(const SearchEntry& entry, NotFoundState& state)
    {
        responder.Expect(kSearchTitle, FillAndConfirm(entry));
        ExpectNotFound(state);
        Command(CMD_START);
    }

    // The selection, with the cursor on the row it ends on.
    void ExpectSelection(int startLine, int startIndex, int endLine, int endIndex)
    {
        EXPECT_TRUE(searchView.hasSelection);
        EXPECT_EQ(startLine, searchView.selStartLine);
        EXPECT_EQ(endLine, searchView.selEndLine);
        EXPECT_EQ(startIndex, searchView.selStartIndex);
        EXPECT_EQ(endIndex, searchView.selEndIndex);
        EXPECT_EQ(endLine, searchView.topLine + searchView.cursorRow);
    }
    void ExpectSelection(int line, int start, int end) { ExpectSelection(line, start, line, end); }

    void ExpectFileCommands(bool enabled)
    {
        for (int id : kFileCommands)
            EXPECT_EQ(enabled, Enabled(id)) << id;
        for (int id : kAlwaysEnabled)
            EXPECT_TRUE(Enabled(id)) << id;
    }

    std::set<std::string> CountedNames() const
    {
        std::set<std::string> names;
        for (const std::string& path : searchView.counted)
            names.insert(NamePart(path));
        return names;
    }
};

TEST_F(SearchControllerTest, LocationKeepsOnlyItsFolderAndTheEnabledExtensionDecides)
{
    for (const char* name : {"one.cpp", "two.CPP", "notes.txt", "readme.txt", "header.h", "plain"})
        tree.Write(name, "a needle here");
    SearchEntry entry = AllFilesIn(tree);
    entry.location = tree.path + "\\*.txt";
    entry.allFiles = false;
    entry.extensions = {"cpp"};
    Start(entry);

    EXPECT_EQ(tree.path + "\\*.*", searchView.filesSpec);
    EXPECT_EQ(0, searchOptions.allFiles);
    std::set<std::string> shown = {NamePart(searchView.currentPath)};
    Command(CMD_NEXTFILE);
    shown.insert(NamePart(searchView.currentPath));
    NotFoundState notFound;
    ExpectNotFound(notFound);
    Command(CMD_NEXTFILE);

    EXPECT_EQ((std::set<std::string>{"one.cpp", "two.CPP"}), shown);
    EXPECT_EQ((std::set<std::string>{"one.cpp", "two.CPP"}), CountedNames());
    EXPECT_EQ(2u, searchView.counted.size());
    EXPECT_EQ(1, notFound.shown);
}

TEST_F(SearchControllerTest, OnlyTheThirdOfThreeFilesHoldsTheTextAndIsShownDirectly)
{
    for (const char* name : {"first.txt", "second.txt", "third.txt"})
        tree.Write(name, "nothing to see\r\n");
    const std::vector<std::string> order = tree.WalkOrder();
    ASSERT_EQ(3u, order.size());
    const std::string hit = tree.Write(order[2], "alpha\r\nbeta\r\ngamma needle\r\nneedle and needle");
    Start(AllFilesIn(tree));

    EXPECT_EQ(hit, searchView.currentPath);
    ASSERT_EQ(3u, searchView.counted.size());
    EXPECT_EQ(hit, searchView.counted[2]);
    EXPECT_EQ(FoundTitle(hit), FrameTitle());
    EXPECT_EQ(hit, Status(0));
    EXPECT_EQ("\t3", Status(2));
    ASSERT_EQ(4, searchView.lineCount);
    EXPECT_EQ("\t3 / 4", Status(1));
    ExpectSelection(2, 6, 6 + kNeedleLength);
    EXPECT_EQ(0, searchView.topLine);
    EXPECT_EQ(6 + kNeedleLength, searchView.cursorColumn);
    ExpectFileCommands(true);
}

TEST_F(SearchControllerTest, NextFileAfterTheLastHitEmptiesTheViewAndDisablesTheFileCommands)
{
    tree.Write("only.txt", "one needle\r\nand more");
    tree.Write("other.txt", "nothing");
    Start(AllFilesIn(tree));
    ASSERT_EQ(2, searchView.lineCount);
    ASSERT_EQ(FoundTitle(tree.path + "\\only.txt"), FrameTitle());

    NotFoundState notFound;
    ExpectNotFound(notFound);
    Command(CMD_NEXTFILE);

    EXPECT_EQ(1, notFound.shown);
    EXPECT_EQ(kProgramTitle, notFound.title);
    EXPECT_EQ(0, notFound.lineCount);
    EXPECT_FALSE(notFound.fileCommandEnabled);
    EXPECT_EQ(0, searchView.lineCount);
    EXPECT_EQ(0u, searchView.bytesRead);
    EXPECT_FALSE(searchView.hasSelection);
    EXPECT_EQ(0, searchView.topLine);
    EXPECT_EQ(0, searchView.cursorColumn);
    EXPECT_EQ(kProgramTitle, FrameTitle());
    ExpectFileCommands(false);
    for (int part = 0; part < 3; ++part)
        EXPECT_EQ("", Status(part)) << part;

    // The disabled commands now do nothing: no second box, no walk.
    const size_t counted = searchView.counted.size();
    Command(CMD_NEXTFILE);
    Command(CMD_FINDNEXT);
    EXPECT_EQ(counted, searchView.counted.size());
}

TEST_F(SearchControllerTest, FindNextOnTheLastOccurrenceSaysNoMoreAndKeepsTheSelection)
{
    tree.Write("a.txt", "needle one\r\ntwo needle\r\nthree");
    Start(AllFilesIn(tree));
    ExpectSelection(0, 0, kNeedleLength);
    EXPECT_EQ("\t1 / 3", Status(1));

    Command(CMD_FINDNEXT);
    ExpectSelection(1, 4, 4 + kNeedleLength);
    EXPECT_EQ("\t2 / 3", Status(1));
    EXPECT_EQ(4 + kNeedleLength, searchView.cursorColumn);

    for (int again = 0; again < 2; ++again) {
        SCOPED_TRACE(again);
        Command(CMD_FINDNEXT);
        EXPECT_EQ("\tNo more", Status(1));
        ExpectSelection(1, 4, 4 + kNeedleLength);
        EXPECT_EQ(1, searchView.cursorRow);
        EXPECT_EQ(4 + kNeedleLength, searchView.cursorColumn);
        EXPECT_EQ("\t2", Status(2));
    }
}

TEST_F(SearchControllerTest, HitPagesBelowTheTopMovesTheViewInWholePages)
{
    const int rows = searchView.visibleRows;
    ASSERT_GE(rows, 8);
    const int firstHit = 3 * rows + 2;
    const int secondHit = firstHit + rows + 4;
    std::string text = Filler(0, firstHit) + "xx needle\r\n" + Filler(firstHit + 1, secondHit) + "needle yy\r\n" +
                       Filler(secondHit + 1, secondHit + 3 * rows);
    tree.Write("long.txt", text);
    Start(AllFilesIn(tree));

    EXPECT_EQ(3 * rows, searchView.topLine);
    EXPECT_EQ(2, searchView.cursorRow);
    ExpectSelection(firstHit, 3, 3 + kNeedleLength);
    EXPECT_EQ(3 + kNeedleLength, searchView.cursorColumn);
    EXPECT_EQ(Position(firstHit + 1), Status(1));

    // From a top that is no whole number of pages from the start, the steps are still whole pages.
    SendMessageA(searchView.hwnd, WM_VSCROLL, SB_LINEDOWN, 0);
    const int previousTop = searchView.topLine;
    ASSERT_EQ(3 * rows + 1, previousTop);
    ASSERT_EQ(firstHit + 1, searchView.topLine + searchView.cursorRow);  // the cursor row moved with the page
    Command(CMD_FINDNEXT);
    ExpectSelection(secondHit, 0, kNeedleLength);
    EXPECT_EQ(0, (searchView.topLine - previousTop) % rows);
    EXPECT_GT(searchView.topLine, previousTop);
    EXPECT_LE(searchView.topLine, secondHit);
    EXPECT_LT(secondHit, searchView.topLine + rows);
    EXPECT_EQ(kNeedleLength, searchView.cursorColumn);
    EXPECT_EQ(Position(secondHit + 1), Status(1));
}

TEST_F(SearchControllerTest, OccurrenceFarRightMovesTheLeftColumnInWholeScreens)
{
    const int columns = searchView.visibleColumns;
    ASSERT_GE(columns, 10);
    const int farIndex = 200;
    ASSERT_GT(farIndex + kNeedleLength, columns);
    tree.Write("wide.txt", std::string(farIndex, '.') + kNeedle + "..\r\nneedle at the start\r\n\tneedle after a tab");
    Start(AllFilesIn(tree));

    const int end = farIndex + kNeedleLength;
    ExpectSelection(0, farIndex, end);
    EXPECT_EQ(0, searchView.leftColumn % columns);
    EXPECT_LT(searchView.leftColumn, end);
    EXPECT_LE(end, searchView.leftColumn + columns);
    EXPECT_EQ(end, searchView.leftColumn + searchView.cursorColumn);

    // Back to the left edge in the same steps.
    Command(CMD_FINDNEXT);
    ExpectSelection(1, 0, kNeedleLength);
    EXPECT_EQ(0, searchView.leftColumn);
    EXPECT_EQ(kNeedleLength, searchView.cursorColumn);

    // The end is a display column: the tab counts to column 8.
    Command(CMD_FINDNEXT);
    ExpectSelection(2, 1, 1 + kNeedleLength);
    EXPECT_EQ(8 + kNeedleLength, searchView.cursorColumn);
    Command(CMD_FINDNEXT);
    EXPECT_EQ("\tNo more", Status(1));
}

TEST_F(SearchControllerTest, TitleShowsOnlyTheFirst39CharactersOfALongName)
{
    const std::string name = std::string(46, 'n') + ".txt";
    ASSERT_EQ(50u, name.size());
    tree.Write(name, "needle");
    Start(AllFilesIn(tree));
    EXPECT_EQ(std::string(kProgramTitle) + " found " + name.substr(0, 39), FrameTitle());
    EXPECT_EQ(tree.path + "\\" + name, Status(0));
}

TEST_F(SearchControllerTest, CancelAtStartAfterAHitKeepsTheFileAndNextFileContinues)
{
    tree.Write("a.txt", "needle\r\nneedle");
    tree.Write("b.txt", "one needle");
    const std::vector<std::string> order = tree.WalkOrder();
    Start(AllFilesIn(tree));
    const std::string first = searchView.currentPath;
    ASSERT_EQ(tree.path + "\\" + order[0], first);
    ASSERT_EQ("\t2", Status(2));

    responder.Expect(kSearchTitle, PressCancel());
    Command(CMD_START);
    EXPECT_EQ(first, searchView.currentPath);
    EXPECT_EQ(2, searchView.lineCount);
    ExpectSelection(0, 0, kNeedleLength);
    EXPECT_EQ("", Status(1));
    EXPECT_EQ("", Status(2));
    EXPECT_EQ(first, Status(0));
    EXPECT_EQ(FoundTitle(first), FrameTitle());
    ExpectFileCommands(true);

    Command(CMD_NEXTFILE);
    EXPECT_EQ(tree.path + "\\" + order[1], searchView.currentPath);
    EXPECT_EQ(FoundTitle(order[1]), FrameTitle());
    EXPECT_EQ(2u, searchView.counted.size());  // the first file was not examined again
}

// Every occurrence the count counts is one Find next shows: across the pieces a long line is cut into
// (at 255 bytes, or at column 255 after tabs, 32 tabs at the least), past a NUL byte, folded, overlapping;
// in a file held whole and in one shown from the disk and searched in parts.
TEST_F(SearchControllerTest, FindNextVisitsEveryOccurrenceTheCountCounts)
{
    struct Visit { int startLine, startIndex, endLine, endIndex; };
    const std::string tabs31(31, '\t'), tabs32(32, '\t');
    // 31 tabs reach column 248: the seven bytes after them end the first piece at column 255.
    const std::string toColumn255 = tabs31 + "xxxxxxa";
    const struct { const char* name; std::string file, text; bool caseSensitive; int count; std::vector<Visit> visits; }
    cases[] = {
        {"255 bytes", std::string(252, 'x') + "split-needle" + std::string(100, 'y'), "split-needle", false, 1,
         {{0, 252, 1, 9}}},
        {"tabs to column 255", tabs31 + "split-needle\r\nsplit-needle", "split-needle", false, 2,
         {{0, 31, 1, 5}, {2, 0, 2, 12}}},
        {"three pieces", toColumn255 + tabs32 + "b end", "a" + tabs32 + "b", false, 1, {{0, 37, 2, 1}}},
        {"four pieces", toColumn255 + tabs32 + tabs32 + "b", "a" + tabs32 + tabs32 + "b", true, 1, {{0, 37, 3, 1}}},
        {"folded across pieces", std::string(250, 'x') + "SPLIT-Needle and split-needle", "Split-Needle", false, 2,
         {{0, 250, 1, 7}, {1, 12, 1, 24}}},
        {"past a NUL", std::string("ab\0cd needle\r\nneedle", 20), "needle", false, 2, {{0, 6, 0, 12}, {1, 0, 1, 6}}},
        {"NUL read as a space", std::string("x\0needle", 8), "x needle", true, 1, {{0, 0, 0, 8}}},
        {"overlapping", "aaaa", "aa", true, 3, {{0, 0, 0, 2}, {0, 2, 0, 4}}},
    };
    // Read whole, and counted in parts of 16 bytes and then shown from the file.
    for (const auto& c : cases) for (DWORD part : {0u, 16u}) {
        SCOPED_TRACE(std::string(c.name) + ", part " + std::to_string(part));
        searchView.wholeReadLargest = part ? 0 : kWholeReadLargest;
        searchView.partSize = part ? part : kCountPartSize;
        tree.Write("case.txt", c.file);
        SearchEntry entry = AllFilesIn(tree, c.text);
        entry.caseSensitive = c.caseSensitive;
        Start(entry);
        ASSERT_EQ(tree.path + "\\case.txt", searchView.currentPath);
        EXPECT_EQ("\t" + std::to_string(c.count), Status(2));
        for (size_t i = 0; i < c.visits.size(); ++i) {
            SCOPED_TRACE(i);
            if (i)
                Command(CMD_FINDNEXT);
            const Visit& v = c.visits[i];
            ExpectSelection(v.startLine, v.startIndex, v.endLine, v.endIndex);
            // The status names the line the occurrence starts on; the cursor stands at its end, in sight.
            EXPECT_EQ(Position(v.startLine + 1), Status(1));
            EXPECT_LE(searchView.topLine, v.startLine);
            EXPECT_GE(searchView.cursorColumn, 0);
            EXPECT_LE(searchView.cursorColumn, searchView.visibleColumns);
        }
        Command(CMD_FINDNEXT);
        EXPECT_EQ("\tNo more", Status(1));
        EXPECT_EQ(c.visits.back().endIndex, searchView.selEndIndex);
    }
}

TEST_F(SearchControllerTest, CaseInsensitiveSearchFindsUpperCaseText)
{
    tree.Write("a.txt", "xyz\r\nfoo ABC bar abc");
    Start(AllFilesIn(tree, "AbC"));
    EXPECT_STREQ("abc", searchOptions.searchText);
    EXPECT_EQ("\t2", Status(2));
    ExpectSelection(1, 4, 7);
    Command(CMD_FINDNEXT);
    ExpectSelection(1, 12, 15);

    // With the case switch on, the upper-case text alone is no hit.
    tree.Write("a.txt", "only ABC here");
    SearchEntry exact = AllFilesIn(tree, "abc");
    exact.caseSensitive = true;
    NotFoundState notFound;
    StartExpectingNotFound(exact, notFound);
    EXPECT_EQ(1, notFound.shown);
    EXPECT_EQ(kProgramTitle, FrameTitle());
}

TEST_F(SearchControllerTest, CapitalsBeyondAsciiFoldInTheCountAndInFindNext)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the letters below are those of code page 1252";
    tree.Write("a.txt", "Gr\xF6\xDF" "e\r\nGR\xD6\xDF" "E und gr\xF6\xDF" "e, GROSSE");
    Start(AllFilesIn(tree, "GR\xD6\xDF" "E"));
    EXPECT_STREQ("gr\xF6\xDF" "e", searchOptions.searchText);
    EXPECT_EQ("\t3", Status(2));
    ExpectSelection(0, 0, 5);
    Command(CMD_FINDNEXT);
    ExpectSelection(1, 0, 5);
    Command(CMD_FINDNEXT);
    ExpectSelection(1, 10, 15);
    Command(CMD_FINDNEXT);
    EXPECT_EQ("\tNo more", Status(1));
}

TEST_F(SearchControllerTest, FolderTooLongForItsPatternGivesAnEmptyWalk)
{
    // 257 characters of folder: with "*.*" that would need 261 bytes.
    const std::string tooLong = "C:\\" + std::string(253, 'd') + "\\";
    ASSERT_EQ(257u, tooLong.size());
    SearchEntry entry = AllFilesIn(tree);
    entry.location = tooLong + "x";
    NotFoundState notFound;
    StartExpectingNotFound(entry, notFound);
    EXPECT_EQ(1, notFound.shown);
    EXPECT_EQ("1 folder could not be searched", notFound.pathPart);
    EXPECT_EQ(tooLong, searchView.filesSpec);
    EXPECT_EQ(-1, folderWalker.depth);
    EXPECT_TRUE(searchView.counted.empty());
    EXPECT_EQ(kProgramTitle, FrameTitle());
    ExpectFileCommands(false);

    // One character less still fits: the walk runs and finds nothing there.
    const std::string longest = "C:\\" + std::string(252, 'd') + "\\";
    entry.location = longest + "x";
    NotFoundState again;
    StartExpectingNotFound(entry, again);
    EXPECT_EQ(1, again.shown);
    EXPECT_EQ(longest + "*.*", searchView.filesSpec);
    EXPECT_EQ(259u, std::string(searchView.filesSpec).size());
}

TEST_F(SearchControllerTest, FindNextInATinyViewEndsAndStillFindsTheOccurrence)
{
    tree.Write("a.txt", Filler(0, 5) + "far " + std::string(120, '.') + "needle\r\nfiller\r\nneedle\r\nend");
    MoveWindow(searchView.hwnd, 0, 0, 3, 3, TRUE);
    PumpMessages(20);
    ASSERT_LE(searchView.visibleRows, 0);
    ASSERT_LE(searchView.visibleColumns, 0);
    Start(AllFilesIn(tree));

    ExpectSelection(5, 124, 124 + kNeedleLength);
    EXPECT_EQ(124 + kNeedleLength, searchView.leftColumn + searchView.cursorColumn);
    EXPECT_EQ(Position(6), Status(1));
    Command(CMD_FINDNEXT);
    ExpectSelection(7, 0, kNeedleLength);
    EXPECT_EQ(kNeedleLength, searchView.leftColumn + searchView.cursorColumn);
    Command(CMD_FINDNEXT);
    EXPECT_EQ("\tNo more", Status(1));

    // A minimised frame leaves the view no room at all; Find next from the top finds the first one again.
    ShowWindow(appFrame.hwnd, SW_MINIMIZE);
    PumpMessages(50);
    ASSERT_TRUE(IsIconic(appFrame.hwnd));
    EXPECT_LE(searchView.visibleRows, 0);
    EXPECT_LE(searchView.visibleColumns, 0);
    searchView.topLine = searchView.cursorRow = searchView.cursorColumn = searchView.leftColumn = 0;
    Command(CMD_FINDNEXT);
    ExpectSelection(5, 124, 124 + kNeedleLength);
    ShowWindow(appFrame.hwnd, SW_RESTORE);
}

TEST_F(SearchControllerTest, HitAfterAnEndedWalkAndAnOkWithoutTextEnablesTheFileCommands)
{
    tree.Write("a.txt", "a needle");
    Start(AllFilesIn(tree));
    NotFoundState notFound;
    ExpectNotFound(notFound);
    Command(CMD_NEXTFILE);
    ASSERT_EQ(1, notFound.shown);
    ExpectFileCommands(false);

    // OK with an empty text keeps the earlier text and location and walks again.
    SearchEntry empty = AllFilesIn(tree, "");
    empty.location = "";
    Start(empty);
    EXPECT_STREQ(kNeedle, searchOptions.searchText);
    EXPECT_EQ(tree.path + "\\a.txt", searchView.currentPath);
    EXPECT_EQ(FoundTitle(searchView.currentPath), FrameTitle());
    ExpectFileCommands(true);
}

TEST_F(SearchControllerTest, NotFoundBoxLeavesNoGdiObjectBehind)
{
    tree.Write("a.txt", "a needle");
    Start(AllFilesIn(tree));
    NotFoundState warmUp;
    ExpectNotFound(warmUp);
    Command(CMD_NEXTFILE);
    ASSERT_EQ(1, warmUp.shown);

    const int before = CountGdiObjects();
    ASSERT_GT(before, 0);
    NotFoundState notFound;
    for (int round = 0; round < 3; ++round)
        ExpectNotFound(notFound);
    for (int round = 0; round < 3; ++round)
        searchView.RunSearch(0);  // the walk is over: each run ends in the box
    EXPECT_EQ(3, notFound.shown);
    EXPECT_EQ(nullptr, searchView.notFoundBox.brush);
    EXPECT_EQ(before, CountGdiObjects());
}

// Counts the texts the status bar is given while it lives.
class StatusTextCounter {
public:
    explicit StatusTextCounter(HWND bar) : window(bar)
    {
        counter = this;
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Count)));
    }
    ~StatusTextCounter()
    {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        counter = nullptr;
    }
    int texts = 0;

private:
    static LRESULT CALLBACK Count(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == SB_SETTEXTA)
            ++counter->texts;
        return CallWindowProcA(counter->original, hwnd, message, wParam, lParam);
    }
    static StatusTextCounter* counter;
    HWND window;
    WNDPROC original = nullptr;
};
StatusTextCounter* StatusTextCounter::counter = nullptr;

TEST_F(SearchControllerTest, AWalkOverFilesWithoutTheTextTouchesNoWindowPerFile)
{
    constexpr int kFiles = 400;
    for (int i = 0; i < kFiles; ++i)
        tree.Write("plain" + std::to_string(i) + ".txt", "nothing to find here\r\n");
    // Marks no walk would set: a file's load may not move them.
    SetScrollRange(searchView.hwnd, SB_VERT, 0, 777, FALSE);
    SetScrollPos(searchView.hwnd, SB_VERT, 555, FALSE);
    StatusTextCounter status(statusBar.hwnd);
    int firstTexts = -1, lastTexts = -1, firstCarets = -1, lastCarets = -1;
    int movedScrollBar = 0;
    searchView.onCount = [&] {
        if (firstTexts < 0) {
            firstTexts = status.texts;
            firstCarets = searchView.caretUpdates;
        }
        lastTexts = status.texts;
        lastCarets = searchView.caretUpdates;
        int low = 0, high = 0;
        GetScrollRange(searchView.hwnd, SB_VERT, &low, &high);
        if (high != 777 || GetScrollPos(searchView.hwnd, SB_VERT) != 555)
            ++movedScrollBar;
    };
    NotFoundState notFound;
    StartExpectingNotFound(AllFilesIn(tree), notFound);
    searchView.onCount = nullptr;

    ASSERT_EQ(static_cast<size_t>(kFiles), searchView.counted.size());
    EXPECT_EQ(0, movedScrollBar);
    EXPECT_EQ(firstCarets, lastCarets);
    // The path being searched shows a few times a second, never once a file.
    EXPECT_LT(lastTexts - firstTexts, kFiles / 4);
    EXPECT_EQ(1, notFound.shown);
    // The walk's end brings the emptied view's scroll bar up to date.
    int low = 0, high = 0;
    GetScrollRange(searchView.hwnd, SB_VERT, &low, &high);
    EXPECT_EQ(1, high);
    EXPECT_EQ(0, GetScrollPos(searchView.hwnd, SB_VERT));
}

TEST_F(SearchControllerTest, FilesThatCannotBeOpenedAreCountedFromStartAndShownWithNotFound)
{
    const std::string first = tree.Write("first.txt", "a needle");
    const std::string second = tree.Write("second.txt", "a needle");
    tree.Write("plain.txt", "nothing");
    HANDLE held[2];
    held[0] = CreateFileA(first.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    held[1] = CreateFileA(second.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held[0]);
    ASSERT_NE(INVALID_HANDLE_VALUE, held[1]);
    NotFoundState notFound;
    StartExpectingNotFound(AllFilesIn(tree), notFound);
    EXPECT_EQ(1, notFound.shown);
    EXPECT_EQ("2 files could not be read", notFound.pathPart);
    EXPECT_EQ("2 files could not be read", Status(0));

    // A new search counts afresh.
    CloseHandle(held[1]);
    Start(AllFilesIn(tree));
    ASSERT_EQ(second, searchView.currentPath);
    NotFoundState again;
    ExpectNotFound(again);
    Command(CMD_NEXTFILE);
    EXPECT_EQ("1 file could not be read", again.pathPart);
    EXPECT_EQ("1 file could not be read", Status(0));
    CloseHandle(held[0]);

    // None unread: the part is empty, as ever.
    NotFoundState none;
    StartExpectingNotFound(AllFilesIn(tree, "absent"), none);
    EXPECT_EQ("", none.pathPart);
}

// A hit too large to show stops the walk with its path, title and count; only what needs no text goes on.
TEST_F(SearchControllerTest, HitTooLargeToShowStopsTheWalkWithItsCountAndNoText)
{
    searchView.showableLargest = 100;
    const std::string large = tree.Write("a-large.txt", Filler(0, 20) + "needle, NEEDLE");
    const std::string small = tree.Write("b-small.txt", "a needle");
    ASSERT_EQ("a-large.txt", tree.WalkOrder().at(0));
    Start(AllFilesIn(tree));

    EXPECT_EQ(large, searchView.currentPath);
    EXPECT_EQ(FoundTitle(large), FrameTitle());
    EXPECT_EQ(large, Status(0));
    EXPECT_EQ("\tToo large to show", Status(1));
    EXPECT_EQ("\t2", Status(2));
    EXPECT_EQ(0, searchView.lineCount);
    EXPECT_EQ(0u, searchView.bytesRead);
    for (int id : kFileCommands)
        EXPECT_EQ(id == CMD_NEXTFILE || id == CMD_EDIT, Enabled(id)) << id;

    Command(CMD_NEXTFILE);
    EXPECT_EQ(small, Status(0));
    EXPECT_EQ(FoundTitle(small), FrameTitle());
    EXPECT_EQ("\t1", Status(2));
    ExpectSelection(0, 2, 2 + kNeedleLength);
    ExpectFileCommands(true);
}

} // namespace
} // namespace apptest

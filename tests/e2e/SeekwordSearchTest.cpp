// Searching as a user does: the hit file shown with its occurrence selected, Find next through it, Next
// file to the end of the walk and the "Not found" box, and a Start cancelled after a hit.
#include <cstdlib>

#include "SeekwordFixture.h"

namespace seekword_e2e {
namespace {

using SeekwordSearchTest = SeekwordTest;

const COLORREF kNotFoundBack = RGB(128, 0, 0);
const COLORREF kNotFoundText = RGB(255, 255, 0);

TEST_F(SeekwordSearchTest, OnlyTheThirdOfThreeFilesHoldsTheTextAndItIsShownWithItsFirstOccurrence)
{
    samples.Add("a.txt", "nothing to see here\r\n");
    samples.Add("b.txt", "still nothing; a needl but no more\r\n");
    const std::string hit = samples.Add("c.txt", "first line\r\nsecond line\r\nthe Needle is here\r\nand a needle again\r\n");
    ASSERT_TRUE(Launch());
    // Only the folder part of the location counts: the pattern after it changes nothing.
    ASSERT_TRUE(Search("needle", samples.Path() + "*.doc", "c.txt"));

    EXPECT_EQ(hit, Part(0));
    EXPECT_EQ("\t3 / 5", Part(1));
    EXPECT_EQ("\t2", Part(2));
    EXPECT_EQ(kAllCommands, EnabledCommands());
    EXPECT_TRUE(IsEnabledNow(frame));
    EXPECT_EQ(view, FocusOf(frame));

    // Line 3 from the top, columns 4 to 9: "Needle", in the selection colour.
    ScreenImage shot;
    EXPECT_TRUE(WaitForHighlight("2:4-9", &shot));
    // The text of the file is drawn too: the first rows hold text pixels, the rows below do not.
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    RECT firstRow = {metrics.margin, 0, shot.Width(), metrics.lineHeight};
    RECT emptyRows = {metrics.margin, 6 * metrics.lineHeight, shot.Width(), 8 * metrics.lineHeight};
    EXPECT_GT(shot.CountColour(ink, firstRow), 20);
    EXPECT_EQ(0, shot.CountColour(ink, emptyRows));
    ScreenImage window = ScreenImage::CaptureWindow(frame);
    ASSERT_FALSE(window.IsEmpty());
    EXPECT_TRUE(window.SavePng(ArtifactPath("seekword-hit.png")));
}

TEST_F(SeekwordSearchTest, FindNextStepsForwardThroughTheFileAndThenSaysNoMore)
{
    samples.Add("steps.txt", "aa one\r\nnothing\r\nb aa c aa\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Search("aa", samples.Path(), "steps.txt"));
    EXPECT_EQ("\t3", Part(2));
    EXPECT_EQ("\t1 / 4", Part(1));
    EXPECT_TRUE(WaitForHighlight("0:0-1"));

    // The button is handled before the click returns.
    ASSERT_TRUE(ClickButton(Button(kFindNext)));
    EXPECT_EQ("\t3 / 4", Part(1));
    EXPECT_TRUE(WaitForHighlight("2:2-3"));
    // Alt+F as real keys while the view has the focus reaches the main window's accelerators.
    ASSERT_EQ(view, FocusOf(frame));
    ASSERT_TRUE(Press('F', kAlt));
    EXPECT_TRUE(WaitForHighlight("2:7-8"));
    EXPECT_EQ("\t3 / 4", Part(1));

    // Past the last occurrence: "No more", and the selection stays where it was, every time.
    ASSERT_TRUE(Press('F', kAlt));
    EXPECT_TRUE(WaitForPart(1, "\tNo more"));
    EXPECT_TRUE(WaitForHighlight("2:7-8"));
    ASSERT_TRUE(ClickButton(Button(kFindNext)));
    EXPECT_EQ("\tNo more", Part(1));
    EXPECT_TRUE(WaitForHighlight("2:7-8"));
    EXPECT_EQ("\t3", Part(2));
    EXPECT_EQ(kAllCommands, EnabledCommands());
}

TEST_F(SeekwordSearchTest, OverlappingOccurrencesAreCountedButVisitedWithoutOverlap)
{
    samples.Add("aaaa.txt", "aaaa");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Search("aa", samples.Path(), "aaaa.txt"));
    EXPECT_EQ("\t3", Part(2));
    EXPECT_EQ("\t1 / 1", Part(1));
    EXPECT_TRUE(WaitForHighlight("0:0-1"));
    ASSERT_TRUE(ClickButton(Button(kFindNext)));
    EXPECT_EQ("\t1 / 1", Part(1));
    EXPECT_TRUE(WaitForHighlight("0:2-3"));
    ASSERT_TRUE(ClickButton(Button(kFindNext)));
    EXPECT_EQ("\tNo more", Part(1));
    EXPECT_TRUE(WaitForHighlight("0:2-3"));
}

TEST_F(SeekwordSearchTest, AnOccurrenceFarDownIsShownOnItsPageInWholePageSteps)
{
    std::string text;
    for (int line = 0; line < 120; ++line)
        text += (line == 100 || line == 104 ? "line with the needle " : "plain line ") + std::to_string(line) + "\r\n";
    samples.Add("long.txt", text);
    ASSERT_TRUE(Launch());
    const int rows = ViewRows();
    ASSERT_GT(rows, 5);
    ASSERT_TRUE(Search("needle", samples.Path(), "long.txt"));
    EXPECT_EQ("\t101 / 121", Part(1));
    EXPECT_EQ("\t2", Part(2));
    // The page that holds line 100 starts at a whole number of pages from the top.
    const int top = 100 / rows * rows;
    EXPECT_TRUE(WaitForHighlight(std::to_string(100 - top) + ":14-19"));
    ASSERT_TRUE(ClickButton(Button(kFindNext)));
    EXPECT_EQ("\t105 / 121", Part(1));
    const int nextTop = 104 / rows * rows;
    EXPECT_TRUE(WaitForHighlight(std::to_string(104 - nextTop) + ":14-19"));
}

TEST_F(SeekwordSearchTest, AnOccurrenceFarRightMovesTheViewSidewaysByWholeWidths)
{
    samples.Add("wide.txt", std::string(200, 'x') + "needle\r\nneedle at the start\r\n");
    ASSERT_TRUE(Launch());
    const RECT client = ClientRectOnScreen(view);
    const int columns = (client.right - client.left - metrics.margin) / metrics.charWidth;
    ASSERT_GT(columns, 10);
    ASSERT_LT(columns, 200);
    ASSERT_TRUE(Search("needle", samples.Path(), "wide.txt"));
    // The end of the occurrence (column 206) comes into sight in steps of the view's width.
    int left = 0;
    while (206 > left + columns)
        left += columns;
    EXPECT_TRUE(WaitForHighlight("0:" + std::to_string(200 - left) + "-" + std::to_string(205 - left)));
    // The next one lies left of the view: it steps back to the start of the lines.
    ASSERT_TRUE(ClickButton(Button(kFindNext)));
    EXPECT_EQ("\t2 / 3", Part(1));
    EXPECT_TRUE(WaitForHighlight("1:0-5"));
}

TEST_F(SeekwordSearchTest, AFileNameOfFiftyCharactersIsCutToThirtyNineInTheTitle)
{
    const std::string name = std::string(46, 'n') + ".txt";
    ASSERT_EQ(50u, name.size());
    const std::string hit = samples.Add(name, "needle\r\n");
    ASSERT_FALSE(hit.empty());
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Search("needle", samples.Path(), name.substr(0, 39)));
    EXPECT_EQ(hit, Part(0));
}

TEST_F(SeekwordSearchTest, NextFileAfterTheLastHitShowsNotFoundAndDisablesTheFileCommands)
{
    const std::string hit = samples.Add("only.txt", "a needle\r\n");
    samples.Add("other.txt", "no such text\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Search("needle", samples.Path(), "only.txt"));
    EXPECT_EQ(hit, Part(0));

    ASSERT_TRUE(Press('N', kAlt));
    HWND box = WaitForNotFoundBox();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(frame, GetAncestor(GetWindow(box, GW_OWNER), GA_ROOT));
    // Everything about the walk's end is in place while the box is up.
    EXPECT_TRUE(WaitUntil([&] { return !IsEnabledNow(frame); }));
    EXPECT_EQ(kProgramTitle, StoredTitle(frame));
    EXPECT_EQ("", Part(0));
    EXPECT_EQ(kNoFileCommands, EnabledCommands());

    // Dark red face with the yellow "Not found" above the OK button.
    ScreenImage shot;
    RECT client = {};
    RECT text = {};
    ASSERT_TRUE(WaitUntil([&] {
        shot = ScreenImage::CaptureWindow(box);
        client = ClientRectOnScreen(box);
        OffsetRect(&client, -shot.ScreenArea().left, -shot.ScreenArea().top);
        RECT button = WindowRectOf(GetDlgItem(box, IDOK));
        text = client;
        text.bottom = button.top - shot.ScreenArea().top;
        return !shot.IsEmpty() && shot.DominantColour(client) == kNotFoundBack &&
               shot.CountColour(kNotFoundText, text) > 20;
    }));
    EXPECT_TRUE(shot.SavePng(ArtifactPath("seekword-not-found.png")));
    // The text is centred: as much yellow left of the middle as right of it, give or take.
    RECT left = text;
    left.right = (text.left + text.right) / 2;
    RECT right = text;
    right.left = left.right;
    const int leftYellow = shot.CountColour(kNotFoundText, left);
    const int rightYellow = shot.CountColour(kNotFoundText, right);
    EXPECT_GT(leftYellow, 0);
    EXPECT_GT(rightYellow, 0);
    EXPECT_LT(abs(leftYellow - rightYellow), (leftYellow + rightYellow) / 3);
    EXPECT_EQ("OK", WindowText(GetDlgItem(box, IDOK)));

    ASSERT_TRUE(Press(VK_RETURN, kNoModifier, box));
    ASSERT_TRUE(WaitForWindowGone(box));
    ASSERT_TRUE(Sync());
    EXPECT_TRUE(IsEnabledNow(frame));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(frame) == view; }));
    EXPECT_EQ(kProgramTitle, StoredTitle(frame));
    EXPECT_EQ("", Part(0));
    EXPECT_EQ("", Part(2));
    EXPECT_EQ(kNoFileCommands, EnabledCommands());
    // The view is empty: no selection and no text.
    ScreenImage empty = CaptureView();
    EXPECT_EQ("", HighlightedCells(empty));
    RECT rows = {metrics.margin + 2, 0, empty.Width(), 4 * metrics.lineHeight};
    EXPECT_EQ(0, empty.CountColour(GetSysColor(COLOR_WINDOWTEXT), rows));

    // The disabled Next file key does nothing: no second box.
    ASSERT_TRUE(Press('N', kAlt));
    ASSERT_TRUE(SyncThroughAbout());
    EXPECT_EQ(nullptr, app.FindTopWindow(kDialogClass, kNotFoundTitle));
}

TEST_F(SeekwordSearchTest, CancelAtStartKeepsTheHitShownAndNextFileContinuesTheWalk)
{
    const std::string one = samples.Add("one.txt", "needle once\r\n");
    const std::string two = samples.Add("two.txt", "needle\r\ntwice a needle\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Confirm("needle", samples.Path()));
    std::string first;
    ASSERT_TRUE(WaitUntil([&] {
        first = StoredTitle(frame);
        return first == "Seekword found one.txt" || first == "Seekword found two.txt";
    })) << StoredTitle(frame);
    ASSERT_TRUE(Sync());
    const bool oneFirst = first == "Seekword found one.txt";
    EXPECT_EQ(oneFirst ? one : two, Part(0));
    EXPECT_EQ(oneFirst ? "\t1" : "\t2", Part(2));
    EXPECT_TRUE(WaitForHighlight("0:0-5"));

    // Alt+S opens the dialog again, with the last search text; Cancel changes nothing but the
    // position and count parts.
    ASSERT_TRUE(Press('S', kAlt));
    dialog = app.WaitForTopWindow(kDialogClass, kSearchTitle);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("needle", DlgItemText(dialog, kSearchText));
    ASSERT_TRUE(CloseDialogWith(IDCANCEL));
    ASSERT_TRUE(Sync());
    EXPECT_EQ(first, StoredTitle(frame));
    EXPECT_EQ(oneFirst ? one : two, Part(0));
    EXPECT_EQ("", Part(1));
    EXPECT_EQ("", Part(2));
    EXPECT_EQ(kAllCommands, EnabledCommands());
    EXPECT_TRUE(WaitForHighlight("0:0-5"));

    ASSERT_TRUE(PostClickButton(Button(kNextFile)));
    ASSERT_TRUE(WaitForHit(oneFirst ? "two.txt" : "one.txt"));
    EXPECT_EQ(oneFirst ? two : one, Part(0));
    EXPECT_EQ(oneFirst ? "\t2" : "\t1", Part(2));
    EXPECT_EQ(oneFirst ? "\t1 / 3" : "\t1 / 2", Part(1));

    ASSERT_TRUE(PostClickButton(Button(kNextFile)));
    HWND box = WaitForNotFoundBox();
    ASSERT_NE(nullptr, box);
    ASSERT_TRUE(PostClickDlgItem(box, IDOK));
    ASSERT_TRUE(WaitForWindowGone(box));
    EXPECT_EQ(kNoFileCommands, EnabledCommands());
}

} // namespace
} // namespace seekword_e2e

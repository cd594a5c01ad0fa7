// Copying the selection: the found occurrence as the file writes it, by button, Ctrl+C, Ctrl+X
// and Alt+C; a selection dragged with the mouse over three lines; a margin click on one line.
#include "SeekwordFixture.h"

namespace seekword_e2e {
namespace {

class SeekwordCopyTest : public SeekwordTest {
protected:
    void SetUp() override
    {
        SeekwordTest::SetUp();
        if (HasFatalFailure())
            return;
        samples.Add("copy.txt", "hello\r\nbig\r\nworld\r\nHello NEEDLE and Needle\r\n");
        ASSERT_TRUE(Launch());
        ASSERT_TRUE(Search("needle", samples.Path(), "copy.txt"));
        ASSERT_TRUE(WaitForHighlight("3:6-11"));
    }

    std::function<::testing::AssertionResult()> Keys(const char* chord)
    {
        return [this, chord]() -> ::testing::AssertionResult {
            if (!XdoTool::PressKeys(frame, chord))
                return Failure(std::string("xdotool cannot press ") + chord);
            return ::testing::AssertionSuccess();
        };
    }

    std::function<::testing::AssertionResult()> Chord(WORD vk, unsigned modifiers)
    {
        return [this, vk, modifiers] { return Press(vk, modifiers); };
    }
};

TEST_F(SeekwordCopyTest, EveryCopyCommandTakesTheFoundOccurrenceInTheFilesLetters)
{
    ASSERT_TRUE(XdoTool::Available());
    std::string copied;
    ASSERT_TRUE(CopyWith([&] {
        return ClickButton(Button(kCopy)) ? ::testing::AssertionSuccess() : Failure("cannot click Copy");
    }, &copied));
    EXPECT_EQ("NEEDLE", copied);
    // Copying leaves the selection and the focus as they were.
    EXPECT_TRUE(WaitForHighlight("3:6-11"));
    EXPECT_EQ(view, FocusOf(frame));

    ASSERT_TRUE(Press('F', kAlt));
    ASSERT_TRUE(WaitForHighlight("3:17-22"));
    ASSERT_TRUE(CopyWith(Keys("ctrl+c"), &copied));
    EXPECT_EQ("Needle", copied);
    ASSERT_TRUE(CopyWith(Keys("ctrl+x"), &copied));
    EXPECT_EQ("Needle", copied);
    ASSERT_TRUE(CopyWith(Chord('C', kAlt), &copied));
    EXPECT_EQ("Needle", copied);
    // Ctrl+X cuts nothing: the file shown and its selection stay.
    EXPECT_TRUE(WaitForHighlight("3:17-22"));
    EXPECT_EQ("\t2", Part(2));
}

TEST_F(SeekwordCopyTest, AMouseDragOverThreeLinesCopiesThemJoinedByCrLf)
{
    ASSERT_TRUE(XdoTool::Available());
    ASSERT_TRUE(BringToFront(frame));
    // From index 2 of "hello" to index 1 of "world".
    const POINT from = CellCentre(0, 2);
    const POINT to = CellCentre(2, 1);
    ASSERT_TRUE(XdoTool::Drag(from.x, from.y, to.x, to.y));
    // The first line is lit to the window's edge, the middle one whole, the last one up to "w".
    ScreenImage shot;
    const int lastColumn = (ClientRectOnScreen(view).right - ClientRectOnScreen(view).left - metrics.margin) /
                               metrics.charWidth - 1;
    EXPECT_TRUE(WaitForHighlight("0:2-" + std::to_string(lastColumn) + " 1:0-" + std::to_string(lastColumn) +
                                 " 2:0-0", &shot));

    std::string copied;
    ASSERT_TRUE(CopyWith(Chord('C', kCtrl), &copied));
    EXPECT_EQ("llo\r\nbig\r\nw", copied);
}

TEST_F(SeekwordCopyTest, AMarginClickSelectsAWholeLineAndAPlainClickCopiesNothing)
{
    ASSERT_TRUE(BringToFront(frame));
    const POINT margin = ClientToScreenPoint(view, metrics.margin / 2, metrics.lineHeight + metrics.lineHeight / 2);
    ASSERT_TRUE(ClickAt(margin.x, margin.y));
    EXPECT_TRUE(WaitForHighlight("1:0-2"));
    std::string copied;
    ASSERT_TRUE(CopyWith(Chord('C', kAlt), &copied));
    EXPECT_EQ("big", copied);

    // A click in the text leaves an empty selection, which Copy leaves alone.
    const POINT inText = CellCentre(2, 3);
    ASSERT_TRUE(ClickAt(inText.x, inText.y));
    EXPECT_TRUE(WaitForHighlight(""));
    ASSERT_TRUE(ClipboardAccess::PutText(kClipboardMarker));
    ASSERT_TRUE(ClipboardAccess::WaitUntilFree());
    const DWORD seen = ClipboardAccess::Sequence();
    ASSERT_TRUE(Press('C', kCtrl));
    ASSERT_TRUE(SyncThroughAbout());
    EXPECT_EQ(seen, ClipboardAccess::Sequence());
    ASSERT_TRUE(ClipboardAccess::ReadText(&copied));
    EXPECT_EQ(kClipboardMarker, copied);
}

} // namespace
} // namespace seekword_e2e

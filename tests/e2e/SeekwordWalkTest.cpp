// Which files a search examines: subfolders only when asked, the extension slots when "Find all
// files" is off, the letter case when it counts, and an OK without a text repeating the last search.
#include <set>

#include "SeekwordFixture.h"

namespace seekword_e2e {
namespace {

const char kFoundPrefix[] = "Seekword found ";

class SeekwordWalkTest : public SeekwordTest {
protected:
    // Walks on with Next file from the hit shown, collecting the names of the hit files until
    // the "Not found" box, which is closed.
    ::testing::AssertionResult CollectHits(std::set<std::string>* names)
    {
        for (int hits = 0; hits < 20; ++hits) {
            const std::string title = StoredTitle(frame);
            if (title.compare(0, sizeof(kFoundPrefix) - 1, kFoundPrefix) != 0)
                return Failure("no hit shown: \"" + title + "\"");
            names->insert(title.substr(sizeof(kFoundPrefix) - 1));
            if (!PostClickButton(Button(kNextFile)))
                return Failure("cannot click Next file");
            HWND box = nullptr;
            if (!WaitUntil([&] {
                    box = app.FindTopWindow(kDialogClass, kNotFoundTitle);
                    const std::string now = StoredTitle(frame);
                    // The title goes back to the program's name just before the box shows.
                    return (box && IsWindowVisible(box)) ||
                           (now != title && now.compare(0, sizeof(kFoundPrefix) - 1, kFoundPrefix) == 0);
                }))
                return Failure("Next file shows neither a hit nor the \"Not found\" box");
            if (box && IsWindowVisible(box))
                return CloseNotFoundBox(box);
            ::testing::AssertionResult synced = Sync();
            if (!synced)
                return synced;
        }
        return Failure("the walk does not end");
    }

    // Escape closes the box as its OK button does.
    ::testing::AssertionResult CloseNotFoundBox(HWND box)
    {
        if (!Press(VK_ESCAPE, kNoModifier, box) || !WaitForWindowGone(box))
            return Failure("the \"Not found\" box does not close");
        return Sync();
    }

    // Confirms the dialog and expects the walk to find nothing.
    ::testing::AssertionResult ConfirmAndExpectNothing(const std::string& text, const std::string& location)
    {
        ::testing::AssertionResult confirmed = Confirm(text, location);
        if (!confirmed)
            return confirmed;
        HWND box = WaitForNotFoundBox();
        if (!box)
            return Failure("no \"Not found\" box; title \"" + StoredTitle(frame) + "\"");
        return CloseNotFoundBox(box);
    }
};

TEST_F(SeekwordWalkTest, SubfoldersAreSearchedOnlyWhenAsked)
{
    samples.Add("top.txt", "nothing here\r\n");
    const std::string deep = samples.Add("sub\\deeper\\deep.txt", "the needle below\r\n");
    ASSERT_FALSE(deep.empty());
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(ConfirmAndExpectNothing("needle", samples.Path()));
    EXPECT_EQ(kNoFileCommands, EnabledCommands());

    ASSERT_TRUE(OpenSearchDialog());
    ASSERT_TRUE(ClickDlgItem(dialog, kSubfolders));
    ASSERT_TRUE(Search("needle", samples.Path(), "deep.txt"));
    EXPECT_EQ(deep, Part(0));
    EXPECT_EQ(kAllCommands, EnabledCommands());
}

TEST_F(SeekwordWalkTest, WithFindAllFilesOffOnlyTheEnabledExtensionsAreExamined)
{
    samples.Add("a.txt", "needle\r\n");
    samples.Add("b.cpp", "needle\r\n");
    samples.Add("c.h", "needle\r\n");
    samples.Add("d.hpp", "needle\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(ClickDlgItem(dialog, kAllFiles));
    ASSERT_TRUE(IsEnabledNow(GetDlgItem(dialog, kSlotEdit1)));
    ASSERT_TRUE(Confirm("needle", samples.Path()));
    ASSERT_TRUE(WaitUntil([&] { return StoredTitle(frame) != kProgramTitle; }));
    ASSERT_TRUE(Sync());
    std::set<std::string> found;
    ASSERT_TRUE(CollectHits(&found));
    EXPECT_EQ((std::set<std::string>{"b.cpp", "c.h"}), found);

    // Slots 1 and 2 off, slot 3 typed with its dot and in capitals: only the text file.
    ASSERT_TRUE(OpenSearchDialog());
    ASSERT_TRUE(ClickDlgItem(dialog, kSlotCheck1));
    ASSERT_TRUE(ClickDlgItem(dialog, kSlotCheck1 + 1));
    ASSERT_TRUE(ClickDlgItem(dialog, kSlotCheck1 + 2));
    ASSERT_TRUE(SetDlgItemTextTo(dialog, kSlotEdit1 + 2, ".TXT"));
    ASSERT_TRUE(Search("needle", samples.Path(), "a.txt"));
    found.clear();
    ASSERT_TRUE(CollectHits(&found));
    EXPECT_EQ((std::set<std::string>{"a.txt"}), found);
}

TEST_F(SeekwordWalkTest, ACaseSensitiveSearchMatchesOnlyTheSameLetters)
{
    samples.Add("lower.txt", "a needle\r\n");
    samples.Add("upper.txt", "a NEEDLE and a NEEDLE\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(ClickDlgItem(dialog, kCaseSensitive));
    ASSERT_TRUE(Search("NEEDLE", samples.Path(), "upper.txt"));
    EXPECT_EQ("\t2", Part(2));
    std::set<std::string> found;
    ASSERT_TRUE(CollectHits(&found));
    EXPECT_EQ((std::set<std::string>{"upper.txt"}), found);

    // The switch stays as set for the rest of the run; switched off, any letter case matches.
    ASSERT_TRUE(OpenSearchDialog());
    EXPECT_TRUE(IsChecked(dialog, kCaseSensitive));
    ASSERT_TRUE(ClickDlgItem(dialog, kCaseSensitive));
    ASSERT_TRUE(Confirm("NeEdLe", samples.Path()));
    ASSERT_TRUE(WaitUntil([&] { return StoredTitle(frame) != kProgramTitle; }));
    ASSERT_TRUE(Sync());
    found.clear();
    ASSERT_TRUE(CollectHits(&found));
    EXPECT_EQ((std::set<std::string>{"lower.txt", "upper.txt"}), found);
}

TEST_F(SeekwordWalkTest, AnOkWithoutTextRepeatsTheLastSearchFromTheStart)
{
    samples.Add("one.txt", "needle\r\n");
    samples.Add("two.txt", "needle\r\n");
    SampleFolder elsewhere;
    ASSERT_TRUE(elsewhere.IsValid());
    elsewhere.Add("three.txt", "needle\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Confirm("needle", samples.Path()));
    ASSERT_TRUE(WaitUntil([&] { return StoredTitle(frame) != kProgramTitle; }));
    ASSERT_TRUE(Sync());
    const std::string first = StoredTitle(frame);
    ASSERT_TRUE(PostClickButton(Button(kNextFile)));
    ASSERT_TRUE(WaitUntil([&] { return StoredTitle(frame) != first; }));
    ASSERT_TRUE(Sync());

    // No text: the earlier text and location stand, whatever the location entry says now.
    ASSERT_TRUE(OpenSearchDialog());
    ASSERT_TRUE(Confirm("", elsewhere.Path()));
    ASSERT_TRUE(WaitUntil([&] { return StoredTitle(frame) == first; })) << StoredTitle(frame);
    ASSERT_TRUE(Sync());
    EXPECT_EQ("\t1 / 2", Part(1));
    EXPECT_EQ("\t1", Part(2));
    EXPECT_EQ(kAllCommands, EnabledCommands());
}

} // namespace
} // namespace seekword_e2e

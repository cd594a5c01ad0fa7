// Which files a search examines: subfolders only when asked, the extension slots when "Find all
// files" is off, the letter case when it counts, an OK without a text repeating the last search, and
// names beyond the code page or paths past 259 characters.
#include <fstream>
#include <iterator>
#include <set>

#include "SeekwordFixture.h"

namespace seekword_e2e {
namespace {

const char kFoundPrefix[] = "Seekword found ";

class SeekwordWalkTest : public SeekwordTest {
protected:
    // Walks on with Next file from the hit shown, collecting the names of the hit files (and their
    // paths as shown) until the "Not found" box, which is closed.
    ::testing::AssertionResult CollectHits(std::set<std::string>* names, std::vector<std::string>* paths = nullptr)
    {
        for (int hits = 0; hits < 20; ++hits) {
            const std::string title = StoredTitle(frame);
            if (title.compare(0, sizeof(kFoundPrefix) - 1, kFoundPrefix) != 0)
                return Failure("no hit shown: \"" + title + "\"");
            names->insert(title.substr(sizeof(kFoundPrefix) - 1));
            if (paths)
                paths->push_back(Part(0));
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

TEST_F(SeekwordWalkTest, FilesBeyondTheCodePageOrPast259CharactersAreShownByPathsThatOpenThem)
{
    // The files that hold the text, each in words of its own. The deep one lies 370 characters down: its second
    // folder, too long beside the first, goes by its short name. The page's short name cuts .html to .HTM.
    const std::wstring folders = std::wstring(120, L'a') + L"\\" + std::wstring(120, L'b') + L"\\";
    const std::wstring report = L"\u043e\u0442\u0447\u0451\u0442";
    const std::wstring names[] = {
        L"plain.txt", report + L".txt", report + L".html", L"\u0434\u0430\u043d\u043d\u044b\u0435\\inner.txt",
        L"\u0141odz.txt", folders + std::wstring(370 - samples.Path().size() - folders.size() - 4, L'c') + L".txt"};
    std::multiset<std::string> expected, shown;
    for (const std::wstring& name : names) {
        const std::string text = "a needle in file " + std::to_string(expected.size());
        expected.insert(text);
        ASSERT_TRUE(samples.AddWide(name, text));
    }
    // The best fit of the Lodz with a stroke, not to be read in its place; a device name no path reaches; one
    // level too deep.
    ASSERT_TRUE(samples.AddWide(L"Lodz.txt", "nothing here"));
    ASSERT_TRUE(samples.AddWide(L"con.txt", "a needle"));
    std::wstring tooDeep;
    for (int level = 1; level <= 16; ++level)
        tooDeep += std::to_wstring(level) + L"\\";
    ASSERT_TRUE(samples.AddWide(tooDeep + L"sixteen.txt", "a needle"));

    // Text files and pages: the filter judges each file's own name, not the one its path gives.
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(ClickDlgItem(dialog, kSubfolders));
    ASSERT_TRUE(ClickDlgItem(dialog, kAllFiles));
    ASSERT_TRUE(SetDlgItemTextTo(dialog, kSlotEdit1, "txt") && SetDlgItemTextTo(dialog, kSlotEdit1 + 1, "html"));
    ASSERT_TRUE(Confirm("needle", samples.Path()));
    ASSERT_TRUE(WaitUntil([&] { return StoredTitle(frame) != kProgramTitle; }));
    ASSERT_TRUE(Sync());
    std::set<std::string> hitNames;
    std::vector<std::string> paths;
    ASSERT_TRUE(CollectHits(&hitNames, &paths));
    EXPECT_EQ("1 file could not be read, 1 folder could not be searched", Part(0));
    // Each path shown opens the very file found.
    for (const std::string& path : paths) {
        std::ifstream file(path, std::ios::binary);
        EXPECT_TRUE(file.is_open()) << path;
        shown.insert(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
    }
    EXPECT_EQ(expected, shown);
}

} // namespace
} // namespace seekword_e2e

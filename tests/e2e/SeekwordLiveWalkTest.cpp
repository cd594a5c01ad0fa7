// A long walk as the user lives it: the path being searched shows, the window answers, Escape
// pauses and Next file goes on, input made meanwhile is dropped, a large hit is shown, and Alt+F4
// closes cleanly.
#include "SeekwordFixture.h"

namespace seekword_e2e {
namespace {

// Many large files without the text that cost no disk: hard links to one sparse file. Each is
// read and counted whole, so the walk takes seconds.
constexpr int kLargeFiles = 160;
constexpr LONGLONG kLargeFileBytes = 64LL << 20;
constexpr DWORD kLongWalkMs = 120000;

class SeekwordLiveWalkTest : public SeekwordTest {
protected:
    // The large files in the subfolder named, which is made; false when any could not be.
    bool MakeLargeFiles(const std::string& subfolder)
    {
        const std::string folder = samples.Path() + subfolder;
        if (!MakeFolders(folder))
            return false;
        const std::string first = folder + "0.bin";
        HANDLE file = CreateFileA(first.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        LARGE_INTEGER size;
        size.QuadPart = kLargeFileBytes;
        const bool sized = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
        CloseHandle(file);
        for (int i = 1; sized && i < kLargeFiles; ++i) {
            if (!CreateHardLinkA((folder + std::to_string(i) + ".bin").c_str(), first.c_str(), nullptr))
                return false;
        }
        return sized;
    }

    // Waits until status part 0 names a file in the folder other than the one given.
    ::testing::AssertionResult WaitForProgressIn(const std::string& folder, std::string* path,
                                                 const std::string& other = std::string())
    {
        std::string seen;
        if (!WaitUntil([&] {
                seen = Part(0);
                return seen.compare(0, folder.size(), folder) == 0 && seen.size() > folder.size() && seen != other;
            }))
            return Failure("status part 0 is \"" + seen + "\" while the walk should be in " + folder);
        *path = seen;
        return ::testing::AssertionSuccess();
    }
};

TEST_F(SeekwordLiveWalkTest, ALongWalkShowsItsPathAnswersAndEscapePausesItUntilNextFile)
{
    samples.Add("first.txt", "the needle\r\n");
    ASSERT_TRUE(MakeLargeFiles("large\\"));
    // A folder's files come before its subfolders: this one is the walk's last file.
    const std::string second = samples.Add("large\\after\\second.txt", "another needle\r\n");
    ASSERT_FALSE(second.empty());
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(SetChecked(dialog, kSubfolders, true));
    ASSERT_TRUE(Search("needle", samples.Path(), "first.txt"));

    ASSERT_TRUE(PostClickButton(Button(kNextFile)));
    const std::string large = samples.Path() + "large\\";
    std::string shown;
    ASSERT_TRUE(WaitForProgressIn(large, &shown));
    DWORD_PTR ignored = 0;
    EXPECT_TRUE(SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored)) << "the window does not answer";
    std::string later;
    ASSERT_TRUE(WaitForProgressIn(large, &later, shown)) << "the path shown does not move on";

    // A click on Start while the walk runs is not acted on, then or afterwards.
    RECT start;
    ASSERT_TRUE(GetWindowRect(Button(kStart), &start));
    ASSERT_TRUE(ClickAt((start.left + start.right) / 2, (start.top + start.bottom) / 2));
    ASSERT_TRUE(Press(VK_ESCAPE));
    ASSERT_TRUE(WaitForPart(0, "Stopped"));
    EXPECT_EQ("", Part(1));
    EXPECT_EQ("", Part(2));
    EXPECT_EQ(kProgramTitle, StoredTitle(frame));
    EXPECT_EQ("&Start &Next file &About E&xit", EnabledCommands());
    ScreenImage::CaptureWindow(frame).SavePng(ArtifactPath("live-walk-stopped.png"));
    ASSERT_TRUE(SyncThroughAbout());
    EXPECT_EQ(nullptr, app.FindTopWindow(kDialogClass, kSearchTitle));
    EXPECT_EQ("Stopped", Part(0));

    // Next file goes on after the last file examined: the hit behind the large files, and no
    // file before the pause comes again.
    ASSERT_TRUE(PostClickButton(Button(kNextFile)));
    ASSERT_TRUE(WaitUntil([&] { return StoredTitle(frame) != kProgramTitle; }, kLongWalkMs));
    ASSERT_TRUE(WaitForHit("second.txt"));
    EXPECT_EQ(second, Part(0));
    EXPECT_EQ(kAllCommands, EnabledCommands());
    ASSERT_TRUE(PostClickButton(Button(kNextFile)));
    HWND box = WaitForNotFoundBox();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(kProgramTitle, StoredTitle(frame));
}

TEST_F(SeekwordLiveWalkTest, EscapeInsideOneLargeFileStopsThereAndNextFileExaminesItAgain)
{
    // A UTF-16 line, then zeros that cost no disk, long to read and convert, with the text at the very end.
    const std::string name = samples.Add("large.txt", std::string("\xFF\xFEl\0a\0r\0g\0e\0\r\0\n\0", 16));
    HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD written = 0;
    const bool made = SetFilePointer(file, (512 << 20) - 12, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
                      WriteFile(file, "n\0e\0e\0d\0l\0e\0", 12, &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(made);
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Confirm("needle", samples.Path()));
    ASSERT_TRUE(WaitForPart(0, name));
    ASSERT_TRUE(Press(VK_ESCAPE));
    ASSERT_TRUE(WaitForPart(0, "Stopped"));
    EXPECT_EQ(kProgramTitle, StoredTitle(frame));
    // Neither passed over nor counted as unread: examined again and found, and the walk then ends.
    ASSERT_TRUE(PostClickButton(Button(kNextFile)));
    ASSERT_TRUE(WaitUntil([&] { return StoredTitle(frame) != kProgramTitle; }, kLongWalkMs));
    ASSERT_TRUE(WaitForHit("large.txt"));
    EXPECT_EQ("\t1", Part(2));
    ASSERT_TRUE(PostClickButton(Button(kNextFile)));
    ASSERT_NE(nullptr, WaitForNotFoundBox());
    EXPECT_EQ("", Part(0));
}

// A hit past the size read whole is shown from the disk: on its last line, across the cut the view makes
// after 255 bytes, selected on its page and copied whole.
TEST_F(SeekwordLiveWalkTest, LargeFileFoundIsShownWithItsOccurrenceSelectedAcrossACut)
{
    // A line, then NUL bytes that cost no disk, shown in 100,000 pieces of 255, then the line with the text.
    constexpr LONGLONG kPieces = 100000;
    const std::string name = samples.Add("large.log", "first line\r\n");
    const std::string last = "\r\n" + std::string(252, 'x') + "split-needle" + std::string(100, 'y');
    HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = 12 + kPieces * 255;
    DWORD written = 0;
    const bool made = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) &&
                      WriteFile(file, last.data(), static_cast<DWORD>(last.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(made);
    ASSERT_TRUE(Launch());
    const int rows = ViewRows();
    ASSERT_GT(rows, 1);
    ASSERT_TRUE(Search("split-needle", samples.Path(), "large.log"));
    EXPECT_EQ("\t1", Part(2));
    const int line = static_cast<int>(kPieces) + 1;  // "spl" ends it, "it-needle" starts the next piece
    EXPECT_EQ("\t" + std::to_string(line + 1) + " / " + std::to_string(line + 2), Part(1));
    // The page holds the occurrence's first line and, where it would not, its last; the cursor stands after
    // it, so only the second piece's part is in sight and lit.
    int page = line / rows * rows;
    if (line + 1 >= page + rows)
        page = line + 2 - rows;
    ScreenImage shot;
    EXPECT_TRUE(WaitForHighlight(std::to_string(line + 1 - page) + ":0-8", &shot));
    EXPECT_TRUE(shot.SavePng(ArtifactPath("seekword-large-hit.png")));
    std::string copied;
    ASSERT_TRUE(CopyWith([&] {
        return ClickButton(Button(kCopy)) ? ::testing::AssertionSuccess() : Failure("cannot click Copy");
    }, &copied));
    EXPECT_EQ("split-needle", copied);
    ASSERT_TRUE(ClickButton(Button(kFindNext)));
    EXPECT_EQ("\tNo more", Part(1));
}

TEST_F(SeekwordLiveWalkTest, AltF4DuringAWalkEndsItAndTheProgramWithItsSettingsSaved)
{
    ASSERT_TRUE(MakeLargeFiles(""));
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(SetChecked(dialog, kSubfolders, true));
    ASSERT_TRUE(Confirm("needle", samples.Path()));
    std::string shown;
    ASSERT_TRUE(WaitForProgressIn(samples.Path(), &shown));

    ASSERT_TRUE(Press(VK_F4, kAlt));
    ASSERT_TRUE(WaitForCleanExit());
    RegistryValue subfolders;
    ASSERT_TRUE(UserRegistry::Read(kSettingsKey, "CheckSubs", &subfolders));
    EXPECT_EQ(std::vector<BYTE>{1}, subfolders.data);
    EXPECT_TRUE(UserRegistry::ValueExists(kSettingsKey, "rcNormal"));
    std::string text;
    EXPECT_TRUE(UserRegistry::ReadString(kSearchListKey, "a", &text));
    EXPECT_EQ("needle", text);
    EXPECT_TRUE(UserRegistry::ReadString(kFilesListKey, "a", &text));
    EXPECT_EQ(samples.Path(), text);
}

} // namespace
} // namespace seekword_e2e

// Edit: a found document goes to the program its type names through the shell's "open"; a found
// batch file is shown in Notepad and never run; a disabled Edit opens nothing.
#include "OpenMarkerIds.h"
#include "SeekwordFixture.h"
#include "driver/ProcessList.h"
#include "driver/ShellFileType.h"

namespace seekword_e2e {
namespace {

const char kDocumentExtension[] = ".swdoc";
const char kDocumentType[] = "SeekwordE2E.Document";

class SeekwordEditTest : public SeekwordTest {
protected:
    void SetUp() override
    {
        SeekwordTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(UserRegistry::DeleteKey(OPEN_MARKER_KEY));
    }

    void TearDown() override
    {
        SeekwordTest::TearDown();
        documents.Unregister();
        UserRegistry::DeleteKey(OPEN_MARKER_KEY);
    }

    std::string MarkedCommandLine()
    {
        std::string line;
        UserRegistry::ReadString(OPEN_MARKER_KEY, OPEN_MARKER_VALUE, &line);
        return line;
    }

    ShellFileType documents;
};

TEST_F(SeekwordEditTest, AFoundDocumentIsOpenedWithTheProgramOfItsType)
{
    const std::string marker = ToWindowsPath(OPEN_MARKER_EXE);
    ASSERT_TRUE(documents.Register(kDocumentExtension, kDocumentType, "\"" + marker + "\" \"%1\""));
    const std::string document = samples.Add("notes.swdoc", "some notes with a needle in them\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Search("needle", samples.Path(), "notes.swdoc"));

    ASSERT_EQ(view, FocusOf(frame));
    ASSERT_TRUE(Press('E', kAlt));
    ASSERT_TRUE(WaitUntil([&] { return !MarkedCommandLine().empty(); }));
    EXPECT_NE(std::string::npos, MarkedCommandLine().find("\"" + document + "\"")) << MarkedCommandLine();
    // The program goes on showing the file, with the focus back in the view.
    EXPECT_EQ("Seekword found notes.swdoc", StoredTitle(frame));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(frame) == view; }));

    // Once the walk has ended, Edit is disabled and its key opens nothing, though the path of the
    // last file examined is still known to the program.
    ASSERT_TRUE(UserRegistry::DeleteKey(OPEN_MARKER_KEY));
    ASSERT_TRUE(PostClickButton(Button(kNextFile)));
    HWND box = WaitForNotFoundBox();
    ASSERT_NE(nullptr, box);
    ASSERT_TRUE(PostClickDlgItem(box, IDOK));
    ASSERT_TRUE(WaitForWindowGone(box));
    ASSERT_TRUE(Press('E', kAlt));
    ASSERT_TRUE(SyncThroughAbout());
    ASSERT_TRUE(ClickButton(Button(kEdit)));
    EXPECT_FALSE(WaitUntil([&] { return !MarkedCommandLine().empty(); }, 300));
}

TEST_F(SeekwordEditTest, AFileOfATypeWithoutAProgramOpensNothingAndSaysNothing)
{
    // A fresh prefix knows no program for .txt files.
    samples.Add("plain.txt", "a needle\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Search("needle", samples.Path(), "plain.txt"));
    ASSERT_TRUE(Press('E', kAlt));
    // A message box from the failed open would keep Alt+A from the main window.
    ASSERT_TRUE(SyncThroughAbout());
    EXPECT_EQ((std::vector<HWND>{frame}), ShownTopWindows(app.Id()));
    EXPECT_TRUE(ProcessesInJob(app.Job(), "notepad.exe").empty());
    EXPECT_EQ("Seekword found plain.txt", StoredTitle(frame));
    EXPECT_EQ(view, FocusOf(frame));
}

TEST_F(SeekwordEditTest, AFoundBatchFileIsShownInNotepadAndNeverRun)
{
    SampleFolder outside;
    ASSERT_TRUE(outside.IsValid());
    const std::string ran = outside.PathOf("ran.txt");
    const std::string script = samples.Add("run.bat", "@echo off\r\nrem needle\r\necho ran> \"" + ran + "\"\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Search("needle", samples.Path(), "run.bat"));

    ASSERT_TRUE(PostClickButton(Button(kEdit)));
    std::vector<DWORD> notepads;
    ASSERT_TRUE(WaitUntil([&] { return !(notepads = ProcessesInJob(app.Job(), "notepad.exe")).empty(); }));
    ASSERT_EQ(1u, notepads.size());
    std::string commandLine;
    EXPECT_TRUE(WaitUntil([&] { return !(commandLine = CommandLineOf(notepads[0])).empty(); }));
    EXPECT_NE(std::string::npos, commandLine.find("\"" + script + "\"")) << commandLine;
    // Nothing ran the script: no command interpreter, and what it would write never appears.
    EXPECT_TRUE(ProcessesInJob(app.Job(), "cmd.exe").empty());
    EXPECT_FALSE(WaitUntil([&] { return GetFileAttributesA(ran.c_str()) != INVALID_FILE_ATTRIBUTES; }, 500));
    EXPECT_TRUE(EndProcess(notepads[0]));
    EXPECT_TRUE(app.IsRunning());
    EXPECT_EQ("Seekword found run.bat", StoredTitle(frame));
}

} // namespace
} // namespace seekword_e2e

// Edit: a found document goes to the program its type names through the shell's "open"; a found
// batch file is shown in Notepad and never run; a disabled Edit opens nothing.
#include <set>

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

    // Waits for the one Notepad the program started and for its window naming the file; Notepad
    // must be the Windows folder's own, started by its full path.
    ::testing::AssertionResult WaitForNotepadShowing(const std::string& name, DWORD* processId)
    {
        std::vector<DWORD> notepads;
        if (!WaitUntil([&] { return !(notepads = ProcessesInJob(app.Job(), "notepad.exe")).empty(); }))
            return Failure("no Notepad for " + name);
        if (notepads.size() != 1)
            return Failure(std::to_string(notepads.size()) + " Notepads for " + name);
        *processId = notepads[0];
        char windows[MAX_PATH];
        const UINT length = GetSystemWindowsDirectoryA(windows, MAX_PATH);
        const std::string expected = std::string(windows, length) + "\\notepad.exe";
        char image[MAX_PATH] = "";
        DWORD size = MAX_PATH;
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, *processId);
        const BOOL named = process && QueryFullProcessImageNameA(process, 0, image, &size);
        if (process)
            CloseHandle(process);
        if (!named || lstrcmpiA(image, expected.c_str()) != 0)
            return Failure(std::string("Notepad runs from \"") + image + "\", expected \"" + expected + "\"");
        std::string title;
        if (!WaitUntil([&] {
                for (HWND window : ShownTopWindows(*processId))
                    if ((title = StoredTitle(window)).find(name) != std::string::npos)
                        return true;
                return false;
            }))
            return Failure("Notepad's window is \"" + title + "\", expected it to name " + name);
        return ::testing::AssertionSuccess();
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
    samples.Add("run.bat", "@echo off\r\nrem needle\r\necho ran> \"" + ran + "\"\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Search("needle", samples.Path(), "run.bat"));

    ASSERT_TRUE(PostClickButton(Button(kEdit)));
    DWORD notepad = 0;
    ASSERT_TRUE(WaitForNotepadShowing("run.bat", &notepad));
    // Nothing ran the script: no command interpreter, and what it would write never appears.
    EXPECT_TRUE(ProcessesInJob(app.Job(), "cmd.exe").empty());
    EXPECT_FALSE(WaitUntil([&] { return GetFileAttributesA(ran.c_str()) != INVALID_FILE_ATTRIBUTES; }, 500));
    EXPECT_TRUE(EndProcess(notepad));
    EXPECT_TRUE(app.IsRunning());
    EXPECT_EQ("Seekword found run.bat", StoredTitle(frame));
}

// Notepad is an optional feature of Windows: without it Edit says so, and starts no other Notepad.
TEST_F(SeekwordEditTest, WithoutTheWindowsFoldersNotepadEditSaysSo)
{
    char windows[MAX_PATH];
    const UINT length = GetSystemWindowsDirectoryA(windows, MAX_PATH);
    const std::string notepad = std::string(windows, length) + "\\notepad.exe";
    const std::string aside = notepad + ".seekword-test";
    MoveFileA(aside.c_str(), notepad.c_str());  // left aside by a run that was killed
    ASSERT_TRUE(MoveFileA(notepad.c_str(), aside.c_str()));
    struct Restore {
        const std::string& from;
        const std::string& to;
        ~Restore() { MoveFileA(from.c_str(), to.c_str()); }
    } restore{aside, notepad};

    samples.Add("run.bat", "rem needle\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Search("needle", samples.Path(), "run.bat"));
    ASSERT_TRUE(PostClickButton(Button(kEdit)));
    HWND notice = app.WaitForTopWindow(kMessageClass, "Seekword");
    ASSERT_NE(nullptr, notice);
    ScreenImage::CaptureWindow(notice).SavePng(ArtifactPath("edit-without-notepad.png"));
    EXPECT_TRUE(ProcessesInJob(app.Job(), "notepad.exe").empty());
    ASSERT_TRUE(Press(VK_RETURN, kNoModifier, notice));
    ASSERT_TRUE(WaitForWindowGone(notice));
    EXPECT_EQ("Seekword found run.bat", StoredTitle(frame));
}

// Scripts whose type a developer's machine opens with an interpreter: each type's "open" runs a
// copy of the marker program named like the interpreter, which must never start.
TEST_F(SeekwordEditTest, FoundScriptsWhoseOpenRunsAnInterpreterAreShownInNotepad)
{
    struct Script {
        const char* name;
        const char* extension;
        const char* program;
    };
    const Script scripts[] = {{"tool.py", ".py", "python.exe"},
                              {"build.sh", ".sh", "bash.exe"},
                              {"logon.vbs", ".vbs", "wscript.exe"},
                              {"page.hta", ".hta", "mshta.exe"}};
    SampleFolder programs;
    ASSERT_TRUE(programs.IsValid());
    ShellFileType types[4];
    std::set<std::string> pending;
    for (int i = 0; i < 4; ++i) {
        const std::string program = programs.PathOf(scripts[i].program);
        ASSERT_TRUE(CopyFileA(ToWindowsPath(OPEN_MARKER_EXE).c_str(), program.c_str(), FALSE));
        ASSERT_TRUE(types[i].Register(scripts[i].extension, std::string("SeekwordE2E.Script") + scripts[i].extension,
                                      "\"" + program + "\" \"%1\""));
        samples.Add(scripts[i].name, "a needle in a script\r\n");
        pending.insert(scripts[i].name);
    }
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Confirm("needle", samples.Path()));

    std::string shown;
    while (!pending.empty()) {
        ASSERT_TRUE(WaitUntil([&] {
            const std::string title = StoredTitle(frame);
            return title != shown && title.compare(0, 15, "Seekword found ") == 0;
        }));
        ASSERT_TRUE(Sync());
        shown = StoredTitle(frame);
        const std::string name = shown.substr(15);
        ASSERT_EQ(1u, pending.erase(name)) << name;
        ASSERT_TRUE(PostClickButton(Button(kEdit)));
        DWORD notepad = 0;
        ASSERT_TRUE(WaitForNotepadShowing(name, &notepad));
        EXPECT_TRUE(EndProcess(notepad));
        EXPECT_EQ("", MarkedCommandLine()) << name;
        if (!pending.empty())
            ASSERT_TRUE(PostClickButton(Button(kNextFile)));
    }
    EXPECT_EQ("", MarkedCommandLine());
}

} // namespace
} // namespace seekword_e2e

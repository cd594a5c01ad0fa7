// The main window's commands on the assembled program: the bar the view fills, enabled checks, focus, Exit.
#include <gtest/gtest.h>

#include <string>

#include "ProgramFixture.h"
#include "framework/ProgramInstance.h"
#include "resources/ResourceIds.h"
#include "search/SearchOptions.h"

namespace apptest {
namespace {

struct ExpectedButton {
    const char* label;
    int width;
    int id;
    bool enabled;
};
const ExpectedButton kButtons[] = {
    {"&Start", 60, CMD_START, true},  {"&Find next", 80, CMD_FINDNEXT, false}, {"&Next file", 80, CMD_NEXTFILE, false},
    {"&Copy", 70, CMD_COPY, false},   {"&Edit", 70, CMD_EDIT, false},          {"&About", 60, CMD_ABOUT, true},
    {"E&xit", 60, CMD_EXIT, true},
};

std::string TextOf(HWND window)
{
    char text[128] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class AppFrameTest : public ProgramTest {
protected:
    // Two hit files, the first with two occurrences, shown after Start.
    void ShowAHit()
    {
        tree.Write("a.txt", "needle\r\nneedle");
        tree.Write("b.txt", "needle\r\nneedle");
        Start(AllFilesIn(tree));
        ASSERT_EQ(2, searchView.lineCount);
    }

    // A control of the frame that can hold the focus instead of the view.
    HWND Decoy()
    {
        if (!decoy)
            decoy = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 600, 2, 60, 20, appFrame.hwnd,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
        return decoy;
    }

    HWND decoy = nullptr;
};

TEST_F(AppFrameTest, ViewCreationFillsTheBarWithTheSevenButtonsInOrder)
{
    ASSERT_EQ(7, buttonBar.count);
    int x = 2;
    for (int i = 0; i < 7; ++i) {
        const ExpectedButton& expected = kButtons[i];
        SCOPED_TRACE(expected.label);
        HWND button = buttonBar.buttons[i].hwnd;
        EXPECT_EQ(expected.id, buttonBar.commandIds[i]);
        EXPECT_EQ(expected.id, GetDlgCtrlID(button));
        EXPECT_EQ(expected.label, TextOf(button));
        RECT rect;
        GetWindowRect(button, &rect);
        MapWindowPoints(HWND_DESKTOP, buttonBar.hwnd, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(x, rect.left);
        EXPECT_EQ(expected.width, rect.right - rect.left);
        EXPECT_EQ(expected.enabled, Enabled(expected.id));
        x += expected.width + 3;
    }
    ASSERT_NE(nullptr, searchView.currentPath);
    ASSERT_NE(nullptr, searchView.filesSpec);
    EXPECT_STREQ("", searchView.currentPath);
    EXPECT_STREQ("", searchView.filesSpec);
    EXPECT_EQ(appFrame.hwnd, GetParent(searchView.hwnd));
}

TEST_F(AppFrameTest, DisabledCommandsDoNothingFromTheirButtonsOrTheirIds)
{
    ShowAHit();
    const std::string shown = searchView.currentPath;
    const size_t counted = searchView.counted.size();
    for (int id : {CMD_FINDNEXT, CMD_NEXTFILE, CMD_START, CMD_ABOUT})
        buttonBar.EnableCommand(id, 0);

    for (int id : {CMD_FINDNEXT, CMD_NEXTFILE, CMD_START, CMD_ABOUT}) {
        SCOPED_TRACE(id);
        HWND button = nullptr;
        for (int i = 0; i < buttonBar.count; ++i)
            if (buttonBar.commandIds[i] == id)
                button = buttonBar.buttons[i].hwnd;
        ASSERT_NE(nullptr, button);
        // As an accelerator, posted, as a click the bar forwards, and as a click on the button itself.
        SendMessageA(appFrame.hwnd, WM_COMMAND, MAKEWPARAM(id, 1), 0);
        PostMessageA(appFrame.hwnd, WM_COMMAND, static_cast<WPARAM>(id), 0);
        SendMessageA(buttonBar.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        SendMessageA(button, BM_CLICK, 0, 0);
        PumpMessages(60);  // a dialog or About window would be up by now
        EXPECT_EQ(0, searchView.selStartLine);
        EXPECT_EQ(shown, searchView.currentPath);
        EXPECT_EQ(counted, searchView.counted.size());
        EXPECT_EQ("\t1 / 2", Status(1));
        EXPECT_EQ(0u, responder.unexpected.size());
    }

    // Enabled again, the same id acts.
    buttonBar.EnableCommand(CMD_FINDNEXT, 1);
    Command(CMD_FINDNEXT);
    EXPECT_EQ(1, searchView.selStartLine);
    EXPECT_EQ("\t2 / 2", Status(1));
}

TEST_F(AppFrameTest, IdsThatNoButtonCarriesDoNothing)
{
    ShowAHit();
    const std::string title = FrameTitle();
    ASSERT_NE(nullptr, Decoy());
    for (int id : {0, 1, 2, 40000, 40008, 40010, 0xFFFF}) {
        SCOPED_TRACE(id);
        SetFocus(decoy);
        ASSERT_EQ(decoy, GetFocus());
        Command(id);
        SendMessageA(appFrame.hwnd, WM_COMMAND, MAKEWPARAM(id, 1), 0);
        PumpMessages(20);
        EXPECT_EQ(decoy, GetFocus());
        EXPECT_EQ(title, FrameTitle());
        EXPECT_EQ(0, searchView.selStartLine);
        EXPECT_EQ("\t1 / 2", Status(1));
    }
    EXPECT_TRUE(IsWindow(appFrame.hwnd));
}

TEST_F(AppFrameTest, FocusGoesToTheViewAfterEveryCommandButExit)
{
    ShowAHit();
    ASSERT_NE(nullptr, Decoy());
    auto run = [&](int id) {
        SetFocus(decoy);
        ASSERT_EQ(decoy, GetFocus());
        Command(id);
        EXPECT_EQ(searchView.hwnd, GetFocus()) << id;
    };

    responder.Expect(kSearchTitle, PressCancel());
    run(CMD_START);
    run(CMD_FINDNEXT);
    EXPECT_EQ(1, searchView.selStartLine);
    run(CMD_COPY);
    // Edit with nothing to open, so no other program starts.
    const std::string shown = searchView.currentPath;
    searchView.currentPath[0] = '\0';
    run(CMD_EDIT);
    lstrcpynA(searchView.currentPath, shown.c_str(), kPathBufferSize);
    responder.Expect(kMessageWindowKey, [](HWND about) { PostMessageA(about, WM_CLOSE, 0, 0); });
    run(CMD_ABOUT);
    run(CMD_NEXTFILE);
    const std::string other = tree.path + (NamePart(shown) == "a.txt" ? "\\b.txt" : "\\a.txt");
    EXPECT_EQ(other, searchView.currentPath);
    responder.Expect(kNotFoundTitle, CloseNotFound());
    run(CMD_NEXTFILE);
    EXPECT_EQ(0, searchView.lineCount);
    EXPECT_TRUE(responder.AllAnswered());
}

TEST_F(AppFrameTest, ExitDestroysTheFrameAndSavesThePlacementButNotUnconfirmedCriteria)
{
    ShowAHit();
    HWND frame = appFrame.hwnd;
    HWND view = searchView.hwnd;
    searchOptions.criteriaConfirmed = 0;
    searchOptions.allFiles = 1;
    Command(CMD_EXIT);

    EXPECT_FALSE(IsWindow(frame));
    EXPECT_FALSE(IsWindow(view));
    EXPECT_EQ(nullptr, appFrame.hwnd);
    WPARAM code = 99;
    EXPECT_TRUE(TakeQuit(&code));
    EXPECT_EQ(0u, code);
    // The search state went with the window.
    EXPECT_EQ(nullptr, searchView.currentPath);
    EXPECT_EQ(nullptr, searchView.filesSpec);
    EXPECT_EQ(-1, folderWalker.depth);
    EXPECT_EQ(nullptr, folderWalker.folder);

    EXPECT_EQ(std::to_string(SW_SHOWNORMAL), SettingsValue("showCmd"));
    EXPECT_EQ("<16 bytes>", SettingsValue("rcNormal"));
    EXPECT_NE("<missing>", SettingsValue("flags"));
    EXPECT_EQ("<missing>", SettingsValue("AllFiles"));
    EXPECT_EQ("<missing>", SettingsValue("Edit1"));
}

TEST_F(AppFrameTest, ExitSavesTheCriteriaOnceTheDialogWasConfirmed)
{
    tree.Write("a.cpp", "needle");
    SearchEntry entry = AllFilesIn(tree);
    entry.allFiles = false;
    entry.subfolders = true;
    entry.extensions = {"cpp", ".h"};
    Start(entry);
    ASSERT_EQ(1, searchOptions.criteriaConfirmed);
    Command(CMD_EXIT);
    EXPECT_TRUE(TakeQuit());

    EXPECT_EQ("0", SettingsValue("AllFiles"));
    EXPECT_EQ("1", SettingsValue("CheckSubs"));
    EXPECT_EQ("1", SettingsValue("Check1"));
    EXPECT_EQ("cpp", SettingsValue("Edit1"));
    EXPECT_EQ("1", SettingsValue("Check2"));
    EXPECT_EQ("h", SettingsValue("Edit2"));
    EXPECT_EQ("0", SettingsValue("Check3"));
    EXPECT_NE("<missing>", SettingsValue("showCmd"));
}

// Fails the creation of one chosen button window of this thread.
class ButtonCreationBlocker {
public:
    explicit ButtonCreationBlocker(int failingButton)
    {
        failing = failingButton;
        seen = 0;
        hook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~ButtonCreationBlocker()
    {
        if (hook)
            UnhookWindowsHookEx(hook);
    }
    bool Active() const { return hook != nullptr; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            char name[32] = "";
            GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
            if (lstrcmpiA(name, "Button") == 0 && ++seen == failing)
                return 1;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static int failing;
    static int seen;
    HHOOK hook = nullptr;
};
int ButtonCreationBlocker::failing = 0;
int ButtonCreationBlocker::seen = 0;

// A second program assembly of its own, beside nothing else: only its creation is looked at.
struct Assembly {
    Assembly() : frame(view, about), view(bar, status, walker, dialog), dialog(bar)
    {
        view.SetTitleAndCursor(kProgramTitle, IDC_MARGIN_CURSOR);
        status.SetPartCount(3);
        for (int width : {80, 20, 12})
            status.AddPart(width, 0);
    }
    ~Assembly()
    {
        if (frame.hwnd && IsWindow(frame.hwnd))
            frame.Destroy();
        TakeQuit();
    }
    ButtonBar bar;
    AboutWindow about;
    AppFrame frame;
    StatusBar status;
    SearchView view;
    FolderWalker walker;
    SearchDialog dialog;
};

class FrameCreationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(registry.Active());
        TakeQuit();
    }
    RedirectedRegistry registry;
};

TEST_F(FrameCreationTest, FailsWhenTheExitButtonCannotBeAdded)
{
    Assembly program;
    ASSERT_TRUE(program.bar.Reserve(6));  // room for all but Exit
    EXPECT_EQ(0, program.frame.CreateFrame(program.view, program.bar, program.status));
    EXPECT_EQ(6, program.bar.count);
    EXPECT_TRUE(program.frame.hwnd == nullptr || !IsWindow(program.frame.hwnd));
    // A frame that never came up ends quietly: no quit request, nothing saved.
    EXPECT_FALSE(TakeQuit());
    EXPECT_EQ("<missing>", SettingsValue("showCmd"));
}

TEST_F(FrameCreationTest, OnlyTheExitButtonDecides)
{
    {
        Assembly program;
        ASSERT_TRUE(program.bar.Reserve(7));
        ButtonCreationBlocker blocker(7);
        ASSERT_TRUE(blocker.Active());
        EXPECT_EQ(0, program.frame.CreateFrame(program.view, program.bar, program.status));
        EXPECT_FALSE(TakeQuit());
    }
    {
        // The Copy button missing still leaves a program that can be ended.
        Assembly program;
        ASSERT_TRUE(program.bar.Reserve(7));
        ButtonCreationBlocker blocker(4);
        ASSERT_TRUE(blocker.Active());
        ASSERT_EQ(1, program.frame.CreateFrame(program.view, program.bar, program.status));
        EXPECT_EQ(6, program.bar.count);
        EXPECT_EQ(CMD_EXIT, program.bar.commandIds[5]);
        EXPECT_FALSE(program.bar.IsCommandEnabled(CMD_COPY));
        EXPECT_FALSE(program.bar.IsCommandEnabled(CMD_FINDNEXT));
        EXPECT_TRUE(program.bar.IsCommandEnabled(CMD_EXIT));
    }
}

} // namespace
} // namespace apptest

// The program's objects assembled as at start-up, in-process, with the registry redirected and modal boxes answered from a timer.
#pragma once
#include <windows.h>

#include "support/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/AppFrame.h"
#include "controls/AboutWindow.h"
#include "controls/ButtonBar.h"
#include "framework/StatusBar.h"
#include "resources/ResourceIds.h"
#include "search/FolderWalker.h"
#include "search/SearchView.h"
#include "searchdialog/SearchDialog.h"

namespace apptest {

constexpr char kProgramTitle[] = "Seekword";
constexpr char kSearchTitle[] = "Search";
constexpr char kNotFoundTitle[] = "Find next file";
constexpr char kMessageWindowKey[] = "CMSGCLASS";  // the message windows have no caption to go by
constexpr int kFileCommands[] = {CMD_FINDNEXT, CMD_NEXTFILE, CMD_COPY, CMD_EDIT};
constexpr int kAlwaysEnabled[] = {CMD_START, CMD_ABOUT, CMD_EXIT};

// HKEY_CURRENT_USER points at a private key while this lives; the key goes with it.
class RedirectedRegistry {
public:
    RedirectedRegistry();
    ~RedirectedRegistry();
    RedirectedRegistry(const RedirectedRegistry&) = delete;
    RedirectedRegistry& operator=(const RedirectedRegistry&) = delete;

    bool Active() const { return active; }

private:
    std::string path;
    HKEY key = nullptr;
    bool active = false;
};

// A value under the (redirected) settings key, or "<missing>".
std::string SettingsValue(const char* name);

// A folder of its own under the temporary folder, removed with everything written into it.
class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    std::string Write(const std::string& relative, const std::string& bytes);
    // The names a non-recursive walk of the tree yields, in its order, without the dot entries.
    std::vector<std::string> WalkOrder() const;

    std::string path;  // without a trailing separator

private:
    std::vector<std::string> files;
};

// Answers the modal windows of this thread in the order they are expected, from a 20 ms timer.
// A window that no step expects is recorded and closed, so a broken test cannot hang the run.
class ModalResponder {
public:
    using Action = std::function<void(HWND)>;

    ModalResponder();
    ~ModalResponder();
    ModalResponder(const ModalResponder&) = delete;
    ModalResponder& operator=(const ModalResponder&) = delete;

    // title: the dialog's caption, or kMessageWindowKey for a message window.
    void Expect(const std::string& title, Action action);
    bool AllAnswered() const { return next == steps.size(); }
    size_t Answered() const { return next; }

    std::vector<std::string> unexpected;

private:
    struct Step {
        std::string title;
        Action action;
    };
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Look();

    std::vector<Step> steps;
    size_t next = 0;
    UINT_PTR timer = 0;
    HWND lastHandled = nullptr;
};

// The program's view, noting every file it counts; the counting is the program's own.
class RecordingView : public SearchView {
public:
    RecordingView(ButtonBar& bar, StatusBar& status, FolderWalker& walker, SearchDialog& dialog)
        : SearchView(bar, status, walker, dialog)
    {
    }
    int CountMatches() override
    {
        counted.push_back(currentPath ? currentPath : "");
        if (onCount)
            onCount();
        return SearchView::CountMatches();
    }
    void UpdateCaret() override
    {
        ++caretUpdates;
        SearchView::UpdateCaret();
    }
    std::vector<std::string> counted;
    std::function<void()> onCount;  // runs inside the walk, at every file counted
    int caretUpdates = 0;
};

// What the user gives in the Search dialog.
struct SearchEntry {
    std::string text;
    std::string location;
    bool caseSensitive = false;
    bool subfolders = false;
    bool allFiles = true;
    std::vector<std::string> extensions;  // slot i checked and holding extensions[i]; the rest unchecked and empty
};

// Every file right in the tree, searched for text.
inline SearchEntry AllFilesIn(const TempTree& tree, const std::string& text = "needle")
{
    SearchEntry entry;
    entry.text = text;
    entry.location = tree.path + "\\";
    return entry;
}

// Fills the Search dialog with the entry and presses OK; or presses Cancel.
ModalResponder::Action FillAndConfirm(const SearchEntry& entry);
ModalResponder::Action PressCancel();
// Presses OK in the "Not found" box.
ModalResponder::Action CloseNotFound();

void ResetSearchOptions();
std::string NamePart(const std::string& path);
// Removes a pending quit request; true when there was one.
bool TakeQuit(WPARAM* code = nullptr);
void PumpMessages(DWORD milliseconds);

// The whole program around a shown main window: bar, About window, frame, status bar, view, walker, dialog.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest();
    void SetUp() override;
    void TearDown() override;

    // Sends a command to the frame as a button or accelerator would.
    void Command(int id) { SendMessageA(appFrame.hwnd, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    // Start with the entry confirmed; answers the "Not found" box too when one comes.
    void Start(const SearchEntry& entry);
    std::string Status(int part) const;
    std::string FrameTitle() const;
    std::string FoundTitle(const std::string& path) const { return std::string(kProgramTitle) + " found " + NamePart(path); }
    bool Enabled(int id) { return buttonBar.IsCommandEnabled(id) != 0; }
    // Status part 1 as ShowPosition writes it for a line counted from 1.
    std::string Position(int line) const { return "\t" + std::to_string(line) + " / " + std::to_string(searchView.lineCount); }

    RedirectedRegistry registry;
    TempTree tree;
    // The program's objects, in the order of its start-up.
    ButtonBar buttonBar;
    AboutWindow aboutWindow;
    AppFrame appFrame;
    StatusBar statusBar;
    RecordingView searchView;
    FolderWalker folderWalker;
    SearchDialog searchDialog;
    ModalResponder responder;
};

} // namespace apptest

// The start of every Seekword end-to-end test: a clean registry key, a sample folder of its own,
// and the real program driven through its windows, keys, mouse, status bar and screen.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "driver/AppProcess.h"
#include "driver/Artifacts.h"
#include "driver/ClipboardAccess.h"
#include "driver/Controls.h"
#include "driver/HostPaths.h"
#include "driver/Keyboard.h"
#include "driver/Mouse.h"
#include "driver/RemoteStatusBar.h"
#include "driver/SampleFolder.h"
#include "driver/ScreenImage.h"
#include "driver/UserRegistry.h"
#include "driver/WindowQuery.h"
#include "driver/WindowState.h"
#include "driver/XdoTool.h"

namespace seekword_e2e {

using namespace e2e;

const char kProgramKey[] = "Software\\Ovelund Freeware\\Seekword";
const char kSettingsKey[] = "Software\\Ovelund Freeware\\Seekword\\Settings";
const char kSearchListKey[] = "Software\\Ovelund Freeware\\Seekword\\Combo1";
const char kFilesListKey[] = "Software\\Ovelund Freeware\\Seekword\\Combo2";

const char kFrameClass[] = "MainClass";
const char kViewClass[] = "TextWndClass";
const char kBarClass[] = "BtnBarClass";
const char kMessageClass[] = "CMSGCLASS";
const char kDialogClass[] = "#32770";
const char kSearchTitle[] = "Search";
const char kNotFoundTitle[] = "Find next file";
const char kProgramTitle[] = "Seekword";

// Commands: the buttons' ids on the bar.
constexpr int kStart = 40001;
constexpr int kFindNext = 40002;
constexpr int kNextFile = 40003;
constexpr int kCopy = 40004;
constexpr int kAbout = 40005;
constexpr int kExit = 40006;
constexpr int kEdit = 40007;

// Search dialog controls.
constexpr int kLocation = 106;
constexpr int kSearchText = 107;
constexpr int kCaseSensitive = 108;
constexpr int kSubfolders = 110;
constexpr int kAllFiles = 1007;
constexpr int kSlotCheck1 = 1001;  // slot n: check box 1000 + n, edit 1020 + n
constexpr int kSlotEdit1 = 1021;
constexpr int kSlots = 6;

// The labels of the enabled commands in bar order, as EnabledCommands() reports them.
const char kNoFileCommands[] = "&Start &About E&xit";
const char kAllCommands[] = "&Start &Find next &Next file &Copy &Edit &About E&xit";

// The view draws with the system's fixed font; the driver measures the same font.
struct ViewMetrics {
    int charWidth = 0;
    int lineHeight = 0;
    int margin = 0;  // the selection margin left of the text is one character wide
};

inline ViewMetrics FixedFontMetrics()
{
    ViewMetrics metrics;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return metrics;
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
    TEXTMETRICA tm = {};
    if (GetTextMetricsA(dc, &tm)) {
        metrics.charWidth = metrics.margin = tm.tmAveCharWidth;
        metrics.lineHeight = tm.tmHeight + tm.tmExternalLeading;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return metrics;
}

struct ProcessWindows {
    DWORD processId;
    std::vector<HWND> found;
};

inline BOOL CALLBACK CollectShownWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<ProcessWindows*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

// Visible top-level windows of a process, front first.
inline std::vector<HWND> ShownTopWindows(DWORD processId)
{
    ProcessWindows search = {processId, {}};
    EnumWindows(CollectShownWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline ::testing::AssertionResult Failure(const std::string& what)
{
    return ::testing::AssertionFailure() << what;
}

class SeekwordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(UserRegistry::DeleteKey(kProgramKey));
        ASSERT_TRUE(samples.IsValid());
        metrics = FixedFontMetrics();
        ASSERT_GT(metrics.charWidth, 0);
        ASSERT_GT(metrics.lineHeight, 0);
    }

    void TearDown() override
    {
        // The screen as the failure left it, for a person to look at.
        if (HasFailure()) {
            const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
            ScreenImage::CaptureScreen().SavePng(
                ArtifactPath(std::string("failed-") + test->test_suite_name() + "." + test->name() + ".png"));
        }
        app.Kill();
        UserRegistry::DeleteKey(kProgramKey);
    }

    // Starts the program (with a show command, or -1 for the system's) and waits for its first
    // Search dialog. With place, the main window is then moved to a known place and size, so
    // screen positions do not depend on the default.
    ::testing::AssertionResult Launch(bool place = true, int showCommand = -1)
    {
        frame = bar = view = dialog = nullptr;
        if (!app.Start(SEEKWORD_EXE, std::string(), std::string(), showCommand))
            return Failure("cannot start Seekword: " + app.Failure());
        frame = app.WaitForTopWindow(kFrameClass);
        if (!frame)
            return Failure("no main window");
        dialog = app.WaitForTopWindow(kDialogClass, kSearchTitle);
        if (!dialog)
            return Failure("no Search dialog at start");
        bar = FindDescendant(frame, kBarClass);
        view = FindDescendant(frame, kViewClass);
        status = RemoteStatusBar(frame);
        if (!bar || !view || !status.IsValid())
            return Failure("the main window lacks its button bar, view or status bar");
        if (place && !MoveAndSize(frame, kFrameX, kFrameY, kFrameWidth, kFrameHeight))
            return Failure("cannot place the main window");
        return ::testing::AssertionSuccess();
    }

    // Fills the open Search dialog's two entries and confirms it with OK.
    ::testing::AssertionResult Confirm(const std::string& text, const std::string& location)
    {
        if (!dialog)
            return Failure("no Search dialog open");
        if (!SetDlgItemTextTo(dialog, kSearchText, text) || !SetDlgItemTextTo(dialog, kLocation, location))
            return Failure("cannot fill the Search dialog");
        return CloseDialogWith(IDOK);
    }

    ::testing::AssertionResult CloseDialogWith(int buttonId)
    {
        if (!dialog || !PostClickDlgItem(dialog, buttonId))
            return Failure("cannot click the Search dialog's button " + std::to_string(buttonId));
        if (!WaitForWindowGone(dialog))
            return Failure("the Search dialog stays open");
        dialog = nullptr;
        return ::testing::AssertionSuccess();
    }

    // Waits until the main window names the file found, and the program is back in its loop.
    ::testing::AssertionResult WaitForHit(const std::string& name)
    {
        const std::string expected = std::string(kProgramTitle) + " found " + name;
        if (!WaitUntil([&] { return StoredTitle(frame) == expected; }))
            return Failure("title \"" + StoredTitle(frame) + "\", expected \"" + expected + "\"");
        return Sync();
    }

    ::testing::AssertionResult Search(const std::string& text, const std::string& location,
                                      const std::string& expectedName)
    {
        ::testing::AssertionResult confirmed = Confirm(text, location);
        return confirmed ? WaitForHit(expectedName) : confirmed;
    }

    // Opens the Search dialog with the Start button.
    ::testing::AssertionResult OpenSearchDialog()
    {
        if (!PostClickButton(Button(kStart)))
            return Failure("cannot click Start");
        dialog = app.WaitForTopWindow(kDialogClass, kSearchTitle);
        return dialog ? ::testing::AssertionSuccess() : Failure("no Search dialog after Start");
    }

    // Returns once the program's thread takes messages again (its search has ended).
    ::testing::AssertionResult Sync()
    {
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &ignored))
            return Failure("the program does not answer");
        return ::testing::AssertionSuccess();
    }

    HWND Button(int command) const { return GetDlgItem(bar, command); }

    // Labels of the enabled buttons in bar order, separated by spaces.
    std::string EnabledCommands() const
    {
        std::string labels;
        for (HWND button : FindDescendants(bar, "Button")) {
            if (!IsEnabledNow(button))
                continue;
            if (!labels.empty())
                labels += ' ';
            labels += WindowText(button);
        }
        return labels;
    }

    std::string Part(int part) const { return status.PartText(part); }
    ::testing::AssertionResult WaitForPart(int part, const std::string& expected) const
    {
        if (!WaitUntil([&] { return status.PartText(part) == expected; }))
            return Failure("status part " + std::to_string(part) + " is \"" + status.PartText(part) +
                           "\", expected \"" + expected + "\"");
        return ::testing::AssertionSuccess();
    }

    // A key chord as hardware input to the main window (or the window in front of it).
    ::testing::AssertionResult Press(WORD vk, unsigned modifiers = kNoModifier, HWND target = nullptr)
    {
        if (!BringToFront(target ? target : frame))
            return Failure("cannot bring the window to the front");
        if (!PressKey(vk, modifiers))
            return Failure("SendInput failed");
        return ::testing::AssertionSuccess();
    }

    HWND WaitForNotFoundBox() const { return app.WaitForTopWindow(kDialogClass, kNotFoundTitle); }
    HWND WaitForAboutWindow(DWORD timeoutMs = kWaitMs) const { return app.WaitForTopWindow(kMessageClass, nullptr, timeoutMs); }

    // Alt+A, then Enter on the About window: keys are handled in order, so once the About
    // window has shown, every key pressed before it has been dealt with.
    ::testing::AssertionResult SyncThroughAbout()
    {
        ::testing::AssertionResult pressed = Press('A', kAlt);
        if (!pressed)
            return pressed;
        HWND about = WaitForAboutWindow();
        if (!about)
            return Failure("Alt+A shows no About window");
        if (!Press(VK_RETURN, kNoModifier, about) || !WaitForWindowGone(about))
            return Failure("Enter does not close the About window");
        return Sync();
    }

    // Ends the program with the Exit button; it must end by itself with exit code 0.
    ::testing::AssertionResult ExitProgram()
    {
        if (!PostClickButton(Button(kExit)))
            return Failure("cannot click Exit");
        return WaitForCleanExit();
    }

    ::testing::AssertionResult WaitForCleanExit()
    {
        DWORD code = 1;
        if (!app.WaitForExit(kWaitMs, &code)) {
            HWND front = GetForegroundWindow();
            return Failure("the program does not end; main window " +
                           std::string(IsWindow(frame) ? "still there" : "gone") + ", in front: " + ClassOf(front) +
                           " \"" + StoredTitle(front) + "\"");
        }
        if (code != 0)
            return Failure("exit code " + std::to_string(code));
        return ::testing::AssertionSuccess();
    }

    // Runs action, which makes the program copy, and reads what it put on the clipboard. The
    // clipboard starts with a marker text; Wine's clipboard manager can hold the clipboard for a
    // moment after every change (and may change it itself), so a copy that found it busy is
    // tried again, and only a text other than the marker counts as the program's.
    ::testing::AssertionResult CopyWith(const std::function<::testing::AssertionResult()>& action,
                                        std::string* text)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (!ClipboardAccess::PutText(kClipboardMarker) || !ClipboardAccess::WaitUntilFree())
                return Failure("cannot prepare the clipboard");
            DWORD seen = ClipboardAccess::Sequence();
            ::testing::AssertionResult done = action();
            if (!done)
                return done;
            const bool copied = WaitUntil([&] {
                if (ClipboardAccess::Sequence() == seen)
                    return false;
                seen = ClipboardAccess::Sequence();
                return ClipboardAccess::WaitUntilFree() && ClipboardAccess::ReadText(text) &&
                       *text != kClipboardMarker;
            }, 3000);
            if (copied)
                return ::testing::AssertionSuccess();
        }
        return Failure("the clipboard never received the copy");
    }

    // The view's cells that show the selection colour, row by row: "2:4-9" is row 2, columns 4
    // to 9. A cell counts when most of its pixels have the highlight colour.
    std::string HighlightedCells(const ScreenImage& shot) const
    {
        const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
        const int rows = shot.Height() / metrics.lineHeight;
        const int columns = (shot.Width() - metrics.margin) / metrics.charWidth;
        const int cellPixels = metrics.charWidth * metrics.lineHeight;
        std::string cells;
        for (int row = 0; row < rows; ++row) {
            int first = -1;
            for (int column = 0; column <= columns; ++column) {
                bool lit = false;
                if (column < columns) {
                    RECT cell = CellRect(row, column);
                    lit = shot.CountColour(highlight, cell) * 2 > cellPixels;
                }
                if (lit && first < 0)
                    first = column;
                if (!lit && first >= 0) {
                    if (!cells.empty())
                        cells += ' ';
                    cells += std::to_string(row) + ":" + std::to_string(first) + "-" + std::to_string(column - 1);
                    first = -1;
                }
            }
        }
        return cells;
    }

    // A text cell in view client coordinates.
    RECT CellRect(int row, int column) const
    {
        RECT cell;
        cell.left = metrics.margin + column * metrics.charWidth;
        cell.top = row * metrics.lineHeight;
        cell.right = cell.left + metrics.charWidth;
        cell.bottom = cell.top + metrics.lineHeight;
        return cell;
    }

    // The screen position of a cell's middle.
    POINT CellCentre(int row, int column) const
    {
        RECT cell = CellRect(row, column);
        return ClientToScreenPoint(view, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    }

    ScreenImage CaptureView() const { return ScreenImage::CaptureRect(ClientRectOnScreen(view)); }

    // The whole rows of text the view has room for.
    int ViewRows() const
    {
        const RECT client = ClientRectOnScreen(view);
        return (client.bottom - client.top) / metrics.lineHeight;
    }

    // Waits until the view shows exactly the expected highlighted cells; the last picture
    // taken goes to shot.
    ::testing::AssertionResult WaitForHighlight(const std::string& expected, ScreenImage* shot = nullptr) const
    {
        ScreenImage last;
        std::string seen;
        const bool ok = WaitUntil([&] {
            last = CaptureView();
            seen = HighlightedCells(last);
            return seen == expected;
        });
        if (shot)
            *shot = last;
        if (!ok)
            return Failure("highlighted cells \"" + seen + "\", expected \"" + expected + "\"");
        return ::testing::AssertionSuccess();
    }

    static constexpr int kFrameX = 24;
    static constexpr int kFrameY = 24;
    static constexpr int kFrameWidth = 720;
    static constexpr int kFrameHeight = 480;
    static constexpr const char* kClipboardMarker = "clipboard before the copy";

    AppProcess app;
    SampleFolder samples;
    ViewMetrics metrics;
    HWND frame = nullptr;
    HWND bar = nullptr;
    HWND view = nullptr;
    HWND dialog = nullptr;
    RemoteStatusBar status = RemoteStatusBar::OfWindow(nullptr);
};

} // namespace seekword_e2e

// Message windows: layout from the flags, the buttons' keyboard, the modal wait and its ways out.
#include <gtest/gtest.h>

#include <string>

#include "ModalDriver.h"
#include "controls/MessageWindow.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kSilver = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kEdgeGreen = RGB(0x20, 0x80, 0x40);
constexpr COLORREF kTextPurple = RGB(0x80, 0x00, 0x80);

MessageWindow messageWindow;

std::string TextOf(HWND window)
{
    char buffer[64] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

RECT ClientOf(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    return client;
}

int WidthOf(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

int HeightOf(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

// Checks each button's label and left edge; the client grew by one pixel when it was centred.
void ExpectButtonRow(HWND box, const std::vector<std::string>& labels, const std::vector<int>& offsets)
{
    std::vector<HWND> buttons = ButtonsOf(box);
    ASSERT_EQ(labels.size(), buttons.size());
    RECT client = ClientOf(box);
    int centre = (client.right - 1) / 2;
    int top = (client.bottom - 1) - 2 * DisplayLineHeight();
    for (size_t i = 0; i < buttons.size(); ++i) {
        RECT rect = ChildRect(buttons[i]);
        EXPECT_EQ(labels[i], TextOf(buttons[i]));
        EXPECT_EQ(centre + offsets[i], rect.left) << labels[i];
        EXPECT_EQ(top, rect.top) << labels[i];
        EXPECT_EQ(60, rect.right - rect.left);
        EXPECT_EQ(30, rect.bottom - rect.top);
        if (i > 0)
            EXPECT_EQ(GetDlgCtrlID(buttons[i - 1]) + 1, GetDlgCtrlID(buttons[i]));
    }
}

// Shows a window that the script closes with Enter once `check` has looked at it.
int ShowAndCheck(HWND owner, const char* text, const char* title, unsigned flags,
                 const std::function<void(HWND)>& check)
{
    ModalScript script({[&](HWND box) {
        check(box);
        PressKey(VK_RETURN);
        return true;
    }});
    int result = messageWindow.ShowModal(owner, text, title, flags, 0, kBlack, kSilver, kEdgeGreen);
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(script.TimedOut());
    return result;
}

TEST(MessageWindowClass, RegisteredOnceWithPointerSizedExtraBytes)
{
    WNDCLASSA windowClass = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "CMSGCLASS", &windowClass));
    EXPECT_EQ(static_cast<int>(sizeof(LONG_PTR)), windowClass.cbWndExtra);
    EXPECT_EQ(0, windowClass.cbClsExtra);
    EXPECT_EQ(static_cast<UINT>(CS_HREDRAW | CS_VREDRAW), windowClass.style);
    EXPECT_EQ(nullptr, windowClass.hbrBackground);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), windowClass.hCursor);

    MessageWindow second;
    EXPECT_EQ(0, second.Register());
}

TEST(MessageWindowLines, LineFeedsSeparateLinesAndAFinalOneAddsNone)
{
    struct Case {
        const char* text;
        int lines;
    } cases[] = {{"a\n\nb", 3}, {"a\n", 1}, {"", 0}, {"\n", 1}, {"one\ntwo\n\n", 3}, {"single", 1}};
    TestOwner owner;
    int lineHeight = DisplayLineHeight();
    for (const Case& c : cases) {
        int height = 0;
        ShowAndCheck(owner.hwnd, c.text, "Lines", MB_OK, [&](HWND box) { height = HeightOf(box); });
        EXPECT_EQ(c.lines, messageWindow.lineCount) << '"' << c.text << '"';
        EXPECT_EQ(lineHeight * (c.lines + 6) + 1, height) << '"' << c.text << '"';
    }
}

TEST(MessageWindowLayout, YesNoWithQuestionIconCentresButtonsAndAnswersKeys)
{
    TestOwner owner;
    const char* text = "Replace the file?\nIt was changed.";
    int lineHeight = DisplayLineHeight();
    int expectedRight = DisplayTextWidth("Replace the file?") + 4 * DisplayWidestChar() + 64;
    if (expectedRight < 10 * lineHeight)
        expectedRight = 10 * lineHeight;

    ModalScript script({[&](HWND box) {
        ExpectButtonRow(box, {"&Yes", "&No"}, {-70, 10});
        std::vector<HWND> buttons = ButtonsOf(box);
        EXPECT_EQ(buttons[0], GetFocus());
        EXPECT_FALSE(IsWindowEnabled(owner.hwnd));
        EXPECT_EQ(LoadIconA(nullptr, IDI_QUESTION), messageWindow.icon);
        EXPECT_EQ(64, messageWindow.textRect.left);
        EXPECT_EQ(lineHeight, messageWindow.textRect.top);
        EXPECT_EQ(lineHeight * 3 + 8, messageWindow.textRect.bottom);
        EXPECT_EQ(expectedRight, messageWindow.textRect.right);
        EXPECT_EQ(expectedRight + 16 + 1, WidthOf(box));
        EXPECT_EQ(std::string("Question"), TextOf(box));
        PressKey('N');
        return true;
    }});
    EXPECT_EQ(IDNO, messageWindow.ShowModal(owner.hwnd, text, "Question", MB_YESNO | MB_ICONQUESTION, 0,
                                            kBlack, kSilver, kEdgeGreen));
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
    EXPECT_EQ(nullptr, FindWindowA("CMSGCLASS", nullptr));

    // Enter at once takes the first button.
    ModalScript enter({[](HWND) {
        PressKey(VK_RETURN);
        return true;
    }});
    EXPECT_EQ(IDYES, messageWindow.ShowModal(owner.hwnd, text, "Question", 0x24, 0, kBlack, kSilver, kEdgeGreen));
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
}

TEST(MessageWindowLayout, SunkenEdgeIsEdgeColourLeftAndTopWhiteRightAndBottom)
{
    TestOwner owner;
    ModalScript script({[&](HWND box) {
        UpdateWindow(box);
        const RECT& r = messageWindow.textRect;
        int midX = (r.left + r.right) / 2;
        int midY = (r.top + r.bottom) / 2;
        EXPECT_EQ(kEdgeGreen, ClientPixel(box, r.left, midY));
        EXPECT_EQ(kEdgeGreen, ClientPixel(box, midX, r.top));
        EXPECT_EQ(kWhite, ClientPixel(box, r.right, midY));
        EXPECT_EQ(kWhite, ClientPixel(box, midX, r.bottom));
        EXPECT_EQ(kSilver, ClientPixel(box, r.left + 1, midY));
        EXPECT_EQ(kSilver, ClientPixel(box, r.left - 1, midY));
        EXPECT_EQ(kSilver, ClientPixel(box, 2, 2));

        // The text is drawn in its colour somewhere on its first line.
        bool textSeen = false;
        for (int y = r.top + 3; y < r.top + 3 + DisplayLineHeight() && !textSeen; ++y)
            for (int x = r.left; x < r.right && !textSeen; ++x)
                textSeen = ClientPixel(box, x, y) == kTextPurple;
        EXPECT_TRUE(textSeen);
        PressKey(VK_RETURN);
        return true;
    }});
    EXPECT_EQ(IDYES, messageWindow.ShowModal(owner.hwnd, "Keep going?", "Edge", MB_YESNO | MB_ICONQUESTION, 0,
                                             kTextPurple, kSilver, kEdgeGreen));
    EXPECT_TRUE(script.Finished());
}

TEST(MessageWindowKeys, DefaultSecondButtonAndArrowsTabWrapAround)
{
    TestOwner owner;
    ModalScript script({[&](HWND box) {
        ExpectButtonRow(box, {"&Yes", "&No", "&Cancel"}, {-100, -30, 40});
        std::vector<HWND> buttons = ButtonsOf(box);
        EXPECT_EQ(buttons[1], GetFocus());
        PressKey(VK_LEFT);
        EXPECT_EQ(buttons[0], GetFocus());
        PressKey(VK_LEFT);
        EXPECT_EQ(buttons[2], GetFocus());
        PressKey(VK_RIGHT);
        EXPECT_EQ(buttons[0], GetFocus());
        PressKey(VK_TAB);
        EXPECT_EQ(buttons[1], GetFocus());
        PressKey(VK_TAB);
        EXPECT_EQ(buttons[2], GetFocus());
        EXPECT_NE(nullptr, FindWindowA("CMSGCLASS", nullptr));
        PressKey(VK_RETURN);
        return true;
    }});
    EXPECT_EQ(IDCANCEL, messageWindow.ShowModal(owner.hwnd, "Save changes?", "Keys", 0x103, 0, kBlack, kSilver,
                                                kEdgeGreen));
    EXPECT_TRUE(script.Finished());
}

TEST(MessageWindowKeys, MnemonicsChooseTheirButtons)
{
    TestOwner owner;
    struct Case {
        unsigned flags;
        UINT key;
        int result;
    } cases[] = {{MB_OKCANCEL, 'C', IDCANCEL}, {MB_OKCANCEL, 'O', IDOK},  {MB_YESNOCANCEL, 'Y', IDYES},
                 {MB_YESNOCANCEL, 'N', IDNO},  {MB_YESNO, 'Y', IDYES},    {MB_OK, 'O', IDOK}};
    for (const Case& c : cases) {
        ModalScript script({[&](HWND) {
            PressKey('X'); // no button has it
            PressKey(c.key);
            return true;
        }});
        EXPECT_EQ(c.result, messageWindow.ShowModal(owner.hwnd, "Choose", "Mnemonic", c.flags, 0, kBlack, kSilver,
                                                    kEdgeGreen))
            << std::hex << c.flags << " " << static_cast<char>(c.key);
    }
}

TEST(MessageWindowKeys, EscapeAndForeignCommandsLeaveTheWindowOpen)
{
    TestOwner owner;
    int staleId = 0;
    // A three-button window first, so buttons 1 and 2 keep ids and results of it.
    ShowAndCheck(owner.hwnd, "three", "Stale", MB_YESNOCANCEL,
                 [&](HWND box) { staleId = GetDlgCtrlID(ButtonsOf(box)[2]); });

    ModalScript script({[&](HWND box) {
                            PressKey(VK_ESCAPE);
                            SendMessageA(GetFocus(), WM_CHAR, VK_ESCAPE, 1);
                            SendMessageA(box, WM_COMMAND, staleId, 0);
                            SendMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(ButtonsOf(box)[0]), 1), 0);
                            return true;
                        },
                        [&](HWND box) {
                            EXPECT_TRUE(IsWindowVisible(box));
                            EXPECT_EQ(1, messageWindow.running);
                            EXPECT_FALSE(IsWindowEnabled(owner.hwnd));
                            PressKey(VK_RETURN);
                            return true;
                        }});
    EXPECT_EQ(IDOK, messageWindow.ShowModal(owner.hwnd, "Escape?", "Escape", MB_OK | MB_DEFBUTTON3, 0, kBlack,
                                            kSilver, kEdgeGreen));
    EXPECT_TRUE(script.Finished());
}

TEST(MessageWindowLayout, PlainOkHasNoIconAndAWideTitleWidensTheWindow)
{
    TestOwner owner;
    const char* longTitle = "A title far wider than the single short line of text";
    int narrow = 0;
    int wide = 0;
    ShowAndCheck(owner.hwnd, "Done.", "T", MB_OK, [&](HWND box) {
        narrow = WidthOf(box);
        ExpectButtonRow(box, {"&Ok"}, {-30});
        EXPECT_EQ(nullptr, messageWindow.icon);
        EXPECT_EQ(8, messageWindow.textRect.left);
        // No icon, no edge: the face colour reaches the text rectangle's corner.
        UpdateWindow(box);
        EXPECT_EQ(kSilver, ClientPixel(box, 8, messageWindow.textRect.top));
        EXPECT_EQ(kSilver, ClientPixel(box, 8, (messageWindow.textRect.top + messageWindow.textRect.bottom) / 2));
    });
    ShowAndCheck(owner.hwnd, "Done.", longTitle, 0x0F, [&](HWND box) {
        wide = WidthOf(box);
        ExpectButtonRow(box, {"&Ok"}, {-30});
        EXPECT_EQ(DisplayTextWidth(longTitle), messageWindow.widestLine);
        EXPECT_EQ(DisplayTextWidth(longTitle) + 4 * DisplayWidestChar() + 8, messageWindow.textRect.right);
    });
    EXPECT_GT(wide, narrow);
    EXPECT_EQ(DisplayTextWidth(longTitle) + 4 * DisplayWidestChar() + 8 + 16 + 1, wide);
}

TEST(MessageWindowLayout, ThreeButtonsSetTheMinimumWidth)
{
    TestOwner owner;
    int lineHeight = DisplayLineHeight();
    ASSERT_LT(DisplayTextWidth("?") + 4 * DisplayWidestChar() + 8, 13 * lineHeight);
    int width = 0;
    ShowAndCheck(owner.hwnd, "?", "", MB_YESNOCANCEL, [&](HWND box) {
        EXPECT_EQ(13 * lineHeight, messageWindow.textRect.right);
        width = WidthOf(box);
        ExpectButtonRow(box, {"&Yes", "&No", "&Cancel"}, {-100, -30, 40});
    });
    EXPECT_EQ(13 * lineHeight + 16 + 1, width);
}

TEST(MessageWindowMouse, DraggingTheFaceMovesTheWindow)
{
    TestOwner owner;
    RECT before = {};
    RECT after = {};
    POINT start = {};
    auto mouse = [](DWORD flags) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        SendInput(1, &input, sizeof input);
    };
    int waited = 0;
    ModalScript script({[&](HWND box) {
                            GetWindowRect(box, &before);
                            start = {4, 4};
                            ClientToScreen(box, &start);
                            SetCursorPos(start.x, start.y);
                            mouse(MOUSEEVENTF_LEFTDOWN);
                            return true;
                        },
                        [&](HWND) {
                            if (++waited < 5)
                                return false;
                            SetCursorPos(start.x + 20, start.y + 10);
                            mouse(MOUSEEVENTF_MOVE);
                            return true;
                        },
                        [&](HWND) {
                            SetCursorPos(start.x + 40, start.y + 30);
                            mouse(MOUSEEVENTF_MOVE);
                            return true;
                        },
                        [&](HWND) {
                            mouse(MOUSEEVENTF_LEFTUP);
                            waited = 0;
                            return true;
                        },
                        [&](HWND box) {
                            if (++waited < 5)
                                return false;
                            GetWindowRect(box, &after);
                            SendMessageA(ButtonsOf(box)[0], WM_KEYDOWN, VK_RETURN, 1);
                            return true;
                        }});
    EXPECT_EQ(IDOK, messageWindow.ShowModal(owner.hwnd, "Drag me", "Drag", MB_OK, 0, kBlack, kSilver, kEdgeGreen));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(before.left + 40, after.left);
    EXPECT_EQ(before.top + 30, after.top);
    EXPECT_EQ(before.right - before.left, after.right - after.left);
}

TEST(MessageWindowWait, ClosingWithoutAButtonEndsTheWait)
{
    TestOwner owner;
    struct Way {
        const char* name;
        std::function<void(HWND)> close;
    } ways[] = {
        {"WM_CLOSE", [](HWND box) { PostMessageA(box, WM_CLOSE, 0, 0); }},
        {"DestroyWindow", [](HWND box) { DestroyWindow(box); }},
        {"Alt+F4", [](HWND) { SendMessageA(GetFocus(), WM_SYSKEYDOWN, VK_F4, 0x20000001); }},
    };
    for (const Way& way : ways) {
        AllocationProbe::Start(false);
        ModalScript script({[&](HWND box) {
            way.close(box);
            return true;
        }});
        int result = messageWindow.ShowModal(owner.hwnd, "Close me", "Close", MB_YESNO, 0, kBlack, kSilver, kEdgeGreen);
        AllocationProbe::Stop();
        EXPECT_EQ(0, result) << way.name;
        EXPECT_TRUE(script.Finished()) << way.name;
        EXPECT_FALSE(script.TimedOut()) << way.name;
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd)) << way.name;
        EXPECT_EQ(nullptr, FindWindowA("CMSGCLASS", nullptr)) << way.name;
        EXPECT_EQ(nullptr, messageWindow.hwnd) << way.name;
        EXPECT_EQ(1, AllocationProbe::Allocations()) << way.name;
        EXPECT_EQ(1, AllocationProbe::FreesOf(AllocationProbe::FirstAllocation())) << way.name;

        // The next display is a normal one.
        EXPECT_EQ(IDOK, ShowAndCheck(owner.hwnd, "Again", "Again", MB_OK, [](HWND) {})) << way.name;
    }
}

TEST(MessageWindowWait, DestroyingTheOwnerEndsTheWait)
{
    HWND ownerHandle = nullptr;
    {
        TestOwner owner;
        ownerHandle = owner.hwnd;
        ModalScript script({[&](HWND) {
            DestroyWindow(ownerHandle);
            return true;
        }});
        EXPECT_EQ(0, messageWindow.ShowModal(ownerHandle, "Orphan", "Orphan", MB_OK, 0, kBlack, kSilver, kEdgeGreen));
        EXPECT_FALSE(script.TimedOut());
        EXPECT_FALSE(IsWindow(ownerHandle));
    }
    TestOwner next;
    EXPECT_EQ(IDOK, ShowAndCheck(next.hwnd, "Next", "Next", MB_OK, [](HWND) {}));
}

TEST(MessageWindowWait, QuitRequestEndsTheWaitAndStaysQueued)
{
    TestOwner owner;
    ModalScript script({[&](HWND) {
        PostQuitMessage(5);
        return true;
    }});
    EXPECT_EQ(0, messageWindow.ShowModal(owner.hwnd, "Quit", "Quit", MB_OK, 0, kBlack, kSilver, kEdgeGreen));
    EXPECT_FALSE(script.TimedOut());
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
    EXPECT_EQ(nullptr, FindWindowA("CMSGCLASS", nullptr));
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(5u, quit.wParam);
}

TEST(MessageWindowWait, PumpHandlesWaitingMessagesAndReportsQuit)
{
    TestOwner owner;
    MSG left;
    PostMessageA(owner.hwnd, WM_APP, 0, 0);
    PostMessageA(owner.hwnd, WM_APP, 0, 0);
    EXPECT_EQ(0, MessageWindow::PumpWaitingMessages());
    EXPECT_FALSE(PeekMessageA(&left, nullptr, WM_APP, WM_APP, PM_NOREMOVE));

    PostMessageA(owner.hwnd, WM_APP, 0, 0);
    PostQuitMessage(3);
    EXPECT_EQ(1, MessageWindow::PumpWaitingMessages());
    // What is left is the quit request alone (a peek returns it whatever the filter).
    ASSERT_TRUE(PeekMessageA(&left, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), left.message);
    EXPECT_EQ(3u, left.wParam);
    EXPECT_EQ(0, MessageWindow::PumpWaitingMessages());
}

class UncreatableWindow : public MessageWindow {
public:
    int CreateBoxWindow() override
    {
        style = WS_POPUP | WS_VISIBLE;
        return CreateHandle("SeekwordNoSuchClass", owner, nullptr, title, 0, 0, 100, 100);
    }
};

TEST(MessageWindowWait, WindowThatCannotBeCreatedReturnsAtOnce)
{
    TestOwner owner;
    UncreatableWindow uncreatable;
    AllocationProbe::Start(false);
    DWORD started = GetTickCount();
    int result = uncreatable.ShowModal(owner.hwnd, "Never shown", "Never", MB_OK, 0, kBlack, kSilver, kEdgeGreen);
    DWORD took = GetTickCount() - started;
    AllocationProbe::Stop();
    EXPECT_EQ(0, result);
    EXPECT_LT(took, 2000u);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
    EXPECT_EQ(0, uncreatable.running);
    EXPECT_EQ(1, AllocationProbe::Allocations());
    EXPECT_EQ(1, AllocationProbe::FreesOf(AllocationProbe::FirstAllocation()));

    // It did not leave the shared state claimed.
    EXPECT_EQ(IDOK, ShowAndCheck(owner.hwnd, "Shown", "Shown", MB_OK, [](HWND) {}));
}

TEST(MessageWindowText, CopyFreedOnceAndOutOfMemoryTextNeverFreed)
{
    TestOwner owner;
    const char* shown = nullptr;
    AllocationProbe::Start(false);
    ShowAndCheck(owner.hwnd, "copied\ntext", "Copy", MB_OK, [&](HWND) { shown = messageWindow.text; });
    AllocationProbe::Stop();
    EXPECT_EQ(1, AllocationProbe::Allocations());
    EXPECT_EQ(AllocationProbe::FirstAllocation(), shown);
    EXPECT_EQ(1, AllocationProbe::FreesOf(shown));
    EXPECT_EQ(nullptr, messageWindow.text);

    int lines = 0;
    AllocationProbe::Start(true);
    ShowAndCheck(owner.hwnd, "first\nsecond\nthird", "No memory", MB_OK, [&](HWND) {
        shown = messageWindow.text;
        lines = messageWindow.lineCount;
    });
    AllocationProbe::Stop();
    EXPECT_STREQ("Out of memory", shown);
    EXPECT_EQ(3, lines);
    EXPECT_EQ(0, AllocationProbe::FreesOf(shown));
}

TEST(MessageWindowWait, OnlyOneWindowAtATime)
{
    TestOwner owner;
    int nested = -1;
    ModalScript script({[&](HWND) {
        MessageWindow other;
        nested = other.ShowModal(owner.hwnd, "Second", "Second", MB_OK, 0, kBlack, kSilver, kEdgeGreen);
        EXPECT_NE(nullptr, FindWindowA("CMSGCLASS", "First"));
        PressKey('Y');
        return true;
    }});
    EXPECT_EQ(IDYES, messageWindow.ShowModal(owner.hwnd, "First", "First", MB_YESNO, 0, kBlack, kSilver, kEdgeGreen));
    EXPECT_EQ(0, nested);
}

} // namespace

// Message windows and the About window at other dpis: opened over an owner on such a screen, or moved to one.
#include <gtest/gtest.h>

#include <string>

#include "ModalDriver.h"
#include "controls/AboutWindow.h"
#include "framework/Dpi.h"
#include "resources/ResourceIds.h"
#include "support/WindowTestSupport.h"

namespace {

constexpr COLORREF kSilver = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kAqua = RGB(0, 255, 255);

MessageWindow dpiWindow;
AboutWindow dpiAbout;

// A Yes/No window with the question icon, as laid out at a dpi.
struct LayoutAtDpi {
    int dpi;
    int buttonWidth, buttonHeight;
    int noAfterYes;  // from the left edge of Yes to that of No
    int textLeft;
    int iconSize;
};
const LayoutAtDpi kLayouts[] = {
    {96, 60, 30, 80, 64, 32},
    {144, 90, 45, 120, 96, 48},
    {192, 120, 60, 160, 128, 64},
};

int IconWidth(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return 0;
    BITMAP bitmap = {};
    GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

RECT ClientOf(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    return client;
}

void ExpectLayout(HWND box, const LayoutAtDpi& expected)
{
    SCOPED_TRACE("dpi " + std::to_string(expected.dpi));
    EXPECT_EQ(expected.dpi, dpiWindow.dpi);
    EXPECT_NEAR(DisplayLineHeight() * expected.dpi / 96.0, dpiWindow.lineHeight, 1.0);
    EXPECT_EQ(expected.textLeft, dpiWindow.textRect.left);
    EXPECT_EQ(expected.iconSize, IconWidth(dpiWindow.icon));
    std::vector<HWND> buttons = ButtonsOf(box);
    ASSERT_EQ(2u, buttons.size());
    const RECT client = ClientOf(box);
    const RECT yes = ChildRect(buttons[0]);
    const RECT no = ChildRect(buttons[1]);
    for (const RECT& button : {yes, no}) {
        EXPECT_EQ(expected.buttonWidth, button.right - button.left);
        EXPECT_EQ(expected.buttonHeight, button.bottom - button.top);
        EXPECT_NEAR(client.bottom - 2 * dpiWindow.lineHeight, button.top, 1);
    }
    EXPECT_EQ(expected.noAfterYes, no.left - yes.left);
    // The pair stands around the middle of the window.
    EXPECT_NEAR(client.right, yes.left + no.right, 2);
}

// The owner on a screen of that dpi, as WM_DPICHANGED would have left it.
void PutOnScreenOf(HWND owner, int dpi)
{
    SendMessageA(owner, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0);
    Dpi::Remember(owner, dpi);
}

TEST(MessageWindowDpi, OpenedOverAnOwnerOnAScreenOfAnyDpiItIsLaidOutForThatDpi)
{
    PerMonitorAwareThread awareness;
    ASSERT_TRUE(awareness.Active());
    for (const LayoutAtDpi& layout : kLayouts) {
        TestOwner owner;
        PutOnScreenOf(owner.hwnd, layout.dpi);
        ModalScript script({[&](HWND box) {
            ExpectLayout(box, layout);
            PressKey('N');
            return true;
        }});
        EXPECT_EQ(IDNO, dpiWindow.ShowModal(owner.hwnd, "Replace the file?\nIt was changed.", "Question",
                                            MB_YESNO | MB_ICONQUESTION, 0, 0, kSilver, 0x808080));
        EXPECT_TRUE(script.Finished());
    }
}

TEST(MessageWindowDpi, MovedToAnotherScreenItIsLaidOutAgainWithItsButtonsAndFocus)
{
    PerMonitorAwareThread awareness;
    ASSERT_TRUE(awareness.Active());
    TestOwner owner;
    std::vector<HWND> before;
    auto move = [](HWND box, int dpi, RECT to) {
        SendMessageA(box, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&to));
        UpdateWindow(box);
    };
    const RECT there = {40, 30, 400, 300};
    ModalScript script({[&](HWND box) {
                            ExpectLayout(box, kLayouts[0]);
                            before = ButtonsOf(box);
                            PressKey(VK_RIGHT);
                            move(box, 144, there);
                            return true;
                        },
                        [&](HWND box) {
                            ExpectLayout(box, kLayouts[1]);
                            RECT now;
                            GetWindowRect(box, &now);
                            EXPECT_EQ(there.left, now.left);
                            EXPECT_EQ(there.top, now.top);
                            EXPECT_EQ(before, ButtonsOf(box));
                            EXPECT_EQ(before[1], GetFocus());
                            move(box, 192, there);
                            return true;
                        },
                        [&](HWND box) {
                            ExpectLayout(box, kLayouts[2]);
                            move(box, 96, there);
                            return true;
                        },
                        [&](HWND box) {
                            ExpectLayout(box, kLayouts[0]);
                            PressKey(VK_RETURN);
                            return true;
                        }});
    EXPECT_EQ(IDNO, dpiWindow.ShowModal(owner.hwnd, "Replace the file?\nIt was changed.", "Question",
                                        MB_YESNO | MB_ICONQUESTION, 0, 0, kSilver, 0x808080));
    EXPECT_TRUE(script.Finished());
}

// The About disc, its button and the rows of its icon that only a larger icon reaches.
struct AboutSeen {
    int discWidth = 0;
    int discHeight = 0;
    RECT button = {};
    bool lensBelowRow32 = false;
};

AboutSeen LookAtAbout(HWND box)
{
    UpdateWindow(box);
    AboutSeen seen;
    seen.discWidth = dpiAbout.discWidth;
    seen.discHeight = dpiAbout.discHeight;
    seen.button = ChildRect(ButtonsOf(box)[0]);
    const int iconTop = Dpi::Scale(18, dpiAbout.dpi);
    for (int y = iconTop + 32; y < iconTop + 40 && !seen.lensBelowRow32; ++y)
        for (int x = seen.discWidth / 2 - 24; x < seen.discWidth / 2 + 24 && !seen.lensBelowRow32; ++x)
            seen.lensBelowRow32 = ClientPixel(box, x, y) == kAqua;
    return seen;
}

TEST(AboutWindowDpi, AtOneAndAHalfTimesTheDpiTheButtonIconAndDiscGrowAndAMoveThereGivesTheSame)
{
    PerMonitorAwareThread awareness;
    ASSERT_TRUE(awareness.Active());
    AboutSeen at96, at144, moved, back;
    {
        TestOwner owner;
        ModalScript script({[&](HWND box) {
            at96 = LookAtAbout(box);
            PressKey(VK_RETURN);
            return true;
        }});
        dpiAbout.ShowModal(owner.hwnd, kAboutText, "About", 0, IDI_SEEKWORD, 0, kSilver, 0x808080);
    }
    {
        TestOwner owner;
        PutOnScreenOf(owner.hwnd, 144);
        ModalScript script({[&](HWND box) {
            at144 = LookAtAbout(box);
            PressKey(VK_RETURN);
            return true;
        }});
        dpiAbout.ShowModal(owner.hwnd, kAboutText, "About", 0, IDI_SEEKWORD, 0, kSilver, 0x808080);
    }
    {
        TestOwner owner;
        RECT there = {50, 40, 500, 400};
        ModalScript script({[&](HWND box) {
                                SendMessageA(box, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&there));
                                moved = LookAtAbout(box);
                                SendMessageA(box, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&there));
                                back = LookAtAbout(box);
                                return true;
                            },
                            [&](HWND) {
                                PressKey(VK_RETURN);
                                return true;
                            }});
        dpiAbout.ShowModal(owner.hwnd, kAboutText, "About", 0, IDI_SEEKWORD, 0, kSilver, 0x808080);
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(60, at96.button.right - at96.button.left);
    EXPECT_EQ(30, at96.button.bottom - at96.button.top);
    EXPECT_FALSE(at96.lensBelowRow32);
    EXPECT_EQ(90, at144.button.right - at144.button.left);
    EXPECT_EQ(45, at144.button.bottom - at144.button.top);
    EXPECT_NEAR(at144.discWidth, at144.button.left + at144.button.right, 2);
    EXPECT_TRUE(at144.lensBelowRow32) << "the icon is drawn 48 pixels high from its 48-pixel image";
    EXPECT_NEAR(at96.discHeight * 1.5, at144.discHeight, 2.0);
    EXPECT_GT(at144.discWidth, at96.discWidth * 5 / 4);
    // Moved to the other screen, the open window is what one opened there would be; and back again.
    EXPECT_EQ(at144.discWidth, moved.discWidth);
    EXPECT_EQ(at144.discHeight, moved.discHeight);
    EXPECT_EQ(at144.button.left, moved.button.left);
    EXPECT_EQ(at144.button.top, moved.button.top);
    EXPECT_TRUE(moved.lensBelowRow32);
    EXPECT_EQ(at96.discWidth, back.discWidth);
    EXPECT_EQ(at96.discHeight, back.discHeight);
    EXPECT_FALSE(back.lensBelowRow32);
}

} // namespace

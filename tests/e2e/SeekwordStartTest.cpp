// The first run: the Search dialog before anything else, the first-run criteria, and a main window
// whose file commands and their keys do nothing until a file is shown.
#include "SeekwordFixture.h"

namespace seekword_e2e {
namespace {

using SeekwordStartTest = SeekwordTest;

// The slot check boxes in the dialog picture, in image coordinates.
RECT ControlInImage(HWND control, const ScreenImage& shot)
{
    RECT rect = WindowRectOf(control);
    const RECT area = shot.ScreenArea();
    OffsetRect(&rect, -area.left, -area.top);
    return rect;
}

// Pixels that differ between two equally sized parts of a picture.
int DifferingPixels(const ScreenImage& shot, const RECT& a, const RECT& b)
{
    int differing = 0;
    for (int y = 0; y < a.bottom - a.top; ++y)
        for (int x = 0; x < a.right - a.left; ++x)
            if (shot.Pixel(a.left + x, a.top + y) != shot.Pixel(b.left + x, b.top + y))
                ++differing;
    return differing;
}

TEST_F(SeekwordStartTest, TheSearchDialogComesFirstWithTheFirstRunCriteria)
{
    ASSERT_TRUE(Launch(false));

    // Nothing but the main window and its modal Search dialog, which has the focus.
    EXPECT_EQ(frame, GetWindow(dialog, GW_OWNER));
    EXPECT_EQ((std::vector<HWND>{dialog, frame}), ShownTopWindows(app.Id()));
    EXPECT_FALSE(IsEnabledNow(frame));
    EXPECT_EQ(dialog, ActiveOf(dialog));
    EXPECT_EQ(kProgramTitle, StoredTitle(frame));
    EXPECT_FALSE(IsZoomed(frame));
    EXPECT_FALSE(IsIconic(frame));

    // First-run criteria: all files, with cpp and h ready in slots 1 and 2; every slot disabled.
    EXPECT_TRUE(IsChecked(dialog, kAllFiles));
    EXPECT_FALSE(IsChecked(dialog, kCaseSensitive));
    EXPECT_FALSE(IsChecked(dialog, kSubfolders));
    const char* const texts[kSlots] = {"cpp", "h", "", "", "", ""};
    for (int slot = 0; slot < kSlots; ++slot) {
        SCOPED_TRACE("slot " + std::to_string(slot + 1));
        EXPECT_EQ(slot < 2, IsChecked(dialog, kSlotCheck1 + slot));
        EXPECT_EQ(texts[slot], DlgItemText(dialog, kSlotEdit1 + slot));
        EXPECT_FALSE(IsEnabledNow(GetDlgItem(dialog, kSlotCheck1 + slot)));
        EXPECT_FALSE(IsEnabledNow(GetDlgItem(dialog, kSlotEdit1 + slot)));
    }
    EXPECT_EQ("", DlgItemText(dialog, kSearchText));
    EXPECT_EQ("", DlgItemText(dialog, kLocation));
    EXPECT_TRUE(ComboItems(GetDlgItem(dialog, kSearchText)).empty());
    EXPECT_TRUE(ComboItems(GetDlgItem(dialog, kLocation)).empty());

    // The picture: checked slots 1 and 2 look alike, unchecked 3 to 6 alike, and the two kinds
    // differ by their tick; "Find all files" (checked, enabled) shows a tick on a lighter box.
    ASSERT_TRUE(BringToFront(dialog));
    ScreenImage shot;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    RECT client = ClientRectOnScreen(dialog);
    RECT slot1 = {}, slot2 = {}, slot3 = {}, slot6 = {};
    const bool drawn = WaitUntil([&] {
        shot = ScreenImage::CaptureWindow(dialog);
        if (shot.IsEmpty())
            return false;
        RECT inner = client;
        OffsetRect(&inner, -shot.ScreenArea().left, -shot.ScreenArea().top);
        slot1 = ControlInImage(GetDlgItem(dialog, kSlotCheck1), shot);
        slot2 = ControlInImage(GetDlgItem(dialog, kSlotCheck1 + 1), shot);
        slot3 = ControlInImage(GetDlgItem(dialog, kSlotCheck1 + 2), shot);
        slot6 = ControlInImage(GetDlgItem(dialog, kSlotCheck1 + 5), shot);
        return shot.DominantColour(inner) == face && DifferingPixels(shot, slot1, slot2) == 0 &&
               DifferingPixels(shot, slot3, slot6) == 0 && DifferingPixels(shot, slot1, slot3) >= 4;
    });
    EXPECT_TRUE(shot.SavePng(ArtifactPath("seekword-search-dialog.png")));
    EXPECT_TRUE(drawn) << "slots 1/2 differ in " << DifferingPixels(shot, slot1, slot2) << " pixels, 3/6 in "
                       << DifferingPixels(shot, slot3, slot6) << ", 1/3 in " << DifferingPixels(shot, slot1, slot3);
    const RECT allFiles = ControlInImage(GetDlgItem(dialog, kAllFiles), shot);
    RECT allFilesBox = {allFiles.left, allFiles.top, allFiles.left + (slot1.right - slot1.left), allFiles.bottom};
    EXPECT_GT(shot.CountColour(GetSysColor(COLOR_WINDOW), allFilesBox), shot.CountColour(GetSysColor(COLOR_WINDOW), slot1));

    // Cancelled, the program stays with an empty view and only Start, About and Exit.
    ASSERT_TRUE(CloseDialogWith(IDCANCEL));
    ASSERT_TRUE(Sync());
    EXPECT_TRUE(app.IsRunning());
    EXPECT_TRUE(IsEnabledNow(frame));
    EXPECT_EQ(kProgramTitle, StoredTitle(frame));
    EXPECT_EQ(kNoFileCommands, EnabledCommands());
    ASSERT_EQ(3, status.PartCount());
    for (int part = 0; part < 3; ++part)
        EXPECT_EQ("", Part(part)) << part;
    EXPECT_EQ("", HighlightedCells(CaptureView()));
    // Loading made the settings key; nothing is written into it before the program ends.
    EXPECT_TRUE(UserRegistry::KeyExists(kSettingsKey));
    EXPECT_TRUE(UserRegistry::ValueNames(kSettingsKey).empty());
}

TEST_F(SeekwordStartTest, TheFileKeysDoNothingBeforeAFileIsShown)
{
    samples.Add("a.txt", "needle\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(CloseDialogWith(IDCANCEL));
    ASSERT_TRUE(ClipboardAccess::PutText(kClipboardMarker));
    ASSERT_TRUE(ClipboardAccess::WaitUntilFree());
    const DWORD clipboard = ClipboardAccess::Sequence();

    // Next file would end an empty walk with the "Not found" box, Copy would fill the clipboard.
    ASSERT_TRUE(Press('F', kAlt));
    ASSERT_TRUE(Press('N', kAlt));
    ASSERT_TRUE(Press('C', kAlt));
    ASSERT_TRUE(Press('C', kCtrl));
    ASSERT_TRUE(Press('X', kCtrl));
    ASSERT_TRUE(Press('E', kAlt));
    // A modal box left open by any of them would keep Alt+A from reaching the main window.
    ASSERT_TRUE(SyncThroughAbout());

    EXPECT_EQ(nullptr, app.FindTopWindow(kDialogClass, kNotFoundTitle));
    EXPECT_EQ(nullptr, app.FindTopWindow(kDialogClass, kSearchTitle));
    EXPECT_EQ(clipboard, ClipboardAccess::Sequence());
    std::string text;
    ASSERT_TRUE(ClipboardAccess::ReadText(&text));
    EXPECT_EQ(kClipboardMarker, text);
    EXPECT_EQ(kProgramTitle, StoredTitle(frame));
    EXPECT_EQ(kNoFileCommands, EnabledCommands());
    for (int part = 0; part < 3; ++part)
        EXPECT_EQ("", Part(part)) << part;
    EXPECT_TRUE(app.IsRunning());
}

} // namespace
} // namespace seekword_e2e

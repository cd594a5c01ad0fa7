// What one run leaves for the next: the criteria and window placement saved at the end and
// restored at the start, the maximised state, a cancelled run, and the recent-entry lists.
#include <algorithm>

#include "SeekwordFixture.h"

namespace seekword_e2e {
namespace {

using SeekwordSettingsTest = SeekwordTest;

std::vector<BYTE> Bytes(std::initializer_list<int> values)
{
    std::vector<BYTE> bytes;
    for (int v : values)
        bytes.push_back(static_cast<BYTE>(v));
    return bytes;
}

std::vector<BYTE> StringBytes(const std::string& text)
{
    std::vector<BYTE> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

std::vector<BYTE> RectBytes(const RECT& rect)
{
    const LONG values[4] = {rect.left, rect.top, rect.right, rect.bottom};
    const BYTE* raw = reinterpret_cast<const BYTE*>(values);
    return std::vector<BYTE>(raw, raw + sizeof(values));
}

::testing::AssertionResult HasValue(const char* name, DWORD type, const std::vector<BYTE>& data)
{
    RegistryValue value;
    if (!UserRegistry::Read(kSettingsKey, name, &value))
        return Failure(std::string("no value ") + name);
    if (value.type != type || value.data != data)
        return Failure(std::string("value ") + name + " has type " + std::to_string(value.type) + " and " +
                       std::to_string(value.data.size()) + " bytes");
    return ::testing::AssertionSuccess();
}

std::vector<std::string> SortedValueNames(const char* key)
{
    std::vector<std::string> names = UserRegistry::ValueNames(key);
    std::sort(names.begin(), names.end());
    return names;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST_F(SeekwordSettingsTest, ExitSavesTheCriteriaAndPlacementAndTheNextStartRestoresThem)
{
    samples.Add("hit.txt", "the needle\r\n");
    ASSERT_TRUE(Launch(false));
    // Clicked as a user would, so the dialog follows each change.
    ASSERT_TRUE(ClickDlgItem(dialog, kCaseSensitive));
    ASSERT_TRUE(ClickDlgItem(dialog, kSubfolders));
    ASSERT_TRUE(ClickDlgItem(dialog, kAllFiles));
    ASSERT_TRUE(ClickDlgItem(dialog, kSlotCheck1));      // cpp off
    ASSERT_TRUE(ClickDlgItem(dialog, kSlotCheck1 + 2));  // slot 3 on
    ASSERT_TRUE(SetDlgItemTextTo(dialog, kSlotEdit1 + 2, "txt"));
    ASSERT_TRUE(ClickDlgItem(dialog, kSlotCheck1 + 3));  // slot 4 on, typed with its dot
    ASSERT_TRUE(SetDlgItemTextTo(dialog, kSlotEdit1 + 3, ".log"));
    ASSERT_TRUE(SetDlgItemTextTo(dialog, kSlotEdit1 + 5, "md"));  // slot 6 stays off
    ASSERT_TRUE(Search("needle", samples.Path(), "hit.txt"));

    const RECT placed = {40, 50, 680, 470};
    ASSERT_TRUE(MoveAndSize(frame, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top));
    ASSERT_TRUE(Press('X', kAlt));
    ASSERT_TRUE(WaitForCleanExit());

    EXPECT_TRUE(HasValue("CheckSubs", REG_BINARY, Bytes({1})));
    EXPECT_TRUE(HasValue("AllFiles", REG_BINARY, Bytes({0})));
    const int checks[kSlots] = {0, 1, 1, 1, 0, 0};
    const char* const edits[kSlots] = {"cpp", "h", "txt", "log", "", "md"};
    for (int slot = 0; slot < kSlots; ++slot) {
        const std::string n = std::to_string(slot + 1);
        EXPECT_TRUE(HasValue(("Check" + n).c_str(), REG_BINARY, Bytes({checks[slot]})));
        EXPECT_TRUE(HasValue(("Edit" + n).c_str(), REG_SZ, StringBytes(edits[slot])));
    }
    DWORD flags = 99;
    DWORD showCmd = 0;
    EXPECT_TRUE(UserRegistry::ReadDword(kSettingsKey, "flags", &flags));
    EXPECT_EQ(0u, flags & ~3u);
    EXPECT_TRUE(UserRegistry::ReadDword(kSettingsKey, "showCmd", &showCmd));
    EXPECT_EQ(DWORD(SW_SHOWNORMAL), showCmd);
    EXPECT_TRUE(HasValue("rcNormal", REG_BINARY, RectBytes(placed)));
    // Nothing beyond slot 6, and nothing for "Case sensitive".
    EXPECT_EQ((std::vector<std::string>{"AllFiles", "Check1", "Check2", "Check3", "Check4", "Check5", "Check6",
                                        "CheckSubs", "Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "flags",
                                        "rcNormal", "rcNormalDpi", "showCmd"}),
              SortedValueNames(kSettingsKey));

    // The next start: the window where it was, the dialog as it was left but case sensitivity off.
    ASSERT_TRUE(Launch(false));
    EXPECT_TRUE(WaitUntil([&] { return SameRect(placed, WindowRectOf(frame)); })) << Describe(WindowRectOf(frame));
    EXPECT_FALSE(IsChecked(dialog, kCaseSensitive));
    EXPECT_TRUE(IsChecked(dialog, kSubfolders));
    EXPECT_FALSE(IsChecked(dialog, kAllFiles));
    for (int slot = 0; slot < kSlots; ++slot) {
        SCOPED_TRACE("slot " + std::to_string(slot + 1));
        EXPECT_EQ(checks[slot] != 0, IsChecked(dialog, kSlotCheck1 + slot));
        EXPECT_EQ(edits[slot], DlgItemText(dialog, kSlotEdit1 + slot));
        EXPECT_TRUE(IsEnabledNow(GetDlgItem(dialog, kSlotCheck1 + slot)));
        EXPECT_EQ(checks[slot] != 0, IsEnabledNow(GetDlgItem(dialog, kSlotEdit1 + slot)));
    }
    EXPECT_EQ("needle", DlgItemText(dialog, kSearchText));
    EXPECT_EQ((std::vector<std::string>{"needle"}), ComboItems(GetDlgItem(dialog, kSearchText)));
    EXPECT_EQ(samples.Path(), DlgItemText(dialog, kLocation));
    EXPECT_EQ((std::vector<std::string>{samples.Path()}), ComboItems(GetDlgItem(dialog, kLocation)));
    ASSERT_TRUE(CloseDialogWith(IDCANCEL));
    ASSERT_TRUE(ExitProgram());
}

TEST_F(SeekwordSettingsTest, AMaximisedCloseComesBackMaximisedWithItsNormalRectangleKept)
{
    ASSERT_TRUE(Launch(false));
    const RECT normal = {60, 40, 660, 440};
    ASSERT_TRUE(MoveAndSize(frame, normal.left, normal.top, normal.right - normal.left, normal.bottom - normal.top));
    ASSERT_TRUE(CloseDialogWith(IDCANCEL));
    ASSERT_TRUE(PostMessageA(frame, WM_SYSCOMMAND, SC_MAXIMIZE, 0));
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(frame) != FALSE; }));
    // Alt+F4 as real keys closes it like the close box.
    ASSERT_TRUE(Press(VK_F4, kAlt));
    ASSERT_TRUE(WaitForCleanExit());

    DWORD showCmd = 0;
    EXPECT_TRUE(UserRegistry::ReadDword(kSettingsKey, "showCmd", &showCmd));
    EXPECT_EQ(DWORD(SW_SHOWMAXIMIZED), showCmd);
    EXPECT_TRUE(HasValue("rcNormal", REG_BINARY, RectBytes(normal)));
    // Cancelled at start: the placement is saved, the criteria are not.
    EXPECT_EQ((std::vector<std::string>{"flags", "rcNormal", "rcNormalDpi", "showCmd"}), SortedValueNames(kSettingsKey));

    ASSERT_TRUE(Launch(false));
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(frame) != FALSE; }));
    ASSERT_TRUE(CloseDialogWith(IDCANCEL));
    ASSERT_TRUE(PostMessageA(frame, WM_SYSCOMMAND, SC_RESTORE, 0));
    EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(frame) && SameRect(normal, WindowRectOf(frame)); }))
        << Describe(WindowRectOf(frame));
    ASSERT_TRUE(ExitProgram());
}

TEST_F(SeekwordSettingsTest, ARectangleSavedOffTheScreenIsNotAppliedButOnePartlyLeftOfItIs)
{
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    struct Case {
        RECT saved;
        bool applied;
    };
    const Case cases[] = {{{screenWidth - iconWidth + 1, 40, screenWidth + 400, 400}, false},
                          {{-100, 30, 500, 400}, true}};
    for (const Case& test : cases) {
        SCOPED_TRACE(Describe(test.saved));
        ASSERT_TRUE(UserRegistry::DeleteKey(kProgramKey));
        ASSERT_TRUE(UserRegistry::WriteDword(kSettingsKey, "flags", 0));
        ASSERT_TRUE(UserRegistry::WriteDword(kSettingsKey, "showCmd", SW_SHOWNORMAL));
        const std::vector<BYTE> bytes = RectBytes(test.saved);
        ASSERT_TRUE(UserRegistry::Write(kSettingsKey, "rcNormal", REG_BINARY, bytes.data(),
                                        static_cast<DWORD>(bytes.size())));
        ASSERT_TRUE(Launch(false));
        if (test.applied)
            EXPECT_TRUE(WaitUntil([&] { return SameRect(test.saved, WindowRectOf(frame)); }))
                << Describe(WindowRectOf(frame));
        else
            EXPECT_LT(WindowRectOf(frame).left, screenWidth - iconWidth);
        ASSERT_TRUE(CloseDialogWith(IDCANCEL));
        ASSERT_TRUE(ExitProgram());
    }
}

TEST_F(SeekwordSettingsTest, TheStartsShowCommandCountsOnlyWithoutASavedPlacement)
{
    ASSERT_TRUE(Launch(false, SW_SHOWMAXIMIZED));
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(frame) != FALSE; }));
    ASSERT_TRUE(CloseDialogWith(IDCANCEL));
    ASSERT_TRUE(PostMessageA(frame, WM_SYSCOMMAND, SC_RESTORE, 0));
    ASSERT_TRUE(WaitUntil([&] { return !IsZoomed(frame); }));
    const RECT placed = {50, 60, 650, 460};
    ASSERT_TRUE(MoveAndSize(frame, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top));
    ASSERT_TRUE(ExitProgram());

    // Now the saved placement decides.
    ASSERT_TRUE(Launch(false, SW_SHOWMAXIMIZED));
    EXPECT_TRUE(WaitUntil([&] { return SameRect(placed, WindowRectOf(frame)); })) << Describe(WindowRectOf(frame));
    EXPECT_FALSE(IsZoomed(frame));
    ASSERT_TRUE(CloseDialogWith(IDCANCEL));
    ASSERT_TRUE(ExitProgram());
}

TEST_F(SeekwordSettingsTest, TheEndOfTheSessionSavesTheSettingsWhileTheProgramRunsOn)
{
    samples.Add("hit.txt", "needle\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(ClickDlgItem(dialog, kSubfolders));
    ASSERT_TRUE(Search("needle", samples.Path(), "hit.txt"));
    ASSERT_TRUE(UserRegistry::ValueNames(kSettingsKey).empty());

    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(frame, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, kWaitMs, &answer));
    EXPECT_EQ(1u, answer);
    EXPECT_TRUE(UserRegistry::ValueNames(kSettingsKey).empty());
    // Ended without the session ending: nothing is saved.
    ASSERT_TRUE(SendMessageTimeoutA(frame, WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, kWaitMs, &answer));
    EXPECT_TRUE(UserRegistry::ValueNames(kSettingsKey).empty());
    ASSERT_TRUE(SendMessageTimeoutA(frame, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, kWaitMs, &answer));
    EXPECT_TRUE(HasValue("CheckSubs", REG_BINARY, Bytes({1})));
    EXPECT_TRUE(HasValue("rcNormal", REG_BINARY,
                         RectBytes({kFrameX, kFrameY, kFrameX + kFrameWidth, kFrameY + kFrameHeight})));
    EXPECT_EQ(18u, UserRegistry::ValueNames(kSettingsKey).size());
    EXPECT_TRUE(app.IsRunning());
    EXPECT_EQ("Seekword found hit.txt", StoredTitle(frame));
}

TEST_F(SeekwordSettingsTest, ARunCancelledAtStartKeepsTheStoredCriteriaAndSavesThePlacement)
{
    // Stored in forms the program reads but would never write: a check byte of 7 and an
    // extension too long for its slot. Saving them would change both.
    struct Stored {
        const char* name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const std::vector<Stored> stored = {
        {"CheckSubs", REG_BINARY, Bytes({1})},    {"AllFiles", REG_BINARY, Bytes({0})},
        {"Check1", REG_BINARY, Bytes({0})},       {"Edit1", REG_SZ, StringBytes("cpp")},
        {"Check3", REG_BINARY, Bytes({7})},       {"Edit3", REG_SZ, StringBytes("txt")},
        {"Check4", REG_BINARY, Bytes({1})},       {"Edit4", REG_SZ, StringBytes("toolongext")},
    };
    for (const Stored& value : stored)
        ASSERT_TRUE(UserRegistry::Write(kSettingsKey, value.name, value.type, value.data.data(),
                                        static_cast<DWORD>(value.data.size())));

    ASSERT_TRUE(Launch(false));
    EXPECT_TRUE(IsChecked(dialog, kSubfolders));
    EXPECT_FALSE(IsChecked(dialog, kAllFiles));
    EXPECT_TRUE(IsChecked(dialog, kSlotCheck1 + 2));
    EXPECT_EQ("txt", DlgItemText(dialog, kSlotEdit1 + 2));
    EXPECT_TRUE(IsChecked(dialog, kSlotCheck1 + 3));
    EXPECT_EQ("", DlgItemText(dialog, kSlotEdit1 + 3));
    // Changes made in the dialog and then cancelled are not kept either.
    ASSERT_TRUE(ClickDlgItem(dialog, kSubfolders));
    ASSERT_TRUE(ClickDlgItem(dialog, kAllFiles));
    ASSERT_TRUE(SetDlgItemTextTo(dialog, kSearchText, "never taken"));
    ASSERT_TRUE(CloseDialogWith(IDCANCEL));
    const RECT placed = {70, 60, 570, 420};
    ASSERT_TRUE(MoveAndSize(frame, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top));
    ASSERT_TRUE(ExitProgram());

    for (const Stored& value : stored)
        EXPECT_TRUE(HasValue(value.name, value.type, value.data));
    EXPECT_TRUE(HasValue("rcNormal", REG_BINARY, RectBytes(placed)));
    EXPECT_EQ(12u, UserRegistry::ValueNames(kSettingsKey).size());
    EXPECT_TRUE(UserRegistry::ValueNames(kSearchListKey).empty());
}

TEST_F(SeekwordSettingsTest, TheRecentListsOfferTheLastTextsAndLocationsMostRecentFirst)
{
    SampleFolder second;
    ASSERT_TRUE(second.IsValid());
    samples.Add("a.txt", "alpha\r\n");
    second.Add("b.txt", "beta\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Search("alpha", samples.Path(), "a.txt"));

    // Each opening of the dialog reads the lists again.
    ASSERT_TRUE(Press('S', kAlt));
    dialog = app.WaitForTopWindow(kDialogClass, kSearchTitle);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ((std::vector<std::string>{"alpha"}), ComboItems(GetDlgItem(dialog, kSearchText)));
    EXPECT_EQ((std::vector<std::string>{samples.Path()}), ComboItems(GetDlgItem(dialog, kLocation)));
    ASSERT_TRUE(Search("beta", second.Path(), "b.txt"));
    ASSERT_TRUE(Press('X', kAlt));
    ASSERT_TRUE(WaitForCleanExit());

    std::string text;
    EXPECT_TRUE(UserRegistry::ReadString(kSearchListKey, "MRUList", &text));
    EXPECT_EQ("ba", text);
    EXPECT_TRUE(UserRegistry::ReadString(kSearchListKey, "a", &text));
    EXPECT_EQ("alpha", text);
    EXPECT_TRUE(UserRegistry::ReadString(kFilesListKey, "MRUList", &text));
    EXPECT_EQ("ba", text);
    EXPECT_TRUE(UserRegistry::ReadString(kFilesListKey, "b", &text));
    EXPECT_EQ(second.Path(), text);

    ASSERT_TRUE(Launch());
    EXPECT_EQ("beta", DlgItemText(dialog, kSearchText));
    EXPECT_EQ((std::vector<std::string>{"beta", "alpha"}), ComboItems(GetDlgItem(dialog, kSearchText)));
    EXPECT_EQ(second.Path(), DlgItemText(dialog, kLocation));
    EXPECT_EQ((std::vector<std::string>{second.Path(), samples.Path()}), ComboItems(GetDlgItem(dialog, kLocation)));
    ASSERT_TRUE(CloseDialogWith(IDCANCEL));
    ASSERT_TRUE(ExitProgram());
}

} // namespace
} // namespace seekword_e2e

// Saved settings: typed reads, first-run defaults, criteria gated by confirmation, placement checks.
#include <gtest/gtest.h>

#include "app/RegistryKey.h"
#include "app/Settings.h"
#include "search/SearchOptions.h"
#include "support/WindowTestSupport.h"

#include <cstring>

namespace {

const char kSettingsPath[] = "Software\\Ovelund Freeware\\Seekword\\Settings";

void ClearOptions()
{
    std::memset(searchOptions.patternArea, 0, sizeof searchOptions.patternArea);
    searchOptions.caseSensitive = searchOptions.criteriaConfirmed = 0;
    searchOptions.allFiles = searchOptions.subfolders = 0;
    std::memset(searchOptions.extEnabled, 0, sizeof searchOptions.extEnabled);
    std::memset(searchOptions.extText, 0, sizeof searchOptions.extText);
}

HKEY OpenSettings()
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

void SetRaw(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = OpenSettings();
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

bool ValueExists(const char* name)
{
    HKEY key = OpenSettings();
    bool exists = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsPath);
        ClearOptions();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SettingsTestFrame";
        RegisterClassA(&wc);
        frame = CreateWindowExA(0, "SettingsTestFrame", "frame", WS_OVERLAPPEDWINDOW, 40, 50, 400, 300, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, frame);
    }
    void TearDown() override
    {
        DestroyWindow(frame);
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsPath);
        ClearOptions();
    }
    HWND frame = nullptr;
};

TEST_F(SettingsTest, FirstRunSelectsAllFilesWithCppAndHAndRestoresNoPlacement)
{
    EXPECT_EQ(0, RestoreSettings(frame));
    EXPECT_EQ(1, searchOptions.allFiles);
    EXPECT_EQ(0, searchOptions.subfolders);
    EXPECT_EQ(1, searchOptions.extEnabled[0]);
    EXPECT_STREQ("cpp", searchOptions.extText[0]);
    EXPECT_EQ(1, searchOptions.extEnabled[1]);
    EXPECT_STREQ("h", searchOptions.extText[1]);
    for (int slot = 2; slot < kExtensionSlots; ++slot) {
        EXPECT_EQ(0, searchOptions.extEnabled[slot]);
        EXPECT_STREQ("", searchOptions.extText[slot]);
    }
    EXPECT_FALSE(IsWindowVisible(frame));
}

TEST_F(SettingsTest, UnconfirmedRunSavesPlacementButLeavesCriteria)
{
    SetRaw("AllFiles", REG_BINARY, "\0", 1);
    searchOptions.allFiles = 1;
    searchOptions.criteriaConfirmed = 0;
    EXPECT_EQ(1, SaveSettings(frame));
    EXPECT_TRUE(ValueExists("flags"));
    EXPECT_TRUE(ValueExists("showCmd"));
    EXPECT_TRUE(ValueExists("rcNormal"));
    EXPECT_FALSE(ValueExists("CheckSubs"));
    EXPECT_FALSE(ValueExists("Edit1"));
    RegistryKey key;
    ASSERT_TRUE(key.OpenKey(kProgramKeyPath, kSettingsSubkey, HKEY_CURRENT_USER));
    int allFiles = 7;
    EXPECT_TRUE(key.ReadBool("AllFiles", &allFiles, 1));
    EXPECT_EQ(0, allFiles);
    key.Close();
}

TEST_F(SettingsTest, ConfirmedCriteriaRoundTripWithoutCaseSwitchOrSeventhSlot)
{
    searchOptions.criteriaConfirmed = 1;
    searchOptions.caseSensitive = 1;
    searchOptions.subfolders = 1;
    searchOptions.allFiles = 0;
    searchOptions.extEnabled[2] = 1;
    lstrcpynA(searchOptions.extText[2], "txt", kExtensionSize);
    lstrcpynA(searchOptions.extText[5], "1234567", kExtensionSize);
    ASSERT_EQ(1, SaveSettings(frame));
    EXPECT_FALSE(ValueExists("Check7"));
    EXPECT_FALSE(ValueExists("Edit7"));
    EXPECT_FALSE(ValueExists("caseSensitive"));

    ClearOptions();
    RestoreSettings(frame);
    EXPECT_EQ(0, searchOptions.caseSensitive);
    EXPECT_EQ(1, searchOptions.subfolders);
    EXPECT_EQ(0, searchOptions.allFiles);
    EXPECT_EQ(0, searchOptions.extEnabled[0]);
    EXPECT_EQ(1, searchOptions.extEnabled[2]);
    EXPECT_STREQ("txt", searchOptions.extText[2]);
    EXPECT_STREQ("1234567", searchOptions.extText[5]);
}

TEST_F(SettingsTest, ValuesOfWrongTypeOrSizeFallBackToDefaults)
{
    // Two bytes for a one-byte flag, a DWORD where a byte belongs, an unterminated 8-byte text.
    SetRaw("CheckSubs", REG_BINARY, "\1\1", 2);
    DWORD one = 1;
    SetRaw("Check1", REG_DWORD, &one, sizeof one);
    SetRaw("Edit1", REG_SZ, "abcdefgh", 8);
    SetRaw("Edit2", REG_SZ, "abcdefghij", 11);
    SetRaw("Edit3", REG_BINARY, "rs\0", 3);
    SetRaw("AllFiles", REG_BINARY, "\0", 1);
    RestoreSettings(frame);
    EXPECT_EQ(0, searchOptions.subfolders);
    EXPECT_EQ(0, searchOptions.extEnabled[0]);
    EXPECT_STREQ("", searchOptions.extText[0]);
    EXPECT_STREQ("", searchOptions.extText[1]);
    EXPECT_STREQ("", searchOptions.extText[2]);
    EXPECT_EQ(0, searchOptions.allFiles);
    // AllFiles was present, so no first-run extensions were applied.
    EXPECT_EQ(0, searchOptions.extEnabled[1]);
}

TEST_F(SettingsTest, StoredPlacementIsAppliedAndShowsTheWindow)
{
    DWORD flags = 0, showCmd = SW_SHOWNORMAL;
    RECT rect = {100, 80, 600, 480};
    SetRaw("flags", REG_DWORD, &flags, 4);
    SetRaw("showCmd", REG_DWORD, &showCmd, 4);
    SetRaw("rcNormal", REG_BINARY, &rect, 16);
    ASSERT_EQ(1, RestoreSettings(frame));
    EXPECT_TRUE(IsWindowVisible(frame));
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(frame, &placement);
    EXPECT_EQ(100, placement.rcNormalPosition.left);
    EXPECT_EQ(80, placement.rcNormalPosition.top);
    EXPECT_EQ(600, placement.rcNormalPosition.right);
    EXPECT_EQ(480, placement.rcNormalPosition.bottom);
}

TEST_F(SettingsTest, MaximisedCloseRestoresMaximisedWithNormalRectangleKept)
{
    SetWindowPos(frame, nullptr, 120, 90, 500, 350, SWP_NOZORDER);
    ShowWindow(frame, SW_SHOWMAXIMIZED);
    ASSERT_EQ(1, SaveSettings(frame));
    DestroyWindow(frame);
    frame = CreateWindowExA(0, "SettingsTestFrame", "frame", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_EQ(1, RestoreSettings(frame));
    EXPECT_TRUE(IsZoomed(frame));
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(frame, &placement);
    EXPECT_EQ(120, placement.rcNormalPosition.left);
    EXPECT_EQ(90, placement.rcNormalPosition.top);
}

TEST_F(SettingsTest, PlacementOffScreenHiddenOrEmptyIsNotApplied)
{
    DWORD flags = 0;
    SetRaw("flags", REG_DWORD, &flags, 4);
    struct Case {
        DWORD showCmd;
        RECT rect;
    };
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int icon = GetSystemMetrics(SM_CXICON);
    const Case cases[] = {
        {SW_SHOWNORMAL, {screenWidth - icon + 1, 10, screenWidth + 400, 300}},  // beyond the right edge
        {SW_SHOWNORMAL, {10, screenHeight, 300, screenHeight + 300}},          // below the bottom
        {SW_HIDE, {10, 10, 300, 300}},                                         // hidden
        {SW_SHOWNORMAL, {10, 10, 10, 300}},                                    // no width
        {SW_SHOWNORMAL, {10, 300, 300, 10}},                                   // upside down
    };
    for (const Case& c : cases) {
        SetRaw("showCmd", REG_DWORD, &c.showCmd, 4);
        SetRaw("rcNormal", REG_BINARY, &c.rect, 16);
        EXPECT_EQ(0, RestoreSettings(frame)) << c.showCmd << " " << c.rect.left << "," << c.rect.top;
        EXPECT_FALSE(IsWindowVisible(frame));
    }
    // Partly left of and above the screen still passes.
    RECT partly = {-100, -50, 300, 300};
    DWORD normal = SW_SHOWNORMAL;
    SetRaw("showCmd", REG_DWORD, &normal, 4);
    SetRaw("rcNormal", REG_BINARY, &partly, 16);
    EXPECT_EQ(1, RestoreSettings(frame));
}

TEST_F(SettingsTest, MissingOrShortPlacementValueRestoresNothingButKeepsCriteria)
{
    SetRaw("CheckSubs", REG_BINARY, "\1", 1);
    SetRaw("AllFiles", REG_BINARY, "\1", 1);
    DWORD value = SW_SHOWNORMAL;
    SetRaw("flags", REG_DWORD, &value, 4);
    SetRaw("showCmd", REG_DWORD, &value, 4);
    SetRaw("rcNormal", REG_BINARY, "0123456789ab", 12);
    EXPECT_EQ(0, RestoreSettings(frame));
    EXPECT_EQ(1, searchOptions.subfolders);
    EXPECT_EQ(1, searchOptions.allFiles);
}

TEST_F(SettingsTest, APlacementSavedAtAnotherDpiKeepsItsCornerAndIsSizedForItsMonitorAndOneWithoutCountsAsNinetySix)
{
    // The stored dpi (0: none, as older builds saved: these first), the monitor's, the stored and the applied rectangle.
    // How the rectangle is scaled and brought onto the screen is RestoredRect's, tested below.
    const RECT at96 = {100, 80, 600, 480}, at144 = {150, 120, 900, 720};
    const struct { DWORD storedDpi; int monitorDpi; RECT stored, applied; } cases[] = {
        {0, 96, at96, at96},    {0, 144, at96, {100, 80, 850, 680}},  {144, 144, at144, at144},
        {144, 96, at144, {150, 120, 650, 520}},
        {7, 144, at96, {100, 80, 850, 680}},  {100000, 96, at144, at144},  // a damaged dpi counts as none
    };
    const DWORD flags = 0, showCmd = SW_SHOWNORMAL;
    SetRaw("flags", REG_DWORD, &flags, 4);
    SetRaw("showCmd", REG_DWORD, &showCmd, 4);
    for (const auto& c : cases) {
        SetRaw("rcNormal", REG_BINARY, &c.stored, 16);
        if (c.storedDpi)
            SetRaw(kPlacementDpiValue, REG_DWORD, &c.storedDpi, 4);
        ASSERT_EQ(1, RestoreSettings(frame, c.monitorDpi));
        WINDOWPLACEMENT placement = {sizeof placement};
        GetWindowPlacement(frame, &placement);
        EXPECT_EQ(RectText(c.applied), RectText(placement.rcNormalPosition)) << c.storedDpi << " to " << c.monitorDpi;
    }
}

// The size follows the dpi, the corner stays, and what no longer fits the monitor's work area goes back onto it.
TEST(RestoredRectTest, TheSizeIsScaledTheCornerKeptAndTheRectangleBroughtBackOntoItsWorkArea)
{
    const RECT fullHd = {0, 0, 1920, 1080}, withTaskbar = {0, 0, 1920, 1040};
    const struct { RECT saved; int savedDpi, dpi; RECT work, expected; } cases[] = {
        {{100, 100, 400, 300}, 96, 144, withTaskbar, {100, 100, 550, 400}},
        {{1000, 100, 1900, 800}, 96, 144, fullHd, {570, 30, 1920, 1080}},       // moved left and up
        {{1000, 100, 1900, 800}, 96, 144, withTaskbar, {570, 0, 1920, 1040}},   // taller than the work area: cut
        {{-100, -50, 300, 300}, 96, 96, fullHd, {-100, -50, 300, 300}},         // same dpi: as it stands
        {{2000, 100, 2900, 800}, 96, 144, {1920, 0, 3840, 1040}, {2000, 0, 3350, 1040}},  // a second monitor
        {{-1000, 100, -400, 500}, 96, 144, {-1280, 0, 0, 1024}, {-1000, 100, -100, 700}}, // one left of it
        {{1000, 100, 1900, 800}, 96, 144, {}, {1000, 100, 2350, 1150}},                   // no work area known
        {{200, 100, 1004, 704}, 192, 120, {}, {200, 100, 703, 478}},  // halves round away from 0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RectText(c.expected), RectText(RestoredRect(c.saved, c.savedDpi, c.dpi, c.work)))
            << RectText(c.saved) << " at " << c.savedDpi << " to " << c.dpi;
    }
}

} // namespace

// The Search dialog run modally and driven from timers: template, filter slots, OK, Cancel, Browse.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "TestRegistry.h"
#include "controls/ButtonBar.h"
#include "resources/ResourceIds.h"
#include "search/SearchOptions.h"
#include "searchdialog/FolderPicker.h"
#include "searchdialog/SearchDialog.h"

namespace {

// HKEY_CURRENT_USER is redirected here for the dialog tests, so no real setting is touched.
const char kOverrideRoot[] = "Software\\SeekwordTests\\SearchDialog";
const char kCombo1[] = "Software\\Ovelund Freeware\\Seekword\\Combo1";
const char kCombo2[] = "Software\\Ovelund Freeware\\Seekword\\Combo2";
const int kFileCommands[] = {CMD_FINDNEXT, CMD_NEXTFILE, CMD_COPY, CMD_EDIT};
const int kOtherCommands[] = {CMD_START, CMD_ABOUT, CMD_EXIT};

using Script = std::function<void(HWND)>;

struct ScriptRun {
    Script script;
    Dialog* dialog;
    bool ran;
};

ScriptRun* currentRun = nullptr;

// Runs the script once the dialog is up; the script ends the dialog itself.
void CALLBACK DriveDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    ScriptRun* run = currentRun;
    if (!run || run->ran || !run->dialog->hwnd || !IsWindowVisible(run->dialog->hwnd))
        return;
    KillTimer(nullptr, timer);
    run->ran = true;
    run->script(run->dialog->hwnd);
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (currentRun && currentRun->dialog->hwnd && IsWindow(currentRun->dialog->hwnd))
        EndDialog(currentRun->dialog->hwnd, -2);
}

void Click(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool Checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool Enabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

std::string Text(HWND window)
{
    char text[300] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ItemText(HWND dialog, int id)
{
    return Text(GetDlgItem(dialog, id));
}

void SetText(HWND dialog, int id, const char* text)
{
    SetDlgItemTextA(dialog, id, text);
}

std::vector<std::string> ComboItems(HWND dialog, int id)
{
    std::vector<std::string> items;
    const LRESULT n = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        std::string item(static_cast<size_t>(SendDlgItemMessageA(dialog, id, CB_GETLBTEXTLEN, i, 0)) + 1, '\0');
        SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]));
        items.push_back(item.c_str());
    }
    return items;
}

void ResetOptions()
{
    std::memset(searchOptions.patternArea, 0, sizeof searchOptions.patternArea);
    searchOptions.caseSensitive = 0;
    searchOptions.criteriaConfirmed = 0;
    searchOptions.allFiles = 0;
    searchOptions.subfolders = 0;
    for (int slot = 0; slot < kExtensionSlots; ++slot) {
        searchOptions.extEnabled[slot] = 0;
        std::memset(searchOptions.extText[slot], 0, kExtensionSize);
    }
}

void SetSlot(int slot, int enabled, const char* text)
{
    searchOptions.extEnabled[slot] = enabled;
    lstrcpynA(searchOptions.extText[slot], text, kExtensionSize);
}

// Every byte of the record that the dialog may write.
std::string OptionsImage()
{
    std::string image(searchOptions.patternArea, sizeof searchOptions.patternArea);
    const int flags[] = {searchOptions.caseSensitive, searchOptions.criteriaConfirmed, searchOptions.allFiles,
                         searchOptions.subfolders};
    image.append(reinterpret_cast<const char*>(flags), sizeof flags);
    image.append(reinterpret_cast<const char*>(searchOptions.extEnabled), sizeof searchOptions.extEnabled);
    image.append(&searchOptions.extText[0][0], sizeof searchOptions.extText);
    return image;
}

class SearchDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testreg::DeleteTree(HKEY_CURRENT_USER, kOverrideRoot);
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kOverrideRoot, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &overrideKey, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CURRENT_USER, overrideKey));
        overridden = true;

        ResetOptions();
        typedSearchText[0] = 0;
        std::memset(filesSpec, 0, sizeof filesSpec);
        dialog.filesSpec = filesSpec;

        owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 700, 500, nullptr,
                                nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, owner);
        ASSERT_TRUE(bar.Reserve(7));
        ASSERT_TRUE(bar.CreateBar(owner, 0, 0, 600, 28));
        const int commands[] = {CMD_START, CMD_FINDNEXT, CMD_NEXTFILE, CMD_COPY, CMD_EDIT, CMD_ABOUT, CMD_EXIT};
        for (int command : commands)
            ASSERT_TRUE(bar.AddButton("x", 60, command, 0));
        for (int command : kFileCommands)
            bar.EnableCommand(command, 0);
    }

    void TearDown() override
    {
        if (owner)
            DestroyWindow(owner);
        if (overridden)
            RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        if (overrideKey)
            RegCloseKey(overrideKey);
        testreg::DeleteTestKey(kOverrideRoot);
        dialog.filesSpec = nullptr;
    }

    INT_PTR RunDialog(const Script& script)
    {
        ScriptRun run{script, &dialog, false};
        currentRun = &run;
        dialog.hwnd = nullptr;
        const UINT_PTR drive = SetTimer(nullptr, 0, 20, DriveDialog);
        const UINT_PTR watchdog = SetTimer(nullptr, 0, 20000, Watchdog);
        const INT_PTR result = dialog.RunModal(IDD_SEARCH, owner);
        KillTimer(nullptr, drive);
        KillTimer(nullptr, watchdog);
        currentRun = nullptr;
        EXPECT_TRUE(run.ran) << "the dialog never came up";
        return result;
    }

    // Runs the dialog with the given texts and presses OK.
    INT_PTR Confirm(const char* text, const char* location, const Script& more = nullptr)
    {
        return RunDialog([&](HWND dlg) {
            SetText(dlg, IDC_SEARCHTEXT, text);
            SetText(dlg, IDC_LOCATION, location);
            if (more)
                more(dlg);
            Click(dlg, IDOK);
        });
    }

    HKEY overrideKey = nullptr;
    bool overridden = false;
    HWND owner = nullptr;
    char filesSpec[kLocationSize];
    ButtonBar bar;
    SearchDialog dialog{bar};
};

struct ExpectedControl {
    int id;
    const char* className;
    const char* text;
    int x, y, width, height;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE
    DWORD exStyle;
};

constexpr DWORD kCombo = CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kEdit = ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kLabel = SS_LEFT | WS_GROUP;

const ExpectedControl kTemplate[] = {
    {-1, "Static", "Search string", 5, 15, 87, 11, kLabel, 0},
    {IDC_SEARCHTEXT, "ComboBox", "", 6, 26, 168, 106, kCombo, 0},
    {-1, "Static", "Files to search (wildcards ok)", 7, 44, 148, 10, kLabel, 0},
    {IDC_LOCATION, "ComboBox", "", 6, 58, 168, 106, kCombo, 0},
    {IDC_CASESENSITIVE, "Button", "Case sensitive", 12, 76, 78, 11, kCheck, 0},
    {IDC_SUBFOLDERS, "Button", "Search subfolders", 12, 92, 85, 10, kCheck, 0},
    {IDC_ALLFILES, "Button", "Find all files", 190, 10, 50, 10, kCheck, 0},
    {1001, "Button", "", 190, 40, 10, 15, kCheck, 0},
    {1021, "Edit", "", 205, 40, 30, 12, kEdit, 0},
    {1002, "Button", "", 190, 56, 10, 15, kCheck, 0},
    {1022, "Edit", "", 205, 56, 30, 12, kEdit, 0},
    {1003, "Button", "", 190, 72, 10, 15, kCheck, 0},
    {1023, "Edit", "", 205, 72, 30, 12, kEdit, 0},
    {1004, "Button", "", 190, 88, 10, 15, kCheck, 0},
    {1024, "Edit", "", 205, 88, 30, 12, kEdit, 0},
    {1005, "Button", "", 190, 104, 10, 15, kCheck, 0},
    {1025, "Edit", "", 205, 104, 30, 12, kEdit, 0},
    {1006, "Button", "", 190, 120, 10, 15, kCheck, 0},
    {1026, "Edit", "", 205, 120, 30, 12, kEdit, 0},
    {IDOK, "Button", "&Ok", 55, 120, 38, 19, BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
    {IDCANCEL, "Button", "&Cancel", 105, 120, 37, 19, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDC_BROWSE, "Button", "&Browse", 123, 76, 51, 15, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {-1, "Static", "", 180, 5, 65, 135, SS_ETCHEDFRAME, WS_EX_DLGMODALFRAME},
    {-1, "Static", "or selected extensions", 185, 20, 55, 15, SS_CENTER | WS_GROUP, 0},
};

// Reads an extended dialog template as stored in the resources.
class TemplateReader {
public:
    explicit TemplateReader(const void* data) : p(static_cast<const BYTE*>(data)) {}

    WORD Word() { WORD w; std::memcpy(&w, p, 2); p += 2; return w; }
    DWORD Dword() { DWORD d; std::memcpy(&d, p, 4); p += 4; return d; }
    short Short() { return static_cast<short>(Word()); }
    void Align() { p = reinterpret_cast<const BYTE*>((reinterpret_cast<UINT_PTR>(p) + 3) & ~UINT_PTR(3)); }
    void Skip(size_t n) { p += n; }

    // A name or ordinal: predefined classes come as 0xFFFF and an ordinal.
    std::string NameOrOrdinal()
    {
        const WORD first = Word();
        if (first == 0)
            return "";
        if (first == 0xFFFF) {
            switch (Word()) {
            case 0x80: return "Button";
            case 0x81: return "Edit";
            case 0x82: return "Static";
            case 0x85: return "ComboBox";
            default: return "#other";
            }
        }
        std::string text(1, static_cast<char>(first));
        for (WORD c = Word(); c; c = Word())
            text.push_back(static_cast<char>(c));
        return text;
    }

private:
    const BYTE* p;
};

TEST(SearchDialogTemplate, HoldsEveryControlInTabOrderWithItsIdTextPlaceAndStyle)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDD_SEARCH), MAKEINTRESOURCEA(5));
    ASSERT_NE(nullptr, resource);
    TemplateReader reader(LockResource(LoadResource(module, resource)));

    EXPECT_EQ(1, reader.Word());
    EXPECT_EQ(0xFFFF, reader.Word());
    reader.Dword();
    EXPECT_EQ(0u, reader.Dword());
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT),
              reader.Dword());
    const WORD items = reader.Word();
    EXPECT_EQ(0, reader.Short());
    EXPECT_EQ(0, reader.Short());
    EXPECT_EQ(252, reader.Short());
    EXPECT_EQ(141, reader.Short());
    EXPECT_EQ("", reader.NameOrOrdinal());
    EXPECT_EQ("", reader.NameOrOrdinal());
    EXPECT_EQ("Search", reader.NameOrOrdinal());
    EXPECT_EQ(8, reader.Word());
    reader.Word();
    reader.Word();
    EXPECT_EQ("MS Sans Serif", reader.NameOrOrdinal());

    ASSERT_EQ(sizeof kTemplate / sizeof kTemplate[0], items);
    for (const ExpectedControl& expected : kTemplate) {
        SCOPED_TRACE(testing::Message() << "control " << expected.id << " \"" << expected.text << "\"");
        reader.Align();
        reader.Dword();
        EXPECT_EQ(expected.exStyle, reader.Dword());
        EXPECT_EQ(expected.style | WS_CHILD | WS_VISIBLE, reader.Dword());
        EXPECT_EQ(expected.x, reader.Short());
        EXPECT_EQ(expected.y, reader.Short());
        EXPECT_EQ(expected.width, reader.Short());
        EXPECT_EQ(expected.height, reader.Short());
        EXPECT_EQ(expected.id, static_cast<int>(reader.Dword()));
        EXPECT_EQ(0, lstrcmpiA(expected.className, reader.NameOrOrdinal().c_str()));
        EXPECT_EQ(expected.text, reader.NameOrOrdinal());
        reader.Skip(reader.Word());
    }
}

TEST_F(SearchDialogTest, DialogCreatesEveryControlOfTheTemplateInTabOrder)
{
    const INT_PTR result = RunDialog([](HWND dlg) {
        EXPECT_EQ("Search", Text(dlg));
        RECT size = {0, 0, 252, 141};
        MapDialogRect(dlg, &size);
        RECT client;
        GetClientRect(dlg, &client);
        // Centring the dialog makes it one pixel larger each way.
        EXPECT_NEAR(size.right, client.right, 1);
        EXPECT_NEAR(size.bottom, client.bottom, 1);

        HWND child = GetWindow(dlg, GW_CHILD);
        for (const ExpectedControl& expected : kTemplate) {
            ASSERT_NE(nullptr, child) << expected.text;
            SCOPED_TRACE(testing::Message() << "control " << expected.id << " \"" << expected.text << "\"");
            EXPECT_EQ(expected.id & 0xFFFF, GetDlgCtrlID(child) & 0xFFFF);
            char className[32] = {};
            GetClassNameA(child, className, sizeof className);
            EXPECT_EQ(0, lstrcmpiA(expected.className, className)) << className;
            if (lstrcmpiA(className, "ComboBox") != 0)
                EXPECT_EQ(expected.text, Text(child));
            const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
            EXPECT_TRUE(style & WS_VISIBLE);
            EXPECT_EQ((expected.style & WS_TABSTOP) != 0, (style & WS_TABSTOP) != 0);

            // The dialog manager converts position and size separately; a combo box is as high as its field.
            RECT units = {expected.x, expected.y, expected.width, expected.height};
            MapDialogRect(dlg, &units);
            RECT placed;
            GetWindowRect(child, &placed);
            MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&placed), 2);
            EXPECT_EQ(units.left, placed.left);
            EXPECT_EQ(units.top, placed.top);
            EXPECT_EQ(units.right, placed.right - placed.left);
            if (lstrcmpiA(className, "ComboBox") != 0)
                EXPECT_EQ(units.bottom, placed.bottom - placed.top);
            child = GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_EQ(nullptr, child) << "more controls than expected";
        Click(dlg, IDCANCEL);
    });
    EXPECT_EQ(0, result);
}

TEST_F(SearchDialogTest, OpensWithTheCriteriaAndTheMostRecentEntries)
{
    testreg::SetString(HKEY_CURRENT_USER, kCombo1, "a", "older");
    testreg::SetString(HKEY_CURRENT_USER, kCombo1, "b", "newer");
    testreg::SetString(HKEY_CURRENT_USER, kCombo1, "MRUList", "ba");
    testreg::SetString(HKEY_CURRENT_USER, kCombo2, "a", "C:\\src\\");
    testreg::SetString(HKEY_CURRENT_USER, kCombo2, "MRUList", "a");
    searchOptions.caseSensitive = 1;
    searchOptions.subfolders = 1;
    searchOptions.allFiles = 0;
    SetSlot(0, 1, "cpp");
    SetSlot(1, 0, "h");
    SetSlot(5, 1, "txt");

    RunDialog([](HWND dlg) {
        EXPECT_EQ((std::vector<std::string>{"newer", "older"}), ComboItems(dlg, IDC_SEARCHTEXT));
        EXPECT_EQ("newer", ItemText(dlg, IDC_SEARCHTEXT));
        EXPECT_EQ(std::vector<std::string>{"C:\\src\\"}, ComboItems(dlg, IDC_LOCATION));
        EXPECT_EQ("C:\\src\\", ItemText(dlg, IDC_LOCATION));
        EXPECT_TRUE(Checked(dlg, IDC_CASESENSITIVE));
        EXPECT_TRUE(Checked(dlg, IDC_SUBFOLDERS));
        EXPECT_FALSE(Checked(dlg, IDC_ALLFILES));
        EXPECT_TRUE(Checked(dlg, 1001));
        EXPECT_FALSE(Checked(dlg, 1002));
        EXPECT_TRUE(Checked(dlg, 1006));
        EXPECT_EQ("cpp", ItemText(dlg, 1021));
        EXPECT_EQ("h", ItemText(dlg, 1022));
        EXPECT_EQ("txt", ItemText(dlg, 1026));
        EXPECT_TRUE(Enabled(dlg, 1021));
        EXPECT_FALSE(Enabled(dlg, 1022));
        EXPECT_TRUE(Enabled(dlg, 1026));
        for (int slot = 0; slot < kExtensionSlots; ++slot) {
            EXPECT_TRUE(Enabled(dlg, IDC_EXTCHECK1 + slot));
            EXPECT_EQ(7, SendDlgItemMessageA(dlg, IDC_EXTEDIT1 + slot, EM_GETLIMITTEXT, 0, 0));
        }
        // The focus starts in the search text's combo box (in its edit field).
        HWND focus = GetFocus();
        HWND combo = GetDlgItem(dlg, IDC_SEARCHTEXT);
        EXPECT_TRUE(focus == combo || GetParent(focus) == combo);
        Click(dlg, IDCANCEL);
    });
}

TEST_F(SearchDialogTest, FindAllFilesDisablesTheSlotsAndUncheckingRestoresOnlyCheckedEdits)
{
    searchOptions.allFiles = 1;
    SetSlot(0, 1, "cpp");
    SetSlot(1, 1, "h");

    RunDialog([](HWND dlg) {
        EXPECT_TRUE(Checked(dlg, IDC_ALLFILES));
        for (int slot = 0; slot < kExtensionSlots; ++slot) {
            EXPECT_FALSE(Enabled(dlg, IDC_EXTCHECK1 + slot)) << slot;
            EXPECT_FALSE(Enabled(dlg, IDC_EXTEDIT1 + slot)) << slot;
        }
        Click(dlg, IDC_ALLFILES);
        EXPECT_FALSE(Checked(dlg, IDC_ALLFILES));
        for (int slot = 0; slot < kExtensionSlots; ++slot) {
            EXPECT_TRUE(Enabled(dlg, IDC_EXTCHECK1 + slot)) << slot;
            EXPECT_EQ(slot < 2, Enabled(dlg, IDC_EXTEDIT1 + slot)) << slot;
        }
        Click(dlg, IDC_ALLFILES);
        for (int slot = 0; slot < kExtensionSlots; ++slot) {
            EXPECT_FALSE(Enabled(dlg, IDC_EXTCHECK1 + slot)) << slot;
            EXPECT_FALSE(Enabled(dlg, IDC_EXTEDIT1 + slot)) << slot;
        }
        Click(dlg, IDCANCEL);
    });
}

TEST_F(SearchDialogTest, CheckingSlotThreeEnablesAndFocusesItsEdit)
{
    RunDialog([](HWND dlg) {
        EXPECT_FALSE(Enabled(dlg, 1023));
        Click(dlg, 1003);
        EXPECT_TRUE(Checked(dlg, 1003));
        EXPECT_TRUE(Enabled(dlg, 1023));
        EXPECT_EQ(GetDlgItem(dlg, 1023), GetFocus());
        Click(dlg, 1003);
        EXPECT_FALSE(Checked(dlg, 1003));
        EXPECT_FALSE(Enabled(dlg, 1023));
        Click(dlg, IDCANCEL);
    });
}

TEST_F(SearchDialogTest, OkTakesTheTextsSwitchesAndExtensions)
{
    SetSlot(4, 0, "md");
    const INT_PTR result = Confirm("MixedCase", "C:\\src\\*.txt", [](HWND dlg) {
        Click(dlg, IDC_SUBFOLDERS);
        Click(dlg, 1001);
        SetText(dlg, 1021, ".txt");
        Click(dlg, 1002);
        SetText(dlg, 1022, ".");
        Click(dlg, 1003);
        SetText(dlg, 1023, "abcdefghij");
        Click(dlg, 1004);
        SetText(dlg, 1025, ".md");
    });
    EXPECT_EQ(1, result);
    EXPECT_STREQ("mixedcase", searchOptions.searchText);
    EXPECT_STREQ("MixedCase", typedSearchText);
    EXPECT_STREQ("C:\\src\\*.txt", filesSpec);
    EXPECT_EQ(0, searchOptions.caseSensitive);
    EXPECT_EQ(1, searchOptions.subfolders);
    EXPECT_EQ(0, searchOptions.allFiles);
    EXPECT_EQ(1, searchOptions.criteriaConfirmed);
    const int enabled[] = {1, 0, 1, 0, 0, 0};
    const char* texts[] = {"txt", "", "abcdefg", "", "md", ""};
    for (int slot = 0; slot < kExtensionSlots; ++slot) {
        EXPECT_EQ(enabled[slot], searchOptions.extEnabled[slot]) << slot;
        EXPECT_STREQ(texts[slot], searchOptions.extText[slot]) << slot;
    }
    EXPECT_EQ("MixedCase", testreg::GetString(HKEY_CURRENT_USER, kCombo1, "a"));
    EXPECT_EQ("a", testreg::GetString(HKEY_CURRENT_USER, kCombo1, "MRUList"));
    EXPECT_EQ("C:\\src\\*.txt", testreg::GetString(HKEY_CURRENT_USER, kCombo2, "a"));
    EXPECT_EQ(nullptr, dialog.picker);
    EXPECT_FALSE(dialog.searchList.loaded);
    EXPECT_FALSE(dialog.filesList.loaded);
}

TEST_F(SearchDialogTest, OkEnablesTheFileCommandsOnlyForANonEmptyText)
{
    EXPECT_EQ(1, Confirm("", "C:\\src\\"));
    for (int command : kFileCommands)
        EXPECT_FALSE(bar.IsCommandEnabled(command)) << command;
    for (int command : kOtherCommands)
        EXPECT_TRUE(bar.IsCommandEnabled(command)) << command;
    EXPECT_STREQ("", filesSpec);
    EXPECT_STREQ("", searchOptions.searchText);
    EXPECT_EQ(1, searchOptions.criteriaConfirmed);
    // The location is stored although the search text was empty.
    EXPECT_EQ("C:\\src\\", testreg::GetString(HKEY_CURRENT_USER, kCombo2, "a"));
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, kCombo1));

    EXPECT_EQ(1, Confirm("needle", "C:\\src\\"));
    for (int command : kFileCommands)
        EXPECT_TRUE(bar.IsCommandEnabled(command)) << command;
    for (int command : kOtherCommands)
        EXPECT_TRUE(bar.IsCommandEnabled(command)) << command;
}

TEST_F(SearchDialogTest, OkWithAnEmptyTextReusesTheEarlierTextAndLocationWithTheNewSwitches)
{
    ASSERT_EQ(1, Confirm("Needle", "C:\\first\\"));
    EXPECT_STREQ("needle", searchOptions.searchText);
    EXPECT_STREQ("C:\\first\\", filesSpec);

    for (int command : kFileCommands)
        bar.EnableCommand(command, 0);
    EXPECT_EQ(1, Confirm("", "D:\\second\\", [](HWND dlg) {
        Click(dlg, IDC_CASESENSITIVE);
        Click(dlg, IDC_SUBFOLDERS);
        Click(dlg, IDC_ALLFILES);
    }));
    EXPECT_STREQ("Needle", searchOptions.searchText);
    EXPECT_STREQ("C:\\first\\", filesSpec);
    EXPECT_EQ(1, searchOptions.caseSensitive);
    EXPECT_EQ(1, searchOptions.subfolders);
    EXPECT_EQ(1, searchOptions.allFiles);
    for (int command : kFileCommands)
        EXPECT_FALSE(bar.IsCommandEnabled(command)) << command;
    EXPECT_EQ("a", testreg::GetString(HKEY_CURRENT_USER, kCombo1, "MRUList"));
    EXPECT_EQ("D:\\second\\", testreg::GetString(HKEY_CURRENT_USER, kCombo2, "b"));
    EXPECT_EQ("ba", testreg::GetString(HKEY_CURRENT_USER, kCombo2, "MRUList"));

    // The dialog shows the latest entries; with Case sensitive off again the old text is folded.
    EXPECT_EQ(1, RunDialog([](HWND dlg) {
        EXPECT_EQ("Needle", ItemText(dlg, IDC_SEARCHTEXT));
        EXPECT_EQ("D:\\second\\", ItemText(dlg, IDC_LOCATION));
        EXPECT_TRUE(Checked(dlg, IDC_CASESENSITIVE));
        SetText(dlg, IDC_SEARCHTEXT, "");
        Click(dlg, IDC_CASESENSITIVE);
        Click(dlg, IDOK);
    }));
    EXPECT_STREQ("needle", searchOptions.searchText);
    EXPECT_EQ(0, searchOptions.caseSensitive);
}

TEST_F(SearchDialogTest, TypingAListedTextInCapitalsSearchesForItAsTyped)
{
    ASSERT_EQ(1, Confirm("alpha", "C:\\"));
    ASSERT_EQ(1, Confirm("ALPHA", "C:\\", [](HWND dlg) { Click(dlg, IDC_CASESENSITIVE); }));
    EXPECT_STREQ("ALPHA", searchOptions.searchText);
    EXPECT_EQ("alpha", testreg::GetString(HKEY_CURRENT_USER, kCombo1, "a"));
    EXPECT_EQ("<missing>", testreg::GetString(HKEY_CURRENT_USER, kCombo1, "b"));
}

TEST_F(SearchDialogTest, CancelChangesNothingInTheCriteriaOrTheRegistry)
{
    testreg::SetString(HKEY_CURRENT_USER, kCombo1, "a", "kept");
    testreg::SetString(HKEY_CURRENT_USER, kCombo1, "MRUList", "a");
    searchOptions.subfolders = 1;
    SetSlot(0, 1, "cpp");
    lstrcpynA(searchOptions.searchText, "kept", kSearchTextSize);
    lstrcpynA(filesSpec, "C:\\kept\\", sizeof filesSpec);
    const std::string options = OptionsImage();
    const auto combo1 = testreg::Snapshot(HKEY_CURRENT_USER, kCombo1);

    const Script changeEverything = [](HWND dlg) {
        SetText(dlg, IDC_SEARCHTEXT, "other");
        SetText(dlg, IDC_LOCATION, "D:\\other\\");
        Click(dlg, IDC_CASESENSITIVE);
        Click(dlg, IDC_SUBFOLDERS);
        Click(dlg, IDC_ALLFILES);
        Click(dlg, 1001);
        SetText(dlg, 1022, "h");
    };
    EXPECT_EQ(0, RunDialog([&](HWND dlg) {
        changeEverything(dlg);
        Click(dlg, IDCANCEL);
    }));
    // The caption's close button arrives as Cancel too.
    EXPECT_EQ(0, RunDialog([&](HWND dlg) {
        changeEverything(dlg);
        SendMessageA(dlg, WM_CLOSE, 0, 0);
    }));

    EXPECT_EQ(options, OptionsImage());
    EXPECT_STREQ("C:\\kept\\", filesSpec);
    EXPECT_EQ(combo1, testreg::Snapshot(HKEY_CURRENT_USER, kCombo1));
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, kCombo2));
    for (int command : kFileCommands)
        EXPECT_FALSE(bar.IsCommandEnabled(command)) << command;
    EXPECT_FALSE(dialog.searchList.loaded);
    EXPECT_FALSE(dialog.filesList.loaded);
    EXPECT_EQ(nullptr, dialog.picker);
}

TEST_F(SearchDialogTest, LongTextsAreCutToTheirBuffers)
{
    const std::string text(120, 'Q');
    const std::string location(300, 'L');
    EXPECT_EQ(1, Confirm(text.c_str(), location.c_str()));
    EXPECT_EQ(std::string(79, 'q'), searchOptions.searchText);
    EXPECT_EQ(std::string(79, 'Q'), typedSearchText);
    EXPECT_EQ(std::string(258, 'L'), filesSpec);
    EXPECT_EQ(std::string(258, 'L'), testreg::GetString(HKEY_CURRENT_USER, kCombo2, "a"));
}

TEST(FolderSeparator, EndsAPickedFolderInOneSeparatorWhenItFits)
{
    auto append = [](std::string path) {
        char buffer[kPickerPathSize] = {};
        lstrcpynA(buffer, path.c_str(), sizeof buffer);
        AppendFolderSeparator(buffer, kMaxLocationLength);
        return std::string(buffer);
    };
    EXPECT_EQ("D:\\Projects\\", append("D:\\Projects"));
    EXPECT_EQ("D:\\", append("D:\\"));
    EXPECT_EQ("\\\\server\\share\\", append("\\\\server\\share"));
    EXPECT_EQ("\\\\a\\share\\", append("\\\\a\\share"));
    EXPECT_EQ("", append(""));
    const std::string fits = "C:\\" + std::string(254, 'f');
    EXPECT_EQ(fits + "\\", append(fits));
    const std::string full = "C:\\" + std::string(255, 'f');
    EXPECT_EQ(full, append(full));
}

TEST(FolderSeparator, APickedFolderTheSearchCannotWalkAsPickedIsRefused)
{
    auto take = [](const std::string& path) {
        char buffer[kPickerPathSize] = {};
        lstrcpynA(buffer, path.c_str(), sizeof buffer);
        return TakePickedFolder(buffer) ? std::string(buffer) : std::string("refused");
    };
    EXPECT_EQ("C:\\Projects\\", take("C:\\Projects"));
    EXPECT_EQ("C:\\", take("C:\\"));
    const std::string longest = "C:\\" + std::string(252, 'f');  // 255 characters, 256 with the separator
    EXPECT_EQ(longest + "\\", take(longest));
    // One more and "*.*" no longer fits; at 258 or 259 not even the separator would.
    for (int length : {256, 257, 258, 259})
        EXPECT_EQ("refused", take("C:\\" + std::string(length - 3, 'f'))) << length;
}

// Finds the shell's browse dialog on this thread: a visible dialog other than the Search dialog.
struct BrowseScript {
    HWND searchDialog = nullptr;
    std::string pick;  // empty: cancel
    bool seen = false;
};
BrowseScript* browseScript = nullptr;

BOOL CALLBACK FindBrowseDialog(HWND window, LPARAM found)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (window != browseScript->searchDialog && IsWindowVisible(window) && lstrcmpA(className, "#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DriveBrowse(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND browse = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBrowseDialog, reinterpret_cast<LPARAM>(&browse));
    if (!browse)
        return;
    KillTimer(nullptr, timer);
    browseScript->seen = true;
    if (browseScript->pick.empty()) {
        PostMessageA(browse, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    SendMessageA(browse, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(browseScript->pick.c_str()));
    PostMessageA(browse, WM_COMMAND, IDOK, 0);
}

TEST_F(SearchDialogTest, BrowseFillsTheLocationWithThePickedFolderAndCancelKeepsIt)
{
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string windowsFolder = windows;
    const std::string drive = windowsFolder.substr(0, 3);

    BrowseScript script;
    browseScript = &script;
    std::string afterPick, afterRoot, afterCancel;
    RunDialog([&](HWND dlg) {
        script.searchDialog = dlg;
        SetText(dlg, IDC_LOCATION, "E:\\typed\\*.c");

        script.pick = windowsFolder;
        SetTimer(nullptr, 0, 50, DriveBrowse);
        Click(dlg, IDC_BROWSE);
        afterPick = ItemText(dlg, IDC_LOCATION);

        script.pick = drive;
        SetTimer(nullptr, 0, 50, DriveBrowse);
        Click(dlg, IDC_BROWSE);
        afterRoot = ItemText(dlg, IDC_LOCATION);

        script.pick.clear();
        SetTimer(nullptr, 0, 50, DriveBrowse);
        Click(dlg, IDC_BROWSE);
        afterCancel = ItemText(dlg, IDC_LOCATION);
        Click(dlg, IDCANCEL);
    });
    browseScript = nullptr;
    EXPECT_TRUE(script.seen);
    EXPECT_EQ(0, lstrcmpiA((windowsFolder + "\\").c_str(), afterPick.c_str())) << afterPick;
    EXPECT_EQ(0, lstrcmpiA(drive.c_str(), afterRoot.c_str())) << afterRoot;
    EXPECT_EQ(afterRoot, afterCancel);
}

} // namespace

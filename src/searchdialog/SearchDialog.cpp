// The Search dialog: fills its controls from the criteria and recent lists, and takes them back on OK.
#include "searchdialog/SearchDialog.h"

#include "controls/ButtonBar.h"
#include "resources/ResourceIds.h"
#include "search/Matcher.h"
#include "searchdialog/CentreWindow.h"

char typedSearchText[kSearchTextSize] = {};

namespace {

const char kSearchListKey[] = "Combo1";
const char kFilesListKey[] = "Combo2";
constexpr int kSearchListEntries = 12;
constexpr int kFilesListEntries = 14;
constexpr int kLocationTextSize = kLocationSize - 1;  // 258 characters and the terminator
const char kBrowsePrompt[] = "Choose a folder to search:";

// The commands that need a shown file.
const int kFileCommands[] = {CMD_FINDNEXT, CMD_NEXTFILE, CMD_COPY, CMD_EDIT};

int CheckState(int flag)
{
    return flag ? BST_CHECKED : BST_UNCHECKED;
}

} // namespace

SearchDialog::SearchDialog(ButtonBar& bar) : picker(nullptr), filesSpec(nullptr), buttonBar(bar) {}

SearchDialog::~SearchDialog()
{
    DiscardPicker();
}

INT_PTR SearchDialog::DlgProc(UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    if (message != WM_COMMAND)
        return FALSE;

    const int id = LOWORD(wParam);
    const int notification = HIWORD(wParam);
    if (id >= IDC_EXTCHECK1 && id < IDC_EXTCHECK1 + kExtensionSlots) {
        UpdateExtensionEdit(id - IDC_EXTCHECK1);
        return FALSE;
    }
    switch (id) {
    case IDC_ALLFILES:
        if (notification == BN_CLICKED)
            EnableExtensionBoxes(IsDlgButtonChecked(hwnd, IDC_ALLFILES) != BST_CHECKED);
        return FALSE;
    case IDC_BROWSE:
        OnBrowse();
        return TRUE;
    case IDOK:
        OnOk();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR SearchDialog::OnInitDialog()
{
    searchList.Load(GetDlgItem(hwnd, IDC_SEARCHTEXT), kSearchTextSize, kSearchListEntries, kProgramKeyPath,
                    kSearchListKey);
    filesList.Load(GetDlgItem(hwnd, IDC_LOCATION), kLocationTextSize, kFilesListEntries, kProgramKeyPath,
                   kFilesListKey);

    CheckDlgButton(hwnd, IDC_CASESENSITIVE, CheckState(searchOptions.caseSensitive));
    CheckDlgButton(hwnd, IDC_SUBFOLDERS, CheckState(searchOptions.subfolders));
    CheckDlgButton(hwnd, IDC_ALLFILES, CheckState(searchOptions.allFiles));
    EnableExtensionBoxes(!searchOptions.allFiles);

    for (int slot = 0; slot < kExtensionSlots; ++slot) {
        SendDlgItemMessageA(hwnd, IDC_EXTEDIT1 + slot, EM_LIMITTEXT, kExtensionSize - 1, 0);
        CheckDlgButton(hwnd, IDC_EXTCHECK1 + slot, CheckState(searchOptions.extEnabled[slot]));
        char extension[kExtensionSize];
        lstrcpynA(extension, searchOptions.extText[slot], kExtensionSize);
        SetDlgItemTextA(hwnd, IDC_EXTEDIT1 + slot, extension);
        UpdateExtensionEdit(slot);
    }

    DiscardPicker();
    picker = FolderPicker::Create(hwnd, false);

    CentreWindow(hwnd);
    return TRUE;
}

// Enabling leaves the edits of unchecked boxes as they are.
void SearchDialog::EnableExtensionBoxes(bool enable)
{
    for (int slot = 0; slot < kExtensionSlots; ++slot) {
        HWND box = GetDlgItem(hwnd, IDC_EXTCHECK1 + slot);
        EnableWindow(box, enable);
        if (!enable || IsDlgButtonChecked(hwnd, IDC_EXTCHECK1 + slot) == BST_CHECKED)
            EnableWindow(GetDlgItem(hwnd, IDC_EXTEDIT1 + slot), enable);
    }
}

// The edit takes the focus even when it has just been disabled.
void SearchDialog::UpdateExtensionEdit(int slot)
{
    if (slot < 0 || slot >= kExtensionSlots)
        return;
    const bool enable = IsDlgButtonChecked(hwnd, IDC_ALLFILES) != BST_CHECKED &&
                        IsDlgButtonChecked(hwnd, IDC_EXTCHECK1 + slot) == BST_CHECKED;
    HWND edit = GetDlgItem(hwnd, IDC_EXTEDIT1 + slot);
    EnableWindow(edit, enable);
    SetFocus(edit);
}

void SearchDialog::OnBrowse()
{
    if (!picker || !picker->prompt)
        return;
    lstrcpynA(picker->prompt, kBrowsePrompt, kPickerPathSize);
    if (picker->Browse())
        SetDlgItemTextA(hwnd, IDC_LOCATION, picker->pickedPath);
    SetFocus(hwnd);
}

// searchText is derived afresh from the last typed text, so an OK with an empty text after an
// earlier search follows the new case switch instead of keeping the old folding.
void SearchDialog::OnOk()
{
    char typed[kSearchTextSize];
    char location[kLocationSize];
    searchList.Commit(typed);
    filesList.Commit(location);

    searchOptions.caseSensitive = IsDlgButtonChecked(hwnd, IDC_CASESENSITIVE) == BST_CHECKED;
    searchOptions.subfolders = IsDlgButtonChecked(hwnd, IDC_SUBFOLDERS) == BST_CHECKED;

    if (typed[0]) {
        lstrcpynA(typedSearchText, typed, kSearchTextSize);
        if (filesSpec)
            lstrcpynA(filesSpec, location, kLocationSize);
        for (int command : kFileCommands)
            buttonBar.EnableCommand(command, 1);
    }
    // Every search takes the code page's case folding afresh, for the stored text and the count alike.
    PrepareFolding();
    if (typedSearchText[0]) {
        lstrcpynA(searchOptions.searchText, typedSearchText, kSearchTextSize);
        if (!searchOptions.caseSensitive)
            FoldCase(searchOptions.searchText);
    }

    searchOptions.allFiles = IsDlgButtonChecked(hwnd, IDC_ALLFILES) == BST_CHECKED;
    for (int slot = 0; slot < kExtensionSlots; ++slot) {
        char extension[kExtensionSize] = {};
        GetDlgItemTextA(hwnd, IDC_EXTEDIT1 + slot, extension, kExtensionSize);
        const char* text = extension[0] == '.' ? extension + 1 : extension;
        lstrcpynA(searchOptions.extText[slot], text, kExtensionSize);
        searchOptions.extEnabled[slot] =
            IsDlgButtonChecked(hwnd, IDC_EXTCHECK1 + slot) == BST_CHECKED && text[0] != 0;
    }

    DiscardPicker();
    searchOptions.criteriaConfirmed = 1;
    EndDialog(hwnd, 1);
}

void SearchDialog::OnCancel()
{
    searchList.Release();
    filesList.Release();
    DiscardPicker();
    EndDialog(hwnd, 0);
}

void SearchDialog::DiscardPicker()
{
    delete picker;
    picker = nullptr;
}

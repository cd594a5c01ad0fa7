// The modal "Search" dialog: search text, location, switches and the extension filter.
#pragma once
#include "framework/Dialog.h"
#include "searchdialog/FolderPicker.h"
#include "search/SearchOptions.h"
#include "searchdialog/RecentList.h"

class ButtonBar;

constexpr int kLocationSize = 260;

// The last search text taken by OK, as typed; searchText is derived from it on every OK.
extern char typedSearchText[kSearchTextSize];

class SearchDialog : public Dialog {
public:
    explicit SearchDialog(ButtonBar& bar);
    ~SearchDialog() override;

    INT_PTR DlgProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void EnableExtensionBoxes(bool enable);
    void UpdateExtensionEdit(int slot);

    FolderPicker* picker;
    RecentList searchList;
    RecentList filesList;
    // The search view's 260-byte location buffer; OK copies the location into it. Null: none.
    char* filesSpec;

private:
    INT_PTR OnInitDialog();
    void OnBrowse();
    void OnOk();
    void OnCancel();
    void DiscardPicker();

    ButtonBar& buttonBar;
};

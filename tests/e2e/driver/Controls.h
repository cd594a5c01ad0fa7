// Acting on another process's controls: buttons, texts, check boxes and combo box lists.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// BM_CLICK sent: returns once the click is handled. A click that opens a modal window never
// returns in time; post it instead.
bool ClickButton(HWND button);
bool PostClickButton(HWND button);
bool ClickDlgItem(HWND dialog, int id);
bool PostClickDlgItem(HWND dialog, int id);
// The first descendant button whose text is exactly text ("&Start"), or null.
HWND ButtonByText(HWND parent, const char* text);

bool SetControlText(HWND control, const std::string& text);
bool SetDlgItemTextTo(HWND dialog, int id, const std::string& text);
std::string DlgItemText(HWND dialog, int id);

bool SetChecked(HWND dialog, int id, bool checked);
bool IsChecked(HWND dialog, int id);

// A combo box's list items; read as wide text, since the ANSI form loses all but the first
// character across processes.
std::vector<std::string> ComboItems(HWND combo);
int ComboSelection(HWND combo);
bool SelectComboItem(HWND combo, int index);

} // namespace e2e

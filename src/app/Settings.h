// The saved search criteria and main-window placement, in the registry key "Settings".
#pragma once
#include <windows.h>

#include "searchdialog/RecentList.h"  // kProgramKeyPath

extern const char kSettingsSubkey[];

// Loads the criteria into searchOptions and applies the saved placement to the frame.
// Nonzero when the placement was applied (the window is then shown).
int RestoreSettings(HWND frame);

// Writes the criteria (only once the Search dialog was confirmed) and the placement.
// Nonzero when the placement was written.
int SaveSettings(HWND frame);

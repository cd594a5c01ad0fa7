// The saved search criteria and main-window placement, in the registry key "Settings".
#pragma once
#include <windows.h>

#include "searchdialog/RecentList.h"  // kProgramKeyPath

extern const char kSettingsSubkey[];

extern const char kPlacementDpiValue[];

// Loads the criteria into searchOptions and applies the saved placement to the frame, its rectangle
// scaled from the dpi it was saved at to dpi (0: the frame's own).
// Nonzero when the placement was applied (the window is then shown).
int RestoreSettings(HWND frame, int dpi = 0);

// Writes the criteria (only once the Search dialog was confirmed) and the placement with the dpi its
// pixels are at (0: the frame's own). Nonzero when the placement was written.
int SaveSettings(HWND frame, int dpi = 0);

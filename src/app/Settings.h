// The saved search criteria and main-window placement, in the registry key "Settings".
#pragma once
#include <windows.h>

#include "searchdialog/RecentList.h"  // kProgramKeyPath

extern const char kSettingsSubkey[];

extern const char kPlacementDpiValue[];

// Loads the criteria into searchOptions and applies the saved placement to the frame, its rectangle's size
// scaled from the dpi it was saved at to the dpi of the monitor that holds it (dpi, when nonzero, stands in
// for that monitor's). Nonzero when the placement was applied (the window is then shown).
int RestoreSettings(HWND frame, int dpi = 0);

// Where a normal rectangle saved at savedDpi comes back at dpi on a monitor whose work area is workArea (in
// the rectangle's coordinates): at the same dpi as it stands; at another, its top-left corner kept and its
// size scaled, then moved back onto the work area where it no longer fits, and cut to the work area's size.
RECT RestoredRect(const RECT& saved, int savedDpi, int dpi, const RECT& workArea);

// Writes the criteria (only once the Search dialog was confirmed) and the placement with the dpi its
// pixels are at (0: the frame's own). Nonzero when the placement was written.
int SaveSettings(HWND frame, int dpi = 0);

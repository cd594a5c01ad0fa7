// Loading and saving the criteria and placement under HKEY_CURRENT_USER.
#include "app/Settings.h"

#include "app/RegistryKey.h"
#include "framework/Dpi.h"
#include "search/SearchOptions.h"

const char kSettingsSubkey[] = "Settings";
// The dpi the pixels of "rcNormal" are at; a placement saved without it was saved at 96.
const char kPlacementDpiValue[] = "rcNormalDpi";

namespace {

void SlotName(char* name, const char* stem, int slot)
{
    wsprintfA(name, "%s%d", stem, slot + 1);
}

void LoadCriteria(RegistryKey& key)
{
    key.ReadBool("CheckSubs", &searchOptions.subfolders, 0);
    char name[16];
    for (int slot = 0; slot < kExtensionSlots; ++slot) {
        SlotName(name, "Check", slot);
        key.ReadBool(name, &searchOptions.extEnabled[slot], 0);
        SlotName(name, "Edit", slot);
        key.ReadString(name, searchOptions.extText[slot], kExtensionSize, "");
    }
    if (!key.ReadBool("AllFiles", &searchOptions.allFiles, 1)) {
        // First run: all files, with C++ sources and headers ready as the extensions.
        searchOptions.extEnabled[0] = 1;
        lstrcpynA(searchOptions.extText[0], "cpp", kExtensionSize);
        searchOptions.extEnabled[1] = 1;
        lstrcpynA(searchOptions.extText[1], "h", kExtensionSize);
    }
}

void SaveCriteria(RegistryKey& key)
{
    key.WriteByte("CheckSubs", searchOptions.subfolders);
    key.WriteByte("AllFiles", searchOptions.allFiles);
    char name[16];
    for (int slot = 0; slot < kExtensionSlots; ++slot) {
        SlotName(name, "Check", slot);
        key.WriteByte(name, searchOptions.extEnabled[slot]);
        SlotName(name, "Edit", slot);
        key.WriteString(name, searchOptions.extText[slot]);
    }
}

// A hidden or empty window must never come back from a damaged setting.
bool PlacementUsable(const WINDOWPLACEMENT& placement)
{
    if (placement.showCmd != SW_SHOWNORMAL && placement.showCmd != SW_SHOWMINIMIZED &&
        placement.showCmd != SW_SHOWMAXIMIZED)
        return false;
    const RECT& r = placement.rcNormalPosition;
    if (r.right <= r.left || r.bottom <= r.top)
        return false;
    if (r.left > GetSystemMetrics(SM_CXSCREEN) - GetSystemMetrics(SM_CXICON))
        return false;
    if (r.top > GetSystemMetrics(SM_CYSCREEN) - GetSystemMetrics(SM_CYICON))
        return false;
    return true;
}

// Below and above these a stored dpi is taken for damaged, as if there were none.
constexpr DWORD kLowestDpi = 48;
constexpr DWORD kHighestDpi = 1920;

// One axis of a rectangle grown or shrunk from its low edge: moved back inside low..high where it reaches past
// high, cut to high - low where longer.
void FitAxis(LONG& start, LONG& end, LONG low, LONG high)
{
    if (end - start > high - low) {
        start = low;
        end = high;
    } else if (end > high) {
        start -= end - high;
        end = high;
    }
}

// The monitor that holds a placement's rectangle: its dpi (0 when it cannot be had) and its work area in the
// placement's workspace coordinates, which begin at the work area's corner, not the monitor's. Found by the
// rectangle as given: workspace and screen coordinates differ by no more than a taskbar.
bool MonitorOfPlacement(const RECT& rect, int* dpi, RECT* workArea)
{
    HMONITOR monitor = MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!monitor || !GetMonitorInfoA(monitor, &info))
        return false;
    *workArea = info.rcWork;
    OffsetRect(workArea, info.rcMonitor.left - info.rcWork.left, info.rcMonitor.top - info.rcWork.top);
    *dpi = Dpi::OfMonitor(monitor);
    return true;
}

} // namespace

RECT RestoredRect(const RECT& saved, int savedDpi, int dpi, const RECT& workArea)
{
    RECT rect = saved;
    if (savedDpi <= 0 || dpi <= 0 || savedDpi == dpi)
        return rect;
    rect.right = rect.left + MulDiv(saved.right - saved.left, dpi, savedDpi);
    rect.bottom = rect.top + MulDiv(saved.bottom - saved.top, dpi, savedDpi);
    if (workArea.right > workArea.left && workArea.bottom > workArea.top) {
        FitAxis(rect.left, rect.right, workArea.left, workArea.right);
        FitAxis(rect.top, rect.bottom, workArea.top, workArea.bottom);
    }
    return rect;
}

int RestoreSettings(HWND frame, int dpi)
{
    RegistryKey key;
    if (!key.OpenKey(kProgramKeyPath, kSettingsSubkey, HKEY_CURRENT_USER))
        return 0;
    LoadCriteria(key);

    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(frame, &placement);
    DWORD flags = 0;
    DWORD showCmd = 0;
    bool read = key.ReadDword("flags", &flags, 0) && key.ReadDword("showCmd", &showCmd, 0) &&
                key.ReadBinary("rcNormal", &placement.rcNormalPosition, sizeof placement.rcNormalPosition);
    DWORD savedDpi = Dpi::kBase;
    key.ReadDword(kPlacementDpiValue, &savedDpi, Dpi::kBase);
    key.Close();
    if (!read)
        return 0;
    if (savedDpi < kLowestDpi || savedDpi > kHighestDpi)
        savedDpi = Dpi::kBase;
    placement.flags = flags;
    placement.showCmd = showCmd;
    if (!PlacementUsable(placement))
        return 0;
    // Sized for the monitor it goes back to; its corner stays where the user left it.
    int monitorDpi = 0;
    RECT workArea = {};
    if (!MonitorOfPlacement(placement.rcNormalPosition, &monitorDpi, &workArea))
        SetRectEmpty(&workArea);
    if (dpi <= 0)
        dpi = monitorDpi > 0 ? monitorDpi : Dpi::OfWindow(frame);
    placement.rcNormalPosition = RestoredRect(placement.rcNormalPosition, static_cast<int>(savedDpi), dpi, workArea);
    SetWindowPlacement(frame, &placement);
    return 1;
}

int SaveSettings(HWND frame, int dpi)
{
    RegistryKey key;
    if (!key.OpenKey(kProgramKeyPath, kSettingsSubkey, HKEY_CURRENT_USER))
        return 0;
    if (searchOptions.criteriaConfirmed)
        SaveCriteria(key);

    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(frame, &placement);
    int result = key.WriteDword("flags", placement.flags) && key.WriteDword("showCmd", placement.showCmd) &&
                 key.WriteBinary("rcNormal", &placement.rcNormalPosition, sizeof placement.rcNormalPosition) &&
                 key.WriteDword(kPlacementDpiValue, static_cast<DWORD>(dpi > 0 ? dpi : Dpi::OfWindow(frame)));
    key.Close();
    return result;
}

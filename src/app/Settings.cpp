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

void ScaleRect(RECT& rect, int from, int to)
{
    if (from == to)
        return;
    rect.left = MulDiv(rect.left, to, from);
    rect.top = MulDiv(rect.top, to, from);
    rect.right = MulDiv(rect.right, to, from);
    rect.bottom = MulDiv(rect.bottom, to, from);
}

} // namespace

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
    ScaleRect(placement.rcNormalPosition, static_cast<int>(savedDpi), dpi > 0 ? dpi : Dpi::OfWindow(frame));
    placement.flags = flags;
    placement.showCmd = showCmd;
    if (!PlacementUsable(placement))
        return 0;
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

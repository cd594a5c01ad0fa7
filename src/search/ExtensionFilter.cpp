// Decides from the search options whether a path is a file the search examines.
#include "search/ExtensionFilter.h"

#include "search/PathNames.h"
#include "search/SearchOptions.h"

#include <windows.h>

int ExtensionAccepted(const char* path)
{
    if (searchOptions.allFiles)
        return 1;
    const char* extension = GetExtension(path);
    if (!extension || extension[0] != '.' || extension[1] == '\0')
        return 0;
    for (int slot = 0; slot < kExtensionSlots; ++slot) {
        if (!searchOptions.extEnabled[slot])
            continue;
        // A bounded copy, so a slot that lost its terminator cannot run into the next one.
        char wanted[kExtensionSize];
        lstrcpynA(wanted, searchOptions.extText[slot], kExtensionSize);
        if (lstrcmpiA(extension + 1, wanted) == 0)
            return 1;
    }
    return 0;
}

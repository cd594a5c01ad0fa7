// The program's entry point and its window and search objects, constructed here in a fixed order.
#include <windows.h>

#include "app/AppFrame.h"
#include "controls/AboutWindow.h"
#include "controls/ButtonBar.h"
#include "framework/ProgramInstance.h"
#include "framework/StatusBar.h"
#include "resources/ResourceIds.h"
#include "search/FolderWalker.h"
#include "search/SearchView.h"
#include "searchdialog/SearchDialog.h"

// The objects refer to each other directly, some to ones defined further down.
extern SearchView searchView;
extern FolderWalker folderWalker;
extern SearchDialog searchDialog;

// One translation unit keeps the construction order; constructors that register a window class do so
// with the executable's own module, as the instance is stored only when WinMain runs.
ButtonBar buttonBar;
AboutWindow aboutWindow;
AppFrame appFrame(searchView, aboutWindow);
StatusBar statusBar;
SearchView searchView(buttonBar, statusBar, folderWalker, searchDialog);
FolderWalker folderWalker;
SearchDialog searchDialog(buttonBar);

namespace {
constexpr int kCommandCount = 7;
constexpr int kStatusParts = 3;
const int kStatusPartWidths[kStatusParts] = {80, 20, 12};  // in average character widths
const char kProgramTitle[] = "Seekword";
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    programInstance = instance;
    searchView.SetTitleAndCursor(kProgramTitle, IDC_MARGIN_CURSOR);
    buttonBar.Reserve(kCommandCount);
    statusBar.SetPartCount(kStatusParts);
    for (int width : kStatusPartWidths)
        statusBar.AddPart(width, 0);
    if (!appFrame.CreateFrame(searchView, buttonBar, statusBar))
        return 0;
    appFrame.Show(showCommand);
    appFrame.LoadAccelerators(IDR_ACCELERATORS);
    // The Search dialog is the first thing the user sees.
    searchView.RunSearch(1);
    return appFrame.Run();
}

// Test host: the real main frame, button bar, status bar and the program's text view, for end-to-end drivers.
//
// What a driver sees: a "MainClass" window titled "Seekword FrameHost" with the program's seven
// buttons (Find next, Next file, Copy and Edit disabled), the program's accelerator keys, an empty
// text view of class "TextWndClass" and a three-part status bar. Every WM_COMMAND that reaches the
// frame, from a button or a key, writes "command <id>" into status part 0, whether or not the
// command is enabled; the frame then gives the focus back to the view. No command runs a search.
// The close box ends the host with exit code 0.
#include <windows.h>

#include <cstdio>

#include "controls/ButtonBar.h"
#include "framework/MainFrame.h"
#include "framework/ProgramInstance.h"
#include "framework/StatusBar.h"
#include "resources/ResourceIds.h"
#include "search/FolderWalker.h"
#include "search/SearchView.h"
#include "searchdialog/SearchDialog.h"

namespace {

constexpr int kCommandCount = 7;
const int kStatusPartWidths[] = {80, 20, 12};

class HostFrame : public MainFrame {
public:
    void AdjustCreate(CREATESTRUCTA& create) override { create.lpszName = "Seekword FrameHost"; }

    void OnCommand(WPARAM wParam, LPARAM) override
    {
        char text[32];
        std::snprintf(text, sizeof(text), "command %u", static_cast<unsigned>(LOWORD(wParam)));
        statusBar->SetText(0, text);
        if (view->hwnd)
            SetFocus(view->hwnd);
    }
};

// Constructed in the program's order: bar, frame, status bar, view. The walk and the dialog are
// there only because the view is made with them; nothing here starts a search.
ButtonBar hostBar;
HostFrame hostFrame;
StatusBar hostStatus;
FolderWalker hostWalker;
SearchDialog hostDialog(hostBar);
SearchView hostView(hostBar, hostStatus, hostWalker, hostDialog);

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    programInstance = instance;
    hostView.SetTitleAndCursor("Seekword", IDC_MARGIN_CURSOR);
    hostBar.Reserve(kCommandCount);
    hostStatus.SetPartCount(sizeof(kStatusPartWidths) / sizeof(kStatusPartWidths[0]));
    for (int width : kStatusPartWidths)
        hostStatus.AddPart(width, 0);
    if (!hostFrame.CreateFrame(hostView, hostBar, hostStatus))
        return 0;
    hostFrame.Show(showCommand);
    hostFrame.LoadAccelerators(IDR_ACCELERATORS);
    return hostFrame.Run();
}

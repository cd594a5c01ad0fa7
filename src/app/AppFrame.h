// The program's main window: the seven commands, the saved settings and the program's class and caption.
#pragma once
#include "controls/MessageWindow.h"
#include "framework/MainFrame.h"

class AboutWindow;
class SearchView;

class AppFrame : public MainFrame {
public:
    AppFrame(SearchView& view, AboutWindow& about);

    int SaveState() override;
    void OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnClose() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;
    void AdjustClass(WNDCLASSA& windowClass) override;
    void AdjustCreate(CREATESTRUCTA& create) override;
    int RestoreState() override;

    // Opens the shown file: with the shell's "open", or as text in Notepad when the shell would run it by
    // its path or by its own name (ownName, which the path may give only in the short form).
    void EditFile(const char* path, const char* ownName);

private:
    SearchView& searchView;
    AboutWindow& aboutWindow;
    // Tells what the program could not do.
    MessageWindow noticeWindow;
};

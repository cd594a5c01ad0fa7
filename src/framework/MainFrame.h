// The program's top-level window: creates and lays out the button bar, view and status bar; runs the message loop.
#pragma once
#include "framework/FontHandle.h"
#include "framework/Window.h"

// The TCHAR macro of that name would rename the operation below; this program calls ...A directly.
#ifdef LoadAccelerators
#undef LoadAccelerators
#endif

class ButtonBar;
class StatusBar;

class MainFrame : public Window {
public:
    MainFrame();

    void PostDestroy() override;
    int Register() override;
    void OnClose() override;
    int OnCreate() override;
    int OnQueryEndSession() override;
    void OnSetFocus() override;
    void OnSize(WPARAM wParam, LPARAM lParam) override;

    virtual int CanClose();
    virtual void AdjustClass(WNDCLASSA& windowClass);
    virtual void AdjustCreate(CREATESTRUCTA& create);
    virtual int RestoreState();

    int CreateFrame(Window& viewWindow, ButtonBar& bar, StatusBar& status);
    void Show(int showCommand);
    int LoadAccelerators(int tableId);
    int Run();
    void Layout();

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    HACCEL accelerators;
    int clientWidth;
    int clientHeight;
    int barHeight;
    ButtonBar* buttonBar;
    StatusBar* statusBar;
    Window* view;
    // Set once CreateFrame has made every child: until then the frame has nothing worth saving.
    int ready;
    // The window's dpi, and the system font made for it (empty while the stock one suits it).
    int dpi;
    FontHandle barFont;
    // Set while Show applies the saved placement, whose rectangle is sized for its monitor's dpi already.
    int placing;

protected:
    // The message loop's source of messages: GetMessageA's result for any window of the thread.
    virtual BOOL FetchMessage(MSG& message);

private:
    int CreateFrameWindow();
    // The bar's height at the frame's dpi with the given font (null: the stock one); 0 without metrics.
    int MeasureBarHeight(HFONT font) const;
    void OnDpiChanged(WPARAM wParam, const RECT* suggested);
};

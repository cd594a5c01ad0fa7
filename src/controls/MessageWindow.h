// Self-drawn modal message window: centred text lines, an optional icon and one to three buttons.
#pragma once
#include "controls/Bevel.h"
#include "controls/PushButton.h"
#include "framework/FontHandle.h"
#include "framework/Window.h"

class MessageWindow : public Window {
public:
    static constexpr int kMaxButtons = 3;
    // Parts of the flags: the button set, the icon and the default button.
    static constexpr unsigned kButtonSetMask = 0x0F;
    static constexpr unsigned kIconMask = 0xF0;
    static constexpr unsigned kDefaultButtonMask = 0xF00;
    // At 96 dpi, as every length here; the window scales them to its dpi.
    static constexpr int kButtonWidth = 60;
    static constexpr int kButtonHeight = 30;
    static constexpr int kIconSize = 32;
    // Space beside the widest line, in widest characters.
    static constexpr int kMarginChars = 4;
    static const char kClassName[];
    static const char kOutOfMemoryText[];

    MessageWindow();

    // The chosen button's result (IDOK, IDCANCEL, IDYES, IDNO), or 0 when nothing was shown or the
    // window went away without a button.
    int ShowModal(HWND owner, const char* text, const char* title, unsigned flags, int iconId,
                  COLORREF textColour, COLORREF backColour, COLORREF edgeColour);

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int Register() override;
    void OnPaint() override;

    virtual void AfterCreate();
    virtual void CreateButtons();
    // Nonzero when the window exists afterwards.
    virtual int CreateBoxWindow();

    // Handles every waiting message; 1 when the next one is a quit request, which stays queued.
    static int PumpWaitingMessages();
    static LRESULT CALLBACK MessageButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Line walking shared by measuring and painting: a final line feed starts no further line.
    static int LineLength(const char* line);
    static const char* NextLine(const char* line);

    int running;
    HWND owner;
    HICON icon;
    int widestChar;
    int lineHeight;
    int lineCount;
    int widestLine;
    int result;
    int buttonResults[kMaxButtons];
    unsigned flags;
    COLORREF textColour;
    COLORREF backColour;
    const char* text;
    const char* title;
    RECT textRect;
    Bevel edge;
    bool ownerDisabled;
    // The dpi the window is laid out for (its owner's at first), and the system font made for it
    // (empty while the stock one suits it).
    int dpi;
    FontHandle scaledFont;

    // Shared by every message window, so only one is open at a time.
    static PushButton messageButtons[kMaxButtons];
    static int buttonCount;
    static int focusIndex;
    static WNDPROC savedButtonProcedure;
    static bool classRegistered;
    static MessageWindow* openWindow;

protected:
    // A length laid out at 96 dpi, at the window's dpi.
    int Scaled(int length) const;
    // Creates the window, or while it is laid out again for a new dpi, gives it the new size.
    int MakeBox(const char* windowTitle, int width, int height);
    void PlaceButton(int index, const char* label, int x, int y, int buttonResult);
    // The icon at the size it is laid out for, at (x, y).
    void DrawIconAt(HDC dc, int x, int y) const;
    // Each line of the shown text centred between left and right, one line height apart from top.
    void DrawTextLines(HDC dc, int left, int right, int top) const;

private:
    // Measures the caller's text in the font (null: the stock one) and sets the text rectangle's sides.
    int Measure(HFONT font);
    void LoadIconForDpi();
    void ReleaseIcon();
    void OnDpiChanged(WPARAM wParam, const RECT* suggested);
    void OnCreateBox();
    void OnButtonCommand(WPARAM wParam);
    void EnableOwner();
    void ReleaseText();
    int EndShow();

    const char* measuredText;
    int iconResource;
    bool iconOwned;
    bool relayingOut;
};

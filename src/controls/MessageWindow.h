// Self-drawn modal message window: centred text lines, an optional icon and one to three buttons.
#pragma once
#include "controls/Bevel.h"
#include "controls/PushButton.h"
#include "framework/Window.h"

class MessageWindow : public Window {
public:
    static constexpr int kMaxButtons = 3;
    // Parts of the flags: the button set, the icon and the default button.
    static constexpr unsigned kButtonSetMask = 0x0F;
    static constexpr unsigned kIconMask = 0xF0;
    static constexpr unsigned kDefaultButtonMask = 0xF00;
    static constexpr int kButtonWidth = 60;
    static constexpr int kButtonHeight = 30;
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

    // Shared by every message window, so only one is open at a time.
    static PushButton messageButtons[kMaxButtons];
    static int buttonCount;
    static int focusIndex;
    static WNDPROC savedButtonProcedure;
    static bool classRegistered;
    static MessageWindow* openWindow;

protected:
    void PlaceButton(int index, const char* label, int x, int y, int buttonResult);
    // Each line of the shown text centred between left and right, one line height apart from top.
    void DrawTextLines(HDC dc, int left, int right, int top) const;

private:
    void OnCreateBox();
    void OnButtonCommand(WPARAM wParam);
    void EnableOwner();
    void ReleaseText();
    int EndShow();
};

// Message windows, general layout: the window's size, the button row and the painting.
#include "controls/MessageWindow.h"

namespace {

// At 96 dpi, as every length here.
constexpr int kFrameExtra = 16;
constexpr int kTextBottomPad = 8;
constexpr int kExtraLines = 6;
constexpr int kButtonRowLines = 2;
constexpr int kIconX = 16;
constexpr int kTextInset = 3;
constexpr int kEdgeWidth = 1;

struct ButtonPlace {
    const char* label;
    int offset; // left edge relative to the client's centre
    int result;
};

const ButtonPlace kOkOnly[] = {{"&Ok", -30, IDOK}};
const ButtonPlace kOkCancel[] = {{"&Ok", -70, IDOK}, {"&Cancel", 10, IDCANCEL}};
const ButtonPlace kYesNo[] = {{"&Yes", -70, IDYES}, {"&No", 10, IDNO}};
const ButtonPlace kYesNoCancel[] = {{"&Yes", -100, IDYES}, {"&No", -30, IDNO}, {"&Cancel", 40, IDCANCEL}};

} // namespace

int MessageWindow::CreateBoxWindow()
{
    textRect.top = lineHeight;
    textRect.bottom = lineHeight * (lineCount + 1) + Scaled(kTextBottomPad);
    style = WS_POPUP | WS_VISIBLE | WS_CAPTION;
    return MakeBox(title, textRect.right + Scaled(kFrameExtra), lineHeight * (lineCount + kExtraLines));
}

void MessageWindow::PlaceButton(int index, const char* label, int x, int y, int buttonResult)
{
    const int width = Scaled(kButtonWidth);
    const int height = Scaled(kButtonHeight);
    if (relayingOut) {
        SetWindowPos(messageButtons[index].hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (messageButtons[index].Create(hwnd, 0, label, x, y, width, height) && scaledFont.Get()) {
        SendMessageA(messageButtons[index].hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(scaledFont.Get()), FALSE);
    }
    buttonResults[index] = buttonResult;
}

void MessageWindow::CreateButtons()
{
    const ButtonPlace* places = kOkOnly;
    int count = 1;
    switch (flags & kButtonSetMask) {
    case MB_OKCANCEL: places = kOkCancel; count = 2; break;
    case MB_YESNO: places = kYesNo; count = 2; break;
    case MB_YESNOCANCEL: places = kYesNoCancel; count = 3; break;
    default: break;
    }

    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    int centre = client.right / 2;
    int y = client.bottom - kButtonRowLines * lineHeight;
    for (int i = 0; i < kMaxButtons; ++i)
        buttonResults[i] = 0;
    for (int i = 0; i < count; ++i)
        PlaceButton(i, places[i].label, centre + Scaled(places[i].offset), y, places[i].result);
    buttonCount = count;
}

// In the system font made for the window's dpi, where there is one.
void MessageWindow::DrawTextLines(HDC dc, int left, int right, int top) const
{
    HGDIOBJ previousFont = scaledFont.Get() ? SelectObject(dc, scaledFont.Get()) : nullptr;
    int y = top;
    for (const char* line = text && *text ? text : nullptr; line; line = NextLine(line)) {
        int length = LineLength(line);
        SIZE size = {0, 0};
        if (length > 0)
            GetTextExtentPoint32A(dc, line, length, &size);
        TextOutA(dc, left + (right - left - size.cx) / 2, y, line, length);
        y += lineHeight;
    }
    if (previousFont)
        SelectObject(dc, previousFont);
}

void MessageWindow::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    if (!dc)
        return;

    HBRUSH back = CreateSolidBrush(backColour);
    if (back) {
        FillRect(dc, &paint.rcPaint, back);
        DeleteObject(back);
    }

    if (icon) {
        DrawIconAt(dc, Scaled(kIconX), textRect.top + (textRect.bottom - textRect.top) / 2 - Scaled(kIconSize) / 2);
        edge.SetFromRect(textRect);
        edge.thickness = Scaled(kEdgeWidth);
        edge.Draw(dc);
    }

    SetTextColor(dc, textColour);
    SetBkColor(dc, backColour);
    DrawTextLines(dc, textRect.left, textRect.right, textRect.top + Scaled(kTextInset));

    EndPaint(hwnd, &paint);
}

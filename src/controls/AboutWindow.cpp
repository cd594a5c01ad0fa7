// The About window's layout: a disc-shaped window, its single button and its painting.
#include "controls/AboutWindow.h"

namespace {

// Pixel lengths at 96 dpi.
constexpr int kExtraLines = 8;
constexpr int kButtonRowLines = 3;
constexpr int kRimWidth = 3;
constexpr COLORREF kRimColour = RGB(255, 0, 0);
// Bounding box of the rim: (kRimNear, kRimNear) to (width - kRimFar, height - kRimFar).
constexpr int kRimNear = 1;
constexpr int kRimFar = 2;
constexpr int kIconTop = 18;
constexpr int kTextTopExtra = 32;

} // namespace

AboutWindow::AboutWindow() : discWidth(0), discHeight(0) {}

int AboutWindow::CreateBoxWindow()
{
    style = WS_POPUP | WS_VISIBLE;
    return MakeBox("", widestLine + kMarginChars * widestChar, (lineCount + kExtraLines) * lineHeight);
}

void AboutWindow::CreateButtons()
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    discWidth = client.right + 1;
    discHeight = client.bottom + 1;

    // The system owns the region once the window has it.
    HRGN disc = CreateEllipticRgn(0, 0, discWidth, discHeight);
    if (disc && !SetWindowRgn(hwnd, disc, TRUE))
        DeleteObject(disc);
    SetWindowPos(hwnd, nullptr, 0, 0, discWidth, discHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    for (int i = 0; i < kMaxButtons; ++i)
        buttonResults[i] = 0;
    PlaceButton(0, "&Ok", client.right / 2 - Scaled(kButtonWidth) / 2, client.bottom - kButtonRowLines * lineHeight,
                IDOK);
    buttonCount = 1;
}

void AboutWindow::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    if (!dc)
        return;

    // No background fill: the region clips the window to the disc and the ellipse paints all of it.
    HBRUSH face = CreateSolidBrush(backColour);
    HPEN rim = CreatePen(PS_SOLID, Scaled(kRimWidth), kRimColour);
    if (face && rim) {
        HGDIOBJ previousBrush = SelectObject(dc, face);
        HGDIOBJ previousPen = SelectObject(dc, rim);
        Ellipse(dc, Scaled(kRimNear), Scaled(kRimNear), discWidth - Scaled(kRimFar), discHeight - Scaled(kRimFar));
        SelectObject(dc, previousPen);
        SelectObject(dc, previousBrush);
    }
    if (face)
        DeleteObject(face);
    if (rim)
        DeleteObject(rim);

    if (icon)
        DrawIconAt(dc, discWidth / 2 - Scaled(kIconSize) / 2, Scaled(kIconTop));

    SetTextColor(dc, textColour);
    SetBkColor(dc, backColour);
    DrawTextLines(dc, 0, discWidth, 2 * lineHeight + Scaled(kTextTopExtra));

    EndPaint(hwnd, &paint);
}

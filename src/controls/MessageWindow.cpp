// Message windows: measuring, the modal wait and the window procedure.
#include "controls/MessageWindow.h"

#include <new>

#include "framework/DisplayInfo.h"
#include "framework/Dpi.h"
#include "framework/ProgramInstance.h"
#include "searchdialog/CentreWindow.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kTextLeftWithIcon = 64;
constexpr int kTextLeftPlain = 8;
// The copy keeps a spare byte after the terminator.
constexpr int kCopySlack = 2;
// Where a drag by the face says it started, as the caption would.
constexpr int kDragPointX = 5;
constexpr int kDragPointY = 5;

// Lowest width the button row needs, in line heights.
int MinimumWidth(unsigned buttonSet, int lineHeight)
{
    switch (buttonSet) {
    case MB_OKCANCEL:
    case MB_YESNO:
        return 10 * lineHeight;
    case MB_YESNOCANCEL:
        return 13 * lineHeight;
    default:
        return 0;
    }
}

// The system icon the flags name, or null to use the program's own.
const char* SystemIconName(unsigned iconBits)
{
    switch (iconBits) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
    }
}

int TextWidth(HDC dc, const char* line, int length)
{
    SIZE size = {0, 0};
    if (length > 0 && !GetTextExtentPoint32A(dc, line, length, &size))
        return 0;
    return size.cx;
}

} // namespace

const char MessageWindow::kClassName[] = "CMSGCLASS";
const char MessageWindow::kOutOfMemoryText[] = "Out of memory";

PushButton MessageWindow::messageButtons[MessageWindow::kMaxButtons];
int MessageWindow::buttonCount = 0;
int MessageWindow::focusIndex = 0;
WNDPROC MessageWindow::savedButtonProcedure = nullptr;
bool MessageWindow::classRegistered = false;
MessageWindow* MessageWindow::openWindow = nullptr;

MessageWindow::MessageWindow()
    : running(0), owner(nullptr), icon(nullptr), widestChar(0), lineHeight(0), lineCount(0),
      widestLine(0), result(0), buttonResults{0, 0, 0}, flags(0), textColour(0), backColour(0),
      text(nullptr), title(nullptr), textRect{0, 0, 0, 0}, ownerDisabled(false), dpi(Dpi::kBase),
      measuredText(nullptr), iconResource(0), iconOwned(false), relayingOut(false)
{
    Register();
}

int MessageWindow::Register()
{
    if (classRegistered)
        return 0;
    WNDCLASSA windowClass = FrameworkClass(kClassName, CS_HREDRAW | CS_VREDRAW);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    if (!RegisterClassA(&windowClass))
        return 0;
    classRegistered = true;
    return 1;
}

int MessageWindow::LineLength(const char* line)
{
    int length = 0;
    while (line[length] && line[length] != '\n')
        ++length;
    return length;
}

const char* MessageWindow::NextLine(const char* line)
{
    const char* end = line + LineLength(line);
    if (!*end || !end[1])
        return nullptr;
    return end + 1;
}

int MessageWindow::ShowModal(HWND ownerWindow, const char* message, const char* caption, unsigned boxFlags,
                             int iconId, COLORREF textColourArg, COLORREF backColourArg, COLORREF edgeColour)
{
    // The buttons, focus index and saved procedure are shared: a second window would take them over.
    if (openWindow)
        return 0;
    openWindow = this;
    if (!message)
        message = "";
    if (!caption)
        caption = "";

    owner = ownerWindow;
    ownerDisabled = false;
    flags = boxFlags;
    textColour = textColourArg;
    backColour = backColourArg;
    running = 1;
    result = 0;
    icon = nullptr;
    edge.highlight = kWhite;
    edge.shadow = edgeColour;

    int length = lstrlenA(message);
    char* copy = new (std::nothrow) char[length + kCopySlack];
    if (copy) {
        lstrcpynA(copy, message, length + 1);
        copy[length + 1] = '\0';
        text = copy;
    } else {
        text = kOutOfMemoryText;
    }
    title = caption;

    // Laid out for the owner's screen, in a system font made for its dpi.
    dpi = owner ? Dpi::OfWindow(owner) : Dpi::System();
    measuredText = message;
    iconResource = iconId;
    HFONT font = Dpi::CreateScaledFont(GetStockObject(SYSTEM_FONT), dpi);
    scaledFont.Reset(font);
    if (!Measure(font))
        return EndShow();

    CreateBoxWindow();
    AfterCreate();
    if (!hwnd || !IsWindow(hwnd))
        return EndShow();
    LoadIconForDpi();

    if (owner) {
        EnableWindow(owner, FALSE);
        ownerDisabled = true;
    }

    // Sleep until something arrives; the window's destruction or a quit request also ends the wait.
    while (running) {
        if (PumpWaitingMessages())
            break;
        if (running)
            WaitMessage();
    }
    if (hwnd) {
        EnableOwner();
        Destroy();
    }
    return EndShow();
}

int MessageWindow::Measure(HFONT font)
{
    DisplayInfo display(font);
    HDC info = display.Get();
    TEXTMETRICA metrics;
    const int measured = display.Metrics(metrics);
    if (measured) {
        widestChar = metrics.tmMaxCharWidth;
        lineHeight = metrics.tmHeight + metrics.tmExternalLeading;

        // The size follows the caller's text even when the copy could not be made.
        lineCount = 0;
        widestLine = 0;
        for (const char* line = *measuredText ? measuredText : nullptr; line; line = NextLine(line)) {
            int width = TextWidth(info, line, LineLength(line));
            if (width > widestLine)
                widestLine = width;
            ++lineCount;
        }

        if (SystemIconName(flags & kIconMask) || iconResource != 0) {
            textRect.left = Scaled(kTextLeftWithIcon);
        } else {
            int titleWidth = TextWidth(info, title, lstrlenA(title));
            if (titleWidth > widestLine)
                widestLine = titleWidth;
            textRect.left = Scaled(kTextLeftPlain);
        }
        textRect.right = widestLine + kMarginChars * widestChar + textRect.left;
        int minimumWidth = MinimumWidth(flags & kButtonSetMask, lineHeight);
        if (textRect.right < minimumWidth)
            textRect.right = minimumWidth;
    }
    return measured;
}

int MessageWindow::Scaled(int length) const
{
    return Dpi::Scale(length, dpi);
}

void MessageWindow::LoadIconForDpi()
{
    ReleaseIcon();
    icon = nullptr;
    const char* systemIcon = SystemIconName(flags & kIconMask);
    if (!systemIcon && iconResource == 0)
        return;
    HINSTANCE source = systemIcon ? nullptr : ProgramInstance();
    const char* name = systemIcon ? systemIcon : MAKEINTRESOURCEA(iconResource);
    const int size = Scaled(kIconSize);
    if (size != GetSystemMetrics(SM_CXICON)) {
        // At another size than the system's the icon is a copy of its own, from the image nearest the size.
        icon = static_cast<HICON>(LoadImageA(source, name, IMAGE_ICON, size, size, 0));
        iconOwned = icon != nullptr;
    }
    if (!icon)
        icon = LoadIconA(source, name);
}

void MessageWindow::ReleaseIcon()
{
    if (iconOwned && icon) {
        DestroyIcon(icon);
        icon = nullptr;
    }
    iconOwned = false;
}

void MessageWindow::DrawIconAt(HDC dc, int x, int y) const
{
    const int size = Scaled(kIconSize);
    DrawIconEx(dc, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
}

int MessageWindow::MakeBox(const char* windowTitle, int width, int height)
{
    if (relayingOut)
        return SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return CreateHandle(kClassName, owner, nullptr, windowTitle, 0, 0, width, height);
}

void MessageWindow::OnDpiChanged(WPARAM wParam, const RECT* suggested)
{
    const int newDpi = Dpi::FromMessage(wParam);
    if (!newDpi || !hwnd)
        return;
    dpi = newDpi;
    HFONT font = Dpi::CreateScaledFont(GetStockObject(SYSTEM_FONT), dpi);
    if (!Measure(font)) {
        if (font)
            DeleteObject(font);
        return;
    }
    // The buttons take the new font before the old one goes.
    for (int i = 0; i < buttonCount; ++i) {
        if (messageButtons[i].hwnd)
            SendMessageA(messageButtons[i].hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    scaledFont.Reset(font);
    relayingOut = true;
    CreateBoxWindow();
    CreateButtons();
    relayingOut = false;
    if (suggested)
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    LoadIconForDpi();
    InvalidateRect(hwnd, nullptr, TRUE);
}

int MessageWindow::EndShow()
{
    EnableOwner();
    ReleaseText();
    ReleaseIcon();
    measuredText = nullptr;
    running = 0;
    openWindow = nullptr;
    return result;
}

void MessageWindow::EnableOwner()
{
    if (!ownerDisabled)
        return;
    ownerDisabled = false;
    EnableWindow(owner, TRUE);
}

void MessageWindow::ReleaseText()
{
    if (text != kOutOfMemoryText)
        delete[] const_cast<char*>(text);
    text = nullptr;
}

int MessageWindow::PumpWaitingMessages()
{
    MSG message;
    // Once a button is chosen, what follows (keys typed ahead included) is for the main loop,
    // which translates the accelerators.
    while ((!openWindow || openWindow->running) && PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        if (message.message == WM_QUIT)
            return 1;
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            // A quit request slipped in ahead of what was seen: put it back for the main loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            return 1;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

void MessageWindow::AfterCreate() {}

LRESULT MessageWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreateBox();
        return 0;
    case WM_SETFOCUS:
        if (focusIndex < buttonCount && messageButtons[focusIndex].hwnd)
            SetFocus(messageButtons[focusIndex].hwnd);
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_CLOSE:
        // The owner first, so activation goes back to it when this window disappears.
        EnableOwner();
        Destroy();
        return 0;
    case WM_DESTROY:
        // However the window goes, the wait must not outlive it.
        EnableOwner();
        running = 0;
        return 0;
    case WM_NCDESTROY: {
        // Destroyed from outside or with its owner: forget the handle so the next display creates anew.
        HWND gone = hwnd;
        hwnd = nullptr;
        return DefWindowProcA(gone, message, wParam, lParam);
    }
    case WM_COMMAND:
        OnButtonCommand(wParam);
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(wParam, reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(kDragPointX, kDragPointY));
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

void MessageWindow::OnCreateBox()
{
    CreateButtons();

    switch (flags & kDefaultButtonMask) {
    case MB_DEFBUTTON2: focusIndex = 1; break;
    case MB_DEFBUTTON3: focusIndex = 2; break;
    default: focusIndex = 0; break;
    }
    // A default button beyond the set would point at a button of an earlier window.
    if (focusIndex >= buttonCount)
        focusIndex = 0;
    if (messageButtons[focusIndex].hwnd)
        SetFocus(messageButtons[focusIndex].hwnd);

    savedButtonProcedure = messageButtons[0].hwnd
        ? reinterpret_cast<WNDPROC>(GetWindowLongPtrA(messageButtons[0].hwnd, GWLP_WNDPROC))
        : nullptr;
    for (int i = 0; i < buttonCount; ++i) {
        if (messageButtons[i].hwnd)
            SetWindowLongPtrA(messageButtons[i].hwnd, GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(MessageButtonProc));
    }

    CentreWindow(hwnd);
}

// Message windows: measuring, the modal wait and the window procedure.
#include "controls/MessageWindow.h"

#include <new>

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
      text(nullptr), title(nullptr), textRect{0, 0, 0, 0}, ownerDisabled(false)
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

    HDC info = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    TEXTMETRICA metrics;
    if (!info || !GetTextMetricsA(info, &metrics)) {
        if (info)
            DeleteDC(info);
        return EndShow();
    }
    widestChar = metrics.tmMaxCharWidth;
    lineHeight = metrics.tmHeight + metrics.tmExternalLeading;

    // The size follows the caller's text even when the copy could not be made.
    lineCount = 0;
    widestLine = 0;
    for (const char* line = *message ? message : nullptr; line; line = NextLine(line)) {
        int width = TextWidth(info, line, LineLength(line));
        if (width > widestLine)
            widestLine = width;
        ++lineCount;
    }

    const char* systemIcon = SystemIconName(flags & kIconMask);
    bool hasIcon = systemIcon || iconId != 0;
    if (hasIcon) {
        textRect.left = kTextLeftWithIcon;
    } else {
        int titleWidth = TextWidth(info, title, lstrlenA(title));
        if (titleWidth > widestLine)
            widestLine = titleWidth;
        textRect.left = kTextLeftPlain;
    }
    textRect.right = widestLine + kMarginChars * widestChar + textRect.left;
    int minimumWidth = MinimumWidth(flags & kButtonSetMask, lineHeight);
    if (textRect.right < minimumWidth)
        textRect.right = minimumWidth;
    DeleteDC(info);

    CreateBoxWindow();
    AfterCreate();
    if (!hwnd || !IsWindow(hwnd))
        return EndShow();

    if (systemIcon)
        icon = LoadIconA(nullptr, systemIcon);
    else if (iconId != 0)
        icon = LoadIconA(ProgramInstance(), MAKEINTRESOURCEA(iconId));

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

int MessageWindow::EndShow()
{
    EnableOwner();
    ReleaseText();
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

// The button bar: lays out the command buttons, forwards their clicks to the main window, paints its edges.
#include "controls/ButtonBar.h"

#include <new>

#include "framework/Dpi.h"

namespace {
const char kBarClass[] = "BtnBarClass";
constexpr DWORD kBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr int kFirstButtonX = 2;
constexpr int kButtonTop = 3;
constexpr int kButtonGap = 3;
// Buttons leave kButtonTop above and as much below them.
constexpr int kButtonInset = 2 * kButtonTop;

bool barClassRegistered = false;
}

ButtonBar::ButtonBar()
    : capacity(0), nextX(0), count(0), barHeight(0), commandIds(nullptr), buttons(nullptr), shown(1),
      dpi(Dpi::kBase), buttonFont(nullptr), baseWidths(nullptr)
{
    style = kBarStyle;
    Register();
}

ButtonBar::~ButtonBar()
{
    delete[] buttons;
    delete[] commandIds;
    delete[] baseWidths;
}

int ButtonBar::Register()
{
    if (barClassRegistered)
        return 0;
    WNDCLASSA wc = FrameworkClass(kBarClass, CS_BYTEALIGNWINDOW);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    if (!RegisterClassA(&wc))
        return 0;
    barClassRegistered = true;
    return 1;
}

int ButtonBar::Reserve(int slots)
{
    // Buttons already bound to windows must not lose their objects.
    if (count > 0 || slots <= 0)
        return 0;
    delete[] buttons;
    delete[] commandIds;
    delete[] baseWidths;
    buttons = new (std::nothrow) PushButton[slots];
    commandIds = buttons ? new (std::nothrow) int[slots]() : nullptr;
    baseWidths = commandIds ? new (std::nothrow) int[slots]() : nullptr;
    nextX = Dpi::Scale(kFirstButtonX, dpi);
    if (!buttons || !commandIds || !baseWidths) {
        // Without all three arrays the bar takes no buttons at all.
        delete[] buttons;
        delete[] commandIds;
        buttons = nullptr;
        commandIds = nullptr;
        capacity = 0;
        return 0;
    }
    capacity = slots;
    return 1;
}

int ButtonBar::CreateBar(HWND parent, int x, int y, int width, int height)
{
    if (!CreateHandle(kBarClass, parent, nullptr, "", x, y, width, height))
        return 0;
    barHeight = height;
    ShowWindow(hwnd, shown ? SW_SHOW : SW_HIDE);
    return 1;
}

int ButtonBar::AddButton(const char* label, int width, int commandId, int disabled)
{
    if (count >= capacity || !hwnd)
        return 0;
    PushButton& button = buttons[count];
    const int scaledWidth = Dpi::Scale(width, dpi);
    if (!button.Create(hwnd, commandId, label, nextX, Dpi::Scale(kButtonTop, dpi), scaledWidth,
                       barHeight - Dpi::Scale(kButtonInset, dpi)))
        return 0;
    if (buttonFont)
        SendMessageA(button.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont), FALSE);
    if (disabled)
        EnableWindow(button.hwnd, FALSE);
    commandIds[count] = commandId;
    baseWidths[count] = width;
    ++count;
    nextX += scaledWidth + Dpi::Scale(kButtonGap, dpi);
    return 1;
}

void ButtonBar::Rescale(int newDpi, HFONT font, int height)
{
    dpi = newDpi > 0 ? newDpi : Dpi::kBase;
    buttonFont = font;
    barHeight = height;
    nextX = Dpi::Scale(kFirstButtonX, dpi);
    for (int i = 0; i < count; ++i)
        PlaceButton(i);
    if (hwnd)
        InvalidateRect(hwnd, nullptr, TRUE);
}

void ButtonBar::PlaceButton(int index)
{
    HWND button = buttons[index].hwnd;
    const int width = Dpi::Scale(baseWidths[index], dpi);
    SetWindowPos(button, nullptr, nextX, Dpi::Scale(kButtonTop, dpi), width, barHeight - Dpi::Scale(kButtonInset, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // Null hands the button back to the system's font.
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont), TRUE);
    nextX += width + Dpi::Scale(kButtonGap, dpi);
}

PushButton* ButtonBar::FindButton(int commandId)
{
    for (int i = 0; i < count; ++i) {
        if (commandIds[i] == commandId)
            return &buttons[i];
    }
    return nullptr;
}

void ButtonBar::EnableCommand(int commandId, int enable)
{
    if (PushButton* button = FindButton(commandId))
        EnableWindow(button->hwnd, enable ? TRUE : FALSE);
}

int ButtonBar::IsCommandEnabled(int commandId)
{
    PushButton* button = FindButton(commandId);
    return button && IsWindowEnabled(button->hwnd) ? 1 : 0;
}

void ButtonBar::Paint()
{
    RECT client;
    GetClientRect(hwnd, &client);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc) {
        HPEN frame = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWFRAME));
        HPEN highlight = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
        HGDIOBJ previous = nullptr;
        if (frame) {
            previous = SelectObject(dc, frame);
            MoveToEx(dc, client.left, client.bottom - 1, nullptr);
            LineTo(dc, client.right, client.bottom - 1);
        }
        if (highlight) {
            HGDIOBJ before = SelectObject(dc, highlight);
            if (!previous)
                previous = before;
            MoveToEx(dc, client.left, client.top, nullptr);
            LineTo(dc, client.right, client.top);
        }
        if (previous)
            SelectObject(dc, previous);
        if (frame)
            DeleteObject(frame);
        if (highlight)
            DeleteObject(highlight);
    }
    EndPaint(hwnd, &ps);
}

LRESULT ButtonBar::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFOCUS:
        // The bar never keeps the focus: the main window hands it on to the view.
        SetFocus(GetParent(hwnd));
        break;
    case WM_PAINT:
        if (!shown) {
            // Validate anyway, or the system would ask again and again.
            ValidateRect(hwnd, nullptr);
            return 0;
        }
        Paint();
        return 0;
    case WM_NOTIFY:
        SendMessageA(GetParent(hwnd), WM_NOTIFY, wParam, lParam);
        break;
    case WM_COMMAND: {
        const int code = HIWORD(wParam);
        const int controlId = LOWORD(wParam);
        HWND child = reinterpret_cast<HWND>(lParam);
        // Only the bar's own buttons carry a control object; another window named here is not acted on.
        if (child && GetParent(child) != hwnd)
            return 0;
        if (child) {
            Control* control = reinterpret_cast<Control*>(GetWindowLongPtrA(child, GWLP_USERDATA));
            if (control && control->OnReflectedCommand(code, controlId))
                return 0;
        }
        if (code == BN_CLICKED)
            SendMessageA(GetParent(hwnd), WM_COMMAND, static_cast<WPARAM>(controlId), reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

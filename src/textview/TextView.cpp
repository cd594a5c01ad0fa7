// The text view's construction, window class, creation and its own window procedure.
#include "textview/TextView.h"

#include "framework/Dpi.h"
#include "framework/ProgramInstance.h"
#include "textview/KeyBinding.h"

namespace {
const char kTextViewClass[] = "TextWndClass";
constexpr DWORD kTextViewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL;
}

int TextView::shiftDown = 0;
int TextView::ctrlDown = 0;
int TextView::altDown = 0;
int TextView::pendingKeyCount = 0;
int TextView::pendingKeys[3] = {0, 0, 0};
int TextView::dragging = 0;
int TextView::anchorLine = 0;
int TextView::anchorIndex = 0;
int TextView::autoScrollDirection = 0;

TextView::TextView()
    : hasSelection(0), clientWidth(0), clientHeight(0), charWidth(0), lineHeight(0), topLine(0),
      leftColumn(0), maxLeftColumn(0), cursorColumn(0), cursorRow(0), visibleColumns(0), visibleRows(0),
      lineCount(0), keyBindingCount(0), selStartLine(0), selStartIndex(0), selEndLine(0), selEndIndex(0),
      maxTopLine(0), wheelLines(kWheelLines), marginCursorId(0), textColor(0), backColor(0),
      highlightTextColor(0), highlightBackColor(0), memoryDC(nullptr), backBrush(nullptr), font(nullptr),
      paintingDeferred(0), paintPending(0), pieceLine(0), pieceStart(0), pieceLastLine(0), pieceEnd(0),
      maxLineLength(kMaxLineLength), tabWidth(kTabWidth), marginWidth(0), textCursor(nullptr),
      marginCursor(nullptr), keyBindings(nullptr), lineCapacity(0), bufferCapacity(0), bytesRead(0),
      title(nullptr), buffer(nullptr), memoryBitmap(nullptr), oldBitmap(nullptr), oldFont(nullptr), dpi(Dpi::kBase),
      bitmapWidth(0), bitmapHeight(0)
{
    style = kTextViewStyle;
    Register();
}

TextView::~TextView()
{
    // A window still bound to this object would otherwise reach freed memory through its user data.
    if (hwnd && IsWindow(hwnd) &&
        GetWindowLongPtrA(hwnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        DestroyWindow(hwnd);
    ReleaseGdiObjects();
    if (buffer)
        GlobalFree(buffer);
    ReleasePartBuffers();
}

int TextView::Register()
{
    static int registered = 0;
    if (registered)
        return 0;
    // No cursor: the view sets it itself; no erasing: every copy covers the whole client area.
    WNDCLASSA wc = FrameworkClass(kTextViewClass, CS_DBLCLKS);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    registered = RegisterClassA(&wc) != 0;
    return registered;
}

int TextView::Create(HWND parent, int id, const char* windowTitle, int x, int y, int width, int height)
{
    if (!CreateHandle(kTextViewClass, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), windowTitle,
                      x, y, width, height))
        return 0;
    marginCursor = LoadCursorA(ProgramInstance(), MAKEINTRESOURCEA(marginCursorId));
    textCursor = LoadCursorA(nullptr, IDC_IBEAM);
    return 1;
}

void TextView::CursorLineChanged() {}
void TextView::CursorLineChanging() {}

void TextView::UpdateCaret()
{
    SetCaretPos(marginWidth + cursorColumn * charWidth, cursorRow * lineHeight);
}

void TextView::OnTextChar(WPARAM) {}
void TextView::OnDoubleClick() {}
void TextView::OnLongLineSplit() {}

LRESULT TextView::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_DESTROY:
        AbandonDrag();
        ReleaseGdiObjects();
        return 0;
    case WM_SIZE:
        clientWidth = LOWORD(lParam);
        clientHeight = HIWORD(lParam);
        UpdateLayout();
        Redraw();
        return 0;
    case WM_SETFOCUS:
        ClearModifiers();
        OnSetFocus();
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus();
        return 0;
    case WM_PAINT:
        OnViewPaint();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_KEYDOWN:
        OnKeyPressed(wParam);
        return 0;
    case WM_SYSKEYDOWN:
        OnKeyPressed(wParam);
        // Alt+F4 must still close the main window while the view has the focus.
        if (wParam == VK_F4)
            return DefWindowProcA(hwnd, message, wParam, lParam);
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        OnKeyReleased(wParam);
        return 0;
    case WM_CHAR:
        OnTextChar(wParam);
        return 0;
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        return 0;
    case WM_SYSCOMMAND:
        ClearModifiers();
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_TIMER:
        if (wParam == 0 || wParam == kAutoScrollTimer)
            AutoScrollStep();
        else
            OnTimer(wParam);
        return 0;
    case WM_HSCROLL:
        ScrollHorizontally(wParam);
        return 0;
    case WM_VSCROLL:
        ScrollVertically(wParam);
        return 0;
    case WM_MOUSEMOVE:
        OnViewMouseMove(lParam);
        return 0;
    case WM_LBUTTONDOWN:
        OnViewButtonDown(lParam);
        return 0;
    case WM_LBUTTONUP:
        FinishDrag(1);
        return 0;
    case WM_CAPTURECHANGED:
        // Losing the capture (another window took it, a modal loop started) ends the drag as a release would.
        if (reinterpret_cast<HWND>(lParam) != hwnd)
            FinishDrag(0);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick();
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam, lParam);
        return 0;
    case WM_DPICHANGED:
        // From the main window, which has it from the system.
        OnDpiChanged(Dpi::FromMessage(wParam));
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

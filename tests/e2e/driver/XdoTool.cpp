// xdotool driven through UnixCommand.
#include "driver/XdoTool.h"

#include "driver/HostPaths.h"
#include "driver/UnixCommand.h"
#include "driver/WindowState.h"

namespace e2e {

namespace {

const char kXdoTool[] = "/usr/bin/xdotool";
// Wine keeps the X window of every top-level window in this property.
const char kWholeWindowProperty[] = "__wine_x11_whole_window";

bool Run(std::initializer_list<std::string> arguments)
{
    std::vector<std::string> argv = {kXdoTool};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return UnixCommand::Run(argv) == 0;
}

} // namespace

bool XdoTool::Available()
{
    return UnixCommand::Available() &&
           GetFileAttributesA(ToWindowsPath(kXdoTool).c_str()) != INVALID_FILE_ATTRIBUTES;
}

unsigned long XdoTool::XWindowOf(HWND window)
{
    HWND top = GetAncestor(window, GA_ROOT);
    return top ? static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(GetPropA(top, kWholeWindowProperty)))
               : 0;
}

bool XdoTool::PressKeys(HWND window, const std::string& keys)
{
    unsigned long xid = XWindowOf(window);
    if (!xid)
        return false;
    // The Win32 foreground follows the X focus; both are waited for before the keys go out.
    if (!Run({"windowfocus", "--sync", std::to_string(xid)}) || !BringToFront(window))
        return false;
    // "alt+k" goes out as keydown alt, key k, keyup alt. xdotool's own chord releases Alt before
    // k, and Wine's default window procedure then enters the system menu when k was an
    // accelerator, swallowing the keys that follow.
    std::vector<std::string> argv = {kXdoTool};
    std::vector<std::string> modifiers;
    size_t start = 0;
    for (size_t plus = keys.find('+'); plus != std::string::npos; plus = keys.find('+', start)) {
        modifiers.push_back(keys.substr(start, plus - start));
        start = plus + 1;
    }
    for (const std::string& modifier : modifiers)
        argv.insert(argv.end(), {"keydown", modifier});
    argv.insert(argv.end(), {"key", keys.substr(start)});
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
        argv.insert(argv.end(), {"keyup", *it});
    return UnixCommand::Run(argv) == 0;
}

bool XdoTool::Type(HWND window, const std::string& text)
{
    unsigned long xid = XWindowOf(window);
    if (!xid || !Run({"windowfocus", "--sync", std::to_string(xid)}) || !BringToFront(window))
        return false;
    return Run({"type", "--delay", "10", text});
}

bool XdoTool::ClickAt(int x, int y, int button)
{
    return Run({"mousemove", "--sync", std::to_string(x), std::to_string(y), "click", std::to_string(button)});
}

bool XdoTool::Drag(int fromX, int fromY, int toX, int toY)
{
    const int midX = (fromX + toX) / 2;
    const int midY = (fromY + toY) / 2;
    return Run({"mousemove", "--sync", std::to_string(fromX), std::to_string(fromY), "mousedown", "1",
                "mousemove", "--sync", std::to_string(midX), std::to_string(midY),
                "mousemove", "--sync", std::to_string(toX), std::to_string(toY), "mouseup", "1"});
}

} // namespace e2e

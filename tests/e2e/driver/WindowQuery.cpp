// Window lookup by enumeration, so a search can be limited to one process.
#include "driver/WindowQuery.h"

namespace e2e {

namespace {

struct TopSearch {
    const char* className;
    const char* title;
    DWORD processId;
    bool shownOnly;
    HWND found;
};

bool ClassMatches(HWND window, const char* className)
{
    return !className || ClassOf(window) == className;
}

BOOL CALLBACK MatchTop(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<TopSearch*>(param);
    if (search->processId) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search->processId)
            return TRUE;
    }
    if (search->shownOnly && !IsWindowVisible(window))
        return TRUE;
    if (!ClassMatches(window, search->className))
        return TRUE;
    if (search->title && StoredTitle(window) != search->title)
        return TRUE;
    search->found = window;
    return FALSE;
}

struct ChildSearch {
    const char* className;
    const char* text;
    std::vector<HWND>* found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (ClassMatches(window, search->className) && (!search->text || WindowText(window) == search->text))
        search->found->push_back(window);
    return TRUE;
}

} // namespace

HWND FindTopWindow(const char* className, const char* title, DWORD processId, bool shownOnly)
{
    TopSearch search = {className, title, processId, shownOnly, nullptr};
    EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopWindow(const char* className, const char* title, DWORD processId, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(className, title, processId, true)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs)
{
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

std::vector<HWND> FindDescendants(HWND parent, const char* className, const char* text)
{
    std::vector<HWND> found;
    ChildSearch search = {className, text, &found};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return found;
}

HWND FindDescendant(HWND parent, const char* className, const char* text)
{
    std::vector<HWND> found = FindDescendants(parent, className, text);
    return found.empty() ? nullptr : found.front();
}

HWND WaitForDescendant(HWND parent, const char* className, const char* text, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindDescendant(parent, className, text)) != nullptr || !IsWindow(parent); },
              timeoutMs);
    return found;
}

std::string WindowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length))
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied))
        return std::string();
    text.resize(copied < text.size() ? static_cast<size_t>(copied) : text.size() - 1);
    return text;
}

std::string StoredTitle(HWND window)
{
    char text[512] = "";
    int length = GetWindowTextA(window, text, sizeof(text));
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string ClassOf(HWND window)
{
    char name[256] = "";
    int length = GetClassNameA(window, name, sizeof(name));
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

} // namespace e2e

// Status bar parts read through a buffer in the target process.
//
// The target writes the answers of SB_GETTEXTA and SB_GETPARTS into memory of its own, which is
// read back afterwards; a local pointer would make it write into its own address space instead.
#include "driver/RemoteStatusBar.h"

#include <commctrl.h>

#include <cstring>

#include "driver/RemoteMemory.h"
#include "driver/WindowQuery.h"

namespace e2e {

namespace {

// The status window takes at most 256 parts.
constexpr int kMaxParts = 256;
constexpr SIZE_T kMaxTextBytes = 64 * 1024;

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &answer))
        return false;
    *result = static_cast<LRESULT>(answer);
    return true;
}

} // namespace

RemoteStatusBar::RemoteStatusBar(HWND frame)
    : bar(FindDescendant(frame, STATUSCLASSNAMEA))
{
}

RemoteStatusBar RemoteStatusBar::OfWindow(HWND statusWindow)
{
    RemoteStatusBar result;
    result.bar = statusWindow;
    return result;
}

RemoteStatusBar RemoteStatusBar::WaitFor(HWND frame, DWORD timeoutMs)
{
    return OfWindow(WaitForDescendant(frame, STATUSCLASSNAMEA, nullptr, timeoutMs));
}

int RemoteStatusBar::PartCount() const
{
    LRESULT count = 0;
    return bar && Send(bar, SB_GETPARTS, 0, 0, &count) ? static_cast<int>(count) : 0;
}

std::vector<int> RemoteStatusBar::PartEdges() const
{
    std::vector<int> edges;
    if (!bar)
        return edges;
    RemoteMemory remote(bar, kMaxParts * sizeof(int));
    LRESULT count = 0;
    if (!remote.IsValid() || !Send(bar, SB_GETPARTS, kMaxParts, remote.Address(), &count) || count <= 0 ||
        count > kMaxParts)
        return edges;
    edges.resize(static_cast<size_t>(count));
    if (!remote.Read(edges.data(), edges.size() * sizeof(int)))
        edges.clear();
    return edges;
}

bool RemoteStatusBar::ReadPart(int part, std::string* text) const
{
    text->clear();
    LRESULT lengthAndType = 0;
    if (!bar || !Send(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0, &lengthAndType))
        return false;
    const SIZE_T length = LOWORD(lengthAndType);
    if (length + 1 > kMaxTextBytes)
        return false;
    RemoteMemory remote(bar, length + 1);
    LRESULT ignored = 0;
    if (!remote.IsValid() || !Send(bar, SB_GETTEXTA, static_cast<WPARAM>(part), remote.Address(), &ignored))
        return false;
    std::string buffer(length + 1, '\0');
    if (!remote.Read(&buffer[0], buffer.size()))
        return false;
    buffer.resize(strnlen(buffer.c_str(), length));
    *text = buffer;
    return true;
}

std::string RemoteStatusBar::PartText(int part) const
{
    std::string text;
    ReadPart(part, &text);
    return text;
}

} // namespace e2e

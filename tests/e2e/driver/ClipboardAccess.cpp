// Clipboard access with retried opening.
//
// Wine's clipboard manager opens the clipboard right after every change, so every access
// retries the opening until a deadline.
#include "driver/ClipboardAccess.h"

#include <cstring>

namespace e2e {

namespace {

class OpenedClipboard {
public:
    explicit OpenedClipboard(DWORD timeoutMs)
    {
        opened = WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, timeoutMs);
    }
    ~OpenedClipboard()
    {
        if (opened)
            CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool opened = false;
};

bool CopyBlock(UINT format, std::vector<char>* bytes)
{
    HANDLE data = GetClipboardData(format);
    if (!data)
        return false;
    const SIZE_T size = GlobalSize(data);
    const void* locked = GlobalLock(data);
    if (!locked)
        return false;
    bytes->assign(static_cast<const char*>(locked), static_cast<const char*>(locked) + size);
    GlobalUnlock(data);
    return true;
}

} // namespace

bool ClipboardAccess::WaitUntilFree(DWORD timeoutMs)
{
    OpenedClipboard clipboard(timeoutMs);
    return clipboard.opened;
}

bool ClipboardAccess::ReadRaw(UINT format, std::vector<char>* bytes, DWORD timeoutMs)
{
    bytes->clear();
    OpenedClipboard clipboard(timeoutMs);
    return clipboard.opened && CopyBlock(format, bytes);
}

bool ClipboardAccess::ReadText(std::string* text, DWORD timeoutMs)
{
    text->clear();
    std::vector<char> bytes;
    if (!ReadRaw(CF_TEXT, &bytes, timeoutMs))
        return false;
    text->assign(bytes.data(), strnlen(bytes.data(), bytes.size()));
    return true;
}

bool ClipboardAccess::HasFormat(UINT format)
{
    return IsClipboardFormatAvailable(format) != FALSE;
}

bool ClipboardAccess::PutText(const std::string& text, DWORD timeoutMs)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!block)
        return false;
    if (void* locked = GlobalLock(block)) {
        memcpy(locked, text.c_str(), text.size() + 1);
        GlobalUnlock(block);
    }
    OpenedClipboard clipboard(timeoutMs);
    if (!clipboard.opened || !EmptyClipboard() || !SetClipboardData(CF_TEXT, block)) {
        GlobalFree(block);
        return false;
    }
    return true;
}

bool ClipboardAccess::Clear(DWORD timeoutMs)
{
    OpenedClipboard clipboard(timeoutMs);
    return clipboard.opened && EmptyClipboard();
}

bool ClipboardAccess::WaitForChange(DWORD seenSequence, DWORD timeoutMs)
{
    return WaitUntil([&] { return GetClipboardSequenceNumber() != seenSequence; }, timeoutMs);
}

} // namespace e2e

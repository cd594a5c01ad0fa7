// Reading and preparing the clipboard while another program (and Wine's manager) may hold it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "driver/Poll.h"

namespace e2e {

class ClipboardAccess {
public:
    // True once the clipboard can be opened (nobody holds it) within the time.
    static bool WaitUntilFree(DWORD timeoutMs = kWaitMs);
    // The CF_TEXT bytes up to the terminating zero; false when there is no text.
    static bool ReadText(std::string* text, DWORD timeoutMs = kWaitMs);
    // The whole block of a format as stored, terminator and any slack included.
    static bool ReadRaw(UINT format, std::vector<char>* bytes, DWORD timeoutMs = kWaitMs);
    static bool HasFormat(UINT format);
    // Replaces the clipboard's contents with text (CF_TEXT), or with nothing.
    static bool PutText(const std::string& text, DWORD timeoutMs = kWaitMs);
    static bool Clear(DWORD timeoutMs = kWaitMs);
    static DWORD Sequence() { return GetClipboardSequenceNumber(); }
    // True once the clipboard has changed after the sequence number seen.
    static bool WaitForChange(DWORD seenSequence, DWORD timeoutMs = kWaitMs);
};

} // namespace e2e

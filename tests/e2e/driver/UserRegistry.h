// Values and keys under HKEY_CURRENT_USER, raw types and sizes included.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

class UserRegistry {
public:
    static bool KeyExists(const std::string& key);
    static bool ValueExists(const std::string& key, const char* name);
    static bool Read(const std::string& key, const char* name, RegistryValue* value);
    // REG_SZ text without its terminator (the data up to the first zero, or all of it when the
    // stored string has none).
    static bool ReadString(const std::string& key, const char* name, std::string* text);
    static bool ReadDword(const std::string& key, const char* name, DWORD* number);
    static std::vector<std::string> ValueNames(const std::string& key);

    // Stores exactly size bytes of data: an unterminated string stays unterminated.
    static bool Write(const std::string& key, const char* name, DWORD type, const void* data, DWORD size);
    // A terminated REG_SZ.
    static bool WriteString(const std::string& key, const char* name, const std::string& text);
    static bool WriteDword(const std::string& key, const char* name, DWORD number);

    // True when the value or key is gone afterwards, also when it never existed.
    static bool DeleteValue(const std::string& key, const char* name);
    static bool DeleteKey(const std::string& key);
};

} // namespace e2e

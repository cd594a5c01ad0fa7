// Registry helpers for the search dialog tests: private keys, raw values and snapshots of a key.
#pragma once
#include <windows.h>

#include <map>
#include <string>

namespace testreg {

struct Value {
    bool present = false;
    DWORD type = 0;
    std::string bytes;

    bool operator==(const Value& other) const
    {
        return present == other.present && type == other.type && bytes == other.bytes;
    }
};

inline void DeleteTree(HKEY root, const std::string& path)
{
    RegDeleteTreeA(root, path.c_str());
}

// Removes a private test key and, once it is empty, the common parent of the test keys.
inline void DeleteTestKey(const std::string& path)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\SeekwordTests");
}

inline bool SetRaw(HKEY root, const std::string& path, const std::string& name, DWORD type, const void* data,
                   DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const bool ok = RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

inline bool SetString(HKEY root, const std::string& path, const std::string& name, const std::string& text)
{
    return SetRaw(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

// The terminated text followed by one more byte: the stored size then shows whether the value was
// written again (a rewrite stores the text and its terminator only).
inline bool SetStringWithTail(HKEY root, const std::string& path, const std::string& name, const std::string& text)
{
    std::string data = text;
    data.push_back('\0');
    data.push_back('\x01');
    return SetRaw(root, path, name, REG_SZ, data.data(), static_cast<DWORD>(data.size()));
}

// A REG_SZ without terminator: the byte after the data is not NUL, so nothing adds one.
inline bool SetUnterminated(HKEY root, const std::string& path, const std::string& name, const std::string& text)
{
    std::string data = text + "Y";
    return SetRaw(root, path, name, REG_SZ, data.data(), static_cast<DWORD>(text.size()));
}

inline Value Get(HKEY root, const std::string& path, const std::string& name)
{
    Value value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        std::string bytes(size + 1, '\0');
        if (RegQueryValueExA(key, name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(&bytes[0]), &size) ==
            ERROR_SUCCESS) {
            value.present = true;
            value.bytes.assign(bytes.data(), size);
        }
    }
    RegCloseKey(key);
    return value;
}

// The stored text up to its terminator, or "<missing>".
inline std::string GetString(HKEY root, const std::string& path, const std::string& name)
{
    const Value value = Get(root, path, name);
    if (!value.present)
        return "<missing>";
    return std::string(value.bytes.c_str());
}

inline bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Every value of the key by name; empty when the key is missing.
inline std::map<std::string, Value> Snapshot(HKEY root, const std::string& path)
{
    std::map<std::string, Value> values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        values[name] = Get(root, path, name);
    }
    RegCloseKey(key);
    return values;
}

} // namespace testreg

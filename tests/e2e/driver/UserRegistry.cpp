// HKEY_CURRENT_USER access through the ANSI registry functions.
#include "driver/UserRegistry.h"

#include <cstring>

namespace e2e {

namespace {

class OpenKey {
public:
    OpenKey(const std::string& key, REGSAM access, bool create)
    {
        LONG status = create ? RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, access, nullptr,
                                               &handle, nullptr)
                             : RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, access, &handle);
        if (status != ERROR_SUCCESS)
            handle = nullptr;
    }
    ~OpenKey()
    {
        if (handle)
            RegCloseKey(handle);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY handle = nullptr;
};

} // namespace

bool UserRegistry::KeyExists(const std::string& key)
{
    OpenKey opened(key, KEY_READ, false);
    return opened.handle != nullptr;
}

bool UserRegistry::ValueExists(const std::string& key, const char* name)
{
    OpenKey opened(key, KEY_READ, false);
    return opened.handle && RegQueryValueExA(opened.handle, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool UserRegistry::Read(const std::string& key, const char* name, RegistryValue* value)
{
    value->type = REG_NONE;
    value->data.clear();
    OpenKey opened(key, KEY_READ, false);
    if (!opened.handle)
        return false;
    DWORD size = 0;
    if (RegQueryValueExA(opened.handle, name, nullptr, &value->type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    value->data.resize(size);
    if (size == 0)
        return true;
    LONG status = RegQueryValueExA(opened.handle, name, nullptr, &value->type, value->data.data(), &size);
    value->data.resize(size);
    return status == ERROR_SUCCESS;
}

bool UserRegistry::ReadString(const std::string& key, const char* name, std::string* text)
{
    text->clear();
    RegistryValue value;
    if (!Read(key, name, &value) || (value.type != REG_SZ && value.type != REG_EXPAND_SZ))
        return false;
    const char* bytes = reinterpret_cast<const char*>(value.data.data());
    text->assign(bytes, strnlen(bytes, value.data.size()));
    return true;
}

bool UserRegistry::ReadDword(const std::string& key, const char* name, DWORD* number)
{
    RegistryValue value;
    if (!Read(key, name, &value) || value.type != REG_DWORD || value.data.size() != sizeof(DWORD))
        return false;
    memcpy(number, value.data.data(), sizeof(DWORD));
    return true;
}

std::vector<std::string> UserRegistry::ValueNames(const std::string& key)
{
    std::vector<std::string> names;
    OpenKey opened(key, KEY_READ, false);
    if (!opened.handle)
        return names;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD length = sizeof(name);
        if (RegEnumValueA(opened.handle, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

bool UserRegistry::Write(const std::string& key, const char* name, DWORD type, const void* data, DWORD size)
{
    OpenKey opened(key, KEY_WRITE, true);
    if (!opened.handle)
        return false;
    // RegSetValueExA terminates a string itself when the byte after the data is zero; a non-zero
    // byte there keeps the value exactly as given.
    std::vector<BYTE> bytes(size + 1, 0xFF);
    if (size)
        memcpy(bytes.data(), data, size);
    return RegSetValueExA(opened.handle, name, 0, type, bytes.data(), size) == ERROR_SUCCESS;
}

bool UserRegistry::WriteString(const std::string& key, const char* name, const std::string& text)
{
    return Write(key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

bool UserRegistry::WriteDword(const std::string& key, const char* name, DWORD number)
{
    return Write(key, name, REG_DWORD, &number, sizeof(number));
}

bool UserRegistry::DeleteValue(const std::string& key, const char* name)
{
    OpenKey opened(key, KEY_SET_VALUE, false);
    if (!opened.handle)
        return !KeyExists(key);
    LONG status = RegDeleteValueA(opened.handle, name);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool UserRegistry::DeleteKey(const std::string& key)
{
    if (key.empty())
        return false;
    LONG status = RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    return (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) && !KeyExists(key);
}

} // namespace e2e

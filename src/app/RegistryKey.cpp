// Typed registry reads that accept a value only with the type and size this program writes.
#include "app/RegistryKey.h"

namespace {
constexpr DWORD kKeyPathSize = 300;
}

RegistryKey::RegistryKey() : key(nullptr) {}

int RegistryKey::OpenKey(const char* path, const char* subkey, HKEY root)
{
    char fullPath[kKeyPathSize];
    if (subkey)
        wsprintfA(fullPath, "%.150s\\%.140s", path, subkey);
    else
        lstrcpynA(fullPath, path, sizeof fullPath);
    key = nullptr;
    return RegCreateKeyExA(root, fullPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                           nullptr) == ERROR_SUCCESS;
}

void RegistryKey::Close()
{
    if (key) {
        RegCloseKey(key);
        key = nullptr;
    }
}

// A value of another type or size is treated as missing, so a damaged setting falls back to its default.
int RegistryKey::ReadExact(const char* name, DWORD type, void* data, DWORD size)
{
    DWORD storedType = 0;
    DWORD storedSize = size;
    if (RegQueryValueExA(key, name, nullptr, &storedType, static_cast<BYTE*>(data), &storedSize) != ERROR_SUCCESS)
        return 0;
    return storedType == type && storedSize == size;
}

int RegistryKey::ReadByte(const char* name, unsigned char* value)
{
    unsigned char byte = 0;
    if (!ReadExact(name, REG_BINARY, &byte, 1))
        return 0;
    *value = byte;
    return 1;
}

int RegistryKey::ReadBool(const char* name, int* flag, int defaultValue)
{
    unsigned char byte = 0;
    if (!ReadByte(name, &byte)) {
        *flag = defaultValue;
        return 0;
    }
    *flag = byte != 0;
    return 1;
}

int RegistryKey::ReadDword(const char* name, DWORD* value, DWORD defaultValue)
{
    DWORD read = 0;
    if (!ReadExact(name, REG_DWORD, &read, sizeof read)) {
        *value = defaultValue;
        return 0;
    }
    *value = read;
    return 1;
}

int RegistryKey::ReadBinary(const char* name, void* data, DWORD size)
{
    return ReadExact(name, REG_BINARY, data, size);
}

int RegistryKey::ReadString(const char* name, char* buffer, DWORD size, const char* defaultText)
{
    DWORD type = 0;
    DWORD stored = size;
    LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &stored);
    // Only a string that ends inside the buffer counts; anything else is missing.
    if (result == ERROR_SUCCESS && type == REG_SZ && stored <= size) {
        for (DWORD i = 0; i < stored; ++i)
            if (buffer[i] == '\0')
                return 1;
    }
    lstrcpynA(buffer, defaultText, size);
    return 0;
}

int RegistryKey::WriteByte(const char* name, int flag)
{
    BYTE byte = flag ? 1 : 0;
    return RegSetValueExA(key, name, 0, REG_BINARY, &byte, 1) == ERROR_SUCCESS;
}

int RegistryKey::WriteDword(const char* name, DWORD value)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

int RegistryKey::WriteBinary(const char* name, const void* data, DWORD size)
{
    return RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

int RegistryKey::WriteString(const char* name, const char* text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), lstrlenA(text) + 1) ==
           ERROR_SUCCESS;
}

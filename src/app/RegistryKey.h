// One open registry key with typed reads; the user closes it on every path after a successful open.
#pragma once
#include <windows.h>

class RegistryKey {
public:
    RegistryKey();

    // Opens path, or path + "\" + subkey, creating it when missing.
    int OpenKey(const char* path, const char* subkey, HKEY root);
    void Close();

    int ReadByte(const char* name, unsigned char* value);
    int ReadBool(const char* name, int* flag, int defaultValue);
    int ReadDword(const char* name, DWORD* value, DWORD defaultValue);
    int ReadBinary(const char* name, void* data, DWORD size);
    int ReadString(const char* name, char* buffer, DWORD size, const char* defaultText);

    int WriteByte(const char* name, int flag);
    int WriteDword(const char* name, DWORD value);
    int WriteBinary(const char* name, const void* data, DWORD size);
    int WriteString(const char* name, const char* text);

    HKEY key;

private:
    int ReadExact(const char* name, DWORD type, void* data, DWORD size);
};

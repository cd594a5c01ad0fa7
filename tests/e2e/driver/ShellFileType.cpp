// File type registration under a classes root: the extension's key names the type, whose
// shell\open\command holds the command line.
#include "driver/ShellFileType.h"

namespace e2e {

namespace {

const char kUserClasses[] = "Software\\Classes\\";

bool SetDefaultValue(HKEY root, const std::string& key, const std::string& text)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

bool WriteType(HKEY root, const std::string& extension, const std::string& typeName, const std::string& command)
{
    return SetDefaultValue(root, kUserClasses + extension, typeName) &&
           SetDefaultValue(root, kUserClasses + typeName + "\\shell\\open\\command", command);
}

void DeleteType(HKEY root, const std::string& extension, const std::string& typeName)
{
    RegDeleteTreeA(root, (kUserClasses + extension).c_str());
    RegDeleteTreeA(root, (kUserClasses + typeName).c_str());
}

// What the shell sees for the extension.
std::string MergedTypeOf(const std::string& extension)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, extension.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return std::string();
    char text[256] = "";
    DWORD size = sizeof(text) - 1;
    DWORD type = 0;
    LONG status = RegQueryValueExA(handle, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(handle);
    return status == ERROR_SUCCESS && type == REG_SZ ? std::string(text) : std::string();
}

} // namespace

ShellFileType::~ShellFileType()
{
    Unregister();
}

bool ShellFileType::Register(const std::string& ext, const std::string& name, const std::string& command)
{
    Unregister();
    extension = ext;
    typeName = name;
    user = WriteType(HKEY_CURRENT_USER, extension, typeName, command);
    if (!user)
        return false;
    if (MergedTypeOf(extension) == typeName)
        return true;
    machine = WriteType(HKEY_LOCAL_MACHINE, extension, typeName, command);
    return machine && MergedTypeOf(extension) == typeName;
}

void ShellFileType::Unregister()
{
    if (user)
        DeleteType(HKEY_CURRENT_USER, extension, typeName);
    if (machine)
        DeleteType(HKEY_LOCAL_MACHINE, extension, typeName);
    user = machine = false;
}

} // namespace e2e

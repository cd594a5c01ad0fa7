// A private file type with an "open" command, registered for one test and removed afterwards.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

class ShellFileType {
public:
    ShellFileType() = default;
    ~ShellFileType();
    ShellFileType(const ShellFileType&) = delete;
    ShellFileType& operator=(const ShellFileType&) = delete;

    // Registers extension (".swdoc") as the type typeName whose "open" runs command (with "%1"
    // for the file) in the user's classes. Wine's shell reads only the machine's classes, so the
    // type goes there as well when the merged view (HKEY_CLASSES_ROOT) does not show it.
    bool Register(const std::string& extension, const std::string& typeName, const std::string& command);
    // True when the machine's classes had to be used.
    bool InMachineClasses() const { return machine; }
    void Unregister();

private:
    std::string extension;
    std::string typeName;
    bool user = false;
    bool machine = false;
};

} // namespace e2e

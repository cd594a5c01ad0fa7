// Runs a Unix program (xdotool, identify) from the Windows side of Wine and collects its result.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "driver/Poll.h"

namespace e2e {

class UnixCommand {
public:
    // True when Wine can start Unix programs from here (the /bin/sh it goes through exists).
    static bool Available();
    // Runs argv[0] with the arguments; returns its exit code, or -1 when it did not finish in
    // time or could not start. stdout and stderr together go to output.
    static int Run(const std::vector<std::string>& argv, std::string* output = nullptr,
                   DWORD timeoutMs = kWaitMs);
    // Quoting for the two layers a command passes: sh's single quotes and Windows's rules.
    static std::string ShellQuote(const std::string& argument);
    static std::string WindowsQuote(const std::string& argument);
};

} // namespace e2e

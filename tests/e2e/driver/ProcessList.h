// Processes a program under test starts itself: found in its job, read and ended by the test.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "driver/Poll.h"

namespace e2e {

// Ids of the running processes whose executable file name is exeName (case ignored) and that
// belong to job. A job's own process list leaves out what its processes start under Wine; the
// membership test does not.
std::vector<DWORD> ProcessesInJob(HANDLE job, const char* exeName);
// The command line a process was started with, read from its process parameters (a process of
// the same bitness as the caller); empty when it cannot be read.
std::string CommandLineOf(DWORD processId);
// Ends the process and waits until it is gone.
bool EndProcess(DWORD processId, DWORD timeoutMs = kWaitMs);

} // namespace e2e

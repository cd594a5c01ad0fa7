// Waiting with a deadline: end-to-end tests poll for a condition, never sleep a fixed time.
#pragma once

#include <windows.h>

#include <functional>

namespace e2e {

// Spent in full only when a wait fails, so it can be generous for a loaded 2-core machine.
constexpr DWORD kWaitMs = 10000;
constexpr DWORD kPollIntervalMs = 10;

// True as soon as condition() is true; false when the deadline passes first.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWaitMs);

} // namespace e2e

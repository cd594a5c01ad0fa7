// Waiting with a deadline.
#include "driver/Poll.h"

namespace e2e {

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount64() >= deadline)
            return condition();
        Sleep(kPollIntervalMs);
    }
}

} // namespace e2e

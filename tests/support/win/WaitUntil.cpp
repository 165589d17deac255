#include "support/win/WaitUntil.h"

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(pollMs);
    }
}

// Waiting for something a Wine test can observe (a window's title, the simulator's log or
// control answers, a file) instead of sleeping for a fixed time.
#pragma once

#include <windows.h>

#include <functional>

// Asks `done` every pollMs until it answers true; false when it still answers false after
// timeoutMs. The time-out only ends a test that would otherwise hang: keep it generous.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs = 50);

// Waiting in a test for something a window shows: the thread's messages run meanwhile (the
// windows under test live on it).
#pragma once

#include <windows.h>

#include <functional>

// Handles messages until done() holds; false when it still does not after timeoutMs (a
// failure limit only, never a measure of speed).
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000);

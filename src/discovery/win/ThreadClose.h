// Disconnects every port before the program closes, then asks the main window to close
// again (its second close phase saves the settings).
#pragma once

#include <windows.h>

#include <atomic>

#include "core/ThreadObject.h"

class Thread_Close : public ThreadObject {
public:
    void SetOwner(HWND window) { owner = window; }
    bool Done() const { return done.load(); }

    void Prepare() override;
    void Run() override;

private:
    HWND owner = nullptr;
    std::atomic<bool> done{false};
};

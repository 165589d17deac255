// Where the file manager writes its status line: the main window's status bar, or whatever a
// test puts in its place.
#pragma once

#include <cstdint>

#include "core/GString.h"

class StatusSink {
public:
    virtual ~StatusSink() = default;
    virtual void ShowText(const GString& text) = 0;
    // The bytes of the counted files; hide clears the part.
    virtual void ShowSize(uint64_t bytes, bool hide) = 0;
    // The phone's free and total memory; hide (or both 0) clears the part.
    virtual void ShowMemory(uint32_t freeBytes, uint32_t totalBytes, bool hide) = 0;
};

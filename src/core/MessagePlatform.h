// The system side of MessageReporter: string resources, system error texts and the box.
// Windows uses the program's string table, FormatMessageA and MessageBoxA; the native build
// has a small table of the same strings and strerror texts.
#pragma once

#include <cstdint>

#include "core/GString.h"
#include "core/MessageReporter.h"

namespace MessagePlatform {

// Loads string resource id through a buffer of capacity bytes; false (out untouched, the
// failure left in the last error) when it does not exist.
bool LoadText(uint32_t id, uint32_t capacity, GString& out);
// The system's text for an error code; empty when it has none.
GString SystemText(uint32_t code);
uint32_t LastErrorCode();
void SetLastErrorCode(uint32_t code);
int ShowBox(WindowHandle owner, const char* text, const char* caption, unsigned style);

}  // namespace MessagePlatform

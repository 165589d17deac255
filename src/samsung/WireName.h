// Names as the Samsung AT file commands carry them: UTF-8 between double quotes.
#pragma once

#include <cstdint>

#include "core/GString.h"

// Size of the conversion buffers, in UTF-16 units and in bytes, terminator included.
constexpr uint32_t kWireNameBuffer = 260;

// Converts name from the ANSI code page to UTF-16 and then to UTF-8, through the caller's
// buffers of kWireNameBuffer units each; the UTF-8 text ends up NUL-terminated in bytes.
// False, with nothing to send, when the name is empty, holds a double quote, CR, LF or NUL
// (they would end the quoted argument or the command line early) or does not fit the buffers.
bool ToWireName(const GString& name, char16_t* wide, char* bytes);

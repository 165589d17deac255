// The version line of the About box: its template text holds two integer conversions
// ("Версия %01.1d.%01.1d  beta") that take the major and minor version numbers.
#pragma once

#include <cstdint>

#include "core/GString.h"

// Formats the template with the two numbers. A template that does not hold exactly two
// integer conversions (and nothing else for printf to read) is kept as it stands.
void FormatVersionLine(GString& out, const char* templateText, uint32_t major, uint32_t minor);

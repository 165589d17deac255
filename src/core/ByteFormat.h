// Byte counts as the user reads them.
#pragma once

#include "core/GString.h"

#include <cstdint>

// "<n> байт" below 1024, else the count in КБ, МБ or ГБ with the given number of decimals and
// a point as the decimal separator: 1536 gives "1.5 КБ" with one decimal.
void FormatByteSize(GString& out, uint64_t count, int decimals);

// Inserts the locale's thousands separator into a decimal digit string, in place:
// "1234567" becomes "1 234 567" with a space; texts under 4 characters stay unchanged.
void GroupDigits(GString& digits);

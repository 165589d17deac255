// Dates of phone entries as the user's system writes them.
#pragma once

#include "core/GString.h"
#include "obex/FTP.h"

// The date in the system default locale's format (its short date when dateFormat is null),
// one space, and the time in timeFormat ("HH':'mm" when null). Empty when the phone gave no
// date (year or month 0) or the date is not one the system can format.
GString FormatDateTime(const SystemTime& time, const char* dateFormat = nullptr,
                       const char* timeFormat = nullptr);

// Between a file's FILETIME (UTC, 100 ns units since 1601) and local calendar time, the form
// OBEX Time headers and phone listings carry. Windows asks the system; the native build uses
// the C library's zone.
#pragma once

#include <cstdint>

#include "obex/FTP.h"

bool FileTimeToLocalSystemTime(uint64_t fileTime, SystemTime& out);
// The other way, for a phone's date (its own local time), by the zone's rule for that date
// (summer time included). False for a date the calendar does not have (phones send such dates
// too).
bool LocalSystemTimeToFileTime(const SystemTime& local, uint64_t& fileTime);

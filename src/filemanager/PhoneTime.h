// A phone's date, which is its own local time, as the desktop's file time (100 ns units since
// 1601-01-01, UTC). Windows asks the system's time zone for that date; the native build uses
// the C library's zone.
#pragma once

#include <cstdint>

#include "obex/FTP.h"

// False for a date the calendar does not have (phones send such dates too).
bool PhoneTimeToFileTime(const SystemTime& local, uint64_t& fileTime);

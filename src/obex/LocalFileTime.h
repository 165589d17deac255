// A file's FILETIME (UTC, 100 ns units since 1601) as local calendar time, the form OBEX
// Time headers carry. Windows asks the system; the native build uses the C library's zone.
#pragma once

#include <cstdint>

#include "obex/FTP.h"

bool FileTimeToLocalSystemTime(uint64_t fileTime, SystemTime& out);

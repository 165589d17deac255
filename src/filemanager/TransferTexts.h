// The numbers and texts of the transfer progress dialog: percents, speed, time left and the
// total, computed without overflow on 64-bit byte counts.
#pragma once

#include <cstdint>

#include "core/GString.h"

// done * 100 / size, 0 when size is 0, at most 100.
uint32_t PercentOf(uint64_t done, uint64_t size);
// Bytes per second of bytes moved in elapsedMs; 0 when no time passed, at most 0xFFFFFFFF.
uint32_t BytesPerSecond(uint64_t bytes, uint32_t elapsedMs);
// Seconds the rest of the transfer takes at the speed; 0 at speed 0 or when all is done.
uint64_t SecondsLeft(uint64_t total, uint64_t done, uint32_t speed);
// "hh : mm : ss", each at least two digits: 3725 seconds give "01 : 02 : 05".
void FormatTimeLeft(GString& out, uint64_t seconds);
// The byte size and the grouped byte count: "1.5 МБ (1 572 864 байт)".
void FormatTotalSize(GString& out, uint64_t total);
// Decimal digits grouped by the locale's thousands separator.
void FormatGroupedCount(GString& out, uint64_t value);
// "n/m".
void FormatFileCounter(GString& out, uint32_t number, uint32_t count);

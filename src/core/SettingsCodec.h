// The bytes of program.cfg. Little-endian throughout:
//   3 bytes scanSerial, scanIrDA, scanBluetooth; then tagged records, each a u16 tag:
//   1   u32 size (44 when written), then the block: 4 reserved, windowX, windowY, windowWidth,
//       windowHeight, progressX, progressY (i32 each), showToolbar, showControlPanel,
//       showStatusBar, reservedFlag, listViewStyle (a byte each), 11 reserved
//   10  u32 count, per record: u32 kind, string name                (only when not empty)
//   11  u16 count, per record: string name, u32 baudRate, u8 dtr, u8 rts         (always)
//   13  u32 count, per record: strings manufacturer, model, serialNumber, 8 bytes btAddress,
//       8 bytes reserved, u32 fileManagerShown, string lastFolder, u32 reserved2,
//       u32 favourite count, per favourite: strings first, second   (only when not empty)
// A string is u32 n (UTF-16 units including the terminating NUL, at least 1) and n units of
// UTF-16LE, converted from and to the ANSI code page.
#pragma once

#include "core/Settings.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Reads the file's bytes into store: values are overwritten as they are read, records are
// appended to the lists. Reading ends at the end of the data, at a record or string that does
// not fit in what remains (a cut file, or a count or size larger than the rest), or at a string
// with n = 0; everything read before that point is kept and the rest keeps its prior values.
// A record is appended only when it was read completely. From a short tag 1 block the window
// placement (bytes 4..19) and the progress position (20..27) are each taken whole when the
// block holds them, then the single bytes it holds; a listViewStyle above 3 loads as 1.
// Unknown tags are skipped (two bytes each). firstRun is left to the caller.
// Returns true when all of the data was read.
bool DecodeSettings(const uint8_t* data, size_t size, SettingsStore& store);

// The whole file content for store. Tag 11 holds at most 65535 records (its count is 16-bit).
std::vector<uint8_t> EncodeSettings(const SettingsStore& store);

// The block the desktop reads to learn which files a copy out of the phone holds: the
// shell's ANSI file group descriptor, a count followed by one 332-byte record per object, in
// the order of the set (folders before their contents). Built here as bytes, little-endian as
// the desktop lays them out.
#pragma once

#include <cstdint>
#include <vector>

#include "filemanager/PhoneTreeWalk.h"

namespace file_descriptor {

// Layout of one record (the shell's FILEDESCRIPTORA).
constexpr uint32_t kRecordSize = 332;
constexpr uint32_t kCountSize = 4;
constexpr uint32_t kFlagsAt = 0;
constexpr uint32_t kAttributesAt = 36;
constexpr uint32_t kWriteTimeAt = 56;
constexpr uint32_t kSizeHighAt = 64;
constexpr uint32_t kSizeLowAt = 68;
constexpr uint32_t kNameAt = 72;
constexpr uint32_t kNameCapacity = 260;

// Which members of a record hold something.
constexpr uint32_t kHasAttributes = 0x04;
constexpr uint32_t kHasWriteTime = 0x20;
constexpr uint32_t kHasFileSize = 0x40;

constexpr uint32_t kAttributeDirectory = 0x10;
constexpr uint32_t kAttributeNormal = 0x80;

}  // namespace file_descriptor

// The descriptor block of items, record i for items[i] (the desktop asks for the contents of
// a file by that index). An item without a date gets no write time and one without a size no
// size, so that the desktop neither invents a date nor expects an empty file. Empty when a
// name does not fit a record: the tree walk leaves such names out, and a cut name would land
// as another file.
std::vector<uint8_t> BuildFileDescriptors(const std::vector<PhoneItem>& items);

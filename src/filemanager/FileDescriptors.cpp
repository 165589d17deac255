#include "filemanager/FileDescriptors.h"

#include <cstring>

#include "obex/LocalFileTime.h"

using namespace file_descriptor;

namespace {

void Put32(uint8_t* at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

std::vector<uint8_t> BuildFileDescriptors(const std::vector<PhoneItem>& items)
{
    std::vector<uint8_t> block(kCountSize + kRecordSize * items.size(), 0);
    uint8_t* record = block.data() + kCountSize;
    for (const PhoneItem& item : items) {
        if (item.descriptorName.Length() >= kNameCapacity)
            return {};
        uint32_t flags = kHasAttributes;
        Put32(record + kAttributesAt, item.isFolder ? kAttributeDirectory : kAttributeNormal);
        uint64_t written = 0;
        if (item.hasTime && LocalSystemTimeToFileTime(item.time, written)) {
            flags |= kHasWriteTime;
            Put32(record + kWriteTimeAt, static_cast<uint32_t>(written));
            Put32(record + kWriteTimeAt + 4, static_cast<uint32_t>(written >> 32));
        }
        if (item.hasSize) {
            flags |= kHasFileSize;
            Put32(record + kSizeHighAt, 0);
            Put32(record + kSizeLowAt, item.size);
        }
        Put32(record + kFlagsAt, flags);
        std::memcpy(record + kNameAt, item.descriptorName.CStr(), item.descriptorName.Length());
        record += kRecordSize;
    }
    Put32(block.data(), static_cast<uint32_t>(items.size()));
    return block;
}

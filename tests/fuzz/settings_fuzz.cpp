// program.cfg decoding of arbitrary bytes; whatever was loaded must survive a save and a load.
#include "core/SettingsCodec.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SettingsStore first;
    DecodeSettings(data, size, first);
    const std::vector<uint8_t> saved = EncodeSettings(first);

    SettingsStore second;
    if (!DecodeSettings(saved.data(), saved.size(), second))
        std::abort();
    if (EncodeSettings(second) != saved)
        std::abort();
    return 0;
}

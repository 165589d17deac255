#include "support/win/QvSettings.h"

#include <vector>

#include "core/SettingsCodec.h"
#include "support/win/QvProcess.h"

bool WriteSettingsForPort(const TempDir& dir, const std::string& ownPort,
                          const std::function<void(SettingsStore&)>& adjust)
{
    SettingsStore store;
    for (int n = 1; n <= 99; ++n) {
        std::string name = "COM" + std::to_string(n);
        if (name == ownPort)
            continue;
        auto* record = new EXCLUDEPORTS;
        record->name = name.c_str();
        store.ExcludedPorts.Append(record);
    }
    if (adjust)
        adjust(store);
    std::vector<uint8_t> bytes = EncodeSettings(store);
    return WriteFileBytes(dir.File("program.cfg"), std::vector<unsigned char>(bytes.begin(), bytes.end()));
}

bool LoadSettingsFrom(const TempDir& dir, SettingsStore& store)
{
    std::vector<unsigned char> bytes = ReadFileBytes(dir.File("program.cfg"));
    return !bytes.empty() && DecodeSettings(bytes.data(), bytes.size(), store);
}

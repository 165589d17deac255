#include "devices/DeviceSettingsStore.h"

#include <atomic>

namespace {
std::atomic<SettingsStore*> current{nullptr};
}

void SetDeviceSettingsStore(SettingsStore* store) { current.store(store); }

SettingsStore* DeviceSettingsStore() { return current.load(); }

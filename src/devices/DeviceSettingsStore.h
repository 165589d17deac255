// Where the devices look up and keep their settings records: the application core's store,
// set when the core is created and cleared before it goes. Without one (tests, or after
// the core is gone) a device starts from the port's identity and keeps nothing.
#pragma once

class SettingsStore;

void SetDeviceSettingsStore(SettingsStore* store);
SettingsStore* DeviceSettingsStore();

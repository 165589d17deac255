// program.cfg for a qv.exe started by a test: made before the start, read after the close.
#pragma once

#include <functional>
#include <string>

#include "core/Settings.h"
#include "support/win/TempDir.h"

// A settings file in dir that switches off every COM port but ownPort (simulators of other
// tests may be linked meanwhile); adjust may change the settings before they are written.
bool WriteSettingsForPort(const TempDir& dir, const std::string& ownPort,
                          const std::function<void(SettingsStore&)>& adjust = {});
// The settings file in dir as it stands now; false when it is missing or empty.
bool LoadSettingsFrom(const TempDir& dir, SettingsStore& store);

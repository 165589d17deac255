// The application core: settings and their file, locale separators, port images, Winsock and
// the shell's system image lists. Created on first use by the main window's constructor and
// destroyed in the second close phase, which saves the settings.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include "core/FileAccess.h"
#include "core/GString.h"
#include "core/Settings.h"
#include "discovery/PortList.h"

class AppCore {
public:
    static AppCore* Instance();
    // The instance when it exists, without creating it.
    static AppCore* Existing();
    // Saves the settings and releases everything (second close phase).
    static void Destroy();

    // Takes the process's current directory and composes the settings path from it.
    void SetCurrentDirectoryFromProcess();
    bool LoadSettings();
    // Writes program.cfg. The content is encoded under the store's lock and written after
    // it, so a failure box never runs its message loop (in which the session may end and save
    // again) with the lock held. Without report a failure stays silent. A save asked for while
    // one runs on this thread (from that loop) does nothing: the running one writes the same.
    bool SaveSettings(bool report = true);

    SettingsStore& Settings() { return settings; }
    SettingsValues& Values() { return settings.values; }
    // The known ports (and the serial ports of the IrDA and Bluetooth stacks), guarded by the
    // settings store's lock.
    PortList& Ports() { return portList; }
    const GString& CurrentDirectory() const { return currentDirectory; }
    const GString& ProgramCfgPath() const { return programCfgPath; }
    char DecimalSeparator() const { return decimalSeparator; }
    char ThousandsSeparator() const { return thousandsSeparator; }
    bool WinsockReady() const { return winsockReady; }
    // Port images 16x16: 0 serial, 1 IrDA, 2 Bluetooth; 12 images each.
    HIMAGELIST PortImages(int kind) const { return kind >= 0 && kind < 3 ? portImages[kind] : nullptr; }
    HIMAGELIST LargeSystemImageList() const { return largeSystemImageList; }
    HIMAGELIST SmallSystemImageList() const { return smallSystemImageList; }

    bool irdaAvailable = false;
    bool bluetoothAvailable = false;

private:
    AppCore();
    ~AppCore();
    AppCore(const AppCore&) = delete;
    AppCore& operator=(const AppCore&) = delete;

    char decimalSeparator = ',';
    char thousandsSeparator = ' ';
    SettingsStore settings;
    PortList portList{settings};
    FileAccess configFile;
    GString currentDirectory;
    GString programCfgPath;
    HIMAGELIST largeSystemImageList = nullptr;
    HIMAGELIST smallSystemImageList = nullptr;
    HIMAGELIST portImages[3] = {};
    bool winsockReady = false;
    WSADATA wsaData{};
    bool saving = false;
};

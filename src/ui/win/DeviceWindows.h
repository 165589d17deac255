// What a phone shows in the main window: its control panel, its information view and, when
// the program has one, its file manager view. The device owns them (as its DeviceViews) from
// CreateViews on; the main window lets go of them on its own thread when the phone's port is
// released, before the port thread destroys the device.
#pragma once

#include <memory>

#include "devices/DeviceViews.h"
#include "ui/win/DeviceControlPanel.h"
#include "ui/win/Device_InfoView.h"
#include "ui/win/FileManagerView.h"

class Device;
class ViewHost;

class DeviceWindows : public DeviceViews {
public:
    // Creates the device's windows in the main window and attaches them to the device: the
    // control panel docked on the left, the information view filled from the port's info,
    // and with a file manager the "Проводник" button and the file manager view. Null when the
    // windows cannot be made.
    static DeviceWindows* CreateViews(Device* device, TWindow* mainWindow, ViewHost* host);

    ~DeviceWindows() override;
    // A busy device's panel and file manager take no input.
    void SetEnabled(bool enabled) override;

    DeviceControlPanel& ControlPanel() { return controlPanel; }
    Device_InfoView& InfoView() { return infoView; }
    // Null when the device has no file manager.
    FileManagerView* FileManager() { return fileManager.get(); }

private:
    DeviceWindows() = default;

    DeviceControlPanel controlPanel;
    Device_InfoView infoView;
    std::unique_ptr<FileManagerView> fileManager;
};

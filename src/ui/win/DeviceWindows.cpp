#include "ui/win/DeviceWindows.h"

#include "devices/Device.h"
#include "devices/TComm.h"

namespace {
FileManagerFactory fileManagerFactory = nullptr;
}  // namespace

void SetFileManagerFactory(FileManagerFactory factory) { fileManagerFactory = factory; }

DeviceWindows* DeviceWindows::CreateViews(Device* device, TWindow* mainWindow, ViewHost* host)
{
    if (device == nullptr || mainWindow == nullptr)
        return nullptr;
    auto* windows = new DeviceWindows();
    if (!windows->controlPanel.Create(mainWindow) || !windows->infoView.Create(mainWindow, host, device)) {
        delete windows;
        return nullptr;
    }
    if (device->hasFileManager) {
        windows->controlPanel.AddExplorerButton();
        if (fileManagerFactory != nullptr)
            windows->fileManager.reset(fileManagerFactory(device, mainWindow, host));
    }
    windows->infoView.Fill(device->port != nullptr ? device->port->info : nullptr);
    device->AttachViews(windows);
    return windows;
}

DeviceWindows::~DeviceWindows()
{
    // The file manager first: its workers report to the panel's device.
    fileManager.reset();
}

void DeviceWindows::SetEnabled(bool enabled)
{
    if (controlPanel.Handle() != nullptr)
        EnableWindow(controlPanel.Handle(), enabled);
    if (fileManager != nullptr)
        fileManager->SetEnabled(enabled);
}

void FileManagerView::SetEnabled(bool enabled)
{
    if (Window() != nullptr && Window()->Handle() != nullptr)
        EnableWindow(Window()->Handle(), enabled);
}

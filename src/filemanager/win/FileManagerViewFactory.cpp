#include "filemanager/win/FileManagerViewFactory.h"

#include <memory>

#include "core/win/AppCore.h"
#include "filemanager/win/FileManagerWindow.h"
#include "filemanager/win/StatusBarSink.h"
#include "resources/resource.h"
#include "ui/win/ViewHost.h"

namespace {

class FileManagerViewOfDevice : public FileManagerView {
public:
    explicit FileManagerViewOfDevice(Device* device) : device(device) {}

    bool Create(TWindow* mainWindow, ViewHost* host)
    {
        FileManagerHost parts;
        parts.mainWindow = mainWindow;
        if (host != nullptr) {
            parts.commandState = host->HostCommandState();
            parts.mainMenu = host->HostMenu();
            if (StatusWindow* bar = host->HostStatusBar()) {
                status = std::make_unique<StatusBarSink>(*bar);
                parts.status = status.get();
            }
        }
        if (AppCore* core = AppCore::Existing()) {
            parts.settings = &core->Values();
            parts.smallImages = core->SmallSystemImageList();
            parts.largeImages = core->LargeSystemImageList();
        }
        return window.Create(parts, device);
    }

    TWindow* Window() override { return &window; }
    bool SessionOpen() const override { return window.HasSession(); }
    void OpenSession() override
    {
        // The main window marked the phone busy; a start refused while nothing runs must not
        // leave it so.
        if (!window.OpenSession() && !window.IsWorking() && window.MainWindow() != nullptr)
            SendMessageA(window.MainWindow()->Handle(), QVM_DEVICE_BUSY, reinterpret_cast<WPARAM>(device), 0);
    }
    void SetListStyle(uint8_t style) override { window.ApplyViewStyle(style); }
    void SetEnabled(bool enabled) override { window.SetEnabled(enabled); }

private:
    Device* device;
    // The sink outlives the window, which writes to it until it goes.
    std::unique_ptr<StatusBarSink> status;
    FileManagerWindow window;
};

}  // namespace

FileManagerView* CreateFileManagerView(Device* device, TWindow* mainWindow, ViewHost* host)
{
    auto view = std::make_unique<FileManagerViewOfDevice>(device);
    if (!view->Create(mainWindow, host))
        return nullptr;
    return view.release();
}

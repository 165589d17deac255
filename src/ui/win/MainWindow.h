// The program's one top-level window. Closing runs in two phases: the first close request
// starts Thread_Close, which disconnects the ports and posts WM_CLOSE again; the second saves
// the settings and lets the window be destroyed.
#pragma once

#include <atomic>
#include <memory>

#include "core/GString.h"
#include "core/Subject.h"
#include "discovery/DiscoveryCycle.h"
#include "discovery/win/ThreadClose.h"
#include "discovery/win/ThreadEnumPorts.h"
#include "obex/OBEX_Push.h"
#include "obex/win/PushDialog.h"
#include "toolkit/win/MainMenu.h"
#include "toolkit/win/TWindow.h"
#include "ui/win/ScanProgressDialog.h"
#include "ui/win/StatusWindow.h"
#include "ui/win/ToolBarMain.h"

class Device;
class SystemPortPollers;

class MainWindow : public TWindow, public PortListObserver, public PushListener {
public:
    static constexpr const char* kClassName = "qv_MainWindow";

    // The process singleton, created on first use.
    static MainWindow* Instance();
    // Destroys the singleton (after the message loop ended).
    static void Release();

    // Creates the native window; false when it cannot be created.
    bool Create();
    // Starts a discovery cycle unless one runs; the progress owner receives its progress.
    void StartPortScan(HWND progressOwner);
    // Disconnects the ports marked changed and removes the vanished ones (on the calling
    // thread).
    void ProcessChangedPorts();

    // PortListObserver: called from the port threads too, so both only send messages.
    void ReleasePort(TComm* port) override;
    void PortsChanged() override;
    // PushListener: the push's busy and idle, as the device-busy message to this window.
    void DeviceBusy(Device* device, bool busy) override;

    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(int notifyCode, int id, HWND control) override;
    LRESULT OnDestroy() override;
    LRESULT OnClose() override;
    LRESULT OnInitMenuPopup(HWND hwnd, HMENU menu, UINT position, BOOL systemMenu) override;
    LRESULT OnEraseBackground(HDC dc) override;
    LRESULT OnSize(int width, int height, UINT type) override;
    LRESULT OnShowWindow(BOOL shown, UINT status) override;

    const GString& Title() const { return title; }

private:
    MainWindow();
    ~MainWindow() override;

    LRESULT OnDeviceChange(WPARAM event, LPARAM data);
    // The device list: for now the names of the identified phones in the title.
    void RebuildDeviceList();
    void SetDeviceBusy(Device* device, bool busy);
    // Places the status bar and the visible docked panels in the client area.
    void LayOut();

    // First: the toolbar and the menu observe it until they go.
    CommandStateSubject commandState;
    MainMenu menu;
    GString title;
    std::atomic<TComm*> currentPort{nullptr};
    StatusWindow statusBar;
    ToolBarMain toolbar;
    bool shownOnce = false;
    ScanProgressDialog progress;
    // "Отправить файл...": one push at a time for the whole run, shown in its own
    // file-operation dialog (made once the settings are loaded).
    OBEX_Push push;
    std::unique_ptr<PushDialog> pushDialog;
    Thread_EnumPorts scanThread;
    Thread_Close closeThread;
    std::unique_ptr<SystemPortPollers> pollers;
    bool themesActive = false;
};

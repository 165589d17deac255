// The program's one top-level window and the switchboard of the user interface: the menu, the
// toolbar, the device list, the selected phone's control panel and view, the status bar. Every
// menu and toolbar command arrives here; the port threads and the phones' workers report with
// the private messages of resource.h, sent so that each is handled before the sender goes on.
//
// Closing runs in two phases: the first close request starts Thread_Close, which stops the
// phones' work, disconnects the ports and posts WM_CLOSE again; the second saves the settings
// and lets the window be destroyed. Ending the Windows session saves the settings at once.
#pragma once

#include <memory>

#include "core/GString.h"
#include "core/Subject.h"
#include "discovery/DiscoveryCycle.h"
#include "discovery/win/ThreadClose.h"
#include "discovery/win/ThreadEnumPorts.h"
#include "obex/OBEX_Push.h"
#include "obex/win/PushDialog.h"
#include "toolkit/win/DialogProgress.h"
#include "toolkit/win/MainMenu.h"
#include "toolkit/win/TWindow.h"
#include "ui/MainWindowRules.h"
#include "ui/win/DeviceListPanel.h"
#include "ui/win/PortDialog.h"
#include "ui/win/ScanProgressDialog.h"
#include "ui/win/StatusWindow.h"
#include "ui/win/ThreadDisconnect.h"
#include "ui/win/ToolBarMain.h"
#include "ui/win/ViewHost.h"

class Device;
class DeviceControlPanel;
class DeviceWindows;
class SystemPortPollers;

class MainWindow : public TWindow, public PortListObserver, public ViewHost, public PortDialogHost,
                   public PushListener {
public:
    static constexpr const char* kClassName = "qv_MainWindow";

    // The process singleton, created on first use.
    static MainWindow* Instance();
    // Destroys the singleton (after the message loop ended).
    static void Release();

    // Creates the native window with its menu, bars and device list; false when it cannot be
    // created.
    bool Create();
    // PortDialogHost. Starts a discovery cycle unless one runs; the progress owner receives
    // its progress.
    void StartPortScan(HWND progressOwner) override;
    bool PortScanRunning() override { return scanThread.IsRunning(); }
    ScanProgressDialog& PortScanProgress() override { return progress; }

    // PortListObserver: called from the port threads, so both only send messages.
    void ReleasePort(TComm* port) override;
    void PortsChanged() override;
    // PushListener: the push's busy and idle, as the device-busy message to this window.
    void DeviceBusy(Device* device, bool busy) override;
    // ViewHost.
    void ClearViewState() override;
    CommandStateSubject* HostCommandState() override { return &commandState; }
    StatusWindow* HostStatusBar() override { return &statusBar; }
    GMenu* HostMenu() override { return &menu; }

    StatusWindow& StatusBar() { return statusBar; }
    const GString& Title() const { return title; }

    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(int notifyCode, int id, HWND control) override;
    LRESULT OnSize(int width, int height, UINT type) override;
    LRESULT OnShowWindow(BOOL shown, UINT status) override;
    LRESULT OnActivate(UINT state, BOOL minimized, HWND other) override;
    LRESULT OnDestroy() override;
    LRESULT OnClose() override;
    LRESULT OnInitMenuPopup(HWND hwnd, HMENU menu, UINT position, BOOL systemMenu) override;
    LRESULT OnEraseBackground(HDC dc) override;

private:
    // Shows the disconnect worker's progress in a dialog of its own.
    class DisconnectProgress : public Thread_Disconnect::Progress {
    public:
        explicit DisconnectProgress(MainWindow& window) : window(window) {}
        void Open(TComm* port) override;
        void Close() override { dialog.Close(); }
        DialogProgress dialog;

    private:
        MainWindow& window;
    };

    MainWindow();
    ~MainWindow() override;

    LRESULT OnDeviceChange(WPARAM event, LPARAM data);
    // QVM_SELECT_PORT.
    void SelectPort(TComm* port);
    // QVM_SWITCH_VIEW.
    void SwitchView(int command);
    // QVM_PORTS_CHANGED: buttons and views for new phones, then the selection.
    void RebuildDeviceList();
    // QVM_DEVICE_POPUP: the clicked phone's popup; its command acts on that phone.
    void ShowDevicePopup(TComm* port);
    // QVM_DEVICE_BUSY.
    void SetDeviceBusy(Device* device, bool busy);
    // QVM_RELEASE_PORT: the port's button and windows go; the selection too when it was the
    // selected port.
    void LetGoOfPort(TComm* port);

    // Disconnects the phone on the port on the disconnect worker, if it is still listed and
    // idle.
    void DisconnectPort(TComm* port);
    // "Отправить файл...": the files are pushed to the phone on the port.
    void SendFileTo(TComm* port);
    // "Порты...": a new scan when the dialog ended with changed settings.
    void RunPortDialog();
    void TogglePanel(int command);
    void SetListStyle(int style);
    void ShowAbout();
    void ForwardToView(int notifyCode, int id, HWND control);
    void SaveAtSessionEnd();

    // The windows of the port's device, or null.
    static DeviceWindows* WindowsOf(TComm* port);
    void HideCurrentView();
    void ClearSelection();
    // Places the status bar, the visible docked panels and the view.
    void LayOut();

    PortDialog portDialog{*this};
    // Before the menu: the toolbar and the menu observe it until they go.
    CommandStateSubject commandState;
    MainMenu menu;
    GString title;
    StatusWindow statusBar;
    // The selected phone: its port, its control panel and its shown view, all null or all of
    // the one device. Window thread only.
    TComm* currentPort = nullptr;
    DeviceControlPanel* currentPanel = nullptr;
    TWindow* currentView = nullptr;
    ToolBarMain toolbar;
    DeviceListPanel deviceList;
    bool shownOnce = false;
    bool closing = false;
    ScanProgressDialog progress;
    DisconnectProgress disconnectProgress{*this};
    // "Отправить файл...": one push at a time for the whole run, shown in its own
    // file-operation dialog (made once the settings are loaded).
    OBEX_Push push;
    std::unique_ptr<PushDialog> pushDialog;
    Thread_EnumPorts scanThread;
    Thread_Close closeThread;
    Thread_Disconnect disconnectThread;
    std::unique_ptr<SystemPortPollers> pollers;
    bool themesActive = false;
};

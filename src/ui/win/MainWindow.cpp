#include "ui/win/MainWindow.h"

#include <dbt.h>
#include <shellapi.h>

#include <cstddef>
#include <vector>

#include "core/MessageReporter.h"
#include "core/win/AppCore.h"
#include "devices/Device.h"
#include "devices/TComm.h"
#include "discovery/PortList.h"
#include "discovery/win/SystemPortPollers.h"
#include "filemanager/ListLogic.h"
#include "resources/resource.h"
#include "toolkit/win/About.h"
#include "toolkit/win/ScreenPlacementWin.h"
#include "toolkit/win/Theme.h"
#include "ui/MainLayout.h"
#include "ui/win/DeviceWindows.h"

namespace {

MainWindow* instance = nullptr;

// Where the window stands when it is neither minimised nor maximised, in screen coordinates:
// the rectangle of a minimised window is a parking place, not a placement to come back to.
bool NormalWindowRect(HWND window, RECT& rect)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return false;
    rect = placement.rcNormalPosition;
    // The normal position counts from the work area of its monitor (a taskbar at the top or
    // left moves it); the settings keep screen coordinates.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor))
        OffsetRect(&rect, monitor.rcWork.left - monitor.rcMonitor.left,
                   monitor.rcWork.top - monitor.rcMonitor.top);
    return true;
}

// Shown by its own style: the layout runs before the main window itself is visible.
bool IsShownPanel(const TWindow* panel)
{
    return panel->Handle() != nullptr && (GetWindowLongA(panel->Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

GString LoadText(UINT id)
{
    char buffer[255] = {};
    LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return GString(buffer);
}

PortList& Ports() { return AppCore::Instance()->Ports(); }

}  // namespace

MainWindow* MainWindow::Instance()
{
    if (instance == nullptr)
        instance = new MainWindow();
    return instance;
}

void MainWindow::Release()
{
    delete instance;
    instance = nullptr;
}

MainWindow::MainWindow()
{
    RegisterWindowClass(IDI_PROGRAM, nullptr, nullptr, kClassName, CS_OWNDC);
    themesActive = ThemeApi::Get().IsThemeActive() != FALSE;
    AppCore* core = AppCore::Instance();
    core->SetCurrentDirectoryFromProcess();
    core->LoadSettings();
    title = LoadText(IDS_PRODUCT_NAME);
    PortList& ports = core->Ports();
    pollers = std::make_unique<SystemPortPollers>(ports);
    scanThread.Attach(&ports, pollers.get(), this, &progress);
    closeThread.Attach(&scanThread, &ports, this, &progress);
    disconnectThread.Attach(&ports, this, &disconnectProgress);
    closeThread.AddWork(&disconnectThread);
    pushDialog = std::make_unique<PushDialog>(this, &core->Values());
    push.SetListener(this);
    push.SetProgress(pushDialog.get());
    closeThread.AddWork(&push);
}

MainWindow::~MainWindow()
{
    closeThread.Wait(ThreadObject::kInfinite);
    if (handle != nullptr && IsWindow(handle))
        DestroyWindow(handle);
    // Workers still running (the window never went through its close) use the core: they end
    // first. Their messages to the destroyed window return at once.
    scanThread.StopForClosing();
    disconnectThread.StopAndWait();
    push.StopAndWait();
    // Still here when the window never came up: the settings are saved all the same.
    if (AppCore::Existing() != nullptr)
        AppCore::Destroy();
}

bool MainWindow::Create()
{
    CreateWindowExA(WS_EX_WINDOWEDGE, kClassName, title.CStr(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                    GetModuleHandleA(nullptr), this);
    if (handle == nullptr)
        return false;
    if (menu.Create())
        menu.Attach(this);
    menu.SetCheck(IDM_EXPLORER, false);
    menu.SetCheck(IDM_INFORMATION, false);
    commandState.Attach(&menu);
    const SettingsValues& values = AppCore::Instance()->Values();
    // Without its pictures there is no toolbar; the commands stay in the menu.
    if (toolbar.Create(this, &commandState) && values.showToolbar)
        toolbar.Show();
    menu.SetCheck(IDM_TOOLBAR, values.showToolbar);
    menu.SetCheck(IDM_CONTROL_PANEL, values.showControlPanel);
    menu.SetRadioCheck(IDM_VIEW_LARGE_ICONS, IDM_VIEW_DETAILS, CommandForViewCode(values.listViewStyle));
    deviceList.Create(this, "Устройства");
    if (statusBar.Create(this) && values.showStatusBar)
        statusBar.Show();
    menu.SetCheck(IDM_STATUS_BAR, values.showStatusBar);
    commandState.Reset(true);
    if (values.windowWidth != 0)
        MoveWindow(handle, values.windowX, values.windowY, values.windowWidth, values.windowHeight, FALSE);
    // A placement saved on a larger screen, or a damaged one, must not hide the window.
    KeepWindowOnScreen(handle);
    LayOut();
    return true;
}

void MainWindow::StartPortScan(HWND progressOwner)
{
    // The pollers were made before the window: the radio's notifications need its handle.
    pollers->SetWindow(handle);
    scanThread.StartScan(handle, progressOwner);
}

void MainWindow::ReleasePort(TComm* port) { SendMessageA(handle, QVM_RELEASE_PORT, reinterpret_cast<WPARAM>(port), 0); }

void MainWindow::PortsChanged() { SendMessageA(handle, QVM_PORTS_CHANGED, 0, 0); }

void MainWindow::DeviceBusy(Device* device, bool busy)
{
    SendMessageA(handle, QVM_DEVICE_BUSY, reinterpret_cast<WPARAM>(device), busy ? 1 : 0);
}

void MainWindow::ClearViewState()
{
    commandState.Reset(false);
    statusBar.Clear();
}

DeviceWindows* MainWindow::WindowsOf(TComm* port)
{
    if (port == nullptr || port->device == nullptr)
        return nullptr;
    return static_cast<DeviceWindows*>(port->device->Views());
}

void MainWindow::LetGoOfPort(TComm* port)
{
    deviceList.RemoveDevice(port);
    if (port == currentPort)
        ClearSelection();
    // The windows belong to this thread: they go here, before the port thread destroys the
    // device.
    if (port != nullptr && port->device != nullptr)
        port->device->AttachViews(nullptr);
    LayOut();
}

void MainWindow::HideCurrentView()
{
    if (currentView != nullptr)
        currentView->Hide();
    currentView = nullptr;
}

void MainWindow::ClearSelection()
{
    HideCurrentView();
    if (currentPanel != nullptr)
        currentPanel->Hide();
    currentPanel = nullptr;
    currentPort = nullptr;
}

void MainWindow::SelectPort(TComm* port)
{
    if (port == nullptr) {
        ClearSelection();
        commandState.Reset(true);
        statusBar.Clear();
        deviceList.Hide();
        LayOut();
        return;
    }
    DeviceWindows* windows = WindowsOf(port);
    if (port == currentPort || windows == nullptr)
        return;
    HideCurrentView();
    currentPort = port;
    deviceList.Select(port);
    deviceList.Show();
    if (currentPanel != nullptr)
        currentPanel->Hide();
    currentPanel = &windows->ControlPanel();
    if (AppCore::Instance()->Values().showControlPanel)
        currentPanel->Show();
    else
        currentPanel->Hide();
    const int command = ViewCommandOnSelect(currentPanel->SelectedId(), port->device->settings.fileManagerShown != 0);
    // The panel selects its button when the command arrives and asks for the view then.
    PostMessageA(currentPanel->Handle(), WM_COMMAND, static_cast<WPARAM>(command), 0);
    LayOut();
}

void MainWindow::SwitchView(int command)
{
    DeviceWindows* windows = WindowsOf(currentPort);
    if (windows == nullptr)
        return;
    HideCurrentView();
    FileManagerView* files = windows->FileManager();
    const ViewSwitch chosen = ChooseView(command, files != nullptr, files != nullptr && files->SessionOpen(),
                                         windows->InfoView().Handle() != nullptr);
    if (chosen.view == ShownView::FileManager) {
        currentView = files->Window();
        if (chosen.openSession) {
            SetDeviceBusy(currentPort->device, true);
            files->OpenSession();
        }
    } else if (chosen.view == ShownView::Information) {
        currentView = &windows->InfoView();
    }
    if (currentView != nullptr) {
        currentView->Show();
        if (GetActiveWindow() == handle)
            currentView->Focus();
    }
    const ViewMenu viewMenu = MenuAfterViewSwitch(files != nullptr, windows->InfoView().Handle() != nullptr, chosen.view);
    ApplyViewMenu(commandState, viewMenu);
    menu.SetRadioCheck(IDM_EXPLORER, IDM_INFORMATION, static_cast<UINT>(viewMenu.radio));
    commandState.Notify();
    LayOut();
}

void MainWindow::RebuildDeviceList()
{
    std::vector<TComm*> listed;
    std::vector<ListedPort> states;
    {
        PortList& ports = Ports();
        auto lock = ports.Lock();
        for (ListIterator<TComm> it(ports.ports); !it.IsDone(); it.Next()) {
            TComm* port = it.CurrentItem();
            if (ports.IsProcessing(port))
                continue;
            listed.push_back(port);
            states.push_back(ListedPort{port->identified && port->device != nullptr, deviceList.Find(port) != nullptr});
        }
    }
    // A port thread that lets go of one of these ports waits for this thread's answer first,
    // so they stay whole while the buttons and windows are made.
    const RebuildPlan plan = PlanDeviceListRebuild(states, deviceList.SelectedPort() != nullptr);
    for (size_t index : plan.newButtons) {
        TComm* port = listed[index];
        if (deviceList.AddDevice(port, port->device->name) != nullptr && port->device->Views() == nullptr) {
            DeviceWindows::CreateViews(port->device, this, this);
            if (closing)
                port->device->SetBusy();
        }
    }
    deviceList.LayOut();
    portDialog.RefreshIfOpen();
    if (!plan.changeSelection)
        return;
    SelectPort(plan.select ? listed[*plan.select] : nullptr);
}

void MainWindow::ShowDevicePopup(TComm* port)
{
    PopupItems items;
    {
        PortList& ports = Ports();
        auto lock = ports.Lock();
        if (!IsListedPort(ports, port) || port->device == nullptr)
            return;
        items = DevicePopupItems(port->device->IsBusy(), port->kind);
    }
    // Made for this showing: the popup's loop runs messages, in which the phone and its
    // windows may go.
    GMenu popup;
    if (!popup.LoadPopupMenu("TRACKPOPUPMENU_DEVICE"))
        return;
    popup.Enable(IDM_SEND_FILE, items.sendFile && !push.IsPushing());
    popup.Enable(IDM_DISCONNECT, items.disconnect);
    POINT at{};
    GetCursorPos(&at);
    const int command = static_cast<int>(TrackPopupMenu(popup.Popup(0), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_LEFTBUTTON,
                                                        at.x, at.y, 0, handle, nullptr));
    if (command == IDM_DISCONNECT)
        DisconnectPort(port);
    else if (command == IDM_SEND_FILE)
        SendFileTo(port);
}

void MainWindow::DisconnectPort(TComm* port)
{
    if (closing)
        return;
    Device* device = nullptr;
    {
        PortList& ports = Ports();
        auto lock = ports.Lock();
        if (!TakePortForDisconnect(ports, port))
            return;
        device = port->device;
    }
    // Busy while it waits for the phone: its panel takes no input and its popup offers nothing.
    SetDeviceBusy(device, true);
    if (disconnectThread.Disconnect(port))
        return;
    PortList& ports = Ports();
    auto lock = ports.Lock();
    ReturnTakenPort(ports, port);
}

void MainWindow::SendFileTo(TComm* port)
{
    // One push at a time: its selection and buffers are single.
    if (closing || port == nullptr || push.IsPushing())
        return;
    // The dialog's loop runs messages, in which a scan or a disconnect may let go of the
    // phone: the port is looked up again afterwards.
    if (!push.SelectFiles(handle))
        return;
    Device* device = nullptr;
    {
        PortList& ports = Ports();
        auto lock = ports.Lock();
        if (closing || !IsListedPort(ports, port) || port->device == nullptr || port->device->IsBusy())
            return;
        device = port->device;
        // Busy before the lock goes: no scan, disconnect or port dialog lets go of the port now.
        device->SetBusy();
    }
    if (!push.StartPush(port))
        SetDeviceBusy(device, false);
}

void MainWindow::SetDeviceBusy(Device* device, bool busy)
{
    if (device == nullptr)
        return;
    if (busy) {
        device->SetBusy();
        ApplyBusyChange(commandState, true);
        statusBar.Clear();
        return;
    }
    // While closing every phone stays busy: its port is about to go.
    if (closing)
        return;
    ApplyBusyChange(commandState, false);
    device->ClearBusy();
    // A port that vanished while its device was in use goes now.
    bool pending = false;
    {
        PortList& ports = Ports();
        auto lock = ports.Lock();
        for (ListIterator<TComm> it(ports.ports); !it.IsDone(); it.Next())
            pending = pending || (!ports.IsProcessing(it.CurrentItem()) && it.CurrentItem()->changed);
    }
    if (pending)
        disconnectThread.ProcessChanged();
}

void MainWindow::RunPortDialog()
{
    AppCore* core = AppCore::Instance();
    PortKinds available;
    available.on[TComm::kSerial] = true;
    available.on[TComm::kIrDA] = core->irdaAvailable;
    available.on[TComm::kBluetooth] = core->bluetoothAvailable;
    if (portDialog.Run(this, core->Ports(), available))
        StartPortScan(nullptr);
}

void MainWindow::TogglePanel(int command)
{
    SettingsValues& values = AppCore::Instance()->Values();
    bool* setting = nullptr;
    TWindow* panel = nullptr;
    switch (command) {
    case IDM_TOOLBAR:
        setting = &values.showToolbar;
        panel = toolbar.Handle() != nullptr ? &toolbar : nullptr;
        break;
    case IDM_CONTROL_PANEL:
        setting = &values.showControlPanel;
        panel = currentPanel;
        break;
    case IDM_STATUS_BAR:
        setting = &values.showStatusBar;
        panel = statusBar.Handle() != nullptr ? &statusBar : nullptr;
        break;
    default:
        return;
    }
    // Without a selected phone only the mark and the setting change; the setting applies to
    // every panel shown later.
    *setting = panel != nullptr ? !IsShownPanel(panel) : !*setting;
    if (panel != nullptr) {
        if (*setting)
            panel->Show();
        else
            panel->Hide();
    }
    menu.SetCheck(static_cast<UINT>(command), *setting);
    LayOut();
}

void MainWindow::SetListStyle(int style)
{
    if (style < 0)
        return;
    AppCore::Instance()->Values().listViewStyle = static_cast<uint8_t>(style);
    menu.SetRadioCheck(IDM_VIEW_LARGE_ICONS, IDM_VIEW_DETAILS, CommandForViewCode(style));
    std::vector<FileManagerView*> open;
    {
        PortList& ports = Ports();
        auto lock = ports.Lock();
        for (ListIterator<TComm> it(ports.ports); !it.IsDone(); it.Next()) {
            DeviceWindows* windows = ports.IsProcessing(it.CurrentItem()) ? nullptr : WindowsOf(it.CurrentItem());
            if (windows != nullptr && windows->FileManager() != nullptr)
                open.push_back(windows->FileManager());
        }
    }
    for (FileManagerView* files : open)
        files->SetListStyle(static_cast<uint8_t>(style));
}

void MainWindow::ShowAbout()
{
    auto* about = new About();
    if (about->DoModal("IDD_ABOUT", this) == -1)
        Reporter().Report(MessageKind::SystemError, 0);
    delete about;
}

void MainWindow::ForwardToView(int notifyCode, int id, HWND control)
{
    if (currentView != nullptr && currentView->Handle() != nullptr)
        SendMessageA(currentView->Handle(), WM_COMMAND, MAKEWPARAM(id, notifyCode), reinterpret_cast<LPARAM>(control));
}

void MainWindow::SaveAtSessionEnd()
{
    AppCore* core = AppCore::Existing();
    if (core == nullptr)
        return;
    // The phones still connected keep their records too: the close that would store them
    // cannot finish before the session ends.
    {
        PortList& ports = core->Ports();
        auto lock = ports.Lock();
        for (ListIterator<TComm> it(ports.ports); !it.IsDone(); it.Next()) {
            TComm* port = it.CurrentItem();
            if (!ports.IsProcessing(port) && port->device != nullptr)
                ports.Settings().StoreDeviceSettings(port->device->settings);
        }
    }
    // No box: the session is ending.
    core->SaveSettings(false);
}

LRESULT MainWindow::OnDeviceChange(WPARAM event, LPARAM data)
{
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    switch (event) {
    case DBT_DEVICEARRIVAL:
        if (header == nullptr)
            break;
        if (header->dbch_devicetype == DBT_DEVTYP_PORT) {
            StartPortScan(nullptr);
        } else if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
            // The name runs to the end of the record the system gave, terminated or not.
            const std::size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name);
            GString name;
            if (header->dbch_size > nameOffset) {
                const char* bytes = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(header)->dbcc_name;
                uint32_t available = static_cast<uint32_t>(header->dbch_size - nameOffset);
                uint32_t length = 0;
                while (length < available && bytes[length] != '\0')
                    ++length;
                name.Assign(bytes, length);
            }
            GString text("Новое устройство:\n");
            text.Append(name);
            MessageBoxA(handle, text.CStr(), "DBT_DEVTYP_DEVICEINTERFACE", MB_OK);
        }
        break;
    case DBT_DEVICEREMOVECOMPLETE:
        StartPortScan(nullptr);
        break;
    case DBT_DEVICETYPESPECIFIC:
        MessageBoxA(handle, "A device-specific event has occurred.", "WM_DEVICECHANGE", MB_OK);
        break;
    default:
        break;
    }
    return TRUE;
}

LRESULT MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_QUERYENDSESSION:
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        return TRUE;
    case WM_ENDSESSION:
        if (wParam != 0)
            SaveAtSessionEnd();
        return 0;
    case WM_DEVICECHANGE:
        return OnDeviceChange(wParam, lParam);
    case WM_SETTINGCHANGE:
        menu.RebuildFont();
        return 0;
    case QVM_SELECT_PORT:
        SelectPort(reinterpret_cast<TComm*>(wParam));
        return 0;
    case QVM_SWITCH_VIEW:
        SwitchView(static_cast<int>(wParam));
        return 0;
    case QVM_SHOW_PROGRESS:
        if (reinterpret_cast<ScanProgress*>(wParam) == &progress)
            progress.Show(this);
        return 0;
    case QVM_PORTS_CHANGED:
        RebuildDeviceList();
        return 0;
    case QVM_DEVICE_POPUP:
        ShowDevicePopup(reinterpret_cast<TComm*>(wParam));
        return 0;
    case QVM_DEVICE_BUSY:
        SetDeviceBusy(reinterpret_cast<Device*>(wParam), lParam != 0);
        return 0;
    case QVM_RELEASE_PORT:
        LetGoOfPort(reinterpret_cast<TComm*>(wParam));
        return 0;
    default:
        return TWindow::WindowProc(hwnd, message, wParam, lParam);
    }
}

LRESULT MainWindow::OnCommand(int notifyCode, int id, HWND control)
{
    switch (ActionOfCommand(id)) {
    case CommandAction::Close:
        SendMessageA(handle, WM_CLOSE, 0, 0);
        return 0;
    case CommandAction::SendFile:
        SendFileTo(currentPort);
        return 0;
    case CommandAction::ForwardToView:
        ForwardToView(notifyCode, id, control);
        return 0;
    case CommandAction::ToControlPanel:
        if (currentPanel != nullptr)
            PostMessageA(currentPanel->Handle(), WM_COMMAND, static_cast<WPARAM>(id), 0);
        return 0;
    case CommandAction::Disconnect:
        DisconnectPort(currentPort);
        return 0;
    case CommandAction::ToggleToolbar:
    case CommandAction::ToggleControlPanel:
    case CommandAction::ToggleStatusBar:
        TogglePanel(id);
        return 0;
    case CommandAction::ListStyle:
        SetListStyle(ViewCodeForCommand(id));
        return 0;
    case CommandAction::Ports:
        RunPortDialog();
        return 0;
    case CommandAction::Rescan:
        StartPortScan(handle);
        return 0;
    case CommandAction::HelpPage:
        ShellExecuteA(handle, "open", QV_HELP_PAGE, nullptr, nullptr, SW_SHOWNORMAL);
        return 0;
    case CommandAction::About:
        ShowAbout();
        return 0;
    case CommandAction::None:
        break;
    }
    return kNotHandled;
}

LRESULT MainWindow::OnInitMenuPopup(HWND, HMENU, UINT, BOOL) { return 0; }

LRESULT MainWindow::OnActivate(UINT state, BOOL, HWND)
{
    if (state == WA_INACTIVE || currentView == nullptr || currentView->Handle() == nullptr)
        return kNotHandled;
    currentView->Focus();
    return 0;
}

LRESULT MainWindow::OnEraseBackground(HDC dc)
{
    // The area that no panel or view covers.
    RECT client{};
    GetClientRect(handle, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
    return 1;
}

LRESULT MainWindow::OnSize(int, int, UINT type)
{
    if (type != SIZE_MINIMIZED)
        LayOut();
    return 0;
}

LRESULT MainWindow::OnShowWindow(BOOL shown, UINT)
{
    if (!shown || shownOnce)
        return kNotHandled;
    // Panels sharing a side draw the edge between them once the window is up.
    shownOnce = true;
    const std::vector<DockWindow*>& panels = DockWindow::Panels();
    std::vector<DockedPanel> docked;
    std::vector<uint32_t> edges;
    for (DockWindow* panel : panels) {
        docked.push_back(DockedPanel{panel->Side(), IsShownPanel(panel), panel->BarSize()});
        edges.push_back(panel->Style() & kDockEdges);
    }
    edges = EdgesAfterFirstShow(docked, edges);
    for (size_t i = 0; i < panels.size(); ++i) {
        if (docked[i].visible)
            panels[i]->SetEdges(edges[i]);
    }
    return kNotHandled;
}

void MainWindow::LayOut()
{
    const std::vector<DockWindow*>& panels = DockWindow::Panels();
    if (handle == nullptr)
        return;
    RECT client{};
    GetClientRect(handle, &client);
    std::vector<DockedPanel> docked;
    for (DockWindow* panel : panels)
        docked.push_back(DockedPanel{panel->Side(), panel->IsDocked() && IsShownPanel(panel), panel->BarSize()});
    // The view only of a phone that is connected.
    const bool viewShown = currentView != nullptr && currentView->Handle() != nullptr && currentPort != nullptr &&
                           currentPort->device != nullptr && currentPort->isOpen;
    const MainLayout layout =
        LayOutMainWindow(TRect(client.left, client.top, client.right, client.bottom),
                         IsShownPanel(&statusBar) ? statusBar.OuterSize().cy : -1, docked, viewShown);
    HDWP moves = BeginDeferWindowPos(static_cast<int>(panels.size()) + 2);
    auto place = [&](HWND window, const TRect& r) {
        if (moves != nullptr)
            moves = DeferWindowPos(moves, window, nullptr, r.left, r.top, r.Width(), r.Height(),
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    };
    if (layout.statusBar)
        place(statusBar.Handle(), *layout.statusBar);
    for (size_t i = 0; i < layout.panels.size() && i < panels.size(); ++i) {
        if (docked[i].visible)
            place(panels[i]->Handle(), layout.panels[i]);
    }
    if (layout.view)
        place(currentView->Handle(), *layout.view);
    if (moves != nullptr)
        EndDeferWindowPos(moves);
}

LRESULT MainWindow::OnDestroy()
{
    PostQuitMessage(0);
    return 0;
}

LRESULT MainWindow::OnClose()
{
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_APPSTARTING)));
    if (AppCore* core = AppCore::Existing()) {
        closing = true;
        std::vector<Device*> devices;
        {
            PortList& ports = core->Ports();
            auto lock = ports.Lock();
            for (ListIterator<TComm> it(ports.ports); !it.IsDone(); it.Next()) {
                if (!ports.IsProcessing(it.CurrentItem()) && it.CurrentItem()->device != nullptr)
                    devices.push_back(it.CurrentItem()->device);
            }
        }
        for (Device* device : devices)
            device->SetBusy();
    }
    if (!closeThread.Done()) {
        // The ports dialog works on the ports that are about to go.
        portDialog.CancelIfOpen();
        // First phase: the ports are closed on a worker, which posts WM_CLOSE when it is done.
        // A close request while it runs is refused without starting it again.
        closeThread.SetOwner(handle);
        closeThread.Start();
        return 0;
    }
    RECT rect{};
    if (NormalWindowRect(handle, rect)) {
        SettingsValues& values = AppCore::Instance()->Values();
        values.windowX = rect.left;
        values.windowY = rect.top;
        values.windowWidth = rect.right - rect.left;
        values.windowHeight = rect.bottom - rect.top;
    }
    pushDialog->CloseNow();
    AppCore::Destroy();
    deviceList.CloseIfAlive();
    toolbar.CloseIfAlive();
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    return kNotHandled;
}

void MainWindow::DisconnectProgress::Open(TComm* port)
{
    if (!dialog.Open(&window, LoadText(IDS_CAPTION_CONNECT).CStr(), ScanProgressDialog::kDelaySeconds))
        return;
    GString text("Отключение «");
    if (port != nullptr && port->device != nullptr)
        text.Append(port->device->name);
    text.Append("»...");
    dialog.SetText(text);
    // Nothing stops a phone that does not answer: the disconnect runs to its end.
    ShowWindow(GetDlgItem(dialog.Handle(), IDCANCEL), SW_HIDE);
}

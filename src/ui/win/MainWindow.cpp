#include "ui/win/MainWindow.h"

#include <dbt.h>

#include <cstddef>
#include <vector>

#include "core/win/AppCore.h"
#include "devices/Device.h"
#include "devices/TComm.h"
#include "discovery/PortList.h"
#include "discovery/win/SystemPortPollers.h"
#include "resources/resource.h"
#include "toolkit/win/ScreenPlacementWin.h"
#include "toolkit/win/Theme.h"

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
    char buffer[255] = {};
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_PRODUCT_NAME, buffer, sizeof buffer) > 0)
        title.Assign(buffer);
    PortList& ports = core->Ports();
    pollers = std::make_unique<SystemPortPollers>(ports);
    scanThread.Attach(&ports, pollers.get(), this, &progress);
    closeThread.Attach(&scanThread, &ports, this, &progress);
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
    // A scan still running (the window never went through its close) uses the core: it ends
    // first. Its messages to the destroyed window return at once.
    scanThread.StopForClosing();
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
    commandState.Attach(&menu);
    const SettingsValues& values = AppCore::Instance()->Values();
    // Without its pictures there is no toolbar; the commands stay in the menu.
    if (toolbar.Create(this, &commandState) && values.showToolbar)
        toolbar.Show();
    menu.SetCheck(IDM_TOOLBAR, values.showToolbar);
    if (statusBar.Create(this) && values.showStatusBar)
        statusBar.Show();
    menu.SetCheck(IDM_STATUS_BAR, values.showStatusBar);
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

void MainWindow::ProcessChangedPorts() { ::ProcessChangedPorts(AppCore::Instance()->Ports(), *this); }

void MainWindow::ReleasePort(TComm* port)
{
    if (port != nullptr && currentPort.load() == port)
        SendMessageA(handle, QVM_SELECT_PORT, 0, 0);
}

void MainWindow::PortsChanged() { SendMessageA(handle, QVM_PORTS_CHANGED, 0, 0); }

void MainWindow::DeviceBusy(Device* device, bool busy)
{
    SendMessageA(handle, QVM_DEVICE_BUSY, reinterpret_cast<WPARAM>(device), busy ? 1 : 0);
}

void MainWindow::RebuildDeviceList()
{
    GString text(title);
    uint32_t shown = 0;
    {
        PortList& ports = AppCore::Instance()->Ports();
        auto lock = ports.Lock();
        for (ListIterator<TComm> it(ports.ports); !it.IsDone(); it.Next()) {
            TComm* port = it.CurrentItem();
            if (ports.IsProcessing(port) || !port->identified || port->device == nullptr)
                continue;
            text.Append(shown++ == 0 ? " - " : ", ");
            text.Append(port->device->name);
        }
    }
    SetWindowTextA(handle, text.CStr());
}

void MainWindow::SetDeviceBusy(Device* device, bool busy)
{
    if (device == nullptr)
        return;
    if (busy) {
        device->SetBusy();
        return;
    }
    device->ClearBusy();
    // A port that vanished while its device was in use goes now.
    bool pending = false;
    {
        PortList& ports = AppCore::Instance()->Ports();
        auto lock = ports.Lock();
        for (ListIterator<TComm> it(ports.ports); !it.IsDone(); it.Next())
            pending = pending || (!ports.IsProcessing(it.CurrentItem()) && it.CurrentItem()->changed);
    }
    if (pending)
        ProcessChangedPorts();
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
    case WM_DEVICECHANGE:
        return OnDeviceChange(wParam, lParam);
    case WM_SETTINGCHANGE:
        menu.RebuildFont();
        return 0;
    case QVM_SELECT_PORT:
        currentPort.store(reinterpret_cast<TComm*>(wParam));
        return 0;
    case QVM_SHOW_PROGRESS:
        if (reinterpret_cast<ScanProgress*>(wParam) == &progress)
            progress.Show(this);
        return 0;
    case QVM_PORTS_CHANGED:
        RebuildDeviceList();
        return 0;
    case QVM_DEVICE_BUSY:
        SetDeviceBusy(reinterpret_cast<Device*>(wParam), lParam != 0);
        return 0;
    default:
        return TWindow::WindowProc(hwnd, message, wParam, lParam);
    }
}

LRESULT MainWindow::OnCommand(int, int id, HWND)
{
    if (id == IDM_EXIT) {
        SendMessageA(handle, WM_CLOSE, 0, 0);
        return 0;
    }
    return kNotHandled;
}

LRESULT MainWindow::OnInitMenuPopup(HWND, HMENU, UINT, BOOL) { return 0; }

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
    if (handle == nullptr || panels.empty())
        return;
    RECT client{};
    GetClientRect(handle, &client);
    TRect free(client.left, client.top, client.right, client.bottom);
    HDWP moves = BeginDeferWindowPos(static_cast<int>(panels.size()) + 2);
    auto place = [&](HWND window, const TRect& r) {
        if (moves != nullptr)
            moves = DeferWindowPos(moves, window, nullptr, r.left, r.top, r.Width(), r.Height(),
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    };
    if (IsShownPanel(&statusBar)) {
        const int height = statusBar.OuterSize().cy;
        place(statusBar.Handle(), TRect(free.left, free.bottom - height, free.right, free.bottom));
        free.bottom -= height;
    }
    std::vector<DockedPanel> docked;
    for (DockWindow* panel : panels)
        docked.push_back(DockedPanel{panel->Side(), panel->IsDocked() && IsShownPanel(panel), panel->BarSize()});
    std::vector<TRect> placed;
    LayOutDockedPanels(free, docked, placed);
    for (size_t i = 0; i < panels.size(); ++i) {
        if (docked[i].visible)
            place(panels[i]->Handle(), placed[i]);
    }
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
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    if (AppCore* core = AppCore::Existing()) {
        PortList& ports = core->Ports();
        auto lock = ports.Lock();
        for (ListIterator<TComm> it(ports.ports); !it.IsDone(); it.Next()) {
            if (!ports.IsProcessing(it.CurrentItem()) && it.CurrentItem()->device != nullptr)
                it.CurrentItem()->device->SetBusy();
        }
    }
    if (!closeThread.Done()) {
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
    toolbar.CloseIfAlive();
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    return kNotHandled;
}

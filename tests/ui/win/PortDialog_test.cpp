// The ports dialog as a user works it, over a real port list and scans of the Wine COM ports:
// the first start's exclusion undone, a port switched off and on, its speed changed (the
// simulator's log shows the next connection at that speed), and a refresh while the dialog is
// open that drops a port the scan destroyed.
//
// The dialog and a small stand-in of the main window live on a thread of their own; the test
// drives them with window messages as a user's clicks and keys would arrive.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>

#include "devices/TSerialPort.h"
#include "discovery/win/ScanSetup.h"
#include "discovery/win/ThreadEnumPorts.h"
#include "resources/resource.h"
#include "support/win/PhoneSim.h"
#include "support/win/QvProcess.h"
#include "support/win/SimLog.h"
#include "support/win/WaitUntil.h"
#include "ui/PortInfoTables.h"
#include "ui/win/PortDialog.h"
#include "ui/win/ScanProgressDialog.h"

namespace {

constexpr UINT kOpenDialog = WM_APP + 1;
constexpr UINT kStartScan = WM_APP + 2;
constexpr char kHostClass[] = "qv_TestPortHost";
constexpr char kVanishing[] = "COM98";

// The system's polls, plus an excluded port that vanishes when the test says so.
class TestPollers : public SystemPortPollers {
public:
    using SystemPortPollers::SystemPortPollers;
    void PollSerial(List<TComm>& found) override
    {
        SystemPortPollers::PollSerial(found);
        if (!vanished.load()) {
            auto* port = new TSerialPort;
            port->displayName = kVanishing;
            port->portName = kVanishing;
            port->included = false;
            found.Append(port);
        }
    }
    std::atomic<bool> vanished{false};
};

// What the main window does for the dialog: scans, their progress, refreshes.
class Host : public TWindow, public PortDialogHost, public PortListObserver {
public:
    Host(PortList& list, PortPollers& pollers) : list(list)
    {
        RegisterWindowClass(0, nullptr, nullptr, kHostClass, 0);
        CreateWindowExA(0, kHostClass, "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                        GetModuleHandleA(nullptr), this);
        scanThread.Attach(&list, &pollers, this, &progress);
    }
    ~Host() override
    {
        // A scan still running finds the window gone: its messages return at once.
        DestroyNativeWindow();
        scanThread.StopForClosing();
    }
    void StartPortScan(HWND progressOwner) override { scanThread.StartScan(handle, progressOwner); }
    bool PortScanRunning() override { return scanThread.IsRunning(); }
    ScanProgressDialog& PortScanProgress() override { return progress; }
    void ReleasePort(TComm*) override {}
    void PortsChanged() override { SendMessageA(handle, QVM_PORTS_CHANGED, 0, 0); }

    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case kOpenDialog:
            result.store(dialog.Run(this, list, PortKinds()) ? 1 : 0);
            return 0;
        case kStartScan:
            StartPortScan(nullptr);
            return 0;
        case QVM_SHOW_PROGRESS:
            progress.Show(this);
            return 0;
        case QVM_PORTS_CHANGED:
            dialog.RefreshIfOpen();
            return 0;
        default:
            return TWindow::WindowProc(hwnd, message, wParam, lParam);
        }
    }

    PortList& list;
    ScanProgressDialog progress;
    Thread_EnumPorts scanThread;
    PortDialog dialog{*this};
    std::atomic<int> result{-1};  // of the last showing: 1 OK with changes, 0 otherwise
};

// A first start: no settings file yet; every COM port but the simulator's is switched off.
class Rig {
public:
    explicit Rig(const std::string& ownCom) : scanner({ownCom})
    {
        scanner.store.values.firstRun = true;
        ui = std::thread([this] {
            Host created(scanner.list, pollers);
            uiThread.store(GetCurrentThreadId());
            host.store(&created);
            MSG msg{};
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            host.store(nullptr);
        });
        WaitUntil([&] { return host.load() != nullptr; }, 20000);
    }
    ~Rig()
    {
        if (dialog != nullptr)
            Close(IDCANCEL);
        PostThreadMessageA(uiThread.load(), WM_QUIT, 0, 0);
        ui.join();
    }

    void Scan()
    {
        SendMessageA(host.load()->Handle(), kStartScan, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !host.load()->PortScanRunning(); }, 60000));
    }
    void OpenDialog()
    {
        host.load()->result.store(-1);
        PostMessageA(host.load()->Handle(), kOpenDialog, 0, 0);
        dialog = WaitForWindow("Порты");
        ASSERT_NE(dialog, nullptr);
        list = GetDlgItem(dialog, IDC_PORT_LIST);
    }
    // OK or Cancel of the dialog; the value Run answered.
    int Close(int button)
    {
        PressButton(dialog, button);
        WaitUntil([&] { return host.load()->result.load() >= 0; }, 20000);
        dialog = nullptr;
        return host.load()->result.load();
    }
    HWND WaitForWindow(const char* caption)
    {
        HWND found = nullptr;
        WaitUntil([&] { return (found = FindWindowA("#32770", caption)) != nullptr && IsWindowVisible(found); }, 20000);
        return found;
    }
    int RowOf(const std::string& text)
    {
        const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char shown[256] = {};
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(shown));
            if (text == shown)
                return i;
        }
        return -1;
    }
    bool Checked(int row) { return reinterpret_cast<ListBoxRow*>(SendMessageA(list, LB_GETITEMDATA, row, 0))->checked; }
    // A click on the row's text.
    void Select(int row)
    {
        SendMessageA(list, LB_SETCURSEL, row, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PORT_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
    // The row selected, then Space on the list.
    void Toggle(int row)
    {
        Select(row);
        SendMessageA(list, WM_KEYUP, VK_SPACE, 0xC0390001);
    }
    TSerialPort* Port(const std::string& com) { return static_cast<TSerialPort*>(scanner.Port(com)); }
    bool Excluded(const std::string& com)
    {
        auto lock = scanner.list.Lock();
        return scanner.store.FindExcludedPort(0, com.c_str()) != nullptr;
    }

    Scanner scanner;
    TestPollers pollers{scanner.list};
    std::atomic<Host*> host{nullptr};
    std::atomic<DWORD> uiThread{0};
    std::thread ui;
    HWND dialog = nullptr;
    HWND list = nullptr;
};

TEST(PortDialog, AComPortSwitchedOnOffAndOnAgainAtANewSpeed)
{
    PhoneSim sim({"--profile", "nokia"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    const std::string com = sim.ComName();
    Rig rig(com);
    rig.Scan();
    ASSERT_NE(rig.Port(com), nullptr);
    EXPECT_TRUE(rig.Excluded(com)) << "the first start switches every serial port off";
    EXPECT_EQ(LinesFromPc(sim.Log(), "AT"), 0);

    // The user switches the port on.
    rig.OpenDialog();
    int row = rig.RowOf(com);
    ASSERT_GE(row, 0);
    EXPECT_FALSE(rig.Checked(row));
    rig.Toggle(row);
    EXPECT_TRUE(rig.Checked(row));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(rig.dialog, IDC_PORT_OPTIONS))) << "options of a port switched on";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(rig.dialog, IDC_PORT_INFO))) << "no information on a serial port";
    ASSERT_EQ(rig.Close(IDOK), 1) << "a port switched on needs a scan";
    EXPECT_FALSE(rig.Excluded(com));
    rig.Scan();
    ASSERT_TRUE(rig.Port(com)->identified) << sim.Log();
    const int atzAtFirst = LinesFromPc(sim.Log(), "ATZ");
    EXPECT_GE(atzAtFirst, 1);

    // Its speed: the options of the selected port.
    rig.OpenDialog();
    rig.Select(rig.RowOf(com));
    PressButton(rig.dialog, IDC_PORT_OPTIONS);
    HWND options = rig.WaitForWindow("Дополнительные настройки");
    ASSERT_NE(options, nullptr);
    HWND speed = GetDlgItem(options, IDC_LINE_SPEED);
    char shown[32] = {};
    GetWindowTextA(speed, shown, sizeof shown);
    EXPECT_STREQ(shown, "115200");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(options, IDC_LINE_DEFAULTS))) << "the port is on the defaults";
    SendMessageA(speed, CB_SETCURSEL, 5, 0);
    SendMessageA(options, WM_COMMAND, MAKEWPARAM(IDC_LINE_SPEED, CBN_SELCHANGE), reinterpret_cast<LPARAM>(speed));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(options, IDC_LINE_DEFAULTS)));
    PressButton(options, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(options); }, 20000)) << "the idle line took the speed";
    EXPECT_EQ(rig.Port(com)->baudRate, 57600u);
    EXPECT_EQ(rig.Close(IDOK), 0) << "a new speed needs no scan";
    {
        auto lock = rig.scanner.list.Lock();
        ASSERT_NE(rig.scanner.store.FindSerialSettings(com.c_str()), nullptr);
        EXPECT_EQ(rig.scanner.store.FindSerialSettings(com.c_str())->baudRate, 57600u);
    }

    // Off: the next scan lets the phone go and does not open the port.
    rig.OpenDialog();
    rig.Toggle(rig.RowOf(com));
    ASSERT_EQ(rig.Close(IDOK), 1);
    rig.Scan();
    EXPECT_FALSE(rig.Port(com)->identified);
    EXPECT_FALSE(rig.Port(com)->isOpen);
    EXPECT_EQ(LinesFromPc(sim.Log(), "ATZ"), atzAtFirst);

    // On again: the phone answers at the new speed.
    rig.OpenDialog();
    rig.Toggle(rig.RowOf(com));
    ASSERT_EQ(rig.Close(IDOK), 1);
    rig.Scan();
    EXPECT_TRUE(rig.Port(com)->identified);
    const std::string log = sim.Log();
    const size_t note = log.find("line set to 57600 bit/s");
    ASSERT_NE(note, std::string::npos) << log;
    EXPECT_GT(LinesFromPc(log.substr(note), "ATZ"), 0) << log;
}

// "Обновить" while the dialog is open: the scan's progress belongs to the dialog, and a port
// the scan destroyed leaves the list at once and is never followed or put back by OK.
TEST(PortDialog, ARefreshDropsAPortTheScanDestroyed)
{
    Rig rig("");  // every COM port switched off
    rig.Scan();
    const TComm* vanishing = rig.Port(kVanishing);
    ASSERT_NE(vanishing, nullptr);
    rig.OpenDialog();
    const int rows = static_cast<int>(SendMessageA(rig.list, LB_GETCOUNT, 0, 0));
    ASSERT_GE(rig.RowOf(kVanishing), 0);

    rig.pollers.vanished.store(true);
    PressButton(rig.dialog, IDC_PORT_REFRESH);
    ASSERT_TRUE(WaitUntil([&] { return rig.RowOf(kVanishing) < 0; }, 60000));
    ASSERT_TRUE(WaitUntil([&] { return !rig.host.load()->PortScanRunning(); }, 60000));
    EXPECT_EQ(SendMessageA(rig.list, LB_GETCOUNT, 0, 0), rows - 1);
    EXPECT_EQ(rig.host.load()->progress.Dialog().ParentWindow(), &rig.host.load()->dialog);
    EXPECT_EQ(rig.Close(IDOK), 0);
    auto lock = rig.scanner.list.Lock();
    for (ListIterator<TComm> it(rig.scanner.list.ports); !it.IsDone(); it.Next())
        EXPECT_NE(it.CurrentItem(), vanishing);
}

// Every description the information dialogs may show is in the string table.
TEST(PortDialog, EveryProfileDescriptionLoads)
{
    const uint8_t all[2] = {0xFF, 0xFF};
    std::set<uint32_t> ids;
    for (const ProfileRow& row : IrdaProfileRows(all))
        ids.insert(row.descriptionId);
    for (uint32_t serviceClass = 0; serviceClass <= 0xFFFF; ++serviceClass) {
        if (uint32_t id = ServiceDescriptionId(static_cast<uint16_t>(serviceClass)))
            ids.insert(id);
    }
    EXPECT_EQ(ids.size(), 30u);
    for (uint32_t id : ids) {
        char text[1024] = {};
        EXPECT_GT(LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text), 10) << id;
    }
}

}  // namespace

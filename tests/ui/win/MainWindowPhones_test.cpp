// The main window in this process with phones of the test's own making, where a test decides
// when a phone answers and what happens while a popup menu is open: "Отключить" waits for a
// silent phone on a worker, and the popup's command acts on the phone that was clicked, only
// while that phone is still listed and idle.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/win/AppCore.h"
#include "devices/Device.h"
#include "devices/TSerialPort.h"
#include "discovery/DiscoveryCycle.h"
#include "discovery/PortList.h"
#include "obex/OBEX_FTP.h"
#include "resources/resource.h"
#include "support/ScriptedSocket.h"
#include "support/win/MessagePump.h"
#include "support/win/QvWindows.h"
#include "support/win/TempDir.h"
#include "ui/win/MainWindow.h"

namespace {

// A phone whose line, when it leaves its file session, stays silent until the test lets it
// go; it notes the thread that waited.
class SilentOnRelease : public Device {
public:
    explicit SilentOnRelease(TComm* port) : Device(port) {}
    void ReleaseSocket(Socket*) override
    {
        releaseThread = GetCurrentThreadId();
        // On the window's own thread nobody could let it go: noted, not waited for.
        if (releaseThread != windowThread)
            WaitForSingleObject(answer, INFINITE);
    }
    static HANDLE answer;
    static DWORD windowThread;
    static std::atomic<DWORD> releaseThread;
};

HANDLE SilentOnRelease::answer = nullptr;
DWORD SilentOnRelease::windowThread = 0;
std::atomic<DWORD> SilentOnRelease::releaseThread{0};

// An identified serial phone; with an open file session when the device is a silent one.
class TestPort : public TSerialPort {
public:
    TestPort(const char* name, bool silent) : silent(silent)
    {
        portName = displayName = name;
        Connect(nullptr);
    }
    bool Connect(ConnectProgress*) override
    {
        device = silent ? new SilentOnRelease(this) : new Device(this);
        device->name = displayName;
        if (silent) {
            AddSocket(new ScriptedSocket(this, 0));
            device->fileAccess = new OBEX_FTP;
        }
        identified = isOpen = true;
        return true;
    }
    bool Identify() override { return true; }
    bool silent;
};

// Chooses the last item ("Отключить") of the next popup menu this process shows, after
// running `meanwhile` on its own thread while the menu is open.
class MenuChooser {
public:
    explicit MenuChooser(std::function<void()> meanwhile = {})
        : worker([this, meanwhile] {
              HWND menu = nullptr;
              for (DWORD start = GetTickCount(); menu == nullptr && GetTickCount() - start < 20000; Sleep(20))
                  menu = OpenMenu();
              if (menu == nullptr)
                  return;
              if (meanwhile)
                  meanwhile();
              PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);
              PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
              chosen = true;
          })
    {
    }
    ~MenuChooser()
    {
        if (worker.joinable())
            worker.join();
    }
    // Waits for the choice; false when no menu opened.
    bool Chosen()
    {
        if (worker.joinable())
            worker.join();
        return chosen;
    }

private:
    static BOOL CALLBACK Find(HWND window, LPARAM param)
    {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (process == GetCurrentProcessId() && std::string(name) == "#32768" && IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        }
        return TRUE;
    }
    static HWND OpenMenu()
    {
        HWND found = nullptr;
        EnumWindows(Find, reinterpret_cast<LPARAM>(&found));
        return found;
    }

    std::thread worker;
    std::atomic<bool> chosen{false};
};

class MainWindowPhones : public testing::Test {
protected:
    void SetUp() override
    {
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(sizeof current, current);
        previousDirectory = current;
        SetCurrentDirectoryA(dir.Path().c_str());
        window = MainWindow::Instance();
        ASSERT_TRUE(window->Create());
        ShowWindow(window->Handle(), SW_SHOW);
        SilentOnRelease::windowThread = GetCurrentThreadId();
        SilentOnRelease::answer = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    void TearDown() override
    {
        SetEvent(SilentOnRelease::answer);
        MainWindow::Release();
        CloseHandle(SilentOnRelease::answer);
        SetCurrentDirectoryA(previousDirectory.c_str());
    }

    TComm* AddPhone(const char* name, bool silent = false)
    {
        auto* port = new TestPort(name, silent);
        PortList& ports = AppCore::Instance()->Ports();
        auto lock = ports.Lock();
        ports.ports.Append(port);
        return port;
    }
    void Rebuild() { SendMessageA(window->Handle(), QVM_PORTS_CHANGED, 0, 0); }
    HWND Main() const { return window->Handle(); }
    void Popup(TComm* port) { SendMessageA(Main(), QVM_DEVICE_POPUP, reinterpret_cast<WPARAM>(port), 0); }
    // Still listed and not taken for a disconnect.
    bool Untouched(TComm* port)
    {
        PortList& ports = AppCore::Instance()->Ports();
        auto lock = ports.Lock();
        return IsListedPort(ports, port) && !port->changed && port->device != nullptr;
    }

    TempDir dir;
    std::string previousDirectory;
    MainWindow* window = nullptr;
};

}  // namespace

// A phone that stays silent while it leaves its file session (a Siemens phone leaving OBEX
// mode can take over a minute): the window keeps running while "Отключить" waits for it.
TEST_F(MainWindowPhones, DisconnectWaitsForASilentPhoneOnAWorker)
{
    TComm* port = AddPhone("SIEMENS S65", true);
    Rebuild();
    ASSERT_EQ(DeviceNames(Main()), std::vector<std::string>{"SIEMENS S65"});
    HWND panel = ShownControlPanel(Main());
    ASSERT_NE(panel, nullptr);

    SendMessageA(Main(), WM_COMMAND, IDM_DISCONNECT, 0);
    ASSERT_TRUE(PumpUntil([] { return SilentOnRelease::releaseThread.load() != 0; }));
    EXPECT_NE(SilentOnRelease::releaseThread.load(), GetCurrentThreadId()) << "the window waited for the phone";
    // Meanwhile the phone is busy: its panel takes no input, its popup offers nothing.
    EXPECT_FALSE(IsWindowEnabled(panel));
    EXPECT_TRUE(port->device != nullptr && port->device->IsBusy());

    SetEvent(SilentOnRelease::answer);
    EXPECT_TRUE(PumpUntil([&] { return DeviceNames(Main()).empty(); }));
    EXPECT_TRUE(PumpUntil([&] { return port->device == nullptr; }));
    EXPECT_FALSE(port->identified);
}

// The popup of a phone that is not the selected one acts on that phone; a phone that became
// busy, or went, while its popup was open is left alone.
TEST_F(MainWindowPhones, PopupActsOnTheClickedPhoneWhileItIsListedAndIdle)
{
    TComm* first = AddPhone("NOKIA 6230i");
    TComm* second = AddPhone("SIEMENS S65");
    Rebuild();
    ASSERT_EQ(DeviceNames(Main()), (std::vector<std::string>{"NOKIA 6230i", "SIEMENS S65"}));
    Device* secondDevice = second->device;

    {
        // A worker marks the phone busy while the user looks at its popup.
        MenuChooser chooser([&] {
            SendMessageA(Main(), QVM_DEVICE_BUSY, reinterpret_cast<WPARAM>(secondDevice), 1);
        });
        Popup(second);
        ASSERT_TRUE(chooser.Chosen());
    }
    EXPECT_TRUE(Untouched(second)) << "a busy phone was taken for a disconnect";
    EXPECT_TRUE(Untouched(first)) << "the selected phone was taken for a disconnect";
    SendMessageA(Main(), QVM_DEVICE_BUSY, reinterpret_cast<WPARAM>(secondDevice), 0);

    {
        MenuChooser chooser;
        Popup(second);
        ASSERT_TRUE(chooser.Chosen());
    }
    EXPECT_TRUE(PumpUntil([&] { return DeviceNames(Main()) == std::vector<std::string>{"NOKIA 6230i"}; }));
    EXPECT_EQ(second->device, nullptr);
    EXPECT_NE(first->device, nullptr);

    // A scan finds the third phone gone while its popup is open.
    TComm* third = AddPhone("SAMSUNG SGH-D500");
    Rebuild();
    ASSERT_EQ(DeviceNames(Main()).size(), 2u);
    {
        MenuChooser chooser([&] {
            PortList& ports = AppCore::Instance()->Ports();
            {
                auto lock = ports.Lock();
                third->MarkChanged(true);
            }
            ProcessChangedPorts(ports, *window);
        });
        Popup(third);
        ASSERT_TRUE(chooser.Chosen());
    }
    EXPECT_TRUE(Untouched(first));
    EXPECT_TRUE(PumpUntil([&] { return DeviceNames(Main()) == std::vector<std::string>{"NOKIA 6230i"}; }));
    EXPECT_NE(first->device, nullptr);
}

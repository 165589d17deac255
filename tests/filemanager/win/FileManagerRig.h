// A file manager on a simulated phone, for the Wine tests: a stand-in main window that marks
// the phone busy and idle as the real one does, the phone's view holding the file manager,
// and helpers that read the window as a user would see it and answer its dialogs.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/Settings.h"
#include "core/win/Application.h"
#include "devices/Device.h"
#include "devices/DeviceSettingsStore.h"
#include "devices/DeviceViews.h"
#include "devices/TSerialPort.h"
#include "filemanager/StatusSink.h"
#include "filemanager/win/FileManagerWindow.h"
#include "resources/resource.h"
#include "support/win/MessagePump.h"
#include "support/win/PhoneSim.h"
#include "support/win/PhoneTree.h"
#include "support/win/QvWindows.h"
#include "support/win/WaitUntil.h"

namespace fm_test {

constexpr char kMainClass[] = "qv_TestMainWindow";

class StatusRecorder : public StatusSink {
public:
    void ShowText(const GString& shown) override { text = shown.CStr(); }
    void ShowSize(uint64_t bytes, bool hide) override { size = hide ? -1 : static_cast<int64_t>(bytes); }
    void ShowMemory(uint32_t freeBytes, uint32_t totalBytes, bool hide) override
    {
        memory = hide ? "" : std::to_string(freeBytes) + "/" + std::to_string(totalBytes);
    }
    std::string text;
    int64_t size = -1;  // -1: the part is cleared
    std::string memory;

    void Clear()
    {
        text.clear();
        size = -1;
        memory.clear();
    }
};

// Marks the phone busy and idle as the main window does, and notes what it was told.
class TestMain : public TWindow {
public:
    explicit TestMain(std::vector<std::string>& events) : events(events)
    {
        RegisterWindowClass(0, nullptr, nullptr, kMainClass, 0);
        CreateWindowExA(0, kMainClass, "Quorvan", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 760, 480,
                        nullptr, nullptr, GetModuleHandleA(nullptr), this);
    }
    ~TestMain() override { DestroyNativeWindow(); }

    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == QVM_DEVICE_BUSY) {
            auto* device = reinterpret_cast<Device*>(wParam);
            if (lParam != 0) {
                events.push_back("busy");
                device->SetBusy();
                if (status != nullptr)
                    status->Clear();
            } else {
                device->ClearBusy();
                events.push_back("idle " + std::to_string(view != nullptr ? view->listView.RowCount() : -1));
            }
            return 0;
        }
        if (message == QVM_SWITCH_VIEW) {
            events.push_back("switch " + std::to_string(wParam));
            return 0;
        }
        return TWindow::WindowProc(hwnd, message, wParam, lParam);
    }
    LRESULT OnSize(int width, int height, UINT) override
    {
        if (view != nullptr && view->Handle() != nullptr)
            MoveWindow(view->Handle(), 0, 0, width, height, TRUE);
        return 0;
    }

    FileManagerWindow* view = nullptr;
    StatusRecorder* status = nullptr;
    std::vector<std::string>& events;
};


// The phone's views as the device owns them: here only the file manager.
class FileManagerView : public DeviceViews {
public:
    explicit FileManagerView(std::vector<std::string>& events) : gone(events) {}
    void SetEnabled(bool enabled) override { window.SetEnabled(enabled); }

    // Destroyed last, after the window's own destructor has run.
    struct GoneNote {
        explicit GoneNote(std::vector<std::string>& events) : events(events) {}
        ~GoneNote() { events.push_back("window gone"); }
        std::vector<std::string>& events;
    } gone;
    FileManagerWindow window;
};

// A key held down or let go, as the thread's keyboard state tells.
inline void HoldKey(int key, bool down)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[key] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

inline Application& TheApplication()
{
    // As the program does at start: the windows register their drop targets with OLE.
    static const bool oleReady = SUCCEEDED(OleInitialize(nullptr));
    EXPECT_TRUE(oleReady);
    static Application application;
    return application;
}

class Rig {
public:
    Rig(const std::vector<std::string>& simOptions, const char* kind = "fm")
        : tree(kind)
    {
        std::vector<std::string> options = simOptions;
        options.push_back("--root");
        options.push_back(tree.unixRoot);
        sim = std::make_unique<PhoneSim>(options);
        SetDeviceSettingsStore(&store);
        TheApplication().GetSystemImageLists(&host.largeImages, &host.smallImages);
        host.mainWindow = &main;
        host.commandState = &commands;
        host.status = &status;
        main.status = &status;
        host.settings = &values;
    }
    ~Rig()
    {
        port.Disconnect();
        SetDeviceSettingsStore(nullptr);
    }

    // Connects the phone, gives it its file manager shown in the main window, and opens the
    // session as the main window does when the user picks "Проводник".
    bool Open()
    {
        if (!Connect())
            return false;
        if (!Fm().OpenSession())
            return false;
        return WaitIdle();
    }
    bool Connect()
    {
        if (!sim->Ready())
            return false;
        OnSim(port, *sim);
        if (!port.Connect(nullptr) || port.device == nullptr)
            return false;
        auto* created = new FileManagerView(events);
        port.device->AttachViews(created);
        view = created;
        if (!view->window.Create(host, port.device))
            return false;
        main.view = &view->window;
        RECT client{};
        GetClientRect(main.Handle(), &client);
        MoveWindow(view->window.Handle(), 0, 0, client.right, client.bottom, TRUE);
        ShowWindow(view->window.Handle(), SW_SHOW);
        return true;
    }
    // The phone goes as when its port is removed: the device, the window and the session.
    void Disconnect()
    {
        port.Disconnect();
        view = nullptr;
        main.view = nullptr;
    }

    FileManagerWindow& Fm() { return view->window; }
    bool WaitIdle()
    {
        return PumpUntil([&] { return view == nullptr || (!Fm().IsWorking() && !port.device->IsBusy()); }, 60000);
    }
    // A command as the menus send it, handled before this returns.
    void Command(int id) { SendMessageA(Fm().Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // A key pressed in the list.
    void Key(UINT key)
    {
        SendMessageA(Fm().listView.Handle(), WM_KEYDOWN, key, 0);
        SendMessageA(Fm().listView.Handle(), WM_KEYUP, key, 0);
    }
    // A key pressed in the list with Ctrl held.
    void KeyWithControl(UINT key)
    {
        HoldKey(VK_CONTROL, true);
        Key(key);
        HoldKey(VK_CONTROL, false);
    }
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        const ListView& list = view->window.listView;
        for (int row = 0; row < list.ItemCount(); ++row)
            rows.push_back(list.ItemText(row, 0).CStr());
        return rows;
    }
    // Selects the row showing name; false when there is none.
    bool Select(const std::string& name)
    {
        const int row = Fm().listView.FindRow(name.c_str());
        if (row < 0)
            return false;
        Fm().listView.SelectOnly(row);
        return true;
    }
    std::string PathLine() { return Fm().pathLine.Path().CStr(); }

    PhoneTree tree;
    std::unique_ptr<PhoneSim> sim;
    SettingsStore store;
    std::vector<std::string> events;
    TestMain main{events};
    CommandStateSubject commands;
    StatusRecorder status;
    SettingsValues values;
    FileManagerHost host;
    TSerialPort port;
    FileManagerView* view = nullptr;  // owned by the device
};

// Answers the next dialog with this caption that the process shows, from a thread of its
// own (the dialog runs modally on the test's thread), after noting what it showed.
class DialogAnswerer {
public:
    DialogAnswerer(const char* caption, int button) : caption(caption), button(button)
    {
        worker = std::thread([this] { Run(); });
    }
    ~DialogAnswerer() { Join(); }
    void Join()
    {
        if (worker.joinable())
            worker.join();
    }

    std::atomic<bool> answered{false};
    std::string text;                   // the message text (control 110)
    std::map<int, std::string> texts;   // the replace dialog's size and date lines by id
    std::vector<int> visibleButtons;    // of 6, 32, 7, 2 in that order
    std::vector<RECT> buttonPlaces;     // their places in the dialog's client area

private:
    void Run()
    {
        HWND dialog = nullptr;
        WaitUntil(
            [&] {
                dialog = FindWindowA("#32770", caption.c_str());
                DWORD process = 0;
                if (dialog != nullptr)
                    GetWindowThreadProcessId(dialog, &process);
                return dialog != nullptr && process == GetCurrentProcessId() && IsWindowVisible(dialog);
            },
            20000);
        if (dialog == nullptr)
            return;
        char buffer[512] = {};
        GetDlgItemTextA(dialog, IDC_CONFIRM_TEXT, buffer, sizeof buffer);
        text = buffer;
        for (int id : {IDC_REPLACE_OLD_SIZE, IDC_REPLACE_OLD_DATE, IDC_REPLACE_NEW_SIZE, IDC_REPLACE_NEW_DATE}) {
            if (GetDlgItemTextA(dialog, id, buffer, sizeof buffer) > 0)
                texts[id] = buffer;
        }
        for (int id : {IDYES, IDC_YES_TO_ALL, IDNO, IDCANCEL}) {
            HWND control = GetDlgItem(dialog, id);
            if (control == nullptr || !IsWindowVisible(control))
                continue;
            visibleButtons.push_back(id);
            buttonPlaces.push_back(ChildRect(dialog, control));
        }
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
        answered.store(true);
    }

    std::string caption;
    int button;
    std::thread worker;
};

}  // namespace fm_test

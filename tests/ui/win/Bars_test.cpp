// The toolbar and the status bar in a window, and in qv.exe: the bars on the main window and
// the port scan's progress dialog, whose Cancel ends the scan.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "support/win/MessagePump.h"
#include "support/win/PhoneSim.h"
#include "support/win/QvProcess.h"
#include "support/win/QvSettings.h"
#include "support/win/QvWindows.h"
#include "support/win/SimLog.h"
#include "support/win/TempDir.h"
#include "ui/win/StatusWindow.h"
#include "ui/win/ToolBarMain.h"

namespace {

constexpr char kOwnerClass[] = "qv_TestMain";

class Owner : public TWindow {
public:
    Owner()
    {
        RegisterWindowClass(0, nullptr, nullptr, kOwnerClass, 0);
        CreateWindowExA(0, kOwnerClass, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 900, 300,
                        nullptr, nullptr, GetModuleHandleA(nullptr), this);
    }
    ~Owner() override { DestroyNativeWindow(); }
    LRESULT OnCommand(int, int id, HWND) override
    {
        commands.push_back(id);
        return 0;
    }
    std::vector<int> commands;
};

}  // namespace

TEST(ToolBarMain, ButtonsFollowTheCommandStateAndReachTheOwner)
{
    Owner owner;
    CommandStateSubject state;
    ToolBarMain toolbar;
    ASSERT_TRUE(toolbar.Create(&owner, &state));
    EXPECT_EQ(GetParent(toolbar.Handle()), owner.Handle()) << "docked in its owner";
    EXPECT_EQ(toolbar.ChildCount(), 8u);
    EXPECT_EQ(toolbar.BarSize().cy, 30 + 3 + 2);

    Button* ports = toolbar.FindButton(IDM_PORTS);
    Button* copy = toolbar.FindButton(IDM_COPY);
    ASSERT_NE(ports, nullptr);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(IsWindowEnabled(ports->Handle())) << "the port commands are always enabled";
    EXPECT_FALSE(IsWindowEnabled(copy->Handle()));
    EXPECT_EQ(copy->ImageCount(), 3u) << "normal, hot and disabled pictures of the strips";
    EXPECT_EQ(copy->ShownImage(), Button::kDisabledImage);
    state.copy = true;
    state.Notify();
    EXPECT_TRUE(IsWindowEnabled(copy->Handle()));
    EXPECT_EQ(copy->ShownImage(), Button::kNormalImage);
    state.Reset(true);
    EXPECT_EQ(copy->ShownImage(), Button::kDisabledImage);

    // A click (which also moves the focus) is one command, not three.
    SendMessageA(ports->Handle(), BM_CLICK, 0, 0);
    SetFocus(owner.Handle());
    EXPECT_EQ(owner.commands, std::vector<int>{IDM_PORTS});
}

TEST(StatusWindow, PartsFollowTheWidthAndTheTooltipThePointersPart)
{
    Owner owner;
    StatusWindow status;
    ASSERT_TRUE(status.Create(&owner));
    EXPECT_EQ(GetDlgCtrlID(status.Handle()), IDC_STATUS_BAR);
    // The control spans its parent from its creation on; the parts follow its width, also
    // when it is laid out again at another one.
    auto parts = [&] {
        RECT bar{};
        GetClientRect(status.Handle(), &bar);
        int edges[3] = {};
        SendMessageA(status.Handle(), SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
        return std::vector<int>{bar.right, edges[0], edges[1], edges[2]};
    };
    std::vector<int> p = parts();
    ASSERT_GT(p[0], 0);
    EXPECT_EQ(p, (std::vector<int>{p[0], p[0] / 3, p[0] / 3 + p[0] / 3 / 2, -1}));
    SetWindowPos(owner.Handle(), nullptr, 0, 0, 600, 300, SWP_NOZORDER | SWP_NOMOVE);
    RECT client{};
    GetClientRect(owner.Handle(), &client);
    SetWindowPos(status.Handle(), nullptr, 0, client.bottom - 20, client.right, 20, SWP_NOZORDER | SWP_SHOWWINDOW);
    const int width = client.right;
    EXPECT_EQ(parts(), (std::vector<int>{width, width / 3, width / 3 + width / 3 / 2, -1}));

    // The tooltip asks for its text: the part under the pointer answers, part 2 with the
    // exact byte counts; an empty part leaves the request unanswered.
    status.SetMemory(1536, 1048576, false);
    auto tipOver = [&](int part) {
        RECT r{};
        SendMessageA(status.Handle(), SB_GETRECT, part, reinterpret_cast<LPARAM>(&r));
        POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(status.Handle(), &centre);
        SetCursorPos(centre.x, centre.y);
        NMTTDISPINFOA request{};
        request.hdr.hwndFrom = status.Tooltip();
        request.hdr.code = TTN_GETDISPINFOA;
        SendMessageA(status.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
        return std::string(request.lpszText != nullptr ? request.lpszText : "(none)");
    };
    EXPECT_EQ(tipOver(2), status.MemoryTip().CStr());
    EXPECT_EQ(tipOver(2).substr(0, 17), "Свободно / Всего\n");
    EXPECT_EQ(tipOver(0), "(none)");
}

namespace {

struct OwnedDialog {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwnedDialog(HWND hwnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<OwnedDialog*>(lParam);
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (GetWindow(hwnd, GW_OWNER) == search->owner && std::string(cls) == "#32770" && IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleDialogOf(HWND owner)
{
    OwnedDialog search{owner, nullptr};
    EnumWindows(FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Text(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool WaitFor(const std::function<bool()>& done)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(50)) {
        if (done())
            return true;
    }
    return done();
}

}  // namespace

// A phone that never answers keeps the scan in its handshake for seconds: the progress
// dialog comes up, and its Cancel ends the scan at the scan's next check.
TEST(MainWindowBars, BarsShowAndTheScanDialogsCancelEndsTheScan)
{
    PhoneSim sim({"--profile", "generic", "--silence-after", "0"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    TempDir dir;
    ASSERT_TRUE(WriteSettingsForPort(dir, sim.ComName(), [](SettingsStore& store) {
        store.values.scanIrDA = false;
        store.values.scanBluetooth = false;
    }));
    QvProcess qv(dir.Path());
    HWND main = qv.WaitForMainWindow(20000);
    ASSERT_NE(main, nullptr);

    // Once the window shows: the toolbar across the top, the status bar at the bottom.
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    RECT client{};
    GetClientRect(main, &client);
    HWND status = GetDlgItem(main, IDC_STATUS_BAR);
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(IsWindowVisible(status));
    EXPECT_EQ(ChildRect(main, status).bottom, client.bottom);
    // The toolbar is the dock panel with the scan button (the device list is one too).
    HWND toolbar = nullptr;
    for (HWND panel = FindWindowExA(main, nullptr, "qv_DockWindow", nullptr); panel != nullptr;
         panel = FindWindowExA(main, panel, "qv_DockWindow", nullptr)) {
        if (GetDlgItem(panel, IDM_RESCAN) != nullptr)
            toolbar = panel;
    }
    ASSERT_NE(toolbar, nullptr);
    EXPECT_TRUE(IsWindowVisible(toolbar));
    RECT bar = ChildRect(main, toolbar);
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.right - bar.left, client.right);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(toolbar, IDM_RESCAN)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(toolbar, IDM_COPY)));

    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = VisibleDialogOf(main)) != nullptr; })) << "no progress dialog";
    EXPECT_EQ(Text(dialog), "QV - Подключение");
    EXPECT_TRUE(WaitFor([&] { return Text(GetDlgItem(dialog, IDC_PROGRESS_TEXT)) == "Открытие порта «" + sim.ComName() + "»"; }))
        << Text(GetDlgItem(dialog, IDC_PROGRESS_TEXT));
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    SendMessageA(cancel, BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(cancel));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); })) << "the scan did not end";
    // Cancelled in the handshake: no second attempt, no identification.
    const std::string log = sim.Log();
    EXPECT_EQ(LinesFromPc(log, "ATZ"), 1) << log;
    EXPECT_EQ(LinesFromPc(log, "AT+CGMI"), 0) << log;
    EXPECT_EQ(qv.Title(), "Quorvan");

    qv.Close();
    DWORD exitCode = 99;
    ASSERT_TRUE(qv.WaitForExit(30000, exitCode));
    EXPECT_EQ(exitCode, 0u);
}

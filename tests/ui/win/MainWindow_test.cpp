// qv.exe driven from outside as a user and a screen reader would: a scan lists the simulated
// phone, its information view and control panel show, the panels and list styles follow the
// "Вид" commands, "Отключить" takes the phone off, the ports and About dialogs open without a
// phone, and the window closes with Alt+F4.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "support/win/PhoneSim.h"
#include "support/win/QvProcess.h"
#include "support/win/QvSettings.h"
#include "support/win/QvWindows.h"
#include "support/win/SimLog.h"
#include "support/win/WaitUntil.h"

namespace {

void Command(HWND window, int id) { SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0); }

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(MainWindowJourney, PhoneIsListedShownSwitchedAndDisconnected)
{
    PhoneSim sim({"--profile", "siemens"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    TempDir dir;
    ASSERT_TRUE(WriteSettingsForPort(dir, sim.ComName()));
    QvProcess qv(dir.Path());
    HWND main = qv.WaitForMainWindow(20000);
    ASSERT_NE(main, nullptr);
    const std::vector<std::string> phone{"SIEMENS S65"};
    ASSERT_TRUE(WaitUntil([&] { return DeviceNames(main) == phone; }, 20000)) << "no device button";
    EXPECT_EQ(qv.Title(), "Quorvan");

    // The first phone is selected: its information view and control panel show.
    HWND info = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (info = ShownInfoView(main)) != nullptr; }, 20000));
    const std::string sheet = WindowTextOf(info);
    EXPECT_TRUE(Contains(sheet, "Производитель: SIEMENS\r\nМодель: S65\r\nSN: 354000000000003")) << sheet;
    HWND panel = ShownControlPanel(main);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(WindowTextOf(GetDlgItem(panel, IDM_EXPLORER)), "Проводник");
    HWND list = FindDeviceList(main);
    EXPECT_TRUE(IsShown(list));
    EXPECT_EQ(ChildRect(main, info).left, ChildRect(main, panel).right);
    EXPECT_EQ(ChildRect(main, info).top, ChildRect(main, list).bottom);

    // "Вид": the control panel, the toolbar and the status bar come and go, the view takes
    // the room they leave.
    Command(main, IDM_CONTROL_PANEL);
    EXPECT_FALSE(IsShown(panel));
    EXPECT_EQ(ChildRect(main, info).left, 0);
    Command(main, IDM_CONTROL_PANEL);
    EXPECT_TRUE(IsShown(panel));
    Command(main, IDM_TOOLBAR);
    EXPECT_EQ(ChildRect(main, list).top, 0);
    Command(main, IDM_TOOLBAR);
    EXPECT_GT(ChildRect(main, list).top, 0);
    RECT client{};
    GetClientRect(main, &client);
    Command(main, IDM_STATUS_BAR);
    EXPECT_FALSE(IsShown(GetDlgItem(main, IDC_STATUS_BAR)));
    EXPECT_EQ(ChildRect(main, info).bottom, client.bottom);
    Command(main, IDM_STATUS_BAR);
    EXPECT_LT(ChildRect(main, info).bottom, client.bottom);

    // "Информация" from the menu keeps the information view; the keyboard is in it.
    Command(main, IDM_INFORMATION);
    EXPECT_TRUE(WaitUntil([&] { return ShownInfoView(main) == info; }, 20000));
    SetForegroundWindow(main);
    GUITHREADINFO focus{};
    focus.cbSize = sizeof focus;
    EXPECT_TRUE(WaitUntil(
        [&] { return GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &focus) && focus.hwndFocus == info; },
        20000));

    // A list style, then "Таблица".
    Command(main, IDM_VIEW_LARGE_ICONS);
    Command(main, IDM_VIEW_DETAILS);

    // "Отключить": the phone's button, panel and view go; the list hides with the last phone.
    Command(main, IDM_DISCONNECT);
    EXPECT_TRUE(WaitUntil([&] { return DeviceNames(main).empty(); }, 20000));
    EXPECT_TRUE(WaitUntil([&] { return !IsShown(list) && ShownInfoView(main) == nullptr; }, 20000));
    EXPECT_EQ(ShownControlPanel(main), nullptr);

    // "Порты..." and "О программе..." work without a phone.
    PostMessageA(main, WM_COMMAND, IDM_PORTS, 0);
    HWND ports = qv.WaitForDialog("Порты", 20000);
    ASSERT_NE(ports, nullptr);
    PressButton(ports, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(ports); }, 20000));
    PostMessageA(main, WM_COMMAND, IDM_ABOUT, 0);
    HWND about = qv.WaitForDialog("О программе", 20000);
    ASSERT_NE(about, nullptr);
    PressButton(about, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 20000));

    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4
    DWORD exitCode = 99;
    ASSERT_TRUE(qv.WaitForExit(30000, exitCode));
    EXPECT_EQ(exitCode, 0u);
    SettingsStore saved;
    ASSERT_TRUE(LoadSettingsFrom(dir, saved));
    EXPECT_EQ(saved.values.listViewStyle, 1) << "\"Таблица\" is the table style";
    EXPECT_TRUE(saved.values.showControlPanel);
    ASSERT_EQ(saved.DeviceSettings.Count(), 1u);
    EXPECT_STREQ(saved.DeviceSettings.Get(0)->model.CStr(), "S65");
}

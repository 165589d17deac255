// The discovery cycle inside qv.exe: the first start excludes the serial ports, an existing
// settings file lets the program find and show a phone, and closing while a scan runs waits
// for the scan before the ports are closed.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>

#include <set>
#include <string>
#include <vector>

#include "support/win/PhoneSim.h"
#include "support/win/QvProcess.h"
#include "support/win/QvSettings.h"
#include "support/win/QvWindows.h"
#include "support/win/SimLog.h"
#include "support/win/TempDir.h"
#include "support/win/WaitUntil.h"

namespace {

// Waits until a scan that finds no phone has ended after the call. Every scan ends by
// rebuilding the device list, which hides the list while no phone is selected; so the list is
// shown first as a mark, and a removal notice asks for a scan in case the last one ended before
// the mark (refused while one runs, hence repeated).
bool WaitForAScanToEnd(HWND window)
{
    HWND list = FindDeviceList(window);
    if (list == nullptr)
        return false;
    ShowWindow(list, SW_SHOWNA);
    return WaitUntil(
        [&] {
            if (!IsWindowVisible(list))
                return true;
            SendMessageA(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
            return false;
        },
        20000, 200);
}

TEST(ProgramScan, FirstStartExcludesEverySerialPortAndOpensNone)
{
    PhoneSim sim({"--profile", "siemens"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    TempDir dir;
    {
        QvProcess qv(dir.Path());
        HWND window = qv.WaitForMainWindow(20000);
        ASSERT_NE(window, nullptr);
        // Closing cancels a running scan, which would keep nothing: the first one ends first.
        ASSERT_TRUE(WaitForAScanToEnd(window));
        qv.Close();
        DWORD exitCode = 99;
        ASSERT_TRUE(qv.WaitForExit(30000, exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    SettingsStore saved;
    ASSERT_TRUE(LoadSettingsFrom(dir, saved));
    EXCLUDEPORTS* record = saved.FindExcludedPort(0, sim.ComName().c_str());
    ASSERT_NE(record, nullptr) << "the simulator's port was not excluded";
    for (ListIterator<EXCLUDEPORTS> it(saved.ExcludedPorts); !it.IsDone(); it.Next())
        EXPECT_EQ(it.CurrentItem()->kind, 0);
    EXPECT_EQ(LinesFromPc(sim.Log(), "AT"), 0) << sim.Log();
}

TEST(ProgramScan, IdentifiedPhoneIsShownAndRemembered)
{
    PhoneSim sim({"--profile", "siemens"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    TempDir dir;
    ASSERT_TRUE(WriteSettingsForPort(dir, sim.ComName()));
    {
        QvProcess qv(dir.Path());
        HWND window = qv.WaitForMainWindow(20000);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return !DeviceNames(window).empty(); }, 20000));
        EXPECT_EQ(DeviceNames(window), std::vector<std::string>{"SIEMENS S65"});
        EXPECT_EQ(qv.Title(), "Quorvan");
        qv.Close();
        DWORD exitCode = 99;
        ASSERT_TRUE(qv.WaitForExit(30000, exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    SettingsStore saved;
    ASSERT_TRUE(LoadSettingsFrom(dir, saved));
    ASSERT_EQ(saved.DeviceSettings.Count(), 1u);
    EXPECT_STREQ(saved.DeviceSettings.Get(0)->model.CStr(), "S65");
    EXPECT_STREQ(saved.DeviceSettings.Get(0)->serialNumber.CStr(), "354000000000003");
    EXPECT_EQ(LinesFromPc(sim.Log(), "AT+CGMI"), 1);
}

// Unplugging a device (remove complete) starts a scan, which drops the phone whose port went.
TEST(ProgramScan, DeviceRemovalStartsAScanThatDropsTheVanishedPhone)
{
    PhoneSim sim({"--profile", "nokia"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    TempDir dir;
    ASSERT_TRUE(WriteSettingsForPort(dir, sim.ComName()));
    QvProcess qv(dir.Path());
    HWND window = qv.WaitForMainWindow(20000);
    ASSERT_NE(window, nullptr);
    const std::vector<std::string> nokia{"NOKIA Nokia 6230i"};
    ASSERT_TRUE(WaitUntil([&] { return DeviceNames(window) == nokia; }, 20000));
    sim.Stop();
    // The button stays while nobody asks for a scan: the window has handled everything sent
    // to it so far and still shows the phone.
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer), 0);
    EXPECT_EQ(DeviceNames(window), nokia);
    SendMessageA(window, WM_DEVICECHANGE, 0x8004, 0);
    EXPECT_TRUE(WaitUntil([&] { return DeviceNames(window).empty(); }, 20000));
    qv.Close();
    DWORD exitCode = 99;
    ASSERT_TRUE(qv.WaitForExit(30000, exitCode));
    EXPECT_EQ(exitCode, 0u);
}

// A phone that never answers keeps the scan in its handshake; the close request is made
// then. The scan stops at its next cancel point -- after "+++", before the second "ATZ\r" --
// and only then are the ports closed and the program ends normally.
TEST(ProgramScan, CloseWhileAScanRunsWaitsForTheScan)
{
    PhoneSim sim({"--profile", "generic", "--silence-after", "0"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    TempDir dir;
    ASSERT_TRUE(WriteSettingsForPort(dir, sim.ComName()));
    QvProcess qv(dir.Path());
    ASSERT_NE(qv.WaitForMainWindow(20000), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return LinesFromPc(sim.Log(), "ATZ") > 0; }, 20000))
        << "the scan never reached the phone";
    DWORD closedAt = GetTickCount();
    qv.Close();
    DWORD exitCode = 99;
    ASSERT_TRUE(qv.WaitForExit(60000, exitCode));
    DWORD closing = GetTickCount() - closedAt;
    EXPECT_EQ(exitCode, 0u);
    const std::string log = sim.Log();
    EXPECT_EQ(LinesFromPc(log, "ATZ"), 1) << log;
    EXPECT_EQ(LinesFromPc(log, "+++"), 1) << log;
    std::printf("close during a scan took %lu ms (the silent read of the handshake lasts 12 s)\n",
                static_cast<unsigned long>(closing));
    SettingsStore saved;
    EXPECT_TRUE(LoadSettingsFrom(dir, saved));
}

}  // namespace

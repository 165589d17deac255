// The discovery cycle inside qv.exe: the first start excludes the serial ports, an existing
// settings file lets the program find and show a phone, and closing while a scan runs waits
// for the scan before the ports are closed.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "core/SettingsCodec.h"
#include "support/win/PhoneSim.h"
#include "support/win/QvProcess.h"
#include "support/win/SimLog.h"
#include "support/win/TempDir.h"

namespace {

// A settings file that switches off every COM port but the test's own (simulators of
// other tests may be linked meanwhile), IrDA and Bluetooth polls included.
bool PrepareSettings(const TempDir& dir, const std::string& ownPort)
{
    SettingsStore store;
    for (int n = 1; n <= 99; ++n) {
        std::string name = "COM" + std::to_string(n);
        if (name == ownPort)
            continue;
        auto* record = new EXCLUDEPORTS;
        record->name = name.c_str();
        store.ExcludedPorts.Append(record);
    }
    std::vector<uint8_t> bytes = EncodeSettings(store);
    return WriteFileBytes(dir.File("program.cfg"), std::vector<unsigned char>(bytes.begin(), bytes.end()));
}

bool LoadSaved(const TempDir& dir, SettingsStore& store)
{
    std::vector<unsigned char> bytes = ReadFileBytes(dir.File("program.cfg"));
    return !bytes.empty() && DecodeSettings(bytes.data(), bytes.size(), store);
}

TEST(ProgramScan, FirstStartExcludesEverySerialPortAndOpensNone)
{
    PhoneSim sim({"--profile", "siemens"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    TempDir dir;
    {
        QvProcess qv(dir.Path());
        ASSERT_NE(qv.WaitForMainWindow(20000), nullptr);
        // The first scan has nothing to open: it is over long before this.
        Sleep(3000);
        qv.Close();
        DWORD exitCode = 99;
        ASSERT_TRUE(qv.WaitForExit(30000, exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    SettingsStore saved;
    ASSERT_TRUE(LoadSaved(dir, saved));
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
    ASSERT_TRUE(PrepareSettings(dir, sim.ComName()));
    {
        QvProcess qv(dir.Path());
        ASSERT_NE(qv.WaitForMainWindow(20000), nullptr);
        std::string title;
        for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(100)) {
            title = qv.Title();
            if (title.find("SIEMENS S65") != std::string::npos)
                break;
        }
        EXPECT_EQ(title, "Quorvan - SIEMENS S65");
        qv.Close();
        DWORD exitCode = 99;
        ASSERT_TRUE(qv.WaitForExit(30000, exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    SettingsStore saved;
    ASSERT_TRUE(LoadSaved(dir, saved));
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
    ASSERT_TRUE(PrepareSettings(dir, sim.ComName()));
    QvProcess qv(dir.Path());
    HWND window = qv.WaitForMainWindow(20000);
    ASSERT_NE(window, nullptr);
    auto waitForTitle = [&](const std::string& wanted) {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(100)) {
            if (qv.Title() == wanted)
                return true;
        }
        return false;
    };
    ASSERT_TRUE(waitForTitle("Quorvan - NOKIA Nokia 6230i")) << qv.Title();
    sim.Stop();
    // The title stays while nobody asks for a scan.
    Sleep(500);
    EXPECT_EQ(qv.Title(), "Quorvan - NOKIA Nokia 6230i");
    SendMessageA(window, WM_DEVICECHANGE, 0x8004, 0);
    EXPECT_TRUE(waitForTitle("Quorvan")) << qv.Title();
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
    ASSERT_TRUE(PrepareSettings(dir, sim.ComName()));
    QvProcess qv(dir.Path());
    ASSERT_NE(qv.WaitForMainWindow(20000), nullptr);
    bool talking = false;
    for (DWORD start = GetTickCount(); !talking && GetTickCount() - start < 20000; Sleep(50))
        talking = LinesFromPc(sim.Log(), "ATZ") > 0;
    ASSERT_TRUE(talking) << "the scan never reached the phone";
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
    EXPECT_TRUE(LoadSaved(dir, saved));
}

}  // namespace

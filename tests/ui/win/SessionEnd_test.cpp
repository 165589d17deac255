// Ending the Windows session while qv.exe runs: the two-phase close it starts cannot finish
// before the session ends, so the settings are written when the session ends.
#include <gtest/gtest.h>
#include <windows.h>

#include "resources/resource.h"
#include "support/win/PhoneSim.h"
#include "support/win/QvProcess.h"
#include "support/win/QvSettings.h"
#include "support/win/SimLog.h"
#include "support/win/WaitUntil.h"

// A silent phone holds the scan in its handshake, and the close waits for the scan: program.cfg
// must hold the user's last change by the time the end of the session has been answered.
TEST(SessionEnd, SettingsAreWrittenWhenTheSessionEnds)
{
    PhoneSim sim({"--profile", "generic", "--silence-after", "0"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    TempDir dir;
    ASSERT_TRUE(WriteSettingsForPort(dir, sim.ComName()));
    QvProcess qv(dir.Path());
    HWND window = qv.WaitForMainWindow(20000);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return LinesFromPc(sim.Log(), "ATZ") > 0; }, 20000)) << "the scan never reached the phone";

    SendMessageA(window, WM_COMMAND, IDM_CONTROL_PANEL, 0);
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP), TRUE);
    SendMessageA(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    SettingsStore saved;
    ASSERT_TRUE(LoadSettingsFrom(dir, saved));
    EXPECT_FALSE(saved.values.showControlPanel) << "the change was not saved before the session ended";
    EXPECT_GT(saved.ExcludedPorts.Count(), 0u);

    // The close it started still ends the program normally.
    DWORD exitCode = 99;
    ASSERT_TRUE(qv.WaitForExit(60000, exitCode));
    EXPECT_EQ(exitCode, 0u);
}

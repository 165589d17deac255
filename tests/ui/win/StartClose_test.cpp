// Starts qv.exe in an empty folder, closes its main window like a user would, and checks the
// exit code and the settings file it leaves behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/SettingsCodec.h"
#include "support/win/QvProcess.h"
#include "support/win/TempDir.h"

namespace {

struct QvRun {
    DWORD exitCode = 0xFFFFFFFF;
    bool sawWindow = false;
    std::string title;
};

// Starts qv.exe with the given working folder, closes it through its window and waits.
QvRun StartAndClose(const std::string& workDir, bool closeTwiceQuickly = false)
{
    QvRun run;
    QvProcess qv(workDir);
    if (!qv.Started())
        return run;
    run.sawWindow = qv.WaitForMainWindow(20000) != nullptr;
    if (run.sawWindow) {
        run.title = qv.Title();
        qv.Close();
        if (closeTwiceQuickly)
            qv.Close();
    }
    qv.WaitForExit(20000, run.exitCode);
    return run;
}

// Where the records after the settings block end: the first start's port scan may have added
// exclusion records (tag 10) for the serial ports it found; then tag 11 with no records must
// close the file. 0 when the bytes do not have that shape.
size_t EndOfRecords(const std::vector<unsigned char>& cfg)
{
    auto u16 = [&](size_t at) { return at + 2 <= cfg.size() ? cfg[at] | cfg[at + 1] << 8 : -1; };
    auto u32 = [&](size_t at) {
        return at + 4 <= cfg.size() ? static_cast<size_t>(cfg[at] | cfg[at + 1] << 8 | cfg[at + 2] << 16 | cfg[at + 3] << 24)
                                    : cfg.size() + 1;
    };
    size_t at = 53;
    if (u16(at) == 10) {
        size_t count = u32(at + 2);
        at += 6;
        for (size_t i = 0; i < count && at <= cfg.size(); ++i) {
            if (u32(at) != 0)
                return 0;  // only serial ports are excluded on a first start
            at += 8 + 2 * u32(at + 4);
        }
    }
    if (u16(at) != 11 || u16(at + 2) != 0)
        return 0;
    return at + 4;
}

}  // namespace

TEST(StartClose, EmptyFolderStartsWithDefaultsAndSavesThemOnClose)
{
    TempDir dir;
    QvRun run = StartAndClose(dir.Path());
    ASSERT_TRUE(run.sawWindow);
    EXPECT_EQ(run.title, "Quorvan");
    EXPECT_EQ(run.exitCode, 0u);

    std::vector<unsigned char> cfg = ReadFileBytes(dir.Path() + "\\program.cfg");
    // Three scan bytes, tag 1 with its 44-byte block, the exclusions of the first scan, tag 11
    // with count 0.
    ASSERT_GE(cfg.size(), 3u + 2 + 4 + 44 + 2 + 2);
    EXPECT_EQ(EndOfRecords(cfg), cfg.size());
    EXPECT_EQ(cfg[0], 1);
    EXPECT_EQ(cfg[1], 1);
    EXPECT_EQ(cfg[2], 1);
    EXPECT_EQ(cfg[3] | cfg[4] << 8, 1);
    EXPECT_EQ(cfg[5] | cfg[6] << 8 | cfg[7] << 16 | cfg[8] << 24, 44);
    // The saved placement is the window's real one: a width is stored.
    int width = cfg[9 + 12] | cfg[9 + 13] << 8 | cfg[9 + 14] << 16 | cfg[9 + 15] << 24;
    EXPECT_GT(width, 0);
    // The progress position keeps its default 10000.
    int progressX = cfg[9 + 20] | cfg[9 + 21] << 8 | cfg[9 + 22] << 16 | cfg[9 + 23] << 24;
    EXPECT_EQ(progressX, 10000);
}

TEST(StartClose, SavedPlacementIsAppliedOnTheNextStart)
{
    TempDir dir;
    QvRun first = StartAndClose(dir.Path());
    ASSERT_EQ(first.exitCode, 0u);
    std::vector<unsigned char> cfg = ReadFileBytes(dir.Path() + "\\program.cfg");
    ASSERT_NE(EndOfRecords(cfg), 0u);
    // Move the window to a known place through the file, start again, and read it back. Every
    // COM port is switched off for the second start: it is no first start any more, and the
    // port scan must not open the simulated phones of tests running beside this one.
    SettingsStore store;
    ASSERT_TRUE(DecodeSettings(cfg.data(), cfg.size(), store));
    store.values.windowX = 40;
    store.values.windowY = 30;
    store.values.windowWidth = 500;
    store.values.windowHeight = 400;
    for (int n = 1; n <= 99; ++n) {
        GString name;
        name.Format("COM%d", n);
        if (store.FindExcludedPort(0, name) == nullptr) {
            auto* record = new EXCLUDEPORTS;
            record->name = name;
            store.ExcludedPorts.Append(record);
        }
    }
    std::vector<uint8_t> bytes = EncodeSettings(store);
    ASSERT_TRUE(WriteFileBytes(dir.Path() + "\\program.cfg", bytes));
    QvRun second = StartAndClose(dir.Path());
    ASSERT_EQ(second.exitCode, 0u);
    cfg = ReadFileBytes(dir.Path() + "\\program.cfg");
    ASSERT_EQ(cfg.size(), bytes.size());
    auto get32 = [&](size_t at) { return cfg[at] | cfg[at + 1] << 8 | cfg[at + 2] << 16 | cfg[at + 3] << 24; };
    EXPECT_EQ(get32(9 + 4), 40);
    EXPECT_EQ(get32(9 + 8), 30);
    EXPECT_EQ(get32(9 + 12), 500);
    EXPECT_EQ(get32(9 + 16), 400);
}

TEST(StartClose, SecondCloseRequestWhileClosingStillEndsCleanly)
{
    TempDir dir;
    QvRun run = StartAndClose(dir.Path(), true);
    ASSERT_TRUE(run.sawWindow);
    EXPECT_EQ(run.exitCode, 0u);
    std::vector<unsigned char> cfg = ReadFileBytes(dir.Path() + "\\program.cfg");
    EXPECT_EQ(EndOfRecords(cfg), cfg.size());
}

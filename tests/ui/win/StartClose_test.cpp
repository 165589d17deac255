// Starts qv.exe in an empty folder, closes its main window like a user would, and checks the
// exit code and the settings file it leaves behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/SettingsCodec.h"
#include "resources/resource.h"
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

// Every COM port switched off, for a start that is no first start: the port scan must not
// open the simulated phones of tests running beside this one.
void SwitchOffEveryComPort(SettingsStore& store)
{
    for (int n = 1; n <= 99; ++n) {
        GString name;
        name.Format("COM%d", n);
        if (store.FindExcludedPort(0, name) == nullptr) {
            auto* record = new EXCLUDEPORTS;
            record->name = name;
            store.ExcludedPorts.Append(record);
        }
    }
}

void Place(SettingsStore& store, int x, int y, int width, int height)
{
    store.values.windowX = x;
    store.values.windowY = y;
    store.values.windowWidth = width;
    store.values.windowHeight = height;
}

int32_t Get32(const std::vector<unsigned char>& bytes, size_t at)
{
    return at + 4 <= bytes.size() ? bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24 : -1;
}

// The outer rectangle of a window of another process as left, top, width, height.
std::vector<LONG> Placement(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The placement stored in a settings file: offsets 4..19 of the settings block.
std::vector<LONG> SavedPlacement(const std::vector<unsigned char>& cfg)
{
    return {Get32(cfg, 9 + 4), Get32(cfg, 9 + 8), Get32(cfg, 9 + 12), Get32(cfg, 9 + 16)};
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
    Place(store, 40, 30, 500, 400);
    SwitchOffEveryComPort(store);
    std::vector<uint8_t> bytes = EncodeSettings(store);
    ASSERT_TRUE(WriteFileBytes(dir.Path() + "\\program.cfg", bytes));
    QvRun second = StartAndClose(dir.Path());
    ASSERT_EQ(second.exitCode, 0u);
    cfg = ReadFileBytes(dir.Path() + "\\program.cfg");
    ASSERT_EQ(cfg.size(), bytes.size());
    EXPECT_EQ(SavedPlacement(cfg), (std::vector<LONG>{40, 30, 500, 400}));
}

TEST(StartClose, ClosedMinimisedItComesBackWhereItStood)
{
    TempDir dir;
    const std::string path = dir.File("program.cfg");
    // What closing while minimised used to leave behind: the parking place of the icon.
    SettingsStore store;
    Place(store, -32000, -32000, 500, 400);
    SwitchOffEveryComPort(store);
    ASSERT_TRUE(WriteFileBytes(path, EncodeSettings(store)));
    {
        QvProcess qv(dir.Path());
        HWND window = qv.WaitForMainWindow(20000);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(Placement(window), (std::vector<LONG>{0, 0, 500, 400}));
        // The user moves it, minimises it (there is no window manager to ask) and closes it.
        ASSERT_TRUE(SetWindowPos(window, nullptr, 60, 50, 520, 410, SWP_NOZORDER | SWP_NOACTIVATE));
        SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(IsIconic(window));
        qv.Close();
        DWORD exitCode = 1;
        ASSERT_TRUE(qv.WaitForExit(20000, exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    EXPECT_EQ(SavedPlacement(ReadFileBytes(path)), (std::vector<LONG>{60, 50, 520, 410}));
    QvProcess qv(dir.Path());
    HWND window = qv.WaitForMainWindow(20000);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Placement(window), (std::vector<LONG>{60, 50, 520, 410}));
}

// A program.cfg that exists but cannot be read is never written over: it holds the phone
// records and exclusions that the defaults in use would replace.
TEST(StartClose, UnreadableSettingsFileIsLeftAloneAndTheUserIsTold)
{
    TempDir dir;
    const std::string path = dir.File("program.cfg");
    SettingsStore store;
    SwitchOffEveryComPort(store);
    auto* phone = new LAST_SET_DEVICE;
    phone->manufacturer = "SIEMENS";
    phone->model = "S65";
    phone->lastFolder = "Pictures\\Отпуск";
    store.DeviceSettings.Append(phone);
    const std::vector<uint8_t> bytes = EncodeSettings(store);
    ASSERT_TRUE(WriteFileBytes(path, bytes));

    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    QvProcess qv(dir.Path());
    HWND box = qv.WaitForDialog("QV - Ошибка", 20000);
    CloseHandle(lock);
    ASSERT_NE(box, nullptr);
    char sharing[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_SHARING_VIOLATION,
                   LANG_USER_DEFAULT, sharing, sizeof sharing, nullptr);
    EXPECT_EQ(MessageBoxText(box), sharing);
    PressButton(box, IDOK);

    // The file can be read again by now, which must not tempt the close into writing it.
    HWND window = qv.WaitForMainWindow(20000);
    ASSERT_NE(window, nullptr);
    qv.Close();
    box = qv.WaitForDialog("QV - Ошибка", 20000);
    ASSERT_NE(box, nullptr);
    char notSaved[512] = {};
    LoadStringA(GetModuleHandleA(nullptr), IDS_SETTINGS_NOT_SAVED, notSaved, sizeof notSaved);
    EXPECT_EQ(MessageBoxText(box), notSaved);
    // The session ends while the box is up: its save neither waits for the one showing the
    // box nor shows another box (the process could not end then).
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 20000, &answer), 0);
    PressButton(box, IDOK);
    DWORD exitCode = 1;
    ASSERT_TRUE(qv.WaitForExit(20000, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_EQ(GetFileAttributesA((path + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
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

// Starts qv.exe in an empty folder, closes its main window like a user would, and checks the
// exit code and the settings file it leaves behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/win/TempDir.h"

namespace {

std::string QvExePath()
{
    std::string path = QV_BUILD_DIR;
    path += "/qv.exe";
    return UnixToWindowsPath(path);
}

struct FindData {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM lParam)
{
    auto* data = reinterpret_cast<FindData*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == data->processId && std::string(cls) == "qv_MainWindow") {
        data->window = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForMainWindow(DWORD processId, HANDLE process, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        FindData data{processId, nullptr};
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&data));
        if (data.window != nullptr)
            return data.window;
        if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

std::vector<unsigned char> ReadAll(const std::string& path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    unsigned char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    CloseHandle(file);
    return bytes;
}

struct QvRun {
    DWORD exitCode = 0xFFFFFFFF;
    bool sawWindow = false;
    std::string title;
};

// Starts qv.exe with the given working folder, closes it through its window and waits.
QvRun StartAndClose(const std::string& workDir, bool closeTwiceQuickly = false)
{
    QvRun run;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + QvExePath() + "\"";
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, workDir.c_str(), &si, &pi))
        return run;
    HWND window = WaitForMainWindow(pi.dwProcessId, pi.hProcess, 20000);
    run.sawWindow = window != nullptr;
    if (window != nullptr) {
        char title[128] = {};
        GetWindowTextA(window, title, sizeof title);
        run.title = title;
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (closeTwiceQuickly)
            PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 99);
    GetExitCodeProcess(pi.hProcess, &run.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

}  // namespace

TEST(StartClose, EmptyFolderStartsWithDefaultsAndSavesThemOnClose)
{
    TempDir dir;
    QvRun run = StartAndClose(dir.Path());
    ASSERT_TRUE(run.sawWindow);
    EXPECT_EQ(run.title, "Quorvan");
    EXPECT_EQ(run.exitCode, 0u);

    std::vector<unsigned char> cfg = ReadAll(dir.Path() + "\\program.cfg");
    // Three scan bytes, tag 1 with its 44-byte block, tag 11 with count 0.
    ASSERT_EQ(cfg.size(), 3u + 2 + 4 + 44 + 2 + 2);
    EXPECT_EQ(cfg[0], 1);
    EXPECT_EQ(cfg[1], 1);
    EXPECT_EQ(cfg[2], 1);
    EXPECT_EQ(cfg[3] | cfg[4] << 8, 1);
    EXPECT_EQ(cfg[5] | cfg[6] << 8 | cfg[7] << 16 | cfg[8] << 24, 44);
    EXPECT_EQ(cfg[53] | cfg[54] << 8, 11);
    EXPECT_EQ(cfg[55] | cfg[56] << 8, 0);
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
    std::vector<unsigned char> cfg = ReadAll(dir.Path() + "\\program.cfg");
    ASSERT_EQ(cfg.size(), 57u);
    // Move the window to a known place through the file, start again, and read it back.
    auto put32 = [&](size_t at, int v) {
        for (int i = 0; i < 4; ++i)
            cfg[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    put32(9 + 4, 40);
    put32(9 + 8, 30);
    put32(9 + 12, 500);
    put32(9 + 16, 400);
    {
        HANDLE file = CreateFileA((dir.Path() + "\\program.cfg").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, cfg.data(), static_cast<DWORD>(cfg.size()), &written, nullptr);
        CloseHandle(file);
    }
    QvRun second = StartAndClose(dir.Path());
    ASSERT_EQ(second.exitCode, 0u);
    cfg = ReadAll(dir.Path() + "\\program.cfg");
    ASSERT_EQ(cfg.size(), 57u);
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
    EXPECT_EQ(ReadAll(dir.Path() + "\\program.cfg").size(), 57u);
}

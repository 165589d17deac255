// qv.exe from outside as a new user meets its file manager: the phone's button, then
// "Проводник", the phone's Cyrillic folders in the list, a folder opened with Enter, and the
// file manager with that folder again after a restart.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "support/win/PhoneSim.h"
#include "support/win/PhoneTree.h"
#include "support/win/QvProcess.h"
#include "support/win/QvSettings.h"
#include "support/win/QvWindows.h"
#include "support/win/WaitUntil.h"

namespace {

using Texts = std::vector<std::string>;

struct FileManagerWindows {
    HWND window = nullptr;
    HWND list = nullptr;
    HWND path = nullptr;
};

FileManagerWindows ShownFileManager(HWND main)
{
    FileManagerWindows found;
    found.window = FindChildWindow(main, "qv_FileManagerWindow", -1, true);
    if (found.window != nullptr) {
        found.list = FindChildWindow(found.window, "SysListView32", IDC_FILE_LIST);
        found.path = FindChildWindow(found.window, "qv_PathLineBrowserWindow");
    }
    return found;
}

}  // namespace

TEST(MainWindowFileManager, ExplorerShowsThePhonesFoldersAndKeepsTheLastOne)
{
    PhoneTree tree("ui");
    tree.Folder("Документы");
    tree.File("Документы\\заметка.txt", "молоко");
    tree.Folder("Мелодии");
    tree.File("readme.txt", "r");
    PhoneSim sim({"--profile", "siemens", "--root", tree.unixRoot});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    TempDir dir;
    ASSERT_TRUE(WriteSettingsForPort(dir, sim.ComName()));
    {
        QvProcess qv(dir.Path());
        HWND main = qv.WaitForMainWindow(20000);
        ASSERT_NE(main, nullptr);
        HWND panel = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (panel = ShownControlPanel(main)) != nullptr; }, 20000));
        HWND explorer = GetDlgItem(panel, IDM_EXPLORER);
        PostMessageA(panel, WM_COMMAND, MAKEWPARAM(IDM_EXPLORER, BN_CLICKED), reinterpret_cast<LPARAM>(explorer));

        FileManagerWindows fm;
        ASSERT_TRUE(WaitUntil([&] { return (fm = ShownFileManager(main)).list != nullptr; }, 20000));
        EXPECT_TRUE(WaitUntil([&] { return ListViewColumn(fm.list) == Texts{"Документы", "Мелодии", "readme.txt"}; },
                              20000));
        EXPECT_EQ(WindowTextOf(fm.path), "SIEMENS:");
        EXPECT_EQ(WindowTextOf(GetDlgItem(main, IDC_STATUS_BAR)), "Выделено объектов: 1");

        // The first row is selected: Enter opens it.
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(fm.list) != FALSE; }, 20000));
        SendMessageA(fm.list, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_TRUE(WaitUntil([&] { return WindowTextOf(fm.path) == "SIEMENS:Документы"; }, 20000));
        EXPECT_TRUE(WaitUntil([&] { return ListViewColumn(fm.list) == Texts{"заметка.txt"}; }, 20000));

        PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
        DWORD exitCode = 99;
        ASSERT_TRUE(qv.WaitForExit(30000, exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    SettingsStore saved;
    ASSERT_TRUE(LoadSettingsFrom(dir, saved));
    ASSERT_EQ(saved.DeviceSettings.Count(), 1u);
    EXPECT_STREQ(saved.DeviceSettings.Get(0)->lastFolder.CStr(), "Документы");
    EXPECT_EQ(saved.DeviceSettings.Get(0)->fileManagerShown, 1u);

    // Started again, the phone comes up in its file manager, in that folder.
    QvProcess qv(dir.Path());
    HWND main = qv.WaitForMainWindow(20000);
    ASSERT_NE(main, nullptr);
    FileManagerWindows fm;
    ASSERT_TRUE(WaitUntil([&] { return (fm = ShownFileManager(main)).path != nullptr; }, 20000));
    EXPECT_TRUE(WaitUntil([&] { return WindowTextOf(fm.path) == "SIEMENS:Документы"; }, 20000));
    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD exitCode = 99;
    EXPECT_TRUE(qv.WaitForExit(30000, exitCode));
}

// The file operation progress dialog as a user sees it: where it opens, a transfer in the
// middle, Cancel, and a new operation opened before the last one's window went.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>

#include "core/Locale.h"
#include "core/Settings.h"
#include "filemanager/win/DialogProgressFileOperation.h"
#include "resources/resource.h"
#include "support/VirtualClock.h"
#include "support/win/MessagePump.h"

namespace {

constexpr char kOwnerClass[] = "qv_TestFileManager";

class Owner : public TWindow {
public:
    Owner()
    {
        RegisterWindowClass(0, nullptr, nullptr, kOwnerClass, 0);
        CreateWindowExA(0, kOwnerClass, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                        GetModuleHandleA(nullptr), this);
    }
    ~Owner() override { DestroyNativeWindow(); }
};

class CountedDialog : public DialogProgressFileOperation {
public:
    using DialogProgressFileOperation::DialogProgressFileOperation;
    INT_PTR OnTimer(HWND hwnd, UINT_PTR id) override
    {
        INT_PTR result = DialogProgressFileOperation::OnTimer(hwnd, id);
        ++ticks;
        return result;
    }
    bool WaitForTick()
    {
        const int seen = ticks;
        return PumpUntil([&] { return ticks > seen; });
    }
    int ticks = 0;
};

std::string Text(HWND dialog, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

int BarPosition(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageA(dialog, id, PBM_GETPOS, 0, 0)); }

}  // namespace

TEST(DialogProgressFileOperation, TransferJourney)
{
    VirtualClock clock;
    ClockOverride useClock(clock);
    Owner owner;
    SettingsValues settings;  // the first position ever: 10000, 0
    CountedDialog dialog(&settings);
    ASSERT_FALSE(dialog.Open(nullptr));
    ASSERT_TRUE(dialog.Open(&owner));
    HWND window = dialog.Handle();
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Q-V - копирование");
    EXPECT_TRUE(IsWindowVisible(window));
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.right, GetSystemMetrics(SM_CXSCREEN)) << "Cancel must be within reach";
    EXPECT_EQ(Text(window, IDC_FILEOP_COUNTER), "-/-");
    EXPECT_EQ(Text(window, IDC_FILEOP_TOTAL), "---");

    // A copy worker in the middle of the second of five files, two seconds after the start.
    std::thread([&] {
        dialog.SetSourceText(GString("C:\\Фото\\лето.jpg"));
        dialog.SetTargetText(GString("Phone/Pictures"));
        dialog.SetFileCounter(2, 5);
        dialog.SetTotalSize(1572864);
        dialog.AddTransferred(400000);
        dialog.SetFileSize(1000000);
        dialog.AddTransferred(400000);
    }).join();
    clock.now += 2000;
    ASSERT_TRUE(dialog.WaitForTick());
    EXPECT_EQ(Text(window, IDC_FILEOP_SOURCE), "C:\\Фото\\лето.jpg");
    EXPECT_EQ(Text(window, IDC_FILEOP_TARGET), "Phone/Pictures");
    EXPECT_EQ(Text(window, IDC_FILEOP_COUNTER), "2/5");
    const std::string sep(1, ThousandsSeparator());
    EXPECT_EQ(Text(window, IDC_FILEOP_TOTAL), "1.5 МБ (1" + sep + "572" + sep + "864 байт)");
    EXPECT_EQ(BarPosition(window, IDC_FILEOP_FILE_BAR), 40);
    EXPECT_EQ(BarPosition(window, IDC_FILEOP_TOTAL_BAR), 50);
    EXPECT_EQ(Text(window, IDC_FILEOP_SPEED), "400" + sep + "000");  // 800 000 bytes in 2 s
    EXPECT_EQ(Text(window, IDC_FILEOP_TIME_LEFT), "00 : 00 : 01");

    // Cancel greys the button; the dialog stays until the operation closes it.
    HWND cancel = GetDlgItem(window, IDCANCEL);
    SendMessageA(cancel, BM_CLICK, 0, 0);
    EXPECT_TRUE(dialog.IsCancelled());
    EXPECT_FALSE(IsWindowEnabled(cancel));
    ASSERT_TRUE(dialog.WaitForTick());
    EXPECT_TRUE(IsWindow(window));

    // The operation ends and the next one opens before the closing tick came: the old window
    // goes, the new one starts afresh where the old one was.
    SetWindowPos(window, nullptr, 100, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    dialog.RequestClose();
    EXPECT_FALSE(dialog.IsOpen());
    ASSERT_TRUE(dialog.Open(&owner));
    HWND second = dialog.Handle();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(dialog.IsCancelled());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(second, IDCANCEL)));
    GetWindowRect(second, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 120);
    EXPECT_EQ(BarPosition(second, IDC_FILEOP_TOTAL_BAR), 0);

    SetWindowPos(second, nullptr, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    std::thread([&] { dialog.RequestClose(); }).join();
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(second); }));
    EXPECT_EQ(settings.progressX, 60);
    EXPECT_EQ(settings.progressY, 70);
}

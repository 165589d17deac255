// The progress, wait and About dialogs as a user sees them: the progress dialog's appearance
// delay, steps and texts applied by its timer, one object serving the scan and then the closing
// thread, Cancel in both dialogs, the wait panel closed from a worker, the About version line.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>

#include "resources/resource.h"
#include "support/win/MessagePump.h"
#include "toolkit/win/About.h"
#include "toolkit/win/DialogProgress.h"
#include "toolkit/win/DialogWait.h"

namespace {

constexpr char kOwnerClass[] = "qv_TestOwner";

class Owner : public TWindow {
public:
    Owner()
    {
        RegisterWindowClass(0, nullptr, nullptr, kOwnerClass, 0);
        CreateWindowExA(0, kOwnerClass, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 500, 300,
                        nullptr, nullptr, GetModuleHandleA(nullptr), this);
    }
    ~Owner() override { DestroyNativeWindow(); }
};

// Records, at each tick of its timer, whether the dialog was visible after the tick.
class WatchedProgress : public DialogProgress {
public:
    INT_PTR OnTimer(HWND hwnd, UINT_PTR id) override
    {
        INT_PTR result = DialogProgress::OnTimer(hwnd, id);
        ++ticks;
        if (firstVisibleTick == 0 && IsWindow(hwnd) && IsWindowVisible(hwnd))
            firstVisibleTick = ticks;
        return result;
    }
    LRESULT OnShowWindow(BOOL shown, UINT status) override
    {
        shows += shown ? 1 : 0;
        return DialogProgress::OnShowWindow(shown, status);
    }
    int ticks = 0;
    int firstVisibleTick = 0;
    int shows = 0;
};

std::string ControlText(HWND dialog, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

}  // namespace

TEST(DialogProgress, AppearsAfterItsDelayAndARunShorterThanThatNeverShowsIt)
{
    Owner owner;
    WatchedProgress progress;
    ASSERT_FALSE(progress.Open(nullptr, "x", 1));
    ASSERT_TRUE(progress.Open(&owner, "QV - Подключение", 1));
    HWND first = progress.Handle();
    char caption[64] = {};
    GetWindowTextA(first, caption, sizeof caption);
    EXPECT_STREQ(caption, "QV - Подключение");
    EXPECT_EQ(GetWindow(first, GW_OWNER), owner.Handle());
    ASSERT_TRUE(PumpUntil([&] { return progress.firstVisibleTick != 0; }));
    EXPECT_EQ(progress.firstVisibleTick, 5) << "five ticks of 200 ms make the delay";
    EXPECT_NE(GetWindowLongA(first, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    progress.Close();
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(first); }));

    // A scan over within the second: its Close comes before the delay ran out.
    WatchedProgress quick;
    ASSERT_TRUE(quick.Open(&owner, "QV - Подключение", 1));
    HWND quickWindow = quick.Handle();
    quick.Close();
    EXPECT_FALSE(quick.IsOpen()) << "a dialog asked to close counts as closed";
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(quickWindow); }));
    EXPECT_EQ(quick.shows, 0);
    EXPECT_EQ(quick.ticks, 1);
}

TEST(DialogProgress, StepsAndTextFromAWorkerAreShownAtTheNextTick)
{
    Owner owner;
    WatchedProgress progress;
    ASSERT_TRUE(progress.Open(&owner, "QV - Подключение", 0));
    EXPECT_TRUE(IsWindowVisible(progress.Handle())) << "without a delay it shows at once";
    HWND bar = GetDlgItem(progress.Handle(), IDC_PROGRESS_BAR);
    progress.SetRange(0, 20);
    ASSERT_TRUE(PumpUntil([&] { return progress.ticks >= 1; }));
    const int ticks = progress.ticks;
    std::thread worker([&] {
        progress.SetText(GString("Опрос последовательных портов..."));
        for (int i = 0; i < 10; ++i)
            progress.Step();
    });
    worker.join();
    ASSERT_TRUE(PumpUntil([&] { return progress.ticks > ticks; }));
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 10);
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 20);
    EXPECT_EQ(ControlText(progress.Handle(), IDC_PROGRESS_TEXT), "Опрос последовательных портов...");
}

// The scan closes the dialog and the closing thread shows it again before the scan's window
// met its closing tick: the closing texts show and then every window goes.
TEST(DialogProgress, ACloseDuringAScanShowsTheClosingTextsAndClosesBothDialogs)
{
    Owner owner;
    WatchedProgress progress;
    ASSERT_TRUE(progress.Open(&owner, "QV - Подключение", 0));
    HWND scanWindow = progress.Handle();
    std::thread([&] { progress.SetText(GString("Открытие порта «COM5»")); }).join();
    ASSERT_TRUE(PumpUntil([&] { return ControlText(scanWindow, IDC_PROGRESS_TEXT) == "Открытие порта «COM5»"; }));
    SendMessageA(GetDlgItem(scanWindow, IDCANCEL), BM_CLICK, 0, 0);
    std::thread([&] { progress.Close(); }).join();
    EXPECT_FALSE(progress.IsOpen()) << "a dialog asked to close counts as closed";

    ASSERT_TRUE(progress.Open(&owner, "QV - Подключение", 1));
    HWND closeWindow = progress.Handle();
    EXPECT_TRUE(progress.IsOpen());
    EXPECT_FALSE(progress.IsCancelled());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(closeWindow, IDCANCEL)));
    std::thread([&] {
        progress.SetRange(0, 1);
        progress.SetText(GString("Закрытие портов..."));
        progress.Step();
    }).join();
    const int ticks = progress.ticks;
    ASSERT_TRUE(PumpUntil([&] { return progress.ticks > ticks; }));
    EXPECT_TRUE(IsWindowVisible(closeWindow));
    EXPECT_EQ(ControlText(closeWindow, IDC_PROGRESS_TEXT), "Закрытие портов...");
    std::thread([&] { progress.Close(); }).join();
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(scanWindow) && !IsWindow(closeWindow); }))
        << "scan window " << IsWindow(scanWindow) << ", closing window " << IsWindow(closeWindow);

    // A scan that ends within its delay and the closing run after it: no window stays either.
    ASSERT_TRUE(progress.Open(&owner, "QV - Подключение", 1));
    HWND hidden = progress.Handle();
    progress.Close();
    ASSERT_TRUE(progress.Open(&owner, "QV - Подключение", 1));
    EXPECT_FALSE(IsWindowVisible(progress.Handle()));
    progress.Close();
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hidden) && !IsWindow(progress.Handle()); }));
}

TEST(ProgressDialogs, CancelInBothDialogs)
{
    Owner owner;
    WatchedProgress progress;
    ASSERT_TRUE(progress.Open(&owner, "QV - Подключение", 0));
    HWND window = progress.Handle();
    HWND cancel = GetDlgItem(window, IDCANCEL);
    SendMessageA(cancel, BM_CLICK, 0, 0);
    EXPECT_TRUE(progress.IsCancelled());
    EXPECT_FALSE(IsWindowEnabled(cancel));
    const int ticks = progress.ticks;
    ASSERT_TRUE(PumpUntil([&] { return progress.ticks > ticks; }));
    EXPECT_TRUE(IsWindow(window)) << "the dialog waits for its worker to close it";
    progress.Close();
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(window); }));

    DialogWait wait;
    ASSERT_TRUE(wait.Open(&owner, "Чтение папки...", 0));
    HWND panel = wait.Handle();
    EXPECT_EQ(GetParent(panel), owner.Handle());
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_EQ(ControlText(panel, IDC_PROGRESS_TEXT), "Чтение папки...");
    EXPECT_FALSE(wait.IsCancelled());
    SendMessageA(GetDlgItem(panel, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(wait.IsCancelled());
    EXPECT_FALSE(IsWindow(panel)) << "the wait panel closes at once";
}

// A worker cannot destroy the panel (a window of another thread): its close is done by the
// panel's own timer.
TEST(DialogWait, ClosedFromAWorkerGoesAtItsNextTick)
{
    Owner owner;
    DialogWait wait;
    ASSERT_TRUE(wait.Open(&owner, "Открытие...", 1));
    HWND panel = wait.Handle();
    EXPECT_FALSE(IsWindowVisible(panel)) << "hidden while the delay runs";
    std::thread([&] {
        wait.SetRange(0, 10);
        wait.Step();
        wait.Close();
    }).join();
    EXPECT_FALSE(wait.IsOpen());
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(panel); }));
}

namespace {

class AboutReader : public About {
public:
    INT_PTR OnInitDialog(HWND hwnd, HWND focus, LPARAM param) override
    {
        INT_PTR result = About::OnInitDialog(hwnd, focus, param);
        versionLine = ControlText(hwnd, IDC_ABOUT_VERSION);
        siteText = ControlText(hwnd, IDC_ABOUT_SITE);
        PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
        return result;
    }
    std::string versionLine;
    std::string siteText;
};

}  // namespace

TEST(About, VersionLineFromTheProgramsVersionResource)
{
    // qv.exe (file version 1.0.0.1) lies beside the test program.
    AboutReader about;
    ASSERT_EQ(about.DoModal("IDD_ABOUT", nullptr), IDOK);
    EXPECT_EQ(about.versionLine, "Версия 1.0  beta");
    EXPECT_EQ(about.siteText, QV_WEB_SITE);

    AboutReader without;
    without.SetVersionFile("C:\\no-such-folder\\qv.exe");
    ASSERT_EQ(without.DoModal("IDD_ABOUT", nullptr), IDOK);
    EXPECT_EQ(without.versionLine, "Версия %01.1d.%01.1d  beta");
}

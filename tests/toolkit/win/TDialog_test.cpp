// Dialogs from a template: OK and Cancel that their handlers refuse, modeless reuse, and the
// message pump that must not swallow the quit request.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "toolkit/win/Button.h"
#include "toolkit/win/StaticControl.h"
#include "toolkit/win/TDialog.h"

namespace {

constexpr char kTemplate[] = "QV_TEST_DIALOG";

// Walks OK refused, Cancel refused, OK accepted, each step posted by the one before, as a
// user pressing the buttons would.
class StubbornDialog : public TDialog {
public:
    ~StubbornDialog() override { DestroyNativeWindow(); }

    INT_PTR OnInitDialog(HWND hwnd, HWND, LPARAM param) override
    {
        log += "init;";
        initParam = param;
        PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    bool OnOK() override
    {
        log += "ok;";
        if (++okCount == 1) {
            PostMessageA(handle, WM_COMMAND, IDCANCEL, 0);
            return false;
        }
        return true;
    }
    bool OnCancel() override
    {
        log += "cancel;";
        PostMessageA(handle, WM_COMMAND, IDOK, 0);
        return false;
    }
    void OnDialogDestroy() override { log += "destroy;"; }

    std::string log;
    LPARAM initParam = 0;
    int okCount = 0;
};

class PlainDialog : public TDialog {
public:
    ~PlainDialog() override { DestroyNativeWindow(); }
    INT_PTR OnInitDialog(HWND hwnd, HWND, LPARAM) override
    {
        ok.Bind(hwnd, IDOK);
        text.Bind(hwnd, 100);
        return TRUE;
    }
    LRESULT OnCommand(int, int id, HWND) override
    {
        lastCommand = id;
        return 0;
    }
    Button ok;
    StaticControl text;
    int lastCommand = 0;
};

}  // namespace

TEST(TDialog, RefusedOkAndCancelKeepTheModalDialogOpen)
{
    StubbornDialog dialog;
    EXPECT_EQ(dialog.DoModal(kTemplate, nullptr), IDOK);
    EXPECT_EQ(dialog.log, "init;ok;cancel;ok;destroy;");
    EXPECT_EQ(dialog.initParam, reinterpret_cast<LPARAM>(&dialog));
    EXPECT_EQ(dialog.Handle(), nullptr);
    EXPECT_EQ(PlainDialog().DoModal("QV_NO_SUCH_TEMPLATE", nullptr), -1);
}

TEST(TDialog, ModelessDialogBindsItsControlsAndCanBeShownAgain)
{
    PlainDialog dialog;
    for (int round = 0; round < 2; ++round) {
        HWND hwnd = dialog.Create(kTemplate, nullptr);
        ASSERT_NE(hwnd, nullptr) << round;
        EXPECT_EQ(dialog.Create(kTemplate, nullptr), nullptr) << "one window at a time";
        EXPECT_STREQ(dialog.ok.GetText().CStr(), "OK");
        EXPECT_EQ(GetWindowLongPtrA(dialog.ok.Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
        EXPECT_EQ(GetWindowLongPtrA(dialog.text.Handle(), GWL_STYLE) & SS_TYPEMASK, SS_OWNERDRAW);
        // Other commands reach OnCommand; Cancel closes a modeless dialog by destroying it.
        SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(105, 0), 0);
        EXPECT_EQ(dialog.lastCommand, 105);
        SendMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(dialog.Handle(), nullptr);
        EXPECT_EQ(dialog.ok.Handle(), nullptr);
    }
}

TEST(TDialog, PumpMessagesHandlesWaitingMessagesAndKeepsTheQuitRequest)
{
    PlainDialog dialog;
    HWND hwnd = dialog.Create(kTemplate, nullptr);
    ASSERT_NE(hwnd, nullptr);
    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(106, 0), 0);
    PostQuitMessage(7);
    dialog.PumpMessages();
    EXPECT_EQ(dialog.lastCommand, 106);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit request was swallowed";
    EXPECT_EQ(msg.wParam, 7u);
    dialog.Close();
    EXPECT_EQ(dialog.Handle(), nullptr);
}

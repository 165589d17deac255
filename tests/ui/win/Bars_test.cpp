// The toolbar and the status bar in a window.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "ui/win/StatusWindow.h"
#include "ui/win/ToolBarMain.h"

namespace {

constexpr char kOwnerClass[] = "qv_TestMain";

class Owner : public TWindow {
public:
    Owner()
    {
        RegisterWindowClass(0, nullptr, nullptr, kOwnerClass, 0);
        CreateWindowExA(0, kOwnerClass, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 900, 300,
                        nullptr, nullptr, GetModuleHandleA(nullptr), this);
    }
    ~Owner() override { DestroyNativeWindow(); }
    LRESULT OnCommand(int, int id, HWND) override
    {
        commands.push_back(id);
        return 0;
    }
    std::vector<int> commands;
};

}  // namespace

TEST(ToolBarMain, ButtonsFollowTheCommandStateAndReachTheOwner)
{
    Owner owner;
    CommandStateSubject state;
    ToolBarMain toolbar;
    ASSERT_TRUE(toolbar.Create(&owner, &state));
    EXPECT_EQ(GetParent(toolbar.Handle()), owner.Handle()) << "docked in its owner";
    EXPECT_EQ(toolbar.ChildCount(), 8u);
    EXPECT_EQ(toolbar.BarSize().cy, 30 + 3 + 2);

    Button* ports = toolbar.FindButton(IDM_PORTS);
    Button* copy = toolbar.FindButton(IDM_COPY);
    ASSERT_NE(ports, nullptr);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(IsWindowEnabled(ports->Handle())) << "the port commands are always enabled";
    EXPECT_FALSE(IsWindowEnabled(copy->Handle()));
    EXPECT_EQ(copy->ImageCount(), 3u) << "normal, hot and disabled pictures of the strips";
    EXPECT_EQ(copy->ShownImage(), Button::kDisabledImage);
    state.copy = true;
    state.Notify();
    EXPECT_TRUE(IsWindowEnabled(copy->Handle()));
    EXPECT_EQ(copy->ShownImage(), Button::kNormalImage);
    state.Reset(true);
    EXPECT_EQ(copy->ShownImage(), Button::kDisabledImage);

    // A click (which also moves the focus) is one command, not three.
    SendMessageA(ports->Handle(), BM_CLICK, 0, 0);
    SetFocus(owner.Handle());
    EXPECT_EQ(owner.commands, std::vector<int>{IDM_PORTS});
}

TEST(StatusWindow, PartsFollowTheWidthAndTheTextsShow)
{
    Owner owner;
    StatusWindow status;
    ASSERT_TRUE(status.Create(&owner));
    EXPECT_EQ(GetDlgCtrlID(status.Handle()), IDC_STATUS_BAR);
    RECT client{};
    GetClientRect(owner.Handle(), &client);
    SetWindowPos(status.Handle(), nullptr, 0, client.bottom - 20, 900, 20, SWP_NOZORDER | SWP_SHOWWINDOW);
    // The control spans its parent; the parts follow its width.
    RECT bar{};
    GetClientRect(status.Handle(), &bar);
    const int width = bar.right;
    int edges[3] = {};
    ASSERT_EQ(SendMessageA(status.Handle(), SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[0], width / 3);
    EXPECT_EQ(edges[1], width / 3 + width / 3 / 2);
    EXPECT_EQ(edges[2], -1);

    status.SetMessage("Объектов: %d", 7);
    status.SetMemory(1536, 1048576, false);
    char text[128] = {};
    SendMessageA(status.Handle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Объектов: 7");
    SendMessageA(status.Handle(), SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "1.5 КБ / 1.0 МБ");
    status.Clear();
    SendMessageA(status.Handle(), SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "");
    EXPECT_TRUE(status.MemoryTip().IsEmpty());
}

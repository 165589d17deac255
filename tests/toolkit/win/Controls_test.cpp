// Owner-drawn controls as a user meets them: the image each button state shows, a right click
// reported by handle so that a button deleted meanwhile is never read, and list rows toggled
// from the keyboard.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "toolkit/win/Button.h"
#include "toolkit/win/ListBox.h"
#include "toolkit/win/Theme.h"

namespace {

constexpr char kPanelClass[] = "qv_TestPanel";
constexpr COLORREF kNormal = RGB(200, 0, 0);
constexpr COLORREF kHot = RGB(0, 200, 0);
constexpr COLORREF kDisabled = RGB(0, 0, 200);

// A bar that records the right clicks its buttons forward.
class Panel : public TWindow {
public:
    Panel()
    {
        RegisterWindowClass(0, nullptr, nullptr, kPanelClass, 0);
        CreateWindowExA(0, kPanelClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 60, nullptr, nullptr,
                        GetModuleHandleA(nullptr), this);
    }
    ~Panel() override { DestroyNativeWindow(); }
    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_RBUTTONUP) {
            ++rightClicks;
            clicked = TWindow::FindChild(hwnd, reinterpret_cast<HWND>(wParam));
            return 0;
        }
        return TWindow::WindowProc(hwnd, message, wParam, lParam);
    }
    LRESULT OnCommand(int code, int id, HWND) override
    {
        if (code == LBN_SELCHANGE)
            selectionChanges.push_back(id);
        return 0;
    }
    int rightClicks = 0;
    std::vector<int> selectionChanges;
    TWindow* clicked = nullptr;
};

PixelImage Solid(COLORREF colour)
{
    PixelImage image(24, 24, MakePixel(255, GetRValue(colour), GetGValue(colour), GetBValue(colour)));
    return image;
}

// The colour at the middle of the button as it paints itself into a memory bitmap.
COLORREF PaintedCentre(const Button& button)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 30, 30);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(button.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    COLORREF centre = GetPixel(dc, 15, 15);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return centre;
}

void DrainQueue()
{
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

TEST(Button, ToolbarButtonShowsTheImageOfItsState)
{
    Panel panel;
    ASSERT_NE(panel.Handle(), nullptr);
    for (bool themed : {true, false}) {
        Button button;
        ASSERT_TRUE(button.Create(&panel, 204, "", "Копировать", 0));
        if (!themed)
            ThemeApi::Get().SetWindowTheme(button.Handle(), L"", L"");
        button.SetFixedSize(30, 30);
        const PixelImage normal = Solid(kNormal), hot = Solid(kHot), disabled = Solid(kDisabled);
        button.SetImages(&normal, &hot, &disabled);
        ASSERT_EQ(button.ImageCount(), 3u);

        EnableWindow(button.Handle(), FALSE);
        EXPECT_EQ(PaintedCentre(button), kDisabled) << themed;
        EnableWindow(button.Handle(), TRUE);
        EXPECT_EQ(PaintedCentre(button), kNormal) << themed;
        SendMessageA(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(PaintedCentre(button), kHot) << themed;
        DrainQueue();
    }
}

TEST(Button, RightClickReachesTheParentAsAHandleThatMayBeGone)
{
    Panel panel;
    auto* button = new Button();
    ASSERT_TRUE(button->Create(&panel, 1, "SIEMENS S65", "SIEMENS S65", Button::kImageLeft));
    button->SizeToContent();

    SendMessageA(button->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
    DrainQueue();
    EXPECT_EQ(panel.rightClicks, 1);
    EXPECT_EQ(panel.clicked, button);

    // The button goes (a disconnect) before the parent reads the posted message.
    SendMessageA(button->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
    delete button;
    panel.clicked = &panel;
    DrainQueue();
    EXPECT_EQ(panel.rightClicks, 2);
    EXPECT_EQ(panel.clicked, nullptr);

    // A release while the left button is held is no right click.
    Button held;
    ASSERT_TRUE(held.Create(&panel, 1, "x", nullptr, Button::kImageLeft));
    held.SetFixedSize(40, 20);
    SendMessageA(held.Handle(), WM_RBUTTONUP, MK_LBUTTON, MAKELPARAM(3, 3));
    DrainQueue();
    EXPECT_EQ(panel.rightClicks, 2);
}

TEST(ListBox, SpaceTogglesTheSelectedRowAndTellsTheParent)
{
    Panel panel;
    ListBox list;
    ASSERT_TRUE(list.Create(&panel, 10114, ListBox::kCheckBoxes, nullptr, RECT{0, 0, 200, 60}));
    ListBoxRow usable;
    usable.hasCheckBox = true;
    ListBoxRow unsupported;
    unsupported.hasCheckBox = true;
    unsupported.enabled = false;
    ASSERT_EQ(list.AddRow("COM1", usable), 0);
    ASSERT_EQ(list.AddRow("COM2", unsupported), 1);

    list.Select(0);
    SendMessageA(list.Handle(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(list.Row(0)->checked);
    EXPECT_EQ(panel.selectionChanges, std::vector<int>{10114});

    list.Select(1);
    SendMessageA(list.Handle(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_FALSE(list.Row(1)->checked);
    EXPECT_EQ(panel.selectionChanges.size(), 1u) << "nothing changed, nothing to tell";

    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Row(0), nullptr);
}

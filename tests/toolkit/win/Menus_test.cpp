// Owner-drawn menus: what a popup made again at every reconnect owns and frees, items measured
// through a window, and the menu bar following the command state.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "core/Subject.h"
#include "resources/resource.h"
#include "toolkit/win/MainMenu.h"
#include "toolkit/win/TWindow.h"

namespace {

constexpr char kOwnerClass[] = "qv_TestMenuOwner";

class Owner : public TWindow {
public:
    Owner()
    {
        RegisterWindowClass(0, nullptr, nullptr, kOwnerClass, 0);
        CreateWindowExA(0, kOwnerClass, "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                        GetModuleHandleA(nullptr), this);
    }
    ~Owner() override { DestroyNativeWindow(); }
};

const GMenuItem* ItemWithId(const GMenu& menu, UINT id)
{
    for (const auto& item : menu.Items())
        if (item->id == id)
            return item.get();
    return nullptr;
}

bool Greyed(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }

}  // namespace

TEST(Menus, DevicePopupFreesItsImagesMenuAndFontWhenItGoes)
{
    for (int reconnect = 0; reconnect < 3; ++reconnect) {
        auto popup = std::make_unique<GMenu>();
        ASSERT_TRUE(popup->LoadPopupMenu("TRACKPOPUPMENU_DEVICE"));
        std::vector<HGDIOBJ> owned;
        for (const auto& item : popup->Items()) {
            if (!item->image.IsValid())
                continue;
            owned.push_back(item->image.Handle());
            owned.push_back(item->grey.Handle());
            owned.push_back(item->mask);
        }
        ASSERT_EQ(owned.size(), 6u) << "both commands of the device popup have pictures";
        for (HGDIOBJ object : owned)
            ASSERT_NE(GetObjectType(object), 0u);

        // A setting change replaces the font; the old one goes at once.
        HFONT before = popup->Font();
        popup->RebuildFont();
        EXPECT_EQ(GetObjectType(before), 0u) << reconnect;
        owned.push_back(popup->Font());
        HMENU menu = popup->Handle();

        popup.reset();
        EXPECT_FALSE(IsMenu(menu)) << reconnect;
        for (HGDIOBJ object : owned)
            EXPECT_EQ(GetObjectType(object), 0u) << reconnect;
    }
}

TEST(Menus, ItemsAreMeasuredThroughTheOwnerWindow)
{
    Owner owner;
    GMenu popup;
    ASSERT_TRUE(popup.LoadPopupMenu("FILEMANAGERMENUPOPUP"));
    const GMenuItem* copy = ItemWithId(popup, IDM_COPY);
    ASSERT_NE(copy, nullptr);
    ASSERT_TRUE(copy->image.IsValid());
    EXPECT_STREQ(copy->text.CStr(), "&Копировать");

    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemData = reinterpret_cast<ULONG_PTR>(copy);
    ASSERT_EQ(SendMessageA(owner.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), TRUE);
    EXPECT_GE(measure.itemHeight, 18u) << "a 16-pixel picture and a pixel above and below";
    EXPECT_GT(measure.itemWidth, 60u);

    const GMenuItem* separator = nullptr;
    for (const auto& item : popup.Items())
        if ((item->type & MFT_SEPARATOR) != 0)
            separator = item.get();
    ASSERT_NE(separator, nullptr);
    measure.itemData = reinterpret_cast<ULONG_PTR>(separator);
    SendMessageA(owner.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemHeight, 5u);

    // Item data of some other menu is not taken for ours.
    int foreign = 0;
    measure.itemData = reinterpret_cast<ULONG_PTR>(&foreign);
    measure.itemHeight = 0;
    SendMessageA(owner.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemHeight, 0u);
}

TEST(Menus, MenuBarGreysTheCommandsTheStateDisables)
{
    Owner owner;
    MainMenu menu;
    ASSERT_TRUE(menu.Create());
    ASSERT_TRUE(menu.Attach(&owner));
    ASSERT_EQ(GetMenu(owner.Handle()), menu.Handle());

    // The help popup closes the bar, on the right.
    const int last = GetMenuItemCount(menu.Handle()) - 1;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    ASSERT_TRUE(GetMenuItemInfoA(menu.Handle(), static_cast<UINT>(last), TRUE, &info));
    EXPECT_NE(info.fType & MFT_RIGHTJUSTIFY, 0u);
    EXPECT_EQ(GetMenuState(info.hSubMenu, IDM_ABOUT, MF_BYCOMMAND) & MF_GRAYED, 0u);

    CommandStateSubject state;
    state.Attach(&menu);
    state.copy = true;
    state.refresh = true;
    state.Notify();
    EXPECT_FALSE(Greyed(menu.Handle(), IDM_COPY));
    EXPECT_FALSE(Greyed(menu.Handle(), IDM_REFRESH));
    for (UINT id : {IDM_PASTE, IDM_DELETE, IDM_CUT, IDM_RENAME, IDM_EXPLORER, IDM_VIEW_LIST, IDM_VIEW_DETAILS})
        EXPECT_TRUE(Greyed(menu.Handle(), id)) << id;
    EXPECT_FALSE(Greyed(menu.Handle(), IDM_PORTS));

    state.Reset(false);
    state.viewStyle = true;
    state.Notify();
    EXPECT_TRUE(Greyed(menu.Handle(), IDM_COPY));
    for (UINT id : {IDM_VIEW_LARGE_ICONS, IDM_VIEW_SMALL_ICONS, IDM_VIEW_LIST, IDM_VIEW_DETAILS})
        EXPECT_FALSE(Greyed(menu.Handle(), id)) << id;
    state.Detach(&menu);
}

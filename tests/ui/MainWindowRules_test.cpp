// The main window's decisions without a window: commands, views, the control panel's button,
// the device popup, the command states and the device list rebuild.
#include <gtest/gtest.h>

#include "core/Subject.h"
#include "devices/TComm.h"
#include "filemanager/ListLogic.h"
#include "resources/resource.h"
#include "ui/MainLayout.h"
#include "ui/MainWindowRules.h"

namespace {

TEST(MainWindowRules, ListStylesOfTheViewCommands)
{
    // "Таблица" is the table style 1, "Список" the list style 3.
    EXPECT_EQ(ViewCodeForCommand(IDM_VIEW_DETAILS), 1);
    EXPECT_EQ(ViewCodeForCommand(IDM_VIEW_LIST), 3);
    EXPECT_EQ(ViewCodeForCommand(IDM_VIEW_LARGE_ICONS), 0);
    EXPECT_EQ(ViewCodeForCommand(IDM_VIEW_SMALL_ICONS), 2);
    EXPECT_EQ(ViewCodeForCommand(IDM_REFRESH), -1);
    for (int style = 0; style < 4; ++style)
        EXPECT_EQ(ViewCodeForCommand(CommandForViewCode(style)), style);
    EXPECT_EQ(CommandForViewCode(7), 0u);
    // Cut stays without action: nothing ever enables it.
    EXPECT_EQ(ActionOfCommand(IDM_CUT), CommandAction::None);
    EXPECT_EQ(ActionOfCommand(IDM_REFRESH), CommandAction::ForwardToView);
    EXPECT_EQ(ActionOfCommand(IDM_INFORMATION), CommandAction::ToControlPanel);
}

TEST(MainWindowRules, ViewOfASelectedDeviceAndViewSwitching)
{
    EXPECT_EQ(ViewCommandOnSelect(0, false), IDM_INFORMATION);
    EXPECT_EQ(ViewCommandOnSelect(0, true), IDM_EXPLORER);
    EXPECT_EQ(ViewCommandOnSelect(IDM_EXPLORER, false), IDM_EXPLORER);

    ViewSwitch toFiles = ChooseView(IDM_EXPLORER, true, false, true);
    EXPECT_EQ(toFiles.view, ShownView::FileManager);
    EXPECT_TRUE(toFiles.openSession);
    EXPECT_FALSE(ChooseView(IDM_EXPLORER, true, true, true).openSession);
    // Without a file manager, or when opening its session failed (0), the information view.
    EXPECT_EQ(ChooseView(IDM_EXPLORER, false, false, true).view, ShownView::Information);
    EXPECT_EQ(ChooseView(0, true, false, true).view, ShownView::Information);
    EXPECT_EQ(ChooseView(IDM_INFORMATION, true, true, false).view, ShownView::None);
}

TEST(MainWindowRules, ControlPanelButton)
{
    // A click on the selected "Проводник" clears it and shows the information view.
    PanelCommand off = ControlPanelCommand(IDM_EXPLORER, IDM_EXPLORER, true, true);
    EXPECT_EQ(off.selected, 0);
    EXPECT_EQ(off.sent, 0);
    // The same command from the menu keeps it selected.
    PanelCommand menu = ControlPanelCommand(IDM_EXPLORER, IDM_EXPLORER, false, true);
    EXPECT_EQ(menu.selected, IDM_EXPLORER);
    EXPECT_EQ(menu.sent, IDM_EXPLORER);
    // "Информация" from the menu un-checks "Проводник".
    PanelCommand info = ControlPanelCommand(IDM_EXPLORER, IDM_INFORMATION, false, false);
    EXPECT_EQ(info.selected, 0);
    EXPECT_EQ(info.sent, IDM_INFORMATION);
    // A panel without the button selects nothing but still asks for the view.
    EXPECT_EQ(ControlPanelCommand(0, IDM_EXPLORER, false, false).selected, 0);
}

TEST(MainWindowRules, DevicePopupOffersWhatTheClickedDeviceAllows)
{
    PopupItems serial = DevicePopupItems(false, TComm::kSerial);
    EXPECT_TRUE(serial.disconnect);
    EXPECT_FALSE(serial.sendFile);
    PopupItems bluetooth = DevicePopupItems(false, TComm::kBluetooth);
    EXPECT_TRUE(bluetooth.sendFile);
    EXPECT_TRUE(DevicePopupItems(false, TComm::kIrDA).sendFile);
    PopupItems busy = DevicePopupItems(true, TComm::kBluetooth);
    EXPECT_FALSE(busy.disconnect);
    EXPECT_FALSE(busy.sendFile);
    // Chosen while idle, refused when the device became busy inside the popup's loop.
    EXPECT_TRUE(PopupCommandAllowed(IDM_DISCONNECT, bluetooth));
    EXPECT_FALSE(PopupCommandAllowed(IDM_DISCONNECT, busy));
    EXPECT_FALSE(PopupCommandAllowed(IDM_SEND_FILE, serial));
    EXPECT_FALSE(PopupCommandAllowed(IDM_EXIT, bluetooth));
}

TEST(MainWindowRules, CommandStatesOfViewsAndBusyDevices)
{
    CommandStateSubject state;
    ViewMenu shown = MenuAfterViewSwitch(true, true, ShownView::Information);
    EXPECT_EQ(shown.radio, IDM_INFORMATION);
    EXPECT_EQ(MenuAfterViewSwitch(true, true, ShownView::FileManager).radio, IDM_EXPLORER);
    EXPECT_EQ(MenuAfterViewSwitch(false, false, ShownView::None).radio, 0);
    ApplyViewMenu(state, MenuAfterViewSwitch(false, true, ShownView::Information));
    EXPECT_FALSE(state.IsCommandEnabled(IDM_EXPLORER));
    EXPECT_TRUE(state.IsCommandEnabled(IDM_INFORMATION));

    class Counter : public Observer {
    public:
        void Update(Subject*) override { ++updates; }
        int updates = 0;
    } counter;
    state.Attach(&counter);
    state.copy = true;
    ApplyBusyChange(state, true);
    EXPECT_EQ(counter.updates, 1);
    EXPECT_FALSE(state.IsCommandEnabled(IDM_COPY));
    EXPECT_FALSE(state.IsCommandEnabled(IDM_INFORMATION));
    ApplyBusyChange(state, false);
    EXPECT_EQ(counter.updates, 1);  // idle: the shown view notifies
    EXPECT_TRUE(state.IsCommandEnabled(IDM_REFRESH));
    state.Detach(&counter);
}

TEST(MainWindowRules, DeviceListRebuild)
{
    // After a scan: both phones get buttons, the first in list order is selected.
    RebuildPlan scan = PlanDeviceListRebuild({{false, false}, {true, false}, {true, false}}, false);
    EXPECT_EQ(scan.newButtons, (std::vector<size_t>{1, 2}));
    EXPECT_TRUE(scan.changeSelection);
    EXPECT_EQ(scan.select, std::optional<size_t>(1));
    // The selected phone was disconnected: the remaining one is selected, no new button.
    RebuildPlan after = PlanDeviceListRebuild({{false, false}, {true, true}}, false);
    EXPECT_TRUE(after.newButtons.empty());
    EXPECT_EQ(after.select, std::optional<size_t>(1));
    // A selection that is still there stays.
    EXPECT_FALSE(PlanDeviceListRebuild({{true, true}, {true, false}}, true).changeSelection);
    // No phone left: the selection is cleared.
    RebuildPlan none = PlanDeviceListRebuild({{false, false}}, false);
    EXPECT_TRUE(none.changeSelection);
    EXPECT_FALSE(none.select.has_value());
}

TEST(MainWindowRules, LayoutOfStatusBarPanelsAndView)
{
    // Toolbar and device list on top, the selected phone's control panel on the left.
    const std::vector<DockedPanel> panels{{kDockSideTop, true, TSize(0, 35)},
                                          {kDockSideTop, true, TSize(0, 30)},
                                          {kDockSideLeft, true, TSize(80, 0)}};
    MainLayout layout = LayOutMainWindow(TRect(0, 0, 800, 600), 22, panels, true);
    ASSERT_TRUE(layout.statusBar.has_value());
    EXPECT_EQ(*layout.statusBar, TRect(0, 578, 800, 600));
    EXPECT_EQ(layout.panels[2], TRect(0, 65, 80, 578));
    ASSERT_TRUE(layout.view.has_value());
    EXPECT_EQ(*layout.view, TRect(80, 65, 800, 578));
    // Without the status bar the view reaches the bottom; without a shown view there is none.
    EXPECT_EQ(LayOutMainWindow(TRect(0, 0, 800, 600), -1, panels, true).view->bottom, 600);
    EXPECT_FALSE(LayOutMainWindow(TRect(0, 0, 800, 600), 22, panels, false).view.has_value());
    EXPECT_FALSE(LayOutMainWindow(TRect(0, 0, 800, 600), 22, {}, true).statusBar.has_value());
}

}  // namespace

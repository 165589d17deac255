// The main window's decisions without a window: what each command does, which view a device
// shows, the control panel's button rules, the device popup's items, the command states after
// a view switch or a busy change, and which device the list selects after a rebuild.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class CommandStateSubject;

// What a command of the menus, the toolbar or the device popup does in the main window.
enum class CommandAction {
    None,
    Close,               // 120
    SendFile,            // 124
    ForwardToView,       // 204..207, 303: the shown view handles it
    ToControlPanel,      // 250, 252: the control panel selects its button
    Disconnect,          // 253
    ToggleToolbar,       // 301
    ToggleControlPanel,  // 302
    ToggleStatusBar,     // 305
    ListStyle,           // 311..314
    Ports,               // 401
    Rescan,              // 402
    HelpPage,            // 801
    About,               // 802
};

CommandAction ActionOfCommand(int id);


// The command that shows a newly selected device's view: the id of its control panel's
// selected button (0: none), else the information view, or the file manager when the device's
// file manager was its last view.
int ViewCommandOnSelect(int selectedButtonId, bool fileManagerShown);

enum class ShownView { None, FileManager, Information };

struct ViewSwitch {
    ShownView view = ShownView::None;
    // The file manager becomes the view while its session is not open: the device is marked
    // busy and the session opening starts.
    bool openSession = false;
};

// Switching a device's view for a command (250 the file manager, any other the information
// view), from the views the device has.
ViewSwitch ChooseView(int command, bool hasFileManager, bool sessionOpen, bool hasInfoView);

// The control panel's answer to a command: which button is selected afterwards (0: none) and
// the command it sends the main window.
struct PanelCommand {
    int selected = 0;
    int sent = 0;
};

// A click on the selected button (fromControl) clears the selection and asks for the
// information view (0); anything else selects the command's button when the panel has one
// (252 never has, so it only clears the selection).
PanelCommand ControlPanelCommand(int selected, int command, bool fromControl, bool panelHasButton);

// The device popup's items for the device that was clicked.
struct PopupItems {
    bool sendFile = false;
    bool disconnect = false;
};

// A busy device offers nothing; an idle one can be disconnected, and files can be pushed to it
// over IrDA or Bluetooth (port kinds 1 and 2), never over a serial line.
PopupItems DevicePopupItems(bool busy, int32_t portKind);
// Whether a command chosen in the popup still runs, from the items the device offers now (the
// popup's modal loop ran messages: the device may have become busy meanwhile).
bool PopupCommandAllowed(int command, const PopupItems& now);

// The states of 250 and 252 and the radio mark after a view switch.
struct ViewMenu {
    bool explorer = false;
    bool information = false;
    int radio = 0;  // 250, 252, or 0 when no view shows
};

ViewMenu MenuAfterViewSwitch(bool hasFileManager, bool hasInfoView, ShownView shown);
// Puts the states of the view commands into the command state (without notifying).
void ApplyViewMenu(CommandStateSubject& state, const ViewMenu& menu);
// A device became busy: every command is off and the observers hear of it. It became idle:
// "Обновить" is on again, without notifying (the shown view updates the rest).
void ApplyBusyChange(CommandStateSubject& state, bool busy);

// One port of the port list as the device list rebuild sees it.
struct ListedPort {
    bool hasDevice = false;
    bool hasButton = false;
};

struct RebuildPlan {
    std::vector<size_t> newButtons;  // ports (by index) that get a button, in list order
    bool changeSelection = false;    // false: the selected button stays
    std::optional<size_t> select;    // the port to select; none clears the selection
};

// After a scan or a disconnect: every port with a device and no button gets one; without a
// selected button the first port with a device is selected, or the selection is cleared.
RebuildPlan PlanDeviceListRebuild(const std::vector<ListedPort>& ports, bool hasSelection);

#include "ui/MainWindowRules.h"

#include "core/Subject.h"
#include "devices/TComm.h"
#include "resources/resource.h"

CommandAction ActionOfCommand(int id)
{
    switch (id) {
    case IDM_EXIT: return CommandAction::Close;
    case IDM_SEND_FILE: return CommandAction::SendFile;
    case IDM_COPY:
    case IDM_PASTE:
    case IDM_DELETE:
    case IDM_SELECT_ALL:
    case IDM_REFRESH: return CommandAction::ForwardToView;
    case IDM_EXPLORER:
    case IDM_INFORMATION: return CommandAction::ToControlPanel;
    case IDM_DISCONNECT: return CommandAction::Disconnect;
    case IDM_TOOLBAR: return CommandAction::ToggleToolbar;
    case IDM_CONTROL_PANEL: return CommandAction::ToggleControlPanel;
    case IDM_STATUS_BAR: return CommandAction::ToggleStatusBar;
    case IDM_VIEW_LARGE_ICONS:
    case IDM_VIEW_SMALL_ICONS:
    case IDM_VIEW_LIST:
    case IDM_VIEW_DETAILS: return CommandAction::ListStyle;
    case IDM_PORTS: return CommandAction::Ports;
    case IDM_RESCAN: return CommandAction::Rescan;
    case IDM_HELP_WEB: return CommandAction::HelpPage;
    case IDM_ABOUT: return CommandAction::About;
    default: return CommandAction::None;  // 203 among them: its state is never set
    }
}

int ViewCommandOnSelect(int selectedButtonId, bool fileManagerShown)
{
    if (selectedButtonId != 0)
        return selectedButtonId;
    return fileManagerShown ? IDM_EXPLORER : IDM_INFORMATION;
}

ViewSwitch ChooseView(int command, bool hasFileManager, bool sessionOpen, bool hasInfoView)
{
    ViewSwitch result;
    if (command == IDM_EXPLORER && hasFileManager) {
        result.view = ShownView::FileManager;
        result.openSession = !sessionOpen;
    } else if (hasInfoView) {
        result.view = ShownView::Information;
    }
    return result;
}

PanelCommand ControlPanelCommand(int selected, int command, bool fromControl, bool panelHasButton)
{
    const int current = selected != 0 ? selected : IDM_INFORMATION;
    if (current == command && fromControl)
        return PanelCommand{0, 0};
    return PanelCommand{panelHasButton ? command : 0, command};
}

PopupItems DevicePopupItems(bool busy, int32_t portKind)
{
    PopupItems items;
    if (busy)
        return items;
    items.disconnect = true;
    items.sendFile = portKind == TComm::kIrDA || portKind == TComm::kBluetooth;
    return items;
}

bool PopupCommandAllowed(int command, const PopupItems& now)
{
    switch (command) {
    case IDM_SEND_FILE: return now.sendFile;
    case IDM_DISCONNECT: return now.disconnect;
    default: return false;
    }
}

ViewMenu MenuAfterViewSwitch(bool hasFileManager, bool hasInfoView, ShownView shown)
{
    ViewMenu menu;
    menu.explorer = hasFileManager;
    menu.information = hasInfoView;
    if (shown == ShownView::FileManager)
        menu.radio = IDM_EXPLORER;
    else if (shown == ShownView::Information)
        menu.radio = IDM_INFORMATION;
    return menu;
}

void ApplyViewMenu(CommandStateSubject& state, const ViewMenu& menu)
{
    state.explorer = menu.explorer;
    state.information = menu.information;
}

void ApplyBusyChange(CommandStateSubject& state, bool busy)
{
    if (busy) {
        state.Reset(true);
        return;
    }
    state.refresh = true;
}

RebuildPlan PlanDeviceListRebuild(const std::vector<ListedPort>& ports, bool hasSelection)
{
    RebuildPlan plan;
    std::optional<size_t> first;
    for (size_t i = 0; i < ports.size(); ++i) {
        if (!ports[i].hasDevice)
            continue;
        if (!first)
            first = i;
        if (!ports[i].hasButton)
            plan.newButtons.push_back(i);
    }
    if (!hasSelection) {
        plan.changeSelection = true;
        plan.select = first;
    }
    return plan;
}

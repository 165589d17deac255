// What a device's view needs from the window that shows it: the command states and the status
// texts belong to the shown view, so a view that appears or goes clears them.
#pragma once

class CommandStateSubject;
class GMenu;
class StatusWindow;

class ViewHost {
public:
    virtual ~ViewHost() = default;
    // Every command state off (the observers are not told) and the status texts empty.
    virtual void ClearViewState() = 0;
    // What a view writes while it is shown; null where the host has none.
    virtual CommandStateSubject* HostCommandState() { return nullptr; }
    virtual StatusWindow* HostStatusBar() { return nullptr; }
    virtual GMenu* HostMenu() { return nullptr; }
};

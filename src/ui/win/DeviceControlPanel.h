// A phone's control panel: a dock panel on the left holding the "Проводник" button when the
// phone offers file access. The button switches the phone's view between the file manager and
// the information view: the panel keeps which button is selected and tells the main window
// which view to show (QVM_SWITCH_VIEW). The main window's menu commands 250 and 252 reach it
// as commands without a control.
#pragma once

#include "toolkit/win/Button.h"
#include "ui/win/DockWindow.h"

class DeviceControlPanel : public DockWindow {
public:
    // The panel without caption, docked on the left, hidden.
    bool Create(TWindow* mainWindow);
    // The "Проводник" button (command 250) with its pictures; false when it cannot be made.
    bool AddExplorerButton();

    Button* SelectedButton() const { return selected; }
    // The selected button's command, 0 when none is selected.
    int SelectedId() const;

    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Button* FindButton(int id) const;

    Button* selected = nullptr;
};

// The device list: a dock panel at the top ("Устройства") with one button per identified
// phone (control id 1, the phone's name, the picture of its port kind). Pressing a button
// selects the phone in the main window (QVM_SELECT_PORT); a right click asks the main window
// for the phone's popup menu (QVM_DEVICE_POPUP). The selected phone's button is drawn checked.
#pragma once

#include "toolkit/win/Button.h"
#include "ui/win/DockWindow.h"

class TComm;

class DeviceListPanel : public DockWindow {
public:
    static constexpr int kButtonId = 1;

    // Creates the panel with the caption, docked at the top and hidden until a phone is
    // selected.
    bool Create(TWindow* mainWindow, const char* caption);
    // A button for the phone on the port, sized to its text; null when it cannot be made.
    Button* AddDevice(TComm* port, const GString& name);
    // The button of the port, or null.
    Button* Find(const TComm* port) const;
    // Checks the button of the port (the first one when port is null); false when none matches.
    bool Select(const TComm* port);
    TComm* SelectedPort() const;
    // Removes the port's button, if it has one.
    void RemoveDevice(const TComm* port);
    void RemoveChild(TWindow* child) override;

    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Closing deletes the buttons, the selected one among them.
    LRESULT OnClose() override;

private:
    void Check(Button* button);

    Button* selected = nullptr;
};
